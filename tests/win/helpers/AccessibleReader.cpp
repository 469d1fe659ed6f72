// Reads what a screen reader in another process would read: for each window class named on
// the command line, the first visible window of that class (top-level or child, in any
// process) and its client area's accessible name, value, description and role, through the
// system's accessibility functions. One line per class, tab-separated, into the file named
// first:
//   AccessibleReader.exe <output file> <class> [<class> ...]
//   <class>\t<result>\t<name>\t<value>\t<description>\t<role>
// <result> is "ok", "no window" or the failing HRESULT in hex. The class "focus" reads the
// window that has the keyboard focus in the foreground, as a screen reader follows it.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

#include "gui/Application.h"
#include "support/HelperOutput.h"

namespace {

struct TSearch {
  const wchar_t* ClassName;
  HWND Found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TSearch*>(data);
  wchar_t name[128]{};
  ::GetClassNameW(window, name, 128);
  if (::IsWindowVisible(window) && ::lstrcmpW(name, search->ClassName) == 0) {
    search->Found = window;
    return FALSE;
  }
  ::EnumChildWindows(window, &MatchWindow, data);
  return search->Found ? FALSE : TRUE;
}

// The client side of the accessibility functions, from the system folder.
HRESULT AccessibleObjectFromWindowOf(HWND window, IAccessible** object) {
  using TFunction = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
  static const TFunction function = [] {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    HMODULE module = ::LoadLibraryW((std::wstring(folder, length) + L"\\oleacc.dll").c_str());
    return module ? reinterpret_cast<TFunction>(
                        reinterpret_cast<void*>(::GetProcAddress(module, "AccessibleObjectFromWindow")))
                  : nullptr;
  }();
  if (!function) return E_NOTIMPL;
  return function(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(object));
}

HWND FindVisibleWindow(const wchar_t* className) {
  if (std::wstring(className) == L"focus") {
    GUITHREADINFO foreground{};
    foreground.cbSize = sizeof(foreground);
    return ::GetGUIThreadInfo(0, &foreground) ? foreground.hwndFocus : nullptr;
  }
  TSearch search{className};
  ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

using TTextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

std::wstring Text(IAccessible* object, TTextGetter getter, const VARIANT& self) {
  BSTR text = nullptr;
  if (FAILED((object->*getter)(self, &text)) || !text) return L"";
  std::wstring result(text, ::SysStringLen(text));
  ::SysFreeString(text);
  return result;
}

std::wstring Read(const wchar_t* className) {
  const HWND window = FindVisibleWindow(className);
  if (!window) return L"no window";
  IAccessible* object = nullptr;
  const HRESULT result = AccessibleObjectFromWindowOf(window, &object);
  if (FAILED(result) || !object) {
    wchar_t code[16];
    ::swprintf(code, 16, L"%08lX", static_cast<unsigned long>(result));
    return code;
  }
  VARIANT self;
  ::VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  VARIANT role;
  ::VariantInit(&role);
  const LONG roleValue = SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4 ? role.lVal : -1;
  std::wstring line = L"ok\t" + Text(object, &IAccessible::get_accName, self) + L"\t" +
                      Text(object, &IAccessible::get_accValue, self) + L"\t" +
                      Text(object, &IAccessible::get_accDescription, self) + L"\t" + std::to_wstring(roleValue);
  object->Release();
  return line;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  const std::vector<std::wstring> arguments = CommandArguments();
  if (arguments.size() < 2) return 2;
  const HRESULT apartment = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::wstring output;
  for (std::size_t i = 1; i < arguments.size(); ++i)
    output += arguments[i] + L"\t" + Read(arguments[i].c_str()) + L"\n";
  if (SUCCEEDED(apartment)) ::CoUninitialize();

  // Written whole and renamed into place, so that a reader never sees half of it.
  const std::wstring& target = arguments[0];
  const std::wstring partial = target + L".part";
  if (!WriteBytes(partial, Narrow(output))) return 1;
  return ::MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
