#include "gui/ComLibrary.h"

#include "gui/SystemLibraries.h"

namespace {

// Each function is bound on its first call: one that is missing fails alone.
HMODULE Ole32() {
  static const HMODULE module = LoadSystemLibrary(L"ole32.dll");
  return module;
}

HMODULE OleAut32() {
  static const HMODULE module = LoadSystemLibrary(L"oleaut32.dll");
  return module;
}

}  // namespace

namespace ComLibrary {

HRESULT CoInitializeEx(void* reserved, DWORD concurrency) {
  static const auto function = BoundFunction<decltype(&::CoInitializeEx)>(Ole32(), "CoInitializeEx");
  return function ? function(reserved, concurrency) : E_FAIL;
}

void CoUninitialize() {
  static const auto function = BoundFunction<decltype(&::CoUninitialize)>(Ole32(), "CoUninitialize");
  if (function) function();
}

HRESULT CoCreateInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID interfaceId, void** object) {
  static const auto function = BoundFunction<decltype(&::CoCreateInstance)>(Ole32(), "CoCreateInstance");
  if (!function) {
    if (object) *object = nullptr;
    return E_FAIL;
  }
  return function(classId, outer, context, interfaceId, object);
}

void CoTaskMemFree(void* memory) {
  // Memory handed out by COM exists only if ole32 was loaded to hand it out.
  if (!memory) return;
  static const auto function = BoundFunction<decltype(&::CoTaskMemFree)>(Ole32(), "CoTaskMemFree");
  if (function) function(memory);
}

HRESULT CoDisconnectObject(IUnknown* object, DWORD reserved) {
  static const auto function = BoundFunction<decltype(&::CoDisconnectObject)>(Ole32(), "CoDisconnectObject");
  return function ? function(object, reserved) : E_FAIL;
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  static const auto function = BoundFunction<decltype(&::SysAllocStringLen)>(OleAut32(), "SysAllocStringLen");
  return function ? function(text, length) : nullptr;
}

void SysFreeString(BSTR text) {
  static const auto function = BoundFunction<decltype(&::SysFreeString)>(OleAut32(), "SysFreeString");
  if (function) function(text);
}

}  // namespace ComLibrary
