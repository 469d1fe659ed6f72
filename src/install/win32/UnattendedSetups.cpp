#include "install/win32/UnattendedSetups.h"

#include "gui/Application.h"
#include "install/QorvelInstallTexts.h"
#include "install/QorvelInstallWizardRules.h"
#include "install/UninstallScope.h"
#include "install/win32/InstallSystemFacts.h"
#include "install/win32/QorvelInstallForms.h"
#include "install/win32/QorvelInstallations.h"
#include "install/win32/QorvelInstallers.h"
#include "install/win32/QorvelShellUtils.h"
#include "install/win32/QorvelUninstallers.h"
#include "install/win32/UninstallScopes.h"

namespace {

// Nobody is there to answer: every question is logged and answered "No"/"Cancel", so that a
// step that would need the user fails instead of waiting for ever.
class TUnattendedPrompt final : public IQorvelSettingsPrompt {
 public:
  explicit TUnattendedPrompt(const TSetupLogLine& log) : FLog(log) {}
  bool AskYesNo(const std::string& caption, const std::string& text) override { return Declined(caption, text); }
  bool AskRetryCancel(const std::string& caption, const std::string& text) override { return Declined(caption, text); }
  void ShowError(const std::string& caption, const std::string& text) override { Declined(caption, text); }

 private:
  bool Declined(const std::string& caption, const std::string& text) const {
    if (FLog) FLog(Widen(caption) + L": " + Widen(text) + L" (unattended: cancelled)");
    return false;
  }
  const TSetupLogLine& FLog;
};

// Spelled differently, short names included, the same folder is still the same.
bool SameInstallFolder(const std::wstring& a, const std::wstring& b) {
  return ComparePathsIgnoringCase(LongCanonicalPath(a), LongCanonicalPath(b)) == 0;
}

void Say(const TSetupLogLine& log, const std::wstring& line) {
  if (log) log(line);
}

bool ProgramClosed(TQorvelInstallation& installation, const TSetupLogLine& log) {
  if (!installation.CloseRunningProgram) return true;
  if (installation.CloseRunningProgram()) return true;
  Say(log, L"The running program did not close when asked to; nothing was changed.");
  return false;
}

}  // namespace

int RunUnattendedSetup(TQorvelInstallation& installation, TQorvelInstaller& installer, const TSetupSwitches& switches,
                       const TSetupLogLine& log) {
  const TInstallProductData product = ProductDataOf(installation);
  PrepareInstaller(installer, product);
  TUnattendedPrompt prompt(log);
  installer.SetPrompt(&prompt);
  const TInstallSystemFacts facts = CurrentInstallSystemFacts();
  if (!switches.Portable && facts.Elevation != TElevation::Elevated) {
    Say(log, ElevationNeededText(product.ProductName));
    return secFailed;
  }

  std::wstring folder = switches.Folder;
  const bool installed = installer.FindPreviousInstallation();
  const std::wstring previousFolder = WithoutTrailingBackslash(installer.PreviousDirectory);
  if (switches.Portable && installed && SameInstallFolder(folder, previousFolder)) {
    // The installed copy would turn portable while its uninstall entry still names it.
    Say(log, L"Cannot install a portable copy into " + folder + L": the installed " + product.ProductName +
                 L" lives there.");
    return secBadSwitches;
  }
  const bool previous = !switches.Portable && installed;
  if (previous && !folder.empty() && !SameInstallFolder(folder, previousFolder)) {
    // One product has one uninstall entry: a second copy elsewhere would take it over and
    // leave the first without one.
    Say(log, product.ProductName + L" is already installed in " + previousFolder +
                 L". Uninstall it first to install into " + folder + L", or leave out /dir to update it.");
    return secBadSwitches;
  }
  if (folder.empty() && previous) {
    folder = previousFolder;
    Say(log, L"Updating the installation in " + folder);
  } else if (folder.empty()) {
    TFolderProposalInput input;
    input.DefaultFolder = product.DefaultFolder;
    input.ProgramFilesFolder = facts.ProgramFilesFolder;
    input.SystemFolder = facts.SystemFolder;
    input.ScreenSaver = product.ApplicationType == patScreenSaver;
    folder = ProposedFolder(input);
  }
  if (const std::wstring reason = FolderRefusal(folder, switches.Portable); !reason.empty()) {
    Say(log, L"Cannot install into " + folder + L": " + reason + L".");
    return secBadSwitches;
  }
  if (!ProgramClosed(installation, log)) return secFailed;

  installer.InstallKind = switches.Portable ? ikPortable : ikLocal;
  installer.TargetFolder = WithTrailingBackslash(folder);
  installer.Options = (installer.Options & ~std::uint32_t{ioDesktopShortcut | ioQuickLaunchShortcut}) |
                      (switches.Desktop ? ioDesktopShortcut : 0u);
  installer.StartMenuFolderKind = !switches.StartMenu             ? fkNone
                                  : facts.CommonProgramsAvailable ? fkCommonPrograms
                                                                  : fkMyPrograms;
  if (installer.Install()) {
    Say(log, L"Installed " + installer.TargetExePath);
    return secDone;
  }
  Say(log, InstallFailedMessage(product.ProductName, folder));
  return secFailed;
}

int RunUnattendedRemoval(TQorvelInstallation& installation, const std::wstring& configPath, const TSetupLogLine& log) {
  if (configPath.empty() || !FileExists(configPath)) {
    Say(log, L"Configuration file needed to uninstall application not found.");
    return secFailed;
  }
  TUnattendedPrompt prompt(log);
  TQorvelUninstaller uninstaller({}, &prompt);
  uninstaller.ConfigPath = configPath;
  uninstaller.Identity = InstallIdentityOf(installation);
  uninstaller.OnLog = log;
  uninstaller.Unattended = true;
  try {
    uninstaller.LoadConfig();
  } catch (const std::exception& error) {
    Say(log, Widen(error.what()));
    return secFailed;
  }
  if (!ProgramClosed(installation, log)) return secFailed;
  if (uninstaller.Uninstall()) {
    Say(log, L"Uninstalled " + uninstaller.ProductName);
    return secDone;
  }
  Say(log, UninstallFailedMessage(uninstaller.ProductName));
  return secFailed;
}
