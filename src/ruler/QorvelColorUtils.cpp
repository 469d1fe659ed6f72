#include "ruler/QorvelColorUtils.h"

#include <algorithm>

int ColorBrightness(TColor color) {
  const std::uint32_t red = color & 0xFFu, green = (color >> 8) & 0xFFu, blue = (color >> 16) & 0xFFu;
  return static_cast<int>((77 * red + 151 * green + 28 * blue) >> 8);
}

TColor ContrastColor(TColor background) { return ColorBrightness(background) < 128 ? 0xFFFFFFu : 0x000000u; }

TColor MixColors(TColor a, TColor b, int alpha) {
  alpha = std::clamp(alpha, 0, 256);
  std::uint32_t mixed = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int from = static_cast<int>((a >> shift) & 0xFFu);
    const int to = static_cast<int>((b >> shift) & 0xFFu);
    // C++ division truncates toward zero, which is the rounding the mix is defined with.
    const int byte = from + (to - from) * alpha / 256;
    mixed |= static_cast<std::uint32_t>(byte) << shift;
  }
  return mixed;
}
