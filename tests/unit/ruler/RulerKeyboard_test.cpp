#include "ruler/RulerKeyboard.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using O = TRulerOrientation;
using K = TArrowKey;

TEST(RulerKeyboardStep, ArrowsMoveByOnePixelAndByTenWithShift) {
  for (O orientation : {O::Horizontal, O::Vertical}) {
    for (bool flipped : {false, true}) {
      EXPECT_EQ(ArrowKeyStep(K::Left, false, false, orientation, flipped), (TRulerKeyStep{{-1, 0}, 0}));
      EXPECT_EQ(ArrowKeyStep(K::Right, false, false, orientation, flipped), (TRulerKeyStep{{1, 0}, 0}));
      EXPECT_EQ(ArrowKeyStep(K::Up, false, false, orientation, flipped), (TRulerKeyStep{{0, -1}, 0}));
      EXPECT_EQ(ArrowKeyStep(K::Down, false, false, orientation, flipped), (TRulerKeyStep{{0, 1}, 0}));
      EXPECT_EQ(ArrowKeyStep(K::Left, true, false, orientation, flipped), (TRulerKeyStep{{-10, 0}, 0}));
      EXPECT_EQ(ArrowKeyStep(K::Down, true, false, orientation, flipped), (TRulerKeyStep{{0, 10}, 0}));
    }
  }
}

TEST(RulerKeyboardStep, CtrlArrowsAlongTheRulerMoveItsFreeEndTheWayTheyPoint) {
  // Plain: the scale begins at the left or top, the right or bottom end is free.
  EXPECT_EQ(ArrowKeyStep(K::Right, false, true, O::Horizontal, false).LengthChange, 1);
  EXPECT_EQ(ArrowKeyStep(K::Left, false, true, O::Horizontal, false).LengthChange, -1);
  EXPECT_EQ(ArrowKeyStep(K::Down, true, true, O::Vertical, false).LengthChange, 10);
  EXPECT_EQ(ArrowKeyStep(K::Up, true, true, O::Vertical, false).LengthChange, -10);
  // Flipped: the scale begins at the right or bottom, the left or top end is free.
  EXPECT_EQ(ArrowKeyStep(K::Left, false, true, O::Horizontal, true).LengthChange, 1);
  EXPECT_EQ(ArrowKeyStep(K::Right, true, true, O::Horizontal, true).LengthChange, -10);
  EXPECT_EQ(ArrowKeyStep(K::Up, false, true, O::Vertical, true).LengthChange, 1);
  EXPECT_EQ(ArrowKeyStep(K::Down, false, true, O::Vertical, true).LengthChange, -1);
  // No move with a length change, and nothing at all across the ruler.
  EXPECT_EQ(ArrowKeyStep(K::Right, false, true, O::Horizontal, false).Offset, (TPoint{0, 0}));
  for (bool shift : {false, true}) {
    EXPECT_EQ(ArrowKeyStep(K::Up, shift, true, O::Horizontal, false), TRulerKeyStep{});
    EXPECT_EQ(ArrowKeyStep(K::Down, shift, true, O::Horizontal, true), TRulerKeyStep{});
    EXPECT_EQ(ArrowKeyStep(K::Left, shift, true, O::Vertical, false), TRulerKeyStep{});
    EXPECT_EQ(ArrowKeyStep(K::Right, shift, true, O::Vertical, true), TRulerKeyStep{});
  }
}

TEST(RulerKeyboardStep, OnlyTheFourArrowKeysCount) {
  EXPECT_EQ(ArrowKeyFromVirtualKey(0x25), K::Left);
  EXPECT_EQ(ArrowKeyFromVirtualKey(0x26), K::Up);
  EXPECT_EQ(ArrowKeyFromVirtualKey(0x27), K::Right);
  EXPECT_EQ(ArrowKeyFromVirtualKey(0x28), K::Down);
  for (int other : {0x20, 0x24, 0x29, 0x64, 0x66, int{'C'}}) EXPECT_EQ(ArrowKeyFromVirtualKey(other), std::nullopt);
}

