#pragma once
// The decisions of the installer that need no system: where things go, what they are
// called, and how dates are stored. The installer itself is win32/QorvelInstallers.h.

#include <cstdint>
#include <string>

#include "install/InstallationModes.h"

// Bits of TQorvelInstaller::Options.
enum TQorvelInstallOption : std::uint32_t {
  ioStartMenuShortcut = 1u << 0,
  ioDesktopShortcut = 1u << 1,
  ioQuickLaunchShortcut = 1u << 2,
  ioFileTypes = 1u << 3,
  ioUninstaller = 1u << 4,
};
inline constexpr std::uint32_t DefaultInstallOptions = ioStartMenuShortcut | ioFileTypes | ioUninstaller;

// 0 local ("LOCALAPP"), 1 portable ("PORTABLE").
enum TQorvelInstallKind : std::uint8_t { ikLocal = 0, ikPortable = 1 };
// The 8 marker bytes a copy of this kind ends with.
std::string InstallKindMarker(TQorvelInstallKind kind);

// Special folders by the numbers the installer stores; 0 means none.
enum TQorvelFolderKind : int {
  fkNone = 0,
  fkWindows = 1,
  fkSystem = 2,
  fkDesktop = 3,
  fkMyDocuments = 4,
  fkStartMenu = 5,
  fkMyPrograms = 6,
  fkFonts = 7,
  fkAppData = 8,
  fkMyMusic = 9,
  fkMyPictures = 10,
  fkMyVideo = 11,
  fkSendTo = 12,
  fkStartup = 13,
  fkProgramFiles = 14,
  fkCommonStartMenu = 15,
  fkCommonPrograms = 16,
  fkCommonAppData = 17,
  fkCommonDocuments = 18,
};

// The value under the current user's "Shell Folders" key that stands in for kinds 3..13
// when the shell cannot resolve them; empty for the other kinds.
std::wstring ShellFoldersValueName(TQorvelFolderKind kind);

std::wstring WithTrailingBackslash(const std::wstring& folder);
std::wstring WithoutTrailingBackslash(const std::wstring& folder);
// The part after the last backslash or slash.
std::wstring FileNameOf(const std::wstring& path);
// The part up to and including the last backslash or slash.
std::wstring FolderOf(const std::wstring& path);

// TargetFolder + the version's "OriginalFilename" when there is one, else the source's name.
std::wstring InstalledExePath(const std::wstring& targetFolder, const std::wstring& sourcePath,
                              const std::wstring& originalFilename);

// Where "Installation.xml" goes; empty when the uninstaller option is off. Screen savers keep
// it under common application data (or common documents) in Company\Product.
std::wstring UninstallConfigPathFor(std::uint32_t options, TQorvelApplicationType type,
                                    const std::wstring& targetFolder, const std::wstring& companyName,
                                    const std::wstring& productName, const std::wstring& commonAppData,
                                    const std::wstring& commonDocuments);

// "HKEY_LOCAL_MACHINE" key path of an installation: "\SOFTWARE\" + key + "\installation".
std::wstring InstallationRegistryKey(const std::wstring& registryKey);

// Days since 1899-12-30 with the time of day as fraction, as "InstallDate" stores it.
double DateTimeFromCivil(int year, int month, int day, int hour, int minute, int second, int millisecond);

// The Retry/Cancel text when the executable cannot be created.
std::wstring CannotCreateFileText(const std::wstring& path);
// The Retry/Cancel text when a required object cannot be removed.
std::wstring CannotRemoveText(const std::wstring& path);
