#include "controls/win32/QorvelWizards.h"

#include "controls/QorvelWizardLayouts.h"
#include "controls/win32/QorvelControlsCommon.h"
#include "controls/win32/QorvelOwnerDraw.h"
#include "gui/Dpi.h"

namespace {

RECT ToRect(const TRect& r, UINT dpi) {
  return {ScaleForDpi(r.Left, dpi), ScaleForDpi(r.Top, dpi), ScaleForDpi(r.Right, dpi), ScaleForDpi(r.Bottom, dpi)};
}

}  // namespace

TQorvelWizardPage::TQorvelWizardPage(HWND wizard, const RECT& bounds) {
  TCreateParams params = TCreateParams::Child(wizard, L"TQorvelWizardPage", WS_CHILD | WS_CLIPSIBLINGS, bounds);
  params.Background = ::GetSysColorBrush(COLOR_BTNFACE);
  params.ExStyle = WS_EX_CONTROLPARENT;
  CreateHandle(params);
}

LRESULT TQorvelWizardPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnMessage && OnMessage(message, wParam, lParam, result)) return result;
  // Owner-drawn controls of ours draw themselves.
  if (message == WM_DRAWITEM && wParam != 0 && ReflectDrawItem(lParam)) return TRUE;
  return TWindow::HandleMessage(message, wParam, lParam);
}

TQorvelWizard::TQorvelWizard(HWND parent, int pageCount, int buttonWidth, UINT dpi)
    : FDpi(dpi), FFont(DefaultControlFont()) {
  RECT client{};
  ::GetClientRect(parent, &client);
  TCreateParams params = TCreateParams::Child(parent, L"TQorvelWizard", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                             {0, 0, client.right, client.bottom});
  params.Background = ::GetSysColorBrush(COLOR_BTNFACE);
  params.ExStyle = WS_EX_CONTROLPARENT;
  CreateHandle(params);

  // Layout in 96-dpi units, then scaled.
  const int width96 = ::MulDiv(client.right, 96, static_cast<int>(dpi));
  const int height96 = ::MulDiv(client.bottom, 96, static_cast<int>(dpi));
  RECT pageRect = ToRect(WizardPageRect(width96, height96), dpi);
  pageRect.right = client.right;
  for (int i = 0; i < pageCount; ++i) FPages.push_back(std::make_unique<TQorvelWizardPage>(Handle(), pageRect));
  const auto buttons = WizardButtonRects(width96, height96, buttonWidth);
  FButtons[wbBack] = CreateButton(BackId, ToRect(buttons[0], dpi), BS_PUSHBUTTON);
  FButtons[wbNext] = CreateButton(IDOK, ToRect(buttons[1], dpi), BS_DEFPUSHBUTTON);
  FButtons[wbCancel] = CreateButton(IDCANCEL, ToRect(buttons[2], dpi), BS_PUSHBUTTON);
}

int TQorvelWizard::Scaled(int value96) const { return ScaleForDpi(value96, FDpi); }

HWND TQorvelWizard::CreateButton(int id, const RECT& r, DWORD style) {
  return CreateChildControl(Handle(), L"BUTTON", L"", WS_TABSTOP | style, r, FFont, id);
}

HWND TQorvelWizard::Button(TButton button) const { return button == wbFinish ? FButtons[wbNext] : FButtons[button]; }

void TQorvelWizard::SetPageIndex(int index) {
  if (index < 0 || index >= PageCount() || index == FPageIndex) return;
  const int old = FPageIndex;
  FPageIndex = index;
  FPages[static_cast<std::size_t>(index)]->SetBounds(0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  if (old >= 0) ::ShowWindow(FPages[static_cast<std::size_t>(old)]->Handle(), SW_HIDE);
  RefreshButtons();
  if (OnChangePage) OnChangePage();
  // Keep the keyboard on the wizard: on Next, else on the page's first control.
  HWND root = ::GetAncestor(Handle(), GA_ROOT);
  if (::GetActiveWindow() == root) {
    HWND focus = ::IsWindowEnabled(FButtons[wbNext]) ? FButtons[wbNext] : nullptr;
    if (!focus) focus = ::GetNextDlgTabItem(FPages[static_cast<std::size_t>(index)]->Handle(), nullptr, FALSE);
    if (focus) ::SetFocus(focus);
  }
}

void TQorvelWizard::RefreshButtons() {
  const bool last = FPageIndex == PageCount() - 1;
  const TButton kinds[3] = {wbBack, last ? wbFinish : wbNext, wbCancel};
  const std::wstring captions[4] = {ButtonBack, ButtonNext, ButtonCancel, ButtonFinish};
  for (int i = 0; i < 3; ++i) {
    bool enabled = !(kinds[i] == wbBack && FPageIndex <= 0);
    std::wstring caption = captions[kinds[i]];
    if (OnCustomButton) OnCustomButton(kinds[i], enabled, caption, FPageIndex);
    // Alt and the first letter press a button that moves the wizard; Escape is Cancel's key.
    if (kinds[i] != wbCancel && !caption.empty() && caption.find(L'&') == std::wstring::npos) caption.insert(0, L"&");
    ::SetWindowTextW(FButtons[i], caption.c_str());
    ::EnableWindow(FButtons[i], enabled ? TRUE : FALSE);
  }
}

bool TQorvelWizard::Clickable(TButton button) const {
  const HWND handle = Button(button);
  return ::IsWindowEnabled(handle) && ::IsWindowVisible(handle);
}

void TQorvelWizard::Next() { Navigate(OnNavigateNext, FPageIndex + 1, FPageIndex == PageCount() - 1); }

void TQorvelWizard::Back() { Navigate(OnNavigateBack, FPageIndex - 1, false); }

void TQorvelWizard::Navigate(const TNavigateEvent& handler, int target, bool finish) {
  if (handler) handler(FPageIndex, finish, target);
  if (finish)
    Finish();
  else
    SetPageIndex(target);
}

void TQorvelWizard::Cancel() {
  int result = IDCANCEL;
  if (OnCancel) OnCancel(result);
  if (result != 0 && OnClose) OnClose(result);
}

void TQorvelWizard::Finish() {
  int result = IDOK;
  if (OnFinish) OnFinish(result);
  if (result != 0 && OnClose) OnClose(result);
}

LRESULT TQorvelWizard::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        // Enter and Esc arrive here too (through the form): only enabled buttons act.
        switch (LOWORD(wParam)) {
          case BackId:
            if (Clickable(wbBack)) Back();
            return 0;
          case IDOK:
            if (Clickable(wbNext)) Next();
            return 0;
          case IDCANCEL:
            if (Clickable(wbCancel)) Cancel();
            return 0;
          default: break;
        }
      }
      break;
    default: break;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}
