#pragma once
// Shell and file-system helpers of the installer: special folders, shortcuts, folder trees
// and the three registry roots an installation touches.

#include <windows.h>

#include <optional>
#include <string>

#include "install/QorvelInstallers.h"

// The folder of a kind without trailing backslash, or empty when it cannot be resolved.
// Kinds 3..13 fall back to the current user's "Shell Folders" values, program files to
// "ProgramFilesDir" of the machine.
std::wstring SpecialFolderPath(TQorvelFolderKind kind);
// Application data + "Microsoft\Internet Explorer\Quick Launch", only when it exists.
std::wstring QuickLaunchFolder();
// The Windows folder's "Temp" when it exists, else the Windows folder.
std::wstring WindowsTempFolder();

bool FolderExists(const std::wstring& folder);
bool FileExists(const std::wstring& path);
// Creates the folder and every missing parent; answers whether it exists afterwards.
bool ForceDirectories(const std::wstring& folder);
// Clears read-only, hidden and system so that the object can be deleted or rewritten.
void ClearProtectingAttributes(const std::wstring& path);

struct TQorvelShortcut {
  std::wstring LinkPath;  // ...\Name.lnk
  std::wstring Target;
  std::wstring Arguments;
  std::wstring WorkingFolder;
  std::wstring Description;
  std::wstring IconLocation;  // empty: the target's own icon
};
// Writes the shortcut through the shell link object; creates its folder when missing.
bool CreateShortcut(const TQorvelShortcut& shortcut);

// HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT or HKEY_CURRENT_USER by name; nothing for others.
std::optional<HKEY> RegistryRootByName(const std::wstring& rootName);
// Key paths as the installer writes them may start with a backslash; the API wants none.
std::wstring RegistrySubKey(const std::wstring& keyPath);
