#include "install/win32/QorvelInstallForms.h"

#include <windows.h>
#include <commctrl.h>

#include "gui/Application.h"
#include "gui/CommonControls.h"
#include "install/QorvelFileVersionInfo.h"
#include "install/InstallerRules.h"
#include "install/win32/QorvelInstallations.h"
#include "install/win32/QorvelInstallers.h"
#include "install/win32/QorvelShellUtils.h"
#include "install/win32/QorvelUninstallForms.h"
#include "install/win32/ScreenSavers.h"
#include "install/win32/UnattendedSetups.h"
#include "install/win32/UninstallScopes.h"

namespace {

constexpr COLORREF WarningColor = RGB(0x80, 0x00, 0x00);
constexpr const wchar_t* InstallStageTexts[4] = {L"Creating menu / shortcut icons...",
                                                 L"Registering file associations...", L"Preparing uninstaller...",
                                                 L"Finishing installation..."};

}  // namespace

std::wstring FolderRefusal(const std::wstring& folder, bool portable) {
  if (!portable) return InstallFolderRefusal(folder, SystemScopeFolders());
  return CanonicalFilePath(folder).empty() ? L"not a full path" : NameTheSystemWouldChange(folder);
}

TInstallProductData ProductDataOf(const TQorvelInstallation& installation) {
  TInstallProductData data;
  data.CompanyName = installation.CompanyName;
  data.ProductName = installation.ProductName;
  data.ProductVersion = installation.ProductVersion;
  data.LongProductName = installation.LongProductName;
  data.DefaultFolder = installation.DefaultFolder;
  data.PortableDefaultFolder = installation.PortableDefaultFolder;
  data.RegistryKey = installation.RegistryKey;
  data.ApplicationType = installation.ApplicationType;
  data.LicenseType = installation.LicenseType;
  TQorvelFileVersionInfo& version = AppVersionInfo();
  return CompleteProductData(data, {version.CompanyName(), version.ProductName(), version.ProductVersion(),
                                    TGuiApplication::Instance().Title()});
}

void PrepareInstaller(TQorvelInstaller& installer, const TInstallProductData& product) {
  installer.CompanyName = product.CompanyName;
  installer.ProductName = product.ProductName;
  installer.ApplicationType = product.ApplicationType;
  installer.GroupName = InstallGroupName(product);
  installer.ShortcutName = product.ProductName;
  installer.RegistryKey = product.RegistryKey;
  installer.Uninstaller.ProductName = product.ProductName;
  installer.Uninstaller.UninstallKeyName = UninstallKeyName(product.LongProductName);
  installer.Uninstaller.DisplayName = product.LongProductName;
}

TInstallIdentity InstallIdentityOf(TQorvelInstallation& installation) {
  const TInstallProductData product = ProductDataOf(installation);
  TQorvelUninstaller own;
  installation.AddUninstallItems(own);
  TInstallIdentity identity{product.RegistryKey,
                            UninstallKeyName(product.LongProductName),
                            InstallGroupName(product),
                            product.ProductName,
                            {}};
  for (const auto& value : own.RegistryValues) identity.RegistryValues.push_back(value.Path);
  return identity;
}

