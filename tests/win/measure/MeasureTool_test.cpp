// The measure tool's windows under a real message loop: an overlay per monitor, keys and the
// wheel that change the run but never the settings, and pins at one place side by side.
#include <gtest/gtest.h>
#include <windows.h>

#include "gui/Monitors.h"
#include "measure/win32/MeasureTools.h"
#include "settings/ApplicationSettings.h"
#include "support/MessagePump.h"
#include "support/ScreenPixels.h"

namespace {

// A key pressed with a modifier held, as the tool reads it through GetKeyState.
void Press(HWND window, UINT key, BYTE modifier = 0) {
  BYTE saved[256], keys[256]{};
  ::GetKeyboardState(saved);
  if (modifier) keys[modifier] = 0x80;
  ::SetKeyboardState(keys);
  if (modifier) ::SendMessageW(window, WM_KEYDOWN, modifier, 1);
  ::SendMessageW(window, WM_KEYDOWN, key, 1);
  ::SetKeyboardState(saved);
}

TPixel OnScreen(const TRect& label) {  // its padding, where no text is drawn
  return ReadScreen({label.Left + 1, label.Top + 1, label.Left + 2, label.Top + 2}).At(0, 0);
}

TEST(MeasureTool, OverlaysCoverEachMonitorAndKeysChangeTheRunButNotTheSettings) {
  const auto settings = TQorvelSettings::Create<TApplicationSettings>();
  settings->Measure->Mode = 1;  // bounds
  TMeasureTool tool(*settings);
  for (int run = 0; run < 2; ++run) {
    tool.Start();
    EXPECT_EQ(tool.Mode(), TMeasureMode::Bounds) << "each run starts from the settings";
    EXPECT_EQ(tool.Tolerance(), 30);
    for (const TDisplayMonitor& monitor : DisplayMonitors()) {
      const HWND overlay = tool.OverlayAt({monitor.Bounds.Left, monitor.Bounds.Top})->Handle();
      RECT r{};
      ::GetWindowRect(overlay, &r);
      EXPECT_EQ((TRect{r.left, r.top, r.right, r.bottom}), monitor.Bounds);
      const LONG_PTR topmostTool = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
      EXPECT_TRUE(::IsWindowVisible(overlay) &&
                  (::GetWindowLongPtrW(overlay, GWL_EXSTYLE) & topmostTool) == topmostTool);
    }
    const HWND overlay = tool.OverlayAt({0, 0})->Handle();
    ::SendMessageW(overlay, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    Press(overlay, VK_TAB);
    EXPECT_EQ(tool.Mode(), TMeasureMode::Line);
    EXPECT_EQ(tool.Tolerance(), 35);
    EXPECT_EQ(settings->Measure->Mode, 1);
    EXPECT_EQ(settings->Measure->Tolerance, 30);
    Press(overlay, VK_ESCAPE);
    EXPECT_FALSE(tool.Running() || ::IsWindow(overlay));
  }
}

TEST(MeasureTool, PinsAtOnePlaceShowSideBySideAndStayWhenThePointerMovesOn) {
  constexpr TPixel LabelPink = 0xE60063;
  const auto settings = TQorvelSettings::Create<TApplicationSettings>();
  TMeasureTool tool(*settings);
  ::SetCursorPos(300, 300);
  tool.Start();
  const HWND overlay = tool.OverlayAt({300, 300})->Handle();
  Press(overlay, VK_RETURN, VK_SHIFT);  // the horizontal span
  Press(overlay, VK_RETURN, VK_CONTROL);
  ASSERT_TRUE(tool.Pins().size() == 2 && tool.Current());
  const TRect first = tool.Pins()[0].Label, second = tool.Pins()[1].Label, live = tool.Current()->Label;
  EXPECT_TRUE(IntersectRect(first, second).Empty() && IntersectRect(live, first).Empty() &&
              IntersectRect(live, second).Empty());
  // Far away, the live label's old place shows the screen again; the pins' labels stay.
  const TRect screen = DisplayMonitors().front().Bounds;
  ::SetCursorPos(screen.Width() - 300, screen.Height() - 250);  // where the system's own moves will say it is
  ::SendMessageW(overlay, WM_MOUSEMOVE, 0, MAKELPARAM(screen.Width() - 300, screen.Height() - 250));
  PumpUntil([&] { return OnScreen(live) != LabelPink; }, 5000);
  EXPECT_NE(OnScreen(live), LabelPink) << "the live label's old place repainted";
  EXPECT_EQ(OnScreen(first), LabelPink);
  EXPECT_EQ(OnScreen(second), LabelPink);
  tool.Stop();
}

}  // namespace
