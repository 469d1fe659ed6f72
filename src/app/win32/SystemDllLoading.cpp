// Where delay-loaded DLLs come from. version.dll is no known system DLL: imported at start,
// Windows would look for it beside the program first, and a DLL of that name planted there
// (a download folder holding the setup file) would run inside the program. So it is
// delay-loaded, and this hook of the delay-load helper loads it from the system folder by
// its full path before the helper would search for it.

#include <windows.h>
#include <delayimp.h>

#include <string>

namespace {

FARPROC WINAPI LoadFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(folder, length);
  path += L'\\';
  for (const char* c = info->szDll; *c; ++c) path += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  // The DLL's own imports are looked for in the system folder too.
  return reinterpret_cast<FARPROC>(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace

// The helper calls this hook before each load; a null answer lets it load the usual way. The
// header declares it with C linkage.
decltype(__pfnDliNotifyHook2) __pfnDliNotifyHook2 = LoadFromSystemFolder;
