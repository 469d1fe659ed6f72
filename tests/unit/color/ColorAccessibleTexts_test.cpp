#include <gtest/gtest.h>

#include "color/ColorAccessibleTexts.h"

namespace {

constexpr TColor BtnFace = 0xFF00000F;  // the system's button face, index 15

TEST(ColorAccessibleValue, ReadsAsHashAndSixHexDigitsRedFirst) {
  EXPECT_EQ(ColorAccessibleValue(0x0000FF, 0x0000FF), "#FF0000");  // TColor red is the low byte
  EXPECT_EQ(ColorAccessibleValue(0x00FF00, 0x00FF00), "#00FF00");
  EXPECT_EQ(ColorAccessibleValue(0xFF0000, 0xFF0000), "#0000FF");
  EXPECT_EQ(ColorAccessibleValue(0x000000, 0x000000), "#000000");
  EXPECT_EQ(ColorAccessibleValue(0x0A0B0C, 0x0A0B0C), "#0C0B0A");  // zero-padded, upper case
}

TEST(ColorAccessibleValue, ASystemColorReadsAsTheColorShownAndItsName) {
  EXPECT_EQ(ColorAccessibleValue(BtnFace, 0xF0F0F0), "#F0F0F0, button face");
  EXPECT_EQ(ColorAccessibleValue(0xFF000008, 0x000000), "#000000, window text");
  // A resolver that leaves a high byte behind cannot turn the hex into eight digits.
  EXPECT_EQ(ColorAccessibleValue(BtnFace, 0xFFF0F0F0), "#F0F0F0, button face");
}

TEST(SystemColorName, NamesEveryAssignedIndexAndNothingElse) {
  EXPECT_EQ(SystemColorName(0xFF000000), "scroll bar");
  EXPECT_EQ(SystemColorName(0xFF000005), "window");
  EXPECT_EQ(SystemColorName(0xFF000018), "tooltip background");
  EXPECT_EQ(SystemColorName(0xFF00001E), "menu bar");
  EXPECT_EQ(SystemColorName(0xFF000019), "");  // 25 was never assigned
  EXPECT_EQ(SystemColorName(0xFF00001F), "");  // beyond the last index
  EXPECT_EQ(SystemColorName(0xFF0000FF), "");
  EXPECT_EQ(SystemColorName(0x00FFFFFF), "");  // an ordinary colour
  for (TColor index = 0; index <= 30; ++index) {
    if (index != 25) {
      EXPECT_FALSE(SystemColorName(0xFF000000 | index).empty()) << index;
    }
  }
  // Resolved by the low byte whatever the high byte holds, as the painter resolves it.
  EXPECT_EQ(SystemColorName(0x8000000F), "button face");
}

TEST(SystemColorName, AnUnknownIndexStillReadsAsTheColorShown) {
  EXPECT_EQ(ColorAccessibleValue(0xFF000019, 0x000000), "#000000");
}

TEST(CursorAccessibleValue, ReadsBothCoordinatesAsTheLabelsShowThem) {
  EXPECT_EQ(CursorAccessibleValue(123, 456), "x 123, y 456");
  EXPECT_EQ(CursorAccessibleValue(0, 0), "x 0, y 0");
  // Monitors left of and above the primary one.
  EXPECT_EQ(CursorAccessibleValue(-1920, -3), "x -1920, y -3");
}

TEST(CursorColorDescription, NamesTheSampledColorOrNothingWhenTheReadFailed) {
  EXPECT_EQ(CursorColorDescription(0x00FF901E), "color #1E90FF");
  EXPECT_EQ(CursorColorDescription(0x00000000), "color #000000");
  EXPECT_EQ(CursorColorDescription(0xFFFFFFFF), "");  // CLR_INVALID
  EXPECT_EQ(CursorColorDescription(0x01000000), "");
}

}  // namespace
