#pragma once
// The display monitors, in device pixels, for placing windows on them.

#include <windows.h>

#include <vector>

#include "base/Geometry.h"

struct TDisplayMonitor {
  HMONITOR Handle;
  TRect Bounds;  // left of or above the primary monitor is negative
};

// Every monitor of the desktop, in the system's order.
std::vector<TDisplayMonitor> DisplayMonitors();

// The work area of every monitor (its taskbars left out), for fitting a restored window
// onto a screen; a monitor the system cannot describe is left out.
std::vector<TRect> MonitorWorkAreas();
// The primary monitor's work area, where a window without a stored place goes.
TRect PrimaryWorkArea();
