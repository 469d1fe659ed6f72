// Holds a file open without sharing, as an editor or a second program might, until told to
// let go. Arguments: the file, the name of an event it sets once the file is held, and the
// name of an event that releases it (it also lets go after 60 seconds).
#include <windows.h>

#include <shellapi.h>

#include "gui/Handles.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count != 4) return 2;
  const TFileHandle file(
      CreateFileW(arguments[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  const TKernelHandle held(OpenEventW(EVENT_MODIFY_STATE, FALSE, arguments[2]));
  const TKernelHandle release(OpenEventW(SYNCHRONIZE, FALSE, arguments[3]));
  LocalFree(arguments);
  if (!file || !held || !release) return 1;
  SetEvent(held.Get());
  WaitForSingleObject(release.Get(), 60'000);
  return 0;
}
