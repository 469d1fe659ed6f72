#pragma once
// Colours on the clipboard in three formats at once: "System Color" (the colour value
// itself, so a system colour stays one between our boxes), "RGBA Color" (the resolved
// colour, bytes R, G, B, 255) and six hexadecimal digits as text for everybody else.
// The operations answer with booleans and never raise.

#include <windows.h>

#include "gui/Window.h"
#include "base/QorvelTypes.h"

class TQorvelColorClipboard {
 public:
  TQorvelColorClipboard();

  // Replaces the clipboard's content; true only when all three formats were placed.
  bool CopyColor(TColor color);
  // The first of "System Color", "RGBA Color" (alpha dropped) and a six-digit text that
  // can be read; false when none can.
  bool PasteColor(TColor& color);
  // Whether a colour format is offered. Asks only which formats are there, except for text
  // already in memory (ClipboardDataRendered), which is read to tell whether it is a colour:
  // another program's text is judged when the user chooses to paste it.
  bool CanPasteColor();
  // The colour PasteColor would give, when it can be read without asking another program.
  bool RenderedColor(TColor& color);

  UINT SystemColorFormat() const { return FSystemColorFormat; }
  UINT RgbaColorFormat() const { return FRgbaColorFormat; }

 private:
  UINT FSystemColorFormat;
  UINT FRgbaColorFormat;
  // The clipboard is opened for this hidden window: emptying a clipboard opened without
  // an owner leaves it ownerless, and the system may then refuse the data put there.
  TMessageWindow FOwner;
};

// The process's clipboard object, made on first use.
TQorvelColorClipboard& ColorClipboard();
