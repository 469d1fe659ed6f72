// What the ruler's screen-reader text adds to a cursor move: each repaint of the scale builds
// the text once (while anybody listens for accessibility events) to tell whether it changed.
//   ruler text / cursor-move repaint (1000 x 50)   - aim at most 1/4

#include "BenchCompare.h"
#include "ruler/RulerAccessibleTexts.h"

namespace {

void RulerAccessibleText(benchmark::State& state) {
  TRulerScaleInput input;
  input.Width = 1000;
  input.Height = 50;
  input.ScaleUnit = static_cast<int>(state.range(0));
  input.CursorScreenPos = {500, 300};
  int step = 0;
  for (auto _ : state) {
    input.CursorBoxPos = {300 + (step++ % 2), 20};
    std::string text = RulerAccessibleValue(input, input.Width);
    benchmark::DoNotOptimize(text.data());
  }
  CompareWith(state, "CursorMoveRepaint", 0.25);
}
BENCHMARK(RulerAccessibleText)->ArgNames({"unit"})->Arg(1)->Arg(3);

}  // namespace
