#pragma once
// The texts of the installation and uninstallation wizards, composed from the product data.

#include <string>

#include "install/InstallationModes.h"

// The product data the wizard shows; empty fields take their defaults through
// CompleteProductData.
struct TInstallProductData {
  std::wstring CompanyName;
  std::wstring ProductName;
  std::wstring ProductVersion;
  std::wstring LongProductName;
  std::wstring DefaultFolder;
  std::wstring PortableDefaultFolder;
  std::wstring RegistryKey;
  TQorvelApplicationType ApplicationType = patProgram;
  TQorvelLicenseType LicenseType = pltNormal;
};

// What the program's version resource says, and the application's title.
struct TVersionTexts {
  std::wstring CompanyName;
  std::wstring ProductName;
  std::wstring ProductVersion;
  std::wstring ApplicationTitle;
};

// Fills every empty field with its default, from the version texts where they come from.
TInstallProductData CompleteProductData(TInstallProductData data, const TVersionTexts& version);

std::wstring Trimmed(const std::wstring& text);
// "Qorvel Vindle 1.0", trimmed.
std::wstring LongNameAndVersion(const TInstallProductData& data);
// The installer's start-menu group: the company, in its own subfolder for screen savers.
std::wstring InstallGroupName(const TInstallProductData& data);

struct TInstallWizardTexts {
  std::wstring Caption;
  std::wstring WelcomeCaption, WelcomeText;
  std::wstring LicenseIntro, LicenseAgreement;
  std::wstring TypeLabel, LocalLabel, PortableLabel;
  std::wstring PreviousComment, ExistingLabel;
  std::wstring FolderComment, FolderLabel, SpaceNeededLabel;
  std::wstring StartMenuComment, StartMenuLabel;
  std::wstring InstallingLabel;
  std::wstring CompletedComment, CompletedText, StartCheckBox;
};
TInstallWizardTexts InstallWizardTexts(const TInstallProductData& data);

// The state-dependent text under "Uninstall previous installation".
std::wstring UninstallPreviousText(bool configurationFound);
// "Available space on drive X:"
std::wstring AvailableSpaceLabel(wchar_t driveLetter);

std::wstring NotAdministratorQuestion(const std::wstring& product);
std::wstring FolderExistsQuestion(const std::wstring& folder, const std::wstring& product);
std::wstring CancelSetupQuestion(const std::wstring& product);
std::wstring InstallFailedMessage(const std::wstring& product, const std::wstring& folder);
std::wstring UninstallFailedMessage(const std::wstring& product);
// Asked when the running program did not end when asked to: Retry asks again, Cancel stops
// before anything is changed.
std::wstring ProgramStillRunningQuestion(const std::wstring& product);
std::wstring ProgramStillRunningCaption(const std::wstring& product);
// The completion page of the uninstallation, when some listed entries were left in place.
std::wstring LeftEntriesIntro();
// When the elevation prompt was declined or could not show.
std::wstring ElevationNeededText(const std::wstring& product);

struct TUninstallWizardTexts {
  std::wstring Caption;
  std::wstring WelcomeCaption, WelcomeText;
  std::wstring CompletedCaption, CompletedText;
};
TUninstallWizardTexts UninstallWizardTexts(const std::wstring& product);

// The agreement for `type` with "[CompanyName]" and "[ProductName]" (any case) replaced by
// the upper-cased names.
std::wstring LicenseAgreement(TQorvelLicenseType type, const std::wstring& company, const std::wstring& product);
// Replaces every occurrence of `placeholder`, compared without case.
std::wstring ReplacePlaceholder(std::wstring text, const std::wstring& placeholder, const std::wstring& value);
std::wstring UpperCase(std::wstring text);