TQorvelInstallForm::TQorvelInstallForm(TQorvelInstallation& installation, TQorvelInstaller& installer,
                                       TInstallSystemFacts facts)
    : TQorvelWizardForm(InstallWizardTexts(ProductDataOf(installation)).Caption, InstallPageCount),
      FInstallation(installation),
      FInstaller(installer),
      FFacts(std::move(facts)),
      FProduct(ProductDataOf(installation)),
      FTexts(InstallWizardTexts(FProduct)) {
  PrepareInstaller(FInstaller, FProduct);
  CloseRunningProgram = installation.CloseRunningProgram;
  OnLog = installation.LogSink();
  FState.Elevation = FFacts.Elevation;
  FState.ElevationTried = installation.ResumesLocalSetup();
  FState.HasPrevious = FInstaller.FindPreviousInstallation();
  if (FState.HasPrevious && FInstaller.PreviousVersion != FProduct.ProductVersion)
    FState.PreviousChoice = TPreviousChoice::UninstallPrevious;

  BuildPages();

  FollowButtonStates([this](int page) { return InstallWizardButtons(FState, page); });
  TQorvelWizard& wizard = Wizard();
  wizard.OnNavigateNext = [this](int oldPage, bool& finish, int& newPage) { NavigateNext(oldPage, finish, newPage); };
  wizard.OnNavigateBack = [this](int oldPage, bool&, int& newPage) {
    newPage = PreviousInstallPage(FState, oldPage).NewPage;
  };
  wizard.OnCancel = [this](int& result) { CancelSetup(result); };
  wizard.OnFinish = [this](int& result) { Finish(result); };
  wizard.OnChangePage = [this] {
    switch (Wizard().PageIndex()) {
      case ipPreviousInstallation: ArriveAtPreviousPage(); break;
      case ipUninstallPrevious: AfterPageShown([this] { UninstallPrevious(); }); break;
      case ipInstalling: AfterPageShown([this] { InstallProgram(); }); break;
      default: break;
    }
  };
  wizard.SetPageIndex(ipWelcome);
}

HWND TQorvelInstallForm::PreviousChoiceButton(TPreviousChoice choice) const {
  switch (choice) {
    case TPreviousChoice::SameFolder: return FSameFolder;
    case TPreviousChoice::UninstallPrevious: return FUninstallChoice;
    case TPreviousChoice::OtherFolder: return FOtherFolder;
  }
  return nullptr;
}

void TQorvelInstallForm::BuildPages() {
  BuildIntroPages();
  BuildSetupTypePage();
  BuildPreviousInstallationPages();
  BuildFolderPages();
  BuildClosingPages();
}

void TQorvelInstallForm::BuildIntroPages() {
  // 0: welcome.
  AddHeader(ipWelcome, FTexts.WelcomeCaption);
  AddLogo(ipWelcome, FInstallation.Logo, 41);
  AddLabel(ipWelcome, FTexts.WelcomeText, 12, 199, 392, 81);
  AddWebLink(ipWelcome, 282);

  // 1: licence.
  AddHeader(ipLicense, L"Software License Agreement", L"Terms and conditions for using this software");
  AddLabel(ipLicense, FTexts.LicenseIntro, 12, 41, 392, 28);
  FMemo = CreateChildControl(Page(ipLicense), L"EDIT", FTexts.LicenseAgreement,
                             WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                             ScaledRect(12, 71, 392, 177), Font(), 0, WS_EX_CLIENTEDGE);
  FAccept = AddRadio(ipLicense, L"I &accept to the terms of the License Agreement.", 12, 254, 392, true);
  FDeny = AddRadio(ipLicense, L"I &do NOT accept to the terms of the License Agreement.", 12, 274, 392, false);
  SetChecked(FDeny, true);
}

void TQorvelInstallForm::BuildSetupTypePage() {
  // 2: setup type.
  AddHeader(ipSetupType, L"Setup type", L"Local or portable installation possible");
  AddLabel(ipSetupType, FTexts.TypeLabel, 12, 41, 392, 28);
  // The explanations wrap to four and seven lines with the dialog font; each label holds
  // all of its lines.
  FLocal = AddRadio(ipSetupType, L"&Local setup", 12, 70, 392, true);
  AddLabel(ipSetupType, FTexts.LocalLabel, 30, 88, 374, 56);
  FPortable = AddRadio(ipSetupType, L"&Portable setup", 12, 146, 392, false);
  AddLabel(ipSetupType, FTexts.PortableLabel, 30, 164, 374, 94);
  FDriveLabel = AddLabel(ipSetupType, L"Portable drive", 30, 267, 80, 16);
  FDriveList = std::make_unique<TQorvelDriveList>(Page(ipSetupType), ScaledRect(112, 263, 292, 22), Font());
  SetChecked(FLocal, true);
  ::EnableWindow(FDriveLabel, FALSE);
  ::EnableWindow(FDriveList->Handle(), FALSE);
}

