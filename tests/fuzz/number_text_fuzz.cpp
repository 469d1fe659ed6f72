// Fuzz target for the number texts a user or a file can hand the program: the integer and
// float values of the settings file, and the text of the numeric edit fields. Beyond "no
// crash, leak or hang" it checks on every input:
//  - a number read from the settings file reads back unchanged from the text the writer
//    gives it (integers exactly, colours exactly, floats to their 15 written digits);
//  - what a numeric field shows after it was left is a fixed point: leaving it again changes
//    nothing, and that text is valid unless the field allows an empty text;
//  - a float the field accepted reads back from its general notation.
//
// The first bytes choose the field's rules, the rest is the text.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "controls/NumberTextRules.h"
#include "settings/QorvelSettingsValues.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::u16string Latin1(std::string_view text) {
  std::u16string out;
  for (const char c : text) out += static_cast<char16_t>(static_cast<unsigned char>(c));
  return out;
}

bool Close(double a, double b) { return a == b || std::fabs(a - b) <= 1e-14 * std::max(std::fabs(a), std::fabs(b)); }

void CheckSettingsNumbers(std::string_view text) {
  const std::u16string wide = Latin1(text);

  const auto integer = QorvelParseInteger(wide);
  if (integer.Valid()) {
    Check(QorvelParseInteger(Latin1(std::to_string(integer.Value))).Value == integer.Value);
    const auto color = QorvelParseInteger(Latin1(QorvelColorText(static_cast<TColor>(integer.Value), 0)));
    Check(color.Valid() && color.Value == integer.Value);
  }

  const auto int64 = QorvelParseInt64(wide);
  if (int64.Valid()) {
    const auto back = QorvelParseInt64(Latin1(std::to_string(int64.Value)));
    Check(back.Valid() && back.Value == int64.Value);
  }

  const auto number = QorvelParseFloat(wide);
  if (number.Valid() && std::isfinite(number.Value)) {
    const auto back = QorvelParseFloat(Latin1(QorvelFloatText(number.Value)));
    Check(back.Valid() && Close(back.Value, number.Value));
    // Whatever the writer makes of a date-time must read again (the value may round).
    QorvelParseFloat(Latin1(QorvelDateTimeText(number.Value)));
  }
}

template <typename TRules>
void CheckLeaving(const TRules& rules, std::string_view text) {
  const auto shown = NormalizedText(rules, text);
  if (!shown) return;
  if (shown->empty()) {
    Check(rules.Has(pneEmptyAllowed));
    return;
  }
  Check(rules.Parse(*shown).Ok);
  const auto again = NormalizedText(rules, *shown);
  Check(!again || *again == *shown);
}

void CheckIntField(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::string_view text) {
  TQorvelIntRules rules;
  rules.Options = a & 7u;
  rules.Base = 2 + (a >> 4) % 15;
  constexpr int Bounds[] = {0, 1, -1, 9, 100, -100, 255, 65535, -32768, 1000000, 2147483647, -2147483647 - 1};
  const int first = Bounds[b % std::size(Bounds)], second = Bounds[c % std::size(Bounds)];
  rules.MinValue = std::min(first, second);
  rules.MaxValue = std::max(first, second);
  const auto parsed = rules.Parse(text);
  Check(rules.IsValid(text) == (parsed.Ok && parsed.Value >= rules.MinValue && parsed.Value <= rules.MaxValue));
  const std::string formatted = rules.Format(rules.Clamp(parsed.Value));
  const auto back = rules.Parse(formatted);
  Check(back.Ok && back.Value == rules.Clamp(parsed.Value));
  CheckLeaving(rules, text);
}

void CheckFloatField(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::string_view text) {
  TQorvelFloatRules rules;
  rules.Options = a & 7u;
  rules.Digits = (a >> 3) % 11;
  rules.DecimalSeparator = (a & 0x80) ? ',' : '.';
  constexpr double Bounds[] = {0.0, 1.0, -1.0, 0.5, 100.0, -100.0, 1e6, -1e6, 1e15, 1e300, 2.54, 0.001};
  const double first = Bounds[b % std::size(Bounds)], second = Bounds[c % std::size(Bounds)];
  rules.MinValue = std::min(first, second);
  rules.MaxValue = std::max(first, second);
  const auto parsed = rules.Parse(text);
  if (parsed.Ok) {
    Check(std::isfinite(parsed.Value));
    const auto back =
        ParseFloatText(FormatGeneral(parsed.Value, 15, 0, rules.DecimalSeparator), rules.DecimalSeparator);
    Check(back && Close(*back, parsed.Value));
  }
  CheckLeaving(rules, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 3, size - 3);
  CheckSettingsNumbers(text);
  CheckIntField(data[0], data[1], data[2], text);
  CheckFloatField(data[0], data[1], data[2], text);
  return 0;
}
