// Reading "Installation.xml" with n files listed in descending order (the worst order for a
// sorted insertion), per read. Linear-logarithmic in n: a 50 MB file (about 700,000 items)
// reads in seconds, not minutes.

#include <benchmark/benchmark.h>

#include <string>

#include "install/UninstallConfiguration.h"
#include "settings/ByteStreams.h"

namespace {

std::string DescendingDocument(int items) {
  std::string text = "<installation>\r\n\t<product>Vindle</product>\r\n\t<files>\r\n";
  for (int i = items; i > 0; --i)
    text += "\t\t<item uninstall=\"remove\" level=\"required\">C:\\Program Files\\Qorvel\\Vindle\\f" +
            std::to_string(i) + ".bin</item>\r\n";
  return text + "\t</files>\r\n</installation>\r\n";
}

void ReadDescendingConfiguration(benchmark::State& state) {
  const std::string document = DescendingDocument(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TQorvelMemoryStream stream(document);
    TQorvelUninstallConfiguration configuration;
    ReadUninstallConfiguration(stream, configuration);
    benchmark::DoNotOptimize(configuration.Files.Count());
  }
  state.SetComplexityN(state.range(0));
  state.counters["bytes"] = static_cast<double>(document.size());
}
BENCHMARK(ReadDescendingConfiguration)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity();

}  // namespace
