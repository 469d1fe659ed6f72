// The uninstall scope decides what a configuration file may make the uninstaller touch;
// every way a path can be spelled must land on the same decision.

#include "install/UninstallScope.h"

#include <gtest/gtest.h>

namespace {

TUninstallScope VindleScope() {
  TInstallIdentity identity{L"Qorvel\\Vindle", L"Qorvel Vindle", L"Qorvel", L"Vindle",
                            {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\QorvelVindle"}};
  TScopeFolders folders;
  folders.ProgramsFolders = {L"C:\\ProgramData\\Start Menu\\Programs", L"C:\\Users\\me\\Start Menu\\Programs"};
  folders.ShortcutFolders = {L"C:\\Users\\me\\Desktop"};
  folders.ProgramFilesFolders = {L"C:\\Program Files"};
  folders.ProtectedFolders = {L"C:\\Windows", L"C:\\Users\\me", L"C:\\Users\\me\\Documents", L"C:\\Users\\me\\Desktop"};
  return MakeUninstallScope(L"C:\\Program Files\\Qorvel\\Vindle\\Installation.xml", identity, folders);
}

TEST(UninstallScope, PathsAreComparedInOneCanonicalForm) {
  EXPECT_EQ(CanonicalFilePath(L"c:/Program Files//Qorvel\\.\\Vindle\\..\\Vindle\\"), L"C:\\Program Files\\Qorvel\\Vindle");
  EXPECT_EQ(CanonicalFilePath(L"C:\\Program Files\\Vindle. \\x.txt"), L"C:\\Program Files\\Vindle\\x.txt");
  EXPECT_EQ(CanonicalFilePath(L"\\\\?\\C:\\a\\b"), L"C:\\a\\b");
  EXPECT_EQ(CanonicalFilePath(L"\\\\server\\share\\a\\..\\b"), L"\\\\server\\share\\b");
  EXPECT_EQ(CanonicalFilePath(L"C:\\.."), L"") << "climbing above the root";
  EXPECT_EQ(CanonicalFilePath(L"Vindle.exe"), L"");
  EXPECT_EQ(CanonicalFilePath(L"C:Vindle.exe"), L"");
  EXPECT_EQ(CanonicalFilePath(L"\\\\.\\PhysicalDrive0"), L"");
  EXPECT_EQ(CanonicalRegistryPath(L"HKEY_LOCAL_MACHINE\\\\SOFTWARE\\Qorvel\\"), L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Qorvel");
}

TEST(UninstallScope, OnlyWhatAnInstallationMakesIsKept) {
  TQorvelUninstallConfiguration configuration;
  const wchar_t* const keptFiles[] = {
      L"C:\\Program Files\\Qorvel\\Vindle\\Vindle.exe",
      L"c:/program files/qorvel/vindle/sub/../Installation.xml",
      L"C:\\ProgramData\\Start Menu\\Programs\\Qorvel\\Vindle.lnk",
      L"C:\\Users\\me\\Desktop\\Vindle.lnk",
  };
  const wchar_t* const leftFiles[] = {
      L"C:\\Users\\me\\Documents\\thesis.txt",
      L"C:\\Program Files\\Qorvel\\Vindle\\..\\..\\..\\Users\\me\\Documents\\notes.txt",
      L"C:\\Windows\\some.ini",
      L"C:\\Users\\me\\Desktop\\Other.lnk",
      L"relative.txt",
  };
  for (const auto* path : keptFiles) configuration.Files.Add(path, uaRemove, ulRequired);
  for (const auto* path : leftFiles) configuration.Files.Add(path, uaRemove, ulRequired);
  for (const auto* path : {L"C:\\Program Files\\Qorvel\\Vindle", L"C:\\ProgramData\\Start Menu\\Programs\\Qorvel",
                           L"C:\\", L"C:\\Windows", L"C:\\Program Files", L"C:\\Users\\me\\Documents",
                           L"C:\\Program Files\\Qorvel"})
    configuration.Folders.Add(path, uaRemove, ulRequired);
  for (const auto* path : {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Qorvel\\Vindle\\installation",
                           L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Qorvel Vindle",
                           L"HKEY_CURRENT_USER\\Software\\OtherKey", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Qorvel",
                           L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Qorvel\\VindleX"})
    configuration.RegistryKeys.Add(path, uaRemove, ulRequired);
  for (const auto* path : {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\QorvelVindle",
                           L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\OtherApp",
                           L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Qorvel\\Vindle\\installation\\Directory"})
    configuration.RegistryValues.Add(path, uaRemove, ulRequired);

  const auto left = RestrictToScope(configuration, VindleScope(), CanonicalFilePath);

  EXPECT_EQ(configuration.Files.Count(), 4u);
  EXPECT_TRUE(configuration.Files.Contains(L"C:\\Program Files\\qorvel\\vindle\\Installation.xml"));
  EXPECT_EQ(configuration.Folders.Count(), 2u);
  EXPECT_EQ(configuration.RegistryKeys.Count(), 2u);
  EXPECT_EQ(configuration.RegistryValues.Count(), 2u);
  ASSERT_EQ(left.size(), 5u + 5u + 3u + 1u);
  const auto reasonOf = [&](const std::wstring& path) {
    for (const auto& entry : left)
      if (entry.Path == path) return entry.Reason;
    return std::wstring(L"kept");
  };
  EXPECT_EQ(reasonOf(L"C:\\Windows"), L"a drive, system or user folder");
  EXPECT_EQ(reasonOf(L"C:\\"), L"a drive, system or user folder");
  EXPECT_EQ(reasonOf(L"C:\\Users\\me\\Documents\\thesis.txt"), L"outside the installation folder");
  EXPECT_EQ(reasonOf(L"relative.txt"), L"not a full path");
  EXPECT_EQ(reasonOf(L"HKEY_CURRENT_USER\\Software\\OtherKey"), L"not a registry entry of this installation");

  const auto lines = LeftEntryLines(left, 4);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines.back(), L"and 11 more");
  EXPECT_LE(LeftEntryLines({{std::wstring(L"C:\\") + std::wstring(300, L'a') + L"\\b.txt", L"why"}}, 4)[0].size(), 70u);
}

TEST(UninstallScope, AnInstallationFolderThatIsASystemFolderTrustsNothingInside) {
  TScopeFolders folders;
  folders.ProtectedFolders = {L"C:\\Users\\me\\Documents"};
  for (const auto* config : {L"C:\\Installation.xml", L"C:\\Users\\me\\Documents\\Installation.xml"}) {
    const TUninstallScope scope = MakeUninstallScope(config, {}, folders);
    EXPECT_EQ(FileOutsideScope(scope, CanonicalFilePath(config)), L"outside the installation folder") << config;
  }
  // A user folder that happens to lie inside the installation folder stays the user's.
  folders.ProtectedFolders = {L"D:\\Stuff\\Documents"};
  const TUninstallScope scope = MakeUninstallScope(L"D:\\Stuff\\Installation.xml", {}, folders);
  EXPECT_EQ(FileOutsideScope(scope, L"D:\\Stuff\\Vindle.exe"), L"");
  EXPECT_EQ(FileOutsideScope(scope, L"D:\\Stuff\\Documents\\x.txt"), L"outside the installation folder");
}

}  // namespace
