#include "color/win32/QorvelColorDialogs.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "color/ColorAccessibleTexts.h"
#include "color/ColorFormats.h"
#include "color/ColorPreferences.h"
#include "color/win32/ColorTools.h"
#include "color/win32/QorvelColorControls.h"
#include "controls/win32/QorvelControlsCommon.h"
#include "gui/Application.h"
#include "gui/Dpi.h"
#include "gui/ScreenCursors.h"

namespace {

constexpr int ClientWidth96 = 463;
constexpr int ClientHeight96 = 366;
constexpr int RadioId = 100;  // + component index
constexpr int WebSafeId = 110;
constexpr int SwapId = 111;

// The WCAG levels on two lines: "AA  text: pass  large, UI: pass", "AAA  text: fail  large: pass".
std::wstring VerdictText(const TContrastVerdict& verdict) {
  const auto word = [](bool pass) { return pass ? L"pass" : L"fail"; };
  return std::wstring(L"AA   text: ") + word(verdict.AANormal) + L"   large, UI: " + word(verdict.AALarge) +
         L"\nAAA  text: " + word(verdict.AAANormal) + L"   large: " + word(verdict.AAALarge);
}

POINT PointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

POINT ToBox(const TQorvelCustomBoxControl& box, POINT host) {
  return {host.x - box.BoundsRect().left, host.y - box.BoundsRect().top};
}

void FillRun(HDC dc, int left, int top, int right, int bottom, TColor color) {
  if (right <= left || bottom <= top) return;
  TBrushHandle brush(::CreateSolidBrush(color & 0x00FFFFFFu));
  const RECT r{left, top, right, bottom};
  ::FillRect(dc, &r, brush.Get());
}

// Writes `text` transparently at `origin` in box coordinates of the surface.
void DrawBoxText(TBoxSurface& surface, const std::wstring& text, const TRect& area, TColor color) {
  HDC dc = surface.DC();
  TSelectScope font(dc, DefaultControlFont());
  const SIZE extent = TextExtent(dc, text);
  const TPoint origin = CenteredText(area, extent.cx, extent.cy);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, color & 0x00FFFFFFu);
  ::TextOutW(dc, origin.X, origin.Y, text.c_str(), static_cast<int>(text.size()));
}

// A part of a box, given in box coordinates, in the host's.
RECT InHost(const RECT& box, int left, int top, int right, int bottom) {
  return {box.left + left, box.top + top, box.left + right, box.top + bottom};
}

// Draws the keyboard focus around a part of a box, `inset` pixels inside it.
void DrawFocus(TBoxSurface& surface, int left, int top, int right, int bottom, int inset) {
  const RECT r{left + inset, top + inset, right - inset, bottom - inset};
  ::DrawFocusRect(surface.DC(), &r);
}

std::wstring ColorName(TColor color) { return Widen(ColorAccessibleValue(color, ColorToRGB(color))); }

}  // namespace

// ---- chart and bar ------------------------------------------------------------------

TQorvelColorsControl::TQorvelColorsControl(HWND parent, const RECT& bounds, TColorsControlModel& model)
    : TQorvelCustomBoxControl(parent, bounds), FModel(model) {}

void TQorvelColorsControl::PaintClip(TBoxSurface& surface) {
  TColorsPaintStyle style;
  style.WebSafe = FModel.WebSafe();
  style.DeviceFilter = FDeviceFilter;
  style.Look = Look();
  style.ParentColor = ParentColor();
  style.Resolve = SystemColorResolver();
  style.Marker = &FMarker;
  ::GdiFlush();
  PaintModel(surface.Canvas(), style);
}

void TQorvelColorsControl::Place(POINT topLeft, int width, int side) {
  FModel.SetContentSide(side);
  if (FMarker.Side != FModel.MarkerSide()) FMarker = CircleMarker(FModel.MarkerSide());
  SetBounds({topLeft.x, topLeft.y, topLeft.x + width, topLeft.y + FModel.ContentSide() + 2});
  Invalidate();
}

void TQorvelColorsControl::RepaintMarker(const TMarkerMove& move) {
  const TRepaintAreas areas = MarkerRepaintAreas(move);
  for (int i = 0; i < areas.Count; ++i) {
    const TRect& area = areas.Areas[static_cast<std::size_t>(i)];
    const RECT part{area.Left, area.Top, area.Right, area.Bottom};
    Invalidate(&part);
  }
  // Show the marker under the mouse now rather than after the rest of the form.
  if (areas.Count > 0) ::UpdateWindow(Parent());
}

