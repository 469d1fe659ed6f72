// A window with colour boxes beside two patches of known colour, for the end-to-end
// scenarios and for looking at the boxes. Where each box and patch lies on the screen and
// every change and dialog request are written to the log file named on the command line.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "color/ColorClipboardText.h"
#include "color/win32/QorvelColorControls.h"
#include "gui/Application.h"
#include "gui/Handles.h"
#include "gui/Window.h"
#include "support/HelperOutput.h"
#include "support/MessagePump.h"
#include "support/PlacedWindow.h"

namespace {

constexpr COLORREF kBluePatch = RGB(0x24, 0x9E, 0xC8);
constexpr COLORREF kRedPatch = RGB(0xD0, 0x20, 0x30);
constexpr RECT kBlueRect{160, 15, 250, 165};
constexpr RECT kRedRect{250, 15, 340, 165};

class THostWindow : public TPlacedWindow {
 public:
  explicit THostWindow(std::wstring logFile) : FLogFile(std::move(logFile)) {
    CreateAt(L"TVindleColorBoxHost", {60, 60, 440, 280}, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
             WS_EX_CONTROLPARENT, L"Vindle colour box host");

    Add(L"picker", 20, 20, 0x000000, L"Pick");
    Add(L"plain", 20, 60, 0x8000000F, L"Sample").SetLook(TQorvelBoxControlLook::pclRect);
    Add(L"bare", 20, 100, 0x00FFFF, L"").SetOptions({});
    Add(L"disabled", 20, 140, 0x0000FF, L"Off").SetEnabled(false);
  }

  void LogLayout() {
    for (auto& box : FBoxes) {
      RECT r{};
      ::GetWindowRect(box->Handle(), &r);
      Log(Name(*box) + L" at " + RectText(r));
      const TColorBoxGeometry g = box->Geometry();
      Log(Name(*box) + L" eyedropper " + RectText(OnScreen(*box, g.Eyedropper)));
      Log(Name(*box) + L" glyph " + RectText(OnScreen(*box, g.Glyph)));
    }
    Log(L"blue at " + RectText(OnScreen(kBlueRect)));
    Log(L"red at " + RectText(OnScreen(kRedRect)));
    Log(L"ready");
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT r = ClientRect();
        ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
        Fill(dc, kBlueRect, kBluePatch);
        Fill(dc, kRedRect, kRedPatch);
        return 1;
      }
      case WM_CLOSE: ::PostQuitMessage(0); return 0;
      default: return DefaultHandler(message, wParam, lParam);
    }
  }

 private:
  TQorvelColorBox& Add(const std::wstring& name, int left, int top, TColor color, const std::wstring& caption) {
    auto box = std::make_unique<TQorvelColorBox>(Handle(), left, top, 110, 25);
    box->SetColor(color);
    box->SetCaption(caption);
    box->OnChange = [this, name](TQorvelColorBox& sender) {
      Log(L"change " + name + L" " + ColorText(sender.Color()));
    };
    box->OnDialog = [this, name](TQorvelColorBox&) { Log(L"dialog " + name); };
    FNames.push_back(name);
    FBoxes.push_back(std::move(box));
    return *FBoxes.back();
  }

  static void Fill(HDC dc, const RECT& r, COLORREF colour) {
    TBrushHandle brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &r, brush.Get());
  }

  static std::wstring ColorText(TColor color) {
    if (color & 0xFF000000u) {
      wchar_t text[16];
      std::swprintf(text, 16, L"system%u", color & 0xFFu);
      return text;
    }
    return Widen(ColorClipboardText(color));
  }

  std::wstring Name(const TQorvelColorBox& box) const {
    for (std::size_t i = 0; i < FBoxes.size(); ++i)
      if (FBoxes[i].get() == &box) return FNames[i];
    return L"?";
  }

  static RECT OnScreen(const TQorvelColorBox& box, const TRect& r) {
    RECT result{r.Left, r.Top, r.Right, r.Bottom};
    ::MapWindowPoints(box.Handle(), nullptr, reinterpret_cast<POINT*>(&result), 2);
    return result;
  }

  RECT OnScreen(const RECT& r) const {
    RECT result = r;
    ::MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&result), 2);
    return result;
  }

  void Log(const std::wstring& line) { AppendLine(FLogFile, line); }

  std::wstring FLogFile;
  std::vector<std::unique_ptr<TQorvelColorBox>> FBoxes;
  std::vector<std::wstring> FNames;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  const std::vector<std::wstring> args = CommandArguments();
  THostWindow host(args.empty() ? L"" : args[0]);
  ::ShowWindow(host.Handle(), SW_SHOW);
  ::UpdateWindow(host.Handle());
  host.LogLayout();
  return RunUntilQuit(host.Handle());
}
