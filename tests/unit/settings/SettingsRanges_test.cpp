// What a hand-edited settings file brings is held, once loaded, to what the settings dialog allows.

#include <gtest/gtest.h>

#include "SettingsFileTestSupport.h"

namespace {

// Loads as the program does, through LoadWith, and writes again. A damaged part ends each file:
// what was read before it stays in effect, so it is held as well.
std::string Rewritten(const std::string& body) {
  auto settings = SettingsFileTest::ProgramSettings();
  auto stream = std::make_unique<TQorvelMemoryStream>("<settings>" + body +
                                                      "<general><stayontop>maybe</stayontop></general></settings>");
  EXPECT_ANY_THROW(settings->LoadWith(std::make_unique<TQorvelSettingsXmlFileReader>(std::move(stream), "settings")));
  return SettingsFileTest::Document(*settings);
}

TEST(SettingsRanges, LoadedValuesAreHeldAndWrittenBackHeld) {
  std::string recent;
  for (int i = 0; i < 10000; ++i) recent += "<item>#" + std::to_string(100000 + i) + "</item>";
  const std::pair<std::string, std::string> cases[] = {
      {"<configuration name=\"0\"><ruler><width>100000</width></ruler></configuration>", "<width>100</width>"},
      {"<handling><doubleclickaction>9</doubleclickaction></handling>", "<doubleclickaction>0<"},  // not "exit"
      {"<colors><samplesize>4</samplesize></colors>", "<samplesize>1<"},
      {"<general><orientation>-1</orientation></general>", "<orientation>1<"},  // bit 0 counted: still vertical
      {"<colors><recent>" + recent + "</recent></colors>", "<item>#100019</item>\r\n\t\t</recent>"},  // the newest
      {"<configuration name=\"1\"><name>" + std::string(49, 'a') + "\xF0\x9F\x98\x80</name></configuration>",
       "<name>" + std::string(49, 'a') + "</name>"},  // a character beyond the basic plane counts two
  };
  for (const auto& [body, expected] : cases)
    EXPECT_NE(Rewritten(body).find(expected), std::string::npos) << body.substr(0, 80);
}

}  // namespace
