#include "ruler/RulerGlyphs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ruler/GlyphTestSupport.h"

namespace {

constexpr int ButtonSide = 11;

// The 9 x 9 inside of button glyph `cell`, normal or highlighted, as '#'/'.' rows.
std::string Inside(int cell, bool highlighted) {
  std::string art;
  const int left = cell * ButtonCellSize + 1, top = (highlighted ? ButtonCellSize : 0) + 1;
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) art += ButtonGlyphs().IsBlack(left + x, top + y) ? '#' : '.';
  return art;
}

char InsideAt(const std::string& art, int x, int y) { return art[static_cast<std::size_t>(9 * y + x)]; }

// Black/white pixels of a 1-bit BMP file as written for the resource script.
struct TDecodedBmp {
  int Width = 0, Height = 0;
  std::vector<bool> Black;
};

std::uint32_t ReadLE(const std::vector<std::uint8_t>& bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes.at(at + static_cast<std::size_t>(i));
  return value;
}

TDecodedBmp DecodeBmp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  TDecodedBmp bmp;
  if (bytes.size() < 62 || bytes[0] != 'B' || bytes[1] != 'M') return bmp;
  if (ReadLE(bytes, 14, 4) != 40 || ReadLE(bytes, 28, 2) != 1 || ReadLE(bytes, 30, 4) != 0) return bmp;
  const auto width = static_cast<int>(ReadLE(bytes, 18, 4)), height = static_cast<int>(ReadLE(bytes, 22, 4));
  const std::size_t offset = ReadLE(bytes, 10, 4), stride = static_cast<std::size_t>((width + 31) / 32 * 4);
  const bool paletteZeroBlack = ReadLE(bytes, 54, 3) == 0 && ReadLE(bytes, 58, 3) == 0xFFFFFF;
  if (!paletteZeroBlack || bytes.size() < offset + stride * static_cast<std::size_t>(height)) return bmp;
  bmp.Width = width;
  bmp.Height = height;
  for (int y = 0; y < height; ++y) {
    const std::size_t row = offset + stride * static_cast<std::size_t>(height - 1 - y);  // bottom-up
    for (int x = 0; x < width; ++x)
      bmp.Black.push_back((bytes[row + static_cast<std::size_t>(x / 8)] & (0x80 >> (x % 8))) == 0);
  }
  return bmp;
}

void ExpectFileMatches(const std::string& name, const TGlyphBitmap& bitmap) {
  const std::filesystem::path res = VINDLE_RESOURCE_DIR;
  const TDecodedBmp bmp = DecodeBmp((res / (name + ".bmp")).string());
  ASSERT_EQ(bmp.Width, bitmap.Width()) << name << ".bmp is missing or no 1-bit BMP";
  ASSERT_EQ(bmp.Height, bitmap.Height());
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      ASSERT_EQ(bmp.Black[static_cast<std::size_t>(y * bmp.Width + x)], bitmap.IsBlack(x, y))
          << name << ".bmp differs at (" << x << ", " << y << "): run tools/make_glyph_bitmaps.sh";
}

}  // namespace

TEST(NumberGlyphs, HoldTheDigitsPointAndMinusPixelForPixel) {
  const TGlyphBitmap& glyphs = NumberGlyphs();
  ASSERT_EQ(glyphs.Width(), 60);
  ASSERT_EQ(glyphs.Height(), 5);
  for (int cell = 0; cell < 12; ++cell) {
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 5; ++x) {
        const bool expected = x < 4 && ExpectedNumberGlyphs[static_cast<std::size_t>(cell)][static_cast<std::size_t>(y)]
                                                           [static_cast<std::size_t>(x)] == '#';
        EXPECT_EQ(glyphs.IsBlack(5 * cell + x, y), expected) << "cell " << cell << " at (" << x << ", " << y << ")";
      }
    }
  }
}

TEST(ButtonGlyphs, AreFramedElevenPixelSquaresInTwelvePixelCells) {
  const TGlyphBitmap& glyphs = ButtonGlyphs();
  ASSERT_EQ(glyphs.Width(), 96);
  ASSERT_EQ(glyphs.Height(), 24);
  for (int cell = 0; cell < ButtonCellCount; ++cell) {
    for (int top : {0, ButtonCellSize}) {
      const int left = cell * ButtonCellSize;
      for (int i = 0; i < ButtonCellSize; ++i) {
        const bool onButton = i < ButtonSide;
        EXPECT_EQ(glyphs.IsBlack(left + i, top), onButton) << "top edge, cell " << cell;
        EXPECT_EQ(glyphs.IsBlack(left + i, top + ButtonSide - 1), onButton) << "bottom edge, cell " << cell;
        EXPECT_EQ(glyphs.IsBlack(left, top + i), onButton) << "left edge, cell " << cell;
        EXPECT_EQ(glyphs.IsBlack(left + ButtonSide - 1, top + i), onButton) << "right edge, cell " << cell;
        EXPECT_FALSE(glyphs.IsBlack(left + ButtonSide, top + i)) << "twelfth column, cell " << cell;
        EXPECT_FALSE(glyphs.IsBlack(left + i, top + ButtonSide)) << "twelfth row, cell " << cell;
      }
    }
  }
}

