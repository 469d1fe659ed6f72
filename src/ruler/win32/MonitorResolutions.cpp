#include "ruler/win32/MonitorResolutions.h"

#include "gui/Dpi.h"
#include "gui/Monitors.h"

std::vector<TMonitorResolution> MonitorResolutions() {
  std::vector<TMonitorResolution> monitors;
  // A DPI of 0 when the system cannot say; the caller's fallback then applies.
  for (const TDisplayMonitor& monitor : DisplayMonitors())
    monitors.push_back({monitor.Bounds, static_cast<int>(MonitorDpi(monitor.Handle))});
  return monitors;
}

int PixelsPerInchOfMonitorAt(const TRect& bounds, HWND window) {
  return PixelsPerInchAt(MonitorResolutions(), bounds, static_cast<int>(WindowDpi(window)));
}
