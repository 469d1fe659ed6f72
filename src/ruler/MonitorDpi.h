#pragma once
// Which monitor a window is on and the resolution that follows from it. Physical units on
// the ruler are measured with the DPI of the monitor the ruler lies on, so that an inch is
// an inch on a 100 % screen beside a 200 % one; the platform hands in the monitors and
// their DPIs as plain values.

#include <span>

#include "base/PixelBuffers.h"

inline constexpr int DefaultPixelsPerInch = 96;

// Where the resolution of the physical units comes from.
enum class TResolutionBasis { System, UserDefined, Calibrated, Edid, ReportedSize };

struct TMonitorResolution {
  TRect Bounds;  // in device pixels; left of or above the primary monitor is negative
  int PixelsPerInch = DefaultPixelsPerInch;
};

// The monitor that holds `rect`: the one it overlaps most (the earlier on a tie), or, when
// it overlaps none, the one nearest to it. -1 without monitors. An empty rectangle counts
// as the point at its top-left corner.
int MonitorHolding(std::span<const TMonitorResolution> monitors, const TRect& rect);

// The DPI of the monitor that holds `rect`; `fallback` without monitors or when that
// monitor reports no usable resolution.
int PixelsPerInchAt(std::span<const TMonitorResolution> monitors, const TRect& rect, int fallback);
