// The desktop magnifier on a real screen: a window of known pixels is magnified, and what
// the screen then shows is read back and compared pixel by pixel. Also its refresh timer,
// the floating magnifier window and the magnifier embedded in the ruler.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "gui/Handles.h"
#include "gui/Pixels.h"
#include "gui/Window.h"
#include "ruler/QorvelColorUtils.h"
#include "ruler/RulerSettings.h"
#include "ruler/win32/MainForms.h"
#include "ruler/win32/QorvelDesktopMagnifiers.h"
#include "settings/ApplicationSettings.h"
#include "support/MessagePump.h"
#include "support/PlacedWindow.h"
#include "support/ScreenPixels.h"
#include "support/WindowQueries.h"

namespace {

using O = TQorvelDesktopMagnifierOption;
using X = TQorvelDesktopMagnifierCrossHairs;
using I = TQorvelDesktopMagnifierIndicator;
using C = TQorvelDesktopMagnifierCorner;

// A pixel of the test pattern: every pixel differs from every other in red or green.
TPixel PatternPixel(int x, int y) {
  return static_cast<TPixel>(((40 + 3 * x) << 16) | ((30 + 4 * y) << 8) | ((7 * x + 11 * y) & 0xFF));
}

class TTestWindow : public TPlacedWindow {
 public:
  TTestWindow(const wchar_t* className, RECT bounds, std::function<void(HDC, int, int)> paint)
      : FPaint(std::move(paint)) {
    CreateAt(className, bounds, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
      TPaintScope paint(Handle());
      const RECT client = ClientRect();
      if (FPaint) FPaint(paint.DC(), client.right, client.bottom);
      return 0;
    }
    return DefaultHandler(message, wParam, lParam);
  }

