#pragma once
// Owner-drawn standard controls tell their parent to draw them. Parents that hold such
// controls pass the request back to the control's object, which knows what it shows.

#include <windows.h>

#include <string>

#include "gui/Handles.h"
#include "gui/SubclassedControls.h"

// Sends a parent's WM_DRAWITEM to the control it is for as CN_BASE + WM_DRAWITEM; answers
// whether the control is one of ours.
inline bool ReflectDrawItem(LPARAM lParam) {
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (!item || !TSubclassedControl::FromHandle(item->hwndItem)) return false;
  ::SendMessageW(item->hwndItem, CN_BASE + WM_DRAWITEM, 0, lParam);
  return true;
}

// An owner-drawn item's caption in `color` and `font`, centred in the height of `text` and cut
// with an ellipsis; then the focus frame around `frame` where the system wants one.
inline void DrawItemCaption(const DRAWITEMSTRUCT& item, RECT text, const std::wstring& caption, COLORREF color,
                            HFONT font, const RECT& frame) {
  const TSelectScope selected(item.hDC, font);
  ::SetBkMode(item.hDC, TRANSPARENT);
  ::SetTextColor(item.hDC, color);
  ::DrawTextW(item.hDC, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) ::DrawFocusRect(item.hDC, &frame);
}
