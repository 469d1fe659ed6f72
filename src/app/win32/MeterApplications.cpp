#include "app/win32/MeterApplications.h"

#include "about/win32/QorvelAboutDialogs.h"
#include "base/ScopeExit.h"
#include "color/ColorPreferences.h"
#include "color/win32/ColorTools.h"
#include "gui/Application.h"
#include "gui/Clipboard.h"
#include "install/win32/ApplicationInstallations.h"
#include "ruler/win32/QorvelFormBlendings.h"
#include "settings/win32/SettingsForms.h"

namespace {

// WM_HOTKEY's id is this plus the action's number.
constexpr int HotkeyIdBase = 1;

// A menu fades out after the choice: the measure tool's snapshot waits for it to be gone.
constexpr UINT MenuFadeDelay = 250;

}  // namespace

TMeterApplication::TMeterApplication(std::wstring title, TMeterEnvironment environment)
    : TQorvelFormTrayApplication(std::move(title)),
      FEnvironment(std::move(environment)),
      FMeasureTool(*FEnvironment.Settings) {
  // The colour boxes and dialogs read the formats and keep their picks in these settings.
  SetColorToolSettings(FEnvironment.Settings);
}

TMeterApplication::~TMeterApplication() { SetColorToolSettings(nullptr); }

std::unique_ptr<TPopupMenu> TMeterApplication::CreateTrayMenu() {
  auto menu = std::make_unique<TPopupMenu>();
  menu->SetImages(FEnvironment.MenuImages);
  menu->OnPopup = [this] { UpdateTrayMenu(); };
  return menu;
}

std::unique_ptr<TForm> TMeterApplication::CreateMainForm() {
  auto ruler = std::make_unique<TMainForm>(*FEnvironment.Settings);
  ruler->SetMenuImages(FEnvironment.MenuImages);
  ruler->OnShowSettingsDialog = [this](int row) { ShowSettingsDialog(row); };
  ruler->OnExitRequest = [this] { Terminate(); };
  ruler->OnMeasureRequest = [this] { ToggleMeasureTool(MenuFadeDelay); };
  return ruler;
}

bool TMeterApplication::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY) {
    const int action = static_cast<int>(wParam) - HotkeyIdBase;
    if (action >= 0 && action < HotkeyActionCount) HotkeyPressed(static_cast<THotkeyAction>(action));
    return true;
  }
  return TQorvelFormTrayApplication::HandleMessage(message, wParam, lParam);
}

void TMeterApplication::Initialize() {
  TGuiApplication::Instance().SetHintPause(1500);
  TQorvelFormTrayApplication::Initialize();
  FillTrayMenu();
}

void TMeterApplication::FillTrayMenu() {
  TPopupMenu& menu = *TrayMenu();
  FRulerItem = &menu.Add(L"&Show ruler", 0, [this](TMenuItem&) { ToggleRuler(); });
  FRulerItem->Default = true;
  FColorPickerItem = &menu.Add(L"&Show color picker", 1, [this](TMenuItem&) { ToggleColorForm(); });
  FCursorItem = &menu.Add(L"&Show cursor coordinates", 6, [this](TMenuItem&) { ToggleCursorForm(); });
  FMeasureItem = &menu.Add(L"&Measure", 8, [this](TMenuItem&) { ToggleMeasureTool(MenuFadeDelay); });
  menu.AddSubmenu(L"&Recent colors");
  FRecentColorsItem = &menu.Item(menu.Count() - 1);
  menu.AddSeparator();
  FAboutItem = &menu.Add(L"&About...", -1, [this](TMenuItem&) { ShowAbout(); });
  menu.AddSeparator();
  if (!FEnvironment.Settings->ReadOnly)
    FSettingsItem = &menu.Add(L"&Settings...", -1, [this](TMenuItem&) { ShowSettingsDialog(0); });
  for (int i = 0; i < 3; ++i) {
    TMenuItem& item = menu.Add(L"", -1, [this](TMenuItem& chosen) {
      Ruler()->SelectConfiguration(chosen.Tag);
      ShowMainForm();
    });
    item.Tag = i;
    FConfigItems[static_cast<std::size_t>(i)] = &item;
  }
  menu.AddSeparator();
  menu.Add(L"E&xit", 7, [this](TMenuItem&) { Terminate(); });
}

