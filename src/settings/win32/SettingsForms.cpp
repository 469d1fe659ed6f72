#include "settings/win32/SettingsForms.h"

#include "color/ColorPreferences.h"
#include "color/win32/ColorFormatLists.h"
#include "color/win32/QorvelColorControls.h"
#include "controls/win32/QorvelCheckBoxes.h"
#include "controls/win32/QorvelComboBoxes.h"
#include "controls/win32/QorvelControlsCommon.h"
#include "controls/win32/QorvelImageListBoxes.h"
#include "controls/win32/QorvelNumEdits.h"
#include "controls/win32/QorvelOwnerDraw.h"
#include "controls/win32/HotkeyFields.h"
#include "controls/win32/QorvelTrackBars.h"
#include "gui/Application.h"
#include "gui/Dpi.h"
#include "gui/HotkeyRegistrations.h"
#include "settings/win32/AutostartEntries.h"

namespace {

constexpr int ComboHeight = 21;
constexpr int EditHeight = 21;
constexpr int CheckHeight = 17;
constexpr int LineHeight = 13;  // one more line of the dialog font
constexpr int TrackHeight = 40;
// The area the pages share, right of the navigation list.
constexpr RECT PageArea{152, 8, 152 + 249, 8 + 249};
// The sub-pages of the configurations page lie below its drop-down.
constexpr RECT SubPageArea{0, 28, 249, 28 + 217};

// A configuration as the settings tree makes it: the slide bars' "Reset" goes back to its
// values, not to the bars' minimum (an almost invisible ruler at 10 %).
std::unique_ptr<TConfigurationSettings> DefaultConfiguration() {
  return TQorvelSettings::Create<TConfigurationSettings>();
}

// The navigation row that opens `page`, the first when it has several.
int RowOfPage(int page) {
  for (std::size_t row = 0; row < SettingsNavigationRows.size(); ++row)
    if (SettingsNavigationRows[row].Page == page) return static_cast<int>(row);
  return 0;
}

}  // namespace

TSettingsPage::TSettingsPage(HWND parent, int left, int top, int width, int height) {
  TCreateParams params = TCreateParams::Child(parent, L"TVindleSettingsPage", WS_CHILD | WS_CLIPSIBLINGS,
                                              {left, top, left + width, top + height});
  params.Background = ::GetSysColorBrush(COLOR_BTNFACE);
  params.ExStyle = WS_EX_CONTROLPARENT;
  CreateHandle(params);
}

void TSettingsPage::SetShown(bool shown) { ::ShowWindow(Handle(), shown ? SW_SHOW : SW_HIDE); }

LRESULT TSettingsPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM:
      if (ReflectDrawItem(lParam)) return TRUE;
      break;
    case WM_COMMAND:
      if (lParam != 0 && HIWORD(wParam) == BN_CLICKED && OnButtonClick) {
        OnButtonClick(LOWORD(wParam));
        return 0;
      }
      break;
    default: break;
  }
  return DefaultHandler(message, wParam, lParam);
}

TSettingsForm::TSettingsForm(HWND owner, TApplicationSettings& settings, TSettingsFormEnvironment environment)
    : FSettings(settings),
      FEnvironment(std::move(environment)),
      FModel(FEnvironment.LocalInstallation, FEnvironment.TranslucencySupported),
      FImages(TImageList::ForDpi(L"SETTINGSIMAGES", 24, SystemDpi())) {
  TCreateParams params;
  params.ClassName = L"TVindleSettingsForm";
  params.Background = ::GetSysColorBrush(COLOR_BTNFACE);
  params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  params.Caption = L"Settings";
  params.Left = params.Top = 0;
  params.Width = params.Height = 100;
  // Owned by the ruler, so that the ruler can never cover it.
  params.Parent = owner;
  CreateHandle(params);
  FDpi = WindowDpi(Handle());

  RECT frame{0, 0, Scaled(ClientWidth), Scaled(ClientHeight)};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_EXSTYLE)));
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetBounds(work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2, width,
            height);

  auto navigation =
      std::make_unique<TQorvelImageListBox>(Handle(), Scaled(8), Scaled(8), Scaled(137), Scaled(249), Scaled(27));
  FControls.Navigation = navigation.get();
  navigation->SetImages(&FImages);
  for (const TSettingsNavigationRow& row : SettingsNavigationRows) navigation->AddRow(row.Caption, row.Icon);
  navigation->OnChange = [this](TQorvelImageListBox& list) { SelectRow(list.Selected()); };
  FOwnedControls.push_back(std::move(navigation));

  for (std::size_t i = 0; i < FControls.Pages.size(); ++i)
    FControls.Pages[i] =
        &AddPage(Handle(), PageArea.left, PageArea.top, PageArea.right - PageArea.left, PageArea.bottom - PageArea.top);
  BuildGeneralPage(FControls.Pages[SettingsPageGeneral]->Handle());
  BuildConfigurationsPage(FControls.Pages[SettingsPageConfigurations]->Handle());
  BuildMiscPage(FControls.Pages[SettingsPageMisc]->Handle());
  BuildHandlingPage(FControls.Pages[SettingsPageHandling]->Handle());
  BuildHotkeysPage(FControls.Pages[SettingsPageHotkeys]->Handle());
  BuildColorFormatsPage(FControls.Pages[SettingsPageColorFormats]->Handle());
  BuildMeasurePage(FControls.Pages[SettingsPageMeasure]->Handle());

  FControls.OkButton = AddButton(L"OK", IDOK, 232, true);
  FControls.CancelButton = AddButton(L"Cancel", IDCANCEL, 320, false);

  // The model's defaults until the settings are loaded, so that nothing shows half set.
  ShowValues();
  SelectRow(0);
  FFocus = FControls.Navigation->Handle();
  FDpiRelayout = std::make_unique<TDpiRelayout>(Handle(), FDpi);
}

