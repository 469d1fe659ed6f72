#include "color/QorvelColorModel.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

// One channel of the pure hue: rising over the first sixth, full over the next two,
// falling over one sixth, zero for the remaining half turn.
constexpr int HueChannel(int b) {
  if (b < 10922) return (b * 1530) >> 16;
  if (b <= 32768) return 255;
  if (b < 43690) return ((43690 - b) * 1530) >> 16;
  return 0;
}

constexpr int WrapHue(int hue) { return hue & (HueTurn - 1); }

constexpr int HSBChannel(int pure, int saturation, int brightness) {
  // 4080 = 255 << 4: the channel in 1/16 steps, faded toward white by the saturation and
  // then scaled by the brightness; the products stay below 2^31 for the clamped ranges.
  return (((4080 - (((255 - pure) * saturation) >> 12)) * brightness) >> 20) & 0xFF;
}

}  // namespace

TPixel HueColor(int hue) {
  const int h = WrapHue(hue);
  return PackRGB(HueChannel(WrapHue(h + 21845)), HueChannel(h), HueChannel(WrapHue(h + 43690)));
}

TPixel HSBToRGB(int hue, int saturation, int brightness) {
  const int s = std::clamp(saturation, 0, HSBFull), v = std::clamp(brightness, 0, HSBFull);
  const TRGB pure = SplitRGB(HueColor(hue));
  return PackRGB(HSBChannel(pure.Red, s, v), HSBChannel(pure.Green, s, v), HSBChannel(pure.Blue, s, v));
}

THSB RGBToHSB(TPixel pixel) {
  const TRGB c = SplitRGB(pixel);
  if (c.Red == c.Green && c.Green == c.Blue) return {0, 0, c.Red * 256};

  enum { Red, Green, Blue };
  const int channel[3] = {c.Red, c.Green, c.Blue};
  int largest = Red, smallest = Blue;
  // The tie rules decide which of two equal channels counts as the largest or smallest,
  // and with that on which side of a primary the hue lands.
  if (c.Blue >= c.Green && c.Blue >= c.Red) {
    largest = Blue;
    smallest = c.Green <= c.Red ? Green : Red;
  } else if (c.Red <= c.Green) {
    largest = Green;
    smallest = c.Blue > c.Red ? Red : Blue;
  } else {
    largest = Red;
    smallest = c.Blue > c.Green ? Green : Blue;
  }
  const int middle = 3 - largest - smallest;

  const std::int64_t M = channel[largest], m = channel[smallest], d = channel[middle];
  const int brightness = static_cast<int>(M * 65536 / 255);
  const int saturation = static_cast<int>(65536 - m * 65536 / M);
  const int e = static_cast<int>((d - m) * 65536 / M * 10922 / saturation);
  const int base = largest == Red ? 0 : largest == Green ? 21845 : 43690;
  const bool ascending =
      (largest == Red && middle == Green) || (largest == Green && middle == Blue) || (largest == Blue && middle == Red);
  return {WrapHue(ascending ? base + e : base - e), saturation, brightness};
}

int MulDivRounded(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t magnitude =
      (std::llabs(product) + std::llabs(static_cast<std::int64_t>(c)) / 2) / std::llabs(static_cast<std::int64_t>(c));
  const std::int64_t result = (product < 0) != (c < 0) ? -magnitude : magnitude;
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(result);
}
