#pragma once
// Dialog layouts are written in 96-dpi pixels and scaled by the DPI of their window;
// the ruler and its tools work in device pixels and never scale.

#include <windows.h>

#include <map>
#include <vector>

#include "gui/Handles.h"

UINT WindowDpi(HWND window);  // the window's DPI, or the system DPI before it has one
UINT SystemDpi();
// The DPI of a monitor (equal on every monitor before per-monitor DPI existed); 0 when the
// system cannot say.
UINT MonitorDpi(HMONITOR monitor);
inline int ScaleForDpi(int value96, UINT dpi) { return ::MulDiv(value96, static_cast<int>(dpi), 96); }
// A rectangle of a 96-dpi layout at `dpi`, each edge scaled on its own, so that rectangles
// that touch at 96 dpi still touch.
inline RECT ScaleForDpi(const RECT& r96, UINT dpi) {
  return {ScaleForDpi(r96.left, dpi), ScaleForDpi(r96.top, dpi), ScaleForDpi(r96.right, dpi),
          ScaleForDpi(r96.bottom, dpi)};
}

// Places a window at `left`, `top` with a client area of the given size on a monitor of
// `dpi`, whatever frame the system draws around it there.
void PlaceWithClientSize(HWND window, int left, int top, int clientWidth, int clientHeight, UINT dpi);

// Makes the process per-monitor DPI aware when its manifest was not honoured (a system
// that reads no dpiAwareness element): coordinates are device pixels only then.
void EnsurePerMonitorDpiAwareness();

// Missing from older headers.
inline constexpr UINT DpiChangedMessage = 0x02E0;        // WM_DPICHANGED
inline constexpr UINT GetDpiScaledSizeMessage = 0x02E4;  // WM_GETDPISCALEDSIZE

// Keeps a laid-out dialog right when it moves to a monitor of another DPI: every control
// is placed and sized again from where it was at the DPI the dialog was laid out at, and
// its font is the same font at the new size. Windowless parts are the dialog's to place.
class TDpiRelayout {
 public:
  TDpiRelayout(HWND window, UINT layoutDpi) : FWindow(window), FLayoutDpi(layoutDpi), FDpi(layoutDpi) {}
  UINT Dpi() const { return FDpi; }

  // WM_DPICHANGED: the window takes the suggested rectangle and its controls the new scale.
  // Returns the DPI the window is laid out for now.
  UINT DpiChanged(WPARAM wParam, LPARAM lParam);
  // Rescales to `dpi` without moving the window itself, keeping its client size in scale.
  void Apply(UINT dpi);

 private:
  struct TControl {
    HWND Handle;
    RECT Bounds;  // in its parent's client coordinates, at the layout DPI
    HFONT Font;   // as set at the layout DPI; null when the control has none
  };
  void Capture();
  HFONT FontAt(HFONT original, UINT dpi);

  HWND FWindow;
  UINT FLayoutDpi;
  UINT FDpi;
  bool FCaptured = false;
  RECT FClient{};  // at the layout DPI
  std::vector<TControl> FControls;
  std::map<std::pair<HFONT, UINT>, TFontHandle> FFonts;
};
