#pragma once
// Colour arithmetic shared by the ruler, the magnifier and the colour tools.
//
// A TColor holds red in its low byte, then green, then blue (0x00BBGGRR); a non-zero high
// byte marks a system colour, which the platform layer resolves before drawing. Pixel
// buffers hold the opposite order (0x00RRGGBB), hence SwapRedBlue and ColorToPixel.

#include <algorithm>
#include <cstdint>

#include "base/PixelBuffers.h"
#include "base/QorvelTypes.h"

// Perceived brightness 0..255 of the colour's three low bytes.
int ColorBrightness(TColor color);

// White for dark colours (brightness below 128), black for light ones: the colour that
// stays readable on `background`.
TColor ContrastColor(TColor background);

// Moves each of the four bytes of `a` alpha/256 of the way toward the same byte of `b`
// (truncating toward zero): alpha 0 gives `a`, 256 gives `b`. Alpha outside 0..256 is
// taken as the nearest end, so no byte can spill into its neighbour. The mix treats every
// byte alike, so it serves pixels just as well.
TColor MixColors(TColor a, TColor b, int alpha);

// MixColors(contrast, color, alpha) and MixColors(color, contrast, alpha) at once, for a
// contrast colour that is black or white (as ContrastColor gives). Every byte then lies
// on the same side of the contrast colour, so both mixes come from one scaled distance
// without a division per byte; the results are the same to the bit.
struct TContrastMix {
  TColor FromContrast;  // MixColors(contrast, color, alpha)
  TColor ToContrast;    // MixColors(color, contrast, alpha)
};
inline TContrastMix MixWithContrast(TColor contrast, TColor color, int alpha) {
  const auto a = static_cast<std::uint32_t>(std::clamp(alpha, 0, 256));
  // Each byte's distance from black or white is the byte XOR the contrast byte; its scaled
  // part fits a 16-bit lane (255 * 256 < 65536), so two multiplications scale all four.
  const std::uint32_t distance = (color ^ contrast) & 0x00FFFFFFu;
  const std::uint32_t scaled =
      (((distance & 0x00FF00FFu) * a >> 8) & 0x00FF00FFu) | (((distance >> 8) & 0x00FF00FFu) * a & 0xFF00FF00u);
  return {contrast ^ scaled, contrast ^ (distance - scaled)};
}

// Exchanges bytes 0 and 2 and keeps bytes 1 and 3: TColor <-> pixel order, both ways.
constexpr std::uint32_t SwapRedBlue(std::uint32_t value) {
  return (value & 0xFF00FF00u) | ((value & 0xFFu) << 16) | ((value >> 16) & 0xFFu);
}

// The pixel of an ordinary (already resolved) colour; the high byte is dropped.
constexpr TPixel ColorToPixel(TColor color) { return SwapRedBlue(color) & 0x00FFFFFFu; }