void TQorvelColorsControl::UpdateCursor(POINT point) {
  SetCursorNow(FModel.ShowsPickCursor(point.x, point.y) ? crQorvelCircle : crDefault);
}

void TQorvelColorsControl::MouseDown(POINT point) {
  RepaintMarker(FModel.MouseDown(point.x, point.y));
  UpdateCursor(point);
}

void TQorvelColorsControl::MouseMove(POINT point) {
  UpdateCursor(point);
  if (FModel.Dragging()) RepaintMarker(FModel.MouseMove(point.x, point.y));
}

void TQorvelColorsControl::MouseUp() { FModel.MouseUp(); }

void TQorvelColorsControl::DoMouseLeave() {
  if (!FModel.Dragging()) SetCursorNow(crDefault);
  TQorvelCustomBoxControl::DoMouseLeave();
}

// ---- preview ------------------------------------------------------------------------

TQorvelColorPreview::TQorvelColorPreview(HWND parent, const RECT& bounds)
    : TQorvelCustomBoxControl(parent, bounds), FRevertButton(parent, bounds) {
  Place(bounds);
  FRevertButton.OnPress = [this] {
    if (OnRevert) OnRevert();
  };
  FRevertButton.OnFocusChange = [this] { Invalidate(); };
}

void TQorvelColorPreview::Place(const RECT& bounds) {
  SetBounds(bounds);
  const TRect area = TColorPreviewModel::RevertArea(Width(), Height());
  const RECT button = InHost(bounds, area.Left, area.Top, area.Right, area.Bottom);
  ::MoveWindow(FRevertButton.Handle(), button.left, button.top, button.right - button.left,
               button.bottom - button.top, FALSE);
}

void TQorvelColorPreview::SetInitialColor(TColor color) {
  if (FModel.SetInitialColor(color)) Invalidate();
  FRevertButton.SetCaption(L"Revert to " + ColorName(color));
}

void TQorvelColorPreview::MouseMove(POINT point) {
  if (FModel.MouseMove(point.x, point.y, Width(), Height())) {
    SetCursorNow(FModel.Hover() ? crQorvelCircle : crDefault);
    Invalidate();
  }
}

void TQorvelColorPreview::MouseUp(bool leftButton) {
  if (FModel.MouseUp(leftButton) && OnRevert) OnRevert();
}

void TQorvelColorPreview::DoMouseLeave() {
  if (FModel.MouseLeave()) Invalidate();
  SetCursorNow(crDefault);
  TQorvelCustomBoxControl::DoMouseLeave();
}

void TQorvelColorPreview::PaintClip(TBoxSurface& surface) {
  TBoxPaintStyle style{FDeviceFilter, Look(), ParentColor(), SystemColorResolver()};
  ::GdiFlush();
  FModel.Paint(surface.Canvas(), Width(), Height(), style);
  // The keyboard's focus shows what the mouse's hover shows, and its frame.
  if (FModel.Hover() || FRevertButton.Focused())
    DrawBoxText(surface, L"Revert", {0, 0, Width(), Height() / 4}, FModel.RevertTextColor(SystemColorResolver()));
  if (FRevertButton.Focused()) {
    const TRect area = TColorPreviewModel::RevertArea(Width(), Height());
    DrawFocus(surface, area.Left, area.Top, area.Right, area.Bottom, 1);
  }
}

// ---- user-defined colour slot -------------------------------------------------------

TQorvelColorContainer::TQorvelColorContainer(HWND parent, const RECT& bounds, int tag)
    : TQorvelCustomBoxControl(parent, bounds), Tag(tag), FSetButton(parent, bounds), FSelectButton(parent, bounds) {
  Place(bounds);
  const std::wstring number = std::to_wstring(tag + 1);
  FSetButton.SetCaption(L"Set user color " + number);
  FSelectButton.SetCaption(L"Use user color " + number + L", " + ColorName(FModel.Color()));
  FSetButton.OnPress = [this] {
    if (OnSet) OnSet(*this);
  };
  FSelectButton.OnPress = [this] {
    if (OnSelect) OnSelect(*this);
  };
  FSetButton.OnFocusChange = FSelectButton.OnFocusChange = [this] { FocusChanged(); };
}

void TQorvelColorContainer::Place(const RECT& bounds) {
  SetBounds(bounds);
  const int half = Width() / 2;
  const RECT set = InHost(bounds, 1, 1, half - 1, Height() - 1);
  const RECT select = InHost(bounds, half, 1, Width() - 1, Height() - 1);
  ::MoveWindow(FSetButton.Handle(), set.left, set.top, set.right - set.left, set.bottom - set.top, FALSE);
  ::MoveWindow(FSelectButton.Handle(), select.left, select.top, select.right - select.left, select.bottom - select.top,
               FALSE);
}

