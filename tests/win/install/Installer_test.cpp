// The installer and uninstaller on real files, registry keys and shortcuts: a fresh temp
// tree and registry keys of their own per test, removed again afterwards.

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "gui/Application.h"
#include "gui/Handles.h"
#include "install/win32/ApplicationInstallations.h"
#include "install/win32/QorvelInstallForms.h"
#include "install/win32/QorvelInstallers.h"
#include "install/win32/QorvelShellUtils.h"
#include "install/win32/QorvelUninstallers.h"
#include "install/win32/UninstallScopes.h"
#include "settings/ByteStreams.h"
#include "support/HelperPrograms.h"
#include "ScriptedPrompt.h"

namespace fs = std::filesystem;

namespace {

// The setup file the build writes beside the program.
std::wstring SetupFile() { return BuiltProgramFile(L"VindleSetup.exe"); }

std::string FileBytes(const std::wstring& path) {
  std::ifstream file(fs::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

bool KeyExists(HKEY root, const std::wstring& keyPath) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, RegistrySubKey(keyPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

std::optional<std::vector<BYTE>> RegistryValue(HKEY root, const std::wstring& keyPath, const wchar_t* name,
                                               DWORD* type = nullptr) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, RegistrySubKey(keyPath).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  TRegistryKey key(opened);
  DWORD size = 0;
  if (::RegQueryValueExW(key.Get(), name, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  std::vector<BYTE> data(size);
  ::RegQueryValueExW(key.Get(), name, nullptr, type, data.data(), &size);
  return data;
}

TRegistryKey CreatedKey(HKEY root, const std::wstring& keyPath) {
  HKEY created = nullptr;
  ::RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr);
  return TRegistryKey(created);
}

void SetText(HKEY key, const std::wstring& name, const std::wstring& text) {
  ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring RegistryText(HKEY root, const std::wstring& keyPath, const wchar_t* name) {
  const auto data = RegistryValue(root, keyPath, name);
  if (!data || data->size() < sizeof(wchar_t)) return L"<missing>";
  return std::wstring(reinterpret_cast<const wchar_t*>(data->data()));
}

double RegistryDate(HKEY root, const std::wstring& keyPath, const wchar_t* name) {
  DWORD type = 0;
  const auto data = RegistryValue(root, keyPath, name, &type);
  if (!data || type != REG_BINARY || data->size() != sizeof(double)) return -1;
  double value = 0;
  std::memcpy(&value, data->data(), sizeof(value));
  return value;
}

double Today() {
  SYSTEMTIME time{};
  ::GetLocalTime(&time);
  return DateTimeFromCivil(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond, 0);
}

std::wstring ShortcutTarget(const std::wstring& linkPath) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::wstring target;
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      if (SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0))) target = path;
      }
      file->Release();
    }
    link->Release();
  }
  ::CoUninitialize();
  return target;
}

// One installation target per test: a temp folder tree and registry names of its own.
class InstallerWin : public testing::Test {
 protected:
  void SetUp() override {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    FName = L"QorvelTest " + Widen(test->name()) + L" " + std::to_wstring(::GetCurrentProcessId());
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    FRoot = WithTrailingBackslash(temp) + FName + L"\\";
    fs::remove_all(fs::path(FRoot));
    ASSERT_TRUE(ForceDirectories(FRoot));
    Target = FRoot + L"Program Files\\Qorvel\\Vindle\\";
    ASSERT_TRUE(FileExists(SetupFile())) << "VindleSetup.exe is built beside Vindle.exe";
  }

