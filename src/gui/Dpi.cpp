#include "gui/Dpi.h"

#include "gui/Handles.h"

namespace {

using TGetDpiForWindow = UINT(WINAPI*)(HWND);

// Looked up at run time: older systems have no per-window DPI.
TGetDpiForWindow GetDpiForWindowFunction() {
  static const auto function = reinterpret_cast<TGetDpiForWindow>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
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