void TQorvelColorContainer::SetColor(TColor color) {
  if (FModel.SetColor(color)) Invalidate();
  FSelectButton.SetCaption(L"Use user color " + std::to_wstring(Tag + 1) + L", " + ColorName(color));
}

void TQorvelColorContainer::FocusChanged() {
  const int focused = FSetButton.Focused()      ? TColorSlotModel::SetHalf
                      : FSelectButton.Focused() ? TColorSlotModel::SelectHalf
                                                : TColorSlotModel::None;
  if (FModel.SetFocusedHalf(focused)) Invalidate();
}

void TQorvelColorContainer::MouseDown(POINT point, bool leftButton) {
  FModel.MouseDown(point.x, point.y, Width(), Height(), leftButton);
}

void TQorvelColorContainer::MouseMove(POINT point) {
  if (FModel.MouseMove(point.x, point.y, Width(), Height())) Invalidate();
  SetCursorNow(FModel.HotHalf() == TColorSlotModel::SelectHalf ? crQorvelCircle : crDefault);
}

void TQorvelColorContainer::MouseUp(bool leftButton) {
  switch (FModel.MouseUp(leftButton)) {
    case TColorSlotModel::TAction::Set:
      if (OnSet) OnSet(*this);
      break;
    case TColorSlotModel::TAction::Select:
      if (OnSelect) OnSelect(*this);
      break;
    case TColorSlotModel::TAction::None: break;
  }
}

void TQorvelColorContainer::DoMouseLeave() {
  if (FModel.MouseLeave()) Invalidate();
  SetCursorNow(crDefault);
  TQorvelCustomBoxControl::DoMouseLeave();
}

void TQorvelColorContainer::PaintClip(TBoxSurface& surface) {
  const TColor current = OnGetColor ? OnGetColor() : FModel.Color();
  TBoxPaintStyle style{FDeviceFilter, Look(), ParentColor(), SystemColorResolver()};
  ::GdiFlush();
  FModel.Paint(surface.Canvas(), Width(), Height(), current, style);
  if (FModel.ShowsSet())
    DrawBoxText(surface, L"set", TColorSlotModel::SelectHalfArea(Width(), Height()),
                FModel.SetTextColor(SystemColorResolver()));
  const int half = Width() / 2;
  if (FModel.FocusedHalf() == TColorSlotModel::SetHalf) DrawFocus(surface, 1, 1, half - 1, Height() - 1, 2);
  if (FModel.FocusedHalf() == TColorSlotModel::SelectHalf) DrawFocus(surface, half, 1, Width() - 1, Height() - 1, 2);
}

// ---- form ---------------------------------------------------------------------------

TQorvelColorForm::TQorvelColorForm(TQorvelColorDialog& dialog)
    : FDialog(dialog), FModel(ColorFormSetup(dialog, ColorToRGB(dialog.Color))) {
  FModel.OnPreview = [this](TColor color) {
    ShowColorTexts();
    if (FDialog.OnPreview) FDialog.OnPreview(&FDialog, color);
  };
  FModel.OnInvalidate = [this](TColorFormPart part) { Invalidated(part); };
  FModel.OnSetUserColor = [](int index, TColor color) { ColorDefinitionService().SetColor(index, color); };

  // The window that opened the dialog owns it, so that the dialog stays in front of it.
  HWND owner = ::GetActiveWindow();
  TCreateParams params;
  params.ClassName = L"TQorvelColorForm";
  // Not clipping children: the group boxes leave their inside to the form to paint.
  params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  params.Caption = Widen(dialog.FormCaption());
  params.Left = params.Top = 0;
  params.Width = params.Height = 100;
  params.Parent = owner;
  CreateHandle(params);
  FDpi = WindowDpi(Handle());
  Build();
}

TQorvelColorForm::~TQorvelColorForm() {
  if (FService) FService->RemoveListener(TQorvelColorListener::Of<&TQorvelColorForm::UserColorChanged>(this));
  // The controls go before the window that holds them.
  FFields = {};
  FHexField.reset();
  FAgainst.reset();
  FOpacityBar.reset();
  DestroyHandle();
}

int TQorvelColorForm::Scaled(int value96) const { return ScaleForDpi(value96, FDpi); }

RECT TQorvelColorForm::ScaledRect(int left, int top, int width, int height) const {
  return {Scaled(left), Scaled(top), Scaled(left + width), Scaled(top + height)};
}

