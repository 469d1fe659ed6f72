#pragma once
// DLLs the program binds when it first needs them rather than at start: every DLL imported
// at start is mapped, relocated and initialised for the whole run, and the ruler alone
// needs none of these. A DLL bound here is kept to the end of the process, as an imported
// one would be.

#include <windows.h>

// The DLL `name` from the system folder, never one planted beside the program; null when
// it cannot be loaded. Each call takes one more reference: bind once and keep the result.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The export `name` of `module` as a typed function pointer, or null.
template <typename TFunction>
TFunction BoundFunction(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<TFunction>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
