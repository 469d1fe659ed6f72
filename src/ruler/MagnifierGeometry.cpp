#include "ruler/MagnifierGeometry.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

constexpr TPixel ColorBits = 0x00FFFFFFu;

// Fills each row of `clip` from the captured pixel under it, and copies rows that show the
// same captured row as the one above instead of building them again.
void Enlarge(const TPixelView& frame, const TRect& image, int zoom, const TPixelView& capture, bool invert,
             const TRect& clip) {
  const TPixel flip = invert ? ColorBits : 0u;
  int builtSourceRow = -1;
  for (int y = clip.Top; y < clip.Bottom; ++y) {
    TPixel* row = frame.Row(y);
    const int sourceRow = (y - image.Top) / zoom;
    if (sourceRow == builtSourceRow) {
      std::memcpy(row + clip.Left, frame.Row(y - 1) + clip.Left,
                  static_cast<std::size_t>(clip.Width()) * sizeof(TPixel));
      continue;
    }
    // One division per row; after it the squares follow each other every `zoom` pixels.
    const TPixel* source = capture.Row(sourceRow) + (clip.Left - image.Left) / zoom;
    if (zoom == 1) {  // a plain copy, which the compiler can vectorise
      for (int x = clip.Left; x < clip.Right; ++x) row[x] = (*source++ ^ flip) & ColorBits;
      builtSourceRow = sourceRow;
      continue;
    }
    int runEnd = std::min(clip.Right, image.Left + ((clip.Left - image.Left) / zoom + 1) * zoom);
    for (int x = clip.Left; x < clip.Right; runEnd = std::min(clip.Right, runEnd + zoom)) {
      const TPixel pixel = (*source++ ^ flip) & ColorBits;
      while (x < runEnd) row[x++] = pixel;
    }
    builtSourceRow = sourceRow;
  }
}

void AddIfNotEmpty(std::vector<TRect>& rects, const TRect& r) {
  if (!r.Empty()) rects.push_back(r);
}

}  // namespace

int ClampMagnifierZoom(int zoom) { return std::clamp(zoom, MinMagnifierZoom, MaxMagnifierZoom); }

int ClampMagnifierBorderWidth(int width) { return std::clamp(width, 0, MaxMagnifierBorderWidth); }

TQorvelDesktopMagnifierCrossHairs CrossHairsFromIndex(int index) {
  if (index < 0 || index > static_cast<int>(TQorvelDesktopMagnifierCrossHairs::pmcSmallCross))
    return TQorvelDesktopMagnifierCrossHairs::pmcNone;
  return static_cast<TQorvelDesktopMagnifierCrossHairs>(index);
}

TMagnifierGeometry MagnifierGeometry(int width, int height, int zoom, int borderWidth, TPoint target) {
  zoom = ClampMagnifierZoom(zoom);
  borderWidth = ClampMagnifierBorderWidth(borderWidth);
  // Enough pixels to fill the inside of the border, rounded up to an odd count; the
  // division truncates toward zero, like the rounding the image offsets use below.
  const auto span = [&](int extent) { return std::max(1, (extent - 2 * borderWidth + zoom - 1) / (2 * zoom) * 2 + 1); };
  TMagnifierGeometry g;
  g.Columns = span(width);
  g.Rows = span(height);
  g.Source = {target.X - g.Columns / 2, target.Y - g.Rows / 2, 0, 0};
  g.Source.Right = g.Source.Left + g.Columns;
  g.Source.Bottom = g.Source.Top + g.Rows;
  const int imageWidth = zoom * g.Columns, imageHeight = zoom * g.Rows;
  g.Image.Left = (width - imageWidth) / 2;
  g.Image.Top = (height - imageHeight) / 2;
  g.Image.Right = g.Image.Left + imageWidth;
  g.Image.Bottom = g.Image.Top + imageHeight;
  g.ShowsImage = width > 2 * borderWidth && height > 2 * borderWidth;
  return g;
}

TPoint ScreenToMagnified(const TMagnifierGeometry& geometry, int zoom, TPoint screen) {
  zoom = ClampMagnifierZoom(zoom);
  return {(screen.X - geometry.Source.Left) * zoom + geometry.Image.Left,
          (screen.Y - geometry.Source.Top) * zoom + geometry.Image.Top};
}

TRect OwnImageRect(const TMagnifierGeometry& geometry, const TMagnifierFrameInput& input) {
  const int zoom = ClampMagnifierZoom(input.Zoom);
  const int border = ClampMagnifierBorderWidth(input.BorderWidth);
  const TPoint topLeft =
      ScreenToMagnified(geometry, zoom, {input.ControlOnScreen.Left + border, input.ControlOnScreen.Top + border});
  return {topLeft.X, topLeft.Y, topLeft.X + (input.Width - 2 * border) * zoom,
          topLeft.Y + (input.Height - 2 * border) * zoom};
}