  void TearDown() override {
    for (const auto& key : {InstallationRegistryKey(RegistryKey()), UninstallRegistryKey(FName)})
      ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, RegistrySubKey(key).c_str());
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"SOFTWARE\\" + FName).c_str());
    for (const auto kind : {fkCommonPrograms, fkMyPrograms})
      if (const auto folder = SpecialFolderPath(kind); !folder.empty())
        fs::remove_all(fs::path(WithTrailingBackslash(folder) + FName), FIgnored);
    fs::remove(fs::path(WithTrailingBackslash(SpecialFolderPath(fkDesktop)) + FName + L".lnk"), FIgnored);
    ClearAttributesBelow(FRoot);
    fs::remove_all(fs::path(FRoot), FIgnored);
  }

  std::wstring RegistryKey() const { return FName + L"\\Vindle"; }

  std::unique_ptr<TQorvelInstaller> MakeInstaller(TQorvelInstallKind kind = ikLocal) {
    std::uint32_t size = static_cast<std::uint32_t>(fs::file_size(fs::path(SetupFile())));
    auto installer = std::make_unique<TQorvelInstaller>(SetupFile(), size - 8, &Prompt);
    installer->InstallKind = kind;
    installer->TargetFolder = Target;
    installer->CompanyName = L"Qorvel";
    installer->ProductName = L"Vindle";
    installer->RegistryKey = RegistryKey();
    installer->GroupName = FName;
    installer->ShortcutName = FName;
    installer->Options = ioStartMenuShortcut | ioDesktopShortcut | ioFileTypes | ioUninstaller;
    installer->Uninstaller.ProductName = L"Vindle";
    installer->Uninstaller.UninstallKeyName = FName;
    installer->Uninstaller.DisplayName = L"Qorvel Vindle";
    installer->OnProgress = [this](TQorvelInstallStage stage, int percent) { Progress[stage].push_back(percent); };
    return installer;
  }

  // The uninstaller of the installation at Target, with the names that installation uses.
  std::unique_ptr<TQorvelUninstaller> MakeUninstaller() {
    auto uninstaller = std::make_unique<TQorvelUninstaller>(Target + L"Installation.xml", &Prompt);
    uninstaller->Identity = Identity();
    return uninstaller;
  }
  TInstallIdentity Identity() const { return {RegistryKey(), FName, FName, FName, {}}; }

  std::wstring StartMenuLink() const {
    return WithTrailingBackslash(SpecialFolderPath(fkCommonPrograms)) + FName + L"\\" + FName + L".lnk";
  }
  std::wstring DesktopLink() const { return WithTrailingBackslash(SpecialFolderPath(fkDesktop)) + FName + L".lnk"; }

  static void ClearAttributesBelow(const std::wstring& folder) {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(folder), ignored))
      ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }

  std::wstring FName;
  std::wstring FRoot;
  std::wstring Target;
  TScriptedPrompt Prompt;
  std::map<int, std::vector<int>> Progress;
  std::error_code FIgnored;
};

}  // namespace

TEST_F(InstallerWin, LocalInstallationCopiesRegistersAndLinks) {
  auto installer = MakeInstaller();
  ASSERT_TRUE(installer->Install());

  const std::wstring exe = Target + L"Vindle.exe";
  EXPECT_EQ(installer->TargetExePath, exe) << "named after the version's original file name";
  const std::string setup = FileBytes(SetupFile());
  const std::string copy = FileBytes(exe);
  ASSERT_EQ(copy.size(), setup.size());
  EXPECT_EQ(copy.substr(copy.size() - 8), "LOCALAPP");
  EXPECT_TRUE(copy.compare(0, copy.size() - 8, setup, 0, setup.size() - 8) == 0) << "the program itself is unchanged";
  EXPECT_EQ(installer->BytesCopied(), setup.size() - 8);

  const std::wstring key = InstallationRegistryKey(RegistryKey());
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, key, L"Directory"), WithoutTrailingBackslash(Target));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, key, L"Config"), Target + L"Installation.xml");
  EXPECT_NE(RegistryText(HKEY_LOCAL_MACHINE, key, L"Version"), L"<missing>");
  EXPECT_NEAR(RegistryDate(HKEY_LOCAL_MACHINE, key, L"InstallDate"), Today(), 2.0 / 1440);
  EXPECT_FALSE(RegistryValue(HKEY_LOCAL_MACHINE, key, L"UpdateDate"));

  const std::wstring entry = UninstallRegistryKey(FName);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, entry, L"UninstallString"),
            L"\"" + exe + L"\" -uninstall \"" + Target + L"Installation.xml\"");
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, entry, L"DisplayName"), L"Qorvel Vindle");
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, entry, L"Publisher"), L"Qorvel Software");
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, entry, L"URLInfoAbout"), QorvelWebAddress);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, entry, L"URLUpdateInfo"), QorvelWebAddress);

  EXPECT_EQ(ComparePathsIgnoringCase(ShortcutTarget(StartMenuLink()), exe), 0) << Narrow(StartMenuLink());
  EXPECT_EQ(ComparePathsIgnoringCase(ShortcutTarget(DesktopLink()), exe), 0) << Narrow(DesktopLink());

  const std::wstring config = Target + L"Installation.xml";
  const DWORD attributes = ::GetFileAttributesW(config.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_SYSTEM);
  TQorvelUninstaller recorded(config, &Prompt);
  EXPECT_EQ(recorded.ProductName, L"Vindle");
  for (const auto& file : {exe, config, StartMenuLink(), DesktopLink()})
    EXPECT_TRUE(recorded.Files.Contains(file)) << Narrow(file);
  EXPECT_TRUE(recorded.Folders.Contains(WithoutTrailingBackslash(Target)));
  EXPECT_TRUE(recorded.RegistryKeys.Contains(L"HKEY_LOCAL_MACHINE" + key));
  EXPECT_TRUE(recorded.RegistryKeys.Contains(L"HKEY_LOCAL_MACHINE" + entry));

  EXPECT_EQ(Progress[isCopyingFiles].back(), 100);
  for (const int stage : {isCreatingShortcuts, isRegisteringFileTypes, isPreparingUninstaller})
    EXPECT_EQ(Progress[stage], (std::vector<int>{0, 100})) << "stage " << stage;
  EXPECT_TRUE(Prompt.Asked.empty());
}

