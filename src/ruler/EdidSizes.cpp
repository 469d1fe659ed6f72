#include "ruler/EdidSizes.h"

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
// A detailed size and the rounded basic one may differ by half a centimetre and a bit.
constexpr int DetailedAgreementMm = 15;

bool ValidBlock(std::span<const std::uint8_t> edid) {
  if (edid.size() < BlockSize) return false;
  if (!std::equal(Header.begin(), Header.end(), edid.begin())) return false;
  const unsigned sum = std::accumulate(edid.begin(), edid.begin() + BlockSize, 0u);
  return sum % 256 == 0;
}

bool Agrees(int detailedMm, int basicCm) {
  return basicCm == 0 || std::abs(detailedMm - basicCm * 10) <= DetailedAgreementMm;
}

}  // namespace

std::optional<TEdidSize> EdidPhysicalSize(std::span<const std::uint8_t> edid) {
  if (!ValidBlock(edid)) return std::nullopt;
  const int widthCm = edid[WidthCmByte];
  const int heightCm = edid[HeightCmByte];
  const std::span<const std::uint8_t> descriptor = edid.subspan(FirstDescriptor, 18);
  const bool timing = descriptor[0] != 0 || descriptor[1] != 0;  // a pixel clock: not a display descriptor
  if (timing) {
    const int widthMm = descriptor[12] | ((descriptor[14] & 0xF0) << 4);
    const int heightMm = descriptor[13] | ((descriptor[14] & 0x0F) << 8);
    const bool basicKnown = widthCm > 0 && heightCm > 0;
    if (widthMm > 0 && heightMm > 0 && (!basicKnown || (Agrees(widthMm, widthCm) && Agrees(heightMm, heightCm))))
      return TEdidSize{widthMm, heightMm, TEdidSizeSource::DetailedTiming};
  }
  if (widthCm > 0 && heightCm > 0) return TEdidSize{widthCm * 10, heightCm * 10, TEdidSizeSource::BasicCentimetres};
  return std::nullopt;
}

double PhysicalPixelsPerInch(int pixels, double millimetres) {
  if (pixels <= 0 || millimetres <= 0) return 0;
  return pixels * 25.4 / millimetres;
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

int MonitorPixelsPerInch(int width, int height, const TEdidSize& size) {
  const double across = PhysicalPixelsPerInch(width, size.WidthMm);
  const double down = PhysicalPixelsPerInch(height, size.HeightMm);
  if (across <= 0 || down <= 0) return 0;
  return static_cast<int>(std::lround((across + down) / 2));
}
