#include "ruler/MonitorDpi.h"

#include <cstdint>
#include <limits>

#include "ruler/RulerUnits.h"

namespace {

using i64 = std::int64_t;

i64 OverlapArea(const TRect& a, const TRect& b) {
  const TRect overlap = IntersectRect(a, b);
  return static_cast<i64>(overlap.Width()) * overlap.Height();
}

// How far apart two rectangles are along one axis: 0 when their spans meet or overlap.
i64 Gap(int aLow, int aHigh, int bLow, int bHigh) {
  if (aHigh <= bLow) return static_cast<i64>(bLow) - aHigh;
  if (bHigh <= aLow) return static_cast<i64>(aLow) - bHigh;
  return 0;
}

// Squared distance between the nearest points of two rectangles (an empty one is a point).
i64 SquaredDistance(const TRect& a, const TRect& b) {
  const i64 dx = Gap(a.Left, a.Empty() ? a.Left + 1 : a.Right, b.Left, b.Right);
  const i64 dy = Gap(a.Top, a.Empty() ? a.Top + 1 : a.Bottom, b.Top, b.Bottom);
  return dx * dx + dy * dy;
}

}  // namespace

int MonitorHolding(std::span<const TMonitorResolution> monitors, const TRect& rect) {
  const TRect probe = rect.Empty() ? TRect{rect.Left, rect.Top, rect.Left + 1, rect.Top + 1} : rect;
  int best = -1;
  i64 bestArea = 0;
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const i64 area = OverlapArea(probe, monitors[i].Bounds);
    if (area > bestArea) {
      bestArea = area;
      best = static_cast<int>(i);
    }
  }
  if (best >= 0) return best;

  i64 nearest = std::numeric_limits<i64>::max();
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    if (monitors[i].Bounds.Empty()) continue;
    const i64 distance = SquaredDistance(probe, monitors[i].Bounds);
    if (distance < nearest) {
      nearest = distance;
      best = static_cast<int>(i);
    }
  }
  return best;
}

int PixelsPerInchAt(std::span<const TMonitorResolution> monitors, const TRect& rect, int fallback) {
  const int index = MonitorHolding(monitors, rect);
  if (index < 0) return fallback;
  const int dpi = monitors[static_cast<std::size_t>(index)].PixelsPerInch;
  // A system that reports nonsense for one monitor must not stretch the scale absurdly.
  return dpi >= MinUserPixelsPerInch && dpi <= MaxUserPixelsPerInch ? dpi : fallback;
}
