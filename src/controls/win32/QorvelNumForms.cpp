#include "controls/win32/QorvelNumForms.h"

#include <versionhelpers.h>

#include "gui/SubclassedControls.h"

namespace {
constexpr UINT kCloseLater = WM_USER + 1;

// The shadow class style exists from Windows XP (NT 5.1) on.
bool DropShadowAvailable() { return ::IsWindowsXPOrGreater(); }
}  // namespace

TQorvelPopupForm::TQorvelPopupForm() {
  TCreateParams params;
  const bool shadow = DropShadowAvailable();
  params.ClassName = shadow ? L"TQorvelPopupFormShadow" : L"TQorvelPopupForm";
  params.ClassStyle = shadow ? CS_DROPSHADOW : 0;
  params.Style = WS_POPUP | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  params.Left = params.Top = 0;
  params.Width = params.Height = 10;
  CreateHandle(params);
}

void TQorvelPopupForm::Close() {
  if (FClosed) return;
  FClosed = true;
  ::ShowWindow(Handle(), SW_HIDE);
  if (OnClose) OnClose(*this);
}

LRESULT TQorvelPopupForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      // Clicking anywhere else ends the popup; closing inside the activation change would
      // hand the focus around while the system is still moving it.
      if (LOWORD(wParam) == WA_INACTIVE && !FClosed) ::PostMessageW(Handle(), kCloseLater, 0, 0);
      return DefaultHandler(message, wParam, lParam);
    case kCloseLater:
    case WM_CLOSE: Close(); return 0;
    default: return DefaultHandler(message, wParam, lParam);
  }
}

void TQorvelNumEditForm::CreateEdit() {
  FEdit = NewEdit(Handle());
  // A flat field: the popup's shadow and the field's single line frame are its border.
  ::SetWindowLongW(FEdit->Handle(), GWL_EXSTYLE, ::GetWindowLongW(FEdit->Handle(), GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
  ::SetWindowLongW(FEdit->Handle(), GWL_STYLE, ::GetWindowLongW(FEdit->Handle(), GWL_STYLE) | WS_BORDER);
  ::SetWindowPos(FEdit->Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  FEdit->OnSpecialKey = [](TQorvelNumEdit&, WORD key, bool& defaultHandler) {
    if (key == VK_RETURN || key == VK_ESCAPE) defaultHandler = false;
  };
  FEdit->OnKeyDown = [this](TQorvelNumEdit&, WORD key) { HandleKey(key); };
}

bool TQorvelNumEditForm::HandleKey(WORD key) {
  if (Closed()) return false;
  if (key == VK_RETURN) {
    FEdit->UpdateText();
    if (OnEditChange) OnEditChange(*this);
    Close();
    return true;
  }
  if (key == VK_ESCAPE) {
    Close();
    return true;
  }
  return false;
}

void TQorvelNumEditForm::ShowAt(int left, int top) {
  RECT edit{};
  ::GetWindowRect(FEdit->Handle(), &edit);
  ::SetWindowPos(Handle(), HWND_TOPMOST, left, top, edit.right - edit.left, edit.bottom - edit.top, SWP_SHOWWINDOW);
  ::SetForegroundWindow(Handle());
  ::SetFocus(FEdit->Handle());
}

LRESULT TQorvelNumEditForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The program's loop offers keys to the form first; Enter and Escape are the form's.
  if (message == CN_BASE + WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
    return HandleKey(static_cast<WORD>(wParam)) ? 1 : 0;
  return TQorvelPopupForm::HandleMessage(message, wParam, lParam);
}

std::unique_ptr<TQorvelNumEdit> TQorvelIntEditForm::NewEdit(HWND parent) {
  return std::make_unique<TQorvelIntEdit>(parent, 0, 0, 60, 21);
}

std::unique_ptr<TQorvelNumEdit> TQorvelFloatEditForm::NewEdit(HWND parent) {
  return std::make_unique<TQorvelFloatEdit>(parent, 0, 0, 60, 21);
}
