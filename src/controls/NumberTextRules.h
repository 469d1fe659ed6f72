#pragma once
// Text rules of the numeric edit fields: which characters a field takes, how a value is
// written and read back, and what the field shows after it was left. The Win32 field only
// moves text between the edit control and these functions, so every rule is testable here.
// Strings are UTF-8; the decimal separator comes from the caller (the user's locale).

#include <optional>
#include <string>
#include <string_view>

enum TQorvelNumEditOption : unsigned {
  pneFixLength = 1u << 0,       // pad with leading zeros to the maximum length
  pneEmptyAllowed = 1u << 1,    // an empty field is valid and means the default value
  pneSpecialAllowed = 1u << 2,  // the placeholder character is valid and means the default value
};
using TQorvelNumEditOptions = unsigned;

template <typename TValue>
struct TQorvelParsed {
  bool Ok = false;
  TValue Value{};  // on failure: what the parser reached
};

// The common state both kinds of field read their text with.
struct TQorvelNumTextRules {
  TQorvelNumEditOptions Options = 0;
  char SpecialChar = '*';
  bool Has(TQorvelNumEditOption option) const { return (Options & option) != 0; }
  bool IsSpecial(std::string_view text) const { return text.size() == 1 && text[0] == SpecialChar; }
};

std::string_view TrimSpaces(std::string_view text);

// What a paste puts into a field: `Text` in place of the selection, or of the whole text.
struct TQorvelPaste {
  std::string Text;
  bool WholeText = false;
};

// The value in the range nearest to zero.
template <typename TValue>
TValue NumDefaultValue(TValue minValue, TValue maxValue) {
  if (minValue > 0) return minValue;
  if (maxValue < 0) return maxValue;
  return 0;
}

struct TQorvelIntRules : TQorvelNumTextRules {
  int MinValue = 0;
  int MaxValue = 100;
  int Base = 10;  // 2..16

  int DefaultValue() const { return NumDefaultValue(MinValue, MaxValue); }
  int Clamp(long long value) const;
  int MaxLength() const;  // the longer of the texts of MinValue and MaxValue
  std::string Format(int value) const;
  TQorvelParsed<int> Parse(std::string_view text) const;
  bool IsValid(std::string_view text) const;
  bool IsDefault(std::string_view text) const;
  // May turn the key to upper case. `wholeTextReplaced`: the text is empty or all selected.
  bool AcceptsChar(char32_t& key, bool wholeTextReplaced) const;
};

struct TQorvelFloatRules : TQorvelNumTextRules {
  TQorvelFloatRules() { Options = pneFixLength; }
  double MinValue = 0.0;
  double MaxValue = 100.0;
  int Digits = 2;  // 0..10
  char DecimalSeparator = '.';
  static constexpr int MaxLength = 17;

  double DefaultValue() const { return NumDefaultValue(MinValue, MaxValue); }
  double Clamp(double value) const;
  std::string Format(double value) const;
  TQorvelParsed<double> Parse(std::string_view text) const;
  bool IsValid(std::string_view text) const;
  bool IsDefault(std::string_view text) const;
  bool AcceptsChar(char32_t key, bool wholeTextReplaced) const;
};

// What a field shows after it was left with `text`: nothing to do (nullopt) or the new text.
std::optional<std::string> NormalizedText(const TQorvelIntRules& rules, std::string_view text);
std::optional<std::string> NormalizedText(const TQorvelFloatRules& rules, std::string_view text);

// Number conversions shared with the track bars.
// Reads a floating-point number written with `decimalSeparator`: optional sign, digits,
// fraction and exponent; surrounding spaces are ignored, anything else fails.
std::optional<double> ParseFloatText(std::string_view text, char decimalSeparator);
// Fixed-point with `decimals` decimals, or general notation with `precision` significant
// digits and at least `exponentDigits` exponent digits when it needs an exponent.
std::string FormatFixed(double value, int decimals, char decimalSeparator);
std::string FormatGeneral(double value, int precision, int exponentDigits, char decimalSeparator);