TSettingsForm::~TSettingsForm() {
  // The control objects go first, while their windows still exist.
  FTrackBars.clear();
  FColorBoxes.clear();
  FHotkeyFields.clear();
  FFormatList.reset();
  FOwnedControls.clear();
  FPages.clear();
  DestroyHandle();
}

int TSettingsForm::Scaled(int value96) const { return ScaleForDpi(value96, FDpi); }

RECT TSettingsForm::ScaledBounds(int left, int top, int width, int height) const {
  // Each number scaled on its own, as the pages and boxes are placed.
  return {Scaled(left), Scaled(top), Scaled(left) + Scaled(width), Scaled(top) + Scaled(height)};
}

// ---- building --------------------------------------------------------------------------

TSettingsPage& TSettingsForm::AddPage(HWND parent, int left, int top, int width, int height) {
  FPages.push_back(std::make_unique<TSettingsPage>(parent, Scaled(left), Scaled(top), Scaled(width), Scaled(height)));
  return *FPages.back();
}

void TSettingsForm::AddGroup(HWND page, const wchar_t* caption, int left, int top, int width, int height) {
  CreateChildControl(page, L"BUTTON", caption, BS_GROUPBOX, ScaledBounds(left, top, width, height),
                     DefaultControlFont());
}

void TSettingsForm::AddLabel(HWND page, const wchar_t* caption, int left, int top, int width) {
  // Labels sit level with the text of the 21-pixel control to their right.
  CreateChildControl(page, L"STATIC", caption, 0, ScaledBounds(left, top + 3, width, 15), DefaultControlFont());
}

TQorvelCheckBox& TSettingsForm::AddCheckBox(HWND page, const std::wstring& caption, int left, int top, int width,
                                            int lines) {
  auto box = std::make_unique<TQorvelCheckBox>(page, caption, Scaled(left), Scaled(top), Scaled(width),
                                               Scaled(CheckHeight + (lines - 1) * LineHeight));
  box->SetFont(DefaultControlFont());
  // A caption longer than the page is wide wraps, with the box beside its first line.
  if (lines > 1)
    ::SetWindowLongW(box->Handle(), GWL_STYLE, ::GetWindowLongW(box->Handle(), GWL_STYLE) | BS_MULTILINE | BS_TOP);
  TQorvelCheckBox& result = *box;
  FOwnedControls.push_back(std::move(box));
  return result;
}

TQorvelComboBox& TSettingsForm::AddComboBox(HWND page, int left, int top, int width,
                                            std::initializer_list<const wchar_t*> items) {
  auto box = std::make_unique<TQorvelComboBox>(page, Scaled(left), Scaled(top), Scaled(width), Scaled(ComboHeight));
  box->AddItems(items);
  TQorvelComboBox& result = *box;
  FOwnedControls.push_back(std::move(box));
  return result;
}

TQorvelIntEdit& TSettingsForm::AddIntEdit(HWND page, int left, int top, int width, int min, int max,
                                          const wchar_t* caption) {
  auto edit = std::make_unique<TQorvelIntEdit>(page, Scaled(left), Scaled(top), Scaled(width), Scaled(EditHeight));
  edit->SetMaxValue(max);
  edit->SetMinValue(min);
  if (caption) {
    edit->SetCaption(caption);
    edit->SetCaptionAlignment(pcaRight);
  }
  TQorvelIntEdit& result = *edit;
  FOwnedControls.push_back(std::move(edit));
  return result;
}

TQorvelTrackBar& TSettingsForm::AddTrackBar(HWND page, int left, int top, int width, const wchar_t* label, int min,
                                            int max) {
  auto bar = std::make_unique<TQorvelTrackBar>(page, Scaled(left), Scaled(top), Scaled(width), Scaled(TrackHeight));
  bar->SetLabelCaption(label);
  bar->SetMax(max);
  bar->SetMin(min);
  TQorvelTrackBar& result = *bar;
  FTrackBars.push_back(std::move(bar));
  return result;
}

