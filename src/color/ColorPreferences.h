#pragma once
// The colour settings read the way the tools use them: the formats as values, the recent
// colours as colours. A damaged settings file can hold anything in these elements; what
// cannot be read is passed over, and the default format falls back to HEX (also for a
// blank template, which is never offered).

#include <vector>

#include "color/ColorFormats.h"
#include "settings/ApplicationSettings.h"

TColorFormat DefaultColorFormat(const TColorSettings& settings);
// What "Copy as" offers: the default first, then the enabled formats in their order, each once.
std::vector<TColorFormat> OfferedColorFormats(const TColorSettings& settings);
// The colour in the default format.
std::string DefaultColorText(const TColorSettings& settings, TColor color);
std::string ColorText(const TColorSettings& settings, TColor color, TColorFormat format);

std::vector<TColor> RecentColors(const TColorSettings& settings);
void SetRecentColors(TColorSettings& settings, const std::vector<TColor>& colors);
// A pick (eyedropper, hotkey, dialog OK) goes first in the recent colours.
void RememberPick(TColorSettings& settings, TColor color);

int SampleSize(const TColorSettings& settings);

// The settings dialog's list of formats: every format once, the enabled ones first in their
// stored order, then the others in their usual order.
struct TColorFormatChoice {
  TColorFormat Format;
  bool Enabled = false;
  friend bool operator==(const TColorFormatChoice&, const TColorFormatChoice&) = default;
};
std::vector<TColorFormatChoice> ColorFormatChoices(const TColorSettings& settings);
// The enabled formats in the list's order, as identifiers.
TQorvelStrings EnabledFormatIdentifiers(const std::vector<TColorFormatChoice>& choices);
// Moves the entry at `index` one place up (-1) or down (+1); answers where it is now.
std::size_t MoveColorFormatChoice(std::vector<TColorFormatChoice>& choices, std::size_t index, int direction);
