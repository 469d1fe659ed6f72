// The colours branch's formats, recent colours and sample size: older files load with the
// defaults (what a newer file holds survives a restart in colorformats_e2e.py).
#include <gtest/gtest.h>

#include "SettingsFileTestSupport.h"

namespace {

using namespace SettingsFileTest;

TEST(ColorSettings, OlderFilesGetTheDefaults) {
  auto settings = ProgramSettings();
  ASSERT_EQ(Load(*settings, SettingsWith(R"(
  <colors>
    <color name="0"><value>123456h</value></color>
  </colors>)")),
            "");
  const TColorSettings& colors = *settings->Colors;
  EXPECT_EQ(colors.GetColorEntry(0).Value, 0x123456u);
  EXPECT_EQ(colors.DefaultFormat, "hex");
  EXPECT_EQ(colors.Formats.size(), 11u);
  EXPECT_EQ(colors.Template, "rgba({r}, {g}, {b}, 1)");
  EXPECT_TRUE(colors.Recent.empty());
  EXPECT_EQ(colors.SampleSize, 1);
}

}  // namespace
