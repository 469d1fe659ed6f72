#pragma once
// Geometry of the wizard control and its page headers, in 96-dpi units.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "base/QorvelTypes.h"

inline constexpr int WizardButtonPanelHeight = 40;
inline constexpr int WizardButtonHeight = 25;
inline constexpr int WizardButtonTop = 8;
inline constexpr int HeaderHeight = 33;
inline constexpr int HeaderIndent = 4;
inline constexpr int HeaderGradientColumn = 4;

// Back, Next and Cancel in the bottom panel of a wizard `width` wide, in wizard
// coordinates; the panel itself is the last 40 units of `height`.
std::array<TRect, 3> WizardButtonRects(int width, int height, int buttonWidth);
// The page area above the button panel.
TRect WizardPageRect(int width, int height);

struct THeaderColumn {
  int Left = 0, Right = 0;
  TColor Color = 0;
  friend bool operator==(const THeaderColumn&, const THeaderColumn&) = default;
};
// The header's horizontal gradient from `left` to `right` (both 0x00BBGGRR) in columns of
// four pixels; a display of 14 bits per pixel or less gets one plain column of `right`.
std::vector<THeaderColumn> HeaderGradient(int width, TColor left, TColor right, int bitsPerPixel);

// A path shortened to fit: the drive or share and the last folders stay, the middle gives
// way to "...". `fits` answers whether a text fits the room; the result always fits when
// anything does (at worst "...\" + the last name, cut from the left).
std::wstring ShortenPath(const std::wstring& path, const std::function<bool(const std::wstring&)>& fits);
