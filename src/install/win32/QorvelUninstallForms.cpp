#include "install/win32/QorvelUninstallForms.h"

#include "install/QorvelFileVersionInfo.h"
#include "install/QorvelInstallTexts.h"
#include "install/QorvelInstallWizardRules.h"
#include "install/SetupSwitches.h"
#include "install/UninstallScope.h"
#include "install/win32/QorvelInstallForms.h"
#include "install/win32/QorvelInstallations.h"
#include "install/win32/QorvelShellUtils.h"
#include "install/win32/QorvelUninstallers.h"

std::wstring UninstallProductName(const std::wstring& configPath, const std::wstring& fallback) {
  if (configPath.empty() || !FileExists(configPath)) return fallback;
  try {
    TQorvelUninstaller reader;
    reader.ConfigPath = configPath;
    reader.LoadConfig();
    if (!reader.ProductName.empty()) return reader.ProductName;
  } catch (const std::exception&) {
    // The removal itself reports what is wrong with the file.
  }
  return fallback;
}

namespace {
std::wstring FallbackProductName(const TQorvelInstallation& installation) {
  if (!installation.ProductName.empty()) return installation.ProductName;
  return AppVersionInfo().ProductName();
}
}  // namespace

TQorvelUninstallForm::TQorvelUninstallForm(TQorvelInstallation& installation, std::wstring configPath)
    : TQorvelWizardForm(
          UninstallWizardTexts(UninstallProductName(configPath, FallbackProductName(installation))).Caption,
          UninstallPageCount),
      FConfigPath(std::move(configPath)),
      FProduct(UninstallProductName(FConfigPath, FallbackProductName(installation))),
      FIdentity(InstallIdentityOf(installation)) {
  CloseRunningProgram = installation.CloseRunningProgram;
  OnLog = installation.LogSink();
  const TUninstallWizardTexts texts = UninstallWizardTexts(FProduct);
  AddHeader(upWelcome, texts.WelcomeCaption);
  AddLogo(upWelcome, installation.Logo, 41);
  AddLabel(upWelcome, texts.WelcomeText, 12, 199, 392, 81);
  AddWebLink(upWelcome, 282);

  AddHeader(upUninstalling, L"Uninstalling...");
  AddLabel(upUninstalling, L"Please wait while all objects are removed.", 12, 45, 392, 16);
  for (int i = 0; i < 4; ++i) {
    FStages[i] = AddLabel(upUninstalling, UninstallStageTexts[i], 30, 75 + 20 * i, 374, 16);
    ShowControl(FStages[i], false);
  }

  AddHeader(upCompleted, texts.CompletedCaption, L"All objects were removed");
  FCompletedLogo = AddLogo(upCompleted, installation.Logo, 41);
  // In the logo's place when the file listed entries that were not this installation's.
  FLeftEntries = AddLabel(upCompleted, L"", 12, 45, 392, 150);
  ShowControl(FLeftEntries, false);
  AddLabel(upCompleted, texts.CompletedText, 12, 199, 392, 40);
  AddWebLink(upCompleted, 282);

  FollowButtonStates(&UninstallWizardButtons);
  TQorvelWizard& wizard = Wizard();
  wizard.OnChangePage = [this] {
    if (Wizard().PageIndex() == upUninstalling) AfterPageShown([this] { Uninstall(); });
  };
  wizard.SetPageIndex(upWelcome);
}

void TQorvelUninstallForm::Uninstall() {
  std::vector<TLeftEntry> left;
  if (!RunUninstall(FConfigPath, FStages, FProduct, FIdentity, &left)) {
    EndWizard(IDCANCEL);
    return;
  }
  ShowLeftEntries(left);
  Wizard().SetPageIndex(upCompleted);
}

void TQorvelUninstallForm::ShowLeftEntries(const std::vector<TLeftEntry>& left) {
  if (left.empty()) return;
  std::wstring text = LeftEntriesIntro();
  for (const auto& line : LeftEntryLines(left, 10)) text += L"\r\n" + line;
  ::SetWindowTextW(FLeftEntries, text.c_str());
  if (FCompletedLogo) ShowControl(FCompletedLogo, false);
  ShowControl(FLeftEntries, true);
}

int RunUninstallWizard(TQorvelInstallation& installation, const std::wstring& configPath) {
  TQorvelUninstallForm form(installation, configPath);
  if (form.ShowModal() == TModalResult::Ok) return secDone;
  return form.Failed() ? secFailed : secCancelled;
}