TQorvelColorBox& TSettingsForm::AddColorBox(HWND page, const wchar_t* caption, int left, int top) {
  auto box = std::make_unique<TQorvelColorBox>(page, Scaled(left), Scaled(top), Scaled(225),
                                               Scaled(TQorvelColorBox::DefaultHeight));
  box->SetCaption(caption);
  box->SetFont(DefaultControlFont());
  TQorvelColorBox& result = *box;
  FColorBoxes.push_back(std::move(box));
  return result;
}

HWND TSettingsForm::AddButton(const wchar_t* caption, int id, int left, bool isDefault) {
  return CreateChildControl(Handle(), L"BUTTON", caption, WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                            ScaledBounds(left, 264, 81, 25), DefaultControlFont(), id);
}

void TSettingsForm::BuildGeneralPage(HWND page) {
  TControls& c = FControls;
  // The portable copy's longer autostart caption takes two lines; the rest moves down.
  const int autostartLines = FEnvironment.LocalInstallation ? 1 : 2;
  const int y = (autostartLines - 1) * LineHeight;
  AddGroup(page, L"Startup", 0, 0, 249, 108 + y);
  c.Autostart = &AddCheckBox(page, L"&" + FModel.AutostartCaption(), 12, 20, 229, autostartLines);
  c.ShowRuler = &AddCheckBox(page, L"Show &ruler on startup", 12, 41 + y, 229);
  c.ShowColorPicker = &AddCheckBox(page, L"Show color &picker on startup", 12, 62 + y, 229);
  c.ShowCursorCoordinates = &AddCheckBox(page, L"Show &cursor coordinates on startup", 12, 83 + y, 229);
  AddGroup(page, L"Ruler", 0, 116 + y, 249, 66);
  c.StayOnTop = &AddCheckBox(page, L"Stay on &top", 12, 136 + y, 229);
  c.SnapToDesktop = &AddCheckBox(page, L"S&nap to desktop", 12, 157 + y, 229);
}

void TSettingsForm::BuildConfigurationsPage(HWND page) {
  TControls& c = FControls;
  c.Configuration = &AddComboBox(page, 0, 0, 249, {L"Configuration 1", L"Configuration 2", L"Configuration 3"});
  c.Configuration->OnChange = [this](TQorvelComboBox& box) {
    ReadControls();
    FModel.SwitchConfiguration(box.ItemIndex());
    ShowValues();
  };
  for (std::size_t i = 0; i < c.SubPages.size(); ++i)
    c.SubPages[i] = &AddPage(page, SubPageArea.left, SubPageArea.top, SubPageArea.right - SubPageArea.left,
                             SubPageArea.bottom - SubPageArea.top);
  BuildConfigurationSubPage(c.SubPages[0]->Handle());
  BuildColorsSubPage(c.SubPages[1]->Handle());
  BuildMagnifierSubPage(c.SubPages[2]->Handle());
}

void TSettingsForm::BuildConfigurationSubPage(HWND page) {
  TControls& c = FControls;
  AddGroup(page, L"Configuration", 0, 0, 249, 104);
  AddLabel(page, L"&Name", 12, 20, 76);
  c.Name = CreateChildControl(page, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, ScaledBounds(90, 20, 147, EditHeight),
                              DefaultControlFont(), 0, WS_EX_CLIENTEDGE);
  ::SendMessageW(c.Name, EM_LIMITTEXT, TConfigurationSettings::NameLength, 0);
  AddLabel(page, L"&Width", 12, 46, 76);
  c.Width = &AddIntEdit(page, 90, 46, 60, TRulerSettings::MinWidth, TRulerSettings::MaxWidth, nullptr);
  AddLabel(page, L"&Label", 12, 72, 76);
  c.Labeling = &AddComboBox(page, 90, 72, 147, {L"no label", L"ruler coorinate", L"screen coordinate"});

  AddGroup(page, L"Scale", 0, 112, 249, 105);
  AddLabel(page, L"&Unit", 12, 132, 76);
  c.Unit = &AddComboBox(page, 90, 132, 147, {L"none", L"pixel", L"point", L"inch", L"centimeteter"});
  c.Unit->OnChange = [this](TQorvelComboBox& box) {
    ReadControls();
    const int unit = box.ItemIndex();
    if (unit >= 0) FModel.ChangeUnit(unit);
    ShowValues();
  };
  AddLabel(page, L"&Granularity", 12, 158, 76);
  c.Granularity = &AddComboBox(page, 90, 158, 147, {L"coarse", L"medium", L"fine"});
  c.Digits = &AddCheckBox(page, L"Show &digits", 12, 188, 110);
  c.Antialiasing = &AddCheckBox(page, L"Anti&aliasing", 127, 188, 110);
}

