#include "gui/Monitors.h"

#include "gui/Pixels.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT bounds, LPARAM data) {
  reinterpret_cast<std::vector<TDisplayMonitor>*>(data)->push_back({monitor, ToPixelRect(*bounds)});
  return TRUE;
}

}  // namespace

std::vector<TDisplayMonitor> DisplayMonitors() {
  std::vector<TDisplayMonitor> monitors;
  ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

std::vector<TRect> MonitorWorkAreas() {
  std::vector<TRect> areas;
  for (const TDisplayMonitor& monitor : DisplayMonitors()) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoW(monitor.Handle, &info)) areas.push_back(ToPixelRect(info.rcWork));
  }
  return areas;
}

TRect PrimaryWorkArea() {
  RECT r{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return ToPixelRect(r);
}
