#pragma once
// One digest of every format's text and the contrast text over a stride of colours, taken by
// the host tests and the Win32 tests alike: every build must write the same texts.

#include <cstdint>
#include <string>

#include "color/ColorFormats.h"

inline std::uint64_t ColorTextDigest() {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  const auto add = [&hash](const std::string& text) {
    for (const char c : text + '\n') hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  };
  for (TColor color = 0; color <= 0xFFFFFF; color += 4099) {
    for (const TColorFormatInfo& info : ColorFormatInfos)
      if (info.Format != TColorFormat::Template) add(FormatColor(color, info.Format));
    add(ContrastRatioText(ContrastRatio(color, 0xFFFFFF)));
  }
  return hash;
}

inline constexpr std::uint64_t ExpectedColorTextDigest = 0xec8a6acea5173af6ull;
