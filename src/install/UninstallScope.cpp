#include "install/UninstallScope.h"

#include <algorithm>

namespace {

constexpr wchar_t NotAFullPath[] = L"not a full path";
constexpr wchar_t SystemOrUserFolder[] = L"a drive, system or user folder";
constexpr wchar_t OutsideInstallation[] = L"outside the installation folder";
constexpr wchar_t NotThisInstallation[] = L"not a registry entry of this installation";

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// The components after the root, split at backslashes, empty ones dropped.
std::vector<std::wstring> Components(const std::wstring& rest) {
  std::vector<std::wstring> parts;
  std::wstring current;
  for (const wchar_t c : rest + L'\\') {
    if (c != L'\\') {
      current += c;
    } else if (!current.empty()) {
      parts.push_back(current);
      current.clear();
    }
  }
  return parts;
}

std::wstring Joined(std::wstring root, const std::vector<std::wstring>& parts) {
  for (const auto& part : parts) root += L'\\' + part;
  return root;
}

bool ContainsPath(const std::vector<std::wstring>& paths, const std::wstring& path) {
  return std::any_of(paths.begin(), paths.end(),
                     [&](const std::wstring& p) { return ComparePathsIgnoringCase(p, path) == 0; });
}

bool IsBelowAny(const std::vector<std::wstring>& folders, const std::wstring& path) {
  return std::any_of(folders.begin(), folders.end(), [&](const std::wstring& f) { return IsAtOrBelow(path, f); });
}

bool IsProtected(const TUninstallScope& scope, const std::wstring& path) {
  return IsRootPath(path) || ContainsPath(scope.ProtectedFolders, path);
}

// Inside a system or user folder that the installation folder is not inside: a relocated
// Documents folder below the installation folder stays the user's.
bool IsInForeignProtectedFolder(const TUninstallScope& scope, const std::wstring& path) {
  return std::any_of(scope.ProtectedFolders.begin(), scope.ProtectedFolders.end(), [&](const std::wstring& folder) {
    return IsAtOrBelow(path, folder) &&
           !(IsAtOrBelow(scope.InstallFolder, folder) && ComparePathsIgnoringCase(scope.InstallFolder, folder) != 0);
  });
}

bool IsInsideInstallFolder(const TUninstallScope& scope, const std::wstring& path) {
  return !scope.InstallFolder.empty() && IsAtOrBelow(path, scope.InstallFolder) &&
         !IsInForeignProtectedFolder(scope, path);
}

// "C:\...\Documents\thesis.txt": the drive and as much of the end as fits.
std::wstring Shortened(const std::wstring& path, std::size_t maxLength) {
  const std::wstring head = path.substr(0, 3) + L"...";
  if (path.size() <= maxLength || maxLength <= head.size()) return path;
  const std::size_t tailStart = path.size() - (maxLength - head.size());
  const std::size_t separator = path.find(L'\\', tailStart);
  return head + path.substr(separator == std::wstring::npos ? tailStart : separator);
}

}  // namespace

