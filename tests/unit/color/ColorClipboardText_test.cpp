// Colours as clipboard text and values: six hexadecimal digits RRGGBB both ways, and the
// "RGBA Color" value whose alpha never survives a paste.
#include <gtest/gtest.h>

#include "color/ColorClipboardText.h"

TEST(ColorClipboardText, SixUpperCaseDigitsRedFirst) {
  EXPECT_EQ(ColorClipboardText(0x0000FF), "FF0000");  // TColor red
  EXPECT_EQ(ColorClipboardText(0x00FF00), "00FF00");
  EXPECT_EQ(ColorClipboardText(0xFF0000), "0000FF");
  EXPECT_EQ(ColorClipboardText(0x0A0B0C), "0C0B0A");    // zero-padded
  EXPECT_EQ(ColorClipboardText(0x80000005), "050000");  // only the colour bytes count
}

TEST(ColorClipboardText, ReadsSixDigitsInEitherCase) {
  EXPECT_EQ(ParseColorClipboardText("00ff00"), TColor{0x00FF00});
  EXPECT_EQ(ParseColorClipboardText("FF0000"), TColor{0x0000FF});
  EXPECT_EQ(ParseColorClipboardText("aBcDeF"), TColor{0xEFCDAB});
  for (TColor c : {0x000000u, 0xFFFFFFu, 0x123456u, 0xA0B0C0u})
    EXPECT_EQ(ParseColorClipboardText(ColorClipboardText(c)), c);
}

TEST(ColorClipboardText, AnythingElseIsNotAColour) {
  for (const char* text :
       {"#00FF00", "00FF0", "0FF00G", "", "00FF00 ", " 00FF0", "0x00FF", "00FF000", "-12345", "+12345", "00 FF0"})
    EXPECT_FALSE(ParseColorClipboardText(text).has_value()) << '"' << text << '"';
  EXPECT_FALSE(ParseColorClipboardText(std::string_view("00FF\0"
                                                        "0",
                                                        6))
                   .has_value());
}

TEST(ColorClipboardRgba, OpaqueOnCopyAndAlphaDroppedOnPaste) {
  EXPECT_EQ(RgbaClipboardValue(0x00123456), 0xFF123456u);
  EXPECT_EQ(RgbaClipboardValue(0x80123456), 0xFF123456u);
  for (TColor alpha : {0x00u, 0x01u, 0x7Fu, 0x80u, 0xFFu})
    EXPECT_EQ(ColorFromRgbaClipboardValue((alpha << 24) | 0x00654321u), 0x00654321u);
}
