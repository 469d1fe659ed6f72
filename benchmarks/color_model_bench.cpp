// The colour model's conversions over every 24-bit colour and the display filters per
// pixel, reported per colour (or pixel): the colour tools convert and filter every pixel
// of a chart, so these set what a full chart paint can cost at best.

#include "BenchCompare.h"
#include "color/QorvelColorFilters.h"
#include "color/QorvelColorModel.h"

namespace {

constexpr int AllColours = 1 << 24;

void RGBToHSBAllColours(benchmark::State& state) {
  for (auto _ : state) {
    int sum = 0;
    for (int colour = 0; colour < AllColours; ++colour) {
      const THSB hsb = RGBToHSB(static_cast<TPixel>(colour));
      sum += hsb.Hue + hsb.Saturation + hsb.Brightness;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * AllColours);
}
BENCHMARK(RGBToHSBAllColours)->Unit(benchmark::kMillisecond);

// 2^24 points of the model: 256 steps of hue, saturation and brightness each, spanning
// their whole ranges.
void HSBToRGBAllColours(benchmark::State& state) {
  for (auto _ : state) {
    TPixel sum = 0;
    for (int hue = 0; hue < 256; ++hue)
      for (int saturation = 0; saturation < 256; ++saturation)
        for (int brightness = 0; brightness < 256; ++brightness)
          sum += HSBToRGB(hue * 256, saturation * 257, brightness * 257);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * AllColours);
}
BENCHMARK(HSBToRGBAllColours)->Unit(benchmark::kMillisecond);

// One chart's worth of pixels through a filter, a row at a time as the chart applies it.
void FilterPixels(benchmark::State& state, const TQorvelColorFilter& filter) {
  constexpr int Side = 256;
  TPixelBuffer source(Side, Side), target(Side, Side);
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) source.View().Set(x, y, PackRGB(x, y, x ^ y));
  for (auto _ : state) {
    target = source;
    for (int y = 0; y < Side; ++y) filter.ApplyFilterRow(target.View().Row(y), Side, 0, y);
    benchmark::DoNotOptimize(target.View().Data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * Side * Side);
}
BENCHMARK_CAPTURE(FilterPixels, HighColor, HighColorFilter());
BENCHMARK_CAPTURE(FilterPixels, Palette, PaletteColorFilter());
BENCHMARK_CAPTURE(FilterPixels, WebSafe, WebSafeColorFilter());

}  // namespace
