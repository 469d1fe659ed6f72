#include "install/win32/QorvelUninstallers.h"

#include <windows.h>

#include <algorithm>
#include <objbase.h>
#include <sddl.h>
#include <shellapi.h>

#include <memory>

#include "gui/Application.h"
#include "gui/Handles.h"
#include "install/InstallerRules.h"
#include "install/win32/QorvelShellUtils.h"
#include "install/win32/UninstallScopes.h"
#include "settings/ByteStreams.h"

namespace {

// A program file that runs (the uninstall command itself waits for this removal when it
// runs unattended) cannot be deleted, but it can be moved: it goes to the temporary folder
// and is deleted when Windows next starts.
bool MoveAsideUntilRestart(const std::wstring& path) {
  const std::wstring aside = WithTrailingBackslash(WindowsTempFolder()) + L"QorvelRemoved-" +
                             std::to_wstring(::GetCurrentProcessId()) + L"-" + FileNameOf(path);
  if (!::MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
  ::MoveFileExW(aside.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return true;
}

// Deletes a file or an empty folder. A link goes as it is; other objects lose their
// protecting attributes first and get them back when they stay.
bool DeleteObject(const std::wstring& path, bool folder) {
  const auto remove = [&] { return folder ? ::RemoveDirectoryW(path.c_str()) : ::DeleteFileW(path.c_str()); };
  if (IsLink(path)) return remove() != FALSE;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  ClearProtectingAttributes(path);
  if (remove()) return true;
  ::SetFileAttributesW(path.c_str(), attributes);
  return false;
}

bool KeyIsEmpty(HKEY root, const std::wstring& keyPath) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, keyPath.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  const TRegistryKey key(opened);
  DWORD subkeys = 0, values = 0;
  return ::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

constexpr wchar_t HoldsOtherFiles[] = L"holds files it did not install";
constexpr wchar_t BehindALink[] = L"reached through a link";

// A registry key opened for writing values, without creating it.
TRegistryKey OpenExistingKey(HKEY root, const std::wstring& keyPath, REGSAM access) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, RegistrySubKey(keyPath).c_str(), 0, access, &opened) != ERROR_SUCCESS) return {};
  return TRegistryKey(opened);
}

bool WriteString(HKEY key, const wchar_t* name, const std::wstring& value, DWORD type = REG_SZ) {
  return ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring ReadString(HKEY key, const wchar_t* name) {
  DWORD type = 0, size = 0;
  if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
    return {};
  text.resize(::wcsnlen(text.c_str(), text.size()));
  return text;
}

}  // namespace

IQorvelSettingsPrompt& SystemInstallPrompt() {
  static TQorvelSystemPrompt prompt;
  return prompt;
}

TQorvelUninstaller::TQorvelUninstaller(std::wstring configPath, IQorvelSettingsPrompt* prompt)
    : ConfigPath(std::move(configPath)), FPrompt(prompt ? prompt : &SystemInstallPrompt()) {
  if (!ConfigPath.empty()) LoadConfig();
}

void TQorvelUninstaller::SetPrompt(IQorvelSettingsPrompt* prompt) {
  FPrompt = prompt ? prompt : &SystemInstallPrompt();
}

void TQorvelUninstaller::Report(TQorvelInstallStage stage, int percent) {
  if (OnProgress) OnProgress(stage, percent);
}

void TQorvelUninstaller::LoadConfig() {
  TQorvelFileStream stream(std::filesystem::path(ConfigPath), TQorvelFileMode::OpenRead);
  ReadUninstallConfiguration(stream, *this);
}