 private:
  std::function<void(HDC, int, int)> FPaint;
};

// 64 × 48 pixels of the pattern at (200, 200).
constexpr RECT PatternBounds{200, 200, 264, 248};

using TScreenCheck = std::function<bool(const TPixelBuffer&)>;

// Reads the screen area of `window` until `arrived` holds (the display may take a moment
// to show what was painted), repainting it first each time when asked.
TPixelBuffer ReadWhen(HWND window, const TScreenCheck& arrived, bool repaint) {
  TPixelBuffer shot;
  for (int attempt = 0; attempt < 40; ++attempt) {
    if (repaint) ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpFor(25);
    shot = ReadScreen(WindowRect(window));
    if (arrived(shot)) break;
  }
  return shot;
}

TPixelBuffer PaintAndRead(HWND window, const TScreenCheck& arrived) { return ReadWhen(window, arrived, true); }

// Something to magnify, on the screen before the magnifier looks at it.
std::unique_ptr<TTestWindow> ShowSource(const wchar_t* className, RECT bounds, TPixel (*pixel)(int, int)) {
  auto window = std::make_unique<TTestWindow>(className, bounds, [pixel](HDC dc, int w, int h) {
    TPixelBuffer pixels(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) pixels.View().Set(x, y, pixel(x, y));
    BlitPixels(dc, 0, 0, pixels.View(), pixels.View().Bounds());
  });
  ::UpdateWindow(window->Handle());
  const TPixelBuffer shown = ReadWhen(
      window->Handle(), [&](const TPixelBuffer& s) { return s.At(5, 7) == pixel(5, 7); }, false);
  EXPECT_EQ(shown.At(5, 7), pixel(5, 7)) << "the source window did not reach the screen";
  return window;
}

std::unique_ptr<TTestWindow> ShowPattern() {
  return ShowSource(L"TMagnifierTestPattern", PatternBounds, &PatternPixel);
}

TPixel White(int, int) { return 0xFFFFFF; }

// A plain white area at (100, 500), so that anything dark or coloured on it was drawn.
std::unique_ptr<TTestWindow> ShowWhite() { return ShowSource(L"TMagnifierTestWhite", {100, 500, 300, 700}, &White); }

// A top-level window at `bounds` holding one magnifier that fills it.
struct TMagnifierOnScreen {
  explicit TMagnifierOnScreen(RECT bounds) {
    Host = std::make_unique<TTestWindow>(L"TMagnifierTestHost", bounds, nullptr);
    Magnifier = std::make_unique<TQorvelCustomDesktopMagnifier>(Host->Handle());
    Magnifier->SetBounds(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top);
    Magnifier->OnTargetColorChange = [this] { ++ColorChanges; };
  }
  HWND Handle() const { return Magnifier->Handle(); }
  std::unique_ptr<TTestWindow> Host;
  std::unique_ptr<TQorvelCustomDesktopMagnifier> Magnifier;
  int ColorChanges = 0;
};

constexpr TColor Navy = 0x800000;  // TColor: blue in the third byte
constexpr TPixel NavyPixel = 0x000080;

TEST(MagnifierCapture, ShowsThePatternEnlargedPixelByPixel) {
  auto pattern = ShowPattern();
  TMagnifierOnScreen m({600, 300, 687, 387});
  m.Magnifier->SetCrossHairs(X::pmcNone);
  m.Magnifier->SetBorderColor(Navy);
  EXPECT_EQ(m.Magnifier->TargetColor(), NoTargetColor) << "before the first paint";
  const TPoint target{230, 224};  // pattern pixel (30, 24)
  m.Magnifier->SetTarget(target);

  const TPixelBuffer shot =
      PaintAndRead(m.Handle(), [](const TPixelBuffer& s) { return s.At(43, 43) == PatternPixel(30, 24); });
  // 17 × 17 screen pixels from (222, 216) as 5 × 5 squares from (1, 1); the border around.
  for (int y = 0; y < 87; ++y) {
    for (int x = 0; x < 87; ++x) {
      const bool border = x == 0 || y == 0 || x == 86 || y == 86;
      const TPixel expected = border ? NavyPixel : PatternPixel(22 + (x - 1) / 5, 16 + (y - 1) / 5);
      ASSERT_EQ(shot.At(x, y), expected) << "magnifier pixel " << x << "," << y;
    }
  }
  EXPECT_EQ(m.Magnifier->TargetColor(), SwapRedBlue(PatternPixel(30, 24)));
  EXPECT_EQ(m.ColorChanges, 1);
  EXPECT_FALSE(m.Magnifier->Options().Contains(O::pmoFollowCursor)) << "a set target is not the mouse";

  // The same target again: nothing to repaint, and no second change.
  m.Magnifier->SetTarget(target);
  RECT pending{};
  EXPECT_FALSE(::GetUpdateRect(m.Handle(), &pending, FALSE));
  ::RedrawWindow(m.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(m.ColorChanges, 1);
}

TEST(MagnifierCapture, RulerSizedMagnifierCropsAndInverts) {
  auto pattern = ShowPattern();
  TMagnifierOnScreen m({600, 300, 630, 330});
  m.Magnifier->SetZoom(3);
  m.Magnifier->SetCrossHairs(X::pmcNone);
  m.Magnifier->SetBorderWidth(0);
  m.Magnifier->SetOptions({O::pmoInvertColors});
  m.Magnifier->SetTarget({210, 210});  // 11 × 11 pixels from pattern (5, 5), image at (-1, -1)
  const TPixel inverted = ~PatternPixel(10, 10) & 0x00FFFFFFu;
  const TPixelBuffer shot = PaintAndRead(m.Handle(), [&](const TPixelBuffer& s) { return s.At(15, 15) == inverted; });
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      ASSERT_EQ(shot.At(x, y), ~PatternPixel(5 + (x + 1) / 3, 5 + (y + 1) / 3) & 0x00FFFFFFu) << x << "," << y;
  EXPECT_EQ(m.Magnifier->TargetColor(), SwapRedBlue(PatternPixel(10, 10))) << "the screen's colour, not inverted";
}

TEST(MagnifierCapture, OwnImageIsHiddenAndHasNoColour) {
  auto pattern = ShowPattern();
  TMagnifierOnScreen m({600, 300, 687, 387});
  m.Magnifier->SetCrossHairs(X::pmcNone);
  m.Magnifier->SetColor(0x00FF00);  // green
  m.Magnifier->SetIndicator(C::TopLeft, I::pmiHexCode);
  m.Magnifier->SetTarget({230, 224});
  PaintAndRead(m.Handle(), [](const TPixelBuffer& s) { return s.At(43, 43) == PatternPixel(30, 24); });
  ASSERT_EQ(m.ColorChanges, 1);

  // Onto the magnifier itself: its image would show itself, so it shows its colour instead.
  m.Magnifier->SetTarget({650, 340});
  TPixelBuffer shot = PaintAndRead(m.Handle(), [](const TPixelBuffer& s) { return s.At(43, 43) == 0x00FF00; });
  EXPECT_EQ(m.Magnifier->TargetColor(), NoTargetColor);
  EXPECT_EQ(m.ColorChanges, 2) << "entering the magnifier changes the colour once";
  for (int y = 1; y < 86; ++y)
    for (int x = 1; x < 86; ++x) ASSERT_EQ(shot.At(x, y), 0x00FF00u) << "no hex code is written: " << x << "," << y;

  m.Magnifier->SetTarget({660, 350});
  PaintAndRead(m.Handle(), [](const TPixelBuffer&) { return true; });
  EXPECT_EQ(m.ColorChanges, 2) << "moving about on it changes nothing";
}

TEST(MagnifierCapture, CornerTextsCrossHairsAndBorderInTheBorderColour) {
  auto white = ShowWhite();
  TMagnifierOnScreen m({600, 300, 687, 387});
  m.Magnifier->SetBorderColor(Navy);
  m.Magnifier->SetBorderWidth(2);
  m.Magnifier->SetTarget({200, 600});
  const auto navyIn = [](const TPixelBuffer& s, RECT r) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) count += s.At(x, y) == NavyPixel;
    return count;
  };
  TPixelBuffer shot = PaintAndRead(m.Handle(), [](const TPixelBuffer& s) { return s.At(20, 20) == 0xFFFFFF; });
  EXPECT_EQ(navyIn(shot, {3, 3, 30, 15}), 0) << "no text yet";
  EXPECT_EQ(shot.At(1, 1), NavyPixel) << "two border rings";
  EXPECT_EQ(shot.At(2, 2), 0xFFFFFFu);
  EXPECT_EQ(shot.At(43, 20), NavyPixel) << "open cross, upper arm";
  EXPECT_EQ(shot.At(43, 40), 0xFFFFFFu) << "open cross, gap around the target";
  EXPECT_EQ(shot.At(43, 43), 0xFFFFFFu);

