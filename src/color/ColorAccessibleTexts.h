#pragma once
// What a screen reader says for the colour and cursor tools: the colour of a colour box and
// the cursor position of the coordinates window, as short plain texts.

#include <cstdint>
#include <string>

#include "base/QorvelTypes.h"

// The name of a system colour ("button face", "window text"), or "" for an ordinary colour
// and for an index the system does not define.
std::string SystemColorName(TColor color);

// A colour box's value: the colour as the screen shows it in the "#RRGGBB" form (or as
// `shownText`, the user's chosen format, when given), followed by the name of the system
// colour it stands for: "#FF0000", "#F0F0F0, button face". `shown` is `color` with a
// system colour resolved.
std::string ColorAccessibleValue(TColor color, TColor shown, const std::string& shownText = {});

// The coordinates window's value, in the screen pixels its labels show: "x 123, y -456".
std::string CursorAccessibleValue(int x, int y);

// What the coordinates window's swatch shows: "color #1E90FF", or "" when the screen could
// not be read there.
std::string CursorColorDescription(std::uint32_t sampledColorRef);
