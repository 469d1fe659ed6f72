#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "color/QorvelColorModel.h"

namespace {

// Every one of the 2^24 colours: the conversion to HSB stays in the model's ranges, and
// the way back loses at most two steps per channel and never brightens a channel (both
// directions truncate). A wrong tie rule or sector would be off by far more.
TEST(ColorModelExhaustive, EveryRgbColourRoundTripsWithinTwoStepsAndNeverBrighter) {
  long outOfRange = 0, tooFar = 0, brighter = 0;
  TPixel firstBad = 0xFFFFFFFFu;
  for (TPixel pixel = 0; pixel < (1u << 24); ++pixel) {
    const THSB hsb = RGBToHSB(pixel);
    const TRGB original = SplitRGB(pixel);
    const TRGB back = SplitRGB(HSBToRGB(hsb.Hue, hsb.Saturation, hsb.Brightness));
    const bool inRange = hsb.Hue >= 0 && hsb.Hue < HueTurn && hsb.Saturation >= 0 && hsb.Saturation <= HSBFull &&
                         hsb.Brightness >= 0 && hsb.Brightness <= HSBFull;
    const int distance = std::max({std::abs(back.Red - original.Red), std::abs(back.Green - original.Green),
                                   std::abs(back.Blue - original.Blue)});
    const bool lighter = back.Red > original.Red || back.Green > original.Green || back.Blue > original.Blue;
    outOfRange += !inRange;
    tooFar += distance > 2;
    brighter += lighter;
    if ((!inRange || distance > 2 || lighter) && firstBad == 0xFFFFFFFFu) firstBad = pixel;
  }
  EXPECT_EQ(outOfRange, 0);
  EXPECT_EQ(tooFar, 0);
  EXPECT_EQ(brighter, 0);
  EXPECT_EQ(firstBad, 0xFFFFFFFFu) << std::hex << firstBad;
}

TEST(ColorModelExhaustive, EveryHueOfTheTurnIsFullySaturatedAndBright) {
  // HueColor feeds the hue bar and every HSB chart: one channel at 255 and one at 0 for
  // every hue, so the bar never shows a washed-out or dark row.
  for (int hue = 0; hue < HueTurn; ++hue) {
    const TRGB c = SplitRGB(HueColor(hue));
    ASSERT_EQ(std::max({c.Red, c.Green, c.Blue}), 255) << hue;
    ASSERT_EQ(std::min({c.Red, c.Green, c.Blue}), 0) << hue;
  }
}

}  // namespace
