#include "about/win32/QorvelAboutDialogs.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "controls/win32/QorvelControlsCommon.h"
#include "controls/win32/QorvelWebLinks.h"
#include "gui/Application.h"
#include "gui/Dpi.h"
#include "install/QorvelFileVersionInfo.h"

namespace {

HFONT CreateFontWith(LOGFONTW font, LONG weight) {
  font.lfWeight = weight;
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
  FLogo.Reset(
      static_cast<HBITMAP>(::LoadImageW(ModuleInstance(), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
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
  params.Background = ::GetSysColorBrush(COLOR_BTNFACE);
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
  return CreateChildControl(Handle(), L"STATIC", text, SS_NOPREFIX | alignment, ScaledRect(rect96), font);
}

// Lays the box out anew at `dpi`: at creation, and when it moves to a monitor with
// another scale.
void TQorvelAboutForm::Rebuild(UINT dpi) {
  FLink.reset();
  while (HWND child = ::GetWindow(Handle(), GW_CHILD)) ::DestroyWindow(child);
  FOkButton = FUsageLabel = FFocus = nullptr;
  FDpi = dpi;
  // The font dialogs use.
  const LOGFONTW font = SystemFontAt(&NONCLIENTMETRICSW::lfMessageFont, FDpi);
  FFont.Reset(CreateFontWith(font, FW_NORMAL));
  FBoldFont.Reset(CreateFontWith(font, FW_BOLD));
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
      case K::Title: AddStatic(text, layout.AddFixedLabel(), FixedLine, FBoldFont.Get()); break;
      case K::Fixed:
      case K::StartCount: AddStatic(text, layout.AddFixedLabel(), FixedLine, FFont.Get()); break;
      case K::Usage: FUsageLabel = AddStatic(text, layout.AddFixedLabel(), FixedLine, FFont.Get()); break;
      case K::Link:
        FLink = std::make_unique<TQorvelWebLink>(Handle(), ScaledRect(layout.AddFixedLabel()), text,
                                                 Widen(line.Address), FFont.Get(), TWebLinkLine::LinkAlone);
        FLink->OnOpenFailed = [](const std::wstring& address) {
          TGuiApplication::Instance().ReportError(L"Cannot open \"" + address + L"\".");
        };
        break;
      case K::Info: {
        // Measure the wrapped text at the width it will have on screen.
        RECT measure{0, 0, Scaled(layout.TextWidth()), 0};
        {
          TWindowDC dc(Handle());
          TSelectScope font(dc.Get(), FFont.Get());
          ::DrawTextW(dc.Get(), text.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        }
        const int height96 = (measure.bottom * 96 + static_cast<int>(FDpi) - 1) / static_cast<int>(FDpi);
        AddStatic(text, layout.AddWrappingLabel(height96), content.InfoLeftAligned ? SS_LEFT : SS_CENTER, FFont.Get());
        break;
      }
      case K::Gap: layout.SetGap(line.Height); break;
    }
  }
  FOkButton = CreateChildControl(Handle(), L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON,
                                 ScaledRect(layout.AddButton()), FFont.Get(), IDOK);
  FFocus = FOkButton;
  FTicking = content.Ticking;

  // The client area as laid out, whatever frame the system draws around it.
  RECT window = BoundsRect();
  RECT client = ClientRect();
  const int frameWidth = (window.right - window.left) - client.right;
  const int frameHeight = (window.bottom - window.top) - client.bottom;
  SetBounds(0, 0, Scaled(layout.ClientWidth()) + frameWidth, Scaled(layout.ClientHeight()) + frameHeight, SWP_NOMOVE);
}

void TQorvelAboutForm::PlaceOnScreen() {
  const RECT bounds = BoundsRect();
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  RECT anchor{};
  switch (FDialog.FormPosition) {
    case TFormPosition::poDesigned: return;
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
    case WM_ACTIVATE: KeepFocusOverActivation(wParam, FFocus); return 0;
    default: break;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}