TEST_F(InstallerWin, UninstallingRemovesWhatWasRecordedAndNothingElse) {
  ASSERT_TRUE(MakeInstaller()->Install());
  const std::wstring sibling = FRoot + L"Program Files\\Qorvel\\Other.txt";
  std::ofstream(fs::path(sibling)) << "not ours";
  Progress.clear();

  auto uninstaller = MakeUninstaller();
  uninstaller->OnProgress = [this](TQorvelInstallStage stage, int percent) { Progress[stage].push_back(percent); };
  EXPECT_TRUE(uninstaller->Uninstall());

  EXPECT_FALSE(fs::exists(fs::path(Target)));
  EXPECT_FALSE(fs::exists(fs::path(StartMenuLink())));
  EXPECT_FALSE(fs::exists(fs::path(FolderOf(StartMenuLink()))));
  EXPECT_FALSE(fs::exists(fs::path(DesktopLink())));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, InstallationRegistryKey(RegistryKey())));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallRegistryKey(FName)));
  EXPECT_TRUE(fs::exists(fs::path(sibling))) << "a file beside the installation stays";
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\" + FName)) << "the company key left empty goes too";
  EXPECT_TRUE(uninstaller->LeftEntries.empty());
  for (const int stage : {isRemovingFiles, isRemovingFolders, isCleaningRegistry})
    EXPECT_EQ(Progress[stage], (std::vector<int>{0, 100})) << "stage " << stage;
  EXPECT_TRUE(Prompt.Asked.empty());
}

TEST_F(InstallerWin, PortableInstallationWritesTheMarkerAndNothingElse) {
  auto installer = MakeInstaller(ikPortable);
  ASSERT_TRUE(installer->Install());
  const std::string copy = FileBytes(Target + L"Vindle.exe");
  ASSERT_GT(copy.size(), 8u);
  EXPECT_EQ(copy.substr(copy.size() - 8), "PORTABLE");
  EXPECT_FALSE(fs::exists(fs::path(Target + L"Installation.xml")));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, InstallationRegistryKey(RegistryKey())));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallRegistryKey(FName)));
  EXPECT_FALSE(fs::exists(fs::path(StartMenuLink())));
  EXPECT_FALSE(fs::exists(fs::path(DesktopLink())));
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(Target)), fs::directory_iterator()), 1);
}

TEST_F(InstallerWin, InstallingAgainKeepsTheFirstDateAndEarlierRecords) {
  auto first = MakeInstaller();
  first->Uninstaller.Files.Add(Target + L"Readme.txt", uaRemove, ulOptional);
  ASSERT_TRUE(first->Install());
  const std::wstring key = InstallationRegistryKey(RegistryKey());
  const double installed = RegistryDate(HKEY_LOCAL_MACHINE, key, L"InstallDate");
  ASSERT_GT(installed, 0);
  ::Sleep(20);

  auto second = MakeInstaller();
  second->Options &= ~ioDesktopShortcut;
  EXPECT_TRUE(second->FindPreviousInstallation());
  EXPECT_EQ(second->PreviousDirectory, Target);
  EXPECT_EQ(second->PreviousConfig, Target + L"Installation.xml");
  ASSERT_TRUE(second->Install()) << "the hidden configuration file is rewritten in place";
  EXPECT_EQ(RegistryDate(HKEY_LOCAL_MACHINE, key, L"InstallDate"), installed);
  EXPECT_NEAR(RegistryDate(HKEY_LOCAL_MACHINE, key, L"UpdateDate"), Today(), 2.0 / 1440);

  TQorvelUninstaller recorded(Target + L"Installation.xml", &Prompt);
  EXPECT_TRUE(recorded.Files.Contains(Target + L"Readme.txt")) << "what the first installation recorded stays";
  EXPECT_TRUE(recorded.Files.Contains(DesktopLink()));
}

TEST_F(InstallerWin, NoStartMenuMeansNoShortcutAtAll) {
  auto installer = MakeInstaller();
  installer->StartMenuFolderKind = fkNone;
  installer->Options |= ioQuickLaunchShortcut;
  ASSERT_TRUE(installer->Install());
  EXPECT_FALSE(fs::exists(fs::path(StartMenuLink())));
  EXPECT_FALSE(fs::exists(fs::path(DesktopLink())));
  for (const auto& entry : installer->Uninstaller.Files)
    EXPECT_NE(FileNameOf(entry.Path), FName + L".lnk") << Narrow(entry.Path);
  EXPECT_TRUE(Progress[isCreatingShortcuts].empty());
}

