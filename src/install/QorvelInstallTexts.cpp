#include "install/QorvelInstallTexts.h"

#include <cwctype>

#include "install/QorvelLicenseTexts.h"

namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

}  // namespace

std::wstring Trimmed(const std::wstring& text) {
  std::size_t first = 0, last = text.size();
  while (first < last && IsSpace(text[first])) ++first;
  while (last > first && IsSpace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::wstring UpperCase(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

std::wstring ReplacePlaceholder(std::wstring text, const std::wstring& placeholder, const std::wstring& value) {
  if (placeholder.empty()) return text;
  const std::wstring key = UpperCase(placeholder);
  std::wstring upper = UpperCase(text);
  std::size_t at = 0;
  while ((at = upper.find(key, at)) != std::wstring::npos) {
    text.replace(at, key.size(), value);
    upper.replace(at, key.size(), UpperCase(value));
    at += value.size();
  }
  return text;
}

TInstallProductData CompleteProductData(TInstallProductData data, const TVersionTexts& version) {
  if (data.CompanyName.empty()) data.CompanyName = version.CompanyName;
  if (data.ProductName.empty())
    data.ProductName = version.ProductName.empty() ? version.ApplicationTitle : version.ProductName;
  if (data.ProductVersion.empty()) data.ProductVersion = version.ProductVersion;
  if (data.LongProductName.empty()) data.LongProductName = Trimmed(data.CompanyName + L" " + data.ProductName);
  if (data.DefaultFolder.empty()) data.DefaultFolder = data.CompanyName + L"\\" + data.ProductName;
  if (data.PortableDefaultFolder.empty()) data.PortableDefaultFolder = data.DefaultFolder;
  if (data.RegistryKey.empty())
    data.RegistryKey =
        data.ApplicationType == patScreenSaver ? L"Qorvel\\ScreenSaver\\" + data.ProductName : data.DefaultFolder;
  return data;
}

std::wstring LongNameAndVersion(const TInstallProductData& data) {
  return Trimmed(data.LongProductName + L" " + data.ProductVersion);
}

std::wstring InstallGroupName(const TInstallProductData& data) {
  return data.ApplicationType == patScreenSaver ? data.CompanyName + L"\\screensavers" : data.CompanyName;
}

TInstallWizardTexts InstallWizardTexts(const TInstallProductData& data) {
  const std::wstring& product = data.ProductName;
  const std::wstring paragraph = L"\r\n\r\n";
  TInstallWizardTexts t;
  t.Caption = product + L" Setup";
  t.WelcomeCaption = L"Welcome to " + product;
  t.WelcomeText = L"You are about to install " + LongNameAndVersion(data) + L"." + paragraph +
                  L"It is stongly recommended that you exit all Windows programs before running this Setup program." +
                  paragraph + L"Click Cancel to quit Setup, click Next to continue.";
  t.LicenseIntro =
      L"Please read the following license agreement. Use the scroll bar to view the rest of this agreement.";
  t.LicenseAgreement = LicenseAgreement(data.LicenseType, data.CompanyName, product);
  t.TypeLabel = product + L" can be installed either as local application or as a portable application.";
  t.LocalLabel = L"Install " + product + L" as a normal Windows application to a local harddisk drive." +
                 L" Add a start menu entry and an uninstaller. User specific settings are stored locally for each"
                 L" user separately" +
                 L" (recommended for work stations or family PCs).";
  t.PortableLabel =
      L"Install " + product + L" as a portable application to an USB key drive or similar removable device." +
      L" No start menu is available, and there is no uninstaller (files have to be removed manually)," +
      L" but you can take the application with you and run it on another computer, or copy / move it to another"
      L" folder without reinstalling it." +
      L" Settings are shared among all users (recommended only for a single experienced user).";
  t.PreviousComment = product + L" already installed";
  t.ExistingLabel = L"A prevoious installation of " + product + L" was detected. You have following options:";
  t.FolderComment = L"Where " + product + L" will be installed";
  t.FolderLabel = product + L" will be installed into the following folder:";
  t.SpaceNeededLabel = L"Space needed to install " + product + L":";
  t.StartMenuComment = L"Create icons to start " + product;
  t.StartMenuLabel = L"To start " + product + L" easily, an item is added to your Windows start menu.";
  t.InstallingLabel = L"Please wait while " + product + L" is installed...";
  t.CompletedComment = L"You can start " + product + L" now";
  t.CompletedText = L"Thank you for taking the time. " + LongNameAndVersion(data) + L" was successfully installed.";
  t.StartCheckBox = data.ApplicationType == patScreenSaver ? L"Open screen saver panel" : L"Start " + product + L" now";
  return t;
}

std::wstring UninstallPreviousText(bool configurationFound) {
  return configurationFound ? L"Previous application files are removed. Your personal settings might be lost."
                            : L"Uninstalling not possible (configuration file not found). Try uninstalling the "
                              L"previous version manually (use the Windows control panel).";
}

std::wstring AvailableSpaceLabel(wchar_t driveLetter) {
  return std::wstring(L"Available space on drive ") + driveLetter + L":";
}

std::wstring NotAdministratorQuestion(const std::wstring& product) {
  return L"You are not logged on as an administrator. To install " + product +
         L" locally it is highly recommended, that you have administrator rights. Are you sure you want to "
         L"continue?";
}

std::wstring FolderExistsQuestion(const std::wstring& folder, const std::wstring& product) {
  return folder + L" already exists. Do you want to install " + product +
         L" to this folder, overriding existing files?";
}

std::wstring CancelSetupQuestion(const std::wstring& product) {
  return L"You have not finished installing " + product + L". If you exit Setup now, " + product +
         L" will not be installed. Are you sure you want to cancel Setup?";
}

std::wstring InstallFailedMessage(const std::wstring& product, const std::wstring& folder) {
  return L"An error occured while installing " + product + L" to " + folder + L". " + product +
         L" might not work properly.";
}

std::wstring UninstallFailedMessage(const std::wstring& product) {
  return L"An error occured while uninstalling " + product + L".";
}

std::wstring ProgramStillRunningQuestion(const std::wstring& product) {
  return product + L" is still running and did not close when asked to. Exit " + product +
         L" (right-click its icon in the notification area and choose Exit), then click Retry." +
         L"\r\n\r\nCancel stops here; nothing has been changed.";
}

std::wstring ProgramStillRunningCaption(const std::wstring& product) { return product + L" is running"; }

std::wstring ElevationNeededText(const std::wstring& product) {
  return L"A local installation of " + product +
         L" needs administrator rights; choose Portable setup to install without them.";
}

std::wstring LeftEntriesIntro() { return L"These entries were left in place:"; }

TUninstallWizardTexts UninstallWizardTexts(const std::wstring& product) {
  const std::wstring paragraph = L"\r\n\r\n";
  TUninstallWizardTexts t;
  t.Caption = L"Uninstall " + product;
  t.WelcomeCaption = L"Uninstall " + product;
  t.WelcomeText = L"You are about to uninstall " + product + L"." + paragraph +
                  L"Are you sure you want to remove all application objects?" + paragraph +
                  L"Click Cancel to quit Uninstall.";
  t.CompletedCaption = product + L" successfully uninstalled";
  t.CompletedText = L"Thank you for taking the time. " + product + L" was successfully uninstalled.";
  return t;
}

std::wstring LicenseAgreement(TQorvelLicenseType type, const std::wstring& company, const std::wstring& product) {
  std::wstring text = type == pltFree ? FreeLicenseText() : NormalLicenseText();
  text = ReplacePlaceholder(std::move(text), L"[CompanyName]", UpperCase(company));
  return ReplacePlaceholder(std::move(text), L"[ProductName]", UpperCase(product));
}
