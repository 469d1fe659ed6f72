#pragma once
// Functions of system DLLs bound at run time. Some DLLs the program binds when it first
// needs them rather than at start: every DLL imported at start is mapped, relocated and
// initialised for the whole run, and the ruler alone needs none of these. Others it
// imports, but asks for functions older versions of them lack. A DLL bound here is kept to
// the end of the process, as an imported one would be.

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

// A function of a DLL the program imports (so loaded before any of its code runs) that
// older versions of that DLL lack; null where it is missing.
template <typename TFunction>
TFunction OptionalImport(const wchar_t* dll, const char* name) {
  return BoundFunction<TFunction>(::GetModuleHandleW(dll), name);
}

// Binds several exports of one DLL into function pointers, one call a name:
//   TFunctionBinder bind(LoadSystemLibrary(L"uxtheme.dll"));
//   bind(functions.OpenThemeData, "OpenThemeData");
//   bind(functions.CloseThemeData, "CloseThemeData");
//   if (!bind.AllBound()) ...
class TFunctionBinder {
 public:
  explicit TFunctionBinder(HMODULE module) : FModule(module) {}

  template <typename TFunction>
  void operator()(TFunction& function, const char* name) {
    function = BoundFunction<TFunction>(FModule, name);
    if (!function) FAllBound = false;
  }
  // False when the DLL or any of the names so far was missing.
  bool AllBound() const { return FModule && FAllBound; }

 private:
  HMODULE FModule;
  bool FAllBound = true;
};