bool TQorvelUninstaller::RegisterUninstall() {
  const std::wstring keyPath = UninstallRegistryKey(UninstallKeyName);
  HKEY created = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, RegistrySubKey(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &created, nullptr) != ERROR_SUCCESS)
    return false;
  TRegistryKey key(created);
  RegistryKeys.Add(JoinRegistryPath(RegistryRootLocalMachine, keyPath), uaRemove, ulRequired);
  bool written = WriteString(key.Get(), L"UninstallString", UninstallCommandLine(ExePath, ConfigPath));
  // The same, without questions: what deployment tools run.
  written = WriteString(key.Get(), L"QuietUninstallString", UninstallCommandLine(ExePath, ConfigPath) + L" /silent") &&
            written;
  written = WriteString(key.Get(), L"DisplayName", DisplayName) && written;
  written = WriteString(key.Get(), L"Publisher", Publisher) && written;
  if (!URLInfoAbout.empty()) written = WriteString(key.Get(), L"URLInfoAbout", URLInfoAbout) && written;
  if (!URLUpdateInfo.empty()) written = WriteString(key.Get(), L"URLUpdateInfo", URLUpdateInfo) && written;
  // What the system's list of programs shows: version, icon, size, and no modify or repair
  // buttons that this uninstaller could not answer.
  if (!DisplayVersion.empty()) written = WriteString(key.Get(), L"DisplayVersion", DisplayVersion) && written;
  if (!ExePath.empty()) written = WriteString(key.Get(), L"DisplayIcon", ExePath) && written;
  const auto writeNumber = [&](const wchar_t* name, DWORD value) {
    return ::RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
           ERROR_SUCCESS;
  };
  if (EstimatedSizeKB > 0) written = writeNumber(L"EstimatedSize", EstimatedSizeKB) && written;
  written = writeNumber(L"NoModify", 1) && written;
  written = writeNumber(L"NoRepair", 1) && written;
  Log((written ? L"Registered the uninstall entry " : L"Could not fully register the uninstall entry ") +
      JoinRegistryPath(RegistryRootLocalMachine, keyPath));
  return written;
}

