#pragma once
// The arithmetic of a scale: how many pixels a unit's sub-unit spans, which tick spacing a
// granularity asks for, where the ticks fall, and the texts of the tick numbers and of the
// cursor label. All of it is exact integer arithmetic, so a tick never drifts by a pixel
// along a long ruler and the same position always reads the same. A resolution need not be
// whole (a calibration's 93.496): it enters as a fraction to a thousandth of a pixel per
// inch, and a whole one exactly as it is.

#include <cstdint>
#include <string>
#include <utility>

inline constexpr int MinUserPixelsPerInch = 10;
inline constexpr int MaxUserPixelsPerInch = 600;

// Pixels per inch along each axis of the screen. They differ only where the desktop's mode
// has another shape than the panel (a stretched mode); the ruler and the measure tool use the
// one along their direction.
struct TResolution {
  double X = 96;
  double Y = 96;
  constexpr TResolution() = default;
  constexpr TResolution(double both) : X(both), Y(both) {}  // NOLINT(google-explicit-constructor): square pixels
  constexpr TResolution(double x, double y) : X(x), Y(y) {}
  double Along(bool vertical) const { return vertical ? Y : X; }
  friend bool operator==(const TResolution&, const TResolution&) = default;
};

// The resolution physical units are measured with: the user's own value when they chose
// one (held to the 10..600 dpi the settings dialog offers, since the file may say anything),
// else the screen's pixels per inch (96 when the platform reports nothing usable).
TResolution ResolvePixelsPerInch(bool userDefinedDpi, int pixelsPerInch, TResolution screen);

// Ticks every Step sub-units; medium ticks where the sub-unit count is a multiple of
// MediumEvery, long (numbered) ticks where it is a multiple of LongEvery.
struct TScaleRow {
  int Step = 1;
  int MediumEvery = 5;
  int LongEvery = 20;
  friend bool operator==(const TScaleRow&, const TScaleRow&) = default;
};

// A unit after the tick spacing has been chosen. A sub-unit spans N/D pixels. A tick at
// sub-unit G is labelled G * 10 / Q; the label divisor Q is carried as its decimal
// exponent (Q = 10^LabelExponent), because widening the sub-unit tenfold divides Q by ten
// and a plain integer would reach 0 for the point unit at the lowest resolutions.
struct TScaleLayout {
  int N = 100;
  int D = 100;
  int LabelExponent = 1;
  int TickDecimals = 0;
  int LabelDecimals = 0;
  TScaleRow Row;
  int Widenings = 0;  // how often the sub-unit was made ten times larger to space the ticks

  // Ticks fall between pixels, so antialiasing has something to do.
  bool FractionalTicks() const { return N % D != 0; }
};

// The layout for a scale unit (1 pixel, 2 point, 3 inch, 4 centimetre; anything above 4
// counts as pixel) and granularity (1 medium, 2 fine, anything else coarse).
// With `logicalPixels` the pixel unit counts pixels divided by the monitor's scale factor
// (what a 96-dpi design calls a pixel), `pixelsPerInch` being the monitor's logical
// resolution; the same holds for UnitLabel ("px (logical)") and MeasurementText.
TScaleLayout ChooseScaleLayout(int scaleUnit, int granularity, double pixelsPerInch, bool logicalPixels = false);

enum class TTickKind { Short, Medium, Long };

// The ticks of a scale of `length` pixels, counted from the near end, or from the far end
// when flipped. Tick k lies at sub-unit G = k * Step; its pixel P carries the fraction
// F / D of a pixel in the counting direction, which antialiasing spreads onto P and its
// neighbour. Next() steps with additions only; Seek() jumps straight to any tick, so a
// repaint of a narrow strip need not walk the whole ruler.
class TTickWalk {
 public:
  TTickWalk(const TScaleLayout& layout, int length, bool flipped);