HWND TQorvelColorForm::AddButton(const wchar_t* caption, DWORD style, int id, const RECT& bounds) {
  return CreateChildControl(Handle(), L"BUTTON", caption, style, bounds, DefaultControlFont(), id);
}

void TQorvelColorForm::Build() {
  // Chart, bar and preview take their places below, with the slots.
  FChart = std::make_unique<TQorvelColorChart>(Handle(), RECT{}, FModel.Chart());
  FBar = std::make_unique<TQorvelColorBar>(Handle(), RECT{}, FModel.Bar());
  FPreview = std::make_unique<TQorvelColorPreview>(Handle(), RECT{});
  FPreview->OnRevert = [this] { FModel.Revert(); };

  const RECT track = ScaledRect(304, 72, 152, 32);
  FOpacityBar = std::make_unique<TQorvelTrackBar>(Handle(), track.left, track.top, track.right - track.left,
                                                  track.bottom - track.top);
  FOpacityBar->SetMin(0);
  FOpacityBar->SetMax(100);
  FOpacityBar->SetLabelCaption(L"&Opacity: <pos> %");
  FOpacityBar->SetOnDrawTrack([this](TQorvelSlideBar&, HDC canvas, TQorvelSlideBarOrientation, const RECT& bounds,
                                     POINT centre) { DrawOpacityTrack(canvas, bounds, centre); });
  FOpacityBar->OnChange = [this](TQorvelTrackBar& sender) { FModel.OpacityChanged(sender.Position()); };
  ::ShowWindow(FOpacityBar->Handle(), SW_HIDE);

  // Radio buttons and fields are the form's children placed over the group boxes, so that
  // their notifications reach the form.
  FValuesGroup = AddButton(L"", BS_GROUPBOX, 0, ScaledRect(304, 112, 152, 96));
  for (int i = 0; i < ColorFieldCount; ++i) {
    const int left = 304 + 8 + 72 * (i / 3), top = 112 + 20 + 24 * (i % 3);
    // Each component's letter is its access key; blue's "B" is brightness's already.
    const std::wstring caption = (i == ColorFieldCount - 1 ? L"" : L"&") + Widen(ColorFieldCaption(i));
    FRadios[static_cast<std::size_t>(i)] =
        AddButton(caption.c_str(), BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0), RadioId + i,
                  ScaledRect(left, top, 32, 17));
    const RECT field = ScaledRect(304 + 40 + 72 * (i / 3), 112 + 18 + 24 * (i % 3), 32, 17);
    auto edit = std::make_unique<TQorvelIntEdit>(Handle(), field.left, field.top, field.right - field.left,
                                                 field.bottom - field.top);
    edit->SetMinValue(0);
    edit->SetMaxValue(ColorFieldMax(i));
    edit->SetCaptionAlignment(pcaRight);
    edit->OnChange = [this, i](TQorvelNumEdit&) { FModel.FieldTyped(i, Field(i).Value()); };
    edit->OnExit = [this, i](TQorvelNumEdit&) { FModel.FieldLeft(i); };
    FFields[static_cast<std::size_t>(i)] = std::move(edit);
  }
  FHexGroup = AddButton(L"Hex code", BS_GROUPBOX, 0, ScaledRect(304, 216, 152, 64));
  // "web-safe" needs more than 64 pixels; the hex field gives up room it does not use.
  FWebSafe = AddButton(L"&web-safe", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, WebSafeId, ScaledRect(312, 238, 74, 13));
  const RECT hex = ScaledRect(388, 234, 60, 17);
  FHexField = std::make_unique<TQorvelIntEdit>(Handle(), hex.left, hex.top, hex.right - hex.left, hex.bottom - hex.top);
  FHexField->SetBase(16);
  FHexField->SetMaxValue(HexFieldMax);
  FHexField->SetOptions(pneFixLength);
  FHexField->OnChange = [this](TQorvelNumEdit&) { FModel.HexTyped(FHexField->Value()); };
  FHexField->OnExit = [this](TQorvelNumEdit&) { FModel.HexLeft(); };
  FHexField->OnPasteText = [](const std::string& pasted) -> std::optional<TQorvelPaste> {
    if (const std::optional<THexFieldPaste> paste = HexFieldPaste(pasted))
      return TQorvelPaste{paste->Digits, paste->WholeCode};
    // Any other notation the formats read (rgb(), oklch(), a COLORREF...) becomes its code.
    const std::optional<TColor> color = ParseColorText(pasted, DefaultColorFormat(*ColorToolSettings().Colors));
    if (!color) return std::nullopt;
    return TQorvelPaste{FormatColor(*color, TColorFormat::HexBare), true};
  };
  FFormatText = CreateChildControl(Handle(), L"STATIC", L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS,
                                   ScaledRect(312, 258, 136, 15), DefaultControlFont(), 0);

  AddButton(L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, ScaledRect(304, 288, 72, 25));
  AddButton(L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, ScaledRect(384, 288, 72, 25));

  AddButton(L"Contrast", BS_GROUPBOX, 0, ScaledRect(8, 318, 448, 42));
  const RECT against = ScaledRect(16, 332, 96, 22);
  FAgainst = std::make_unique<TQorvelColorBox>(Handle(), against.left, against.top, against.right - against.left,
                                               against.bottom - against.top);
  FAgainst->SetCaption(L"&Against");
  FAgainst->OnChange = [this](TQorvelColorBox&) { ShowColorTexts(); };
  FAgainst->OnPreview = [this](TQorvelColorBox&, TColor) { ShowColorTexts(); };
  FSwap = AddButton(L"Swa&p", BS_PUSHBUTTON | WS_TABSTOP, SwapId, ScaledRect(116, 332, 44, 22));
  FContrastRatio = CreateChildControl(Handle(), L"STATIC", L"", SS_LEFT | SS_NOPREFIX, ScaledRect(166, 336, 46, 15),
                                      DefaultControlFont(), 0);
  FContrastVerdict = CreateChildControl(Handle(), L"STATIC", L"", SS_LEFT | SS_NOPREFIX, ScaledRect(214, 330, 236, 27),
                                        DefaultControlFont(), 0);

  // The client area as laid out, whatever frame the system draws around it.
  RECT frame{0, 0, Scaled(ClientWidth96), Scaled(ClientHeight96)};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_EXSTYLE)));
  SetBounds(0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE);
  FDpiRelayout = std::make_unique<TDpiRelayout>(Handle(), FDpi);
  PlaceBoxes();
}

