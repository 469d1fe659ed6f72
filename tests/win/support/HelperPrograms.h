#pragma once
// The programs the tests start as other processes: the helpers built beside the tests and
// the program files the build writes.
#include <windows.h>

#include <string>

#include "gui/Handles.h"

// The folder of the running test program, with a trailing backslash.
std::wstring TestProgramFolder();

// A file the build writes beside the program, such as Vindle.exe or VindleSetup.exe.
std::wstring BuiltProgramFile(const std::wstring& name);

// Starts `helper` (an .exe beside the tests) with `arguments`; an empty handle when it
// cannot be started.
TKernelHandle StartHelper(const std::wstring& helper, const std::wstring& arguments);

// Waits until `helper` sets the event `ready` or ends; answers whether it set it in time.
bool WaitUntilSet(const TKernelHandle& ready, const TKernelHandle& helper, DWORD milliseconds);

// The exit code of `process`, or STILL_ACTIVE when it has not ended within `milliseconds`.
DWORD ExitCodeOf(const TKernelHandle& process, DWORD milliseconds);
