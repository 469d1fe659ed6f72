#pragma once
// Every figure of the benchmark table is a ratio against a baseline measured in the same
// run, so that a loaded machine slows both sides alike. A benchmark names its baseline (the
// full name of another benchmark, arguments included) and the ratio it aims for in its
// label; ./bench reads the labels from the JSON results and prints the table. A benchmark
// without a label is reported per operation.

#include <benchmark/benchmark.h>

#include <string>

// Time of this benchmark / time of `baseline`, aiming at most `target`.
inline void CompareWith(benchmark::State& state, const std::string& baseline, double target) {
  state.SetLabel("vs=" + baseline + ";max=" + std::to_string(target));
}

// Compared with `baseline` for information only: no target.
inline void CompareWith(benchmark::State& state, const std::string& baseline) { state.SetLabel("vs=" + baseline); }
