#include "install/win32/QorvelInstallers.h"

#include <windows.h>

#include <vector>

#include "gui/Application.h"
#include "gui/Handles.h"
#include "install/QorvelFileVersionInfo.h"
#include "install/win32/InstallRollbacks.h"
#include "install/win32/QorvelShellUtils.h"
#include "install/win32/UninstallScopes.h"
#include "settings/ByteStreams.h"

namespace {

constexpr std::uint32_t ChunkSize = 65536;

// The arrow while a question shows, whatever the wizard set (an hourglass while installing).
class TArrowCursorScope {
 public:
  TArrowCursorScope() : FPrevious(::SetCursor(::LoadCursorW(nullptr, IDC_ARROW))) {}
  ~TArrowCursorScope() { ::SetCursor(FPrevious); }
  TArrowCursorScope(const TArrowCursorScope&) = delete;
  TArrowCursorScope& operator=(const TArrowCursorScope&) = delete;

 private:
  HCURSOR FPrevious;
};

std::wstring ReadString(HKEY key, const wchar_t* name) {
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
    return {};
  return buffer.data();
}

bool WriteString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

double Now() {
  SYSTEMTIME time{};
  ::GetLocalTime(&time);
  return DateTimeFromCivil(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond,
                           time.wMilliseconds);
}

}  // namespace

TQorvelInstaller::TQorvelInstaller(std::wstring sourcePath, std::uint32_t payloadSize, IQorvelSettingsPrompt* prompt)
    : Uninstaller({}, prompt),
      FSourcePath(std::move(sourcePath)),
      FPayloadSize(payloadSize),
      FPrompt(prompt ? prompt : &SystemInstallPrompt()) {}

void TQorvelInstaller::SetPrompt(IQorvelSettingsPrompt* prompt) {
  FPrompt = prompt ? prompt : &SystemInstallPrompt();
  Uninstaller.SetPrompt(prompt);
}

void TQorvelInstaller::Report(TQorvelInstallStage stage, int percent) {
  if (OnProgress) OnProgress(stage, percent);
}

bool TQorvelInstaller::FindPreviousInstallation() {
  PreviousDirectory.clear();
  PreviousConfig.clear();
  PreviousVersion.clear();
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, RegistrySubKey(InstallationRegistryKey(RegistryKey)).c_str(), 0, KEY_READ,
                      &opened) != ERROR_SUCCESS)
    return false;
  const TRegistryKey key(opened);
  const std::wstring directory = ReadString(key.Get(), L"Directory");
  if (!directory.empty()) PreviousDirectory = WithTrailingBackslash(directory);
  PreviousConfig = ReadString(key.Get(), L"Config");
  PreviousVersion = ReadString(key.Get(), L"Version");
  return !PreviousDirectory.empty();
}

bool TQorvelInstaller::Install() {
  TInstallRollback rollback(FLog);
  FRollback = &rollback;
  bool installed = false;
  try {
    installed = RunSteps();
  } catch (const std::exception& error) {
    Log(L"Failed: " + Widen(error.what()));
  }
  FRollback = nullptr;
  if (installed) rollback.Commit();
  return installed;
}

bool TQorvelInstaller::RunSteps() {
  TQorvelFileVersionInfo version(FSourcePath);
  TargetFolder = WithTrailingBackslash(TargetFolder);
  TargetExePath =
      InstalledExePath(TargetFolder, FSourcePath, version.Value(TQorvelFileVersionInfo::viOriginalFilename));
  // A name the system would change leaves a folder no later run can reach by its name.
  if (const std::wstring reason = NameTheSystemWouldChange(TargetFolder); !reason.empty()) {
    Log(L"Cannot install into " + TargetFolder + L": " + reason);
    return false;
  }
  if (!FRollback->CreateFolders(TargetFolder)) {
    Log(L"Could not create the folder " + TargetFolder);
    return false;
  }
  Log(L"Installing into " + TargetFolder);

  const std::wstring configPath =
      UninstallConfigPathFor(Options, ApplicationType, TargetFolder, CompanyName, ProductName,
                             SpecialFolderPath(fkCommonAppData), SpecialFolderPath(fkCommonDocuments));
  const std::wstring folder = WithoutTrailingBackslash(TargetFolder);
  if (ComparePathsIgnoringCase(folder, SpecialFolderPath(fkSystem)) != 0)
    Uninstaller.Folders.Add(folder, uaRemove, ulRequired);

  // Each step needs the one before it: a failure ends the run, and the rollback takes back
  // what it made.
  if (!CopyPayload()) return false;
  if (InstallKind == ikPortable) return true;

  if (!WriteRegistry(configPath, version.ProductVersion())) {
    Log(L"Could not write the installation key HKEY_LOCAL_MACHINE" + InstallationRegistryKey(RegistryKey));
    return false;
  }
  Log(L"Wrote the installation key HKEY_LOCAL_MACHINE" + InstallationRegistryKey(RegistryKey));
  if (StartMenuFolderKind != fkNone && !CreateShortcuts(version.Value(TQorvelFileVersionInfo::viFileDescription)))
    return false;
  if (Options & ioFileTypes) {
    // This program registers no file types; the stage still shows so the wizard's labels run.
    Report(isRegisteringFileTypes, 0);
    Report(isRegisteringFileTypes, 100);
  }
  if (Options & ioUninstaller) {
    Report(isPreparingUninstaller, 0);
    Log(L"Preparing the uninstaller");
    Uninstaller.DisplayVersion = version.ProductVersion();
    Uninstaller.EstimatedSizeKB = (FPayloadSize + 8 + 1023) / 1024;
    if (!CommitUninstaller(configPath)) return false;
    Report(isPreparingUninstaller, 100);
  }
  return true;
}

