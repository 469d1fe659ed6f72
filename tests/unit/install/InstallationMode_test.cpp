// What a start of the program is, from its switches and its end marker.
#include <gtest/gtest.h>

#include "install/InstallationModes.h"

TEST(InstallationMode, MarkersAtTheEndOfTheFile) {
  EXPECT_EQ(DetectInstallationMode({}, "SETUPAPP"), imSetup);
  EXPECT_EQ(DetectInstallationMode({}, "LOCALAPP"), imLocalApp);
  EXPECT_EQ(DetectInstallationMode({}, "PORTABLE"), imPortableApp);
  EXPECT_EQ(DetectInstallationMode({}, "portable"), imPlain) << "markers are compared exactly";
  EXPECT_EQ(DetectInstallationMode({}, "APPLOCAL"), imPlain);
  EXPECT_EQ(DetectInstallationMode({}, ""), imPlain) << "an unreadable file counts as plain";
  EXPECT_EQ(DetectInstallationMode({}, "SETUP"), imPlain);
}

TEST(InstallationMode, SwitchesNeedTwoArgumentsAndWinOverTheMarker) {
  EXPECT_EQ(DetectInstallationMode({L"-uninstall"}, ""), imPlain) << "the switch alone is not recognised";
  EXPECT_EQ(DetectInstallationMode({L"-UNINSTALL", L"x"}, ""), imUninstall);
  EXPECT_EQ(DetectInstallationMode({L"-REMOVE", L"x"}, "LOCALAPP"), imRemove);
  EXPECT_EQ(DetectInstallationMode({L"-uninstall", L"C:\\a b\\Installation.xml", L"more"}, "SETUPAPP"), imUninstall);
  EXPECT_EQ(DetectInstallationMode({L"x", L"-remove"}, "PORTABLE"), imPortableApp) << "only the first argument counts";
  EXPECT_EQ(DetectInstallationMode({L"-uninstallx", L"y"}, ""), imPlain);
}

TEST(InstallationMode, PayloadLeavesTheMarkerOut) {
  EXPECT_TRUE(HasInstallationMarker("SETUPAPP"));
  EXPECT_FALSE(HasInstallationMarker("XXXXXXXX"));
  EXPECT_EQ(InstallationPayloadSize(1000, true), 992u);
  EXPECT_EQ(InstallationPayloadSize(1000, false), 1000u);
  EXPECT_EQ(InstallationPayloadSize(4, true), 4u) << "never below zero";
}

TEST(InstallationMode, PortableCopiesSayTheyArePortable) {
  EXPECT_EQ(InstallationAppTitle(L"Vindle", imPortableApp), L"Vindle portable");
  EXPECT_EQ(InstallationAppTitle(L"Vindle", imLocalApp), L"Vindle");
  EXPECT_EQ(InstallationAppTitle(L"Vindle", imRemove), L"Vindle");
}
