// The magnifier's frame composition (enlargement, own image hidden, crosshairs, border)
// against filling the same frame with one colour, the least any frame costs. Compare
// within one run:
//   compose / plain fill at 87 x 87 (the floating window; zoom 5, and zoom 1 where every
//   pixel is its own square) - aim: within 3x. The ruler's 50 x 50 square at zoom 3 is
//   dominated by the fixed work of a frame (geometry, strokes), about a microsecond.
// Either way a refresh then costs what the screen capture and the blit cost.
// The capture and the blit need a screen: the helper MagnifierRefreshBench.exe times a
// whole refresh under Wine against a plain blit.

#include <algorithm>
#include <string>

#include "BenchCompare.h"

#include "ruler/MagnifierGeometry.h"

namespace {

TMagnifierFrameInput BenchFrame(int side, int zoom) {
  TMagnifierFrameInput input;
  input.Width = input.Height = side;
  input.Zoom = zoom;
  input.BorderWidth = 1;
  input.Target = {640, 400};
  input.ControlOnScreen = {600, 420, 600 + side, 420 + side};  // partly in view: its own image is hidden
  input.CrossHairs = TQorvelDesktopMagnifierCrossHairs::pmcOpenCross;
  input.Border = 0x000000;
  input.Fill = 0xABABAB;
  return input;
}

void MagnifierPlainFill(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  TPixelBuffer frame(side, side);
  TPixel* pixels = frame.View().Data();
  for (auto _ : state) {
    std::fill(pixels, pixels + side * side, 0xABABABu);
    benchmark::DoNotOptimize(pixels);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(MagnifierPlainFill)->ArgNames({"side"})->Arg(50)->Arg(87);

void ComposeFrame(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0)), zoom = static_cast<int>(state.range(1));
  const TMagnifierFrameInput input = BenchFrame(side, zoom);
  const TMagnifierGeometry g = MagnifierGeometry(side, side, zoom, 1, input.Target);
  TPixelBuffer capture(g.Columns, g.Rows);
  for (int y = 0; y < g.Rows; ++y)
    for (int x = 0; x < g.Columns; ++x) capture.View().Set(x, y, static_cast<TPixel>(x * 0x10203 + y * 0x30201));
  TPixelBuffer frame(side, side);
  const TPixelView view = frame.View();
  for (auto _ : state) {
    ComposeMagnifiedImage(view, input, capture.View());
    DrawMagnifierOverlay(view, input);
    benchmark::DoNotOptimize(view.Data());
    benchmark::ClobberMemory();
  }
  const std::string baseline = "MagnifierPlainFill/side:" + std::to_string(side);
  if (side == 87)
    CompareWith(state, baseline, 3);
  else
    CompareWith(state, baseline);
}
BENCHMARK(ComposeFrame)->ArgNames({"side", "zoom"})->Args({50, 3})->Args({87, 5})->Args({87, 1});

}  // namespace
