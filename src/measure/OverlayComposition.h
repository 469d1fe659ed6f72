#pragma once
// The measure tool's overlay, composed into pixels: the still snapshot of one monitor with
// the measurements drawn over it, their label boxes and the magnifier beside the cursor.
// Composition works on any clip rectangle and leaves there exactly what a full composition
// would, so that a cursor move recomposes only the strips that changed. The label texts are
// the platform's to draw, into the boxes composed here.

#include <vector>

#include "base/ClippedCanvas.h"
#include "measure/OverlayLayout.h"

// Notes are dark grey with white text whatever the measurement colours, so that they never
// read as a measurement.
inline constexpr TPixel NoteBackground = 0x303030;

struct TMeasureLook {
  TPixel Line = 0xE60063;
  TPixel LabelText = 0xFFFFFF;
  TPixel LabelBackground = 0xE60063;
};

struct TOverlayScene {
  TPixelView Snapshot;  // the monitor's still image, pixel (0, 0) at Origin on the desktop
  TPoint Origin;
  const std::vector<TPlacedMeasurement>* Pins = nullptr;
  const TPlacedMeasurement* Current = nullptr;  // none between measurements
  bool ShowLoupe = false;
  TPoint Cursor;  // desktop pixel the loupe enlarges
  TRect Loupe;    // where the loupe lies, desktop coordinates
  TRect Note;     // a passing note's box (mode, tolerance, copied), empty when none
  TMeasureLook Look;
};

// Composes `target` (the monitor's size) inside `clip`, given in desktop coordinates.
void ComposeOverlay(const TPixelView& target, const TOverlayScene& scene, const TRect& clip);