// A ruler moved by keys the way the window does it: each key continues the drag, proposes
// the moved position and lets the ruler's position-changing handling (the work-area magnet
// with the ruler's 5-pixel reach; no axis lock outside a mouse drag) decide where it lands.
struct RulerKeyboardMove : testing::Test {
  // 1280 x 1024 screen, task bar 30 pixels high at the bottom.
  TMagnetSurroundings desktop{{0, 0, 1280, 1024}, {0, 0, 1280, 994}, {}, {}, {}};
  TRulerPosContext context{{true, false, {}}, {}, false, RulerMagnetAllies(true), 5};
  TRect window{300, 400, 700, 430};
  std::optional<TKeyboardDrag> drag;

  void Press(TPoint offset) {
    const TKeyboardDrag current = ContinueKeyboardDrag(drag, window);
    context.Window.Bounds = window;
    context.MoveStart = current.Position;
    const TRulerPosChange change = RulerPositionChanging(KeyboardMoveProposal(current, offset), context, desktop);
    EXPECT_FALSE(change.LayoutNeeded);
    window = {change.Proposal.X, change.Proposal.Y, change.Proposal.X + window.Width(),
              change.Proposal.Y + window.Height()};
    drag = AdvanceKeyboardDrag(current, offset, window);
  }
  void Press(TArrowKey key, bool shift = false) { Press(ArrowKeyStep(key, shift, false, O::Horizontal, false).Offset); }
  TPoint TopLeft() const { return {window.Left, window.Top}; }
};

TEST_F(RulerKeyboardMove, AwayFromTheEdgesEveryKeyMovesExactly) {
  Press(K::Right);
  EXPECT_EQ(TopLeft(), (TPoint{301, 400}));
  Press(K::Down, true);
  EXPECT_EQ(TopLeft(), (TPoint{301, 410}));
  Press(K::Left, true);
  Press(K::Up);
  EXPECT_EQ(TopLeft(), (TPoint{291, 409}));
  EXPECT_EQ(window.Width(), 400);
  EXPECT_EQ(window.Height(), 30);
}

TEST_F(RulerKeyboardMove, TheWorkAreaEdgeCatchesTheRulerAsADragDoes) {
  window = {7, 400, 407, 430};
  Press(K::Left);
  EXPECT_EQ(window.Left, 6);
  Press(K::Left);
  EXPECT_EQ(window.Left, 5);  // 5 pixels away: out of reach
  Press(K::Left);
  EXPECT_EQ(window.Left, 0);  // 4 pixels away: pulled onto the edge
  Press(K::Left);
  EXPECT_EQ(window.Left, 0);
  // Going back, the drag goes on from where the keys had taken it (x 3), not from the edge.
  Press(K::Right);
  EXPECT_EQ(window.Left, 0);
  Press(K::Right);
  EXPECT_EQ(window.Left, 5);
}

TEST_F(RulerKeyboardMove, AKeyRunFromTheEdgeLeavesItAfterTheSnapReach) {
  // A ruler on the bottom of the work area (y 964 + 30 = 994) pressed upwards.
  window = {300, 964, 700, 994};
  for (int i = 1; i <= 4; ++i) {
    Press(K::Up);
    EXPECT_EQ(window.Top, 964) << "press " << i;
  }
  Press(K::Up);
  EXPECT_EQ(window.Top, 959);
  Press(K::Up);
  EXPECT_EQ(window.Top, 958);
}

TEST_F(RulerKeyboardMove, TheRightEdgeSnapsTheFarSideOfTheWindow) {
  window = {870, 400, 1270, 430};  // 10 pixels left of the right edge
  Press(K::Right, true);
  EXPECT_EQ(window.Right, 1280);
  Press(K::Right, true);
  EXPECT_EQ(window.Right, 1290);  // 10 beyond: out of reach again, as a drag would go
}

TEST_F(RulerKeyboardMove, WithoutSnappingTheEdgeIsNoObstacle) {
  context.Allies = RulerMagnetAllies(false);
  window = {2, 400, 402, 430};
  Press(K::Left);
  Press(K::Left);
  Press(K::Left);
  EXPECT_EQ(window.Left, -1);
}

TEST_F(RulerKeyboardMove, AWindowMovedInBetweenStartsANewDrag) {
  window = {3, 400, 403, 430};
  Press(K::Left);
  EXPECT_EQ(window.Left, 0);
  // A mouse drag or a rotation put the window elsewhere: the keys start over from there.
  window = {500, 300, 900, 330};
  Press(K::Right);
  EXPECT_EQ(TopLeft(), (TPoint{501, 300}));
}

