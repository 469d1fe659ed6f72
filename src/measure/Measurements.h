#pragma once
// One measurement of the measure tool as a value: what was measured, the text it is quoted
// with, where its label sits and which strips of the screen it covers. All coordinates are
// desktop pixels (the primary monitor's top-left is 0, 0), as the snapshot is taken.

#include <string>
#include <vector>

#include "base/Geometry.h"
#include "measure/EdgeDetection.h"
#include "measure/MeasureTexts.h"
#include "settings/ApplicationSettings.h"

enum class TMeasureMode { Spacing = 0, Bounds = 1, Line = 2 };
inline constexpr int MeasureModeCount = 3;

// The mode a stored number stands for: spacing for anything unknown.
TMeasureMode MeasureModeFromIndex(int index);
// "Spacing", "Bounds", "Distance and angle".
const char* MeasureModeName(TMeasureMode mode);

// The edge rules the settings ask for, held to their ranges whatever the file says.
TEdgeOptions EdgeOptionsOf(const TMeasureSettings& settings);

struct TMeasurement {
  TMeasureMode Mode = TMeasureMode::Spacing;
  TPoint From;                // spacing: the pixel the spans start from; bounds and line: where the drag began
  TPoint To;                  // line: its end, where the pointer is
  bool AngleSnapped = false;  // line: held to a multiple of 15 degrees, drawn to SnapAngle(From, To)
  TRect Box;                  // spacing: the surface around From (FindEdges); bounds: the rectangle
  bool Horizontal = true;     // spacing: which spans are shown
  bool Vertical = true;
  friend bool operator==(const TMeasurement&, const TMeasurement&) = default;
};

// What Ctrl+C copies and the label shows: "300 × 120 px", "231 px" (one span), "120.4 px at
// 33.7°" (a line). UTF-8.
std::string MeasurementLabelText(const TMeasurement& measurement, const TMeasureUnit& unit);

// Where a line is drawn to: its end, or for a snapped line the pixel nearest the snapped ray's.
TPoint LineEnd(const TMeasurement& line);

// The point a measurement's label is placed beside: the spans' start, a rectangle's
// bottom-right corner, a line's end.
TPoint LabelAnchor(const TMeasurement& measurement);

// The points the user is measuring to, which nothing may cover: the spans' ends, a
// rectangle's corners, a line's ends.
std::vector<TPoint> MeasuredPoints(const TMeasurement& measurement);

// A measurement as the overlay shows it.
struct TPlacedMeasurement {
  TMeasurement Measurement;
  std::string Text;
  TRect Label;
};

// Half the length of the bars that end a span, and the reach of a line's end marks.
inline constexpr int SpanCap = 4;

// The rectangles a measurement's drawing covers: what has to be repainted when it appears,
// changes or goes. Thin strips along the spans and the rectangle's sides, a line cut into
// short pieces, and the label; never the area a rectangle merely encloses.
std::vector<TRect> MeasurementStrips(const TPlacedMeasurement& placed);
