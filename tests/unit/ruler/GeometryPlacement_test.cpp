#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ruler/RulerGeometry.h"

namespace {

// 1280 x 1024 primary screen, task bar of 30 pixels at the bottom.
const std::vector<TRect> kOneMonitor{{0, 0, 1280, 994}};
const TDesktopLayout kDesktop{{1280, 1024}, kOneMonitor};

TRulerPlacement Placed(int x, int y, int length, int bearing = 0, int direction = 0) {
  TRulerPlacement p;
  p.Position = {x, y};
  p.Length = length;
  p.Bearing = bearing;
  p.Direction = direction;
  return p;
}

TEST(GeometryPlacement, FirstStartCentresHalfAScreenOnTheCentreLines) {
  TRulerPlacements p;
  const TPlacedRuler h = ApplyPlacement(p, 30, kDesktop);
  // Scale at the bottom on the horizontal centre line: the window lies just above it.
  EXPECT_EQ(h.Window, (TRect{320, 482, 960, 512}));
  EXPECT_EQ(h.Constraints, (TSizeConstraints{100, 0}));
  EXPECT_EQ(p.Horizontal.Position, (TPoint{320, 512}));
  EXPECT_EQ(p.Horizontal.Length, 640);

  p.Orientation = 1;
  const TPlacedRuler v = ApplyPlacement(p, 30, kDesktop);
  EXPECT_EQ(v.Window, (TRect{610, 256, 640, 768}));  // scale on the right, on x 640
  EXPECT_EQ(v.Constraints, (TSizeConstraints{0, 100}));
  EXPECT_EQ(p.Vertical.Length, 512);
  EXPECT_EQ(p.Horizontal.Length, 640);  // the other orientation is left alone
}

TEST(GeometryPlacement, TooShortLengthMeansNeverPlacedAndTooLongIsCut) {
  TRulerPlacements p;
  p.Horizontal = Placed(50, 200, 99);
  EXPECT_EQ(ApplyPlacement(p, 30, kDesktop).Window, (TRect{320, 482, 960, 512}));

  p.Horizontal = Placed(50, 200, 100);
  EXPECT_EQ(ApplyPlacement(p, 30, kDesktop).Window, (TRect{50, 170, 150, 200}));
  EXPECT_EQ(p.Horizontal, Placed(50, 200, 100));

  p.Horizontal = Placed(0, 200, 1281);
  EXPECT_EQ(ApplyPlacement(p, 30, kDesktop).Window, (TRect{0, 170, 1280, 200}));
  EXPECT_EQ(p.Horizontal.Length, 1280);

  p.Orientation = 1;
  p.Vertical = Placed(300, 0, 5000, 1);
  EXPECT_EQ(ApplyPlacement(p, 30, kDesktop).Window, (TRect{300, 0, 330, 1024}));
  EXPECT_EQ(p.Vertical.Length, 1024);
}

TEST(GeometryPlacement, ThicknessIsHeldToTheScreenAcrossTheAxis) {
  TRulerPlacements p;
  p.Orientation = 1;
  EXPECT_EQ(ApplyPlacement(p, 100000, kDesktop).Window.Width(), 1280);  // the screen's width
}

TEST(GeometryPlacement, PositionIsWhereTheStartMeetsTheScaleEdge) {
  struct Case {
    int orientation, bearing;
    TRect window;
  };
  const Case cases[] = {
      {0, 1, {100, 200, 500, 230}},  // scale on top: the top-left corner
      {0, 0, {100, 170, 500, 200}},  // scale at the bottom: the bottom-left corner
      {1, 1, {100, 200, 130, 600}},  // scale on the left: the top-left corner
      {1, 0, {70, 200, 100, 600}},   // scale on the right: the top-right corner
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "orientation " << c.orientation << " bearing " << c.bearing);
    const TRulerPlacement placed = Placed(100, 200, 400, c.bearing);
    EXPECT_EQ(PlacementWindowRect(placed, OrientationOf(c.orientation), 30), c.window);

    TRulerPlacements p;
    p.Orientation = c.orientation;
    p.Current().Bearing = c.bearing;
    StorePlacement(p, c.window);
    EXPECT_EQ(p.Current(), placed);
  }
}

TEST(GeometryPlacement, ThicknessChangeKeepsTheScaleEdge) {
  TRulerPlacements p;
  p.Horizontal = Placed(200, 600, 500);
  const TRect thin = ApplyPlacement(p, 30, kDesktop).Window;
  StorePlacement(p, thin);
  const TRect thick = ApplyPlacement(p, 50, kDesktop).Window;
  EXPECT_EQ(thick.Bottom, thin.Bottom);
  EXPECT_EQ(thick.Top, thin.Top - 20);

  p.Horizontal.Bearing = 1;
  StorePlacement(p, thin);
  EXPECT_EQ(ApplyPlacement(p, 50, kDesktop).Window, (TRect{200, 570, 700, 620}));

  p.Orientation = 1;
  p.Vertical = Placed(400, 100, 500);  // scale on the right
  EXPECT_EQ(ApplyPlacement(p, 50, kDesktop).Window, (TRect{350, 100, 400, 600}));
}

