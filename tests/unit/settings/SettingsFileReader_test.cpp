// Reading the settings file: round trips of everything the writer writes, the tolerance for
// hand edits, and the errors with their messages and line numbers.

#include <gtest/gtest.h>

#include <algorithm>

#include "settings/ApplicationSettings.h"
#include "settings/QorvelSettingsFiles.h"
#include "settings/QorvelSettingsHandlers.h"
#include "AllKindsSettings.h"
#include "SettingsFileTestSupport.h"
#include "SettingsTreeWalk.h"

namespace {

using namespace SettingsFileTest;

std::unique_ptr<TAllKindsSettings> FilledAllKinds() {
  auto kinds = TQorvelSettings::Create<TAllKindsSettings>();
  kinds->Number = -12;
  kinds->Shade = 0x8000000F;
  kinds->Flag = true;
  kinds->Buttons = {TMiniButton::mbFlip, TMiniButton::mbMagnifier};
  kinds->Ratio = 0.25;
  kinds->Text = " a < b & \"c\" ";
  kinds->WideText = u"\u20AC 5 \u00E9";
  kinds->Big = -5'000'000'000;
  kinds->List = {"one", "", "&"};
  kinds->Letter = 'z';
  kinds->Point->X = 3;
  kinds->Point->Y = -4;
  return kinds;
}

TEST(SettingsFileKinds, EveryKindIsWrittenAsItsText) {
  auto kinds = FilledAllKinds();
  EXPECT_EQ(Document(*kinds, "kinds"), Layout(R"(
<kinds>
  <big>-5000000000</big>
  <buttons>mbFlip,mbMagnifier</buttons>
  <flag>True</flag>
  <list>
    <item>one</item>
    <item></item>
    <item>&#x26;</item>
  </list>
  <number>-12</number>
  <point>
    <x>3</x>
    <y>-4</y>
  </point>
  <ratio>2.50000000000000E-0001</ratio>
  <shade>8000000Fh</shade>
  <text> a &#x3C; b &#x26; &#x22;c&#x22; </text>
  <widetext>&#x20AC; 5 &#xE9;</widetext>
</kinds>)"));
}

TEST(SettingsFileKinds, EveryKindReadsBackWhatWasWritten) {
  auto original = FilledAllKinds();
  auto loaded = TQorvelSettings::Create<TAllKindsSettings>();
  ASSERT_EQ(Load(*loaded, Document(*original, "kinds"), "kinds"), "");
  EXPECT_EQ(loaded->Number, -12);
  EXPECT_EQ(loaded->Shade, 0x8000000Fu);
  EXPECT_TRUE(loaded->Flag);
  EXPECT_EQ(loaded->Buttons, original->Buttons);
  EXPECT_EQ(loaded->Ratio, 0.25);
  EXPECT_EQ(loaded->Text, original->Text);
  EXPECT_EQ(loaded->WideText, original->WideText);
  EXPECT_EQ(loaded->Big, original->Big);
  EXPECT_EQ(loaded->List, original->List);
  EXPECT_EQ(loaded->Letter, 'a') << "chars are not persisted";
  EXPECT_EQ(loaded->Point->X, 3);
  EXPECT_EQ(loaded->Point->Y, -4);
}

TEST(SettingsFileKinds, ElementsOfUnpersistedKindsArePassedOver) {
  auto kinds = TQorvelSettings::Create<TAllKindsSettings>();
  EXPECT_EQ(Load(*kinds, Layout(R"(
<kinds>
  <letter>b<em>c</em></letter>
  <number>5</number>
</kinds>)"),
                 "kinds"),
            "");
  EXPECT_EQ(kinds->Letter, 'a');
  EXPECT_EQ(kinds->Number, 5);
}

TEST(SettingsFileKinds, StringListsReadItemsAndComplainAboutAnythingElse) {
  auto kinds = TQorvelSettings::Create<TAllKindsSettings>();
  kinds->List = {"old"};
  EXPECT_EQ(Load(*kinds, "<kinds><list><!-- a note --><item>x</item><item/><item></item></list></kinds>", "kinds"), "");
  EXPECT_EQ(kinds->List, (TQorvelStrings{"x", ""}));

  EXPECT_EQ(Load(*kinds, "<kinds>\r\n<list>\r\n<entry>x</entry></list></kinds>", "kinds"),
            "Error parsing settings file in line 3: <item> tag expected.");
  EXPECT_EQ(Load(*kinds, "<kinds><list><item>", "kinds"),
            "Error parsing settings file in line 1: item value expected.");
  EXPECT_EQ(Load(*kinds, "<kinds><list><item>a<!-- -->", "kinds"),
            "Error parsing settings file in line 1: </item> tag expected.");
  EXPECT_EQ(Load(*kinds, "<kinds><list><item>a<b/></item></list></kinds>", "kinds"),
            "Error parsing settings file in line 1: </item> tag expected.");
  EXPECT_EQ(Load(*kinds, "<kinds><list><item>a</item></kinds>", "kinds"),
            "Error parsing settings file in line 1: </list> tag expected.");
}

// ---- The application tree ----------------------------------------------------------------

TEST(SettingsFileRoundTrip, EveryValueOfTheTreeComesBack) {
  auto original = ProgramSettings();
  SettingsTreeWalk::Scramble(*original);
  original->Configurations(0)->Name = "";
  original->Configurations(1)->Name = "Dark & <light>";
  original->Configurations(2)->Name = "  B\xC3\xBCro \xE2\x82\xAC  ";
  original->Handling->Buttons = {};
  original->ColorPicker->Color = 0x8000000F;
  original->Colors->SetColorEntry(0, {0xFF000001, 0});
  original->Colors->SetColorEntry(4, {0x000001, INT32_MIN});
  // Only what a window's options store can come back.
  for (int i = 0; i < original->Window->WindowCount(); ++i) {
    original->Window->Window(i)->Size->X = original->Window->Window(i)->Size->Y = 0;
    original->Window->Window(i)->State = TWindowState::wsNormal;
  }
  const std::string written = Document(*original);
  EXPECT_NE(written.find("<buttons></buttons>"), std::string::npos);

  auto loaded = ProgramSettings();
  ASSERT_EQ(Load(*loaded, written), "");
  EXPECT_EQ(WalkWithoutCount(*loaded), WalkWithoutCount(*original));
  // Loading a count counts this run.
  EXPECT_EQ(loaded->Execution->Count(), original->Execution->Count() + 1);
  EXPECT_TRUE(loaded->Window->WindowNamed("colorpicker")->Loaded);
  EXPECT_TRUE(loaded->Window->WindowNamed("cursorcoordinates")->Loaded);
  // And the file it writes is the same file.
  EXPECT_EQ(Document(*loaded), Document(*original).replace(written.find("<count>") + 7, 2,
                                                           std::to_string(original->Execution->Count() + 1)));
}

TEST(SettingsFileRoundTrip, SpacesAroundANameSurviveButANameOfSpacesIsEmpty) {
  auto settings = ProgramSettings();
  ASSERT_EQ(Load(*settings, SettingsWith(R"(
  <configuration name="0">
    <name>   </name>
  </configuration>
  <configuration name="1">
    <name>  two words  </name>
  </configuration>)")),
            "");
  EXPECT_EQ(settings->Configurations(0)->Name, "");
  EXPECT_EQ(settings->Configurations(1)->Name, "  two words  ");
}

TEST(SettingsFileRoundTrip, OverallTimeReadsDurationsAndDates) {
  auto settings = ProgramSettings(0);
  ASSERT_EQ(Load(*settings, SettingsWith("  <execution><overalltime>26:00:00.000</overalltime></execution>")), "");
  EXPECT_DOUBLE_EQ(settings->Execution->OverallTime(), 1 + 2 / 24.0);
  ASSERT_EQ(Load(*settings, SettingsWith("  <execution><overalltime>2004/03/07 14:05:09</overalltime></execution>")),
            "");
  EXPECT_DOUBLE_EQ(settings->Execution->OverallTime(), 38053 + (14 * 3600 + 5 * 60 + 9) / 86400.0);
}

// ---- Tolerance ---------------------------------------------------------------------------

TEST(SettingsFileTolerance, AnyOrderMissingElementsAndAnyLetterCaseOfPropertyNames) {
  auto settings = ProgramSettings();
  ASSERT_EQ(Load(*settings, SettingsWith(R"(
  <General>
    <StayOnTop>False</StayOnTop>
    <ORIENTATION>1</ORIENTATION>
  </General>
  <parameters>
    <PixelsPerInch>120</PixelsPerInch>
  </parameters>
  <configuration name="2">
    <ruler><Width>44</Width></ruler>
  </configuration>
  <startup><showcolorpicker>true</showcolorpicker></startup>)")),
            "");
  EXPECT_FALSE(settings->General->StayOnTop);
  EXPECT_EQ(settings->General->Orientation, 1);
  EXPECT_TRUE(settings->General->SnapToDesktop);  // not in the file: default
  EXPECT_EQ(settings->Parameters->PixelsPerInch, 120);
  EXPECT_EQ(settings->Configurations(2)->Ruler->Width, 44);
  EXPECT_TRUE(settings->Configurations(2)->Ruler->Transparent);
  EXPECT_TRUE(settings->Startup->ShowColorPicker);
}

TEST(SettingsFileTolerance, UnknownElementsArePassedOverWithEverythingInThem) {
  auto settings = ProgramSettings();
  ASSERT_EQ(Load(*settings, SettingsWith(R"(
  <future version="2">
    <general><stayontop>False</stayontop></general>
    <empty/>
    text
    <!-- remark -->
  </future>
  <general>
    <unknown><deeper><deepest>1</deepest></deeper></unknown>
    <snaptodesktop>False</snaptodesktop>
  </general>
  <configuration name="3"><ruler><width>1</width></ruler></configuration>
  <configuration name="x"><ruler><width>2</width></ruler></configuration>
  <configuration><ruler><width>3</width></ruler></configuration>
  <Configuration name="0"><ruler><width>4</width></ruler></Configuration>
  <horizontal><presets><preset name="5"><length>9</length></preset></presets></horizontal>
  <window><ruler><position><x>5</x></position></ruler></window>)")),
            "");
  EXPECT_TRUE(settings->General->StayOnTop);
  EXPECT_FALSE(settings->General->SnapToDesktop);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(settings->Configurations(i)->Ruler->Width, i == 2 ? 50 : 30);
  EXPECT_EQ(settings->Horizontal->Presets->Preset(4)->Length, 1024);
  EXPECT_FALSE(settings->Window->WindowNamed("colorpicker")->Loaded);
}

TEST(SettingsFileTolerance, InvalidNumbersAndSelfClosingElementsLeaveValuesAlone) {
  auto settings = ProgramSettings();
  ASSERT_EQ(Load(*settings, SettingsWith(R"(
  <configuration name="0">
    <ruler>
      <width>abc</width>
      <opacity/>
      <labeling></labeling>
      <color><background>GGGGGGh</background><cursorline>  00FF00h  </cursorline></color>
    </ruler>
  </configuration>
  <execution><overalltime>yesterday</overalltime></execution>
  <colors>
    <color name="1"><value>xyz</value><flags>12</flags></color>
    <color name="2"><value>00FF00h</value><note>kept apart</note></color>
    <color name="9"><value>000000h</value></color>
  </colors>)")),
            "");
  const TRulerSettings& ruler = *settings->Configurations(0)->Ruler;
  EXPECT_EQ(ruler.Width, 30);
  EXPECT_EQ(ruler.Opacity, 65);
  EXPECT_EQ(ruler.Labeling, 1);
  EXPECT_EQ(ruler.Color->Background, 0xA0FFFFu);
  EXPECT_EQ(ruler.Color->CursorLine, 0x00FF00u);
  EXPECT_EQ(settings->Execution->OverallTime(), 0);
  EXPECT_EQ(settings->Colors->GetColorEntry(1), (TColorEntry{0xA0C0FF, 12}));
  EXPECT_EQ(settings->Colors->GetColorEntry(2), (TColorEntry{0x00FF00, 0}));
  EXPECT_EQ(settings->Colors->GetColorEntry(4), (TColorEntry{0xFFA0A0, 0}));
}

TEST(SettingsFileTolerance, WindowsAreFoundInAnyLetterCaseAndMarkedLoaded) {
  auto settings = ProgramSettings();
  ASSERT_EQ(Load(*settings, SettingsWith(R"(
  <window>
    <ColorPicker><position><x>-100</x><y>200</y></position><size><x>9</x></size></ColorPicker>
  </window>)")),
            "");
  const TQorvelWindowSettings& picker = *settings->Window->WindowNamed("colorpicker");
  EXPECT_TRUE(picker.Loaded);
  EXPECT_EQ(picker.Position->X, -100);
  EXPECT_EQ(picker.Position->Y, 200);
  EXPECT_FALSE(settings->Window->WindowNamed("cursorcoordinates")->Loaded);
}

TEST(SettingsFileTolerance, PrologueCommentsBetweenElementsAndTrailingTextAreFine) {
  auto settings = ProgramSettings();
  ASSERT_EQ(Load(*settings,
                 "<?xml version=\"1.0\"?>\r\n<!DOCTYPE settings>\r\n<settings>\r\n"
                 "<!-- written by hand -->\r\n<general><!-- here --><orientation>1</orientation></general>\r\n"
                 "</settings>\r\ntrailing <garbage"),
            "");
  EXPECT_EQ(settings->General->Orientation, 1);
}

TEST(SettingsFileTolerance, TheRootMayBeNamedSettingsOrAsGiven) {
  auto settings = ProgramSettings();
  EXPECT_EQ(Load(*settings, "<vindle><general><orientation>1</orientation></general></vindle>", "vindle"), "");
  EXPECT_EQ(settings->General->Orientation, 1);
  EXPECT_EQ(Load(*settings, "<settings><general><orientation>0</orientation></general></settings>", "vindle"), "");
  EXPECT_EQ(settings->General->Orientation, 0);
  EXPECT_EQ(Load(*settings, "<Settings></Settings>", "vindle"),
            "Error parsing settings file in line 1: <vindle> tag expected.");
}

TEST(SettingsFileTolerance, AFileEndingRightAfterTheRootLoadsNothing) {
  auto settings = ProgramSettings();
  EXPECT_EQ(Load(*settings, "<settings>"), "");
  EXPECT_EQ(Load(*settings, "<settings>\r\n\t \r\n"), "");
  EXPECT_EQ(WalkWithoutCount(*settings), WalkWithoutCount(*ProgramSettings()));
}

TEST(SettingsFileTolerance, DeeplyNestedUnknownElementsDoNotExhaustTheStack) {
  auto settings = ProgramSettings();
  std::string text = "<settings>";
  constexpr int Depth = 200'000;
  for (int i = 0; i < Depth; ++i) text += "<a>";
  for (int i = 0; i < Depth; ++i) text += "</a>";
  text += "<general><orientation>1</orientation></general></settings>";
  EXPECT_EQ(Load(*settings, text), "");
  EXPECT_EQ(settings->General->Orientation, 1);
}

// ---- Errors ------------------------------------------------------------------------------

TEST(SettingsFileErrors, UnknownIdentifiersStopTheLoad) {
  auto settings = ProgramSettings();
  EXPECT_EQ(Load(*settings, SettingsWith(R"(
  <general>
    <orientation>1</orientation>
    <stayontop>yes</stayontop>
    <snaptodesktop>False</snaptodesktop>
  </general>)")),
            "Invalid property element: yes");
  // What was read before stays; the rest keeps its defaults.
  EXPECT_EQ(settings->General->Orientation, 1);
  EXPECT_TRUE(settings->General->SnapToDesktop);

  EXPECT_EQ(Load(*settings, SettingsWith("  <handling><buttons>mbClose,mbHelp</buttons></handling>")),
            "Invalid property element: mbHelp");
  EXPECT_EQ(Load(*settings, SettingsWith("  <colorpicker><component>pcc\xC3\xA9</component></colorpicker>")),
            "Invalid property element: pcc\xC3\xA9");
}

TEST(SettingsFileErrors, MismatchedTagsNameWhatWasExpectedAndWhere) {
  auto settings = ProgramSettings();
  const std::string mismatch = SettingsWith(R"(
  <configuration name="0">
    <ruler>
      <width>30</height>
    </ruler>
  </configuration>)");
  EXPECT_EQ(Load(*settings, mismatch), "Error parsing settings file in line 4: </width> tag expected.");
  EXPECT_EQ(ErrorLine(*settings, mismatch), 4);

  EXPECT_EQ(Load(*settings, SettingsWith("  <general>\n  </startup>")),
            "Error parsing settings file in line 3: </general> tag expected.");
  EXPECT_EQ(Load(*settings, "<settings><general><orientation>"),
            "Error parsing settings file in line 1: orientation value expected.");
  EXPECT_EQ(Load(*settings, "<settings><general><orientation>1</orientation>"),
            "Error parsing settings file in line 1: </general> tag expected.");
  EXPECT_EQ(Load(*settings, "<settings><general><orientation>1<x/></orientation>"),
            "Error parsing settings file in line 1: </orientation> tag expected.");
  EXPECT_EQ(Load(*settings, "<settings><future><a>1</b></future></settings>"),
            "Error parsing settings file in line 1: </a> tag expected.");
  EXPECT_EQ(Load(*settings, "<settings><future>"), "Error parsing settings file in line 1: future value expected.");
  EXPECT_EQ(Load(*settings, "<settings><future><a>"), "Error parsing settings file in line 1: </future> tag expected.");
  EXPECT_EQ(Load(*settings, "<settings><future><a>1</a>"),
            "Error parsing settings file in line 1: </future> tag expected.");
}

TEST(SettingsFileErrors, TheRootMustComeFirstAsAnOpenElement) {
  auto settings = ProgramSettings();
  const std::string expected = "Error parsing settings file in line 1: <settings> tag expected.";
  EXPECT_EQ(Load(*settings, "<!-- settings of Vindle -->\r\n<settings></settings>"), expected);
  EXPECT_EQ(Load(*settings, "<settings/>"), expected);
  EXPECT_EQ(Load(*settings, "<config></config>"), expected);
  EXPECT_EQ(Load(*settings, "</settings>"), expected);
  EXPECT_EQ(Load(*settings, ""), expected);
  EXPECT_EQ(Load(*settings, "\r\n\r\nplain text<settings>"),
            "Error parsing settings file in line 3: <settings> tag expected.");
}

TEST(SettingsFileErrors, MalformedXmlReportsTheTokenizerErrorAndItsLine) {
  auto settings = ProgramSettings();
  EXPECT_EQ(Load(*settings, "<settings>\r\n<general>\r\n<orientation>1</orientation\r\n"),
            "XML content is not finished properly.");
  EXPECT_EQ(ErrorLine(*settings, "<settings>\r\n<general>\r\n<orientation>1</orientation\r\n"), 4);
  EXPECT_EQ(Load(*settings, "<settings>\r\n< general>"), "XML tag may not begin with white space.");
  EXPECT_EQ(ErrorLine(*settings, "<settings>\r\n< general>"), 2);
}

TEST(SettingsFileErrors, ErrorsInHooksStopTheLoad) {
  auto settings = ProgramSettings();
  EXPECT_EQ(Load(*settings, SettingsWith(R"(
  <colors>
    <color name="1"><value>1</wrong></color>
  </colors>)")),
            "Error parsing settings file in line 3: </value> tag expected.");
  EXPECT_EQ(Load(*settings, SettingsWith("  <window><colorpicker><position></colorpicker></window>")),
            "Error parsing settings file in line 2: </position> tag expected.");
}

TEST(SettingsFileErrors, ReadingAndWritingNeedAReaderAndAWriter) {
  auto settings = ProgramSettings();
  try {
    settings->LoadWith(nullptr);
    FAIL();
  } catch (const EQorvelSettingsError& error) {
    EXPECT_STREQ(error.what(), "Cannot load settings (no reader assigned).");
  }
  try {
    settings->SaveWith(nullptr);
    FAIL();
  } catch (const EQorvelSettingsError& error) {
    EXPECT_STREQ(error.what(), "Cannot save settings (no writer assigned).");
  }
}

}  // namespace
