#include <gtest/gtest.h>

#include "color/ColorFormRules.h"
#include "color/CursorFormRules.h"

namespace {

TEST(ColorFormPlace, GoesToTheWorkAreasCornerWithTheCoordinatesWindowDirectlyAbove) {
  // 1280 x 1024 screen, task bar below the work area, windows of 94 x 46 outside.
  const TRect workArea{0, 0, 1280, 994};
  const TPoint picker = DefaultColorFormPlace(workArea, 94, 46);
  EXPECT_EQ(picker.X, 1178);
  EXPECT_EQ(picker.Y, 940);
  const TPoint coordinates = DefaultCursorFormPlace(workArea, 94, 46);
  EXPECT_EQ(coordinates.X, picker.X);
  EXPECT_EQ(coordinates.Y + 46, picker.Y) << "the coordinates window sits on top of the picker";
}

TEST(ColorFormPlace, FollowsAWorkAreaThatDoesNotStartAtTheOrigin) {
  // A task bar on the left and a secondary monitor arrangement shift the work area.
  const TPoint picker = DefaultColorFormPlace({-1920 + 60, 100, -10, 1180}, 100, 40);
  EXPECT_EQ(picker.X, -10 - 100 - 8);
  EXPECT_EQ(picker.Y, 1180 - 40 - 8);
}

}  // namespace
