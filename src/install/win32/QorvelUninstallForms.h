#pragma once
// The uninstallation wizard of the temporary uninstaller copy: a question, the removal with
// its stages, and the goodbye.

#include <string>
#include <vector>

#include "install/win32/QorvelWizardForms.h"

class TQorvelInstallation;

class TQorvelUninstallForm : public TQorvelWizardForm {
 public:
  TQorvelUninstallForm(TQorvelInstallation& installation, std::wstring configPath);

  const std::wstring& ProductName() const { return FProduct; }
  const std::wstring& ConfigPath() const { return FConfigPath; }

 private:
  void Uninstall();

  void ShowLeftEntries(const std::vector<TLeftEntry>& left);

  std::wstring FConfigPath;
  std::wstring FProduct;
  TInstallIdentity FIdentity;
  HWND FStages[4] = {};
  HWND FCompletedLogo = nullptr;
  HWND FLeftEntries = nullptr;
};

// The product name the configuration file stores; `fallback` when it cannot be read.
std::wstring UninstallProductName(const std::wstring& configPath, const std::wstring& fallback);

// Runs the uninstallation wizard modally; answers whether everything was removed.
int RunUninstallWizard(TQorvelInstallation& installation, const std::wstring& configPath);
