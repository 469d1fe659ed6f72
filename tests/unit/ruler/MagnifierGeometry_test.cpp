// Which screen pixels the magnifier shows, where they land, and where its floating window goes.
#include <gtest/gtest.h>

#include "ruler/MagnifierGeometry.h"

namespace {

TEST(MagnifierGeometry, DefaultSizeShowsSeventeenPixelsAtOffsetOne) {
  const TMagnifierGeometry g = MagnifierGeometry(87, 87, 5, 1, {400, 300});
  EXPECT_EQ(g.Columns, 17);
  EXPECT_EQ(g.Rows, 17);
  EXPECT_EQ(g.Source, (TRect{392, 292, 409, 309}));
  EXPECT_EQ(g.Image, (TRect{1, 1, 86, 86}));
  EXPECT_TRUE(g.ShowsImage);
  // The target's square is the middle one and holds the control's centre pixel.
  EXPECT_EQ(ScreenToMagnified(g, 5, {400, 300}), (TPoint{41, 41}));
  EXPECT_EQ(87 / 2, 43);
}

TEST(MagnifierGeometry, ImageLargerThanTheControlIsCroppedEvenly) {
  const TMagnifierGeometry g = MagnifierGeometry(30, 30, 3, 1, {10, 20});
  EXPECT_EQ(g.Columns, 11);
  EXPECT_EQ(g.Rows, 11);
  EXPECT_EQ(g.Source, (TRect{5, 15, 16, 26}));
  EXPECT_EQ(g.Image, (TRect{-1, -1, 32, 32}));
  EXPECT_EQ(ScreenToMagnified(g, 3, {10, 20}), (TPoint{14, 14}));
}

TEST(MagnifierGeometry, WidthAndHeightAreIndependent) {
  const TMagnifierGeometry g = MagnifierGeometry(87, 30, 5, 1, {0, 0});
  EXPECT_EQ(g.Columns, 17);
  EXPECT_EQ(g.Rows, 7);  // 28 inner rows need 6 pixels; the next odd count is 7
  EXPECT_EQ(g.Image, (TRect{1, -2, 86, 33}));
  EXPECT_EQ(g.Source, (TRect{-8, -3, 9, 4}));
}

// For every size, zoom and border: an odd number of pixels whose image covers the whole
// inside of the border, centred to within a pixel, with the target in the middle.
TEST(MagnifierGeometry, ImageAlwaysCoversTheInsideOfTheBorder) {
  for (int zoom = 1; zoom <= 9; ++zoom) {
    for (int border = 0; border <= 3; ++border) {
      for (int size = 2 * border + 1; size <= 120; ++size) {
        SCOPED_TRACE(testing::Message() << "size " << size << " zoom " << zoom << " border " << border);
        const TMagnifierGeometry g = MagnifierGeometry(size, size + 7, zoom, border, {50, 60});
        ASSERT_TRUE(g.ShowsImage);
        ASSERT_EQ(g.Columns % 2, 1);
        ASSERT_EQ(g.Rows % 2, 1);
        ASSERT_LE(g.Image.Left, border);
        ASSERT_GE(g.Image.Right, size - border);
        ASSERT_LE(g.Image.Top, border);
        ASSERT_GE(g.Image.Bottom, size + 7 - border);
        ASSERT_LE(std::abs(g.Image.Left - (size - g.Image.Right)), 1);
        // Not more pixels than needed: one column fewer on each side would not cover it.
        ASSERT_LT((g.Columns - 2) * zoom, size - 2 * border) << "columns " << g.Columns;
        ASSERT_EQ(g.Source.Left + g.Columns / 2, 50);
        ASSERT_EQ(g.Source.Top + g.Rows / 2, 60);
      }
    }
  }
}

TEST(MagnifierGeometry, ControlNoLargerThanTwiceItsBorderShowsNoImage) {
  EXPECT_FALSE(MagnifierGeometry(2, 50, 5, 1, {0, 0}).ShowsImage);
  EXPECT_FALSE(MagnifierGeometry(50, 20, 5, 10, {0, 0}).ShowsImage);
  EXPECT_TRUE(MagnifierGeometry(3, 3, 5, 1, {0, 0}).ShowsImage);
  // Even a control far smaller than its border keeps a sane, non-empty source.
  const TMagnifierGeometry tiny = MagnifierGeometry(1, 1, 2, 10, {7, 8});
  EXPECT_EQ(tiny.Columns, 1);
  EXPECT_EQ(tiny.Source, (TRect{7, 8, 8, 9}));
}

TEST(MagnifierGeometry, ZoomAndBorderOutsideTheirRangesAreClamped) {
  EXPECT_EQ(ClampMagnifierZoom(0), 1);
  EXPECT_EQ(ClampMagnifierZoom(-3), 1);
  EXPECT_EQ(ClampMagnifierZoom(9), 9);
  EXPECT_EQ(ClampMagnifierZoom(100000), MaxMagnifierZoom);
  EXPECT_EQ(ClampMagnifierBorderWidth(15), 10);
  EXPECT_EQ(ClampMagnifierBorderWidth(-1), 0);
  EXPECT_EQ(ClampMagnifierBorderWidth(4), 4);
  // A zoom of 0 from a hand-edited settings file must not divide by zero: it shows 1:1.
  EXPECT_EQ(MagnifierGeometry(30, 30, 0, 1, {0, 0}), MagnifierGeometry(30, 30, 1, 1, {0, 0}));

  EXPECT_EQ(CrossHairsFromIndex(0), TQorvelDesktopMagnifierCrossHairs::pmcNone);
  EXPECT_EQ(CrossHairsFromIndex(1), TQorvelDesktopMagnifierCrossHairs::pmcOpenCross);
  EXPECT_EQ(CrossHairsFromIndex(3), TQorvelDesktopMagnifierCrossHairs::pmcSmallCross);
  EXPECT_EQ(CrossHairsFromIndex(4), TQorvelDesktopMagnifierCrossHairs::pmcNone);
  EXPECT_EQ(CrossHairsFromIndex(-1), TQorvelDesktopMagnifierCrossHairs::pmcNone);
}

// ---- the floating window ----------------------------------------------------------------

const TRect WorkArea{0, 0, 1280, 994};

TRect WindowAt(int x, int y) { return {x, y, x + 87, y + 87}; }

TEST(MagnifierPlace, MouseJustLeftOfTheWindowSendsItRightOfTheAnchor) {
  // The mouse 5 pixels left of the window, level with it; the anchor right of the mouse.
  const TPoint placed = PlaceMagnifierWindow(WindowAt(500, 500), {600, 560}, {495, 540}, false, WorkArea);
  EXPECT_EQ(placed.X, 616);
  EXPECT_EQ(placed.Y, 576);  // the anchor is below the mouse: the window goes below it too
}

TEST(MagnifierPlace, DodgesToTheSideOfTheAnchorAwayFromTheMouse) {
  // Mouse right of and below the anchor: the window goes left of and above it.
  EXPECT_EQ(PlaceMagnifierWindow(WindowAt(600, 400), {590, 390}, {650, 450}, false, WorkArea),
            (TPoint{590 - 16 - 87, 390 - 16 - 87}));
  // A mouse 11 pixels away is out of reach: the window stays.
  EXPECT_EQ(PlaceMagnifierWindow(WindowAt(600, 400), {590, 390}, {600 + 87 + 11, 450}, false, WorkArea),
            (TPoint{600, 400}));
  // Exactly 10 pixels away still counts as in reach.
  EXPECT_EQ(PlaceMagnifierWindow(WindowAt(600, 400), {590, 390}, {600 + 87 + 10, 450}, false, WorkArea),
            (TPoint{590 - 16 - 87, 390 - 16 - 87}));
}

TEST(MagnifierPlace, InitialPlacementStartsAtTheAnchor) {
  EXPECT_EQ(PlaceMagnifierWindow(WindowAt(0, 0), {300, 200}, {900, 900}, true, WorkArea), (TPoint{316, 216}));
  // The mouse where the window would come: it goes above-left of the anchor instead.
  EXPECT_EQ(PlaceMagnifierWindow(WindowAt(0, 0), {300, 200}, {320, 230}, true, WorkArea),
            (TPoint{300 - 16 - 87, 200 - 16 - 87}));
}

TEST(MagnifierPlace, StaysInsideTheWorkAreaNearItsEdges) {
  // Near the right and bottom edges the window turns to the other side of the anchor.
  EXPECT_EQ(PlaceMagnifierWindow(WindowAt(0, 0), {1250, 980}, {0, 0}, true, WorkArea),
            (TPoint{1250 - 16 - 87, 980 - 16 - 87}));
  // A window that stands over the left or top edge comes back right of or below the anchor.
  EXPECT_EQ(PlaceMagnifierWindow(WindowAt(-50, 300), {100, 300}, {600, 600}, false, WorkArea), (TPoint{116, 300}));
  EXPECT_EQ(PlaceMagnifierWindow(WindowAt(300, 3), {300, 50}, {600, 600}, false, WorkArea), (TPoint{300, 66}));
  // Keeping clear of the mouse wins over the work area: the last step is a dodge.
  EXPECT_EQ(PlaceMagnifierWindow(WindowAt(0, 0), {20, 20}, {40, 40}, true, WorkArea), (TPoint{-83, -83}));
  // Work areas need not start at the origin (a taskbar on the left, a second monitor).
  EXPECT_EQ(PlaceMagnifierWindow(WindowAt(0, 0), {-1000, 100}, {0, 0}, true, {-1280, 0, 0, 1024}), (TPoint{-984, 116}));
  EXPECT_EQ(PlaceMagnifierWindow(WindowAt(0, 0), {-30, 100}, {-500, 0}, true, {-1280, 0, 0, 1024}),
            (TPoint{-30 - 16 - 87, 116}));
}

}  // namespace
