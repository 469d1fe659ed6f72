#include "about/win32/QorvelAboutDialogs.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "gui/Application.h"
#include "gui/Dpi.h"
#include "gui/Window.h"
#include "install/QorvelFileVersionInfo.h"

namespace {

constexpr COLORREF LinkColor = RGB(0x00, 0x00, 0xFF);
constexpr COLORREF PressedLinkColor = RGB(0xFF, 0x00, 0x00);

// The font dialogs use, at `dpi`.
LOGFONTW MessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW font{};
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font = metrics.lfMessageFont;
    font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  } else {
    font.lfHeight = -::MulDiv(8, static_cast<int>(dpi), 72);
    lstrcpynW(font.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
  }
  return font;
}

HFONT CreateFontWith(LOGFONTW font, LONG weight, bool underline) {
  font.lfWeight = weight;
  font.lfUnderline = underline ? TRUE : FALSE;
  return ::CreateFontIndirectW(&font);
}

RECT WorkAreaAround(POINT point) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (::GetMonitorInfoW(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
  RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  return area;
}

TRect ToTRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

// A web link: blue text that is underlined under the pointer and red while pressed;
// clicking it (or Space while it has the focus) opens its address through the shell.
class TQorvelAboutLink : public TWindow {
 public:
  TQorvelAboutLink(HWND parent, const std::wstring& text, std::wstring address, const RECT& bounds, LOGFONTW font)
      : FAddress(std::move(address)),
        FFont(CreateFontWith(font, FW_NORMAL, false)),
        FHotFont(CreateFontWith(font, FW_NORMAL, true)) {
    TCreateParams params;
    params.ClassName = L"TQorvelAboutLink";
    params.Cursor = ::LoadCursorW(nullptr, IDC_HAND);
    params.Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    params.Caption = text;
    params.Parent = parent;
    // Only the text itself is the link, centred in its row.
    const int textWidth = TextWidth(text) + 4;
    const int rowWidth = bounds.right - bounds.left;
    const int width = std::min(textWidth, rowWidth);
    params.Left = bounds.left + (rowWidth - width) / 2;
    params.Top = bounds.top;
    params.Width = width;
    params.Height = bounds.bottom - bounds.top;
    CreateHandle(params);
  }

  bool Hot() const { return FHot; }
  bool Pressed() const { return FPressed; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: {
        TPaintScope paint(Handle());
        Paint(paint.DC());
        return 0;
      }
      case WM_ERASEBKGND:
        return 1;
      case WM_MOUSEMOVE: {
        if (!FHot) {
          TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
          ::TrackMouseEvent(&track);
        }
        const bool inside = Inside(lParam);
        SetState(inside || FCaptured, FCaptured && inside);
        return 0;
      }
      case WM_MOUSELEAVE:
        if (!FCaptured) SetState(false, false);
        return 0;
      case WM_LBUTTONDOWN:
        ::SetFocus(Handle());
        ::SetCapture(Handle());
        FCaptured = true;
        SetState(true, true);
        return 0;
      case WM_LBUTTONUP: {
        const bool open = FCaptured && Inside(lParam);
        ReleaseMouse();
        SetState(Inside(lParam), false);
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
        if (message == WM_KILLFOCUS && !FCaptured) SetState(FHot, false);
        Invalidate();
        return 0;
      case WM_GETDLGCODE:
        return DLGC_WANTCHARS;
      default:
        return DefaultHandler(message, wParam, lParam);
    }
  }

 private:
  int TextWidth(const std::wstring& text) const {
    TWindowDC screen(nullptr);
    TSelectScope font(screen.Get(), FHotFont.Get());
    SIZE size{};
    ::GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }

  bool Inside(LPARAM lParam) const {
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const RECT client = ClientRect();
    return ::PtInRect(&client, point) != FALSE;
  }

  void SetState(bool hot, bool pressed) {
    if (hot == FHot && pressed == FPressed) return;
    FHot = hot;
    FPressed = pressed;
    Invalidate();
  }

  void ReleaseMouse() {
    if (FCaptured) {
      FCaptured = false;
      ::ReleaseCapture();
    }
  }

  void Open() {
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(::GetAncestor(Handle(), GA_ROOT), L"open", FAddress.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) TGuiApplication::Instance().ReportError(L"Cannot open \"" + FAddress + L"\".");
  }

  void Paint(HDC dc) const {
    RECT client = ClientRect();
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    wchar_t text[1024] = {};
    ::GetWindowTextW(Handle(), text, static_cast<int>(std::size(text)));
    TSelectScope font(dc, (FHot || FPressed) ? FHotFont.Get() : FFont.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, FPressed ? PressedLinkColor : LinkColor);
    ::DrawTextW(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (::GetFocus() == Handle() &&
        !(::SendMessageW(::GetAncestor(Handle(), GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
      ::DrawFocusRect(dc, &client);
  }

  std::wstring FAddress;
  TFontHandle FFont, FHotFont;
  bool FHot = false;
  bool FPressed = false;
  bool FCaptured = false;
};

// ---------------------------------------------------------------------------------------

std::string UserTimeSeparator() {
  wchar_t separator[8] = {};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, separator, static_cast<int>(std::size(separator))) > 1)
    return Narrow(separator);
  return ":";
}

TQorvelAboutVersionTexts AppAboutVersionTexts() {
  TQorvelFileVersionInfo& info = AppVersionInfo();
  TQorvelAboutVersionTexts texts;
  texts.Available = info.HasInfo();
  texts.ProductName = Narrow(info.ProductName());
  texts.ProductVersion = Narrow(info.ProductVersion());
  texts.LegalCopyright = Narrow(info.LegalCopyright());
  texts.FileVersion = Narrow(info.FileVersion());
  return texts;
}

bool TQorvelAboutDialog::LoadLogo(const wchar_t* resourceName) {
  FLogo.Reset(static_cast<HBITMAP>(
      ::LoadImageW(ModuleInstance(), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  return static_cast<bool>(FLogo);
}

void TQorvelAboutDialog::Execute() {
  TQorvelAboutForm form(*this);
  form.ShowModal();
}

// ---------------------------------------------------------------------------------------

TQorvelAboutForm::TQorvelAboutForm(const TQorvelAboutDialog& dialog)
    : FDialog(dialog), FTimeSeparator(UserTimeSeparator()), FLogo(dialog.Logo()) {
  FContent = BuildAboutContent(dialog, AppAboutVersionTexts(), FTimeSeparator);
  TCreateParams params;
  params.ClassName = L"TQorvelAboutForm";
  params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_DLGMODALFRAME;
  params.Caption = Widen(FContent.Caption);
  params.Left = params.Top = 0;
  params.Width = params.Height = 100;
  // Owned by the main window, so that a ruler kept on top cannot cover the box.
  params.Parent = dialog.MainWindow;
  CreateHandle(params);
  Rebuild(WindowDpi(Handle()));
}

TQorvelAboutForm::~TQorvelAboutForm() {
  if (FTicking) StopTimer(UsageTimer);
  // The children go with the window; the link object must not outlive its handle's owner.
  DestroyHandle();
}

HWND TQorvelAboutForm::LinkWindow() const { return FLink ? FLink->Handle() : nullptr; }

int TQorvelAboutForm::Scaled(int value96) const { return ScaleForDpi(value96, FDpi); }

RECT TQorvelAboutForm::ScaledRect(const TRect& r) const {
  return {Scaled(r.Left), Scaled(r.Top), Scaled(r.Right), Scaled(r.Bottom)};
}

HWND TQorvelAboutForm::AddStatic(const std::wstring& text, const TRect& rect96, DWORD alignment, HFONT font) {
  const RECT r = ScaledRect(rect96);
  HWND label = ::CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | alignment, r.left,
                                 r.top, r.right - r.left, r.bottom - r.top, Handle(), nullptr, ModuleInstance(),
                                 nullptr);
  if (!label) throw std::runtime_error("Cannot create a label of the about box.");
  ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return label;
}

// Lays the box out anew at `dpi`: at creation, and when it moves to a monitor with
// another scale.
void TQorvelAboutForm::Rebuild(UINT dpi) {
  FLink.reset();
  while (HWND child = ::GetWindow(Handle(), GW_CHILD)) ::DestroyWindow(child);
  FOkButton = FUsageLabel = FFocus = nullptr;
  FDpi = dpi;
  const LOGFONTW font = MessageFont(FDpi);
  FFont.Reset(CreateFontWith(font, FW_NORMAL, false));
  FBoldFont.Reset(CreateFontWith(font, FW_BOLD, false));
  Build();
  RefreshUsage();
}

void TQorvelAboutForm::Build() {
  using K = TQorvelAboutLineKind;
  const TQorvelAboutContent& content = FContent;
  TQorvelAboutLayout layout;
  // Single centred lines cut long texts with an ellipsis instead of wrapping them.
  constexpr DWORD FixedLine = SS_CENTER | SS_ENDELLIPSIS;
  for (const TQorvelAboutLine& line : content.Lines) {
    const std::wstring text = Widen(line.Text);
    switch (line.Kind) {
      case K::Logo: {
        BITMAP info{};
        if (FLogo && ::GetObjectW(FLogo, sizeof(info), &info)) FLogoSize = {info.bmWidth, std::abs(info.bmHeight)};
        FLogoRect = ScaledRect(layout.AddLogo(FLogoSize.cx, FLogoSize.cy));
        break;
      }
      case K::Title:
        AddStatic(text, layout.AddFixedLabel(), FixedLine, FBoldFont.Get());
        break;
      case K::Fixed:
        AddStatic(text, layout.AddFixedLabel(), FixedLine, FFont.Get());
        break;
      case K::StartCount:
        AddStatic(text, layout.AddFixedLabel(), FixedLine, FFont.Get());
        break;
      case K::Usage:
        FUsageLabel = AddStatic(text, layout.AddFixedLabel(), FixedLine, FFont.Get());
        break;
      case K::Link: {
        LOGFONTW font{};
        ::GetObjectW(FFont.Get(), sizeof(font), &font);
        FLink = std::make_unique<TQorvelAboutLink>(Handle(), text, Widen(line.Address),
                                                   ScaledRect(layout.AddFixedLabel()), font);
        break;
      }
      case K::Info: {
        // Measure the wrapped text at the width it will have on screen.
        RECT measure{0, 0, Scaled(layout.TextWidth()), 0};
        {
          TWindowDC dc(Handle());
          TSelectScope font(dc.Get(), FFont.Get());
          ::DrawTextW(dc.Get(), text.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        }
        const int height96 = (measure.bottom * 96 + static_cast<int>(FDpi) - 1) / static_cast<int>(FDpi);
        AddStatic(text, layout.AddWrappingLabel(height96), content.InfoLeftAligned ? SS_LEFT : SS_CENTER,
                  FFont.Get());
        break;
      }
      case K::Gap:
        layout.SetGap(line.Height);
        break;
    }
  }
  const RECT button = ScaledRect(layout.AddButton());
  FOkButton = ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                button.left, button.top, button.right - button.left, button.bottom - button.top,
                                Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), ModuleInstance(),
                                nullptr);
  if (!FOkButton) throw std::runtime_error("Cannot create the button of the about box.");
  ::SendMessageW(FOkButton, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
  FFocus = FOkButton;
  FTicking = content.Ticking;

  // The client area as laid out, whatever frame the system draws around it.
  RECT window = BoundsRect();
  RECT client = ClientRect();
  const int frameWidth = (window.right - window.left) - client.right;
  const int frameHeight = (window.bottom - window.top) - client.bottom;
  SetBounds(0, 0, Scaled(layout.ClientWidth()) + frameWidth, Scaled(layout.ClientHeight()) + frameHeight,
            SWP_NOMOVE);
}

void TQorvelAboutForm::PlaceOnScreen() {
  const RECT bounds = BoundsRect();
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  RECT anchor{};
  switch (FDialog.FormPosition) {
    case TFormPosition::poDesigned:
      return;
    case TFormPosition::poMainFormCenter:
      if (FDialog.MainWindow && ::IsWindowVisible(FDialog.MainWindow) && ::GetWindowRect(FDialog.MainWindow, &anchor))
        break;
      [[fallthrough]];  // a hidden main window: centre where the user is working
    case TFormPosition::poScreenCenter: {
      POINT cursor{};
      ::GetCursorPos(&cursor);
      anchor = WorkAreaAround(cursor);
      break;
    }
  }
  const POINT centre{anchor.left + (anchor.right - anchor.left) / 2, anchor.top + (anchor.bottom - anchor.top) / 2};
  const TPoint origin = CenteredWindowOrigin(ToTRect(anchor), width, height, ToTRect(WorkAreaAround(centre)));
  ::SetWindowPos(Handle(), nullptr, origin.X, origin.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TQorvelAboutForm::RefreshUsage() {
  if (!FUsageLabel || !FDialog.Execution) return;
  const std::wstring text = Widen(AboutUsageText(FDialog.Execution->OverallTime(), FTimeSeparator));
  wchar_t shown[256] = {};
  ::GetWindowTextW(FUsageLabel, shown, static_cast<int>(std::size(shown)));
  if (text != shown) ::SetWindowTextW(FUsageLabel, text.c_str());
}

void TQorvelAboutForm::DoShow() {
  PlaceOnScreen();
  if (FTicking) {
    RefreshUsage();
    StartTimer(UsageTimer, 1000, [this] { RefreshUsage(); });
  }
}

void TQorvelAboutForm::DoClose() {
  if (FTicking) StopTimer(UsageTimer);
}

void TQorvelAboutForm::PaintLogo(HDC dc) const {
  if (!FLogo || FLogoSize.cx <= 0 || FLogoSize.cy <= 0) return;
  TMemoryDC source(::CreateCompatibleDC(dc));
  TSelectScope picture(source.Get(), FLogo);
  const int width = FLogoRect.right - FLogoRect.left;
  const int height = FLogoRect.bottom - FLogoRect.top;
  if (width == FLogoSize.cx && height == FLogoSize.cy) {
    ::BitBlt(dc, FLogoRect.left, FLogoRect.top, width, height, source.Get(), 0, 0, SRCCOPY);
  } else {
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, FLogoRect.left, FLogoRect.top, width, height, source.Get(), 0, 0, FLogoSize.cx, FLogoSize.cy,
                 SRCCOPY);
  }
}

LRESULT TQorvelAboutForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client = ClientRect();
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT: {
      TPaintScope paint(Handle());
      PaintLogo(paint.DC());
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_COMMAND:
      // The one button is both the default and the cancel button: Enter and Esc close.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        SetModalResult(TModalResult::Ok);
        return 0;
      }
      break;
    case DpiChangedMessage: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      const bool active = ::GetActiveWindow() == Handle();
      Rebuild(HIWORD(wParam) ? HIWORD(wParam) : FDpi);
      ::SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      if (active) ::SetFocus(FFocus);
      ::InvalidateRect(Handle(), nullptr, TRUE);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (HWND focus = ::GetFocus(); focus && ::IsChild(Handle(), focus)) FFocus = focus;
      } else if (FFocus) {
        ::SetFocus(FFocus);
      }
      return 0;
    default:
      break;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}
