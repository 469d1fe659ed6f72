// The measure tool's edge detection against one plain pass over the pixels it works on (a
// loop reading every pixel and summing a channel), the least any look at them costs. Compare
// within one run:
//   the four walks from one pixel of a 3840 x 2160 screen / a pass over the whole screen -
//   aim: at most 1/20, from inside a window's text area (short walks that cross glyphs with
//   IgnoreNarrow) and from the open desktop (walks as long as the screen);
//   snapping a 1000 x 1000 rectangle / a pass over those pixels - aim: at most 1, both
//   around a window (the margins only) and over plain desktop (every pixel once).

#include <cstdint>
#include <string>

#include "BenchCompare.h"

#include "measure/EdgeDetection.h"

namespace {

constexpr int ScreenWidth = 3840, ScreenHeight = 2160;
constexpr TRect SnapArea{2400, 1000, 3400, 2000};

// A desktop with a faint pattern, a few windows with title bars, buttons and rows of
// "text": short dark runs of one to three pixels, as glyph strokes are.
TPixelBuffer SyntheticScreen() {
  TPixelBuffer screen(ScreenWidth, ScreenHeight);
  const TPixelView view = screen.View();
  for (int y = 0; y < ScreenHeight; ++y)
    for (int x = 0; x < ScreenWidth; ++x) view.Set(x, y, 0x204060 + ((x * 7 + y * 13) % 5) * 0x010101);
  std::uint32_t seed = 12345;
  const auto random = [&](int n) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
  };
  const TRect windows[] = {
      {100, 100, 1700, 1100}, {2000, 100, 3700, 900}, {2700, 1300, 3100, 1700}, {100, 1300, 1300, 2100}};
  for (const TRect& w : windows) {
    view.Fill(w, 0xF0F0F0);
    view.Fill({w.Left, w.Top, w.Right, w.Top + 30}, 0x3070C0);
    view.Fill({w.Right - 260, w.Bottom - 60, w.Right - 20, w.Bottom - 20}, 0xE1E1E1);  // a button
    for (int line = w.Top + 50; line + 12 < w.Bottom - 80; line += 20)
      for (int x = w.Left + 20; x < w.Right - 40; x += 2 + random(6)) {
        const int stroke = 1 + random(3);
        view.Fill({x, line + random(4), x + stroke, line + 8 + random(4)}, 0x202020);
        x += stroke;
      }
  }
  return screen;
}

const TPixelBuffer& Screen() {
  static TPixelBuffer screen = SyntheticScreen();
  return screen;
}

std::uint64_t SumGreen(const TPixelView& view, const TRect& r) {
  std::uint64_t sum = 0;
  for (int y = r.Top; y < r.Bottom; ++y) {
    const TPixel* row = view.Row(y);
    for (int x = r.Left; x < r.Right; ++x) sum += (row[x] >> 8) & 0xFF;
  }
  return sum;
}

void MeasurePlainPass(benchmark::State& state) {
  TPixelBuffer& screen = const_cast<TPixelBuffer&>(Screen());
  const TPixelView view = screen.View();
  const TRect area = state.range(0) == 0 ? view.Bounds() : SnapArea;
  for (auto _ : state) {
    std::uint64_t sum = SumGreen(view, area);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(MeasurePlainPass)->ArgNames({"snaparea"})->Arg(0)->Arg(1);

void MeasureFindEdges(benchmark::State& state) {
  TPixelBuffer& screen = const_cast<TPixelBuffer&>(Screen());
  const TPixelView view = screen.View();
  // 0: in a window's text, crossing glyphs; 1: on the open desktop, walks across the screen.
  const bool desktop = state.range(0) == 1;
  const TPoint start = desktop ? TPoint{1800, 1150} : TPoint{900, 588};
  TEdgeOptions options;
  options.IgnoreNarrow = desktop ? 0 : 3;
  options.Continuous = state.range(1) != 0;
  for (auto _ : state) {
    TRect edges = FindEdges(view, start, options);
    benchmark::DoNotOptimize(edges);
  }
  CompareWith(state, "MeasurePlainPass/snaparea:0", 1.0 / 20);
}
BENCHMARK(MeasureFindEdges)->ArgNames({"desktop", "continuous"})->Args({0, 0})->Args({1, 0})->Args({1, 1});

void MeasureSnapToContent(benchmark::State& state) {
  TPixelBuffer& screen = const_cast<TPixelBuffer&>(Screen());
  const TPixelView view = screen.View();
  // 0: around a window in its middle; 1: plain desktop, nothing to find.
  const TRect area = state.range(0) == 0 ? SnapArea : TRect{1400, 1150, 2400, 2150};
  TEdgeOptions options;
  for (auto _ : state) {
    std::optional<TRect> snapped = SnapToContent(view, area, options);
    benchmark::DoNotOptimize(snapped);
  }
  CompareWith(state, "MeasurePlainPass/snaparea:1", 1);
}
BENCHMARK(MeasureSnapToContent)->ArgNames({"desktop"})->Arg(0)->Arg(1);

}  // namespace
