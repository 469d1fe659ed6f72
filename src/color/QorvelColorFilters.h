#pragma once
// Per-pixel colour filters. Displays with few colours get an ordered dither (a 16 x 16
// threshold matrix, or a 4 x 4 error tile over the 16 standard colours) instead of the
// banding the driver would produce; the web-safe filter snaps to multiples of 51.
//
// Filters take the pixel's position in the coordinates of the control being drawn, so a
// pattern stays put when only a part of the control is repainted. The three filters are
// stateless and shared: HighColorFilter(), PaletteColorFilter(), WebSafeColorFilter().

#include <array>
#include <cstdint>

#include "base/PixelBuffers.h"

class TQorvelColorFilter {
 public:
  virtual ~TQorvelColorFilter() = default;
  // Replaces `pixel` (0x00RRGGBB) by its filtered value at control position (x, y).
  virtual void ApplyFilter(TPixel& pixel, int x, int y) const = 0;
  // The same for `count` pixels of one row starting at control position (x, y); filters
  // override it to spare a call per pixel when whole areas are painted.
  virtual void ApplyFilterRow(TPixel* pixels, int count, int x, int y) const {
    for (int i = 0; i < count; ++i) ApplyFilter(pixels[i], x + i, y);
  }
};

// Dither to 32 steps per channel (33 output levels, both ends included).
class TQorvelHighColorFilter final : public TQorvelColorFilter {
 public:
  void ApplyFilter(TPixel& pixel, int x, int y) const override;
  void ApplyFilterRow(TPixel* pixels, int count, int x, int y) const override;
};

// Dither to the 16 standard colours of a 4-bit display.
class TQorvelPaletteColorFilter final : public TQorvelColorFilter {
 public:
  static constexpr std::array<TPixel, 16> Palette = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                                     0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                                     0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  void ApplyFilter(TPixel& pixel, int x, int y) const override;
};

// Each channel to the nearest multiple of 51; the position is not used.
class TQorvelWebSafeColorFilter final : public TQorvelColorFilter {
 public:
  void ApplyFilter(TPixel& pixel, int x, int y) const override;
  void ApplyFilterRow(TPixel* pixels, int count, int x, int y) const override;
};

// The threshold 0..255 of the ordered dither at control position (x, y); the matrix
// repeats every 16 pixels in both directions (negative positions included).
int DitherThreshold(int x, int y);

// Output level i (0..32) of the high-colour filter: (i * 255) >> 5.
int HighColorLevel(int i);

// The web-safe value of one channel 0..255.
int WebSafeLevel(int channel);

// Index of the palette entry nearest to (r, g, b) by squared distance; the earlier entry
// wins a tie. The channels may lie outside 0..255 (dither targets do).
int NearestPaletteEntry(int r, int g, int b);

const TQorvelHighColorFilter& HighColorFilter();
const TQorvelPaletteColorFilter& PaletteColorFilter();
const TQorvelWebSafeColorFilter& WebSafeColorFilter();

// The filter a display of `bitsPerPixel` x `planes` bits needs: the palette filter below
// 15 bits, the high-colour filter from 15 to 23 bits, none (nullptr) above.
const TQorvelColorFilter* DeviceColorFilter(int bitsPerPixel, int planes);