void TQorvelColorForm::PlaceBoxes() {
  // Chart and bar grow with the resolution: each colour step a block of pixels.
  const int side = Scaled(ColorSteps);
  FChart->Place({Scaled(8), Scaled(8)}, side + 2, side);
  const int barWidth = Scaled(26);
  FModel.Bar().SetClientWidth(barWidth);
  FBar->Place({Scaled(272), Scaled(8)}, barWidth, side);
  FPreview->Place(ScaledRect(304, 8, 152, FModel.ShowOpacity() ? 60 : 96));
  for (std::size_t i = 0; i < FSlots.size(); ++i)
    if (FSlots[i]) FSlots[i]->Place(ScaledRect(8 + 53 * static_cast<int>(i), 272, 46, 23));
}

int TQorvelColorForm::SlotCount() const {
  return static_cast<int>(
      std::count_if(FSlots.begin(), FSlots.end(), [](const auto& slot) { return slot != nullptr; }));
}

void TQorvelColorForm::Prepare() {
  std::array<TColor, UserColorSlotCount> userColors{};
  if (FModel.ShowUserDefined()) {
    try {
      TQorvelColorDefinitionService& service = ColorDefinitionService();
      for (int i = 0; i < UserColorSlotCount; ++i) userColors[static_cast<std::size_t>(i)] = service.GetColor(i);
      service.AddListener(TQorvelColorListener::Of<&TQorvelColorForm::UserColorChanged>(this));
      FService = &service;
    } catch (const std::exception& error) {
      // Without the shared colours the dialog still works, just without its slots.
      TGuiApplication::Instance().ReportError(error);
    }
  }
  if (FService) {
    for (int i = 0; i < UserColorSlotCount; ++i) {
      auto slot = std::make_unique<TQorvelColorContainer>(Handle(), ScaledRect(8 + 53 * i, 272, 46, 23), i);
      slot->SetLook(FDialog.Look);
      slot->SetColor(userColors[static_cast<std::size_t>(i)]);
      slot->OnSet = [this](TQorvelColorContainer& sender) { FModel.SlotSet(sender.Tag); };
      slot->OnSelect = [this](TQorvelColorContainer& sender) { FModel.SlotSelected(sender.Tag); };
      slot->OnGetColor = [this] { return FModel.Color(); };
      FSlots[static_cast<std::size_t>(i)] = std::move(slot);
    }
    // The ten halves are one group, as a row of option buttons is: Tab reaches the first,
    // the arrow keys walk the others.
    for (auto& slot : FSlots)
      for (TPartButton* half : {&slot->SetButton(), &slot->SelectButton()}) {
        const LONG_PTR style = ::GetWindowLongPtrW(half->Handle(), GWL_STYLE) & ~(WS_TABSTOP | WS_GROUP);
        ::SetWindowLongPtrW(half->Handle(), GWL_STYLE, style | (half == &FSlots[0]->SetButton() ? WS_TABSTOP | WS_GROUP : 0));
      }
  }

  const TQorvelColorFilter* device = nullptr;
  {
    TWindowDC screen(Handle());
    device = DeviceColorFilter(screen.Get());
  }
  FChart->SetDeviceFilter(device);
  FBar->SetDeviceFilter(device);
  FPreview->SetDeviceFilter(device);
  for (auto& slot : FSlots)
    if (slot) slot->SetDeviceFilter(device);

  ::SendMessageW(FWebSafe, BM_SETCHECK, FModel.WebSafe() ? BST_CHECKED : BST_UNCHECKED, 0);
  if (FModel.ShowOpacity()) {
    FPreview->Place(ScaledRect(304, 8, 152, 60));
    ::ShowWindow(FOpacityBar->Handle(), SW_SHOWNA);
  }
  FChart->SetLook(FDialog.Look);
  FBar->SetLook(FDialog.Look);
  FPreview->SetLook(FDialog.Look);
  FOpacityBar->SetPosition(FModel.Opacity());
  FOpacityBar->SetDefaultPosition(FModel.Opacity());
  FPreview->SetInitialColor(FModel.InitialColor());
  // Read against the colour the dialog began with (a new text colour against the old
  // background, say); Swap, or the box itself, chooses another.
  FAgainst->SetColor(FModel.InitialColor());
  FPreview->Model().SetInitialOpacity(FModel.PreviewInitialOpacity());
  ::SendMessageW(FRadios[static_cast<std::size_t>(FModel.Component())], BM_SETCHECK, BST_CHECKED, 0);
  FModel.Prepare(userColors);
}

