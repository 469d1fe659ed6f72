#include "app/win32/MeterApplications.h"

#include "about/win32/QorvelAboutDialogs.h"
#include "gui/Application.h"
#include "install/win32/ApplicationInstallations.h"
#include "ruler/win32/QorvelFormBlendings.h"
#include "settings/win32/SettingsForms.h"

TMeterApplication::TMeterApplication(std::wstring title, TMeterEnvironment environment)
    : TQorvelFormTrayApplication(std::move(title)), FEnvironment(std::move(environment)) {}

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
  return ruler;
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
  FRulerItem->Caption = Ruler()->Visible() ? L"&Hide ruler" : L"&Show ruler";
  FColorPickerItem->Caption = FColorForm && FColorForm->Visible() ? L"&Hide color picker" : L"&Show color picker";
  FCursorItem->Caption =
      FCursorForm && FCursorForm->Visible() ? L"&Hide cursor coordinates" : L"&Show cursor coordinates";
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

void TMeterApplication::Started() {
  TQorvelFormTrayApplication::Started();
  if (FEnvironment.Settings->Startup->ShowRuler) ShowMainForm();
  FColorForm = std::make_unique<TColorForm>(*FEnvironment.Settings);
  if (FEnvironment.Settings->Startup->ShowColorPicker) FColorForm->Show();
  FCursorForm = std::make_unique<TCursorForm>(*FEnvironment.Settings);
  if (FEnvironment.Settings->Startup->ShowCursorCoordinates) FCursorForm->Show();
  // Installed copies only: a build started from its folder is a developer's.
  const TInstallationMode mode = ApplicationInstallation().Mode();
  if ((mode == imLocalApp || mode == imPortableApp) && !FEnvironment.Settings->Startup->TrayNoticeShown) {
    Notify(Title(), L"Vindle is running in the notification area. Right-click its icon for the menu.");
    FEnvironment.Settings->Startup->TrayNoticeShown = true;
  }
}

void TMeterApplication::Terminating() {
  TQorvelFormTrayApplication::Terminating();
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
