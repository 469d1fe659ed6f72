#pragma once
// The ruler from the keyboard, decided without a window: arrows move it by a pixel (ten
// with Shift), Ctrl + arrows stretch it at its free end. A run of key moves is handled as
// one drag whose offset grows with each key, so the work-area magnet pulls the ruler in and
// lets it go exactly as it does under the mouse, instead of holding it at an edge for ever.

#include <optional>

#include "ruler/RulerGeometry.h"

enum class TArrowKey { Left, Right, Up, Down };

// Virtual keys of the arrows (VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN).
std::optional<TArrowKey> ArrowKeyFromVirtualKey(int virtualKey);

inline constexpr int kKeyStep = 1;
inline constexpr int kKeyShiftStep = 10;

// What one arrow asks of the ruler: a move, a change of length, or nothing.
struct TRulerKeyStep {
  TPoint Offset;         // move the window by this much
  int LengthChange = 0;  // lengthen (positive) or shorten the ruler at its free end
  friend bool operator==(const TRulerKeyStep&, const TRulerKeyStep&) = default;
};

// Plain arrows move the ruler by kKeyStep, with Shift by kKeyShiftStep. With Ctrl, an arrow
// along the ruler moves its free end (the one away from where the scale begins) that way:
// Right and Down lengthen a plain ruler, Left and Up a flipped one; the opposite arrow
// shortens it. Ctrl with an arrow across the ruler does nothing.
TRulerKeyStep ArrowKeyStep(TArrowKey key, bool shift, bool control, TRulerOrientation orientation, bool flipped);

// Consecutive key moves form one drag.
struct TKeyboardDrag {
  TPoint Position;  // where the keys have taken the window, before any snapping
  TRect Window;     // the window rectangle the last key move ended with
  friend bool operator==(const TKeyboardDrag&, const TKeyboardDrag&) = default;
};

// The drag a key move continues: the previous one while the window is still where that
// left it; otherwise (a mouse drag, a rotation, a resize came in between) a new one that
// starts at the window.
TKeyboardDrag ContinueKeyboardDrag(const std::optional<TKeyboardDrag>& previous, const TRect& window);

// The position change a key move proposes: the drag moved on by `offset`, size unchanged.
// It goes through the ruler's position-changing handling like any step of a mouse drag,
// with the axis lock measured from `drag.Position` (so a one-axis key step is never bent).
TWindowPosProposal KeyboardMoveProposal(const TKeyboardDrag& drag, TPoint offset);

// The drag after the window has answered a proposal with `window`.
TKeyboardDrag AdvanceKeyboardDrag(const TKeyboardDrag& drag, TPoint offset, const TRect& window);

// The window rectangle after a length change at the free end. Like a stretch with the mouse
// it never snaps, and the length stays between kRulerMinLength and `maxLength` (the length a
// stored placement keeps, the primary screen's extent along the ruler); a ruler already
// outside those bounds is only ever brought closer to them.
TRect StretchedWindowRect(const TRect& window, TRulerOrientation orientation, const TRulerPlacement& placement,
                          int lengthChange, int maxLength);

// The side of the ruler a menu opened from the keyboard goes to.
enum class TMenuSide { Above, Below, Left, Right };

struct TKeyboardMenuPlace {
  TPoint Point;  // screen point of the menu's corner nearest to the ruler
  TMenuSide Side;
  friend bool operator==(const TKeyboardMenuPlace&, const TKeyboardMenuPlace&) = default;
};

// Where the ruler menu opens from the keyboard: at the first mini button, off the long
// edge that carries the buttons, so that it does not cover the scale edge the user has
// laid against what they measure; on the scale's side only when the work area leaves no
// room for `menuSize` on the buttons' side (the side with more room when neither has
// enough). It never covers the ruler. `scaleBox` is in window client coordinates.
TKeyboardMenuPlace KeyboardMenuPlace(const TRect& window, const TRect& scaleBox, TRulerOrientation orientation,
                                     bool scaleOnTopOrLeft, const TRect& workArea, TScreenSize menuSize);
