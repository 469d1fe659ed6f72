#include "ruler/RulerUnits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace {

enum { Pixel = 1, Point = 2, Inch = 3, Centimetre = 4 };
enum { Coarse = 0, Medium = 1, Fine = 2 };

// The long-tick numbers from the first one on.
std::vector<std::string> FirstNumbers(const TScaleLayout& layout, int count) {
  std::vector<std::string> numbers;
  for (int i = 1; i <= count; ++i) numbers.push_back(TickNumberText(layout, i * layout.Row.LongEvery));
  return numbers;
}

struct TWalkStep {
  int G, P, F;
  TTickKind Kind;
  friend bool operator==(const TWalkStep&, const TWalkStep&) = default;
};

// The walk step by step as the scale defines it: whole pixels plus a remainder in 1/D pixel.
std::vector<TWalkStep> ReferenceWalk(const TScaleLayout& layout, int length, bool flipped) {
  const int step = layout.Row.Step, n = layout.N, d = layout.D;
  int s = step * n / d;
  const int r = step * n % d;
  int p = 0, direction = 1;
  if (flipped) {
    p = length - 1;
    direction = -1;
    s = -s;
  }
  int f = r / 2, g = 0;
  const int limit = (length * d + n) / n;
  std::vector<TWalkStep> steps;
  while (g < limit) {
    g += step;
    p += s;
    f += r;
    if (f >= d) {
      p += direction;
      f -= d;
    }
    const TTickKind kind = g % layout.Row.LongEvery == 0     ? TTickKind::Long
                           : g % layout.Row.MediumEvery == 0 ? TTickKind::Medium
                                                             : TTickKind::Short;
    steps.push_back({g, p, f, kind});
  }
  return steps;
}

std::vector<TWalkStep> Walk(const TScaleLayout& layout, int length, bool flipped) {
  TTickWalk walk(layout, length, flipped);
  std::vector<TWalkStep> steps;
  for (walk.Seek(1); walk.Index() <= walk.Count(); walk.Next())
    steps.push_back({walk.G(), walk.P(), walk.F(), walk.Kind()});
  return steps;
}

}  // namespace

