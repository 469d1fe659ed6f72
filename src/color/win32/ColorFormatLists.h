#pragma once
// The formats "Copy as" offers, as the settings dialog edits them: a list of every format
// with a check box each (Space or a click turns it on or off) and two buttons that move the
// selected format up or down.

#include <windows.h>

#include <functional>
#include <vector>

#include "color/ColorPreferences.h"
#include "gui/SubclassedControls.h"

class TColorFormatList {
 public:
  // Bounds in the parent's client coordinates.
  TColorFormatList(HWND parent, const RECT& list, const RECT& upButton, const RECT& downButton, HFONT font);

  void SetChoices(const std::vector<TColorFormatChoice>& choices);
  // What the list shows now, checks included.
  std::vector<TColorFormatChoice> Choices() const;
  // Moves the selected format one place (-1 up, +1 down), keeping it selected.
  void MoveSelected(int direction);
  int Selected() const;
  void Select(int index);

  HWND ListHandle() const { return FList.Handle(); }
  HWND UpHandle() const { return FUp.Handle(); }
  HWND DownHandle() const { return FDown.Handle(); }

 private:
  TCommandControl FList;
  TCommandControl FUp;
  TCommandControl FDown;
  std::vector<TColorFormatChoice> FChoices;  // in the list's order; checks read from the list
};
