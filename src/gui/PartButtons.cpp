#include "gui/PartButtons.h"

TPartButton::TPartButton(HWND parent, const RECT& bounds)
    : TCommandControl(L"BUTTON", L"", BS_OWNERDRAW, parent, bounds, nullptr) {
  OnCommand = [this](WORD notification) {
    if (notification == BN_CLICKED && OnPress) OnPress();
  };
  FAccessible = std::make_unique<TAccessibleClient>(Handle(), [this]() -> std::optional<TAccessibleTexts> {
    TAccessibleTexts texts;
    texts.Name = Text();
    texts.Role = ROLE_SYSTEM_PUSHBUTTON;
    texts.DefaultAction = L"Press";
    return texts;
  });
}

TPartButton::~TPartButton() { FAccessible->Disconnect(); }

void TPartButton::SetCaption(const std::wstring& caption) {
  if (Text() == caption) return;
  // Past the button's own procedure, which would paint its text over the part beneath.
  ::DefWindowProcW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
  FAccessible->AnnounceChanges();
}

LRESULT TPartButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST: return HTTRANSPARENT;  // the mouse belongs to the painted part beneath
    case WM_GETOBJECT: {
      LRESULT answer = 0;
      if (FAccessible->AnswerGetObject(wParam, lParam, answer)) return answer;
      break;
    }
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
    default:
      if (message == TAccessibleClient::DefaultActionMessage()) {
        if (OnPress) OnPress();
        return 0;
      }
      break;
  }
  return TCommandControl::HandleMessage(message, wParam, lParam);
}