void ComposeMagnifiedImage(const TPixelView& frame, const TMagnifierFrameInput& input, const TPixelView& capture) {
  const int zoom = ClampMagnifierZoom(input.Zoom);
  const TMagnifierGeometry g = MagnifierGeometry(input.Width, input.Height, zoom, input.BorderWidth, input.Target);
  const TRect shown = g.ShowsImage ? IntersectRect(g.Image, frame.Bounds()) : TRect{};
  if (!shown.Empty() && (capture.Width() < g.Columns || capture.Height() < g.Rows))
    throw std::invalid_argument("The captured screen area is smaller than the magnified area.");
  if (shown.Empty()) {
    frame.Fill(frame.Bounds(), input.Fill);
  } else {
    // Around the image (under the border, where its rounding leaves a pixel free).
    frame.Fill({0, 0, frame.Width(), shown.Top}, input.Fill);
    frame.Fill({0, shown.Bottom, frame.Width(), frame.Height()}, input.Fill);
    frame.Fill({0, shown.Top, shown.Left, shown.Bottom}, input.Fill);
    frame.Fill({shown.Right, shown.Top, frame.Width(), shown.Bottom}, input.Fill);
    Enlarge(frame, g.Image, zoom, capture, input.InvertColors, shown);
  }
  frame.Fill(OwnImageRect(g, input), input.Fill);
}

std::vector<TRect> CrossHairRects(TQorvelDesktopMagnifierCrossHairs style, int width, int height, int borderWidth,
                                  int zoom) {
  const int b = ClampMagnifierBorderWidth(borderWidth), z = ClampMagnifierZoom(zoom);
  // The middle of the target's square. That is the control's centre pixel except at zoom 1
  // in a control of even size, where the centre is the neighbour of the target pixel.
  const TPoint square = ScreenToMagnified(MagnifierGeometry(width, height, z, b, {0, 0}), z, {0, 0});
  const int cx = square.X + z / 2, cy = square.Y + z / 2;
  std::vector<TRect> rects;
  switch (style) {
    case TQorvelDesktopMagnifierCrossHairs::pmcOpenCross:
      AddIfNotEmpty(rects, {cx, b, cx + 1, cy - z});
      AddIfNotEmpty(rects, {cx, cy + z + 1, cx + 1, height - b});
      AddIfNotEmpty(rects, {b, cy, cx - z, cy + 1});
      AddIfNotEmpty(rects, {cx + z + 1, cy, width - b, cy + 1});
      break;
    case TQorvelDesktopMagnifierCrossHairs::pmcContinuousCross:
      AddIfNotEmpty(rects, {cx, b, cx + 1, height - b});
      AddIfNotEmpty(rects, {b, cy, width - b, cy + 1});
      break;
    case TQorvelDesktopMagnifierCrossHairs::pmcSmallCross:
      AddIfNotEmpty(rects, {cx, cy - z, cx + 1, cy + z + 1});
      AddIfNotEmpty(rects, {cx - z, cy, cx + z + 1, cy + 1});
      break;
    case TQorvelDesktopMagnifierCrossHairs::pmcNone: break;
  }
  return rects;
}

std::vector<TRect> SampledSquareRects(int width, int height, int borderWidth, int zoom, int sampleSize) {
  if (sampleSize != 3 && sampleSize != 5) return {};
  const int b = ClampMagnifierBorderWidth(borderWidth), z = ClampMagnifierZoom(zoom);
  const TPoint square = ScreenToMagnified(MagnifierGeometry(width, height, z, b, {0, 0}), z, {0, 0});
  const int reach = sampleSize / 2 * z;
  const TRect outline{square.X - reach - 1, square.Y - reach - 1, square.X + z + reach + 1, square.Y + z + reach + 1};
  const TRect inside{b, b, width - b, height - b};
  std::vector<TRect> rects;
  for (const TRect& stroke : {TRect{outline.Left, outline.Top, outline.Right, outline.Top + 1},
                              TRect{outline.Left, outline.Bottom - 1, outline.Right, outline.Bottom},
                              TRect{outline.Left, outline.Top, outline.Left + 1, outline.Bottom},
                              TRect{outline.Right - 1, outline.Top, outline.Right, outline.Bottom}}) {
    const TRect clipped{std::max(stroke.Left, inside.Left), std::max(stroke.Top, inside.Top),
                        std::min(stroke.Right, inside.Right), std::min(stroke.Bottom, inside.Bottom)};
    AddIfNotEmpty(rects, clipped);
  }
  return rects;
}

