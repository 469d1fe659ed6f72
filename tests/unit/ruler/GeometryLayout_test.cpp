#include <gtest/gtest.h>

#include <vector>

#include "ruler/RulerGeometry.h"

namespace {

using O = TRulerOrientation;
using HT = TRulerHitTest;

TRulerPlacements Ruler(int orientation, int direction) {
  TRulerPlacements p;
  p.Orientation = orientation;
  p.Current().Direction = direction;
  return p;
}

TMagnifierLayoutSettings Magnifier(int alignment) { return {true, alignment, alignment}; }

TEST(GeometryLayout, HiddenMagnifierLeavesTheWholeWindowToTheScale) {
  const TRulerChildren c = LayoutChildren(300, 30, Ruler(0, 0), {false, 3, 3});
  EXPECT_EQ(c.ScaleBox, (TRect{0, 0, 300, 30}));
  EXPECT_FALSE(c.MagnifierVisible);
  EXPECT_TRUE(c.Magnifier.Empty());
}

TEST(GeometryLayout, MagnifierSquareGoesToTheEndTheAlignmentChooses) {
  const TRulerChildren hFar{{0, 0, 270, 30}, {270, 0, 300, 30}, true};
  const TRulerChildren hNear{{30, 0, 300, 30}, {0, 0, 30, 30}, true};
  const TRulerChildren vFar{{0, 0, 30, 270}, {0, 270, 30, 300}, true};
  const TRulerChildren vNear{{0, 30, 30, 300}, {0, 0, 30, 30}, true};
  struct Case {
    int alignment, direction;
    bool farEnd;
  };
  const Case cases[] = {
      {3, 0, true},  {3, 1, true},    // right or bottom
      {2, 0, false}, {2, 1, false},   // left or top
      {0, 0, false}, {0, 1, true},    // where the scale begins
      {1, 0, true},  {1, 1, false},   // where the scale ends
      {7, 0, true},  {-1, 1, false},  // unknown values count as "end"
      {1, 2, true},  {1, 3, false},   // only bit 0 of the direction counts
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "alignment " << c.alignment << " direction " << c.direction);
    EXPECT_EQ(LayoutChildren(300, 30, Ruler(0, c.direction), Magnifier(c.alignment)), c.farEnd ? hFar : hNear);
    EXPECT_EQ(LayoutChildren(30, 300, Ruler(1, c.direction), Magnifier(c.alignment)), c.farEnd ? vFar : vNear);
  }
}

TEST(GeometryLayout, EachOrientationReadsItsOwnAlignment) {
  const TMagnifierLayoutSettings m{true, 2, 3};
  EXPECT_EQ(LayoutChildren(300, 30, Ruler(0, 0), m).Magnifier, (TRect{0, 0, 30, 30}));
  EXPECT_EQ(LayoutChildren(30, 300, Ruler(1, 0), m).Magnifier, (TRect{0, 270, 30, 300}));
}

TEST(GeometryLayout, FlipMovesAMagnifierAlignedToTheEnd) {
  TRulerPlacements p = Ruler(0, 0);
  EXPECT_EQ(LayoutChildren(400, 50, p, Magnifier(1)).Magnifier, (TRect{350, 0, 400, 50}));
  Flip(p);
  EXPECT_EQ(LayoutChildren(400, 50, p, Magnifier(1)).Magnifier, (TRect{0, 0, 50, 50}));
}

TEST(GeometryLayout, ScaleAreaNeverTurnsInsideOut) {
  // A ruler thicker than it is long (only a hand-edited settings file gets there).
  EXPECT_EQ(LayoutChildren(100, 150, Ruler(0, 0), Magnifier(3)).ScaleBox.Width(), 0);
  EXPECT_EQ(LayoutChildren(100, 150, Ruler(0, 0), Magnifier(2)).ScaleBox.Width(), 0);
  EXPECT_EQ(LayoutChildren(150, 100, Ruler(1, 0), Magnifier(3)).ScaleBox.Height(), 0);
  EXPECT_EQ(LayoutChildren(150, 100, Ruler(1, 0), Magnifier(2)).ScaleBox.Height(), 0);
}

