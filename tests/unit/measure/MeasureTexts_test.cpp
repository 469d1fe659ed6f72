// The texts of sizes and lines in every unit, and the angle arithmetic behind them.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "measure/MeasureTexts.h"
#include "measure/Measurements.h"

namespace {

constexpr TMeasureUnit Pixels{1, 96, false}, Points{2, 96, false}, Inches{3, 96, false}, Centimetres{4, 96, false};

TEST(MeasureTexts, SizesAndSpansReadAsTheRulerRoundsThem) {
  EXPECT_EQ(SizeText(300, 120, Pixels), "300 \xC3\x97 120 px");
  EXPECT_EQ(SizeText(231, 48, Inches), "2.41 \xC3\x97 0.50 in");
  EXPECT_EQ(SizeText(96, 48, Centimetres), "2.5 \xC3\x97 1.3 cm");
  EXPECT_EQ(SizeText(300, 150, (TMeasureUnit{1, 144, true})), "200 \xC3\x97 100 px (logical)");
  EXPECT_EQ(SpanText(231, Inches), "2.41 in");
}

TEST(MeasureTexts, AnglesCountCounterClockwiseFromTheRight) {
  const TPoint o{100, 100};
  EXPECT_DOUBLE_EQ(LineAngle(o, {100, 40}), 90) << "up the screen";
  EXPECT_DOUBLE_EQ(LineAngle(o, {90, 110}), 225);
  EXPECT_EQ(LineAngle(o, o), 0);
  EXPECT_EQ(LineText(o, {400, -100}, Pixels), "360.6 px at 33.7\xC2\xB0");
  EXPECT_EQ(LineText(o, {100100, 101}, Pixels), "100000.0 px at 0.0\xC2\xB0") << "359.9994 points right";
  EXPECT_EQ(LineText({0, 0}, {-3, 4}, Pixels), "5.0 px at 233.1\xC2\xB0");
  EXPECT_EQ(LineText(o, {196, 100}, Inches), "1.00 in at 0.0\xC2\xB0");
  EXPECT_EQ(LineText(o, {100, 4}, Centimetres), "2.5 cm at 90.0\xC2\xB0");
  EXPECT_EQ(LineText(o, {200, 0}, Points), "106 pt at 45.0\xC2\xB0") << "141.42 px are 106.07 pt";
}

TEST(MeasureTexts, SnapAngleKeepsTheLengthOnAMultipleOf15Degrees) {
  const TPoint o{10, 10};
  EXPECT_EQ(SnapAngle(o, {110, -20}), (TPoint{111, -17})) << "16.7 degrees: 15, length 104.4";
  EXPECT_EQ(SnapAngle(o, {110, 14}), (TPoint{110, 10})) << "357.7 degrees: 0";
  EXPECT_EQ(SnapAngle(o, {13, -90}), (TPoint{10, -90})) << "straight up";
  EXPECT_EQ(SnapAngle(o, {-40, 80}), (TPoint{-33, 84})) << "234.5 degrees: 240, length 86.0";
  EXPECT_EQ(SnapAngle(o, o), o);
}

// A snapped line is drawn to a whole pixel, whose own angle is off by tenths on short lines.
TEST(MeasureTexts, ASnappedLineReadsItsSnappedAngleExactly) {
  for (const double degrees : {14.0, 16.5, 29.0, 31.2, 74.0, 76.4, 194.0, 346.0}) {
    for (const int length : {7, 23, 100, 517}) {
      const double radians = degrees * std::numbers::pi / 180;
      const TPoint pointer{400 + static_cast<int>(std::lround(length * std::cos(radians))),
                           300 - static_cast<int>(std::lround(length * std::sin(radians)))};
      const TMeasurement line{TMeasureMode::Line, {400, 300}, pointer, true, {}, true, true};
      const std::string text = MeasurementLabelText(line, Pixels);
      EXPECT_TRUE(text.ends_with(" at " + std::to_string(std::lround(degrees / 15) * 15 % 360) + ".0\xC2\xB0")) << text;
    }
  }
  const TMeasurement line{TMeasureMode::Line, {10, 10}, {110, -20}, true, {}, true, true};
  EXPECT_EQ(MeasurementLabelText(line, Pixels), "104.4 px at 15.0\xC2\xB0") << "the length dragged, not 104.5";
  EXPECT_EQ(LabelAnchor(line), (TPoint{111, -17})) << "drawn to the pixel of the snapped ray";
}

TEST(MeasureTexts, AStretchedModeMeasuresEachAxisWithItsOwnResolution) {
  // 1280 x 1024 stretched over a 527 x 296 mm panel: 61.7 pixels per inch across, 87.9 down.
  const TMeasureUnit stretched{4, {1280 * 25.4 / 527, 1024 * 25.4 / 296}, false};
  EXPECT_EQ(SizeText(1280, 1024, stretched), "52.7 \xC3\x97 29.6 cm");
  const TMeasurement down{TMeasureMode::Spacing, {5, 5}, {}, false, {0, 0, 10, 1024}, false, true};
  EXPECT_EQ(MeasurementLabelText(down, stretched), "29.6 cm");
  EXPECT_EQ(LineText({0, 1024}, {1280, 0}, stretched).substr(0, 8), "60.4 cm ") << "the panel's diagonal";
}

}  // namespace
