#include "ruler/EdidSizes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace {

constexpr std::size_t BlockSize = 128;
constexpr std::array<std::uint8_t, 8> Header{0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::size_t WidthCmByte = 21;
constexpr std::size_t HeightCmByte = 22;
constexpr std::size_t FirstDescriptor = 54;
constexpr int MinModeSide = 128;
// A detailed size and the rounded basic one may differ by half a centimetre and a bit.
constexpr int DetailedAgreementMm = 15;
constexpr double MinPlausiblePixelsPerInch = 40, MaxPlausiblePixelsPerInch = 700;
constexpr double AxesAgreement = 0.04;

bool ValidBlock(std::span<const std::uint8_t> edid) {
  if (edid.size() < BlockSize) return false;
  if (!std::equal(Header.begin(), Header.end(), edid.begin())) return false;
  const unsigned sum = std::accumulate(edid.begin(), edid.begin() + BlockSize, 0u);
  return sum % 256 == 0;
}

bool Agrees(int detailedMm, int basicMm) { return std::abs(detailedMm - basicMm) <= DetailedAgreementMm; }

// How far the size's sides may lie from the glass's by the rounding of their unit.
double RoundingMm(TSizeSource source) { return source == TSizeSource::BasicCentimetres ? 5.0 : 0.5; }

bool IsAspectPlaceholder(const TPhysicalSize& size) {
  for (const int scale : {1, 10, 100})
    if (size.WidthMm == 16 * scale && size.HeightMm == 9 * scale) return true;
  return false;
}

// The size with its sides the way `mode` has them: the longer along the longer.
TPhysicalSize TurnedTo(const TPhysicalSize& size, TPixelSize mode) {
  const bool sizeLandscape = size.WidthMm > size.HeightMm, sizePortrait = size.WidthMm < size.HeightMm;
  const bool modeLandscape = mode.Width > mode.Height, modePortrait = mode.Width < mode.Height;
  if ((sizeLandscape && modePortrait) || (sizePortrait && modeLandscape))
    return {size.HeightMm, size.WidthMm, size.Source};
  return size;
}

TResolution AxisResolution(TPixelSize mode, const TPhysicalSize& turned) {
  return {PhysicalPixelsPerInch(mode.Width, turned.WidthMm), PhysicalPixelsPerInch(mode.Height, turned.HeightMm)};
}

// Square pixels, within what the size's rounding allows.
bool SquarePixels(const TResolution& resolution, const TPhysicalSize& turned) {
  const double rounding = RoundingMm(turned.Source);
  const double tolerance = AxesAgreement + rounding / turned.WidthMm + rounding / turned.HeightMm;
  return std::abs(resolution.X - resolution.Y) <= tolerance * std::max(resolution.X, resolution.Y);
}

bool InPlausibleRange(double pixelsPerInch) {
  return pixelsPerInch >= MinPlausiblePixelsPerInch && pixelsPerInch <= MaxPlausiblePixelsPerInch;
}

std::optional<TPixelSize> PreferredMode(std::span<const std::uint8_t> descriptor) {
  if (descriptor[0] == 0 && descriptor[1] == 0) return std::nullopt;  // no pixel clock: a display descriptor
  const TPixelSize mode{descriptor[2] | ((descriptor[4] & 0xF0) << 4), descriptor[5] | ((descriptor[7] & 0xF0) << 4)};
  if (mode.Width < MinModeSide || mode.Height < MinModeSide) return std::nullopt;
  return mode;
}

}  // namespace

bool PlausibleSize(const TPhysicalSize& size, TPixelSize mode) {
  if (size.WidthMm <= 0 || size.HeightMm <= 0 || mode.Width <= 0 || mode.Height <= 0) return false;
  if (IsAspectPlaceholder(size)) return false;
  const TPhysicalSize turned = TurnedTo(size, mode);
  const TResolution resolution = AxisResolution(mode, turned);
  return InPlausibleRange(resolution.X) && InPlausibleRange(resolution.Y) && SquarePixels(resolution, turned);
}

std::optional<TPhysicalSize> EdidPhysicalSize(std::span<const std::uint8_t> edid, TPixelSize desktopMode) {
  if (!ValidBlock(edid)) return std::nullopt;
  const std::span<const std::uint8_t> descriptor = edid.subspan(FirstDescriptor, 18);
  const std::optional<TPixelSize> preferred = PreferredMode(descriptor);
  const TPixelSize mode = preferred.value_or(desktopMode);
  const TPhysicalSize basic{edid[WidthCmByte] * 10, edid[HeightCmByte] * 10, TSizeSource::BasicCentimetres};
  const bool basicPlausible = PlausibleSize(basic, mode);
  if (preferred) {
    const TPhysicalSize timing{descriptor[12] | ((descriptor[14] & 0xF0) << 4),
                               descriptor[13] | ((descriptor[14] & 0x0F) << 8), TSizeSource::DetailedTiming};
    if (PlausibleSize(timing, mode) && (!basicPlausible || (Agrees(timing.WidthMm, basic.WidthMm) &&
                                                            Agrees(timing.HeightMm, basic.HeightMm))))
      return timing;
  }
  if (basicPlausible) return basic;
  return std::nullopt;
}

double PhysicalPixelsPerInch(int pixels, double millimetres) {
  if (pixels <= 0 || millimetres <= 0) return 0;
  return pixels * 25.4 / millimetres;
}

TResolution DesktopResolution(TPixelSize desktop, const TPhysicalSize& size) {
  const TPhysicalSize turned = TurnedTo(size, desktop);
  const TResolution resolution = AxisResolution(desktop, turned);
  if (resolution.X <= 0 || resolution.Y <= 0) return {0, 0};
  if (!SquarePixels(resolution, turned)) return resolution;
  const double mean = (resolution.X + resolution.Y) / 2;
  return {mean, mean};
}

std::wstring EdidRegistryKey(std::wstring_view interfacePath) {
  constexpr std::wstring_view Prefix = L"\\\\?\\DISPLAY#";
  if (interfacePath.substr(0, Prefix.size()) != Prefix) return {};
  const std::wstring_view rest = interfacePath.substr(Prefix.size());
  const std::size_t modelEnd = rest.find(L'#');
  if (modelEnd == 0 || modelEnd == std::wstring_view::npos) return {};
  const std::size_t instanceEnd = rest.find(L'#', modelEnd + 1);
  if (instanceEnd == std::wstring_view::npos || instanceEnd == modelEnd + 1) return {};
  const std::wstring_view model = rest.substr(0, modelEnd);
  const std::wstring_view instance = rest.substr(modelEnd + 1, instanceEnd - modelEnd - 1);
  // A path that climbs out of the monitor's key names no monitor.
  if (model.find(L'\\') != std::wstring_view::npos || instance.find(L'\\') != std::wstring_view::npos) return {};
  return L"SYSTEM\\CurrentControlSet\\Enum\\DISPLAY\\" + std::wstring(model) + L"\\" + std::wstring(instance) +
         L"\\Device Parameters";
}
