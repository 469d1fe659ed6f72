#pragma once
// Top-level forms: closing hides them (they live until the program ends), they can be shown
// modally with the toolkit's bookkeeping, and they are listed in creation order so that the
// tray frame can keep modal dialogs in front of the main form.

#include <windows.h>

#include <vector>

#include "gui/Window.h"

enum class TModalResult { None = 0, Ok = IDOK, Cancel = IDCANCEL, Yes = IDYES, No = IDNO };

class TForm : public TWindow {
 public:
  TForm();
  ~TForm() override;

  // All forms of the program, in creation order.
  static const std::vector<TForm*>& Forms();
  // The form that holds the activation, if it is one of ours.
  static TForm* ActiveForm();

  void Show();   // shows and activates
  void Close();  // hides; the form stays for the next Show
  void BringToFront();
  bool Minimized() const { return Handle() && ::IsIconic(Handle()); }
  void Restore() { ::ShowWindow(Handle(), SW_RESTORE); }

  // A modeless form with controls takes the dialog manager's keys: Tab and the arrows move
  // the focus, access keys reach their controls, Enter sends IDOK and Escape IDCANCEL. A
  // modal run has them anyway; between runs the program's message loop hands them over
  // through OfferDialogKey.
  void UseDialogKeyboard() { FDialogKeyboard = true; }
  // A key message for a window of a form that takes the dialog keys is handled here
  // (answers true); anything else is left to the caller.
  static bool OfferDialogKey(MSG& message);

  bool ShowingModal() const { return FShowingModal; }
  TModalResult ShowModal();  // runs until ModalResult is set or the form is closed
  void SetModalResult(TModalResult result) { FModalResult = result; }
  TModalResult ModalResult() const { return FModalResult; }

 protected:
  // Called before the window is shown and after it was hidden by Close.
  virtual void DoShow() {}
  virtual void DoClose() {}
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // For WM_ACTIVATE of a dialog-like form: the child that had the focus is kept in `focus`
  // when the form is deactivated and gets it back when it is activated again.
  void KeepFocusOverActivation(WPARAM activation, HWND& focus) const;

 private:
  class TModalScope;
  bool FShowingModal = false;
  bool FDialogKeyboard = false;
  TModalResult FModalResult = TModalResult::None;
};
