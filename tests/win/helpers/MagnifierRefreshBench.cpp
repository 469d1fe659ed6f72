// Work for whole-process timing of the magnifier on a real screen. Time the process in each
// mode against the "blit" baseline in the same run, and against "none" for the start-up:
//
//   MagnifierRefreshBench.exe none              start-up and window creation only
//   MagnifierRefreshBench.exe blit N            N repaints of a window that copies a ready
//                                               87 x 87 frame: the least a refresh costs
//   MagnifierRefreshBench.exe capture N         N captures of the 17 x 17 screen pixels alone
//   MagnifierRefreshBench.exe refresh N         N magnifier refreshes: capture, compose, blit
//   MagnifierRefreshBench.exe idle MS           the ruler's timed magnifier for MS milliseconds
//                                               with the mouse still; prints its refreshes and
//                                               paints (counts, not times)
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "gui/Handles.h"
#include "gui/Window.h"
#include "ruler/win32/QorvelDesktopMagnifiers.h"
#include "support/HelperOutput.h"
#include "support/MessagePump.h"
#include "support/PlacedWindow.h"

namespace {

constexpr int Side = 87;

class THost : public TPlacedWindow {
 public:
  THost() {
    CreateAt(L"TMagnifierBenchHost", {600, 300, 600 + Side, 300 + Side}, WS_POPUP | WS_CLIPCHILDREN,
             WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  }
};

// Repaints with a frame made beforehand.
class TReadyFrame : public TWindow {
 public:
  explicit TReadyFrame(HWND parent) {
    TCreateParams params;
    params.ClassName = L"TMagnifierBenchFrame";
    params.Style = WS_CHILD | WS_VISIBLE;
    params.Parent = parent;
    params.Left = params.Top = 0;
    params.Width = params.Height = Side;
    CreateHandle(params);
    FFrame.Resize(Side, Side);
    FFrame.View().Fill(FFrame.View().Bounds(), 0x336699);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
      TPaintScope paint(Handle());
      ::BitBlt(paint.DC(), 0, 0, Side, Side, FFrame.DC(), 0, 0, SRCCOPY);
      return 0;
    }
    return DefaultHandler(message, wParam, lParam);
  }

 private:
  TDibSurface FFrame;
};

// Counts the paints that reach the magnifier.
class TCountingMagnifier : public TQorvelDesktopMagnifier {
 public:
  using TQorvelDesktopMagnifier::TQorvelDesktopMagnifier;
  int Paints = 0;

 protected:
  void Paint(HDC dc) override {
    ++Paints;
    TQorvelDesktopMagnifier::Paint(dc);
  }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> args = CommandArguments();
  const std::wstring mode = !args.empty() ? args[0] : L"none";
  const int count = args.size() > 1 ? std::max(0, _wtoi(args[1].c_str())) : 0;

  THost host;
  if (mode == L"blit") {
    TReadyFrame frame(host.Handle());
    for (int i = 0; i < count; ++i) ::RedrawWindow(frame.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ::GdiFlush();
  } else if (mode == L"capture") {
    TDibSurface capture;
    capture.Resize(17, 17);
    TWindowDC screen(nullptr);
    for (int i = 0; i < count; ++i) {
      ::BitBlt(capture.DC(), 0, 0, 17, 17, screen.Get(), 192, 192, SRCCOPY);
      ::GdiFlush();
    }
  } else if (mode == L"refresh") {
    TQorvelCustomDesktopMagnifier magnifier(host.Handle());
    magnifier.SetBounds(0, 0, Side, Side);
    magnifier.SetTarget({200, 200});
    for (int i = 0; i < count; ++i)
      ::RedrawWindow(magnifier.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ::GdiFlush();
  } else if (mode == L"idle") {
    TCountingMagnifier magnifier(host.Handle());
    magnifier.SetBounds(0, 0, Side, Side);
    int refreshes = 0;
    magnifier.OnRefresh = [&] { ++refreshes; };
    ::SetCursorPos(200, 200);
    PumpFor(300);  // the first paint and the tick after it
    refreshes = magnifier.Paints = 0;
    PumpFor(static_cast<DWORD>(count));
    std::printf("idle %d ms: %d refreshes, %d paints\n", count, refreshes, magnifier.Paints);
  }
  return 0;
}
