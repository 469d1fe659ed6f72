#pragma once
// The first pixel where two buffers differ, for a readable failure; empty when they agree.
#include <string>

#include "base/PixelBuffers.h"

inline std::string FirstDifference(const TPixelBuffer& actual, const TPixelBuffer& expected) {
  if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) return "sizes differ";
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x)
      if (actual.At(x, y) != expected.At(x, y))
        return "at (" + std::to_string(x) + ", " + std::to_string(y) + "): " + std::to_string(actual.At(x, y)) +
               " instead of " + std::to_string(expected.At(x, y));
  return {};
}
