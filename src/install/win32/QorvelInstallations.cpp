#include "install/win32/QorvelInstallations.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "gui/Application.h"
#include "gui/Handles.h"
#include "install/win32/QorvelInstallers.h"
#include "install/win32/QorvelUninstallers.h"

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
  if ((FMode == imUninstall || FMode == imRemove) && arguments.size() >= 2) FConfigPath = UnquotePath(arguments[1]);
  FResumesLocalSetup = FMode == imSetup && ::ResumesLocalSetup(arguments);
}

bool TQorvelInstallation::RunInstallationStep() {
  switch (FMode) {
    case imSetup:
      RunSetup();
      return false;
    case imUninstall:
      if (!StartUninstallFromCopy(FExePath, FConfigPath))
        SystemInstallPrompt().ShowError("Error", "The uninstaller could not be started.");
      return false;
    case imRemove:
      RunRemove();
      return false;
    default:
      return true;
  }
}

bool TQorvelInstallation::RunSetup() {
  if (!InstallWizard) {
    // A setup file without its wizard must not look like a finished installation.
    SystemInstallPrompt().ShowError("Error", "This setup program cannot install " + Narrow(FAppTitle) + ".");
    return false;
  }
  TQorvelInstaller installer(FExePath, FPayloadSize);
  AddUninstallItems(installer.Uninstaller);
  return InstallWizard(*this, installer);
}

bool TQorvelInstallation::RunRemove() {
  if (!UninstallWizard) {
    SystemInstallPrompt().ShowError("Error", "This program cannot uninstall " + Narrow(FAppTitle) + ".");
    return false;
  }
  return UninstallWizard(*this, FConfigPath);
}

void TQorvelInstallation::AddUninstallItems(TQorvelUninstaller&) {}
