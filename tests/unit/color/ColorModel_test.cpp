#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "color/QorvelColorModel.h"

namespace {

TEST(HueColor, PrimariesAndSecondariesAndWrapping) {
  EXPECT_EQ(HueColor(0), 0xFF0000u);
  EXPECT_EQ(HueColor(10923), 0xFFFF00u);
  EXPECT_EQ(HueColor(21845), 0x00FF00u);
  EXPECT_EQ(HueColor(32768), 0x00FFFFu);
  EXPECT_EQ(HueColor(43690), 0x0000FFu);
  EXPECT_EQ(HueColor(5461), 0xFF7F00u);  // halfway up the green ramp
  EXPECT_EQ(HueColor(65536), HueColor(0));
  EXPECT_EQ(HueColor(-1), HueColor(65535));
  EXPECT_EQ(HueColor(65536 + 21845), 0x00FF00u);
}

TEST(HSBToRGB, EndsOfSaturationAndBrightness) {
  for (int hue : {0, 7000, 21845, 40000, 65535}) {
    SCOPED_TRACE(hue);
    EXPECT_EQ(HSBToRGB(hue, 0, 65536), 0xFFFFFFu);
    EXPECT_EQ(HSBToRGB(hue, 65536, 65536), HueColor(hue));
    EXPECT_EQ(HSBToRGB(hue, 65536, 0), 0x000000u);
    EXPECT_EQ(HSBToRGB(hue, 0, 32768), 0x7F7F7Fu);
  }
  // Out-of-range saturation and brightness count as the nearest end instead of wrapping
  // into some other colour.
  EXPECT_EQ(HSBToRGB(0, 70000, 99999), 0xFF0000u);
  EXPECT_EQ(HSBToRGB(0, -5, -5), 0x000000u);
  EXPECT_EQ(HSBToRGB(0, 32768, 65536), 0xFF7F7Fu);
}

TEST(RGBToHSB, GraysPrimariesAndTies) {
  EXPECT_EQ(RGBToHSB(0xFFFFFF), (THSB{0, 0, 65280}));  // the gray rule, not 65536
  EXPECT_EQ(RGBToHSB(0x000000), (THSB{0, 0, 0}));
  EXPECT_EQ(RGBToHSB(0x808080), (THSB{0, 0, 32768}));
  EXPECT_EQ(RGBToHSB(0xFF0000), (THSB{0, 65536, 65536}));
  EXPECT_EQ(RGBToHSB(0x00FF00), (THSB{21845, 65536, 65536}));
  EXPECT_EQ(RGBToHSB(0x0000FF), (THSB{43690, 65536, 65536}));
  EXPECT_EQ(RGBToHSB(0xFFFF00).Hue, 10923);
  EXPECT_EQ(RGBToHSB(0x00FFFF).Hue, 32768);
  EXPECT_EQ(RGBToHSB(0xFF00FF).Hue, 54612);
  // Two equal largest channels: the tie rules put blue before green before red, which
  // decides the hue by one unit.
  EXPECT_EQ(RGBToHSB(PackRGB(100, 200, 200)), (THSB{32768, 32768, 51400}));
  EXPECT_EQ(RGBToHSB(PackRGB(200, 200, 100)).Hue, 10923);
  EXPECT_EQ(RGBToHSB(PackRGB(200, 100, 200)).Hue, 54612);
  // Near red from both sides: below 0 wraps to the top of the turn.
  EXPECT_EQ(RGBToHSB(PackRGB(255, 0, 10)).Hue, 65536 - 428);
  EXPECT_EQ(RGBToHSB(PackRGB(255, 10, 0)).Hue, 428);
}

TEST(RGBToHSB, RoundTripsWithinTwoStepsPerChannel) {
  // HSB keeps 16 bits per value but the conversion back scales by 4080/4096, so a channel
  // may come back up to two steps lower; anything more is a wrong hue sector or tie.
  int worst = 0;
  for (int r = 0; r < 256; r += 3)
    for (int g = 0; g < 256; g += 5)
      for (int b = 0; b < 256; b += 7) {
        const THSB hsb = RGBToHSB(PackRGB(r, g, b));
        const TRGB back = SplitRGB(HSBToRGB(hsb.Hue, hsb.Saturation, hsb.Brightness));
        worst = std::max({worst, std::abs(back.Red - r), std::abs(back.Green - g), std::abs(back.Blue - b)});
      }
  EXPECT_LE(worst, 2);
  // White comes back one step darker: the gray rule's brightness is 65280.
  const THSB white = RGBToHSB(0xFFFFFF);
  EXPECT_EQ(HSBToRGB(white.Hue, white.Saturation, white.Brightness), 0xFEFEFEu);
}

TEST(RGBToHSB, PureHuesComeBackWithinOneChannelStep) {
  // One channel step of a pure hue is about 43 hue units, and both directions truncate;
  // a wrong sector or tie would be thousands of units off.
  for (int hue = 0; hue < 65536; hue += 97) {
    const THSB hsb = RGBToHSB(HueColor(hue));
    const int distance = std::abs(hsb.Hue - hue);
    EXPECT_LE(std::min(distance, 65536 - distance), 48) << hue;
    EXPECT_EQ(hsb.Saturation, 65536) << hue;
    EXPECT_EQ(hsb.Brightness, 65536) << hue;
  }
}

TEST(PackAndSplit, ChannelOrder) {
  EXPECT_EQ(PackRGB(0x12, 0x34, 0x56), 0x123456u);
  EXPECT_EQ(SplitRGB(0x00ABCDEF), (TRGB{0xAB, 0xCD, 0xEF}));
}

TEST(MulDiv, RoundsHalvesAwayFromZeroAndReportsFailure) {
  EXPECT_EQ(MulDiv(65535, 360, 65536), 360);  // a hue just below a full turn
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(1, 1, 3), 0);
  EXPECT_EQ(MulDiv(128, 65536, 255), 32897);  // 32896.502
  EXPECT_EQ(MulDiv(255, 65536, 255), 65536);
  EXPECT_EQ(MulDiv(7, -3, 2), -11);
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
  EXPECT_EQ(MulDiv(65536, 65536, 1), -1);
  EXPECT_EQ(MulDiv(65536, 65536, 65536), 65536);
}

}  // namespace