TEST(ChooseScaleLayout, RowsAt96DpiForEveryUnitAndGranularity) {
  struct TCase {
    int Unit, Granularity;
    TScaleRow Row;
    int Widenings;
    std::vector<std::string> Numbers;
  };
  const std::vector<TCase> cases = {
      {Pixel, Fine, {2, 10, 50}, 0, {"50", "100"}},        {Pixel, Medium, {5, 10, 50}, 0, {"50", "100"}},
      {Pixel, Coarse, {1, 5, 20}, 1, {"200", "400"}},      {Point, Fine, {2, 10, 50}, 0, {"50", "100"}},
      {Point, Medium, {5, 10, 50}, 0, {"50", "100"}},      {Point, Coarse, {1, 5, 20}, 1, {"200", "400"}},
      {Inch, Fine, {2, 10, 50}, 0, {"0.5", "1.0", "1.5"}}, {Inch, Medium, {5, 10, 50}, 0, {"0.5", "1.0", "1.5"}},
      {Inch, Coarse, {2, 10, 50}, 1, {"5.0", "10.0"}},     {Centimetre, Fine, {1, 5, 20}, 0, {"2", "4"}},
      {Centimetre, Medium, {2, 10, 50}, 0, {"5", "10"}},   {Centimetre, Coarse, {5, 10, 50}, 0, {"5", "10"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "unit " << c.Unit << ", granularity " << c.Granularity);
    const TScaleLayout layout = ChooseScaleLayout(c.Unit, c.Granularity, 96);
    EXPECT_EQ(layout.Row, c.Row);
    EXPECT_EQ(layout.Widenings, c.Widenings);
    EXPECT_EQ(FirstNumbers(layout, static_cast<int>(c.Numbers.size())), c.Numbers);
  }
}

TEST(ChooseScaleLayout, TickSpacingInPixels) {
  // Point fine 2.67, medium 6.67, coarse 13.3 pixels; inch fine 1.92, medium 4.8, coarse 19.2.
  const auto spacing = [](int unit, int granularity) {
    const TScaleLayout layout = ChooseScaleLayout(unit, granularity, 96);
    return static_cast<double>(layout.Row.Step) * layout.N / layout.D;
  };
  EXPECT_NEAR(spacing(Point, Fine), 2.67, 0.01);
  EXPECT_NEAR(spacing(Point, Medium), 6.67, 0.01);
  EXPECT_NEAR(spacing(Point, Coarse), 13.33, 0.01);
  EXPECT_NEAR(spacing(Inch, Fine), 1.92, 0.01);
  EXPECT_NEAR(spacing(Inch, Medium), 4.8, 0.01);
  EXPECT_NEAR(spacing(Inch, Coarse), 19.2, 0.01);
  EXPECT_NEAR(spacing(Centimetre, Fine), 3.78, 0.01);
}

TEST(ChooseScaleLayout, UnknownUnitsAreCountedAsPixelsAndUnknownGranularitiesAsCoarse) {
  const TScaleLayout pixelCoarse = ChooseScaleLayout(Pixel, Coarse, 96);
  for (const auto& [unit, granularity] :
       std::vector<std::pair<int, int>>{{5, Coarse}, {77, Coarse}, {Pixel, 3}, {Pixel, -1}}) {
    const TScaleLayout layout = ChooseScaleLayout(unit, granularity, 120);
    EXPECT_EQ(layout.Row, pixelCoarse.Row);
    EXPECT_EQ(layout.N, pixelCoarse.N);
    EXPECT_EQ(layout.LabelExponent, pixelCoarse.LabelExponent);
  }
}

TEST(ChooseScaleLayout, PointTicksFallBetweenPixelsAt96DpiButNotAt144) {
  for (int granularity : {Coarse, Medium, Fine}) {
    EXPECT_TRUE(ChooseScaleLayout(Point, granularity, 96).FractionalTicks());
    EXPECT_FALSE(ChooseScaleLayout(Point, granularity, 144).FractionalTicks());
  }
  EXPECT_FALSE(ChooseScaleLayout(Pixel, Medium, 96).FractionalTicks());
}

TEST(ChooseScaleLayout, NumbersStateTheUnitAtEveryResolutionTheSettingsAllow) {
  // Whatever widening a resolution needs, a number reads the tick's distance in the unit:
  // this covers the point unit at 10 to 14 dpi, whose label divisor would reach zero.
  const double unitsPerSubUnit[] = {0, 1, 1, 0.01, 0.1};
  for (int dpi = MinUserPixelsPerInch; dpi <= MaxUserPixelsPerInch; ++dpi) {
    for (int unit = Pixel; unit <= Centimetre; ++unit) {
      for (int granularity : {Coarse, Medium, Fine}) {
        const TScaleLayout layout = ChooseScaleLayout(unit, granularity, dpi);
        const int g = 3 * layout.Row.LongEvery;
        const double expected = g * std::pow(10.0, layout.Widenings) * unitsPerSubUnit[unit];
        ASSERT_NEAR(std::stod(TickNumberText(layout, g)), expected, 1e-9)
            << "unit " << unit << ", granularity " << granularity << ", " << dpi << " dpi";
      }
    }
  }
}

TEST(ChooseScaleLayout, PointUnitAtTenDpiLabelsPoints) {
  const TScaleLayout layout = ChooseScaleLayout(Point, Coarse, 10);
  EXPECT_EQ(layout.Widenings, 2);
  EXPECT_EQ(FirstNumbers(layout, 2), (std::vector<std::string>{"2000", "4000"}));
  // 139 pixels at 10 dpi are 1000.8 points.
  EXPECT_EQ(CursorLabelText(layout, 139), "1000");
  EXPECT_EQ(CursorLabelText(layout, -139), "-1000");
}

TEST(ChooseScaleLayout, ResolutionsNoSettingAllowsStillEnd) {
  for (int dpi : {0, -96, 1, 1000000000}) {
    const TScaleLayout layout = ChooseScaleLayout(Centimetre, Coarse, dpi);
    EXPECT_GE(std::int64_t{layout.Row.Step} * 10 * layout.N / layout.D, 100) << dpi;
  }
}

TEST(ResolvePixelsPerInch, UsesTheUsersValueWithinTheDialogsRangeElseTheScreens) {
  EXPECT_EQ(ResolvePixelsPerInch(true, 120, 96), 120);
  EXPECT_EQ(ResolvePixelsPerInch(false, 120, 144), 144);
  EXPECT_EQ(ResolvePixelsPerInch(true, 0, 96), 10);
  EXPECT_EQ(ResolvePixelsPerInch(true, 5000, 96), 600);
  EXPECT_EQ(ResolvePixelsPerInch(false, 120, 0), 96);
}

TEST(TTickWalk, PointUnitAt96DpiFineSharesEachTicksInkBetweenTwoPixels) {
  const TScaleLayout layout = ChooseScaleLayout(Point, Fine, 96);
  TTickWalk walk(layout, 100, false);
  // M = 76 sub-units: ticks up to G = 76.
  EXPECT_EQ(walk.Count(), 38);
  const std::vector<std::tuple<int, int, int, TTickKind>> expected = {
      {2, 3, 0, TTickKind::Short},  {4, 5, 170, TTickKind::Short},    {6, 8, 85, TTickKind::Short},
      {8, 11, 0, TTickKind::Short}, {10, 13, 170, TTickKind::Medium}, {12, 16, 85, TTickKind::Short}};
  walk.Seek(1);
  for (const auto& [g, p, alpha, kind] : expected) {
    EXPECT_EQ(std::make_tuple(walk.G(), walk.P(), walk.Alpha(), walk.Kind()), std::make_tuple(g, p, alpha, kind));
    walk.Next();
  }
}

TEST(TTickWalk, PixelUnitMediumCountsFromEitherEnd) {
  const TScaleLayout layout = ChooseScaleLayout(Pixel, Medium, 96);
  std::vector<int> forward, backward;
  for (const TWalkStep& step : Walk(layout, 100, false)) forward.push_back(step.P);
  for (const TWalkStep& step : Walk(layout, 100, true)) backward.push_back(step.P);
  std::vector<int> expectedForward, expectedBackward;
  for (int x = 5; x <= 105; x += 5) expectedForward.push_back(x);
  for (int x = 94; x >= -6; x -= 5) expectedBackward.push_back(x);
  EXPECT_EQ(forward, expectedForward);
  EXPECT_EQ(backward, expectedBackward);
}

TEST(TTickWalk, SeekingAndSteppingAgreeWithTheStepByStepWalk) {
  for (int unit = Pixel; unit <= Centimetre; ++unit) {
    for (int granularity : {Coarse, Medium, Fine}) {
      for (int dpi : {10, 14, 72, 96, 120, 144, 157, 600}) {
        for (int length : {0, 1, 37, 100, 1000, 1921}) {
          for (bool flipped : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << unit << "/" << granularity << "/" << dpi << "/" << length << "/" << flipped);
            const TScaleLayout layout = ChooseScaleLayout(unit, granularity, dpi);
            const std::vector<TWalkStep> reference = ReferenceWalk(layout, length, flipped);
            ASSERT_EQ(Walk(layout, length, flipped), reference);
            TTickWalk walk(layout, length, flipped);
            for (int index = 1; index <= walk.Count(); index += 7) {
              walk.Seek(index);
              ASSERT_EQ((TWalkStep{walk.G(), walk.P(), walk.F(), walk.Kind()}),
                        reference[static_cast<std::size_t>(index - 1)]);
            }
          }
        }
      }
    }
  }
}

