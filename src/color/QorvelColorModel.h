#pragma once
// The integer hue/saturation/brightness model of the colour tools, and its conversions to
// and from 8-bit red/green/blue pixels (0x00RRGGBB).
//
// Hue runs 0..65535 for a full turn (0 red, 21845 green, 43690 blue) and wraps; saturation
// and brightness run 0..65536, 65536 being 100 %. Integer arithmetic throughout, so the
// chart, the bar and the numeric fields agree to the bit.

#include "base/PixelBuffers.h"

inline constexpr int HueTurn = 65536;
inline constexpr int HSBFull = 65536;

struct THSB {
  int Hue = 0;
  int Saturation = 0;
  int Brightness = 0;
  friend bool operator==(const THSB&, const THSB&) = default;
};

// R * 65536 + G * 256 + B; each channel is taken modulo 256.
constexpr TPixel PackRGB(int red, int green, int blue) {
  return (static_cast<TPixel>(red & 0xFF) << 16) | (static_cast<TPixel>(green & 0xFF) << 8) |
         static_cast<TPixel>(blue & 0xFF);
}

struct TRGB {
  int Red = 0;
  int Green = 0;
  int Blue = 0;
  friend bool operator==(const TRGB&, const TRGB&) = default;
};

constexpr TRGB SplitRGB(TPixel pixel) {
  return {static_cast<int>((pixel >> 16) & 0xFFu), static_cast<int>((pixel >> 8) & 0xFFu),
          static_cast<int>(pixel & 0xFFu)};
}

// The pixel of `hue` at full saturation and brightness. Any hue is taken modulo a turn.
TPixel HueColor(int hue);

// Hue wraps; saturation and brightness outside 0..65536 count as the nearest end.
TPixel HSBToRGB(int hue, int saturation, int brightness);

// Grays (all three channels equal) give hue 0, saturation 0 and brightness v * 256, so
// white is 65280; other colours reach 65536 at a channel of 255.
THSB RGBToHSB(TPixel pixel);

// a * b / c rounded to the nearest integer, halves away from zero, computed without
// overflow; -1 when c is 0 or the result does not fit an int (the platform's MulDiv).
int MulDivRounded(int a, int b, int c);

// The portable code calls it by the platform's name. Where <windows.h> came first, the
// platform's own MulDiv (same rounding) is declared already and must not be redeclared.
#ifndef _WINDOWS_
inline int MulDiv(int a, int b, int c) { return MulDivRounded(a, b, c); }
#endif