bool TQorvelInstaller::CopyPayload() {
  for (;;) {
    // An earlier copy moves aside (read-only or hidden, it could not be replaced as it is) and
    // comes back if this run fails.
    TFileHandle target;
    if (FRollback->PrepareFile(TargetExePath))
      target.Reset(::CreateFileW(TargetExePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
    if (!target) {
      const TArrowCursorScope arrow;
      if (FPrompt->AskRetryCancel("Error writing file", Narrow(CannotCreateFileText(TargetExePath)))) continue;
      Log(L"Could not create " + TargetExePath);
      return false;
    }
    Uninstaller.Files.Add(TargetExePath, uaRemove, ulRequired);
    try {
      CopyInto(target.Get());
      Log(L"Copied " + TargetExePath);
      return true;
    } catch (const std::exception& error) {
      Log(L"Could not copy " + TargetExePath + L": " + Widen(error.what()));
      return false;
    }
  }
}

void TQorvelInstaller::CopyInto(HANDLE target) {
  TFileHandle source(::CreateFileW(FSourcePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!source) throw EQorvelError("Cannot open file.");
  std::vector<char> buffer(ChunkSize);
  FBytesCopied = 0;
  while (FBytesCopied < FPayloadSize) {
    const DWORD wanted = std::min<std::uint32_t>(ChunkSize, FPayloadSize - FBytesCopied);
    DWORD read = 0;
    if (!::ReadFile(source.Get(), buffer.data(), wanted, &read, nullptr) || read != wanted)
      throw EQorvelError("Archive corrupt.");
    DWORD written = 0;
    if (!::WriteFile(target, buffer.data(), wanted, &written, nullptr) || written != wanted)
      throw EQorvelError("Cannot write file.");
    FBytesCopied += wanted;
    Report(isCopyingFiles, ::MulDiv(static_cast<int>(FBytesCopied), 100, static_cast<int>(FPayloadSize)));
  }
  const std::string marker = InstallKindMarker(InstallKind);
  DWORD written = 0;
  if (!::WriteFile(target, marker.data(), static_cast<DWORD>(marker.size()), &written, nullptr) ||
      written != marker.size())
    throw EQorvelError("Cannot write file.");
}

bool TQorvelInstaller::WriteRegistry(const std::wstring& configPath, const std::wstring& productVersion) {
  const std::wstring keyPath = InstallationRegistryKey(RegistryKey);
  FRollback->PrepareKey(RegistrySubKey(keyPath));
  HKEY created = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, RegistrySubKey(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_SET_VALUE, nullptr, &created, nullptr) != ERROR_SUCCESS)
    return false;
  const TRegistryKey key(created);
  Uninstaller.RegistryKeys.Add(JoinRegistryPath(RegistryRootLocalMachine, keyPath), uaRemove, ulRequired);
  bool written = WriteString(key.Get(), L"Directory", WithoutTrailingBackslash(TargetFolder));
  if (!configPath.empty()) written = WriteString(key.Get(), L"Config", configPath) && written;
  written = WriteString(key.Get(), L"Version", productVersion) && written;
  // The first installation keeps its date; later ones only update.
  const bool installedBefore =
      ::RegQueryValueExW(key.Get(), L"InstallDate", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  const double now = Now();
  written = ::RegSetValueExW(key.Get(), installedBefore ? L"UpdateDate" : L"InstallDate", 0, REG_BINARY,
                             reinterpret_cast<const BYTE*>(&now), sizeof(now)) == ERROR_SUCCESS &&
            written;
  return written;
}

bool TQorvelInstaller::CreateShortcuts(const std::wstring& description) {
  Report(isCreatingShortcuts, 0);
  bool created = true;
  if (Options & ioStartMenuShortcut) {
    const std::wstring programs = SpecialFolderPath(StartMenuFolderKind);
    const std::wstring group = programs.empty() ? std::wstring() : WithTrailingBackslash(programs) + GroupName;
    created = CreateShortcutIn(group, description) && created;
    if (FolderExists(group)) Uninstaller.Folders.Add(WithoutTrailingBackslash(group), uaRemove, ulOptional);
  }
  if (Options & ioDesktopShortcut) created = CreateShortcutIn(SpecialFolderPath(fkDesktop), description) && created;
  if (Options & ioQuickLaunchShortcut) {
    // Only where the quick-launch bar exists; elsewhere the option has nothing to add to.
    if (const std::wstring quickLaunch = QuickLaunchFolder(); !quickLaunch.empty())
      created = CreateShortcutIn(quickLaunch, description) && created;
  }
  Report(isCreatingShortcuts, 100);
  return created;
}

bool TQorvelInstaller::CreateShortcutIn(const std::wstring& folder, const std::wstring& description) {
  if (folder.empty() || !FRollback->CreateFolders(folder)) return false;
  TQorvelShortcut shortcut;
  shortcut.LinkPath = WithTrailingBackslash(folder) + ShortcutName + L".lnk";
  if (!FRollback->PrepareFile(shortcut.LinkPath)) {
    Log(L"Could not replace the shortcut " + shortcut.LinkPath);
    return false;
  }
  shortcut.Target = TargetExePath;
  shortcut.WorkingFolder = WithoutTrailingBackslash(FolderOf(TargetExePath));
  shortcut.Description = description;
  if (!CreateShortcut(shortcut)) {
    Log(L"Could not create the shortcut " + shortcut.LinkPath);
    return false;
  }
  Log(L"Created the shortcut " + shortcut.LinkPath);
  Uninstaller.Files.Add(shortcut.LinkPath, uaRemove, ulRequired);
  return true;
}

bool TQorvelInstaller::CommitUninstaller(const std::wstring& configPath) {
  Uninstaller.ExePath = TargetExePath;
  Uninstaller.ConfigPath = configPath;
  Uninstaller.Identity = Identity();
  // Keep what this product's previous installation recorded, and only that: any other file
  // of that name in the folder would otherwise become a list of things to delete later.
  const std::wstring config = LongCanonicalPath(configPath);
  if (!PreviousConfig.empty() && ComparePathsIgnoringCase(LongCanonicalPath(PreviousConfig), config) == 0 &&
      FileExists(configPath)) {
    TQorvelUninstallConfiguration previous;
    try {
      TQorvelFileStream stream(std::filesystem::path(configPath), TQorvelFileMode::OpenRead);
      ReadUninstallConfiguration(stream, previous);
    } catch (const EQorvelError&) {
      previous = {};  // a damaged file: its entries are lost, the new ones are still written
    }
    if (ComparePathsIgnoringCase(previous.ProductName, ProductName) == 0) {
      Log(L"Keeping what the previous installation recorded in " + configPath);
      RestrictToScope(previous, MakeUninstallScope(config, Uninstaller.Identity, SystemScopeFolders()),
                      LongCanonicalPath);
      const auto merge = [](TQorvelUninstallList& into, const TQorvelUninstallList& from) {
        for (const auto& entry : from) into.Add(entry.Path, entry.Information);
      };
      merge(Uninstaller.Folders, previous.Folders);
      merge(Uninstaller.Files, previous.Files);
      merge(Uninstaller.RegistryKeys, previous.RegistryKeys);
      merge(Uninstaller.RegistryValues, previous.RegistryValues);
    }
  }
  FRollback->PrepareKey(RegistrySubKey(UninstallRegistryKey(Uninstaller.UninstallKeyName)));
  if (!FRollback->CreateFolders(FolderOf(configPath)) || !FRollback->PrepareFile(configPath)) {
    Log(L"Could not replace " + configPath);
    return false;
  }
  return Uninstaller.Commit();
}

TInstallIdentity TQorvelInstaller::Identity() const {
  TInstallIdentity identity{RegistryKey, Uninstaller.UninstallKeyName, GroupName, ShortcutName, {}};
  for (const auto& value : Uninstaller.RegistryValues) identity.RegistryValues.push_back(value.Path);
  return identity;
}
