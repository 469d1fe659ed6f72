// Where the installer puts things and how it stores dates.
#include <gtest/gtest.h>

#include "install/InstallerRules.h"

TEST(InstallerRules, MarkersOfTheTwoKinds) {
  EXPECT_EQ(InstallKindMarker(ikLocal), "LOCALAPP");
  EXPECT_EQ(InstallKindMarker(ikPortable), "PORTABLE");
  EXPECT_EQ(DetectInstallationMode({}, InstallKindMarker(ikPortable)), imPortableApp);
}

TEST(InstallerRules, ShellFolderFallbackNames) {
  EXPECT_EQ(ShellFoldersValueName(fkDesktop), L"Desktop");
  EXPECT_EQ(ShellFoldersValueName(fkMyDocuments), L"Personal");
  EXPECT_EQ(ShellFoldersValueName(fkMyPrograms), L"Programs");
  EXPECT_EQ(ShellFoldersValueName(fkAppData), L"AppData");
  EXPECT_EQ(ShellFoldersValueName(fkStartup), L"Startup");
  EXPECT_EQ(ShellFoldersValueName(fkProgramFiles), L"") << "program files falls back to the machine key";
  EXPECT_EQ(ShellFoldersValueName(fkWindows), L"");
}

TEST(InstallerRules, FolderPaths) {
  EXPECT_EQ(WithTrailingBackslash(L"C:\\Q"), L"C:\\Q\\");
  EXPECT_EQ(WithTrailingBackslash(L"C:\\Q\\"), L"C:\\Q\\");
  EXPECT_EQ(WithoutTrailingBackslash(L"C:\\Q\\\\"), L"C:\\Q");
  EXPECT_EQ(WithoutTrailingBackslash(L"E:\\"), L"E:\\") << "a drive root keeps its backslash";
  EXPECT_EQ(FolderOf(L"C:\\Q\\Vindle.exe"), L"C:\\Q\\");
  EXPECT_EQ(FileNameOf(L"C:\\Q\\Vindle.exe"), L"Vindle.exe");
}

TEST(InstallerRules, InstalledNameComesFromTheVersionResource) {
  EXPECT_EQ(InstalledExePath(L"C:\\Q\\", L"D:\\dl\\VindleSetup.exe", L"Vindle.exe"), L"C:\\Q\\Vindle.exe");
  EXPECT_EQ(InstalledExePath(L"C:\\Q", L"D:\\dl\\VindleSetup.exe", L""), L"C:\\Q\\VindleSetup.exe");
  EXPECT_EQ(InstalledExePath(L"C:\\Q\\", L"D:\\VindleSetup.exe", L"..\\..\\Windows\\evil.exe"), L"C:\\Q\\evil.exe")
      << "a name from the resource stays inside the target folder";
}

TEST(InstallerRules, ConfigurationPathByApplicationType) {
  const std::uint32_t all = DefaultInstallOptions;
  EXPECT_EQ(UninstallConfigPathFor(all, patProgram, L"C:\\Q\\Vindle\\", L"Qorvel", L"Vindle", L"C:\\Data", L""),
            L"C:\\Q\\Vindle\\Installation.xml");
  EXPECT_EQ(UninstallConfigPathFor(all & ~ioUninstaller, patProgram, L"C:\\Q\\", L"Qorvel", L"Vindle", L"", L""), L"");
  EXPECT_EQ(UninstallConfigPathFor(all, patScreenSaver, L"C:\\W\\", L"Qorvel", L"Saver", L"C:\\Data", L"C:\\Docs"),
            L"C:\\Data\\Qorvel\\Saver\\Installation.xml");
  EXPECT_EQ(UninstallConfigPathFor(all, patScreenSaver, L"C:\\W\\", L"Qorvel", L"Saver", L"", L"C:\\Docs"),
            L"C:\\Docs\\Qorvel\\Saver\\Installation.xml");
  EXPECT_EQ(UninstallConfigPathFor(all, patScreenSaver, L"C:\\W\\", L"Qorvel", L"Saver", L"", L""),
            L"C:\\W\\SaverInstallation.xml");
  EXPECT_EQ(InstallationRegistryKey(L"Qorvel\\Vindle"), L"\\SOFTWARE\\Qorvel\\Vindle\\installation");
}

TEST(InstallerRules, DatesCountDaysFromTheEndOf1899) {
  EXPECT_DOUBLE_EQ(DateTimeFromCivil(1899, 12, 30, 0, 0, 0, 0), 0.0);
  EXPECT_DOUBLE_EQ(DateTimeFromCivil(1900, 3, 1, 0, 0, 0, 0), 61.0);
  EXPECT_DOUBLE_EQ(DateTimeFromCivil(2000, 1, 1, 12, 0, 0, 0), 36526.5);
  EXPECT_DOUBLE_EQ(DateTimeFromCivil(2024, 2, 29, 6, 0, 0, 0), 45351.25);
  EXPECT_DOUBLE_EQ(DateTimeFromCivil(1899, 12, 29, 0, 0, 0, 0), -1.0);
}

TEST(InstallerRules, MessagesNameThePath) {
  EXPECT_EQ(CannotCreateFileText(L"C:\\Q\\Vindle.exe"),
            L"C:\\Q\\Vindle.exe cannot be created. Please exit all applications which might lock the file.");
  EXPECT_EQ(CannotRemoveText(L"C:\\Q"), L"C:\\Q could not be removed.");
}