void TMeterApplication::UpdateTrayMenu() {
  const THotkeySettings& hotkeys = *FEnvironment.Settings->Hotkeys;
  FRulerItem->Caption =
      CaptionWithHotkey(Ruler()->Visible() ? L"&Hide ruler" : L"&Show ruler", hotkeys.Hotkey(THotkeyAction::ShowRuler));
  FMeasureItem->Caption = CaptionWithHotkey(L"&Measure", hotkeys.Hotkey(THotkeyAction::Measure));
  FColorPickerItem->Caption = FColorForm && FColorForm->Visible() ? L"&Hide color picker" : L"&Show color picker";
  FCursorItem->Caption = CaptionWithHotkey(
      FCursorForm && FCursorForm->Visible() ? L"&Hide cursor coordinates" : L"&Show cursor coordinates",
      hotkeys.Hotkey(THotkeyAction::CursorCoordinates));
  FillRecentColorsMenu();
  const bool noModal = !ModalFormActive();
  FAboutItem->Enabled = noModal;
  if (FSettingsItem) FSettingsItem->Enabled = noModal;
  const TApplicationSettings& settings = *FEnvironment.Settings;
  for (int i = 0; i < 3; ++i) {
    TMenuItem& item = *FConfigItems[static_cast<std::size_t>(i)];
    const std::string& name = settings.Configurations(i)->Name;
    item.Caption = name.empty() ? L"Configuration &" + std::to_wstring(i + 1) : Widen(name);
    item.Checked = i == settings.General->Configuration;
  }
}

void TMeterApplication::FillRecentColorsMenu() {
  TPopupMenu& submenu = *FRecentColorsItem->Submenu;
  submenu.Clear();
  TColorSettings& colors = *FEnvironment.Settings->Colors;
  const std::vector<TColor> recent = RecentColors(colors);
  FRecentColorsItem->Enabled = !recent.empty();
  for (const TColor color : recent) {
    TMenuItem& item = submenu.Add(ColorToolText(color, DefaultColorFormat(colors)), -1, [this, color](TMenuItem&) {
      CopyColorText(WindowHandle(), color, DefaultColorFormat(*FEnvironment.Settings->Colors));
    });
    item.Swatch = color;
  }
  submenu.AddSeparator();
  submenu.Add(L"C&lear", -1, [this](TMenuItem&) { SetRecentColors(*FEnvironment.Settings->Colors, {}); });
}

void TMeterApplication::Started() {
  TQorvelFormTrayApplication::Started();
  if (FEnvironment.Settings->Startup->ShowRuler) ShowMainForm();
  FColorForm = std::make_unique<TColorForm>(*FEnvironment.Settings);
  if (FEnvironment.Settings->Startup->ShowColorPicker) FColorForm->Show();
  FCursorForm = std::make_unique<TCursorForm>(*FEnvironment.Settings);
  if (FEnvironment.Settings->Startup->ShowCursorCoordinates) FCursorForm->Show();
  FHotkeys = std::make_unique<THotkeyRegistrations>(WindowHandle());
  NotifyAtStart(RegisterHotkeys());
}

// One notification at most: a second would replace the first before it was read.
void TMeterApplication::NotifyAtStart(const std::vector<THotkeyAction>& refusedHotkeys) {
  std::wstring text;
  // Installed copies only: a build started from its folder is a developer's.
  const TInstallationMode mode = ApplicationInstallation().Mode();
  if ((mode == imLocalApp || mode == imPortableApp) && !FEnvironment.Settings->Startup->TrayNoticeShown) {
    text = L"Vindle is running in the notification area. Right-click its icon for the menu.";
    FEnvironment.Settings->Startup->TrayNoticeShown = true;
  }
  if (!refusedHotkeys.empty()) {
    std::vector<std::pair<THotkeyAction, THotkey>> refused;
    refused.reserve(refusedHotkeys.size());
    for (const THotkeyAction action : refusedHotkeys)
      refused.emplace_back(action, FEnvironment.Settings->Hotkeys->Hotkey(action));
    text += (text.empty() ? L"" : L"\n") + HotkeysInUseNotice(refused);
  }
  if (!text.empty()) Notify(Title(), text);
}

std::vector<THotkeyAction> TMeterApplication::RegisterHotkeys() {
  std::vector<THotkeyAction> refused;
  if (!FHotkeys) return refused;
  FHotkeys->Clear();
  for (int i = 0; i < HotkeyActionCount; ++i) {
    const auto action = static_cast<THotkeyAction>(i);
    if (!FHotkeys->Register(HotkeyIdBase + i, FEnvironment.Settings->Hotkeys->Hotkey(action)))
      refused.push_back(action);
  }
  return refused;
}

void TMeterApplication::HotkeyPressed(THotkeyAction action) {
  switch (action) {
    case THotkeyAction::ShowRuler: ShowOrHideRulerFromKeyboard(); break;
    case THotkeyAction::PickColor: PickColorUnderPointer(); break;
    case THotkeyAction::CursorCoordinates: ToggleCursorForm(); break;
    case THotkeyAction::Measure: ToggleMeasureTool(0); break;
  }
}