TEST(TTickWalk, IndexRangeHoldsExactlyTheTicksWithinTheRange) {
  for (bool flipped : {false, true}) {
    const TScaleLayout layout = ChooseScaleLayout(Centimetre, Fine, 96);
    const std::vector<TWalkStep> reference = ReferenceWalk(layout, 300, flipped);
    const TTickWalk walk(layout, 300, flipped);
    for (int from = -20; from < 320; from += 13) {
      for (int to = from - 1; to < from + 40; to += 3) {
        std::vector<int> expected;
        for (std::size_t i = 0; i < reference.size(); ++i)
          if (reference[i].P >= from && reference[i].P <= to) expected.push_back(static_cast<int>(i) + 1);
        const auto [first, last] = walk.IndexRange(from, to);
        std::vector<int> actual;
        for (int index = first; index <= last; ++index) actual.push_back(index);
        ASSERT_EQ(actual, expected) << "from " << from << " to " << to << (flipped ? " flipped" : "");
      }
    }
  }
}

TEST(CursorLabelText, StatesThePositionInTheUnitWithItsDecimals) {
  EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Pixel, Medium, 96), 37), "37");
  EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Pixel, Coarse, 96), 262), "262");
  EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Inch, Medium, 96), 48), "0.50");
  EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Centimetre, Fine, 96), 96), "2.5");
  EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Point, Medium, 96), 237), "178");
  EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Pixel, Medium, 96), -1234), "-1234");
  EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Inch, Medium, 96), -960), "-10.00");
  EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Inch, Medium, 96), 48, ','), "0,50");
}

