#include "color/ColorFormats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

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

// `value` with `decimals` decimals, halves away from zero, trailing zeros dropped unless `keepZeros`.
std::string Decimal(double value, int decimals, bool keepZeros = false) {
  const double scale = std::pow(10.0, decimals);
  double rounded = std::round(value * scale);
  if (rounded == 0) rounded = 0;  // no "-0"
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded / scale);
  std::string text(buffer);
  if (!keepZeros && text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

// A hue in degrees with one decimal, 360 wrapped to 0.
std::string Hue(double degrees, int decimals) {
  const double scale = std::pow(10.0, decimals);
  if (std::round(degrees * scale) >= 360.0 * scale) degrees = 0;
  return Decimal(degrees, decimals);
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

TColor ColorOfLinear(const TVector& linear) { return JoinUnits(Gamma(linear[0]), Gamma(linear[1]), Gamma(linear[2])); }

TColor LabToColor(double l, double a, double b) {
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

TColor OklabToColor(double lightness, double a, double b) {
  const double l = std::pow(lightness + 0.3963377774 * a + 0.2158037573 * b, 3);
  const double m = std::pow(lightness - 0.1055613458 * a - 0.0638541728 * b, 3);
  const double s = std::pow(lightness - 0.0894841775 * a - 1.2914855480 * b, 3);
  return ColorOfLinear({4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
                        -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
                        -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s});
}

constexpr double Pi = 3.14159265358979323846;

struct THueCircle {
  double Hue = 0;  // degrees 0..360
  double Max = 0, Min = 0;
};

THueCircle HueOf(TColor color) {
  const TChannels c = SplitColor(color);
  const double r = c.R / 255.0, g = c.G / 255.0, b = c.B / 255.0;
  THueCircle h{0, std::max({r, g, b}), std::min({r, g, b})};
  const double d = h.Max - h.Min;
  if (d <= 0) return h;
  if (h.Max == r)
    h.Hue = 60 * std::fmod((g - b) / d + 6, 6.0);
  else if (h.Max == g)
    h.Hue = 60 * ((b - r) / d + 2);
  else
    h.Hue = 60 * ((r - g) / d + 4);
  return h;
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

struct TArgument {
  double Value = 0;
  bool Percent = false;
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

std::optional<std::uint32_t> HexNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// The numbers between the parentheses: separated by commas, spaces or one "/" (before the
// alpha), each with an optional "%" or "deg".
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
    if (c == '+') ++i;
    double value = 0;
    const auto [end, error] = std::from_chars(list.data() + i, list.data() + list.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    i = static_cast<std::size_t>(end - list.data());
    TArgument argument{value, false};
    if (list.substr(i, 1) == "%") {
      argument.Percent = true;
      ++i;
    } else if (list.substr(i, 3) == "deg") {
      i += 3;
    }
    arguments.push_back(argument);
    separated = false;
  }
  return arguments;
}

bool InRange(double value, double low, double high) { return value >= low && value <= high; }

std::optional<TColor> ParseRgb(const std::vector<TArgument>& args) {
  int channels[3];
  for (int i = 0; i < 3; ++i) {
    const double value = args[static_cast<std::size_t>(i)].Percent ? args[static_cast<std::size_t>(i)].Value * 2.55
                                                                   : args[static_cast<std::size_t>(i)].Value;
    if (!InRange(value, 0, 255)) return std::nullopt;
    channels[i] = static_cast<int>(std::lround(value));
  }
  return JoinColor(channels[0], channels[1], channels[2]);
}

std::optional<TColor> ParseHueModel(const std::vector<TArgument>& args, bool lightness) {
  const double s = args[1].Value / 100, third = args[2].Value / 100;
  if (!InRange(s, 0, 1) || !InRange(third, 0, 1)) return std::nullopt;
  if (lightness) {
    const double chroma = (1 - std::fabs(2 * third - 1)) * s;
    return FromHueChroma(args[0].Value, chroma, third - chroma / 2);
  }
  const double chroma = third * s;
  return FromHueChroma(args[0].Value, chroma, third - chroma);
}

std::optional<TColor> ParseCmyk(const std::vector<TArgument>& args) {
  double v[4];
  for (int i = 0; i < 4; ++i) {
    v[i] = args[static_cast<std::size_t>(i)].Value / 100;
    if (!InRange(v[i], 0, 1)) return std::nullopt;
  }
  return JoinUnits((1 - v[0]) * (1 - v[3]), (1 - v[1]) * (1 - v[3]), (1 - v[2]) * (1 - v[3]));
}

std::optional<TColor> ParseVec4(const std::vector<TArgument>& args) {
  for (const TArgument& arg : args)
    if (arg.Percent || !InRange(arg.Value, 0, 1)) return std::nullopt;
  return JoinUnits(args[0].Value, args[1].Value, args[2].Value);
}

// CSS's percentages: 100% of a or b is 125, 100% of OKLCH's chroma 0.4.
TColor ParseLab(const std::vector<TArgument>& args) {
  const double l = std::clamp(args[0].Value, 0.0, 100.0);
  const double a = args[1].Percent ? args[1].Value * 1.25 : args[1].Value;
  const double b = args[2].Percent ? args[2].Value * 1.25 : args[2].Value;
  return LabToColor(l, a, b);
}

TColor ParseOklch(const std::vector<TArgument>& args) {
  const double l = std::clamp(args[0].Percent ? args[0].Value / 100 : args[0].Value, 0.0, 1.0);
  const double c = std::max(0.0, args[1].Percent ? args[1].Value * 0.004 : args[1].Value);
  const double h = args[2].Value * Pi / 180;
  return OklabToColor(l, c * std::cos(h), c * std::sin(h));
}

std::optional<TColor> ParseFunction(const std::string& name, const std::vector<TArgument>& args) {
  const std::size_t count = args.size();
  const bool threeOrFour = count == 3 || count == 4;
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
  return Decimal(value / 255.0, 3, true);
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
      const THueCircle h = HueOf(color);
      const double l = (h.Max + h.Min) / 2, d = h.Max - h.Min;
      const double s = d <= 0 ? 0 : d / (1 - std::fabs(2 * l - 1));
      return "hsl(" + Hue(h.Hue, 1) + ", " + Decimal(s * 100, 1) + "%, " + Decimal(l * 100, 1) + "%)";
    }
    case TColorFormat::Hsv: {
      const THueCircle h = HueOf(color);
      const double s = h.Max <= 0 ? 0 : (h.Max - h.Min) / h.Max;
      return "hsv(" + Hue(h.Hue, 1) + ", " + Decimal(s * 100, 1) + "%, " + Decimal(h.Max * 100, 1) + "%)";
    }
    case TColorFormat::Cmyk: {
      const double r = c.R / 255.0, g = c.G / 255.0, b = c.B / 255.0;
      const double k = 1 - std::max({r, g, b});
      const auto part = [k](double channel) { return k >= 1 ? 0.0 : (1 - channel - k) / (1 - k); };
      return "cmyk(" + Decimal(part(r) * 100, 1) + "%, " + Decimal(part(g) * 100, 1) + "%, " +
             Decimal(part(b) * 100, 1) + "%, " + Decimal(k * 100, 1) + "%)";
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
    case TColorFormat::Vec4:
      return "(" + Decimal(c.R / 255.0, 3, true) + ", " + Decimal(c.G / 255.0, 3, true) + ", " +
             Decimal(c.B / 255.0, 3, true) + ", 1.0)";
    case TColorFormat::Template: return ExpandColorTemplate(colorTemplate, color);
  }
  return {};
}

std::optional<TColor> ParseColorText(std::string_view text, TColorFormat expected) {
  const std::string lower = Lower(Trim(text));
  const std::string_view t = lower;
  if (t.empty()) return std::nullopt;
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
  // A hair of tolerance, so that a ratio computed as 4.4999999 for an exact 4.5 reads 4.50.
  const double cut = std::floor(ratio * 100 + 1e-9) / 100;
  return Decimal(cut, 2, true) + ":1";
}

int ValidSampleSize(int size) { return size == 3 || size == 5 ? size : 1; }

std::uint32_t MedianPixel(std::span<const std::uint32_t> pixels) {
  if (pixels.empty()) return 0;
  std::vector<std::uint32_t> channel(pixels.size());
  std::uint32_t median = 0;
  for (int shift : {0, 8, 16}) {
    std::transform(pixels.begin(), pixels.end(), channel.begin(),
                   [shift](std::uint32_t p) { return (p >> shift) & 0xFFu; });
    const auto middle = channel.begin() + static_cast<std::ptrdiff_t>(channel.size() / 2);
    std::nth_element(channel.begin(), middle, channel.end());
    median |= *middle << shift;
  }
  return median;
}

void RememberRecentColor(std::vector<TColor>& recent, TColor color) {
  color &= 0x00FFFFFFu;
  std::erase(recent, color);
  recent.insert(recent.begin(), color);
  if (recent.size() > RecentColorCount) recent.resize(RecentColorCount);
}
