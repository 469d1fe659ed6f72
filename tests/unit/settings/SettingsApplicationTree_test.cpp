#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/ApplicationSettings.h"
#include "settings/SettingsTreeWalk.h"

namespace {

using SettingsTreeWalk::Walk;

std::unique_ptr<TApplicationSettings> FreshSettings() {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  // A clock that stands still, so that the overall time reads exactly 0.
  settings->Execution->SetClock([] { return 45000.5; });
  return settings;
}

void AddConfiguration(std::vector<std::string>& lines, int index, const std::string& background, int width,
                      bool transparent, bool magnifierVisible) {
  const std::string c = "Configurations[" + std::to_string(index) + "].";
  const char* yes = "True";
  const char* no = "False";
  for (const std::string& line : std::vector<std::string>{
           "Magnifier.CrossHairs = 1",
           "Magnifier.Horizontal.Alignment = 1",
           "Magnifier.Vertical.Alignment = 1",
           std::string("Magnifier.Visible = ") + (magnifierVisible ? yes : no),
           "Magnifier.Zoom = 3",
           "Name = ''",
           "Ruler.Antialiasing = True",
           "Ruler.Color.Background = " + background,
           "Ruler.Color.CursorLine = $0000FF",
           "Ruler.Digits = True",
           "Ruler.Labeling = 1",
           "Ruler.Opacity = 65",
           "Ruler.Scales.Cm.Granularity = 2",
           "Ruler.Scales.Inch.Granularity = 1",
           "Ruler.Scales.None.Granularity = 1",
           "Ruler.Scales.Pixel.Granularity = 1",
           "Ruler.Scales.Point.Granularity = 1",
           "Ruler.Scales.ScaleUnit = 1",
           std::string("Ruler.Transparent = ") + (transparent ? yes : no),
           "Ruler.Width = " + std::to_string(width),
       })
    lines.push_back(c + line);
}

void AddPlacement(std::vector<std::string>& lines, const std::string& name, std::vector<int> presets) {
  for (const char* line : {".Bearing = 0", ".Direction = 0", ".Length = 0", ".Position.X = 0", ".Position.Y = 0"})
    lines.push_back(name + line);
  for (std::size_t i = 0; i < presets.size(); ++i)
    lines.push_back(name + ".Presets[" + std::to_string(i) + "].Length = " + std::to_string(presets[i]));
}

// Every value of a fresh tree, in the order the settings file lists them.
std::vector<std::string> ExpectedDefaults() {
  std::vector<std::string> lines;
  AddConfiguration(lines, 0, "$A0FFFF", 30, false, false);
  AddConfiguration(lines, 1, "$000000", 30, false, false);
  AddConfiguration(lines, 2, "$C0C0C0", 50, true, true);
  for (const char* line : {
           "ColorPicker.Color = $FFFFFF",
           "ColorPicker.Component = pccHue",
           "Colors[0] = $A0A0FF flags 0",
           "Colors[1] = $A0C0FF flags 0",
           "Colors[2] = $A0FFFF flags 0",
           "Colors[3] = $A0FFA0 flags 0",
           "Colors[4] = $FFA0A0 flags 0",
           "Colors.DefaultFormat = 'hex'",
           "Colors.Formats = {hex|hexbare|rgb|hsl|hsv|cmyk|lab|oklch|colorref|colorrefhex|vec4}",
           "Colors.Recent = {}",
           "Colors.SampleSize = 1",
           "Colors.Template = 'rgba({r}, {g}, {b}, 1)'",
           "ConfigurationFile.BackupMode = pbmTemporary",
           "Execution.Count = 0",
           "Execution.OverallTime = 0",
           "General.Configuration = 0",
           "General.Orientation = 0",
           "General.SnapToDesktop = True",
           "General.StayOnTop = True",
           "Handling.Buttons = [mbClose,mbRotate,mbFlip,mbTurn]",
           "Handling.DoubleClickAction = 0",
           "Handling.SnapToAxis = 1",
       })
    lines.push_back(line);
  AddPlacement(lines, "Horizontal", {400, 500, 640, 800, 1024});
  lines.push_back("Hotkeys.CursorCoordinates = 'Ctrl+Alt+Shift+K'");
  lines.push_back("Hotkeys.Measure = 'Ctrl+Alt+Shift+M'");
  lines.push_back("Hotkeys.PickColor = 'Ctrl+Alt+Shift+C'");
  lines.push_back("Hotkeys.ShowRuler = 'Ctrl+Alt+Shift+R'");
  lines.push_back("Measure.Continuous = False");
  lines.push_back("Measure.IgnoreNarrow = 0");
  lines.push_back("Measure.LabelBackground = $6300E6");
  lines.push_back("Measure.LabelText = $FFFFFF");
  lines.push_back("Measure.LineColor = $6300E6");
  lines.push_back("Measure.Mode = 0");
  lines.push_back("Measure.SnapBounds = False");
  lines.push_back("Measure.Tolerance = 30");
  lines.push_back("Parameters.Calibrations = {}");
  lines.push_back("Parameters.LogicalPixels = False");
  lines.push_back("Parameters.MeasuredDPI = False");
  lines.push_back("Parameters.PixelsPerInch = 96");
  lines.push_back("Parameters.UserDefiniedDPI = False");
  lines.push_back("Startup.ShowColorPicker = False");
  lines.push_back("Startup.ShowCursorCoordinates = False");
  lines.push_back("Startup.ShowRuler = True");
  lines.push_back("Startup.TrayNoticeShown = False");
  AddPlacement(lines, "Vertical", {400, 480, 500, 600, 768});
  return lines;
}

TEST(ApplicationTree, FreshTreeHoldsExactlyTheDefaults) {
  auto settings = FreshSettings();
  const std::vector<std::string> actual = Walk(*settings);
  const std::vector<std::string> expected = ExpectedDefaults();
  EXPECT_EQ(actual, expected);
  // Line by line, for a readable report when the lists differ.
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
    ASSERT_EQ(actual[i], expected[i]) << "line " << i;
}

TEST(ApplicationTree, DeclaredDefaultsAgreeWithTheFreshTree) {
  // SetDefaults, run over the whole tree again after every declared default was changed,
  // has to give the fresh tree back: a wrong declared default shows here.
  auto settings = FreshSettings();
  SettingsTreeWalk::Scramble(*settings, /*onlyDeclaredDefaults=*/true);
  ASSERT_NE(Walk(*settings), ExpectedDefaults());
  SettingsTreeWalk::ApplyDefaultsBottomUp(*settings);
  EXPECT_EQ(Walk(*settings), ExpectedDefaults());
}

TEST(ApplicationTree, PublishedNamesAreTheSettingsFileNames) {
  std::vector<std::string> names;
  for (const TQorvelPropertyInfo& property : TApplicationSettings::StaticClass().Properties())
    names.push_back(property.Name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"ColorPicker", "Colors", "ConfigurationFile", "Execution", "General", "Handling",
                                      "Horizontal", "Hotkeys", "Measure", "Parameters", "Startup", "Vertical", "Window"}));
  const TQorvelSettingsClass& parameters = TParameterSettings::StaticClass();
  EXPECT_NE(parameters.FindProperty("UserDefiniedDPI"), nullptr);
  EXPECT_EQ(TColorPickerSettings::StaticClass().FindProperty("Color")->TypeName, "TColor");
  EXPECT_EQ(TQorvelExecutionSettings::StaticClass().FindProperty("OverallTime")->TypeName, "TDateTime");
  EXPECT_EQ(THandlingSettings::StaticClass().FindProperty("Buttons")->TypeName, "TMiniButtons");
}

