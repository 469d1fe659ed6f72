#include "ruler/RulerUnits.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace {

struct TUnitParameters {
  int N, D, LabelExponent, TickDecimals, LabelDecimals;
};

// Pixels per inch as Numerator / Denominator: thousandths, as calibrations keep them, with the
// common factor taken out, so that a whole resolution has the denominator 1 and its ticks fall
// exactly where they always did. Bounded so that the integer arithmetic stays exact; a
// measurement and the ticks use the same bound, so they agree at every resolution.
struct TDpiFraction {
  int Numerator, Denominator;
};
TDpiFraction DpiFraction(double pixelsPerInch) {
  constexpr int Thousandths = 1000;
  const double bounded = pixelsPerInch >= 1 ? std::min(pixelsPerInch, 65536.0) : 1.0;  // NaN too
  const auto thousandths = static_cast<int>(std::lround(bounded * Thousandths));
  const int common = std::gcd(thousandths, Thousandths);
  return {thousandths / common, Thousandths / common};
}

// Sub-units: pixel 1 pixel, point 1 point, inch 1/100 inch, centimetre 1 millimetre.
TUnitParameters UnitParameters(int scaleUnit, double pixelsPerInch, bool logicalPixels) {
  const auto [dpi, per] = DpiFraction(pixelsPerInch);
  // A logical pixel spans the monitor's scale factor: dpi / 96 device pixels.
  if (logicalPixels) return {dpi, 96 * per, 1, 0, 0};
  switch (scaleUnit) {
    case 2: return {dpi, 72 * per, 1, 0, 0};
    case 3: return {dpi, 100 * per, 3, 1, 2};
    case 4: return {10 * dpi, 254 * per, 2, 0, 1};
    default: return {100, 100, 1, 0, 0};
  }
}

// Smallest distance between neighbouring ticks, in tenths of a pixel.
int SpacingThreshold(int granularity) {
  switch (granularity) {
    case 1: return 45;
    case 2: return 15;
    default: return 100;
  }
}

constexpr std::array<TScaleRow, 3> ScaleRows = {{{1, 5, 20}, {2, 10, 50}, {5, 10, 50}}};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

std::int64_t RoundHalfToEven(std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t q = FloorDiv(numerator, denominator);
  const std::int64_t twiceRest = 2 * (numerator - q * denominator);
  if (twiceRest > denominator || (twiceRest == denominator && (q & 1) != 0)) return q + 1;
  return q;
}

std::int64_t RoundHalfAwayFromZero(std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t magnitude = (2 * (numerator < 0 ? -numerator : numerator) + denominator) / (2 * denominator);
  return numerator < 0 ? -magnitude : magnitude;
}

std::uint64_t PowerOfTen(int exponent) {
  std::uint64_t power = 1;
  while (exponent-- > 0) power *= 10;
  return power;
}

// mantissa * 10^exponent in fixed-point notation with `decimals` decimals, halves rounded
// away from zero; exact, unlike a detour through floating point.
std::string FormatFixed(std::int64_t mantissa, int exponent, int decimals, char decimalSeparator) {
  const bool negative = mantissa < 0;
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(mantissa) : static_cast<std::uint64_t>(mantissa);
  const int shift = exponent + decimals;
  if (shift >= 0) {
    magnitude *= PowerOfTen(shift);
  } else {
    const std::uint64_t divisor = PowerOfTen(-shift);
    magnitude = (magnitude + divisor / 2) / divisor;
  }
  // Written backwards into a buffer and made a string once: the ruler formats a number for
  // every long tick it paints. Zeros pad the digits to one more than the decimals.
  std::array<char, 64> buffer;
  char* const end = buffer.data() + buffer.size();
  char* text = end;
  const int fraction = std::clamp(decimals, 0, 40);  // the units ask for two at most
  std::uint64_t rest = magnitude;
  int written = 0;
  do {
    if (fraction > 0 && written == fraction) *--text = decimalSeparator;
    *--text = static_cast<char>('0' + rest % 10);
    rest /= 10;
    ++written;
  } while (rest != 0 || written <= fraction);
  if (negative && magnitude != 0) *--text = '-';  // no "-0"
  return std::string(text, end);
}

}  // namespace

