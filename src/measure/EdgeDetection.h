#pragma once
// Edge detection for the measure tool, over a still image of the screen. Portable: the tool
// hands in a pixel view of its snapshot and gets rectangles back.
//
// Colours. Two pixels (0x00RRGGBB; the top byte is ignored) differ by the largest of their
// three channel differences, 0..255. A pixel "matches" a reference colour when that
// difference is at most the tolerance; it "differs" otherwise.
//
// Spans (FindEdges). From the start pixel four walks go outward: left and right along its
// row, up and down along its column. Each steps pixel by pixel and stops before the first
// pixel that differs from its reference; that pixel is the edge and does not belong to the
// span. A walk that reaches the image's border ends there. The span counts the pixels
// between the two edges, the start included: Right - Left along the row, Bottom - Top along
// the column. The reference is
//   - the start pixel's colour (the default), so a surface is everything within the
//     tolerance of the colour under the cursor;
//   - with Continuous, a running average of the pixels walked so far: it starts at the start
//     colour and moves a quarter of the way toward each pixel the walk accepts (kept in
//     sixteenths of a level, so it creeps even when steps are small). A gradient then stays
//     one surface as long as it changes by at most a quarter of the tolerance per pixel (7
//     levels at 30): on a steady slope the average settles three pixels' worth of change
//     behind, so each new pixel lies four ahead of it. A step larger than the tolerance is
//     still an edge, and so is a soft edge that crosses the full range within about 30
//     pixels. The previous pixel alone would follow any edge blurred over ten pixels and be
//     led astray by noise; the mean of the whole run would fall ever further behind a long
//     gradient and stop in its middle.
// Narrow features (IgnoreNarrow = N > 0). When a walk meets a differing pixel it looks at the
// next N pixels: if one of them matches the reference again, the run of differing pixels
// (at most N wide) is a feature on the surface, such as a glyph's stroke inside a button, and
// the walk continues from that pixel; otherwise the edge is where the run began. A run that
// reaches the image's border is an edge too. Pixels of a skipped feature do not feed the
// continuous average. Each pixel is looked at once, plus at most N at the final edge, so the
// option costs nothing on plain surfaces. Note that a border of at most N pixels between two
// areas of the same colour is itself narrow: it is crossed.
//
// Snapping (SnapToContent). The rectangle is first clipped to the image. Its background is
// the per-channel median of the pixels along its border (outermost rows and columns), so
// content crossing less than half the border does not change it. The tolerance grows with
// the background's own noise: the difference from the background of the border pixels is
// sorted and the value three quarters of the way up is the noise (so up to a quarter of the
// border may cross content without raising it); the tolerance is the larger of
// options.Tolerance and twice that noise, at most 255. A pixel differing from the background
// by more than that tolerance is content, including the partly covered pixels of an
// anti-aliased edge that differ by that much. One content pixel makes its row or column
// content: a vertical one-pixel line puts a single content pixel in each row, and a lone
// pixel beyond a tolerance already fitted to the noise is more likely a dot than noise. Each
// side then moves inward to the outermost content row or column; the result is the smallest
// rectangle holding every content pixel. Rows are scanned from the top down to the first
// content row, from the bottom up likewise, then only the margins left and right of the
// content found so far in the rows between, so no pixel is examined twice (beyond the block
// of 32 in which a row's outermost content pixel is found). IgnoreNarrow and Continuous do
// not apply to snapping. When no pixel is content there is nothing to snap to, which the
// caller learns rather than getting the rectangle back unchanged.

#include <optional>

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
// `start` lies outside the image. Tolerance is held to 0..255, IgnoreNarrow to 0 and more.
TRect FindEdges(const TPixelView& image, TPoint start, const TEdgeOptions& options);

// The content inside `rect` (clipped to the image): each side moved inward to the outermost
// line where the content differs from the background found along the rectangle's border.
// None when nothing inside differs from that background or `rect` does not meet the image,
// so that the caller can say there was nothing to snap to.
std::optional<TRect> SnapToContent(const TPixelView& image, const TRect& rect, const TEdgeOptions& options);

// The largest of the three channel differences of two pixels, 0..255.
int ColorDifference(TPixel a, TPixel b);
