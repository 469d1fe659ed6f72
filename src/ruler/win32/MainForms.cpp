#include "ruler/win32/MainForms.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "gui/Application.h"
#include "gui/Clipboard.h"
#include "gui/Dpi.h"
#include "gui/Handles.h"
#include "gui/Monitors.h"
#include "gui/Pixels.h"
#include "ruler/QorvelColorUtils.h"
#include "ruler/RulerAccessibleTexts.h"
#include "ruler/RulerSettings.h"
#include "ruler/win32/CalibrationForms.h"
#include "ruler/win32/MonitorResolutions.h"
#include "ruler/win32/QorvelFormBlendings.h"

TColor ResolveSystemColor(TColor color) {
  if (!IsSystemColor(color)) return color;
  return static_cast<TColor>(::GetSysColor(static_cast<int>(color & 0xFF)));
}

// ---- scale area ------------------------------------------------------------------------

TScaleBox::TScaleBox(TMainForm& owner, HWND parent) : FOwner(owner) {
  CreateHandle(TCreateParams::Child(parent, L"TVindleScaleBox", WS_CHILD | WS_VISIBLE, {0, 0, 1, 1}));
}

LRESULT TScaleBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers every pixel
    case WM_NCHITTEST: {
      // Only the mini buttons take the mouse; everywhere else the ruler window decides.
      const LRESULT answer = ::SendMessageW(::GetParent(Handle()), WM_NCHITTEST, wParam, lParam);
      return answer == HTCLIENT ? HTCLIENT : HTTRANSPARENT;
    }
    case WM_MOUSEMOVE: FOwner.ScaleBoxMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_MOUSELEAVE: FOwner.ScaleBoxMouseMove(-1, -1); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: FOwner.ScaleBoxMouseDown(message == WM_LBUTTONDOWN); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      // Answered here, so that a right click on a button never turns into a context menu.
      FOwner.ScaleBoxMouseUp(message == WM_LBUTTONUP);
      return 0;
    case WM_XBUTTONDOWN: FOwner.ScaleBoxMouseDown(false); return TRUE;
    case WM_XBUTTONUP: FOwner.ScaleBoxMouseUp(false); return TRUE;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != Handle()) FOwner.ScaleBoxCaptureLost();
      return 0;
    case WM_CONTEXTMENU: return 0;
    case WM_PAINT: {
      TPaintScope paint(Handle());
      const RECT client = ClientRect();
      if (FBuffer.Width() != client.right || FBuffer.Height() != client.bottom)
        FBuffer.Resize(client.right, client.bottom);
      const TRect clip = IntersectRect(ToPixelRect(paint.Invalid()), FBuffer.View().Bounds());
      const TRulerScaleInput input = FOwner.ScaleInput();
      // A look change paints in full; the face catches up at the next cursor move.
      if (FaceFits(FFace, input))
        ComposeFromFace(input, FFace, FBuffer.View(), clip);
      else
        PaintScale(input, FBuffer.View(), clip);
      BlitPixels(paint.DC(), 0, 0, FBuffer.View(), clip);
      // Whatever changed the picture may have changed what it says; no more often than this.
      FOwner.AccessibleTextsChanged();
      return 0;
    }
  }
  return DefaultHandler(message, wParam, lParam);
}

