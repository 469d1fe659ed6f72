#pragma once
// The portable drawing of box controls: rectangles that paint every pixel themselves into
// an off-screen 32-bit buffer and frame themselves in one of four looks.
//
// A box repaints only its clip rectangle. TBoxPaintBuffer holds pixels for just that
// rectangle and a TBoxCanvas over it speaks control coordinates, so the painting code is
// the same for a full and a partial paint and patterns (checkerboard, dithering) stay
// anchored at the control's origin. The platform layer copies Pixels() to the screen at
// Area().Left/Top in one operation.

#include <functional>

#include "color/QorvelColorFilters.h"
#include "base/PixelBuffers.h"
#include "base/QorvelTypes.h"

enum class TQorvelBoxControlLook { pclRect, pclRoundedRect, pclLowered, pclRaised };

// System colours (high byte 0x80, index in the low byte) that the box frames use.
inline constexpr TColor clBtnFace = 0x8000000Fu;
inline constexpr TColor clBtnShadow = 0x80000010u;
inline constexpr TColor clGrayText = 0x80000011u;
inline constexpr TColor clBtnHighlight = 0x80000014u;

// Turns a system colour into RGB; the platform layer passes the system's table.
using TColorResolver = std::function<TColor(TColor)>;

// `color` itself when it is an ordinary colour, else resolve(color). A system colour
// without a resolver is a caller error: std::invalid_argument.
TColor ResolveColor(TColor color, const TColorResolver& resolve);

// Pixels of a buffer addressed in control coordinates: buffer pixel (0, 0) is control
// point (OriginX, OriginY). Writes outside the buffer's area are dropped.
class TBoxCanvas {
 public:
  TBoxCanvas(TPixelView view, int originX, int originY)
      : FView(view), FArea{originX, originY, originX + view.Width(), originY + view.Height()} {}

  // The control rectangle the buffer covers.
  const TRect& Area() const { return FArea; }
  TPixel* PixelAt(int x, int y) const {
    return FArea.Contains(x, y) ? FView.Row(y - FArea.Top) + (x - FArea.Left) : nullptr;
  }
  // The first pixel of control row y at control column x, for runs known to lie inside.
  TPixel* RowAt(int x, int y) const { return FView.Row(y - FArea.Top) + (x - FArea.Left); }

 private:
  TPixelView FView;
  TRect FArea;
};

// The off-screen buffer of one paint: the clip rectangle bounded to the client area.
class TBoxPaintBuffer {
 public:
  TBoxPaintBuffer(int clientWidth, int clientHeight, const TRect& clip);

  const TRect& Area() const { return FArea; }
  bool Empty() const { return FArea.Empty(); }
  TBoxCanvas Canvas() { return {FPixels.View(), FArea.Left, FArea.Top}; }
  TPixelView Pixels() { return FPixels.View(); }

 private:
  TRect FArea;
  TPixelBuffer FPixels;
};

// Moves the pixel at (x, y) alpha/256 of the way toward `color` (a TColor), per channel,
// truncating toward zero. Alpha outside 0..256 counts as the nearest end.
void BlendPixel(const TBoxCanvas& canvas, int x, int y, int alpha, TColor color);

// Lines from one end to the other inclusive, in either order; `color` is a TColor.
void HorzLine(const TBoxCanvas& canvas, int x1, int x2, int y, TColor color);
void VertLine(const TBoxCanvas& canvas, int x, int y1, int y2, TColor color);

// Fills `rect` with `color` (a pixel, 0x00RRGGBB). Opacity 256 paints the colour itself;
// less mixes it over a checkerboard of 8-pixel squares (255 and 191 gray, the square at
// the control's origin light), so that translucency shows. Opacity is clamped to 0..256.
// The filter, when given, sees every pixel at its control position.
void FillBox(const TBoxCanvas& canvas, const TRect& rect, const TQorvelColorFilter* filter, int opacity, TPixel color);

// The 1-pixel frame of `rect` (right and bottom exclusive) in one of the four looks:
// a plain rectangle in `border`, the same with corners blended toward `parent`, or a
// lowered / raised edge in the button shadow and highlight colours.
void DrawBoxFrame(const TBoxCanvas& canvas, const TRect& rect, TColor border, TColor parent, TQorvelBoxControlLook look,
                  const TColorResolver& resolve = {});
