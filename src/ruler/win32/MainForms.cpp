#include "ruler/win32/MainForms.h"

#include <vector>

#include "gui/Handles.h"
#include "gui/Pixels.h"
#include "ruler/QorvelColorUtils.h"
#include "ruler/RulerSettings.h"
#include "ruler/win32/QorvelFormBlendings.h"

namespace {

BOOL CALLBACK AddMonitorWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (::GetMonitorInfoW(monitor, &info))
    reinterpret_cast<std::vector<TPixelRect>*>(data)->push_back(ToPixelRect(info.rcWork));
  return TRUE;
}

}  // namespace

int ScreenPixelsPerInch() {
  TWindowDC screen(nullptr);
  return ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
}

TColor ResolveSystemColor(TColor color) {
  if (!IsSystemColor(color)) return color;
  return static_cast<TColor>(::GetSysColor(static_cast<int>(color & 0xFF)));
}

// ---- scale area ------------------------------------------------------------------------

TScaleBox::TScaleBox(TMainForm& owner, HWND parent) : FOwner(owner) {
  TCreateParams params;
  params.ClassName = L"TVindleScaleBox";
  params.Style = WS_CHILD | WS_VISIBLE;
  params.Parent = parent;
  params.Left = params.Top = 0;
  params.Width = params.Height = 1;
  CreateHandle(params);
}

LRESULT TScaleBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_NCHITTEST: {
      // Only the mini buttons take the mouse; everywhere else the ruler window decides.
      const LRESULT answer = ::SendMessageW(::GetParent(Handle()), WM_NCHITTEST, wParam, lParam);
      return answer == HTCLIENT ? HTCLIENT : HTTRANSPARENT;
    }
    case WM_PAINT: {
      TPaintScope paint(Handle());
      const RECT client = ClientRect();
      if (FBuffer.Width() != client.right || FBuffer.Height() != client.bottom)
        FBuffer.Resize(client.right, client.bottom);
      const TPixelRect clip = IntersectRect(ToPixelRect(paint.Invalid()), FBuffer.View().Bounds());
      PaintScale(FOwner.ScaleInput(), FBuffer.View(), clip);
      BlitPixels(paint.DC(), 0, 0, FBuffer.View(), clip);
      return 0;
    }
  }
  return DefaultHandler(message, wParam, lParam);
}

// ---- ruler window ----------------------------------------------------------------------

TMainForm::TMainForm(TApplicationSettings& settings) : FSettings(settings) {
  SetMagnetSnapDistance(5);
  TCreateParams params;
  params.ClassName = L"TVindleRuler";
  params.ClassStyle = CS_DBLCLKS;
  params.Icon = ::LoadIconW(ModuleInstance(), L"MAINICON");
  params.Caption = L"Vindle";
  params.Style = WS_POPUP | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_TOOLWINDOW;
  params.Left = params.Top = 0;
  params.Width = 100;
  params.Height = 30;
  CreateHandle(params);

  FScaleBox = std::make_unique<TScaleBox>(*this, Handle());
  FMagnifier = std::make_unique<TQorvelDesktopMagnifier>(Handle());
  // The cursor line follows the mouse at the magnifier's pace, visible or not.
  FMagnifier->OnRefresh = [this] { SampleCursor(); };
  SetMagnetAllies(RulerMagnetAllies(FSettings.General->SnapToDesktop));
  FBlending = std::make_unique<TQorvelFormBlending>(Handle());
  ApplyAlpha(CurrentConfiguration(FSettings).Ruler->AlphaValue());
  ApplyPlacement();
  ApplyMagnifierSettings();
  const RECT bounds = BoundsRect();
  LayoutChildren(bounds.right - bounds.left, bounds.bottom - bounds.top);
}

TMainForm::~TMainForm() = default;

TRulerScaleInput TMainForm::ScaleInput() const {
  TRulerScaleInput input = ScaleInputFor(FSettings, FChildren.ScaleBox.Width(), FChildren.ScaleBox.Height(),
                                         ScreenPixelsPerInch(), &ResolveSystemColor);
  input.CursorBoxPos = FCursorBoxPos;
  input.CursorScreenPos = FCursorScreenPos;
  input.HotButton = FHotButton;
  input.ButtonState = FButtonState;
  return input;
}

