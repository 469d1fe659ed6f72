// A hand-edited or damaged settings file: what it brings is held, once loaded, to what the
// settings dialog allows, and the file written afterwards carries the held values.

#include <gtest/gtest.h>

#include "SettingsFileTestSupport.h"

namespace {

using namespace SettingsFileTest;

// Loads as the program does, through LoadWith (also past a damaged part), and writes again.
std::string Rewritten(const std::string& body) {
  auto settings = ProgramSettings();
  try {
    settings->LoadWith(std::make_unique<TQorvelSettingsXmlFileReader>(
        std::make_unique<TQorvelMemoryStream>("<settings>" + body + "</settings>"), "settings"));
  } catch (const EQorvelError&) {
  }
  return Document(*settings);
}

std::string Ruler(const std::string& inner) {
  return "<configuration name=\"0\"><ruler>" + inner + "</ruler></configuration>";
}

TEST(SettingsRanges, LoadedValuesAreHeldAndWrittenBackHeld) {
  std::string recent;
  for (int i = 0; i < 10000; ++i) recent += "<item>#" + std::to_string(100000 + i) + "</item>";
  const std::pair<std::string, std::string> cases[] = {
      {Ruler("<width>100000</width>"), "<width>100</width>"},
      {Ruler("<width>-5</width><digits>maybe</digits>"), "<width>5</width>"},  // read before the damage
      {Ruler("<opacity>500</opacity>"), "<opacity>100</opacity>"},
      {"<configuration name=\"0\"><magnifier><zoom>0</zoom></magnifier></configuration>", "<zoom>1</zoom>"},
      // An unknown choice is the default, not the nearest item (exit, for a double click).
      {"<general><configuration>7</configuration></general>", "<configuration>0</configuration>"},
      {"<handling><doubleclickaction>9</doubleclickaction></handling>", "<doubleclickaction>0<"},
      {"<colors><samplesize>4</samplesize></colors>", "<samplesize>1<"},
      {"<colors><samplesize>5</samplesize></colors>", "<samplesize>5<"},
      // Only bit 0 counted: -1 was vertical and stays so.
      {"<general><orientation>-1</orientation></general>", "<orientation>1<"},
      {"<execution><count>-5</count></execution>", "<count>1<"},
      {"<colors><recent>" + recent + "</recent></colors>",
       "<item>#100019</item>\r\n\t\t</recent>"},  // the newest twenty stay
      {Ruler("") + "<configuration name=\"1\"><name>" + std::string(49, 'a') +
           "\xF0\x9F\x98\x80</name></configuration>",
       "<name>" + std::string(49, 'a') + "</name>"},  // a character beyond the basic plane counts two
  };
  for (const auto& [body, expected] : cases)
    EXPECT_NE(Rewritten(body).find(expected), std::string::npos) << body.substr(0, 80);
}

}  // namespace
