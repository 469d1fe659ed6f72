#pragma once
// The ruler's face: background with its end zones, cursor line, ticks and numbers, cursor
// label, mini buttons and outline, painted into a pixel buffer from plain values. Nothing is
// kept between paints; the caller hands in what the settings and the window say, and may
// keep a TScaleFace to repaint cursor moves from.

#include <optional>

#include "ruler/MiniButtons.h"
#include "base/PixelBuffers.h"
#include "ruler/QorvelColorUtils.h"
#include "ruler/RulerUnits.h"

// Everything one paint of the scale area depends on. The defaults are those of a fresh
// configuration with the cursor away from the ruler; the size must be set.
struct TRulerScaleInput {
  // The scale area: the ruler window without the magnifier square.
  int Width = 0;
  int Height = 0;
  bool Vertical = false;  // orientation
  bool Flipped = false;   // direction: the scale counts from the right or bottom end
  bool Turned = false;    // bearing: ticks on the top edge (horizontal) or the left edge (vertical)

  // The active configuration.
  int ScaleUnit = 1;           // 0 none, 1 pixel, 2 point, 3 inch, 4 centimetre; above 4 counts as pixel
  bool LogicalPixels = false;  // pixels counted at the monitor's scale; PixelsPerInch is then its logical one
  int Granularity = 1;         // the unit's own (that of unit 0 for a unit above 4): 0 coarse, 1 medium, 2 fine
  bool Digits = true;
  int Labeling = 1;  // 0 no cursor label, 1 ruler coordinate, 2 screen coordinate
  bool Antialiasing = true;
  TColor Background = 0xA0FFFF;  // resolved colours: no system colours here
  TColor CursorLine = 0x0000FF;
  bool MagnifierVisible = false;

  double PixelsPerInch = 96;    // along the ruler; see ResolvePixelsPerInch
  char DecimalSeparator = '.';  // the locale's

  TMiniButtons Buttons{TMiniButton::mbClose, TMiniButton::mbRotate, TMiniButton::mbFlip, TMiniButton::mbTurn};
  TMiniButton HotButton = TMiniButton::mbClose;
  TMiniButtonState ButtonState = TMiniButtonState::mbsNone;

  TPoint CursorBoxPos{-1, -1};     // the cursor in scale-area coordinates
  TPoint CursorScreenPos{-1, -1};  // the same point on the screen

  friend bool operator==(const TRulerScaleInput&, const TRulerScaleInput&) = default;
};

// Paints the part of the scale area that lies in `clip` (scale-area coordinates) into
// `target`, whose top-left pixel is the scale area's top-left; pixels outside the clip and
// outside the scale area are left alone. A partial paint leaves the same pixels inside its
// clip as a full paint.
void PaintScale(const TRulerScaleInput& input, TPixelView target, const TRect& clip);

// The colour under a position along the scale: the end-zone colour in the first and last
// 16 pixels, else the background.
TColor BackgroundAt(const TRulerScaleInput& input, int along);

// Mini buttons close up in their order: a button's slot is the number of enabled buttons
// before it.
int ButtonSlot(const TRulerScaleInput& input, TMiniButton button);
// Top-left corner of a button's 11 x 11 square, in scale-area coordinates.
TPoint ButtonOrigin(const TRulerScaleInput& input, TMiniButton button);
// Whether a button at that corner fits on the ruler; one that does not is neither drawn
// nor clickable.
bool ButtonShown(const TRulerScaleInput& input, TPoint origin);
inline constexpr int MiniButtonSize = 11;

// The strip of the ruler window (window client coordinates) that shows the cursor line and
// its label for the cursor position in `input`; nothing when the cursor is off the scale
// along the ruler. `scaleAreaOrigin` is the scale area's top-left inside the window.
std::optional<TRect> CursorLineStrip(const TRulerScaleInput& input, TPoint scaleAreaOrigin, int clientWidth,
                                     int clientHeight);

// What a paint shares with every other paint of the same look wherever the cursor is, kept
// so that a cursor move only copies pixels and draws the cursor line's label: a full paint
// of a long fine scale costs twenty strips and more.
struct TScaleFace {
  TRulerScaleInput Look;  // the input it was painted from, with the cursor off the ruler
  TPixelBuffer Plain;     // the whole scale area without cursor line and label
  TPixelBuffer Lined;     // the same with the cursor line at every position along the ruler
};

// Whether `face` was painted for the look of `input` (everything but the cursor).
bool FaceFits(const TScaleFace& face, const TRulerScaleInput& input);
// Paints both faces for the look of `input`: the cost of two full paints.
void PaintScaleFace(const TRulerScaleInput& input, TScaleFace& face);
// Leaves the same pixels in `clip` as PaintScale(input, target, clip), taken from a face
// that fits `input`: the face's pixels, the cursor line's from the lined face, and the
// label drawn over them with whatever the full paint draws over the label.
void ComposeFromFace(const TRulerScaleInput& input, const TScaleFace& face, TPixelView target, const TRect& clip);