void TQorvelInstallForm::BuildPreviousInstallationPages() {
  // 3: previous installation.
  AddHeader(ipPreviousInstallation, L"Previous installation found", FTexts.PreviousComment);
  AddLabel(ipPreviousInstallation, FTexts.ExistingLabel, 12, 41, 392, 28);
  FSameFolder =
      AddRadio(ipPreviousInstallation, L"Use &same folder for new installation (update / repair)", 12, 70, 392, true);
  AddLabel(ipPreviousInstallation,
           L"Previous application files are overridden. Your personal settings persist (except for settings this "
           L"version does not accept).",
           30, 89, 374, 28);
  FUninstallChoice = AddRadio(ipPreviousInstallation, L"&Uninstall previous installation", 12, 122, 392, false);
  // Room for the three lines of the text shown when uninstalling is not possible.
  FUninstallText = AddLabel(ipPreviousInstallation, UninstallPreviousText(true), 30, 141, 374, 41);
  FOtherFolder = AddRadio(ipPreviousInstallation, L"Use &another folder for new installation", 12, 186, 392, false);
  AddLabel(ipPreviousInstallation,
           L"Previous application files are kept on this system, which results in two separate installations of "
           L"the same application.",
           30, 205, 374, 28);
  FWarning = AddLabel(ipPreviousInstallation,
                      L"Warning: The previous installation probably won't work any more and cannot be removed easily "
                      L"any more.",
                      30, 235, 374, 28);
  SetChecked(PreviousChoiceButton(FState.PreviousChoice), true);

  // 4: removing the previous installation.
  AddHeader(ipUninstallPrevious, L"Uninstalling...");
  AddLabel(ipUninstallPrevious, L"Please wait while all objects are removed.", 12, 45, 392, 16);
  for (int i = 0; i < 4; ++i) {
    FRemoveStages[i] = AddLabel(ipUninstallPrevious, UninstallStageTexts[i], 30, 75 + 20 * i, 374, 16);
    ShowControl(FRemoveStages[i], false);
  }
}

void TQorvelInstallForm::BuildFolderPages() {
  // 5: install folder.
  AddHeader(ipInstallFolder, L"Install folder", FTexts.FolderComment);
  AddLabel(ipInstallFolder, FTexts.FolderLabel, 12, 45, 392, 16);
  FFolderLabel = std::make_unique<TQorvelFileLabel>(Page(ipInstallFolder), ScaledRect(12, 66, 306, 24), Font());
  FBrowse = AddButton(ipInstallFolder, L"B&rowse", 324, 65, 80, 25, BS_PUSHBUTTON);
  AddLabel(ipInstallFolder, FTexts.SpaceNeededLabel, 12, 110, 260, 16);
  FSpaceValue = AddLabel(ipInstallFolder, L"", 272, 110, 132, 16, SS_RIGHT);
  FAvailableLabel = AddLabel(ipInstallFolder, L"", 12, 130, 260, 16);
  FAvailableValue = AddLabel(ipInstallFolder, L"", 272, 130, 132, 16, SS_RIGHT);

  // 6: start menu.
  AddHeader(ipStartMenu, L"Start menu", FTexts.StartMenuComment);
  AddLabel(ipStartMenu, FTexts.StartMenuLabel, 12, 45, 392, 28);
  FCommonMenu = AddRadio(ipStartMenu, L"Add to &common start menu (available for all users)", 12, 80, 392, true);
  FMyMenu = AddRadio(ipStartMenu, L"Add to &my start menu only (not available for other users)", 12, 100, 392, false);
  FNoMenu = AddRadio(ipStartMenu, L"Do no&t add to start menu", 12, 120, 392, false);
  FDesktop = AddCheck(ipStartMenu, L"Add a shortcut icon to my &desktop", 12, 155, 392);
  FQuickLaunch = AddCheck(ipStartMenu, L"Add a shortcut icon to my &quick lauch bar", 12, 175, 392);
  HWND menuChoice = FCommonMenu;
  if (!FFacts.CommonProgramsAvailable) {
    ::EnableWindow(FCommonMenu, FALSE);
    menuChoice = FMyMenu;
  }
  if (FProduct.ApplicationType == patScreenSaver) menuChoice = FNoMenu;
  SetChecked(menuChoice, true);
  EnableShortcutChoices();
}

