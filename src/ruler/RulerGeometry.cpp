#include "ruler/RulerGeometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// Stored placements come from a file the user may have edited. Coordinates this far out
// are off every monitor anyway (the fit moves them back), and clamping them first keeps
// the rectangle arithmetic from overflowing.
constexpr int kCoordinateLimit = 1 << 24;

int ClampCoordinate(int v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); }

bool IsHorizontal(TRulerOrientation o) { return o == TRulerOrientation::Horizontal; }

}  // namespace

TSizeConstraints RulerSizeConstraints(TRulerOrientation orientation) {
  return IsHorizontal(orientation) ? TSizeConstraints{kRulerMinLength, 0} : TSizeConstraints{0, kRulerMinLength};
}

int EffectiveThickness(int configuredWidth) {
  if (configuredWidth <= 0) return kRulerDefaultThickness;
  return std::min(configuredWidth, kCoordinateLimit);
}

TRulerPlacement RepairPlacement(const TRulerPlacement& placement, TRulerOrientation orientation,
                                TScreenSize primaryScreen) {
  TRulerPlacement p = placement;
  const int w = primaryScreen.Width;
  const int h = primaryScreen.Height;
  if (IsHorizontal(orientation)) {
    if (p.Length < kRulerMinLength) {
      p.Length = w / 2;
      p.Position = {(w - p.Length) / 2, h / 2};
    } else if (p.Length > w) {
      p.Length = w;
    }
  } else {
    if (p.Length < kRulerMinLength) {
      p.Length = h / 2;
      p.Position = {w / 2, (h - p.Length) / 2};
    } else if (p.Length > h) {
      p.Length = h;
    }
  }
  return p;
}

TRect PlacementWindowRect(const TRulerPlacement& placement, TRulerOrientation orientation, int thickness) {
  const int x = ClampCoordinate(placement.Position.X);
  const int y = ClampCoordinate(placement.Position.Y);
  const int length = std::clamp(placement.Length, 0, kCoordinateLimit);
  const int t = EffectiveThickness(thickness);
  const bool scaleOnTopOrLeft = ScaleOnTopOrLeft(placement);
  if (IsHorizontal(orientation)) {
    const int top = scaleOnTopOrLeft ? y : y - t;
    return {x, top, x + length, top + t};
  }
  const int left = scaleOnTopOrLeft ? x : x - t;
  return {left, y, left + t, y + length};
}

TRect FitRectToMonitors(const TRect& rect, std::span<const TRect> workAreas) {
  const TRect* area = WorkAreaToFitInto(rect, workAreas);
  if (!area) return rect;
  // Pull the far edge in first and the near edge last: a rectangle larger than the work
  // area then keeps its left and top ends (where a ruler starts) on screen.
  const int left = std::max(std::min(rect.Left, area->Right - rect.Width()), area->Left);
  const int top = std::max(std::min(rect.Top, area->Bottom - rect.Height()), area->Top);
  return {left, top, left + rect.Width(), top + rect.Height()};
}

void StorePlacement(TRulerPlacements& placements, const TRect& window) {
  TRulerPlacement& p = placements.Current();
  const bool scaleOnTopOrLeft = ScaleOnTopOrLeft(p);
  if (placements.CurrentOrientation() == TRulerOrientation::Horizontal) {
    p.Position = {window.Left, scaleOnTopOrLeft ? window.Top : window.Bottom};
    p.Length = window.Width();
  } else {
    p.Position = {scaleOnTopOrLeft ? window.Left : window.Right, window.Top};
    p.Length = window.Height();
  }
}

TPlacedRuler ApplyPlacement(TRulerPlacements& placements, int thickness, const TDesktopLayout& desktop) {
  const TRulerOrientation orientation = placements.CurrentOrientation();
  TRulerPlacement& current = placements.Current();
  current = RepairPlacement(current, orientation, desktop.PrimaryScreen);

  // A ruler thicker than the screen is across its axis would only cover it, and its
  // magnifier square, as wide as the ruler is thick, would not fit in memory.
  const int across = orientation == TRulerOrientation::Horizontal ? desktop.PrimaryScreen.Height
                                                                  : desktop.PrimaryScreen.Width;
  if (across > 0) thickness = std::min(EffectiveThickness(thickness), across);
  TRect window = PlacementWindowRect(current, orientation, thickness);
  // The size limits hold for the window even on a screen too small for the default
  // length; the window grows from its left or top end as a constrained resize does.
  const TSizeConstraints constraints = RulerSizeConstraints(orientation);
  window.Right = std::max(window.Right, window.Left + constraints.MinWidth);
  window.Bottom = std::max(window.Bottom, window.Top + constraints.MinHeight);
  return {FitRectToMonitors(window, desktop.WorkAreas), constraints};
}

TPlacedRuler Rotate(TRulerPlacements& placements, const TRect& window, int thickness, const TDesktopLayout& desktop) {
  StorePlacement(placements, window);
  placements.Orientation ^= 1;
  return ApplyPlacement(placements, thickness, desktop);
}

