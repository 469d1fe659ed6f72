#include "support/HelperPrograms.h"

std::wstring TestProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring file(path, length);
  return file.substr(0, file.find_last_of(L"\\/") + 1);
}

std::wstring BuiltProgramFile(const std::wstring& name) {
  // The tests are built in <build>/tests/win, the program in <build>/src.
  return TestProgramFolder() + L"..\\..\\src\\" + name;
}

TKernelHandle StartHelper(const std::wstring& helper, const std::wstring& arguments) {
  const std::wstring exe = TestProgramFolder() + helper;
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
    return TKernelHandle();
  ::CloseHandle(process.hThread);
  return TKernelHandle(process.hProcess);
}

bool WaitUntilSet(const TKernelHandle& ready, const TKernelHandle& helper, DWORD milliseconds) {
  const HANDLE waits[] = {ready.Get(), helper.Get()};
  return ::WaitForMultipleObjects(2, waits, FALSE, milliseconds) == WAIT_OBJECT_0;
}

DWORD ExitCodeOf(const TKernelHandle& process, DWORD milliseconds) {
  if (::WaitForSingleObject(process.Get(), milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(process.Get(), &code);
  return code;
}
