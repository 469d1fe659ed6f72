#include "gui/ComLibrary.h"

#include "gui/SystemLibraries.h"

namespace {

struct TOle32Functions {
  HRESULT(WINAPI* CoInitializeEx)(void*, DWORD) = nullptr;
  void(WINAPI* CoUninitialize)() = nullptr;
  HRESULT(WINAPI* CoCreateInstance)(REFCLSID, IUnknown*, DWORD, REFIID, void**) = nullptr;
  void(WINAPI* CoTaskMemFree)(void*) = nullptr;
  HRESULT(WINAPI* CoDisconnectObject)(IUnknown*, DWORD) = nullptr;
};

const TOle32Functions& Ole32() {
  static const TOle32Functions functions = [] {
    TOle32Functions bound;
    const HMODULE module = LoadSystemLibrary(L"ole32.dll");
    bound.CoInitializeEx = BoundFunction<decltype(bound.CoInitializeEx)>(module, "CoInitializeEx");
    bound.CoUninitialize = BoundFunction<decltype(bound.CoUninitialize)>(module, "CoUninitialize");
    bound.CoCreateInstance = BoundFunction<decltype(bound.CoCreateInstance)>(module, "CoCreateInstance");
    bound.CoTaskMemFree = BoundFunction<decltype(bound.CoTaskMemFree)>(module, "CoTaskMemFree");
    bound.CoDisconnectObject = BoundFunction<decltype(bound.CoDisconnectObject)>(module, "CoDisconnectObject");
    return bound;
  }();
  return functions;
}

}  // namespace

namespace ComLibrary {

HRESULT CoInitializeEx(void* reserved, DWORD concurrency) {
  const auto function = Ole32().CoInitializeEx;
  return function ? function(reserved, concurrency) : E_FAIL;
}

void CoUninitialize() {
  if (const auto function = Ole32().CoUninitialize) function();
}

HRESULT CoCreateInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID interfaceId, void** object) {
  const auto function = Ole32().CoCreateInstance;
  if (!function) {
    if (object) *object = nullptr;
    return E_FAIL;
  }
  return function(classId, outer, context, interfaceId, object);
}

void CoTaskMemFree(void* memory) {
  // Memory handed out by COM exists only if ole32 was loaded to hand it out.
  if (const auto function = Ole32().CoTaskMemFree; function && memory) function(memory);
}

HRESULT CoDisconnectObject(IUnknown* object, DWORD reserved) {
  const auto function = Ole32().CoDisconnectObject;
  return function ? function(object, reserved) : E_FAIL;
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  static const auto function =
      BoundFunction<BSTR(WINAPI*)(const OLECHAR*, UINT)>(LoadSystemLibrary(L"oleaut32.dll"), "SysAllocStringLen");
  return function ? function(text, length) : nullptr;
}

void SysFreeString(BSTR text) {
  static const auto function =
      BoundFunction<void(WINAPI*)(BSTR)>(LoadSystemLibrary(L"oleaut32.dll"), "SysFreeString");
  if (function) function(text);
}

}  // namespace ComLibrary
