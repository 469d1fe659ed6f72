#include "controls/win32/HotkeyFields.h"

#include <commctrl.h>

#include "gui/HotkeyRegistrations.h"

THotkeyField::THotkeyField(HWND parent, const RECT& field, const RECT& clearButton, HFONT font)
    : FField(HOTKEY_CLASSW, L"", 0, parent, field, font),
      FClear(L"BUTTON", L"Clear", BS_PUSHBUTTON, parent, clearButton, font) {
  ::SendMessageW(FField.Handle(), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
  FField.OnCommand = [this](WORD notification) {
    if (notification == EN_CHANGE) UserChanged();
  };
  FClear.OnCommand = [this](WORD notification) {
    if (notification != BN_CLICKED) return;
    ::SendMessageW(FField.Handle(), HKM_SETHOTKEY, 0, 0);
    UserChanged();
  };
}

THotkey THotkeyField::Hotkey() const {
  if (!FChanged) return FShown;
  return HotkeyFromControlValue(static_cast<WORD>(::SendMessageW(FField.Handle(), HKM_GETHOTKEY, 0, 0)));
}

void THotkeyField::SetHotkey(THotkey hotkey) {
  FShown = hotkey;
  FChanged = false;
  ::SendMessageW(FField.Handle(), HKM_SETHOTKEY, HotkeyControlValue(hotkey), 0);
}

void THotkeyField::UserChanged() {
  FChanged = true;
  if (OnChange) OnChange();
}
