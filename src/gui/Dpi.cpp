#include "gui/Dpi.h"

#include <string>

namespace {

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TGetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using TDpiContext = HANDLE;
using TGetThreadDpiAwarenessContext = TDpiContext(WINAPI*)();
using TGetAwarenessFromDpiAwarenessContext = int(WINAPI*)(TDpiContext);
using TSetProcessDpiAwarenessContext = BOOL(WINAPI*)(TDpiContext);

constexpr int MonitorEffectiveDpi = 0;   // MDT_EFFECTIVE_DPI
constexpr int DpiUnaware = 0;             // DPI_AWARENESS_UNAWARE
const auto PerMonitorAwareV2 = reinterpret_cast<TDpiContext>(static_cast<INT_PTR>(-4));

template <typename T>
T User32Function(const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

// Looked up at run time: older systems have no per-window DPI.
TGetDpiForWindow GetDpiForWindowFunction() {
  static const auto function = User32Function<TGetDpiForWindow>("GetDpiForWindow");
  return function;
}

// shcore is no import of the program: bound from the system folder, by its full path, so
// that a DLL of that name beside the program is never loaded.
TGetDpiForMonitor GetDpiForMonitorFunction() {
  static const TGetDpiForMonitor function = []() -> TGetDpiForMonitor {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\shcore.dll";
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) return nullptr;
    return reinterpret_cast<TGetDpiForMonitor>(reinterpret_cast<void*>(::GetProcAddress(module, "GetDpiForMonitor")));
  }();
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
    if (SUCCEEDED(getDpi(monitor, MonitorEffectiveDpi, &x, &y)) && x > 0) return x;
  }
  return 0;
}

void EnsurePerMonitorDpiAwareness() {
  const auto threadContext = User32Function<TGetThreadDpiAwarenessContext>("GetThreadDpiAwarenessContext");
  const auto awarenessOf = User32Function<TGetAwarenessFromDpiAwarenessContext>("GetAwarenessFromDpiAwarenessContext");
  const auto setContext = User32Function<TSetProcessDpiAwarenessContext>("SetProcessDpiAwarenessContext");
  if (!threadContext || !awarenessOf || !setContext) return;  // a system without per-monitor DPI
  if (awarenessOf(threadContext()) != DpiUnaware) return;     // the manifest did its work
  setContext(PerMonitorAwareV2);
}

void PlaceWithClientSize(HWND window, int left, int top, int clientWidth, int clientHeight, UINT dpi) {
  RECT outer{0, 0, clientWidth, clientHeight};
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
  static const auto adjustForDpi = User32Function<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
  if (!(adjustForDpi && adjustForDpi(&outer, style, FALSE, exStyle, dpi))) ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
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
    if (control.Font) ::SendMessageW(control.Handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontAt(control.Font, dpi)), TRUE);
  }
  FDpi = dpi;
  ::InvalidateRect(FWindow, nullptr, TRUE);
}

void TDpiRelayout::DpiChanged(WPARAM wParam, LPARAM lParam) {
  const UINT dpi = HIWORD(wParam);
  if (dpi == 0) return;
  Capture();
  // The client area keeps its size in 96-dpi units; the place is the one the system suggests.
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  RECT place{};
  if (suggested) place = *suggested;
  else ::GetWindowRect(FWindow, &place);
  PlaceWithClientSize(FWindow, place.left, place.top,
                      ::MulDiv(FClient.right, static_cast<int>(dpi), static_cast<int>(FLayoutDpi)),
                      ::MulDiv(FClient.bottom, static_cast<int>(dpi), static_cast<int>(FLayoutDpi)), dpi);
  Apply(dpi);
}