TResolution ResolvePixelsPerInch(bool userDefinedDpi, int pixelsPerInch, TResolution screen) {
  if (userDefinedDpi) {
    const double user = std::clamp(pixelsPerInch, MinUserPixelsPerInch, MaxUserPixelsPerInch);
    return {user, user};
  }
  return {screen.X > 0 ? screen.X : 96, screen.Y > 0 ? screen.Y : 96};
}

TScaleLayout ChooseScaleLayout(int scaleUnit, int granularity, double pixelsPerInch, bool logicalPixels) {
  // The bound on the resolution also makes the widening end.
  const TUnitParameters unit = UnitParameters(scaleUnit, pixelsPerInch, logicalPixels);
  TScaleLayout layout;
  layout.N = unit.N;
  layout.D = unit.D;
  layout.LabelExponent = unit.LabelExponent;
  layout.TickDecimals = unit.TickDecimals;
  layout.LabelDecimals = unit.LabelDecimals;
  const int threshold = SpacingThreshold(granularity);
  for (;;) {
    for (const TScaleRow& row : ScaleRows) {
      // Step * 10 * N / D >= threshold, without the division (D is positive).
      if (std::int64_t{row.Step} * 10 * layout.N >= std::int64_t{threshold} * layout.D) {
        layout.Row = row;
        return layout;
      }
    }
    // No row spaces the ticks widely enough: make the sub-unit ten times larger.
    layout.N *= 10;
    layout.LabelExponent -= 1;
    layout.Widenings += 1;
  }
}

TTickWalk::TTickWalk(const TScaleLayout& layout, int length, bool flipped)
    : FRow(layout.Row),
      FD(layout.D),
      FAdvance(std::int64_t{layout.Row.Step} * layout.N),
      FWhole(static_cast<int>(FAdvance / layout.D)),
      FRemainder(static_cast<int>(FAdvance % layout.D)),
      FStartFraction(FRemainder / 2),
      FStart(flipped ? length - 1 : 0),
      FDirection(flipped ? -1 : 1),
      FLongPeriod(layout.Row.LongEvery / layout.Row.Step),
      FMediumPeriod(layout.Row.MediumEvery / layout.Row.Step) {
  // Ticks continue while the sub-unit count is below the ruler's length in sub-units plus
  // one, so the last one may lie just beyond the end.
  const std::int64_t limit = (std::int64_t{length} * layout.D + layout.N) / layout.N;
  FCount = limit > 0 ? static_cast<int>((limit + FRow.Step - 1) / FRow.Step) : 0;
  // Tick 0, as Seek(0) would place it: no distance yet, and a long and medium tick.
  FP = FStart;
  FF = FStartFraction;
}

std::int64_t TTickWalk::Distance(std::int64_t index) const { return (index * FAdvance + FStartFraction) / FD; }

std::pair<int, int> TTickWalk::IndexRange(int from, int to) const {
  // Distances from the start that map onto [from, to].
  const std::int64_t nearest = FDirection > 0 ? std::int64_t{from} - FStart : std::int64_t{FStart} - to;
  const std::int64_t farthest = FDirection > 0 ? std::int64_t{to} - FStart : std::int64_t{FStart} - from;
  const std::int64_t first = CeilDiv(nearest * FD - FStartFraction, FAdvance);
  const std::int64_t last = FloorDiv((farthest + 1) * FD - FStartFraction - 1, FAdvance);
  return {static_cast<int>(std::clamp<std::int64_t>(first, 1, std::int64_t{FCount} + 1)),
          static_cast<int>(std::clamp<std::int64_t>(last, 0, FCount))};
}

