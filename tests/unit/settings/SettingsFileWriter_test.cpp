// The layout the writer produces: the whole file for fresh defaults byte for byte, and the
// text of every kind of value.

#include <gtest/gtest.h>

#include "settings/ApplicationSettings.h"
#include "settings/QorvelSettingsFiles.h"
#include "SettingsFileTestSupport.h"

namespace {

using namespace SettingsFileTest;

std::string ConfigurationLines(int index, const char* background, const char* visible, int width,
                               const char* transparent) {
  return "  <configuration name=\"" + std::to_string(index) + R"(">
    <magnifier>
      <crosshairs>1</crosshairs>
      <horizontal>
        <alignment>1</alignment>
      </horizontal>
      <vertical>
        <alignment>1</alignment>
      </vertical>
      <visible>)" +
         visible + R"(</visible>
      <zoom>3</zoom>
    </magnifier>
    <name></name>
    <ruler>
      <antialiasing>True</antialiasing>
      <color>
        <background>)" +
         background + R"(</background>
        <cursorline>0000FFh</cursorline>
      </color>
      <digits>True</digits>
      <labeling>1</labeling>
      <opacity>65</opacity>
      <scales>
        <cm>
          <granularity>2</granularity>
        </cm>
        <inch>
          <granularity>1</granularity>
        </inch>
        <none>
          <granularity>1</granularity>
        </none>
        <pixel>
          <granularity>1</granularity>
        </pixel>
        <point>
          <granularity>1</granularity>
        </point>
        <scaleunit>1</scaleunit>
      </scales>
      <transparent>)" +
         transparent + R"(</transparent>
      <width>)" +
         std::to_string(width) + R"(</width>
    </ruler>
  </configuration>
)";
}

std::string PlacementLines(const char* name, const std::vector<int>& presets) {
  std::string text = std::string("  <") + name + R"(>
    <bearing>0</bearing>
    <direction>0</direction>
    <length>0</length>
    <position>
      <x>0</x>
      <y>0</y>
    </position>
    <presets>
)";
  for (std::size_t i = 0; i < presets.size(); ++i)
    text += "      <preset name=\"" + std::to_string(i) + "\">\n        <length>" + std::to_string(presets[i]) +
            "</length>\n      </preset>\n";
  return text + "    </presets>\n  </" + name + ">\n";
}

std::string FreshDefaultsDocument() {
  return Layout("<settings>\n" + ConfigurationLines(0, "A0FFFFh", "False", 30, "False") +
                ConfigurationLines(1, "000000h", "False", 30, "False") +
                ConfigurationLines(2, "C0C0C0h", "True", 50, "True") + R"(
  <colorpicker>
    <color>FFFFFFh</color>
    <component>pccHue</component>
  </colorpicker>
  <colors>
    <color name="0">
      <value>A0A0FFh</value>
    </color>
    <color name="1">
      <value>A0C0FFh</value>
    </color>
    <color name="2">
      <value>A0FFFFh</value>
    </color>
    <color name="3">
      <value>A0FFA0h</value>
    </color>
    <color name="4">
      <value>FFA0A0h</value>
    </color>
    <defaultformat>hex</defaultformat>
    <formats>
      <item>hex</item>
      <item>hexbare</item>
      <item>rgb</item>
      <item>hsl</item>
      <item>hsv</item>
      <item>cmyk</item>
      <item>lab</item>
      <item>oklch</item>
      <item>colorref</item>
      <item>colorrefhex</item>
      <item>vec4</item>
    </formats>
    <recent>
    </recent>
    <samplesize>1</samplesize>
    <template>rgba({r}, {g}, {b}, 1)</template>
  </colors>
  <configurationfile>
    <backupmode>pbmTemporary</backupmode>
  </configurationfile>
  <execution>
    <count>0</count>
    <overalltime>0:00:00.000</overalltime>
  </execution>
  <general>
    <configuration>0</configuration>
    <orientation>0</orientation>
    <snaptodesktop>True</snaptodesktop>
    <stayontop>True</stayontop>
  </general>
  <handling>
    <buttons>mbClose,mbRotate,mbFlip,mbTurn</buttons>
    <doubleclickaction>0</doubleclickaction>
    <snaptoaxis>1</snaptoaxis>
  </handling>
)" + PlacementLines("horizontal", {400, 500, 640, 800, 1024}) +
                R"(
  <hotkeys>
    <cursorcoordinates>Ctrl+Alt+Shift+K</cursorcoordinates>
    <measure>Ctrl+Alt+Shift+M</measure>
    <pickcolor>Ctrl+Alt+Shift+C</pickcolor>
    <showruler>Ctrl+Alt+Shift+R</showruler>
  </hotkeys>
  <measure>
    <continuous>False</continuous>
    <ignorenarrow>0</ignorenarrow>
    <labelbackground>6300E6h</labelbackground>
    <labeltext>FFFFFFh</labeltext>
    <linecolor>6300E6h</linecolor>
    <mode>0</mode>
    <snapbounds>False</snapbounds>
    <tolerance>30</tolerance>
  </measure>
  <parameters>
    <calibrations>
    </calibrations>
    <logicalpixels>False</logicalpixels>
    <measureddpi>False</measureddpi>
    <pixelsperinch>96</pixelsperinch>
    <userdefinieddpi>False</userdefinieddpi>
  </parameters>
  <startup>
    <showcolorpicker>False</showcolorpicker>
    <showcursorcoordinates>False</showcursorcoordinates>
    <showruler>True</showruler>
    <traynoticeshown>False</traynoticeshown>
  </startup>
)" + PlacementLines("vertical", {400, 480, 500, 600, 768}) +
                R"(
  <window>
    <colorpicker>
      <position>
        <x>0</x>
        <y>0</y>
      </position>
    </colorpicker>
    <cursorcoordinates>
      <position>
        <x>0</x>
        <y>0</y>
      </position>
    </cursorcoordinates>
  </window>
