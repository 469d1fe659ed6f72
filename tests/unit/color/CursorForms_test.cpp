#include <gtest/gtest.h>

#include "color/CursorFormRules.h"

namespace {

TEST(CursorFormPlace, SitsOneWindowAboveTheColorPickerInTheBottomRightCorner) {
  // 1280 x 1024 screen, task bar below: the work area ends at 994.
  EXPECT_EQ(DefaultCursorFormPlace({0, 0, 1280, 994}, 94, 46), (TPoint{1178, 894}));
  // A task bar at the left or top moves the work area's origin; only its far edges count.
  EXPECT_EQ(DefaultCursorFormPlace({60, 30, 1280, 1024}, 94, 46), (TPoint{1178, 924}));
  // A work area left of and above the primary monitor has negative coordinates.
  EXPECT_EQ(DefaultCursorFormPlace({-1920, -200, 0, 880}, 100, 40), (TPoint{-108, 792}));
}

TEST(CursorFormSwatch, AFailedScreenReadIsAnEmptySquareInTheBackgroundColor) {
  constexpr std::uint32_t face = 0xF0F0F0, text = 0x000000;
  EXPECT_EQ(SwatchColorsFor(0xFFFFFFFF, face, text), (TSwatchColors{face, face}));  // CLR_INVALID
  EXPECT_EQ(SwatchColorsFor(0x01000000, face, text), (TSwatchColors{face, face}));  // any high bit
  EXPECT_EQ(SwatchColorsFor(0x80123456, face, text), (TSwatchColors{face, face}));
}

TEST(CursorFormSwatch, AScreenColorIsFilledAndOutlinedInTheTextColor) {
  constexpr std::uint32_t face = 0xF0F0F0, text = 0x101010;
  EXPECT_EQ(SwatchColorsFor(0x0000FF, face, text), (TSwatchColors{0x0000FF, text}));
  // Black and white are colours, not failures.
  EXPECT_EQ(SwatchColorsFor(0x000000, face, text), (TSwatchColors{0x000000, text}));
  EXPECT_EQ(SwatchColorsFor(0xFFFFFF, face, text), (TSwatchColors{0xFFFFFF, text}));
}

TEST(CursorFormLabels, ShowPlainDecimalsWithASignLeftOfOrAboveThePrimaryMonitor) {
  EXPECT_EQ(CoordinateText(0), L"0");
  EXPECT_EQ(CoordinateText(1279), L"1279");
  EXPECT_EQ(CoordinateText(-1920), L"-1920");
}

}  // namespace
