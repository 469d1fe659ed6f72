#include "color/win32/ColorForms.h"

#include "color/ColorForms.h"
#include "color/win32/QorvelColorDialogs.h"
#include "color/win32/ToolWindows.h"
#include "settings/ApplicationSettings.h"

TColorForm::TColorForm(TApplicationSettings& settings) : FSettings(settings), FFont(CreateDialogFont()) {
  constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  constexpr DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  RECT outer{0, 0, ClientWidth, ClientHeight};
  ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  TCreateParams params;
  params.ClassName = L"TVindleColorForm";
  params.Caption = L"Color picker";
  params.Style = style;
  params.ExStyle = exStyle;
  params.Left = params.Top = 0;
  params.Width = outer.right - outer.left;
  params.Height = outer.bottom - outer.top;
  CreateHandle(params);

  const RECT client = ClientRect();
  FColorBox = std::make_unique<TQorvelColorBox>(Handle(), 0, 0, client.right, client.bottom);
  FColorBox->SetCaption(L"Color");
  FColorBox->SetLook(TQorvelBoxControlLook::pclRect);
  FColorBox->SetFont(FFont.Get());
  FColorBox->OnDialog = [this](TQorvelColorBox& box) { ColorBoxDialog(box); };
}

TColorForm::~TColorForm() {
  FColorBox.reset();  // the child goes before its parent window
}

void TColorForm::FormShow() {
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
    case WM_ERASEBKGND:
      return 1;  // the box covers the whole client area
    case WM_SIZE:
      if (FColorBox) ::MoveWindow(FColorBox->Handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      break;
    case WM_SETFOCUS:
      // Keys (Space, the menu key) go to the box whenever the window is active.
      if (FColorBox) ::SetFocus(FColorBox->Handle());
      return 0;
    default:
      break;
  }
  return TQorvelMagnetForm::HandleMessage(message, wParam, lParam);
}
