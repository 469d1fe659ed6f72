#include "ruler/win32/MonitorResolutions.h"

#include <cmath>
#include <optional>
#include <string>

#include "gui/Dpi.h"
#include "gui/Handles.h"
#include "gui/Monitors.h"
#include "gui/Application.h"
#include "ruler/Calibrations.h"
#include "ruler/EdidSizes.h"

namespace {

// What the system says of one monitor: its place, its GDI device name and the path of its
// device interface ("\\?\DISPLAY#<model>#<instance>#{...}"), which names the monitor on its
// connector whatever the arrangement of the desk.
struct TMonitorDevice {
  TRect Bounds;
  std::wstring DeviceName;
  std::wstring InterfacePath;
};

std::optional<TMonitorDevice> MonitorDeviceAt(const TRect& bounds) {
  const std::vector<TDisplayMonitor> monitors = DisplayMonitors();
  std::vector<TMonitorResolution> resolutions;
  resolutions.reserve(monitors.size());
  for (const TDisplayMonitor& monitor : monitors) resolutions.push_back({monitor.Bounds, 0});
  const int index = MonitorHolding(resolutions, bounds);
  if (index < 0) return std::nullopt;
  const TDisplayMonitor& monitor = monitors[static_cast<std::size_t>(index)];
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  if (!::GetMonitorInfoW(monitor.Handle, &info)) return std::nullopt;
  TMonitorDevice device{monitor.Bounds, info.szDevice, {}};
  DISPLAY_DEVICEW display{};
  display.cb = sizeof(display);
  if (::EnumDisplayDevicesW(info.szDevice, 0, &display, EDD_GET_DEVICE_INTERFACE_NAME))
    device.InterfacePath = display.DeviceID;
  return device;
}

// The monitor's size in millimetres from the EDID in its device key.
std::optional<TEdidSize> EdidSizeOf(const TMonitorDevice& device) {
  const std::wstring key = EdidRegistryKey(device.InterfacePath);
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
std::optional<TEdidSize> ReportedSizeOf(const TMonitorDevice& device) {
  // A created device context ends with DeleteDC, as a memory one does.
  const TMemoryDC dc(::CreateDCW(L"DISPLAY", device.DeviceName.c_str(), nullptr, nullptr));
  if (!dc) return std::nullopt;
  const int width = ::GetDeviceCaps(dc.Get(), HORZSIZE), height = ::GetDeviceCaps(dc.Get(), VERTSIZE);
  if (width <= 0 || height <= 0) return std::nullopt;
  return TEdidSize{width, height, TEdidSizeSource::BasicCentimetres};
}

std::string IdentityOf(const TMonitorDevice& device) {
  return Narrow(device.InterfacePath.empty() ? device.DeviceName : device.InterfacePath);
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

std::string MonitorIdentityAt(const TRect& bounds) {
  const std::optional<TMonitorDevice> device = MonitorDeviceAt(bounds);
  return device ? IdentityOf(*device) : std::string();
}

TMeasuredResolution MeasuredResolutionOfMonitorAt(const TRect& bounds, const TQorvelStrings& calibrations) {
  const std::optional<TMonitorDevice> device = MonitorDeviceAt(bounds);
  if (!device) return {};
  if (const std::optional<double> calibrated = CalibrationFor(calibrations, IdentityOf(*device)))
    return {static_cast<int>(std::lround(*calibrated)), TResolutionBasis::Calibrated};
  TResolutionBasis basis = TResolutionBasis::Edid;
  std::optional<TEdidSize> size = EdidSizeOf(*device);
  if (!size) {
    size = ReportedSizeOf(*device);
    basis = TResolutionBasis::ReportedSize;
  }
  if (!size) return {};
  return {MonitorPixelsPerInch(device->Bounds.Width(), device->Bounds.Height(), *size), basis};
}
