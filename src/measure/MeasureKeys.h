#pragma once
// The measure tool's keys, decided without a window: which command a key stands for, with
// the modifiers held while it was pressed.

#include "base/Geometry.h"
#include "measure/Measurements.h"

enum class TMeasureCommand { None, End, MovePointer, Pin, RemoveLastPin, Refresh, ChangeMode, Copy, CopyAllPinned };

struct TMeasureKeyAction {
  TMeasureCommand Command = TMeasureCommand::None;
  TPoint Offset;                              // MovePointer: by a pixel, with Shift by ten
  TMeasureMode Mode = TMeasureMode::Spacing;  // ChangeMode: the mode to change to
  friend bool operator==(const TMeasureKeyAction&, const TMeasureKeyAction&) = default;
};

// Escape ends; arrows move the pointer; Enter pins; Delete or Backspace takes the last pin
// away; F5 takes a new snapshot; Tab goes to the next mode of `mode` (Shift+Tab the one
// before), 1, 2 and 3 to a mode directly; Ctrl+C copies (with Shift every pin). Any other
// key, C without Ctrl included, is not the tool's: None.
TMeasureKeyAction MeasureKeyAction(int virtualKey, bool shift, bool control, TMeasureMode mode);
