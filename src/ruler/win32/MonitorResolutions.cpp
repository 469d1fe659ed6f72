#include "ruler/win32/MonitorResolutions.h"

#include "gui/Dpi.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT bounds, LPARAM data) {
  // 0 when the system cannot say; the caller's fallback then applies.
  const int dpi = static_cast<int>(MonitorDpi(monitor));
  reinterpret_cast<std::vector<TMonitorResolution>*>(data)->push_back(
      {{bounds->left, bounds->top, bounds->right, bounds->bottom}, dpi});
  return TRUE;
}

}  // namespace

std::vector<TMonitorResolution> MonitorResolutions() {
  std::vector<TMonitorResolution> monitors;
  ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

int PixelsPerInchOfMonitorAt(const TRect& bounds, HWND window) {
  return PixelsPerInchAt(MonitorResolutions(), bounds, static_cast<int>(WindowDpi(window)));
}
