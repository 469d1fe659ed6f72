#include "install/win32/QorvelInstallations.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "gui/Handles.h"
#include "install/QorvelFileVersionInfo.h"

namespace {

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::vector<std::wstring> CommandLineArguments() {
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::wstring> arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(argv[i]);
  ::LocalFree(argv);
  return arguments;
}

// The last 8 bytes of the file and its size; an unreadable file reads as empty.
std::string FileTail(const std::wstring& path, std::uint32_t& size) {
  size = 0;
  TFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  LARGE_INTEGER fileSize{};
  if (!::GetFileSizeEx(file.Get(), &fileSize)) return {};
  size = static_cast<std::uint32_t>(fileSize.QuadPart);
  if (fileSize.QuadPart < static_cast<LONGLONG>(InstallationMarkerSize)) return {};
  LARGE_INTEGER offset{};
  offset.QuadPart = fileSize.QuadPart - static_cast<LONGLONG>(InstallationMarkerSize);
  if (!::SetFilePointerEx(file.Get(), offset, nullptr, FILE_BEGIN)) return {};
  std::string tail(InstallationMarkerSize, '\0');
  DWORD read = 0;
  if (!::ReadFile(file.Get(), tail.data(), static_cast<DWORD>(tail.size()), &read, nullptr) ||
      read != tail.size())
    return {};
  return tail;
}

}  // namespace

TQorvelInstallation::TQorvelInstallation() { Detect(); }

void TQorvelInstallation::Detect() {
  FExePath = ModulePath();
  const std::vector<std::wstring> arguments = CommandLineArguments();
  const std::string tail = FileTail(FExePath, FExeSize);
  FMode = DetectInstallationMode(arguments, tail);
  FPayloadSize = InstallationPayloadSize(FExeSize, HasInstallationMarker(tail));
  if ((FMode == imUninstall || FMode == imRemove) && arguments.size() >= 2) FConfigPath = arguments[1];
}

bool TQorvelInstallation::RunInstallationStep() {
  // Setup, uninstallation and removal are not part of this build yet: those starts run
  // the program normally.
  return true;
}

TApplicationInstallation::TApplicationInstallation() { SetDefaults(); }

void TApplicationInstallation::SetDefaults() {
  CompanyName = L"Qorvel";
  DefaultFolder = L"Qorvel\\Vindle";
  FAppTitle = InstallationAppTitle(AppVersionInfo().ProductName(), Mode());
}

TApplicationInstallation& ApplicationInstallation() {
  static TApplicationInstallation installation;
  return installation;
}
