// Colour texts against published values, read back in every format, WCAG contrast, the
// median of a sampled square and the recent colours.
#include <gtest/gtest.h>

#include <cmath>

#include "color/ColorFormats.h"
#include "color/ColorPreferences.h"
#include "ColorTextDigest.h"

namespace {

constexpr TColor Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, White = 0xFFFFFF, Orange = 0x0080FF;

std::string Text(TColor color, TColorFormat format) { return FormatColor(color, format, "{hex}"); }

}  // namespace

TEST(ColorFormats, EveryFormatOfOneColour) {
  const char* expected[ColorFormatCount] = {"#FF8000",
                                            "FF8000",
                                            "rgb(255, 128, 0)",
                                            "hsl(30.1, 100%, 50%)",
                                            "hsv(30.1, 100%, 100%)",
                                            "cmyk(0%, 49.8%, 100%, 0%)",
                                            "lab(67.82 45.49 74.84)",
                                            "oklch(73.19% 0.1858 52.98)",
                                            "33023",
                                            "0x000080FF",
                                            "(1.000, 0.502, 0.000, 1.0)",
                                            "#FF8000"};
  for (const TColorFormatInfo& info : ColorFormatInfos)
    EXPECT_EQ(Text(Orange, info.Format), expected[static_cast<int>(info.Format)]) << info.Name;
  EXPECT_EQ(Text(0x80000005, TColorFormat::Hex), "#050000");  // only the colour bytes count
}

TEST(ColorFormats, PublishedLabAndOklchValues) {
  // CSS Color 4's conversions (Lab against D50) of the sRGB primaries and greys.
  struct TCase {
    TColor Color;
    double L, A, B;  // CIELAB
    double OkL, OkC, OkH;
  };
  for (const TCase& c :
       {TCase{Red, 54.29, 80.80, 69.89, 0.62796, 0.25768, 29.234},
        TCase{Green, 87.82, -79.27, 80.99, 0.86644, 0.29483, 142.495},
        TCase{Blue, 29.57, 68.29, -112.03, 0.45201, 0.31321, 264.052}, TCase{White, 100, 0, 0, 1, 0, -1},
        TCase{0x000000, 0, 0, 0, 0, 0, -1}, TCase{0x777777, 50.03, 0, 0, 0.56926, 0, -1}}) {
    const TLab lab = ColorToLab(c.Color);
    EXPECT_NEAR(lab.L, c.L, 0.006) << std::hex << c.Color;
    EXPECT_NEAR(lab.A, c.A, 0.006) << std::hex << c.Color;
    EXPECT_NEAR(lab.B, c.B, 0.006) << std::hex << c.Color;
    const TOklch lch = ColorToOklch(c.Color);
    EXPECT_NEAR(lch.L, c.OkL, 0.00002) << std::hex << c.Color;
    EXPECT_NEAR(lch.C, c.OkC, 0.00002) << std::hex << c.Color;
    if (c.OkH >= 0) {
      EXPECT_NEAR(lch.H, c.OkH, 0.002) << std::hex << c.Color;
    }
  }
  EXPECT_EQ(Text(White, TColorFormat::Lab), "lab(100 0 0)");
  EXPECT_EQ(Text(White, TColorFormat::Oklch), "oklch(100% 0 0)");  // no hue for a grey
  EXPECT_EQ(Text(0x000000, TColorFormat::Cmyk), "cmyk(0%, 0%, 0%, 100%)");
  EXPECT_EQ(Text(0x808080, TColorFormat::Hsl), "hsl(0, 0%, 50.2%)");
  EXPECT_EQ(Text(0x150130, TColorFormat::Oklch), "oklch(20.21% 0.07918 0)");  // hue 359.9992
}

