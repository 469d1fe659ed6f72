#pragma once
// Vindle's installation data: company, folder, logo, licence, the portable title and the
// autostart value that an uninstallation removes.

#include "install/win32/QorvelInstallations.h"

// The autostart value the settings dialog writes, as the uninstaller lists it.
inline constexpr wchar_t AutostartRegistryValuePath[] =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\QorvelVindle";

class TApplicationInstallation : public TQorvelInstallation {
 public:
  TApplicationInstallation();
  void AddUninstallItems(TQorvelUninstaller& uninstaller) override;

 protected:
  void SetDefaults() override;
};

// The program's one installation object, created on first use at start-up.
TApplicationInstallation& ApplicationInstallation();
