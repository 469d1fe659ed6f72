#include "color/CursorFormRules.h"

namespace {
constexpr int kEdgeGap = 8;
}

TPoint DefaultCursorFormPlace(const TRect& workArea, int windowWidth, int windowHeight) {
  return {workArea.Right - windowWidth - kEdgeGap, workArea.Bottom - 2 * windowHeight - kEdgeGap};
}

TSwatchColors SwatchColorsFor(std::uint32_t sampled, std::uint32_t buttonFace, std::uint32_t windowText) {
  if (!IsScreenColor(sampled)) return {buttonFace, buttonFace};
  return {sampled, windowText};
}

std::wstring CoordinateText(int value) { return std::to_wstring(value); }
