#include "color/ColorFormats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "color/CssColorNames.h"

namespace {

struct TChannels {
  int R = 0, G = 0, B = 0;
};

constexpr TChannels SplitColor(TColor color) {
  return {static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
          static_cast<int>((color >> 16) & 0xFFu)};
}

constexpr TColor JoinColor(int r, int g, int b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}

int ToChannel(double unit) { return static_cast<int>(std::lround(std::clamp(unit, 0.0, 1.0) * 255.0)); }

TColor JoinUnits(double r, double g, double b) { return JoinColor(ToChannel(r), ToChannel(g), ToChannel(b)); }

// numerator / denominator (numerator >= 0, denominator > 0) to the nearest integer, halves up.
// Texts that follow from 8-bit channels are exact fractions: rounded here, they keep their
// halves and read the same in every build, whatever its floating point does.
long long RoundRatio(long long numerator, long long denominator) {
  return (2 * numerator + denominator) / (2 * denominator);
}

// `scaled` / 10^decimals as text, trailing zeros (and a bare point) dropped unless `keepZeros`.
std::string FixedText(long long scaled, int decimals, bool keepZeros = false) {
  std::string digits = std::to_string(scaled < 0 ? -scaled : scaled);
  const auto fractionSize = static_cast<std::size_t>(decimals);
  if (digits.size() <= fractionSize) digits.insert(0, fractionSize + 1 - digits.size(), '0');
  std::string fraction = digits.substr(digits.size() - fractionSize);
  if (!keepZeros)
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  std::string text = (scaled < 0 ? "-" : "") + digits.substr(0, digits.size() - fractionSize);
  return fraction.empty() ? text : text + "." + fraction;
}

// A percentage of two integers with one decimal.
std::string Percent(long long part, long long whole) { return FixedText(RoundRatio(1000 * part, whole), 1) + "%"; }

// A channel / 255 with three decimals, written out.
std::string Unit(int channel) { return FixedText(RoundRatio(1000LL * channel, 255), 3, true); }

// `value` with `decimals` decimals, halves away from zero: for the numbers that come out of
// curves and matrices (CIELAB, OKLCH), which have no exact halves to keep.
std::string Decimal(double value, int decimals) {
  return FixedText(std::llround(value * std::pow(10.0, decimals)), decimals);
}

// A hue in degrees, one that rounds to 360 written as 0.
std::string Hue(double degrees, int decimals) {
  const long long scaled = std::llround(degrees * std::pow(10.0, decimals));
  return FixedText(scaled >= 360 * std::llround(std::pow(10.0, decimals)) ? 0 : scaled, decimals);
}

double Linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Gamma(double linear) {
  return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

using TVector = std::array<double, 3>;
using TMatrix = std::array<TVector, 3>;

TVector Multiply(const TMatrix& m, const TVector& v) {
  return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
          m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

// The matrices of CSS Color 4's sample code.
constexpr TMatrix LinearSrgbToXyzD65{{{0.41239079926595934, 0.357584339383878, 0.1804807884018343},
                                      {0.21263900587151027, 0.715168678767756, 0.07219231536073371},
                                      {0.01933081871559182, 0.11919477979462598, 0.9505321522496607}}};
constexpr TMatrix XyzD65ToLinearSrgb{{{3.2409699419045226, -1.537383177570094, -0.4986107602930034},
                                      {-0.9692436362808796, 1.8759675015077202, 0.04155505740717559},
                                      {0.05563007969699366, -0.20397695888897652, 1.0569715142428786}}};
constexpr TMatrix D65ToD50{{{1.0479298208405488, 0.022946793341019088, -0.05019222954313557},
                            {0.029627815688159344, 0.990434484573249, -0.01707382502938514},
                            {-0.009243058152591178, 0.015055144896577895, 0.7518742899580008}}};
constexpr TMatrix D50ToD65{{{0.955473421488075, -0.02309845494876471, 0.06325924320057072},
                            {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
                            {0.012314014864481998, -0.020507649298898964, 1.330365926242124}}};
constexpr TVector D50White{0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};
constexpr double LabEpsilon = 216.0 / 24389.0;
constexpr double LabKappa = 24389.0 / 27.0;

TVector LinearOf(TColor color) {
  const TChannels c = SplitColor(color);
  return {Linear(c.R), Linear(c.G), Linear(c.B)};
}

// Nothing when a component is not finite: an absurd lab() or oklch() overflows to infinities,
// and their differences in the matrices are NaN, which has no channel value.
std::optional<TColor> ColorOfLinear(const TVector& linear) {
  if (!std::all_of(linear.begin(), linear.end(), [](double v) { return std::isfinite(v); })) return std::nullopt;
  return JoinUnits(Gamma(linear[0]), Gamma(linear[1]), Gamma(linear[2]));
}

std::optional<TColor> LabToColor(double l, double a, double b) {
  const double fy = (l + 16) / 116, fx = a / 500 + fy, fz = fy - b / 200;
  const auto cubeOrLinear = [](double f) { return f * f * f > LabEpsilon ? f * f * f : (116 * f - 16) / LabKappa; };
  const double y = l > LabKappa * LabEpsilon ? fy * fy * fy : l / LabKappa;
  const TVector xyz{cubeOrLinear(fx) * D50White[0], y, cubeOrLinear(fz) * D50White[2]};
  return ColorOfLinear(Multiply(XyzD65ToLinearSrgb, Multiply(D50ToD65, xyz)));
}

TVector LinearToOklab(const TVector& rgb) {
  const double l = std::cbrt(0.4122214708 * rgb[0] + 0.5363325363 * rgb[1] + 0.0514459929 * rgb[2]);
  const double m = std::cbrt(0.2119034982 * rgb[0] + 0.6806995451 * rgb[1] + 0.1073969566 * rgb[2]);
  const double s = std::cbrt(0.0883024619 * rgb[0] + 0.2817188376 * rgb[1] + 0.6299787005 * rgb[2]);
  return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
          1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
          0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

std::optional<TColor> OklabToColor(double lightness, double a, double b) {
  const double l = std::pow(lightness + 0.3963377774 * a + 0.2158037573 * b, 3);
  const double m = std::pow(lightness - 0.1055613458 * a - 0.0638541728 * b, 3);
  const double s = std::pow(lightness - 0.0894841775 * a - 1.2914855480 * b, 3);
  return ColorOfLinear({4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
                        -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
                        -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s});
}

constexpr double Pi = 3.14159265358979323846;

struct THueCircle {
  std::string Hue;  // degrees with one decimal, 0 for a grey
  int Max = 0, Min = 0;
};

THueCircle HueOf(TColor color) {
  const TChannels c = SplitColor(color);
  const int max = std::max({c.R, c.G, c.B}), min = std::min({c.R, c.G, c.B}), d = max - min;
  if (d == 0) return {"0", max, min};
  // Tenths of a degree times d, from the largest channel's sixth of the circle. No 8-bit
  // colour comes within a quarter degree of 360, so none rounds to it.
  long long tenths = 0;
  if (max == c.R)
    tenths = 600LL * (c.G - c.B) + (c.G < c.B ? 3600LL * d : 0);
  else if (max == c.G)
    tenths = 600LL * (c.B - c.R) + 1200LL * d;
  else
    tenths = 600LL * (c.R - c.G) + 2400LL * d;
  return {FixedText(RoundRatio(tenths, d), 1), max, min};
}

// The colour of hue, chroma and the smallest channel (all as fractions of 1), the common
// core of HSL and HSV.
TColor FromHueChroma(double hue, double chroma, double minimum) {
  const double h = std::fmod(std::fmod(hue, 360.0) + 360.0, 360.0) / 60.0;
  const double x = chroma * (1 - std::fabs(std::fmod(h, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(h)) {
    case 0: r = chroma, g = x; break;
    case 1: r = x, g = chroma; break;
    case 2: g = chroma, b = x; break;
    case 3: g = x, b = chroma; break;
    case 4: r = x, b = chroma; break;
    default: r = chroma, b = x; break;
  }
  return JoinUnits(r + minimum, g + minimum, b + minimum);
}

std::string HexDigits(TColor color) {
  const TChannels c = SplitColor(color);
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02X%02X%02X", c.R, c.G, c.B);
  return buffer;
}

// ---- reading ----

enum class TUnit { Number, Percent, Angle };

struct TArgument {
  double Value = 0;  // an angle in degrees; `none` reads as 0, as CSS converts it
  TUnit Unit = TUnit::Number;
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

// Lower case, with what pasting from a web page or a document brings along made plain: the
// no-break spaces (U+00A0, U+202F) become spaces and the minus sign (U+2212) a hyphen.
std::string Plain(std::string_view text) {
  static constexpr std::pair<std::string_view, char> Replacements[] = {
      {"\xC2\xA0", ' '}, {"\xE2\x80\xAF", ' '}, {"\xE2\x88\x92", '-'}};
  std::string plain;
  for (std::size_t i = 0; i < text.size();) {
    const auto* replacement = std::find_if(std::begin(Replacements), std::end(Replacements),
                                           [&](const auto& r) { return text.substr(i).starts_with(r.first); });
    if (replacement != std::end(Replacements)) {
      plain += replacement->second;
      i += replacement->first.size();
      continue;
    }
    const char c = text[i++];
    plain += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return plain;
}

std::optional<std::uint32_t> HexNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// The units an angle may carry, as degrees per unit ("grad" before "rad", which it ends with).
constexpr std::pair<std::string_view, double> AngleUnits[] = {
    {"deg", 1.0}, {"grad", 0.9}, {"rad", 180 / Pi}, {"turn", 360.0}};

// The numbers between the parentheses: separated by commas, spaces or one "/" (before the
// alpha), each a number with an optional "%" or angle unit, or `none`.
std::optional<std::vector<TArgument>> Arguments(std::string_view list) {
  std::vector<TArgument> arguments;
  std::size_t i = 0;
  bool separated = true;
  while (i < list.size()) {
    const char c = list[i];
    if (IsSpace(c) || c == ',' || c == '/') {
      separated = true;
      ++i;
      continue;
    }
    if (!separated || arguments.size() >= 4) return std::nullopt;
    separated = false;
    if (list.substr(i, 4) == "none") {
      arguments.emplace_back();
      i += 4;
      continue;
    }
    if (c == '+') ++i;
    double value = 0;
    const auto [end, error] = std::from_chars(list.data() + i, list.data() + list.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    i = static_cast<std::size_t>(end - list.data());
    TArgument argument{value, TUnit::Number};
    if (list.substr(i, 1) == "%") {
      argument.Unit = TUnit::Percent;
      ++i;
    }
    for (const auto& [unit, degrees] : AngleUnits)
      if (argument.Unit == TUnit::Number && list.substr(i, unit.size()) == unit) {
        argument = {value * degrees, TUnit::Angle};
        i += unit.size();
      }
    arguments.push_back(argument);
  }
  return arguments;
}

// An angle only where the hue is (`hue` < 0: nowhere), and no percentage there.
bool UnitsFit(const std::vector<TArgument>& args, int hue) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool isHue = static_cast<int>(i) == hue;
    if (args[i].Unit == (isHue ? TUnit::Percent : TUnit::Angle)) return false;
  }
  return true;
}

// As CSS does, numbers beyond a channel's or a percentage's range take its nearest end.
double Clamped(double value, double high) { return std::clamp(value, 0.0, high); }

TColor ParseRgb(const std::vector<TArgument>& args) {
  int channels[3];
  for (std::size_t i = 0; i < 3; ++i) {
    const double value = args[i].Unit == TUnit::Percent ? args[i].Value * 2.55 : args[i].Value;
    channels[i] = static_cast<int>(std::lround(Clamped(value, 255)));
  }
  return JoinColor(channels[0], channels[1], channels[2]);
}

TColor ParseHueModel(const std::vector<TArgument>& args, bool lightness) {
  const double s = Clamped(args[1].Value / 100, 1), third = Clamped(args[2].Value / 100, 1);
  if (lightness) {
    const double chroma = (1 - std::fabs(2 * third - 1)) * s;
    return FromHueChroma(args[0].Value, chroma, third - chroma / 2);
  }
  const double chroma = third * s;
  return FromHueChroma(args[0].Value, chroma, third - chroma);
}

TColor ParseCmyk(const std::vector<TArgument>& args) {
  double v[4];
  for (std::size_t i = 0; i < 4; ++i) v[i] = Clamped(args[i].Value / 100, 1);
  return JoinUnits((1 - v[0]) * (1 - v[3]), (1 - v[1]) * (1 - v[3]), (1 - v[2]) * (1 - v[3]));
}

std::optional<TColor> ParseVec4(const std::vector<TArgument>& args) {
  for (const TArgument& arg : args)
    if (arg.Unit == TUnit::Percent) return std::nullopt;
  return JoinUnits(args[0].Value, args[1].Value, args[2].Value);
}

// CSS's percentages: 100% of a or b is 125, 100% of OKLCH's chroma 0.4.
std::optional<TColor> ParseLab(const std::vector<TArgument>& args) {
  const double l = Clamped(args[0].Value, 100);
  const double a = args[1].Unit == TUnit::Percent ? args[1].Value * 1.25 : args[1].Value;
  const double b = args[2].Unit == TUnit::Percent ? args[2].Value * 1.25 : args[2].Value;
  return LabToColor(l, a, b);
}

std::optional<TColor> ParseOklch(const std::vector<TArgument>& args) {
  const double l = Clamped(args[0].Unit == TUnit::Percent ? args[0].Value / 100 : args[0].Value, 1);
  const double c = std::max(0.0, args[1].Unit == TUnit::Percent ? args[1].Value * 0.004 : args[1].Value);
  const double h = args[2].Value * Pi / 180;
  return OklabToColor(l, c * std::cos(h), c * std::sin(h));
}

std::optional<TColor> ParseFunction(const std::string& name, const std::vector<TArgument>& args) {
  const std::size_t count = args.size();
  const bool threeOrFour = count == 3 || count == 4;
  const bool hueFirst = name.starts_with("hs");
  if (!UnitsFit(args, hueFirst ? 0 : name == "oklch" ? 2 : -1)) return std::nullopt;
  if ((name == "rgb" || name == "rgba") && threeOrFour) return ParseRgb(args);
  if ((name == "hsl" || name == "hsla") && threeOrFour) return ParseHueModel(args, true);
  if ((name == "hsv" || name == "hsb" || name == "hsva" || name == "hsba") && threeOrFour)
    return ParseHueModel(args, false);
  if (name == "cmyk" && count == 4) return ParseCmyk(args);
  if (name == "lab" && threeOrFour) return ParseLab(args);
  if (name == "oklch" && threeOrFour) return ParseOklch(args);
  if ((name.empty() || name == "vec4" || name == "vec3" || name == "float4" || name == "float3") && threeOrFour)
    return ParseVec4(args);
  return std::nullopt;
}

std::optional<TColor> ParseHex(std::string_view digits) {
  const std::optional<std::uint32_t> value = HexNumber(digits);
  if (!value) return std::nullopt;
  const std::uint32_t v = *value;
  switch (digits.size()) {
    case 3:
    case 4: {  // #RGB, #RGBA: each digit stands for two
      const std::uint32_t rgb = digits.size() == 4 ? v >> 4 : v;
      const auto twice = [](std::uint32_t d) { return static_cast<int>(d * 17); };
      return JoinColor(twice((rgb >> 8) & 0xF), twice((rgb >> 4) & 0xF), twice(rgb & 0xF));
    }
    case 6:
    case 8: {
      const std::uint32_t rgb = digits.size() == 8 ? v >> 8 : v;
      return JoinColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                       static_cast<int>(rgb & 0xFF));
    }
    default: return std::nullopt;
  }
}

std::string ChannelToken(std::string_view token, TColor color) {
  const TChannels c = SplitColor(color);
  const int value = token[0] == 'r' ? c.R : token[0] == 'g' ? c.G : c.B;
  if (token.size() == 1) return std::to_string(value);
  if (token[1] == 'h') {
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, "%02X", value);
    return buffer;
  }
  return Unit(value);
}

}  // namespace

const TColorFormatInfo& ColorFormatInfo(TColorFormat format) {
  return ColorFormatInfos[static_cast<std::size_t>(format)];
}

std::optional<TColorFormat> ColorFormatByIdentifier(std::string_view identifier) {
  for (const TColorFormatInfo& info : ColorFormatInfos)
    if (info.Identifier == identifier) return info.Format;
  return std::nullopt;
}

TLab ColorToLab(TColor color) {
  const TVector xyz = Multiply(D65ToD50, Multiply(LinearSrgbToXyzD65, LinearOf(color)));
  const auto f = [](double t) { return t > LabEpsilon ? std::cbrt(t) : (LabKappa * t + 16) / 116; };
  const double fx = f(xyz[0] / D50White[0]), fy = f(xyz[1]), fz = f(xyz[2] / D50White[2]);
  return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

TOklch ColorToOklch(TColor color) {
  const TVector lab = LinearToOklab(LinearOf(color));
  double hue = std::atan2(lab[2], lab[1]) * 180 / Pi;
  if (hue < 0) hue += 360;
  return {lab[0], std::hypot(lab[1], lab[2]), hue};
}

std::string FormatColor(TColor color, TColorFormat format, std::string_view colorTemplate) {
  const TChannels c = SplitColor(color);
  switch (format) {
    case TColorFormat::Hex: return "#" + HexDigits(color);
    case TColorFormat::HexBare: return HexDigits(color);
    case TColorFormat::Rgb:
      return "rgb(" + std::to_string(c.R) + ", " + std::to_string(c.G) + ", " + std::to_string(c.B) + ")";
    case TColorFormat::Hsl: {
      // Saturation d / (1 - |2l - 1|) and lightness (max + min) / 2, in channel units.
      const THueCircle h = HueOf(color);
      const int d = h.Max - h.Min, sum = h.Max + h.Min;
      const std::string s = d == 0 ? "0%" : Percent(d, 255 - std::abs(sum - 255));
      return "hsl(" + h.Hue + ", " + s + ", " + Percent(sum, 510) + ")";
    }
    case TColorFormat::Hsv: {
      const THueCircle h = HueOf(color);
      const std::string s = h.Max == 0 ? "0%" : Percent(h.Max - h.Min, h.Max);
      return "hsv(" + h.Hue + ", " + s + ", " + Percent(h.Max, 255) + ")";
    }
    case TColorFormat::Cmyk: {
      // Each ink (max - channel) / max, black (255 - max) / 255.
      const int max = std::max({c.R, c.G, c.B});
      const auto ink = [max](int channel) { return max == 0 ? std::string("0%") : Percent(max - channel, max); };
      return "cmyk(" + ink(c.R) + ", " + ink(c.G) + ", " + ink(c.B) + ", " + Percent(255 - max, 255) + ")";
    }
    case TColorFormat::Lab: {
      const TLab lab = ColorToLab(color);
      return "lab(" + Decimal(lab.L, 2) + " " + Decimal(lab.A, 2) + " " + Decimal(lab.B, 2) + ")";
    }
    case TColorFormat::Oklch: {
      const TOklch lch = ColorToOklch(color);
      const std::string chroma = Decimal(lch.C, 5);
      return "oklch(" + Decimal(lch.L * 100, 2) + "% " + chroma + " " + (chroma == "0" ? "0" : Hue(lch.H, 2)) + ")";
    }
    case TColorFormat::Colorref: return std::to_string(color & 0x00FFFFFFu);
    case TColorFormat::ColorrefHex: {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(color & 0x00FFFFFFu));
      return buffer;
    }
    case TColorFormat::Vec4: return "(" + Unit(c.R) + ", " + Unit(c.G) + ", " + Unit(c.B) + ", 1.0)";
    case TColorFormat::Template: return ExpandColorTemplate(colorTemplate, color);
  }
  return {};
}

std::optional<TColor> ParseColorText(std::string_view text, TColorFormat expected) {
  const std::string plain = Plain(text);
  const std::string_view t = Trim(plain);
  if (t.empty()) return std::nullopt;
  if (std::all_of(t.begin(), t.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
    if (const std::optional<TColor> named = CssNamedColor(t)) return named;
  if (t.front() == '#') return ParseHex(t.substr(1));
  if (t.starts_with("0x")) {
    const std::optional<std::uint32_t> value = HexNumber(t.substr(2));
    if (!value || *value > 0xFFFFFFu) return std::nullopt;
    return *value;
  }
  const std::size_t open = t.find('(');
  if (open != std::string_view::npos) {
    if (t.back() != ')') return std::nullopt;
    const std::string name(Trim(t.substr(0, open)));
    const std::optional<std::vector<TArgument>> args = Arguments(t.substr(open + 1, t.size() - open - 2));
    if (!args) return std::nullopt;
    return ParseFunction(name, *args);
  }
  const bool decimal = std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (t.size() == 6 && !(decimal && expected == TColorFormat::Colorref)) return ParseHex(t);
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (error != std::errc() || end != t.data() + t.size() || value > 0xFFFFFFu) return std::nullopt;
  return value;
}

std::string ExpandColorTemplate(std::string_view colorTemplate, TColor color) {
  std::string result;
  std::size_t i = 0;
  while (i < colorTemplate.size()) {
    const char c = colorTemplate[i];
    if ((c == '{' || c == '}') && i + 1 < colorTemplate.size() && colorTemplate[i + 1] == c) {
      result += c;
      i += 2;
      continue;
    }
    const std::size_t close = c == '{' ? colorTemplate.find('}', i) : std::string_view::npos;
    if (close != std::string_view::npos) {
      const std::string_view token = colorTemplate.substr(i + 1, close - i - 1);
      const std::optional<TColorFormat> format = ColorFormatByIdentifier(token);
      const bool channel = (token.size() == 1 || (token.size() == 2 && (token[1] == 'h' || token[1] == 'f'))) &&
                           (token[0] == 'r' || token[0] == 'g' || token[0] == 'b');
      if (format && *format != TColorFormat::Template) {
        result += FormatColor(color, *format);
        i = close + 1;
        continue;
      }
      if (channel) {
        result += ChannelToken(token, color);
        i = close + 1;
        continue;
      }
    }
    result += c;
    ++i;
  }
  return result;
}

double RelativeLuminance(TColor color) {
  const TVector linear = LinearOf(color);
  return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2];
}

double ContrastRatio(TColor a, TColor b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TContrastVerdict ContrastVerdict(double ratio) { return {ratio >= 4.5, ratio >= 3, ratio >= 7, ratio >= 4.5}; }

std::string ContrastRatioText(double ratio) {
  // Cut, and checked against the ratio itself: 4.4999999999 * 100 can round up to 450, and
  // "4.50" beside a failed 4.5 would contradict the verdict, which reads the same ratio.
  auto hundredths = static_cast<long long>(std::floor(ratio * 100));
  while (static_cast<double>(hundredths) / 100 > ratio) --hundredths;
  return FixedText(hundredths, 2, true) + ":1";
}

int ValidSampleSize(int size) { return size == 3 || size == 5 ? size : 1; }

std::uint32_t MedianPixel(std::span<const std::uint32_t> pixels) {
  const auto distance = [](std::uint32_t a, std::uint32_t b) {
    int sum = 0;
    for (int shift : {0, 8, 16})
      sum += std::abs(static_cast<int>((a >> shift) & 0xFFu) - static_cast<int>((b >> shift) & 0xFFu));
    return sum;
  };
  std::uint32_t median = 0;
  long long least = std::numeric_limits<long long>::max();
  for (std::uint32_t candidate : pixels) {
    long long total = 0;
    for (std::uint32_t other : pixels) total += distance(candidate, other);
    if (total < least) {
      least = total;
      median = candidate & 0x00FFFFFFu;
    }
  }
  return median;
}

void RememberRecentColor(std::vector<TColor>& recent, TColor color) {
  color &= 0x00FFFFFFu;
  std::erase(recent, color);
  recent.insert(recent.begin(), color);
  if (recent.size() > RecentColorCount) recent.resize(RecentColorCount);
}
