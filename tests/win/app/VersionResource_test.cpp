// The version resource the program reads its title and version from.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "VindleVersion.h"
#include "install/QorvelFileVersionInfo.h"

TEST(FileVersionInfo, ReadsTheProgramsOwnResource) {
  TQorvelFileVersionInfo& info = AppVersionInfo();
  ASSERT_TRUE(info.HasInfo());
  EXPECT_EQ(info.ProductName(), L"Vindle");
  EXPECT_EQ(info.CompanyName(), L"Qorvel");
  // The top CMakeLists.txt's version, in both texts and in the numbers the shell shows.
  EXPECT_EQ(info.FileVersion(), L"" VINDLE_VERSION_TEXT);
  EXPECT_EQ(info.ProductVersion(), L"" VINDLE_VERSION_TEXT);
  EXPECT_EQ(info.Value(TQorvelFileVersionInfo::viOriginalFilename), L"Vindle.exe");
  EXPECT_NE(info.LegalCopyright().find(L"\u00A9"), std::wstring::npos);
  EXPECT_EQ(info.Value(TQorvelFileVersionInfo::viComments), L"");  // not in the resource
  EXPECT_EQ(info.Value(10), L"");
  EXPECT_EQ(info.Value(-1), L"");
}

TEST(FileVersionInfo, FixedNumbersAreTheProjectVersion) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  std::vector<BYTE> block(::GetFileVersionInfoSizeW(path, &ignored));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(::GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const DWORD high = MAKELONG(VINDLE_VERSION_MINOR, VINDLE_VERSION_MAJOR);
  const DWORD low = MAKELONG(VINDLE_VERSION_TWEAK, VINDLE_VERSION_PATCH);
  EXPECT_EQ(fixed->dwFileVersionMS, high);
  EXPECT_EQ(fixed->dwFileVersionLS, low);
  EXPECT_EQ(fixed->dwProductVersionMS, high);
  EXPECT_EQ(fixed->dwProductVersionLS, low);
}

TEST(FileVersionInfo, FileWithoutResourceHasNoInfo) {
  TQorvelFileVersionInfo info(L"C:\\no\\such\\file.exe");
  EXPECT_FALSE(info.HasInfo());
  EXPECT_EQ(info.ProductName(), L"");
}
