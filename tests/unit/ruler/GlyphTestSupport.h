#pragma once
// Reading glyphs back from pixels, against an independent copy of the digit table.

#include <array>
#include <string>
#include <string_view>

#include "base/PixelBuffers.h"

// The digit glyphs as the number bitmap must hold them, cells 0-9, point, minus.
inline constexpr std::array<std::array<std::string_view, 5>, 12> ExpectedNumberGlyphs = {{
    {".##.", "#..#", "#..#", "#..#", ".##."},
    {"...#", "..##", ".#.#", "...#", "...#"},
    {"####", "...#", "####", "#...", "####"},
    {"####", "...#", ".###", "...#", "####"},
    {"#..#", "#..#", "####", "...#", "...#"},
    {"####", "#...", "####", "...#", "####"},
    {"####", "#...", "####", "#..#", "####"},
    {"####", "...#", "...#", "...#", "...#"},
    {"####", "#..#", "####", "#..#", "####"},
    {"####", "#..#", "####", "...#", "####"},
    {"....", "....", "....", "....", ".#.."},
    {"....", "....", "####", "....", "...."},
}};

// Reads `count` glyphs drawn at (x, y) in `ink`: digits, '.' and '-'; '?' for a block
// that is no glyph.
inline std::string ReadDigits(const TPixelBuffer& buffer, int x, int y, int count, TPixel ink) {
  static constexpr std::string_view Characters = "0123456789.-";
  std::string text;
  for (int i = 0; i < count; ++i) {
    char found = '?';
    for (std::size_t cell = 0; cell < ExpectedNumberGlyphs.size(); ++cell) {
      bool same = true;
      for (int row = 0; row < 5 && same; ++row)
        for (int column = 0; column < 4 && same; ++column)
          same = (buffer.At(x + 5 * i + column, y + row) == ink) == (ExpectedNumberGlyphs[cell][row][column] == '#');
      if (same) found = Characters[cell];
    }
    text += found;
  }
  return text;
}