void TSettingsForm::BuildColorsSubPage(HWND page) {
  TControls& c = FControls;
  AddGroup(page, L"Colors", 0, 0, 249, 80);
  c.Background = &AddColorBox(page, L"&Background", 12, 18);
  c.CursorLine = &AddColorBox(page, L"&Cursor line", 12, 47);
  AddGroup(page, L"Transparency", 0, 88, 249, 100);
  c.Transparent = &AddCheckBox(page, L"&Transparent (requires Windows 2000 / XP)", 12, 108, 229, 2);
  c.Transparent->OnClick = [this](TQorvelCheckBox&) {
    ReadControls();
    ShowEnabling();
  };
  c.Opacity = &AddTrackBar(page, 12, 140, 225, L"&Opacity: <pos>%", TRulerSettings::MinOpacity,
                           TRulerSettings::MaxOpacity);
  c.Opacity->SetSmallChange(5);
  c.Opacity->SetDefaultPosition(DefaultConfiguration()->Ruler->Opacity);
}

void TSettingsForm::BuildMagnifierSubPage(HWND page) {
  TControls& c = FControls;
  AddGroup(page, L"Magnifier", 0, 0, 249, 182);
  c.MagnifierVisible = &AddCheckBox(page, L"&Visible", 12, 20, 229);
  c.MagnifierVisible->OnClick = [this](TQorvelCheckBox&) {
    ReadControls();
    ShowEnabling();
  };
  c.Zoom = &AddTrackBar(page, 12, 42, 225, L"&Zoom: <pos>%", TMagnifierSettings::MinZoom,
                        TMagnifierSettings::MaxZoom);
  c.Zoom->SetLabelMode(plmShl);
  c.Zoom->SetLabelParam(2);
  c.Zoom->SetDefaultPosition(DefaultConfiguration()->Magnifier->Zoom);
  AddLabel(page, L"&Crosshairs", 12, 92, 76);
  c.CrossHairs =
      &AddComboBox(page, 90, 92, 147, {L"no crosshairs", L"open cross", L"continuous cross", L"small cross"});
  AddLabel(page, L"&Horizontal", 12, 118, 76);
  c.HorizontalAlignment = &AddComboBox(page, 90, 118, 147, {L"beginning", L"end", L"left", L"right"});
  AddLabel(page, L"V&ertical", 12, 144, 76);
  c.VerticalAlignment = &AddComboBox(page, 90, 144, 147, {L"beginning", L"end", L"top", L"bottom"});
}

void TSettingsForm::BuildMiscPage(HWND page) {
  TControls& c = FControls;
  AddGroup(page, L"Pixels per inch", 0, 0, 249, 108);
  auto system = std::make_unique<TQorvelCheckBox>(page, L"use &system settings", Scaled(12), Scaled(20), Scaled(229),
                                                  Scaled(CheckHeight), TQorvelCheckKind::OptionButton, true);
  auto user = std::make_unique<TQorvelCheckBox>(page, L"&user defined value", Scaled(12), Scaled(42), Scaled(229),
                                                Scaled(CheckHeight), TQorvelCheckKind::OptionButton, false);
  auto measured =
      std::make_unique<TQorvelCheckBox>(page, L"measured for each m&onitor", Scaled(12), Scaled(86), Scaled(229),
                                        Scaled(CheckHeight), TQorvelCheckKind::OptionButton, false);
  system->SetFont(DefaultControlFont());
  user->SetFont(DefaultControlFont());
  measured->SetFont(DefaultControlFont());
  c.SystemDpi = system.get();
  c.UserDefinedDpi = user.get();
  c.MeasuredDpi = measured.get();
  FOwnedControls.push_back(std::move(system));
  FOwnedControls.push_back(std::move(user));
  FOwnedControls.push_back(std::move(measured));
  for (TQorvelCheckBox* option : {c.SystemDpi, c.UserDefinedDpi, c.MeasuredDpi})
    option->OnClick = [this](TQorvelCheckBox&) {
      ReadControls();
      ShowEnabling();
    };
  c.PixelsPerInch = &AddIntEdit(page, 30, 64, 70, TParameterSettings::MinPixelsPerInch,
                                   TParameterSettings::MaxPixelsPerInch, L"dpi");
  // Calibrating drags the ruler, which the dialog would keep disabled: the button ends the
  // dialog as OK does, and the ruler's calibration window follows.
  constexpr int CalibrateId = 200;
  c.Calibrate = CreateChildControl(page, L"BUTTON", L"Ca&librate...", WS_TABSTOP | WS_GROUP,
                                   ScaledBounds(166, 61, 75, 23), DefaultControlFont(), CalibrateId);
  FControls.Pages[SettingsPageMisc]->OnButtonClick = [this](int id) {
    if (id != CalibrateId) return;
    FCalibrateRequested = true;
    SetModalResult(TModalResult::Ok);
  };

  AddGroup(page, L"Preset lengths", 0, 112, 249, 137);
  // Created column by column: Tab goes down the horizontal lengths, then the vertical ones,
  // and each label's access key leads to the first field of its column.
  AddLabel(page, L"&Horizontal", 12, 128, 60);
  for (int i = 0; i < TPresetsSettings::PresetCount; ++i)
    c.HorizontalPresets[static_cast<std::size_t>(i)] = &AddIntEdit(page, 72, 128 + i * 23, 58, TPresetSettings::MinLength,
                                                                   TPresetSettings::MaxLength, L"px");
  AddLabel(page, L"&Vertical", 136, 128, 46);
  for (int i = 0; i < TPresetsSettings::PresetCount; ++i)
    c.VerticalPresets[static_cast<std::size_t>(i)] = &AddIntEdit(page, 182, 128 + i * 23, 58, TPresetSettings::MinLength,
                                                                 TPresetSettings::MaxLength, L"px");
}

