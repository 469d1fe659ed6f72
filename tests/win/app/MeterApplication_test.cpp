// Vindle's tray menu as the user sees it, built by the real application object.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "support/ProgramSetup.h"

namespace {

struct TMenuLine {
  std::wstring Caption;
  int Image;
  bool Checked, Enabled, Default;
};

std::vector<TMenuLine> TrayMenuFor(TApplicationSettings& settings, bool* rulerVisible = nullptr) {
  std::vector<TMenuLine> seen;
  RunMeterApplication(settings, [&](TMeterApplication& app) {
    if (rulerVisible) *rulerVisible = app.Ruler()->Visible();
    app.UpdateTrayMenu();
    for (std::size_t i = 0; i < app.TrayMenu()->Count(); ++i) {
      const TMenuItem& item = app.TrayMenu()->Item(i);
      seen.push_back({item.Caption, item.ImageIndex, item.Checked, item.Enabled, item.Default});
    }
  });
  return seen;
}

}  // namespace

TEST(MeterApplication, TrayMenuItemsInTheirOrder) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  settings->Configurations(1)->Name = "Dark";
  settings->General->Configuration = 1;
  bool rulerVisible = false;
  const std::vector<TMenuLine> menu = TrayMenuFor(*settings, &rulerVisible);
  EXPECT_TRUE(rulerVisible) << "the ruler shows at start by default";

  ASSERT_EQ(menu.size(), 14u);
  const std::vector<std::wstring> captions = {L"&Hide ruler\tCtrl+Alt+Shift+R",
                                              L"&Show color picker",
                                              L"&Show cursor coordinates\tCtrl+Alt+Shift+K",
                                              L"&Measure\tCtrl+Alt+Shift+M",
                                              L"&Recent colors",
                                              L"-",
                                              L"&About...",
                                              L"-",
                                              L"&Settings...",
                                              L"Configuration &1",
                                              L"Dark",
                                              L"Configuration &3",
                                              L"-",
                                              L"E&xit"};
  for (std::size_t i = 0; i < captions.size(); ++i) EXPECT_EQ(menu[i].Caption, captions[i]) << "item " << i;
  EXPECT_TRUE(menu[0].Default);
  EXPECT_EQ(menu[0].Image, 0);
  EXPECT_EQ(menu[1].Image, 1);
  EXPECT_EQ(menu[2].Image, 6);
  EXPECT_EQ(menu[3].Image, 8);
  EXPECT_EQ(menu[13].Image, 7);
  EXPECT_FALSE(menu[4].Enabled) << "no recent colours yet";
  EXPECT_FALSE(menu[9].Checked);
  EXPECT_TRUE(menu[10].Checked) << "the active configuration is checked";
  EXPECT_TRUE(menu[6].Enabled && menu[8].Enabled) << "no dialog is open";
}

TEST(MeterApplication, ReadOnlySettingsFileHasNoSettingsItem) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  settings->ReadOnly = true;
  settings->Startup->ShowRuler = false;
  bool rulerVisible = true;
  const std::vector<TMenuLine> menu = TrayMenuFor(*settings, &rulerVisible);
  EXPECT_FALSE(rulerVisible) << "start-up option: no ruler";
  ASSERT_EQ(menu.size(), 13u);
  EXPECT_EQ(menu[0].Caption, L"&Show ruler\tCtrl+Alt+Shift+R");
  for (const TMenuLine& line : menu) EXPECT_NE(line.Caption, L"&Settings...");
}
