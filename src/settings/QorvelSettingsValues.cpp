#include "settings/QorvelSettingsValues.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace {

constexpr std::int64_t MillisecondsPerDay = 86'400'000;

// ---- Calendar ------------------------------------------------------------------------------

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar, and back.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

struct TCivilDate {
  std::int64_t Year;
  int Month;
  int Day;
};

TCivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  return {yearOfEra + era * 400 + (month <= 2), month, day};
}

// TDateTime counts days from 1899-12-30.
const std::int64_t DateTimeEpoch = DaysFromCivil(1899, 12, 30);
// The first day no four-digit year can show.
const std::int64_t FirstUnwritableDay = DaysFromCivil(10000, 1, 1) - DateTimeEpoch;

bool IsLeapYear(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool IsValidDate(std::int64_t year, int month, int day) {
  static constexpr int DaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  return day <= DaysInMonth[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

std::optional<double> TimeOfDay(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return std::nullopt;
  const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<double>(ms) / MillisecondsPerDay;
}

// ---- Plain text helpers --------------------------------------------------------------------

bool IsTrimmed(char16_t c) { return c <= u' '; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);
  return text;
}

// The text as 7-bit ASCII; a character beyond that stands as a byte no number accepts.
std::string Ascii(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char16_t c : text) out += c < 128 ? static_cast<char>(c) : '\x7F';
  return out;
}

// Decimal with an optional sign. Answers 0 and the value, or the 1-based position of the
// character that spoils it (past the end for an empty or sign-only text).
template <class T>
int ParseDecimal(std::string_view text, T& value) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
  if (i == text.size()) return static_cast<int>(i) + 1;
  // Accumulate towards the sign so that the most negative value fits.
  T result = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return static_cast<int>(i) + 1;
    const T digit = c - '0';
    if (negative) {
      if (result < (std::numeric_limits<T>::min() + digit) / 10) return static_cast<int>(i) + 1;
      result = result * 10 - digit;
    } else {
      if (result > (std::numeric_limits<T>::max() - digit) / 10) return static_cast<int>(i) + 1;
      result = result * 10 + digit;
    }
  }
  value = result;
  return 0;
}

// A whole number among the fixed-width fields of dates and durations; `fallback` when the
// field is missing or is not a number.
int FieldOr(std::string_view text, std::size_t start, std::size_t length, int fallback) {
  if (start >= text.size()) return fallback;
  std::string_view field = text.substr(start, length);
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  int value = 0;
  return ParseDecimal(field, value) == 0 ? value : fallback;
}

std::optional<double> ParseDate(std::string_view s) {
  const int year = FieldOr(s, 0, 4, 0);
  const int month = FieldOr(s, 5, 2, 1);
  const int day = FieldOr(s, 8, 2, 1);
  if (!IsValidDate(year, month, day)) return std::nullopt;
  const std::optional<double> time = TimeOfDay(FieldOr(s, 11, 2, 0), FieldOr(s, 14, 2, 0), FieldOr(s, 17, 2, 0), 0);
  if (!time) return std::nullopt;
  return static_cast<double>(DaysFromCivil(year, month, day) - DateTimeEpoch) + *time;
}

// "h:mm:ss.zzz" with any number of hours. A leading "-" marks a negative duration, which is
// how one is written.
std::optional<double> ParseDuration(std::string_view s, std::size_t colon) {
  const bool negative = s[0] == '-';
  const std::size_t hoursStart = negative ? 1 : 0;
  const int hours = FieldOr(s.substr(0, colon), hoursStart, colon - hoursStart, 0);
  if (hours < 0) return std::nullopt;
  const std::optional<double> time =
      TimeOfDay(hours % 24, FieldOr(s, colon + 1, 2, 0), FieldOr(s, colon + 4, 2, 0), FieldOr(s, colon + 7, 3, 0));
  if (!time) return std::nullopt;
  // Whole days from the hours; their remainder is already in the time of day.
  const double value = hours / 24 + *time;  // NOLINT(bugprone-integer-division)
  return negative ? -value : value;
}

