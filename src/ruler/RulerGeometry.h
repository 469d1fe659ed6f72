#pragma once
// Geometry of the ruler window, free of any window: how the window rectangle follows
// from the remembered placement and is written back, the size limits, where the scale
// area and the magnifier square go, the hit zones, the axis lock, preset resizing and the
// order of the position-changing steps. Monitors, the screen and other windows come in as
// plain rectangles; the Win32 layer supplies them and applies the results.

#include <array>
#include <cstdint>
#include <span>

#include "base/PixelBuffers.h"
#include "ruler/MagnetSnapping.h"

enum class TRulerOrientation { Horizontal, Vertical };

// The general orientation setting: only bit 0 counts (set = vertical).
constexpr TRulerOrientation OrientationOf(int generalOrientation) {
  return (generalOrientation & 1) != 0 ? TRulerOrientation::Vertical : TRulerOrientation::Horizontal;
}

inline constexpr int kRulerMinLength = 100;
inline constexpr int kRulerDefaultThickness = 30;
inline constexpr int kRulerResizeZone = 16;
inline constexpr int kRulerPresetCount = 5;

// The remembered placement of one orientation. Position is the point where the left
// (horizontal) or top (vertical) end meets the scale edge, so a change of thickness keeps
// the scale edge in place. Only bit 0 of Direction and Bearing counts; other bits are
// kept as they were stored.
struct TRulerPlacement {
  TPoint Position;
  int Length = 0;     // extent along the ruler; below kRulerMinLength means never placed
  int Direction = 0;  // bit 0 set: the scale counts from the right or bottom end
  int Bearing = 0;    // bit 0 set: scale edge on top (horizontal) or left (vertical)
  std::array<int, kRulerPresetCount> Presets{};
  friend bool operator==(const TRulerPlacement&, const TRulerPlacement&) = default;
};

constexpr bool IsFlipped(const TRulerPlacement& p) { return (p.Direction & 1) != 0; }
constexpr bool ScaleOnTopOrLeft(const TRulerPlacement& p) { return (p.Bearing & 1) != 0; }

// The orientation setting and the two placements the ruler switches between.
struct TRulerPlacements {
  int Orientation = 0;  // the raw general setting; bit 0 selects the current placement
  TRulerPlacement Horizontal;
  TRulerPlacement Vertical;

  TRulerOrientation CurrentOrientation() const { return OrientationOf(Orientation); }
  TRulerPlacement& Current() { return CurrentOrientation() == TRulerOrientation::Vertical ? Vertical : Horizontal; }
  const TRulerPlacement& Current() const {
    return CurrentOrientation() == TRulerOrientation::Vertical ? Vertical : Horizontal;
  }
  friend bool operator==(const TRulerPlacements&, const TRulerPlacements&) = default;
};

struct TScreenSize {
  int Width = 0, Height = 0;
};

// What the ruler needs to know about the desktop to place itself.
struct TDesktopLayout {
  TScreenSize PrimaryScreen;
  std::span<const TRect> WorkAreas;  // every monitor's work area, in system order
};

struct TSizeConstraints {
  int MinWidth = 0, MinHeight = 0;  // maximum sizes are unlimited
  friend bool operator==(const TSizeConstraints&, const TSizeConstraints&) = default;
};

// The window's minimum size: the length may not drop below kRulerMinLength.
TSizeConstraints RulerSizeConstraints(TRulerOrientation orientation);

// The thickness actually used for a configured ruler width. Non-positive widths (only a
// damaged settings file has them) would make the window vanish; they fall back to the
// default thickness.
int EffectiveThickness(int configuredWidth);

// Repairs a stored placement against the primary screen: a length below kRulerMinLength
// means the orientation was never placed and yields the centred default; a length beyond
// the screen is cut to it.
TRulerPlacement RepairPlacement(const TRulerPlacement& placement, TRulerOrientation orientation,
                                TScreenSize primaryScreen);

// The window rectangle a placement describes for a ruler of the given thickness.
TRect PlacementWindowRect(const TRulerPlacement& placement, TRulerOrientation orientation, int thickness);

// Moves a rectangle that is not wholly inside the union of the work areas into the work
// area it overlaps most (the first one on a tie, the first one when it overlaps none).
// The size never changes; a rectangle larger than that work area keeps its left or top
// edge on it. Without any work area the rectangle is returned unchanged.
TRect FitRectToMonitors(const TRect& rect, std::span<const TRect> workAreas);

