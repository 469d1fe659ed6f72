#pragma once
// Shell and file-system helpers of the installer: special folders, shortcuts, folder trees
// and the three registry roots an installation touches.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "install/QorvelInstallWizardRules.h"
#include "install/InstallerRules.h"

// The folder of a kind without trailing backslash, or empty when it cannot be resolved.
// Kinds 3..13 fall back to the current user's "Shell Folders" values, program files to
// "ProgramFilesDir" of the machine.
std::wstring SpecialFolderPath(TQorvelFolderKind kind);
// Application data + "Microsoft\Internet Explorer\Quick Launch", only when it exists.
std::wstring QuickLaunchFolder();
// The Windows folder's "Temp" when it exists, else the Windows folder.
std::wstring WindowsTempFolder();

bool FolderExists(const std::wstring& folder);
// Whether every entry of the folder (by full path) is one `allowed` accepts; true for an
// empty or missing folder. Stops at the first one it does not.
bool FolderHoldsOnly(const std::wstring& folder, const std::function<bool(const std::wstring& path)>& allowed);
// Whether the folder holds any file or subfolder.
bool FolderHasEntries(const std::wstring& folder);
bool FileExists(const std::wstring& path);
// Creates the folder and every missing parent; answers whether it exists afterwards.
bool ForceDirectories(const std::wstring& folder);
// Clears read-only, hidden and system so that the object can be deleted or rewritten.
void ClearProtectingAttributes(const std::wstring& path);

// COM for one scope (the shell's objects and dialogs want it); the balance is kept only
// when it succeeded.
class TComScope {
 public:
  TComScope();
  ~TComScope();
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

 private:
  HRESULT FResult;
};

// The shell's folder browser titled `title`, opened at `start`; empty when cancelled.
std::wstring ChooseFolder(HWND owner, const std::wstring& title, const std::wstring& start);

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

// What this process may do: its token elevated, filtered (it can ask for the full one), or a
// standard user's. A deny-only Administrators group, as in a filtered token, does not count.
TElevation CurrentElevation();

// A program started through the shell: "open", or "runas" for the system's elevation prompt.
struct TShellStart {
  std::wstring Verb;
  std::wstring File;
  std::wstring Parameters;
  std::wstring Folder;
  HWND Owner = nullptr;       // the prompt's owner
  DWORD* ExitCode = nullptr;  // when set: waits for the program to end and keeps its exit code
};
// Answers 0 when it started, else the error (ERROR_CANCELLED: the user declined the prompt).
using TShellStarter = std::function<DWORD(const TShellStart&)>;
DWORD StartThroughShell(const TShellStart& start);

// Starts a program as the signed-in user: through the desktop's shell when this process runs
// elevated and the shell does not, so that an elevated setup does not hand its rights to the
// program (its settings and autostart belong to that user); else (no shell, the same rights,
// or the shell's objects out of reach) with a start of our own. The program then becomes the shell's child, which is
// only worth it when it changes the rights: a shell that hosts programs it started may treat
// them apart (Wine's desktop ends with the last program it did not start, tray and all).
void StartAsDesktopUser(const std::wstring& file, const std::wstring& folder);

// HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT or HKEY_CURRENT_USER by name; nothing for others.
std::optional<HKEY> RegistryRootByName(const std::wstring& rootName);
// Key paths as the installer writes them may start with a backslash; the API wants none.
std::wstring RegistrySubKey(const std::wstring& keyPath);
