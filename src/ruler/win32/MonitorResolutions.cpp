#include "ruler/win32/MonitorResolutions.h"

#include <cmath>
#include <optional>

#include "gui/Dpi.h"
#include "gui/Handles.h"
#include "gui/Monitors.h"
#include "ruler/EdidSizes.h"

namespace {

// The monitor's size in millimetres from the EDID in its device key.
std::optional<TEdidSize> EdidSizeOf(const wchar_t* deviceName) {
  DISPLAY_DEVICEW device{};
  device.cb = sizeof(device);
  if (!::EnumDisplayDevicesW(deviceName, 0, &device, EDD_GET_DEVICE_INTERFACE_NAME)) return std::nullopt;
  const std::wstring key = EdidRegistryKey(device.DeviceID);
  if (key.empty()) return std::nullopt;
  std::vector<std::uint8_t> edid(256);
  DWORD size = static_cast<DWORD>(edid.size());
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"EDID", RRF_RT_REG_BINARY, nullptr, edid.data(), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  edid.resize(size);
  return EdidPhysicalSize(edid);
}

// The size the system reports for the monitor (from the driver; Wine makes it up from 96 dpi).
std::optional<TEdidSize> ReportedSizeOf(const wchar_t* deviceName) {
  // A created device context ends with DeleteDC, as a memory one does.
  const TMemoryDC dc(::CreateDCW(L"DISPLAY", deviceName, nullptr, nullptr));
  if (!dc) return std::nullopt;
  const int width = ::GetDeviceCaps(dc.Get(), HORZSIZE), height = ::GetDeviceCaps(dc.Get(), VERTSIZE);
  if (width <= 0 || height <= 0) return std::nullopt;
  return TEdidSize{width, height, TEdidSizeSource::BasicCentimetres};
}

}  // namespace

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

int PhysicalPixelsPerInchOfMonitorAt(const TRect& bounds) {
  const std::vector<TDisplayMonitor> monitors = DisplayMonitors();
  std::vector<TMonitorResolution> resolutions;
  for (const TDisplayMonitor& monitor : monitors) resolutions.push_back({monitor.Bounds, 0});
  const int index = MonitorHolding(resolutions, bounds);
  if (index < 0) return 0;
  const TDisplayMonitor& monitor = monitors[static_cast<std::size_t>(index)];
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  if (!::GetMonitorInfoW(monitor.Handle, &info)) return 0;
  std::optional<TEdidSize> size = EdidSizeOf(info.szDevice);
  if (!size) size = ReportedSizeOf(info.szDevice);
  if (!size) return 0;
  // Pixels are square on any screen worth measuring; both axes are averaged against rounding.
  const double across = PhysicalPixelsPerInch(monitor.Bounds.Width(), size->WidthMm);
  const double down = PhysicalPixelsPerInch(monitor.Bounds.Height(), size->HeightMm);
  return static_cast<int>(std::lround((across + down) / 2));
}
