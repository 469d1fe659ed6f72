#pragma once
// Pixels read back from the screen, from a window's paint and from any drawing, as
// 0x00RRGGBB values that compare with the toolkit's pictures.
#include <windows.h>

#include <functional>

#include "base/PixelBuffers.h"

// What `draw` paints into a cleared width × height bitmap.
TPixelBuffer DrawnPixels(int width, int height, const std::function<void(HDC)>& draw);

// What the screen shows in `area`, read the way a screenshot reads it.
TPixelBuffer ReadScreen(const RECT& area);

// What `window` paints for WM_PRINTCLIENT: its client area, or its top-left width × height.
TPixelBuffer PrintClient(HWND window);
TPixelBuffer PrintClient(HWND window, int width, int height);
