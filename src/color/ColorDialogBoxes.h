#pragma once
// The small boxes of the colour selection dialog besides chart and bar: the preview of the
// new and the initial colour (its upper quarter reverts), the user-defined colour slots
// with their "set" and select halves, and the colour ramp the opacity track bar draws.
// Their state, mouse rules and pixels; the window layer adds the two short texts.

#include <array>

#include "color/BoxControlRendering.h"
#include "base/PixelBuffers.h"
#include "base/QorvelTypes.h"

// How a box paints besides its own state. System colours need Resolve.
struct TBoxPaintStyle {
  const TQorvelColorFilter* DeviceFilter = nullptr;
  TQorvelBoxControlLook Look = TQorvelBoxControlLook::pclRoundedRect;
  TColor ParentColor = clBtnFace;
  TColorResolver Resolve;
};

// Where a text of `textWidth` x `textHeight` goes to be centred in `area`.
TPoint CenteredText(const TRect& area, int textWidth, int textHeight);

class TColorPreviewModel {
 public:
  TColor Color() const { return FColor; }
  TColor InitialColor() const { return FInitialColor; }
  int Opacity() const { return FOpacity; }  // 0..256
  int InitialOpacity() const { return FInitialOpacity; }
  bool Hover() const { return FHover; }
  bool Pressed() const { return FPressed; }

  // Each answers whether the box must repaint; opacities are clamped to 0..256.
  bool SetColor(TColor color);
  bool SetInitialColor(TColor color);
  bool SetOpacity(int opacity);
  bool SetInitialOpacity(int opacity);

  // The upper quarter, inside the frame: the area that reverts.
  static TRect RevertArea(int width, int height);

  // Mouse rules. Moves and leaves answer whether Hover changed (repaint, and the cursor
  // is the circle exactly while hovering); a release answers whether to revert.
  bool MouseMove(int x, int y, int width, int height);
  bool MouseLeave();
  void MouseDown(bool leftButton);
  bool MouseUp(bool leftButton);

  // The initial colour on top, the new one below, both over the checkerboard where they
  // are translucent; the frame. "Revert" is the window's to draw while hovering.
  void Paint(const TBoxCanvas& canvas, int width, int height, const TBoxPaintStyle& style) const;
  // The colour "Revert" is written in: readable on the initial colour as it shows over
  // the light squares.
  TColor RevertTextColor(const TColorResolver& resolve) const;

 private:
  TColor FColor = 0;
  TColor FInitialColor = 0;
  int FOpacity = 256;
  int FInitialOpacity = 256;
  bool FHover = false;
  bool FPressed = false;
};

// The 8 x 16 "set" glyph: a black arrow pointing right on white, drawn with AND (dark) or
// with OR of its inverse (white).
inline constexpr int SetGlyphWidth = 8;
inline constexpr int SetGlyphHeight = 16;
bool SetGlyphInk(int x, int y);  // true where the arrow is

class TColorSlotModel {
 public:
  enum THalf { None = 0, SetHalf = 1, SelectHalf = 2 };
  enum class TAction { None, Set, Select };

  TColor Color() const { return FColor; }
  bool SetColor(TColor color);  // answers whether it changed (repaint)
  int HotHalf() const { return FHotHalf; }
  int PressedHalf() const { return FPressedHalf; }
  // The half that has the keyboard focus, if one has: a focused "set" previews as a hovered one.
  int FocusedHalf() const { return FFocusedHalf; }
  bool SetFocusedHalf(int half);  // answers whether it changed (repaint)
  bool ShowsSet() const { return FHotHalf == SetHalf || FFocusedHalf == SetHalf; }

  static int HalfAt(int x, int y, int width, int height);
  // Answers whether HotHalf changed (repaint); the circle cursor shows over the select half.
  bool MouseMove(int x, int y, int width, int height);
  bool MouseLeave();
  void MouseDown(int x, int y, int width, int height, bool leftButton);
  TAction MouseUp(bool leftButton);

  // `current` is the colour the dialog would store: the left half previews it while the
  // mouse is over the "set" half, or it has the focus. "set" itself is the window's to write.
  TColor ShownColor(TColor current) const { return ShowsSet() ? current : FColor; }
  void Paint(const TBoxCanvas& canvas, int width, int height, TColor current, const TBoxPaintStyle& style) const;
  // The right half, where "set" is written while the mouse is over the left half.
  static TRect SelectHalfArea(int width, int height);
  TColor SetTextColor(const TColorResolver& resolve) const;

 private:
  TColor FColor = 0;
  int FHotHalf = None;
  int FPressedHalf = None;
  int FFocusedHalf = None;
};

// One run of the opacity track: rows centre-2 and centre+2 in Edge, centre-1..centre+1 in
// Inner, columns Left..Right-1.
struct TOpacityTrackRun {
  int Left = 0, Right = 0;
  TColor Edge = 0, Inner = 0;
};
// 32 runs from the button face toward black (edges) and toward `color` (inside), across
// the track from left + 1 to right - 1; then a black mark at right - 2.
std::array<TOpacityTrackRun, 32> OpacityTrackRuns(int left, int right, TColor buttonFace, TColor color);