TEST(ButtonGlyphs, HighlightedGlyphsInvertTheInside) {
  for (int cell = 0; cell < ButtonCellCount; ++cell) {
    std::string inverted = Inside(cell, false);
    for (char& c : inverted) c = c == '#' ? '.' : '#';
    EXPECT_EQ(Inside(cell, true), inverted) << "cell " << cell;
  }
}

TEST(ButtonGlyphs, SymbolsAreDistinctKeepClearOfTheFrameAndCellSevenIsEmpty) {
  for (int cell = 0; cell < 7; ++cell) {
    const std::string art = Inside(cell, false);
    EXPECT_NE(art.find('#'), std::string::npos) << "cell " << cell << " has no symbol";
    for (int i = 0; i < 9; ++i) {
      EXPECT_EQ(InsideAt(art, i, 0), '.') << "cell " << cell;
      EXPECT_EQ(InsideAt(art, i, 8), '.') << "cell " << cell;
      EXPECT_EQ(InsideAt(art, 0, i), '.') << "cell " << cell;
      EXPECT_EQ(InsideAt(art, 8, i), '.') << "cell " << cell;
    }
    for (int other = 0; other < cell; ++other) EXPECT_NE(art, Inside(other, false)) << cell << " vs " << other;
  }
  EXPECT_EQ(Inside(7, false), std::string(81, '.'));
}

TEST(ButtonGlyphs, TurnArrowIsTheFlipArrowStoodUpright) {
  // A vertical ruler swaps the two cells, so each must be the other turned a quarter.
  const std::string flip = Inside(2, false), turn = Inside(3, false);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 9; ++x) {
      EXPECT_EQ(InsideAt(turn, x, y), InsideAt(flip, y, x)) << x << ", " << y;
      EXPECT_EQ(InsideAt(flip, x, y), InsideAt(flip, 8 - x, y)) << "flip arrow not symmetric";
      EXPECT_EQ(InsideAt(flip, x, y), InsideAt(flip, x, 8 - y)) << "flip arrow not symmetric";
    }
  }
}

TEST(GlyphResources, CommittedBitmapFilesMatchTheArt) {
  ExpectFileMatches(NumberGlyphsName, NumberGlyphs());
  ExpectFileMatches(ButtonGlyphsName, ButtonGlyphs());
}

TEST(CopyGlyph, SrcAndPaintsBlackAndMergePaintWhiteLeavingTheRestAlone) {
  TPixelBuffer buffer(6, 6, 0x336699);
  const TClippedCanvas canvas(buffer.View(), buffer.View().Bounds());
  DrawDigits(canvas, 1, 0, "1", TRasterOp::SrcAnd);
  EXPECT_EQ(ReadDigits(buffer, 1, 0, 1, 0x000000), "1");
  EXPECT_EQ(buffer.At(1, 0), 0x336699u);

  TPixelBuffer dark(6, 6, 0x336699);
  DrawDigits(TClippedCanvas(dark.View(), dark.View().Bounds()), 1, 0, "1", TRasterOp::MergePaint);
  EXPECT_EQ(ReadDigits(dark, 1, 0, 1, 0xFFFFFF), "1");
  EXPECT_EQ(dark.At(1, 0), 0x336699u);
}

TEST(CopyGlyph, StaysInsideTheClip) {
  TPixelBuffer buffer(20, 5, 0x808080);
  DrawDigits(TClippedCanvas(buffer.View(), {0, 0, 7, 5}), 0, 0, "88", TRasterOp::SrcAnd);
  EXPECT_EQ(buffer.At(6, 0), 0x000000u);  // second glyph, first column: inside
  EXPECT_EQ(buffer.At(7, 0), 0x808080u);  // second glyph, second column: clipped
  // Half off the buffer is no error either.
  DrawDigits(TClippedCanvas(buffer.View(), buffer.View().Bounds()), 18, -2, "8", TRasterOp::SrcAnd);
  EXPECT_EQ(buffer.At(18, 0), 0x000000u);
}

TEST(DrawDigits, MapsTheDecimalSeparatorToThePointAndSkipsUnknownCharacters) {
  TPixelBuffer buffer(30, 5, 0xFFFFFF);
  DrawDigits(TClippedCanvas(buffer.View(), buffer.View().Bounds()), 0, 0, "1,5x-", TRasterOp::SrcAnd, ',');
  EXPECT_EQ(ReadDigits(buffer, 0, 0, 5, 0x000000), "1.5?-");
  for (int y = 0; y < 5; ++y)
    for (int x = 15; x < 19; ++x) EXPECT_EQ(buffer.At(x, y), 0xFFFFFFu);  // the unknown character's gap
}

TEST(DrawButtonGlyph, CopiesTheWholeCellFromTheChosenRow) {
  TPixelBuffer normal(14, 14, 0xFFFFFF), hot(14, 14, 0xFFFFFF);
  DrawButtonGlyph(TClippedCanvas(normal.View(), normal.View().Bounds()), 1, 2, 6, TRasterOp::SrcAnd, false);
  DrawButtonGlyph(TClippedCanvas(hot.View(), hot.View().Bounds()), 1, 2, 6, TRasterOp::SrcAnd, true);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(normal.At(1 + x, 2 + y) == 0, ButtonGlyphs().IsBlack(72 + x, y));
      EXPECT_EQ(hot.At(1 + x, 2 + y) == 0, ButtonGlyphs().IsBlack(72 + x, 12 + y));
    }
  }
}