void TQorvelInstallForm::BuildClosingPages() {
  // 7: installing.
  AddHeader(ipInstalling, L"Installing...");
  AddLabel(ipInstalling, FTexts.InstallingLabel, 12, 45, 392, 16);
  AddLabel(ipInstalling, L"Copying files...", 30, 75, 374, 16);
  {
    const RECT r = ScaledRect(30, 93, 374, 16);
    FProgress = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                                  r.bottom - r.top, Page(ipInstalling), nullptr, ModuleInstance(), nullptr);
    ::SendMessageW(FProgress, PBM_SETRANGE32, 0, 100);
  }
  for (int i = 0; i < 4; ++i) {
    FInstallStages[i] = AddLabel(ipInstalling, InstallStageTexts[i], 30, 120 + 20 * i, 374, 16);
    ShowControl(FInstallStages[i], false);
  }

  // 8: completed.
  AddHeader(ipCompleted, L"Installation completed", FTexts.CompletedComment);
  AddLogo(ipCompleted, FInstallation.Logo, 41);
  AddLabel(ipCompleted, FTexts.CompletedText, 12, 199, 392, 30);
  FStartCheck = AddCheck(ipCompleted, L"&" + FTexts.StartCheckBox, 12, 234, 392);
  SetChecked(FStartCheck, true);
  if (FProduct.ApplicationType == patScreenSaver)
    FScreenSaverCheck = AddCheck(ipCompleted, L"Set as &default screen saver", 12, 254, 392);
  AddWebLink(ipCompleted, 282);
}

HBRUSH TQorvelInstallForm::LabelColors(HWND label, HDC dc) {
  if (label == FMemo) {
    // The agreement reads like a document, not like a disabled field.
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    return ::GetSysColorBrush(COLOR_WINDOW);
  }
  HBRUSH brush = TQorvelWizardForm::LabelColors(label, dc);
  if (label == FWarning) ::SetTextColor(dc, WarningColor);
  return brush;
}

void TQorvelInstallForm::ReadChoices() {
  FState.LicenseAccepted = Checked(FAccept);
  FState.LicenseDenied = Checked(FDeny);
  FState.Portable = Checked(FPortable);
  if (Checked(FUninstallChoice))
    FState.PreviousChoice = TPreviousChoice::UninstallPrevious;
  else if (Checked(FOtherFolder))
    FState.PreviousChoice = TPreviousChoice::OtherFolder;
  else
    FState.PreviousChoice = TPreviousChoice::SameFolder;
}

void TQorvelInstallForm::PageCommand(HWND control, int notification) {
  if (notification != BN_CLICKED) return;
  if (control == FBrowse) {
    Browse();
    return;
  }
  ReadChoices();
  if (control == FLocal || control == FPortable) {
    ::EnableWindow(FDriveLabel, FState.Portable ? TRUE : FALSE);
    ::EnableWindow(FDriveList->Handle(), FState.Portable ? TRUE : FALSE);
    if (control == FPortable) FillDriveList();
  }
  if (control == FCommonMenu || control == FMyMenu || control == FNoMenu) EnableShortcutChoices();
  Wizard().RefreshButtons();
}

void TQorvelInstallForm::EnableShortcutChoices() {
  // Without a start-menu entry no shortcut is made at all, so the boxes would promise nothing.
  const bool menu = !Checked(FNoMenu);
  ::EnableWindow(FDesktop, menu ? TRUE : FALSE);
  ::EnableWindow(FQuickLaunch, menu && FFacts.QuickLaunchAvailable ? TRUE : FALSE);
}

