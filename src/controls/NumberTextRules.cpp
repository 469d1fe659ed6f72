#include "controls/NumberTextRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";

std::string IntDigits(long long value, int base) {
  unsigned long long magnitude =
      value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[magnitude % static_cast<unsigned>(base)]);
    magnitude /= static_cast<unsigned>(base);
  } while (magnitude);
  return digits;
}

std::string PlainIntText(long long value, int base) { return (value < 0 ? "-" : "") + IntDigits(value, base); }

bool IsControlChar(char32_t key) { return key < 0x20 || key == 0x7F; }

std::string WithSeparator(std::string text, char decimalSeparator) {
  std::replace(text.begin(), text.end(), '.', decimalSeparator);
  return text;
}

// What both kinds of field read from an empty field or the placeholder: the default value
// where the options allow it; nothing for any other (trimmed) text.
template <class TRules, class TValue = decltype(TRules::MinValue)>
std::optional<TQorvelParsed<TValue>> ParsePlaceholder(const TRules& rules, std::string_view trimmed) {
  const auto defaultWhen = [&](TQorvelNumEditOption option) {
    return TQorvelParsed<TValue>{rules.Has(option), rules.Has(option) ? rules.DefaultValue() : TValue{}};
  };
  if (trimmed.empty()) return defaultWhen(pneEmptyAllowed);
  if (rules.IsSpecial(trimmed)) return defaultWhen(pneSpecialAllowed);
  return std::nullopt;
}

template <class TRules>
bool IsValidText(const TRules& rules, std::string_view text) {
  const auto parsed = rules.Parse(text);
  return parsed.Ok && parsed.Value >= rules.MinValue && parsed.Value <= rules.MaxValue;
}

template <class TRules>
bool IsDefaultText(const TRules& rules, std::string_view text) {
  return TrimSpaces(text).empty() || rules.Parse(text).Value == rules.DefaultValue();
}

// The keys both kinds of field take besides their digits: a minus where the range has
// negative numbers, editing keys except Enter, and the placeholder in place of all text.
bool AcceptsOtherKey(const TQorvelNumTextRules& rules, char32_t key, bool negativeRange, bool wholeTextReplaced) {
  if (key == '-' && negativeRange) return true;
  if (IsControlChar(key)) return key != '\r';
  return rules.Has(pneSpecialAllowed) && key == static_cast<unsigned char>(rules.SpecialChar) && wholeTextReplaced;
}

template <class TRules>
std::optional<std::string> NormalizedTextOf(const TRules& rules, std::string_view text) {
  if (rules.Has(pneSpecialAllowed) && rules.IsSpecial(text)) return std::nullopt;
  if (rules.Has(pneEmptyAllowed) && text.empty()) return std::nullopt;
  const auto parsed = rules.Parse(text);
  if (parsed.Ok || !rules.Has(pneEmptyAllowed)) return rules.Format(rules.Clamp(parsed.Value));
  return std::string();
}

}  // namespace

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

// ---- integer fields ----

int TQorvelIntRules::Clamp(long long value) const {
  return static_cast<int>(std::clamp<long long>(value, MinValue, MaxValue));
}

int TQorvelIntRules::MaxLength() const {
  return static_cast<int>(std::max(PlainIntText(MinValue, Base).size(), PlainIntText(MaxValue, Base).size()));
}

std::string TQorvelIntRules::Format(int value) const {
  const std::string digits = IntDigits(value, Base);
  if (!Has(pneFixLength)) return value < 0 ? "-" + digits : digits;
  const int n = static_cast<int>(digits.size());
  const int zeros = (value < 0 || MinValue < 0) ? MaxLength() - n - 1 : MaxLength() - n;
  const std::string padding(static_cast<std::size_t>(std::max(zeros, 0)), '0');
  return (value < 0 ? "-" : "") + padding + digits;
}

TQorvelParsed<int> TQorvelIntRules::Parse(std::string_view text) const {
  text = TrimSpaces(text);
  if (const auto placeholder = ParsePlaceholder(*this, text)) return *placeholder;
  const bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  // Saturates instead of overflowing: a pasted text may be longer than the field allows.
  constexpr long long kLimit = 1ll << 40;
  long long value = 0;
  bool ok = true;
  for (char c : text) {
    const auto digit = kDigits.find(c);
    if (digit == std::string_view::npos || static_cast<int>(digit) >= Base) {
      ok = false;
      break;
    }
    value = std::min(value * Base + static_cast<long long>(digit), kLimit);
  }
  if (negative) value = -value;
  const long long limited =
      std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  return {ok && limited == value, static_cast<int>(limited)};
}

bool TQorvelIntRules::IsValid(std::string_view text) const { return IsValidText(*this, text); }

bool TQorvelIntRules::IsDefault(std::string_view text) const { return IsDefaultText(*this, text); }

bool TQorvelIntRules::AcceptsChar(char32_t& key, bool wholeTextReplaced) const {
  if (key >= 'a' && key <= 'z') key = key - 'a' + 'A';
  if (key < 0x80) {
    const auto digit = kDigits.find(static_cast<char>(key));
    if (digit != std::string_view::npos && static_cast<int>(digit) < Base) return true;
  }
  return AcceptsOtherKey(*this, key, MinValue < 0, wholeTextReplaced);
}

std::optional<std::string> NormalizedText(const TQorvelIntRules& rules, std::string_view text) {
  return NormalizedTextOf(rules, text);
}

// ---- floating-point fields ----

double TQorvelFloatRules::Clamp(double value) const {
  if (std::isnan(value)) return DefaultValue();
  return std::clamp(value, MinValue, MaxValue);
}

