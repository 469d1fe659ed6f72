#include <gtest/gtest.h>

#include <cstdio>

#include "XmlTestSupport.h"

namespace {

// Every character that is written as it is; all others become references.
constexpr std::string_view PlainCharacters =
    "\t\n\r ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_:0123456789"
    "!#$()*+,-./;=?[\\]^{}~|@";

std::string Reference(unsigned code, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "&#x%0*X;", digits, code);
  return text;
}

TEST(XmlEscape, ExamplesFromTheSettingsFile) {
  EXPECT_EQ(EscapeXml("a<b"), "a&#x3C;b");
  EXPECT_EQ(EscapeXml("Dark & light"), "Dark &#x26; light");
  EXPECT_EQ(EscapeXml("\xE9"), "&#xE9;");
  EXPECT_EQ(EscapeXml(u"\u20AC"), "&#x20AC;");
  EXPECT_EQ(EscapeXml(u"\u00E9"), "&#xE9;");
  EXPECT_EQ(EscapeXml(u"\u0100"), "&#x0100;");
  EXPECT_EQ(EscapeXml(u"50% \"x\" 'y' `z` <>"), "50&#x25; &#x22;x&#x22; &#x27;y&#x27; &#x60;z&#x60; &#x3C;&#x3E;");
  EXPECT_EQ(EscapeXml(""), "");
}

TEST(XmlEscape, NarrowTextEscapesExactlyTheCharactersThatAreNotPlain) {
  for (unsigned code = 0; code < 256; ++code) {
    const char c = static_cast<char>(code);
    const bool plain = PlainCharacters.find(c) != std::string_view::npos;
    const std::string expected = plain ? std::string(1, c) : Reference(code, 2);
    EXPECT_EQ(EscapeXml(std::string_view(&c, 1)), expected) << "code " << code;
    EXPECT_EQ(XmlCharClass(static_cast<unsigned char>(code)) != TQorvelXmlCharClass::Other, plain) << "code " << code;
  }
}

TEST(XmlEscape, WideTextUsesTwoDigitsBelow256AndFourAbove) {
  for (unsigned code = 0; code < 0x10000; ++code) {
    const char16_t c = static_cast<char16_t>(code);
    const bool plain = code < 128 && PlainCharacters.find(static_cast<char>(code)) != std::string_view::npos;
    const std::string expected = plain ? std::string(1, static_cast<char>(code)) : Reference(code, code < 256 ? 2 : 4);
    ASSERT_EQ(EscapeXml(std::u16string_view(&c, 1)), expected) << "code " << code;
  }
}

TEST(XmlEscape, AllUtf16UnitsSurviveWritingAndReadingBack) {
  std::u16string all;
  for (unsigned code = 0; code < 0x10000; ++code) all += static_cast<char16_t>(code);
  const std::string escaped = EscapeXml(all);
  EXPECT_EQ(escaped.find_first_not_of(std::string(PlainCharacters) + "&"), std::string::npos);

  const TXmlTokens tokens = ReadTokens("<a v=\"" + escaped + "\">" + escaped + "</a>");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_TRUE(TokenAs<TQorvelXmlStartTag>(tokens, 0).Attributes().Value(u"v") == all);
  EXPECT_TRUE(TokenAs<TQorvelXmlContent>(tokens, 1).Text() == all);
}

TEST(XmlEscape, AllBytesSurviveWritingAndReadingBackAsLatin1) {
  std::string bytes;
  std::u16string latin1;
  for (unsigned code = 0; code < 256; ++code) {
    bytes += static_cast<char>(code);
    latin1 += static_cast<char16_t>(code);
  }
  const TXmlTokens tokens = ReadTokens("<a v='" + EscapeXml(bytes) + "'/>");
  EXPECT_TRUE(TokenAs<TQorvelXmlStartTag>(tokens, 0).Attributes().Value(u"v") == latin1);
}

}  // namespace