TEST(ApplicationTree, ChildrenAreOwnedByTheirParents) {
  auto settings = FreshSettings();
  // Thirteen published children in table order, then the three configurations.
  ASSERT_EQ(settings->Children().size(), 16u);
  EXPECT_EQ(settings->Children().front(), settings->ColorPicker);
  EXPECT_EQ(settings->Children()[12], settings->Window);
  EXPECT_EQ(settings->Children()[13], settings->Configurations(0));
  EXPECT_EQ(settings->Children()[15], settings->Configurations(2));
  EXPECT_EQ(settings->Configurations(1)->Ruler->Scales->Parent(), settings->Configurations(1)->Ruler);
  EXPECT_EQ(settings->Horizontal->Presets->Children().size(), 5u);
  EXPECT_NE(settings->Horizontal->Presets->Preset(0), settings->Vertical->Presets->Preset(0));
}

TEST(ApplicationTree, IndexedAccessorsGuardTheirRanges) {
  auto settings = FreshSettings();
  TScaleSettings& scales = *settings->Configurations(0)->Ruler->Scales;
  EXPECT_EQ(scales.UnitSettings(4)->Granularity, 2);
  EXPECT_EQ(scales.UnitSettings(5), scales.UnitSettings(0));
  EXPECT_EQ(scales.UnitSettings(-1), scales.UnitSettings(0));
  TUnitSettings* cm = scales.UnitSettings(4);
  scales.SetUnitSettings(7, scales.UnitSettings(1));
  EXPECT_EQ(scales.UnitSettings(4), cm);
  EXPECT_EQ(scales.PropertyByName("cm").GetChild(scales), cm);

  TColorSettings& colors = *settings->Colors;
  colors.SetColorEntry(2, {0x8000000F, 3});
  EXPECT_EQ(colors.GetColorEntry(2), (TColorEntry{0x8000000F, 3}));
  colors.SetColorEntry(5, {1, 1});
  colors.SetColorEntry(-1, {1, 1});
  EXPECT_EQ(colors.GetColorEntry(5), TColorEntry{});
  EXPECT_EQ(colors.GetColorEntry(-1), TColorEntry{});
  EXPECT_EQ(colors.GetColorEntry(4), (TColorEntry{0xFFA0A0, 0}));

  // Configurations and presets have no fallback: a bad index is a programming error,
  // reported instead of reading past the end.
  EXPECT_THROW(settings->Configurations(3), EQorvelSettingsError);
  EXPECT_THROW(settings->Configurations(-1), EQorvelSettingsError);
  try {
    settings->Horizontal->Presets->Preset(5);
    FAIL() << "no error";
  } catch (const EQorvelSettingsError& error) {
    EXPECT_STREQ(error.what(), "Preset index 5 is outside 0..4.");
  }
}

