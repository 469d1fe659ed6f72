#pragma once
// COM (ole32, oleaut32), loaded from the system folder on first use: only the installer's
// shell links and folder browser and the accessibility objects need it, and an import
// would map it, with the RPC runtime under it, into every run of the ruler. Each function
// answers as its namesake does, with E_FAIL (or nothing) when the DLL is missing.

#include <windows.h>
#include <objbase.h>

namespace ComLibrary {

HRESULT CoInitializeEx(void* reserved, DWORD concurrency);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID interfaceId, void** object);
void CoTaskMemFree(void* memory);
HRESULT CoDisconnectObject(IUnknown* object, DWORD reserved);
// oleaut32: null when the DLL or the memory is missing.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);

}  // namespace ComLibrary
