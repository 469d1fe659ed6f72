// A small window the end-to-end harness tests itself against: a caption zone all over,
// a fixed pattern of colours, its position in its title, and its key presses and clicks
// written to a log file named on the command line.
#include <windows.h>

#include <string>

#include "gui/Handles.h"
#include "gui/Window.h"
#include "support/HelperOutput.h"
#include "support/MessagePump.h"

namespace {

class TProbeWindow : public TWindow {
 public:
  explicit TProbeWindow(std::wstring logFile) : FLogFile(std::move(logFile)) {
    TCreateParams params;
    params.ClassName = L"TVindleProbeWindow";
    params.ClassStyle = CS_DBLCLKS;
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.Caption = L"Vindle probe";
    params.Left = 100;
    params.Top = 100;
    params.Width = 200;
    params.Height = 120;
    CreateHandle(params);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_NCHITTEST: {
        // The right 20 pixels are a client zone that logs clicks; the rest moves the window.
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ScreenToClient(Handle(), &p);
        return p.x >= 180 ? HTCLIENT : HTCAPTION;
      }
      case WM_LBUTTONDOWN: Log(L"click"); return 0;
      case WM_LBUTTONDBLCLK: Log(L"double"); return 0;
      case WM_RBUTTONUP: Log(L"right"); return 0;
      case WM_CHAR: Log(std::wstring(L"char ") + static_cast<wchar_t>(wParam)); return 0;
      case WM_PAINT: {
        TPaintScope paint(Handle());
        RECT r = ClientRect();
        TBrushHandle red(::CreateSolidBrush(RGB(255, 0, 0)));
        TBrushHandle blue(::CreateSolidBrush(RGB(0, 0, 255)));
        ::FillRect(paint.DC(), &r, red.Get());
        RECT corner{0, 0, 10, 10};
        ::FillRect(paint.DC(), &corner, blue.Get());
        return 0;
      }
      case WM_WINDOWPOSCHANGED: {
        const RECT r = BoundsRect();
        ::SetWindowTextW(Handle(),
                         (L"Vindle probe " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top)).c_str());
        break;
      }
      case WM_DESTROY: ::PostQuitMessage(0); return 0;
    }
    return DefaultHandler(message, wParam, lParam);
  }

 private:
  void Log(const std::wstring& line) { AppendLine(FLogFile, line); }
  std::wstring FLogFile;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  TProbeWindow window(commandLine ? commandLine : L"");
  ::ShowWindow(window.Handle(), SW_SHOW);
  return RunUntilQuit();
}
