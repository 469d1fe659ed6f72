#include "gui/VisualStyles.h"

#include "gui/SystemLibraries.h"

namespace {

struct TThemeFunctions {
  bool Complete = false;  // all of them, or none
  decltype(&::IsAppThemed) IsAppThemed = nullptr;
  decltype(&::IsThemeActive) IsThemeActive = nullptr;
  decltype(&::OpenThemeData) OpenThemeData = nullptr;
  decltype(&::CloseThemeData) CloseThemeData = nullptr;
  decltype(&::DrawThemeBackground) DrawThemeBackground = nullptr;
  decltype(&::DrawThemeParentBackground) DrawThemeParentBackground = nullptr;
};

const TThemeFunctions& Functions() {
  static const TThemeFunctions functions = [] {
    TThemeFunctions f;
    TFunctionBinder bind(LoadSystemLibrary(L"uxtheme.dll"));
    bind(f.IsAppThemed, "IsAppThemed");
    bind(f.IsThemeActive, "IsThemeActive");
    bind(f.OpenThemeData, "OpenThemeData");
    bind(f.CloseThemeData, "CloseThemeData");
    bind(f.DrawThemeBackground, "DrawThemeBackground");
    bind(f.DrawThemeParentBackground, "DrawThemeParentBackground");
    f.Complete = bind.AllBound();
    return f.Complete ? f : TThemeFunctions{};
  }();
  return functions;
}

}  // namespace

namespace VisualStyles {

bool Active() {
  const TThemeFunctions& f = Functions();
  return f.Complete && f.IsAppThemed() && f.IsThemeActive();
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
  RECT area = rect;  // some headers declare the rectangle writable
  if (Active()) Functions().DrawThemeParentBackground(window, dc, &area);
}

}  // namespace VisualStyles
