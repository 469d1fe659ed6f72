#pragma once
// What the installation asks of the system before it starts: the rights of this process,
// the folders it may propose and the user's number format.

#include <string>

#include "install/QorvelInstallWizardRules.h"

struct TInstallSystemFacts {
  TElevation Elevation = TElevation::Elevated;
  bool CommonProgramsAvailable = true;
  bool QuickLaunchAvailable = false;
  std::wstring MyDocumentsFolder, ProgramFilesFolder, SystemFolder;
  std::wstring ThousandsSeparator = L",", DecimalSeparator = L".";
};
TInstallSystemFacts CurrentInstallSystemFacts();
