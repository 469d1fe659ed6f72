#pragma once
// A monitor's physical size, read from its EDID: the block a display reports about itself
// (VESA E-EDID 1.3/1.4), which Windows keeps in the monitor's device key. Logical DPI says how
// large the system draws; this says how large the glass is, so that a centimetre on the scale
// can be one on the desk.
//
// Reading:
// - The base block must begin with 00 FF FF FF FF FF FF 00 and its 128 bytes must sum to 0
//   modulo 256; anything else (a short block, a corrupt one) has no size. Extension blocks
//   after it (CTA-861 and the like, on most 4K and HDR monitors) are passed over.
// - The panel's preferred mode is the active area of the first detailed timing (byte 54,
//   when its pixel clock is not 0), when both sides are at least 128 pixels; a descriptor
//   filled with one byte is no mode.
// - Its image size, in millimetres, is the timing size; bytes 21 and 22 give the basic size in
//   whole centimetres.
//
// A size is used only when it is plausible for the panel's own preferred mode (or, without
// one, for the desktop's mode, turned to its orientation):
// - 40 to 700 pixels per inch on both axes: beyond any monitor, phone or wall of a TV;
// - both axes agreeing within 4 %, since panels have square pixels, plus what the size's
//   rounding allows (half a centimetre of each side for the basic size, half a millimetre for
//   the timing size);
// - not an aspect ratio written as a size: 16 x 9 mm, 160 x 90 mm (or cm), 1600 x 900 mm.
// The timing size wins when it is plausible and the basic size is not, or agrees with it
// within 15 mm on both axes (the basic size is rounded to centimetres); otherwise a plausible
// basic size; otherwise the monitor has no size here and the next source answers.
//
// The size is the panel's native one; a desktop turned to portrait (or a portrait panel shown
// landscape) has its sides the other way round: DesktopResolution turns it to match.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ruler/RulerUnits.h"

// A mode or a desktop, in pixels.
struct TPixelSize {
  int Width = 0;
  int Height = 0;
};

enum class TSizeSource { DetailedTiming, BasicCentimetres, Reported };

struct TPhysicalSize {
  int WidthMm = 0;
  int HeightMm = 0;
  TSizeSource Source = TSizeSource::DetailedTiming;
};

// The plausible size of the EDID's panel, checked against its preferred mode, else against
// `desktopMode`; none when it has none.
std::optional<TPhysicalSize> EdidPhysicalSize(std::span<const std::uint8_t> edid, TPixelSize desktopMode);

// Whether `size` is plausible for a panel showing `mode` (rules above), in either orientation.
bool PlausibleSize(const TPhysicalSize& size, TPixelSize mode);

// Pixels per inch of `pixels` spread over `millimetres`; 0 when either is not above 0.
double PhysicalPixelsPerInch(int pixels, double millimetres);

// The resolution of a desktop of `desktop` pixels shown on glass of `size`, turned to the
// desktop's orientation. Where the desktop has the panel's shape, its pixels are square: both
// axes get the mean, which halves the size's rounding. Where it has another (a stretched
// mode), each axis keeps its own. {0, 0} when the size is unusable.
TResolution DesktopResolution(TPixelSize desktop, const TPhysicalSize& size);

// Where Windows keeps a monitor's EDID, under HKEY_LOCAL_MACHINE: the "Device Parameters" key
// of the monitor's device instance, named by the interface path EnumDisplayDevices gives
// with EDD_GET_DEVICE_INTERFACE_NAME ("\\?\DISPLAY#DEL40A3#5&1a2b3c&0&UID4353#{e6f07b5f-...}").
// Empty for a path of another form.
std::wstring EdidRegistryKey(std::wstring_view interfacePath);
