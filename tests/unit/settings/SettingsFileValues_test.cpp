// The text of single values in the settings file: what is written, what is read back, and
// what reading forgives or refuses.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "settings/ApplicationSettings.h"
#include "settings/QorvelSettingsValues.h"

namespace {

constexpr double Millisecond = 1.0 / 86'400'000;

TEST(SettingsFileValueText, ColorsHaveSixDigitsOrEightForSystemColors) {
  EXPECT_EQ(QorvelColorText(0x0000FF, 0), "0000FFh");
  EXPECT_EQ(QorvelColorText(0, 0), "000000h");
  EXPECT_EQ(QorvelColorText(0xFFFFFF, 0), "FFFFFFh");
  EXPECT_EQ(QorvelColorText(0x8000000F, 0), "8000000Fh");
  EXPECT_EQ(QorvelColorText(0x01000000, -3), "01000000h");
  EXPECT_EQ(QorvelColorText(0xAB, 4), "00ABh");
  EXPECT_EQ(QorvelColorText(0xABCDEF, 2), "ABCDEFh");
}

TEST(SettingsFileValueText, FloatsHaveFifteenDigitsAndAFourDigitExponent) {
  EXPECT_EQ(QorvelFloatText(65), "6.50000000000000E+0001");
  EXPECT_EQ(QorvelFloatText(-0.00125), "-1.25000000000000E-0003");
  EXPECT_EQ(QorvelFloatText(0), "0.00000000000000E+0000");
  EXPECT_EQ(QorvelFloatText(1e300), "1.00000000000000E+0300");
  EXPECT_EQ(QorvelFloatText(1.0 / 3), "3.33333333333333E-0001");
}

TEST(SettingsFileValueText, ShortDateTimesAreDurationsInTotalHours) {
  EXPECT_EQ(QorvelDateTimeText(0), "0:00:00.000");
  EXPECT_EQ(QorvelDateTimeText((2 * 3600 + 3 * 60 + 4) / 86400.0 + 5 * Millisecond), "2:03:04.005");
  EXPECT_EQ(QorvelDateTimeText(1 + 2 / 24.0), "26:00:00.000");
  EXPECT_EQ(QorvelDateTimeText(4166.5), "99996:00:00.000");
  // Rounding to the millisecond carries into the next day rather than dropping it.
  EXPECT_EQ(QorvelDateTimeText(1 - Millisecond / 4), "24:00:00.000");
  EXPECT_EQ(QorvelDateTimeText(-1.5), "-36:00:00.000");
  EXPECT_EQ(QorvelDateTimeText(-1e-12), "0:00:00.000");
  // Just below the limit the rounded value is the limit itself, which is a date.
  EXPECT_EQ(QorvelDateTimeText(QorvelDurationLimit - Millisecond / 4), "1911/05/28 15:50:24");
  EXPECT_EQ(QorvelDateTimeText(QorvelDurationLimit - Millisecond), "99999:50:23.999");
}

TEST(SettingsFileValueText, LongDateTimesAreCalendarDates) {
  // 2004-03-07 is day 38053 after 1899-12-30.
  EXPECT_EQ(QorvelDateTimeText(38053 + (14 * 3600 + 5 * 60 + 9) / 86400.0), "2004/03/07 14:05:09");
  EXPECT_EQ(QorvelDateTimeText(QorvelDurationLimit), "1911/05/28 15:50:24");
  EXPECT_EQ(QorvelDateTimeText(2958465.5), "9999/12/31 12:00:00");
  // Beyond the year 9999 no date can show the value; it is kept as a number.
  EXPECT_EQ(QorvelDateTimeText(2958466.25), "2.95846625000000E+0006");
  EXPECT_EQ(QorvelDateTimeText(-2958466.25), "-2.95846625000000E+0006");
}

TEST(SettingsFileValueText, SetsListTheirMembersInMemberOrder) {
  EXPECT_EQ(QorvelSetText(0b1111, MiniButtonTypeInfo), "mbClose,mbRotate,mbFlip,mbTurn");
  EXPECT_EQ(QorvelSetText(0b1000001, MiniButtonTypeInfo), "mbClose,mbMagnifier");
  EXPECT_EQ(QorvelSetText(0, MiniButtonTypeInfo), "");
}

TEST(SettingsFileValueRead, IntegersAreTrimmedDecimalOrHexadecimalEndingInH) {
  EXPECT_EQ(QorvelParseInteger(u"  42\t").Value, 42);
  EXPECT_EQ(QorvelParseInteger(u"-2147483648").Value, INT32_MIN);
  EXPECT_EQ(QorvelParseInteger(u"+7").Value, 7);
  EXPECT_EQ(QorvelParseInteger(u"A0FFFFh").Value, 0xA0FFFF);
  EXPECT_EQ(QorvelParseInteger(u"a0ffffh").Value, 0xA0FFFF);
  EXPECT_EQ(QorvelParseInteger(u"8000000Fh").Value, static_cast<std::int32_t>(0x8000000F));
  EXPECT_EQ(QorvelParseInteger(u"FFFFFFFFh").Value, -1);
  EXPECT_EQ(QorvelParseInteger(u"0000000000FFh").Value, 0xFF);
  EXPECT_TRUE(QorvelParseInteger(u" 12 ").Valid());
}

TEST(SettingsFileValueRead, MalformedIntegersAreRefusedWithACode) {
  EXPECT_EQ(QorvelParseInteger(u"GGh").Code, -1);
  EXPECT_EQ(QorvelParseInteger(u"h").Code, -1);
  EXPECT_EQ(QorvelParseInteger(u"1FFFFFFFFh").Code, -1);
  EXPECT_EQ(QorvelParseInteger(u"-1h").Code, -1);
  // An upper-case H does not make it hexadecimal.
  EXPECT_EQ(QorvelParseInteger(u"FFH").Code, 1);
  EXPECT_EQ(QorvelParseInteger(u"abc").Code, 1);
  EXPECT_EQ(QorvelParseInteger(u"12x").Code, 3);
  EXPECT_EQ(QorvelParseInteger(u"2147483648").Code, 10);
  EXPECT_NE(QorvelParseInteger(u"").Code, 0);
  EXPECT_NE(QorvelParseInteger(u"-").Code, 0);
  EXPECT_NE(QorvelParseInteger(u"1 2").Code, 0);
  EXPECT_NE(QorvelParseInteger(u"\u0661").Code, 0);  // an Arabic-Indic digit is no digit here
}

TEST(SettingsFileValueRead, Int64CoversTheFullRange) {
  EXPECT_EQ(QorvelParseInt64(u" -9223372036854775808 ").Value, INT64_MIN);
  EXPECT_EQ(QorvelParseInt64(u"9223372036854775807").Value, INT64_MAX);
  EXPECT_NE(QorvelParseInt64(u"9223372036854775808").Code, 0);
  EXPECT_NE(QorvelParseInt64(u"5h").Code, 0);
}

TEST(SettingsFileValueRead, DurationsCountHoursBeyondADay) {
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u"26:00:00.000").Value, 1 + 2 / 24.0);
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u"2:03:04.005").Value, (2 * 3600 + 3 * 60 + 4) / 86400.0 + 5 * Millisecond);
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u" 0:00:01 ").Value, 1 / 86400.0);
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u"5:30").Value, 5.5 / 24);
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u"-36:00:00.000").Value, -1.5);
  EXPECT_FALSE(QorvelParseFloat(u"1:60:00").Valid());
  EXPECT_FALSE(QorvelParseFloat(u"1:00:60").Valid());
}