void TScaleBox::PaintNow(const std::vector<TRect>& parts) {
  if (parts.empty() || !::IsWindowVisible(Handle())) return;
  const RECT client = ClientRect();
  if (FBuffer.Width() != client.right || FBuffer.Height() != client.bottom) FBuffer.Resize(client.right, client.bottom);
  const TWindowDC dc(Handle());
  if (!dc) return;
  const TRulerScaleInput input = FOwner.ScaleInput();
  // Whatever the cursor does not change is copied from the face, painted again only when
  // something else did change.
  if (!FaceFits(FFace, input)) PaintScaleFace(input, FFace);
  for (const TRect& part : parts) {
    const TRect clip = IntersectRect(part, FBuffer.View().Bounds());
    if (clip.Empty()) continue;
    ComposeFromFace(input, FFace, FBuffer.View(), clip);
    BlitPixels(dc.Get(), 0, 0, FBuffer.View(), clip);
  }
  FOwner.AccessibleTextsChanged();
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
  FMagnifier->OnRefresh = [this] { FollowCursor(); };
  SetMagnetAllies(RulerMagnetAllies(FSettings.General->SnapToDesktop));
  FBlending = std::make_unique<TQorvelFormBlending>(Handle());
  CreateRulerMenu();
  ApplyAlpha(CurrentConfiguration(FSettings).Ruler->AlphaValue());
  ApplyPlacement();
  FollowMonitorDpi();
  ApplyMagnifierSettings();
  const RECT bounds = BoundsRect();
  LayoutChildren(bounds.right - bounds.left, bounds.bottom - bounds.top);
}

TMainForm::~TMainForm() = default;

TRulerScaleInput TMainForm::ScaleInput() const {
  TRulerScaleInput input = ScaleInputFor(FSettings, FChildren.ScaleBox.Width(), FChildren.ScaleBox.Height(),
                                         FPixelsPerInch, FLogicalPixelsPerInch, &ResolveSystemColor);
  input.CursorBoxPos = FCursorBoxPos;
  input.CursorScreenPos = FCursorScreenPos;
  input.HotButton = FHotButton;
  input.ButtonState = FButtonState;
  return input;
}

void TMainForm::FollowMonitorDpi() {
  const TRect bounds = ToPixelRect(BoundsRect());
  const TParameterSettings& parameters = *FSettings.Parameters;
  // Measuring asks the registry and the display driver: during a drag the ruler keeps its
  // resolution, and takes the new monitor's when the drag ends.
  if (parameters.MeasuredDPI && FInMoveSizeLoop) return;
  const int logicalPixelsPerInch = PixelsPerInchOfMonitorAt(bounds, Handle());
  TMeasuredResolution resolution;
  if (parameters.MeasuredDPI) resolution = MeasuredResolutionOfMonitorAt(bounds, parameters.Calibrations);
  if (!resolution.Known()) {
    resolution.PixelsPerInch = {static_cast<double>(logicalPixelsPerInch), static_cast<double>(logicalPixelsPerInch)};
    resolution.Basis = parameters.UserDefiniedDPI && !parameters.MeasuredDPI ? TResolutionBasis::UserDefined
                                                                             : TResolutionBasis::System;
  }
  FResolutionBasis = resolution.Basis;
  if (resolution.PixelsPerInch == FPixelsPerInch && logicalPixelsPerInch == FLogicalPixelsPerInch) return;
  FPixelsPerInch = resolution.PixelsPerInch;
  FLogicalPixelsPerInch = logicalPixelsPerInch;
  if (FScaleBox) FScaleBox->Invalidate();
}

TDesktopLayout TMainForm::Desktop(std::vector<TRect>& workAreas) const {
  workAreas = MonitorWorkAreas();
  return {{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}, workAreas};
}

void TMainForm::StorePlacement() {
  TRulerPlacements placements = ReadPlacements(FSettings);
  ::StorePlacement(placements, ToPixelRect(BoundsRect()));
  WritePlacements(FSettings, placements);
}

