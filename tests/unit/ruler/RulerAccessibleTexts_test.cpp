#include <gtest/gtest.h>

#include "ruler/RulerAccessibleTexts.h"

namespace {

TRulerScaleInput Ruler(int scaleUnit, int length, int cursor, int pixelsPerInch = 96) {
  TRulerScaleInput input;
  input.ScaleUnit = scaleUnit;
  input.Width = length;
  input.Height = 40;
  input.PixelsPerInch = pixelsPerInch;
  input.CursorBoxPos = {cursor, 20};
  input.CursorScreenPos = {1000 + cursor, 500};
  return input;
}

// A ruler without the magnifier: the window is as long as the scale.
std::string ValueOf(const TRulerScaleInput& input) {
  return RulerAccessibleValue(input, input.Vertical ? input.Height : input.Width);
}

TEST(RulerAccessibleValue, LengthAndCursorInTheActiveUnitWithItsLabel) {
  EXPECT_EQ(ValueOf(Ruler(1, 400, 187)), "length 400 px, cursor at 187 px");
  EXPECT_EQ(ValueOf(Ruler(2, 96, 48)), "length 72 pt, cursor at 36 pt");
  EXPECT_EQ(ValueOf(Ruler(3, 480, 48)), "length 5.00 in, cursor at 0.50 in");
  EXPECT_EQ(ValueOf(Ruler(4, 96, 96 - 1)), "length 2.5 cm, cursor at 2.5 cm");
  // Physical units follow the resolution: an inch at 144 dpi.
  EXPECT_EQ(ValueOf(Ruler(3, 144, 72, 144)), "length 1.00 in, cursor at 0.50 in");
  // The description says what that resolution rests on; pixels need none.
  EXPECT_EQ(RulerAccessibleDescription(4, TResolutionBasis::ReportedSize), "cm, from the monitor's reported size");
  EXPECT_EQ(RulerAccessibleDescription(3, TResolutionBasis::Calibrated), "in, calibrated");
  EXPECT_EQ(RulerAccessibleDescription(1, TResolutionBasis::Calibrated), "");
}

TEST(RulerAccessibleValue, TheCursorIsNamedOnlyWhileItsLineIsOnTheScale) {
  EXPECT_EQ(ValueOf(Ruler(1, 400, -1)), "length 400 px");
  EXPECT_EQ(ValueOf(Ruler(1, 400, 400)), "length 400 px");
  EXPECT_EQ(ValueOf(Ruler(1, 400, 0)), "length 400 px, cursor at 0 px");
  EXPECT_EQ(ValueOf(Ruler(1, 400, 399)), "length 400 px, cursor at 399 px");
  // Across the ruler the cursor may be anywhere: the line spans the screen's height there.
  TRulerScaleInput below = Ruler(1, 400, 187);
  below.CursorBoxPos.Y = 900;
  EXPECT_EQ(ValueOf(below), "length 400 px, cursor at 187 px");
}

TEST(RulerAccessibleValue, CountsAsTheCursorLabelDoes) {
  TRulerScaleInput flipped = Ruler(1, 300, 37);
  flipped.Flipped = true;
  EXPECT_EQ(ValueOf(flipped), "length 300 px, cursor at 262 px");

  TRulerScaleInput vertical = Ruler(1, 100, 5);
  vertical.Vertical = true;
  vertical.Width = 40;
  vertical.Height = 250;
  vertical.CursorBoxPos = {900, 120};
  EXPECT_EQ(ValueOf(vertical), "length 250 px, cursor at 120 px");

  // Screen coordinates, unchanged by flipping, negative left of the primary monitor.
  TRulerScaleInput screen = Ruler(2, 400, 10);
  screen.Labeling = 2;
  screen.Flipped = true;
  screen.CursorScreenPos = {-96, 300};
  EXPECT_EQ(ValueOf(screen), "length 300 pt, cursor at -72 pt");
  screen.Vertical = true;
  screen.Height = 400;
  screen.CursorBoxPos = {3, 10};
  EXPECT_EQ(ValueOf(screen), "length 300 pt, cursor at 225 pt");
}

TEST(RulerAccessibleValue, ACoarseScaleReadsTheSameNumbers) {
  // Coarse widens the sub-unit tenfold; the label's value and decimals stay.
  TRulerScaleInput coarse = Ruler(3, 480, 48);
  coarse.Granularity = 0;
  EXPECT_EQ(ValueOf(coarse), "length 5.00 in, cursor at 0.50 in");
  coarse.ScaleUnit = 1;
  EXPECT_EQ(ValueOf(coarse), "length 480 px, cursor at 48 px");
}

TEST(RulerAccessibleValue, ARulerWithoutAScaleOrWithAnUnknownUnitMeasuresInPixels) {
  EXPECT_EQ(ValueOf(Ruler(0, 400, 187)), "length 400 px, cursor at 187 px");
  EXPECT_EQ(ValueOf(Ruler(9, 400, 187)), "length 400 px, cursor at 187 px");
}

TEST(RulerAccessibleValue, TheLengthIsTheWholeRulerAsCopiedWhileTheCursorStaysOnTheScale) {
  // A magnifier square of 50 pixels at the far end: the scale is 350 of the ruler's 400.
  TRulerScaleInput magnified = Ruler(1, 350, 349);
  EXPECT_EQ(RulerAccessibleValue(magnified, 400), "length 400 px, cursor at 349 px");
  magnified.CursorBoxPos.X = 360;  // over the magnifier: no cursor line on the scale
  EXPECT_EQ(RulerAccessibleValue(magnified, 400), "length 400 px");
}

}  // namespace
