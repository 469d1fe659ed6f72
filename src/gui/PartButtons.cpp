#include "gui/PartButtons.h"

TPartButton::TPartButton(HWND parent, const RECT& bounds)
    : TCommandControl(L"BUTTON", L"", BS_OWNERDRAW, parent, bounds, nullptr) {
  OnCommand = [this](WORD notification) {
    if (notification == BN_CLICKED && OnPress) OnPress();
  };
}

void TPartButton::SetCaption(const std::wstring& caption) {
  if (Text() != caption) ::SetWindowTextW(Handle(), caption.c_str());
}

LRESULT TPartButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST: return HTTRANSPARENT;  // the mouse belongs to the painted part beneath
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      ::BeginPaint(Handle(), &paint);
      ::EndPaint(Handle(), &paint);
      return 0;
    }
    // A focused part is pressed by Enter, as the focused button of a dialog is.
    case WM_GETDLGCODE: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = TCommandControl::HandleMessage(message, wParam, lParam);
      if (OnFocusChange) OnFocusChange();
      return result;
    }
    default: return TCommandControl::HandleMessage(message, wParam, lParam);
  }
}
