#include "ruler/win32/CalibrationForms.h"

#include "controls/win32/QorvelComboBoxes.h"
#include "controls/win32/QorvelControlsCommon.h"
#include "controls/win32/QorvelNumEdits.h"
#include "controls/win32/QorvelOwnerDraw.h"
#include "gui/Application.h"
#include "gui/Dpi.h"
#include "ruler/Calibrations.h"
#include "ruler/EdidSizes.h"
#include "ruler/win32/MainForms.h"
#include "ruler/win32/MonitorResolutions.h"

namespace {

constexpr int ClientWidth = 340, ClientHeight = 132;
constexpr UINT_PTR StatusTimer = 1;
constexpr int ResetId = 100;
constexpr int TypedObject = static_cast<int>(CalibrationObjects.size()) - 1;

}  // namespace

TCalibrationForm::TCalibrationForm(TMainForm& ruler, TApplicationSettings& settings)
    : FRuler(ruler), FSettings(settings) {
  TCreateParams params;
  params.ClassName = L"TVindleCalibrationForm";
  params.Caption = L"Calibrate";
  params.Background = ::GetSysColorBrush(COLOR_BTNFACE);
  params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
  params.Parent = ruler.Handle();
  params.Width = params.Height = 100;
  CreateHandle(params);
  UseDialogKeyboard();
  FDpi = WindowDpi(Handle());
  const auto scaled = [this](int left, int top, int width, int height) {
    return ScaleForDpi(RECT{left, top, left + width, top + height}, FDpi);
  };
  RECT frame{0, 0, ScaleForDpi(ClientWidth, FDpi), ScaleForDpi(ClientHeight, FDpi)};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_EXSTYLE)));
  SetBounds(0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE);

  const HFONT font = DefaultControlFont();
  CreateChildControl(Handle(), L"STATIC",
                     L"Hold the object against the ruler and drag the ruler's end until the two match.", 0,
                     scaled(8, 8, 324, 28), font);
  CreateChildControl(Handle(), L"STATIC", L"&Object", 0, scaled(8, 43, 48, 15), font);
  // Wide enough for the longest choice in the closed field.
  const RECT box = scaled(58, 40, 210, 21);
  FObject = std::make_unique<TQorvelComboBox>(Handle(), box.left, box.top, box.right - box.left, box.bottom - box.top);
  FObject->SetFont(font);
  for (const TCalibrationObject& object : CalibrationObjects) FObject->AddItem({object.Caption, -1});
  FObject->SetDropDownWidth(ScaleForDpi(230, FDpi));
  FObject->OnChange = [this](TQorvelComboBox& sender) { SelectObject(sender.ItemIndex()); };
  const RECT typed = scaled(272, 40, 60, 21);
  FTyped = std::make_unique<TQorvelIntEdit>(Handle(), typed.left, typed.top, typed.right - typed.left,
                                            typed.bottom - typed.top);
  FTyped->SetMaxValue(2000);
  FTyped->SetMinValue(10);
  FTyped->SetValue(100);
  FTyped->SetCaption(L"mm");
  FTyped->SetCaptionAlignment(pcaRight);
  FTyped->OnChange = [this](TQorvelNumEdit&) { SelectObject(TypedObject); };
  FStatus = CreateChildControl(Handle(), L"STATIC", L"", 0, scaled(8, 70, 324, 15), font);
  FOkButton =
      CreateChildControl(Handle(), L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, scaled(80, 98, 80, 25), font, IDOK);
  FCancelButton =
      CreateChildControl(Handle(), L"BUTTON", L"Cancel", WS_TABSTOP, scaled(166, 98, 80, 25), font, IDCANCEL);
  FResetButton = CreateChildControl(Handle(), L"BUTTON", L"&Reset", WS_TABSTOP, scaled(252, 98, 80, 25), font, ResetId);
  FFocus = FObject->Handle();
}

TCalibrationForm::~TCalibrationForm() {
  FObject.reset();
  FTyped.reset();
  DestroyHandle();
}

void TCalibrationForm::Start() {
  FLengthAtStart = FRuler.MeasuredLength();
  FMonitor = FRuler.MonitorIdentity();
  FObject->SetItemIndex(0);
  SelectObject(0);
  FFocus = FObject->Handle();
  // Beside the ruler, where it does not cover the ruler's end.
  const RECT ruler = FRuler.BoundsRect();
  const RECT own = BoundsRect();
  SetBounds(ruler.left, ruler.bottom + ScaleForDpi(8, FDpi), own.right - own.left, own.bottom - own.top);
  StartTimer(StatusTimer, 100, [this] { ShowStatus(); });
  Show();
}

double TCalibrationForm::ChosenMillimetres() const {
  const int index = FObject->ItemIndex();
  if (index < 0 || index >= static_cast<int>(CalibrationObjects.size())) return CalibrationObjects[0].Millimetres;
  const double millimetres = CalibrationObjects[static_cast<std::size_t>(index)].Millimetres;
  return millimetres > 0 ? millimetres : FTyped->Value();
}

double TCalibrationForm::CalibratedPixelsPerInch() const {
  return PhysicalPixelsPerInch(FRuler.MeasuredLength(), ChosenMillimetres());
}

void TCalibrationForm::SelectObject(int index) {
  if (index != FObject->ItemIndex()) FObject->SetItemIndex(index);
  FTyped->SetEnabled(index == TypedObject);
  FRuler.SetMeasuredLength(PixelsForLength(ChosenMillimetres(), FRuler.ScalePixelsPerInch()));
  ShowStatus();
}

std::wstring TCalibrationForm::StatusText() const {
  // The resolution exactly as OK keeps and the ruler applies it.
  return std::to_wstring(FRuler.MeasuredLength()) + L" pixels: " + Widen(CalibrationText(CalibratedPixelsPerInch())) +
         L" pixels per inch";
}

void TCalibrationForm::ShowStatus() {
  const std::wstring text = StatusText();
  ::SetWindowTextW(FStatus, text.c_str());
}

void TCalibrationForm::Accept() {
  const double pixelsPerInch = CalibratedPixelsPerInch();
  if (pixelsPerInch > 0 && !FMonitor.empty()) {
    SetCalibration(FSettings.Parameters->Calibrations, FMonitor, pixelsPerInch);
    FSettings.Parameters->MeasuredDPI = true;
  }
  Finish();
}

void TCalibrationForm::Cancel() {
  FRuler.SetMeasuredLength(FLengthAtStart);
  Finish();
}

void TCalibrationForm::Reset() {
  RemoveCalibration(FSettings.Parameters->Calibrations, FMonitor);
  FRuler.SetMeasuredLength(FLengthAtStart);
  Finish();
}

void TCalibrationForm::Finish() {
  StopTimer(StatusTimer);
  Close();
  FRuler.ApplySettings();
}

LRESULT TCalibrationForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM:
      if (ReflectDrawItem(lParam)) return TRUE;
      break;
    case DM_GETDEFID: return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE: Cancel(); return 0;
    case WM_ACTIVATE: KeepFocusOverActivation(wParam, FFocus); return 0;
    case WM_COMMAND:
      if (lParam == 0 || reinterpret_cast<HWND>(lParam) == FOkButton ||
          reinterpret_cast<HWND>(lParam) == FCancelButton || reinterpret_cast<HWND>(lParam) == FResetButton) {
        switch (LOWORD(wParam)) {
          case IDOK: Accept(); return 0;
          case IDCANCEL: Cancel(); return 0;
          case ResetId: Reset(); return 0;
          default: break;
        }
      }
      break;
    default: break;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}
