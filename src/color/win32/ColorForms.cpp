#include "color/win32/ColorForms.h"

#include <commctrl.h>

#include "color/ColorFormRules.h"
#include "color/ColorPreferences.h"
#include "color/win32/ColorTools.h"
#include "color/win32/QorvelColorDialogs.h"
#include "color/win32/ToolWindows.h"
#include "gui/CommonControls.h"
#include "gui/Dpi.h"
#include "gui/Monitors.h"
#include "settings/ApplicationSettings.h"

TColorForm::TColorForm(TApplicationSettings& settings) : FSettings(settings) {
  TCreateParams params;
  params.ClassName = L"TVindleColorForm";
  params.Caption = L"Color picker";
  params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  params.Left = params.Top = 0;
  params.Width = params.Height = 100;
  CreateHandle(params);
  UseDialogKeyboard();
  const UINT dpi = WindowDpi(Handle());
  FFont.Reset(CreateDialogFont(dpi));
  PlaceToolWindow(Handle(), ClientWidth, ClientHeight, dpi, 0, 0);

  const RECT client = ClientRect();
  FColorBox = std::make_unique<TQorvelColorBox>(Handle(), 0, 0, client.right, client.bottom);
  FColorBox->SetCaption(L"Color");
  FColorBox->SetLook(TQorvelBoxControlLook::pclRect);
  FColorBox->SetFont(FFont.Get());
  FColorBox->OnDialog = [this](TQorvelColorBox& box) { ColorBoxDialog(box); };
}

TColorForm::~TColorForm() {
  FTooltip.Reset();
  FColorBox.reset();  // the child goes before its parent window
}

void TColorForm::AddTooltip() {
  if (!CommonControls::Load(ICC_WIN95_CLASSES)) return;  // the picker works without it
  FTooltip.Reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                   ModuleInstance(), nullptr));
  if (!FTooltip) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(FColorBox->Handle());
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  ::SendMessageW(FTooltip.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TColorForm::FormShow() {
  // On first show, not at start: the tooltip is a common control, which a start without the
  // picker does not need to load.
  if (!FTooltip) AddTooltip();
  TWindowPlacement placement(Handle());
  if (FSettings.Window->RestoreWindow(WindowName, placement, MonitorWorkAreas())) {
    FPlaced = true;
  } else if (!FPlaced) {
    const TPoint place = DefaultColorFormPlace(PrimaryWorkArea(), placement.Width(), placement.Height());
    placement.SetLeft(place.X);
    placement.SetTop(place.Y);
    FPlaced = true;
  }
  FColorBox->SetColor(FSettings.ColorPicker->Color);
  FColorBox->SetColorComponent(FSettings.ColorPicker->Component);
}

void TColorForm::FormClose() {
  FSettings.ColorPicker->Color = FColorBox->Color();
  FSettings.ColorPicker->Component = FColorBox->ColorComponent();
  TWindowPlacement placement(Handle());
  FSettings.Window->RetainWindow(WindowName, placement);
}

void TColorForm::ColorBoxDialog(TQorvelColorBox& box) {
  ExecuteColorDialogFor(box, [](TQorvelColorDialog& dialog) { dialog.Look = TQorvelBoxControlLook::pclRoundedRect; });
}

LRESULT TColorForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;  // the box covers the whole client area
    case WM_SIZE:
      if (FColorBox) ::MoveWindow(FColorBox->Handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      break;
    case DpiChangedMessage: {
      // On a monitor of another DPI the window keeps its look at the new scale.
      const UINT dpi = HIWORD(wParam);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      if (dpi == 0 || !suggested) break;
      TFontHandle font(CreateDialogFont(dpi));
      if (FColorBox) FColorBox->SetFont(font.Get());
      FFont = std::move(font);  // the old font goes once the box no longer uses it
      PlaceToolWindow(Handle(), ClientWidth, ClientHeight, dpi, suggested->left, suggested->top);
      return 0;
    }
    case WM_NOTIFY: {
      auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
      if (FTooltip && info->hdr.hwndFrom == FTooltip.Get() && info->hdr.code == TTN_GETDISPINFOW) {
        FTooltipText = ColorToolText(ColorToRGB(FColorBox->Color()), DefaultColorFormat(*FSettings.Colors));
        info->lpszText = FTooltipText.data();
        return 0;
      }
      break;
    }
    case WM_SETFOCUS:
      // Keys (Space, the menu key) go to the box whenever the window is active.
      if (FColorBox) ::SetFocus(FColorBox->Handle());
      return 0;
    default: break;
  }
  return TQorvelMagnetForm::HandleMessage(message, wParam, lParam);
}
