#include "color/ColorDialogBoxes.h"

#include <algorithm>
#include <utility>

#include "ruler/QorvelColorUtils.h"

namespace {

constexpr TColor Black = 0x000000;

constexpr const char* SetGlyphArt[SetGlyphHeight] = {
    "........", "........", "........", "........",  //
    "...#....", "...##...", "...###..", "#######.",  //
    "#######.", "...###..", "...##...", "...#....",  //
    "........", "........", "........", "........",
};

TPixel ResolvedPixel(TColor color, const TColorResolver& resolve) { return ColorToPixel(ResolveColor(color, resolve)); }

}  // namespace

TPoint CenteredText(const TRect& area, int textWidth, int textHeight) {
  return {area.Left + (area.Width() - textWidth) / 2, area.Top + (area.Height() - textHeight) / 2};
}

// --- preview ---------------------------------------------------------------------------

bool TColorPreviewModel::SetColor(TColor color) { return std::exchange(FColor, color) != color; }
bool TColorPreviewModel::SetInitialColor(TColor color) { return std::exchange(FInitialColor, color) != color; }
bool TColorPreviewModel::SetOpacity(int opacity) {
  opacity = std::clamp(opacity, 0, 256);
  return std::exchange(FOpacity, opacity) != opacity;
}
bool TColorPreviewModel::SetInitialOpacity(int opacity) {
  opacity = std::clamp(opacity, 0, 256);
  return std::exchange(FInitialOpacity, opacity) != opacity;
}

TRect TColorPreviewModel::RevertArea(int width, int height) { return {1, 1, width - 1, height / 4}; }

bool TColorPreviewModel::MouseMove(int x, int y, int width, int height) {
  const bool hover = RevertArea(width, height).Contains(x, y);
  return std::exchange(FHover, hover) != hover;
}

bool TColorPreviewModel::MouseLeave() { return std::exchange(FHover, false); }

void TColorPreviewModel::MouseDown(bool leftButton) {
  if (leftButton && FHover) FPressed = true;
}

bool TColorPreviewModel::MouseUp(bool leftButton) {
  const bool revert = leftButton && FPressed && FHover;
  FPressed = false;
  return revert;
}

void TColorPreviewModel::Paint(const TBoxCanvas& canvas, int width, int height, const TBoxPaintStyle& style) const {
  const int quarter = height / 4;
  FillBox(canvas, {1, 1, width, 1 + quarter}, style.DeviceFilter, FInitialOpacity,
          ResolvedPixel(FInitialColor, style.Resolve));
  FillBox(canvas, {1, quarter, width, height}, style.DeviceFilter, FOpacity, ResolvedPixel(FColor, style.Resolve));
  DrawBoxFrame(canvas, {0, 0, width, height}, Black, style.ParentColor, style.Look, style.Resolve);
}

TColor TColorPreviewModel::RevertTextColor(const TColorResolver& resolve) const {
  return ContrastColor(MixColors(0xE0E0E0, ResolveColor(FInitialColor, resolve), FInitialOpacity));
}

// --- user-defined colour slot ----------------------------------------------------------

bool SetGlyphInk(int x, int y) {
  if (x < 0 || y < 0 || x >= SetGlyphWidth || y >= SetGlyphHeight) return false;
  return SetGlyphArt[y][x] == '#';
}

bool TColorSlotModel::SetColor(TColor color) { return std::exchange(FColor, color) != color; }

int TColorSlotModel::HalfAt(int x, int y, int width, int height) {
  const int half = width / 2;
  if (y <= 0 || y >= height - 1) return None;
  if (x > 0 && x < half) return SetHalf;
  if (x >= half && x < width - 1) return SelectHalf;
  return None;
}

bool TColorSlotModel::MouseMove(int x, int y, int width, int height) {
  const int hot = HalfAt(x, y, width, height);
  return std::exchange(FHotHalf, hot) != hot;
}

bool TColorSlotModel::MouseLeave() { return std::exchange(FHotHalf, None) != None; }

void TColorSlotModel::MouseDown(int x, int y, int width, int height, bool leftButton) {
  FPressedHalf = leftButton ? HalfAt(x, y, width, height) : None;
}

TColorSlotModel::TAction TColorSlotModel::MouseUp(bool leftButton) {
  TAction action = TAction::None;
  if (leftButton && FPressedHalf == SetHalf && FHotHalf == SetHalf) action = TAction::Set;
  if (leftButton && FPressedHalf == SelectHalf && FHotHalf == SelectHalf) action = TAction::Select;
  FPressedHalf = None;
  return action;
}

TRect TColorSlotModel::SelectHalfArea(int width, int height) { return {width / 2, 0, width / 2 * 2, height}; }

void TColorSlotModel::Paint(const TBoxCanvas& canvas, int width, int height, TColor current,
                            const TBoxPaintStyle& style) const {
  const int half = width / 2;
  const TColor shown = ResolveColor(ShownColor(current), style.Resolve);
  FillBox(canvas, {1, 1, half, height}, style.DeviceFilter, 256, ColorToPixel(shown));

  // AND with the glyph darkens the arrow; OR with its inverse lights it up on dark colours
  // while the mouse is over this half.
  const bool light = ShowsSet() && ColorBrightness(shown) < 128;
  const int left = (half - SetGlyphWidth) / 2 + 1, top = (height - SetGlyphHeight) / 2 + 1;
  for (int y = 0; y < SetGlyphHeight; ++y)
    for (int x = 0; x < SetGlyphWidth; ++x)
      if (SetGlyphInk(x, y))
        if (TPixel* p = canvas.PixelAt(left + x, top + y)) *p = light ? 0xFFFFFFu : 0x000000u;

  VertLine(canvas, half - 1, 1, height - 2, Black);
  FillBox(canvas, {half, 1, width, height}, style.DeviceFilter, 256, ResolvedPixel(FColor, style.Resolve));
  DrawBoxFrame(canvas, {0, 0, width, height}, Black, style.ParentColor, style.Look, style.Resolve);
}

bool TColorSlotModel::SetFocusedHalf(int half) {
  if (half == FFocusedHalf) return false;
  FFocusedHalf = half;
  return true;
}

TColor TColorSlotModel::SetTextColor(const TColorResolver& resolve) const {
  return ContrastColor(ResolveColor(FColor, resolve));
}

// --- opacity track ---------------------------------------------------------------------

std::array<TOpacityTrackRun, 32> OpacityTrackRuns(int left, int right, TColor buttonFace, TColor color) {
  std::array<TOpacityTrackRun, 32> runs{};
  const int span = right - left - 2;
  for (int i = 0; i < 32; ++i) {
    const int c = i * 256 / 31;
    runs[static_cast<std::size_t>(i)] = {left + 1 + i * span / 32, left + 1 + (i + 1) * span / 32,
                                         MixColors(buttonFace, Black, c), MixColors(buttonFace, color, c)};
  }
  return runs;
}
