#pragma once
// What an installation leaves on the system and how to take it away again: four sorted
// lists of paths (folders, files, registry keys, registry values), each entry with what the
// uninstaller does with it, and their file "Installation.xml".
//
// Everything here is pure; the Win32 uninstaller (win32/QorvelUninstallers.h) adds the
// file, registry and message-box work on top.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TQorvelStream;

// Progress stages reported by the installer (1..4) and the uninstaller (5..7).
enum TQorvelInstallStage : int {
  isCopyingFiles = 1,
  isCreatingShortcuts = 2,
  isRegisteringFileTypes = 3,
  isPreparingUninstaller = 4,
  isRemovingFiles = 5,
  isRemovingFolders = 6,
  isCleaningRegistry = 7,
};

// Stage and percentage 0..100; stages 2..7 report 0 when they start and 100 when they end.
using TQorvelProgressEvent = std::function<void(TQorvelInstallStage stage, int percent)>;

enum TQorvelUninstallAction : std::uint8_t { uaIgnore = 0, uaRemove = 1, uaRestore = 2 };
enum TQorvelUninstallLevel : std::uint8_t { ulOptional = 0, ulRequired = 1 };
enum TQorvelUninstallValueType : std::uint8_t { uvtString = 0, uvtExpandString = 1, uvtInteger = 2 };

struct TQorvelUninstallInformation {
  TQorvelUninstallAction Action = uaRemove;
  TQorvelUninstallLevel Level = ulRequired;
  std::int32_t Cascade = 0;  // kept in the file, not otherwise used
  std::wstring Value;        // what "restore" writes back
  TQorvelUninstallValueType ValueType = uvtString;

  bool operator==(const TQorvelUninstallInformation&) const = default;
};

// Paths sorted without regard to case, each at most once. Because a parent path sorts before
// everything below it, walking the list from the end handles children before their parents.
class TQorvelUninstallList {
 public:
  struct TEntry {
    std::wstring Path;
    std::optional<TQorvelUninstallInformation> Information;  // none: written as a bare item
  };

  // Answers false (and keeps the first entry) when the path is already listed.
  bool Add(const std::wstring& path, std::optional<TQorvelUninstallInformation> information);
  bool Add(const std::wstring& path, TQorvelUninstallAction action, TQorvelUninstallLevel level) {
    TQorvelUninstallInformation information;
    information.Action = action;
    information.Level = level;
    return Add(path, information);
  }
  // Adds many at once in O(n log n); the first entry of a path stays, as with Add.
  void AddAll(std::vector<TEntry> entries);
  bool Contains(const std::wstring& path) const;
  void Clear() { FEntries.clear(); }

  std::size_t Count() const { return FEntries.size(); }
  bool Empty() const { return FEntries.empty(); }
  const TEntry& operator[](std::size_t index) const { return FEntries[index]; }
  auto begin() const { return FEntries.begin(); }
  auto end() const { return FEntries.end(); }

 private:
  std::vector<TEntry> FEntries;
};

// Case-insensitive ordering of paths (ASCII and Latin-1 letters fold to one case).
int ComparePathsIgnoringCase(const std::wstring& a, const std::wstring& b);

// The content of "Installation.xml".
struct TQorvelUninstallConfiguration {
  std::wstring ProductName;
  TQorvelUninstallList Folders;
  TQorvelUninstallList Files;
  TQorvelUninstallList RegistryKeys;
  TQorvelUninstallList RegistryValues;
};

// Writes the file: TAB indentation, CR LF line ends, texts and attribute values escaped.
void WriteUninstallConfiguration(TQorvelStream& stream, const TQorvelUninstallConfiguration& configuration);

// Adds what the file lists to `configuration` (its product name replaces the one there).
// A damaged file, and also an empty, foreign or cut-off one, throws EQorvelXmlError with the
// line number, e.g. "Uninstall configuration file corrupt. Unknown <x> tag in line 3.".
void ReadUninstallConfiguration(TQorvelStream& stream, TQorvelUninstallConfiguration& configuration);

// ---- Registry paths ------------------------------------------------------------------------

// "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT" or "HKEY_CURRENT_USER".
inline constexpr wchar_t RegistryRootLocalMachine[] = L"HKEY_LOCAL_MACHINE";
inline constexpr wchar_t RegistryRootClassesRoot[] = L"HKEY_CLASSES_ROOT";
inline constexpr wchar_t RegistryRootCurrentUser[] = L"HKEY_CURRENT_USER";

struct TQorvelRegistryPath {
  std::wstring Root;       // the part before the first backslash
  std::wstring KeyPath;    // without leading backslash
  std::wstring ValueName;  // only for value paths: the part after the last backslash
};

// "HKEY_CURRENT_USER\Software\X" → root, "Software\X". Nothing without a backslash or with
// an empty key path (a listed bare root must never lead to deleting a whole hive).
std::optional<TQorvelRegistryPath> SplitRegistryKeyPath(const std::wstring& path);
// "HKEY_CURRENT_USER\Software\X\Name" → root, "Software\X", "Name".
std::optional<TQorvelRegistryPath> SplitRegistryValuePath(const std::wstring& path);

// Keys that a configuration file must never make the uninstaller delete with all their
// subkeys: a hive's top level and every key that holds system keys such as
// "Software\Microsoft\Windows\CurrentVersion\Uninstall" or "Software\Classes".
bool IsProtectedRegistryKey(const std::wstring& root, const std::wstring& keyPath);

// "HKEY_LOCAL_MACHINE" + "\SOFTWARE\..." → "HKEY_LOCAL_MACHINE\SOFTWARE\..." (one backslash).
std::wstring JoinRegistryPath(const std::wstring& root, const std::wstring& keyPath);

// ---- Uninstall entry ---------------------------------------------------------------------

// LongProductName keeping only A..Z, a..z, 0..9 and spaces.
std::wstring UninstallKeyName(const std::wstring& longProductName);
// "\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\" + key name.
std::wstring UninstallRegistryKey(const std::wstring& uninstallKeyName);
// The path in double quotes when it contains a space or a character the command interpreter
// treats specially ("&^%()") and is not quoted yet.
std::wstring QuotePathForCommandLine(const std::wstring& path);
// The path without enclosing double quotes.
std::wstring UnquotePath(const std::wstring& path);
// exe " -uninstall " config, each path quoted when it needs it.
std::wstring UninstallCommandLine(const std::wstring& exePath, const std::wstring& configPath);
// The configuration path an uninstall command names (the word after "-uninstall"), or nothing.
std::wstring ConfigPathOfUninstallCommand(const std::wstring& command);
// "-remove " + config (quoted when it needs it): how the temporary copy is started.
std::wstring RemoveParameters(const std::wstring& configPath);
// "cmd /c rd /s /q " + the temporary copy's private folder: the RunOnce command that deletes
// it at the next logon.
std::wstring DeleteAtLogonCommand(const std::wstring& temporaryFolder);
// The configuration beside the installed executable: its folder + "Installation.xml".
std::wstring DefaultConfigPathBeside(const std::wstring& exePath);

inline constexpr wchar_t UninstallConfigFileName[] = L"Installation.xml";
inline constexpr wchar_t UninstallCopyFileName[] = L"QorvelUninstall.exe";
inline constexpr wchar_t UninstallRunOnceValue[] = L"Qorvel Uninstall";
inline constexpr wchar_t QorvelPublisher[] = L"Qorvel Software";
inline constexpr wchar_t QorvelWebAddress[] = L"https://qorvel.example/";
