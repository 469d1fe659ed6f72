// Where delay-loaded DLLs come from. version.dll is no known system DLL: imported at start,
// Windows would look for it beside the program first, and a DLL of that name planted there
// (a download folder holding the setup file) would run inside the program. So it is
// delay-loaded, and this hook of the delay-load helper loads it from the system folder by
// its full path before the helper would search for it.

#include <windows.h>
#include <delayimp.h>

#include <string>

#include "gui/SystemLibraries.h"

namespace {

FARPROC WINAPI LoadFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
  std::wstring name;
  for (const char* c = info->szDll; *c; ++c) name += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  return reinterpret_cast<FARPROC>(LoadSystemLibrary(name.c_str()));
}

}  // namespace

// The helper calls this hook before each load; a null answer lets it load the usual way. The
// header declares it with C linkage.
decltype(__pfnDliNotifyHook2) __pfnDliNotifyHook2 = LoadFromSystemFolder;
