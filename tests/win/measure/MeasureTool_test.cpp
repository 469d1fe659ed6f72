// The measure tool's windows under a real message loop: one overlay per monitor, keys and the
// wheel that change the run but never the settings, and pins that stay on the screen beside
// each other while the live measurement moves on.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/Monitors.h"
#include "measure/win32/MeasureTools.h"
#include "settings/ApplicationSettings.h"
#include "support/MessagePump.h"
#include "support/ScreenPixels.h"
#include "support/WindowQueries.h"

namespace {

constexpr TPixel LabelPink = 0xE60063;  // the default label background

std::vector<HWND> VisibleOverlays() {
  std::vector<HWND> found;
  ::EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        wchar_t name[64]{};
        DWORD process = 0;
        ::GetClassNameW(window, name, 64);
        ::GetWindowThreadProcessId(window, &process);
        if (process == ::GetCurrentProcessId() && std::wstring(name) == L"TVindleMeasureOverlay" &&
            ::IsWindowVisible(window))
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// A key pressed with the modifiers the tool reads through GetKeyState.
void Press(HWND window, UINT key, bool shift = false, bool control = false) {
  BYTE saved[256], keys[256];
  ::GetKeyboardState(saved);
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  keys[VK_CONTROL] = control ? 0x80 : 0;
  ::SetKeyboardState(keys);
  if (shift) ::SendMessageW(window, WM_KEYDOWN, VK_SHIFT, 1);
  if (control) ::SendMessageW(window, WM_KEYDOWN, VK_CONTROL, 1);
  ::SendMessageW(window, WM_KEYDOWN, key, 1);
  ::SendMessageW(window, WM_KEYUP, key, 0xC0000001);
  ::SetKeyboardState(saved);
}

TPixel ScreenPixel(const TRect& box) {
  const RECT corner{box.Left + 1, box.Top + 1, box.Left + 2, box.Top + 2};  // padding: no text there
  return ReadScreen(corner).At(0, 0);
}

struct MeasureTool : testing::Test {
  std::unique_ptr<TApplicationSettings> settings = TQorvelSettings::Create<TApplicationSettings>();
  std::unique_ptr<TMeasureTool> tool;
  HWND overlay = nullptr;

  void SetUp() override {
    settings->Measure->Mode = 1;  // bounds
    ::SetCursorPos(300, 300);
    tool = std::make_unique<TMeasureTool>(*settings);
    Start();
  }
  void TearDown() override {
    tool->Stop();
    PumpMessages();
  }
  void Start() {
    tool->Start();
    ASSERT_TRUE(PumpUntil([] { return !VisibleOverlays().empty(); }, 5000));
    overlay = tool->OverlayAt({300, 300})->Handle();
  }
};

TEST_F(MeasureTool, OneTopmostOverlayCoversEachMonitorUntilEscape) {
  const std::vector<TDisplayMonitor> monitors = DisplayMonitors();
  ASSERT_EQ(VisibleOverlays().size(), monitors.size());
  for (const TDisplayMonitor& monitor : monitors) {
    const HWND shown = tool->OverlayAt({monitor.Bounds.Left, monitor.Bounds.Top})->Handle();
    const RECT r = WindowRect(shown);
    EXPECT_EQ((TRect{r.left, r.top, r.right, r.bottom}), monitor.Bounds);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(shown, GWL_EXSTYLE);
    EXPECT_TRUE((exStyle & WS_EX_TOPMOST) && (exStyle & WS_EX_TOOLWINDOW)) << "above everything, off the taskbar";
  }
  Press(overlay, VK_ESCAPE);
  EXPECT_FALSE(tool->Running());
  EXPECT_TRUE(VisibleOverlays().empty());
}

TEST_F(MeasureTool, TheWheelAndModeKeysLastForTheRunAndNeverReachTheSettings) {
  EXPECT_EQ(tool->Mode(), TMeasureMode::Bounds) << "a run starts in the mode the settings give";
  ::SendMessageW(overlay, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(300, 300));
  ::SendMessageW(overlay, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(300, 300));
  Press(overlay, VK_TAB);
  EXPECT_EQ(tool->Mode(), TMeasureMode::Line);
  EXPECT_EQ(tool->Tolerance(), 40);
  EXPECT_EQ(settings->Measure->Mode, 1);
  EXPECT_EQ(settings->Measure->Tolerance, 30);
  tool->Stop();
  Start();
  EXPECT_EQ(tool->Mode(), TMeasureMode::Bounds);
  EXPECT_EQ(tool->Tolerance(), 30);
}

TEST_F(MeasureTool, PinsAtOnePlaceShowSideBySideAndStayWhenThePointerMovesOn) {
  Press(overlay, '1');  // spacing
  Press(overlay, VK_RETURN, true);
  Press(overlay, VK_RETURN, false, true);
  ASSERT_EQ(tool->Pins().size(), 2u);
  const TRect first = tool->Pins()[0].Label, second = tool->Pins()[1].Label;
  EXPECT_TRUE(IntersectRect(first, second).Empty()) << "the horizontal and the vertical span's labels apart";
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(first) == LabelPink && ScreenPixel(second) == LabelPink; }, 5000));

  // The live label stepped aside from both; when the pointer moves far away its old place
  // shows the screen again, and the pins' labels stay.
  ASSERT_TRUE(tool->Current());
  const TRect live = tool->Current()->Label;
  EXPECT_TRUE(IntersectRect(live, first).Empty() && IntersectRect(live, second).Empty());
  const TRect screen = DisplayMonitors().front().Bounds;
  ::SendMessageW(overlay, WM_MOUSEMOVE, 0, MAKELPARAM(screen.Width() - 300, screen.Height() - 250));
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(live) != LabelPink; }, 5000)) << "the old live label repainted";
  EXPECT_EQ(ScreenPixel(first), LabelPink);
  EXPECT_EQ(ScreenPixel(second), LabelPink);
}

}  // namespace