TEST(SettingsFileValueRead, DatesNeedSlashesAtTheirPlacesAndARealDay) {
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u"2004/03/07 14:05:09").Value, 38053 + (14 * 3600 + 5 * 60 + 9) / 86400.0);
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u"2004/03/07").Value, 38053);
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u"1899/12/30 00:00:00").Value, 0);
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u"2000/02/29 00:00:00").Value, 36585);
  EXPECT_FALSE(QorvelParseFloat(u"2001/02/29 00:00:00").Valid());
  EXPECT_FALSE(QorvelParseFloat(u"2004/13/07 14:05:09").Valid());
  EXPECT_FALSE(QorvelParseFloat(u"2004/03/07 24:00:00").Valid());
  EXPECT_FALSE(QorvelParseFloat(u"abcd/03/07 14:05:09").Valid());
}

TEST(SettingsFileValueRead, OtherFloatsAreDecimalWithAPointAndAnExponent) {
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u"6.50000000000000E+0001").Value, 65);
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u"-1.25E-3").Value, -0.00125);
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u"+.5").Value, 0.5);
  EXPECT_DOUBLE_EQ(QorvelParseFloat(u"  7 ").Value, 7);
  for (const char16_t* bad : {u"6,5", u"", u"1e", u"0x10", u"inf", u"NAN", u"1e999", u"12abc", u"--1"})
    EXPECT_FALSE(QorvelParseFloat(bad).Valid()) << QorvelUtf8(bad);
}

