// Wizard buttons, the header gradient and shortened folder paths.
#include <gtest/gtest.h>

#include "controls/QorvelWizardLayouts.h"

TEST(WizardLayout, ButtonsInTheBottomPanel) {
  const auto buttons = WizardButtonRects(416, 346, 80);
  EXPECT_EQ(buttons[0], (TRect{161, 314, 241, 339})) << "Back";
  EXPECT_EQ(buttons[1], (TRect{246, 314, 326, 339})) << "Next";
  EXPECT_EQ(buttons[2], (TRect{331, 314, 411, 339})) << "Cancel";
  EXPECT_EQ(WizardPageRect(416, 346), (TRect{0, 0, 416, 306}));
}

TEST(HeaderGradient, FourPixelColumnsFromLeftToRightColour) {
  const auto columns = HeaderGradient(10, 0xFFFFFF, 0x000000, 32);
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0], (THeaderColumn{0, 4, 0xFFFFFF}));
  EXPECT_EQ(columns[1], (THeaderColumn{4, 8, 0x808080}));
  EXPECT_EQ(columns[2], (THeaderColumn{8, 10, 0x000000})) << "the last column is cut at the edge";
  const auto blue = HeaderGradient(8, 0x000000, 0xFF0000, 24);
  EXPECT_EQ(blue.back().Color, 0xFF0000u) << "channels do not mix";
  EXPECT_EQ(HeaderGradient(100, 0xFFFFFF, 0xC0C0C0, 8), (std::vector<THeaderColumn>{{0, 100, 0xC0C0C0}}));
  EXPECT_TRUE(HeaderGradient(0, 0, 0, 32).empty());
}

TEST(ShortenPath, MiddleFoldersGiveWay) {
  const auto within = [](std::size_t n) { return [n](const std::wstring& s) { return s.size() <= n; }; };
  const std::wstring path = L"C:\\Program Files\\Qorvel\\Vindle";
  EXPECT_EQ(ShortenPath(path, within(100)), path);
  EXPECT_EQ(ShortenPath(path, within(24)), L"C:\\...\\Qorvel\\Vindle");
  EXPECT_EQ(ShortenPath(path, within(13)), L"C:\\...\\Vindle");
  EXPECT_EQ(ShortenPath(path, within(10)), L"...\\Vindle");
  EXPECT_EQ(ShortenPath(path, within(7)), L"...ndle");
  EXPECT_EQ(ShortenPath(L"\\\\server\\share\\alpha\\beta\\c", within(22)), L"\\\\server\\share\\...\\c");
}
