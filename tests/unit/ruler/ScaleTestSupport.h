#pragma once
// Helpers for pixel tests of the ruler: render into a buffer and read it back.

#include <vector>

#include "ruler/GlyphTestSupport.h"
#include "base/PixelBuffers.h"
#include "ruler/RulerScale.h"

// Pixels nothing painted keep this value, so a test can tell "left alone" from "painted".
inline constexpr TPixel Untouched = 0x123456;

// Default ruler colours in pixel order.
inline constexpr TPixel Black = 0x000000, White = 0xFFFFFF;
inline constexpr TPixel DefaultBackground = 0xFFFFA0;  // TColor 0xA0FFFF
inline constexpr TPixel DefaultEndZone = 0xC0C078;     // TColor 0x78C0C0
inline constexpr TPixel DefaultCursorLine = 0xFF0000;  // TColor 0x0000FF, red

inline TRulerScaleInput HorizontalRuler(int length, int thickness = 30) {
  TRulerScaleInput input;
  input.Width = length;
  input.Height = thickness;
  return input;
}

inline TRulerScaleInput VerticalRuler(int length, int thickness = 30) {
  TRulerScaleInput input;
  input.Vertical = true;
  input.Width = thickness;
  input.Height = length;
  return input;
}

inline TPixelBuffer Render(const TRulerScaleInput& input) {
  TPixelBuffer buffer(input.Width, input.Height, Untouched);
  PaintScale(input, buffer.View(), buffer.View().Bounds());
  return buffer;
}

// The x of every pixel in row y (between the outline columns) that has `colour`.
inline std::vector<int> ColumnsWith(const TPixelBuffer& buffer, int y, TPixel colour) {
  std::vector<int> columns;
  for (int x = 1; x < buffer.Width() - 1; ++x)
    if (buffer.At(x, y) == colour) columns.push_back(x);
  return columns;
}
