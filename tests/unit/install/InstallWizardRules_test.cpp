// The installation wizard's page flow, its buttons and the folder it proposes.
#include <gtest/gtest.h>

#include <vector>

#include "install/QorvelInstallWizardRules.h"

namespace {

// Clicks Next from the welcome page until the completion page, as the window would.
std::vector<int> ForwardFlow(TInstallWizardState state) {
  std::vector<int> pages{ipWelcome};
  int page = ipWelcome;
  while (page != ipCompleted && pages.size() < 20) {
    page = NextInstallPage(state, page).NewPage;
    pages.push_back(page);
  }
  return pages;
}

std::vector<int> BackwardFlow(TInstallWizardState state, int from) {
  std::vector<int> pages{from};
  int page = from;
  while (page != ipWelcome && pages.size() < 20) {
    page = PreviousInstallPage(state, page).NewPage;
    pages.push_back(page);
  }
  return pages;
}

}  // namespace

TEST(InstallWizardFlow, FreshLocalAndPortableSetups) {
  TInstallWizardState local;
  EXPECT_EQ(ForwardFlow(local), (std::vector<int>{0, 1, 2, 5, 6, 7, 8}));

  TInstallWizardState portable;
  portable.Portable = true;
  EXPECT_EQ(ForwardFlow(portable), (std::vector<int>{0, 1, 2, 5, 7, 8}));
  EXPECT_EQ(InstallWizardButtons(portable, ipInstallFolder).NextCaption, L"Install now");
  EXPECT_EQ(InstallWizardButtons(local, ipInstallFolder).NextCaption, L"Next");
  EXPECT_EQ(InstallWizardButtons(local, ipStartMenu).NextCaption, L"Install now");

  // A previous installation does not matter to a portable setup.
  portable.HasPrevious = true;
  EXPECT_EQ(ForwardFlow(portable), (std::vector<int>{0, 1, 2, 5, 7, 8}));
  EXPECT_EQ(BackwardFlow(portable, ipInstallFolder), (std::vector<int>{5, 2, 1, 0}));
}

TEST(InstallWizardFlow, PreviousInstallationChoices) {
  TInstallWizardState same;
  same.HasPrevious = true;
  EXPECT_EQ(ForwardFlow(same), (std::vector<int>{0, 1, 2, 3, 6, 7, 8}));
  const TPageMove toStartMenu = NextInstallPage(same, ipPreviousInstallation);
  EXPECT_TRUE(toStartMenu.TakePreviousFolder) << "the program files go to the previous folder";
  EXPECT_FALSE(toStartMenu.ProposeFolder);
  EXPECT_EQ(BackwardFlow(same, ipStartMenu), (std::vector<int>{6, 3, 2, 1, 0}));

  TInstallWizardState other = same;
  other.PreviousChoice = TPreviousChoice::OtherFolder;
  EXPECT_EQ(ForwardFlow(other), (std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8}));
  EXPECT_TRUE(NextInstallPage(other, ipPreviousInstallation).ProposeFolder);
  EXPECT_EQ(BackwardFlow(other, ipStartMenu), (std::vector<int>{6, 5, 3, 2, 1, 0}));

  TInstallWizardState uninstall = same;
  uninstall.PreviousChoice = TPreviousChoice::UninstallPrevious;
  EXPECT_EQ(NextInstallPage(uninstall, ipPreviousInstallation).NewPage, ipUninstallPrevious);
  EXPECT_EQ(InstallWizardButtons(uninstall, ipPreviousInstallation).NextCaption, L"Uninstall now");
  // The uninstall page moves on by itself once the previous installation is gone ...
  uninstall.HasPrevious = false;
  const TPageMove afterUninstall = NextInstallPage(uninstall, ipUninstallPrevious);
  EXPECT_EQ(afterUninstall.NewPage, ipInstallFolder);
  EXPECT_TRUE(afterUninstall.ProposeFolder);
  // ... and Back never returns to it.
  EXPECT_EQ(BackwardFlow(uninstall, ipStartMenu), (std::vector<int>{6, 5, 2, 1, 0}));
}