void DrawMagnifierOverlay(const TPixelView& frame, const TMagnifierFrameInput& input) {
  for (const TRect& stroke : CrossHairRects(input.CrossHairs, input.Width, input.Height, input.BorderWidth, input.Zoom))
    frame.Fill(stroke, input.Border);
  for (const TRect& stroke :
       SampledSquareRects(input.Width, input.Height, input.BorderWidth, input.Zoom, input.SampleSize))
    frame.Fill(stroke, input.Border);
  const int border = ClampMagnifierBorderWidth(input.BorderWidth);
  const int w = input.Width, h = input.Height;
  for (int i = 0; i < border; ++i) {
    const TRect r{i, i, w - i, h - i};
    if (r.Empty()) break;
    frame.Fill({r.Left, r.Top, r.Right, r.Top + 1}, input.Border);
    frame.Fill({r.Left, r.Bottom - 1, r.Right, r.Bottom}, input.Border);
    frame.Fill({r.Left, r.Top, r.Left + 1, r.Bottom}, input.Border);
    frame.Fill({r.Right - 1, r.Top, r.Right, r.Bottom}, input.Border);
  }
}

std::wstring MagnifierIndicatorText(TQorvelDesktopMagnifierIndicator indicator, const std::wstring& caption,
                                    TPoint target, TColor targetColor, int zoom) {
  switch (indicator) {
    case TQorvelDesktopMagnifierIndicator::pmiCaption: return caption;
    case TQorvelDesktopMagnifierIndicator::pmiCursorPos:
      return std::to_wstring(target.X) + L" / " + std::to_wstring(target.Y);
    case TQorvelDesktopMagnifierIndicator::pmiHexCode: {
      if (targetColor == NoTargetColor) return L"";
      static constexpr wchar_t Digits[] = L"0123456789ABCDEF";
      std::wstring text;
      for (int shift : {0, 8, 16}) {  // red, green, blue
        const unsigned byte = (targetColor >> shift) & 0xFFu;
        text += Digits[byte >> 4];
        text += Digits[byte & 0xFu];
      }
      return text;
    }
    case TQorvelDesktopMagnifierIndicator::pmiZoom: return std::to_wstring(zoom) + L"x";
    case TQorvelDesktopMagnifierIndicator::pmiNone: break;
  }
  return L"";
}

TPoint CornerTextOrigin(TQorvelDesktopMagnifierCorner corner, int width, int height, int borderWidth, int textWidth,
                        int textHeight) {
  const int b = ClampMagnifierBorderWidth(borderWidth);
  const int left = b + 1, right = width - textWidth - b - 1;
  const int top = b, bottom = height - textHeight - b;
  switch (corner) {
    case TQorvelDesktopMagnifierCorner::TopLeft: return {left, top};
    case TQorvelDesktopMagnifierCorner::TopRight: return {right, top};
    case TQorvelDesktopMagnifierCorner::BottomLeft: return {left, bottom};
    case TQorvelDesktopMagnifierCorner::BottomRight: return {right, bottom};
  }
  return {left, top};
}

bool TMagnifierRefreshRule::SetInterval(int milliseconds) {
  milliseconds = std::clamp(milliseconds, MinInterval, MaxInterval);
  if (milliseconds == FInterval) return false;
  FInterval = milliseconds;
  FIntervalForce = std::max(FIntervalForce, FInterval);
  return true;
}

void TMagnifierRefreshRule::SetIntervalForce(int milliseconds) { FIntervalForce = std::max(milliseconds, FInterval); }

bool TMagnifierRefreshRule::Tick(TPoint cursor, TPoint target, std::uint32_t now) {
  const bool moved = cursor != target;
  // Unsigned subtraction gives the elapsed time across a wrap of the tick count.
  const bool due = moved || FMoved || FIntervalForce <= FInterval || !FLastRefresh ||
                   now - *FLastRefresh >= static_cast<std::uint32_t>(FIntervalForce);
  if (due) FLastRefresh = now;
  FMoved = moved;
  return due;
}

TPoint PlaceMagnifierWindow(const TRect& window, TPoint anchor, TPoint avoid, bool initial, const TRect& workArea) {
  constexpr int Offset = 16, Margin = 8, Reach = 10;
  const int w = window.Width(), h = window.Height();
  int x = window.Left, y = window.Top;
  if (initial) {
    x = anchor.X + Offset;
    y = anchor.Y + Offset;
  }
  // A window near the mouse goes to the other side of the anchor, away from it.
  const auto dodge = [&] {
    const bool inReach =
        !(avoid.X + Reach < x) && !(avoid.Y + Reach < y) && !(x + w < avoid.X - Reach) && !(y + h < avoid.Y - Reach);
    if (!inReach) return;
    x = avoid.X < anchor.X ? anchor.X + Offset : anchor.X - Offset - w;
    y = anchor.Y > avoid.Y ? anchor.Y + Offset : anchor.Y - Offset - h;
  };
  dodge();
  if (x < workArea.Left + Margin)
    x = anchor.X + Offset;
  else if (x + w > workArea.Right - Margin)
    x = anchor.X - Offset - w;
  if (y < workArea.Top + Margin)
    y = anchor.Y + Offset;
  else if (y + h > workArea.Bottom - Margin)
    y = anchor.Y - Offset - h;
  dodge();
  return {x, y};
}