void TQorvelUninstaller::SaveConfig() {
  ForceDirectories(FolderOf(ConfigPath));
  Files.Add(ConfigPath, uaRemove, ulRequired);
  ClearProtectingAttributes(ConfigPath);
  {
    TQorvelMemoryStream text;
    WriteUninstallConfiguration(text, *this);
    TQorvelFileStream file(std::filesystem::path(ConfigPath), TQorvelFileMode::Create);
    file.Write(text.Data());
  }
  ::SetFileAttributesW(ConfigPath.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  Log(L"Recorded what the installation made in " + ConfigPath);
}

bool TQorvelUninstaller::Commit() {
  if (ConfigPath.empty()) return true;
  const bool registered = RegisterUninstall();
  SaveConfig();
  return registered;
}

bool TQorvelUninstaller::RemoveAtRestart(const std::wstring& path, bool folder) {
  if (!folder && MoveAsideUntilRestart(path)) {
    ++FRemoved;
    Log(L"Removed " + path + L" (in use: moved to the temporary folder until the next restart)");
    return true;
  }
  if (!::MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return false;
  FPendingAtRestart.push_back(path);
  ++FRemoved;
  Log(L"Removed " + path + L" at the next restart (in use)");
  return true;
}

void TQorvelUninstaller::Leave(const std::wstring& path, const std::wstring& reason) {
  LeftEntries.push_back({path, reason});
  Log(L"Left " + path + L": " + reason);
}

bool TQorvelUninstaller::AskRetry(const std::wstring& path, bool required) {
  return required && FPrompt->AskRetryCancel("Error", Narrow(CannotRemoveText(path)));
}

bool TQorvelUninstaller::PendingAtRestart(const std::wstring& path) const {
  return std::any_of(FPendingAtRestart.begin(), FPendingAtRestart.end(),
                     [&](const std::wstring& p) { return ComparePathsIgnoringCase(p, path) == 0; });
}

std::optional<TQorvelUninstaller::TRemoval> TQorvelUninstaller::KeptAsItIs(const std::wstring& path, DWORD attributes,
                                                                          bool listedAsFolder) {
  const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (listedAsFolder && !folder) return TRemoval::Gone;
  if (!listedAsFolder && folder && !link) {
    Leave(path, L"a folder, listed as a file");
    return TRemoval::Left;
  }
  // What the user keeps in the folder is theirs: the folder stays with it, as planned.
  if (folder && !link && !FolderHoldsOnly(path, [this](const std::wstring& entry) { return PendingAtRestart(entry); })) {
    Leave(path, HoldsOtherFiles);
    return TRemoval::Left;
  }
  return std::nullopt;
}

TQorvelUninstaller::TRemoval TQorvelUninstaller::RemoveObject(const std::wstring& path, bool required,
                                                              bool listedAsFolder) {
  if (PassesThroughLink(path, FScope.InstallFolder)) {
    Leave(path, BehindALink);
    return TRemoval::Left;
  }
  for (;;) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return TRemoval::Gone;
    if (const auto kept = KeptAsItIs(path, attributes, listedAsFolder)) return *kept;
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (DeleteObject(path, folder)) {
      ++FRemoved;
      Log(L"Removed " + path);
      return TRemoval::Gone;
    }
    // In use (the waiting uninstall command's program, some program's current folder), or
    // holding what goes at the restart.
    if (Unattended && RemoveAtRestart(path, folder)) return TRemoval::Gone;
    if (!AskRetry(path, required)) {
      Log(L"Could not remove " + path + (required ? L" (required)" : L" (optional)"));
      return required ? TRemoval::Failed : TRemoval::Left;
    }
  }
}

bool TQorvelUninstaller::RemoveFiles(const std::wstring& except) {
  bool removed = true;
  for (std::size_t i = Files.Count(); i-- > 0;) {
    const auto& entry = Files[i];
    const auto& info = entry.Information;
    if ((info && info->Action != uaRemove) || ComparePathsIgnoringCase(entry.Path, except) == 0) continue;
    const bool required = !info || info->Level == ulRequired;
    removed = RemoveObject(entry.Path, required, false) != TRemoval::Failed && removed;
  }
  return removed;
}

bool TQorvelUninstaller::RemoveFolders(const std::wstring& config, bool holdingConfig) {
  bool removed = true;
  for (std::size_t i = Folders.Count(); i-- > 0;) {
    const auto& entry = Folders[i];
    const auto& info = entry.Information;
    if ((info && info->Action != uaRemove) || IsAtOrBelow(config, entry.Path) != holdingConfig) continue;
    const bool required = !info || info->Level == ulRequired;
    removed = RemoveObject(entry.Path, required, true) != TRemoval::Failed && removed;
  }
  return removed;
}

bool TQorvelUninstaller::NamesThisProgram(const std::wstring& command) const {
  std::wstring text = command;
  while (!text.empty() && text.back() == L' ') text.pop_back();
  const std::wstring path = LongCanonicalPath(UnquotePath(text));
  return !path.empty() && !FScope.InstallFolder.empty() && IsAtOrBelow(path, FScope.InstallFolder) &&
         Files.Contains(path);
}

void TQorvelUninstaller::CleanRegistryValues() {
  for (std::size_t i = RegistryValues.Count(); i-- > 0;) {
    const auto& entry = RegistryValues[i];
    const TQorvelUninstallInformation info = entry.Information.value_or(TQorvelUninstallInformation{});
    if (info.Action == uaIgnore) continue;
    // The file can name any value to "restore": an uninstallation only ever removes.
    if (info.Action != uaRemove) {
      Leave(entry.Path, L"an uninstallation removes values, it never writes them");
      continue;
    }
    const auto path = SplitRegistryValuePath(entry.Path);
    if (!path) continue;
    const auto root = RegistryRootByName(path->Root);
    if (!root) continue;
    const TRegistryKey key = OpenExistingKey(*root, path->KeyPath, KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (!key) continue;
    const wchar_t* name = path->ValueName.c_str();
    if (::RegQueryValueExW(key.Get(), name, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
    // A value outside the installation's keys (the autostart value) goes only while it starts
    // this installation's program; the user or another program may have set it since.
    const bool shared = std::any_of(FScope.RegistryValues.begin(), FScope.RegistryValues.end(),
                                    [&](const std::wstring& v) { return ComparePathsIgnoringCase(v, entry.Path) == 0; });
    if (shared && !NamesThisProgram(ReadString(key.Get(), name))) {
      Leave(entry.Path, L"set by the user or another program");
      continue;
    }
    if (::RegDeleteValueW(key.Get(), name) == ERROR_SUCCESS) {
      ++FRemoved;
      Log(L"Removed " + entry.Path);
    }
  }
}

bool TQorvelUninstaller::BelongsToOtherInstallation(HKEY root, const std::wstring& keyPath,
                                                    const std::wstring& config) const {
  const TRegistryKey key = OpenExistingKey(root, keyPath, KEY_QUERY_VALUE);
  if (!key) return false;
  const auto namesOther = [&](const std::wstring& named) {
    return !named.empty() && ComparePathsIgnoringCase(LongCanonicalPath(named), config) != 0;
  };
  return namesOther(ConfigPathOfUninstallCommand(ReadString(key.Get(), L"UninstallString"))) ||
         namesOther(ReadString(key.Get(), L"Config"));
}

void TQorvelUninstaller::RemoveRegistryKeys(const std::wstring& config) {
  for (std::size_t i = RegistryKeys.Count(); i-- > 0;) {
    const auto& entry = RegistryKeys[i];
    if (entry.Information && entry.Information->Action != uaRemove) continue;
    const auto path = SplitRegistryKeyPath(entry.Path);
    if (!path || IsProtectedRegistryKey(path->Root, path->KeyPath)) continue;
    const auto root = RegistryRootByName(path->Root);
    if (!root) continue;
    // Another installation of the product took the entry over: it stays with that one.
    if (BelongsToOtherInstallation(*root, path->KeyPath, config)) {
      Leave(entry.Path, L"names another installation's configuration file");
      continue;
    }
    ::RegDeleteTreeW(*root, RegistrySubKey(path->KeyPath).c_str());
    if (::RegDeleteKeyW(*root, RegistrySubKey(path->KeyPath).c_str()) == ERROR_SUCCESS) {
      ++FRemoved;
      Log(L"Removed " + entry.Path);
    }
  }
}

void TQorvelUninstaller::RemoveEmptyCompanyKey() {
  // The product's key and the company key above it, as long as nothing else lives there.
  const std::wstring software = JoinRegistryPath(RegistryRootLocalMachine, L"SOFTWARE");
  for (const auto& productKey : FScope.RegistryKeys) {
    if (!IsAtOrBelow(productKey, software) || IsAtOrBelow(productKey, software + L"\\Microsoft")) continue;
    for (std::wstring key = productKey; key.size() > software.size(); key = ParentFolder(key)) {
      const std::wstring subKey = key.substr(std::wstring(RegistryRootLocalMachine).size() + 1);
      if (!KeyIsEmpty(HKEY_LOCAL_MACHINE, subKey) ||
          ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, subKey.c_str()) != ERROR_SUCCESS)
        break;
    }
  }
}

void TQorvelUninstaller::RemoveEmptyCompanyFolder(const std::wstring& installFolder) {
  for (const auto& programFiles : FScope.ProgramFilesFolders) {
    if (!IsAtOrBelow(installFolder, programFiles)) continue;
    for (std::wstring folder = ParentFolder(installFolder); folder.size() > programFiles.size();
         folder = ParentFolder(folder))
      if (IsLink(folder) || FolderHasEntries(folder) || !::RemoveDirectoryW(folder.c_str())) break;
  }
}

std::wstring TQorvelUninstaller::ProgramLeftOutside(const std::wstring& config) const {
  if (!FScope.InstallFolder.empty()) return {};
  for (const auto& entry : Files) {
    if (entry.Information && (entry.Information->Action != uaRemove || entry.Information->Level != ulRequired))
      continue;
    const std::wstring path = LongCanonicalPath(entry.Path);
    if (ComparePathsIgnoringCase(path, config) != 0 &&
        ComparePathsIgnoringCase(ParentFolder(path), ParentFolder(config)) == 0 && FileExists(path))
      return path;
  }
  return {};
}

bool TQorvelUninstaller::Uninstall() {
  const std::wstring config = LongCanonicalPath(ConfigPath);
  FPendingAtRestart.clear();
  FScope = MakeUninstallScope(config, Identity, SystemScopeFolders());
  // An installation in a folder the uninstaller does not act on (a drive root, a user
  // folder): removing the rest would leave its program behind with nothing to remove it.
  if (const std::wstring program = ProgramLeftOutside(config); !program.empty()) {
    const std::wstring reason = ParentFolder(config) + L" is a drive, system or user folder";
    LeftEntries = {{program, reason}};
    Log(L"Left " + program + L": " + reason);
    Log(L"Removed nothing: the program stays, and with it the uninstall entry");
    return false;
  }
  LeftEntries = RestrictToScope(*this, FScope, LongCanonicalPath);
  for (const auto& left : LeftEntries) Log(L"Left " + left.Path + L": " + left.Reason);
  FRemoved = 0;

  Report(isRemovingFiles, 0);
  bool removed = RemoveFiles(config);
  Report(isRemovingFiles, 100);
  Report(isRemovingFolders, 0);
  removed = RemoveFolders(config, false) && removed;
  Report(isRemovingFolders, 100);
  CleanRegistryValues();
  Report(isCleaningRegistry, 0);
  // The configuration, the uninstall entry and the installation key stay while any of the
  // program's own objects stays: the user can then uninstall again from the list of programs.
  if (removed && Files.Contains(config)) removed = RemoveObject(config, true, false) != TRemoval::Failed;
  if (!removed)
    Log(L"Kept the configuration file, the uninstall entry and the installation key: a required object stays");
  if (removed) {
    RemoveRegistryKeys(config);
    RemoveEmptyCompanyKey();
    removed = RemoveFolders(config, true);
    RemoveEmptyCompanyFolder(FScope.InstallFolder);
  }
  Report(isCleaningRegistry, 100);
  return removed && FRemoved > 0;
}

namespace {

// A new folder below `parent` with a name nobody can guess, writable only by administrators
// and the system: nothing another user planted can stand in for the copy that runs elevated.
std::wstring NewAdministratorsFolder(const std::wstring& parent) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)", SDDL_REVISION_1,
                                                            &descriptor, nullptr))
    return {};
  const std::unique_ptr<void, decltype(&::LocalFree)> owned(descriptor, &::LocalFree);
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
  for (int attempt = 0; attempt < 8; ++attempt) {
    GUID guid{};
    wchar_t text[40] = {};
    if (FAILED(::CoCreateGuid(&guid)) || !::StringFromGUID2(guid, text, 40)) return {};
    const std::wstring folder = WithTrailingBackslash(parent) + L"QorvelUninstall" + text;
    if (::CreateDirectoryW(folder.c_str(), &attributes)) return folder;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
  return {};
}

}  // namespace

