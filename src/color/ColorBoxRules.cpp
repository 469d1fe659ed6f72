#include "color/ColorBoxRules.h"

TColorBoxGeometry ColorBoxGeometry(int width, int height, int glyphWidth, int glyphHeight) {
  TColorBoxGeometry g;
  const int eyedropperTop = (height - EyedropperSize) / 2;
  g.Eyedropper = {4, eyedropperTop, 4 + EyedropperSize, eyedropperTop + EyedropperSize};
  const int glyphLeft = width - glyphWidth - 4, glyphTop = (height - glyphHeight) / 2;
  g.Glyph = {glyphLeft, glyphTop, glyphLeft + glyphWidth, glyphTop + glyphHeight};
  g.Face = {1, 1, width, height};
  return g;
}

TColorBoxZone ColorBoxZoneAt(const TColorBoxGeometry& geometry, TQorvelColorBoxOptions options, int x, int y) {
  // The box is the face rectangle grown by the one-pixel frame at the top and left.
  if (x < 0 || y < 0 || x >= geometry.Face.Right || y >= geometry.Face.Bottom) return TColorBoxZone::czNone;
  if (options.Contains(TQorvelColorBoxOption::pcbEyedropper) && geometry.Eyedropper.Contains(x, y))
    return TColorBoxZone::czEyedropper;
  if (options.Contains(TQorvelColorBoxOption::pcbContextGlyph) && geometry.Glyph.Contains(x, y))
    return TColorBoxZone::czGlyph;
  return TColorBoxZone::czFace;
}

std::array<TCornerMark, 4> EyedropperCornerMarks(const TRect& e) {
  const int l = e.Left, t = e.Top, r = e.Right, b = e.Bottom;
  return {{{{{l, t + 2}, {l, t}, {l + 3, t}}},
           {{{r - 1, t + 2}, {r - 1, t}, {r - 4, t}}},
           {{{l, b - 4}, {l, b - 1}, {l + 3, b - 1}}},
           {{{r - 1, b - 4}, {r - 1, b - 1}, {r - 4, b - 1}}}}};
}

void DrawDottedFrame(const TBoxCanvas& canvas, const TRect& rect, TPixel color) {
  if (rect.Empty()) return;
  auto dot = [&](int x, int y) {
    if (((x + y) & 1) != 0) return;
    if (TPixel* p = canvas.PixelAt(x, y)) *p = color;
  };
  for (int x = rect.Left; x < rect.Right; ++x) {
    dot(x, rect.Top);
    dot(x, rect.Bottom - 1);
  }
  for (int y = rect.Top + 1; y < rect.Bottom - 1; ++y) {
    dot(rect.Left, y);
    dot(rect.Right - 1, y);
  }
}

TColorBoxAction TColorBoxMouse::MouseDown(bool leftButton, TColorBoxZone zone) {
  // Any click while picking, another button included, ends the pick without taking it.
  if (Picking()) {
    FPressedZone = TColorBoxZone::czNone;
    return TColorBoxAction::CancelPicking;
  }
  if (!leftButton || zone == TColorBoxZone::czNone) return TColorBoxAction::None;
  FPressedZone = zone;
  return zone == TColorBoxZone::czEyedropper ? TColorBoxAction::StartPicking : TColorBoxAction::None;
}

bool TColorBoxMouse::MouseMove(TColorBoxZone zone) {
  if (zone == FHotZone) return false;
  FHotZone = zone;
  return true;
}

TColorBoxAction TColorBoxMouse::MouseUp(bool leftButton) {
  if (Picking()) {
    FPressedZone = TColorBoxZone::czNone;
    return TColorBoxAction::ApplyPicking;
  }
  TColorBoxAction action = TColorBoxAction::None;
  if (leftButton && FPressedZone == FHotZone) {
    if (FPressedZone == TColorBoxZone::czFace) action = TColorBoxAction::OpenDialog;
    if (FPressedZone == TColorBoxZone::czGlyph) action = TColorBoxAction::Popup;
  }
  FPressedZone = TColorBoxZone::czNone;
  return action;
}

bool TColorBoxMouse::MouseLeave() { return MouseMove(TColorBoxZone::czNone); }

TColorBoxAction TColorBoxMouse::Reset() {
  const bool wasPicking = Picking();
  FPressedZone = TColorBoxZone::czNone;
  return wasPicking ? TColorBoxAction::CancelPicking : TColorBoxAction::None;
}

TPoint ContextMenuPoint(TPoint requested, TPoint boxBottomLeft) {
  return requested.X == -1 && requested.Y == -1 ? boxBottomLeft : requested;
}