std::optional<double> ParseDecimalFloat(std::string_view s) {
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  // from_chars would take these spellings; the file never holds them.
  if (s.empty() || s[0] == '+' || s[0] == 'i' || s[0] == 'I' || s[0] == 'n' || s[0] == 'N') return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
  if (error != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

[[noreturn]] void ThrowInvalidElement(std::u16string_view identifier) {
  throw EQorvelSettingsError("Invalid property element: " + QorvelNarrowText(identifier));
}

bool IsListSeparator(char16_t c) { return c == u',' || c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, code = lead & 0x07;
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    static constexpr std::uint32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < Smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

// ---- Writing -------------------------------------------------------------------------------

std::string QorvelColorText(TColor value, int digits) {
  if (digits <= 0) digits = value <= 0xFFFFFF ? 6 : 8;
  if (digits > 8) digits = 8;
  char text[16];
  std::snprintf(text, sizeof text, "%0*lXh", digits, static_cast<unsigned long>(value));
  return text;
}

std::string QorvelFloatText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 14);
  const std::string_view written(text, static_cast<std::size_t>(result.ptr - text));
  const std::size_t e = written.find('e');
  // to_chars writes at least two exponent digits; the file has four.
  std::string_view exponent = written.substr(e + 2);
  std::string out(written.substr(0, e));
  out += 'E';
  out += written[e + 1];
  out.append(exponent.size() < 4 ? 4 - exponent.size() : 0, '0');
  out += exponent;
  return out;
}

std::string QorvelDateTimeText(TDateTime value) {
  // Far beyond any calendar a duration would not fit its integers either.
  if (!std::isfinite(value) || std::fabs(value) >= static_cast<double>(FirstUnwritableDay))
    return QorvelFloatText(value);
  // Rounding the whole value to milliseconds first carries 23:59:59.9996 into the next day
  // instead of losing it; deciding on the rounded value keeps the choice between duration
  // and date the same when the text is read back.
  const std::int64_t total = std::llround(std::fabs(value) * MillisecondsPerDay);
  static const std::int64_t DurationLimit = std::llround(QorvelDurationLimit * MillisecondsPerDay);
  char text[64];
  if (value < 0 || total < DurationLimit) {
    std::snprintf(text, sizeof text, "%s%lld:%02d:%02d.%03d", value < 0 && total > 0 ? "-" : "",
                  static_cast<long long>(total / 3'600'000), static_cast<int>(total / 60'000 % 60),
                  static_cast<int>(total / 1000 % 60), static_cast<int>(total % 1000));
    return text;
  }
  const std::int64_t days = total / MillisecondsPerDay;
  if (days >= FirstUnwritableDay) return QorvelFloatText(value);
  const std::int64_t ms = total % MillisecondsPerDay;
  const TCivilDate date = CivilFromDays(days + DateTimeEpoch);
  std::snprintf(text, sizeof text, "%04lld/%02d/%02d %02d:%02d:%02d", static_cast<long long>(date.Year), date.Month,
                date.Day, static_cast<int>(ms / 3'600'000), static_cast<int>(ms / 60'000 % 60),
                static_cast<int>(ms / 1000 % 60));
  return text;
}

std::string QorvelSetText(std::uint32_t mask, const TQorvelEnumInfo& memberType) {
  std::string text;
  for (int member = 0; member < memberType.Count() && member < 32; ++member) {
    if (!(mask & (std::uint32_t{1} << member))) continue;
    if (!text.empty()) text += ',';
    text += memberType.IdentifierOf(member);
  }
  return text;
}

// ---- Reading -------------------------------------------------------------------------------

TQorvelReadValue<std::int32_t> QorvelParseInteger(std::u16string_view text) {
  const std::string s = Ascii(Trim(text));
  if (!s.empty() && s.back() == 'h') {
    const std::string_view digits = std::string_view(s).substr(0, s.size() - 1);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (digits.empty() || digits[0] == '-' || error != std::errc() || end != digits.data() + digits.size())
      return {-1, 0};
    return {0, static_cast<std::int32_t>(value)};
  }
  TQorvelReadValue<std::int32_t> result;
  result.Code = ParseDecimal(s, result.Value);
  return result;
}

TQorvelReadValue<std::int64_t> QorvelParseInt64(std::u16string_view text) {
  TQorvelReadValue<std::int64_t> result;
  result.Code = ParseDecimal(Ascii(Trim(text)), result.Value);
  return result;
}

TQorvelReadValue<double> QorvelParseFloat(std::u16string_view text) {
  const std::string s = Ascii(Trim(text));
  std::optional<double> value;
  const std::size_t colon = s.find(':');
  if (s.size() > 9 && s[4] == '/' && s[7] == '/')
    value = ParseDate(s);
  else if (s.size() >= 4 && colon != std::string::npos && colon >= 1)
    value = ParseDuration(s, colon);
  else
    value = ParseDecimalFloat(s);
  if (!value) return {1, 0.0};
  return {0, *value};
}

std::int32_t QorvelParseEnumeration(std::u16string_view text, const TQorvelEnumInfo& type) {
  const std::u16string_view identifier = Trim(text);
  const int ordinal = type.OrdinalOf(QorvelUtf8(identifier));
  if (ordinal < 0) ThrowInvalidElement(identifier);
  return ordinal;
}

std::uint32_t QorvelParseSet(std::u16string_view text, const TQorvelEnumInfo& memberType) {
  if (!text.empty() && text.front() == u'[') text.remove_prefix(1);
  if (!text.empty() && text.back() == u']') text.remove_suffix(1);
  std::uint32_t mask = 0;
  std::size_t i = 0;
  for (;;) {
    while (i < text.size() && IsListSeparator(text[i])) ++i;
    if (i == text.size()) return mask;
    const std::size_t start = i;
    while (i < text.size() && !IsListSeparator(text[i])) ++i;
    const std::u16string_view identifier = text.substr(start, i - start);
    const int ordinal = memberType.OrdinalOf(QorvelUtf8(identifier));
    if (ordinal < 0 || ordinal >= 32) ThrowInvalidElement(identifier);
    mask |= std::uint32_t{1} << ordinal;
  }
}

int QorvelElementIndex(std::u16string_view nameAttribute, int count) {
  int index = 0;
  if (ParseDecimal(Ascii(nameAttribute), index) != 0 || index < 0 || index >= count) return -1;
  return index;
}

// ---- Text ----------------------------------------------------------------------------------

std::string QorvelUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    AppendUtf8(out, code);
  }
  return out;
}

std::string QorvelNarrowText(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (const char16_t c : text) {
    if (c > 0xFF) return QorvelUtf8(text);
    bytes += static_cast<char>(c);
  }
  return IsValidUtf8(bytes) ? bytes : QorvelUtf8(text);
}