void TSettingsForm::BuildHandlingPage(HWND page) {
  TControls& c = FControls;
  AddGroup(page, L"Handling", 0, 0, 249, 84);
  AddLabel(page, L"&Double click", 12, 20, 80);
  c.DoubleClickAction = &AddComboBox(page, 96, 20, 141, {});
  // The same icons as the menu commands these actions run; "Hide" starts the group of
  // actions that take the ruler away.
  c.DoubleClickAction->SetImages(FEnvironment.MenuImages);
  c.DoubleClickAction->AddItem({L"Rotate", 4});
  c.DoubleClickAction->AddItem({L"Flip", 2});
  c.DoubleClickAction->AddItem({L"Turn", 3});
  c.DoubleClickAction->AddItem({L"Hide", 5, true});
  c.DoubleClickAction->AddItem({L"Exit", 7});
  AddLabel(page, L"S&nap to axis", 12, 50, 80);
  c.SnapToAxis = &AddComboBox(page, 96, 50, 141, {L"disabled", L"with shift key", L"with ctrl key", L"with alt key"});

  AddGroup(page, L"Buttons", 0, 92, 249, 104);
  static constexpr const wchar_t* Captions[] = {L"&Hide",        L"&Rotate",      L"&Flip",     L"&Turn",
                                                L"&Stay on top", L"Tr&ansparent", L"&Magnifier"};
  for (std::size_t i = 0; i < c.Buttons.size(); ++i) {
    const bool left = i < 4;
    const int row = static_cast<int>(left ? i : i - 4);
    c.Buttons[i] = &AddCheckBox(page, Captions[i], left ? 12 : 130, 112 + row * 20, 110);
  }
}

void TSettingsForm::BuildHotkeysPage(HWND page) {
  TControls& c = FControls;
  AddGroup(page, L"Hotkeys, from any program", 0, 0, 249, 249);
  for (std::size_t i = 0; i < HotkeyActions.size(); ++i) {
    const int top = 18 + static_cast<int>(i) * 57;
    // The label comes right before its field, which screen readers take as the field's name.
    AddLabel(page, HotkeyActions[i].Caption, 12, top - 3, 225);
    FHotkeyFields.push_back(std::make_unique<THotkeyField>(page, ScaledBounds(12, top + 16, 158, EditHeight),
                                                           ScaledBounds(176, top + 16, 61, 22), DefaultControlFont()));
    c.Hotkeys[i] = FHotkeyFields.back().get();
    c.Hotkeys[i]->OnChange = [this] { ShowHotkeyStatus(); };
    c.HotkeyStatus[i] =
        CreateChildControl(page, L"STATIC", L"", 0, ScaledBounds(12, top + 39, 225, 15), DefaultControlFont());
  }
}

void TSettingsForm::BuildColorFormatsPage(HWND page) {
  TControls& c = FControls;
  AddGroup(page, L"Formats", 0, 0, 249, 249);
  AddLabel(page, L"&Default format:", 12, 18, 88);
  c.DefaultFormat = &AddComboBox(page, 102, 18, 135, {});
  for (const TColorFormatInfo& info : ColorFormatInfos) c.DefaultFormat->AddItem({Widen(std::string(info.Name))});
  AddLabel(page, L"Copy &as offers, in this order:", 12, 44, 225);
  FFormatList = std::make_unique<TColorFormatList>(page, ScaledBounds(12, 64, 140, 118), ScaledBounds(158, 64, 79, 23),
                                                   ScaledBounds(158, 91, 79, 23), DefaultControlFont());
  c.Formats = FFormatList.get();
  AddLabel(page, L"&Template:", 12, 190, 62);
  c.Template = CreateChildControl(page, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL,
                                  ScaledBounds(76, 190, 161, EditHeight), DefaultControlFont(), 0, WS_EX_CLIENTEDGE);
  AddLabel(page, L"Sa&mple:", 12, 218, 62);
  c.SampleSize = &AddComboBox(page, 76, 218, 161, {L"1 pixel", L"3 x 3 pixels, median", L"5 x 5 pixels, median"});
}

