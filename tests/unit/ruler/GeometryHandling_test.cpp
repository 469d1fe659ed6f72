#include <gtest/gtest.h>

#include "ruler/RulerGeometry.h"

namespace {

using O = TRulerOrientation;

TEST(GeometryAxisLock, KeyFollowsTheHandlingSetting) {
  EXPECT_EQ(AxisLockKey(0), 0);
  EXPECT_EQ(AxisLockKey(1), 0x10);  // shift
  EXPECT_EQ(AxisLockKey(2), 0x11);  // ctrl
  EXPECT_EQ(AxisLockKey(3), 0x12);  // alt
  EXPECT_EQ(AxisLockKey(4), 0);
  EXPECT_EQ(AxisLockKey(-1), 0);
}

TEST(GeometryMagnet, RulerSnapsToTheWorkAreaOnlyWhenAsked) {
  EXPECT_EQ(RulerMagnetAllies(true), TQorvelMagnetAllies{TQorvelMagnetAlly::pmaWorkArea});
  EXPECT_TRUE(RulerMagnetAllies(false).Empty());
}

TEST(GeometryAxisLock, KeepsTheDominantAxisSinceTheDragBegan) {
  const TPoint start{100, 200};
  EXPECT_EQ(LockToAxis(start, {110, 230}), (TPoint{100, 230}));  // mostly vertical
  EXPECT_EQ(LockToAxis(start, {60, 190}), (TPoint{60, 200}));    // mostly horizontal
  EXPECT_EQ(LockToAxis(start, {90, 170}), (TPoint{100, 170}));   // up and left
  EXPECT_EQ(LockToAxis(start, {120, 180}), (TPoint{120, 200}));  // a tie stays horizontal
  EXPECT_EQ(LockToAxis(start, start), start);
}

TEST(GeometryPreset, LengthIndexIsReducedModuloFive) {
  TRulerPlacement p;
  p.Presets = {400, 500, 640, 800, 1024};
  EXPECT_EQ(PresetLength(p, 0), 400);
  EXPECT_EQ(PresetLength(p, 4), 1024);
  EXPECT_EQ(PresetLength(p, 5), 400);
  EXPECT_EQ(PresetLength(p, 7), 640);
  EXPECT_EQ(PresetLength(p, -1), 1024);
}

TEST(GeometryPreset, TheEndWhereTheScaleBeginsStays) {
  TRulerPlacement plain;
  TRulerPlacement flipped;
  flipped.Direction = 1;
  const TRect h{100, 300, 700, 330};
  const TRect v{100, 50, 130, 650};
  EXPECT_EQ(PresetWindowRect(h, O::Horizontal, plain, 400), (TRect{100, 300, 500, 330}));
  EXPECT_EQ(PresetWindowRect(h, O::Horizontal, flipped, 400), (TRect{300, 300, 700, 330}));
  EXPECT_EQ(PresetWindowRect(v, O::Vertical, plain, 400), (TRect{100, 50, 130, 450}));
  EXPECT_EQ(PresetWindowRect(v, O::Vertical, flipped, 400), (TRect{100, 250, 130, 650}));
  // Not clamped to the screen.
  EXPECT_EQ(PresetWindowRect(h, O::Horizontal, flipped, 1024), (TRect{-324, 300, 700, 330}));
}

TEST(GeometryPreset, TooShortPresetGetsTheMinimumLengthWithoutMovingTheAnchor) {
  TRulerPlacement flipped;
  flipped.Direction = 1;
  const TRect h{100, 300, 700, 330};
  EXPECT_EQ(PresetWindowRect(h, O::Horizontal, flipped, 50), (TRect{600, 300, 700, 330}));
  EXPECT_EQ(PresetWindowRect(h, O::Horizontal, TRulerPlacement{}, -3), (TRect{100, 300, 200, 330}));
}

// The ruler at (10, 500), 300 x 30, dragged on a 1280 x 1024 desktop.
struct GeometryPositionChanging : testing::Test {
  TMagnetSurroundings desktop{{0, 0, 1280, 1024}, {0, 0, 1280, 994}, {}, {}, {}};
  TRulerPosContext context{{true, false, {10, 500, 310, 530}}, {10, 500}, false, {TQorvelMagnetAlly::pmaWorkArea}, 5};

  TRulerPosChange Change(TWindowPosProposal proposal) { return RulerPositionChanging(proposal, context, desktop); }
};

TEST_F(GeometryPositionChanging, AxisLockOnlyWhileTheKeyIsDown) {
  context.Window.Bounds = {40, 510, 340, 540};  // where the previous step left it
  EXPECT_EQ(Change({50, 520, 300, 30}).Proposal, (TWindowPosProposal{50, 520, 300, 30}));
  context.AxisLockKeyDown = true;
  EXPECT_EQ(Change({50, 520, 300, 30}).Proposal, (TWindowPosProposal{50, 500, 300, 30}));
  EXPECT_EQ(Change({20, 580, 300, 30}).Proposal, (TWindowPosProposal{10, 580, 300, 30}));

  TWindowPosProposal shown{50, 520, 300, 30};
  shown.ShowWindow = true;
  EXPECT_EQ(Change(shown).Proposal, shown);
  TWindowPosProposal noMove{50, 520, 300, 30};
  noMove.NoMove = true;
  EXPECT_EQ(Change(noMove).Proposal, noMove);
}

TEST_F(GeometryPositionChanging, SnappingComesLastAndSeesTheLockedPosition) {
  context.MoveStart = {4, 500};
  context.AxisLockKeyDown = true;
  // Locked back to x 4, which lies within snapping reach of the work area's left edge;
  // snapping first would have left x 5 alone and the lock would then restore 4.
  EXPECT_EQ(Change({5, 300, 300, 30}).Proposal, (TWindowPosProposal{0, 300, 300, 30}));

  context.AxisLockKeyDown = false;
  EXPECT_EQ(Change({3, 600, 300, 30}).Proposal, (TWindowPosProposal{0, 600, 300, 30}));
  context.Allies = {};
  EXPECT_EQ(Change({3, 600, 300, 30}).Proposal, (TWindowPosProposal{3, 600, 300, 30}));
}

TEST_F(GeometryPositionChanging, ResizesLayOutTheChildrenButNeverSnap) {
  // Dragging the left border 3 pixels from the work area's edge.
  const TRulerPosChange resize = Change({3, 500, 307, 30});
  EXPECT_TRUE(resize.LayoutNeeded);
  EXPECT_EQ(resize.Proposal, (TWindowPosProposal{3, 500, 307, 30}));

  TWindowPosProposal move{3, 500, 300, 30};
  move.NoSize = true;
  const TRulerPosChange moved = Change(move);
  EXPECT_FALSE(moved.LayoutNeeded);
  EXPECT_EQ(moved.Proposal.X, 0);
}

}  // namespace
