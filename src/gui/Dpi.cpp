#include "gui/Dpi.h"

#include <shellscalingapi.h>

#include "gui/SystemLibraries.h"

namespace {

// Looked up at run time: older systems have no per-window DPI.
decltype(&::GetDpiForWindow) GetDpiForWindowFunction() {
  static const auto function = OptionalImport<decltype(&::GetDpiForWindow)>(L"user32.dll", "GetDpiForWindow");
  return function;
}

// shcore is no import of the program: bound from the system folder on first use.
decltype(&::GetDpiForMonitor) GetDpiForMonitorFunction() {
  static const auto function =
      BoundFunction<decltype(&::GetDpiForMonitor)>(LoadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
  return function;
}

}  // namespace

UINT SystemDpi() {
  TWindowDC screen(nullptr);
  const int dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT WindowDpi(HWND window) {
  if (window) {
    if (auto getDpi = GetDpiForWindowFunction()) {
      if (const UINT dpi = getDpi(window)) return dpi;
    }
  }
  return SystemDpi();
}

UINT MonitorDpi(HMONITOR monitor) {
  if (!monitor) return 0;
  if (auto getDpi = GetDpiForMonitorFunction()) {
    UINT x = 0, y = 0;
    if (SUCCEEDED(getDpi(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && x > 0) return x;
  }
  return 0;
}

void EnsurePerMonitorDpiAwareness() {
  const auto threadContext =
      OptionalImport<decltype(&::GetThreadDpiAwarenessContext)>(L"user32.dll", "GetThreadDpiAwarenessContext");
  const auto awarenessOf = OptionalImport<decltype(&::GetAwarenessFromDpiAwarenessContext)>(
      L"user32.dll", "GetAwarenessFromDpiAwarenessContext");
  const auto setContext =
      OptionalImport<decltype(&::SetProcessDpiAwarenessContext)>(L"user32.dll", "SetProcessDpiAwarenessContext");
  if (!threadContext || !awarenessOf || !setContext) return;          // a system without per-monitor DPI
  if (awarenessOf(threadContext()) != DPI_AWARENESS_UNAWARE) return;  // the manifest did its work
  setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

void PlaceWithClientSize(HWND window, int left, int top, int clientWidth, int clientHeight, UINT dpi) {
  RECT outer{0, 0, clientWidth, clientHeight};
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
  static const auto adjustForDpi =
      OptionalImport<decltype(&::AdjustWindowRectExForDpi)>(L"user32.dll", "AdjustWindowRectExForDpi");
  if (!(adjustForDpi && adjustForDpi(&outer, style, FALSE, exStyle, dpi)))
    ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  int width = outer.right - outer.left, height = outer.bottom - outer.top;
  constexpr UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  ::SetWindowPos(window, nullptr, left, top, width, height, flags);
  // The frame the window really got may differ from the one predicted (a window whose DPI
  // has not changed yet, a system that draws its own frames): correct by what is missing.
  RECT client{};
  ::GetClientRect(window, &client);
  if (client.right != clientWidth || client.bottom != clientHeight) {
    width += clientWidth - client.right;
    height += clientHeight - client.bottom;
    ::SetWindowPos(window, nullptr, left, top, width, height, flags);
  }
}

// ---- dialogs that follow their monitor's DPI ----------------------------------------------

namespace {

BOOL CALLBACK AddControl(HWND control, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(control);
  return TRUE;
}

}  // namespace

void TDpiRelayout::Capture() {
  if (FCaptured) return;
  FCaptured = true;
  ::GetClientRect(FWindow, &FClient);
  std::vector<HWND> controls;
  ::EnumChildWindows(FWindow, &AddControl, reinterpret_cast<LPARAM>(&controls));
  for (HWND control : controls) {
    RECT bounds{};
    ::GetWindowRect(control, &bounds);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    FControls.push_back({control, bounds, font});
  }
}

HFONT TDpiRelayout::FontAt(HFONT original, UINT dpi) {
  if (!original || dpi == FLayoutDpi) return original;
  TFontHandle& font = FFonts[{original, dpi}];
  if (!font) {
    LOGFONTW description{};
    if (!::GetObjectW(original, sizeof(description), &description)) return original;
    description.lfHeight = ::MulDiv(description.lfHeight, static_cast<int>(dpi), static_cast<int>(FLayoutDpi));
    description.lfWidth = ::MulDiv(description.lfWidth, static_cast<int>(dpi), static_cast<int>(FLayoutDpi));
    font.Reset(::CreateFontIndirectW(&description));
    if (!font) return original;
  }
  return font.Get();
}

void TDpiRelayout::Apply(UINT dpi) {
  if (dpi == 0 || dpi == FDpi) return;
  Capture();
  const auto scale = [&](LONG value) { return ::MulDiv(value, static_cast<int>(dpi), static_cast<int>(FLayoutDpi)); };
  for (const TControl& control : FControls) {
    if (!::IsWindow(control.Handle)) continue;
    const RECT& b = control.Bounds;
    const int left = scale(b.left), top = scale(b.top);
    ::SetWindowPos(control.Handle, nullptr, left, top, scale(b.right) - left, scale(b.bottom) - top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (control.Font)
      ::SendMessageW(control.Handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontAt(control.Font, dpi)), TRUE);
  }
  FDpi = dpi;
  ::InvalidateRect(FWindow, nullptr, TRUE);
}

UINT TDpiRelayout::DpiChanged(WPARAM wParam, LPARAM lParam) {
  const UINT dpi = HIWORD(wParam);
  if (dpi == 0) return FDpi;
  Capture();
  // The client area keeps its size in 96-dpi units; the place is the one the system suggests.
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  RECT place{};
  if (suggested)
    place = *suggested;
  else
    ::GetWindowRect(FWindow, &place);
  PlaceWithClientSize(FWindow, place.left, place.top,
                      ::MulDiv(FClient.right, static_cast<int>(dpi), static_cast<int>(FLayoutDpi)),
                      ::MulDiv(FClient.bottom, static_cast<int>(dpi), static_cast<int>(FLayoutDpi)), dpi);
  Apply(dpi);
  return FDpi;
}