std::wstring CanonicalFilePath(const std::wstring& path) {
  std::wstring text = path;
  std::replace(text.begin(), text.end(), L'/', L'\\');
  if (text.rfind(L"\\\\?\\UNC\\", 0) == 0)
    text = L"\\\\" + text.substr(8);
  else if (text.rfind(L"\\\\?\\", 0) == 0)
    text = text.substr(4);
  std::wstring root;
  std::vector<std::wstring> rest;
  if (text.size() >= 3 && IsLetter(text[0]) && text[1] == L':' && text[2] == L'\\') {
    root = std::wstring(1, static_cast<wchar_t>(text[0] & ~0x20)) + L':';
    rest = Components(text.substr(3));
  } else if (text.rfind(L"\\\\", 0) == 0 && text.rfind(L"\\\\.\\", 0) != 0) {
    const std::vector<std::wstring> all = Components(text.substr(2));
    if (all.size() < 2) return {};
    root = L"\\\\" + all[0] + L'\\' + all[1];
    rest.assign(all.begin() + 2, all.end());
  } else {
    return {};
  }
  std::vector<std::wstring> parts;
  for (std::wstring part : rest) {
    // The system drops trailing dots and spaces from a name: "Vindle. " is "Vindle".
    while (!part.empty() && part != L".." && (part.back() == L'.' || part.back() == L' ')) part.pop_back();
    if (part.empty() || part == L".") continue;
    if (part == L"..") {
      if (parts.empty()) return {};
      parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  return Joined(root, parts);
}

std::wstring CanonicalRegistryPath(const std::wstring& path) {
  const std::vector<std::wstring> parts = Components(path);
  if (parts.empty()) return {};
  return Joined(parts.front(), std::vector<std::wstring>(parts.begin() + 1, parts.end()));
}

std::wstring ParentFolder(const std::wstring& canonicalPath) {
  const std::size_t separator = canonicalPath.rfind(L'\\');
  return separator == std::wstring::npos ? std::wstring() : canonicalPath.substr(0, separator);
}

bool IsAtOrBelow(const std::wstring& path, const std::wstring& folder) {
  if (folder.empty() || path.size() < folder.size()) return false;
  if (ComparePathsIgnoringCase(path.substr(0, folder.size()), folder) != 0) return false;
  return path.size() == folder.size() || path[folder.size()] == L'\\';
}

bool IsRootPath(const std::wstring& canonicalPath) {
  if (canonicalPath.size() == 2 && canonicalPath[1] == L':') return true;
  if (canonicalPath.rfind(L"\\\\", 0) != 0) return false;
  return std::count(canonicalPath.begin() + 2, canonicalPath.end(), L'\\') <= 1;
}

namespace {

std::vector<std::wstring> CanonicalPaths(const std::vector<std::wstring>& paths) {
  std::vector<std::wstring> result;
  for (const auto& path : paths)
    if (std::wstring c = CanonicalFilePath(path); !c.empty()) result.push_back(c);
  return result;
}

std::wstring PathInFolder(const std::wstring& folder, const std::wstring& name) {
  std::wstring path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder).append(1, L'\\').append(name);
  return path;
}

void AddShortcuts(TUninstallScope& scope, const TInstallIdentity& identity, const TScopeFolders& folders) {
  if (identity.ShortcutName.empty()) return;
  const std::wstring link = identity.ShortcutName + L".lnk";
  if (!identity.GroupName.empty()) {
    for (const auto& programs : CanonicalPaths(folders.ProgramsFolders)) {
      const std::wstring group = CanonicalFilePath(PathInFolder(programs, identity.GroupName));
      if (group.empty() || !IsAtOrBelow(group, programs) || group == programs) continue;
      scope.ShortcutGroups.push_back(group);
      scope.ShortcutFiles.push_back(PathInFolder(group, link));
    }
  }
  for (const auto& folder : CanonicalPaths(folders.ShortcutFolders))
    scope.ShortcutFiles.push_back(PathInFolder(folder, link));
}

void AddRegistry(TUninstallScope& scope, const TInstallIdentity& identity) {
  const std::wstring software = JoinRegistryPath(RegistryRootLocalMachine, L"SOFTWARE");
  if (const std::wstring key = CanonicalRegistryPath(PathInFolder(software, identity.RegistryKey));
      !identity.RegistryKey.empty() && key.size() > software.size())
    scope.RegistryKeys.push_back(key);
  if (!identity.UninstallKeyName.empty())
    scope.RegistryKeys.push_back(CanonicalRegistryPath(
        JoinRegistryPath(RegistryRootLocalMachine, UninstallRegistryKey(identity.UninstallKeyName))));
  for (const auto& value : identity.RegistryValues) scope.RegistryValues.push_back(CanonicalRegistryPath(value));
}

}  // namespace

namespace {

// Drive roots, system and user folders, and the program-files folders themselves.
std::vector<std::wstring> ProtectedFoldersOf(const TScopeFolders& folders) {
  std::vector<std::wstring> result = CanonicalPaths(folders.ProtectedFolders);
  for (const auto& folder : CanonicalPaths(folders.ProgramFilesFolders))
    if (!ContainsPath(result, folder)) result.push_back(folder);
  return result;
}

bool IsReservedDeviceName(const std::wstring& component) {
  // "CON", "con.txt", "LPT1 .log": the part before the first dot, trailing spaces dropped.
  std::wstring base = component.substr(0, component.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.pop_back();
  std::wstring upper;
  for (const wchar_t c : base) upper += (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
  for (const wchar_t* name : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
    if (upper == name) return true;
  return upper.size() == 4 && (upper.rfind(L"COM", 0) == 0 || upper.rfind(L"LPT", 0) == 0) && upper[3] >= L'1' &&
         upper[3] <= L'9';
}

}  // namespace

std::wstring NameTheSystemWouldChange(const std::wstring& path) {
  std::wstring text = path;
  std::replace(text.begin(), text.end(), L'/', L'\\');
  std::size_t start = 0;
  if (text.rfind(L"\\\\?\\", 0) == 0) start = 4;
  if (text.size() >= start + 2 && IsLetter(text[start]) && text[start + 1] == L':') start += 2;
  for (const std::wstring& component : Components(text.substr(start))) {
    if (component == L"." || component == L"..") continue;
    const bool invalid = std::any_of(component.begin(), component.end(), [](wchar_t c) {
      return c < 32 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'|' || c == L'?' || c == L'*';
    });
    if (invalid) return L"\"" + component + L"\" holds a character a folder name cannot have";
    if (component.back() == L'.' || component.back() == L' ')
      return L"the system drops the dots and spaces at the end of \"" + component + L"\"";
    if (IsReservedDeviceName(component)) return L"\"" + component + L"\" is a device name";
  }
  return {};
}

std::wstring InstallFolderRefusal(const std::wstring& folder, const TScopeFolders& folders) {
  if (std::wstring reason = NameTheSystemWouldChange(folder); !reason.empty()) return reason;
  const std::wstring canonical = CanonicalFilePath(folder);
  if (canonical.empty()) return NotAFullPath;
  if (IsRootPath(canonical) || ContainsPath(ProtectedFoldersOf(folders), canonical)) return SystemOrUserFolder;
  return {};
}

TUninstallScope MakeUninstallScope(const std::wstring& configPath, const TInstallIdentity& identity,
                                   const TScopeFolders& folders) {
  TUninstallScope scope;
  scope.ProtectedFolders = ProtectedFoldersOf(folders);
  scope.ProgramFilesFolders = CanonicalPaths(folders.ProgramFilesFolders);

  // The same rule that decides where setup may install.
  const std::wstring installFolder = ParentFolder(CanonicalFilePath(configPath));
  if (!installFolder.empty() && InstallFolderRefusal(installFolder, folders).empty())
    scope.InstallFolder = installFolder;
  AddShortcuts(scope, identity, folders);
  AddRegistry(scope, identity);
  return scope;
}

std::wstring FileOutsideScope(const TUninstallScope& scope, const std::wstring& path) {
  if (path.empty()) return NotAFullPath;
  if (IsProtected(scope, path)) return SystemOrUserFolder;
  if (IsInsideInstallFolder(scope, path) || ContainsPath(scope.ShortcutFiles, path)) return {};
  return OutsideInstallation;
}

std::wstring FolderOutsideScope(const TUninstallScope& scope, const std::wstring& path) {
  if (path.empty()) return NotAFullPath;
  if (IsProtected(scope, path)) return SystemOrUserFolder;
  if (IsInsideInstallFolder(scope, path) || ContainsPath(scope.ShortcutGroups, path)) return {};
  return OutsideInstallation;
}

std::wstring RegistryKeyOutsideScope(const TUninstallScope& scope, const std::wstring& path) {
  const auto split = SplitRegistryKeyPath(path);
  if (!split || IsProtectedRegistryKey(split->Root, split->KeyPath) || !IsBelowAny(scope.RegistryKeys, path))
    return NotThisInstallation;
  return {};
}

std::wstring RegistryValueOutsideScope(const TUninstallScope& scope, const std::wstring& path) {
  if (ContainsPath(scope.RegistryValues, path)) return {};
  const std::size_t last = path.rfind(L'\\');
  if (last == std::wstring::npos || !IsBelowAny(scope.RegistryKeys, path.substr(0, last))) return NotThisInstallation;
  return {};
}

std::vector<TLeftEntry> RestrictToScope(TQorvelUninstallConfiguration& configuration, const TUninstallScope& scope,
                                        const std::function<std::wstring(const std::wstring&)>& canonicalFile) {
  std::vector<TLeftEntry> left;
  const auto restrict = [&](TQorvelUninstallList& list, const auto& canonicalOf, const auto& outside) {
    TQorvelUninstallList kept;
    for (const auto& entry : list) {
      const std::wstring path = canonicalOf(entry.Path);
      if (std::wstring reason = outside(scope, path); !reason.empty())
        left.push_back({entry.Path, std::move(reason)});
      else
        kept.Add(path, entry.Information);
    }
    list = std::move(kept);
  };
  restrict(configuration.Files, canonicalFile, FileOutsideScope);
  restrict(configuration.Folders, canonicalFile, FolderOutsideScope);
  restrict(configuration.RegistryKeys, CanonicalRegistryPath, RegistryKeyOutsideScope);
  restrict(configuration.RegistryValues, CanonicalRegistryPath, RegistryValueOutsideScope);
  return left;
}

std::vector<std::wstring> LeftEntryLines(const std::vector<TLeftEntry>& entries, std::size_t maxLines) {
  constexpr std::size_t MaxPathLength = 56;
  std::vector<std::wstring> lines;
  if (maxLines == 0) return lines;
  const std::size_t shown = entries.size() <= maxLines ? entries.size() : maxLines - 1;
  for (std::size_t i = 0; i < shown; ++i)
    lines.push_back(Shortened(entries[i].Path, MaxPathLength) + L" (" + entries[i].Reason + L")");
  if (shown < entries.size()) lines.push_back(L"and " + std::to_wstring(entries.size() - shown) + L" more");
  return lines;
}
