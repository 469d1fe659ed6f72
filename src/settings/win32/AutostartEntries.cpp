#include "settings/win32/AutostartEntries.h"

#include <windows.h>

#include "gui/Handles.h"

namespace {
constexpr wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
}  // namespace

bool QueryAutostart(const std::wstring& name) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, RunKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
  TRegistryKey key(opened);
  return ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool UpdateAutostart(const std::wstring& name, const std::wstring& programPath, bool enable) {
  HKEY opened = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, RunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS)
    return false;
  TRegistryKey key(opened);
  if (!enable) {
    // An entry someone else removed already is what was asked for, not a failure.
    const LSTATUS deleted = ::RegDeleteValueW(key.Get(), name.c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
  }
  const std::wstring command = Quoted(programPath);
  const auto bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()), bytes) ==
         ERROR_SUCCESS;
}

void RefreshAutostart(const std::wstring& name, const std::wstring& programPath) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, RunKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return;
  TRegistryKey key(opened);
  wchar_t stored[MAX_PATH + 3] = {};
  DWORD size = sizeof(stored) - sizeof(wchar_t);
  DWORD type = 0;
  const LSTATUS read =
      ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(stored), &size);
  if (read == ERROR_FILE_NOT_FOUND) return;
  if (read == ERROR_SUCCESS && type == REG_SZ && stored == Quoted(programPath)) return;
  UpdateAutostart(name, programPath, true);
}