TEST_F(InstallerWin, ALockedFileAsksUntilFreeAndCancelKeepsTheEntriesForAnotherTry) {
  ASSERT_TRUE(MakeInstaller()->Install());
  const std::wstring exe = Target + L"Vindle.exe";
  const std::string question = "Error|" + Narrow(exe) + " could not be removed.";
  {
    // A running program holds its file open this way.
    TFileHandle running(::CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(running);
    Prompt.Answers = {true, false};
    EXPECT_FALSE(MakeUninstaller()->Uninstall());
  }
  EXPECT_EQ(Prompt.AskedTexts(), std::vector<std::string>(2, question));
  EXPECT_TRUE(fs::exists(fs::path(exe)));
  EXPECT_TRUE(fs::exists(fs::path(Target + L"Installation.xml")));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, InstallationRegistryKey(RegistryKey())));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, UninstallRegistryKey(FName)));

  // Again, and the program ends while the question shows: Retry now works.
  Prompt.Asked.clear();
  TFileHandle running(::CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  Prompt.Answers = {true};
  Prompt.BeforeAnswer = [&] { running.Reset(); };
  EXPECT_TRUE(MakeUninstaller()->Uninstall());
  EXPECT_EQ(Prompt.AskedTexts(), std::vector<std::string>{question});
  EXPECT_FALSE(fs::exists(fs::path(Target)));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallRegistryKey(FName)));
}

TEST_F(InstallerWin, ADoctoredConfigurationNeverRemovesAFolderTree) {
  const std::wstring documents = SpecialFolderPath(fkMyDocuments);
  const std::wstring windows = SpecialFolderPath(fkWindows);
  ASSERT_FALSE(windows.empty());
  const std::wstring tree = FRoot + L"Tree";
  ASSERT_TRUE(ForceDirectories(tree + L"\\Deeper"));
  std::ofstream(fs::path(tree + L"\\Deeper\\Data.txt")) << "keep";
  const std::wstring documentsMarker = WithTrailingBackslash(documents) + FName + L".txt";
  if (!documents.empty()) std::ofstream(fs::path(documentsMarker)) << "keep";

  const std::wstring config = FRoot + L"Installation.xml";
  {
    TQorvelUninstallConfiguration doctored;
    doctored.ProductName = L"Vindle";
    for (const auto& folder : {windows, documents, tree, FRoot + L"Tree\\..\\Tree"})
      if (!folder.empty()) doctored.Folders.Add(folder, uaRemove, ulOptional);
    doctored.Files.Add(tree, uaRemove, ulOptional);  // a folder listed as a file
    doctored.RegistryKeys.Add(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft", uaRemove, ulOptional);
    doctored.RegistryKeys.Add(L"HKEY_LOCAL_MACHINE", uaRemove, ulOptional);
    TQorvelFileStream stream(fs::path(config), TQorvelFileMode::Create);
    WriteUninstallConfiguration(stream, doctored);
  }
  TQorvelUninstaller uninstaller(config, &Prompt);
  EXPECT_FALSE(uninstaller.Uninstall()) << "nothing was removed: no success to report";
  EXPECT_EQ(uninstaller.LeftEntries.size(), 6u);

  EXPECT_TRUE(fs::exists(fs::path(tree + L"\\Deeper\\Data.txt")));
  EXPECT_TRUE(fs::exists(fs::path(windows + L"\\system32")));
  if (!documents.empty()) {
    EXPECT_TRUE(fs::exists(fs::path(documentsMarker)));
  }
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion"));
  EXPECT_TRUE(Prompt.Asked.empty());
  if (!documents.empty()) fs::remove(fs::path(documentsMarker));
}

TEST_F(InstallerWin, RegistryValuesAreRemovedAndNeverWritten) {
  const std::wstring keyPath = L"SOFTWARE\\" + FName + L"\\Values";
  const TRegistryKey key = CreatedKey(HKEY_LOCAL_MACHINE, keyPath);
  ASSERT_TRUE(key);
  for (const wchar_t* name : {L"Gone", L"Text", L"Count"}) SetText(key.Get(), name, L"ours");

  const std::wstring prefix = L"HKEY_LOCAL_MACHINE\\" + keyPath + L"\\";
  TQorvelUninstaller uninstaller({}, &Prompt);
  uninstaller.Identity.RegistryKey = FName;
  uninstaller.RegistryValues.Add(prefix + L"Gone", uaRemove, ulRequired);
  TQorvelUninstallInformation restoreText;
  restoreText.Action = uaRestore;
  restoreText.Value = L"%SystemRoot%\\x";
  restoreText.ValueType = uvtExpandString;
  uninstaller.RegistryValues.Add(prefix + L"Text", restoreText);
  uninstaller.RegistryValues.Add(prefix + L"Count", restoreText);
  uninstaller.RegistryValues.Add(L"HKEY_USERS\\.DEFAULT\\X\\Y", uaRemove, ulRequired);
  EXPECT_TRUE(uninstaller.Uninstall());

  EXPECT_FALSE(RegistryValue(HKEY_LOCAL_MACHINE, keyPath, L"Gone"));
  // The file chose what "restore" would write: an uninstallation writes nothing.
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, keyPath, L"Text"), L"ours");
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, keyPath, L"Count"), L"ours");
  EXPECT_EQ(uninstaller.LeftEntries.size(), 3u);
}