void TSettingsForm::BuildMeasurePage(HWND page) {
  TControls& c = FControls;
  AddGroup(page, L"Measure", 0, 0, 249, 146);
  AddLabel(page, L"&Start in", 12, 20, 76);
  c.MeasureMode = &AddComboBox(page, 90, 20, 147, {L"spacing", L"bounds", L"distance and angle"});
  AddLabel(page, L"&Tolerance", 12, 47, 76);
  c.Tolerance = &AddIntEdit(page, 90, 47, 58, 0, TMeasureSettings::MaxTolerance, L"of 255");
  c.ContinuousEdges = &AddCheckBox(page, L"&Continuous edges, for gradients", 12, 74, 229);
  AddLabel(page, L"&Ignore up to", 12, 96, 76);
  c.IgnoreNarrow = &AddIntEdit(page, 90, 96, 58, 0, TMeasureSettings::MaxIgnoreNarrow, L"px");
  c.SnapBounds = &AddCheckBox(page, L"S&nap rectangles to their content", 12, 122, 229);
  AddGroup(page, L"Colors", 0, 152, 249, 97);
  c.MeasureLine = &AddColorBox(page, L"&Lines", 12, 168);
  c.LabelText = &AddColorBox(page, L"Label te&xt", 12, 195);
  c.LabelBackground = &AddColorBox(page, L"Label &background", 12, 222);
}

// ---- values ----------------------------------------------------------------------------