void TQorvelColorForm::UserColorChanged(TQorvelColorDefinitionService&, int index, TColor color) {
  FModel.UserColorChanged(index, color);
}

void TQorvelColorForm::Invalidated(TColorFormPart part) {
  switch (part) {
    case TColorFormPart::Chart: FChart->Invalidate(); break;
    case TColorFormPart::Bar: FBar->Invalidate(); break;
    case TColorFormPart::Preview: ShowPreview(); break;
    case TColorFormPart::Fields: ShowFields(); break;
    case TColorFormPart::Track:
      if (FOpacityBar->Position() != FModel.Opacity()) FOpacityBar->SetPosition(FModel.Opacity());
      FOpacityBar->Invalidate();
      break;
    case TColorFormPart::Caption: ::SetWindowTextW(FValuesGroup, Widen(FModel.GroupCaption()).c_str()); break;
    case TColorFormPart::Slots: ShowSlots(); break;
  }
}

void TQorvelColorForm::ShowFields() {
  // Only fields whose value differs are rewritten: the one the user is typing in keeps
  // its text and caret.
  for (int i = 0; i < ColorFieldCount; ++i) {
    TQorvelIntEdit& field = Field(i);
    const int value = FModel.Fields()[static_cast<std::size_t>(i)];
    if (field.Value() != value || field.Text().empty()) field.SetValue(value);
  }
  if (FHexField->Value() != FModel.HexField() || FHexField->Text().empty()) FHexField->SetValue(FModel.HexField());
}

void TQorvelColorForm::ShowColorTexts() {
  if (!FFormatText || !FAgainst) return;
  const TColor color = FModel.Color();
  const TColorSettings& settings = *ColorToolSettings().Colors;
  ::SetWindowTextW(FFormatText, Widen(DefaultColorText(settings, color)).c_str());
  const TColor against = ColorToRGB(FAgainst->Color());
  const double ratio = ::ContrastRatio(color, against);
  ::SetWindowTextW(FContrastRatio, Widen(ContrastRatioText(ratio)).c_str());
  ::SetWindowTextW(FContrastVerdict, VerdictText(::ContrastVerdict(ratio)).c_str());
}

void TQorvelColorForm::SwapColors() {
  const TColor against = ColorToRGB(FAgainst->Color());
  FAgainst->SetColor(FModel.Color());
  FModel.ColorChosen(against);
  ShowColorTexts();
}

void TQorvelColorForm::ShowPreview() {
  TColorPreviewModel& preview = FPreview->Model();
  bool changed = preview.SetColor(FModel.Color());
  changed = preview.SetOpacity(FModel.PreviewOpacity()) || changed;
  if (changed) FPreview->Invalidate();
}

