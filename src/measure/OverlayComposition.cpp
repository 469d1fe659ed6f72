#include "measure/OverlayComposition.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Drawing in desktop coordinates onto a canvas whose pixel (0, 0) is `origin`.
class TDesktopCanvas {
 public:
  TDesktopCanvas(const TClippedCanvas& canvas, TPoint origin) : FCanvas(canvas), FOrigin(origin) {}

  void Fill(const TRect& r, TPixel p) const { FCanvas.Fill(Local(r), p); }
  void Frame(const TRect& r, TPixel p) const { FCanvas.Frame(Local(r), p); }
  void Set(TPoint at, TPixel p) const {
    if (TPixel* pixel = FCanvas.PixelAt(at.X - FOrigin.X, at.Y - FOrigin.Y)) *pixel = p;
  }

 private:
  TRect Local(const TRect& r) const {
    return {r.Left - FOrigin.X, r.Top - FOrigin.Y, r.Right - FOrigin.X, r.Bottom - FOrigin.Y};
  }

  const TClippedCanvas& FCanvas;
  TPoint FOrigin;
};

void DrawLine(const TDesktopCanvas& canvas, TPoint from, TPoint to, TPixel p) {
  // Bresenham: every pixel the line passes, both ends included.
  const int dx = std::abs(to.X - from.X), dy = -std::abs(to.Y - from.Y);
  const int sx = from.X < to.X ? 1 : -1, sy = from.Y < to.Y ? 1 : -1;
  int error = dx + dy;
  for (TPoint at = from;;) {
    canvas.Set(at, p);
    if (at == to) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      at.X += sx;
    }
    if (twice <= dx) {
      error += dx;
      at.Y += sy;
    }
  }
}

void DrawCross(const TDesktopCanvas& canvas, TPoint at, int reach, TPixel p) {
  canvas.Fill({at.X - reach, at.Y, at.X + reach + 1, at.Y + 1}, p);
  canvas.Fill({at.X, at.Y - reach, at.X + 1, at.Y + reach + 1}, p);
}

void DrawMeasurement(const TDesktopCanvas& canvas, const TPlacedMeasurement& placed, const TMeasureLook& look) {
  const TMeasurement& m = placed.Measurement;
  switch (m.Mode) {
    case TMeasureMode::Spacing:
      if (m.Horizontal && !m.Box.Empty()) {
        canvas.Fill({m.Box.Left, m.From.Y, m.Box.Right, m.From.Y + 1}, look.Line);
        canvas.Fill({m.Box.Left, m.From.Y - SpanCap, m.Box.Left + 1, m.From.Y + SpanCap + 1}, look.Line);
        canvas.Fill({m.Box.Right - 1, m.From.Y - SpanCap, m.Box.Right, m.From.Y + SpanCap + 1}, look.Line);
      }
      if (m.Vertical && !m.Box.Empty()) {
        canvas.Fill({m.From.X, m.Box.Top, m.From.X + 1, m.Box.Bottom}, look.Line);
        canvas.Fill({m.From.X - SpanCap, m.Box.Top, m.From.X + SpanCap + 1, m.Box.Top + 1}, look.Line);
        canvas.Fill({m.From.X - SpanCap, m.Box.Bottom - 1, m.From.X + SpanCap + 1, m.Box.Bottom}, look.Line);
      }
      break;
    case TMeasureMode::Bounds: canvas.Frame(m.Box, look.Line); break;
    case TMeasureMode::Line: {
      const TPoint end = LineEnd(m);
      DrawLine(canvas, m.From, end, look.Line);
      DrawCross(canvas, m.From, SpanCap - 1, look.Line);
      DrawCross(canvas, end, SpanCap - 1, look.Line);
      break;
    }
  }
}

