#include "app/SettingsFileNames.h"

namespace {
std::wstring WithTrailingSeparator(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  return folder;
}
}  // namespace

std::wstring SettingsFileNameFor(TInstallationMode mode, const std::wstring& exePath,
                                 const std::wstring& appDataFolder) {
  if (mode == imPortableApp) {
    const std::size_t slash = exePath.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : exePath.substr(0, slash + 1);
    std::wstring base = slash == std::wstring::npos ? exePath : exePath.substr(slash + 1);
    const std::size_t dot = base.find_last_of(L'.');
    if (dot != std::wstring::npos) base.resize(dot);
    return folder + base + L".xml";
  }
  return WithTrailingSeparator(appDataFolder) + L"Qorvel\\Vindle\\Settings.xml";
}