void TQorvelColorForm::ShowSlots() {
  for (auto& slot : FSlots)
    if (slot) slot->SetColor(FModel.SlotColor(slot->Tag));
  // The "set" half previews the dialog's colour: keep it current while hovered.
  for (auto& slot : FSlots)
    if (slot && slot->HotHalf() == TColorSlotModel::SetHalf) slot->Invalidate();
}

void TQorvelColorForm::DrawOpacityTrack(HDC canvas, const RECT& bounds, POINT centre) const {
  const int cy = centre.y;
  for (const TOpacityTrackRun& run :
       OpacityTrackRuns(bounds.left, bounds.right, ::GetSysColor(COLOR_BTNFACE), FModel.Color())) {
    FillRun(canvas, run.Left, cy - 2, run.Right, cy - 1, run.Edge);
    FillRun(canvas, run.Left, cy + 2, run.Right, cy + 3, run.Edge);
    FillRun(canvas, run.Left, cy - 1, run.Right, cy + 2, run.Inner);
  }
  FillRun(canvas, bounds.right - 2, cy - 1, bounds.right - 1, cy + 2, 0x000000);
}

void TQorvelColorForm::PlaceOnScreen() {
  const RECT bounds = BoundsRect();
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  POINT cursor{};
  ::GetCursorPos(&cursor);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& area = monitor.rcWork;
  const int left = area.left + std::max<int>(0, (area.right - area.left - width) / 2);
  const int top = area.top + std::max<int>(0, (area.bottom - area.top - height) / 2);
  ::SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TQorvelColorForm::DoShow() {
  PlaceOnScreen();
  ::SetFocus(FFields[static_cast<std::size_t>(FModel.Component())]->Handle());
}

std::vector<TQorvelCustomBoxControl*> TQorvelColorForm::Boxes() const {
  std::vector<TQorvelCustomBoxControl*> boxes{FChart.get(), FBar.get(), FPreview.get()};
  for (const auto& slot : FSlots)
    if (slot) boxes.push_back(slot.get());
  return boxes;
}

TQorvelCustomBoxControl* TQorvelColorForm::BoxAt(POINT point) const {
  for (TQorvelCustomBoxControl* box : Boxes())
    if (box->Visible() && ::PtInRect(&box->BoundsRect(), point)) return box;
  return nullptr;
}

void TQorvelColorForm::UpdateMouseInBoxes(const POINT* point) const {
  for (TQorvelCustomBoxControl* box : Boxes()) box->UpdateMouse(point);
}

TQorvelColorContainer* TQorvelColorForm::SlotOf(const TQorvelCustomBoxControl* box) const {
  for (const auto& slot : FSlots)
    if (slot && box == slot.get()) return slot.get();
  return nullptr;
}

void TQorvelColorForm::MouseMessage(UINT message, POINT point) {
  switch (message) {
    case WM_MOUSEMOVE: MouseMove(point); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: MouseDown(point, true); break;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: MouseDown(point, false); break;
    case WM_LBUTTONUP: MouseUp(point, true); break;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: MouseUp(point, false); break;
    default: break;
  }
}

void TQorvelColorForm::MouseMove(POINT point) {
  if (!FTrackingLeave) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    FTrackingLeave = ::TrackMouseEvent(&track) != FALSE;
  }
  // While a box holds the press, only it hears the mouse.
  TQorvelCustomBoxControl* target = FCaptured;
  if (!target) {
    UpdateMouseInBoxes(&point);
    target = BoxAt(point);
  }
  if (target == FChart.get()) FChart->MouseMove(ToBox(*FChart, point));
  if (target == FBar.get()) FBar->MouseMove(ToBox(*FBar, point));
  if (target == FPreview.get()) FPreview->MouseMove(ToBox(*FPreview, point));
  if (TQorvelColorContainer* slot = SlotOf(target)) slot->MouseMove(ToBox(*slot, point));
}

void TQorvelColorForm::MouseDown(POINT point, bool left) {
  TQorvelCustomBoxControl* box = BoxAt(point);
  if (!box) return;
  FCaptured = box;
  ::SetCapture(Handle());
  if (box == FChart.get() && left) FChart->MouseDown(ToBox(*FChart, point));
  if (box == FBar.get() && left) FBar->MouseDown(ToBox(*FBar, point));
  if (box == FPreview.get()) FPreview->MouseDown(left);
  if (TQorvelColorContainer* slot = SlotOf(box)) slot->MouseDown(ToBox(*slot, point), left);
}

