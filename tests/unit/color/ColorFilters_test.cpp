#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "color/QorvelColorFilters.h"

namespace {

TPixel Filtered(const TQorvelColorFilter& filter, TPixel pixel, int x, int y) {
  filter.ApplyFilter(pixel, x, y);
  return pixel;
}

TPixel Gray(int v) { return static_cast<TPixel>(v * 0x010101); }
TPixel PackGray3(int r, int g, int b) { return static_cast<TPixel>(r << 16 | g << 8 | b); }

TEST(WebSafeFilter, SnapsEachChannelToTheNearestMultipleOf51) {
  const std::pair<int, int> cases[] = {{0, 0},     {25, 0},    {26, 51},   {76, 51},   {77, 102},
                                       {127, 102}, {128, 153}, {229, 204}, {230, 255}, {255, 255}};
  for (auto [in, out] : cases) {
    SCOPED_TRACE(in);
    // Each channel on its own, the other two at values that stay put.
    EXPECT_EQ(Filtered(WebSafeColorFilter(), static_cast<TPixel>(in << 16 | 0x3366), 0, 0),
              static_cast<TPixel>(out << 16 | 0x3366));
    EXPECT_EQ(Filtered(WebSafeColorFilter(), static_cast<TPixel>(0x990000 | in << 8 | 0xCC), 5, 9),
              static_cast<TPixel>(0x990000 | out << 8 | 0xCC));
    EXPECT_EQ(Filtered(WebSafeColorFilter(), static_cast<TPixel>(0xFF3300 | in), 13, 2),
              static_cast<TPixel>(0xFF3300 | out));
  }
  EXPECT_EQ(Filtered(WebSafeColorFilter(), 0x1E82E6, 0, 0), 0x3399FFu);  // 30, 130, 230
}

TEST(DitherThreshold, FirstRowAndColumnAndEveryValueOnceRepeatingEvery16) {
  const int firstRow[] = {0, 192, 48, 240, 12, 204, 60, 252, 3, 195, 51, 243, 15, 207, 63, 255};
  const int firstColumn[] = {0, 128, 32, 160, 8, 136, 40, 168, 2, 130, 34, 162, 10, 138, 42, 170};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(DitherThreshold(0, i), firstRow[i]) << "y " << i;
    EXPECT_EQ(DitherThreshold(i, 0), firstColumn[i]) << "x " << i;
  }
  std::set<int> seen;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      seen.insert(DitherThreshold(x, y));
      EXPECT_EQ(DitherThreshold(x + 16, y + 48), DitherThreshold(x, y));
      EXPECT_EQ(DitherThreshold(x - 16, y - 32), DitherThreshold(x, y));
    }
  EXPECT_EQ(seen.size(), 256u);
  EXPECT_EQ(*seen.begin(), 0);
  EXPECT_EQ(*seen.rbegin(), 255);
}

TEST(HighColorFilter, DithersBetweenNeighbouringLevels) {
  EXPECT_EQ(HighColorLevel(0), 0);
  EXPECT_EQ(HighColorLevel(1), 7);
  EXPECT_EQ(HighColorLevel(2), 15);
  EXPECT_EQ(HighColorLevel(32), 255);
  // Threshold 0 at (0, 0): any fraction rounds up, none stays.
  EXPECT_EQ(Filtered(HighColorFilter(), Gray(9), 0, 0), Gray(15));
  EXPECT_EQ(Filtered(HighColorFilter(), Gray(8), 0, 0), Gray(7));
  EXPECT_EQ(Filtered(HighColorFilter(), 0x090810, 0, 0), 0x0F070Fu);
  // Threshold 255 at (0, 15): always the lower level.
  for (int v = 0; v < 256; ++v)
    EXPECT_EQ(Filtered(HighColorFilter(), Gray(v), 0, 15), Gray(HighColorLevel(v >> 3))) << v;
}