void TMeterApplication::ShowOrHideRulerFromKeyboard() {
  // As the icon click, without its 250 ms rule (a key press deactivates nothing): a ruler
  // in front, or kept on top, hides; a hidden or covered one comes to the front.
  TMainForm* ruler = Ruler();
  if (ruler->Visible() && (FEnvironment.Settings->General->StayOnTop || ::GetForegroundWindow() == ruler->Handle())) {
    ruler->Close();
  } else {
    ShowMainForm();
  }
}

void TMeterApplication::PickColorUnderPointer() {
  POINT pointer{};
  const COLORREF sampled = ::GetCursorPos(&pointer)
                               ? SampleScreenColor(pointer, SampleSize(*FEnvironment.Settings->Colors))
                               : CLR_INVALID;  // e.g. while another desktop has the input
  if (sampled == CLR_INVALID) {
    Notify(Title(), L"The color under the pointer cannot be read now.");
    return;
  }
  const TColor color = sampled & 0x00FFFFFFu;
  RememberColorPick(color);
  const std::wstring text = ColorToolText(color, DefaultColorFormat(*FEnvironment.Settings->Colors));
  if (!PutClipboardText(WindowHandle(), text)) {
    Notify(Title(), L"The clipboard is in use by another program: " + text + L" was not copied.");
    return;
  }
  if (FColorForm->Visible())
    FColorForm->ColorBox().SetColor(color);
  else
    Notify(Title(), L"Copied " + text + L".");
}

void TMeterApplication::Terminating() {
  TQorvelFormTrayApplication::Terminating();
  FMeasureTool.Stop();
  if (FHotkeys) FHotkeys->Clear();
  // Closing retains the placement, which has to happen before the file is written.
  if (FColorForm && FColorForm->Visible()) FColorForm->Close();
  if (FCursorForm && FCursorForm->Visible()) FCursorForm->Close();
  if (FEnvironment.SaveSettings) FEnvironment.SaveSettings();
}

void TMeterApplication::ShowAbout() {
  TQorvelAboutDialog about;
  about.Options = {paoFileVersion};
  about.LinkText = about.LinkURL = "https://qorvel.example/vindle";
  about.InfoText = "A ruler that floats over the desktop to measure anything on the screen.";
  about.LoadLogo(L"LOGOBITMAP");
  about.Execution = FEnvironment.Settings->Execution;
  about.MainWindow = Ruler()->Handle();
  about.Execute();
}

void TMeterApplication::ShowSettingsDialog(int row) {
  // Our chords would reach us instead of the hotkey fields while the user types them there,
  // and the page could not tell another program's chord from ours.
  if (FHotkeys) FHotkeys->Clear();
  const TScopeExit registerAgain([this] { RegisterHotkeys(); });
  TMainForm& ruler = *Ruler();
  TSettingsFormEnvironment environment;
  environment.LocalInstallation = ApplicationInstallation().Mode() == imLocalApp;
  environment.TranslucencySupported = QorvelFormBlendings::Available();
  environment.MenuImages = FEnvironment.MenuImages;
  environment.ProgramPath = ApplicationInstallation().ExePath();
  TSettingsForm dialog(ruler.Handle(), *FEnvironment.Settings, std::move(environment));
  dialog.LoadFromSettings();
  dialog.SelectRow(row);
  // A ruler kept on top would cover the dialog.
  ::SetWindowPos(ruler.Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (dialog.ShowModal() == TModalResult::Ok) {
    ruler.StorePlacement();
    dialog.StoreToSettings();
    ruler.ApplySettings();
    if (dialog.CalibrateRequested()) ruler.Calibrate();
  } else if (FEnvironment.Settings->General->StayOnTop) {
    ruler.ApplyZOrder();
  }
}

void TMeterApplication::ToggleRuler() {
  if (Ruler()->Visible())
    Ruler()->Close();
  else
    ShowMainForm();
}

void TMeterApplication::ToggleColorForm() {
  if (FColorForm->Visible())
    FColorForm->Close();
  else
    FColorForm->Show();
}

void TMeterApplication::ToggleMeasureTool(UINT delay) {
  if (FMeasureTool.Running())
    FMeasureTool.Stop();
  else
    FMeasureTool.Start(delay);
}

void TMeterApplication::ToggleCursorForm() {
  if (FCursorForm->Visible())
    FCursorForm->Close();
  else
    FCursorForm->Show();
}

void TMeterApplication::IconClick() {
  TMainForm* ruler = Ruler();
  // Clicking the icon deactivates the ruler: a ruler that was in front a moment ago is
  // hidden by the click, a covered one is brought to the front.
  if (ruler->Visible() &&
      (FEnvironment.Settings->General->StayOnTop || ::GetTickCount() - ruler->DeactivatedAt() < 250)) {
    ruler->Close();
  } else {
    ShowMainForm();
  }
}
