#pragma once
// The uninstaller: records what an installation creates, keeps it in "Installation.xml"
// and in the Windows uninstall entry, and removes it again.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "install/UninstallConfiguration.h"
#include "install/UninstallScope.h"
#include "install/win32/QorvelShellUtils.h"
#include "settings/SettingsFileRules.h"

class TQorvelUninstaller : public TQorvelUninstallConfiguration {
 public:
  // With a configuration path the file is read at once (LoadConfig; errors propagate).
  // Retry/Cancel questions go to `prompt`, which must outlive the uninstaller.
  explicit TQorvelUninstaller(std::wstring configPath = {}, IQorvelSettingsPrompt* prompt = nullptr);

  std::wstring ConfigPath;  // "Installation.xml"
  std::wstring ExePath;     // the installed executable
  std::wstring UninstallKeyName;
  std::wstring DisplayName;
  std::wstring Publisher = QorvelPublisher;
  std::wstring URLInfoAbout = QorvelWebAddress;
  std::wstring URLUpdateInfo = QorvelWebAddress;
  // What the system's list of programs shows besides the name.
  std::wstring DisplayVersion;
  std::uint32_t EstimatedSizeKB = 0;
  // The names this product's installations use: Uninstall touches nothing else.
  TInstallIdentity Identity;
  TQorvelProgressEvent OnProgress;
  // Every object removed, restored or left, and why (the setup's log).
  std::function<void(const std::wstring& line)> OnLog;
  // Nobody to ask: a file in use (the unattended uninstall command waits for this run from
  // the installed program file) is moved aside or deleted at the next restart instead.
  bool Unattended = false;
  // After Uninstall: what the file listed but was left alone, and why.
  std::vector<TLeftEntry> LeftEntries;

  // Adds the entries of ConfigPath to the lists. Throws EQorvelXmlError for a damaged file
  // and EQorvelFileError when it cannot be read.
  void LoadConfig();
  // Creates the uninstall entry under HKEY_LOCAL_MACHINE and records it for removal.
  // Answers false when the key cannot be created.
  bool RegisterUninstall();
  // Writes ConfigPath (hidden and system) and records it as a file to remove. Throws
  // EQorvelFileError when it cannot be written.
  void SaveConfig();
  // RegisterUninstall then SaveConfig, only when ConfigPath is set.
  bool Commit();
  // Removes what the configuration lists within this installation's scope (anything else is
  // left and reported in LeftEntries): files, then folders that hold nothing else (never a
  // tree, never through a link), then registry values. Only when every required file and
  // folder went do the configuration file, the registry keys (the uninstall entry among
  // them) and the folders that held the configuration go, so that a cancelled
  // uninstallation can be run again; then the company folder and key left empty go too.
  // True when every required object went and something was removed.
  bool Uninstall();

  void SetPrompt(IQorvelSettingsPrompt* prompt);

 private:
  enum class TRemoval { Gone, Failed, Left };
  bool RemoveFiles(const std::wstring& except);
  bool RemoveFolders(const std::wstring& config, bool holdingConfig);
  void CleanRegistryValues();
  // Whether an autostart command starts this installation's program (quoted or not).
  bool NamesThisProgram(const std::wstring& command) const;
  // Whether the key's "UninstallString" or "Config" names another configuration file.
  bool BelongsToOtherInstallation(HKEY root, const std::wstring& keyPath, const std::wstring& config) const;
  void RemoveRegistryKeys(const std::wstring& config);
  // A required file beside the configuration that the scope leaves, or nothing.
  std::wstring ProgramLeftOutside(const std::wstring& config) const;
  void RemoveEmptyCompanyFolder(const std::wstring& installFolder);
  void RemoveEmptyCompanyKey();
  // A listed file or folder: removed, or left with its reason, or (required, the user
  // cancelled) failed. A file listed as a folder is not this entry's object and counts as gone.
  TRemoval RemoveObject(const std::wstring& path, bool required, bool listedAsFolder);
  // What becomes of an object that is not to be deleted, or nothing when it may go.
  std::optional<TRemoval> KeptAsItIs(const std::wstring& path, DWORD attributes, bool listedAsFolder);
  bool PendingAtRestart(const std::wstring& path) const;
  bool RemoveAtRestart(const std::wstring& path, bool folder);
  // Asks Retry/Cancel for a required object; answers whether to try again.
  bool AskRetry(const std::wstring& path, bool required);
  void Report(TQorvelInstallStage stage, int percent);
  void Log(const std::wstring& line) const {
    if (OnLog) OnLog(line);
  }
  void Leave(const std::wstring& path, const std::wstring& reason);

  TUninstallScope FScope;
  int FRemoved = 0;
  std::vector<std::wstring> FPendingAtRestart;
  IQorvelSettingsPrompt* FPrompt;
};

// Hands the uninstallation from the installed copy to a temporary copy (the running file
// cannot delete itself). Without administrator rights, which removing a local installation
// needs, the installed program starts again with "-uninstall" and the elevation prompt and
// hands over from there. With them, the executable is copied as "QorvelUninstall.exe" into a
// new folder of the Windows "Temp" folder that only administrators can write (`copyPath`
// gets its path), RunOnce removes that folder at the next logon, and the copy starts with
// "-remove" and the configuration path (empty: "Installation.xml" beside the executable).
// `switches` go along; with `exitCode` the call waits for the run and keeps its exit code.
// Answers 0 when the run started, else the error (ERROR_CANCELLED: the prompt was declined).
DWORD StartUninstallFromCopy(const std::wstring& exePath, const std::wstring& configPath,
                             const std::wstring& switches = {}, DWORD* exitCode = nullptr,
                             TElevation elevation = CurrentElevation(), const TShellStarter& start = StartThroughShell,
                             std::wstring* copyPath = nullptr);

// The Win32 prompt of the program: message boxes without owner.
IQorvelSettingsPrompt& SystemInstallPrompt();
