// When the magnifier's timer refreshes: the decision on each tick and its two periods.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ruler/MagnifierGeometry.h"

namespace {

// A visible magnifier on a timer: every refresh is followed by a paint, which takes the
// cursor as its new target. Answers the tick times (ms) that refreshed.
struct TVisibleMagnifier {
  TMagnifierRefreshRule Rule;
  TPoint Target{-1, -1};
  std::vector<std::uint32_t> Refreshes;

  void Run(std::uint32_t from, std::uint32_t until, std::uint32_t step, TPoint (*cursorAt)(std::uint32_t)) {
    for (std::uint32_t now = from; now < until; now += step) {
      const TPoint cursor = cursorAt(now);
      if (Rule.Tick(cursor, Target, now)) {
        Refreshes.push_back(now);
        Target = cursor;  // the paint that the refresh asked for
      }
    }
  }
};

// The mouse moves one pixel per tick until 300 ms, then rests.
TPoint MovesThenRests(std::uint32_t now) {
  const int x = static_cast<int>(std::min<std::uint32_t>(now, 300) / 50);
  return {100 + x, 200};
}

TEST(MagnifierRefresh, MovingCursorEveryTickThenTheTickAfterThenTwiceASecond) {
  TVisibleMagnifier m;
  m.Run(1000, 3000, 50, [](std::uint32_t now) { return MovesThenRests(now - 1000); });
  // Moving: every tick up to 1300 (the cursor changes until then); 1350 is the tick after
  // it stopped; then every 500 ms while it rests.
  const std::vector<std::uint32_t> expected{1000, 1050, 1100, 1150, 1200, 1250, 1300, 1350, 1850, 2350, 2850};
  EXPECT_EQ(m.Refreshes, expected);
}

TEST(MagnifierRefresh, IntervalAboveTheForcedOneMakesEveryTickRefresh) {
  TVisibleMagnifier m;
  EXPECT_TRUE(m.Rule.SetInterval(600));
  EXPECT_EQ(m.Rule.IntervalForce(), 600);
  m.Run(0, 6000, 600, [](std::uint32_t) { return TPoint{5, 5}; });
  EXPECT_EQ(m.Refreshes.size(), 10u) << "a still cursor, and still every tick";
}

TEST(MagnifierRefresh, HiddenMagnifierRefreshesOnEveryTickWhileTheCursorIsAwayFromTheTarget) {
  // Hidden, nothing paints: the target stays where the last paint left it.
  TMagnifierRefreshRule rule;
  const TPoint target{10, 10}, cursor{300, 400};
  int refreshes = 0;
  for (std::uint32_t now = 0; now < 1000; now += 50) refreshes += rule.Tick(cursor, target, now);
  EXPECT_EQ(refreshes, 20);
  // Back on the target: one more tick (the cursor was away on the last one), then rest.
  EXPECT_TRUE(rule.Tick(target, target, 1000));
  EXPECT_FALSE(rule.Tick(target, target, 1050));
  EXPECT_FALSE(rule.Tick(target, target, 1499));
  EXPECT_TRUE(rule.Tick(target, target, 1500));
}

TEST(MagnifierRefresh, ForcedRefreshSurvivesTheTickCountWrapping) {
  TMagnifierRefreshRule rule;
  const TPoint still{1, 1};
  EXPECT_TRUE(rule.Tick(still, still, 0xFFFFFF00u)) << "the first tick always refreshes";
  EXPECT_FALSE(rule.Tick(still, still, 0xFFFFFFF0u));
  EXPECT_FALSE(rule.Tick(still, still, 0x000000F0u));  // 496 ms later, past the wrap
  EXPECT_TRUE(rule.Tick(still, still, 0x00000100u));   // 512 ms later
}

TEST(MagnifierRefresh, PeriodsAreClampedAndTheForcedOneNeverBelowTheTick) {
  TMagnifierRefreshRule rule;
  EXPECT_EQ(rule.Interval(), 50);
  EXPECT_EQ(rule.IntervalForce(), 500);
  EXPECT_FALSE(rule.SetInterval(50)) << "unchanged: the timer need not restart";

  EXPECT_TRUE(rule.SetInterval(0));
  EXPECT_EQ(rule.Interval(), 1);
  EXPECT_TRUE(rule.SetInterval(20000));
  EXPECT_EQ(rule.Interval(), 10000);
  EXPECT_EQ(rule.IntervalForce(), 10000) << "raised along with the interval";
  EXPECT_TRUE(rule.SetInterval(100));
  EXPECT_EQ(rule.IntervalForce(), 10000) << "not lowered along with it";

  rule.SetIntervalForce(30);
  EXPECT_EQ(rule.IntervalForce(), 100);
  rule.SetIntervalForce(250);
  EXPECT_EQ(rule.IntervalForce(), 250);
}

}  // namespace
