// Where each kind of start keeps its settings.
#include <gtest/gtest.h>

#include "app/SettingsFileNames.h"

TEST(SettingsFileName, InstalledAndPlainCopiesUseTheApplicationDataFolder) {
  for (TInstallationMode mode : {imPlain, imLocalApp, imSetup, imUninstall, imRemove}) {
    EXPECT_EQ(SettingsFileNameFor(mode, L"C:\\Program Files\\Vindle\\Vindle.exe", L"C:\\Users\\ann\\AppData\\Roaming"),
              L"C:\\Users\\ann\\AppData\\Roaming\\Qorvel\\Vindle\\Settings.xml");
  }
  EXPECT_EQ(SettingsFileNameFor(imPlain, L"x.exe", L"C:\\Data\\"), L"C:\\Data\\Qorvel\\Vindle\\Settings.xml")
      << "a trailing separator is not doubled";
}

TEST(SettingsFileName, PortableCopyKeepsItsSettingsBesideItself) {
  EXPECT_EQ(SettingsFileNameFor(imPortableApp, L"E:\\Tools\\Vindle.exe", L"C:\\ignored"), L"E:\\Tools\\Vindle.xml");
  EXPECT_EQ(SettingsFileNameFor(imPortableApp, L"E:\\my.tools\\Ruler v2.exe", L""), L"E:\\my.tools\\Ruler v2.xml")
      << "only the extension of the file name is replaced";
  EXPECT_EQ(SettingsFileNameFor(imPortableApp, L"E:\\Vindle", L""), L"E:\\Vindle.xml");
}
