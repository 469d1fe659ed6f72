// Spans and snapped bounds on small synthetic screens built in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "measure/EdgeDetection.h"

namespace {

constexpr TPixel White = 0xFFFFFF, Black = 0x000000, Blue = 0x3070C0, Face = 0xD0D0D0;

TPixel Grey(int level) { return static_cast<TPixel>(level) * 0x010101; }

struct TLcg {
  std::uint32_t State;
  int Next(int n) {
    State = State * 1664525u + 1013904223u;
    return static_cast<int>((State >> 8) % static_cast<std::uint32_t>(n));
  }
};

TEdgeOptions Options(int tolerance = 30, int ignoreNarrow = 0, bool continuous = false) {
  TEdgeOptions options;
  options.Tolerance = tolerance;
  options.IgnoreNarrow = ignoreNarrow;
  options.Continuous = continuous;
  return options;
}

TEST(FindEdges, SpansABoxOfOneColourAndEndsAtTheImageBorder) {
  TPixelBuffer screen(800, 400, White);
  const TPixelView view = screen.View();
  view.Fill({100, 50, 400, 170}, Blue);
  view.Fill({500, 50, 600, 100}, Grey(0xE1));  // 30 below white: the same surface at 30

  const TRect button = FindEdges(view, {250, 100}, Options());
  EXPECT_EQ(button, (TRect{100, 50, 400, 170}));
  EXPECT_EQ(button.Width(), 300);
  EXPECT_EQ(button.Height(), 120);
  EXPECT_EQ(FindEdges(view, {100, 50}, Options()), button) << "from the corner pixel";

  EXPECT_EQ(FindEdges(view, {550, 20}, Options()), (TRect{0, 0, 800, 400})) << "nothing but image borders";
  EXPECT_EQ(FindEdges(view, {550, 20}, Options(29)), (TRect{0, 0, 800, 50})) << "the faint box is an edge below 30";
  EXPECT_EQ(FindEdges(view, {550, 20}, Options(-5)), (TRect{0, 0, 800, 50})) << "a negative tolerance is 0";

  EXPECT_TRUE(FindEdges(view, {800, 10}, Options()).Empty());
  EXPECT_TRUE(FindEdges(view, {-1, 10}, Options()).Empty());
  EXPECT_TRUE(FindEdges(TPixelView{}, {0, 0}, Options()).Empty());
}

// A box of 0x404040 on white whose left edge is anti-aliased: 75 %, 50 %, 25 % and 10 % covered.
TPixelBuffer AntiAliasedBox() {
  TPixelBuffer screen(120, 60, White);
  const TPixelView view = screen.View();
  view.Fill({40, 20, 80, 40}, Grey(0x40));
  const int levels[] = {0x70, 0xA0, 0xD0, 0xEC};  // 0x40 + (0xFF - 0x40) * (1 - coverage)
  for (int i = 0; i < 4; ++i) view.Fill({39 - i, 20, 40 - i, 40}, Grey(levels[i]));
  return screen;
}

TEST(FindEdges, StopsAtTheFirstPixelBeyondTheTolerance) {
  TPixelBuffer screen = AntiAliasedBox();
  // From inside the box, the 75 % pixel already differs; from outside, the 25 % pixel does.
  EXPECT_EQ(FindEdges(screen.View(), {60, 30}, Options()), (TRect{40, 20, 80, 40}));
  EXPECT_EQ(FindEdges(screen.View(), {10, 30}, Options()), (TRect{0, 0, 37, 60}));
}

TEST(SnapToContent, KeepsTheAntiAliasedPixelsThatDifferBeyondTheTolerance) {
  TPixelBuffer screen = AntiAliasedBox();
  // The 10 % pixel differs by 19: background; the 25 % pixel by 47: content.
  EXPECT_EQ(SnapToContent(screen.View(), {5, 5, 110, 55}, Options()), (TRect{37, 20, 80, 40}));
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

  // The limit: a quarter of the tolerance per pixel is still one surface, more is not.
  for (const int slope : {6, 9}) {
    TPixelBuffer steep(28, 1);
    for (int x = 0; x < 28; ++x) steep.View().Set(x, 0, Grey(slope * x));
    const TRect span = FindEdges(steep.View(), {0, 0}, Options(30, 0, true));
    if (slope == 6)
      EXPECT_EQ(span.Right, 28);
    else
      EXPECT_LT(span.Right, 12) << "a slope of 9 settles 36 levels ahead of the average";
  }
}

TEST(FindEdges, IgnoreNarrowCrossesTextInsideAButton) {
  // A button with a "word" of 2-pixel strokes 3 pixels apart, 8 pixels tall, on its middle row.
  TPixelBuffer screen(400, 100, White);
  const TPixelView view = screen.View();
  view.Fill({50, 30, 350, 70}, Face);
  for (int x = 150; x < 250; x += 5) view.Fill({x, 46, x + 2, 54}, Black);

  EXPECT_EQ(FindEdges(view, {100, 50}, Options()), (TRect{50, 30, 150, 70})) << "stopped by the first stroke";
  EXPECT_EQ(FindEdges(view, {100, 50}, Options(30, 1)), (TRect{50, 30, 150, 70})) << "2-pixel strokes are not 1 wide";
  EXPECT_EQ(FindEdges(view, {100, 50}, Options(30, 2)), (TRect{50, 30, 350, 70}));
  EXPECT_EQ(FindEdges(view, {100, 50}, Options(30, 2, true)), (TRect{50, 30, 350, 70}));
  EXPECT_EQ(FindEdges(view, {153, 50}, Options()), (TRect{152, 30, 155, 70})) << "between two strokes";
  // The text is 8 tall: with IgnoreNarrow 8 the column through a stroke crosses it too.
  EXPECT_EQ(FindEdges(view, {151, 40}, Options(30, 8)).Height(), 40);
  EXPECT_EQ(FindEdges(view, {151, 40}, Options(30, 7)).Height(), 16);
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
}

TEST(SnapToContent, ClipsToTheImageAndKeepsARectWithoutContent) {
  TPixelBuffer screen(100, 80, White);
  const TPixelView view = screen.View();
  EXPECT_EQ(SnapToContent(view, {-20, 10, 50, 200}, Options()), (TRect{0, 10, 50, 80})) << "nothing inside";
  EXPECT_TRUE(SnapToContent(view, {100, 0, 150, 80}, Options()).Empty());
  EXPECT_TRUE(SnapToContent(view, {10, 10, 10, 50}, Options()).Empty());

  view.Fill({90, 70, 100, 80}, Blue);  // content in the image's corner, outside the rectangle's reach
  EXPECT_EQ(SnapToContent(view, {-20, -20, 200, 200}, Options()), (TRect{90, 70, 100, 80}));
  EXPECT_EQ(SnapToContent(view, {95, 75, 96, 76}, Options()), (TRect{95, 75, 96, 76})) << "a single pixel";
}

TEST(SnapToContent, ANoisyBackgroundRaisesTheTolerance) {
  // Every channel of the background strays up to 12 levels; a box 60 levels darker.
  TPixelBuffer screen(300, 200);
  const TPixelView view = screen.View();
  TLcg random{7};
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x)
      view.Set(
          x, y,
          (0xA0 - 12 + random.Next(25)) << 16 | (0xB0 - 12 + random.Next(25)) << 8 | (0x90 - 12 + random.Next(25)));
  view.Fill({120, 70, 180, 130}, 0x647054);
  const TRect box{120, 70, 180, 130};
  EXPECT_EQ(SnapToContent(view, {10, 10, 290, 190}, Options()), box);
  EXPECT_EQ(SnapToContent(view, {10, 10, 290, 190}, Options(5)), box) << "the noise, not the 5, sets the tolerance";
  // Content crossing an eighth of the border leaves the background and the noise as they were.
  view.Fill({0, 60, 45, 140}, 0x647054);
  EXPECT_EQ(SnapToContent(view, {40, 40, 260, 160}, Options(5)), (TRect{40, 60, 180, 140}));
}