TDesktopLayout TMainForm::Desktop(std::vector<TPixelRect>& workAreas) const {
  workAreas.clear();
  ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitorWorkArea, reinterpret_cast<LPARAM>(&workAreas));
  return {{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}, workAreas};
}

void TMainForm::StorePlacement() {
  TRulerPlacements placements = ReadPlacements(FSettings);
  ::StorePlacement(placements, ToPixelRect(BoundsRect()));
  WritePlacements(FSettings, placements);
}

void TMainForm::ApplyPlacement() {
  TRulerPlacements placements = ReadPlacements(FSettings);
  std::vector<TPixelRect> workAreas;
  const TPlacedRuler placed =
      ::ApplyPlacement(placements, CurrentConfiguration(FSettings).Ruler->Width, Desktop(workAreas));
  WritePlacements(FSettings, placements);
  ::SetWindowPos(Handle(), nullptr, placed.Window.Left, placed.Window.Top, placed.Window.Width(),
                 placed.Window.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::LayoutChildren(int width, int height) {
  FChildren = ::LayoutChildren(width, height, ReadPlacements(FSettings), MagnifierLayout(CurrentConfiguration(FSettings)));
  const TPixelRect& box = FChildren.ScaleBox;
  ::SetWindowPos(FScaleBox->Handle(), nullptr, box.Left, box.Top, box.Width(), box.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (FChildren.MagnifierVisible) {
    const TPixelRect& square = FChildren.Magnifier;
    ::SetWindowPos(FMagnifier->Handle(), nullptr, square.Left, square.Top, square.Width(), square.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else {
    ::ShowWindow(FMagnifier->Handle(), SW_HIDE);
  }
  FScaleBox->Invalidate();
  SampleCursor();
}

void TMainForm::ApplyMagnifierSettings() {
  const TConfigurationSettings& configuration = CurrentConfiguration(FSettings);
  const TMagnifierSettings& magnifier = *configuration.Magnifier;
  FMagnifier->SetVisible(magnifier.Visible);
  FMagnifier->SetBorderColor(ContrastColor(ResolveSystemColor(configuration.Ruler->Color->Background)));
  FMagnifier->SetZoom(magnifier.Zoom);
  FMagnifier->SetCrossHairs(CrossHairsFromIndex(magnifier.CrossHairs));
}

void TMainForm::ApplyZOrder() {
  ::SetWindowPos(Handle(), FSettings.General->StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TMainForm::ApplyAlpha(int alpha) {
  if (FBlending) FBlending->SetAlpha(alpha);
}

void TMainForm::DoShow() { ApplyZOrder(); }

void TMainForm::DoClose() { StorePlacement(); }

void TMainForm::Rotate() {
  StorePlacement();
  TRulerPlacements placements = ReadPlacements(FSettings);
  placements.Orientation ^= 1;
  WritePlacements(FSettings, placements);
  ApplyPlacement();
  const RECT bounds = BoundsRect();
  LayoutChildren(bounds.right - bounds.left, bounds.bottom - bounds.top);
  Invalidate();
}

void TMainForm::Flip() {
  TRulerPlacements placements = ReadPlacements(FSettings);
  ::Flip(placements);
  WritePlacements(FSettings, placements);
  const RECT bounds = BoundsRect();
  LayoutChildren(bounds.right - bounds.left, bounds.bottom - bounds.top);
}

void TMainForm::Turn() {
  TRulerPlacements placements = ReadPlacements(FSettings);
  ::Turn(placements);
  WritePlacements(FSettings, placements);
  FScaleBox->Invalidate();
}

void TMainForm::ToggleStayOnTop() {
  FSettings.General->StayOnTop = !FSettings.General->StayOnTop;
  ApplyZOrder();
}

void TMainForm::ToggleTransparent() {
  TRulerSettings& ruler = *CurrentConfiguration(FSettings).Ruler;
  ruler.Transparent = !ruler.Transparent;
  ApplyAlpha(ruler.AlphaValue());
}

void TMainForm::ToggleMagnifier() {
  TMagnifierSettings& magnifier = *CurrentConfiguration(FSettings).Magnifier;
  magnifier.Visible = !magnifier.Visible;
  ApplyMagnifierSettings();
  const RECT bounds = BoundsRect();
  LayoutChildren(bounds.right - bounds.left, bounds.bottom - bounds.top);
}

void TMainForm::SelectConfiguration(int index) {
  if (index == FSettings.General->Configuration || index < 0 || index >= TApplicationSettings::ConfigurationCount)
    return;
  StorePlacement();
  FSettings.General->Configuration = index;
  ApplyPlacement();
  ApplyMagnifierSettings();
  // Invisible while it is rearranged, so the old look never shows in the new shape.
  ApplyAlpha(0);
  const RECT bounds = BoundsRect();
  LayoutChildren(bounds.right - bounds.left, bounds.bottom - bounds.top);
  ApplyAlpha(CurrentConfiguration(FSettings).Ruler->AlphaValue());
  Invalidate();
  if (FMagnifier) FMagnifier->Invalidate();
}

void TMainForm::InvalidateCursorStrip() {
  const RECT client = ClientRect();
  TRulerScaleInput input = ScaleInput();
  if (auto strip = CursorLineStrip(input, {FChildren.ScaleBox.Left, FChildren.ScaleBox.Top}, client.right,
                                   client.bottom)) {
    // The strip is in window client coordinates; the scale box may be offset by the magnifier.
    RECT part = ToRect(*strip);
    ::OffsetRect(&part, -FChildren.ScaleBox.Left, -FChildren.ScaleBox.Top);
    FScaleBox->Invalidate(&part);
  }
}

void TMainForm::SampleCursor() {
  POINT cursor{};
  if (!::GetCursorPos(&cursor)) return;
  const TPoint screen{cursor.x, cursor.y};
  ::ScreenToClient(FScaleBox->Handle(), &cursor);
  const TPoint box{cursor.x, cursor.y};
  if (screen.X == FCursorScreenPos.X && screen.Y == FCursorScreenPos.Y && box.X == FCursorBoxPos.X &&
      box.Y == FCursorBoxPos.Y)
    return;
  InvalidateCursorStrip();  // the old line
  FCursorScreenPos = screen;
  FCursorBoxPos = box;
  InvalidateCursorStrip();  // the new line
}

LRESULT TMainForm::HitTest(POINT screenPoint) {
  ::ScreenToClient(Handle(), &screenPoint);
  const TRulerScaleInput input = ScaleInput();
  std::vector<TPixelRect> buttons;
  for (int i = 0; i < 7; ++i) {
    const auto button = static_cast<TMiniButton>(i);
    if (!input.Buttons.Contains(button)) continue;
    const TPoint origin = ButtonOrigin(input, button);
    if (ButtonShown(input, origin))
      buttons.push_back({origin.X, origin.Y, origin.X + MiniButtonSize, origin.Y + MiniButtonSize});
  }
  const TRulerPlacements placements = ReadPlacements(FSettings);
  return static_cast<LRESULT>(RulerHitTest(placements.CurrentOrientation(), FChildren.ScaleBox,
                                           {screenPoint.x, screenPoint.y}, buttons));
}

void TMainForm::PositionChanging(WINDOWPOS& position) {
  TRulerPosContext context;
  context.Window = FormState();
  context.MoveStart = FMoveStart;
  const int lockKey = AxisLockKey(FSettings.Handling->SnapToAxis);
  context.AxisLockKeyDown = lockKey != 0 && (::GetKeyState(lockKey) & 0x8000) != 0;
  context.Allies = MagnetAllies();
  context.SnapDistance = MagnetSnapDistance();
  const TRulerPosChange change = RulerPositionChanging(ProposalFrom(position), context, Surroundings());
  ApplyProposal(position, change.Proposal);
  if (change.LayoutNeeded) LayoutChildren(position.cx, position.cy);
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) FDeactivatedAt = ::GetTickCount();
      break;
    case WM_NCHITTEST:
      return HitTest({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    case WM_GETMINMAXINFO: {
      // The ruler is never shorter than 100 pixels; across its axis any thickness goes.
      const TSizeConstraints limits = RulerSizeConstraints(ReadPlacements(FSettings).CurrentOrientation());
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {limits.MinWidth, limits.MinHeight};
      return 0;
    }
    case WM_ENTERSIZEMOVE: {
      const RECT bounds = BoundsRect();
      FMoveStart = {bounds.left, bounds.top};
      break;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        Rotate();
        return 0;
      }
      break;
  }
  return TQorvelMagnetForm::HandleMessage(message, wParam, lParam);
}
