#pragma once
// The installation object: reads the command line and the executable's marker once, at
// start-up, and decides whether this run installs, uninstalls or runs the program.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "install/InstallationModes.h"
#include "install/SetupSwitches.h"
#include "install/win32/SetupLogs.h"

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
  // The command line after the program's name.
  const std::vector<std::wstring>& Arguments() const { return FArguments; }
  // A setup started again elevated to go on with the local setup.
  bool ResumesLocalSetup() const { return FResumesLocalSetup; }

  // Product data for the wizards; empty fields take the wizard's defaults.
  std::wstring CompanyName, ProductName, LongProductName, ProductVersion;
  TQorvelApplicationType ApplicationType = patProgram;
  std::wstring DefaultFolder, PortableDefaultFolder, RegistryKey;
  std::wstring Logo;  // name of the bitmap resource the wizards show
  TQorvelLicenseType LicenseType = pltNormal;
  // The folder /dir names for the wizard to propose; empty: its own proposal.
  std::wstring RequestedFolder;

  // The wizards that drive the engine, and the unattended runs (/silent) beside them. The
  // installation gets this object and an installer for the running setup file (its
  // uninstaller already holds AddUninstallItems); the uninstallation gets this object and
  // the configuration path. All answer a TSetupExitCode. The wizard module sets them before
  // RunInstallationStep runs; without them, setup and removal starts say so and end.
  std::function<int(TQorvelInstallation&, TQorvelInstaller&)> InstallWizard;
  std::function<int(TQorvelInstallation&, const std::wstring& configPath)> UninstallWizard;
  std::function<int(TQorvelInstallation&, TQorvelInstaller&, const TSetupSwitches&)> UnattendedSetup;
  std::function<int(TQorvelInstallation&, const std::wstring& configPath)> UnattendedRemoval;
  // Asks a running copy of the program to end as Exit would, and answers whether none runs
  // any more. The wizards call it before they replace or remove files; the program sets it.
  std::function<bool()> CloseRunningProgram;

  // Runs setup, the uninstall hand-over or removal for those modes and answers false (the
  // process then ends with ExitCode()); answers true when the program should run normally.
  virtual bool RunInstallationStep();
  int ExitCode() const { return FExitCode; }

  // The run's log: the file /log names, or for unattended runs one in the temporary folder.
  void Log(const std::wstring& line) const;
  TSetupLogLine LogSink() const {
    return [this](const std::wstring& line) { Log(line); };
  }

  // What every installation of this program leaves behind besides its own files.
  virtual void AddUninstallItems(TQorvelUninstaller& uninstaller);

 protected:
  virtual void SetDefaults() {}
  std::wstring FAppTitle;

 private:
  void Detect();
  int RunSetup();
  int StartUninstall();
  int RunRemove();
  // The switches after the mode's own arguments; a refusal is reported and answers nothing.
  std::optional<TSetupSwitches> Switches(std::size_t skip, bool removal);
  // False when the /log file cannot be written (said on the console or in a log in %TEMP%).
  bool OpenLog(const TSetupSwitches& switches);
  void ShowText(const std::wstring& text, bool error, bool quiet) const;

  TInstallationMode FMode = imPlain;
  std::wstring FExePath;
  std::uint32_t FExeSize = 0;
  std::uint32_t FPayloadSize = 0;
  std::wstring FConfigPath;
  std::vector<std::wstring> FArguments;
  bool FResumesLocalSetup = false;
  int FExitCode = 0;
  bool FQuiet = false;  // /silent: no boxes
  std::unique_ptr<TSetupLog> FLog;
};
