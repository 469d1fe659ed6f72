#pragma once
// Small popup editors: a borderless, topmost window with a drop shadow that holds one
// numeric field. Enter applies the value, Escape or clicking elsewhere closes without it.
// The owner keeps the popup object and frees it after OnClose (it closes itself).

#include <windows.h>

#include <functional>
#include <memory>

#include "controls/win32/QorvelNumEdits.h"
#include "gui/Window.h"

class TQorvelPopupForm : public TWindow {
 public:
  TQorvelPopupForm();
  void Close();
  bool Closed() const { return FClosed; }

  std::function<void(TQorvelPopupForm& sender)> OnClose;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool FClosed = false;
};

class TQorvelNumEditForm : public TQorvelPopupForm {
 public:
  // Creates the field; call once right after construction.
  void CreateEdit();
  TQorvelNumEdit& Edit() { return *FEdit; }
  // Shows the popup with its top-left corner at a screen point, sized to its field.
  void ShowAt(int left, int top);

  std::function<void(TQorvelNumEditForm& sender)> OnEditChange;

 protected:
  virtual std::unique_ptr<TQorvelNumEdit> NewEdit(HWND parent) = 0;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool HandleKey(WORD key);
  std::unique_ptr<TQorvelNumEdit> FEdit;
};

class TQorvelIntEditForm : public TQorvelNumEditForm {
 public:
  TQorvelIntEditForm() { CreateEdit(); }
  TQorvelIntEdit& IntEdit() { return static_cast<TQorvelIntEdit&>(Edit()); }

 protected:
  std::unique_ptr<TQorvelNumEdit> NewEdit(HWND parent) override;
};

class TQorvelFloatEditForm : public TQorvelNumEditForm {
 public:
  TQorvelFloatEditForm() { CreateEdit(); }
  TQorvelFloatEdit& FloatEdit() { return static_cast<TQorvelFloatEdit&>(Edit()); }

 protected:
  std::unique_ptr<TQorvelNumEdit> NewEdit(HWND parent) override;
};
