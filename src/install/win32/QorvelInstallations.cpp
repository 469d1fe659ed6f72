#include "install/win32/QorvelInstallations.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "gui/Application.h"
#include "gui/Handles.h"
#include "install/win32/QorvelInstallers.h"
#include "install/win32/QorvelShellUtils.h"
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
  TFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
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
  if (!::ReadFile(file.Get(), tail.data(), static_cast<DWORD>(tail.size()), &read, nullptr) || read != tail.size())
    return {};
  return tail;
}

// One setup or uninstallation of the product at a time, across sessions: two at once would
// copy over and remove each other's files.
class TSetupGuard {
 public:
  TSetupGuard(const std::wstring& product, DWORD waitMs)
      : FMutex(::CreateMutexW(nullptr, FALSE, (L"Global\\Qorvel" + product + L"Setup").c_str())) {
    if (!FMutex) FMutex.Reset(::CreateMutexW(nullptr, FALSE, (L"Local\\Qorvel" + product + L"Setup").c_str()));
    const DWORD result = FMutex ? ::WaitForSingleObject(FMutex.Get(), waitMs) : WAIT_FAILED;
    FHeld = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  }
  ~TSetupGuard() {
    if (FHeld) ::ReleaseMutex(FMutex.Get());
  }
  TSetupGuard(const TSetupGuard&) = delete;
  TSetupGuard& operator=(const TSetupGuard&) = delete;
  bool Held() const { return FHeld; }

 private:
  TKernelHandle FMutex;
  bool FHeld = false;
};

bool Mentions(const std::vector<std::wstring>& arguments, const std::wstring& name) {
  for (const auto& argument : arguments)
    if (argument.size() > 1 && (argument[0] == L'/' || argument[0] == L'-') &&
        ::CompareStringOrdinal(argument.c_str() + 1, -1, name.c_str(), -1, TRUE) == CSTR_EQUAL)
      return true;
  return false;
}

// The system's sentence for an error code, without its line break.
std::wstring SystemErrorText(DWORD error) {
  wchar_t text[512] = {};
  DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  512, nullptr);
  while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n')) --length;
  return length ? std::wstring(text, length) : L"error " + std::to_wstring(error);
}

std::wstring ExitText(int code) {
  switch (code) {
    case secDone: return L"Done (exit code 0).";
    case secCancelled: return L"Cancelled (exit code 1602).";
    case secAlreadyRunning: return L"Another setup is running (exit code 1618).";
    case secBadSwitches: return L"Bad switches (exit code 1639).";
    default: return L"Failed (exit code " + std::to_wstring(code) + L").";
  }
}

}  // namespace

TQorvelInstallation::TQorvelInstallation() { Detect(); }

void TQorvelInstallation::Detect() {
  FExePath = ModulePath();
  FArguments = CommandLineArguments();
  const std::string tail = FileTail(FExePath, FExeSize);
  FMode = DetectInstallationMode(FArguments, tail);
  FPayloadSize = InstallationPayloadSize(FExeSize, HasInstallationMarker(tail));
  if ((FMode == imUninstall || FMode == imRemove) && FArguments.size() >= 2) FConfigPath = UnquotePath(FArguments[1]);
  FResumesLocalSetup = FMode == imSetup && ::ResumesLocalSetup(FArguments);
}

bool TQorvelInstallation::RunInstallationStep() {
  switch (FMode) {
    case imSetup: FExitCode = RunSetup(); break;
    case imUninstall: FExitCode = StartUninstall(); break;
    case imRemove: FExitCode = RunRemove(); break;
    default: return true;
  }
  Log(ExitText(FExitCode));
  if (FExitCode != secDone && FLog && FQuiet)
    ShowText(L"Setup ended: " + ExitText(FExitCode) + L" The log is " + FLog->Path(), true, true);
  return false;
}

void TQorvelInstallation::Log(const std::wstring& line) const {
  if (FLog) FLog->Write(line);
}