  // Ticks 1..Count() are drawn; tick 0, at the start, is left to the outline.
  int Count() const { return FCount; }
  // The first and last tick whose pixel lies within [from, to]; first > last when none does.
  std::pair<int, int> IndexRange(int from, int to) const;

  void Seek(int index);
  void Next() {
    ++FIndex;
    FP += FDirection * FWhole;
    FF += FRemainder;
    if (FF >= FD) {
      FP += FDirection;
      FF -= FD;
    }
    FStepsToLong = (FStepsToLong == 0 ? FLongPeriod : FStepsToLong) - 1;
    FStepsToMedium = (FStepsToMedium == 0 ? FMediumPeriod : FStepsToMedium) - 1;
  }

  int Index() const { return FIndex; }
  int G() const { return FIndex * FRow.Step; }
  int P() const { return FP; }
  int F() const { return FF; }
  int Direction() const { return FDirection; }
  TTickKind Kind() const {
    if (FStepsToLong == 0) return TTickKind::Long;
    return FStepsToMedium == 0 ? TTickKind::Medium : TTickKind::Short;
  }
  // The share (0..255) of the tick's ink that belongs on the neighbour P + Direction().
  int Alpha() const { return FF * 256 / FD; }

 private:
  std::int64_t Distance(std::int64_t index) const;  // pixels from the start to tick `index`

  TScaleRow FRow;
  int FD;
  std::int64_t FAdvance;  // Step * N: one step in 1/D pixel
  int FWhole;             // whole pixels per step (S)
  int FRemainder;         // the rest of a step in 1/D pixel (R)
  int FStartFraction;     // R / 2: ticks sit half a remainder in, as if rounded
  int FStart;
  int FDirection;
  int FCount;
  int FIndex = 0;
  int FP = 0;
  int FF = 0;
  int FLongPeriod;  // steps from one long tick to the next
  int FMediumPeriod;
  int FStepsToLong = 0;  // steps from this tick to the next long one, 0 on a long tick
  int FStepsToMedium = 0;
};

// The number at a long tick at sub-unit `g`, e.g. "100", "1.5".
std::string TickNumberText(const TScaleLayout& layout, int g, char decimalSeparator = '.');

// The cursor label for a position in pixels (along the ruler or on the screen, may be
// negative), e.g. "37", "0.50", "-2.5".
std::string CursorLabelText(const TScaleLayout& layout, int position, char decimalSeparator = '.');

// The short name of a scale unit's measurements: "px", "pt", "in" or "cm". A ruler without
// a scale (unit 0), like any unit the scale treats as pixel, measures in pixels.
const char* UnitLabel(int scaleUnit, bool logicalPixels = false);

// A length or position in device pixels as the reader of the ruler wants it quoted: in the
// scale unit, with the cursor label's decimals, rounded once and half away from zero, then
// the unit's label after a space: "400 px", "300 pt", "4.17 in", "10.6 cm", "-3 pt". The
// decimal point is always '.', so a pasted measurement means the same in every locale.
std::string MeasurementText(int scaleUnit, int pixels, double pixelsPerInch, bool logicalPixels = false);
// The number of that text alone, "4.17", for texts that put one label after several numbers.
std::string MeasurementNumber(int scaleUnit, int pixels, double pixelsPerInch, bool logicalPixels = false);

// Whether a scale unit counts pixels, device or logical: every unit but point (2), inch (3)
// and centimetre (4).
bool IsPixelUnit(int scaleUnit, bool logicalPixels = false);

// A length that need not be whole pixels (a slanted line's) quoted as MeasurementText quotes
// whole ones, with at least `minimumDecimals` decimals: "120.4 px" with one, "1.25 in".
// Rounded once, half away from zero; for whole pixels and no extra decimals it reads exactly
// as MeasurementText.
std::string LengthText(int scaleUnit, double pixels, double pixelsPerInch, bool logicalPixels, int minimumDecimals = 0);
