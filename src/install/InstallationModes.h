#pragma once
// What this start of the program is: a setup file, an installed or portable copy, or one
// of the two uninstall steps. Decided from the command line and the 8-byte marker at the
// very end of the executable.

#include <cstdint>
#include <string>
#include <vector>

enum TInstallationMode : std::uint8_t {
  imPlain = 0,
  imSetup = 1,
  imLocalApp = 2,
  imPortableApp = 3,
  imUninstall = 4,
  imRemove = 5,
};

enum TQorvelApplicationType : std::uint8_t { patProgram = 0, patScreenSaver = 1 };
// Which of the two licence texts the installation wizard shows.
enum TQorvelLicenseType : std::uint8_t { pltNormal = 0, pltFree = 1 };

// The three markers as one run, 8 bytes each, in mode order from imSetup.
inline constexpr char InstallationMarkers[] = "SETUPAPPLOCALAPPPORTABLE";
inline constexpr std::size_t InstallationMarkerSize = 8;

// `arguments` are the command-line arguments after the program name; `fileTail` the last 8
// bytes of the executable (shorter or empty when the file could not be read). The switches
// win over the marker and need at least two arguments; "-uninstall" is tested first.
TInstallationMode DetectInstallationMode(const std::vector<std::wstring>& arguments, const std::string& fileTail);

// The switch with which a setup started again with administrator rights goes on with the
// local setup the user chose: the licence accepted, past the setup-type page.
inline constexpr wchar_t LocalSetupSwitch[] = L"-localsetup";
bool ResumesLocalSetup(const std::vector<std::wstring>& arguments);

// Whether the executable file carries one of the three markers.
bool HasInstallationMarker(const std::string& fileTail);

// The bytes of the executable without its marker (a copy started with a switch still
// carries its marker, so this follows the file, not the mode).
std::uint32_t InstallationPayloadSize(std::uint32_t exeSize, bool hasMarker);

// The tray application's title: the product name, " portable" for a portable copy.
std::wstring InstallationAppTitle(const std::wstring& productName, TInstallationMode mode);