TEST(RulerKeyboardDrag, ContinuesOnlyWhileTheWindowStaysPut) {
  const TRect window{0, 400, 400, 430};
  const TKeyboardDrag previous{{3, 400}, window};
  EXPECT_EQ(ContinueKeyboardDrag(previous, window), previous);
  EXPECT_EQ(ContinueKeyboardDrag(previous, {0, 400, 401, 430}), (TKeyboardDrag{{0, 400}, {0, 400, 401, 430}}));
  EXPECT_EQ(ContinueKeyboardDrag(std::nullopt, window), (TKeyboardDrag{{0, 400}, window}));
  const TWindowPosProposal proposal = KeyboardMoveProposal(previous, {-10, 0});
  EXPECT_EQ(proposal.X, -7);
  EXPECT_EQ(proposal.Y, 400);
  EXPECT_TRUE(proposal.NoSize);
  EXPECT_FALSE(proposal.NoMove);
}

TEST(RulerKeyboardStretch, TheEndWhereTheScaleBeginsStays) {
  TRulerPlacement plain;
  TRulerPlacement flipped;
  flipped.Direction = 1;
  const TRect h{100, 300, 500, 330};
  const TRect v{100, 50, 130, 450};
  EXPECT_EQ(StretchedWindowRect(h, O::Horizontal, plain, 1, 1280), (TRect{100, 300, 501, 330}));
  EXPECT_EQ(StretchedWindowRect(h, O::Horizontal, plain, -10, 1280), (TRect{100, 300, 490, 330}));
  EXPECT_EQ(StretchedWindowRect(h, O::Horizontal, flipped, 1, 1280), (TRect{99, 300, 500, 330}));
  EXPECT_EQ(StretchedWindowRect(h, O::Horizontal, flipped, -10, 1280), (TRect{110, 300, 500, 330}));
  EXPECT_EQ(StretchedWindowRect(v, O::Vertical, plain, 10, 1024), (TRect{100, 50, 130, 460}));
  EXPECT_EQ(StretchedWindowRect(v, O::Vertical, flipped, 10, 1024), (TRect{100, 40, 130, 450}));
  // The turn (which long edge carries the scale) moves no end.
  TRulerPlacement turned;
  turned.Bearing = 1;
  EXPECT_EQ(StretchedWindowRect(h, O::Horizontal, turned, 1, 1280), (TRect{100, 300, 501, 330}));
}

TEST(RulerKeyboardStretch, TheLengthStaysWithinTheLimits) {
  TRulerPlacement flipped;
  flipped.Direction = 1;
  // Never below 100 pixels: a 10-pixel step from 105 stops at 100, the next does nothing.
  EXPECT_EQ(StretchedWindowRect({0, 0, 105, 30}, O::Horizontal, {}, -10, 1280), (TRect{0, 0, 100, 30}));
  EXPECT_EQ(StretchedWindowRect({0, 0, 100, 30}, O::Horizontal, {}, -1, 1280), (TRect{0, 0, 100, 30}));
  EXPECT_EQ(StretchedWindowRect({0, 0, 30, 105}, O::Vertical, flipped, -10, 1024), (TRect{0, 5, 30, 105}));
  // Never beyond the screen's extent, which a stored placement would be cut to anyway.
  EXPECT_EQ(StretchedWindowRect({0, 0, 1275, 30}, O::Horizontal, {}, 10, 1280), (TRect{0, 0, 1280, 30}));
  EXPECT_EQ(StretchedWindowRect({0, 0, 1280, 30}, O::Horizontal, {}, 1, 1280), (TRect{0, 0, 1280, 30}));
  EXPECT_EQ(StretchedWindowRect({5, 0, 35, 1024}, O::Vertical, {}, 1, 1024), (TRect{5, 0, 35, 1024}));
  // A ruler stretched beyond the primary screen with the mouse (across a second monitor)
  // does not jump back on a key: it only gets shorter.
  EXPECT_EQ(StretchedWindowRect({0, 0, 1500, 30}, O::Horizontal, {}, 1, 1280), (TRect{0, 0, 1500, 30}));
  EXPECT_EQ(StretchedWindowRect({0, 0, 1500, 30}, O::Horizontal, {}, -1, 1280), (TRect{0, 0, 1499, 30}));
}