TEST(HighColorFilter, AverageOverOneTileKeepsTheColour) {
  // The point of dithering: a 16 x 16 tile averages to the input within one level step.
  for (int v : {3, 100, 131, 200, 250}) {
    long sum = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) sum += static_cast<long>(Filtered(HighColorFilter(), Gray(v), x, y) & 0xFF);
    const double mean = static_cast<double>(sum) / 256.0;
    EXPECT_NEAR(mean, v, 1.0) << v;
  }
}

TEST(PaletteFilter, PaletteColoursStayAndOthersDitherOverA4x4Tile) {
  for (TPixel entry : TQorvelPaletteColorFilter::Palette)
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(Filtered(PaletteColorFilter(), entry, x, y), entry);

  // 0x404040 lies halfway between black and 0x808080 (black wins the tie): the tile's step
  // counts 0 1 2 3 / 6 7 4 5 / 1 0 3 2 / 7 6 5 4 give gray on the odd ones, half the tile.
  const char* expected[] = {"BGBG", "BGBG", "GBGB", "GBGB"};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const TPixel want = expected[y % 4][x % 4] == 'G' ? 0x808080u : 0x000000u;
      EXPECT_EQ(Filtered(PaletteColorFilter(), 0x404040, x, y), want) << x << "," << y;
    }

  // A colour near one entry stays there nearly everywhere; the output is always an entry.
  int exact = 0;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const TPixel out = Filtered(PaletteColorFilter(), 0xF00808, x, y);
      EXPECT_NE(std::find(TQorvelPaletteColorFilter::Palette.begin(), TQorvelPaletteColorFilter::Palette.end(), out),
                TQorvelPaletteColorFilter::Palette.end());
      exact += out == 0xFF0000u;
    }
  EXPECT_GE(exact, 14);
}

TEST(PaletteFilter, NearestEntryPrefersTheEarlierOnATie) {
  EXPECT_EQ(NearestPaletteEntry(64, 64, 64), 0);  // black and 0x808080 equally far
  EXPECT_EQ(NearestPaletteEntry(191, 0, 0), 1);   // 63 from 0x80, 64 from 0xFF
  EXPECT_EQ(NearestPaletteEntry(192, 0, 0), 9);
  EXPECT_EQ(NearestPaletteEntry(-300, 500, -20), 10);  // targets outside the cube still get an entry
}

TEST(ColorFilters, RowsFilterLikeSinglePixels) {
  const TQorvelColorFilter* filters[] = {&HighColorFilter(), &PaletteColorFilter(), &WebSafeColorFilter()};
  for (const TQorvelColorFilter* filter : filters)
    for (int y : {-3, 0, 7, 21}) {
      // Every channel value appears in the row, at varying thresholds.
      std::vector<TPixel> row(300), expected(300);
      for (int i = 0; i < 300; ++i)
        row[static_cast<std::size_t>(i)] = PackGray3(i % 256, (i * 7) % 256, (i * 13) % 256);
      for (int i = 0; i < 300; ++i)
        expected[static_cast<std::size_t>(i)] = Filtered(*filter, row[static_cast<std::size_t>(i)], -5 + i, y);
      filter->ApplyFilterRow(row.data(), 300, -5, y);
      ASSERT_EQ(row, expected) << y;
    }
}

TEST(DeviceColorFilter, ChoosesByBitsTimesPlanes) {
  EXPECT_EQ(DeviceColorFilter(32, 1), nullptr);
  EXPECT_EQ(DeviceColorFilter(24, 1), nullptr);
  EXPECT_EQ(DeviceColorFilter(23, 1), &HighColorFilter());
  EXPECT_EQ(DeviceColorFilter(16, 1), &HighColorFilter());
  EXPECT_EQ(DeviceColorFilter(15, 1), &HighColorFilter());
  EXPECT_EQ(DeviceColorFilter(8, 1), &PaletteColorFilter());
  EXPECT_EQ(DeviceColorFilter(1, 4), &PaletteColorFilter());
  EXPECT_EQ(DeviceColorFilter(4, 4), &HighColorFilter());
}

}  // namespace
