// The setup's switches: every form the rules allow, and junk refused with a reason.

#include "install/SetupSwitches.h"

#include <gtest/gtest.h>

namespace {

std::wstring ErrorOf(const std::vector<std::wstring>& arguments, bool removal = false) {
  const auto parsed = ParseSetupSwitches(arguments, removal);
  return parsed.Switches ? L"accepted" : parsed.Error;
}

}  // namespace

TEST(SetupSwitches, AcceptedFormsInAnyCaseWithEitherPrefix) {
  EXPECT_FALSE(ParseSetupSwitches({}).Switches->Silent) << "no switches: the wizard";
  const auto all = ParseSetupSwitches(
      {L"-SILENT", L"/Dir", L"C:\\Tools\\Vindle", L"/nodesktop", L"-NoStartMenu", L"/log", L"C:\\x y\\setup.log"});
  ASSERT_TRUE(all.Switches);
  EXPECT_TRUE(all.Switches->Silent);
  EXPECT_EQ(all.Switches->Folder, L"C:\\Tools\\Vindle");
  EXPECT_FALSE(all.Switches->Portable || all.Switches->Desktop || all.Switches->StartMenu);
  EXPECT_EQ(all.Switches->LogFile, L"C:\\x y\\setup.log");
  const auto portable = ParseSetupSwitches({L"/silent", L"/portable", L"E:\\Vindle"});
  ASSERT_TRUE(portable.Switches);
  EXPECT_TRUE(portable.Switches->Portable);
  EXPECT_EQ(portable.Switches->Folder, L"E:\\Vindle");
  EXPECT_TRUE(ParseSetupSwitches({L"/?"}).Switches->Help);
  EXPECT_TRUE(ParseSetupSwitches({L"/log", L"a.log"}).Switches) << "the wizard can log too";
  EXPECT_TRUE(ParseSetupSwitches({L"-localsetup", L"/silent"}).Switches->ResumeLocalSetup);
  EXPECT_TRUE(ParseSetupSwitches({L"/silent", L"/log", L"u.log"}, true).Switches) << "a quiet uninstallation";
  EXPECT_EQ(SetupArguments({L"/silent", L"/dir", L"C:\\Program Files\\V"}), L"/silent /dir \"C:\\Program Files\\V\"");
}

TEST(SetupSwitches, JunkIsRefusedWithItsReason) {
  EXPECT_EQ(ErrorOf({L"/quiet"}), L"Unknown switch: /quiet");
  EXPECT_EQ(ErrorOf({L"C:\\Tools"}), L"Unexpected argument: C:\\Tools");
  EXPECT_EQ(ErrorOf({L"/silent", L"/dir"}), L"/dir needs a value.");
  EXPECT_EQ(ErrorOf({L"/silent", L"/log", L"/nodesktop"}), L"/log needs a value.");
  EXPECT_EQ(ErrorOf({L"/silent", L"/silent"}), L"/silent is given twice.");
  EXPECT_EQ(ErrorOf({L"/portable", L"E:\\V"}), L"/portable needs /silent.");
  // What a package manager sends for an interactive installation with a location.
  const auto interactive = ParseSetupSwitches({L"/log", L"C:\\l.log", L"/dir", L"C:\\Tools\\V"}).Switches;
  ASSERT_TRUE(interactive);
  EXPECT_FALSE(interactive->Silent);
  EXPECT_EQ(interactive->Folder, L"C:\\Tools\\V");
  EXPECT_EQ(ErrorOf({L"/silent", L"/dir", L"C:\\V", L"/portable", L"E:\\V"}),
            L"/dir and /portable exclude each other.");
  EXPECT_EQ(ErrorOf({L"/silent", L"/portable", L"E:\\V", L"/nodesktop"}),
            L"A portable installation makes no shortcuts.");
  EXPECT_EQ(ErrorOf({L"/silent", L"/dir", L"C:\\V"}, true), L"/dir has no meaning for an uninstallation.");
  EXPECT_EQ(ErrorOf({L"/"}), L"Unexpected argument: /");
}