TEST(RulerKeyboardStretch, GoesThroughThePositionHandlingLikeAStretchDragWithoutSnapping) {
  TMagnetSurroundings desktop{{0, 0, 1280, 1024}, {0, 0, 1280, 994}, {}, {}, {}};
  TRulerPlacement flipped;
  flipped.Direction = 1;
  // A flipped ruler whose free left end is stretched to 2 pixels from the work area's edge.
  const TRect window{3, 400, 403, 430};
  const TRect stretched = StretchedWindowRect(window, O::Horizontal, flipped, 1, 1280);
  TRulerPosContext context{{true, false, window}, {3, 400}, true, RulerMagnetAllies(true), 5};
  const TWindowPosProposal proposal{stretched.Left, stretched.Top, stretched.Width(), stretched.Height()};
  const TRulerPosChange change = RulerPositionChanging(proposal, context, desktop);
  EXPECT_TRUE(change.LayoutNeeded);
  EXPECT_EQ(change.Proposal, (TWindowPosProposal{2, 400, 401, 30}));
}

TEST(RulerKeyboardMenu, OpensOffTheButtonEdgeAtTheFirstButton) {
  const TRect screen{0, 0, 1280, 994};
  const TScreenSize menu{150, 300};
  const TRect h{200, 500, 600, 530};
  // Scale at the bottom: the buttons, and the menu, are above.
  EXPECT_EQ(KeyboardMenuPlace(h, {0, 0, 400, 30}, O::Horizontal, false, screen, menu),
            (TKeyboardMenuPlace{{218, 500}, TMenuSide::Above}));
  EXPECT_EQ(KeyboardMenuPlace(h, {0, 0, 400, 30}, O::Horizontal, true, screen, menu),
            (TKeyboardMenuPlace{{218, 530}, TMenuSide::Below}));
  // The magnifier square at the near end pushes the scale area, and its buttons, along.
  EXPECT_EQ(KeyboardMenuPlace(h, {30, 0, 400, 30}, O::Horizontal, false, screen, menu).Point, (TPoint{248, 500}));
  const TRect v{700, 100, 730, 600};
  EXPECT_EQ(KeyboardMenuPlace(v, {0, 0, 30, 500}, O::Vertical, false, screen, menu),
            (TKeyboardMenuPlace{{700, 118}, TMenuSide::Left}));
  EXPECT_EQ(KeyboardMenuPlace(v, {0, 30, 30, 500}, O::Vertical, true, screen, menu),
            (TKeyboardMenuPlace{{730, 148}, TMenuSide::Right}));
}

TEST(RulerKeyboardMenu, GoesToTheScaleSideOnlyWhenTheButtonSideHasNoRoom) {
  const TRect screen{0, 0, 1280, 994};
  const TScreenSize menu{150, 300};
  const TRect box{0, 0, 400, 30};
  // 300 pixels above is just enough; 299 is not.
  EXPECT_EQ(KeyboardMenuPlace({200, 300, 600, 330}, box, O::Horizontal, false, screen, menu).Side, TMenuSide::Above);
  EXPECT_EQ(KeyboardMenuPlace({200, 299, 600, 329}, box, O::Horizontal, false, screen, menu),
            (TKeyboardMenuPlace{{218, 329}, TMenuSide::Below}));
  EXPECT_EQ(KeyboardMenuPlace({200, 900, 600, 930}, box, O::Horizontal, true, screen, menu).Side, TMenuSide::Above);
  // Neither side has room (a tiny screen): the roomier one.
  const TRect small{0, 0, 640, 400};
  EXPECT_EQ(KeyboardMenuPlace({100, 230, 500, 260}, box, O::Horizontal, false, small, menu).Side, TMenuSide::Above);
  EXPECT_EQ(KeyboardMenuPlace({100, 140, 500, 170}, box, O::Horizontal, false, small, menu).Side, TMenuSide::Below);
  // Vertical rulers weigh the menu's width; a work area away from the origin counts from its own edges.
  const TRect second{1280, 0, 2560, 1024};
  EXPECT_EQ(KeyboardMenuPlace({1440, 100, 1470, 600}, {0, 0, 30, 500}, O::Vertical, false, second, menu).Side,
            TMenuSide::Left);
  EXPECT_EQ(KeyboardMenuPlace({1420, 100, 1450, 600}, {0, 0, 30, 500}, O::Vertical, false, second, menu).Side,
            TMenuSide::Right);
  EXPECT_EQ(KeyboardMenuPlace({2450, 100, 2480, 600}, {0, 0, 30, 500}, O::Vertical, true, second, menu).Side,
            TMenuSide::Left);
}

}  // namespace
