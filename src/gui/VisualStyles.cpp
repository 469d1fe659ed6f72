#include "gui/VisualStyles.h"

#include <string>

namespace {

struct TThemeFunctions {
  BOOL(WINAPI* IsAppThemed)() = nullptr;
  BOOL(WINAPI* IsThemeActive)() = nullptr;
  HTHEME(WINAPI* OpenThemeData)(HWND, LPCWSTR) = nullptr;
  HRESULT(WINAPI* CloseThemeData)(HTHEME) = nullptr;
  HRESULT(WINAPI* DrawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
  HRESULT(WINAPI* DrawThemeParentBackground)(HWND, HDC, const RECT*) = nullptr;

  bool Complete() const {
    return IsAppThemed && IsThemeActive && OpenThemeData && CloseThemeData && DrawThemeBackground &&
           DrawThemeParentBackground;
  }
};

template <typename T>
void Bind(HMODULE module, const char* name, T& function) {
  function = reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Loaded once and kept for the life of the process, like any imported DLL.
const TThemeFunctions& Functions() {
  static const TThemeFunctions functions = [] {
    TThemeFunctions bound;
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return bound;
    const std::wstring path = std::wstring(folder, length) + L"\\uxtheme.dll";
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) return bound;
    Bind(module, "IsAppThemed", bound.IsAppThemed);
    Bind(module, "IsThemeActive", bound.IsThemeActive);
    Bind(module, "OpenThemeData", bound.OpenThemeData);
    Bind(module, "CloseThemeData", bound.CloseThemeData);
    Bind(module, "DrawThemeBackground", bound.DrawThemeBackground);
    Bind(module, "DrawThemeParentBackground", bound.DrawThemeParentBackground);
    return bound.Complete() ? bound : TThemeFunctions{};
  }();
  return functions;
}

}  // namespace

namespace VisualStyles {

bool Active() {
  const TThemeFunctions& f = Functions();
  return f.Complete() && f.IsAppThemed() && f.IsThemeActive();
}

HTHEME Open(HWND window, const wchar_t* classList) {
  return Active() ? Functions().OpenThemeData(window, classList) : nullptr;
}

void Close(HTHEME theme) {
  if (theme) Functions().CloseThemeData(theme);
}

void DrawBackground(HTHEME theme, HDC dc, int part, int state, const RECT& rect) {
  if (theme) Functions().DrawThemeBackground(theme, dc, part, state, &rect, nullptr);
}

void DrawParentBackground(HWND window, HDC dc, const RECT& rect) {
  if (Active()) Functions().DrawThemeParentBackground(window, dc, &rect);
}

}  // namespace VisualStyles
