#include "controls/win32/QorvelWebLinks.h"

#include <shellapi.h>

#include <algorithm>

#include "controls/win32/QorvelControlsCommon.h"

namespace {
constexpr COLORREF LinkColor = RGB(0x00, 0x00, 0xFF);
constexpr COLORREF PressedLinkColor = RGB(0xFF, 0x00, 0x00);

HFONT UnderlinedCopy(HFONT font) {
  LOGFONTW description{};
  ::GetObjectW(font, sizeof(description), &description);
  description.lfUnderline = TRUE;
  return ::CreateFontIndirectW(&description);
}
}  // namespace

bool OpenWebAddress(HWND owner, const std::wstring& address) {
  const HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  const auto result =
      reinterpret_cast<INT_PTR>(::ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  ::SetCursor(previous);
  return result > 32;
}

TQorvelWebLink::TQorvelWebLink(HWND parent, const RECT& bounds, std::wstring linkText, std::wstring address, HFONT font,
                               TWebLinkLine line)
    : FLine(line),
      FLinkText(std::move(linkText)),
      FAddress(std::move(address)),
      FFont(font),
      FHotFont(UnderlinedCopy(font)) {
  if (FLine == TWebLinkLine::VisitSentence) {
    FPrefix = L"Visit ";
    FSuffix = L" for more information.";
  }
  TCreateParams params;
  params.ClassName = L"TQorvelWebLink";
  params.Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  params.Caption = FPrefix + FLinkText + FSuffix;
  params.Place(bounds);
  if (FLine == TWebLinkLine::LinkAlone) {
    // Only the text itself is the link: a little wider than the text, for the focus frame.
    params.Width = std::min(static_cast<int>(TextExtent(FHotFont.Get(), FLinkText).cx) + 4, params.Width);
    params.Left += (bounds.right - bounds.left - params.Width) / 2;
  }
  params.Parent = parent;
  CreateHandle(params);
}

RECT TQorvelWebLink::LinkRect() const {
  TWindowDC dc(Handle());
  return LayOut(dc.Get()).Link;
}

// Where the three parts go, measured on the DC they are drawn on.
TQorvelWebLink::TLayout TQorvelWebLink::LayOut(HDC dc) const {
  const RECT client = ClientRect();
  TLayout layout;
  if (FLine == TWebLinkLine::LinkAlone) {
    layout.Link = client;
    return layout;
  }
  const auto width = [dc](HFONT font, const std::wstring& text) {
    TSelectScope selected(dc, font);
    return static_cast<int>(TextExtent(dc, text).cx);
  };
  const int left = width(FFont, FPrefix);
  // The underlined font may reach a pixel further than the plain one.
  const int right = left + std::max(width(FFont, FLinkText), width(FHotFont.Get(), FLinkText)) + 1;
  layout.Prefix = {0, client.top, left, client.bottom};
  layout.Link = {left, client.top, right, client.bottom};
  layout.Suffix = {right, client.top, client.right, client.bottom};
  return layout;
}

bool TQorvelWebLink::OverLink(LPARAM lParam) const {
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const RECT link = LinkRect();
  return ::PtInRect(&link, point) != FALSE;
}

void TQorvelWebLink::SetState(bool hot, bool pressed) {
  if (hot == FHot && pressed == FPressed) return;
  FHot = hot;
  FPressed = pressed;
  Invalidate();
}

void TQorvelWebLink::Open() {
  const bool opened = OnOpen ? OnOpen(FAddress) : OpenWebAddress(::GetAncestor(Handle(), GA_ROOT), FAddress);
  if (opened) return;
  if (OnOpenFailed)
    OnOpenFailed(FAddress);
  else
    ::MessageBeep(MB_ICONWARNING);
}

void TQorvelWebLink::Paint(HDC dc) const {
  RECT client = ClientRect();
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  ::SetBkMode(dc, TRANSPARENT);
  if (FLine == TWebLinkLine::LinkAlone) {
    TSelectScope font(dc, LinkFont());
    ::SetTextColor(dc, FPressed ? PressedLinkColor : LinkColor);
    ::DrawTextW(dc, FLinkText.c_str(), -1, &client,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  } else {
    PaintSentence(dc, LayOut(dc));
  }
  // The focus frame only once the user works with the keyboard, as the system's controls do.
  if (::GetFocus() == Handle() &&
      !(::SendMessageW(::GetAncestor(Handle(), GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
    const RECT link = LayOut(dc).Link;
    ::DrawFocusRect(dc, &link);
  }
}

void TQorvelWebLink::PaintSentence(HDC dc, const TLayout& layout) const {
  // Each part at the place the layout measured for it, so that what is drawn, what the
  // pointer finds and what the focus frame shows agree.
  const auto draw = [dc](HFONT font, COLORREF color, const std::wstring& text, const RECT& box) {
    TSelectScope selected(dc, font);
    ::SetTextColor(dc, color);
    RECT r = box;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  };
  draw(FFont, ::GetSysColor(COLOR_BTNTEXT), FPrefix, layout.Prefix);
  draw(LinkFont(), FPressed ? PressedLinkColor : LinkColor, FLinkText, layout.Link);
  draw(FFont, ::GetSysColor(COLOR_BTNTEXT), FSuffix, layout.Suffix);
}

std::vector<TDrawnText> TQorvelWebLink::DrawnTexts() const {
  TWindowDC dc(Handle());
  const TLayout layout = LayOut(dc.Get());
  if (FLine == TWebLinkLine::LinkAlone) return {{FLinkText, FHotFont.Get(), layout.Link, DT_CENTER}};
  return {{FPrefix, FFont, layout.Prefix}, {FLinkText, FHotFont.Get(), layout.Link}, {FSuffix, FFont, layout.Suffix}};
}

LRESULT TQorvelWebLink::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      TPaintScope paint(Handle());
      Paint(paint.DC());
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SETCURSOR: {
      POINT point{};
      ::GetCursorPos(&point);
      ::ScreenToClient(Handle(), &point);
      const RECT link = LinkRect();
      if (LOWORD(lParam) == HTCLIENT && ::PtInRect(&link, point)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
      ::TrackMouseEvent(&track);
      const bool over = OverLink(lParam);
      SetState(over || FCaptured, FCaptured && over);
      return 0;
    }
    case WM_MOUSELEAVE:
      if (!FCaptured) SetState(false, false);
      return 0;
    case WM_LBUTTONDOWN:
      if (!OverLink(lParam)) return 0;
      ::SetFocus(Handle());
      ::SetCapture(Handle());
      FCaptured = true;
      SetState(true, true);
      return 0;
    case WM_LBUTTONUP: {
      const bool open = FCaptured && OverLink(lParam);
      if (FCaptured) {
        FCaptured = false;
        ::ReleaseCapture();
      }
      SetState(OverLink(lParam), false);
      if (open) Open();
      return 0;
    }
    case WM_CAPTURECHANGED:
      FCaptured = false;
      SetState(FHot, false);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) SetState(FHot, true);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && FPressed) {
        SetState(FHot, false);
        Open();
      }
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // Space pressed and focus gone: the key's release goes elsewhere, so the press ends here.
      if (message == WM_KILLFOCUS && !FCaptured) SetState(FHot, false);
      Invalidate();
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTCHARS;
    default: break;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}
