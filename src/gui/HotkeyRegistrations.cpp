#include "gui/HotkeyRegistrations.h"

#include <commctrl.h>

namespace {

// An id no window of ours registers: only for trying a chord.
constexpr int ProbeId = 0xBFFE;

bool ExtendedKey(BYTE key) {
  return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE || key == VK_DIVIDE;
}

}  // namespace

UINT HotkeyModifierFlags(THotkey hotkey) {
  UINT flags = MOD_NOREPEAT;
  if ((hotkey.Modifiers & hmControl) != 0) flags |= MOD_CONTROL;
  if ((hotkey.Modifiers & hmAlt) != 0) flags |= MOD_ALT;
  if ((hotkey.Modifiers & hmShift) != 0) flags |= MOD_SHIFT;
  if ((hotkey.Modifiers & hmWin) != 0) flags |= MOD_WIN;
  return flags;
}

WORD HotkeyControlValue(THotkey hotkey) {
  if (hotkey.Empty()) return 0;
  BYTE flags = ExtendedKey(hotkey.Key) ? HOTKEYF_EXT : 0;
  if ((hotkey.Modifiers & hmControl) != 0) flags |= HOTKEYF_CONTROL;
  if ((hotkey.Modifiers & hmAlt) != 0) flags |= HOTKEYF_ALT;
  if ((hotkey.Modifiers & hmShift) != 0) flags |= HOTKEYF_SHIFT;
  return MAKEWORD(hotkey.Key, flags);
}

THotkey HotkeyFromControlValue(WORD value) {
  THotkey hotkey;
  hotkey.Key = LOBYTE(value);
  const BYTE flags = HIBYTE(value);
  if (hotkey.Key == 0) return {};
  if ((flags & HOTKEYF_CONTROL) != 0) hotkey.Modifiers |= hmControl;
  if ((flags & HOTKEYF_ALT) != 0) hotkey.Modifiers |= hmAlt;
  if ((flags & HOTKEYF_SHIFT) != 0) hotkey.Modifiers |= hmShift;
  return hotkey;
}

bool HotkeyAvailable(HWND window, THotkey hotkey) {
  if (hotkey.Empty()) return true;
  if (!::RegisterHotKey(window, ProbeId, HotkeyModifierFlags(hotkey), hotkey.Key)) return false;
  ::UnregisterHotKey(window, ProbeId);
  return true;
}

bool THotkeyRegistrations::Register(int id, THotkey hotkey) {
  if (hotkey.Empty()) return true;
  if (!::RegisterHotKey(FWindow, id, HotkeyModifierFlags(hotkey), hotkey.Key)) return false;
  FIds.push_back(id);
  return true;
}

void THotkeyRegistrations::Clear() {
  for (const int id : FIds) ::UnregisterHotKey(FWindow, id);
  FIds.clear();
}
