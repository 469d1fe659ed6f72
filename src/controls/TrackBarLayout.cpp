#include "controls/TrackBarLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "controls/NumberTextRules.h"

namespace {

constexpr std::string_view kUndefinedParam = "***";

int Trunc(double value) {
  if (!std::isfinite(value)) return value < 0 ? INT_MIN : INT_MAX;
  return static_cast<int>(std::clamp(std::trunc(value), -2e9, 2e9));
}

// Ties to even, as the bars' conversions have always rounded.
int RoundToPosition(double value) {
  if (!std::isfinite(value)) return TQorvelLabelScale::kInvalidPosition;
  const double rounded = std::nearbyint(value);
  if (rounded < INT_MIN || rounded > INT_MAX) return TQorvelLabelScale::kInvalidPosition;
  return static_cast<int>(rounded);
}

std::string IntegerText(double value) { return std::to_string(static_cast<long long>(value)); }

bool Within(double value, double low, double high) { return value >= low && value <= high; }

// Rounds the quotient to the nearest integer, halves away from zero.
long long RoundHalfAwayDiv(long long numerator, long long denominator) {
  if (denominator < 0) numerator = -numerator, denominator = -denominator;
  const long long magnitude = (2 * (numerator < 0 ? -numerator : numerator) + denominator) / (2 * denominator);
  return numerator < 0 ? -magnitude : magnitude;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::size_t FindPos(std::string_view text, std::size_t from) {
  constexpr std::string_view kPos = "<pos>";
  for (std::size_t i = from; i + kPos.size() <= text.size(); ++i) {
    bool match = true;
    for (std::size_t k = 0; k < kPos.size() && match; ++k) match = LowerAscii(text[i + k]) == kPos[k];
    if (match) return i;
  }
  return std::string_view::npos;
}

}  // namespace

// ---- label modes ----

namespace {
// Whether the parameter makes sense for the value (`forText`: for the shown text, which is
// stricter for plmExp).
bool ParamValid(TQorvelLabelMode mode, double q, bool forText) {
  switch (mode) {
    case plmDiv: return q > 0;
    case plmShl:
    case plmShr: return Within(Trunc(q), 0, 9);
    case plmBin: return Within(Trunc(q), 0, 10);
    case plmInv: return q > 0 && q <= 1000000;
    case plmLog: return q > 0 && q <= 1000;
    case plmExp: return forText ? Within(q, 1, 1000) : (q > 0 && q <= 1000);
    default: return std::isfinite(q);
  }
}
}  // namespace

bool TQorvelLabelScale::ParamInRange() const { return ParamValid(Mode, Param, true); }

double TQorvelLabelScale::ValueOf(int position) const {
  const double p = position, q = Param;
  if (!ParamValid(Mode, q, false)) return kInvalidValue;
  double value = kInvalidValue;
  switch (Mode) {
    case plmPos: value = p; break;
    case plmMul: value = p * q; break;
    case plmDiv: value = p / q; break;
    case plmShl: value = std::nearbyint(p * std::pow(10.0, Trunc(q))); break;
    case plmShr: value = p / std::pow(10.0, Trunc(q)); break;
    case plmBin:
      // Shifts beyond the 64-bit range would wrap around; such positions have no value.
      if (position < 0 || position > 59) return kInvalidValue;
      value = static_cast<double>(static_cast<std::int64_t>(Trunc(q)) << position);
      break;
    case plmInv:
      if (position == 0) return kInvalidValue;
      value = q / p;
      break;
    case plmLog:
      if (position <= 0 || q == 1) return kInvalidValue;
      value = std::log(p) / std::log(q);
      break;
    case plmExp: value = std::pow(q, p); break;
    case plmSqr: value = p * p; break;
    case plmAdd: value = p + q; break;
    case plmSub: value = q - p; break;
  }
  return std::isfinite(value) ? value : kInvalidValue;
}

int TQorvelLabelScale::PositionOf(double v) const {
  const double q = Param;
  if (!std::isfinite(v) || !ParamValid(Mode, q, false)) return kInvalidPosition;
  switch (Mode) {
    case plmPos: return RoundToPosition(v);
    case plmMul: return q == 0 ? kInvalidPosition : RoundToPosition(v / q);
    case plmDiv: return RoundToPosition(v * q);
    case plmShl: return RoundToPosition(v / std::pow(10.0, Trunc(q)));
    case plmShr: return RoundToPosition(v * std::pow(10.0, Trunc(q)));
    case plmBin: {
      const int t = Trunc(q);
      return (t == 0 || v / t <= 0) ? kInvalidPosition : RoundToPosition(std::log2(v / t));
    }
    case plmInv: return v == 0 ? kInvalidPosition : RoundToPosition(q / v);
    case plmLog: return RoundToPosition(std::pow(q, v));
    case plmExp: return (v <= 0 || q == 1) ? kInvalidPosition : RoundToPosition(std::log(v) / std::log(q));
    case plmSqr: return v < 0 ? kInvalidPosition : RoundToPosition(std::sqrt(v));
    case plmAdd: return RoundToPosition(v - q);
    case plmSub: return RoundToPosition(q - v);
  }
  return kInvalidPosition;
}

std::string TQorvelLabelScale::Text(int position, TQorvelLabelOptions options,
                                    const TQorvelNumberFormat& format) const {
  if (!ParamInRange()) return std::string(kUndefinedParam);
  if (Mode == plmInv && position == 0) return "inf.";
  if (Mode == plmLog && (position <= 0 || Param == 1)) return "undef.";
  const double value = ValueOf(position);
  if (value == kInvalidValue) return std::string(kUndefinedParam);
  const double p = position, q = Param;
  std::string text;
  bool isZero = false;
  switch (Mode) {
    case plmPos:
      text = std::to_string(position);
      isZero = position == 0;
      break;
    case plmMul:
      text = FormatGeneral(value, 7, 2, format.DecimalSeparator);
      isZero = position == 0;
      break;
    case plmDiv:
      text = FormatNumber(value, Trunc(std::log10(q) + 0.9999), format);
      isZero = position == 0;
      break;
    case plmShl:
      text = IntegerText(value);
      isZero = position == 0;
      break;
    case plmShr:
      text = FormatNumber(value, Trunc(q), format);
      isZero = position == 0;
      break;
    case plmBin: text = IntegerText(value); break;
    case plmInv: text = FormatNumber(value, Trunc(std::log10(std::fabs(p) / q) + 2.4999), format); break;
    case plmLog:
      text = FormatNumber(value, 2, format);
      isZero = position == 1;
      break;
    case plmExp: text = FormatNumber(value, 0, format); break;
    case plmSqr:
      text = IntegerText(value);
      isZero = position == 0;
      break;
    case plmAdd:
      text = FormatGeneral(value, 7, 2, format.DecimalSeparator);
      isZero = p + q == 0;
      break;
    case plmSub:
      text = FormatGeneral(value, 7, 2, format.DecimalSeparator);
      isZero = q - p == 0;
      break;
  }
  if (isZero && (options & ploPlusMinusZero)) return "\xC2\xB1" + text;  // "±"
  // A "+" in front of a negative value (possible in plmLog and plmSub) would read "+-".
  if (position > 0 && (options & ploExplicitSign) && text.front() != '-') return "+" + text;
  return text;
}

TQorvelLabelScale::TEditor TQorvelLabelScale::Editor(int minPosition, int maxPosition) const {
  auto decimals = [](int d) { return std::clamp(d, 0, 10); };
  switch (Mode) {
    case plmDiv: return {true, decimals(Trunc(std::log10(Param) + 0.9999))};
    case plmShr: return {true, decimals(Trunc(Param))};
    case plmInv: {
      const double largest = std::max(std::fabs(double(minPosition)), std::fabs(double(maxPosition)));
      return {true, decimals(Trunc(std::log10(largest / Param) + 2.4999))};
    }
    case plmLog: return {true, 2};
    case plmExp: return {true, 0};
    default: return {false, 0};
  }
}

std::string FormatNumber(double value, int decimals, const TQorvelNumberFormat& format) {
  if (!std::isfinite(value)) return std::string(kUndefinedParam);
  if (std::fabs(value) >= 1e16) return FormatGeneral(value, 16, 0, format.DecimalSeparator);
  std::string text = FormatFixed(value, decimals, '.');
  const bool negative = text.front() == '-';
  if (negative) text.erase(0, 1);
  const auto point = text.find('.');
  std::string whole = text.substr(0, point);
  const std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
  for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3)
    whole.insert(static_cast<std::size_t>(i), format.ThousandSeparator);
  std::string result = (negative ? "-" : "") + whole;
  if (!fraction.empty()) result += format.DecimalSeparator + fraction;
  return result;
}