TEST_F(InstallerWin, ALockedTargetAsksUntilItIsFree) {
  ASSERT_TRUE(ForceDirectories(Target));
  const std::wstring exe = Target + L"Vindle.exe";
  TFileHandle locker(::CreateFileW(exe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(locker);
  Prompt.Answers = {true, true};
  Prompt.BeforeAnswer = [&] {
    if (Prompt.Asked.size() == 2) locker.Reset();
  };
  auto installer = MakeInstaller();
  EXPECT_TRUE(installer->Install());
  EXPECT_EQ(Prompt.AskedTexts(), std::vector<std::string>(2, "Error writing file|" + Narrow(exe) +
                                                          " cannot be created. Please exit all applications "
                                                          "which might lock the file."));
  const std::string copy = FileBytes(exe);
  EXPECT_EQ(copy.substr(copy.size() - 8), "LOCALAPP");
}

TEST_F(InstallerWin, CancellingTheCopyRegistersNothing) {
  ASSERT_TRUE(ForceDirectories(Target));
  const std::wstring exe = Target + L"Vindle.exe";
  TFileHandle locker(::CreateFileW(exe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(locker);
  Prompt.Answers = {false};
  auto installer = MakeInstaller();
  EXPECT_FALSE(installer->Install());
  EXPECT_EQ(Prompt.Asked.size(), 1u);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallRegistryKey(FName))) << "no step after the copy ran";
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, InstallationRegistryKey(RegistryKey())));
  EXPECT_FALSE(fs::exists(fs::path(Target + L"Installation.xml")));
  EXPECT_FALSE(fs::exists(fs::path(DesktopLink())));
}

// A later step that fails takes back what the run made: a fresh installation leaves nothing
// registered, and an update leaves the previous installation exactly as it was.
TEST_F(InstallerWin, AFailedStepIsUndoneAndThePreviousInstallationStays) {
  const std::wstring exe = Target + L"Vindle.exe";
  const std::wstring config = Target + L"Installation.xml";
  // The configuration file's place is taken by a folder: the last step fails.
  ASSERT_TRUE(ForceDirectories(config));
  std::vector<std::wstring> log;
  auto failing = MakeInstaller();
  failing->SetLog([&](const std::wstring& line) { log.push_back(line); });
  EXPECT_FALSE(failing->Install());
  EXPECT_FALSE(fs::exists(fs::path(exe)));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\" + FName)) << "nor the company key it made";
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallRegistryKey(FName)));
  EXPECT_FALSE(fs::exists(fs::path(DesktopLink())));
  EXPECT_FALSE(fs::exists(fs::path(StartMenuLink()).parent_path())) << "the start-menu group it made";
  EXPECT_NE(std::find(log.begin(), log.end(), L"Undone: removed " + exe), log.end());
  fs::remove(fs::path(config));

  ASSERT_TRUE(MakeInstaller()->Install());
  const std::wstring key = InstallationRegistryKey(RegistryKey());
  SetText(CreatedKey(HKEY_LOCAL_MACHINE, RegistrySubKey(key)).Get(), L"Version", L"0.9");
  std::ofstream(fs::path(exe), std::ios::app | std::ios::binary) << "previous";
  const auto state = [&] {
    return std::vector<std::string>{FileBytes(exe), FileBytes(config), FileBytes(DesktopLink()),
                                    Narrow(RegistryText(HKEY_LOCAL_MACHINE, key, L"Version")),
                                    Narrow(RegistryText(HKEY_LOCAL_MACHINE, UninstallRegistryKey(FName),
                                                        L"UninstallString"))};
  };
  const auto before = state();
  {
    // Held open without sharing, the configuration file cannot be replaced.
    TFileHandle held(::CreateFileW(config.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(MakeInstaller()->Install());
  }
  EXPECT_EQ(state(), before);
  for (const auto& entry : fs::directory_iterator(fs::path(Target)))
    EXPECT_EQ(entry.path().wstring().find(L".undo-"), std::wstring::npos) << "nothing set aside is left";
}

TEST_F(InstallerWin, AMissingTargetDriveFailsAtOnce) {
  auto installer = MakeInstaller();
  installer->TargetFolder = L"Q:\\Nowhere\\";
  if (FolderExists(L"Q:\\")) GTEST_SKIP() << "drive Q: exists here";
  EXPECT_FALSE(installer->Install());
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, InstallationRegistryKey(RegistryKey())));
  EXPECT_TRUE(installer->Uninstaller.Files.Empty());
}