void TMainForm::ApplyPlacement() {
  TRulerPlacements placements = ReadPlacements(FSettings);
  std::vector<TRect> workAreas;
  const TPlacedRuler placed =
      ::ApplyPlacement(placements, CurrentConfiguration(FSettings).Ruler->Width, Desktop(workAreas));
  WritePlacements(FSettings, placements);
  ::SetWindowPos(Handle(), nullptr, placed.Window.Left, placed.Window.Top, placed.Window.Width(),
                 placed.Window.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::LayoutChildren(int width, int height) {
  FChildren =
      ::LayoutChildren(width, height, ReadPlacements(FSettings), MagnifierLayout(CurrentConfiguration(FSettings)));
  const TRect& box = FChildren.ScaleBox;
  ::SetWindowPos(FScaleBox->Handle(), nullptr, box.Left, box.Top, box.Width(), box.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (FChildren.MagnifierVisible) {
    const TRect& square = FChildren.Magnifier;
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
  // The pick hotkey samples where the cursor is: the magnifier shows which pixels count.
  FMagnifier->SetSampleSize(FSettings.Colors->SampleSize);
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

void TMainForm::ApplySettings() {
  ApplyPlacement();
  SetMagnetAllies(RulerMagnetAllies(FSettings.General->SnapToDesktop));
  ApplyZOrder();
  ApplyAlpha(CurrentConfiguration(FSettings).Ruler->AlphaValue());
  ApplyMagnifierSettings();
  const RECT bounds = BoundsRect();
  LayoutChildren(bounds.right - bounds.left, bounds.bottom - bounds.top);
  FollowMonitorDpi();  // the resolution's source may have changed
  Invalidate();
  if (FMagnifier) FMagnifier->Invalidate();
}

std::optional<TRect> TMainForm::CursorStrip() const {
  const RECT client = ClientRect();
  const std::optional<TRect> strip =
      CursorLineStrip(ScaleInput(), {FChildren.ScaleBox.Left, FChildren.ScaleBox.Top}, client.right, client.bottom);
  if (!strip) return std::nullopt;
  // The strip is in window client coordinates; the scale box may be offset by the magnifier.
  return TRect{strip->Left - FChildren.ScaleBox.Left, strip->Top - FChildren.ScaleBox.Top,
               strip->Right - FChildren.ScaleBox.Left, strip->Bottom - FChildren.ScaleBox.Top};
}

std::vector<TRect> TMainForm::MoveCursorLine(POINT cursor) {
  const TPoint screen{cursor.x, cursor.y};
  ::ScreenToClient(FScaleBox->Handle(), &cursor);
  const TPoint box{cursor.x, cursor.y};
  if (screen.X == FCursorScreenPos.X && screen.Y == FCursorScreenPos.Y && box.X == FCursorBoxPos.X &&
      box.Y == FCursorBoxPos.Y)
    return {};
  std::vector<TRect> changed;
  if (const auto old = CursorStrip()) changed.push_back(*old);
  FCursorScreenPos = screen;
  FCursorBoxPos = box;
  if (const auto now = CursorStrip()) changed.push_back(*now);
  return changed;
}

void TMainForm::SampleCursor() {
  POINT cursor{};
  if (!::GetCursorPos(&cursor)) return;
  for (const TRect& strip : MoveCursorLine(cursor)) {
    const RECT part = ToRect(strip);
    FScaleBox->Invalidate(&part);
  }
}

void TMainForm::FollowCursor() { FScaleBox->PaintNow(MoveCursorLine(FMagnifier->RefreshCursor())); }

LRESULT TMainForm::HitTest(POINT screenPoint) {
  ::ScreenToClient(Handle(), &screenPoint);
  const std::vector<TRect> buttons = ShownMiniButtonRects(ScaleInput());
  const TRulerPlacements placements = ReadPlacements(FSettings);
  const TRulerHitTest answer =
      RulerHitTest(placements.CurrentOrientation(), FChildren.ScaleBox, {screenPoint.x, screenPoint.y}, buttons);
  // Off the buttons the scale area hears no mouse moves, so the hover ends here.
  if (answer != TRulerHitTest::htClient) ScaleBoxMouseMove(-1, -1);
  return static_cast<LRESULT>(answer);
}

// ---- mini buttons ----------------------------------------------------------------------

void TMainForm::ApplyButtonResponse(const TMiniButtonResponse& response) {
  FHotButton = response.Status.Hot;
  FButtonState = response.Status.State;
  if (response.Repaint) FScaleBox->Invalidate();
  if (response.TrackLeave) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = FScaleBox->Handle();
    ::TrackMouseEvent(&track);
  }
}

void TMainForm::ScaleBoxMouseMove(int x, int y) {
  ApplyButtonResponse(MiniButtonMouseMove(ScaleInput(), ButtonStatus(), {x, y}));
}

void TMainForm::ScaleBoxMouseDown(bool leftButton) {
  ApplyButtonResponse(MiniButtonMouseDown(ButtonStatus(), leftButton));
  // The release must reach the button even when it happens off the ruler.
  if (leftButton && FButtonState == TMiniButtonState::mbsDownInside) ::SetCapture(FScaleBox->Handle());
}

void TMainForm::ScaleBoxMouseUp(bool leftButton) {
  const TMiniButtonResponse response = MiniButtonMouseUp(ButtonStatus(), leftButton);
  ApplyButtonResponse(response);
  // The state is settled before the capture goes, so losing it cancels nothing.
  if (leftButton && ::GetCapture() == FScaleBox->Handle()) ::ReleaseCapture();
  if (!response.Action) return;
  RunCommand(MiniButtonCommand(*response.Action));
  // The command may have moved the ruler or its buttons: light up what is under the mouse now.
  POINT cursor{};
  if (Visible() && ::GetCursorPos(&cursor) && ::WindowFromPoint(cursor) == FScaleBox->Handle()) {
    ::ScreenToClient(FScaleBox->Handle(), &cursor);
    ScaleBoxMouseMove(cursor.x, cursor.y);
  }
}

void TMainForm::ScaleBoxCaptureLost() {
  if (FButtonState != TMiniButtonState::mbsDownInside && FButtonState != TMiniButtonState::mbsDownOutside) return;
  TMiniButtonResponse cancelled;
  cancelled.Status = {FHotButton, OtherButtonState(FButtonState)};
  cancelled.Repaint = true;
  ApplyButtonResponse(cancelled);
}

void TMainForm::RunCommand(TRulerCommand command) {
  switch (command) {
    case TRulerCommand::Rotate: Rotate(); break;
    case TRulerCommand::Flip: Flip(); break;
    case TRulerCommand::Turn: Turn(); break;
    case TRulerCommand::Hide: Close(); break;
    case TRulerCommand::Exit:
      if (OnExitRequest) OnExitRequest();
      break;
    case TRulerCommand::StayOnTop: ToggleStayOnTop(); break;
    case TRulerCommand::Transparent: ToggleTransparent(); break;
    case TRulerCommand::Magnifier: ToggleMagnifier(); break;
    case TRulerCommand::None: break;
  }
}

// ---- ruler menu ------------------------------------------------------------------------

void TMainForm::CreateRulerMenu() {
  TPopupMenu& menu = FRulerMenu;
  menu.OnPopup = [this] { UpdateRulerMenu(); };
  FRotateItem = &menu.Add(L"&Rotate", kImageRotate, [this](TMenuItem&) { Rotate(); });
  FFlipItem = &menu.Add(L"&Flip", kImageMirrorLeftRight, [this](TMenuItem&) { Flip(); });
  FTurnItem = &menu.Add(L"&Turn", kImageMirrorTopBottom, [this](TMenuItem&) { Turn(); });
  menu.AddSeparator();
  FRulerSettingsItem = &menu.Add(L"&Settings...", -1, [this](TMenuItem&) {
    if (OnShowSettingsDialog) OnShowSettingsDialog(1);
  });
  for (int i = 0; i < TApplicationSettings::ConfigurationCount; ++i) {
    TMenuItem& item = menu.Add(L"", -1, [this](TMenuItem& chosen) { SelectConfiguration(chosen.Tag); });
    item.Tag = i;
    FRulerConfigItems[static_cast<std::size_t>(i)] = &item;
  }
  menu.AddSeparator();
  FStayOnTopItem = &menu.Add(L"&Stay on top", -1, [this](TMenuItem&) { ToggleStayOnTop(); });
  FTransparentItem = &menu.Add(L"&Transparent", -1, [this](TMenuItem&) { ToggleTransparent(); });
  FMagnifierItem = &menu.Add(L"&Magnifier", -1, [this](TMenuItem&) { ToggleMagnifier(); });

  TPopupMenu& units = menu.AddSubmenu(L"&Unit");
  FUnitItem = &menu.Item(menu.Count() - 1);
  const wchar_t* const unitCaptions[] = {L"&None", L"&Pixel", L"P&oint", L"&Inch", L"&Centimeter"};
  for (int i = 0; i < 5; ++i) {
    TMenuItem& item = units.Add(unitCaptions[i], -1, [this](TMenuItem& chosen) { SelectScaleUnit(chosen.Tag); });
    item.Tag = i;
    item.RadioCheck = true;
    FUnitItems[static_cast<std::size_t>(i)] = &item;
  }
  units.AddSeparator();
  FLogicalPixelsItem = &units.Add(L"&Logical pixels", -1, [this](TMenuItem&) { ToggleLogicalPixels(); });
  FCalibrateItem = &units.Add(L"C&alibrate...", -1, [this](TMenuItem&) { Calibrate(); });

  TPopupMenu& presets = menu.AddSubmenu(L"&Presets");
  FPresetsItem = &menu.Item(menu.Count() - 1);
  for (int i = 0; i < kRulerPresetCount; ++i) {
    TMenuItem& item = presets.Add(L"", -1, [this](TMenuItem& chosen) { SelectPreset(chosen.Tag); });
    item.Tag = i;
    FPresetItems[static_cast<std::size_t>(i)] = &item;
  }
  FMeasureItem = &menu.Add(L"M&easure", kImageMeasure, [this](TMenuItem&) {
    if (OnMeasureRequest) OnMeasureRequest();
  });
  FCopyLengthItem = &menu.Add(L"&Copy length", -1, [this](TMenuItem&) { CopyLengthOrReport(); });
  menu.AddSeparator();
  FHideItem = &menu.Add(L"&Hide", kImageHide, [this](TMenuItem&) { Close(); });
}

void TMainForm::SetMenuImages(TImageList* images) {
  FRulerMenu.SetImages(images);
  FUnitItem->Submenu->SetImages(images);
  FPresetsItem->Submenu->SetImages(images);
}

void TMainForm::UpdateRulerMenu() {
  const TRulerMenuState state = RulerMenuState(FSettings, QorvelFormBlendings::Available(),
                                               OnShowSettingsDialog && !TGuiApplication::Instance().ModalFormActive());
  FStayOnTopItem->Checked = state.StayOnTopChecked;
  FTransparentItem->Enabled = state.TransparentEnabled;
  FTransparentItem->Checked = state.TransparentChecked;
  FMagnifierItem->Checked = state.MagnifierChecked;
  FFlipItem->ImageIndex = state.FlipImage;
  FTurnItem->ImageIndex = state.TurnImage;
  FRulerSettingsItem->Enabled = state.SettingsEnabled;
  FCalibrateItem->Enabled = !TGuiApplication::Instance().ModalFormActive();
  for (std::size_t i = 0; i < FRulerConfigItems.size(); ++i) {
    FRulerConfigItems[i]->Caption = Widen(state.ConfigurationCaptions[i]);
    FRulerConfigItems[i]->Checked = static_cast<int>(i) == state.CheckedConfiguration;
  }
  FRotateItem->Default = state.DefaultCommand == TRulerCommand::Rotate;
  FFlipItem->Default = state.DefaultCommand == TRulerCommand::Flip;
  FTurnItem->Default = state.DefaultCommand == TRulerCommand::Turn;
  FHideItem->Default = state.DefaultCommand == TRulerCommand::Hide;
  FHideItem->Caption = CaptionWithHotkey(L"&Hide", FSettings.Hotkeys->Hotkey(THotkeyAction::ShowRuler));
  FMeasureItem->Caption = CaptionWithHotkey(L"M&easure", FSettings.Hotkeys->Hotkey(THotkeyAction::Measure));
  FMeasureItem->Enabled = static_cast<bool>(OnMeasureRequest);
  for (std::size_t i = 0; i < FUnitItems.size(); ++i) FUnitItems[i]->Checked = static_cast<int>(i) == state.CheckedUnit;
  FLogicalPixelsItem->Checked = FSettings.Parameters->LogicalPixels;
  for (std::size_t i = 0; i < FPresetItems.size(); ++i) FPresetItems[i]->Caption = Widen(state.PresetCaptions[i]);
}

void TMainForm::PopupRulerMenu(POINT screenPoint) { FRulerMenu.Popup(Handle(), screenPoint); }

namespace {

// The size the ruler menu will take, from its items and the menu font: the side it opens
// to is chosen before the system has laid it out.
TScreenSize EstimatedMenuSize(TPopupMenu& menu) {
  const int itemHeight = ::GetSystemMetrics(SM_CYMENUSIZE);
  TWindowDC screen(nullptr);
  const TSelectScope font(screen.Get(), ::GetStockObject(DEFAULT_GUI_FONT));
  int textWidth = 0;
  int height = 2 * ::GetSystemMetrics(SM_CYEDGE);
  for (std::size_t i = 0; i < menu.Count(); ++i) {
    const std::wstring& caption = menu.Item(i).Caption;
    if (caption == L"-") {
      height += itemHeight / 2;
      continue;
    }
    height += itemHeight;
    SIZE extent{};
    ::GetTextExtentPoint32W(screen.Get(), caption.c_str(), static_cast<int>(caption.size()), &extent);
    textWidth = std::max(textWidth, static_cast<int>(extent.cx));
  }
  // Room for the check or image column, the submenu arrows and the margins.
  const int width = textWidth + 2 * ::GetSystemMetrics(SM_CXMENUCHECK) + 2 * itemHeight;
  return {width, height};
}

}  // namespace

void TMainForm::PopupRulerMenuFromKeyboard() {
  const TRulerPlacements placements = ReadPlacements(FSettings);
  const RECT bounds = BoundsRect();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
  UpdateRulerMenu();  // the captions the menu will show
  const TKeyboardMenuPlace place = KeyboardMenuPlace(
      ToPixelRect(bounds), FChildren.ScaleBox, placements.CurrentOrientation(), ScaleOnTopOrLeft(placements.Current()),
      ToPixelRect(monitor.rcWork), EstimatedMenuSize(FRulerMenu));
  UINT alignment = 0;
  switch (place.Side) {
    case TMenuSide::Above: alignment = TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_VERTICAL; break;
    case TMenuSide::Below: alignment = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL; break;
    case TMenuSide::Left: alignment = TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_HORIZONTAL; break;
    case TMenuSide::Right: alignment = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_HORIZONTAL; break;
  }
  // Should the estimate fall short, the system moves the menu around the ruler, not over it.
  FRulerMenu.Popup(Handle(), {place.Point.X, place.Point.Y}, alignment, &bounds);
}

int TMainForm::RulerLength(const TRulerScaleInput& input) const {
  const RECT bounds = BoundsRect();
  return input.Vertical ? bounds.bottom - bounds.top : bounds.right - bounds.left;
}

std::wstring TMainForm::LengthText() const {
  const TRulerScaleInput input = ScaleInput();
  return Widen(MeasurementText(input.ScaleUnit, RulerLength(input), input.PixelsPerInch, input.LogicalPixels));
}

bool TMainForm::CopyLength() { return PutClipboardText(Handle(), LengthText()); }

void TMainForm::CopyLengthOrReport() {
  if (!CopyLength())
    TGuiApplication::Instance().ReportError(
        L"The length could not be copied: the clipboard is in use by another program.");
}

// ---- keyboard --------------------------------------------------------------------------

bool TMainForm::HandleKeyDown(int virtualKey, int repeatCount) {
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  if (virtualKey == VK_SPACE) {
    Rotate();
    return true;
  }
  if (control && (virtualKey == 'C' || virtualKey == VK_INSERT)) {
    CopyLengthOrReport();
    return true;
  }
  const std::optional<TArrowKey> arrow = ArrowKeyFromVirtualKey(virtualKey);
  if (!arrow) return false;
  const TRulerPlacements placements = ReadPlacements(FSettings);
  const TRulerKeyStep step =
      ArrowKeyStep(*arrow, shift, control, placements.CurrentOrientation(), IsFlipped(placements.Current()));
  // A held key repeats; repeats the system had to pack into one message count each.
  for (int i = 0; i < repeatCount; ++i) {
    if (step.LengthChange != 0) {
      StretchByKey(step.LengthChange);
    } else if (step.Offset != TPoint{}) {
      MoveByKey(step.Offset);
    }
  }
  return true;
}

void TMainForm::MoveByKey(TPoint offset) {
  const TKeyboardDrag drag = ContinueKeyboardDrag(FKeyboardDrag, ToPixelRect(BoundsRect()));
  const TWindowPosProposal proposal = KeyboardMoveProposal(drag, offset);
  // The position-changing handling snaps as in a mouse drag.
  ::SetWindowPos(Handle(), nullptr, proposal.X, proposal.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FKeyboardDrag = AdvanceKeyboardDrag(drag, offset, ToPixelRect(BoundsRect()));
  StorePlacement();
  SampleCursor();
}

void TMainForm::StretchByKey(int lengthChange) {
  const TRulerPlacements placements = ReadPlacements(FSettings);
  const TRect window = ToPixelRect(BoundsRect());
  std::vector<TRect> workAreas;
  const TScreenSize screen = Desktop(workAreas).PrimaryScreen;
  const bool horizontal = placements.CurrentOrientation() == TRulerOrientation::Horizontal;
  const TRect stretched = StretchedWindowRect(window, placements.CurrentOrientation(), placements.Current(),
                                              lengthChange, horizontal ? screen.Width : screen.Height);
  if (stretched == window) return;
  // Through the size change the children are laid out again and the cursor line follows.
  ::SetWindowPos(Handle(), nullptr, stretched.Left, stretched.Top, stretched.Width(), stretched.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  StorePlacement();
}

void TMainForm::ToggleLogicalPixels() {
  FSettings.Parameters->LogicalPixels = !FSettings.Parameters->LogicalPixels;
  FScaleBox->Invalidate();
}

void TMainForm::SelectScaleUnit(int tag) {
  ::SelectScaleUnit(FSettings, tag);
  FScaleBox->Invalidate();
}

void TMainForm::SetMeasuredLength(int pixels) {
  const TRulerPlacements placements = ReadPlacements(FSettings);
  const TRect window =
      PresetWindowRect(ToPixelRect(BoundsRect()), placements.CurrentOrientation(), placements.Current(), pixels);
  ::SetWindowPos(Handle(), nullptr, window.Left, window.Top, window.Width(), window.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string TMainForm::MonitorIdentity() const { return MonitorIdentityAt(ToPixelRect(BoundsRect())); }

TCalibrationForm& TMainForm::Calibrate() {
  // A fresh window each time: it starts from the ruler's length and monitor of now.
  FCalibration = std::make_unique<TCalibrationForm>(*this, FSettings);
  FCalibration->Start();
  return *FCalibration;
}

void TMainForm::SelectPreset(int tag) {
  const TRulerPlacements placements = ReadPlacements(FSettings);
  const TRect window = PresetWindowRect(ToPixelRect(BoundsRect()), placements.CurrentOrientation(),
                                        placements.Current(), PresetLength(placements.Current(), tag));
  ::SetWindowPos(Handle(), nullptr, window.Left, window.Top, window.Width(), window.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::PositionChanging(WINDOWPOS& position) {
  TRulerPosContext context;
  context.Window = FormState();
  context.MoveStart = FMoveStart;
  const int lockKey = AxisLockKey(FSettings.Handling->SnapToAxis);
  // Only a drag has a start to lock to: a rotation, a preset or a key move with the lock
  // key held would otherwise jump back to where some earlier drag began.
  context.AxisLockKeyDown = FInMoveSizeLoop && lockKey != 0 && (::GetKeyState(lockKey) & 0x8000) != 0;
  context.Allies = MagnetAllies();
  context.SnapDistance = MagnetSnapDistance();
  const TRulerPosChange change = RulerPositionChanging(ProposalFrom(position), context, Surroundings());
  ApplyProposal(position, change.Proposal);
  if (change.LayoutNeeded) LayoutChildren(position.cx, position.cy);
}

std::optional<TAccessibleTexts> TMainForm::AccessibleTexts() const {
  TAccessibleTexts texts;
  texts.Name = Widen(RulerAccessibleName);
  const TRulerScaleInput input = ScaleInput();
  texts.Value = Widen(RulerAccessibleValue(input, RulerLength(input)));
  texts.Description = Widen(RulerAccessibleDescription(input.ScaleUnit, FResolutionBasis));
  texts.Role = ROLE_SYSTEM_CLIENT;
  return texts;
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) FDeactivatedAt = ::GetTickCount();
      break;
    case WM_NCHITTEST: return HitTest({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    case WM_GETMINMAXINFO: {
      // The ruler is never shorter than 100 pixels; across its axis any thickness goes.
      const TSizeConstraints limits = RulerSizeConstraints(ReadPlacements(FSettings).CurrentOrientation());
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {limits.MinWidth, limits.MinHeight};
      return 0;
    }
    case WM_MOVE:
    case WM_EXITSIZEMOVE:
    case WM_DISPLAYCHANGE:
      if (message == WM_EXITSIZEMOVE) FInMoveSizeLoop = false;
      FollowMonitorDpi();
      break;
    case DpiChangedMessage:
      // Another monitor, another inch. The size stays: it is in device pixels, and the
      // rectangle the system suggests would stretch the ruler by the ratio of the DPIs.
      FollowMonitorDpi();
      return 0;
    case GetDpiScaledSizeMessage: {
      // Asked before such a move which size the ruler wants there: the one it has.
      const RECT bounds = BoundsRect();
      *reinterpret_cast<SIZE*>(lParam) = {bounds.right - bounds.left, bounds.bottom - bounds.top};
      return TRUE;
    }
    case WM_ENTERSIZEMOVE: {
      const RECT bounds = BoundsRect();
      FMoveStart = {bounds.left, bounds.top};
      FInMoveSizeLoop = true;
      break;
    }
    case WM_NCLBUTTONDBLCLK:
      // Not inherited: the system's own caption double click must not happen.
      RunCommand(DoubleClickCommand(FSettings.Handling->DoubleClickAction));
      return 0;
    case WM_NCRBUTTONDOWN:
      // The default handling of a right press on a caption keeps the release to itself,
      // and the menu opens on the release.
      return 0;
    case WM_NCRBUTTONUP:
      TQorvelMagnetForm::HandleMessage(message, wParam, lParam);
      PopupRulerMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_CONTEXTMENU:
      // The mouse opens the menu at WM_NCRBUTTONUP; only the keyboard (Shift+F10, the menu
      // key) comes here.
      if (lParam == -1) PopupRulerMenuFromKeyboard();
      return 0;
    case WM_KEYDOWN:
      if (HandleKeyDown(static_cast<int>(wParam), std::max(1, static_cast<int>(LOWORD(lParam))))) return 0;
      break;
  }
  return TQorvelMagnetForm::HandleMessage(message, wParam, lParam);
}
