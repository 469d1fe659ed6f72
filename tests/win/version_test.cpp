// The version resource the program reads its title and version from.
#include <gtest/gtest.h>
#include <windows.h>

#include "install/QorvelFileVersionInfo.h"

TEST(FileVersionInfo, ReadsTheProgramsOwnResource) {
  TQorvelFileVersionInfo& info = AppVersionInfo();
  ASSERT_TRUE(info.HasInfo());
  EXPECT_EQ(info.ProductName(), L"Vindle");
  EXPECT_EQ(info.CompanyName(), L"Qorvel");
  EXPECT_EQ(info.FileVersion(), L"1.0.0.0");
  EXPECT_EQ(info.Value(TQorvelFileVersionInfo::viOriginalFilename), L"Vindle.exe");
  EXPECT_NE(info.LegalCopyright().find(L"\u00A9"), std::wstring::npos);
  EXPECT_EQ(info.Value(TQorvelFileVersionInfo::viComments), L"");  // not in the resource
  EXPECT_EQ(info.Value(10), L"");
  EXPECT_EQ(info.Value(-1), L"");
}

TEST(FileVersionInfo, FileWithoutResourceHasNoInfo) {
  TQorvelFileVersionInfo info(L"C:\\no\\such\\file.exe");
  EXPECT_FALSE(info.HasInfo());
  EXPECT_EQ(info.ProductName(), L"");
}