// The autostart value goes while it starts this installation's program, quoted or not; set to
// anything else it stays, and a "restore" in the file never writes it.
TEST_F(InstallerWin, TheAutostartValueGoesOnlyWhileItStartsThisProgram) {
  const wchar_t* runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const TRegistryKey key = CreatedKey(HKEY_CURRENT_USER, runKey);
  ASSERT_TRUE(key);
  const auto previous = RegistryValue(HKEY_CURRENT_USER, runKey, L"QorvelVindle");
  const std::wstring exe = Target + L"Vindle.exe";
  const auto install = [&] {
    auto installer = MakeInstaller();
    ApplicationInstallation().AddUninstallItems(installer->Uninstaller);
    EXPECT_TRUE(installer->Install());
    auto uninstaller = MakeUninstaller();
    uninstaller->Identity.RegistryValues = installer->Identity().RegistryValues;
    return uninstaller;
  };
  for (const std::wstring& ours : {exe, L"\"" + exe + L"\""}) {
    auto uninstaller = install();
    SetText(key.Get(), L"QorvelVindle", ours);
    EXPECT_TRUE(uninstaller->Uninstall());
    EXPECT_FALSE(RegistryValue(HKEY_CURRENT_USER, runKey, L"QorvelVindle")) << Narrow(ours);
  }

  auto uninstaller = install();
  {
    // The file now asks to "restore" another command.
    TQorvelUninstallConfiguration doctored;
    {
      TQorvelFileStream in(fs::path(Target + L"Installation.xml"), TQorvelFileMode::OpenRead);
      ReadUninstallConfiguration(in, doctored);
    }
    TQorvelUninstallInformation restore;
    restore.Action = uaRestore;
    restore.Value = L"C:\\Users\\Public\\evil.exe /stealth";
    doctored.RegistryValues.Clear();
    doctored.RegistryValues.Add(AutostartRegistryValuePath, restore);
    ::SetFileAttributesW((Target + L"Installation.xml").c_str(), FILE_ATTRIBUTE_NORMAL);
    TQorvelFileStream out(fs::path(Target + L"Installation.xml"), TQorvelFileMode::Create);
    WriteUninstallConfiguration(out, doctored);
  }
  ::RegDeleteValueW(key.Get(), L"QorvelVindle");
  EXPECT_TRUE(MakeUninstaller()->Uninstall());
  EXPECT_FALSE(RegistryValue(HKEY_CURRENT_USER, runKey, L"QorvelVindle")) << "nothing written";

  uninstaller = install();
  SetText(key.Get(), L"QorvelVindle", L"C:\\Other\\Other.exe");
  EXPECT_TRUE(uninstaller->Uninstall());
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, runKey, L"QorvelVindle"), L"C:\\Other\\Other.exe");

  ::RegDeleteValueW(key.Get(), L"QorvelVindle");
  if (previous)
    ::RegSetValueExW(key.Get(), L"QorvelVindle", 0, REG_SZ, previous->data(), static_cast<DWORD>(previous->size()));
}

// Two copies, one entry (a second folder chosen in the wizard): the entry and the installation
// key name the second copy's configuration, so removing the first copy leaves them to it.
TEST_F(InstallerWin, RemovingTheFirstOfTwoCopiesLeavesTheEntryToTheSecond) {
  ASSERT_TRUE(MakeInstaller()->Install());
  auto second = MakeInstaller();
  second->TargetFolder = FRoot + L"Second\\";
  ASSERT_TRUE(second->Install());
  const std::wstring secondConfig = FRoot + L"Second\\Installation.xml";

  EXPECT_TRUE(MakeUninstaller()->Uninstall());
  EXPECT_FALSE(fs::exists(fs::path(Target)));
  EXPECT_TRUE(fs::exists(fs::path(FRoot + L"Second\\Vindle.exe")));
  EXPECT_EQ(ConfigPathOfUninstallCommand(
                RegistryText(HKEY_LOCAL_MACHINE, UninstallRegistryKey(FName), L"UninstallString")),
            secondConfig);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, InstallationRegistryKey(RegistryKey()), L"Config"), secondConfig);

  TQorvelUninstaller last(secondConfig, &Prompt);
  last.Identity = Identity();
  EXPECT_TRUE(last.Uninstall());
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallRegistryKey(FName)));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\" + FName));
}

