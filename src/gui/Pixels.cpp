#include "gui/Pixels.h"

void BlitPixels(HDC dc, int destX, int destY, const TPixelView& pixels, const TPixelRect& part) {
  const TPixelRect clipped = IntersectRect(part, pixels.Bounds());
  if (clipped.Empty()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = pixels.Width();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // Hand over only the rows of the part as their own top-down bitmap: start scans of
  // top-down DIBs count from the bottom, which is easy to get wrong.
  info.bmiHeader.biHeight = -clipped.Height();
  ::SetDIBitsToDevice(dc, destX + clipped.Left, destY + clipped.Top, static_cast<DWORD>(clipped.Width()),
                      static_cast<DWORD>(clipped.Height()), clipped.Left, 0, 0, static_cast<UINT>(clipped.Height()),
                      pixels.Row(clipped.Top), &info, DIB_RGB_COLORS);
}
