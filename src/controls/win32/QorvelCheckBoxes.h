#pragma once
// Check boxes and option buttons whose state a program can set without it counting as a
// click: OnClick runs only for the user's clicks (mouse, Space, accelerator).

#include <windows.h>

#include <functional>
#include <string>

#include "gui/SubclassedControls.h"

enum class TQorvelCheckKind { CheckBox, OptionButton };

class TQorvelCheckBox : public TSubclassedControl {
 public:
  using TNotifyEvent = std::function<void(TQorvelCheckBox& sender)>;

  // Option buttons that start a new group pass `groupStart`; the arrow keys move within it.
  TQorvelCheckBox(HWND parent, const std::wstring& caption, int left, int top, int width, int height,
                  TQorvelCheckKind kind = TQorvelCheckKind::CheckBox, bool groupStart = false);

  bool Checked() const;
  // Sets the state without running OnClick.
  void SetChecked(bool value);
  void SetCaption(const std::wstring& caption);
  bool Enabled() const { return ::IsWindowEnabled(Handle()) != FALSE; }
  void SetEnabled(bool value) { ::EnableWindow(Handle(), value); }
  void SetFont(HFONT font) { ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE); }

  TNotifyEvent OnClick;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
