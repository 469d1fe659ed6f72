// The colours branch's formats, recent colours and sample size: older files load with the
// defaults, and what a file holds survives a save and a load.
#include <gtest/gtest.h>

#include "SettingsFileTestSupport.h"

namespace {

using namespace SettingsFileTest;

TEST(ColorSettings, OlderFilesGetTheDefaultsAndAWrittenFileReadsBack) {
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

  settings->Colors->Recent = {"#FF8000", "#000000"};
  settings->Colors->SampleSize = 5;
  auto reread = ProgramSettings();
  ASSERT_EQ(Load(*reread, Document(*settings)), "");
  EXPECT_EQ(reread->Colors->Recent, (TQorvelStrings{"#FF8000", "#000000"}));
  EXPECT_EQ(reread->Colors->SampleSize, 5);
  EXPECT_EQ(reread->Colors->GetColorEntry(0).Value, 0x123456u);
}

}  // namespace