TEST(RulerAlpha, FollowsOpacityOnlyWhileTransparent) {
  auto settings = FreshSettings();
  TRulerSettings& ruler = *settings->Configurations(0)->Ruler;
  EXPECT_EQ(ruler.AlphaValue(), 256);
  ruler.Transparent = true;
  EXPECT_EQ(ruler.AlphaValue(), 166);  // 65 * 256 div 100
  ruler.Opacity = 100;
  EXPECT_EQ(ruler.AlphaValue(), 256);
  ruler.Opacity = 1;
  EXPECT_EQ(ruler.AlphaValue(), 2);
  ruler.Transparent = false;
  EXPECT_EQ(ruler.AlphaValue(), 256);
  // Values a damaged settings file may carry stay within the blending range.
  ruler.Transparent = true;
  ruler.Opacity = 1000;
  EXPECT_EQ(ruler.AlphaValue(), 256);
  ruler.Opacity = -40;
  EXPECT_EQ(ruler.AlphaValue(), 0);
  ruler.Opacity = INT32_MAX;
  EXPECT_EQ(ruler.AlphaValue(), 256);
}

TEST(ConfigurationAssign, CopiesTheWholeConfiguration) {
  auto settings = FreshSettings();
  TConfigurationSettings& source = *settings->Configurations(2);
  TConfigurationSettings& target = *settings->Configurations(0);
  SettingsTreeWalk::Scramble(source);
  source.Name = "Dark & <wide>";

  target.Assign(source);
  EXPECT_EQ(Walk(target), Walk(source));
  EXPECT_EQ(target.Name, "Dark & <wide>");
  EXPECT_EQ(target.Ruler->Scales->UnitSettings(3)->Granularity, source.Ruler->Scales->UnitSettings(3)->Granularity);
  EXPECT_NE(target.Ruler, source.Ruler);
}

TEST(ConfigurationAssign, WorkingCopiesForTheDialog) {
  auto settings = FreshSettings();
  auto copy = TQorvelSettings::Create<TConfigurationSettings>();
  copy->Assign(*settings->Configurations(2));
  copy->Ruler->Width = 77;
  copy->Magnifier->Vertical->Alignment = 3;
  EXPECT_EQ(settings->Configurations(2)->Ruler->Width, 50) << "editing the copy leaves the original alone";

  settings->Configurations(2)->Assign(*copy);
  EXPECT_EQ(settings->Configurations(2)->Ruler->Width, 77);
  EXPECT_EQ(settings->Configurations(2)->Magnifier->Vertical->Alignment, 3);
  EXPECT_TRUE(settings->Configurations(2)->Ruler->Transparent);
}

TEST(ConfigurationAssign, RefusesAnotherClassWithTheClassNames) {
  auto settings = FreshSettings();
  try {
    settings->Configurations(0)->Assign(*settings->Configurations(1)->Ruler);
    FAIL() << "no error";
  } catch (const EQorvelSettingsError& error) {
    EXPECT_STREQ(error.what(), "Cannot copy TRulerSettings to TConfigurationSettings.");
  }
  EXPECT_EQ(Walk(*settings), ExpectedDefaults());
}

TEST(ApplicationTree, RootStartsSaveable) {
  auto settings = FreshSettings();
  EXPECT_FALSE(settings->ReadOnly);
  EXPECT_FALSE(settings->SaveSuppressed);
  EXPECT_EQ(settings->Window->WindowCount(), 0);
}

}  // namespace
