#pragma once
// The monitors as the ruler core sees them: device-pixel rectangles and their DPIs.

#include <windows.h>

#include <vector>

#include "ruler/MonitorDpi.h"

std::vector<TMonitorResolution> MonitorResolutions();

// The pixels per inch of the monitor that holds `bounds` (device pixels): that monitor's
// own DPI, else the DPI of `window`, else the system's.
int PixelsPerInchOfMonitorAt(const TRect& bounds, HWND window);

// The pixels per inch of the glass of the monitor that holds `bounds`: from the monitor's
// EDID, else from the size the system reports for it; 0 when neither is known.
int PhysicalPixelsPerInchOfMonitorAt(const TRect& bounds);
