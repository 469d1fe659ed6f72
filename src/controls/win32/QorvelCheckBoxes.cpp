#include "controls/win32/QorvelCheckBoxes.h"

TQorvelCheckBox::TQorvelCheckBox(HWND parent, const std::wstring& caption, int left, int top, int width, int height,
                                 TQorvelCheckKind kind, bool groupStart) {
  const DWORD kindStyle = kind == TQorvelCheckKind::CheckBox ? BS_AUTOCHECKBOX : BS_AUTORADIOBUTTON;
  // Option buttons are reached with the arrow keys inside their group; only a group's
  // first button is a tab stop of its own.
  const DWORD tabStyle = kind == TQorvelCheckKind::CheckBox || groupStart ? WS_TABSTOP : 0;
  CreateControl(L"BUTTON", WS_CHILD | WS_VISIBLE | kindStyle | tabStyle | (groupStart ? WS_GROUP : 0), 0, parent, left,
                top, width, height);
  SetCaption(caption);
}

bool TQorvelCheckBox::Checked() const { return ::SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TQorvelCheckBox::SetChecked(bool value) {
  // BM_SETCHECK changes the state only; the control reports clicks alone.
  if (value != Checked()) ::SendMessageW(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TQorvelCheckBox::SetCaption(const std::wstring& caption) { ::SetWindowTextW(Handle(), caption.c_str()); }

LRESULT TQorvelCheckBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CN_COMMAND) {
    if (HIWORD(wParam) == BN_CLICKED && OnClick) OnClick(*this);
    return 0;
  }
  return DefaultHandler(message, wParam, lParam);
}
