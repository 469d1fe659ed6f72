#pragma once
// Portable rules of the colour picker window.

#include "base/QorvelTypes.h"

// The window's first-start place: the bottom-right corner of the work area, 8 pixels from
// both edges (the coordinates window goes directly above it).
TPoint DefaultColorFormPlace(const TRect& workArea, int windowWidth, int windowHeight);
