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

// One rule for both sides: setup refuses exactly the folders whose installation the
// uninstaller would not act on.
TEST(UninstallScope, SetupRefusesTheFoldersUninstallWouldNotActOn) {
  TScopeFolders folders;
  folders.ProgramFilesFolders = {L"C:\\Program Files"};
  folders.ProtectedFolders = {L"C:\\Users\\me", L"C:\\Users\\me\\Desktop", L"C:\\Windows"};
  struct TCase {
    const wchar_t* Folder;
    bool Refused;
  };
  for (const TCase& c : {TCase{L"C:\\", true}, TCase{L"c:", true}, TCase{L"\\\\server\\share", true},
                         TCase{L"C:\\Users\\me", true}, TCase{L"c:\\users\\ME\\", true},
                         TCase{L"C:\\Users\\me\\Desktop", true}, TCase{L"C:\\Program Files", true},
                         TCase{L"C:\\PROGRAM FILES\\.", true}, TCase{L"C:\\Program Files\\Qorvel\\..", true},
                         TCase{L"C:\\Tools\\Trail. ", true}, TCase{L"C:\\Tools\\Trail.", true},
                         TCase{L"C:\\Tools\\CON", true}, TCase{L"C:\\Tools\\lpt1.dir", true},
                         TCase{L"C:\\Tools\\a|b", true}, TCase{L"Tools", true}, TCase{L"C:\\..", true},
                         TCase{L"C:\\Program Files\\Qorvel\\Vindle", false}, TCase{L"C:\\Users\\me\\Vindle", false},
                         TCase{L"C:\\Program Files Extra", false}, TCase{L"C:\\Tools\\Trail.x", false},
                         TCase{L"C:\\Tools\\CONSOLE", false}, TCase{L"C:\\Tools\\COM0", false},
                         TCase{L"\\\\server\\share\\Vindle", false}}) {
    const std::wstring reason = InstallFolderRefusal(c.Folder, folders);
    EXPECT_EQ(!reason.empty(), c.Refused) << c.Folder << ": " << reason;
    // Names the system would change never reach a scope; the rest must agree with it.
    if (!NameTheSystemWouldChange(c.Folder).empty()) continue;
    const TUninstallScope scope = MakeUninstallScope(std::wstring(c.Folder) + L"\\Installation.xml", {}, folders);
    EXPECT_EQ(scope.InstallFolder.empty(), c.Refused) << c.Folder;
  }
}

// Names that begin like the installation's own: only a separator or the end of the name makes
// a path part of it, and a protected folder is protected in any case.
TEST(UninstallScope, SiblingsThatShareAPrefixAndCaseVariantsStayOutside) {
  TScopeFolders folders;
  folders.ProgramFilesFolders = {L"C:\\Program Files"};
  folders.ProtectedFolders = {L"C:\\Users\\me\\Documents"};
  folders.ProgramsFolders = {L"C:\\ProgramData\\Start Menu\\Programs"};
  const TInstallIdentity identity{L"Qorvel\\Vindle", L"Qorvel Vindle", L"Qorvel", L"Vindle", {}};
  const TUninstallScope scope =
      MakeUninstallScope(L"C:\\Program Files\\Qorvel\\Vindle\\Installation.xml", identity, folders);
  EXPECT_EQ(FileOutsideScope(scope, L"C:\\Program Files\\Qorvel\\Vindle\\Vindle.exe"), L"");
  EXPECT_EQ(FileOutsideScope(scope, L"C:\\program files\\QORVEL\\vindle\\Vindle.exe"), L"") << "any case";
  for (const wchar_t* sibling : {L"C:\\Program Files\\Qorvel\\VindlePro\\x.exe",
                                 L"C:\\Program Files\\Qorvel\\Vindle Data\\x.txt",
                                 L"C:\\ProgramData\\Start Menu\\Programs\\QorvelX\\Vindle.lnk"})
    EXPECT_EQ(FileOutsideScope(scope, sibling), L"outside the installation folder") << sibling;
  EXPECT_EQ(FolderOutsideScope(scope, L"C:\\Program Files\\Qorvel\\Vindle Data"), L"outside the installation folder");
  EXPECT_EQ(FolderOutsideScope(scope, L"C:\\Program Files\\Qorvel\\Vindle"), L"");
  EXPECT_EQ(FolderOutsideScope(scope, L"C:\\PROGRAM FILES"), L"a drive, system or user folder");
  EXPECT_EQ(FolderOutsideScope(scope, L"c:\\users\\ME\\documents"), L"a drive, system or user folder");

  const std::wstring software = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\";
  const std::wstring uninstall = software + L"Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  EXPECT_EQ(RegistryKeyOutsideScope(scope, software + L"qorvel\\VINDLE\\installation"), L"");
  EXPECT_EQ(RegistryKeyOutsideScope(scope, uninstall + L"qorvel vindle"), L"");
  for (const std::wstring& key : {software + L"Qorvel\\VindleCloud", uninstall + L"Qorvel Vindle Pro"})
    EXPECT_EQ(RegistryKeyOutsideScope(scope, key), L"not a registry entry of this installation") << key;
  EXPECT_EQ(RegistryValueOutsideScope(scope, software + L"Qorvel\\VindleCloud\\Token"),
            L"not a registry entry of this installation");
}

}  // namespace
