#pragma once
// The colour box's rules without a window: where its eyedropper, context glyph and face lie,
// which zone the mouse is over, and what a press, move and release of the mouse mean. The
// window layer feeds mouse events in and carries out the action that comes back.

#include <array>

#include "color/BoxControlRendering.h"
#include "base/PixelBuffers.h"
#include "base/QorvelTypes.h"

enum class TQorvelColorBoxOption { pcbEyedropper, pcbContextGlyph };
using TQorvelColorBoxOptions = TQorvelSet<TQorvelColorBoxOption>;
inline constexpr TQorvelColorBoxOptions AllColorBoxOptions{TQorvelColorBoxOption::pcbEyedropper,
                                                           TQorvelColorBoxOption::pcbContextGlyph};

enum class TColorBoxZone { czNone = 0, czFace = 1, czGlyph = 2, czEyedropper = 3 };

struct TColorBoxGeometry {
  TRect Eyedropper;  // the 12 x 12 square the user drags from to pick a colour
  TRect Glyph;       // the context glyph that opens the menu
  TRect Face;        // the colour itself; the frame covers its right and bottom edge
};

inline constexpr int EyedropperSize = 12;

// The parts of a box with client size width x height whose glyph is glyphWidth x glyphHeight.
TColorBoxGeometry ColorBoxGeometry(int width, int height, int glyphWidth, int glyphHeight);

// The zone under client point (x, y): the eyedropper or the glyph where they are shown, the
// face elsewhere inside the box, none outside it.
TColorBoxZone ColorBoxZoneAt(const TColorBoxGeometry& geometry, TQorvelColorBoxOptions options, int x, int y);

// The eyedropper's four corner marks as three-point polylines in the toolkit's line drawing
// (each segment excludes its end point).
using TCornerMark = std::array<TPoint, 3>;
std::array<TCornerMark, 4> EyedropperCornerMarks(const TRect& eyedropper);

// The focus rectangle: every other pixel of the outline of `rect` (right and bottom
// exclusive) in `color`, on the pixels whose x + y is even so that the dots of a partial
// repaint meet those of a full one.
void DrawDottedFrame(const TBoxCanvas& canvas, const TRect& rect, TPixel color);

// What a mouse event asks the box to do.
enum class TColorBoxAction { None, StartPicking, CancelPicking, ApplyPicking, OpenDialog, Popup };

// The hot zone (under the mouse) and the pressed zone (where the left button went down).
// A pressed eyedropper means the user is picking a colour.
class TColorBoxMouse {
 public:
  TColorBoxZone HotZone() const { return FHotZone; }
  TColorBoxZone PressedZone() const { return FPressedZone; }
  bool Picking() const { return FPressedZone == TColorBoxZone::czEyedropper; }

  // A button goes down over `zone` (czNone outside the box).
  TColorBoxAction MouseDown(bool leftButton, TColorBoxZone zone);
  // The mouse moves over `zone`; answers whether the hot zone changed.
  bool MouseMove(TColorBoxZone zone);
  // A button comes up; the hot zone is where it came up.
  TColorBoxAction MouseUp(bool leftButton);
  // The mouse left the box; answers whether the hot zone changed.
  bool MouseLeave();
  // Disabling, hiding or destroying the box, or losing the mouse to another window: any
  // press ends, a pick without being applied (the answer says whether one was cancelled).
  TColorBoxAction Reset();

  // The caption is underlined while the face is hot and no other zone is pressed; the
  // glyph shows its hover picture likewise.
  bool CaptionUnderlined() const { return HotUnlessOtherPressed(TColorBoxZone::czFace); }
  bool GlyphHover() const { return HotUnlessOtherPressed(TColorBoxZone::czGlyph); }

 private:
  bool HotUnlessOtherPressed(TColorBoxZone zone) const {
    return FHotZone == zone && (FPressedZone == TColorBoxZone::czNone || FPressedZone == zone);
  }

  TColorBoxZone FHotZone = TColorBoxZone::czNone;
  TColorBoxZone FPressedZone = TColorBoxZone::czNone;
};

// Where the context menu opens: a request from the keyboard comes with (-1, -1) and opens
// at the box's bottom-left corner; a mouse request opens where the mouse is.
TPoint ContextMenuPoint(TPoint requested, TPoint boxBottomLeft);
