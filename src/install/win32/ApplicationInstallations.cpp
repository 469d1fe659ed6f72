#include "install/win32/ApplicationInstallations.h"

#include "install/QorvelFileVersionInfo.h"
#include "install/win32/QorvelUninstallers.h"

TApplicationInstallation::TApplicationInstallation() { SetDefaults(); }

void TApplicationInstallation::SetDefaults() {
  LicenseType = pltFree;
  CompanyName = L"Qorvel";
  DefaultFolder = L"Qorvel\\Vindle";
  Logo = L"LOGOBITMAP";
  FAppTitle = InstallationAppTitle(AppVersionInfo().ProductName(), Mode());
}

void TApplicationInstallation::AddUninstallItems(TQorvelUninstaller& uninstaller) {
  uninstaller.RegistryValues.Add(AutostartRegistryValuePath, uaRemove, ulOptional);
}

TApplicationInstallation& ApplicationInstallation() {
  static TApplicationInstallation installation;
  return installation;
}
