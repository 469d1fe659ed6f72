#pragma once
// The navigation rules of the installation and uninstallation wizards, without windows:
// which page follows which, what the user is asked before leaving a page, what the three
// buttons read and whether they are enabled, and which folder the wizard proposes.

#include <cstdint>
#include <optional>
#include <string>

enum TInstallPage : int {
  ipWelcome = 0,
  ipLicense = 1,
  ipSetupType = 2,
  ipPreviousInstallation = 3,
  ipUninstallPrevious = 4,
  ipInstallFolder = 5,
  ipStartMenu = 6,
  ipInstalling = 7,
  ipCompleted = 8,
};
inline constexpr int InstallPageCount = 9;

// The three choices of the previous-installation page.
enum class TPreviousChoice { SameFolder, UninstallPrevious, OtherFolder };

// What the user has chosen so far and what the system told the wizard.
// What the process may do with the machine: elevated, or able to ask for it (the system's
// prompt asks a filtered administrator to confirm and a standard user for an administrator's
// password).
enum class TElevation { Elevated, CanElevate };
// The token's elevation type as the system reports it; Unknown where the system has none.
enum class TTokenElevationKind { Unknown, Default, Full, Limited };
// A full token is elevated; otherwise (no User Account Control, or the built-in
// administrator) the enabled Administrators group decides. Everyone else can ask.
TElevation ElevationFrom(TTokenElevationKind kind, bool administratorsEnabled);

struct TInstallWizardState {
  TElevation Elevation = TElevation::Elevated;
  bool ElevationTried = false;  // this run was started elevated for the local setup
  bool Portable = false;
  bool HasPrevious = false;  // cleared once the previous installation was uninstalled
  TPreviousChoice PreviousChoice = TPreviousChoice::SameFolder;
  bool LicenseAccepted = false;
  bool LicenseDenied = true;

  bool UsesPreviousFolder() const { return HasPrevious && !Portable && PreviousChoice == TPreviousChoice::SameFolder; }
};

// A move between pages. Moving forward may also ask the window to show the previous
// installation's folder or to propose a fresh one.
struct TPageMove {
  int NewPage = 0;
  bool TakePreviousFolder = false;  // the folder display takes the previous folder
  bool ProposeFolder = false;       // arriving at the install folder page: show ProposedFolder
};

TPageMove NextInstallPage(const TInstallWizardState& state, int page);
TPageMove PreviousInstallPage(const TInstallWizardState& state, int page);

// The question to ask before Next leaves `page`; a "No" keeps the wizard where it is.
// Elevate: the local setup goes on in a run with administrator rights.
enum class TLeaveQuestion { None, NotAdministrator, FolderExists, Elevate };
struct TLeaveFacts {
  TElevation Elevation = TElevation::Elevated;
  bool ElevationTried = false;
  bool Portable = false;
  std::wstring Folder;  // as shown on the install folder page
  std::wstring ProposedFolder;
  bool FolderExistsWithContent = false;  // an existing folder that is not empty
};
TLeaveQuestion QuestionBeforeLeaving(int page, const TLeaveFacts& facts);

// Whether two folder paths name the same folder: case-insensitive, a trailing backslash
// does not count.
bool SameFolder(const std::wstring& a, const std::wstring& b);

enum TWizardButton : int { wbBack = 0, wbNext = 1, wbCancel = 2, wbFinish = 3 };

struct TWizardButtonStates {
  bool BackEnabled = true;
  bool NextEnabled = true;
  bool CancelEnabled = true;
  bool NextShield = false;  // Next leads to the system's elevation prompt
  std::wstring NextCaption = L"Next";
};

TWizardButtonStates InstallWizardButtons(const TInstallWizardState& state, int page);

enum TUninstallPage : int { upWelcome = 0, upUninstalling = 1, upCompleted = 2 };
inline constexpr int UninstallPageCount = 3;
TWizardButtonStates UninstallWizardButtons(int page);

// The folder the wizard proposes on the install folder page. Folders are given without a
// trailing backslash; an empty one could not be resolved.
struct TFolderProposalInput {
  bool Portable = false;
  std::optional<std::wstring> PortableDriveRoot;  // "E:\"; none for "other drive"
  std::wstring MyDocumentsFolder;
  std::wstring PortableDefaultFolder;  // "\" means the drive root
  std::wstring DefaultFolder;          // relative, or absolute ("D:\Tools")
  std::wstring ProgramFilesFolder;
  std::wstring SystemFolder;
  bool ScreenSaver = false;
};
std::wstring ProposedFolder(const TFolderProposalInput& input);

// "1,234.5 MB" style texts of the install folder page.
std::wstring MegabytesText(std::uint64_t bytes, const std::wstring& thousandsSeparator,
                           const std::wstring& decimalSeparator);
// The space the program needs: its payload and some room for the files the installation
// writes beside it.
std::uint64_t SpaceNeeded(std::uint32_t payloadSize);
// The drive letter of a folder ("C:\..." → 'C'), none when it does not start with one.
std::optional<wchar_t> FolderDriveLetter(const std::wstring& folder);

// The deepest existing folder at or above `folder`, for the folder browser to start in;
// a bare drive gets its backslash. `exists` answers for one folder path.
template <typename TExists>
std::wstring DeepestExistingFolder(std::wstring folder, TExists exists) {
  while (!folder.empty()) {
    while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    if (exists(folder)) return folder;
    const std::size_t separator = folder.find_last_of(L"\\/");
    if (separator == std::wstring::npos || folder.size() <= 3) return {};
    folder.erase(separator);
  }
  return {};
}
