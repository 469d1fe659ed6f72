// The ruler's paint against filling the same buffer with the background alone, and the
// cursor-strip repaint against a full paint of the same ruler.
//   full paint / plain fill   (1920 x 50, each unit and granularity, antialiased) - aim 1.5x
//   one strip / full paint    (1000 x 50)                                        - aim 1/20
// A cursor move repaints two strips (the old and the new position): reported as well.
// The window repaints cursor strips from the face it keeps (ComposeFromFace); the face is
// painted again only when the ruler's look, size or unit changes, never on a cursor move,
// so its cost (FacePaint) is left out of the strips' and reported on its own. The strip
// painted without a face (StripPaintWithoutFace) is what each move cost before.

#include <algorithm>

#include "BenchCompare.h"
#include "ruler/QorvelColorUtils.h"
#include "ruler/RulerScale.h"

namespace {

TRulerScaleInput BenchRuler(int length, int unit, int granularity) {
  TRulerScaleInput input;
  input.Width = length;
  input.Height = 50;
  input.ScaleUnit = unit;
  input.Granularity = granularity;
  input.Antialiasing = true;
  input.CursorBoxPos = {length / 3, 20};
  input.CursorScreenPos = {length / 3 + 200, 300};
  return input;
}

// The least any paint of the buffer costs: every pixel written once.
void PlainFill(benchmark::State& state) {
  const int length = static_cast<int>(state.range(0));
  TPixelBuffer buffer(length, 50);
  TPixel* pixels = buffer.View().Data();
  const TPixel background = ColorToPixel(0xA0FFFF);
  for (auto _ : state) {
    std::fill(pixels, pixels + length * 50, background);
    benchmark::DoNotOptimize(pixels);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(PlainFill)->ArgNames({"length"})->Arg(1920);

// The same buffer through the fill the painter uses for its background (eight pixels per
// store): how much of a full paint's lead over the plain fill is the faster fill alone.
void BlockFill(benchmark::State& state) {
  TPixelBuffer buffer(1920, 50);
  TPixel* pixels = buffer.View().Data();
  const TPixel background = ColorToPixel(0xA0FFFF);
  for (auto _ : state) {
    for (int y = 0; y < 50; ++y) FillPixels(pixels + y * 1920, 1920, background);
    benchmark::DoNotOptimize(pixels);
    benchmark::ClobberMemory();
  }
  CompareWith(state, "PlainFill/length:1920");
}
BENCHMARK(BlockFill);

void FullPaint(benchmark::State& state) {
  const TRulerScaleInput input = BenchRuler(1920, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  TPixelBuffer buffer(input.Width, input.Height);
  const TPixelView view = buffer.View();
  for (auto _ : state) {
    PaintScale(input, view, view.Bounds());
    benchmark::DoNotOptimize(view.Data());
    benchmark::ClobberMemory();
  }
  CompareWith(state, "PlainFill/length:1920", 1.5);
}
// Units 1..4: pixel, point, inch, centimetre; granularity 0 coarse, 1 medium, 2 fine.
BENCHMARK(FullPaint)->ArgNames({"unit", "granularity"})->ArgsProduct({{1, 2, 3, 4}, {0, 1, 2}});

void FullPaintShort(benchmark::State& state) {
  const TRulerScaleInput input = BenchRuler(1000, 1, 1);
  TPixelBuffer buffer(input.Width, input.Height);
  const TPixelView view = buffer.View();
  for (auto _ : state) {
    PaintScale(input, view, view.Bounds());
    benchmark::DoNotOptimize(view.Data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(FullPaintShort);

// One cursor strip, as the window repaints it: composed from the kept face.
void StripRepaint(benchmark::State& state) {
  TRulerScaleInput input = BenchRuler(1000, 1, 1);
  TPixelBuffer buffer(input.Width, input.Height);
  const TPixelView view = buffer.View();
  PaintScale(input, view, view.Bounds());
  TScaleFace face;
  PaintScaleFace(input, face);  // on a look change, not per move: outside the timing
  const TRect strip = *CursorLineStrip(input, {0, 0}, input.Width, input.Height);
  for (auto _ : state) {
    ComposeFromFace(input, face, view, strip);
    benchmark::DoNotOptimize(view.Data());
    benchmark::ClobberMemory();
  }
  CompareWith(state, "FullPaintShort", 1.0 / 20);
}
BENCHMARK(StripRepaint);

// The same strip painted from scratch, without a face.
void StripPaintWithoutFace(benchmark::State& state) {
  TRulerScaleInput input = BenchRuler(1000, 1, 1);
  TPixelBuffer buffer(input.Width, input.Height);
  const TPixelView view = buffer.View();
  PaintScale(input, view, view.Bounds());
  const TRect strip = *CursorLineStrip(input, {0, 0}, input.Width, input.Height);
  for (auto _ : state) {
    PaintScale(input, view, strip);
    benchmark::DoNotOptimize(view.Data());
    benchmark::ClobberMemory();
  }
  CompareWith(state, "FullPaintShort");
}
BENCHMARK(StripPaintWithoutFace);

// What a look change costs the window on top of its full paint: both faces, painted at the
// next cursor move.
void FacePaint(benchmark::State& state) {
  const TRulerScaleInput input = BenchRuler(1000, 1, 1);
  TScaleFace face;
  for (auto _ : state) {
    PaintScaleFace(input, face);
    benchmark::DoNotOptimize(face.Plain.Row(0));
    benchmark::ClobberMemory();
  }
  CompareWith(state, "FullPaintShort");
}
BENCHMARK(FacePaint);

// A paint of one pixel at the cursor: the work every paint does whatever its size (scale
// layout, tick walk set-up, number and label texts, buttons), which bounds how small a
// strip's share of a full paint can get.
void PixelRepaint(benchmark::State& state) {
  TRulerScaleInput input = BenchRuler(1000, 1, 1);
  TPixelBuffer buffer(input.Width, input.Height);
  const TPixelView view = buffer.View();
  PaintScale(input, view, view.Bounds());
  const TRect pixel{input.CursorBoxPos.X, 20, input.CursorBoxPos.X + 1, 21};
  for (auto _ : state) {
    PaintScale(input, view, pixel);
    benchmark::DoNotOptimize(view.Data());
    benchmark::ClobberMemory();
  }
  CompareWith(state, "FullPaintShort");
}
BENCHMARK(PixelRepaint);

// A whole cursor move as the window repaints it: the strips at the old and the new
// position, composed from the kept face.
void CursorMoveRepaint(benchmark::State& state) {
  TRulerScaleInput input = BenchRuler(1000, 1, 1);
  TPixelBuffer buffer(input.Width, input.Height);
  const TPixelView view = buffer.View();
  PaintScale(input, view, view.Bounds());
  TScaleFace face;
  PaintScaleFace(input, face);
  int step = 0;
  for (auto _ : state) {
    const auto before = CursorLineStrip(input, {0, 0}, input.Width, input.Height);
    input.CursorBoxPos.X = 300 + (step++ % 2);
    const auto after = CursorLineStrip(input, {0, 0}, input.Width, input.Height);
    if (!FaceFits(face, input)) PaintScaleFace(input, face);
    if (before) ComposeFromFace(input, face, view, *before);
    if (after) ComposeFromFace(input, face, view, *after);
    benchmark::DoNotOptimize(view.Data());
    benchmark::ClobberMemory();
  }
  CompareWith(state, "FullPaintShort");
}
BENCHMARK(CursorMoveRepaint);

// The same move painted from scratch, without a face.
void CursorMovePaintWithoutFace(benchmark::State& state) {
  TRulerScaleInput input = BenchRuler(1000, 1, 1);
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
  CompareWith(state, "FullPaintShort");
}
BENCHMARK(CursorMovePaintWithoutFace);

}  // namespace
