#pragma once
// A monitor's physical size, read from its EDID: the 128-byte block a display reports about
// itself (VESA E-EDID 1.3/1.4), which Windows keeps in the monitor's device key. Logical DPI
// says how large the system draws; this says how large the glass is, so that a centimetre on
// the scale can be one on the desk.
//
// Rules, in this order:
// - The block must begin with 00 FF FF FF FF FF FF 00 and its 128 bytes must sum to 0 modulo
//   256; anything else (a short block, a corrupt one) has no size. Extension blocks after
//   the first 128 bytes are not read.
// - The basic fields (bytes 21 and 22) give the width and height in whole centimetres; 0 in
//   either means no size there (EDID 1.4 uses one of them for an aspect ratio, projectors
//   report 0 x 0).
// - The first detailed timing descriptor (byte 54, the preferred mode, when its pixel clock
//   is not 0) gives the image size in millimetres. It wins when both numbers are above 0 and,
//   where the basic fields have a size, each lies within 15 mm of it (the basic fields are
//   rounded to centimetres): some displays write an aspect ratio such as 16 x 9 there.
// - Otherwise the basic fields, in millimetres; otherwise no size.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

enum class TEdidSizeSource { DetailedTiming, BasicCentimetres };

struct TEdidSize {
  int WidthMm = 0;
  int HeightMm = 0;
  TEdidSizeSource Source = TEdidSizeSource::DetailedTiming;
};

std::optional<TEdidSize> EdidPhysicalSize(std::span<const std::uint8_t> edid);

// Pixels per inch of `pixels` spread over `millimetres`; 0 when either is not above 0.
double PhysicalPixelsPerInch(int pixels, double millimetres);

// The resolution of a monitor of `width` x `height` device pixels and the given size, rounded:
// pixels are square on any screen worth measuring, so both axes are averaged against the
// rounding of the sizes. 0 when the size is unusable.
int MonitorPixelsPerInch(int width, int height, const TEdidSize& size);

// Where Windows keeps a monitor's EDID, under HKEY_LOCAL_MACHINE: the "Device Parameters" key
// of the monitor's device instance, named by the interface path EnumDisplayDevices gives
// with EDD_GET_DEVICE_INTERFACE_NAME ("\\?\DISPLAY#DEL40A3#5&1a2b3c&0&UID4353#{e6f07b5f-...}").
// Empty for a path of another form.
std::wstring EdidRegistryKey(std::wstring_view interfacePath);
