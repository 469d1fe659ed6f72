// Spans and snapped bounds on small synthetic screens built in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

#include "measure/EdgeDetection.h"

namespace {

constexpr TPixel White = 0xFFFFFF, Black = 0x000000, Blue = 0x3070C0, Face = 0xD0D0D0;

TPixel Grey(int level) { return static_cast<TPixel>(level) * 0x010101; }

TEdgeOptions Options(int tolerance = 30, int ignoreNarrow = 0, bool continuous = false) {
  return {tolerance, continuous, ignoreNarrow};
}

TEST(FindEdges, SpansButtonsAndCrossesTheirTextOnlyWhenAskedTo) {
  TPixelBuffer screen(800, 400, White);
  const TPixelView view = screen.View();
  view.Fill({100, 50, 400, 170}, Blue);
  view.Fill({500, 50, 600, 100}, Grey(0xE1));  // 30 below white: the same surface at 30
  // A button with a "word" of 2-pixel strokes 3 pixels apart, 8 pixels tall.
  view.Fill({100, 250, 400, 290}, Face);
  for (int x = 200; x < 300; x += 5) view.Fill({x, 266, x + 2, 274}, Black);
  EXPECT_EQ(FindEdges(view, {250, 100}, Options()), (TRect{100, 50, 400, 170}));  // 300 x 120
  EXPECT_EQ(FindEdges(view, {550, 20}, Options()), (TRect{0, 0, 800, 400})) << "nothing but the image's border";
  EXPECT_EQ(FindEdges(view, {550, 20}, Options(29)), (TRect{0, 0, 800, 50})) << "the faint box is an edge below 30";
  EXPECT_TRUE(FindEdges(view, {800, 10}, Options()).Empty() && FindEdges(view, {-1, 10}, Options()).Empty());
  EXPECT_EQ(FindEdges(view, {150, 270}, Options(30, 1)), (TRect{100, 250, 200, 290})) << "strokes are 2 wide";
  EXPECT_EQ(FindEdges(view, {150, 270}, Options(30, 2)), (TRect{100, 250, 400, 290}));
  EXPECT_EQ(FindEdges(view, {201, 260}, Options(30, 8)).Height(), 40) << "a column through an 8-high stroke";
  EXPECT_EQ(FindEdges(view, {201, 260}, Options(30, 7)).Height(), 16);
}

TEST(Edges, AnAntiAliasedEdgeIsWherePixelsDifferBeyondTheTolerance) {
  // A dark box on white whose left edge is 75 %, 50 %, 25 % and 10 % covered. From inside,
  // the 75 % pixel already differs; from outside, the 25 % pixel (by 47) does and the 10 %
  // one (by 19) does not. Snapping keeps what differs: the 25 % pixel on.
  TPixelBuffer screen(120, 60, White);
  const TPixelView view = screen.View();
  view.Fill({40, 20, 80, 40}, Grey(0x40));
  const int levels[] = {0x70, 0xA0, 0xD0, 0xEC};
  for (int i = 0; i < 4; ++i) view.Fill({39 - i, 20, 40 - i, 40}, Grey(levels[i]));
  EXPECT_EQ(FindEdges(view, {60, 30}, Options()), (TRect{40, 20, 80, 40}));
  EXPECT_EQ(FindEdges(view, {10, 30}, Options()), (TRect{0, 0, 37, 60}));
  EXPECT_EQ(SnapToContent(view, {5, 5, 110, 55}, Options()), (TRect{37, 20, 80, 40}));
}

TEST(FindEdges, ContinuousFollowsAGradientButNotAnEdge) {
  // Grey rising half a level per pixel, with a black bar at 400..419.
  TPixelBuffer screen(512, 8);
  const TPixelView view = screen.View();
  for (int x = 0; x < 512; ++x) view.Fill({x, 0, x + 1, 8}, Grey(x / 2));
  view.Fill({400, 0, 420, 8}, Black);
  // Plain: within 30 of the start's 128, i.e. levels 98..158.
  EXPECT_EQ(FindEdges(view, {256, 4}, Options()), (TRect{196, 0, 318, 8}));
  EXPECT_EQ(FindEdges(view, {256, 4}, Options(30, 0, true)), (TRect{0, 0, 400, 8}));
  // The limit: a quarter of the tolerance per pixel is still one surface (each pixel 28 ahead
  // of the average at 7 a pixel), more is not (the eighth pixel at 8 a pixel is 28.9 ahead).
  for (int x = 0; x < 37; ++x) {
    view.Fill({x, 0, x + 1, 4}, Grey(7 * x));
    view.Fill({x, 4, x + 1, 8}, Grey(std::min(8 * x, 255)));
  }
  EXPECT_EQ(FindEdges(view, {0, 0}, Options(28, 0, true)).Right, 37);
  EXPECT_EQ(FindEdges(view, {36, 0}, Options(28, 0, true)).Left, 0);
  EXPECT_EQ(FindEdges(view, {0, 4}, Options(28, 0, true)).Right, 8);
  EXPECT_EQ(FindEdges(view, {31, 4}, Options(28, 0, true)).Left, 24);
}

TEST(Edges, OnePixelLines) {
  TPixelBuffer screen(200, 100, White);
  const TPixelView view = screen.View();
  view.Fill({20, 10, 180, 11}, Black);   // horizontal
  view.Fill({100, 30, 101, 90}, Black);  // vertical
  view.Fill({199, 0, 200, 100}, Blue);   // at the image's right border
  EXPECT_EQ(FindEdges(view, {50, 10}, Options()), (TRect{20, 10, 180, 11}));
  EXPECT_EQ(FindEdges(view, {50, 50}, Options()), (TRect{0, 11, 100, 100}));
  EXPECT_EQ(FindEdges(view, {50, 50}, Options(30, 1)), (TRect{0, 0, 199, 100}))
      << "crosses both lines, not the one that reaches the image's border";
  EXPECT_EQ(SnapToContent(view, {60, 20, 150, 99}, Options()), (TRect{100, 30, 101, 90}));
  EXPECT_EQ(SnapToContent(view, {0, 2, 150, 20}, Options()), (TRect{20, 10, 150, 11}));
  // Clipped to the image first; nothing to snap to when nothing inside differs or it is off the image.
  EXPECT_EQ(SnapToContent(view, {-20, 40, 150, 200}, Options()), (TRect{100, 40, 101, 90}));
  EXPECT_EQ(SnapToContent(view, {-20, 40, 60, 200}, Options()), std::nullopt);
  EXPECT_EQ(SnapToContent(view, {200, 0, 250, 50}, Options()), std::nullopt);
}

TEST(SnapToContent, ANoisyBackgroundRaisesTheTolerance) {
  // Every channel of the background strays up to 12 levels; a box 60 levels darker.
  TPixelBuffer screen(300, 200);
  const TPixelView view = screen.View();
  std::minstd_rand random(7);
  const auto noisy = [&](int level) { return static_cast<TPixel>(level - 12 + static_cast<int>(random() % 25)); };
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) view.Set(x, y, noisy(0xA0) << 16 | noisy(0xB0) << 8 | noisy(0x90));
  view.Fill({120, 70, 180, 130}, 0x647054);
  EXPECT_EQ(SnapToContent(view, {10, 10, 290, 190}, Options(5)), (TRect{120, 70, 180, 130})) << "not 5";
}

// On a plain background: the bounding box of the pixels beyond the tolerance, whatever their shape.
TEST(SnapToContent, IsTheBoundingBoxOfTheContent) {
  std::minstd_rand random(42);
  const auto next = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 200; ++round) {
    const int width = 1 + next(90), height = 1 + next(50);
    TPixelBuffer screen(width + 2, height + 2, Face);
    const TPixelView view = screen.View();
    for (int blob = next(4); blob > 0; --blob) {
      const int x = 1 + next(width), y = 1 + next(height);
      const TRect r{x, y, std::min(x + 1 + next(20), width + 1), std::min(y + 1 + next(20), height + 1)};
      view.Fill(r, next(2) == 0 ? Grey(0xD0 + 31) : Grey(0xD0 - 31 + next(3) * 10));
    }
    TRect box{width + 2, height + 2, 0, 0};
    for (int y = 0; y < view.Height(); ++y)
      for (int x = 0; x < view.Width(); ++x)
        if (ColorDifference(view.At(x, y), Face) > 30)
          box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
    const std::optional<TRect> expected = box.Empty() ? std::nullopt : std::optional(box);
    ASSERT_EQ(SnapToContent(view, view.Bounds(), Options()), expected) << "round " << round;
  }
}

}  // namespace
