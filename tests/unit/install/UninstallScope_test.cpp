// The uninstall scope decides what a configuration file may make the uninstaller touch;
// every way a path can be spelled must land on the same decision.

#include "install/UninstallScope.h"

#include <gtest/gtest.h>

namespace {

TEST(UninstallScope, PathsAreComparedInOneCanonicalForm) {
  EXPECT_EQ(CanonicalFilePath(L"c:/Program Files//Qorvel\\.\\Vindle\\..\\Vindle\\"),
            L"C:\\Program Files\\Qorvel\\Vindle");
  EXPECT_EQ(CanonicalFilePath(L"C:\\Program Files\\Vindle. \\x.txt"), L"C:\\Program Files\\Vindle\\x.txt");
  EXPECT_EQ(CanonicalFilePath(L"\\\\?\\C:\\a\\b"), L"C:\\a\\b");
  EXPECT_EQ(CanonicalFilePath(L"\\\\server\\share\\a\\..\\b"), L"\\\\server\\share\\b");
  EXPECT_EQ(CanonicalFilePath(L"C:\\.."), L"") << "climbing above the root";
  EXPECT_EQ(CanonicalFilePath(L"Vindle.exe"), L"");
  EXPECT_EQ(CanonicalFilePath(L"C:Vindle.exe"), L"");
  EXPECT_EQ(CanonicalFilePath(L"\\\\.\\PhysicalDrive0"), L"");
  EXPECT_EQ(CanonicalRegistryPath(L"HKEY_LOCAL_MACHINE\\\\SOFTWARE\\Qorvel\\"),
            L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Qorvel");
}

TEST(UninstallScope, LeftEntriesFitAScreen) {
  const std::vector<TLeftEntry> left(14, {L"C:\\" + std::wstring(300, L'a') + L"\\b.txt", L"why"});
  const auto lines = LeftEntryLines(left, 4);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines.back(), L"and 11 more");
  EXPECT_LE(lines[0].size(), 70u);
  EXPECT_EQ(lines[0].substr(0, 6), L"C:\\...");
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
