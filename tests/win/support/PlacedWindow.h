#pragma once
// The plain top-level window that tests and helper programs put things in or on.
#include <windows.h>

#include <string>

#include "gui/Window.h"

class TPlacedWindow : public TWindow {
 protected:
  // Creates the window of class `className` (registered on first use) at `bounds` on the
  // screen, hidden unless `style` holds WS_VISIBLE. Called from the constructor of the class
  // that handles the messages, so that those of the creation reach its handler.
  void CreateAt(const wchar_t* className, const RECT& bounds, DWORD style = WS_POPUP, DWORD exStyle = 0,
                const std::wstring& caption = {});
};