TEST(GeometryHitTest, HorizontalZonesAreTheFirstAndLast16PixelsOfTheScale) {
  const TRect box{0, 0, 300, 30};
  const auto at = [&](int x) { return RulerHitTest(O::Horizontal, box, {x, 10}, {}); };
  EXPECT_EQ(at(0), HT::htLeft);
  EXPECT_EQ(at(15), HT::htLeft);
  EXPECT_EQ(at(16), HT::htCaption);
  EXPECT_EQ(at(283), HT::htCaption);
  EXPECT_EQ(at(284), HT::htRight);
  EXPECT_EQ(at(299), HT::htRight);
}

TEST(GeometryHitTest, MagnifierAtTheNearEndIsNeverAResizeZone) {
  const TRect box = LayoutChildren(300, 30, Ruler(0, 0), Magnifier(2)).ScaleBox;
  const auto at = [&](int x) { return RulerHitTest(O::Horizontal, box, {x, 10}, {}); };
  EXPECT_EQ(at(0), HT::htCaption);  // pressing on the magnifier moves the ruler
  EXPECT_EQ(at(29), HT::htCaption);
  EXPECT_EQ(at(30), HT::htLeft);
  EXPECT_EQ(at(45), HT::htLeft);
  EXPECT_EQ(at(46), HT::htCaption);
  EXPECT_EQ(at(299), HT::htRight);
}

TEST(GeometryHitTest, ThinVerticalRulerWithoutButtons) {
  const TRect box{0, 0, 10, 200};
  const auto at = [&](int x, int y) { return RulerHitTest(O::Vertical, box, {x, y}, {}); };
  EXPECT_EQ(at(5, 0), HT::htTop);
  EXPECT_EQ(at(5, 15), HT::htTop);
  EXPECT_EQ(at(5, 16), HT::htCaption);
  // Where buttons would sit on a thicker ruler there is nothing but caption.
  EXPECT_EQ(at(2, 18), HT::htCaption);
  EXPECT_EQ(at(9, 183), HT::htCaption);
  EXPECT_EQ(at(0, 184), HT::htBottom);
  EXPECT_EQ(at(5, 199), HT::htBottom);
}

TEST(GeometryHitTest, ShownButtonsAnswerClientInScaleAreaCoordinates) {
  // Magnifier at the near end: the scale area, and so the buttons, start at x 30.
  const TRect box{30, 0, 300, 30};
  const std::vector<TRect> buttons{{18, 2, 29, 13}, {30, 2, 41, 13}};
  const auto at = [&](int x, int y) { return RulerHitTest(O::Horizontal, box, {x, y}, buttons); };
  EXPECT_EQ(at(48, 2), HT::htClient);
  EXPECT_EQ(at(58, 12), HT::htClient);
  EXPECT_EQ(at(59, 5), HT::htCaption);  // the pixel between two buttons
  EXPECT_EQ(at(60, 5), HT::htClient);
  EXPECT_EQ(at(48, 13), HT::htCaption);
  EXPECT_EQ(at(18, 2), HT::htCaption);  // window coordinates of no button

  // The resize zones come first.
  const std::vector<TRect> inZone{{5, 2, 16, 13}};
  EXPECT_EQ(RulerHitTest(O::Horizontal, box, {36, 5}, inZone), HT::htLeft);

  const std::vector<TRect> vertical{{2, 18, 13, 29}};
  EXPECT_EQ(RulerHitTest(O::Vertical, {0, 0, 30, 300}, {2, 18}, vertical), HT::htClient);
  EXPECT_EQ(RulerHitTest(O::Vertical, {0, 0, 30, 300}, {13, 18}, vertical), HT::htCaption);
}

}  // namespace
