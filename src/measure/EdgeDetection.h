#pragma once
// Edge detection for the measure tool, over a still image of the screen. Portable: the tool
// hands in a pixel view of its snapshot and gets rectangles back.
//
// (The rules, in full, are written here by the module's author.)

#include "base/PixelBuffers.h"

struct TEdgeOptions {
  int Tolerance = 30;       // the largest channel difference (0..255) that is still the same surface
  bool Continuous = false;  // compare each pixel with the run walked so far instead of the start colour
  int IgnoreNarrow = 0;     // a feature this many pixels wide or narrower does not stop a walk (0: all do)
};

// The surface around `start`, walked outward along its row and its column: Left..Right-1
// are the pixels of the start's row that belong to it, Top..Bottom-1 those of its column. A
// walk that meets no edge ends at the image's border. Inside a 300 x 120 button of one
// colour the result is the button: Width() 300, Height() 120. An empty rectangle when
// `start` lies outside the image.
TRect FindEdges(const TPixelView& image, TPoint start, const TEdgeOptions& options);

// The content inside `rect` (clipped to the image): each side moved inward to the outermost
// line where the content differs from the background found along the rectangle's border.
// `rect` itself when nothing inside differs from that background.
TRect SnapToContent(const TPixelView& image, const TRect& rect, const TEdgeOptions& options);