TEST(ColorFormats, ExactHalvesGoUpAndEveryBuildWritesTheSame) {
  // Hue 0.25 degrees; saturation and magenta ink 135 / 240 = 56.25 %.
  EXPECT_EQ(Text(0x0001F0, TColorFormat::Hsl), "hsl(0.3, 100%, 47.1%)");
  EXPECT_EQ(Text(0xF069F0, TColorFormat::Hsv), "hsv(300, 56.3%, 94.1%)");
  EXPECT_EQ(Text(0xF069F0, TColorFormat::Cmyk), "cmyk(0%, 56.3%, 0%, 5.9%)");
  EXPECT_EQ(ColorTextDigest(), ExpectedColorTextDigest) << std::hex << ColorTextDigest();
}

TEST(ColorFormats, EveryColourReadsBackInEveryFormat) {
  // A stride through the whole cube plus the edges, where the curves are steepest.
  std::vector<TColor> colors;
  for (TColor c = 0; c <= 0xFFFFFF; c += 997) colors.push_back(c);
  for (TColor v = 0; v < 256; ++v)
    for (TColor other : {0x000000u, 0x0000FFu, 0x00FF00u, 0x010000u, 0xFF0100u})
      for (int shift : {0, 8, 16}) colors.push_back(((v << shift) | other) & 0xFFFFFFu);
  for (const TColorFormatInfo& info : ColorFormatInfos) {
    if (info.Format == TColorFormat::Template) continue;
    int failures = 0;
    for (TColor color : colors) {
      const std::string text = FormatColor(color, info.Format);
      const std::optional<TColor> back = ParseColorText(text, info.Format);
      if ((!back || *back != color) && ++failures <= 3) ADD_FAILURE() << text << " of " << std::hex << color;
    }
  }
}

TEST(ColorFormats, ReadsWhatPeopleTypeAndRefusesJunk) {
  // clang-format off
  const std::pair<const char*, TColor> read[] = {
      {"#f80", 0x0088FF}, {"  #FF8000 ", Orange}, {"#ff8000cc", Orange}, {"ff8000", Orange},
      {"RGB(255,128,0)", Orange}, {"rgba(255 128 0 / 50%)", Orange}, {"rgb(100%, 50.2%, 0%)", Orange},
      {"hsl(30.1deg 100% 50%)", Orange}, {"hsla(390.1, 100%, 50%, 0.3)", Orange}, {"hsb(30.1, 100%, 100%)", Orange},
      {"cmyk(0, 49.8, 100, 0)", Orange}, {"lab(54.29% 80.8 69.89)", Red}, {"oklch(0.628 0.2577 29.23)", Red},
      {"oklch(150% 0 0)", White}, {"12345", 12345}, {"255", Red}, {"0xFF0000", Blue},
      {"vec4(1.0, 0.502, 0, 1)", Orange}, {"(1, 0.502, 0)", Orange},
      // What CSS writes and clamps, and what pasting from a page brings along.
      {"rgb(300 -5 0)", Red}, {"hsl(120 150% 50%)", Green}, {"hsl(none 0% 50%)", 0x808080},
      {"oklch(0.5 0 none)", 0x636363}, {"hsl(0.5turn 100% 50%)", 0xFFFF00}, {"hsl(200grad 100% 50%)", 0xFFFF00},
      {"hsl(3.14159rad 100% 50%)", 0xFFFF00}, {"hsl(-120 100% 50%)", Blue}, {"RebeccaPurple", 0x993366},
      {"\xC2\xA0" "rgb(255\xC2\xA0" "128\xE2\x80\xAF" "0)", Orange}, {"lab(54.29 80.8 69.89)", Red}};
  // clang-format on
  for (const auto& [text, color] : read) EXPECT_EQ(ParseColorText(text), std::optional<TColor>(color)) << text;
  // clang-format off
  const char* junk[] = {"", " ", "#", "#12", "#12345", "#GG0000", "1234.5", "16777216", "-1", "0x1000000",
                        "rgb(10deg, 0, 0)", "hsl(10%, 50%, 50%)", "lab(50 1e300 0)", "oklch(50% 1e300 0)",
                        "transparent", "currentcolor", "tael", "rgb(1, 2)", "rgb(1, 2, 3, 4, 5)", "rgb(1 2 3", "rgb(1,,2,3x)",
                        "cmyk(0, 0, 0)", "(50%, 0, 0)", "rgb(nan, 0, 0)",
                        "rgb(1e999, 0, 0)", "rgb()", "()", "lab(50 0 0"};
  // clang-format on
  for (const char* text : junk) EXPECT_FALSE(ParseColorText(text).has_value()) << '"' << text << '"';
  // Six decimal digits are HEX, unless COLORREF is what the reader expects.
  EXPECT_EQ(ParseColorText("100697"), std::optional<TColor>(0x970610));
  EXPECT_EQ(ParseColorText("100697", TColorFormat::Colorref), std::optional<TColor>(100697));
}

