// The ruler's paint against filling the same buffer with the background alone, and the
// cursor-strip repaint against a full paint. Compare within one run:
//   full paint / plain fill  (1920 x 50, each unit, antialiased) - aim: within 1.5x
//   strip / full paint       (1000 x 50)                         - aim: within 1/20
// CursorStripRepaint is a whole cursor move: the old and the new strip.

#include <benchmark/benchmark.h>

#include "ruler/QorvelColorUtils.h"
#include "ruler/RulerScale.h"

namespace {

TRulerScaleInput BenchRuler(int length, int unit) {
  TRulerScaleInput input;
  input.Width = length;
  input.Height = 50;
  input.ScaleUnit = unit;
  input.Granularity = unit == 4 ? 2 : 1;  // the defaults of each unit
  input.Antialiasing = true;
  input.CursorBoxPos = {length / 3, 20};
  input.CursorScreenPos = {length / 3 + 200, 300};
  return input;
}

void PlainFill(benchmark::State& state) {
  TPixelBuffer buffer(1920, 50);
  const TPixelView view = buffer.View();
  const TPixel background = ColorToPixel(0xA0FFFF);
  for (auto _ : state) {
    view.Fill(view.Bounds(), background);
    benchmark::DoNotOptimize(view.Data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(PlainFill);

void FullPaint(benchmark::State& state) {
  const TRulerScaleInput input = BenchRuler(static_cast<int>(state.range(1)), static_cast<int>(state.range(0)));
  TPixelBuffer buffer(input.Width, input.Height);
  const TPixelView view = buffer.View();
  for (auto _ : state) {
    PaintScale(input, view, view.Bounds());
    benchmark::DoNotOptimize(view.Data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(FullPaint)->ArgNames({"unit", "length"})->ArgsProduct({{1, 2, 3, 4}, {1920}})->Args({1, 1000});

// One cursor strip, as InvalidateCursorLine asks for it.
void StripRepaint(benchmark::State& state) {
  TRulerScaleInput input = BenchRuler(1000, 1);
  TPixelBuffer buffer(input.Width, input.Height);
  const TPixelView view = buffer.View();
  PaintScale(input, view, view.Bounds());
  const TPixelRect strip = *CursorLineStrip(input, {0, 0}, input.Width, input.Height);
  for (auto _ : state) {
    PaintScale(input, view, strip);
    benchmark::DoNotOptimize(view.Data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(StripRepaint);

// A cursor move: the strips at the old and the new position.
void CursorStripRepaint(benchmark::State& state) {
  TRulerScaleInput input = BenchRuler(1000, 1);
  TPixelBuffer buffer(input.Width, input.Height);
  const TPixelView view = buffer.View();
  PaintScale(input, view, view.Bounds());
  int step = 0;
  for (auto _ : state) {
    const auto before = CursorLineStrip(input, {0, 0}, input.Width, input.Height);
    input.CursorBoxPos.X = 300 + (step++ % 2);
    const auto after = CursorLineStrip(input, {0, 0}, input.Width, input.Height);
    if (before) PaintScale(input, view, *before);
    if (after) PaintScale(input, view, *after);
    benchmark::DoNotOptimize(view.Data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(CursorStripRepaint);

}  // namespace