void TQorvelColorForm::MouseUp(POINT point, bool left) {
  if (!FCaptured) return;
  TQorvelCustomBoxControl* box = std::exchange(FCaptured, nullptr);
  if (::GetCapture() == Handle()) ::ReleaseCapture();
  if (box == FChart.get()) FChart->MouseUp();
  if (box == FBar.get()) FBar->MouseUp();
  if (box == FPreview.get()) FPreview->MouseUp(left);
  if (TQorvelColorContainer* slot = SlotOf(box)) slot->MouseUp(left);
  // The mouse may have left the box while it held the press.
  UpdateMouseInBoxes(&point);
}

void TQorvelColorForm::EraseBackground(HDC dc) const {
  // The boxes paint every pixel of theirs: leave them out to spare a flash.
  const int saved = ::SaveDC(dc);
  for (TQorvelCustomBoxControl* box :
       {static_cast<TQorvelCustomBoxControl*>(FChart.get()), static_cast<TQorvelCustomBoxControl*>(FBar.get()),
        static_cast<TQorvelCustomBoxControl*>(FPreview.get())}) {
    const RECT& r = box->BoundsRect();
    if (box->Visible()) ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  const RECT client = ClientRect();
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  ::RestoreDC(dc, saved);
}

bool TQorvelColorForm::Command(WPARAM wParam) {
  const int id = LOWORD(wParam);
  const bool clicked = HIWORD(wParam) == BN_CLICKED;
  if (id == IDOK || id == IDCANCEL) {
    SetModalResult(id == IDOK ? TModalResult::Ok : TModalResult::Cancel);
    return true;
  }
  if (id >= RadioId && id < RadioId + ColorFieldCount && clicked) {
    FModel.ComponentClicked(id - RadioId);
    return true;
  }
  if (id == SwapId && clicked) {
    SwapColors();
    return true;
  }
  if (id == WebSafeId && clicked) {
    FModel.WebSafeClicked(::SendMessageW(FWebSafe, BM_GETCHECK, 0, 0) == BST_CHECKED);
    return true;
  }
  return false;
}

bool TQorvelColorForm::SetBoxCursor() {
  if (HCURSOR cursor = TScreenCursors::Instance().ScreenCursorOverride()) {
    ::SetCursor(cursor);
    return true;
  }
  POINT point{};
  ::GetCursorPos(&point);
  ::ScreenToClient(Handle(), &point);
  const TQorvelCustomBoxControl* box = FCaptured ? FCaptured : BoxAt(point);
  if (!box) return false;
  ::SetCursor(box->CursorHandle());
  return true;
}

LRESULT TQorvelColorForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case DpiChangedMessage:
      if (!FDpiRelayout) break;
      FDpi = FDpiRelayout->DpiChanged(wParam, lParam);
      PlaceBoxes();
      return 0;
    case WM_ERASEBKGND: EraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: {
      TPaintScope paint(Handle());
      for (TQorvelCustomBoxControl* box : Boxes()) box->Paint(paint.DC(), paint.Invalid());
      return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: MouseMessage(message, PointOf(lParam)); return 0;
    case WM_CAPTURECHANGED:
      if (FCaptured && reinterpret_cast<HWND>(lParam) != Handle()) {
        // Capture taken away (another window, a system dialog): end the drag where it is.
        TQorvelCustomBoxControl* box = std::exchange(FCaptured, nullptr);
        if (box == FChart.get()) FChart->MouseUp();
        if (box == FBar.get()) FBar->MouseUp();
      }
      return 0;
    case WM_MOUSELEAVE:
      FTrackingLeave = false;
      if (!FCaptured) UpdateMouseInBoxes(nullptr);
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Handle() && LOWORD(lParam) == HTCLIENT && SetBoxCursor()) return TRUE;
      break;
    case WM_COMMAND:
      if (Command(wParam)) return 0;
      break;
    default: break;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}

// ---- dialog -------------------------------------------------------------------------

bool TQorvelColorDialog::Execute() {
  TQorvelColorForm form(*this);
  form.Prepare();
  if (OnShow) OnShow(form);
  const bool ok = form.ShowModal() == TModalResult::Ok;
  if (ok) RememberColorPick(form.Model().Color());
  return FinishColorDialog(*this, form.Model(), ok);
}

bool ExecuteColorDialogFor(TQorvelColorBox& box, const std::function<void(TQorvelColorDialog&)>& adjust) {
  TQorvelColorDialog dialog;
  dialog.Color = box.Color();
  dialog.Look = box.Look();
  dialog.ColorComponent = box.ColorComponent();
  dialog.OnPreview = [&box](const void*, TColor color) { box.PreviewColor(color); };
  if (adjust) adjust(dialog);
  if (!dialog.Execute()) return false;
  box.ApplyDialogColor(dialog.Color, dialog.ColorComponent);
  return true;
}
