#include <gtest/gtest.h>

#include "ruler/MagnetSnapping.h"

namespace {

using A = TQorvelMagnetAlly;

// A 1280 x 1024 primary screen with a task bar of 30 pixels at the bottom.
TMagnetSurroundings Desktop() {
  TMagnetSurroundings s;
  s.Screen = {0, 0, 1280, 1024};
  s.WorkArea = {0, 0, 1280, 994};
  return s;
}

const TQorvelMagnetAllies kWorkAreaOnly{A::pmaWorkArea};

TMagnetPosition SnapRuler(int x, int y, const TMagnetSurroundings& s = Desktop(),
                          TQorvelMagnetAllies allies = kWorkAreaOnly) {
  return Snap({x, y}, 300, 30, s, allies, 5);
}

TEST(MagnetSnap, PullsIntoTheWorkAreaOnlyWhenStrictlyCloserThanTheDistance) {
  EXPECT_EQ(SnapRuler(3, 500), (TMagnetPosition{0, 500}));
  EXPECT_EQ(SnapRuler(978, 500), (TMagnetPosition{980, 500}));  // right edge 2 from 1280
  EXPECT_EQ(SnapRuler(5, 500), (TMagnetPosition{5, 500}));
  EXPECT_EQ(SnapRuler(600, 962), (TMagnetPosition{600, 964}));  // bottom edge onto 994
  EXPECT_EQ(SnapRuler(600, -4), (TMagnetPosition{600, 0}));     // from outside, too
  EXPECT_EQ(SnapRuler(600, 500), (TMagnetPosition{600, 500}));
}

TEST(MagnetSnap, TakingAnEdgeAlignsTheCorner) {
  EXPECT_EQ(SnapRuler(2, 3), (TMagnetPosition{0, 0}));
  EXPECT_EQ(SnapRuler(982, 961), (TMagnetPosition{980, 964}));
}

TEST(MagnetSnap, NothingSnapsWithoutAlliesOrWithDistanceZero) {
  EXPECT_EQ(SnapRuler(2, 3, Desktop(), {}), (TMagnetPosition{2, 3}));
  EXPECT_EQ(Snap({0, 1}, 300, 30, Desktop(), kWorkAreaOnly, 0), (TMagnetPosition{0, 1}));
}

TEST(MagnetSnap, EachAllyKindCountsOnlyWhenItsBitIsSet) {
  TMagnetSurroundings s = Desktop();
  // Bottom edge at 1022: far from the work area, 2 from the screen.
  EXPECT_EQ(SnapRuler(600, 992, s), (TMagnetPosition{600, 992}));
  EXPECT_EQ(SnapRuler(600, 992, s, {A::pmaScreenBounds}), (TMagnetPosition{600, 994}));

  s.OtherForms = {{{1000, 100, 1100, 200}}};
  EXPECT_EQ(SnapRuler(1103, 150, s, kWorkAreaOnly), (TMagnetPosition{1103, 150}));
  EXPECT_EQ(SnapRuler(1103, 150, s, {A::pmaScreenForms}), (TMagnetPosition{1100, 150}));

  TMagnetSurroundings own = Desktop();
  own.Allies = {{{1000, 100, 1100, 200}, TMagnetMode::Outside}};
  TMagnetSurroundings global = Desktop();
  global.GlobalAllies = own.Allies;
  EXPECT_EQ(SnapRuler(1103, 150, own, {A::pmaGlobalAllyControls}), (TMagnetPosition{1103, 150}));
  EXPECT_EQ(SnapRuler(1103, 150, own, {A::pmaAllyControls}), (TMagnetPosition{1100, 150}));
  EXPECT_EQ(SnapRuler(1103, 150, global, {A::pmaAllyControls}), (TMagnetPosition{1103, 150}));
  EXPECT_EQ(SnapRuler(1103, 150, global, {A::pmaGlobalAllyControls}), (TMagnetPosition{1100, 150}));
}

TEST(MagnetSnap, OtherFormsPullFromOutsideWithoutGapOrOverlap) {
  TMagnetSurroundings s = Desktop();
  const TRect ruler{200, 400, 500, 430};
  s.OtherForms = {{ruler}};
  // A 94 x 46 tool window, left edge 3 right of the ruler, overlapping it vertically.
  EXPECT_EQ(Snap({503, 390}, 94, 46, s, kDefaultMagnetAllies, 5), (TMagnetPosition{500, 390}));
  // Its right edge 2 short of the ruler's left edge; the top lines up with the ruler's.
  EXPECT_EQ(Snap({104, 398}, 94, 46, s, kDefaultMagnetAllies, 5), (TMagnetPosition{106, 400}));
  // Just below the ruler: the top goes onto the ruler's bottom, the left edges line up.
  EXPECT_EQ(Snap({203, 433}, 94, 46, s, kDefaultMagnetAllies, 5), (TMagnetPosition{200, 430}));
  // Far above the ruler, or off its corner: neither span overlaps in the way the passes
  // need, although single edges are within reach.
  EXPECT_EQ(Snap({503, 100}, 94, 46, s, kDefaultMagnetAllies, 5), (TMagnetPosition{503, 100}));
  EXPECT_EQ(Snap({600, 433}, 94, 46, s, kDefaultMagnetAllies, 5), (TMagnetPosition{600, 433}));
  EXPECT_EQ(Snap({503, 433}, 94, 46, s, kDefaultMagnetAllies, 5), (TMagnetPosition{503, 433}));
}

TEST(MagnetSnap, HiddenFormsAndAlliesOfferNoEdges) {
  TMagnetSurroundings s = Desktop();
  const TRect closedToolWindow{1000, 100, 1100, 200};
  s.OtherForms = {{closedToolWindow, false}};
  s.Allies = {{closedToolWindow, TMagnetMode::Outside, false}};
  s.GlobalAllies = s.Allies;
  EXPECT_EQ(SnapRuler(1103, 150, s, kDefaultMagnetAllies), (TMagnetPosition{1103, 150}));
  s.OtherForms.front().Visible = true;
  EXPECT_EQ(SnapRuler(1103, 150, s, kDefaultMagnetAllies), (TMagnetPosition{1100, 150}));
}

TEST(MagnetSnap, AllyModeByteOneMeansInside) {
  EXPECT_EQ(MagnetModeFromByte(1), TMagnetMode::Inside);
  EXPECT_EQ(MagnetModeFromByte(0), TMagnetMode::Outside);
  EXPECT_EQ(MagnetModeFromByte(2), TMagnetMode::Outside);
  EXPECT_EQ(MagnetModeFromByte(255), TMagnetMode::Outside);

  TMagnetSurroundings s = Desktop();
  const TRect panel{100, 100, 600, 600};
  s.Allies = {{panel, MagnetModeFromByte(1)}};
  EXPECT_EQ(SnapRuler(103, 300, s, {A::pmaAllyControls}), (TMagnetPosition{100, 300}));
  s.Allies = {{panel, MagnetModeFromByte(0)}};
  EXPECT_EQ(SnapRuler(103, 300, s, {A::pmaAllyControls}), (TMagnetPosition{103, 300}));
  EXPECT_EQ(SnapRuler(603, 300, s, {A::pmaAllyControls}), (TMagnetPosition{600, 300}));
}

TEST(MagnetSnap, DistancesCountFromTheProposalAndTiesGoToTheEarlierEdge) {
  TMagnetSurroundings s = Desktop();
  // The work area's left edge is 4 away and taken first; a form's right edge 3 away from
  // the proposal (7 from the snapped position) is still nearer and wins.
  s.OtherForms = {{{-100, 400, 7, 700}}};
  EXPECT_EQ(SnapRuler(4, 500, s, kDefaultMagnetAllies), (TMagnetPosition{7, 500}));

  // Two forms whose right edges are both 3 away: the first in the list wins.
  s.OtherForms = {{{0, 400, 100, 700}}, {{0, 400, 106, 700}}};
  EXPECT_EQ(SnapRuler(103, 500, s, kDefaultMagnetAllies), (TMagnetPosition{100, 500}));
  s.OtherForms = {{{0, 400, 106, 700}}, {{0, 400, 100, 700}}};
  EXPECT_EQ(SnapRuler(103, 500, s, kDefaultMagnetAllies), (TMagnetPosition{106, 500}));
}

TEST(MagnetSnap, SnapsOnlyPureMovesOfVisibleNormalForms) {
  const TMagnetFormState form{true, false, {10, 500, 310, 530}};
  const TWindowPosProposal move{3, 500, 300, 30};
  EXPECT_TRUE(MagnetSnapApplies(form, move));

  TMagnetFormState hidden = form;
  hidden.Visible = false;
  EXPECT_FALSE(MagnetSnapApplies(hidden, move));
  TMagnetFormState maximized = form;
  maximized.Maximized = true;
  EXPECT_FALSE(MagnetSnapApplies(maximized, move));

  TWindowPosProposal noMove = move;
  noMove.NoMove = true;
  EXPECT_FALSE(MagnetSnapApplies(form, noMove));
  EXPECT_FALSE(MagnetSnapApplies(form, {10, 500, 300, 30}));  // stays where it is
  EXPECT_FALSE(MagnetSnapApplies(form, {3, 500, 307, 30}));   // dragging the left border

  // A move flagged as not sizing may carry any width and height.
  TWindowPosProposal moveOnly{3, 500, 0, 0};
  moveOnly.NoSize = true;
  EXPECT_TRUE(MagnetSnapApplies(form, moveOnly));

  const TMagnetSurroundings s = Desktop();
  EXPECT_EQ(MagnetPositionChanging(form, moveOnly, s, kWorkAreaOnly, 5),
            (TWindowPosProposal{0, 500, 0, 0, false, true, false}));
  EXPECT_EQ(MagnetPositionChanging(form, {3, 500, 307, 30}, s, kWorkAreaOnly, 5),
            (TWindowPosProposal{3, 500, 307, 30}));
  EXPECT_EQ(MagnetPositionChanging(maximized, move, s, kWorkAreaOnly, 5), move);
}

TEST(MagnetSnap, ModuleSnapDistanceStartsAtEightAndIsShared) {
  EXPECT_EQ(MagnetSnapDistance(), 8);
  SetMagnetSnapDistance(5);
  EXPECT_EQ(MagnetSnapDistance(), 5);
  SetMagnetSnapDistance(kInitialMagnetSnapDistance);
}

TEST(MagnetSnap, DefaultAlliesAreEverythingButTheScreen) {
  EXPECT_EQ(kDefaultMagnetAllies.ToByte(), 30);
  EXPECT_FALSE(kDefaultMagnetAllies.Contains(A::pmaScreenBounds));
  EXPECT_EQ(TQorvelMagnetAllies::FromByte(2), kWorkAreaOnly);
  EXPECT_TRUE(TQorvelMagnetAllies{}.Empty());
}

}  // namespace
