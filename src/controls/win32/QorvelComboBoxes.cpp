#include "controls/win32/QorvelComboBoxes.h"

#include <algorithm>

#include "controls/win32/QorvelControlsCommon.h"
#include "controls/win32/QorvelOwnerDraw.h"
#include "gui/Handles.h"
#include "gui/ImageLists.h"

namespace {

constexpr int TextGap = 4;         // between image and caption, and at the left edge
constexpr int SeparatorSpace = 3;  // height reserved for the separator line in the list

void DrawImage(HDC dc, HBITMAP image, int x, int y, int width, int height, bool enabled) {
  TMemoryDC source(::CreateCompatibleDC(dc));
  TSelectScope select(source.Get(), image);
  // The images are premultiplied 32-bit bitmaps; a disabled item shows them faded.
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(enabled ? 255 : 110), AC_SRC_ALPHA};
  ::GdiAlphaBlend(dc, x, y, width, height, source.Get(), 0, 0, width, height, blend);
}

}  // namespace

TQorvelComboBox::TQorvelComboBox(HWND parent, int left, int top, int width, int height) {
  // The list height passed at creation covers the dropped-down list.
  CreateControl(
      L"COMBOBOX",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0,
      parent, left, top, width, height + 200);
  FFieldHeight = height - 6;  // the closed field, without its frame
  SetFont(DefaultControlFont());
}

void TQorvelComboBox::SetFont(HFONT font) {
  FFont = font;
  ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  UpdateItemHeight();
}

void TQorvelComboBox::AddItem(TQorvelComboItem item) {
  ::SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.Caption.c_str()));
  FItems.push_back(std::move(item));
  UpdateItemHeight();
}

void TQorvelComboBox::AddItems(std::initializer_list<const wchar_t*> captions) {
  for (const wchar_t* caption : captions) AddItem({caption});
}

void TQorvelComboBox::SetImages(const TImageList* images) {
  FImages = images;
  UpdateItemHeight();
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TQorvelComboBox::SetDropDownWidth(int width) { ::SendMessageW(Handle(), CB_SETDROPPEDWIDTH, width, 0); }

void TQorvelComboBox::UpdateItemHeight() {
  int height = TextExtent(FFont ? FFont : DefaultControlFont(), L"Ag").cy + 2;
  if (FImages) height = std::max(height, FImages->Height() + 2);
  if (std::any_of(FItems.begin(), FItems.end(), [](const TQorvelComboItem& i) { return i.SeparatorAbove; }))
    height += SeparatorSpace;
  ::SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, height);
  // The closed field grows only when an image would not fit it.
  const int field = FImages ? std::max(FFieldHeight, FImages->Height()) : FFieldHeight;
  ::SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
}

int TQorvelComboBox::ItemIndex() const { return static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0)); }

void TQorvelComboBox::SetItemIndex(int index) {
  if (index < 0 || index >= static_cast<int>(FItems.size())) index = -1;
  ::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TQorvelComboBox::DrawItem(const DRAWITEMSTRUCT& item) const {
  const HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool inField = (item.itemState & ODS_COMBOBOXEDIT) != 0;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0 && ::IsWindowEnabled(Handle());
  const int index = static_cast<int>(item.itemID);
  const TQorvelComboItem* entry =
      index >= 0 && index < static_cast<int>(FItems.size()) ? &FItems[static_cast<std::size_t>(index)] : nullptr;

  ::FillRect(dc, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
  // Every list item keeps the separator's room so that all captions line up.
  const bool reservesSeparator =
      !inField && std::any_of(FItems.begin(), FItems.end(), [](const TQorvelComboItem& i) { return i.SeparatorAbove; });
  if (reservesSeparator) {
    if (entry && entry->SeparatorAbove) {
      TPenHandle pen(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_GRAYTEXT)));
      TSelectScope usePen(dc, pen.Get());
      const int y = r.top + SeparatorSpace / 2;
      ::MoveToEx(dc, r.left + 2, y, nullptr);
      ::LineTo(dc, r.right - 2, y);
    }
    r.top += SeparatorSpace;
  }
  if (selected) ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_HIGHLIGHT));
  if (!entry) return;

  if (FImages) {
    if (HBITMAP image = FImages->Image(entry->ImageIndex)) {
      const int top = r.top + (r.bottom - r.top - FImages->Height()) / 2;
      DrawImage(dc, image, r.left + TextGap / 2, top, FImages->Width(), FImages->Height(), enabled);
    }
  }
  DrawItemCaption(item, {r.left + CaptionOffset(), r.top, r.right - TextGap / 2, r.bottom}, entry->Caption,
                  ::GetSysColor(!enabled   ? COLOR_GRAYTEXT
                                : selected ? COLOR_HIGHLIGHTTEXT
                                           : COLOR_WINDOWTEXT),
                  FFont ? FFont : DefaultControlFont(), r);
}

int TQorvelComboBox::CaptionOffset() const {
  return TextGap / 2 + (FImages ? FImages->Width() + TextGap : 0);
}

std::vector<TDrawnText> TQorvelComboBox::DrawnTexts() const {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetComboBoxInfo(Handle(), &info)) return {};
  const RECT& field = info.rcItem;
  const RECT box{field.left + CaptionOffset(), field.top, field.right - TextGap / 2, field.bottom};
  std::vector<TDrawnText> texts;
  for (const TQorvelComboItem& item : FItems) texts.push_back({item.Caption, FFont ? FFont : DefaultControlFont(), box});
  return texts;
}

LRESULT TQorvelComboBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case CN_COMMAND:
      if (HIWORD(wParam) == CBN_SELCHANGE && OnChange) OnChange(*this);
      return 0;
    case CN_BASE + WM_DRAWITEM: DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    default: return DefaultHandler(message, wParam, lParam);
  }
}
