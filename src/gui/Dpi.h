#pragma once
// Dialog layouts are written in 96-dpi pixels and scaled by the DPI of their window;
// the ruler and its tools work in device pixels and never scale.

#include <windows.h>

UINT WindowDpi(HWND window);   // the window's DPI, or the system DPI before it has one
UINT SystemDpi();
inline int ScaleForDpi(int value96, UINT dpi) { return ::MulDiv(value96, static_cast<int>(dpi), 96); }
