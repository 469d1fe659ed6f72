#include "ruler/RulerGlyphs.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {

// Digits, point and minus, as they appear in "VINDLENUMBERS0" ('#' black, '.' white).
// Cells are separated by a space here; in the bitmap that space is the white fifth column.
//                                   0    1    2    3    4    5    6    7    8    9    .    -
constexpr std::array<std::string_view, 5> NumberArt = {".##. ...# #### #### #..# #### #### #### #### #### .... ....",
                                                       "#..# ..## ...# ...# #..# #... #... ...# #..# #..# .... ....",
                                                       "#..# .#.# #### .### #### #### #### ...# #### #### .... ####",
                                                       "#..# ...# #... ...# ...# ...# #..# ...# #..# ...# .... ....",
                                                       ".##. ...# #### #### ...# #### #### ...# #### #### .#.. ...."};

// The symbols of the mini buttons, 9 x 9 each. The bitmap puts every symbol inside a
// black 1-pixel frame (an 11 x 11 button, the cell's twelfth column and row white); the
// highlighted row shows the same button with its inside inverted.
using TSymbolArt = std::array<std::string_view, 9>;
constexpr std::array<TSymbolArt, ButtonCellCount> ButtonSymbolArt = {{
    // 0: close
    {".........", ".#.....#.", ".##...##.", "..##.##..", "...###...", "..##.##..", ".##...##.", ".#.....#.",
     "........."},
    // 1: rotate, an upward arrow with a curved tail
    {".........", ".....#...", "....###..", "...#####.", ".....#...", ".....#...", "....#....", ".###.....",
     "........."},
    // 2: a horizontal double-headed arrow
    {".........", ".........", "..#...#..", ".##...##.", ".#######.", ".##...##.", "..#...#..", ".........",
     "........."},
    // 3: a vertical double-headed arrow
    {".........", "...###...", "..#####..", "....#....", "....#....", "....#....", "..#####..", "...###...",
     "........."},
    // 4: stay on top: the front window hides the one behind it
    {".........", ".#####...", ".#...#...", ".#.#####.", ".#.#...#.", ".###...#.", "...#...#.", "...#####.",
     "........."},
    // 5: transparent: both windows are see-through
    {".........", ".#####...", ".#...#...", ".#.#####.", ".#.#.#.#.", ".#####.#.", "...#...#.", "...#####.",
     "........."},
    // 6: magnifier
    {".........", "..###....", ".#...#...", ".#...#...", ".#...#...", "..####...", ".....##..", "......##.",
     "........."},
    // 7: empty
    {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........",
     "........."},
}};

TGlyphBitmap BuildNumberGlyphs() {
  TGlyphBitmap bitmap(12 * NumberCellWidth, NumberGlyphHeight);
  for (int y = 0; y < NumberGlyphHeight; ++y) {
    const std::string_view row = NumberArt[static_cast<std::size_t>(y)];
    assert(static_cast<int>(row.size()) == bitmap.Width() - 1);
    for (int x = 0; x < static_cast<int>(row.size()); ++x)
      bitmap.SetBlack(x, y, row[static_cast<std::size_t>(x)] == '#');
  }
  return bitmap;
}

TGlyphBitmap BuildButtonGlyphs() {
  constexpr int button = ButtonCellSize - 1;  // 11: frame plus 9 x 9 symbol
  TGlyphBitmap bitmap(ButtonCellCount * ButtonCellSize, 2 * ButtonCellSize);
  for (int cell = 0; cell < ButtonCellCount; ++cell) {
    const TSymbolArt& symbol = ButtonSymbolArt[static_cast<std::size_t>(cell)];
    for (int highlighted = 0; highlighted < 2; ++highlighted) {
      const int left = cell * ButtonCellSize, top = highlighted * ButtonCellSize;
      for (int y = 0; y < button; ++y) {
        for (int x = 0; x < button; ++x) {
          const bool frame = x == 0 || y == 0 || x == button - 1 || y == button - 1;
          const bool ink = !frame && symbol[static_cast<std::size_t>(y - 1)][static_cast<std::size_t>(x - 1)] == '#';
          bitmap.SetBlack(left + x, top + y, frame || (ink != (highlighted == 1)));
        }
      }
    }
  }
  return bitmap;
}

