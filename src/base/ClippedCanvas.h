#pragma once
// A pixel view seen through a clip rectangle. Drawing code runs unchanged for a full paint
// and for a partial one: whatever falls outside the clip is simply not written, so a
// repaint of a small strip leaves exactly the pixels a full paint would have left there.

#include <algorithm>

#include "base/PixelBuffers.h"

class TClippedCanvas {
 public:
  TClippedCanvas(TPixelView view, const TRect& clip) : FView(view), FClip(IntersectRect(clip, view.Bounds())) {}

  const TRect& Clip() const { return FClip; }
  // The pixels underneath, for drawing code that clips by itself.
  const TPixelView& View() const { return FView; }

  void Fill(const TRect& r, TPixel p) const {
    const TRect c = IntersectRect(r, FClip);
    if (c.Width() == 1) {  // tick marks: one pixel per row, no per-row call
      for (int y = c.Top; y < c.Bottom; ++y) FView.Row(y)[c.Left] = p;
      return;
    }
    for (int y = c.Top; y < c.Bottom; ++y) FillPixels(FView.Row(y) + c.Left, c.Width(), p);
  }

  // The pixel at (x, y) for a read-modify-write, or nullptr outside the clip.
  TPixel* PixelAt(int x, int y) const { return FClip.Contains(x, y) ? FView.Row(y) + x : nullptr; }

  // The outline of `r` one pixel wide, on its outermost columns and rows (right and bottom
  // bounds exclusive), as a GDI rectangle with a hollow brush draws it.
  void Frame(const TRect& r, TPixel p) const {
    if (r.Empty()) return;
    Fill({r.Left, r.Top, r.Right, r.Top + 1}, p);
    Fill({r.Left, r.Bottom - 1, r.Right, r.Bottom}, p);
    Fill({r.Left, r.Top, r.Left + 1, r.Bottom}, p);
    Fill({r.Right - 1, r.Top, r.Right, r.Bottom}, p);
  }

 private:
  TPixelView FView;
  TRect FClip;
};
