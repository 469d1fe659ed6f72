#pragma once
// A line "Visit <link> for more information." whose link part opens a web address through
// the shell: underlined while the pointer is over it or presses it, red while pressed, blue
// otherwise. Space opens it too while the line has the focus.

#include <windows.h>

#include <functional>
#include <string>

#include "gui/Handles.h"
#include "gui/Window.h"

class TQorvelWebLink : public TWindow {
 public:
  TQorvelWebLink(HWND parent, const RECT& bounds, std::wstring linkText, std::wstring address, HFONT font);

  const std::wstring& Prefix() const { return FPrefix; }
  const std::wstring& LinkText() const { return FLinkText; }
  const std::wstring& Suffix() const { return FSuffix; }
  // The link part in client coordinates.
  RECT LinkRect() const;
  bool Hot() const { return FHot; }
  bool Pressed() const { return FPressed; }

  // Opens the address; replaceable so that tests do not start a browser.
  std::function<bool(const std::wstring& address)> OnOpen;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct TLayout {
    RECT Prefix{}, Link{}, Suffix{};
  };
  TLayout LayOut(HDC dc) const;
  bool OverLink(LPARAM lParam) const;
  void SetState(bool hot, bool pressed);
  void Open();
  void Paint(HDC dc) const;

  std::wstring FPrefix = L"Visit ", FLinkText, FSuffix = L" for more information.";
  std::wstring FAddress;
  HFONT FFont;
  TFontHandle FHotFont;
  bool FHot = false, FPressed = false, FCaptured = false;
};

// Opens a web address through the shell with the hourglass showing; answers whether it
// could be started.
bool OpenWebAddress(HWND owner, const std::wstring& address);
