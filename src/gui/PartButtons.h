#pragma once
// A push button standing for a part of a window that the window paints itself (one half of
// a colour slot, the revert corner of a preview). It is the system's button, so it is a tab
// stop, Space and Enter press it and a screen reader reads its caption as a button's name;
// but it draws nothing and lets the mouse through, and the window beneath draws its focus.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "gui/Accessibility.h"
#include "gui/SubclassedControls.h"

class TPartButton : public TCommandControl {
 public:
  TPartButton(HWND parent, const RECT& bounds);
  ~TPartButton() override;

  bool Focused() const { return Handle() && ::GetFocus() == Handle(); }
  // The name a screen reader reads; changing it tells the reader.
  void SetCaption(const std::wstring& caption);

  std::function<void()> OnPress;
  std::function<void()> OnFocusChange;  // the part is to draw its focus, or no longer

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::unique_ptr<TAccessibleClient> FAccessible;
};