TEST(ColorFormats, TemplateTokens) {
  EXPECT_EQ(ExpandColorTemplate(DefaultColorTemplate, Orange), "rgba(255, 128, 0, 1)");
  EXPECT_EQ(ExpandColorTemplate("{rh}{gh}{bh} {rf}f {{r}} {oklch} {nope} {r", Orange),
            "FF8000 1.000f {r} oklch(73.19% 0.1858 52.98) {nope} {r");
  EXPECT_EQ(ExpandColorTemplate("{template}", Orange), "{template}");  // no recursion
}

TEST(ColorContrast, WcagExamples) {
  EXPECT_EQ(ContrastRatioText(ContrastRatio(0x767676, White)), "4.54:1");
  EXPECT_EQ(ContrastRatioText(ContrastRatio(White, 0x000000)), "21.00:1");
  EXPECT_EQ(ContrastRatioText(ContrastRatio(Orange, Orange)), "1.00:1");
  EXPECT_DOUBLE_EQ(ContrastRatio(0x767676, White), ContrastRatio(White, 0x767676));
  EXPECT_NEAR(RelativeLuminance(0x767676), 0.18116, 0.00001);

  const TContrastVerdict grey = ContrastVerdict(ContrastRatio(0x767676, White));
  EXPECT_TRUE(grey.AANormal && grey.AALarge && grey.AAALarge);
  EXPECT_FALSE(grey.AAANormal);
  // #777777 on white is 4.48: large text only, and the text must not round it up to 4.50.
  const double lighter = ContrastRatio(0x777777, White);
  EXPECT_EQ(ContrastRatioText(lighter), "4.47:1");
  EXPECT_FALSE(ContrastVerdict(lighter).AANormal);
  EXPECT_TRUE(ContrastVerdict(lighter).AALarge);
  // Each threshold passes at itself and fails a hair below, and the text agrees.
  for (const double threshold : {3.0, 4.5, 7.0}) {
    const double below = std::nextafter(threshold, 0.0);
    const TContrastVerdict at = ContrastVerdict(threshold), under = ContrastVerdict(below);
    EXPECT_TRUE(threshold == 3 ? at.AALarge : threshold == 7 ? at.AAANormal : at.AANormal && at.AAALarge);
    EXPECT_FALSE(threshold == 3 ? under.AALarge : threshold == 7 ? under.AAANormal : under.AANormal || under.AAALarge);
    EXPECT_NE(ContrastRatioText(below), ContrastRatioText(threshold));
  }
  // #898CB8 on #3E2217 is 4.49999999999996: "4.50" would contradict its fail.
  EXPECT_EQ(ContrastRatioText(ContrastRatio(0xB88C89, 0x17223E)), "4.49:1");
}

TEST(ColorSampling, MedianIgnoresTheAntialiasedFringe) {
  // A 3 x 3 square on the edge of a black glyph on white: three fringe pixels of grey and
  // one of colour cannot move the median off the white majority.
  const std::vector<std::uint32_t> square{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x808080,
                                          0x000000, 0xFFFFFF, 0xC04020, 0xFFFFFF};
  EXPECT_EQ(MedianPixel(square), 0xFFFFFFu);
  // Per channel, not per pixel: each channel's own middle value.
  EXPECT_EQ(MedianPixel(std::vector<std::uint32_t>{0x0A1433, 0x1E0A11, 0x140F22}), 0x140F22u);
  EXPECT_EQ(MedianPixel(std::vector<std::uint32_t>{0x102030}), 0x102030u);
  EXPECT_EQ(MedianPixel({}), 0u);
  // Always a pixel of the square: two red and two blue at an edge never give magenta, and red,
  // green and blue never black.
  EXPECT_EQ(MedianPixel(std::vector<std::uint32_t>{0xFF0000, 0x0000FF, 0x0000FF, 0xFF0000}), 0xFF0000u);
  EXPECT_EQ(MedianPixel(std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF}), 0xFF0000u);
  EXPECT_EQ(ValidSampleSize(5), 5);
  EXPECT_EQ(ValidSampleSize(4), 1);
  EXPECT_EQ(ValidSampleSize(-3), 1);
}