</settings>)");
}

TEST(SettingsFileWriter, FreshDefaultsAreWrittenExactlyInTheFixedLayout) {
  auto settings = ProgramSettings();
  const std::string written = Document(*settings);
  const std::string expected = FreshDefaultsDocument();
  // Line by line first, so that a difference shows where it is.
  EXPECT_EQ(Lines(written), Lines(expected));
  EXPECT_EQ(written, expected);
  EXPECT_EQ(written.substr(0, 34), "<settings>\r\n\t<configuration name=\"");
  EXPECT_EQ(written.find('\n'), written.find("\r\n") + 1);
  for (const char c : written) EXPECT_TRUE(c == '\t' || c == '\r' || c == '\n' || (c >= ' ' && c < 127));
}

TEST(SettingsFileWriter, TheRootTakesTheGivenNameLowerCased) {
  auto settings = ProgramSettings();
  const std::string written = Document(*settings, "VindleSettings");
  EXPECT_EQ(written.substr(0, 18), "<vindlesettings>\r\n");
  EXPECT_EQ(written.substr(written.size() - 19), "</vindlesettings>\r\n");
}

TEST(SettingsFileWriter, WindowsWriteWhatTheirOptionsStore) {
  auto settings = ProgramSettings();
  TQorvelWindowSettings& editor = settings->Window->DefineWindow("Editor", pwoSize | pwoState);
  editor.Position->X = -20;
  editor.Size->X = 640;
  editor.Size->Y = 480;
  editor.State = TWindowState::wsMaximized;
  const std::string written = Document(*settings);
  EXPECT_NE(written.find(Layout(R"(
    <editor>
      <position>
        <x>-20</x>
        <y>0</y>
      </position>
      <size>
        <x>640</x>
        <y>480</y>
      </size>
      <state>wsMaximized</state>
    </editor>
  </window>)")),
            std::string::npos)
      << written;

  // A minimized window is not written as such: it would come back as an icon.
  editor.State = TWindowState::wsMinimized;
  EXPECT_EQ(Document(*settings).find("<state>"), std::string::npos);
}

TEST(SettingsFileWriter, UserValuesAreEscapedToPlainAscii) {
  auto settings = ProgramSettings();
  settings->Configurations(0)->Name = "Dark & light <\"50%\"> \xE2\x82\xAC";
  settings->Configurations(1)->Name = "  spaced  ";
  settings->Handling->Buttons = {};
  settings->ColorPicker->Color = 0x80000005;
  settings->Colors->SetColorEntry(3, {0x123456, -7});
  const std::string written = Document(*settings);
  EXPECT_NE(written.find("\t\t<name>Dark &#x26; light &#x3C;&#x22;50&#x25;&#x22;&#x3E; &#xE2;&#x82;&#xAC;</name>\r\n"),
            std::string::npos);
  EXPECT_NE(written.find("\t\t<name>  spaced  </name>\r\n"), std::string::npos);
  EXPECT_NE(written.find("\t\t<buttons></buttons>\r\n"), std::string::npos);
  EXPECT_NE(written.find("\t\t<color>80000005h</color>\r\n"), std::string::npos);
  EXPECT_NE(written.find(Layout(R"(
    <color name="3">
      <value>123456h</value>
      <flags>-7</flags>
    </color>)")),
            std::string::npos);
}

}  // namespace
