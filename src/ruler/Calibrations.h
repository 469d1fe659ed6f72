#pragma once
// Resolutions calibrated against an object on the desk, one per monitor, kept in the settings
// as lines "<monitor identity>|<pixels per inch>". A calibration wins over the monitor's
// measured size while the ruler measures each monitor.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/QorvelSettings.h"

struct TCalibrationObject {
  const wchar_t* Caption;
  double Millimetres;  // 0: the user types the length
};

inline constexpr std::array<TCalibrationObject, 3> CalibrationObjects{{
    {L"Credit card (85.60 mm)", 85.60},
    {L"A4 paper, short edge (210 mm)", 210.0},
    {L"Another length:", 0.0},
}};

// The monitor's calibrated resolution; none for a monitor without one or a line that does
// not read as one (hand-edited), which is passed over.
std::optional<double> CalibrationFor(const TQorvelStrings& calibrations, std::string_view identity);
// Sets the monitor's calibration, replacing an earlier one.
void SetCalibration(TQorvelStrings& calibrations, std::string_view identity, double pixelsPerInch);
void RemoveCalibration(TQorvelStrings& calibrations, std::string_view identity);
// A resolution as a calibration keeps it, and so as the ruler applies it: "93.496".
std::string CalibrationText(double pixelsPerInch);

// How many pixels `millimetres` take at `pixelsPerInch`, rounded.
int PixelsForLength(double millimetres, double pixelsPerInch);
