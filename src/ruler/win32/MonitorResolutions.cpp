#include "ruler/win32/MonitorResolutions.h"

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

TPixelSize DesktopMode(const TMonitorDevice& device) { return {device.Bounds.Width(), device.Bounds.Height()}; }

// A binary registry value of whatever length: EDIDs with extension blocks run to 256, 384
// bytes and more. Empty when there is none.
std::vector<std::uint8_t> BinaryValue(HKEY root, const std::wstring& key, const wchar_t* name) {
  std::vector<std::uint8_t> value;
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD size = 0;
    if (::RegGetValueW(root, key.c_str(), name, RRF_RT_REG_BINARY, nullptr, nullptr, &size) != ERROR_SUCCESS) return {};
    value.resize(size);
    const LSTATUS status = ::RegGetValueW(root, key.c_str(), name, RRF_RT_REG_BINARY, nullptr, value.data(), &size);
    if (status == ERROR_MORE_DATA) continue;  // rewritten between the two calls
    if (status != ERROR_SUCCESS) return {};
    value.resize(size);
    return value;
  }
  return {};
}

// The monitor's size in millimetres from the EDID in its device key.
std::optional<TPhysicalSize> EdidSizeOf(const TMonitorDevice& device) {
  const std::wstring key = EdidRegistryKey(device.InterfacePath);
  if (key.empty()) return std::nullopt;
  return EdidPhysicalSize(BinaryValue(HKEY_LOCAL_MACHINE, key, L"EDID"), DesktopMode(device));
}

// The size the system reports for the monitor (from the driver; Wine makes it up from 96 dpi),
// where it is plausible for the desktop.
std::optional<TPhysicalSize> ReportedSizeOf(const TMonitorDevice& device) {
  // A created device context ends with DeleteDC, as a memory one does.
  const TMemoryDC dc(::CreateDCW(L"DISPLAY", device.DeviceName.c_str(), nullptr, nullptr));
  if (!dc) return std::nullopt;
  const TPhysicalSize size{::GetDeviceCaps(dc.Get(), HORZSIZE), ::GetDeviceCaps(dc.Get(), VERTSIZE),
                           TSizeSource::Reported};
  if (!PlausibleSize(size, DesktopMode(device))) return std::nullopt;
  return size;
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
    return {{*calibrated, *calibrated}, TResolutionBasis::Calibrated};
  TResolutionBasis basis = TResolutionBasis::Edid;
  std::optional<TPhysicalSize> size = EdidSizeOf(*device);
  if (!size) {
    size = ReportedSizeOf(*device);
    basis = TResolutionBasis::ReportedSize;
  }
  if (!size) return {};
  return {DesktopResolution(DesktopMode(*device), *size), basis};
}
