// Values a hand-edited or damaged settings file brings are held, once loaded, to what the
// settings dialog allows, and the file written afterwards carries the held values.

#include <gtest/gtest.h>

#include <functional>

#include "settings/QorvelSettingsFiles.h"
#include "SettingsFileTestSupport.h"

namespace {

using namespace SettingsFileTest;

// Loads the document as the program does (LoadWith), which holds what it read.
std::unique_ptr<TApplicationSettings> Loaded(const std::string& body) {
  auto settings = ProgramSettings();
  auto stream = std::make_unique<TQorvelMemoryStream>("<settings>" + body + "</settings>");
  try {
    settings->LoadWith(std::make_unique<TQorvelSettingsXmlFileReader>(std::move(stream), "settings"));
  } catch (const EQorvelError&) {
  }
  return settings;
}

std::string Config(const std::string& inner) { return "<configuration name=\"0\">" + inner + "</configuration>"; }
std::string Ruler(const std::string& inner) { return Config("<ruler>" + inner + "</ruler>"); }
std::string Magnifier(const std::string& inner) { return Config("<magnifier>" + inner + "</magnifier>"); }

using TRead = std::function<std::int64_t(const TApplicationSettings&)>;
const TConfigurationSettings& First(const TApplicationSettings& s) { return *s.Configurations(0); }

TEST(SettingsRanges, LoadedValuesAreHeldToWhatTheDialogAllows) {
  struct TCase {
    const char* What;
    std::string Body;
    TRead Read;
    std::int64_t Expected;
  };
  const TRead width = [](const auto& s) { return First(s).Ruler->Width; };
  const TRead zoom = [](const auto& s) { return First(s).Magnifier->Zoom; };
  const TRead configuration = [](const auto& s) { return s.General->Configuration; };
  const TRead orientation = [](const auto& s) { return s.General->Orientation; };
  const TRead sample = [](const auto& s) { return s.Colors->SampleSize; };
  const TCase cases[] = {
      {"a huge width", Ruler("<width>100000</width>"), width, 100},
      {"a negative width", Ruler("<width>-5</width>"), width, 5},
      {"the widest allowed", Ruler("<width>100</width>"), width, 100},
      {"the narrowest allowed", Ruler("<width>5</width>"), width, 5},
      {"opacity 500", Ruler("<opacity>500</opacity>"), [](const auto& s) { return First(s).Ruler->Opacity; }, 100},
      {"opacity 0", Ruler("<opacity>0</opacity>"), [](const auto& s) { return First(s).Ruler->Opacity; }, 10},
      {"zoom 0", Magnifier("<zoom>0</zoom>"), zoom, 1},
      {"zoom 100000", Magnifier("<zoom>100000</zoom>"), zoom, 9},
      {"zoom 9", Magnifier("<zoom>9</zoom>"), zoom, 9},
      // An unknown choice means the default, not the nearest item ("exit" for a double click).
      {"configuration 7", "<general><configuration>7</configuration></general>", configuration, 0},
      {"configuration -1", "<general><configuration>-1</configuration></general>", configuration, 0},
      {"configuration 2", "<general><configuration>2</configuration></general>", configuration, 2},
      {"double click 9", "<handling><doubleclickaction>9</doubleclickaction></handling>",
       [](const auto& s) { return s.Handling->DoubleClickAction; }, 0},
      {"snap to axis 4", "<handling><snaptoaxis>4</snaptoaxis></handling>",
       [](const auto& s) { return s.Handling->SnapToAxis; }, 1},
      {"labeling 3", Ruler("<labeling>3</labeling>"), [](const auto& s) { return First(s).Ruler->Labeling; }, 1},
      {"crosshairs 4", Magnifier("<crosshairs>4</crosshairs>"),
       [](const auto& s) { return First(s).Magnifier->CrossHairs; }, 1},
      {"alignment 3", Magnifier("<vertical><alignment>3</alignment></vertical>"),
       [](const auto& s) { return First(s).Magnifier->Vertical->Alignment; }, 3},
      {"unit 5", Ruler("<scales><scaleunit>5</scaleunit></scales>"),
       [](const auto& s) { return First(s).Ruler->Scales->ScaleUnit; }, 1},
      {"granularity 7", Ruler("<scales><inch><granularity>7</granularity></inch></scales>"),
       [](const auto& s) { return First(s).Ruler->Scales->UnitSettings(3)->Granularity; }, 1},
      // Only bit 0 of these ever counted: -1 was vertical and stays so.
      {"orientation -1", "<general><orientation>-1</orientation></general>", orientation, 1},
      {"orientation 2", "<general><orientation>2</orientation></general>", orientation, 0},
      {"bearing 3", "<vertical><bearing>3</bearing></vertical>", [](const auto& s) { return s.Vertical->Bearing; }, 1},
      {"sample size 4", "<colors><samplesize>4</samplesize></colors>", sample, 1},
      {"sample size 5", "<colors><samplesize>5</samplesize></colors>", sample, 5},
      {"pixels per inch 0", "<parameters><pixelsperinch>0</pixelsperinch></parameters>",
       [](const auto& s) { return s.Parameters->PixelsPerInch; }, 10},
      {"a preset of 99999", "<horizontal><presets><preset name=\"4\"><length>99999</length></preset></presets></horizontal>",
       [](const auto& s) { return s.Horizontal->Presets->Preset(4)->Length; }, 2000},
      {"tolerance 300", "<measure><tolerance>300</tolerance></measure>",
       [](const auto& s) { return s.Measure->Tolerance; }, 255},
      {"measure mode 3", "<measure><mode>3</mode></measure>", [](const auto& s) { return s.Measure->Mode; }, 0},
      {"a negative start count", "<execution><count>-5</count></execution>",
       [](const auto& s) { return s.Execution->Count(); }, 1},
  };
  for (const TCase& c : cases) EXPECT_EQ(c.Read(*Loaded(c.Body)), c.Expected) << c.What;
}

TEST(SettingsRanges, ListsAndNamesAreCutToTheirLimits) {
  std::string recent, formats;
  for (int i = 0; i < 10000; ++i) recent += "<item>#" + std::to_string(100000 + i) + "</item>";
  for (int i = 0; i < 40; ++i) formats += "<item>hex</item>";
  // 49 letters and a character beyond the basic plane, which the edit field counts as two.
  const std::string name = std::string(49, 'a') + "\xF0\x9F\x98\x80";
  const auto settings = Loaded(Config("<name>" + name + "</name>") + "<colors><recent>" + recent +
                               "</recent><formats>" + formats + "</formats></colors>");
  ASSERT_EQ(settings->Colors->Recent.size(), 20u);
  EXPECT_EQ(settings->Colors->Recent.front(), "#100000") << "the newest colours stay";
  EXPECT_EQ(settings->Colors->Formats.size(), static_cast<std::size_t>(TColorSettings::FormatLimit));
  EXPECT_EQ(First(*settings).Name, std::string(49, 'a'));
  EXPECT_EQ(Loaded(Config("<name>" + std::string(50, 'b') + "</name>"))->Configurations(0)->Name,
            std::string(50, 'b'));
}

TEST(SettingsRanges, ValuesReadBeforeADamagedPartAreHeldAndWrittenBackHeld) {
  // The damaged part stops the load (and asks about the file); the width read before it is
  // in effect, so it is held too, and so is what a save writes.
  const auto settings = Loaded(Ruler("<width>100000</width><digits>maybe</digits>"));
  EXPECT_EQ(First(*settings).Ruler->Width, 100);
  EXPECT_NE(Document(*settings).find("<width>100</width>"), std::string::npos);
}

}  // namespace
