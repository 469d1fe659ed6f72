// The settings tokenizer against expat parsing the same bytes with empty handlers, in the
// same run: on the default settings file (about 5 KB, read at every start) and on 1 MB of
// settings-like content. Aim: at least as fast as expat (ratio 1.0 or below).

#include <expat.h>

#include <memory>
#include <string>

#include "BenchCompare.h"
#include "settings/ApplicationSettings.h"
#include "settings/ByteStreams.h"
#include "settings/QorvelSettingsFiles.h"
#include "settings/QorvelXml.h"

namespace {

const std::string& DefaultDocument() {
  static const std::string document = [] {
    auto settings = TQorvelSettings::Create<TApplicationSettings>();
    settings->Window->DefineWindow("colorpicker", pwoFitToMonitor);
    settings->Window->DefineWindow("cursorcoordinates", pwoFitToMonitor);
    return QorvelSettingsDocument(*settings, "settings");
  }();
  return document;
}

// The default file's elements repeated inside one root until the document passes 1 MB.
const std::string& LargeDocument() {
  static const std::string document = [] {
    const std::string& file = DefaultDocument();
    const std::size_t open = file.find("<settings>");
    const std::size_t close = file.rfind("</settings>");
    const std::string head = file.substr(0, open + 10);
    const std::string body = file.substr(open + 10, close - open - 10);
    std::string large = head;
    while (large.size() < 1024 * 1024) large += body;
    return large + "</settings>\n";
  }();
  return document;
}

const std::string& Document(int which) { return which == 0 ? DefaultDocument() : LargeDocument(); }

struct TParserDeleter {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

void XMLCALL IgnoreStart(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL IgnoreEnd(void*, const XML_Char*) {}
void XMLCALL IgnoreText(void*, const XML_Char*, int) {}

void ExpatParse(benchmark::State& state) {
  const std::string& document = Document(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const std::unique_ptr<XML_ParserStruct, TParserDeleter> parser(XML_ParserCreate(nullptr));
    XML_SetElementHandler(parser.get(), IgnoreStart, IgnoreEnd);
    XML_SetCharacterDataHandler(parser.get(), IgnoreText);
    if (XML_Parse(parser.get(), document.data(), static_cast<int>(document.size()), XML_TRUE) != XML_STATUS_OK) {
      state.SkipWithError(XML_ErrorString(XML_GetErrorCode(parser.get())));
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
}
// Document 0: the default settings file; 1: 1 MB of settings-like content.
BENCHMARK(ExpatParse)->ArgNames({"document"})->Arg(0)->Arg(1);

void Tokenize(benchmark::State& state) {
  const std::string& document = Document(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TQorvelMemoryStream stream(document);
    TQorvelXmlReader reader(stream);
    std::unique_ptr<TQorvelXmlElement> token;
    int tokens = 0;
    while (reader.ReadElement(token)) ++tokens;
    benchmark::DoNotOptimize(tokens);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
  CompareWith(state, "ExpatParse/document:" + std::to_string(state.range(0)), 1.0);
}
BENCHMARK(Tokenize)->ArgNames({"document"})->Arg(0)->Arg(1);

}  // namespace
