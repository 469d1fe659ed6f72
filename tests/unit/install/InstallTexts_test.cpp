// The wizards' composed texts and their defaults from the version resource.
#include <gtest/gtest.h>

#include "install/QorvelInstallTexts.h"

TEST(InstallProductData, DefaultsFromTheVersionResource) {
  TVersionTexts version{L"Qorvel", L"Vindle", L"1.2", L"Title"};
  TInstallProductData data = CompleteProductData({}, version);
  EXPECT_EQ(data.LongProductName, L"Qorvel Vindle");
  EXPECT_EQ(data.DefaultFolder, L"Qorvel\\Vindle");
  EXPECT_EQ(data.PortableDefaultFolder, L"Qorvel\\Vindle");
  EXPECT_EQ(data.RegistryKey, L"Qorvel\\Vindle");
  EXPECT_EQ(LongNameAndVersion(data), L"Qorvel Vindle 1.2");
  EXPECT_EQ(InstallGroupName(data), L"Qorvel");

  TInstallProductData saver;
  saver.ApplicationType = patScreenSaver;
  saver.DefaultFolder = L"Mine";
  saver = CompleteProductData(saver, {L"", L"", L"", L"Title"});
  EXPECT_EQ(saver.ProductName, L"Title") << "the application title stands in for a missing product name";
  EXPECT_EQ(saver.LongProductName, L"Title") << "trimmed";
  EXPECT_EQ(saver.DefaultFolder, L"Mine") << "given fields stay";
  EXPECT_EQ(saver.RegistryKey, L"Qorvel\\ScreenSaver\\Title");
  EXPECT_EQ(InstallGroupName(saver), L"\\screensavers");
  EXPECT_EQ(LongNameAndVersion(saver), L"Title");
}

TEST(InstallWizardTexts, ComposedFromTheProduct) {
  TInstallProductData data = CompleteProductData({}, {L"Qorvel", L"Vindle", L"1.0", L""});
  const TInstallWizardTexts t = InstallWizardTexts(data);
  EXPECT_EQ(t.Caption, L"Vindle Setup");
  EXPECT_EQ(t.WelcomeText,
            L"You are about to install Qorvel Vindle 1.0.\r\n\r\nIt is stongly recommended that you exit all Windows "
            L"programs before running this Setup program.\r\n\r\nClick Cancel to quit Setup, click Next to continue.");
  EXPECT_EQ(t.LocalLabel,
            L"Install Vindle as a normal Windows application to a local harddisk drive. Add a start menu entry and "
            L"an uninstaller. User specific settings are stored locally for each user separately (recommended for "
            L"work stations or family PCs).");
  EXPECT_EQ(t.ExistingLabel, L"A prevoious installation of Vindle was detected. You have following options:");
  EXPECT_EQ(t.CompletedText, L"Thank you for taking the time. Qorvel Vindle 1.0 was successfully installed.");
  EXPECT_EQ(t.StartCheckBox, L"Start Vindle now");
  EXPECT_EQ(CancelSetupQuestion(L"Vindle"),
            L"You have not finished installing Vindle. If you exit Setup now, Vindle will not be installed. Are you "
            L"sure you want to cancel Setup?");
  EXPECT_EQ(InstallFailedMessage(L"Vindle", L"C:\\x"),
            L"An error occured while installing Vindle to C:\\x. Vindle might not work properly.");
  EXPECT_EQ(AvailableSpaceLabel(L'D'), L"Available space on drive D:");

  const TUninstallWizardTexts u = UninstallWizardTexts(L"Vindle");
  EXPECT_EQ(u.Caption, L"Uninstall Vindle");
  EXPECT_EQ(u.WelcomeText,
            L"You are about to uninstall Vindle.\r\n\r\nAre you sure you want to remove all application "
            L"objects?\r\n\r\nClick Cancel to quit Uninstall.");
  EXPECT_EQ(u.CompletedCaption, L"Vindle successfully uninstalled");
}

TEST(LicenseAgreement, PlaceholdersInAnyCaseBecomeUpperCaseNames) {
  EXPECT_EQ(ReplacePlaceholder(L"a [productname] b [PRODUCTNAME] c [ProductName]", L"[ProductName]", L"X"),
            L"a X b X c X");
  EXPECT_EQ(ReplacePlaceholder(L"[p][p]", L"[P]", L"[p]"), L"[p][p]")
      << "a value holding the key is not replaced again";

  for (TQorvelLicenseType type : {pltFree, pltNormal}) {
    const std::wstring text = LicenseAgreement(type, L"Qorvel", L"Vindle");
    EXPECT_NE(text.find(L"QORVEL"), std::wstring::npos);
    EXPECT_NE(text.find(L"VINDLE"), std::wstring::npos);
    EXPECT_EQ(UpperCase(text).find(L"[COMPANYNAME]"), std::wstring::npos);
    EXPECT_EQ(UpperCase(text).find(L"[PRODUCTNAME]"), std::wstring::npos);
    EXPECT_EQ(text.find(L"\n"), text.find(L"\r\n") + 1) << "lines end with CR LF";
  }
  EXPECT_NE(LicenseAgreement(pltFree, L"Q", L"V"), LicenseAgreement(pltNormal, L"Q", L"V"));
  EXPECT_NE(LicenseAgreement(pltFree, L"Q", L"V").find(L"MIT LICENSE"), std::wstring::npos);
}
