#pragma once
// The small buttons on the ruler's face and their interaction state. Which buttons exist
// (TMiniButton, TMiniButtons) is a settings enumeration; the interaction state is the
// ruler's own.

#include <cstdint>

#include "settings/ApplicationSettings.h"

inline constexpr int MiniButtonCount = 7;

enum class TMiniButtonState : std::uint8_t { mbsNone, mbsHot, mbsDownOutside, mbsDownInside };