  m.Magnifier->SetIndicator(C::TopLeft, I::pmiZoom);
  m.Magnifier->SetIndicator(C::BottomRight, I::pmiCursorPos);
  m.Magnifier->SetCrossHairs(X::pmcContinuousCross);
  shot = PaintAndRead(m.Handle(), [](const TPixelBuffer& s) { return s.At(43, 43) == NavyPixel; });
  EXPECT_GT(navyIn(shot, {3, 2, 30, 20}), 5) << "\"5x\" in the top-left corner";
  EXPECT_GT(navyIn(shot, {30, 66, 85, 85}) - navyIn(shot, {43, 66, 44, 85}), 10) << "\"200 / 600\" bottom right";
  EXPECT_EQ(navyIn(shot, {50, 3, 85, 20}), 0) << "nothing in the top-right corner";
}

TEST(MagnifierCapture, DrawsTheMouseCursorEnlarged) {
  auto white = ShowWhite();
  TMagnifierOnScreen m({600, 300, 687, 387});
  m.Magnifier->SetCrossHairs(X::pmcNone);
  m.Magnifier->SetTarget({200, 600});
  ::SetCursorPos(200, 600);  // over a window of this thread: its cursor is the current one
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  const auto darkIn = [](const TPixelBuffer& s) {
    int count = 0;
    for (int y = 1; y < 86; ++y)
      for (int x = 1; x < 86; ++x) count += (s.At(x, y) & 0xFF) < 0x40;
    return count;
  };
  TPixelBuffer shot = PaintAndRead(m.Handle(), [](const TPixelBuffer& s) { return s.At(20, 20) == 0xFFFFFF; });
  ASSERT_EQ(darkIn(shot), 0) << "the screen itself shows no cursor";

  m.Magnifier->SetOptions({O::pmoDrawCursor});
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  shot = PaintAndRead(m.Handle(), [&](const TPixelBuffer& s) { return darkIn(s) > 0; });
  // The arrow's outline, five times as thick, starts at the target's square.
  EXPECT_GT(darkIn(shot), 100);
  int leftmost = 87, topmost = 87;
  for (int y = 1; y < 86; ++y)
    for (int x = 1; x < 86; ++x)
      if ((shot.At(x, y) & 0xFF) < 0x40) {
        leftmost = std::min(leftmost, x);
        topmost = std::min(topmost, y);
      }
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(::LoadCursorW(nullptr, IDC_ARROW), &info));
  TBitmapHandle mask(info.hbmMask), colour(info.hbmColor);
  EXPECT_GE(leftmost, 41 - 5 * static_cast<int>(info.xHotspot));
  EXPECT_GE(topmost, 41 - 5 * static_cast<int>(info.yHotspot));
  EXPECT_LE(leftmost, 41 + 5 * 3) << "the arrow starts near its hot spot";
}

