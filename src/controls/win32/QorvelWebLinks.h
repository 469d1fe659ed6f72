#pragma once
// A web link that opens its address through the shell: underlined while the pointer is over
// it or presses it, red while pressed, blue otherwise. Space opens it too while it has the
// focus. It is either the line "Visit <link> for more information." (only the link part is
// the link) or the link text alone, centred in its row.

#include <windows.h>

#include <functional>
#include <string>

#include "gui/DrawnTexts.h"
#include "gui/Handles.h"
#include "gui/Window.h"

enum class TWebLinkLine {
  VisitSentence,  // "Visit <link> for more information." at the left of the bounds
  LinkAlone       // the link text alone, as wide as the text, centred in the bounds
};

class TQorvelWebLink : public TWindow, public TDrawsTexts {
 public:
  TQorvelWebLink(HWND parent, const RECT& bounds, std::wstring linkText, std::wstring address, HFONT font,
                 TWebLinkLine line = TWebLinkLine::VisitSentence);

  const std::wstring& Prefix() const { return FPrefix; }
  const std::wstring& LinkText() const { return FLinkText; }
  const std::wstring& Suffix() const { return FSuffix; }
  // The link part in client coordinates.
  RECT LinkRect() const;
  bool Hot() const { return FHot; }
  bool Pressed() const { return FPressed; }
  std::vector<TDrawnText> DrawnTexts() const override;

  // Opens the address; replaceable so that tests do not start a browser.
  std::function<bool(const std::wstring& address)> OnOpen;
  // Tells the user that the address could not be opened; a warning beep when not set.
  std::function<void(const std::wstring& address)> OnOpenFailed;

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
  void PaintSentence(HDC dc, const TLayout& layout) const;
  HFONT LinkFont() const { return (FHot || FPressed) ? FHotFont.Get() : FFont; }

  TWebLinkLine FLine;
  std::wstring FPrefix, FLinkText, FSuffix;
  std::wstring FAddress;
  HFONT FFont;
  TFontHandle FHotFont;
  bool FHot = false, FPressed = false, FCaptured = false;
};

// Opens a web address through the shell with the hourglass showing; answers whether it
// could be started.
bool OpenWebAddress(HWND owner, const std::wstring& address);
