// Holds a file open without sharing, as an editor or a second program might, until told to
// let go. Arguments: the file, the name of an event it sets once the file is held, and the
// name of an event that releases it (it also lets go after 60 seconds).
#include <windows.h>

#include "gui/Handles.h"
#include "support/HelperOutput.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> arguments = CommandArguments();
  if (arguments.size() != 3) return 2;
  const TFileHandle file(CreateFileW(arguments[0].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  const TKernelHandle held(OpenEventW(EVENT_MODIFY_STATE, FALSE, arguments[1].c_str()));
  const TKernelHandle release(OpenEventW(SYNCHRONIZE, FALSE, arguments[2].c_str()));
  if (!file || !held || !release) return 1;
  SetEvent(held.Get());
  WaitForSingleObject(release.Get(), 60'000);
  return 0;
}
