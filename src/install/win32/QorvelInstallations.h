#pragma once
// The installation object: reads the command line and the executable's marker once, at
// start-up, and decides whether this run installs, uninstalls or runs the program.

#include <cstdint>
#include <functional>
#include <string>

#include "install/QorvelInstallations.h"

class TQorvelInstaller;
class TQorvelUninstaller;

class TQorvelInstallation {
 public:
  TQorvelInstallation();
  virtual ~TQorvelInstallation() = default;
  TQorvelInstallation(const TQorvelInstallation&) = delete;
  TQorvelInstallation& operator=(const TQorvelInstallation&) = delete;

  TInstallationMode Mode() const { return FMode; }
  const std::wstring& ExePath() const { return FExePath; }
  std::uint32_t ExeSize() const { return FExeSize; }
  std::uint32_t PayloadSize() const { return FPayloadSize; }
  const std::wstring& ConfigPath() const { return FConfigPath; }
  const std::wstring& AppTitle() const { return FAppTitle; }
  // A setup started again elevated to go on with the local setup.
  bool ResumesLocalSetup() const { return FResumesLocalSetup; }

  // Product data for the wizards; empty fields take the wizard's defaults.
  std::wstring CompanyName, ProductName, LongProductName, ProductVersion;
  TQorvelApplicationType ApplicationType = patProgram;
  std::wstring DefaultFolder, PortableDefaultFolder, RegistryKey;
  std::wstring Logo;  // name of the bitmap resource the wizards show
  TQorvelLicenseType LicenseType = pltNormal;

  // The wizards that drive the engine. The installation wizard gets this object and an
  // installer for the running setup file (its uninstaller already holds AddUninstallItems);
  // the uninstallation wizard gets this object and the configuration path. Both answer
  // whether they finished. The wizard module sets them before RunInstallationStep runs;
  // without them, setup and removal starts say so and end.
  std::function<bool(TQorvelInstallation&, TQorvelInstaller&)> InstallWizard;
  std::function<bool(TQorvelInstallation&, const std::wstring& configPath)> UninstallWizard;
  // Asks a running copy of the program to end as Exit would, and answers whether none runs
  // any more. The wizards call it before they replace or remove files; the program sets it.
  std::function<bool()> CloseRunningProgram;

  // Runs setup, the uninstall hand-over or removal for those modes and answers false (the
  // process then ends); answers true when the program should run normally.
  virtual bool RunInstallationStep();

  // What every installation of this program leaves behind besides its own files.
  virtual void AddUninstallItems(TQorvelUninstaller& uninstaller);

 protected:
  virtual void SetDefaults() {}
  std::wstring FAppTitle;

 private:
  void Detect();
  bool RunSetup();
  bool RunRemove();

  TInstallationMode FMode = imPlain;
  std::wstring FExePath;
  std::uint32_t FExeSize = 0;
  std::uint32_t FPayloadSize = 0;
  std::wstring FConfigPath;
  bool FResumesLocalSetup = false;
};
