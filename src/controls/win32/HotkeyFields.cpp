#include "controls/win32/HotkeyFields.h"

#include <commctrl.h>

#include "gui/HotkeyRegistrations.h"

LRESULT THotkeyField::TControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = TCommandControl::HandleMessage(message, wParam, lParam);
  if (message == WM_KILLFOCUS && OnFocusLost) OnFocusLost();
  return result;
}

THotkeyField::THotkeyField(HWND parent, const RECT& field, const RECT& clearButton, HFONT font)
    : FField(HOTKEY_CLASSW, L"", 0, parent, field, font),
      FClear(L"BUTTON", L"Clear", BS_PUSHBUTTON, parent, clearButton, font) {
  ::SendMessageW(FField.Handle(), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
  FField.OnCommand = [this](WORD notification) {
    if (notification == EN_CHANGE) ControlChanged();
  };
  FField.OnFocusLost = [this] { ShowChosen(); };
  FClear.OnCommand = [this](WORD notification) {
    if (notification != BN_CLICKED) return;
    ::SendMessageW(FField.Handle(), HKM_SETHOTKEY, 0, 0);
    Choose({});
  };
}

THotkey THotkeyField::Hotkey() const { return FChanged ? FChosen : FShown; }

void THotkeyField::SetHotkey(THotkey hotkey) {
  FShown = hotkey;
  FChanged = false;
  ::SendMessageW(FField.Handle(), HKM_SETHOTKEY, HotkeyControlValue(hotkey), 0);
}

void THotkeyField::ControlChanged() {
  // Every modifier going down or up changes what the control shows; only a key makes a chord.
  const THotkey pressed = HotkeyFromControlValue(static_cast<WORD>(::SendMessageW(FField.Handle(), HKM_GETHOTKEY, 0, 0)));
  if (!pressed.Empty()) Choose(pressed);
}

void THotkeyField::Choose(THotkey hotkey) {
  FChosen = hotkey;
  FChanged = true;
  if (OnChange) OnChange();
}

void THotkeyField::ShowChosen() {
  const WORD chosen = HotkeyControlValue(Hotkey());
  if (static_cast<WORD>(::SendMessageW(FField.Handle(), HKM_GETHOTKEY, 0, 0)) != chosen)
    ::SendMessageW(FField.Handle(), HKM_SETHOTKEY, chosen, 0);
}