// The loupe: the snapshot around the cursor enlarged, the cursor's pixel framed, and the
// current measurement's edges marked where they fall within it.
void DrawLoupe(const TDesktopCanvas& canvas, const TOverlayScene& scene) {
  const TRect& loupe = scene.Loupe;
  canvas.Frame(loupe, scene.Look.Line);
  const int half = LoupeSpan / 2;
  for (int row = 0; row < LoupeSpan; ++row) {
    for (int column = 0; column < LoupeSpan; ++column) {
      const int x = scene.Cursor.X - half + column - scene.Origin.X, y = scene.Cursor.Y - half + row - scene.Origin.Y;
      const TPixel p = scene.Snapshot.Contains(x, y) ? scene.Snapshot.At(x, y) : 0x000000;
      const int left = loupe.Left + 1 + column * LoupeZoom, top = loupe.Top + 1 + row * LoupeZoom;
      canvas.Fill({left, top, left + LoupeZoom, top + LoupeZoom}, p);
    }
  }
  // Screen column x begins at this loupe column; edges between pixels are drawn on the
  // first column of the pixel after them.
  const auto column = [&](int x) { return loupe.Left + 1 + (x - scene.Cursor.X + half) * LoupeZoom; };
  const auto row = [&](int y) { return loupe.Top + 1 + (y - scene.Cursor.Y + half) * LoupeZoom; };
  const TRect inside{loupe.Left + 1, loupe.Top + 1, loupe.Right - 1, loupe.Bottom - 1};
  const auto vertical = [&](int x) {
    const int at = std::clamp(column(x), inside.Left, inside.Right - 1);
    if (column(x) >= inside.Left && column(x) <= inside.Right)
      canvas.Fill(IntersectRect({at, inside.Top, at + 1, inside.Bottom}, inside), scene.Look.Line);
  };
  const auto horizontal = [&](int y) {
    const int at = std::clamp(row(y), inside.Top, inside.Bottom - 1);
    if (row(y) >= inside.Top && row(y) <= inside.Bottom)
      canvas.Fill(IntersectRect({inside.Left, at, inside.Right, at + 1}, inside), scene.Look.Line);
  };
  if (scene.Current && scene.Current->Measurement.Mode != TMeasureMode::Line) {
    const TMeasurement& m = scene.Current->Measurement;
    const bool bounds = m.Mode == TMeasureMode::Bounds;
    if (bounds || m.Horizontal) {
      vertical(m.Box.Left);
      vertical(m.Box.Right);
    }
    if (bounds || m.Vertical) {
      horizontal(m.Box.Top);
      horizontal(m.Box.Bottom);
    }
  }
  // The cursor's own pixel, framed in black and white so that it shows on any colour.
  const int left = column(scene.Cursor.X), top = row(scene.Cursor.Y);
  canvas.Frame({left - 1, top - 1, left + LoupeZoom + 1, top + LoupeZoom + 1}, 0x000000);
  canvas.Frame({left, top, left + LoupeZoom, top + LoupeZoom}, 0xFFFFFF);
}

}  // namespace

void ComposeOverlay(const TPixelView& target, const TOverlayScene& scene, const TRect& clip) {
  const TRect local{clip.Left - scene.Origin.X, clip.Top - scene.Origin.Y, clip.Right - scene.Origin.X,
                    clip.Bottom - scene.Origin.Y};
  const TClippedCanvas clipped(target, local);
  const TRect area = clipped.Clip();
  if (area.Empty()) return;
  // The snapshot underneath: the target is the monitor's size, the snapshot too.
  for (int y = area.Top; y < area.Bottom; ++y) {
    if (y < scene.Snapshot.Height() && area.Left < scene.Snapshot.Width()) {
      const int width = std::min(area.Right, scene.Snapshot.Width()) - area.Left;
      std::copy_n(scene.Snapshot.Row(y) + area.Left, width, target.Row(y) + area.Left);
    }
  }
  const TDesktopCanvas canvas(clipped, scene.Origin);
  if (scene.Pins)
    for (const TPlacedMeasurement& pin : *scene.Pins) DrawMeasurement(canvas, pin, scene.Look);
  if (scene.Current) DrawMeasurement(canvas, *scene.Current, scene.Look);
  if (scene.ShowLoupe) DrawLoupe(canvas, scene);
  // Labels over everything drawn, as their texts will be.
  if (scene.Pins)
    for (const TPlacedMeasurement& pin : *scene.Pins) canvas.Fill(pin.Label, scene.Look.LabelBackground);
  if (scene.Current) canvas.Fill(scene.Current->Label, scene.Look.LabelBackground);
  canvas.Fill(scene.Note, NoteBackground);
}
