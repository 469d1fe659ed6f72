#include "ruler/Calibrations.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr char Separator = '|';  // never part of a device path
// Beyond any screen made, and the range the scale's arithmetic is written for.
constexpr double MinPixelsPerInch = 10, MaxPixelsPerInch = 2000;

bool IsFor(const std::string& line, std::string_view identity) {
  return line.size() > identity.size() && line.compare(0, identity.size(), identity) == 0 &&
         line[identity.size()] == Separator;
}

}  // namespace

std::optional<double> CalibrationFor(const TQorvelStrings& calibrations, std::string_view identity) {
  for (const std::string& line : calibrations) {
    if (!IsFor(line, identity)) continue;
    const char* first = line.data() + identity.size() + 1;
    const char* last = line.data() + line.size();
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc() && end == last && value >= MinPixelsPerInch && value <= MaxPixelsPerInch) return value;
  }
  return std::nullopt;
}

void SetCalibration(TQorvelStrings& calibrations, std::string_view identity, double pixelsPerInch) {
  RemoveCalibration(calibrations, identity);
  const std::string text = CalibrationText(pixelsPerInch);
  if (!text.empty()) calibrations.push_back(std::string(identity) + Separator + text);
}

std::string CalibrationText(double pixelsPerInch) {
  std::array<char, 32> digits{};
  const auto [end, error] =
      std::to_chars(digits.data(), digits.data() + digits.size(), pixelsPerInch, std::chars_format::fixed, 3);
  if (error != std::errc()) return {};
  return std::string(digits.data(), end);
}

void RemoveCalibration(TQorvelStrings& calibrations, std::string_view identity) {
  std::erase_if(calibrations, [identity](const std::string& line) { return IsFor(line, identity); });
}

int PixelsForLength(double millimetres, double pixelsPerInch) {
  return static_cast<int>(std::lround(millimetres / 25.4 * pixelsPerInch));
}
