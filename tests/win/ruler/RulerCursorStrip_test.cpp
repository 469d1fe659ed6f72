// The ruler on the screen while the mouse moves over it, and after its look changes under a
// resting cursor: every pixel of the scale area must be what a full paint of the same state
// leaves, whether the window drew it from its kept face or painted it anew.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "gui/Handles.h"
#include "ruler/RulerScale.h"
#include "ruler/win32/MainForms.h"
#include "ruler/win32/QorvelDesktopMagnifiers.h"
#include "settings/ApplicationSettings.h"
#include "PixelDifference.h"
#include "support/MessagePump.h"
#include "support/ScreenPixels.h"

namespace {

struct RulerCursorStrip : testing::Test {
  std::unique_ptr<TApplicationSettings> settings = TQorvelSettings::Create<TApplicationSettings>();
  std::unique_ptr<TMainForm> ruler;
  HWND box = nullptr;
  RECT boxRect{};

  void SetUp() override {
    settings->Horizontal->Position->X = 300;
    settings->Horizontal->Position->Y = 400;
    settings->Horizontal->Length = 400;
    ruler = std::make_unique<TMainForm>(*settings);
    ruler->Show();
    box = ::GetWindow(ruler->Handle(), GW_CHILD);
    ::GetWindowRect(box, &boxRect);
  }
  void TearDown() override { ruler->Close(); }

  // Puts the mouse at (x, y) in the scale area and waits until the screen shows the ruler
  // as a full paint of its state draws it; the difference left when it never does.
  std::string MoveAndCompare(int x, int y) {
    ::SetCursorPos(boxRect.left + x, boxRect.top + y);
    std::string difference;
    for (int attempt = 0; attempt < 40; ++attempt) {
      PumpFor(25);
      const TRulerScaleInput input = ruler->ScaleInput();
      if (input.CursorBoxPos.X != x || input.CursorBoxPos.Y != y) {
        difference = "the cursor is not at " + std::to_string(x) + ", " + std::to_string(y);
        continue;
      }
      TPixelBuffer expected(input.Width, input.Height);
      PaintScale(input, expected.View(), expected.View().Bounds());
      difference = FirstDifference(ReadScreen(boxRect), expected);
      if (difference.empty()) break;
    }
    return difference;
  }
};

TEST_F(RulerCursorStrip, MovesAndLookChangesShowWhatAFullPaintDraws) {
  ASSERT_GT(boxRect.right - boxRect.left, 300);
  // Along the ruler, the label over a number and at the far end, where the outline covers it.
  for (const int along : {120, 121, 200, 385, 398}) EXPECT_EQ(MoveAndCompare(along, 20), "") << "cursor at " << along;

  // A turn under a resting cursor, then moves on the turned face: nothing of the old face shows.
  ruler->Turn();
  EXPECT_EQ(MoveAndCompare(150, 10), "") << "turned";
  EXPECT_EQ(MoveAndCompare(260, 10), "") << "turned, moved on";

  // A hot button is part of the face as well.
  EXPECT_EQ(MoveAndCompare(22, 40), "") << "over the first button";
  EXPECT_EQ(MoveAndCompare(250, 40), "") << "off the button again";
}

TEST_F(RulerCursorStrip, OnAVerticalRulerTooAndFlipped) {
  ruler->Rotate();
  ::GetWindowRect(box, &boxRect);
  ASSERT_GT(boxRect.bottom - boxRect.top, 300);
  for (const int along : {120, 200, 398}) EXPECT_EQ(MoveAndCompare(12, along), "") << "cursor at " << along;
  ruler->Flip();
  ::GetWindowRect(box, &boxRect);
  for (const int along : {5, 130}) EXPECT_EQ(MoveAndCompare(12, along), "") << "flipped, cursor at " << along;
}

}  // namespace
