#pragma once
// Pixels between GDI and the portable core: composed pixels onto the screen in one
// SetDIBitsToDevice per paint, and a bitmap both GDI and the core draw into.

#include <windows.h>

#include "base/PixelBuffers.h"
#include "gui/Handles.h"

// The description of a top-down 32-bit bitmap (the layout of a TPixelView), for DIB
// sections and DIB copies alike.
BITMAPINFO TopDownDib32Info(int width, int height);

// Copies `part` of `pixels` to the device context with its top-left at (destX + part.Left,
// destY + part.Top).
void BlitPixels(HDC dc, int destX, int destY, const TPixelView& pixels, const TRect& part);

inline TRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// A 32-bit top-down bitmap selected into its own memory DC: GDI draws into it through the
// DC and the core writes its pixels through View(). Kept between paints so that a refresh
// allocates nothing; call GdiFlush before touching the pixels after GDI drew.
class TDibSurface {
 public:
  TDibSurface() = default;
  TDibSurface(const TDibSurface&) = delete;
  TDibSurface& operator=(const TDibSurface&) = delete;
  ~TDibSurface();

  // Makes the surface width × height (at least 1 × 1); its pixels are undefined after a change.
  // Throws std::runtime_error when GDI has no room for it.
  void Resize(int width, int height);
  HDC DC() const { return FDC.Get(); }
  const TPixelView& View() const { return FView; }

 private:
  TMemoryDC FDC;
  TBitmapHandle FBitmap;
  HGDIOBJ FInitialBitmap = nullptr;
  TPixelView FView;
};