// On a plain background the snapped rectangle is the bounding box of every pixel beyond the
// tolerance, whatever the content's shape: the margin scans must miss none.
TEST(SnapToContent, IsTheBoundingBoxOfTheContent) {
  TLcg random{42};
  for (int round = 0; round < 200; ++round) {
    const int width = 1 + random.Next(90), height = 1 + random.Next(50);
    TPixelBuffer screen(width + 2, height + 2, Face);
    const TPixelView view = screen.View();
    for (int blob = random.Next(4); blob > 0; --blob) {
      const int x = 1 + random.Next(width), y = 1 + random.Next(height);
      const TRect r{x, y, std::min(x + 1 + random.Next(20), width + 1), std::min(y + 1 + random.Next(20), height + 1)};
      view.Fill(r, random.Next(2) == 0 ? Grey(0xD0 + 31) : Grey(0xD0 - 31 + random.Next(3) * 10));
    }
    TRect expected{width + 2, height + 2, 0, 0};
    for (int y = 0; y < view.Height(); ++y)
      for (int x = 0; x < view.Width(); ++x)
        if (ColorDifference(view.At(x, y), Face) > 30)
          expected = {std::min(expected.Left, x), std::min(expected.Top, y), std::max(expected.Right, x + 1),
                      std::max(expected.Bottom, y + 1)};
    if (expected.Empty()) expected = view.Bounds();
    ASSERT_EQ(SnapToContent(view, view.Bounds(), Options()), expected) << "round " << round;
  }
}

}  // namespace
