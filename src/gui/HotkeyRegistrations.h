#pragma once
// System-wide hotkeys registered on one window: WM_HOTKEY arrives there with the id given.

#include <windows.h>

#include <vector>

#include "settings/Hotkeys.h"

// The MOD_* flags of RegisterHotKey for a chord, with MOD_NOREPEAT: a key held down starts
// its action once.
UINT HotkeyModifierFlags(THotkey hotkey);

// The HOTKEYF_* byte of the system's hotkey control and back. The control marks the keys of
// the editing block (Insert, Home, the arrows...) as extended, so that it names them apart
// from the number pad; a chord does not need the mark.
WORD HotkeyControlValue(THotkey hotkey);
THotkey HotkeyFromControlValue(WORD value);

// Whether no one holds the chord now: tried by registering it for a moment on `window`.
bool HotkeyAvailable(HWND window, THotkey hotkey);

// The chords registered on a window, each under its id; released when replaced or destroyed.
class THotkeyRegistrations {
 public:
  explicit THotkeyRegistrations(HWND window) : FWindow(window) {}
  ~THotkeyRegistrations() { Clear(); }
  THotkeyRegistrations(const THotkeyRegistrations&) = delete;
  THotkeyRegistrations& operator=(const THotkeyRegistrations&) = delete;

  // Answers false when the system refused the chord (another program, or another id of
  // ours, holds it). An empty chord registers nothing and answers true.
  bool Register(int id, THotkey hotkey);
  void Clear();

 private:
  HWND FWindow;
  std::vector<int> FIds;
};
