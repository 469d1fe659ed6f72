#pragma once
// The installation wizard: welcome, licence, setup type, previous installation, its
// removal, install folder, start menu, installing and completion, driving the installer.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "controls/win32/QorvelDriveLists.h"
#include "controls/win32/QorvelFileLabels.h"
#include "install/QorvelInstallTexts.h"
#include "install/QorvelInstallWizardRules.h"
#include "install/win32/InstallSystemFacts.h"
#include "install/win32/QorvelShellUtils.h"
#include "install/win32/QorvelWizardForms.h"

class TQorvelInstallation;
class TQorvelInstaller;

class TQorvelInstallForm : public TQorvelWizardForm {
 public:
  // The facts are what the wizard learns from the system when it shows; tests give their own.
  TQorvelInstallForm(TQorvelInstallation& installation, TQorvelInstaller& installer,
                     TInstallSystemFacts facts = CurrentInstallSystemFacts());

  const TInstallProductData& Product() const { return FProduct; }
  const TInstallWizardState& State() const { return FState; }
  const std::wstring& ProposedFolderShown() const { return FProposedFolder; }
  std::wstring Folder() const { return FFolderLabel->FileName(); }
  const std::wstring& InstalledExePath() const { return FInstalledExePath; }
  // The folder browser; tests answer it instead.
  std::function<std::wstring(const std::wstring& startFolder)> BrowseForFolder;
  // Starts the installed program on Finish; tests watch it instead.
  std::function<void(const std::wstring& exePath)> StartProgram;
  // Starts the setup again with the elevation prompt; tests watch it instead.
  TShellStarter StartElevated;
  // The exit code of the elevated run this wizard handed over to, once it ended.
  std::optional<int> ElevatedRunExitCode() const { return FElevatedRunExitCode; }
  // Goes on past the setup-type page with the licence accepted and the local setup chosen,
  // as a run started elevated for it does.
  void ResumeLocalSetup();

  // Controls by role, for tests and screenshots.
  HWND AcceptButton() const { return FAccept; }
  HWND DenyButton() const { return FDeny; }
  HWND LocalButton() const { return FLocal; }
  HWND PortableButton() const { return FPortable; }
  HWND PreviousChoiceButton(TPreviousChoice choice) const;
  HWND StartCheckBox() const { return FStartCheck; }
  TQorvelDriveList& DriveList() { return *FDriveList; }

 protected:
  void PageCommand(HWND control, int notification) override;
  HBRUSH LabelColors(HWND label, HDC dc) override;

 private:
  void BuildPages();
  // Welcome and licence; setup type; previous installation and its removal; folder and start
  // menu; installing and completion.
  void BuildIntroPages();
  void BuildSetupTypePage();
  void BuildPreviousInstallationPages();
  void BuildFolderPages();
  void BuildClosingPages();
  void ReadChoices();
  void FillDriveList();
  void EnableShortcutChoices();
  void RestartElevated();
  void SetFolder(const std::wstring& folder);
  void ShowSpace();
  void ArriveAtPreviousPage();
  void UninstallPrevious();
  void InstallProgram();
  void Browse();
  void Finish(int& modalResult);
  void CancelSetup(int& modalResult);
  void NavigateNext(int oldPage, bool& finish, int& newPage);
  bool PreviousConfigExists() const;

  TQorvelInstallation& FInstallation;
  TQorvelInstaller& FInstaller;
  TInstallSystemFacts FFacts;
  TInstallProductData FProduct;
  TInstallWizardTexts FTexts;
  TInstallWizardState FState;
  std::wstring FProposedFolder;
  std::wstring FInstalledExePath;
  std::optional<int> FElevatedRunExitCode;

  HWND FAccept = nullptr, FDeny = nullptr, FMemo = nullptr;
  HWND FLocal = nullptr, FPortable = nullptr, FDriveLabel = nullptr;
  std::unique_ptr<TQorvelDriveList> FDriveList;
  HWND FSameFolder = nullptr, FUninstallChoice = nullptr, FOtherFolder = nullptr, FUninstallText = nullptr;
  HWND FWarning = nullptr;
  HWND FRemoveStages[4] = {};
  std::unique_ptr<TQorvelFileLabel> FFolderLabel;
  HWND FBrowse = nullptr, FSpaceValue = nullptr, FAvailableLabel = nullptr, FAvailableValue = nullptr;
  HWND FCommonMenu = nullptr, FMyMenu = nullptr, FNoMenu = nullptr, FDesktop = nullptr, FQuickLaunch = nullptr;
  HWND FProgress = nullptr, FInstallStages[4] = {};
  HWND FStartCheck = nullptr, FScreenSaverCheck = nullptr;
};

// Runs the installation wizard modally; answers whether the installation finished.
// Answers 0 when it finished, 1602 when the user cancelled, 1603 when the installation failed.
int RunInstallWizard(TQorvelInstallation& installation, TQorvelInstaller& installer);
// Lets the installation object show both wizards (setup and removal starts).
void UseQorvelWizards(TQorvelInstallation& installation);

// The product's data with the wizard's defaults filled in.
TInstallProductData ProductDataOf(const TQorvelInstallation& installation);
// The installer's names for that product: company, product, group, shortcut, keys.
void PrepareInstaller(TQorvelInstaller& installer, const TInstallProductData& product);

// Why setup refuses `folder`, or nothing: a local installation goes only where its
// uninstaller will act; a portable copy (no uninstaller) may use a drive's root, but no name
// the system would change.
std::wstring FolderRefusal(const std::wstring& folder, bool portable);

// The names the installations of this product use (with the wizard's defaults), which bound
// what an uninstallation may touch.
TInstallIdentity InstallIdentityOf(TQorvelInstallation& installation);

// The stage labels of an uninstallation, shown as the uninstaller reaches them.
inline constexpr const wchar_t* UninstallStageTexts[4] = {L"Removing files...", L"Removing folders...",
                                                          L"Cleaning registry...", L"Finishing uninstall..."};
