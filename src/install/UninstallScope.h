#pragma once
// What an uninstallation may touch, whatever its "Installation.xml" says. The file is plain
// text in a folder anyone may write to, so every entry is checked against what an
// installation of this product can have made before anything is removed or restored:
//
// - the installation folder (the one holding the configuration file) and what is inside;
// - the product's shortcut in the places the installer puts it, and the start-menu group
//   folder itself (which only goes when empty);
// - registry keys at or below the product's key and its uninstall entry, values inside them,
//   and the autostart value;
// - never a drive root or a system or user folder itself.
//
// Everything else is left where it is and reported, not treated as an error. Pure: the Win32
// layer supplies the folders of this system and expands short names.

#include <functional>
#include <string>
#include <vector>

#include "install/UninstallConfiguration.h"

// The names an installation of the product uses (the installer's own fields).
struct TInstallIdentity {
  std::wstring RegistryKey;                  // below HKEY_LOCAL_MACHINE\SOFTWARE, e.g. "Qorvel\Vindle"
  std::wstring UninstallKeyName;             // e.g. "Qorvel Vindle"
  std::wstring GroupName;                    // start-menu group, e.g. "Qorvel"
  std::wstring ShortcutName;                 // without ".lnk"
  std::vector<std::wstring> RegistryValues;  // values it owns outside its keys (autostart)
};

// The folders of this system that the scope is built from.
struct TScopeFolders {
  std::vector<std::wstring> ProgramsFolders;  // my programs and common programs
  std::vector<std::wstring> ShortcutFolders;  // desktops and quick launch
  std::vector<std::wstring> ProgramFilesFolders;
  // Drive roots are protected anyway; these are the system and user folders themselves.
  std::vector<std::wstring> ProtectedFolders;
};

struct TUninstallScope {
  std::wstring InstallFolder;  // canonical; empty when there is none to trust
  std::vector<std::wstring> ShortcutFiles;
  std::vector<std::wstring> ShortcutGroups;
  std::vector<std::wstring> ProgramFilesFolders;
  std::vector<std::wstring> ProtectedFolders;
  std::vector<std::wstring> RegistryKeys;    // these keys and everything below them
  std::vector<std::wstring> RegistryValues;  // single values elsewhere
};

// Why an uninstallation would not act on `folder` as an installation folder, and so why setup
// refuses to install there: not a full path, a name the system would change (trailing dots
// or spaces, reserved device names, invalid characters), a drive root, a system or user
// folder, or a program-files folder itself. Empty when the folder is fine. `folders` as
// SystemScopeFolders gives them; `folder` as the user typed it.
std::wstring InstallFolderRefusal(const std::wstring& folder, const TScopeFolders& folders);
// The reason above that concerns only the name: which component the system would change.
std::wstring NameTheSystemWouldChange(const std::wstring& path);

TUninstallScope MakeUninstallScope(const std::wstring& configPath, const TInstallIdentity& identity,
                                   const TScopeFolders& folders);

// "C:\a\.\b\..\c\\d\" → "C:\a\c\d": '/' read as '\', repeated separators and '.' and '..'
// resolved, no trailing separator. Only full paths ("C:\..." or "\\server\share\...") have
// one; anything else, or a path that climbs above its root, gives an empty string.
std::wstring CanonicalFilePath(const std::wstring& path);
// "HKEY_LOCAL_MACHINE\\SOFTWARE\X\" → "HKEY_LOCAL_MACHINE\SOFTWARE\X".
std::wstring CanonicalRegistryPath(const std::wstring& path);
// "C:\a\b" → "C:\a": the folder holding a canonical path; empty at the top.
std::wstring ParentFolder(const std::wstring& canonicalPath);
// Whether canonical `path` is `folder` or lies below it, ignoring case.
bool IsAtOrBelow(const std::wstring& path, const std::wstring& folder);
// "C:" or "\\server\share": the top of a canonical path.
bool IsRootPath(const std::wstring& canonicalPath);

// Why an uninstallation leaves an object alone; nothing when it may act on it.
// Paths are canonical.
std::wstring FileOutsideScope(const TUninstallScope& scope, const std::wstring& path);
std::wstring FolderOutsideScope(const TUninstallScope& scope, const std::wstring& path);
std::wstring RegistryKeyOutsideScope(const TUninstallScope& scope, const std::wstring& path);
std::wstring RegistryValueOutsideScope(const TUninstallScope& scope, const std::wstring& path);

struct TLeftEntry {
  std::wstring Path;
  std::wstring Reason;
};

// Keeps in `configuration` only what the scope allows, every path in canonical form
// (`canonicalFile` turns a file-system path into it; the Win32 layer also expands short
// names there), and answers what was taken out and why.
std::vector<TLeftEntry> RestrictToScope(TQorvelUninstallConfiguration& configuration, const TUninstallScope& scope,
                                        const std::function<std::wstring(const std::wstring&)>& canonicalFile);

// The lines that tell the user what was left: one per entry, at most `maxLines` of them,
// the last one "and N more" when there are more; long paths are shortened in the middle.
std::vector<std::wstring> LeftEntryLines(const std::vector<TLeftEntry>& entries, std::size_t maxLines);