// An installation in a folder the uninstaller does not act on (an older setup allowed the
// temporary folder itself): removing the rest would orphan the program, so nothing goes.
TEST_F(InstallerWin, AProgramInAFolderUninstallWouldNotActOnKeepsEverything) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring program = WithTrailingBackslash(temp) + FName + L".exe";
  const std::wstring config = WithTrailingBackslash(temp) + FName + L".xml";
  std::ofstream(fs::path(program)) << "program";
  std::ofstream(fs::path(DesktopLink())) << "link";
  {
    TQorvelUninstallConfiguration listed;
    listed.ProductName = L"Vindle";
    listed.Files.Add(program, uaRemove, ulRequired);
    listed.Files.Add(DesktopLink(), uaRemove, ulRequired);
    listed.RegistryKeys.Add(L"HKEY_LOCAL_MACHINE" + UninstallRegistryKey(FName), uaRemove, ulRequired);
    TQorvelFileStream stream(fs::path(config), TQorvelFileMode::Create);
    WriteUninstallConfiguration(stream, listed);
  }
  CreatedKey(HKEY_LOCAL_MACHINE, RegistrySubKey(UninstallRegistryKey(FName)));
  TQorvelUninstaller uninstaller(config, &Prompt);
  uninstaller.Identity = Identity();
  EXPECT_FALSE(uninstaller.Uninstall());
  ASSERT_EQ(uninstaller.LeftEntries.size(), 1u);
  EXPECT_EQ(ComparePathsIgnoringCase(uninstaller.LeftEntries[0].Path, LongCanonicalPath(program)), 0);
  EXPECT_TRUE(fs::exists(fs::path(program)));
  EXPECT_TRUE(fs::exists(fs::path(config)));
  EXPECT_TRUE(fs::exists(fs::path(DesktopLink())));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, UninstallRegistryKey(FName)));
  fs::remove(fs::path(program));
  fs::remove(fs::path(config));
}

TEST_F(InstallerWin, NestedFoldersAndHiddenFilesGoChildrenFirst) {
  const std::wstring outer = FRoot + L"Outer";
  const std::wstring inner = outer + L"\\Inner Folder";
  const std::wstring file = inner + L"\\Data.bin";
  ASSERT_TRUE(ForceDirectories(inner));
  std::ofstream(fs::path(file)) << "x";
  ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  ::SetFileAttributesW(inner.c_str(), FILE_ATTRIBUTE_READONLY);

  TQorvelUninstaller uninstaller({}, &Prompt);
  uninstaller.ConfigPath = outer + L"\\Installation.xml";
  uninstaller.Folders.Add(outer, uaRemove, ulRequired);
  uninstaller.Folders.Add(inner, uaRemove, ulRequired);
  uninstaller.Files.Add(file, uaRemove, ulRequired);
  EXPECT_TRUE(uninstaller.Uninstall());
  EXPECT_FALSE(fs::exists(fs::path(outer)));
  EXPECT_TRUE(Prompt.Asked.empty());
}

