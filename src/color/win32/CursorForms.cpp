#include "color/win32/CursorForms.h"

#include <vector>

#include "color/ColorAccessibleTexts.h"
#include "color/CursorFormRules.h"
#include "color/win32/ToolWindows.h"
#include "gui/Application.h"
#include "gui/Dpi.h"
#include "gui/Monitors.h"
#include "settings/ApplicationSettings.h"

namespace {

constexpr UINT_PTR kSampleTimer = 1;

}  // namespace

TCursorSample SampleScreenAtCursor() {
  TCursorSample sample;
  if (!::GetCursorPos(&sample.Position)) {  // e.g. while another desktop has the input
    sample.PositionKnown = false;
    return sample;
  }
  TWindowDC screen(nullptr);
  if (screen) sample.Color = ::GetPixel(screen.Get(), sample.Position.x, sample.Position.y);
  return sample;
}

TCursorForm::TCursorForm(TApplicationSettings& settings) : FSettings(settings) {
  TCreateParams params;
  params.ClassName = L"TVindleCursorForm";
  params.Caption = L"Coordinates";
  params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  params.Left = params.Top = 0;
  params.Width = params.Height = 100;
  CreateHandle(params);
  UseDialogKeyboard();
  ApplyDpi(WindowDpi(Handle()), 0, 0);
}

TCursorForm::~TCursorForm() = default;

void TCursorForm::ApplyDpi(UINT dpi, int left, int top) {
  FDpi = dpi;
  FFont.Reset(CreateDialogFont(dpi));
  PlaceToolWindow(Handle(), ClientWidth, ClientHeight, dpi, left, top);
  Invalidate();
}

RECT TCursorForm::Scaled(const RECT& r96) const { return ScaleForDpi(r96, FDpi); }

void TCursorForm::FormShow() {
  TWindowPlacement placement(Handle());
  const std::vector<TRect> workAreas = MonitorWorkAreas();
  if (FSettings.Window->RestoreWindow(WindowName, placement, workAreas)) {
    FPlaced = true;
  } else if (!FPlaced) {
    const TPoint place = DefaultCursorFormPlace(PrimaryWorkArea(), placement.Width(), placement.Height());
    placement.SetLeft(place.X);
    placement.SetTop(place.Y);
    FPlaced = true;
  }
  Sample();  // no stale or empty labels for the first tenth of a second
  // The timer runs only while the window is shown: a hidden one shows nothing, and every
  // tick wakes the program.
  StartTimer(kSampleTimer, SampleInterval, [this] { TimerTimer(); });
}

void TCursorForm::FormClose() {
  StopTimer(kSampleTimer);
  TWindowPlacement placement(Handle());
  FSettings.Window->RetainWindow(WindowName, placement);
}

void TCursorForm::TimerTimer() {
  // A tick still queued when the window was hidden reads nothing: nobody sees a hidden
  // window, and under Wine every screen read costs a server round trip.
  if (!Visible()) return;
  Sample();
}

void TCursorForm::Sample() {
  const TCursorSample sample = FSampler();
  const POINT shownPosition = FLastPosition;
  const COLORREF shownColor = FLastColor;
  // An unknown position keeps the last one shown rather than claiming the cursor is at 0, 0.
  if (sample.PositionKnown) {
    FLastPosition = sample.Position;
    SetLabel(FXText, Scaled(XLabelRect), sample.Position.x);
    SetLabel(FYText, Scaled(YLabelRect), sample.Position.y);
  }
  if (sample.Color != FLastColor) {
    FLastColor = sample.Color;
    const RECT swatch = Scaled(ColorPaintBoxRect);
    Invalidate(&swatch);
  }
  if (FLastPosition.x != shownPosition.x || FLastPosition.y != shownPosition.y || FLastColor != shownColor)
    AccessibleTextsChanged();
}

void TCursorForm::SetLabel(std::wstring& label, const RECT& area, int value) {
  std::wstring text = CoordinateText(value);
  if (text == label) return;
  label = std::move(text);
  Invalidate(&area);
}

std::optional<TAccessibleTexts> TCursorForm::AccessibleTexts() const {
  TAccessibleTexts texts;
  texts.Name = L"Coordinates";
  if (!FXText.empty()) texts.Value = Widen(CursorAccessibleValue(FLastPosition.x, FLastPosition.y));
  texts.Description = Widen(CursorColorDescription(FLastColor));
  texts.Role = ROLE_SYSTEM_STATICTEXT;
  return texts;
}

LRESULT TCursorForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers the whole client area, so nothing flickers
    case WM_PAINT: {
      TPaintScope paint(Handle());
      Paint(paint.DC());
      return 0;
    }
    case DpiChangedMessage: {
      // On a monitor of another DPI the window keeps its look at the new scale.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      const RECT bounds = BoundsRect();
      ApplyDpi(HIWORD(wParam) ? HIWORD(wParam) : FDpi, suggested ? suggested->left : bounds.left,
               suggested ? suggested->top : bounds.top);
      return 0;
    }
    default: return TQorvelMagnetForm::HandleMessage(message, wParam, lParam);
  }
}

void TCursorForm::Paint(HDC dc) const {
  const RECT client = ClientRect();
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  TSelectScope font(dc, FFont.Get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  constexpr UINT format = DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
  RECT x = Scaled(XLabelRect), y = Scaled(YLabelRect);
  ::DrawTextW(dc, FXText.c_str(), static_cast<int>(FXText.size()), &x, format);
  ::DrawTextW(dc, FYText.c_str(), static_cast<int>(FYText.size()), &y, format);
  ColorPaintBoxPaint(dc);
}

void TCursorForm::ColorPaintBoxPaint(HDC dc) const {
  const TSwatchColors colors =
      SwatchColorsFor(FLastColor, ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOWTEXT));
  TBrushHandle brush(::CreateSolidBrush(colors.Brush));
  TPenHandle pen(::CreatePen(PS_SOLID, 1, colors.Pen));
  TSelectScope selectedBrush(dc, brush.Get());
  TSelectScope selectedPen(dc, pen.Get());
  const RECT r = Scaled(ColorPaintBoxRect);
  ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
}