std::string TQorvelFloatRules::Format(double value) const {
  if (Has(pneFixLength)) return FormatFixed(value, Digits, DecimalSeparator);
  return FormatGeneral(value, 15, 0, DecimalSeparator);
}

TQorvelParsed<double> TQorvelFloatRules::Parse(std::string_view text) const {
  text = TrimSpaces(text);
  if (const auto placeholder = ParsePlaceholder(*this, text)) return *placeholder;
  const auto value = ParseFloatText(text, DecimalSeparator);
  return {value.has_value(), value.value_or(0.0)};
}

bool TQorvelFloatRules::IsValid(std::string_view text) const { return IsValidText(*this, text); }

bool TQorvelFloatRules::IsDefault(std::string_view text) const { return IsDefaultText(*this, text); }

bool TQorvelFloatRules::AcceptsChar(char32_t key, bool wholeTextReplaced) const {
  if (key >= '0' && key <= '9') return true;
  if (key == static_cast<unsigned char>(DecimalSeparator)) return true;
  return AcceptsOtherKey(*this, key, MinValue < 0, wholeTextReplaced);
}

std::optional<std::string> NormalizedText(const TQorvelFloatRules& rules, std::string_view text) {
  return NormalizedTextOf(rules, text);
}

// ---- conversions ----

std::optional<double> ParseFloatText(std::string_view text, char decimalSeparator) {
  text = TrimSpaces(text);
  std::string plain;
  std::size_t i = 0;
  auto digitsFrom = [&] {
    const std::size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') plain += text[i++];
    return i - start;
  };
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  std::size_t mantissaDigits = digitsFrom();
  if (i < text.size() && text[i] == decimalSeparator) {
    plain += '.';
    ++i;
    mantissaDigits += digitsFrom();
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) plain += text[i++];
    if (digitsFrom() == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(plain.c_str(), &end);
  if (end != plain.c_str() + plain.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

namespace {

// Keeps the first `keep` of the decimal digits d0 d1 ... (point after d0, times 10^exponent),
// rounding half up; a carry past d0 adds a digit in front.
void RoundDigits(std::string& digits, int& exponent, int keep) {
  if (keep < 0) {
    digits = "0";
    exponent = 0;
    return;
  }
  if (keep >= static_cast<int>(digits.size())) return;
  const bool roundUp = digits[static_cast<std::size_t>(keep)] >= '5';
  digits.resize(static_cast<std::size_t>(keep));
  if (roundUp) {
    int i = keep - 1;
    for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i) digits[static_cast<std::size_t>(i)] = '0';
    if (i >= 0) {
      ++digits[static_cast<std::size_t>(i)];
    } else {
      digits.insert(digits.begin(), '1');
      ++exponent;
    }
  }
  if (digits.empty()) digits = "0", exponent = 0;
}

// The digits laid out around the point, with `decimals` places after it.
std::string LayOutDigits(const std::string& digits, int exponent, int decimals) {
  std::string whole, fraction;
  for (int position = std::max(exponent, 0); position >= -decimals; --position) {
    const int index = exponent - position;
    const char digit =
        index >= 0 && index < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(index)] : '0';
    (position >= 0 ? whole : fraction) += digit;
  }
  return whole + (decimals > 0 ? "." + fraction : "");
}

}  // namespace

std::string FormatFixed(double value, int decimals, char decimalSeparator) {
  if (!std::isfinite(value)) return FormatGeneral(value, 15, 0, decimalSeparator);
  if (std::fabs(value) >= 1e15) return FormatGeneral(value, 15, 0, decimalSeparator);
  decimals = std::clamp(decimals, 0, 18);
  // Round in decimal on the 15 significant digits, so that 1.005 shows as 1.01 as a user
  // expects, and binary noise never shows as digits.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  const std::string scientific = buffer;
  const bool negative = scientific.front() == '-';
  std::string digits;
  for (char c : scientific.substr(0, scientific.find('e')))
    if (c >= '0' && c <= '9') digits += c;
  int exponent = std::atoi(scientific.c_str() + scientific.find('e') + 1);
  RoundDigits(digits, exponent, exponent + 1 + decimals);
  std::string text = LayOutDigits(digits, exponent, decimals);
  if (negative && text.find_first_not_of("0.") != std::string::npos) text.insert(0, "-");  // no "-0.00"
  return WithSeparator(text, decimalSeparator);
}

std::string FormatGeneral(double value, int precision, int exponentDigits, char decimalSeparator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  precision = std::clamp(precision, 1, 18);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, value);
  // buffer: [-]d.ddddde[+-]xx
  std::string text = buffer;
  const auto e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string mantissa = text.substr(0, e);
  const bool negative = mantissa.front() == '-';
  if (negative) mantissa.erase(0, 1);
  std::string digits;
  for (char c : mantissa)
    if (c != '.') digits += c;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string result;
  if (exponent >= precision || exponent < -5) {
    result = digits.substr(0, 1);
    if (digits.size() > 1) result += "." + digits.substr(1);
    std::string exp = std::to_string(std::abs(exponent));
    if (static_cast<int>(exp.size()) < exponentDigits) exp.insert(0, exponentDigits - exp.size(), '0');
    result += std::string("E") + (exponent < 0 ? "-" : "+") + exp;
  } else if (exponent < 0) {
    result = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else {
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      result = digits + std::string(whole - digits.size(), '0');
    } else {
      result = digits.substr(0, whole) + "." + digits.substr(whole);
    }
  }
  return WithSeparator((negative ? "-" : "") + result, decimalSeparator);
}
