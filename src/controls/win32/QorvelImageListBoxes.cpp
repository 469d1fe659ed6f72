#include "controls/win32/QorvelImageListBoxes.h"

#include "controls/win32/QorvelControlsCommon.h"
#include "controls/win32/QorvelOwnerDraw.h"
#include "gui/Handles.h"
#include "gui/ImageLists.h"

TQorvelImageListBox::TQorvelImageListBox(HWND parent, int left, int top, int width, int height, int rowHeight)
    : FRowHeight(rowHeight) {
  CreateControl(L"LISTBOX",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                    LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                WS_EX_CLIENTEDGE, parent, left, top, width, height);
  SetFont(DefaultControlFont());
}

void TQorvelImageListBox::SetFont(HFONT font) {
  FFont = font;
  ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, FRowHeight);
}

int TQorvelImageListBox::AddRow(std::wstring caption, int imageIndex) {
  ::SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(caption.c_str()));
  FRows.push_back({std::move(caption), imageIndex});
  return RowCount() - 1;
}

int TQorvelImageListBox::Selected() const { return static_cast<int>(::SendMessageW(Handle(), LB_GETCURSEL, 0, 0)); }

void TQorvelImageListBox::Select(int row) {
  if (row < 0 || row >= RowCount()) return;
  ::SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

RECT TQorvelImageListBox::RowRect(int row) const {
  RECT r{};
  ::SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  return r;
}

void TQorvelImageListBox::DrawItem(const DRAWITEMSTRUCT& item) const {
  const HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  const int index = static_cast<int>(item.itemID);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = ::GetFocus() == Handle();
  // While the list has no focus, its selection (the page shown beside it) stays clearly
  // marked in the system's inactive colours: the face colour would all but vanish on white.
  const int back = selected ? (focused ? COLOR_HIGHLIGHT : COLOR_INACTIVECAPTION) : COLOR_WINDOW;
  const int fore = selected ? (focused ? COLOR_HIGHLIGHTTEXT : COLOR_INACTIVECAPTIONTEXT) : COLOR_WINDOWTEXT;
  ::FillRect(dc, &r, ::GetSysColorBrush(back));
  if (index < 0 || index >= RowCount()) return;
  const TRow& row = FRows[static_cast<std::size_t>(index)];

  int x = r.left + 6;
  if (FImages) {
    if (HBITMAP image = FImages->Image(row.ImageIndex)) {
      TMemoryDC source(::CreateCompatibleDC(dc));
      TSelectScope select(source.Get(), image);
      const int top = r.top + (r.bottom - r.top - FImages->Height()) / 2;
      BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      ::GdiAlphaBlend(dc, x, top, FImages->Width(), FImages->Height(), source.Get(), 0, 0, FImages->Width(),
                      FImages->Height(), blend);
    }
    x += FImages->Width() + 6;
  }
  DrawItemCaption(item, {x, r.top, r.right - 4, r.bottom}, row.Caption, ::GetSysColor(fore),
                  FFont ? FFont : DefaultControlFont(), r);
}

LRESULT TQorvelImageListBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case CN_COMMAND:
      if (HIWORD(wParam) == LBN_SELCHANGE && OnChange) OnChange(*this);
      return 0;
    case CN_BASE + WM_DRAWITEM: DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The selected row changes colour with the focus.
      ::InvalidateRect(Handle(), nullptr, FALSE);
      break;
    default: break;
  }
  return DefaultHandler(message, wParam, lParam);
}
