// The ruler's pixels pinned down by digests of whole paints, recorded from a painter that the
// behavioural tests had checked. The painter is tuned for speed; these make sure no tuning
// moves a single pixel of any unit, granularity, orientation or colour scheme. A failing
// digest means some paint changed: find it with the behavioural tests, never by updating
// the number.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "ruler/ScaleTestSupport.h"

namespace {

// FNV-1a over the pixels, four bytes each.
std::uint64_t Digest(const TPixelBuffer& buffer, std::uint64_t hash = 14695981039346656037ull) {
  for (int y = 0; y < buffer.Height(); ++y) {
    for (int x = 0; x < buffer.Width(); ++x) {
      TPixel p = buffer.At(x, y);
      for (int byte = 0; byte < 4; ++byte, p >>= 8) hash = (hash ^ (p & 0xFF)) * 1099511628211ull;
    }
  }
  return hash;
}

std::string Hex(std::uint64_t value) {
  char text[20];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

// The benchmark's ruler: 1920 x 50, antialiased, the cursor a third along.
TRulerScaleInput LongRuler(int unit, int granularity) {
  TRulerScaleInput input = HorizontalRuler(1920, 50);
  input.ScaleUnit = unit;
  input.Granularity = granularity;
  input.CursorBoxPos = {640, 20};
  input.CursorScreenPos = {840, 300};
  return input;
}

TEST(PaintScalePinned, LongRulerOfEveryUnitAndGranularity) {
  // Rows: units 1..4 (pixel, point, inch, centimetre); columns: coarse, medium, fine.
  const char* const expected[4][3] = {
      {"83f23902db6fe3cd", "2cdb39b96d91a8fb", "f3c915b040daaf89"},
      {"f01261b82fb77aea", "59122474e2ad5082", "0b6503bcd78ebfdc"},
      {"ff4c2f7dc174ef80", "d6004ef61314e584", "61aef34edd6b1ba0"},
      {"549c8b43369769f1", "048d4023d5a1a5cb", "c10ca6b5b1deef87"},
  };
  for (int unit = 1; unit <= 4; ++unit)
    for (int granularity = 0; granularity <= 2; ++granularity)
      EXPECT_EQ(Hex(Digest(Render(LongRuler(unit, granularity)))), expected[unit - 1][granularity])
          << "unit " << unit << ", granularity " << granularity;
}

// Every combination of the things that move pixels, a paint each, folded into one digest
// per orientation.
std::uint64_t SweepDigest(bool vertical) {
  std::uint64_t hash = 14695981039346656037ull;
  for (int unit = 0; unit <= 5; ++unit)
    for (int granularity = 0; granularity <= 2; ++granularity)
      for (int variant = 0; variant < 16; ++variant) {
        TRulerScaleInput input = vertical ? VerticalRuler(613, 44) : HorizontalRuler(613, 44);
        input.ScaleUnit = unit;
        input.Granularity = granularity;
        input.Flipped = variant & 1;
        input.Turned = variant & 2;
        input.Antialiasing = variant & 4;
        input.Background = variant & 8 ? 0x303030u : 0xA0FFFFu;
        input.Labeling = (unit + variant) % 3;
        input.Digits = variant != 5;
        input.MagnifierVisible = variant % 3 == 0;
        input.PixelsPerInch = 96 + 17 * (variant % 5);
        input.DecimalSeparator = variant % 7 == 0 ? ',' : '.';
        input.HotButton = static_cast<TMiniButton>(variant % 4);
        input.ButtonState = static_cast<TMiniButtonState>(variant % 4);
        input.CursorBoxPos = {300 + variant, 300 + variant};
        input.CursorScreenPos = {-800 + 100 * variant, 70 * variant - 500};
        hash = Digest(Render(input), hash);
      }
  return hash;
}

TEST(PaintScalePinned, EveryUnitGranularityDirectionBearingAndColourScheme) {
  EXPECT_EQ(Hex(SweepDigest(false)), "912e6812e4740eb2");
  EXPECT_EQ(Hex(SweepDigest(true)), "48058e5fb0edaaab");
}

}  // namespace