void Flip(TRulerPlacements& placements) { placements.Current().Direction ^= 1; }

void Turn(TRulerPlacements& placements) { placements.Current().Bearing ^= 1; }

namespace {

// True when the magnifier square belongs at the right or bottom end.
bool MagnifierAtFarEnd(int alignment, bool flipped) {
  switch (alignment) {
    case 3: return true;       // right or bottom
    case 2: return false;      // left or top
    case 0: return flipped;    // where the scale begins
    default: return !flipped;  // where the scale ends
  }
}

}  // namespace

TRulerChildren LayoutChildren(int width, int height, const TRulerPlacements& placements,
                              const TMagnifierLayoutSettings& magnifier) {
  if (!magnifier.Visible) return {{0, 0, width, height}, {}, false};

  const bool horizontal = placements.CurrentOrientation() == TRulerOrientation::Horizontal;
  const int alignment = horizontal ? magnifier.HorizontalAlignment : magnifier.VerticalAlignment;
  const bool farEnd = MagnifierAtFarEnd(alignment, IsFlipped(placements.Current()));
  // The square's side is the thickness; on a ruler shorter than its thickness the scale
  // area shrinks to nothing rather than turning inside out.
  if (horizontal) {
    const int side = height;
    if (farEnd) return {{0, 0, std::max(0, width - side), height}, {width - side, 0, width, height}, true};
    return {{side, 0, std::max(side, width), height}, {0, 0, side, side}, true};
  }
  const int side = width;
  if (farEnd) return {{0, 0, width, std::max(0, height - side)}, {0, height - side, width, height}, true};
  return {{0, side, width, std::max(side, height)}, {0, 0, side, side}, true};
}

TRulerHitTest RulerHitTest(TRulerOrientation orientation, const TRect& scaleBox, TPoint clientPoint,
                           std::span<const TRect> shownButtons) {
  const int x = clientPoint.X;
  const int y = clientPoint.Y;
  if (IsHorizontal(orientation)) {
    if (scaleBox.Left <= x && x < scaleBox.Left + kRulerResizeZone) return TRulerHitTest::htLeft;
    if (scaleBox.Right - kRulerResizeZone <= x && x < scaleBox.Right) return TRulerHitTest::htRight;
  } else {
    if (scaleBox.Top <= y && y < scaleBox.Top + kRulerResizeZone) return TRulerHitTest::htTop;
    if (scaleBox.Bottom - kRulerResizeZone <= y && y < scaleBox.Bottom) return TRulerHitTest::htBottom;
  }
  for (const TRect& button : shownButtons)
    if (button.Contains(x - scaleBox.Left, y - scaleBox.Top)) return TRulerHitTest::htClient;
  return TRulerHitTest::htCaption;
}

TQorvelMagnetAllies RulerMagnetAllies(bool snapToDesktop) {
  if (!snapToDesktop) return {};
  return {TQorvelMagnetAlly::pmaWorkArea};
}

int AxisLockKey(int snapToAxis) {
  switch (snapToAxis) {
    case 1: return kVkShift;
    case 2: return kVkControl;
    case 3: return kVkMenu;
    default: return 0;
  }
}

TPoint LockToAxis(TPoint moveStart, TPoint proposed) {
  const long long dx = std::llabs(static_cast<long long>(proposed.X) - moveStart.X);
  const long long dy = std::llabs(static_cast<long long>(proposed.Y) - moveStart.Y);
  if (dx < dy) return {moveStart.X, proposed.Y};
  return {proposed.X, moveStart.Y};
}

int PresetLength(const TRulerPlacement& placement, int tag) {
  const int index = ((tag % kRulerPresetCount) + kRulerPresetCount) % kRulerPresetCount;
  return placement.Presets[static_cast<std::size_t>(index)];
}

TRect PresetWindowRect(const TRect& window, TRulerOrientation orientation, const TRulerPlacement& placement,
                       int length) {
  const int l = std::clamp(length, kRulerMinLength, kCoordinateLimit);
  const bool keepFarEnd = IsFlipped(placement);
  if (IsHorizontal(orientation)) {
    const int left = keepFarEnd ? window.Right - l : window.Left;
    return {left, window.Top, left + l, window.Bottom};
  }
  const int top = keepFarEnd ? window.Bottom - l : window.Top;
  return {window.Left, top, window.Right, top + l};
}

TRulerPosChange RulerPositionChanging(TWindowPosProposal proposal, const TRulerPosContext& context,
                                      const TMagnetSurroundings& surroundings) {
  if (!proposal.NoMove && !proposal.ShowWindow && context.AxisLockKeyDown) {
    const TPoint locked = LockToAxis(context.MoveStart, {proposal.X, proposal.Y});
    proposal.X = locked.X;
    proposal.Y = locked.Y;
  }
  const bool layoutNeeded = !proposal.NoSize;
  proposal = MagnetPositionChanging(context.Window, proposal, surroundings, context.Allies, context.SnapDistance);
  return {proposal, layoutNeeded};
}