TEST(InstallWizardButtons, EnablingAndCaptionsPerPage) {
  TInstallWizardState state;
  EXPECT_FALSE(InstallWizardButtons(state, ipWelcome).BackEnabled);
  EXPECT_TRUE(InstallWizardButtons(state, ipWelcome).NextEnabled);

  // The licence: Next only while "accept" is chosen.
  EXPECT_FALSE(InstallWizardButtons(state, ipLicense).NextEnabled) << "deny is preselected";
  state.LicenseAccepted = true;
  state.LicenseDenied = false;
  EXPECT_TRUE(InstallWizardButtons(state, ipLicense).NextEnabled);
  state.LicenseAccepted = false;
  state.LicenseDenied = true;
  EXPECT_FALSE(InstallWizardButtons(state, ipLicense).NextEnabled) << "choosing deny again disables Next";

  for (int busy : {ipUninstallPrevious, ipInstalling}) {
    const TWizardButtonStates buttons = InstallWizardButtons(state, busy);
    EXPECT_FALSE(buttons.BackEnabled || buttons.NextEnabled || buttons.CancelEnabled) << busy;
  }
  const TWizardButtonStates done = InstallWizardButtons(state, ipCompleted);
  EXPECT_FALSE(done.BackEnabled);
  EXPECT_FALSE(done.CancelEnabled);
  EXPECT_TRUE(done.NextEnabled);
  EXPECT_EQ(done.NextCaption, L"Finish");
}

TEST(UninstallWizardButtons, ThreePages) {
  EXPECT_EQ(UninstallWizardButtons(upWelcome).NextCaption, L"Uninstall now");
  EXPECT_FALSE(UninstallWizardButtons(upWelcome).BackEnabled);
  const TWizardButtonStates busy = UninstallWizardButtons(upUninstalling);
  EXPECT_FALSE(busy.BackEnabled || busy.NextEnabled || busy.CancelEnabled);
  const TWizardButtonStates done = UninstallWizardButtons(upCompleted);
  EXPECT_EQ(done.NextCaption, L"Finish");
  EXPECT_FALSE(done.BackEnabled || done.CancelEnabled);
}

TEST(InstallWizardQuestions, ElevationFollowsTheTokenAndTheSetupType) {
  EXPECT_EQ(ElevationFrom(TTokenElevationKind::Full, false), TElevation::Elevated);
  EXPECT_EQ(ElevationFrom(TTokenElevationKind::Limited, true), TElevation::CanElevate) << "deny-only counts as no";
  EXPECT_EQ(ElevationFrom(TTokenElevationKind::Default, true), TElevation::Elevated) << "no UAC, or the built-in one";
  EXPECT_EQ(ElevationFrom(TTokenElevationKind::Default, false), TElevation::CanElevate)
      << "a standard user can still give an administrator's password";
  EXPECT_EQ(ElevationFrom(TTokenElevationKind::Unknown, false), TElevation::CanElevate);

  // Leaving the setup type page: (elevation, tried, portable) → what happens, and the shield.
  struct TCase {
    TElevation Elevation;
    bool Tried, Portable;
    TLeaveQuestion Expected;
  };
  for (const TCase c : {TCase{TElevation::Elevated, false, false, TLeaveQuestion::None},
                        TCase{TElevation::CanElevate, false, false, TLeaveQuestion::Elevate},
                        TCase{TElevation::CanElevate, false, true, TLeaveQuestion::None},
                        TCase{TElevation::CanElevate, true, false, TLeaveQuestion::NotAdministrator},
                        TCase{TElevation::CanElevate, true, true, TLeaveQuestion::None}}) {
    TLeaveFacts facts;
    facts.Elevation = c.Elevation;
    facts.ElevationTried = c.Tried;
    facts.Portable = c.Portable;
    EXPECT_EQ(QuestionBeforeLeaving(ipSetupType, facts), c.Expected);
    TInstallWizardState state;
    state.Elevation = c.Elevation;
    state.ElevationTried = c.Tried;
    state.Portable = c.Portable;
    EXPECT_EQ(InstallWizardButtons(state, ipSetupType).NextShield, c.Expected == TLeaveQuestion::Elevate);
    EXPECT_FALSE(InstallWizardButtons(state, ipInstallFolder).NextShield);
  }
}

