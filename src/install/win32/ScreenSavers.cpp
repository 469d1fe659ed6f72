#include "install/win32/ScreenSavers.h"

#include <windows.h>
#include <shellapi.h>

#include "gui/Handles.h"

void MakeDefaultScreenSaver(const std::wstring& path) {
  // The system reads the setting as a short path.
  wchar_t shortPath[MAX_PATH] = {};
  if (!::GetShortPathNameW(path.c_str(), shortPath, MAX_PATH)) return;
  HKEY opened = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                        nullptr) == ERROR_SUCCESS) {
    TRegistryKey key(opened);
    ::RegSetValueExW(key.Get(), L"SCRNSAVE.EXE", 0, REG_SZ, reinterpret_cast<const BYTE*>(shortPath),
                     static_cast<DWORD>((lstrlenW(shortPath) + 1) * sizeof(wchar_t)));
  }
  ::SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_SENDCHANGE);
}

void ConfigureScreenSaver(const std::wstring& path, const std::wstring& folder) {
  ::ShellExecuteW(nullptr, L"config", path.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
}

void OpenScreenSaverSettings() {
  ::ShellExecuteW(nullptr, L"open", L"rundll32.exe", L"shell32.dll,Control_RunDLL desk.cpl,,1", nullptr, SW_SHOWNORMAL);
}