TEST(ColorPreferences, RecentColoursNewestFirstDistinctAtMostTwenty) {
  auto settings = TQorvelSettings::Create<TColorSettings>();
  for (TColor c = 1; c <= 25; ++c) RememberPick(*settings, c);
  RememberPick(*settings, 20);  // seen again: moves to the front, not twice in the list
  const std::vector<TColor> recent = RecentColors(*settings);
  ASSERT_EQ(recent.size(), 20u);
  EXPECT_EQ(recent[0], 20u);
  EXPECT_EQ(recent[1], 25u);
  EXPECT_EQ(recent.back(), 6u);
  EXPECT_EQ(settings->Recent[0], "#140000");

  // What a damaged file holds is passed over; duplicates collapse to the newest.
  settings->Recent = {"#FF0000", "junk", "#00FF00", "#ff0000", ""};
  EXPECT_EQ(RecentColors(*settings), (std::vector<TColor>{Red, Green}));
}

TEST(ColorPreferences, DefaultFirstThenTheEnabledFormatsOnce) {
  auto settings = TQorvelSettings::Create<TColorSettings>();
  EXPECT_EQ(DefaultColorText(*settings, Orange), "#FF8000");
  EXPECT_EQ(OfferedColorFormats(*settings).size(), 11u);
  settings->DefaultFormat = "oklch";
  settings->Formats = {"rgb", "oklch", "unknown", "rgb", "template"};
  EXPECT_EQ(OfferedColorFormats(*settings),
            (std::vector<TColorFormat>{TColorFormat::Oklch, TColorFormat::Rgb, TColorFormat::Template}));
  settings->DefaultFormat = "bogus";
  EXPECT_EQ(DefaultColorFormat(*settings), TColorFormat::Hex);
  settings->DefaultFormat = "template";
  settings->Template = "  ";  // would copy nothing
  EXPECT_EQ(OfferedColorFormats(*settings),
            (std::vector<TColorFormat>{TColorFormat::Hex, TColorFormat::Rgb, TColorFormat::Oklch}));
  settings->SampleSize = 7;
  EXPECT_EQ(SampleSize(*settings), 1);
}

TEST(ColorPreferences, TheDialogsListHoldsEveryFormatOnceEnabledOnesFirst) {
  auto settings = TQorvelSettings::Create<TColorSettings>();
  settings->Formats = {"oklch", "junk", "hex", "oklch"};
  std::vector<TColorFormatChoice> choices = ColorFormatChoices(*settings);
  ASSERT_EQ(choices.size(), static_cast<std::size_t>(ColorFormatCount));
  EXPECT_EQ(choices[0], (TColorFormatChoice{TColorFormat::Oklch, true}));
  EXPECT_EQ(choices[1], (TColorFormatChoice{TColorFormat::Hex, true}));
  EXPECT_EQ(choices[2], (TColorFormatChoice{TColorFormat::HexBare, false}));
  EXPECT_EQ(MoveColorFormatChoice(choices, 1, -1), 0u);
  EXPECT_EQ(MoveColorFormatChoice(choices, 0, -1), 0u);  // already first
  EXPECT_EQ(MoveColorFormatChoice(choices, choices.size() - 1, +1), choices.size() - 1);
  choices[2].Enabled = true;
  EXPECT_EQ(EnabledFormatIdentifiers(choices), (TQorvelStrings{"hex", "oklch", "hexbare"}));
}
