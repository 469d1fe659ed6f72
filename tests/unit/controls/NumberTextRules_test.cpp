#include "controls/NumberTextRules.h"

#include <gtest/gtest.h>

namespace {

TQorvelIntRules IntRange(int minValue, int maxValue, TQorvelNumEditOptions options = 0) {
  TQorvelIntRules rules;
  rules.MinValue = minValue;
  rules.MaxValue = maxValue;
  rules.Options = options;
  return rules;
}

// What a field shows after it was left with `text`.
std::string AfterLeaving(const auto& rules, std::string_view text) {
  return NormalizedText(rules, text).value_or(std::string(text));
}

TEST(IntEditText, LeavingClampsAndReformats) {
  const auto ppi = IntRange(10, 600);
  EXPECT_EQ(AfterLeaving(ppi, "5"), "10");
  EXPECT_EQ(AfterLeaving(ppi, "0"), "10");
  EXPECT_EQ(AfterLeaving(ppi, "96"), "96");
  EXPECT_EQ(AfterLeaving(ppi, " 120 "), "120");
  EXPECT_EQ(ppi.MaxLength(), 3);  // "9999" cannot be typed
  // An empty text fails, 0 is clamped to the minimum.
  EXPECT_EQ(AfterLeaving(IntRange(200, 2000), ""), "200");
  // An invalid character keeps what was read before it.
  EXPECT_EQ(AfterLeaving(IntRange(0, 1000), "12x4"), "12");
  EXPECT_EQ(AfterLeaving(IntRange(-100, 100), "-"), "0");
  EXPECT_EQ(AfterLeaving(IntRange(-100, 100), "-500"), "-100");
}

TEST(IntEditText, FixedLengthPadsAndLeavesRoomForTheSign) {
  EXPECT_EQ(IntRange(5, 100, pneFixLength).Format(32), "032");
  EXPECT_EQ(IntRange(5, 100).Format(32), "32");
  const auto signed50 = IntRange(-50, 50, pneFixLength);
  EXPECT_EQ(signed50.MaxLength(), 3);
  EXPECT_EQ(signed50.Format(7), "07");
  EXPECT_EQ(signed50.Format(-7), "-07");
  EXPECT_EQ(signed50.Format(-50), "-50");
  EXPECT_EQ(AfterLeaving(signed50, "-7"), "-07");
}

TEST(IntEditText, OtherBases) {
  auto hex = IntRange(0, 255);
  hex.Base = 16;
  char32_t key = 'f';
  EXPECT_TRUE(hex.AcceptsChar(key, false));
  EXPECT_EQ(key, U'F');
  key = 'g';
  EXPECT_FALSE(hex.AcceptsChar(key, false));
  EXPECT_EQ(hex.Parse("FF").Value, 255);
  EXPECT_FALSE(hex.Parse("ff").Ok);  // upper case only; typed keys are turned upper case
  EXPECT_EQ(hex.MaxLength(), 2);
  EXPECT_EQ(hex.Format(171), "AB");
  auto binary = IntRange(-5, 5, pneFixLength);
  binary.Base = 2;
  EXPECT_EQ(binary.MaxLength(), 4);
  EXPECT_EQ(binary.Format(1), "001");
  EXPECT_EQ(binary.Format(-1), "-001");
}

TEST(IntEditText, AcceptedCharacters) {
  auto rules = IntRange(0, 100);
  char32_t key;
  EXPECT_TRUE(rules.AcceptsChar(key = '7', false));
  EXPECT_FALSE(rules.AcceptsChar(key = '-', false));  // no negative values in range
  EXPECT_TRUE(rules.AcceptsChar(key = '\b', false));
  EXPECT_FALSE(rules.AcceptsChar(key = '\r', false));
  EXPECT_FALSE(rules.AcceptsChar(key = '*', true));
  EXPECT_FALSE(rules.AcceptsChar(key = U'\u00E9', false));
  rules.MinValue = -1;
  EXPECT_TRUE(rules.AcceptsChar(key = '-', false));
  rules.Options = pneSpecialAllowed;
  EXPECT_TRUE(rules.AcceptsChar(key = '*', true));
  EXPECT_FALSE(rules.AcceptsChar(key = '*', false));  // after a digit
}

TEST(IntEditText, EmptyAndPlaceholder) {
  const auto empty = IntRange(10, 600, pneEmptyAllowed);
  EXPECT_EQ(NormalizedText(empty, ""), std::nullopt);
  EXPECT_TRUE(empty.IsValid(""));
  EXPECT_EQ(empty.Parse("").Value, 10);
  EXPECT_EQ(NormalizedText(empty, "abc"), std::string());  // invalid text is cleared
  EXPECT_FALSE(IntRange(10, 600).IsValid(""));

  const auto special = IntRange(-20, -5, pneSpecialAllowed);
  EXPECT_EQ(NormalizedText(special, "*"), std::nullopt);
  EXPECT_TRUE(special.IsValid("*"));
  EXPECT_EQ(special.Parse("*").Value, -5);  // the value nearest to zero
  EXPECT_FALSE(IntRange(0, 9).IsValid("*"));
  EXPECT_EQ(AfterLeaving(IntRange(0, 9), "*"), "0");
}

TEST(IntEditText, ValidityAndDefault) {
  const auto rules = IntRange(10, 600);
  EXPECT_TRUE(rules.IsValid("600"));
  EXPECT_FALSE(rules.IsValid("601"));
  EXPECT_FALSE(rules.IsValid("9"));
  EXPECT_FALSE(rules.IsValid("1a"));
  EXPECT_TRUE(rules.IsDefault("10"));
  EXPECT_TRUE(rules.IsDefault(""));
  EXPECT_FALSE(rules.IsDefault("11"));
  EXPECT_EQ(NumDefaultValue(-10, 10), 0);
  EXPECT_EQ(NumDefaultValue(-10, -3), -3);
}

TEST(IntEditText, PastedOverlongNumbersDoNotOverflow) {
  const auto rules = IntRange(-1000, 1000);
  const auto huge = rules.Parse("99999999999999999999999");
  EXPECT_FALSE(huge.Ok);
  EXPECT_EQ(AfterLeaving(rules, "99999999999999999999999"), "1000");
  EXPECT_EQ(AfterLeaving(rules, "-99999999999999999999999"), "-1000");
}

TEST(FloatEditText, FormatsAndClamps) {
  TQorvelFloatRules rules;  // fixed length with 2 digits by default
  EXPECT_EQ(rules.Format(3.14159), "3.14");
  EXPECT_EQ(rules.Format(2.5), "2.50");
  rules.DecimalSeparator = ',';
  EXPECT_EQ(rules.Format(3.14159), "3,14");
  EXPECT_EQ(AfterLeaving(rules, "1,005"), "1,01");
  EXPECT_EQ(AfterLeaving(rules, "250"), "100,00");
  EXPECT_EQ(AfterLeaving(rules, "1.5"), "0,00");  // a point is no separator here
  rules.Options = 0;
  EXPECT_EQ(rules.Format(3.25), "3,25");
  EXPECT_EQ(rules.Format(0.1 + 0.2), "0,3");
}

TEST(FloatEditText, AcceptedCharactersFollowTheSeparator) {
  TQorvelFloatRules rules;
  rules.DecimalSeparator = ',';
  EXPECT_TRUE(rules.AcceptsChar(',', false));
  EXPECT_FALSE(rules.AcceptsChar('.', false));
  EXPECT_FALSE(rules.AcceptsChar('-', false));
  EXPECT_FALSE(rules.AcceptsChar('e', false));
  rules.MinValue = -1;
  EXPECT_TRUE(rules.AcceptsChar('-', false));
}

TEST(NumberConversions, ParseFloatText) {
  EXPECT_EQ(ParseFloatText(" 1.5 ", '.'), 1.5);
  EXPECT_EQ(ParseFloatText("-2", '.'), -2.0);
  EXPECT_EQ(ParseFloatText("+.5", '.'), 0.5);
  EXPECT_EQ(ParseFloatText("1e3", '.'), 1000.0);
  EXPECT_EQ(ParseFloatText("3,75", ','), 3.75);
  for (const char* bad : {"", "-", ".", "1.2.3", "1e", "abc", "1 2", "1e999", "0x10", "nan"})
    EXPECT_EQ(ParseFloatText(bad, '.'), std::nullopt) << bad;
}

TEST(NumberConversions, FixedNotationRoundsInDecimal) {
  EXPECT_EQ(FormatFixed(999.999, 2, '.'), "1000.00");  // the carry reaches a new digit
  EXPECT_EQ(FormatFixed(0.125, 2, '.'), "0.13");
  EXPECT_EQ(FormatFixed(-0.001, 2, '.'), "0.00");  // no negative zero
  EXPECT_EQ(FormatFixed(-2.5, 0, '.'), "-3");
  EXPECT_EQ(FormatFixed(0.0004, 3, '.'), "0.000");
  EXPECT_EQ(FormatFixed(1234567.891, 10, '.'), "1234567.8910000000");  // 15 significant digits
  EXPECT_EQ(FormatFixed(1e20, 2, '.'), "1E+20");                       // too long for fixed notation
}

TEST(NumberConversions, GeneralNotation) {
  EXPECT_EQ(FormatGeneral(300, 7, 2, '.'), "300");
  EXPECT_EQ(FormatGeneral(0.5, 7, 2, ','), "0,5");
  EXPECT_EQ(FormatGeneral(-1.25, 7, 2, '.'), "-1.25");
  EXPECT_EQ(FormatGeneral(1.0 / 3.0, 7, 2, '.'), "0.3333333");
  EXPECT_EQ(FormatGeneral(12345678, 7, 2, '.'), "1.234568E+07");
  EXPECT_EQ(FormatGeneral(0.000001, 7, 2, '.'), "1E-06");
  EXPECT_EQ(FormatGeneral(0, 7, 2, '.'), "0");
}

}  // namespace
