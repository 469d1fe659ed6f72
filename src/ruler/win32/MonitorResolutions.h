#pragma once
// The monitors as the ruler core sees them: device-pixel rectangles and their DPIs.

#include <windows.h>

#include <string>
#include <vector>

#include "ruler/MonitorDpi.h"
#include "ruler/RulerUnits.h"
#include "settings/QorvelSettings.h"

std::vector<TMonitorResolution> MonitorResolutions();

// The pixels per inch of the monitor that holds `bounds` (device pixels): that monitor's
// own DPI, else the DPI of `window`, else the system's.
int PixelsPerInchOfMonitorAt(const TRect& bounds, HWND window);

// The pixels per inch of the glass of the monitor that holds `bounds` and where they come
// from: its calibration, else the monitor's EDID, else the size the system reports for it,
// each only where plausible; 0 pixels per inch when none is known.
struct TMeasuredResolution {
  TResolution PixelsPerInch{0, 0};
  TResolutionBasis Basis = TResolutionBasis::System;
  bool Known() const { return PixelsPerInch.X > 0 && PixelsPerInch.Y > 0; }
};
TMeasuredResolution MeasuredResolutionOfMonitorAt(const TRect& bounds, const TQorvelStrings& calibrations);

// The name a calibration is kept under for the monitor that holds `bounds`: the path of its
// device interface (its connector and model, whatever the arrangement), else its device name.
std::string MonitorIdentityAt(const TRect& bounds);
