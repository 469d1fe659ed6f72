#pragma once
// The colour settings read the way the tools use them: the formats as values, the recent
// colours as colours. A damaged settings file can hold anything in these elements; what
// cannot be read is passed over, and the default format falls back to HEX.

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
