#include "install/InstallationModes.h"

#include <cwctype>

namespace {

std::wstring LowerCase(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

TInstallationMode MarkerMode(const std::string& fileTail) {
  if (fileTail.size() != InstallationMarkerSize) return imPlain;
  for (std::size_t i = 0; i < 3; ++i) {
    if (fileTail.compare(0, InstallationMarkerSize, InstallationMarkers + i * InstallationMarkerSize,
                         InstallationMarkerSize) == 0)
      return static_cast<TInstallationMode>(imSetup + i);
  }
  return imPlain;
}

}  // namespace

TInstallationMode DetectInstallationMode(const std::vector<std::wstring>& arguments, const std::string& fileTail) {
  if (arguments.size() >= 2) {
    const std::wstring first = LowerCase(arguments[0]);
    if (first == L"-uninstall") return imUninstall;
    if (first == L"-remove") return imRemove;
  }
  return MarkerMode(fileTail);
}

bool ResumesLocalSetup(const std::vector<std::wstring>& arguments) {
  return !arguments.empty() && LowerCase(arguments[0]) == LocalSetupSwitch;
}

bool HasInstallationMarker(const std::string& fileTail) { return MarkerMode(fileTail) != imPlain; }

std::uint32_t InstallationPayloadSize(std::uint32_t exeSize, bool hasMarker) {
  return hasMarker && exeSize >= InstallationMarkerSize ? exeSize - static_cast<std::uint32_t>(InstallationMarkerSize)
                                                        : exeSize;
}

std::wstring InstallationAppTitle(const std::wstring& productName, TInstallationMode mode) {
  return mode == imPortableApp ? productName + L" portable" : productName;
}
