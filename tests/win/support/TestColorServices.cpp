#include "support/TestColorServices.h"

#include <windows.h>

std::wstring UniqueServiceName(const wchar_t* what) {
  return L"VindleColorTest" + std::to_wstring(::GetCurrentProcessId()) + L"_" + what;
}

std::wstring TestColorRegistryKey(const std::wstring& name) { return L"\\Software\\Qorvel\\VindleTests\\" + name; }

TTestColorRegistry::TTestColorRegistry(const std::wstring& serviceName)
    : FKey(TestColorRegistryKey(serviceName).substr(1)) {}

TTestColorRegistry::~TTestColorRegistry() { ::RegDeleteKeyW(HKEY_CURRENT_USER, FKey.c_str()); }

void THeardChanges::Changed(TQorvelColorDefinitionService&, int index, TColor color) {
  ++Count;
  Index = index;
  Color = color;
}
