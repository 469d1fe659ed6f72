#pragma once
// The uninstaller: records what an installation creates, keeps it in "Installation.xml"
// and in the Windows uninstall entry, and removes it again.

#include <string>

#include "install/QorvelUninstallers.h"
#include "settings/QorvelSettingsStorage.h"

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
  TQorvelProgressEvent OnProgress;

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
  // Removes files, then folders (only empty ones, never a tree), then registry values and
  // keys, each list from last to first. True when every required object went; the registry
  // is cleaned even when a file or folder stays.
  bool Uninstall();

  void SetPrompt(IQorvelSettingsPrompt* prompt);

 private:
  bool RemoveFiles();
  bool RemoveFolders();
  void CleanRegistryValues();
  void RemoveRegistryKeys();
  // Retries the removal while it fails and the user answers Retry; required objects only ask.
  bool RemoveWithRetry(const std::wstring& path, bool required, bool (*remove)(const std::wstring&));
  void Report(TQorvelInstallStage stage, int percent);

  IQorvelSettingsPrompt* FPrompt;
};

// Hands the uninstallation from the installed copy to a temporary copy (the running file
// cannot delete itself): copies the executable to the Windows "Temp" folder as
// "QorvelUninstall.exe", asks RunOnce to delete it at the next logon and starts it with
// "-remove" and the configuration path (empty: "Installation.xml" beside the executable).
// Answers whether the copy started.
bool StartUninstallFromCopy(const std::wstring& exePath, const std::wstring& configPath);

// The Win32 prompt of the program: message boxes without owner.
IQorvelSettingsPrompt& SystemInstallPrompt();
