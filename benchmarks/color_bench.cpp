// The colour chart and bar against filling the same area with one colour, the least any
// paint costs. Compare within one run:
//   ChartFullPaint / ColorPlainFill(258 x 258) and BarFullPaint / ColorPlainFill(26 x 258) - aim:
//   within 10x (every content pixel is computed from the colour model);
//   ChartMarkerMove / ChartFullPaint - aim: below 1/50 (a drag repaints two 16 x 16
//   marker areas, never the whole chart).

#include <algorithm>
#include <string>

#include "BenchCompare.h"
#include "color/ColorChart.h"

namespace {

TColorsPaintStyle BenchStyle() {
  TColorsPaintStyle style;
  style.Resolve = [](TColor) -> TColor { return 0xF0F0F0; };
  return style;
}

void ColorPlainFill(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  TPixelBuffer buffer(width, height);
  TPixel* pixels = buffer.View().Data();
  for (auto _ : state) {
    std::fill(pixels, pixels + width * height, 0xABABABu);
    benchmark::DoNotOptimize(pixels);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(ColorPlainFill)->ArgNames({"w", "h"})->Args({258, 258})->Args({26, 258});

void ChartFullPaint(benchmark::State& state) {
  const auto component = static_cast<TQorvelColorComponent>(state.range(0));
  const int filter = static_cast<int>(state.range(1));
  TColorChartModel chart;
  chart.SetComponent(component);
  chart.SetRGB(200, 90, 30);
  TColorsPaintStyle style = BenchStyle();
  if (filter == 1) style.DeviceFilter = &HighColorFilter();
  chart.SetWebSafe(filter == 2);
  TPixelBuffer buffer(ColorChartSize, ColorChartSize);
  for (auto _ : state) {
    chart.Paint({buffer.View(), 0, 0}, style);
    benchmark::DoNotOptimize(buffer.View().Data());
    benchmark::ClobberMemory();
  }
  CompareWith(state, "ColorPlainFill/w:258/h:258", 10);
}
// Components 0..5: hue, saturation, brightness, red, green, blue; filter 0 none (a 24- or
// 32-bit display), 1 the dither of a 16-bit display, 2 web-safe.
BENCHMARK(ChartFullPaint)
    ->ArgNames({"component", "filter"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({3, 0})
    ->Args({4, 0})
    ->Args({5, 0})
    ->Args({0, 1})
    ->Args({3, 1})
    ->Args({0, 2});

void BarFullPaint(benchmark::State& state) {
  TColorBarModel bar(26);
  bar.SetComponent(static_cast<TQorvelColorComponent>(state.range(0)));
  bar.SetRGB(200, 90, 30);
  const TColorsPaintStyle style = BenchStyle();
  TPixelBuffer buffer(26, ColorBarHeight);
  for (auto _ : state) {
    bar.Paint({buffer.View(), 0, 0}, style);
    benchmark::DoNotOptimize(buffer.View().Data());
    benchmark::ClobberMemory();
  }
  CompareWith(state, "ColorPlainFill/w:26/h:258", 10);
}
BENCHMARK(BarFullPaint)->ArgNames({"component"})->DenseRange(0, 5);

// One step of a drag: the marker moves a few pixels, and the window repaints the old and
// the new marker areas (here overlapping, so one box around both).
void ChartMarkerMove(benchmark::State& state) {
  TColorChartModel chart;
  chart.SetComponent(static_cast<TQorvelColorComponent>(state.range(0)));
  chart.SetRGB(200, 90, 30);
  const TColorsPaintStyle style = BenchStyle();
  chart.MouseDown(100, 100);
  int step = 0;
  for (auto _ : state) {
    const TMarkerMove move = chart.MouseMove(100 + (step & 1) * 3, 100 + (step & 1) * 2);
    ++step;
    const TRepaintAreas areas = MarkerRepaintAreas(move);
    for (int i = 0; i < areas.Count; ++i) {
      TBoxPaintBuffer part(ColorChartSize, ColorChartSize, areas.Areas[static_cast<std::size_t>(i)]);
      chart.Paint(part.Canvas(), style);
      benchmark::DoNotOptimize(part.Pixels().Data());
    }
    benchmark::ClobberMemory();
  }
  CompareWith(state, "ChartFullPaint/component:" + std::to_string(state.range(0)) + "/filter:0", 1.0 / 50);
}
BENCHMARK(ChartMarkerMove)->ArgNames({"component"})->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Arg(4)->Arg(5);

}  // namespace