TEST(CursorLabelText, RoundsTenthsHalfToEvenThenTheShownDigitsHalfAwayFromZero) {
  // Point at 96 dpi: one pixel is 7.5 tenths of a point, which rounds to 8, shown as "1";
  // three pixels are 22.5 tenths, rounded to 22, shown as "2".
  const TScaleLayout point = ChooseScaleLayout(Point, Medium, 96);
  EXPECT_EQ(CursorLabelText(point, 1), "1");
  EXPECT_EQ(CursorLabelText(point, 3), "2");
  EXPECT_EQ(CursorLabelText(point, -1), "-1");
  // 2 pixels at 600 dpi are 0.24 points: no "-0" for the small negative one either.
  const TScaleLayout fine = ChooseScaleLayout(Point, Medium, 600);
  EXPECT_EQ(CursorLabelText(fine, 2), "0");
  EXPECT_EQ(CursorLabelText(fine, -2), "0");
}

TEST(MeasurementText, QuotesALengthInEachUnitWithTheLabelsDecimalsAndName) {
  EXPECT_EQ(MeasurementText(Pixel, 400, 96), "400 px");
  EXPECT_EQ(MeasurementText(Point, 400, 96), "300 pt");
  EXPECT_EQ(MeasurementText(Inch, 400, 96), "4.17 in");
  EXPECT_EQ(MeasurementText(Centimetre, 400, 96), "10.6 cm");
  EXPECT_EQ(MeasurementText(Inch, 96, 96), "1.00 in");
  EXPECT_EQ(MeasurementText(Centimetre, 96, 96), "2.5 cm");
  EXPECT_EQ(MeasurementText(Inch, 4, 96), "0.04 in");
  // Physical units follow the resolution; pixels do not.
  EXPECT_EQ(MeasurementText(Inch, 400, 144), "2.78 in");
  EXPECT_EQ(MeasurementText(Pixel, 400, 144), "400 px");
  EXPECT_EQ(MeasurementText(Pixel, 0, 96), "0 px");
}

TEST(MeasurementText, AScaleWithoutUnitAndUnknownUnitsMeasureInPixels) {
  EXPECT_EQ(MeasurementText(0, 512, 96), "512 px");
  EXPECT_EQ(MeasurementText(5, 512, 96), "512 px");
  EXPECT_EQ(MeasurementText(-1, 512, 96), "512 px");
  EXPECT_STREQ(UnitLabel(0), "px");
  EXPECT_STREQ(UnitLabel(1), "px");
  EXPECT_STREQ(UnitLabel(2), "pt");
  EXPECT_STREQ(UnitLabel(3), "in");
  EXPECT_STREQ(UnitLabel(4), "cm");
}