TEST(GeometryPlacement, RotatingTwiceReturnsToTheSameRectangle) {
  TRulerPlacements p;
  p.Orientation = 2;  // only bit 0 counts; the others are kept
  p.Horizontal = Placed(200, 300, 500);
  const TRect horizontal = ApplyPlacement(p, 30, kDesktop).Window;

  const TRect vertical = Rotate(p, horizontal, 30, kDesktop).Window;
  EXPECT_EQ(p.Orientation, 3);
  EXPECT_EQ(vertical, (TRect{610, 256, 640, 768}));  // never placed: the default

  // The user drags and stretches the vertical ruler before rotating back.
  const TRect movedVertical{900, 100, 930, 612};
  EXPECT_EQ(Rotate(p, movedVertical, 30, kDesktop).Window, horizontal);
  EXPECT_EQ(p.Orientation, 2);
  EXPECT_EQ(Rotate(p, horizontal, 30, kDesktop).Window, movedVertical);
}

TEST(GeometryPlacement, FlipAndTurnToggleBitZeroOfTheCurrentPlacement) {
  TRulerPlacements p;
  p.Orientation = 1;
  p.Vertical.Direction = 2;
  Flip(p);
  Turn(p);
  EXPECT_EQ(p.Vertical.Direction, 3);
  EXPECT_EQ(p.Vertical.Bearing, 1);
  EXPECT_EQ(p.Horizontal, TRulerPlacement{});
  Flip(p);
  EXPECT_EQ(p.Vertical.Direction, 2);
}

TEST(GeometryPlacement, OffScreenAndAbsurdPlacementsLandOnTheWorkArea) {
  TRulerPlacements p;
  p.Horizontal = Placed(5000, 5000, 500);
  EXPECT_EQ(ApplyPlacement(p, 30, kDesktop).Window, (TRect{780, 964, 1280, 994}));

  p.Horizontal = Placed(INT_MAX, INT_MIN, INT_MAX);
  EXPECT_EQ(ApplyPlacement(p, 30, kDesktop).Window, (TRect{0, 0, 1280, 30}));

  // A zero or negative width would make the ruler vanish; it gets the default thickness.
  p.Horizontal = Placed(100, 400, 300);
  EXPECT_EQ(ApplyPlacement(p, 0, kDesktop).Window, (TRect{100, 370, 400, 400}));
  EXPECT_EQ(ApplyPlacement(p, -7, kDesktop).Window, (TRect{100, 370, 400, 400}));
}

TEST(GeometryPlacement, MinimumLengthHoldsOnATinyScreen) {
  const std::vector<TRect> tiny{{0, 0, 150, 100}};
  TRulerPlacements p;
  const TPlacedRuler placed = ApplyPlacement(p, 30, {{150, 100}, tiny});
  EXPECT_EQ(placed.Window.Width(), 100);
  EXPECT_EQ(placed.Window.Height(), 30);
}

TEST(GeometryPlacement, FitMovesOnlyWhatIsNotWhollyOnTheWorkAreas) {
  EXPECT_EQ(FitRectToMonitors({1190, 100, 1290, 200}, kOneMonitor), (TRect{1180, 100, 1280, 200}));
  EXPECT_EQ(FitRectToMonitors({-10, -20, 90, 80}, kOneMonitor), (TRect{0, 0, 100, 100}));

  const std::vector<TRect> two{{0, 0, 1280, 994}, {1280, 0, 2560, 1024}};
  const TRect straddling{1200, 100, 1400, 200};
  EXPECT_EQ(FitRectToMonitors(straddling, two), straddling);
  // Mostly on the second monitor and partly below the first one's work area.
  EXPECT_EQ(FitRectToMonitors({1200, 950, 1400, 1050}, two), (TRect{1280, 924, 1480, 1024}));
  // Equally much on both monitors: the first one wins.
  const std::vector<TRect> twoEqual{{0, 0, 1280, 994}, {1280, 0, 2560, 994}};
  EXPECT_EQ(FitRectToMonitors({1180, 950, 1380, 1050}, twoEqual), (TRect{1080, 894, 1280, 994}));
  // Touching an edge is no overlap; overlapping nothing falls back to the first monitor.
  EXPECT_EQ(FitRectToMonitors({3000, 100, 3100, 200}, two), (TRect{1180, 100, 1280, 200}));
  EXPECT_EQ(FitRectToMonitors({2560, 100, 2660, 200}, two), (TRect{1180, 100, 1280, 200}));

  // Taller than the work area: the top end stays visible.
  EXPECT_EQ(FitRectToMonitors({300, 0, 330, 1024}, kOneMonitor), (TRect{300, 0, 330, 1024}));
  EXPECT_EQ(FitRectToMonitors({300, 50, 330, 1074}, kOneMonitor), (TRect{300, 0, 330, 1024}));

  EXPECT_EQ(FitRectToMonitors({5000, 5000, 5100, 5100}, {}), (TRect{5000, 5000, 5100, 5100}));
}

}  // namespace
