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
  TPoint From;             // spacing: the pixel the spans start from; bounds and line: where the drag began
  TPoint To;               // line: its end
  TRect Box;               // spacing: the surface around From (FindEdges); bounds: the rectangle
  bool Horizontal = true;  // spacing: which spans are shown
  bool Vertical = true;
  friend bool operator==(const TMeasurement&, const TMeasurement&) = default;
};

// What Ctrl+C copies and the label shows: "300 × 120 px", "231 px" (one span), "120.4 px at
// 33.7°" (a line). UTF-8.
std::string MeasurementLabelText(const TMeasurement& measurement, const TMeasureUnit& unit);

// The point a measurement's label is placed beside: the spans' start, a rectangle's
// bottom-right corner, a line's end.
TPoint LabelAnchor(const TMeasurement& measurement);

// The label's box for a text of `textWidth` × `textHeight`: below and right of the anchor,
// flipped to the other side where it would leave `area` (the monitor), and held inside it.
TRect PlaceLabel(TPoint anchor, int textWidth, int textHeight, const TRect& area);
inline constexpr int LabelPaddingX = 5;
inline constexpr int LabelPaddingY = 2;

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

// The magnifier the tool shows beside the cursor: `LoupeSpan` screen pixels across, each
// `LoupeZoom` pixels square, inside a one-pixel border.
inline constexpr int LoupeSpan = 17;
inline constexpr int LoupeZoom = 7;
inline constexpr int LoupeSide = LoupeSpan * LoupeZoom + 2;

// Where the magnifier goes for the cursor at `cursor`: above and right of it, flipped where
// it would leave `area`.
TRect PlaceLoupe(TPoint cursor, const TRect& area);