TEST(MeasurementText, RoundsOnceHalfAwayFromZero) {
  // 5 pixels at 144 dpi are exactly 2.5 points; 25 pixels at 254 dpi exactly 0.25 cm and
  // 12 pixels at 96 dpi exactly 0.125 inch: ties go up, not to the even neighbour.
  EXPECT_EQ(MeasurementText(Point, 5, 144), "3 pt");
  EXPECT_EQ(MeasurementText(Centimetre, 25, 254), "0.3 cm");
  EXPECT_EQ(MeasurementText(Inch, 12, 96), "0.13 in");
  EXPECT_EQ(MeasurementText(Point, -5, 144), "-3 pt");
  // 95 pixels at 96 dpi are 0.98958 inch.
  EXPECT_EQ(MeasurementText(Inch, 95, 96), "0.99 in");
  // A tiny negative position reads as zero, not "-0".
  EXPECT_EQ(MeasurementText(Inch, -1, 600), "0.00 in");
  EXPECT_EQ(MeasurementText(Point, -1, 600), "0 pt");
}

TEST(MeasurementText, ExtremeResolutionsAndLengthsStayExact) {
  EXPECT_EQ(MeasurementText(Inch, 2147483647, 96), "22369621.32 in");
  EXPECT_EQ(MeasurementText(Centimetre, -2147483647, 1), "-5454608463.4 cm");
  // Resolutions beyond what the scale supports are held to its bounds, like the ticks.
  EXPECT_EQ(MeasurementText(Inch, 100, 0), MeasurementText(Inch, 100, 1));
  EXPECT_EQ(MeasurementText(Inch, 100, 1000000), MeasurementText(Inch, 100, 65536));
}

TEST(MeasurementText, IsWithinHalfALastDigitOfTheExactValue) {
  struct TUnitCase {
    int Unit;
    const char* Label;
    int Decimals;
    double UnitsPerInch;  // 0: pixels
  };
  const TUnitCase units[] = {
      {Pixel, "px", 0, 0}, {Point, "pt", 0, 72}, {Inch, "in", 2, 1}, {Centimetre, "cm", 1, 2.54}};
  for (const TUnitCase& unit : units) {
    for (int dpi : {10, 72, 96, 120, 144, 192, 254, 600}) {
      for (int pixels = -300; pixels <= 3000; pixels += 7) {
        const std::string text = MeasurementText(unit.Unit, pixels, dpi);
        const std::string suffix = std::string(" ") + unit.Label;
        ASSERT_GT(text.size(), suffix.size());
        ASSERT_EQ(text.substr(text.size() - suffix.size()), suffix) << text;
        const std::string number = text.substr(0, text.size() - suffix.size());
        const std::size_t point = number.find('.');
        ASSERT_EQ(point == std::string::npos ? 0 : number.size() - point - 1, static_cast<std::size_t>(unit.Decimals))
            << text;
        const double exact = unit.UnitsPerInch == 0 ? pixels : pixels * unit.UnitsPerInch / dpi;
        const double half = 0.5 * std::pow(10.0, -unit.Decimals);
        EXPECT_LE(std::fabs(std::stod(number) - exact), half + 1e-9) << text << " for " << pixels << " px at " << dpi;
      }
    }
  }
}

// A length that need not be whole pixels reads, for whole ones, exactly as a measurement: the
// same rounding of halves at every resolution, and one label after the number.
TEST(LengthText, AgreesWithMeasurementTextOnWholePixels) {
  const int units[] = {0, Pixel, Point, Inch, Centimetre};
  for (const int unit : units)
    for (int dpi : {10, 72, 96, 120, 144, 254, 600})
      for (int pixels = -300; pixels <= 3000; pixels += 1)
        ASSERT_EQ(LengthText(unit, pixels, dpi, false), MeasurementText(unit, pixels, dpi)) << pixels << " at " << dpi;
  EXPECT_EQ(LengthText(Pixel, 120.37, 96, false, 1), "120.4 px");
  EXPECT_EQ(LengthText(Pixel, 0.25, 96, false, 1), "0.3 px") << "half away from zero";
  EXPECT_EQ(LengthText(Inch, 121.0, 96, false, 1), "1.26 in") << "the unit's two decimals beat the minimum";
}
