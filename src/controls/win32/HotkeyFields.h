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

  // The chord last pressed whole, or cleared; what the field was given while the user has
  // done neither. Modifiers held on their own (Shift+Tab on the way through) choose nothing.
  THotkey Hotkey() const;
  // Shows a chord; not a change of the user's. The control cannot show Win, so a chord with
  // Win stays as it was unless the user changes it.
  void SetHotkey(THotkey hotkey);
  bool ChangedByUser() const { return FChanged; }
  HWND FieldHandle() const { return FField.Handle(); }
  HWND ClearHandle() const { return FClear.Handle(); }

  std::function<void()> OnChange;  // the user pressed a chord or Clear

 private:
  // The control shows held modifiers as they go down; once the focus leaves, it shows the
  // field's chord again.
  class TControl : public TCommandControl {
   public:
    using TCommandControl::TCommandControl;
    std::function<void()> OnFocusLost;

   protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  };

  void ControlChanged();
  void Choose(THotkey hotkey);
  void ShowChosen();

  TControl FField;
  TCommandControl FClear;
  THotkey FShown;
  THotkey FChosen;
  bool FChanged = false;
};
