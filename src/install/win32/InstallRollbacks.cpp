#include "install/win32/InstallRollbacks.h"

#include <algorithm>

#include "gui/Handles.h"
#include "install/InstallerRules.h"
#include "install/UninstallConfiguration.h"
#include "install/win32/QorvelShellUtils.h"

namespace {

struct TRegistryValueCopy {
  std::wstring Name;
  DWORD Type = REG_NONE;
  std::vector<BYTE> Data;
};

std::vector<TRegistryValueCopy> ValuesOf(HKEY key) {
  std::vector<TRegistryValueCopy> values;
  DWORD count = 0, maxName = 0, maxData = 0;
  if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, &maxData, nullptr,
                         nullptr) != ERROR_SUCCESS)
    return values;
  for (DWORD i = 0; i < count; ++i) {
    std::wstring name(maxName + 1, L'\0');
    TRegistryValueCopy value;
    value.Data.resize(maxData + 1);
    DWORD nameLength = maxName + 1, size = maxData + 1;
    if (::RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &value.Type, value.Data.data(), &size) !=
        ERROR_SUCCESS)
      continue;
    value.Name = name.substr(0, nameLength);
    value.Data.resize(size);
    values.push_back(std::move(value));
  }
  return values;
}

TRegistryKey OpenKey(const std::wstring& subKey, REGSAM access) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, access, &opened) != ERROR_SUCCESS) return {};
  return TRegistryKey(opened);
}

bool KeyIsEmpty(const std::wstring& subKey) {
  const TRegistryKey key = OpenKey(subKey, KEY_READ);
  DWORD subkeys = 0, values = 0;
  return key &&
         ::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

std::wstring AsideName(const std::wstring& path) {
  return path + L".undo-" + std::to_wstring(::GetCurrentProcessId());
}

bool DeleteFileAnyway(const std::wstring& path) {
  ClearProtectingAttributes(path);
  return ::DeleteFileW(path.c_str()) || ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TInstallRollback::~TInstallRollback() {
  if (!FCommitted) Undo();
}

bool TInstallRollback::CreateFolders(const std::wstring& folder) {
  const std::wstring path = WithoutTrailingBackslash(folder);
  if (path.empty()) return false;
  if (FolderExists(path)) return true;
  const std::wstring parent = WithoutTrailingBackslash(FolderOf(path));
  // A root that does not exist (an absent drive) stops the recursion.
  if (parent.empty() || parent == path || !CreateFolders(parent)) return false;
  if (!::CreateDirectoryW(path.c_str(), nullptr)) return FolderExists(path);
  FSteps.push_back({[this, path] {
                      if (::RemoveDirectoryW(path.c_str())) Log(L"Undone: removed the folder " + path);
                    },
                    {}});
  return true;
}

bool TInstallRollback::PrepareFile(const std::wstring& path) {
  const auto same = [&](const std::wstring& p) { return ComparePathsIgnoringCase(p, path) == 0; };
  if (std::any_of(FPreparedFiles.begin(), FPreparedFiles.end(), same)) return true;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    FSteps.push_back({[this, path] {
                        if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES && DeleteFileAnyway(path))
                          Log(L"Undone: removed " + path);
                      },
                      {}});
  } else {
    const std::wstring aside = AsideName(path);
    if (!::MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    FSteps.push_back({[this, path, aside] {
                        DeleteFileAnyway(path);
                        if (::MoveFileExW(aside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
                          Log(L"Undone: put back the previous " + path);
                        else
                          Log(L"Could not put back the previous " + path + L" (it is " + aside + L")");
                      },
                      [aside] {
                        if (!DeleteFileAnyway(aside)) ::MoveFileExW(aside.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
                      }});
  }
  FPreparedFiles.push_back(path);
  return true;
}

void TInstallRollback::PrepareKey(const std::wstring& subKey) {
  const auto same = [&](const std::wstring& k) { return ComparePathsIgnoringCase(k, subKey) == 0; };
  if (std::any_of(FPreparedKeys.begin(), FPreparedKeys.end(), same)) return;
  FPreparedKeys.push_back(subKey);
  const std::wstring shown = JoinRegistryPath(RegistryRootLocalMachine, subKey);
  if (const TRegistryKey existing = OpenKey(subKey, KEY_READ)) {
    FSteps.push_back({[this, subKey, shown, values = ValuesOf(existing.Get())] {
                        const TRegistryKey key = OpenKey(subKey, KEY_READ | KEY_SET_VALUE);
                        if (!key) return;
                        for (const auto& now : ValuesOf(key.Get())) ::RegDeleteValueW(key.Get(), now.Name.c_str());
                        for (const auto& value : values)
                          ::RegSetValueExW(key.Get(), value.Name.c_str(), 0, value.Type, value.Data.data(),
                                           static_cast<DWORD>(value.Data.size()));
                        Log(L"Undone: put back the previous values of " + shown);
                      },
                      {}});
    return;
  }
  // The deepest parent that exists stays; everything below it is this run's.
  std::wstring kept = subKey;
  while (!kept.empty() && !OpenKey(kept, KEY_READ)) kept = WithoutTrailingBackslash(FolderOf(kept));
  FSteps.push_back({[this, subKey, kept, shown] {
                      ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, subKey.c_str());
                      if (::RegDeleteKeyW(HKEY_LOCAL_MACHINE, subKey.c_str()) == ERROR_SUCCESS)
                        Log(L"Undone: removed " + shown);
                      for (std::wstring key = WithoutTrailingBackslash(FolderOf(subKey)); key.size() > kept.size();
                           key = WithoutTrailingBackslash(FolderOf(key)))
                        if (!KeyIsEmpty(key) || ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str()) != ERROR_SUCCESS) break;
                    },
                    {}});
}

void TInstallRollback::Commit() {
  FCommitted = true;
  for (const auto& step : FSteps)
    if (step.Commit) step.Commit();
  FSteps.clear();
}

void TInstallRollback::Undo() {
  if (!FSteps.empty()) Log(L"Undoing what this setup changed");
  for (auto step = FSteps.rbegin(); step != FSteps.rend(); ++step) step->Undo();
  FSteps.clear();
}