TEST(InstallWizardQuestions, AdministratorAndExistingFolder) {
  TLeaveFacts facts;
  facts.Elevation = TElevation::CanElevate;
  facts.ElevationTried = true;
  EXPECT_EQ(QuestionBeforeLeaving(ipSetupType, facts), TLeaveQuestion::NotAdministrator);
  EXPECT_EQ(QuestionBeforeLeaving(ipLicense, facts), TLeaveQuestion::None);

  facts.ProposedFolder = L"C:\\Program Files\\Qorvel\\Vindle";
  facts.Folder = L"c:\\program files\\qorvel\\vindle\\";
  facts.FolderExistsWithContent = true;
  EXPECT_EQ(QuestionBeforeLeaving(ipInstallFolder, facts), TLeaveQuestion::None)
      << "the proposed folder is never questioned";
  facts.Folder = L"D:\\Tools";
  EXPECT_EQ(QuestionBeforeLeaving(ipInstallFolder, facts), TLeaveQuestion::FolderExists);
  facts.FolderExistsWithContent = false;
  EXPECT_EQ(QuestionBeforeLeaving(ipInstallFolder, facts), TLeaveQuestion::None) << "new or empty folders are fine";
}

TEST(ProposedFolder, LocalAndPortable) {
  TFolderProposalInput input;
  input.DefaultFolder = L"Qorvel\\Vindle";
  input.PortableDefaultFolder = L"Qorvel\\Vindle";
  input.ProgramFilesFolder = L"C:\\Program Files";
  input.SystemFolder = L"C:\\windows\\system32";
  input.MyDocumentsFolder = L"D:\\Users\\me\\Documents";
  EXPECT_EQ(ProposedFolder(input), L"C:\\Program Files\\Qorvel\\Vindle");
  input.ScreenSaver = true;
  EXPECT_EQ(ProposedFolder(input), L"C:\\windows\\system32\\Qorvel\\Vindle");
  input.ScreenSaver = false;
  input.DefaultFolder = L"E:\\Tools";
  EXPECT_EQ(ProposedFolder(input), L"E:\\Tools") << "an absolute default folder is used as it is";
  input.DefaultFolder = L"E:\\";
  EXPECT_EQ(ProposedFolder(input), L"C:\\Program Files\\E:\\") << "a bare drive is not absolute enough";

  input.Portable = true;
  input.PortableDriveRoot = L"F:\\";
  EXPECT_EQ(ProposedFolder(input), L"F:\\Qorvel\\Vindle");
  input.PortableDefaultFolder = L"\\";
  EXPECT_EQ(ProposedFolder(input), L"F:\\") << "\"\\\" means the drive root";

  // "other drive": the drive of My Documents, or C: when that is unknown.
  input.PortableDefaultFolder = L"Qorvel\\Vindle";
  input.PortableDriveRoot.reset();
  EXPECT_EQ(ProposedFolder(input), L"D:\\Qorvel\\Vindle");
  input.MyDocumentsFolder.clear();
  EXPECT_EQ(ProposedFolder(input), L"C:\\Qorvel\\Vindle");
}

TEST(InstallFolderPage, SpaceTextsAndBrowseStart) {
  EXPECT_EQ(MegabytesText(SpaceNeeded(1'500'000), L",", L"."), L"1.5 MB");
  EXPECT_EQ(MegabytesText(SpaceNeeded(0), L",", L"."), L"0.1 MB");
  EXPECT_EQ(MegabytesText(1234ull * 1048576 + 524288, L".", L","), L"1.234,5 MB");
  EXPECT_EQ(MegabytesText(987654321ull * 1048576, L",", L"."), L"987,654,321.0 MB");

  EXPECT_EQ(FolderDriveLetter(L"e:\\x"), L'E');
  EXPECT_FALSE(FolderDriveLetter(L"\\\\server\\share").has_value());

  const auto exists = [](const std::wstring& folder) { return folder == L"C:\\" || folder == L"C:\\Program Files"; };
  EXPECT_EQ(DeepestExistingFolder(L"C:\\Program Files\\Qorvel\\Vindle", exists), L"C:\\Program Files");
  EXPECT_EQ(DeepestExistingFolder(L"C:", exists), L"C:\\") << "a bare drive gets its backslash";
  EXPECT_EQ(DeepestExistingFolder(L"Q:\\nothing\\here", exists), L"");
  EXPECT_EQ(DeepestExistingFolder(L"relative", exists), L"");
}