TEST(SettingsFileValueRead, WrittenDateTimesReadBackToTheWrittenText) {
  for (const double value : {0.0, 1.0 / 3, 12.3456789, 4166.659, 4166.67, 38053.587, 2958465.99, -2.25, 3e6}) {
    const std::string text = QorvelDateTimeText(value);
    const TQorvelReadValue<double> read = QorvelParseFloat(std::u16string(text.begin(), text.end()));
    ASSERT_TRUE(read.Valid()) << text;
    EXPECT_EQ(QorvelDateTimeText(read.Value), text);
    EXPECT_NEAR(read.Value, value, 1.0 / 86400) << text;
  }
}

TEST(SettingsFileValueRead, IdentifiersMatchInAnyLetterCase) {
  EXPECT_EQ(QorvelParseEnumeration(u"true", BooleanTypeInfo), 1);
  EXPECT_EQ(QorvelParseEnumeration(u" PBMKEEPRECENT ", SettingsBackupModeTypeInfo), 2);
  try {
    QorvelParseEnumeration(u"yes", BooleanTypeInfo);
    FAIL() << "an unknown identifier was accepted";
  } catch (const EQorvelSettingsError& error) {
    EXPECT_STREQ(error.what(), "Invalid property element: yes");
  }
  EXPECT_THROW(QorvelParseEnumeration(u"", BooleanTypeInfo), EQorvelSettingsError);
}

TEST(SettingsFileValueRead, SetsAcceptBracketsCommasAndSpaces) {
  EXPECT_EQ(QorvelParseSet(u"mbClose,mbRotate,mbFlip,mbTurn", MiniButtonTypeInfo), 0b1111u);
  EXPECT_EQ(QorvelParseSet(u"[mbMagnifier, mbclose]", MiniButtonTypeInfo), 0b1000001u);
  EXPECT_EQ(QorvelParseSet(u"mbFlip,,  mbFlip", MiniButtonTypeInfo), 0b100u);
  EXPECT_EQ(QorvelParseSet(u"", MiniButtonTypeInfo), 0u);
  EXPECT_EQ(QorvelParseSet(u"[]", MiniButtonTypeInfo), 0u);
  // A list spread over lines by hand still reads.
  EXPECT_EQ(QorvelParseSet(u"\r\n\t\tmbTurn\r\n\t", MiniButtonTypeInfo), 0b1000u);
  try {
    QorvelParseSet(u"mbClose,mbOpen", MiniButtonTypeInfo);
    FAIL() << "an unknown member was accepted";
  } catch (const EQorvelSettingsError& error) {
    EXPECT_STREQ(error.what(), "Invalid property element: mbOpen");
  }
}

TEST(SettingsFileValueRead, NumberedElementsNeedAWholeNumberInRange) {
  EXPECT_EQ(QorvelElementIndex(u"0", 3), 0);
  EXPECT_EQ(QorvelElementIndex(u"2", 3), 2);
  EXPECT_EQ(QorvelElementIndex(u"3", 3), -1);
  EXPECT_EQ(QorvelElementIndex(u"-1", 3), -1);
  EXPECT_EQ(QorvelElementIndex(u"one", 3), -1);
  EXPECT_EQ(QorvelElementIndex(u"", 3), -1);
  EXPECT_EQ(QorvelElementIndex(u"99999999999", 3), -1);
}

TEST(SettingsFileText, NarrowTextComesBackByteForByteOrAsTheCharactersMeant) {
  // Written byte by byte from UTF-8: the same bytes again.
  EXPECT_EQ(QorvelNarrowText(u"B\u00C3\u00BCro"), "B\xC3\xBCro");
  // A Latin-1 hand edit ("&#xFC;") is not UTF-8 as bytes: it is the character.
  EXPECT_EQ(QorvelNarrowText(u"B\u00FCro"), "B\xC3\xBCro");
  EXPECT_EQ(QorvelNarrowText(u"5 \u20AC"), "5 \xE2\x82\xAC");
  EXPECT_EQ(QorvelNarrowText(u"plain & <simple>"), "plain & <simple>");
}

TEST(SettingsFileText, Utf8CoversSurrogatePairsAndReplacesLoneOnes) {
  EXPECT_EQ(QorvelUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(QorvelUtf8(std::u16string(1, char16_t{0xD800}) + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(QorvelUtf8(u"\u00E9\u20AC"), "\xC3\xA9\xE2\x82\xAC");
}

}  // namespace
