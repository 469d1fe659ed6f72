#include "install/win32/QorvelUninstallers.h"

#include <windows.h>
#include <shellapi.h>

#include "gui/Application.h"
#include "gui/Handles.h"
#include "install/QorvelInstallers.h"
#include "install/win32/QorvelShellUtils.h"
#include "settings/QorvelFileStreams.h"

namespace {

// Deletes a file, or removes a folder only when it is empty. The protecting attributes are
// cleared first and put back when the object stays.
bool RemoveFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  ClearProtectingAttributes(path);
  if (::DeleteFileW(path.c_str())) return true;
  ::SetFileAttributesW(path.c_str(), attributes);
  return false;
}

bool RemoveEmptyFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  ClearProtectingAttributes(path);
  // RemoveDirectory never takes a folder that still holds anything: a listed folder with
  // foreign content stays, whatever the configuration file says.
  if (::RemoveDirectoryW(path.c_str())) return true;
  ::SetFileAttributesW(path.c_str(), attributes);
  return false;
}

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

std::int32_t NumberOrZero(const std::wstring& text) {
  try {
    std::size_t used = 0;
    const long long value = std::stoll(text, &used, 10);
    return used == text.size() ? static_cast<std::int32_t>(value) : 0;
  } catch (const std::exception&) {
    return 0;
  }
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

void TQorvelUninstaller::SetPrompt(IQorvelSettingsPrompt* prompt) { FPrompt = prompt ? prompt : &SystemInstallPrompt(); }

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
  written = WriteString(key.Get(), L"DisplayName", DisplayName) && written;
  written = WriteString(key.Get(), L"Publisher", Publisher) && written;
  if (!URLInfoAbout.empty()) written = WriteString(key.Get(), L"URLInfoAbout", URLInfoAbout) && written;
  if (!URLUpdateInfo.empty()) written = WriteString(key.Get(), L"URLUpdateInfo", URLUpdateInfo) && written;
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
}

bool TQorvelUninstaller::Commit() {
  if (ConfigPath.empty()) return true;
  const bool registered = RegisterUninstall();
  SaveConfig();
  return registered;
}

bool TQorvelUninstaller::RemoveWithRetry(const std::wstring& path, bool required,
                                         bool (*remove)(const std::wstring&)) {
  while (!remove(path)) {
    if (!required) return true;
    if (!FPrompt->AskRetryCancel("Error", Narrow(CannotRemoveText(path)))) return false;
  }
  return true;
}

bool TQorvelUninstaller::RemoveFiles() {
  Report(isRemovingFiles, 0);
  bool removed = true;
  for (std::size_t i = Files.Count(); i-- > 0;) {
    const auto& entry = Files[i];
    const auto& info = entry.Information;
    if (info && info->Action != uaRemove) continue;
    const bool required = !info || info->Level == ulRequired;
    removed = RemoveWithRetry(entry.Path, required, &RemoveFile) && removed;
  }
  Report(isRemovingFiles, 100);
  return removed;
}

bool TQorvelUninstaller::RemoveFolders() {
  Report(isRemovingFolders, 0);
  bool removed = true;
  for (std::size_t i = Folders.Count(); i-- > 0;) {
    const auto& entry = Folders[i];
    const auto& info = entry.Information;
    if (info && info->Action != uaRemove) continue;
    const bool required = !info || info->Level == ulRequired;
    removed = RemoveWithRetry(entry.Path, required, &RemoveEmptyFolder) && removed;
  }
  Report(isRemovingFolders, 100);
  return removed;
}

void TQorvelUninstaller::CleanRegistryValues() {
  for (std::size_t i = RegistryValues.Count(); i-- > 0;) {
    const auto& entry = RegistryValues[i];
    const TQorvelUninstallInformation info = entry.Information.value_or(TQorvelUninstallInformation{});
    if (info.Action == uaIgnore) continue;
    const auto path = SplitRegistryValuePath(entry.Path);
    if (!path) continue;
    const auto root = RegistryRootByName(path->Root);
    if (!root) continue;
    const TRegistryKey key = OpenExistingKey(*root, path->KeyPath, KEY_SET_VALUE);
    if (!key) continue;
    const wchar_t* name = path->ValueName.c_str();
    if (info.Action == uaRemove) {
      ::RegDeleteValueW(key.Get(), name);
    } else if (info.ValueType == uvtInteger) {
      const DWORD number = static_cast<DWORD>(NumberOrZero(info.Value));
      ::RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    } else {
      WriteString(key.Get(), name, info.Value, info.ValueType == uvtExpandString ? REG_EXPAND_SZ : REG_SZ);
    }
  }
}

void TQorvelUninstaller::RemoveRegistryKeys() {
  Report(isCleaningRegistry, 0);
  for (std::size_t i = RegistryKeys.Count(); i-- > 0;) {
    const auto& entry = RegistryKeys[i];
    if (entry.Information && entry.Information->Action != uaRemove) continue;
    const auto path = SplitRegistryKeyPath(entry.Path);
    if (!path || IsProtectedRegistryKey(path->Root, path->KeyPath)) continue;
    const auto root = RegistryRootByName(path->Root);
    if (!root) continue;
    ::RegDeleteTreeW(*root, RegistrySubKey(path->KeyPath).c_str());
    ::RegDeleteKeyW(*root, RegistrySubKey(path->KeyPath).c_str());
  }
  Report(isCleaningRegistry, 100);
}

bool TQorvelUninstaller::Uninstall() {
  bool removed = RemoveFiles();
  removed = RemoveFolders() && removed;
  CleanRegistryValues();
  RemoveRegistryKeys();
  return removed;
}

bool StartUninstallFromCopy(const std::wstring& exePath, const std::wstring& configPath) {
  const std::wstring copy = WithTrailingBackslash(WindowsTempFolder()) + UninstallCopyFileName;
  if (!::CopyFileW(exePath.c_str(), copy.c_str(), FALSE)) return false;
  // Without RunOnce the copy only stays in Temp; the uninstallation still starts.
  if (const TRegistryKey runOnce = OpenExistingKey(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", KEY_SET_VALUE))
    WriteString(runOnce.Get(), UninstallRunOnceValue, DeleteAtLogonCommand(copy));
  const std::wstring config = configPath.empty() ? DefaultConfigPathBeside(exePath) : configPath;
  const std::wstring parameters = RemoveParameters(config);
  const std::wstring windows = SpecialFolderPath(fkWindows);
  const auto started = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", copy.c_str(), parameters.c_str(), windows.c_str(), SW_SHOWNORMAL));
  return started > 32;
}
