#pragma once
// Owner-drawn standard controls tell their parent to draw them. Parents that hold such
// controls pass the request back to the control's object, which knows what it shows.

#include <windows.h>

#include "gui/SubclassedControls.h"

// Sends a parent's WM_DRAWITEM to the control it is for as CN_BASE + WM_DRAWITEM; answers
// whether the control is one of ours.
inline bool ReflectDrawItem(LPARAM lParam) {
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (!item || !TSubclassedControl::FromHandle(item->hwndItem)) return false;
  ::SendMessageW(item->hwndItem, CN_BASE + WM_DRAWITEM, 0, lParam);
  return true;
}
