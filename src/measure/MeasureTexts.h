#pragma once
// The texts and arithmetic of a measurement: sizes, line lengths and angles, in the ruler's
// units. UTF-8 ("×", "°").

#include <string>

#include "base/Geometry.h"

// The unit a measurement is quoted in: the ruler's scale unit (1 pixel, 2 point, 3 inch,
// 4 centimetre), the resolution of the monitor it lies on, and logical pixels.
struct TMeasureUnit {
  int ScaleUnit = 1;
  int PixelsPerInch = 96;
  bool LogicalPixels = false;
};

// "300 × 120 px", "2.41 × 0.50 in".
std::string SizeText(int width, int height, const TMeasureUnit& unit);
// One span: "231 px", "2.41 in".
std::string SpanText(int pixels, const TMeasureUnit& unit);

// Length in pixels of the line from `from` to `to`.
double LineLength(TPoint from, TPoint to);
// Its angle in degrees, 0 to the right and counter-clockwise on the screen (whose y grows
// downward), in [0, 360). 0 for a line of no length.
double LineAngle(TPoint from, TPoint to);
// `to` moved onto the nearest ray from `from` at a multiple of 15 degrees, keeping the length.
TPoint SnapAngle(TPoint from, TPoint to);
// "120.4 px at 33.7°": the length with one decimal in pixels (the unit's decimals in the
// others) and the angle with one decimal.
std::string LineText(TPoint from, TPoint to, const TMeasureUnit& unit);