void TQorvelInstallForm::FillDriveList() { FDriveList->Fill(RemovableDrives()); }

bool TQorvelInstallForm::PreviousConfigExists() const {
  std::wstring folder = WithTrailingBackslash(FInstaller.PreviousDirectory);
  if (FProduct.ApplicationType == patScreenSaver) folder += FProduct.ProductName;
  return FileExists(folder + UninstallConfigFileName);
}

void TQorvelInstallForm::ArriveAtPreviousPage() {
  const bool found = PreviousConfigExists();
  ::SetWindowTextW(FUninstallText, UninstallPreviousText(found).c_str());
  ::EnableWindow(FUninstallChoice, found ? TRUE : FALSE);
  if (!found && Checked(FUninstallChoice)) {
    SetChecked(FUninstallChoice, false);
    SetChecked(FSameFolder, true);
    ReadChoices();
    Wizard().RefreshButtons();
  }
}

void TQorvelInstallForm::SetFolder(const std::wstring& folder) {
  FFolderLabel->SetFileName(folder);
  ShowSpace();
}

void TQorvelInstallForm::ShowSpace() {
  ::SetWindowTextW(
      FSpaceValue,
      MegabytesText(SpaceNeeded(FInstaller.PayloadSize()), FFacts.ThousandsSeparator, FFacts.DecimalSeparator).c_str());
  std::wstring label, value;
  if (const auto drive = FolderDriveLetter(Folder())) {
    if (const auto available = AvailableDiskSpace(std::wstring(1, *drive) + L":\\")) {
      label = AvailableSpaceLabel(*drive);
      value = MegabytesText(*available, FFacts.ThousandsSeparator, FFacts.DecimalSeparator);
    }
  }
  ::SetWindowTextW(FAvailableLabel, label.c_str());
  ::SetWindowTextW(FAvailableValue, value.c_str());
}

void TQorvelInstallForm::Browse() {
  const std::wstring start = DeepestExistingFolder(Folder(), [](const std::wstring& f) { return FolderExists(f); });
  const std::wstring chosen =
      BrowseForFolder ? BrowseForFolder(start) : ChooseFolder(Handle(), L"Select installation folder", start);
  if (!chosen.empty()) SetFolder(chosen);
}

