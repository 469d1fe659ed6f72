#pragma once
// Getting composed pixels onto the screen: one SetDIBitsToDevice per paint.

#include <windows.h>

#include "base/PixelBuffers.h"

// The description of a top-down 32-bit bitmap (the layout of a TPixelView), for DIB
// sections and DIB copies alike.
BITMAPINFO TopDownDib32Info(int width, int height);

// Copies `part` of `pixels` to the device context with its top-left at (destX + part.Left,
// destY + part.Top).
void BlitPixels(HDC dc, int destX, int destY, const TPixelView& pixels, const TRect& part);

inline TRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
