#pragma once
// Helpers for the settings file tests: a settings tree as the program sets it up, loading
// from and saving to text, and the fixed layout written compactly.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "settings/ApplicationSettings.h"
#include "settings/ByteStreams.h"
#include "settings/QorvelSettingsFiles.h"
#include "settings/QorvelXml.h"
#include "SettingsTreeWalk.h"

namespace SettingsFileTest {

// A fresh tree with the program's two tool windows defined and a clock that stands still,
// so that the overall time is exactly what was loaded.
inline std::unique_ptr<TApplicationSettings> ProgramSettings(TDateTime now = 45000.5) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  settings->Execution->SetClock([now] { return now; });
  settings->Window->DefineWindow("colorpicker", pwoFitToMonitor);
  settings->Window->DefineWindow("cursorcoordinates", pwoFitToMonitor);
  return settings;
}

inline std::string Document(TQorvelSettings& settings, const std::string& rootName = "settings") {
  return QorvelSettingsDocument(settings, rootName);
}

// Loads `text` into `settings`; answers the error message, empty when it loaded.
inline std::string Load(TQorvelSettings& settings, const std::string& text, const std::string& rootName = "settings") {
  TQorvelMemoryStream stream(text);
  TQorvelSettingsXmlFileReader reader(stream, rootName);
  try {
    reader.ReadRoot(settings);
  } catch (const EQorvelError& error) {
    return error.what();
  }
  return {};
}

// The line number of the parse or tokenizer error that loading `text` raises, 0 for none.
inline int ErrorLine(TQorvelSettings& settings, const std::string& text) {
  TQorvelMemoryStream stream(text);
  TQorvelSettingsXmlFileReader reader(stream, "settings");
  try {
    reader.ReadRoot(settings);
  } catch (const EQorvelSettingsFileParseError& error) {
    return error.LineNumber();
  } catch (const EQorvelXmlError& error) {
    return error.LineNumber();
  }
  return 0;
}

// Lines written with two spaces per level, as the file has them with one TAB per level,
// each ended by CR LF.
inline std::string Layout(const std::string& indented) {
  std::istringstream in(indented);
  std::string out, line;
  while (std::getline(in, line)) {
    if (line.find_first_not_of(' ') == std::string::npos) continue;
    const std::size_t spaces = line.find_first_not_of(' ');
    out += std::string(spaces / 2, '\t') + line.substr(spaces) + "\r\n";
  }
  return out;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start) + "<no CR LF>");
  return lines;
}

// Every value of the tree but the start count, which loading changes on purpose.
inline std::vector<std::string> WalkWithoutCount(const TQorvelSettings& settings) {
  std::vector<std::string> lines = SettingsTreeWalk::Walk(settings);
  std::erase_if(lines, [](const std::string& line) { return line.starts_with("Execution.Count = "); });
  return lines;
}

// A settings document with `body` (two spaces per level, starting at level 1) inside the root.
inline std::string SettingsWith(const std::string& body) { return Layout("<settings>\n" + body + "\n</settings>"); }

}  // namespace SettingsFileTest
