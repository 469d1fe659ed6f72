// A window that shows the value controls as the dialogs use them, for the end-to-end
// scenarios and for looking at them. What happens is written to a log file named on the
// command line: where each control sits on the screen, and every change, scroll and exit.
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "controls/win32/QorvelControlsCommon.h"
#include "controls/win32/QorvelNumEdits.h"
#include "controls/win32/QorvelTrackBars.h"
#include "gui/Application.h"
#include "gui/SubclassedControls.h"
#include "gui/Window.h"
#include "support/HelperOutput.h"
#include "support/MessagePump.h"
#include "support/PlacedWindow.h"

namespace {

class THostWindow : public TPlacedWindow {
 public:
  explicit THostWindow(std::wstring logFile) : FLogFile(std::move(logFile)) {
    CreateAt(L"TVindleValueControlsHost", {60, 60, 580, 390}, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
             WS_EX_CONTROLPARENT, L"Vindle value controls");
    CreateControls();
  }

  void LogLayout() {
    LogRect(L"ppi", FPpi->Handle());
    LogRect(L"signed", FSigned->Handle());
    LogRect(L"float", FFloat->Handle());
    for (auto* bar : {FOpacity.get(), FZoom.get(), FSteps.get(), FLevel.get(), FOffset.get(), FDisabled.get()}) {
      LogRect(Name(*bar), bar->Handle());
      RECT value = bar->ValueRect();
      ::MapWindowPoints(bar->Handle(), nullptr, reinterpret_cast<POINT*>(&value), 2);
      Log(Name(*bar) + L" value " + RectText(value));
    }
    Log(L"ready");
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ERASEBKGND: {
        RECT r = ClientRect();
        ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
        return 1;
      }
      case WM_PRINTCLIENT: {
        RECT r = ClientRect();
        ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
        return 0;
      }
      case WM_CLOSE: ::PostQuitMessage(0); return 0;
      default: return DefaultHandler(message, wParam, lParam);
    }
  }

 private:
  void CreateControls() {
    const HWND self = Handle();
    FPpi = std::make_unique<TQorvelIntEdit>(self, 20, 20, 110, 23);
    FPpi->SetMaxValue(600);
    FPpi->SetMinValue(10);
    FPpi->SetValue(96);
    FPpi->SetCaption(L"px");
    FPpi->SetCaptionAlignment(pcaRight);
    WatchEdit(L"ppi", *FPpi);

    FSigned = std::make_unique<TQorvelIntEdit>(self, 20, 55, 110, 23);
    FSigned->SetMinValue(-50);
    FSigned->SetMaxValue(50);
    FSigned->SetOptions(pneFixLength);
    FSigned->SetValue(7);
    FSigned->SetCaption(L"dpi");
    WatchEdit(L"signed", *FSigned);

    FFloat = std::make_unique<TQorvelFloatEdit>(self, 20, 90, 110, 23);
    FFloat->SetValue(3.14159);
    FFloat->SetCaption(L"in");
    FFloat->SetCaptionAlignment(pcaRight);
    WatchEdit(L"float", *FFloat);

    FOpacity = Bar(L"opacity", 160, 15, L"Opacity: <pos>%", 10, 100, 65);
    FZoom = Bar(L"zoom", 160, 70, L"Zoom: <pos>%", 1, 9, 3);
    FZoom->SetLabelMode(plmShl);
    FZoom->SetLabelParam(2);
    FSteps = Bar(L"steps", 160, 125, L"Step <pos> of 100", 0, 100, 50);
    FSteps->SetSmallChange(5);
    FSteps->SetLabelOptions(ploVisible | ploHint);
    FOffset = Bar(L"offset", 160, 180, L"Offset: <pos> px", -10, 10, 0);
    FOffset->SetLabelOptions(ploVisible | ploPlusMinusZero | ploExplicitSign | ploFlip);
    FOffset->SetLabelMin(L"left");
    FOffset->SetLabelMax(L"right");
    FDisabled = Bar(L"disabled", 160, 235, L"Disabled: <pos>", 0, 100, 30);
    FDisabled->SetEnabled(false);
    FLevel = Bar(L"level", 420, 15, L"Level <pos>", 0, 100, 50, 60, 265);
    FLevel->SetOrientation(psoVertical);
  }

  std::unique_ptr<TQorvelTrackBar> Bar(const std::wstring& name, int left, int top, const wchar_t* caption, int min,
                                       int max, int position, int width = 240, int height = 45) {
    auto bar = std::make_unique<TQorvelTrackBar>(Handle(), left, top, width, height);
    bar->SetLabelCaption(caption);
    bar->SetMax(max);
    bar->SetMin(min);
    bar->SetPosition(position);
    bar->SetDefaultPosition(position);
    bar->OnChange = [this, name](TQorvelTrackBar& sender) {
      Log(name + L" change " + std::to_wstring(sender.Position()));
    };
    bar->OnScroll = [this, name](TQorvelTrackBar&, int code, int& position) {
      Log(name + L" scroll " + std::to_wstring(code) + L" " + std::to_wstring(position));
    };
    FNames[bar.get()] = name;
    return bar;
  }

  void WatchEdit(const std::wstring& name, TQorvelNumEdit& edit) {
    edit.OnChange = [this, name](TQorvelNumEdit& sender) { Log(name + L" change " + sender.Text()); };
    edit.OnExit = [this, name](TQorvelNumEdit& sender) { Log(name + L" exit " + sender.Text()); };
  }

  std::wstring Name(TQorvelTrackBar& bar) { return FNames[&bar]; }

  void LogRect(const std::wstring& name, HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    Log(name + L" at " + RectText(r));
  }

  void Log(const std::wstring& line) { AppendLine(FLogFile, line); }

  std::wstring FLogFile;
  std::map<TQorvelTrackBar*, std::wstring> FNames;
  std::unique_ptr<TQorvelIntEdit> FPpi, FSigned;
  std::unique_ptr<TQorvelFloatEdit> FFloat;
  std::unique_ptr<TQorvelTrackBar> FOpacity, FZoom, FSteps, FOffset, FDisabled, FLevel;
};

// Keys go to the toolkit window under focus first, as in the program's own loop.
bool OfferKey(const MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  HWND target = ::GetCapture();
  if (!target) {
    for (HWND w = message.hwnd; w; w = ::GetParent(w)) {
      if (TWindow::FromHandle(w)) {
        target = w;
        break;
      }
    }
  }
  return target && ::SendMessageW(target, message.message + CN_BASE, message.wParam, message.lParam) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  const std::vector<std::wstring> args = CommandArguments();
  THostWindow host(args.empty() ? L"" : args[0]);
  ::ShowWindow(host.Handle(), SW_SHOW);
  ::UpdateWindow(host.Handle());
  host.LogLayout();
  return RunUntilQuit(host.Handle(), &OfferKey);
}
