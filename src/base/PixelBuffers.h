#pragma once
// 32-bit pixel surfaces for off-screen composition. Pixels are 0x00RRGGBB (blue in the
// low byte, the order of a top-down 32-bit DIB), rows top to bottom without padding.
// TPixelBuffer owns its pixels; TPixelView looks at pixels owned elsewhere, so drawing
// code takes a view and never cares who allocated the memory.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/Geometry.h"

using TPixel = std::uint32_t;

// Sets `count` pixels to `p`. Eight at a time through a fixed-size copy, which compilers
// turn into wide stores; a plain loop over the pixels is left a pixel at a time at the
// optimisation levels the program is built with.
inline void FillPixels(TPixel* pixels, int count, TPixel p) {
  std::array<TPixel, 8> block;
  block.fill(p);
  if (count < 8) {
    for (; count > 0; --count) *pixels++ = p;
    return;
  }
  // The last block may overlap the one before it: no pixel-by-pixel tail.
  TPixel* const last = pixels + count - 8;
  for (; pixels < last; pixels += 8) std::memcpy(pixels, block.data(), sizeof block);
  std::memcpy(last, block.data(), sizeof block);
}

class TPixelView {
 public:
  TPixelView() = default;
  TPixelView(TPixel* pixels, int width, int height) : FPixels(pixels), FWidth(width), FHeight(height) {}

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TPixel* Data() const { return FPixels; }
  TPixel* Row(int y) const { return FPixels + static_cast<std::ptrdiff_t>(y) * FWidth; }
  TRect Bounds() const { return {0, 0, FWidth, FHeight}; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }

  TPixel At(int x, int y) const { return Row(y)[x]; }
  void Set(int x, int y, TPixel p) const {
    if (Contains(x, y)) Row(y)[x] = p;
  }
  // Fills the part of `r` that lies inside the view.
  void Fill(const TRect& r, TPixel p) const {
    const TRect c = IntersectRect(r, Bounds());
    for (int y = c.Top; y < c.Bottom; ++y) FillPixels(Row(y) + c.Left, c.Width(), p);
  }

 private:
  TPixel* FPixels = nullptr;
  int FWidth = 0;
  int FHeight = 0;
};

class TPixelBuffer {
 public:
  TPixelBuffer() = default;
  TPixelBuffer(int width, int height, TPixel fill = 0) { Resize(width, height, fill); }

  void Resize(int width, int height, TPixel fill = 0) {
    FWidth = std::max(width, 0);
    FHeight = std::max(height, 0);
    FPixels.assign(static_cast<std::size_t>(FWidth) * FHeight, fill);
  }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TPixelView View() { return {FPixels.data(), FWidth, FHeight}; }
  TPixel At(int x, int y) const { return FPixels[static_cast<std::size_t>(y) * FWidth + x]; }
  const TPixel* Row(int y) const { return FPixels.data() + static_cast<std::ptrdiff_t>(y) * FWidth; }

 private:
  std::vector<TPixel> FPixels;
  int FWidth = 0;
  int FHeight = 0;
};
