#include "gui/Forms.h"

#include <algorithm>

#include "gui/Application.h"

namespace {
std::vector<TForm*>& FormList() {
  static std::vector<TForm*> forms;
  return forms;
}
}  // namespace

TForm::TForm() { FormList().push_back(this); }

TForm::~TForm() {
  auto& forms = FormList();
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

const std::vector<TForm*>& TForm::Forms() { return FormList(); }

TForm* TForm::ActiveForm() {
  const HWND active = ::GetActiveWindow();
  for (TForm* form : FormList())
    if (form->Handle() == active) return form;
  return nullptr;
}

bool TForm::OfferDialogKey(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !message.hwnd) return false;
  const HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
  for (TForm* form : FormList())
    if (form->Handle() == root) return form->FDialogKeyboard && ::IsDialogMessageW(root, &message) != FALSE;
  return false;
}

void TForm::Show() {
  if (!Visible()) DoShow();
  ::ShowWindow(Handle(), SW_SHOW);
  BringToFront();
}

void TForm::Close() {
  if (FShowingModal && FModalResult == TModalResult::None) FModalResult = TModalResult::Cancel;
  if (!Visible()) return;
  ::ShowWindow(Handle(), SW_HIDE);
  DoClose();
}

void TForm::BringToFront() {
  ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(Handle());
}

// The bookkeeping of one modal run, undone however the run ends (a form that fails to show
// must not leave the other forms disabled or the program believing a dialog is open).
class TForm::TModalScope {
 public:
  explicit TModalScope(TForm& form) : FForm(form) {
    // Every other visible form is disabled while this one is modal.
    for (TForm* other : FormList()) {
      if (other != &form && other->Visible() && ::IsWindowEnabled(other->Handle())) {
        ::EnableWindow(other->Handle(), FALSE);
        FDisabled.push_back(other->Handle());
      }
    }
    form.FShowingModal = true;
    form.FModalResult = TModalResult::None;
    TGuiApplication::Instance().BeginModal(form.Handle());
  }
  ~TModalScope() {
    TGuiApplication::Instance().EndModal(FForm.Handle());
    FForm.FShowingModal = false;
    for (HWND window : FDisabled) ::EnableWindow(window, TRUE);
  }
  TModalScope(const TModalScope&) = delete;
  TModalScope& operator=(const TModalScope&) = delete;

 private:
  TForm& FForm;
  std::vector<HWND> FDisabled;
};

TModalResult TForm::ShowModal() {
  MSG message{};
  bool quit = false;
  {
    const TModalScope modal(*this);
    Show();
    while (FModalResult == TModalResult::None && Visible()) {
      if (!::GetMessageW(&message, nullptr, 0, 0)) {
        quit = true;
        break;
      }
      if (!::IsDialogMessageW(Handle(), &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    }
  }
  if (Visible()) {
    ::ShowWindow(Handle(), SW_HIDE);
    DoClose();
  }
  if (quit) ::PostQuitMessage(static_cast<int>(message.wParam));  // let the outer loop end too
  return FModalResult == TModalResult::None ? TModalResult::Cancel : FModalResult;
}

void TForm::KeepFocusOverActivation(WPARAM activation, HWND& focus) const {
  if (LOWORD(activation) == WA_INACTIVE) {
    if (HWND current = ::GetFocus(); current && ::IsChild(Handle(), current)) focus = current;
  } else if (focus) {
    ::SetFocus(focus);
  }
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    Close();
    return 0;
  }
  if (message == WM_NEXTDLGCTL) {
    // What a dialog does when the dialog manager moves the focus (a label's access key
    // leads to the control after it): our forms are windows of their own class.
    HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                 : ::GetNextDlgTabItem(Handle(), ::GetFocus(), wParam != 0 ? TRUE : FALSE);
    if (target) {
      if (::SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessageW(target, EM_SETSEL, 0, -1);
      ::SetFocus(target);
    }
    return 0;
  }
  return DefaultHandler(message, wParam, lParam);
}
