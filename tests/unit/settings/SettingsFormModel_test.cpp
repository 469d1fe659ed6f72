// The settings dialog without windows: working copies, the unit and enabling rules, and
// what reaches the settings tree on OK.

#include <gtest/gtest.h>

#include "SettingsFileTestSupport.h"
#include "settings/SettingsFormModels.h"

namespace {

using SettingsFileTest::Document;
using SettingsFileTest::Load;
using SettingsFileTest::ProgramSettings;

constexpr int Inch = 3;
constexpr int Point = 2;
constexpr int Coarse = 0;
constexpr int Fine = 2;

const auto NoAutostart = [] { return false; };
const auto AutostartUnchanged = [](bool) -> bool {
  ADD_FAILURE() << "autostart must not be touched";
  return false;
};

struct LoadedModel {
  std::unique_ptr<TApplicationSettings> Settings = ProgramSettings();
  TSettingsFormModel Model{true, true};
  LoadedModel() { Model.LoadFromSettings(*Settings, NoAutostart); }
};

TEST(SettingsFormModel, SwitchingConfigurationsKeepsEachCopysEditsAndCancelChangesNothing) {
  LoadedModel f;
  const std::string before = Document(*f.Settings);
  f.Model.SwitchConfiguration(1);
  f.Model.Values.Edited.Name = "Wide";
  f.Model.Values.Edited.Width = 77;
  f.Model.Values.Edited.MagnifierVisible = true;
  f.Model.SwitchConfiguration(2);
  EXPECT_NE(f.Model.Values.Edited.Name, "Wide");
  EXPECT_EQ(f.Model.Values.Edited.Width, f.Settings->Configurations(2)->Ruler->Width);
  f.Model.Values.Edited.Width = 12;
  f.Model.SwitchConfiguration(1);
  EXPECT_EQ(f.Model.Values.Edited.Name, "Wide");
  EXPECT_EQ(f.Model.Values.Edited.Width, 77);
  EXPECT_TRUE(f.Model.Values.Edited.MagnifierVisible);
  EXPECT_EQ(f.Model.WorkingCopy(2).Ruler->Width, 12);
  // Cancel: the dialog goes away without storing; the tree never saw the copies.
  EXPECT_EQ(Document(*f.Settings), before);
}

TEST(SettingsFormModel, OkWritesEveryCopyAndTheChosenConfigurationBecomesActive) {
  LoadedModel f;
  f.Model.SwitchConfiguration(1);
  f.Model.Values.Edited.Width = 50;
  f.Model.Values.Edited.Background = 0x123456;
  f.Model.SwitchConfiguration(2);
  f.Model.Values.Edited.Name = "Third";
  f.Model.Values.Edited.Opacity = 40;
  EXPECT_TRUE(f.Model.StoreToSettings(*f.Settings, AutostartUnchanged));
  EXPECT_EQ(f.Settings->General->Configuration, 2);
  EXPECT_EQ(f.Settings->Configurations(1)->Ruler->Width, 50);
  EXPECT_EQ(f.Settings->Configurations(1)->Ruler->Color->Background, 0x123456u);
  EXPECT_EQ(f.Settings->Configurations(2)->Name, "Third");
  EXPECT_EQ(f.Settings->Configurations(2)->Ruler->Opacity, 40);
}

TEST(SettingsFormModel, EachUnitKeepsItsOwnGranularity) {
  LoadedModel f;
  f.Model.ChangeUnit(Inch);
  f.Model.Values.Edited.Granularity = Fine;
  f.Model.ChangeUnit(UnitPixel);
  f.Model.Values.Edited.Granularity = Coarse;
  f.Model.ChangeUnit(Inch);
  EXPECT_EQ(f.Model.Values.Edited.Granularity, Fine);
  f.Model.ChangeUnit(UnitPixel);
  EXPECT_EQ(f.Model.Values.Edited.Granularity, Coarse);

  f.Model.StoreToSettings(*f.Settings, AutostartUnchanged);
  const TScaleSettings& scales = *f.Settings->Configurations(0)->Ruler->Scales;
  EXPECT_EQ(scales.ScaleUnit, UnitPixel);
  EXPECT_EQ(scales.UnitSettings(Inch)->Granularity, Fine);
  EXPECT_EQ(scales.UnitSettings(UnitPixel)->Granularity, Coarse);
}

TEST(SettingsFormModel, SwitchingBetweenCopiesWithDifferentUnitsMovesNoGranularity) {
  auto settings = ProgramSettings();
  TScaleSettings& first = *settings->Configurations(0)->Ruler->Scales;
  TScaleSettings& second = *settings->Configurations(1)->Ruler->Scales;
  first.ScaleUnit = Inch;
  first.UnitSettings(Inch)->Granularity = Fine;
  second.ScaleUnit = Point;
  second.UnitSettings(Point)->Granularity = Coarse;
  second.UnitSettings(Inch)->Granularity = 1;
  TSettingsFormModel model(true, true);
  model.LoadFromSettings(*settings, NoAutostart);
  model.SwitchConfiguration(1);
  EXPECT_EQ(model.Values.Edited.Unit, Point);
  EXPECT_EQ(model.Values.Edited.Granularity, Coarse);
  model.SwitchConfiguration(0);
  EXPECT_EQ(model.Values.Edited.Granularity, Fine);
  model.StoreToSettings(*settings, AutostartUnchanged);
  EXPECT_EQ(second.UnitSettings(Inch)->Granularity, 1);
  EXPECT_EQ(second.UnitSettings(Point)->Granularity, Coarse);
  EXPECT_EQ(first.UnitSettings(Point)->Granularity, 1);
}

TEST(SettingsFormModel, EnablingFollowsUnitTransparencyMagnifierAndDpiChoice) {
  TSettingsFormModel model(true, true);
  TConfigurationValues& e = model.Values.Edited;
  e.Unit = UnitNone;
  EXPECT_FALSE(model.Enabling().Granularity);
  EXPECT_FALSE(model.Enabling().Digits);
  EXPECT_FALSE(model.Enabling().Antialiasing);
  e.Unit = UnitPixel;
  EXPECT_TRUE(model.Enabling().Granularity);
  EXPECT_TRUE(model.Enabling().Digits);
  EXPECT_FALSE(model.Enabling().Antialiasing);
  e.Unit = Point;
  EXPECT_TRUE(model.Enabling().Antialiasing);

  e.Transparent = false;
  EXPECT_TRUE(model.Enabling().Transparent);
  EXPECT_FALSE(model.Enabling().Opacity);
  e.Transparent = true;
  EXPECT_TRUE(model.Enabling().Opacity);

  e.MagnifierVisible = false;
  EXPECT_FALSE(model.Enabling().Zoom);
  EXPECT_FALSE(model.Enabling().CrossHairs);
  e.MagnifierVisible = true;
  EXPECT_TRUE(model.Enabling().Zoom);
  EXPECT_TRUE(model.Enabling().CrossHairs);

  model.Values.UserDefinedDpi = false;
  EXPECT_FALSE(model.Enabling().PixelsPerInch);
  model.Values.UserDefinedDpi = true;
  EXPECT_TRUE(model.Enabling().PixelsPerInch);

  TSettingsFormModel opaqueSystem(true, false);
  opaqueSystem.Values.Edited.Transparent = true;
  EXPECT_FALSE(opaqueSystem.Enabling().Transparent);
  EXPECT_FALSE(opaqueSystem.Enabling().Opacity);
}

TEST(SettingsFormModel, AnEmptyButtonSetSurvivesTheSettingsFile) {
  LoadedModel f;
  f.Model.Values.Buttons.fill(false);
  f.Model.StoreToSettings(*f.Settings, AutostartUnchanged);
  EXPECT_TRUE(f.Settings->Handling->Buttons.Empty());

  auto reloaded = ProgramSettings();
  ASSERT_EQ(Load(*reloaded, Document(*f.Settings)), "");
  EXPECT_TRUE(reloaded->Handling->Buttons.Empty());
  TSettingsFormModel again(true, true);
  again.LoadFromSettings(*reloaded, NoAutostart);
  for (bool shown : again.Values.Buttons) EXPECT_FALSE(shown);
}

TEST(SettingsFormModel, ButtonsAreRebuiltFromTheBoxes) {
  LoadedModel f;
  f.Settings->Handling->Buttons = TMiniButtons::FromMask(0x80000001u);  // a stray bit beyond the seven
  f.Model.LoadFromSettings(*f.Settings, NoAutostart);
  f.Model.Values.Buttons[static_cast<std::size_t>(TMiniButton::mbMagnifier)] = true;
  f.Model.StoreToSettings(*f.Settings, AutostartUnchanged);
  EXPECT_EQ(f.Settings->Handling->Buttons, (TMiniButtons{TMiniButton::mbClose, TMiniButton::mbMagnifier}));
}

TEST(SettingsFormModel, GeneralHandlingAndParametersRoundTrip) {
  LoadedModel f;
  TSettingsFormValues& v = f.Model.Values;
  v.ShowRuler = false;
  v.ShowColorPicker = true;
  v.StayOnTop = false;
  v.SnapToDesktop = false;
  v.DoubleClickAction = 4;
  v.SnapToAxis = 3;
  v.UserDefinedDpi = true;
  v.PixelsPerInch = 144;
  v.HorizontalPresets[4] = 1999;
  v.VerticalPresets[0] = 201;
  f.Model.StoreToSettings(*f.Settings, AutostartUnchanged);
  TSettingsFormModel reopened(true, true);
  reopened.LoadFromSettings(*f.Settings, NoAutostart);
  const TSettingsFormValues& r = reopened.Values;
  EXPECT_FALSE(r.ShowRuler);
  EXPECT_TRUE(r.ShowColorPicker);
  EXPECT_FALSE(r.StayOnTop);
  EXPECT_FALSE(r.SnapToDesktop);
  EXPECT_EQ(r.DoubleClickAction, 4);
  EXPECT_EQ(r.SnapToAxis, 3);
  EXPECT_TRUE(r.UserDefinedDpi);
  EXPECT_EQ(r.PixelsPerInch, 144);
  EXPECT_EQ(f.Settings->Horizontal->Presets->Preset(4)->Length, 1999);
  EXPECT_EQ(f.Settings->Vertical->Presets->Preset(0)->Length, 201);
}

TEST(SettingsFormModel, AConfigurationIndexOutsideTheListOpensTheFirst) {
  auto settings = ProgramSettings();
  settings->General->Configuration = 7;
  settings->Configurations(0)->Name = "First";
  TSettingsFormModel model(true, true);
  model.LoadFromSettings(*settings, NoAutostart);
  EXPECT_EQ(model.Values.Configuration, 0);
  EXPECT_EQ(model.Values.Edited.Name, "First");
}

TEST(SettingsFormModel, AStoredUnitWithoutAnItemSurvivesOk) {
  auto settings = ProgramSettings();
  TScaleSettings& scales = *settings->Configurations(0)->Ruler->Scales;
  scales.ScaleUnit = 9;
  scales.UnitSettings(UnitNone)->Granularity = Fine;
  TSettingsFormModel model(true, true);
  model.LoadFromSettings(*settings, NoAutostart);
  EXPECT_EQ(model.Values.Edited.Unit, 9);
  model.StoreToSettings(*settings, AutostartUnchanged);
  EXPECT_EQ(scales.ScaleUnit, 9);
  EXPECT_EQ(scales.UnitSettings(UnitNone)->Granularity, Fine);
}

TEST(SettingsFormModel, AutostartIsQueriedAndUpdatedOnlyForALocalInstallation) {
  auto settings = ProgramSettings();
  TSettingsFormModel portable(false, true);
  portable.LoadFromSettings(*settings, [] {
    ADD_FAILURE() << "a portable copy has no autostart entry";
    return true;
  });
  EXPECT_FALSE(portable.Enabling().Autostart);
  EXPECT_EQ(portable.AutostartCaption(), L"Autostart Vindle (local installation only)");
  portable.Values.Autostart = true;
  EXPECT_TRUE(portable.StoreToSettings(*settings, AutostartUnchanged));

  TSettingsFormModel local(true, true);
  EXPECT_EQ(local.AutostartCaption(), L"Autostart Vindle");
  local.LoadFromSettings(*settings, [] { return true; });
  EXPECT_TRUE(local.Values.Autostart);
  EXPECT_TRUE(local.Enabling().Autostart);
  // Unchanged: no registry access.
  EXPECT_TRUE(local.StoreToSettings(*settings, AutostartUnchanged));
  std::vector<bool> updates;
  local.Values.Autostart = false;
  EXPECT_TRUE(local.StoreToSettings(*settings, [&](bool enable) {
    updates.push_back(enable);
    return true;
  }));
  EXPECT_EQ(updates, std::vector<bool>{false});
  EXPECT_FALSE(local.AutostartAtLoad());
}

TEST(SettingsFormModel, AFailedAutostartUpdateIsReportedAndTheRestStillStored) {
  auto settings = ProgramSettings();
  TSettingsFormModel model(true, true);
  model.LoadFromSettings(*settings, NoAutostart);
  model.Values.Autostart = true;
  model.Values.StayOnTop = false;
  model.Values.PixelsPerInch = 120;
  EXPECT_FALSE(model.StoreToSettings(*settings, [](bool) { return false; }));
  EXPECT_FALSE(model.AutostartAtLoad());
  EXPECT_FALSE(settings->General->StayOnTop);
  EXPECT_EQ(settings->Parameters->PixelsPerInch, 120);
  // A second OK tries again, since the entry still differs from the box.
  int attempts = 0;
  EXPECT_TRUE(model.StoreToSettings(*settings, [&](bool enable) {
    ++attempts;
    return enable;
  }));
  EXPECT_EQ(attempts, 1);
}

}  // namespace
