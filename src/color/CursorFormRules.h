#pragma once
// Portable rules of the cursor coordinates window: where it goes when no placement is
// stored, and how its swatch shows a screen read that failed.

#include <cstdint>
#include <string>

#include "base/QorvelTypes.h"

// The window's first-start place: the bottom-right corner of the work area, one window
// height above the colour picker's default place, both 8 pixels from the edges.
TPoint DefaultCursorFormPlace(const TRect& workArea, int windowWidth, int windowHeight);

// A COLORREF with any bit in its high byte is no colour: GetPixel's CLR_INVALID.
constexpr bool IsScreenColor(std::uint32_t colorRef) { return (colorRef & 0xFF000000u) == 0; }

struct TSwatchColors {
  std::uint32_t Brush = 0;
  std::uint32_t Pen = 0;
  friend bool operator==(const TSwatchColors&, const TSwatchColors&) = default;
};

// A sampled colour is drawn with a window-text outline; a failed read is an empty square in
// the window's own background colour.
TSwatchColors SwatchColorsFor(std::uint32_t sampled, std::uint32_t buttonFace, std::uint32_t windowText);

// One coordinate as the labels show it: plain decimal, with a minus sign left of or above
// the primary monitor.
std::wstring CoordinateText(int value);
