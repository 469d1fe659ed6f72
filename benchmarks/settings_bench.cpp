// Loading and saving the default settings file (about 5 KB, 250 lines), per operation:
//   CreateTree                             - the tree with its defaults, nothing read
//   LoadDocument, SaveDocument             - reader and writer in memory, tree included
//   LoadFromFile, SaveToFile               - the whole start and exit path on a real file
//                                            (backup rename, create, write, delete)
// The aim for the file paths: well below a millisecond, nothing a user could notice at start
// or exit.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "settings/ApplicationSettings.h"
#include "settings/ByteStreams.h"
#include "settings/QorvelSettingsFiles.h"
#include "settings/SettingsFileRules.h"
#include "settings/QorvelXml.h"

namespace {

std::unique_ptr<TApplicationSettings> ProgramSettings() {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  settings->Window->DefineWindow("colorpicker", pwoFitToMonitor);
  settings->Window->DefineWindow("cursorcoordinates", pwoFitToMonitor);
  return settings;
}

const std::string& DefaultDocument() {
  static const std::string document = QorvelSettingsDocument(*ProgramSettings(), "settings");
  return document;
}

void CreateTree(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ProgramSettings());
}
BENCHMARK(CreateTree);

void LoadDocument(benchmark::State& state) {
  const std::string& document = DefaultDocument();
  for (auto _ : state) {
    auto settings = ProgramSettings();
    TQorvelMemoryStream stream(document);
    TQorvelSettingsXmlFileReader reader(stream, "settings");
    reader.ReadRoot(*settings);
    benchmark::DoNotOptimize(settings);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
}
BENCHMARK(LoadDocument);

void SaveDocument(benchmark::State& state) {
  auto settings = ProgramSettings();
  for (auto _ : state) benchmark::DoNotOptimize(QorvelSettingsDocument(*settings, "settings"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * DefaultDocument().size()));
}
BENCHMARK(SaveDocument);

class TBenchFolder {
 public:
  TBenchFolder() : FFolder(std::filesystem::temp_directory_path() / "vindle-settings-bench") {
    std::filesystem::create_directories(FFolder);
    std::ofstream(File(), std::ios::binary) << DefaultDocument();
  }
  ~TBenchFolder() {
    std::error_code error;
    std::filesystem::remove_all(FFolder, error);
  }
  std::filesystem::path File() const { return FFolder / "Settings.xml"; }

  // The system's files, and questions answered "no", as the program's own load and save.
  TQorvelSystemFileSystem Files;
  TQorvelSystemPrompt Prompt;

 private:
  std::filesystem::path FFolder;
};

void LoadFromFile(benchmark::State& state) {
  TBenchFolder folder;
  for (auto _ : state) {
    auto settings = ProgramSettings();
    settings->LoadFromFile(folder.File(), "settings", folder.Files, folder.Prompt);
    benchmark::DoNotOptimize(settings);
  }
}
BENCHMARK(LoadFromFile);

void SaveToFile(benchmark::State& state) {
  TBenchFolder folder;
  auto settings = ProgramSettings();
  for (auto _ : state) settings->SaveToFile(folder.File(), "settings", folder.Files, folder.Prompt);
}
BENCHMARK(SaveToFile);

}  // namespace