// Writes a window rectangle into the current placement.
void StorePlacement(TRulerPlacements& placements, const TRect& window);

struct TPlacedRuler {
  TRect Window;
  TSizeConstraints Constraints;
};

// Repairs the current placement (the repair is written back into `placements`), and
// returns the window rectangle it gives, kept on the monitors, with the size limits. The
// thickness is held to what the primary screen shows across the ruler's axis.
TPlacedRuler ApplyPlacement(TRulerPlacements& placements, int thickness, const TDesktopLayout& desktop);

// Switches to the other orientation: stores the current window into the current
// placement, inverts bit 0 of the orientation and applies the other placement.
TPlacedRuler Rotate(TRulerPlacements& placements, const TRect& window, int thickness, const TDesktopLayout& desktop);

// The scale counts from the other end; the window rectangle stays.
void Flip(TRulerPlacements& placements);
// The scale moves to the other long edge; the window rectangle stays.
void Turn(TRulerPlacements& placements);

// Magnifier settings of the current configuration that decide the layout.
struct TMagnifierLayoutSettings {
  bool Visible = false;
  int HorizontalAlignment = 1;  // 0 beginning, 1 end, 2 left, 3 right
  int VerticalAlignment = 1;    // 0 beginning, 1 end, 2 top, 3 bottom
};

struct TRulerChildren {
  TRect ScaleBox;   // client coordinates
  TRect Magnifier;  // client coordinates; empty when the magnifier is hidden
  bool MagnifierVisible = false;
  friend bool operator==(const TRulerChildren&, const TRulerChildren&) = default;
};

// Places the scale area and the magnifier square for a window of the given size. The
// square's side is the thickness; it sits at the end chosen by the alignment, where
// "beginning" and "end" follow the direction of the scale.
TRulerChildren LayoutChildren(int width, int height, const TRulerPlacements& placements,
                              const TMagnifierLayoutSettings& magnifier);

// Hit-test answers, with their Win32 values.
enum class TRulerHitTest : int {
  htClient = 1,
  htCaption = 2,
  htLeft = 10,
  htRight = 11,
  htTop = 12,
  htBottom = 15,
};

// Answers a point in client coordinates: resize zones at the first and last
// kRulerResizeZone pixels of the scale area (never over the magnifier), the client over a
// shown mini button, the caption everywhere else. `shownButtons` are the 11 x 11 squares
// of the enabled buttons that are shown, in scale-area coordinates.
TRulerHitTest RulerHitTest(TRulerOrientation orientation, const TRect& scaleBox, TPoint clientPoint,
                           std::span<const TRect> shownButtons);

// The ruler snaps only to the work area, and only when the user wants it to.
TQorvelMagnetAllies RulerMagnetAllies(bool snapToDesktop);

// Virtual keys of the axis lock.
inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkMenu = 0x12;

// The key that locks a drag to one axis for a handling setting (1 shift, 2 ctrl, 3 alt),
// or 0 when the lock is disabled.
int AxisLockKey(int snapToAxis);

// Keeps a drag on the axis it has moved along most since it began; a tie keeps the
// horizontal movement.
TPoint LockToAxis(TPoint moveStart, TPoint proposed);

// Preset length `tag` of a placement (tags are reduced modulo the preset count).
int PresetLength(const TRulerPlacement& placement, int tag);

// The window rectangle after resizing to `length` so that the end where the scale begins
// stays in place. The minimum length applies before the anchoring, so the anchored end
// does not move even for a too short preset.
TRect PresetWindowRect(const TRect& window, TRulerOrientation orientation, const TRulerPlacement& placement,
                       int length);

struct TRulerPosChange {
  TWindowPosProposal Proposal;  // the proposal after axis lock and snapping
  bool LayoutNeeded = false;    // the size changes: lay the children out for the new size
};

// Everything the ruler's position-changing handling needs besides the proposal and the
// rectangles to snap to.
struct TRulerPosContext {
  TMagnetFormState Window;
  TPoint MoveStart;              // window position when the move or size loop began
  bool AxisLockKeyDown = false;  // the AxisLockKey is held (false when the lock is off)
  TQorvelMagnetAllies Allies;
  int SnapDistance = kInitialMagnetSnapDistance;
};

// The ruler's handling of a proposed position change, in its order: the axis lock for
// moves, the note that the children follow a resize, then magnet snapping.
TRulerPosChange RulerPositionChanging(TWindowPosProposal proposal, const TRulerPosContext& context,
                                      const TMagnetSurroundings& surroundings);