void TQorvelInstallation::ShowText(const std::wstring& text, bool error, bool quiet) const {
  // The console that started the program, when there is one; else a box, unless nobody
  // may be asked to click it.
  if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
    TFileHandle console(::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD written = 0;
    if (console) ::WriteConsoleW(console.Get(), text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::FreeConsole();
    return;
  }
  if (!quiet)
    ::MessageBoxW(nullptr, text.c_str(), FAppTitle.c_str(), MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

std::optional<TSetupSwitches> TQorvelInstallation::Switches(std::size_t skip, bool removal) {
  const std::vector<std::wstring> rest(
      FArguments.begin() + static_cast<std::ptrdiff_t>(std::min(skip, FArguments.size())), FArguments.end());
  const TParsedSetupSwitches parsed = ParseSetupSwitches(rest, removal);
  // Refused switches still tell whether anyone may be asked to read a box.
  FQuiet = parsed.Switches ? parsed.Switches->Silent : Mentions(rest, L"silent");
  if (parsed.Switches) return parsed.Switches;
  const bool quiet = FQuiet;
  if (quiet) FLog = std::make_unique<TSetupLog>(TSetupLog::TemporaryPath(FAppTitle));
  const std::wstring text = parsed.Error + L"\r\n\r\n" + SetupUsage(FileNameOf(FExePath));
  Log(text);
  ShowText(text, true, quiet);
  return std::nullopt;
}

bool TQorvelInstallation::OpenLog(const TSetupSwitches& switches) {
  if (!switches.LogFile.empty()) {
    FLog = std::make_unique<TSetupLog>(switches.LogFile);
    if (!FLog->Opened()) {
      // Asked for a log that cannot be written: nothing runs unrecorded.
      const std::wstring text = L"The log file " + switches.LogFile + L" cannot be written.";
      FLog = std::make_unique<TSetupLog>(TSetupLog::TemporaryPath(FAppTitle));
      Log(L"Started: " + FExePath + L" " + SetupArguments(FArguments));
      Log(text);
      ShowText(text, true, switches.Silent);
      return false;
    }
  } else if (switches.Silent) {
    FLog = std::make_unique<TSetupLog>(TSetupLog::TemporaryPath(FAppTitle));
  }
  Log(L"Started: " + FExePath + L" " + SetupArguments(FArguments));
  return true;
}

int TQorvelInstallation::RunSetup() {
  const std::optional<TSetupSwitches> switches = Switches(0, false);
  if (!switches) return secBadSwitches;
  if (switches->Help) {
    ShowText(SetupUsage(FileNameOf(FExePath)), false, false);
    return secDone;
  }
  if (!InstallWizard || !UnattendedSetup) {
    // A setup file without its wizard must not look like a finished installation.
    SystemInstallPrompt().ShowError("Error", "This setup program cannot install " + Narrow(FAppTitle) + ".");
    return secFailed;
  }
  if (!OpenLog(*switches)) return secBadSwitches;
  if (switches->Silent && !switches->Portable && !switches->ResumeLocalSetup &&
      CurrentElevation() == TElevation::CanElevate) {
    // The same run with the elevation prompt, its result as ours.
    Log(L"Starting again with administrator rights");
    DWORD exitCode = secFailed;
    const DWORD error = StartThroughShell({L"runas", FExePath, SetupArguments(FArguments) + L" " + LocalSetupSwitch,
                                           WithoutTrailingBackslash(FolderOf(FExePath)), nullptr, &exitCode});
    if (error == ERROR_CANCELLED) return secCancelled;
    return error == 0 ? static_cast<int>(exitCode) : secFailed;
  }
  // A run started elevated waits for the one that started it to let go.
  const TSetupGuard guard(FAppTitle, FResumesLocalSetup ? 15000 : 0);
  if (!guard.Held()) {
    if (!switches->Silent) ShowText(L"Another setup of " + FAppTitle + L" is running.", true, false);
    return secAlreadyRunning;
  }
  TQorvelInstaller installer(FExePath, FPayloadSize);
  AddUninstallItems(installer.Uninstaller);
  installer.SetLog(LogSink());
  RequestedFolder = switches->Folder;
  return switches->Silent ? UnattendedSetup(*this, installer, *switches) : InstallWizard(*this, installer);
}

int TQorvelInstallation::StartUninstall() {
  const std::optional<TSetupSwitches> switches = Switches(2, true);
  if (!switches) return secBadSwitches;
  if (!OpenLog(*switches)) return secBadSwitches;
  // Unattended, the uninstallation's own result is ours: a deployment tool waits for it.
  // Waiting here must not keep the installation folder as this process's current one. (The
  // wizard is not waited for: this process holds the program file, which only the unattended
  // removal moves aside.)
  DWORD exitCode = secDone;
  ::SetCurrentDirectoryW(SpecialFolderPath(fkWindows).c_str());
  const std::vector<std::wstring> rest(FArguments.begin() + 2, FArguments.end());
  std::wstring copy;
  const DWORD error = StartUninstallFromCopy(FExePath, FConfigPath, SetupArguments(rest),
                                             switches->Silent ? &exitCode : nullptr, CurrentElevation(),
                                             StartThroughShell, &copy);
  if (error == ERROR_CANCELLED) return secCancelled;
  if (error != 0) {
    const std::wstring reason = L"The uninstaller could not be started." +
                                (copy.empty() ? std::wstring() : L" (" + copy + L": " + SystemErrorText(error) + L")");
    Log(reason);
    if (!switches->Silent) SystemInstallPrompt().ShowError("Error", Narrow(reason));
    return secFailed;
  }
  return static_cast<int>(exitCode);
}

int TQorvelInstallation::RunRemove() {
  const std::optional<TSetupSwitches> switches = Switches(2, true);
  if (!switches) return secBadSwitches;
  if (!UninstallWizard || !UnattendedRemoval) {
    SystemInstallPrompt().ShowError("Error", "This program cannot uninstall " + Narrow(FAppTitle) + ".");
    return secFailed;
  }
  if (!OpenLog(*switches)) return secBadSwitches;
  const TSetupGuard guard(FAppTitle, 0);
  if (!guard.Held()) {
    if (!switches->Silent) ShowText(L"Another setup of " + FAppTitle + L" is running.", true, false);
    return secAlreadyRunning;
  }
  return switches->Silent ? UnattendedRemoval(*this, FConfigPath) : UninstallWizard(*this, FConfigPath);
}

void TQorvelInstallation::AddUninstallItems(TQorvelUninstaller&) {}