TEST(MagnifierMouse, EnterAndLeaveOnceEachAndTheMouseGoesWhereTheParentSendsIt) {
  TMagnifierOnScreen m({600, 300, 687, 387});
  int entered = 0, left = 0;
  m.Magnifier->OnMouseEnter = [&] { ++entered; };
  m.Magnifier->OnMouseLeave = [&] { ++left; };
  ::SendMessageW(m.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  ::SendMessageW(m.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
  EXPECT_EQ(entered, 1);
  ::SendMessageW(m.Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(left, 1);
  ::SendMessageW(m.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(entered, 2);
  // In a plain window the magnifier takes the mouse itself.
  EXPECT_EQ(::SendMessageW(m.Handle(), WM_NCHITTEST, 0, MAKELPARAM(640, 340)), HTCLIENT);
}

// ---- refresh timer ------------------------------------------------------------------------

TEST(MagnifierTimer, RefreshesWhileTheMouseMovesAndRarelyWhenItRests) {
  TTestWindow host(L"TMagnifierTestHost", {600, 300, 687, 387}, nullptr);
  TQorvelDesktopMagnifier magnifier(host.Handle());
  EXPECT_EQ(magnifier.Interval(), 50);
  EXPECT_EQ(magnifier.IntervalForce(), 500);
  int refreshes = 0;
  magnifier.OnRefresh = [&] { ++refreshes; };

  // Moving: a step of the mouse every 60 ms, so every tick finds it somewhere new.
  for (int i = 0; i < 12; ++i) {
    ::SetCursorPos(100 + 7 * i, 100);
    PumpFor(60);
  }
  EXPECT_GE(refreshes, 8) << "about one refresh per step";
  EXPECT_EQ(magnifier.Target(), (TPoint{177, 100})) << "each refresh painted the mouse's position";

  // Resting: after the tick that sees it stop, only the forced refresh every 500 ms.
  PumpFor(150);
  refreshes = 0;
  const DWORD start = ::GetTickCount();
  PumpFor(1600);
  const DWORD elapsed = ::GetTickCount() - start;
  EXPECT_GE(refreshes, 1);
  EXPECT_LE(static_cast<DWORD>(refreshes), elapsed / 500 + 1) << "over " << elapsed << " ms";

  // With the tick as long as the forced period, every tick refreshes.
  magnifier.SetInterval(600);
  EXPECT_EQ(magnifier.IntervalForce(), 600);
  magnifier.SetIntervalForce(100);
  EXPECT_EQ(magnifier.IntervalForce(), 600);
}

TEST(MagnifierTimer, HiddenMagnifierStillReportsTheMouse) {
  TTestWindow host(L"TMagnifierTestHost", {600, 300, 687, 387}, nullptr);
  TQorvelDesktopMagnifier magnifier(host.Handle());
  magnifier.SetVisible(false);
  int refreshes = 0;
  magnifier.OnRefresh = [&] { ++refreshes; };
  ::SetCursorPos(321, 123);
  PumpFor(400);
  // Nothing paints, so the target never reaches the mouse, and every tick refreshes.
  EXPECT_GE(refreshes, 4);
  EXPECT_NE(magnifier.Target(), (TPoint{321, 123}));
}

// ---- floating window ----------------------------------------------------------------------

TEST(MagnifierForm, SharedBorderlessTopmostWindowPlacedBesideTheAnchor) {
  TQorvelDesktopMagnifierForm& form = SharedDesktopMagnifierForm();
  EXPECT_EQ(&form, &SharedDesktopMagnifierForm()) << "one shared window";
  const HWND window = form.Handle();
  EXPECT_FALSE(::IsWindowVisible(window)) << "shown only while picking";
  EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
  const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(::GetClassLongW(window, GCL_STYLE) & CS_DROPSHADOW);
  const RECT client = form.ClientRect();
  EXPECT_EQ(client.right, 87);
  EXPECT_EQ(client.bottom, 87);
  const RECT filled = form.Magnifier().BoundsRect();
  EXPECT_EQ(filled.right - filled.left, 87);
  EXPECT_EQ(filled.bottom - filled.top, 87);

  form.Place({400, 300}, {900, 900}, true);
  RECT bounds = form.BoundsRect();
  EXPECT_EQ(bounds.left, 416);
  EXPECT_EQ(bounds.top, 316);
  // The mouse comes near: the window goes to the anchor's other side.
  form.Place({400, 300}, {420, 320}, false);
  bounds = form.BoundsRect();
  EXPECT_EQ(bounds.left, 400 - 16 - 87);
  EXPECT_EQ(bounds.top, 300 - 16 - 87);
  EXPECT_EQ(bounds.right - bounds.left, 87) << "the size stays";

  // Shown the way the colour box shows it, it does not take the activation.
  const HWND active = ::GetActiveWindow();
  ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(::GetActiveWindow(), active);
  ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

// ---- embedded in the ruler ----------------------------------------------------------------

HWND MagnifierOf(const TMainForm& ruler) {
  return ::FindWindowExW(ruler.Handle(), nullptr, L"TQorvelDesktopMagnifier", nullptr);
}

TEST(MagnifierInRuler, SquareAtTheConfiguredEndWithTheConfiguredLook) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  settings->General->Configuration = 2;  // silver, 50 pixels, magnifier shown
  TConfigurationSettings& configuration = CurrentConfiguration(*settings);
  configuration.Magnifier->Zoom = 4;
  configuration.Magnifier->CrossHairs = 3;
  TMainForm ruler(*settings);
  const HWND square = MagnifierOf(ruler);
  ASSERT_NE(square, nullptr);
  auto* magnifier = dynamic_cast<TQorvelDesktopMagnifier*>(TWindow::FromHandle(square));
  ASSERT_NE(magnifier, nullptr);
  EXPECT_EQ(magnifier->Zoom(), 4);
  EXPECT_EQ(magnifier->CrossHairs(), X::pmcSmallCross);
  EXPECT_EQ(magnifier->BorderColor(), 0x000000u) << "black on silver";
  EXPECT_EQ(magnifier->BorderWidth(), 1);
  EXPECT_EQ(magnifier->Interval(), 50);
  EXPECT_TRUE(::GetWindowLongW(square, GWL_STYLE) & WS_VISIBLE);
  // Alignment "end", not flipped: the right end of a horizontal ruler, 50 × 50.
  const RECT bounds = magnifier->BoundsRect();
  const RECT window = ruler.ClientRect();
  EXPECT_EQ(bounds.right, window.right);
  EXPECT_EQ(bounds.right - bounds.left, 50);
  EXPECT_EQ(bounds.bottom - bounds.top, 50);
  EXPECT_EQ(ruler.Children().Magnifier, (TRect{bounds.left, bounds.top, bounds.right, bounds.bottom}));

  // Pressing on the magnifier moves the ruler: the mouse goes through to the ruler's caption.
  RECT onScreen{};
  ::GetWindowRect(square, &onScreen);
  const LPARAM inside = MAKELPARAM(onScreen.left + 25, onScreen.top + 25);
  EXPECT_EQ(::SendMessageW(square, WM_NCHITTEST, 0, inside), HTTRANSPARENT);
  EXPECT_EQ(::SendMessageW(ruler.Handle(), WM_NCHITTEST, 0, inside), HTCAPTION);

  ruler.Flip();
  EXPECT_EQ(magnifier->BoundsRect().left, 0) << "flipped, the end is on the left";

  ruler.ToggleMagnifier();
  EXPECT_FALSE(::GetWindowLongW(square, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(configuration.Magnifier->Visible);

  // A dark ruler gets a white border; a hand-edited zoom of 0 shows 1:1.
  configuration.Ruler->Color->Background = 0x202020;
  configuration.Magnifier->Zoom = 0;
  configuration.Magnifier->CrossHairs = 9;
  ruler.ApplyMagnifierSettings();
  EXPECT_EQ(magnifier->BorderColor(), 0xFFFFFFu);
  EXPECT_EQ(magnifier->Zoom(), 1);
  EXPECT_EQ(magnifier->CrossHairs(), X::pmcNone);
}

TEST(MagnifierInRuler, CursorLineFollowsTheMouseWithTheMagnifierHidden) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();  // configuration 0: no magnifier
  TMainForm ruler(*settings);
  ruler.Show();
  ASSERT_FALSE(::GetWindowLongW(MagnifierOf(ruler), GWL_STYLE) & WS_VISIBLE);
  for (const POINT p : {POINT{150, 160}, POINT{170, 161}, POINT{190, 162}}) {
    ::SetCursorPos(p.x, p.y);
    PumpFor(150);
    EXPECT_EQ(ruler.CursorScreenPos(), (TPoint{p.x, p.y})) << "sampled on the magnifier's refresh";
  }
  ruler.Close();
}

// ---- frames without paint messages ------------------------------------------------------

// Counts the paint messages that reach a window of this thread: under Wine each costs
// several server round trips, so the refresh of a moving mouse must do without them.
class TPaintMessageCount {
 public:
  explicit TPaintMessageCount(HWND window) {
    Watched = window;
    Count = 0;
    FHook = ::SetWindowsHookExW(WH_GETMESSAGE, &Hook, nullptr, ::GetCurrentThreadId());
  }
  ~TPaintMessageCount() { ::UnhookWindowsHookEx(FHook); }
  TPaintMessageCount(const TPaintMessageCount&) = delete;
  TPaintMessageCount& operator=(const TPaintMessageCount&) = delete;
  static inline HWND Watched = nullptr;
  static inline int Count = 0;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && message->message == WM_PAINT && message->hwnd == Watched) ++Count;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK FHook;
};

TEST(MagnifierTimer, RefreshDrawsTheFrameWithoutAPaintMessage) {
  auto pattern = ShowPattern();
  TTestWindow host(L"TMagnifierTestHost", {600, 300, 687, 387}, nullptr);
  TQorvelDesktopMagnifier magnifier(host.Handle());
  magnifier.SetCrossHairs(X::pmcNone);
  ::UpdateWindow(host.Handle());
  PumpFor(100);
  const TPaintMessageCount paints(magnifier.Handle());
  for (int i = 0; i < 5; ++i) {
    ::SetCursorPos(PatternBounds.left + 20 + 3 * i, PatternBounds.top + 24);
    PumpFor(120);
  }
  // The middle square shows the pattern pixel under the mouse's last place.
  const TPixel expected = PatternPixel(20 + 3 * 4, 24);
  const TPixelBuffer shown = ReadWhen(
      magnifier.Handle(), [&](const TPixelBuffer& s) { return s.At(43, 43) == expected; }, false);
  EXPECT_EQ(shown.At(43, 43), expected);
  EXPECT_EQ(magnifier.Target(), (TPoint{PatternBounds.left + 32, PatternBounds.top + 24}));
  EXPECT_EQ(TPaintMessageCount::Count, 0);
}

TEST(MagnifierInRuler, CursorLineIsDrawnAtTheRefreshWithoutAPaintMessage) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  TMainForm ruler(*settings);
  ruler.Show();
  PumpFor(200);
  const HWND box = ::FindWindowExW(ruler.Handle(), nullptr, L"TVindleScaleBox", nullptr);
  ASSERT_NE(box, nullptr);
  const RECT boxOnScreen = WindowRect(box);
  const int y = (boxOnScreen.top + boxOnScreen.bottom) / 2;
  ::SetCursorPos(boxOnScreen.left + 150, y);
  PumpFor(200);
  const TPixelBuffer before = ReadScreen(boxOnScreen);
  const TPaintMessageCount paints(box);
  ::SetCursorPos(boxOnScreen.left + 250, y);
  PumpFor(200);
  EXPECT_EQ(ruler.CursorScreenPos(), (TPoint{boxOnScreen.left + 250, y}));
  // The line left its old column and shows in the new one, both drawn by the refresh itself.
  const auto differs = [&](const TPixelBuffer& now) {
    int changed = 0;
    for (int row = 0; row < now.Height(); ++row)
      changed += (now.At(250, row) != before.At(250, row)) + (now.At(150, row) != before.At(150, row));
    return changed > 0;
  };
  const TPixelBuffer after = ReadWhen(box, differs, false);
  EXPECT_TRUE(differs(after)) << "the cursor line did not move on the screen";
  EXPECT_EQ(TPaintMessageCount::Count, 0);
  ruler.Close();
}

}  // namespace
