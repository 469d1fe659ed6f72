#pragma once
// The ruler's two glyph bitmaps and the raster-operation copies that put them on a canvas.
// The pixels come from text art in RulerGlyphs.cpp; the program's bitmap resources
// "VINDLENUMBERS0" and "VINDLEBUTTONS" are generated from the same art
// (tools/make_glyph_bitmaps.cpp), so the screen and the resources cannot drift apart.

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/ClippedCanvas.h"

// A black-on-white bitmap, held as the pixels a blit reads from it: 0x000000 for black,
// 0xFFFFFF for white.
class TGlyphBitmap {
 public:
  TGlyphBitmap(int width, int height)
      : FWidth(width), FHeight(height), FPixels(static_cast<std::size_t>(width) * height, WhitePixel) {}

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool IsBlack(int x, int y) const { return Row(y)[x] == BlackPixel; }
  void SetBlack(int x, int y, bool black) {
    FPixels[static_cast<std::size_t>(y) * FWidth + x] = black ? BlackPixel : WhitePixel;
  }
  const TPixel* Row(int y) const { return FPixels.data() + static_cast<std::ptrdiff_t>(y) * FWidth; }

  static constexpr TPixel BlackPixel = 0x000000, WhitePixel = 0xFFFFFF;

 private:
  int FWidth;
  int FHeight;
  std::vector<TPixel> FPixels;
};

inline constexpr const char* NumberGlyphsName = "VINDLENUMBERS0";
inline constexpr const char* ButtonGlyphsName = "VINDLEBUTTONS";

// 60 x 5: twelve cells 5 pixels wide (digits 0-9, point, minus), glyphs in the left 4 x 5.
const TGlyphBitmap& NumberGlyphs();
inline constexpr int NumberCellWidth = 5;
inline constexpr int NumberGlyphWidth = 4;
inline constexpr int NumberGlyphHeight = 5;
inline constexpr int PointCell = 10;
inline constexpr int MinusCell = 11;

// 96 x 24: eight 12 x 12 cells, normal glyphs in the upper row, highlighted ones below.
const TGlyphBitmap& ButtonGlyphs();
inline constexpr int ButtonCellSize = 12;
inline constexpr int ButtonCellCount = 8;

// The two BitBlt raster operations the glyphs are copied with. With a black-and-white
// source, SRCAND (dest AND src) turns black source pixels black and MERGEPAINT
// (dest OR NOT src) turns them white; white source pixels leave the destination alone.
enum class TRasterOp { SrcAnd, MergePaint };

// Copies the `width` x `height` block at (sourceX, sourceY) of `glyphs` to (x, y).
void CopyGlyph(const TClippedCanvas& canvas, int x, int y, const TGlyphBitmap& glyphs, int sourceX, int sourceY,
               int width, int height, TRasterOp op);

// Draws `text` with its first glyph's top-left at (x, y), one character every 5 pixels:
// digits, `decimalSeparator` as a point, '-' as a minus; other characters leave a gap.
void DrawDigits(const TClippedCanvas& canvas, int x, int y, std::string_view text, TRasterOp op,
                char decimalSeparator = '.');

// Copies the 12 x 12 cell `glyphCell` (0..7) of the button bitmap to (x, y).
void DrawButtonGlyph(const TClippedCanvas& canvas, int x, int y, int glyphCell, TRasterOp op, bool highlighted);
