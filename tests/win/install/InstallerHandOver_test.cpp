// "-uninstall" on the real program: the installed copy hands over to a temporary copy in
// the Windows "Temp" folder, which RunOnce deletes at the next logon and which runs the
// uninstallation with "-remove".

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "gui/Application.h"
#include "gui/Handles.h"
#include "install/win32/QorvelInstallers.h"
#include "install/win32/QorvelShellUtils.h"
#include "support/HelperPrograms.h"
#include "support/WindowQueries.h"

namespace fs = std::filesystem;

namespace {

std::wstring SetupFile() { return BuiltProgramFile(L"VindleSetup.exe"); }

struct TFoundWindow {
  std::wstring Caption;
  HWND Window = nullptr;
};

BOOL CALLBACK FindCaption(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<TFoundWindow*>(data);
  if (::IsWindowVisible(window) && found->Caption == WindowText(window)) {
    found->Window = window;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForWindow(const std::wstring& caption, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    TFoundWindow found{caption};
    ::EnumWindows(&FindCaption, reinterpret_cast<LPARAM>(&found));
    if (found.Window) return found.Window;
    ::Sleep(100);
  }
  return nullptr;
}

std::wstring RunOnceText() {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0, KEY_READ,
                      &opened) != ERROR_SUCCESS)
    return L"<no key>";
  TRegistryKey key(opened);
  wchar_t value[512] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t);
  if (::RegQueryValueExW(key.Get(), L"Qorvel Uninstall", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) !=
      ERROR_SUCCESS)
    return L"<missing>";
  return value;
}

}  // namespace

TEST(InstallerHandOver, UninstallSwitchStartsATemporaryCopyWithRemove) {
  const std::wstring name = L"QorvelHandOver " + std::to_wstring(::GetCurrentProcessId());
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring root = WithTrailingBackslash(temp) + name + L"\\";
  const std::wstring target = root + L"Installed Here\\";

  TQorvelInstaller installer(SetupFile(), static_cast<std::uint32_t>(fs::file_size(fs::path(SetupFile())) - 8));
  installer.TargetFolder = target;
  installer.ProductName = installer.Uninstaller.ProductName = name;
  installer.RegistryKey = name;
  installer.StartMenuFolderKind = fkNone;
  installer.Uninstaller.UninstallKeyName = name;
  ASSERT_TRUE(installer.Install());

  const std::wstring config = target + L"Installation.xml";
  std::wstring commandLine = UninstallCommandLine(installer.TargetExePath, config);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(
      ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  TKernelHandle installed(process.hProcess);
  TKernelHandle installedThread(process.hThread);

  // The temporary copy shows the uninstallation of the product its "-remove" file names.
  const HWND wizard = WaitForWindow(L"Uninstall " + name, 30000);
  EXPECT_TRUE(wizard) << "no uninstallation wizard of the temporary copy";
  const std::wstring command = RunOnceText();
  const std::wstring copy = UnquotePath(command.substr(command.rfind(L' ') + 1)) + L"\\QorvelUninstall.exe";
  EXPECT_EQ(fs::file_size(fs::path(copy)), fs::file_size(fs::path(installer.TargetExePath)))
      << "the whole program, marker included";

  if (wizard) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(wizard, &processId);
    TKernelHandle temporary(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (temporary) {
      ::TerminateProcess(temporary.Get(), 0);
      ::WaitForSingleObject(temporary.Get(), 10000);
    }
  }
  EXPECT_EQ(::WaitForSingleObject(installed.Get(), 30000), WAIT_OBJECT_0) << "the installed copy ends";
  EXPECT_TRUE(fs::exists(fs::path(installer.TargetExePath))) << "nothing is removed before the user confirms";

  TQorvelUninstaller uninstaller(config);
  uninstaller.Identity = installer.Identity();
  uninstaller.Uninstall();
  fs::remove_all(fs::path(FolderOf(copy)));
  HKEY runOnce = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0, KEY_SET_VALUE,
                      &runOnce) == ERROR_SUCCESS) {
    ::RegDeleteValueW(runOnce, L"Qorvel Uninstall");
    ::RegCloseKey(runOnce);
  }
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"SOFTWARE\\" + name).c_str());
  std::error_code ignored;
  fs::remove_all(fs::path(root), ignored);
}

// Without rights the installed program itself is elevated and makes its copy there; with
// them the copy goes to a new folder only administrators can write, never to a fixed name
// that another user could have taken.
TEST(InstallerHandOver, TheTemporaryCopyIsPrivateAndMadeOnlyWithRights) {
  std::vector<TShellStart> starts;
  const TShellStarter record = [&](const TShellStart& start) {
    starts.push_back(start);
    return DWORD{0};
  };
  const std::wstring config = L"C:\\Program Files\\Qorvel\\Vindle\\Installation.xml";
  // What a standard user could plant under the old fixed name blocks nothing.
  const std::wstring planted = WithTrailingBackslash(WindowsTempFolder()) + L"QorvelUninstall.exe";
  std::ofstream(fs::path(planted)) << "planted";
  DWORD exitCode = 0;
  std::wstring first, second;
  ASSERT_EQ(StartUninstallFromCopy(SetupFile(), config, L"/silent", &exitCode, TElevation::CanElevate, record, &first),
            0u);
  EXPECT_TRUE(first.empty()) << "no copy before the rights are there";
  ASSERT_EQ(StartUninstallFromCopy(SetupFile(), config, {}, &exitCode, TElevation::Elevated, record, &first), 0u);
  ASSERT_EQ(StartUninstallFromCopy(SetupFile(), config, {}, &exitCode, TElevation::Elevated, record, &second), 0u);
  ASSERT_EQ(starts.size(), 3u);
  EXPECT_EQ(starts[0].Verb, L"runas");
  EXPECT_EQ(starts[0].File, SetupFile()) << "the original program is elevated";
  EXPECT_EQ(starts[0].Parameters, L"-uninstall \"" + config + L"\" /silent") << "a quiet uninstallation stays quiet";
  EXPECT_EQ(starts[0].ExitCode, &exitCode) << "and its result is waited for";
  EXPECT_EQ(starts[1].Verb, L"open") << "already elevated: no prompt";
  EXPECT_EQ(starts[1].Parameters, L"-remove \"" + config + L"\"");
  EXPECT_EQ(starts[1].File, first);
  EXPECT_EQ(starts[2].File, second);
  EXPECT_NE(ComparePathsIgnoringCase(FolderOf(first), FolderOf(second)), 0) << "a new folder each time";
  for (const auto& copy : {first, second}) {
    EXPECT_EQ(FileNameOf(copy), L"QorvelUninstall.exe");
    EXPECT_EQ(ComparePathsIgnoringCase(FolderOf(WithoutTrailingBackslash(FolderOf(copy))), WithTrailingBackslash(WindowsTempFolder())), 0);
    EXPECT_EQ(fs::file_size(fs::path(copy)), fs::file_size(fs::path(SetupFile())));
    EXPECT_EQ(starts[1].Folder, SpecialFolderPath(fkWindows));
    fs::remove_all(fs::path(FolderOf(copy)));
  }
  EXPECT_EQ(RunOnceText(), DeleteAtLogonCommand(WithoutTrailingBackslash(FolderOf(second))));
  fs::remove(fs::path(planted));
}