std::optional<double> ParseLabelValue(std::string_view text, const TQorvelNumberFormat& format) {
  std::string plain(TrimSpaces(text));
  if (plain.rfind("\xC2\xB1", 0) == 0) plain.erase(0, 2);
  if (!format.ThousandSeparator.empty() && format.ThousandSeparator[0] != format.DecimalSeparator) {
    for (auto at = plain.find(format.ThousandSeparator); at != std::string::npos;
         at = plain.find(format.ThousandSeparator, at))
      plain.erase(at, format.ThousandSeparator.size());
  }
  return ParseFloatText(plain, format.DecimalSeparator);
}

std::string ReplacePosPlaceholder(std::string_view caption, std::string_view valueText, std::string* prefix,
                                  bool* found) {
  std::string result;
  std::size_t from = 0;
  const std::size_t first = FindPos(caption, 0);
  if (prefix) *prefix = std::string(caption.substr(0, first == std::string_view::npos ? caption.size() : first));
  if (found) *found = first != std::string_view::npos;
  for (std::size_t at = first; at != std::string_view::npos; at = FindPos(caption, from)) {
    result.append(caption.substr(from, at - from)).append(valueText);
    from = at + 5;
  }
  result.append(caption.substr(from));
  return result;
}

// ---- range ----

int TQorvelTrackRange::Clamp(long long position) const {
  return static_cast<int>(std::clamp<long long>(position, FMin, FMax));
}

