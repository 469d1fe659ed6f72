#include "color/win32/ColorFormatLists.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "gui/Application.h"
#include "gui/CommonControls.h"

namespace {

// Loaded before the list is made: the list view is a common control.
const wchar_t* ListViewClass() {
  CommonControls::Load(ICC_LISTVIEW_CLASSES);
  return WC_LISTVIEWW;
}

}  // namespace

TColorFormatList::TColorFormatList(HWND parent, const RECT& list, const RECT& upButton, const RECT& downButton,
                                   HFONT font)
    : FList(ListViewClass(), L"", WS_BORDER | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
            parent, list, font),
      FUp(L"BUTTON", L"Move &up", BS_PUSHBUTTON, parent, upButton, font),
      FDown(L"BUTTON", L"Move do&wn", BS_PUSHBUTTON, parent, downButton, font) {
  ::SendMessageW(FList.Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  RECT client{};
  ::GetClientRect(FList.Handle(), &client);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = client.right - ::GetSystemMetrics(SM_CXVSCROLL);
  ::SendMessageW(FList.Handle(), LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  FUp.OnCommand = [this](WORD notification) {
    if (notification == BN_CLICKED) MoveSelected(-1);
  };
  FDown.OnCommand = [this](WORD notification) {
    if (notification == BN_CLICKED) MoveSelected(+1);
  };
}

void TColorFormatList::SetChoices(const std::vector<TColorFormatChoice>& choices) {
  FChoices = choices;
  const HWND list = FList.Handle();
  const int selected = std::max(Selected(), 0);
  ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t i = 0; i < FChoices.size(); ++i) {
    std::wstring name = Widen(std::string(ColorFormatInfo(FChoices[i].Format).Name));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = name.data();
    ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    LVITEMW state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(FChoices[i].Enabled ? 2 : 1);
    ::SendMessageW(list, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&state));
  }
  Select(std::min(selected, static_cast<int>(FChoices.size()) - 1));
}

std::vector<TColorFormatChoice> TColorFormatList::Choices() const {
  std::vector<TColorFormatChoice> choices = FChoices;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    const auto state = static_cast<UINT>(::SendMessageW(FList.Handle(), LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK));
    choices[i].Enabled = (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
  }
  return choices;
}

int TColorFormatList::Selected() const {
  return static_cast<int>(::SendMessageW(FList.Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TColorFormatList::Select(int index) {
  if (index < 0) return;
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(FList.Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
  ::SendMessageW(FList.Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void TColorFormatList::MoveSelected(int direction) {
  const int selected = Selected();
  if (selected < 0) return;
  std::vector<TColorFormatChoice> choices = Choices();
  const std::size_t moved = MoveColorFormatChoice(choices, static_cast<std::size_t>(selected), direction);
  SetChoices(choices);
  Select(static_cast<int>(moved));
}
