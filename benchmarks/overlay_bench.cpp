// The measure tool's overlay on a cursor move: recomposing the strips the old and the new
// spacing cover (spans, labels, the loupe) against composing the whole 2560 x 1440 overlay.
// Aim: at most 1/10. The blit to the screen copies the same rectangles, so it scales alike.

#include <vector>

#include "BenchCompare.h"

#include "measure/OverlayComposition.h"

namespace {

constexpr int Width = 2560, Height = 1440;

struct TBenchDesk {
  TPixelBuffer Snapshot{Width, Height, 0xF3F3F3};
  TPixelBuffer Frame{Width, Height};
  std::vector<TPlacedMeasurement> Pins;

  TBenchDesk() {
    for (int i = 0; i < 12; ++i) Snapshot.View().Fill({100 + i * 200, 200, 260 + i * 200, 1200}, 0x204080 + i);
  }
  TPlacedMeasurement Spacing(TPoint at) const {
    TMeasurement m;
    m.From = at;
    m.Box = {100, 200, 260, 1200};
    return {m, "160 \u00D7 1000 px", PlaceLabel(at, 80, 16, {0, 0, Width, Height})};
  }
  TOverlayScene Scene(const TPlacedMeasurement& current, TPoint cursor) const {
    TOverlayScene scene;
    scene.Snapshot = const_cast<TPixelBuffer&>(Snapshot).View();
    scene.Pins = &Pins;
    scene.Current = &current;
    scene.ShowLoupe = true;
    scene.Cursor = cursor;
    scene.Loupe = PlaceLoupe(cursor, {0, 0, Width, Height});
    return scene;
  }
};

void OverlayFullComposition(benchmark::State& state) {
  TBenchDesk desk;
  const TPlacedMeasurement current = desk.Spacing({180, 700});
  for (auto _ : state) {
    ComposeOverlay(desk.Frame.View(), desk.Scene(current, {180, 700}), {0, 0, Width, Height});
    benchmark::DoNotOptimize(desk.Frame.View().Data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(OverlayFullComposition);

void OverlayCursorMove(benchmark::State& state) {
  TBenchDesk desk;
  TPoint at{180, 700};
  for (auto _ : state) {
    const TPlacedMeasurement before = desk.Spacing(at);
    const TPoint next{at.X == 180 ? 181 : 180, at.Y};
    const TPlacedMeasurement after = desk.Spacing(next);
    std::vector<TRect> strips = MeasurementStrips(before);
    for (const TRect& r : MeasurementStrips(after)) strips.push_back(r);
    strips.push_back(PlaceLoupe(at, {0, 0, Width, Height}));
    strips.push_back(PlaceLoupe(next, {0, 0, Width, Height}));
    const TOverlayScene scene = desk.Scene(after, next);
    for (const TRect& strip : strips) ComposeOverlay(desk.Frame.View(), scene, strip);
    at = next;
    benchmark::DoNotOptimize(desk.Frame.View().Data());
    benchmark::ClobberMemory();
  }
  CompareWith(state, "OverlayFullComposition", 0.1);
}
BENCHMARK(OverlayCursorMove);

}  // namespace
