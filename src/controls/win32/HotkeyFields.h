#pragma once
// A field for one system-wide hotkey: the system's hotkey control, which takes the chord the
// user presses, and a "Clear" button beside it, since the control alone cannot be emptied.

#include <windows.h>

#include <functional>

#include "gui/SubclassedControls.h"
#include "settings/Hotkeys.h"

class THotkeyField {
 public:
  // Bounds in the parent's client coordinates. Ctrl+Alt is put to a chord without Ctrl or
  // Alt, as a lone letter or Shift+letter would take the key from every program.
  THotkeyField(HWND parent, const RECT& field, const RECT& clearButton, HFONT font);

  THotkey Hotkey() const;
  // Shows a chord; not a change of the user's. The control cannot show Win, so a chord with
  // Win stays as it was unless the user changes it.
  void SetHotkey(THotkey hotkey);
  bool ChangedByUser() const { return FChanged; }
  HWND FieldHandle() const { return FField.Handle(); }
  HWND ClearHandle() const { return FClear.Handle(); }

  std::function<void()> OnChange;  // the user pressed a chord or Clear

 private:
  void UserChanged();

  TCommandControl FField;
  TCommandControl FClear;
  THotkey FShown;
  bool FChanged = false;
};
