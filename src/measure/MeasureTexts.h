#pragma once
// The texts and arithmetic of a measurement: sizes, line lengths and angles, in the ruler's
// units. UTF-8 ("×", "°").

#include <string>

#include "base/Geometry.h"
#include "ruler/RulerUnits.h"

// The unit a measurement is quoted in: the ruler's scale unit (1 pixel, 2 point, 3 inch,
// 4 centimetre), the resolution of the monitor it lies on (a width with its horizontal one, a
// height with its vertical one), and logical pixels.
struct TMeasureUnit {
  int ScaleUnit = 1;
  TResolution PixelsPerInch = 96;
  bool LogicalPixels = false;
};

// Rounding. Every number is rounded once, half away from zero, as the ruler rounds: a size or
// span through MeasurementText's exact integer arithmetic, with the unit's decimals (none for
// pixels and points, two for inches, one for centimetres); a line's length, which need not be
// whole pixels, from its exact floating-point value with one decimal in pixels (device or
// logical) and the unit's decimals in the others; an angle to one decimal, where 359.95 and
// more read "0.0", the direction they point in.

// "300 × 120 px", "2.41 × 0.50 in": both numbers as MeasurementText writes them, one label.
std::string SizeText(int width, int height, const TMeasureUnit& unit);
// One span, across the screen or (`vertical`) down it: "231 px", "2.41 in".
std::string SpanText(int pixels, const TMeasureUnit& unit, bool vertical = false);

// Length in pixels of the line from `from` to `to`.
double LineLength(TPoint from, TPoint to);
// Its angle in degrees, 0 to the right and counter-clockwise on the screen (whose y grows
// downward), in [0, 360): a line straight up is 90. 0 for a line of no length.
double LineAngle(TPoint from, TPoint to);
// The multiple of 15 degrees nearest to the line's angle (7.5 goes to 15), in [0, 360).
double SnappedAngle(TPoint from, TPoint to);
// `to` moved onto the ray from `from` at SnappedAngle, keeping the length; the end is rounded
// to whole pixels, so its own angle and length may differ by a fraction: a snapped line's
// text comes from SnappedAngle and the length of `from` to `to`, never from this end. `to`
// itself for a line of no length.
TPoint SnapAngle(TPoint from, TPoint to);
// "120.4 px at 33.7°": the length with one decimal in pixels (the unit's decimals in the
// others) and the angle with one decimal.
std::string LineText(double length, double degrees, const TMeasureUnit& unit);
inline std::string LineText(TPoint from, TPoint to, const TMeasureUnit& unit) {
  return LineText(LineLength(from, to), LineAngle(from, to), unit);
}
