#include "color/ColorPreferences.h"

#include <algorithm>

// Loading holds the stored lists to what the tools keep.
static_assert(RecentColorCount == TColorSettings::RecentLimit);
static_assert(ColorFormatCount <= TColorSettings::FormatLimit);

namespace {

// A blank template would copy nothing: it is not offered until it says something.
bool Usable(const TColorSettings& settings, TColorFormat format) {
  return format != TColorFormat::Template || settings.Template.find_first_not_of(" \t") != std::string::npos;
}

}  // namespace

TColorFormat DefaultColorFormat(const TColorSettings& settings) {
  const std::optional<TColorFormat> format = ColorFormatByIdentifier(settings.DefaultFormat);
  return format && Usable(settings, *format) ? *format : TColorFormat::Hex;
}

std::vector<TColorFormat> OfferedColorFormats(const TColorSettings& settings) {
  std::vector<TColorFormat> formats{DefaultColorFormat(settings)};
  for (const std::string& identifier : settings.Formats) {
    const std::optional<TColorFormat> format = ColorFormatByIdentifier(identifier);
    if (format && Usable(settings, *format) && std::find(formats.begin(), formats.end(), *format) == formats.end())
      formats.push_back(*format);
  }
  return formats;
}

std::string ColorText(const TColorSettings& settings, TColor color, TColorFormat format) {
  return FormatColor(color, format, settings.Template);
}

std::string DefaultColorText(const TColorSettings& settings, TColor color) {
  return ColorText(settings, color, DefaultColorFormat(settings));
}

std::vector<TColor> RecentColors(const TColorSettings& settings) {
  std::vector<TColor> colors;
  // Oldest first, so that remembering each keeps the stored order and drops duplicates.
  for (auto it = settings.Recent.rbegin(); it != settings.Recent.rend(); ++it)
    if (const std::optional<TColor> color = ParseColorText(*it)) RememberRecentColor(colors, *color);
  return colors;
}

void SetRecentColors(TColorSettings& settings, const std::vector<TColor>& colors) {
  settings.Recent.clear();
  for (TColor color : colors) settings.Recent.push_back(FormatColor(color, TColorFormat::Hex));
}

void RememberPick(TColorSettings& settings, TColor color) {
  std::vector<TColor> colors = RecentColors(settings);
  RememberRecentColor(colors, color);
  SetRecentColors(settings, colors);
}

int SampleSize(const TColorSettings& settings) { return ValidSampleSize(settings.SampleSize); }

std::vector<TColorFormatChoice> ColorFormatChoices(const TColorSettings& settings) {
  std::vector<TColorFormatChoice> choices;
  const auto listed = [&choices](TColorFormat format) {
    return std::any_of(choices.begin(), choices.end(), [format](const auto& c) { return c.Format == format; });
  };
  for (const std::string& identifier : settings.Formats)
    if (const std::optional<TColorFormat> format = ColorFormatByIdentifier(identifier); format && !listed(*format))
      choices.push_back({*format, true});
  for (const TColorFormatInfo& info : ColorFormatInfos)
    if (!listed(info.Format)) choices.push_back({info.Format, false});
  return choices;
}

TQorvelStrings EnabledFormatIdentifiers(const std::vector<TColorFormatChoice>& choices) {
  TQorvelStrings identifiers;
  for (const TColorFormatChoice& choice : choices)
    if (choice.Enabled) identifiers.emplace_back(ColorFormatInfo(choice.Format).Identifier);
  return identifiers;
}

std::size_t MoveColorFormatChoice(std::vector<TColorFormatChoice>& choices, std::size_t index, int direction) {
  if (index >= choices.size()) return index;
  const std::size_t target = direction < 0 ? (index == 0 ? 0 : index - 1) : std::min(index + 1, choices.size() - 1);
  std::swap(choices[index], choices[target]);
  return target;
}
