// Plays a later start of Vindle for the end-to-end tests, through the same shared block a
// real later start uses.
//   InstanceControl.exe close   asks the running instance to close (a start with the close flag)
//   InstanceControl.exe retray  removes the running instance's tray icon and broadcasts
//                               "TaskbarCreated", as a restarted shell would
// Exit code 0 on success, 1 when no instance runs, 2 on bad arguments.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "app/win32/QorvelTrayApplications.h"
#include "gui/Handles.h"

namespace {

HWND RunningInstanceWindow() {
  TKernelHandle mapping(::OpenFileMappingW(FILE_MAP_READ, FALSE, L"Vindle"));
  if (!mapping) return nullptr;
  TMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 4));
  if (!view) return nullptr;
  std::uint32_t handle = 0;
  std::memcpy(&handle, view.Get(), sizeof(handle));
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  const std::wstring command = commandLine ? commandLine : L"";
  const HWND running = RunningInstanceWindow();
  if (!running) return 1;
  if (command == L"close") {
    ::PostMessageW(running, WM_CLOSEINSTANCE, 0, 0);
    return 0;
  }
  if (command == L"retray") {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = running;
    data.uID = TrayIconIdentifier;
    ::Shell_NotifyIconA(NIM_DELETE, &data);
    ::Sleep(1500);  // long enough for the test to see the icon gone
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 2000,
                          &answer);
    return 0;
  }
  return 2;
}
