#include "ruler/MonitorDpi.h"

#include <gtest/gtest.h>

#include <vector>

#include "ruler/RulerSettings.h"
#include "ruler/RulerUnits.h"

namespace {

enum { Pixel = 1, Point = 2, Inch = 3, Centimetre = 4 };
enum { Coarse = 0, Medium = 1, Fine = 2 };

// A 100 % primary monitor, a 200 % one to its right and a 150 % one left of it, the way a
// laptop with two external screens reports them (the left one has negative coordinates).
const std::vector<TMonitorResolution> MixedDesk = {
    {{0, 0, 1920, 1080}, 96},
    {{1920, -200, 1920 + 3840, -200 + 2160}, 192},
    {{-2560, 0, 0, 1440}, 144},
};

TRect Ruler(int left, int top, int length = 400, int thickness = 30) {
  return {left, top, left + length, top + thickness};
}

// The pixel of the long tick whose number is `number` units from the start, walked the way
// the painter walks (not flipped).
int PixelOfLongTick(const TScaleLayout& layout, int number, const char* decimals = ".0") {
  TTickWalk walk(layout, 5000, false);
  for (walk.Seek(1); walk.Index() <= walk.Count(); walk.Next())
    if (walk.Kind() == TTickKind::Long && TickNumberText(layout, walk.G()) == std::to_string(number) + decimals)
      return walk.P();
  return -1;
}

}  // namespace

TEST(MonitorHolding, TheMonitorARectOverlapsMostWinsEvenWithNegativeCoordinates) {
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(100, 100)), 0);
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(2500, 500)), 1);
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(-900, 300)), 2);
  // Straddling the primary's right edge: 150 pixels on the primary, 250 on the 200 % monitor.
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(1920 - 150, 500)), 1);
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(1920 - 250, 500)), 0);
  // Straddling the left edge of the primary, mostly on the left monitor.
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(-300, 500)), 2);
}

TEST(MonitorHolding, ATieStaysWithTheEarlierMonitor) {
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(1920 - 200, 500)), 0);
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(-200, 500)), 0);
}

TEST(MonitorHolding, ARectOffEveryMonitorBelongsToTheNearestOne) {
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(100, 1100)), 0);           // just below the primary
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(100, 1200)), 2);           // nearer the left one
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(-1000, 1600)), 2);         // below the left monitor
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(7000, 3000)), 1);          // far right and below
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(-9000, -9000)), 2);        // far up left
  EXPECT_EQ(MonitorHolding(MixedDesk, Ruler(500, -100, 400, 30)), 0);  // above the primary, not the 200 % one
}

TEST(MonitorHolding, AnEmptyRectIsThePointAtItsCorner) {
  EXPECT_EQ(MonitorHolding(MixedDesk, TRect{2000, 10, 2000, 10}), 1);
  EXPECT_EQ(MonitorHolding(MixedDesk, TRect{-1, 10, -5, 3}), 2);
  EXPECT_EQ(MonitorHolding(MixedDesk, TRect{0, 0, 0, 0}), 0);
}

TEST(MonitorHolding, NoMonitorsOrOnlyEmptyOnesHoldNothing) {
  EXPECT_EQ(MonitorHolding({}, Ruler(0, 0)), -1);
  const std::vector<TMonitorResolution> empty = {{{0, 0, 0, 0}, 96}};
  EXPECT_EQ(MonitorHolding(empty, Ruler(0, 0)), -1);
}

TEST(PixelsPerInchAt, FollowsTheRulerFromMonitorToMonitor) {
  EXPECT_EQ(PixelsPerInchAt(MixedDesk, Ruler(100, 100), 96), 96);
  EXPECT_EQ(PixelsPerInchAt(MixedDesk, Ruler(1920 - 150, 500), 96), 192);
  EXPECT_EQ(PixelsPerInchAt(MixedDesk, Ruler(-900, 300), 96), 144);
  EXPECT_EQ(PixelsPerInchAt({}, Ruler(100, 100), 120), 120);
}

