#include "color/QorvelColorFilters.h"

namespace {

// Bayer-style matrix from four 2-bit levels: the most significant bit of the position
// picks the lowest bit pair, so neighbouring pixels get the most distant thresholds.
constexpr std::array<std::uint8_t, 256> BuildThresholds() {
  std::array<std::uint8_t, 256> t{};
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      int value = 0;
      for (int k = 0; k < 4; ++k) {
        const int bx = (x >> (3 - k)) & 1, by = (y >> (3 - k)) & 1;
        const int pair = bx == 0 ? (by == 0 ? 0 : 3) : (by == 0 ? 2 : 1);
        value |= pair << (2 * k);
      }
      t[static_cast<std::size_t>(y * 16 + x)] = static_cast<std::uint8_t>(value);
    }
  }
  return t;
}
constexpr std::array<std::uint8_t, 256> Thresholds = BuildThresholds();

constexpr std::array<std::uint8_t, 33> BuildLevels() {
  std::array<std::uint8_t, 33> levels{};
  for (int i = 0; i <= 32; ++i) levels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i * 255) >> 5);
  return levels;
}
constexpr std::array<std::uint8_t, 33> Levels = BuildLevels();

constexpr std::array<std::uint8_t, 256> BuildWebSafe() {
  std::array<std::uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i + 25) / 51 * 51);
  return table;
}
constexpr std::array<std::uint8_t, 256> WebSafe = BuildWebSafe();

constexpr int Red(TPixel p) { return static_cast<int>((p >> 16) & 0xFFu); }
constexpr int Green(TPixel p) { return static_cast<int>((p >> 8) & 0xFFu); }
constexpr int Blue(TPixel p) { return static_cast<int>(p & 0xFFu); }
constexpr TPixel Pack(int r, int g, int b) {
  return (static_cast<TPixel>(r) << 16) | (static_cast<TPixel>(g) << 8) | static_cast<TPixel>(b);
}

}  // namespace

int DitherThreshold(int x, int y) { return Thresholds[static_cast<std::size_t>((y & 15) * 16 + (x & 15))]; }

int HighColorLevel(int i) { return Levels[static_cast<std::size_t>(i)]; }

int WebSafeLevel(int channel) { return WebSafe[static_cast<std::size_t>(channel & 0xFF)]; }

int NearestPaletteEntry(int r, int g, int b) {
  // Squared distances stay far below 0x30000 even for dither targets outside the cube, so
  // a plain minimum (first entry wins a tie) is the whole search.
  int best = 0;
  long long bestDistance = -1;
  for (std::size_t i = 0; i < TQorvelPaletteColorFilter::Palette.size(); ++i) {
    const TPixel entry = TQorvelPaletteColorFilter::Palette[i];
    const long long dr = r - Red(entry), dg = g - Green(entry), db = b - Blue(entry);
    const long long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i);
    }
  }
  return best;
}

namespace {

inline TPixel HighColorPixel(TPixel pixel, int threshold) {
  auto channel = [threshold](int v) {
    const int q = v >> 3, f = (v & 7) << 5;
    return static_cast<int>(Levels[static_cast<std::size_t>(threshold < f ? q + 1 : q)]);
  };
  return Pack(channel(Red(pixel)), channel(Green(pixel)), channel(Blue(pixel)));
}

inline TPixel WebSafePixel(TPixel pixel) {
  return Pack(WebSafe[static_cast<std::size_t>(Red(pixel))], WebSafe[static_cast<std::size_t>(Green(pixel))],
              WebSafe[static_cast<std::size_t>(Blue(pixel))]);
}

}  // namespace

void TQorvelHighColorFilter::ApplyFilter(TPixel& pixel, int x, int y) const {
  pixel = HighColorPixel(pixel, DitherThreshold(x, y));
}

// The row version computes the levels instead of looking them up (the same values, see
// the tests) and takes the thresholds of a row in runs of 16, so the compiler can
// vectorise it: whole-area paints on dithered displays rely on it.
void TQorvelHighColorFilter::ApplyFilterRow(TPixel* pixels, int count, int x, int y) const {
  const std::uint8_t* rowThresholds = &Thresholds[static_cast<std::size_t>((y & 15) * 16)];
  std::uint32_t t[16];
  for (int j = 0; j < 16; ++j) t[j] = rowThresholds[(x + j) & 15];
  auto level = [](std::uint32_t v, std::uint32_t threshold) {
    const std::uint32_t i = (v >> 3) + (threshold < ((v & 7) << 5) ? 1u : 0u);
    return (i * 255) >> 5;
  };
  auto filter = [&level](TPixel p, std::uint32_t threshold) {
    return level((p >> 16) & 0xFF, threshold) << 16 | level((p >> 8) & 0xFF, threshold) << 8 |
           level(p & 0xFF, threshold);
  };
  int i = 0;
  for (; i + 16 <= count; i += 16)
    for (int j = 0; j < 16; ++j) pixels[i + j] = filter(pixels[i + j], t[j]);
  for (; i < count; ++i) pixels[i] = filter(pixels[i], t[i & 15]);
}

void TQorvelPaletteColorFilter::ApplyFilter(TPixel& pixel, int x, int y) const {
  const int r = Red(pixel), g = Green(pixel), b = Blue(pixel);
  TPixel nearest = Palette[static_cast<std::size_t>(NearestPaletteEntry(r, g, b))];
  if ((pixel & 0x00FFFFFFu) == nearest) {
    pixel = nearest;
    return;
  }
  // Over a 4 x 4 tile k runs 0 1 2 3 / 6 7 4 5 / 1 0 3 2 / 7 6 5 4: every pixel of the
  // tile takes a different number of error-diffusion steps, so the tile mixes entries in
  // proportion to how far the colour lies from each.
  int k = (x ^ y) & 3;
  if ((y & 1) != 0) k = 7 - k;
  if ((y & 2) != 0) k ^= 3;
  int er = 0, eg = 0, eb = 0;
  for (int step = 0; step < k; ++step) {
    er += r - Red(nearest);
    eg += g - Green(nearest);
    eb += b - Blue(nearest);
    nearest = Palette[static_cast<std::size_t>(NearestPaletteEntry(r + er, g + eg, b + eb))];
  }
  pixel = nearest;
}

void TQorvelWebSafeColorFilter::ApplyFilter(TPixel& pixel, int, int) const { pixel = WebSafePixel(pixel); }

void TQorvelWebSafeColorFilter::ApplyFilterRow(TPixel* pixels, int count, int, int) const {
  // Three table lookups per pixel measured faster than any arithmetic form of the snap.
  for (int i = 0; i < count; ++i) pixels[i] = WebSafePixel(pixels[i]);
}

const TQorvelHighColorFilter& HighColorFilter() {
  static const TQorvelHighColorFilter filter;
  return filter;
}

const TQorvelPaletteColorFilter& PaletteColorFilter() {
  static const TQorvelPaletteColorFilter filter;
  return filter;
}

const TQorvelWebSafeColorFilter& WebSafeColorFilter() {
  static const TQorvelWebSafeColorFilter filter;
  return filter;
}

const TQorvelColorFilter* DeviceColorFilter(int bitsPerPixel, int planes) {
  const long long bits = static_cast<long long>(bitsPerPixel) * planes;
  if (bits < 15) return &PaletteColorFilter();
  if (bits > 23) return nullptr;
  return &HighColorFilter();
}