// A configuration file doctored after installing: it lists the user's documents, a path that
// climbs out of the installation, a file of the Windows folder, other programs' registry
// entries, short names, a drive root and the Windows folder itself. Everything the
// installation made goes; nothing else is touched.
TEST_F(InstallerWin, AHostileConfigurationTouchesNothingOutsideTheInstallation) {
  const std::wstring config = Target + L"Installation.xml";
  const std::wstring usersFile = Target + L"My measurements.txt";
  {
    // Left in the folder before the first installation: replaced, not merged.
    ASSERT_TRUE(ForceDirectories(Target));
    TQorvelUninstallConfiguration planted;
    planted.ProductName = L"Vindle";
    planted.Files.Add(usersFile, uaRemove, ulRequired);
    TQorvelFileStream stream(fs::path(config), TQorvelFileMode::Create);
    WriteUninstallConfiguration(stream, planted);
  }
  auto installer = MakeInstaller();
  ASSERT_TRUE(installer->Install());
  EXPECT_FALSE(installer->Uninstaller.Files.Contains(usersFile));
  const std::wstring documents = SpecialFolderPath(fkMyDocuments);
  const std::wstring windows = SpecialFolderPath(fkWindows);
  ASSERT_FALSE(documents.empty());
  const std::wstring thesis = WithTrailingBackslash(documents) + FName + L" thesis.txt";
  const std::wstring notes = WithTrailingBackslash(documents) + FName + L" notes.txt";
  const std::wstring ini = WithTrailingBackslash(windows) + FName + L".ini";
  for (const auto& file : {thesis, notes, ini, usersFile}) std::ofstream(fs::path(file)) << "keep";
  const std::wstring runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::wstring otherKey = L"Software\\" + FName + L" Other";
  const std::wstring otherApp = FName + L" OtherApp";
  {
    const TRegistryKey run = CreatedKey(HKEY_CURRENT_USER, runKey);
    ASSERT_TRUE(run);
    SetText(run.Get(), otherApp, L"C:\\Other\\Other.exe");
    ASSERT_TRUE(CreatedKey(HKEY_CURRENT_USER, otherKey));
  }
  // From the installation folder up to the drive, then down into the documents.
  std::wstring climb = Target;
  for (std::size_t i = 3; i + 1 < Target.size(); ++i)
    if (Target[i] == L'\\') climb += L"..\\";
  climb += notes.substr(3);
  const auto shortName = [](const std::wstring& path) {
    wchar_t buffer[MAX_PATH] = {};
    return ::GetShortPathNameW(path.c_str(), buffer, MAX_PATH) ? std::wstring(buffer) : path;
  };
  const std::wstring shortExe = shortName(Target + L"Vindle.exe");
  EXPECT_NE(shortExe, Target + L"Vindle.exe") << "the system gives the long path a short form";

  TQorvelUninstallConfiguration doctored;
  {
    TQorvelFileStream stream(fs::path(config), TQorvelFileMode::OpenRead);
    ReadUninstallConfiguration(stream, doctored);
  }
  for (const auto& file : {thesis, climb, ini, shortName(thesis), shortExe, windows})
    doctored.Files.Add(file, uaRemove, ulRequired);
  for (const auto& folder : {std::wstring(L"C:\\"), windows, documents})
    doctored.Folders.Add(folder, uaRemove, ulRequired);
  doctored.RegistryValues.Add(L"HKEY_CURRENT_USER\\" + runKey + L"\\" + otherApp, uaRemove, ulRequired);
  doctored.RegistryKeys.Add(L"HKEY_CURRENT_USER\\" + otherKey, uaRemove, ulRequired);
  ::SetFileAttributesW(config.c_str(), FILE_ATTRIBUTE_NORMAL);
  {
    TQorvelFileStream stream(fs::path(config), TQorvelFileMode::Create);
    WriteUninstallConfiguration(stream, doctored);
  }

  auto uninstaller = MakeUninstaller();
  EXPECT_TRUE(uninstaller->Uninstall());
  EXPECT_TRUE(Prompt.Asked.empty());

  // Outside: untouched.
  for (const auto& file : {thesis, notes, ini, usersFile}) EXPECT_TRUE(fs::exists(fs::path(file))) << Narrow(file);
  EXPECT_TRUE(fs::exists(fs::path(windows + L"\\system32")));
  EXPECT_TRUE(RegistryValue(HKEY_CURRENT_USER, runKey, otherApp.c_str()));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, otherKey));
  // Inside: gone, the short name included; the folder stays for the user's file.
  EXPECT_FALSE(fs::exists(fs::path(Target + L"Vindle.exe")));
  EXPECT_FALSE(fs::exists(fs::path(config)));
  EXPECT_FALSE(fs::exists(fs::path(StartMenuLink())));
  EXPECT_FALSE(fs::exists(fs::path(DesktopLink())));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, InstallationRegistryKey(RegistryKey())));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallRegistryKey(FName)));
  // Each entry left is named once, with its reason.
  std::map<std::wstring, std::wstring> left;
  for (const auto& entry : uninstaller->LeftEntries) left[entry.Path] = entry.Reason;
  EXPECT_EQ(uninstaller->LeftEntries.size(), 11u) << [&] {
    std::string all;
    for (const auto& [path, reason] : left) all += Narrow(path) + ": " + Narrow(reason) + "\n";
    return all;
  }();
  EXPECT_EQ(left[climb], L"outside the installation folder");
  EXPECT_EQ(left[L"C:\\"], L"a drive, system or user folder");
  EXPECT_EQ(left[windows], L"a drive, system or user folder");
  EXPECT_EQ(left[WithoutTrailingBackslash(Target)], L"holds files it did not install");

  for (const auto& file : {thesis, notes, ini}) fs::remove(fs::path(file), FIgnored);
  HKEY run = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, runKey.c_str(), 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
    ::RegDeleteValueW(run, otherApp.c_str());
    ::RegCloseKey(run);
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, otherKey.c_str());
}

// A link inside the installation folder leads elsewhere: what lies behind it stays, the link
// itself goes as a link.
TEST_F(InstallerWin, ALinkInsideTheInstallationIsRemovedNeverFollowed) {
  ASSERT_TRUE(MakeInstaller()->Install());
  const std::wstring outside = FRoot + L"Outside";
  ASSERT_TRUE(ForceDirectories(outside));
  std::ofstream(fs::path(outside + L"\\Data.txt")) << "keep";
  const std::wstring link = Target + L"Linked";
  if (!::CreateSymbolicLinkW(link.c_str(), outside.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) ||
      !(::GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) ||
      ::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "this system makes no directory links (Wine 8 has none)";
  auto uninstaller = MakeUninstaller();
  uninstaller->Files.Add(link + L"\\Data.txt", uaRemove, ulRequired);
  uninstaller->Folders.Add(link, uaRemove, ulRequired);
  EXPECT_TRUE(uninstaller->Uninstall());
  EXPECT_TRUE(fs::exists(fs::path(outside + L"\\Data.txt")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(fs::path(link))));
  EXPECT_FALSE(fs::exists(fs::path(Target)));
}
