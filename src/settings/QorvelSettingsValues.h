#pragma once
// The text of single values in the settings file, both ways, as pure functions.
//
// Written: integers in decimal, colours as "0000FFh", identifiers and identifier lists,
// date-times as durations "2:03:04.005" or dates "2004/03/07 14:05:09", other floats as
// "6.50000000000000E+0001".
// Read: numbers are forgiving about surrounding white space and never throw; a malformed
// number comes back with a non-zero code so that the property keeps its value. Identifiers
// the type does not know throw, because they mean the file is not ours to interpret.

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/QorvelSettings.h"
#include "settings/QorvelSettingsHandlers.h"
#include "base/QorvelTypes.h"

// Durations below this many days are written as hours:minutes:seconds.milliseconds, longer
// ones as a calendar date and time.
inline constexpr double QorvelDurationLimit = 4166.66;

// ---- Writing -------------------------------------------------------------------------------

// Upper-case hexadecimal followed by "h". digits <= 0: six digits for 0..$FFFFFF, eight
// for anything with the high byte set (system colours).
std::string QorvelColorText(TColor value, int digits);
// Scientific notation, 15 significant digits, four-digit exponent: "6.50000000000000E+0001".
std::string QorvelFloatText(double value);
// A duration below QorvelDurationLimit days, a date and time up to the year 9999, otherwise
// (and for values no calendar holds) a plain float so that nothing is lost.
std::string QorvelDateTimeText(TDateTime value);
// The member identifiers in member order, joined by "," ("mbClose,mbFlip"); empty for none.
std::string QorvelSetText(std::uint32_t mask, const TQorvelEnumInfo& memberType);

// ---- Reading -------------------------------------------------------------------------------

// Trimmed decimal, or hexadecimal when the text ends in a lower-case "h" ("FF0000h", 32-bit
// two's complement). Code -1 for bad hexadecimal, otherwise the 1-based position of the
// first character that spoils the number.
TQorvelReadValue<std::int32_t> QorvelParseInteger(std::u16string_view text);
TQorvelReadValue<std::int64_t> QorvelParseInt64(std::u16string_view text);
// A date "yyyy/mm/dd hh:nn:ss", a duration "h:mm:ss.zzz" or a decimal number with "." and an
// optional exponent. An impossible date or time is invalid (code 1).
TQorvelReadValue<double> QorvelParseFloat(std::u16string_view text);
// Throw EQorvelSettingsError "Invalid property element: x" for an identifier the type does
// not have. Identifiers match case-insensitively.
std::int32_t QorvelParseEnumeration(std::u16string_view text, const TQorvelEnumInfo& type);
// Brackets around the list are optional; identifiers are separated by commas and white space.
std::uint32_t QorvelParseSet(std::u16string_view text, const TQorvelEnumInfo& memberType);

// The index a numbered custom element names in its name attribute ("configuration" "0".."2"):
// a whole number in 0..count-1, or -1 for anything else.
int QorvelElementIndex(std::u16string_view nameAttribute, int count);

// ---- Text ----------------------------------------------------------------------------------

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string QorvelUtf8(std::u16string_view text);
// The 8-bit string a narrow property receives. The writer escapes narrow text byte by byte,
// so text whose characters are all below 256 is taken back byte for byte when that forms
// valid UTF-8 (our own files); otherwise the characters are what the file meant (a hand
// edit in Latin-1, a reference above 255) and are encoded as UTF-8.
std::string QorvelNarrowText(std::u16string_view text);
