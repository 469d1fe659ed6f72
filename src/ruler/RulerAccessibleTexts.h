#pragma once
// What a screen reader says for the ruler.

#include <string>

#include "ruler/MonitorDpi.h"
#include "ruler/RulerScale.h"

// The ruler's name.
inline constexpr const char* RulerAccessibleName = "Vindle ruler";

// The ruler's value: its length (`rulerLength` pixels, the whole window as presets and the
// copied length count it, magnifier included) and, while the cursor line is on the scale,
// the cursor's position as the cursor label shows it (along the ruler from where the scale
// starts, or on the screen), both in the active unit with its label: "length 400 px, cursor
// at 187 px". A ruler without a scale measures in pixels; the decimal point is always '.'.
std::string RulerAccessibleValue(const TRulerScaleInput& input, int rulerLength);

// The ruler's description: for a physical unit, what its resolution rests on ("cm,
// calibrated", "in, from the monitor's reported size"); empty for pixels and no scale.
std::string RulerAccessibleDescription(int scaleUnit, TResolutionBasis basis);
