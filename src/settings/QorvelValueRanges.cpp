#include "settings/QorvelValueRanges.h"

#include <algorithm>

#include "settings/QorvelSettings.h"

std::int32_t TQorvelValueRange::Held(std::int32_t value, std::int32_t fallback) const {
  switch (Kind) {
    case TKind::Between: return std::clamp(value, Min, std::max(Min, Max));
    case TKind::Choice:
      if (Values.empty()) return value >= Min && value <= Max ? value : fallback;
      return std::find(Values.begin(), Values.end(), value) != Values.end() ? value : fallback;
    case TKind::LowBit: return value & 1;
    case TKind::AtMost: break;
  }
  return value;
}

std::string TQorvelValueRange::Held(std::string text) const {
  if (Kind != TKind::AtMost) return text;
  // Counted as the dialog's edit field counts: a character beyond the basic plane takes two.
  std::int64_t units = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) continue;  // inside a character
    units += byte >= 0xF0 ? 2 : 1;
    if (units > Max) {
      text.resize(i);
      break;
    }
  }
  return text;
}

std::vector<std::string> TQorvelValueRange::Held(std::vector<std::string> list) const {
  const auto limit = static_cast<std::size_t>(std::max(Max, 0));
  if (Kind == TKind::AtMost && list.size() > limit) list.resize(limit);
  return list;
}

// ---- The property tables' side -------------------------------------------------------------

namespace {

TQorvelPropertyInfo WithRange(TQorvelPropertyInfo&& row, TQorvelValueRange range) {
  row.Range = std::move(range);
  return std::move(row);
}

void HoldProperty(const TQorvelPropertyInfo& property, TQorvelSettings& settings) {
  const TQorvelValueRange& range = *property.Range;
  if (!property.HasGetter() || !property.HasSetter()) return;
  if (property.Kind == TQorvelTypeKind::Integer) {
    const std::int32_t value = property.GetOrdinal(settings);
    const std::int32_t held = range.Held(value, property.Default.value_or(range.Min));
    if (held != value) property.SetOrdinal(settings, held);
  } else if (property.Kind == TQorvelTypeKind::String) {
    std::string value = property.GetString(settings);
    if (std::string held = range.Held(value); held != value) property.SetString(settings, std::move(held));
  } else if (property.IsStringList()) {
    TQorvelStrings value = property.GetStrings(settings);
    const std::size_t size = value.size();
    if (TQorvelStrings held = range.Held(std::move(value)); held.size() != size)
      property.SetStrings(settings, std::move(held));
  }
}

}  // namespace

TQorvelPropertyInfo TQorvelPropertyInfo::Between(std::int32_t min, std::int32_t max) && {
  return WithRange(std::move(*this), {TQorvelValueRange::TKind::Between, min, max, {}});
}

TQorvelPropertyInfo TQorvelPropertyInfo::Choice(std::int32_t count) && {
  return WithRange(std::move(*this), {TQorvelValueRange::TKind::Choice, 0, count - 1, {}});
}

TQorvelPropertyInfo TQorvelPropertyInfo::OneOf(std::vector<std::int32_t> values) && {
  return WithRange(std::move(*this), {TQorvelValueRange::TKind::Choice, 0, 0, std::move(values)});
}

TQorvelPropertyInfo TQorvelPropertyInfo::LowBit() && {
  return WithRange(std::move(*this), {TQorvelValueRange::TKind::LowBit, 0, 1, {}});
}

TQorvelPropertyInfo TQorvelPropertyInfo::AtMost(std::int32_t count) && {
  return WithRange(std::move(*this), {TQorvelValueRange::TKind::AtMost, 0, count, {}});
}

void QorvelHoldToRanges(TQorvelSettings& settings) {
  for (const TQorvelPropertyInfo& property : settings.ClassType().Properties())
    if (property.Range) HoldProperty(property, settings);
  for (TQorvelSettings* child : settings.Children()) QorvelHoldToRanges(*child);
}
