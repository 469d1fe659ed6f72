// The colour tools' shared pieces on a real screen and menu: a pick sampled as the median of
// a square, and the colour box menu's "Copy as" and "Recent colors" built from the settings.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "color/ColorPreferences.h"
#include "color/win32/ColorTools.h"
#include "color/win32/QorvelColorControls.h"
#include "gui/Handles.h"
#include "support/MessagePump.h"
#include "support/PlacedWindow.h"

namespace {

// White, with a one-pixel black column at x = 40 and one red pixel beside it at (41, 20):
// the edge of a glyph and its colour fringe.
class TEdgeWindow : public TPlacedWindow {
 public:
  TEdgeWindow() {
    CreateAt(L"TColorToolsTestEdge", {200, 200, 280, 240}, WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    ::UpdateWindow(Handle());
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_ERASEBKGND) {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const RECT client = ClientRect();
      ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
      const RECT column{40, 0, 41, 40};
      ::FillRect(dc, &column, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
      ::SetPixel(dc, 41, 20, RGB(255, 0, 0));
      return 1;
    }
    return DefaultHandler(message, wParam, lParam);
  }
};

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

TEST(ColorTools, ASampledSquareTakesTheMedianAndOnePixelTheEdge) {
  TEdgeWindow edge;
  PumpMessages();
  const POINT onEdge{200 + 40, 200 + 20};
  EXPECT_EQ(SampleScreenColor(onEdge, 1), RGB(0, 0, 0));
  EXPECT_EQ(SampleScreenColor(onEdge, 3), RGB(255, 255, 255));  // 4 of 9 pixels are the edge
  EXPECT_EQ(SampleScreenColor(onEdge, 5), RGB(255, 255, 255));
  EXPECT_EQ(SampleScreenColor({200 + 41, 200 + 20}, 1), RGB(255, 0, 0));
}

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