void TQorvelInstallForm::NavigateNext(int oldPage, bool& finish, int& newPage) {
  if (finish) return;
  ReadChoices();
  TLeaveFacts facts;
  facts.Elevation = FState.Elevation;
  facts.ElevationTried = FState.ElevationTried;
  facts.Portable = FState.Portable;
  facts.Folder = Folder();
  facts.ProposedFolder = FProposedFolder;
  facts.FolderExistsWithContent =
      oldPage == ipInstallFolder && FolderExists(facts.Folder) && FolderHasEntries(facts.Folder);
  if (oldPage == ipInstallFolder) {
    if (const std::wstring reason = FolderRefusal(facts.Folder, FState.Portable); !reason.empty()) {
      Ask(L"Setup cannot install into " + facts.Folder + L":\r\n" + reason + L".\r\n\r\nPlease choose a folder of its own.",
          L"Install folder", MB_OK | MB_ICONWARNING);
      newPage = oldPage;
      return;
    }
  }
  switch (QuestionBeforeLeaving(oldPage, facts)) {
    case TLeaveQuestion::NotAdministrator:
      if (Ask(NotAdministratorQuestion(FProduct.ProductName), L"No administrator rights detected",
              MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
        newPage = oldPage;
        return;
      }
      break;
    case TLeaveQuestion::FolderExists:
      if (Ask(FolderExistsQuestion(facts.Folder, FProduct.ProductName), L"Folder already exists",
              MB_YESNO | MB_ICONQUESTION) != IDYES) {
        newPage = oldPage;
        return;
      }
      break;
    case TLeaveQuestion::Elevate:
      newPage = oldPage;
      RestartElevated();
      return;
    case TLeaveQuestion::None: break;
  }
  const TPageMove move = NextInstallPage(FState, oldPage);
  if (move.TakePreviousFolder) SetFolder(WithoutTrailingBackslash(FInstaller.PreviousDirectory));
  if (move.ProposeFolder) {
    TFolderProposalInput input;
    input.Portable = FState.Portable;
    input.PortableDriveRoot = FDriveList->SelectedRoot();
    input.MyDocumentsFolder = FFacts.MyDocumentsFolder;
    input.PortableDefaultFolder = FProduct.PortableDefaultFolder;
    input.DefaultFolder = FProduct.DefaultFolder;
    input.ProgramFilesFolder = FFacts.ProgramFilesFolder;
    input.SystemFolder = FFacts.SystemFolder;
    input.ScreenSaver = FProduct.ApplicationType == patScreenSaver;
    FProposedFolder = ProposedFolder(input);
    // A local installation goes where the command line asked; the page still checks it.
    if (!FState.Portable && !FInstallation.RequestedFolder.empty())
      FProposedFolder = WithoutTrailingBackslash(FInstallation.RequestedFolder);
    SetFolder(FProposedFolder);
  }
  newPage = move.NewPage;
}

void TQorvelInstallForm::UninstallPrevious() {
  const std::wstring config = FInstaller.PreviousConfig.empty()
                                  ? WithTrailingBackslash(FInstaller.PreviousDirectory) + UninstallConfigFileName
                                  : FInstaller.PreviousConfig;
  if (RunUninstall(config, FRemoveStages, FProduct.ProductName, FInstaller.Identity())) {
    // The previous installation is gone: from here on this is a fresh installation.
    FState.HasPrevious = false;
    FInstaller.PreviousDirectory.clear();
    FInstaller.PreviousConfig.clear();
    FInstaller.PreviousVersion.clear();
    Wizard().Next();
  } else {
    Wizard().Back();
  }
}

void TQorvelInstallForm::InstallProgram() {
  // A running copy holds its file open: it ends first, or nothing is touched.
  if (!EnsureProgramClosed(FProduct.ProductName)) {
    Wizard().Back();
    return;
  }
  for (HWND stage : FInstallStages) ShowControl(stage, false);
  ::SendMessageW(FProgress, PBM_SETPOS, 0, 0);
  ReadChoices();
  const std::wstring folder = Folder();
  FInstaller.InstallKind = FState.Portable ? ikPortable : ikLocal;
  FInstaller.TargetFolder = WithTrailingBackslash(folder);
  FInstaller.Options = (FInstaller.Options & ~std::uint32_t{ioDesktopShortcut | ioQuickLaunchShortcut}) |
                       (Checked(FDesktop) ? ioDesktopShortcut : 0u) |
                       (Checked(FQuickLaunch) && ::IsWindowEnabled(FQuickLaunch) ? ioQuickLaunchShortcut : 0u);
  FInstaller.StartMenuFolderKind = Checked(FCommonMenu) ? fkCommonPrograms : Checked(FMyMenu) ? fkMyPrograms : fkNone;
  bool installed = false;
  {
    TBusyScope busy(*this);
    FInstaller.OnProgress = [this](TQorvelInstallStage stage, int percent) {
      if (stage == isCopyingFiles) {
        ::SendMessageW(FProgress, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
        ::UpdateWindow(FProgress);
        return;
      }
      const int index = stage - isCreatingShortcuts;
      if (index < 0 || index > 2) return;
      if (percent == 0) {
        ShowControl(FInstallStages[index], true);
        ::UpdateWindow(Page(ipInstalling));
      } else if (percent >= 100) {
        Pause(100);
      }
    };
    installed = FInstaller.Install();
    FInstaller.OnProgress = nullptr;
    if (installed) {
      ShowControl(FInstallStages[3], true);
      ::UpdateWindow(Page(ipInstalling));
      Pause(1000);
    }
  }
  if (installed) {
    FInstalledExePath = FInstaller.TargetExePath;
    if (FScreenSaverCheck) ::EnableWindow(FScreenSaverCheck, FState.Portable ? FALSE : TRUE);
    Wizard().Next();
    return;
  }
  MarkFailed();
  Ask(InstallFailedMessage(FProduct.ProductName, folder), L"Error", MB_OK | MB_ICONERROR);
  EndWizard(IDCANCEL);
}

void TQorvelInstallForm::CancelSetup(int& modalResult) {
  if (Ask(CancelSetupQuestion(FProduct.ProductName), L"Exit Setup", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) !=
      IDYES)
    modalResult = 0;
}

void TQorvelInstallForm::Finish(int& modalResult) {
  modalResult = IDOK;
  const bool screenSaver = FProduct.ApplicationType == patScreenSaver;
  if (screenSaver && FScreenSaverCheck && Checked(FScreenSaverCheck) && !FInstalledExePath.empty())
    MakeDefaultScreenSaver(FInstalledExePath);
  if (!Checked(FStartCheck) || FInstalledExePath.empty()) return;
  if (StartProgram) {
    StartProgram(FInstalledExePath);
    return;
  }
  const std::wstring folder = WithoutTrailingBackslash(FolderOf(FInstalledExePath));
  if (!screenSaver)
    StartAsDesktopUser(FInstalledExePath, folder);
  else if (FState.Portable)
    ConfigureScreenSaver(FInstalledExePath, folder);
  else
    OpenScreenSaverSettings();
}

void TQorvelInstallForm::RestartElevated() {
  // The running setup file again, with the system's prompt, going on where this one is.
  const std::wstring setup = FInstallation.ExePath();
  // The switches this run was given (a /log) go on too.
  std::wstring parameters = SetupArguments(FInstallation.Arguments());
  parameters += (parameters.empty() ? L"" : L" ") + std::wstring(LocalSetupSwitch);
  // This run ends with the elevated one's result, which whoever started it waits for; the
  // wizard steps aside meanwhile.
  DWORD exitCode = secFailed;
  const TShellStart start{L"runas", setup, parameters, WithoutTrailingBackslash(FolderOf(setup)), Handle(), &exitCode};
  ::ShowWindow(Handle(), SW_HIDE);
  const DWORD error = StartElevated ? StartElevated(start) : StartThroughShell(start);
  if (error == 0) {
    FElevatedRunExitCode = static_cast<int>(exitCode);
    CloseWith(IDCANCEL);
    return;
  }
  ::ShowWindow(Handle(), SW_SHOW);
  Ask(ElevationNeededText(FProduct.ProductName), L"Administrator rights needed", MB_OK | MB_ICONINFORMATION);
}

void TQorvelInstallForm::ResumeLocalSetup() {
  // The user accepted the licence and chose the local setup in the run that started this one.
  SetChecked(FAccept, true);
  SetChecked(FDeny, false);
  SetChecked(FLocal, true);
  SetChecked(FPortable, false);
  ReadChoices();
  Wizard().SetPageIndex(ipSetupType);
  Wizard().Next();
}

int RunInstallWizard(TQorvelInstallation& installation, TQorvelInstaller& installer) {
  TComScope com;
  CommonControls::Load(ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS);
  TQorvelInstallForm form(installation, installer);
  if (installation.ResumesLocalSetup()) form.ResumeLocalSetup();
  if (form.ShowModal() == TModalResult::Ok) return secDone;
  if (const auto elevated = form.ElevatedRunExitCode()) return *elevated;
  return form.Failed() ? secFailed : secCancelled;
}

void UseQorvelWizards(TQorvelInstallation& installation) {
  installation.InstallWizard = &RunInstallWizard;
  installation.UninstallWizard = &RunUninstallWizard;
  installation.UnattendedSetup = [](TQorvelInstallation& owner, TQorvelInstaller& installer,
                                    const TSetupSwitches& switches) {
    return RunUnattendedSetup(owner, installer, switches, owner.LogSink());
  };
  installation.UnattendedRemoval = [](TQorvelInstallation& owner, const std::wstring& configPath) {
    return RunUnattendedRemoval(owner, configPath, owner.LogSink());
  };
}
