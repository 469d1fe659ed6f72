#pragma once
// A standard Windows control (an edit, a button ...) owned by an object that sees its
// messages first. The control's own window procedure handles whatever the object passes on.
// Notifications the control sends its parent (WM_COMMAND) come back to the object as
// CN_COMMAND, reflected by every toolkit window, so that a control can handle its own
// changes wherever it is placed.

#include <windows.h>

#include <functional>
#include <string>

#include "gui/Handles.h"

// Messages the toolkit sends to a control about itself: the base matches the tray frame's
// keyboard preview (message + CN_BASE).
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;

class TSubclassedControl {
 public:
  TSubclassedControl() = default;
  virtual ~TSubclassedControl();
  TSubclassedControl(const TSubclassedControl&) = delete;
  TSubclassedControl& operator=(const TSubclassedControl&) = delete;

  // The object of a subclassed control, or null for any other window.
  static TSubclassedControl* FromHandle(HWND control);

  HWND Handle() const { return FHandle.Get(); }
  std::wstring Text() const;
  void SetBounds(int left, int top, int width, int height);

  // Sends a parent's WM_COMMAND back to the control it came from; answers whether it was
  // one of ours.
  static bool ReflectCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);

 protected:
  void CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int left, int top, int width,
                     int height);
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  static LRESULT CALLBACK Thunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  TWindowHandle FHandle;
  WNDPROC FOriginalProc = nullptr;
};

// A system control ("BUTTON", a list view, a hotkey field) as a visible tab stop of
// `parent` in `font`, whose notifications to the parent arrive at OnCommand.
class TCommandControl : public TSubclassedControl {
 public:
  TCommandControl(const wchar_t* className, const wchar_t* text, DWORD style, HWND parent, const RECT& bounds,
                  HFONT font);
  std::function<void(WORD notification)> OnCommand;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
