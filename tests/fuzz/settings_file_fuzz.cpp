// Fuzz target for loading a settings file into a fresh settings tree. Beyond "no crash, leak
// or hang" it checks on every input:
//  - loading fails only with the errors a damaged file is meant to give (XML errors, parse
//    errors, unknown identifiers), never with anything else;
//  - whatever was loaded, the file written from it loads again without any error and writes
//    the very same file (nothing the writer produces is misread). The one change allowed is
//    the documented one: a text of white space only reads back as empty.
// The first byte picks the tree: the program's settings or a class with every property kind.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "AllKindsSettings.h"
#include "settings/ApplicationSettings.h"
#include "settings/ByteStreams.h"
#include "settings/QorvelSettingsFiles.h"
#include "settings/QorvelXml.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The reader's test class, with a window's settings as well.
class TAllKindsWithWindow : public TAllKindsSettings {
 public:
  using TAllKindsSettings::TAllKindsSettings;
  static const TQorvelSettingsClass& StaticClass() {
    using C = TAllKindsWithWindow;
    static const TQorvelSettingsClass cls("TAllKindsWithWindow", &TAllKindsSettings::StaticClass(),
                                          &TQorvelSettingsClass::Instantiate<C>,
                                          {QorvelPublish::Child("Window", &C::Window)});
    return cls;
  }
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  TQorvelWindowSettings* Window = nullptr;
};

std::unique_ptr<TQorvelSettings> FreshTree(bool program) {
  if (!program) return TQorvelSettings::Create<TAllKindsWithWindow>();
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  settings->Execution->SetClock([] { return 40000.0; });
  // The count is written once per process; fixing it first keeps the files comparable.
  settings->Execution->SetCount(0);
  settings->Window->DefineWindow("colorpicker", pwoFitToMonitor);
  settings->Window->DefineWindow("cursorcoordinates", pwoFitToMonitor);
  settings->Window->DefineWindow("sized", pwoSize | pwoState | pwoClientSize);
  return settings;
}

bool IsExpectedLoadError(const EQorvelError& error) {
  if (dynamic_cast<const EQorvelXmlError*>(&error)) return true;
  if (dynamic_cast<const EQorvelSettingsFileParseError*>(&error)) return true;
  return std::string_view(error.what()).starts_with("Invalid property element: ");
}

// Loads `text`; answers whether it loaded without error.
bool Load(TQorvelSettings& settings, const std::string& text) {
  TQorvelMemoryStream stream(text);
  TQorvelSettingsXmlFileReader reader(stream, "settings");
  try {
    reader.ReadRoot(settings);
    return true;
  } catch (const EQorvelError& error) {
    Check(IsExpectedLoadError(error));
    return false;
  }
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

// Whether `second` is `first` with some values of white space only emptied.
bool SameButBlanksEmptied(const std::string& first, const std::string& second) {
  std::size_t a = 0, b = 0;
  while (a < first.size() && b < second.size()) {
    if (first[a] == second[b]) {
      ++a, ++b;
      continue;
    }
    // Inside a value: first has blanks where second already closes the element.
    if (second.compare(b, 2, "</") != 0 || a == 0 || first[a - 1] != '>') return false;
    const std::size_t close = first.find("</", a);
    if (close == std::string::npos || !IsBlank(std::string_view(first).substr(a, close - a))) return false;
    a = close;
  }
  return a == first.size() && b == second.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool program = (data[0] & 1) == 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  auto settings = FreshTree(program);
  Load(*settings, text);
  const std::string written = QorvelSettingsDocument(*settings, "settings");

  auto again = FreshTree(program);
  Check(Load(*again, written));
  Check(SameButBlanksEmptied(written, QorvelSettingsDocument(*again, "settings")));
  return 0;
}
