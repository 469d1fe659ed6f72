#pragma once
// Colours as the texts people paste into code, design tools and bug reports, both ways, and
// the arithmetic around them: WCAG contrast and the median of a sampled square.
//
// Every function takes and gives ordinary (resolved) colours, TColor 0x00BBGGRR; the high
// byte of an argument is ignored.
//
// Rounding, the same in every format and every window:
// - Channels as 0..255 integers are exact. Every other number is rounded to its format's
//   decimals half away from zero, then trailing zeros and a bare decimal point are dropped
//   ("50%", "50.5%", never "50.50%" or "-0"). HSL, HSV, CMYK and VEC4 are fractions of the
//   channels and are rounded from those exact fractions, so an exact half (56.25%) always
//   goes up and every build writes the same text.
// - HSL and HSV: hue in degrees 0..359.9, saturation, lightness and value in percent, one
//   decimal each. A grey has hue 0 and saturation 0.
// - CMYK: percent with one decimal; black is cmyk(0%, 0%, 0%, 100%).
// - CIELAB: lab(L a b) as CSS Color 4 defines it: the sRGB (D65) colour's XYZ adapted to D50
//   with the Bradford matrix, L 0..100 and a, b with two decimals.
// - OKLCH: oklch(L% C h), L in percent with two decimals, chroma
//   with five, hue in degrees with two; a colour whose chroma rounds to 0 gets hue 0.
// - VEC4: each channel / 255 with three decimals, always written out ("0.500"), and alpha 1.0.
// - COLORREF: red + 256 * green + 65536 * blue in decimal, or as 0x00BBGGRR in upper case.
// These decimals are enough for every one of the 16,777,216 colours to read back as itself.
//
// Reading (ParseColorText) accepts any of the formats in either case, and the 148 CSS colour
// names, with spaces (no-break ones too) or commas between the numbers, an alpha after "/" or
// as a fourth value (dropped), "deg", "grad", "rad" or "turn" after a hue, "%" where CSS
// allows it and `none` for a component (read as 0, as CSS converts it). Six hexadecimal
// digits without "#" are HEX, other plain decimal numbers COLORREF, "0x" a COLORREF in
// hexadecimal. As CSS does, numbers past a channel's or a percentage's range take its nearest
// end (rgb(300 0 0) is red), and lab() and oklch() colours outside sRGB the nearest channel
// values; a text whose numbers overflow to no finite colour is no colour.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/QorvelTypes.h"

enum class TColorFormat {
  Hex,          // #RRGGBB
  HexBare,      // RRGGBB
  Rgb,          // rgb(255, 128, 0)
  Hsl,          // hsl(30.1, 100%, 50%)
  Hsv,          // hsv(30.1, 100%, 100%)
  Cmyk,         // cmyk(0%, 49.8%, 100%, 0%)
  Lab,          // lab(67.05 42.83 74.03)
  Oklch,        // oklch(73.19% 0.1858 52.98)
  Colorref,     // 33023
  ColorrefHex,  // 0x000080FF
  Vec4,         // (1.000, 0.502, 0.000, 1.0)
  Template,     // the user's template
};

inline constexpr int ColorFormatCount = 12;

struct TColorFormatInfo {
  TColorFormat Format;
  std::string_view Identifier;  // the name in the settings file
  std::string_view Name;        // the name in menus and the settings dialog
};

inline constexpr std::array<TColorFormatInfo, ColorFormatCount> ColorFormatInfos{{
    {TColorFormat::Hex, "hex", "HEX"},
    {TColorFormat::HexBare, "hexbare", "HEX without #"},
    {TColorFormat::Rgb, "rgb", "RGB"},
    {TColorFormat::Hsl, "hsl", "HSL"},
    {TColorFormat::Hsv, "hsv", "HSB/HSV"},
    {TColorFormat::Cmyk, "cmyk", "CMYK"},
    {TColorFormat::Lab, "lab", "CIELAB"},
    {TColorFormat::Oklch, "oklch", "OKLCH"},
    {TColorFormat::Colorref, "colorref", "COLORREF"},
    {TColorFormat::ColorrefHex, "colorrefhex", "COLORREF hex"},
    {TColorFormat::Vec4, "vec4", "VEC4"},
    {TColorFormat::Template, "template", "Template"},
}};

const TColorFormatInfo& ColorFormatInfo(TColorFormat format);
std::optional<TColorFormat> ColorFormatByIdentifier(std::string_view identifier);

// The colour in `format`; Template expands `colorTemplate` (see ExpandColorTemplate).
std::string FormatColor(TColor color, TColorFormat format, std::string_view colorTemplate = {});

// The colour a text in any of the formats names, or nothing (see the header's comment).
// Six decimal digits could be HEX or COLORREF: they are HEX unless `expected` is Colorref.
std::optional<TColor> ParseColorText(std::string_view text, TColorFormat expected = TColorFormat::Hex);

// The template with its tokens replaced, as the README lists them: "{r}", "{g}", "{b}"
// (0..255), "{rh}", "{gh}", "{bh}" (two hex digits), "{rf}", "{gf}", "{bf}" (0..1, three
// decimals), any format's identifier ("{hex}", "{oklch}", ...) for its text, "{{" and "}}"
// for braces. An unknown token stays as written, so a typo shows in the result.
std::string ExpandColorTemplate(std::string_view colorTemplate, TColor color);

inline constexpr std::string_view DefaultColorTemplate = "rgba({r}, {g}, {b}, 1)";

// ---- conversions behind the texts, unrounded ----

struct TLab {
  double L = 0, A = 0, B = 0;
};
struct TOklch {
  double L = 0, C = 0, H = 0;  // L 0..1, hue in degrees
};
TLab ColorToLab(TColor color);
TOklch ColorToOklch(TColor color);

// ---- WCAG 2 contrast ----

// Relative luminance 0..1 of the linearised sRGB channels (threshold 0.04045, as sRGB's
// own definition; WCAG 2.2's 0.03928 gives the same result for every 8-bit channel).
double RelativeLuminance(TColor color);
// (lighter + 0.05) / (darker + 0.05), 1..21, in either order.
double ContrastRatio(TColor a, TColor b);

struct TContrastVerdict {
  bool AANormal = false;   // 4.5
  bool AALarge = false;    // 3: large text and user interface components
  bool AAANormal = false;  // 7
  bool AAALarge = false;   // 4.5
};
// Against the unrounded ratio: 4.499 fails where 4.5 passes.
TContrastVerdict ContrastVerdict(double ratio);
// "4.54:1": two decimals cut, never more than `ratio`, so that a text never shows a
// threshold the pair does not reach.
std::string ContrastRatioText(double ratio);

// ---- sampling ----

// The sample sizes offered: 1, 3 or 5 pixels square. Anything else reads as 1.
int ValidSampleSize(int size);
// The median pixel of `pixels` (0x00RRGGBB or 0x00BBGGRR alike: the channels are not named):
// the one with the least sum of channel distances to all the others, the earliest on a tie.
// It is always one of the pixels, so a square of red and blue never gives magenta; 0 for none.
std::uint32_t MedianPixel(std::span<const std::uint32_t> pixels);

// ---- recent colours ----

inline constexpr std::size_t RecentColorCount = 20;
// Puts `color` first, dropping an equal one further down and anything past the 20th.
void RememberRecentColor(std::vector<TColor>& recent, TColor color);
