#pragma once
// The installer: copies the running setup file to its target with the marker of the install
// kind, and for a local installation writes the registry entries, the shortcuts and the
// uninstaller, recording everything it creates.

#include <cstdint>
#include <functional>
#include <string>

#include "install/InstallerRules.h"
#include "install/win32/QorvelUninstallers.h"

class TInstallRollback;

class TQorvelInstaller {
 public:
  // `sourcePath` is the running setup file; its first `payloadSize` bytes are the program.
  TQorvelInstaller(std::wstring sourcePath, std::uint32_t payloadSize, IQorvelSettingsPrompt* prompt = nullptr);
  TQorvelInstaller(const TQorvelInstaller&) = delete;
  TQorvelInstaller& operator=(const TQorvelInstaller&) = delete;

  const std::wstring& SourcePath() const { return FSourcePath; }
  std::uint32_t PayloadSize() const { return FPayloadSize; }
  std::uint32_t BytesCopied() const { return FBytesCopied; }

  TQorvelInstallKind InstallKind = ikLocal;
  std::wstring TargetFolder;   // with trailing backslash
  std::wstring TargetExePath;  // set by Install
  std::wstring CompanyName;
  std::wstring ProductName;
  TQorvelApplicationType ApplicationType = patProgram;
  std::wstring RegistryKey;                                  // below "\SOFTWARE\"
  std::wstring GroupName;                                    // start-menu subfolder
  std::wstring ShortcutName;                                 // without ".lnk"
  TQorvelFolderKind StartMenuFolderKind = fkCommonPrograms;  // or fkMyPrograms, fkNone
  std::uint32_t Options = DefaultInstallOptions;
  std::wstring PreviousDirectory;  // with trailing backslash
  std::wstring PreviousConfig;
  std::wstring PreviousVersion;
  TQorvelUninstaller Uninstaller;
  TQorvelProgressEvent OnProgress;
  // Every step, created, written, recorded or failed (the setup's log); the uninstaller's too.
  void SetLog(std::function<void(const std::wstring& line)> log) {
    FLog = log;
    Uninstaller.OnLog = std::move(log);
  }
  // Where Retry/Cancel questions go (an unattended run answers them itself).
  void SetPrompt(IQorvelSettingsPrompt* prompt);

  // Reads "Directory", "Config" and "Version" of an earlier installation under RegistryKey;
  // true when a directory was found.
  bool FindPreviousInstallation();
  // Runs all steps; false when any failed (exceptions included). A failed step ends the run
  // and everything this run made or replaced is taken back (and logged as undone): a failed
  // installation registers nothing, and a previous one stays as it was.
  bool Install();
  // The names this installation uses, which bound what its uninstaller may remove. The
  // registry values recorded before installing (the autostart value) belong to it too.
  TInstallIdentity Identity() const;

 private:
  bool RunSteps();
  bool CopyPayload();
  void CopyInto(void* targetFile);
  bool WriteRegistry(const std::wstring& configPath, const std::wstring& productVersion);
  bool CreateShortcuts(const std::wstring& description);
  bool CreateShortcutIn(const std::wstring& folder, const std::wstring& description);
  bool CommitUninstaller(const std::wstring& configPath);
  void Report(TQorvelInstallStage stage, int percent);
  void Log(const std::wstring& line) const {
    if (FLog) FLog(line);
  }

  std::wstring FSourcePath;
  std::uint32_t FPayloadSize;
  std::uint32_t FBytesCopied = 0;
  IQorvelSettingsPrompt* FPrompt;
  std::function<void(const std::wstring& line)> FLog;
  TInstallRollback* FRollback = nullptr;  // the running Install's
};