// Every row's medium and long intervals are multiples of its step, so a tick's kind
// repeats with its index and can be counted down instead of divided out.
void TTickWalk::Seek(int index) {
  FIndex = index;
  FP = FStart + FDirection * static_cast<int>(Distance(index));
  FF = static_cast<int>((std::int64_t{index} * FAdvance + FStartFraction) % FD);
  FStepsToLong = (FLongPeriod - index % FLongPeriod) % FLongPeriod;
  FStepsToMedium = (FMediumPeriod - index % FMediumPeriod) % FMediumPeriod;
}

std::string TickNumberText(const TScaleLayout& layout, int g, char decimalSeparator) {
  return FormatFixed(g, 1 - layout.LabelExponent, layout.TickDecimals, decimalSeparator);
}

std::string CursorLabelText(const TScaleLayout& layout, int position, char decimalSeparator) {
  // Tenths of a sub-unit, rounded half to even, then divided by Q.
  const std::int64_t tenths = RoundHalfToEven(std::int64_t{position} * 10 * layout.D, layout.N);
  return FormatFixed(tenths, -layout.LabelExponent, layout.LabelDecimals, decimalSeparator);
}

const char* UnitLabel(int scaleUnit, bool logicalPixels) {
  if (logicalPixels) return "px (logical)";
  switch (scaleUnit) {
    case 2: return "pt";
    case 3: return "in";
    case 4: return "cm";
    default: return "px";
  }
}

std::string MeasurementNumber(int scaleUnit, int pixels, double pixelsPerInch, bool logicalPixels) {
  const TUnitParameters unit = UnitParameters(scaleUnit, pixelsPerInch, logicalPixels);
  // pixels * D / N sub-units make pixels * D * 10 / (N * 10^LabelExponent) units; in steps of
  // the last decimal that is pixels * D * 10^(1 + decimals) / (N * 10^LabelExponent).
  std::int64_t numerator = std::int64_t{pixels} * unit.D;
  std::int64_t denominator = unit.N;
  const int shift = 1 + unit.LabelDecimals - unit.LabelExponent;
  if (shift >= 0) {
    numerator *= static_cast<std::int64_t>(PowerOfTen(shift));
  } else {
    denominator *= static_cast<std::int64_t>(PowerOfTen(-shift));
  }
  const std::int64_t lastDecimals = RoundHalfAwayFromZero(numerator, denominator);
  return FormatFixed(lastDecimals, -unit.LabelDecimals, unit.LabelDecimals, '.');
}

std::string MeasurementText(int scaleUnit, int pixels, double pixelsPerInch, bool logicalPixels) {
  return MeasurementNumber(scaleUnit, pixels, pixelsPerInch, logicalPixels) + ' ' + UnitLabel(scaleUnit, logicalPixels);
}

bool IsPixelUnit(int scaleUnit, bool logicalPixels) {
  return logicalPixels || (scaleUnit != 2 && scaleUnit != 3 && scaleUnit != 4);
}

std::string LengthText(int scaleUnit, double pixels, double pixelsPerInch, bool logicalPixels, int minimumDecimals) {
  const TUnitParameters unit = UnitParameters(scaleUnit, pixelsPerInch, logicalPixels);
  const int decimals = std::clamp(std::max(unit.LabelDecimals, minimumDecimals), 0, 6);
  // As MeasurementNumber, in floating point: for whole pixels the quotient of two exact
  // integers, rounded correctly, so a half stays a half and rounds as the integer path does.
  const int shift = 1 + decimals - unit.LabelExponent;
  double lastDecimals = pixels * unit.D;
  if (shift >= 0) {
    lastDecimals *= static_cast<double>(PowerOfTen(shift));
    lastDecimals /= unit.N;
  } else {
    lastDecimals /= static_cast<double>(unit.N) * static_cast<double>(PowerOfTen(-shift));
  }
  const double bound = 9.0e15;  // beyond it a double holds no decimals any more
  if (!std::isfinite(lastDecimals)) lastDecimals = 0;
  const auto rounded = static_cast<std::int64_t>(std::round(std::clamp(lastDecimals, -bound, bound)));
  return FormatFixed(rounded, -decimals, decimals, '.') + ' ' + UnitLabel(scaleUnit, logicalPixels);
}
