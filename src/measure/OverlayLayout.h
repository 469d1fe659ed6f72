#pragma once
// Where the overlay's boxes go. A label sits beside the point it belongs to and the magnifier
// beside the pointer; where that place is taken, the nearest free place on another side or
// further up or down the same column, so that labels never cover each other and the magnifier
// never covers a label, the pointer or the points being measured. Only a monitor too full
// to leave room lets them overlap.

#include <vector>

#include "base/Geometry.h"
#include "measure/Measurements.h"

inline constexpr int LabelPaddingX = 5;
inline constexpr int LabelPaddingY = 2;
// Space kept between a label and the next, so that two stacked labels read as two.
inline constexpr int LabelGap = 2;

// The label's box for a text of `textWidth` × `textHeight`: below and right of `anchor`,
// flipped to the other side where it would leave `area` (the monitor), and held inside it;
// clear of `taken` (the other labels) where the monitor has room.
TRect PlaceLabel(TPoint anchor, int textWidth, int textHeight, const TRect& area, const std::vector<TRect>& taken = {});

// The magnifier the tool shows beside the cursor: `LoupeSpan` screen pixels across, each
// `LoupeZoom` pixels square, inside a one-pixel border.
inline constexpr int LoupeSpan = 17;
inline constexpr int LoupeZoom = 7;
inline constexpr int LoupeSide = LoupeSpan * LoupeZoom + 2;

// What the magnifier must leave in view: the pointer, the points `current` measures to, its
// label and the labels of the pins.
std::vector<TRect> LoupeObstacles(TPoint cursor, const TPlacedMeasurement* current,
                                  const std::vector<TPlacedMeasurement>& pins);

// Where the magnifier goes for the cursor at `cursor`: above and right of it, then above and
// left, below and right, below and left, each held inside `area`; the first clear of
// `keepClear`.
TRect PlaceLoupe(TPoint cursor, const TRect& area, const std::vector<TRect>& keepClear = {});