struct TGlyphRows {
  TPixel* Destination;
  std::ptrdiff_t DestinationStride;
  const TPixel* Source;
  std::ptrdiff_t SourceStride;
  int Count;
};

// The raster operations themselves, bit for bit: SRCAND is dest AND src, MERGEPAINT dest OR
// NOT src (keeping the top byte of a pixel 0). Both work on every bit alike, so two pixels
// go through one 64-bit operation.
template <TRasterOp Op, class TWord>
TWord Apply(TWord destination, TWord source) {
  if constexpr (Op == TRasterOp::SrcAnd)
    return destination & source;
  else
    return (destination | ~source) & static_cast<TWord>(0x00FFFFFF00FFFFFFull);
}

template <TRasterOp Op, class TWidth>
void CopyRows(const TGlyphRows& rows, TWidth width) {
  TPixel* destination = rows.Destination;
  const TPixel* source = rows.Source;
  for (int row = rows.Count; row > 0; --row, destination += rows.DestinationStride, source += rows.SourceStride) {
    int i = 0;
    for (; i + 2 <= width; i += 2) {
      std::uint64_t pair, sourcePair;
      std::memcpy(&pair, destination + i, sizeof pair);
      std::memcpy(&sourcePair, source + i, sizeof sourcePair);
      pair = Apply<Op>(pair, sourcePair);
      std::memcpy(destination + i, &pair, sizeof pair);
    }
    if (i < width) destination[i] = Apply<Op>(destination[i], source[i]);
  }
}

}  // namespace

const TGlyphBitmap& NumberGlyphs() {
  static const TGlyphBitmap bitmap = BuildNumberGlyphs();
  return bitmap;
}

const TGlyphBitmap& ButtonGlyphs() {
  static const TGlyphBitmap bitmap = BuildButtonGlyphs();
  return bitmap;
}

void CopyGlyph(const TClippedCanvas& canvas, int x, int y, const TGlyphBitmap& glyphs, int sourceX, int sourceY,
               int width, int height, TRasterOp op) {
  const TRect visible = IntersectRect({x, y, x + width, y + height}, canvas.Clip());
  if (visible.Empty()) return;
  TGlyphRows rows{canvas.View().Row(visible.Top) + visible.Left, canvas.View().Width(),
                  glyphs.Row(sourceY + visible.Top - y) + (sourceX + visible.Left - x), glyphs.Width(),
                  visible.Height()};
  // A digit shown whole, the usual case, gets the loop of its fixed width.
  const int count = visible.Width();
  if (op == TRasterOp::SrcAnd) {
    if (count == NumberGlyphWidth)
      CopyRows<TRasterOp::SrcAnd>(rows, std::integral_constant<int, NumberGlyphWidth>());
    else
      CopyRows<TRasterOp::SrcAnd>(rows, count);
  } else {
    if (count == NumberGlyphWidth)
      CopyRows<TRasterOp::MergePaint>(rows, std::integral_constant<int, NumberGlyphWidth>());
    else
      CopyRows<TRasterOp::MergePaint>(rows, count);
  }
}

void DrawDigits(const TClippedCanvas& canvas, int x, int y, std::string_view text, TRasterOp op,
                char decimalSeparator) {
  const TGlyphBitmap& glyphs = NumberGlyphs();
  for (const char c : text) {
    int cell = -1;
    if (c >= '0' && c <= '9')
      cell = c - '0';
    else if (c == decimalSeparator)
      cell = PointCell;
    else if (c == '-')
      cell = MinusCell;
    if (cell >= 0) CopyGlyph(canvas, x, y, glyphs, cell * NumberCellWidth, 0, NumberGlyphWidth, NumberGlyphHeight, op);
    x += NumberCellWidth;
  }
}

void DrawButtonGlyph(const TClippedCanvas& canvas, int x, int y, int glyphCell, TRasterOp op, bool highlighted) {
  if (glyphCell < 0 || glyphCell >= ButtonCellCount) return;
  CopyGlyph(canvas, x, y, ButtonGlyphs(), glyphCell * ButtonCellSize, highlighted ? ButtonCellSize : 0, ButtonCellSize,
            ButtonCellSize, op);
}
