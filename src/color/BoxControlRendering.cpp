#include "color/BoxControlRendering.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "ruler/QorvelColorUtils.h"

TColor ResolveColor(TColor color, const TColorResolver& resolve) {
  if (!IsSystemColor(color)) return color;
  if (!resolve) throw std::invalid_argument("A system colour needs a colour resolver to be drawn");
  return resolve(color) & 0x00FFFFFFu;
}

TBoxPaintBuffer::TBoxPaintBuffer(int clientWidth, int clientHeight, const TRect& clip)
    : FArea(IntersectRect(clip, {0, 0, std::max(clientWidth, 0), std::max(clientHeight, 0)})),
      FPixels(FArea.Width(), FArea.Height()) {}

void BlendPixel(const TBoxCanvas& canvas, int x, int y, int alpha, TColor color) {
  if (TPixel* p = canvas.PixelAt(x, y)) *p = MixColors(*p, ColorToPixel(color), alpha);
}

void HorzLine(const TBoxCanvas& canvas, int x1, int x2, int y, TColor color) {
  if (x2 < x1) std::swap(x1, x2);
  const TRect run = IntersectRect({x1, y, x2 + 1, y + 1}, canvas.Area());
  if (!run.Empty()) std::fill_n(canvas.RowAt(run.Left, y), run.Width(), ColorToPixel(color));
}

void VertLine(const TBoxCanvas& canvas, int x, int y1, int y2, TColor color) {
  if (y2 < y1) std::swap(y1, y2);
  const TRect run = IntersectRect({x, y1, x + 1, y2 + 1}, canvas.Area());
  const TPixel pixel = ColorToPixel(color);
  for (int y = run.Top; y < run.Bottom; ++y) *canvas.RowAt(x, y) = pixel;
}

void FillBox(const TBoxCanvas& canvas, const TRect& rect, const TQorvelColorFilter* filter, int opacity, TPixel color) {
  const TRect r = IntersectRect(rect, canvas.Area());
  if (r.Empty()) return;
  opacity = std::clamp(opacity, 0, 256);
  color &= 0x00FFFFFFu;
  // The two squares of the checkerboard each get one mixed colour.
  const TPixel light = opacity == 256 ? color : MixColors(0xFFFFFFu, color, opacity);
  const TPixel dark = opacity == 256 ? color : MixColors(0xBFBFBFu, color, opacity);
  for (int y = r.Top; y < r.Bottom; ++y) {
    TPixel* row = canvas.RowAt(r.Left, y);
    const int squareRow = y >> 3;  // floor division, so squares stay 8 wide left of 0 too
    if (filter == nullptr && light == dark) {
      std::fill_n(row, r.Width(), light);
      continue;
    }
    for (int x = r.Left; x < r.Right; ++x) row[x - r.Left] = (((x >> 3) + squareRow) & 1) == 0 ? light : dark;
    if (filter != nullptr) filter->ApplyFilterRow(row, r.Width(), r.Left, y);
  }
}

namespace {

void RectFrame(const TBoxCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
  HorzLine(canvas, r.Left, r.Right - 1, r.Top, topLeft);
  if (r.Height() > 2) {
    VertLine(canvas, r.Left, r.Top + 1, r.Bottom - 2, topLeft);
    VertLine(canvas, r.Right - 1, r.Top + 1, r.Bottom - 2, bottomRight);
  }
  if (r.Height() > 1) HorzLine(canvas, r.Left, r.Right - 1, r.Bottom - 1, bottomRight);
}

// Softens one corner: the corner pixel mostly toward the parent, its two neighbours on
// the edges a little, and the inner diagonal pixel a little toward the frame, which
// together read as a rounded corner of radius about 2.
void RoundCorner(const TBoxCanvas& canvas, int x, int y, int dx, int dy, TColor border, TColor parent) {
  BlendPixel(canvas, x, y, 224, parent);
  BlendPixel(canvas, x + dx, y, 96, parent);
  BlendPixel(canvas, x, y + dy, 96, parent);
  BlendPixel(canvas, x + dx, y + dy, 96, border);
}

}  // namespace

void DrawBoxFrame(const TBoxCanvas& canvas, const TRect& rect, TColor border, TColor parent, TQorvelBoxControlLook look,
                  const TColorResolver& resolve) {
  if (rect.Empty()) return;
  switch (look) {
    case TQorvelBoxControlLook::pclRect:
    case TQorvelBoxControlLook::pclRoundedRect: {
      const TColor c = ResolveColor(border, resolve);
      RectFrame(canvas, rect, c, c);
      if (look == TQorvelBoxControlLook::pclRect) return;
      const TColor p = ResolveColor(parent, resolve);
      const int right = rect.Right - 1, bottom = rect.Bottom - 1;
      RoundCorner(canvas, rect.Left, rect.Top, 1, 1, c, p);
      RoundCorner(canvas, right, rect.Top, -1, 1, c, p);
      RoundCorner(canvas, rect.Left, bottom, 1, -1, c, p);
      RoundCorner(canvas, right, bottom, -1, -1, c, p);
      return;
    }
    case TQorvelBoxControlLook::pclLowered:
    case TQorvelBoxControlLook::pclRaised: {
      TColor shadow = ResolveColor(clBtnShadow, resolve), highlight = ResolveColor(clBtnHighlight, resolve);
      if (look == TQorvelBoxControlLook::pclRaised) std::swap(shadow, highlight);
      RectFrame(canvas, rect, shadow, highlight);
      return;
    }
  }
}
