// The colour box menu's "Copy as" and "Recent colors" as built from the colour settings (what
// choosing them does is driven end to end in colorformats_e2e.py).
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "ColorTextDigest.h"
#include "color/ColorPreferences.h"
#include "color/win32/ColorTools.h"
#include "color/win32/QorvelColorControls.h"
#include "gui/Handles.h"

namespace {

// The tools read these settings for the test's length.
struct TInstalledSettings {
  std::unique_ptr<TApplicationSettings> Settings = TQorvelSettings::Create<TApplicationSettings>();
  TInstalledSettings() { SetColorToolSettings(Settings.get()); }
  ~TInstalledSettings() { SetColorToolSettings(nullptr); }
};

std::wstring ItemText(HMENU menu, UINT position) {
  wchar_t text[80] = {};
  ::GetMenuStringW(menu, position, text, 80, MF_BYPOSITION);
  return text;
}

}  // namespace

TEST(ColorTools, CopyAsOffersTheDefaultFirstAndRecentColoursShowAsSwatches) {
  TInstalledSettings installed;
  TColorSettings& colors = *installed.Settings->Colors;
  colors.DefaultFormat = "rgb";
  colors.Formats = {"hex", "rgb", "oklch"};
  RememberColorPick(0x0000FF);  // red, then blue: blue is the newest
  RememberColorPick(0xFF0000);

  TQorvelColorPopupMenu& popup = ColorPopupMenu();
  TMenuHandle menu(popup.BuildOwnerDrawnMenu());
  HMENU copyAs = ::GetSubMenu(menu.Get(), TQorvelColorPopupMenu::tagCopyAs);
  ASSERT_NE(copyAs, nullptr);
  ASSERT_EQ(::GetMenuItemCount(copyAs), 3);
  EXPECT_EQ(ItemText(copyAs, 0), L"rgb(0, 0, 0)");  // no box: black
  EXPECT_EQ(ItemText(copyAs, 1), L"#000000");
  EXPECT_EQ(ItemText(copyAs, 2), L"oklch(0% 0 0)");
  EXPECT_EQ(::GetMenuDefaultItem(copyAs, TRUE, 0), 0u);

  HMENU recent = ::GetSubMenu(menu.Get(), TQorvelColorPopupMenu::tagRecent);
  ASSERT_NE(recent, nullptr);
  ASSERT_EQ(::GetMenuItemCount(recent), 4);  // two colours, a separator, Clear
  EXPECT_EQ(ItemText(recent, 0), L"rgb(0, 0, 255)");
  EXPECT_EQ(ItemText(recent, 3), L"C&lear");
  TColor swatch = 0;
  ASSERT_TRUE(popup.SwatchColor(TQorvelColorPopupMenu::tagRecent1, swatch));
  EXPECT_EQ(swatch, 0xFF0000u);
  EXPECT_FALSE(popup.SwatchColor(TQorvelColorPopupMenu::tagRecent1 + 2, swatch));

  // Cleared: nothing to open.
  SetRecentColors(colors, {});
  TMenuHandle cleared(popup.BuildOwnerDrawnMenu());
  EXPECT_EQ(::GetSubMenu(cleared.Get(), TQorvelColorPopupMenu::tagRecent), nullptr);
  EXPECT_TRUE(::GetMenuState(cleared.Get(), TQorvelColorPopupMenu::tagRecent, MF_BYPOSITION) & MF_GRAYED);
}

TEST(ColorTools, TheShippedBuildWritesTheSameColourTextsAsTheHost) {
  EXPECT_EQ(ColorTextDigest(), ExpectedColorTextDigest) << std::hex << ColorTextDigest();
}
