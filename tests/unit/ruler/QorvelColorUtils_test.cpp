#include "ruler/QorvelColorUtils.h"

#include <gtest/gtest.h>

TEST(ColorBrightness, WeighsRedGreenBlueOfTheLowBytes) {
  EXPECT_EQ(ColorBrightness(0xFFFFFF), 255);
  EXPECT_EQ(ColorBrightness(0x000000), 0);
  EXPECT_EQ(ColorBrightness(0x0000FF), 76);   // red
  EXPECT_EQ(ColorBrightness(0x00FF00), 150);  // green
  EXPECT_EQ(ColorBrightness(0xFF0000), 27);   // blue
  EXPECT_EQ(ColorBrightness(0xA0FFFF), 244);  // the default ruler background
  // The high byte is no colour component.
  EXPECT_EQ(ColorBrightness(0xFF000000u), 0);
}

TEST(ContrastColor, IsWhiteBelowBrightness128AndBlackFromThere) {
  EXPECT_EQ(ContrastColor(0x7F7F7F), 0xFFFFFFu);
  EXPECT_EQ(ContrastColor(0x808080), 0x000000u);
  EXPECT_EQ(ContrastColor(0x000000), 0xFFFFFFu);
  EXPECT_EQ(ContrastColor(0xA0FFFF), 0x000000u);
}

TEST(MixColors, MovesEachByteTowardTheOtherTruncatingTowardZero) {
  // The end zone of the default ruler: a quarter of the way from the background to black.
  EXPECT_EQ(MixColors(0xA0FFFF, 0x000000, 64), 0x78C0C0u);
  // Downward steps truncate toward zero too: 255 - 0.996 stays 255.
  EXPECT_EQ(MixColors(0x0000FF, 0x000000, 1), 0x0000FFu);
  EXPECT_EQ(MixColors(0x000000, 0x0000FF, 255), 0x0000FEu);
  EXPECT_EQ(MixColors(0x123456, 0xABCDEF, 0), 0x123456u);
  EXPECT_EQ(MixColors(0x123456, 0xABCDEF, 256), 0xABCDEFu);
  EXPECT_EQ(MixColors(0x000000, 0xC0C078, 170), 0x7F7F4Fu);
  EXPECT_EQ(MixColors(0xC0C078, 0x000000, 170), 0x414129u);
  // All four bytes take part.
  EXPECT_EQ(MixColors(0x80000000u, 0, 128), 0x40000000u);
}

TEST(MixColors, KeepsAlphaOutsideTheScaleFromSpillingIntoOtherBytes) {
  EXPECT_EQ(MixColors(0x00FF00, 0x000000, 300), 0x000000u);
  EXPECT_EQ(MixColors(0x00FF00, 0x000000, -40), 0x00FF00u);
}

TEST(MixWithContrast, GivesExactlyTheMixesTowardAndAwayFromBlackOrWhite) {
  const TColor colours[] = {0x000000, 0xFFFFFF, 0xA0FFFF, 0x78C0C0, 0x123456, 0xFEDCBA, 0x7F8081, 0x010101, 0x3F3F3F};
  for (const TColor contrast : {0x000000u, 0xFFFFFFu}) {
    for (const TColor colour : colours) {
      for (int alpha = -1; alpha <= 257; ++alpha) {
        const TContrastMix mix = MixWithContrast(contrast, colour, alpha);
        ASSERT_EQ(mix.FromContrast, MixColors(contrast, colour, alpha))
            << std::hex << contrast << " " << colour << " " << alpha;
        ASSERT_EQ(mix.ToContrast, MixColors(colour, contrast, alpha))
            << std::hex << contrast << " " << colour << " " << alpha;
      }
    }
  }
}

TEST(ColorToPixel, SwapsRedAndBlueAndDropsTheHighByte) {
  EXPECT_EQ(SwapRedBlue(0x00A0FFFFu), 0x00FFFFA0u);
  EXPECT_EQ(SwapRedBlue(SwapRedBlue(0x80123456u)), 0x80123456u);
  EXPECT_EQ(ColorToPixel(0x0000FF), 0xFF0000u);
  EXPECT_EQ(ColorToPixel(0x80000005u), 0x050000u);
}
