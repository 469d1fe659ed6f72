#include "install/InstallerRules.h"

#include <array>

std::string InstallKindMarker(TQorvelInstallKind kind) {
  const std::size_t index = kind == ikPortable ? 2 : 1;
  return std::string(InstallationMarkers + index * InstallationMarkerSize, InstallationMarkerSize);
}

std::wstring ShellFoldersValueName(TQorvelFolderKind kind) {
  static constexpr std::array<const wchar_t*, 11> Names = {L"Desktop",  L"Personal", L"Start Menu", L"Programs",
                                                           L"Fonts",    L"AppData",  L"My Music",   L"My Pictures",
                                                           L"My Video", L"SendTo",   L"Startup"};
  if (kind < fkDesktop || kind > fkStartup) return {};
  return Names[static_cast<std::size_t>(kind - fkDesktop)];
}

namespace {
bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
}  // namespace

std::wstring WithTrailingBackslash(const std::wstring& folder) {
  if (folder.empty() || IsSeparator(folder.back())) return folder;
  return folder + L'\\';
}

std::wstring WithoutTrailingBackslash(const std::wstring& folder) {
  std::wstring result = folder;
  // "C:\" keeps its backslash: without it the path means the drive's current folder.
  while (!result.empty() && IsSeparator(result.back()) && !(result.size() == 3 && result[1] == L':')) result.pop_back();
  return result;
}

std::wstring FileNameOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

std::wstring InstalledExePath(const std::wstring& targetFolder, const std::wstring& sourcePath,
                              const std::wstring& originalFilename) {
  // A name from the version resource must not lead out of the target folder.
  const std::wstring name = originalFilename.empty() ? FileNameOf(sourcePath) : FileNameOf(originalFilename);
  return WithTrailingBackslash(targetFolder) + name;
}

std::wstring UninstallConfigPathFor(std::uint32_t options, TQorvelApplicationType type,
                                    const std::wstring& targetFolder, const std::wstring& companyName,
                                    const std::wstring& productName, const std::wstring& commonAppData,
                                    const std::wstring& commonDocuments) {
  if (!(options & ioUninstaller)) return {};
  if (type == patProgram) return WithTrailingBackslash(targetFolder) + L"Installation.xml";
  const std::wstring& shared = !commonAppData.empty() ? commonAppData : commonDocuments;
  if (shared.empty()) return WithTrailingBackslash(targetFolder) + productName + L"Installation.xml";
  return WithTrailingBackslash(shared) + companyName + L'\\' + productName + L"\\Installation.xml";
}

std::wstring InstallationRegistryKey(const std::wstring& registryKey) {
  return L"\\SOFTWARE\\" + registryKey + L"\\installation";
}

double DateTimeFromCivil(int year, int month, int day, int hour, int minute, int second, int millisecond) {
  // Days from the civil date (proleptic Gregorian), counted from 1970-01-01 first.
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yearOfEra = y - era * 400;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  const long long daysSince1970 = static_cast<long long>(era) * 146097 + dayOfEra - 719468;
  constexpr long long Days1899To1970 = 25569;
  const double fraction = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
  return static_cast<double>(daysSince1970 + Days1899To1970) + fraction;
}

std::wstring CannotCreateFileText(const std::wstring& path) {
  return path + L" cannot be created. Please exit all applications which might lock the file.";
}

std::wstring CannotRemoveText(const std::wstring& path) { return path + L" could not be removed."; }
