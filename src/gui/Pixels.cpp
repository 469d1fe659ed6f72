#include "gui/Pixels.h"

#include <algorithm>
#include <stdexcept>

BITMAPINFO TopDownDib32Info(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

void BlitPixels(HDC dc, int destX, int destY, const TPixelView& pixels, const TRect& part) {
  const TRect clipped = IntersectRect(part, pixels.Bounds());
  if (clipped.Empty()) return;
  // Hand over only the rows of the part as their own top-down bitmap: start scans of
  // top-down DIBs count from the bottom, which is easy to get wrong.
  BITMAPINFO info = TopDownDib32Info(pixels.Width(), clipped.Height());
  ::SetDIBitsToDevice(dc, destX + clipped.Left, destY + clipped.Top, static_cast<DWORD>(clipped.Width()),
                      static_cast<DWORD>(clipped.Height()), clipped.Left, 0, 0, static_cast<UINT>(clipped.Height()),
                      pixels.Row(clipped.Top), &info, DIB_RGB_COLORS);
}

TDibSurface::~TDibSurface() {
  if (FDC && FInitialBitmap) ::SelectObject(FDC.Get(), FInitialBitmap);
}

void TDibSurface::Resize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (FBitmap && FView.Width() == width && FView.Height() == height) return;
  if (!FDC) {
    FDC.Reset(::CreateCompatibleDC(nullptr));
    if (!FDC) throw std::runtime_error("Cannot create a memory device context.");
  }
  const BITMAPINFO info = TopDownDib32Info(width, height);
  void* bits = nullptr;
  TBitmapHandle bitmap(::CreateDIBSection(FDC.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) throw std::runtime_error("Cannot create an off-screen bitmap.");
  const HGDIOBJ previous = ::SelectObject(FDC.Get(), bitmap.Get());
  if (!FInitialBitmap) FInitialBitmap = previous;
  FBitmap = std::move(bitmap);  // the old one, now deselected, is deleted here
  FView = TPixelView(static_cast<TPixel*>(bits), width, height);
}
