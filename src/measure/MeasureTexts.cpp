#include "measure/MeasureTexts.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

#include "ruler/RulerUnits.h"

namespace {

constexpr const char* Times = "\xC3\x97";    // "×" in UTF-8, whatever the compiler's character set
constexpr const char* Degrees = "\xC2\xB0";  // "°"
constexpr double DegreesPerRadian = 180.0 / std::numbers::pi;

// Screen coordinates flipped so that y grows upward; integer differences first, so that a
// horizontal line has no negative zero to print as "-0.0".
double DeltaX(TPoint from, TPoint to) { return static_cast<double>(std::int64_t{to.X} - from.X); }
double DeltaUp(TPoint from, TPoint to) { return static_cast<double>(std::int64_t{from.Y} - to.Y); }

}  // namespace

std::string SizeText(int width, int height, const TMeasureUnit& unit) {
  return MeasurementNumber(unit.ScaleUnit, width, unit.PixelsPerInch.X, unit.LogicalPixels) + ' ' + Times + ' ' +
         MeasurementNumber(unit.ScaleUnit, height, unit.PixelsPerInch.Y, unit.LogicalPixels) + ' ' +
         UnitLabel(unit.ScaleUnit, unit.LogicalPixels);
}

std::string SpanText(int pixels, const TMeasureUnit& unit, bool vertical) {
  return MeasurementText(unit.ScaleUnit, pixels, unit.PixelsPerInch.Along(vertical), unit.LogicalPixels);
}

double LineLength(TPoint from, TPoint to) { return std::hypot(DeltaX(from, to), DeltaUp(from, to)); }

double LineAngle(TPoint from, TPoint to) {
  if (from == to) return 0;
  double degrees = std::atan2(DeltaUp(from, to), DeltaX(from, to)) * DegreesPerRadian;
  if (degrees < 0) degrees += 360;
  return degrees >= 360 ? 0 : degrees;  // a tiny negative angle plus 360 may round to 360
}

double SnappedAngle(TPoint from, TPoint to) {
  const double snapped = std::round(LineAngle(from, to) / 15) * 15;
  return snapped >= 360 ? 0 : snapped;
}

TPoint SnapAngle(TPoint from, TPoint to) {
  if (from == to) return to;
  const double snapped = SnappedAngle(from, to) / DegreesPerRadian;
  const double length = LineLength(from, to);
  // Whole pixels, halves away from zero; a right angle's cosine of 6e-17 rounds to nothing.
  return {static_cast<int>(std::llround(from.X + length * std::cos(snapped))),
          static_cast<int>(std::llround(from.Y - length * std::sin(snapped)))};
}

std::string LineText(double length, double degrees, const TMeasureUnit& unit) {
  const bool pixelUnit = IsPixelUnit(unit.ScaleUnit, unit.LogicalPixels);
  const int lengthDecimals = pixelUnit ? 1 : 0;
  std::int64_t tenths = std::llround(degrees * 10);
  if (tenths == 3600) tenths = 0;  // 359.95 and above read as 0.0, where the ray points
  // In pixels of the horizontal resolution: in a stretched mode a pixel down the screen
  // covers another length than one across it.
  const TResolution& resolution = unit.PixelsPerInch;
  const double downScale = !pixelUnit && resolution.Y > 0 ? resolution.X / resolution.Y : 1;
  const double radians = degrees / DegreesPerRadian;
  const double physical = std::hypot(length * std::cos(radians), length * std::sin(radians) * downScale);
  return LengthText(unit.ScaleUnit, physical, resolution.X, unit.LogicalPixels, lengthDecimals) + " at " +
         std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10) + Degrees;
}