namespace {

// A drop-down without a selection (a stored value it has no item for) keeps the value.
void ReadItem(const TQorvelComboBox& box, int& value) {
  if (const int index = box.ItemIndex(); index >= 0) value = index;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

void TSettingsForm::ReadControls() {
  const TControls& c = FControls;
  TSettingsFormValues& v = FModel.Values;
  v.Autostart = c.Autostart->Checked();
  v.ShowRuler = c.ShowRuler->Checked();
  v.ShowColorPicker = c.ShowColorPicker->Checked();
  v.ShowCursorCoordinates = c.ShowCursorCoordinates->Checked();
  v.StayOnTop = c.StayOnTop->Checked();
  v.SnapToDesktop = c.SnapToDesktop->Checked();
  ReadItem(*c.Configuration, v.Configuration);

  TConfigurationValues& e = v.Edited;
  e.Name = Narrow(WindowText(c.Name));
  e.Width = c.Width->Value();
  ReadItem(*c.Labeling, e.Labeling);
  ReadItem(*c.Unit, e.Unit);
  ReadItem(*c.Granularity, e.Granularity);
  e.Digits = c.Digits->Checked();
  e.Antialiasing = c.Antialiasing->Checked();
  e.Background = c.Background->Color();
  e.CursorLine = c.CursorLine->Color();
  e.Transparent = c.Transparent->Checked();
  e.Opacity = c.Opacity->Position();
  e.MagnifierVisible = c.MagnifierVisible->Checked();
  e.Zoom = c.Zoom->Position();
  ReadItem(*c.CrossHairs, e.CrossHairs);
  ReadItem(*c.HorizontalAlignment, e.HorizontalAlignment);
  ReadItem(*c.VerticalAlignment, e.VerticalAlignment);

  ReadItem(*c.DoubleClickAction, v.DoubleClickAction);
  ReadItem(*c.SnapToAxis, v.SnapToAxis);
  for (std::size_t i = 0; i < v.Buttons.size(); ++i) v.Buttons[i] = c.Buttons[i]->Checked();

  v.UserDefinedDpi = c.UserDefinedDpi->Checked();
  v.MeasuredDpi = c.MeasuredDpi->Checked();
  v.PixelsPerInch = c.PixelsPerInch->Value();
  ReadItem(*c.MeasureMode, v.MeasureMode);
  v.Tolerance = c.Tolerance->Value();
  v.ContinuousEdges = c.ContinuousEdges->Checked();
  v.IgnoreNarrow = c.IgnoreNarrow->Value();
  v.SnapBounds = c.SnapBounds->Checked();
  v.MeasureLine = c.MeasureLine->Color();
  v.LabelText = c.LabelText->Color();
  v.LabelBackground = c.LabelBackground->Color();
  for (std::size_t i = 0; i < v.HorizontalPresets.size(); ++i) {
    v.HorizontalPresets[i] = c.HorizontalPresets[i]->Value();
    v.VerticalPresets[i] = c.VerticalPresets[i]->Value();
  }
}

void TSettingsForm::ShowValues() {
  const TControls& c = FControls;
  const TSettingsFormValues& v = FModel.Values;
  c.Autostart->SetChecked(v.Autostart);
  c.ShowRuler->SetChecked(v.ShowRuler);
  c.ShowColorPicker->SetChecked(v.ShowColorPicker);
  c.ShowCursorCoordinates->SetChecked(v.ShowCursorCoordinates);
  c.StayOnTop->SetChecked(v.StayOnTop);
  c.SnapToDesktop->SetChecked(v.SnapToDesktop);
  c.Configuration->SetItemIndex(v.Configuration);

  const TConfigurationValues& e = v.Edited;
  ::SetWindowTextW(c.Name, Widen(e.Name).c_str());
  c.Width->SetValue(e.Width);
  c.Labeling->SetItemIndex(e.Labeling);
  c.Unit->SetItemIndex(e.Unit);
  c.Granularity->SetItemIndex(e.Granularity);
  c.Digits->SetChecked(e.Digits);
  c.Antialiasing->SetChecked(e.Antialiasing);
  c.Background->SetColor(e.Background);
  c.CursorLine->SetColor(e.CursorLine);
  c.Transparent->SetChecked(e.Transparent);
  c.Opacity->SetPosition(e.Opacity);
  c.MagnifierVisible->SetChecked(e.MagnifierVisible);
  c.Zoom->SetPosition(e.Zoom);
  c.CrossHairs->SetItemIndex(e.CrossHairs);
  c.HorizontalAlignment->SetItemIndex(e.HorizontalAlignment);
  c.VerticalAlignment->SetItemIndex(e.VerticalAlignment);

  c.DoubleClickAction->SetItemIndex(v.DoubleClickAction);
  c.SnapToAxis->SetItemIndex(v.SnapToAxis);
  for (std::size_t i = 0; i < v.Buttons.size(); ++i) c.Buttons[i]->SetChecked(v.Buttons[i]);

  c.MeasuredDpi->SetChecked(v.MeasuredDpi);
  c.SystemDpi->SetChecked(!v.UserDefinedDpi && !v.MeasuredDpi);
  c.UserDefinedDpi->SetChecked(v.UserDefinedDpi && !v.MeasuredDpi);
  c.PixelsPerInch->SetValue(v.PixelsPerInch);
  c.MeasureMode->SetItemIndex(v.MeasureMode);
  c.Tolerance->SetValue(v.Tolerance);
  c.ContinuousEdges->SetChecked(v.ContinuousEdges);
  c.IgnoreNarrow->SetValue(v.IgnoreNarrow);
  c.SnapBounds->SetChecked(v.SnapBounds);
  c.MeasureLine->SetColor(v.MeasureLine);
  c.LabelText->SetColor(v.LabelText);
  c.LabelBackground->SetColor(v.LabelBackground);
  for (std::size_t i = 0; i < v.HorizontalPresets.size(); ++i) {
    c.HorizontalPresets[i]->SetValue(v.HorizontalPresets[i]);
    c.VerticalPresets[i]->SetValue(v.VerticalPresets[i]);
  }
  ShowEnabling();
}

bool TSettingsForm::HotkeyChosenAbove(std::size_t field) const {
  const THotkey hotkey = FControls.Hotkeys[field]->Hotkey();
  for (std::size_t above = 0; above < field; ++above)
    if (!hotkey.Empty() && FControls.Hotkeys[above]->Hotkey() == hotkey) return true;
  return false;
}

bool TSettingsForm::RefuseRepeatedHotkey() {
  for (std::size_t i = 0; i < FControls.Hotkeys.size(); ++i) {
    if (!HotkeyChosenAbove(i)) continue;
    // One chord starts one action: show the field whose status line says why OK waits.
    SelectRow(RowOfPage(SettingsPageHotkeys));
    ShowHotkeyStatus();
    FFocus = FControls.Hotkeys[i]->FieldHandle();
    ::SetFocus(FFocus);
    ::MessageBeep(MB_ICONWARNING);
    return true;
  }
  return false;
}

void TSettingsForm::ShowHotkeyStatus() {
  const TControls& c = FControls;
  for (std::size_t i = 0; i < c.Hotkeys.size(); ++i) {
    const THotkey hotkey = c.Hotkeys[i]->Hotkey();
    // While the dialog is open the program holds none of its chords, so a refusal is another program's.
    const wchar_t* status = HotkeyChosenAbove(i)                 ? L"Already chosen above"
                            : !HotkeyAvailable(Handle(), hotkey) ? L"In use by another program"
                                                                 : L"";
    ::SetWindowTextW(c.HotkeyStatus[i], status);
  }
}

void TSettingsForm::ShowColorFormats() {
  const TControls& c = FControls;
  const TColorSettings& colors = *FSettings.Colors;
  c.DefaultFormat->SetItemIndex(static_cast<int>(DefaultColorFormat(colors)));
  c.Formats->SetChoices(ColorFormatChoices(colors));
  ::SetWindowTextW(c.Template, Widen(colors.Template).c_str());
  c.SampleSize->SetItemIndex(SampleSize(colors) / 2);
}

void TSettingsForm::StoreColorFormats() {
  const TControls& c = FControls;
  TColorSettings& colors = *FSettings.Colors;
  if (const int index = c.DefaultFormat->ItemIndex(); index >= 0 && index < ColorFormatCount)
    colors.DefaultFormat = ColorFormatInfos[static_cast<std::size_t>(index)].Identifier;
  colors.Formats = EnabledFormatIdentifiers(c.Formats->Choices());
  colors.Template = Narrow(WindowText(c.Template));
  if (const int index = c.SampleSize->ItemIndex(); index >= 0) colors.SampleSize = 2 * index + 1;
}

void TSettingsForm::ShowEnabling() {
  const TControls& c = FControls;
  const TSettingsFormEnabling enabling = FModel.Enabling();
  c.Autostart->SetEnabled(enabling.Autostart);
  c.Granularity->SetEnabled(enabling.Granularity);
  c.Digits->SetEnabled(enabling.Digits);
  c.Antialiasing->SetEnabled(enabling.Antialiasing);
  c.Transparent->SetEnabled(enabling.Transparent);
  c.Opacity->SetEnabled(enabling.Opacity);
  c.Zoom->SetEnabled(enabling.Zoom);
  c.CrossHairs->SetEnabled(enabling.CrossHairs);
  c.PixelsPerInch->SetEnabled(enabling.PixelsPerInch);
}

void TSettingsForm::LoadFromSettings() {
  FModel.LoadFromSettings(FSettings, [] { return QueryAutostart(AutostartValueName); });
  ShowValues();
  for (std::size_t i = 0; i < FControls.Hotkeys.size(); ++i)
    FControls.Hotkeys[i]->SetHotkey(FSettings.Hotkeys->Hotkey(HotkeyActions[i].Action));
  ShowHotkeyStatus();
  ShowColorFormats();
}

void TSettingsForm::SelectRow(int row) {
  if (row < 0 || row >= static_cast<int>(SettingsNavigationRows.size())) return;
  const TSettingsNavigationRow& target = SettingsNavigationRows[static_cast<std::size_t>(row)];
  FControls.Navigation->Select(row);
  // Show the new page before hiding the old one, so that nothing flickers through.
  if (target.SubPage >= 0) {
    for (std::size_t i = 0; i < FControls.SubPages.size(); ++i)
      if (static_cast<int>(i) == target.SubPage) FControls.SubPages[i]->SetShown(true);
    for (std::size_t i = 0; i < FControls.SubPages.size(); ++i)
      if (static_cast<int>(i) != target.SubPage) FControls.SubPages[i]->SetShown(false);
  }
  FControls.Pages[static_cast<std::size_t>(target.Page)]->SetShown(true);
  for (std::size_t i = 0; i < FControls.Pages.size(); ++i)
    if (static_cast<int>(i) != target.Page) FControls.Pages[i]->SetShown(false);
  FShownPage = target.Page;
  FShownSubPage = target.SubPage;
}

bool TSettingsForm::StoreToSettings() {
  ReadControls();
  // Only what the user changed: a chord the field cannot show (with Win) or a text that was
  // not a chord stays in the file as it was.
  for (std::size_t i = 0; i < FControls.Hotkeys.size(); ++i)
    if (FControls.Hotkeys[i]->ChangedByUser())
      FSettings.Hotkeys->Text(HotkeyActions[i].Action) = FormatHotkey(FControls.Hotkeys[i]->Hotkey());
  StoreColorFormats();
  const std::wstring path = FEnvironment.ProgramPath;
  const bool stored = FModel.StoreToSettings(
      FSettings, [&path](bool enable) { return UpdateAutostart(AutostartValueName, path, enable); });
  if (stored && FEnvironment.LocalInstallation) RefreshAutostart(AutostartValueName, path);
  if (!stored) {
    FControls.Autostart->SetChecked(FModel.AutostartAtLoad());
    ::MessageBoxW(nullptr,
                  L"Autostart option could not be set. Probably you need more privileges to change this option or "
                  L"changes are disallowed by some other reason.",
                  L"Error setting autostart options", MB_OK | MB_ICONERROR);
  }
  return stored;
}

// ---- window ----------------------------------------------------------------------------

void TSettingsForm::DoShow() {
  if (FFocus) ::SetFocus(FFocus);
}

LRESULT TSettingsForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM:
      if (ReflectDrawItem(lParam)) return TRUE;
      break;
    case DM_GETDEFID: return MAKELRESULT(IDOK, DC_HASDEFID);
    case DpiChangedMessage:
      if (!FDpiRelayout) break;
      FDpi = FDpiRelayout->DpiChanged(wParam, lParam);
      return 0;
    case WM_COMMAND:
      if (lParam == 0 || reinterpret_cast<HWND>(lParam) == FControls.OkButton ||
          reinterpret_cast<HWND>(lParam) == FControls.CancelButton) {
        if (LOWORD(wParam) == IDOK) {
          if (!RefuseRepeatedHotkey()) SetModalResult(TModalResult::Ok);
          return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
          SetModalResult(TModalResult::Cancel);
          return 0;
        }
      }
      break;
    case WM_ACTIVATE: KeepFocusOverActivation(wParam, FFocus); return 0;
    default: break;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}