TEST(PixelsPerInchAt, AMonitorReportingNoUsableResolutionGivesTheFallback) {
  const std::vector<TMonitorResolution> odd = {{{0, 0, 800, 600}, 0}, {{800, 0, 1600, 600}, 100000}};
  EXPECT_EQ(PixelsPerInchAt(odd, Ruler(10, 10), 144), 144);
  EXPECT_EQ(PixelsPerInchAt(odd, Ruler(900, 10), 144), 144);
}

TEST(DpiArithmetic, AnInchIsTheMonitorsPixelsPerInchAndACentimetreItsShare) {
  for (int dpi : {96, 120, 144, 192}) {
    const TScaleLayout inch = ChooseScaleLayout(Inch, Medium, dpi);
    // Exact: the sub-unit is dpi/100 pixels, so inch k lies k * dpi pixels from the start.
    EXPECT_EQ(PixelOfLongTick(inch, 1), dpi) << dpi;
    EXPECT_EQ(PixelOfLongTick(inch, 2), 2 * dpi) << dpi;
    EXPECT_EQ(PixelOfLongTick(inch, 3), 3 * dpi) << dpi;
    const TScaleLayout centimetre = ChooseScaleLayout(Centimetre, Medium, dpi);
    EXPECT_EQ(centimetre.N * 254, centimetre.D * 10 * dpi) << dpi;
  }
}

TEST(DpiArithmetic, PointsAreTwoPixelsAt144DpiAndTwoAndTwoThirdsAt192) {
  const TScaleLayout at144 = ChooseScaleLayout(Point, Medium, 144);
  EXPECT_FALSE(at144.FractionalTicks());
  EXPECT_EQ(PixelOfLongTick(at144, 100, ""), 200);
  const TScaleLayout at192 = ChooseScaleLayout(Point, Medium, 192);
  EXPECT_TRUE(at192.FractionalTicks());
  EXPECT_EQ(PixelOfLongTick(at192, 100, ""), 266);  // 266.67: the ink is shared with 267
}

TEST(DpiArithmetic, TheCursorLabelReadsTheSameLengthOnEveryMonitor) {
  // Half an inch and 2.5 centimetres, each measured on monitors of 96, 144 and 192 dpi.
  for (int dpi : {96, 144, 192}) {
    EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Inch, Medium, dpi), dpi / 2), "0.50") << dpi;
    EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Inch, Medium, dpi), -dpi), "-1.00") << dpi;
    EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Centimetre, Fine, dpi), dpi), "2.5") << dpi;
    EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Point, Medium, dpi), dpi), "72") << dpi;
    // Pixels know no resolution.
    EXPECT_EQ(CursorLabelText(ChooseScaleLayout(Pixel, Medium, dpi), 37), "37") << dpi;
  }
}

TEST(DpiArithmetic, AUserDefinedResolutionWinsOverEveryMonitors) {
  for (const TMonitorResolution& monitor : MixedDesk) {
    const int screen = PixelsPerInchAt(MixedDesk, Ruler(monitor.Bounds.Left + 10, monitor.Bounds.Top + 10), 96);
    EXPECT_EQ(screen, monitor.PixelsPerInch);
    EXPECT_EQ(ResolvePixelsPerInch(true, 110, screen), 110);
    EXPECT_EQ(ResolvePixelsPerInch(false, 110, screen), monitor.PixelsPerInch);
  }
  // A resolution measured from the monitor's glass comes in as the screen's, and wins in turn.
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  settings->Parameters->UserDefiniedDPI = true;
  settings->Parameters->PixelsPerInch = 110;
  const auto identity = [](TColor color) { return color; };
  EXPECT_EQ(ScaleInputFor(*settings, 400, 30, 128, 96, identity).PixelsPerInch, 110);
  settings->Parameters->MeasuredDPI = true;
  EXPECT_EQ(ScaleInputFor(*settings, 400, 30, 128, 96, identity).PixelsPerInch, 128);
}