DWORD StartUninstallFromCopy(const std::wstring& exePath, const std::wstring& configPath, const std::wstring& switches,
                             DWORD* exitCode, TElevation elevation, const TShellStarter& start,
                             std::wstring* copyPath) {
  const std::wstring config = configPath.empty() ? DefaultConfigPathBeside(exePath) : configPath;
  const std::wstring extra = switches.empty() ? L"" : L" " + switches;
  const std::wstring windows = SpecialFolderPath(fkWindows);
  if (elevation != TElevation::Elevated) {
    // The installed program itself asks for the rights and then makes its copy: a copy made
    // here could be replaced by another program before it ran elevated.
    return start({L"runas", exePath, L"-uninstall " + QuotePathForCommandLine(config) + extra, windows, nullptr,
                  exitCode});
  }
  const std::wstring folder = NewAdministratorsFolder(WindowsTempFolder());
  const std::wstring copy = WithTrailingBackslash(folder.empty() ? WindowsTempFolder() : folder) + UninstallCopyFileName;
  if (copyPath) *copyPath = copy;
  if (folder.empty()) return ::GetLastError() ? ::GetLastError() : ERROR_GEN_FAILURE;
  if (!::CopyFileW(exePath.c_str(), copy.c_str(), TRUE)) {
    const DWORD error = ::GetLastError() ? ::GetLastError() : ERROR_GEN_FAILURE;
    ::RemoveDirectoryW(folder.c_str());
    return error;
  }
  // Without RunOnce the copy only stays in Temp; the uninstallation still starts.
  if (const TRegistryKey runOnce =
          OpenExistingKey(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", KEY_SET_VALUE))
    WriteString(runOnce.Get(), UninstallRunOnceValue, DeleteAtLogonCommand(folder));
  return start({L"open", copy, RemoveParameters(config) + extra, windows, nullptr, exitCode});
}
