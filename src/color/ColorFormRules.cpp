#include "color/ColorFormRules.h"

namespace {
constexpr int kEdgeGap = 8;
}

TPoint DefaultColorFormPlace(const TRect& workArea, int windowWidth, int windowHeight) {
  return {workArea.Right - windowWidth - kEdgeGap, workArea.Bottom - windowHeight - kEdgeGap};
}