void TQorvelTrackRange::ClampPositions() {
  FPosition = Clamp(FPosition);
  FDefaultPosition = Clamp(FDefaultPosition);
}

namespace {
// Stores `value` in `field`; answers whether that changed it.
bool ChangeTo(int& field, int value) {
  if (value == field) return false;
  field = value;
  return true;
}
}  // namespace

bool TQorvelTrackRange::SetMin(int value) {
  if (!ChangeTo(FMin, value)) return false;
  FMax = std::max(FMax, value);
  ClampPositions();
  return true;
}

bool TQorvelTrackRange::SetMax(int value) {
  if (!ChangeTo(FMax, value)) return false;
  FMin = std::min(FMin, value);
  ClampPositions();
  return true;
}

bool TQorvelTrackRange::SetPosition(int value) { return ChangeTo(FPosition, Clamp(value)); }

bool TQorvelTrackRange::SetDefaultPosition(int value) { return ChangeTo(FDefaultPosition, Clamp(value)); }

bool TQorvelTrackRange::SetSmallChange(int value) {
  const long long span = static_cast<long long>(FMax) - FMin;
  return ChangeTo(FSmallChange,
                  static_cast<int>(std::max<long long>(std::min<long long>(std::max(value, 1), span), 1)));
}

// ---- geometry ----

TPoint TQorvelBarLayout::GrooveCentre() const {
  if (!LabelVisible) return {Width / 2, Height / 2};
  const int lh = LabelHeight;
  if (Orientation == psoHorizontal)
    return {Width / 2, (LabelFlipped ? 0 : lh) + (Height - ThumbHeight() - lh) / 2 + ThumbHeight() / 2};
  return {(LabelFlipped ? 0 : lh) + (Width - ThumbWidth() - lh) / 2 + ThumbWidth() / 2, Height / 2};
}

TPoint TQorvelBarLayout::LabelAnchor() const {
  const int lh = LabelHeight;
  if (Orientation == psoHorizontal)
    return {Width / 2, (Height - ThumbHeight() - lh) / 2 + (LabelFlipped ? ThumbHeight() : 0)};
  return {(Width - ThumbWidth() - lh) / 2 + (LabelFlipped ? ThumbWidth() : 0), Height / 2};
}

TRect TQorvelBarLayout::GrooveBand() const {
  const TPoint c = GrooveCentre();
  if (Orientation == psoHorizontal) {
    const int top = c.Y - ThumbHeight() / 2;
    return {0, top, Width, top + ThumbHeight()};
  }
  const int left = c.X - ThumbWidth() / 2;
  return {left, 0, left + ThumbWidth(), Height};
}

TPoint TQorvelBarLayout::ThumbTopLeft(const TQorvelTrackRange& range) const {
  const TPoint c = GrooveCentre();
  const long long span = static_cast<long long>(range.Max()) - range.Min();
  if (Orientation == psoHorizontal) {
    const long long x =
        span == 0
            ? 0
            : RoundHalfAwayDiv((static_cast<long long>(range.Position()) - range.Min()) * (Width - ThumbWidth()), span);
    return {static_cast<int>(x), c.Y - ThumbHeight() / 2};
  }
  const long long y =
      span == 0
          ? 0
          : RoundHalfAwayDiv((static_cast<long long>(range.Max()) - range.Position()) * (Height - ThumbHeight()), span);
  return {c.X - ThumbWidth() / 2, static_cast<int>(y)};
}

TRect TQorvelBarLayout::ThumbRect(const TQorvelTrackRange& range) const {
  const TPoint p = ThumbTopLeft(range);
  return {p.X, p.Y, p.X + ThumbWidth(), p.Y + ThumbHeight()};
}

int TQorvelBarLayout::PositionAt(const TQorvelTrackRange& range, TPoint p) const {
  const long long span = static_cast<long long>(range.Max()) - range.Min();
  const long long travel = Orientation == psoHorizontal ? Width - ThumbWidth() : Height - ThumbHeight();
  // A bar no longer than its thumb has nowhere to move it.
  if (span == 0 || travel <= 0) return range.Min();
  const long long step = range.SmallChange();
  if (Orientation == psoHorizontal) {
    const long long steps = (p.X * span / step + travel / 2) / travel;
    return range.Clamp(range.Min() + steps * step);
  }
  const long long steps = (p.Y * span / step + travel / 2) / travel;
  return range.Clamp(range.Max() - steps * step);
}

TPoint PopupEditorOrigin(TPoint labelTopLeft, const TRect& valueRect, int editWidth, int editHeight) {
  return {labelTopLeft.X + (valueRect.Left + valueRect.Right) / 2 - editWidth / 2,
          labelTopLeft.Y + valueRect.Bottom - editHeight + 4};
}
