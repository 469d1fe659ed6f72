#include <gtest/gtest.h>

#include <vector>

#include "color/ColorChart.h"

namespace {

using C = TQorvelColorComponent;
constexpr C AllComponents[] = {C::pccHue, C::pccSaturation, C::pccBrightness, C::pccRed, C::pccGreen, C::pccBlue};

TColor ClassicColors(TColor color) { return color == clBtnFace ? 0xC0C0C0 : 0x808080; }

TColorsPaintStyle Style() {
  TColorsPaintStyle style;
  style.Resolve = ClassicColors;
  return style;
}

// Without the marker and with square corners (rounded ones tint the corner cells), so the
// whole content can be compared with the model.
TColorsPaintStyle ContentOnly() {
  TColorsPaintStyle style = Style();
  style.Marker = nullptr;
  style.Look = TQorvelBoxControlLook::pclRect;
  return style;
}

template <class Model>
TPixelBuffer PaintAll(const Model& model, int width, const TColorsPaintStyle& style) {
  TPixelBuffer buffer(width, 258, 0x123456);
  model.Paint({buffer.View(), 0, 0}, style);
  return buffer;
}

// Repaints `area` of `screen` as the window would after an invalidation.
template <class Model>
void Repaint(TPixelBuffer& screen, const Model& model, const TRect& area, const TColorsPaintStyle& style) {
  TBoxPaintBuffer part(screen.Width(), screen.Height(), area);
  model.Paint(part.Canvas(), style);
  for (int y = part.Area().Top; y < part.Area().Bottom; ++y)
    for (int x = part.Area().Left; x < part.Area().Right; ++x)
      screen.View().Set(x, y, part.Pixels().At(x - part.Area().Left, y - part.Area().Top));
}

void ExpectSamePixels(const TPixelBuffer& a, const TPixelBuffer& b) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
}

TEST(ColorChart, ContentIsTheModelColourOfEveryCellForAllComponents) {
  // The painter computes rows incrementally; it must agree with the model pixel by pixel.
  TColorChartModel chart;
  chart.SetRGB(200, 90, 30);
  for (C component : AllComponents) {
    SCOPED_TRACE(static_cast<int>(component));
    chart.SetComponent(component);
    const TPixelBuffer buffer = PaintAll(chart, 258, ContentOnly());
    const int fixed = ChartFixedValue(component, chart.Values());
    for (int y = 1; y <= 256; ++y)
      for (int x = 1; x <= 256; ++x) ASSERT_EQ(buffer.At(x, y), ChartPixel(component, fixed, x, y)) << x << "," << y;
  }
}

TEST(ColorChart, CornersOfTheHueAndRedCharts) {
  // Hue chart: saturation left to right, brightness bottom to top.
  EXPECT_EQ(ChartPixel(C::pccHue, 0, 1, 1), 0xFEFEFEu);
  EXPECT_EQ(ChartPixel(C::pccHue, 0, 256, 1), 0xFE0000u);
  EXPECT_EQ(ChartPixel(C::pccHue, 0, 1, 256), 0x000000u);
  // Red chart: green left to right, blue bottom to top, cells at full 8-bit values.
  EXPECT_EQ(ChartPixel(C::pccRed, 0x40 * 256, 1, 256), 0x400000u);
  EXPECT_EQ(ChartPixel(C::pccRed, 0x40 * 256, 256, 1), 0x40FFFFu);
  EXPECT_EQ(ChartPixel(C::pccBlue, 0xFF * 256, 11, 236), 0x0A14FFu);
}

TEST(ColorChart, FrameMarkerAndWebSafeContent) {
  TColorChartModel chart;
  chart.SetRGB(255, 255, 255);  // white: hue chart marker at the top left
  EXPECT_EQ(chart.PosX(), 0);
  EXPECT_EQ(chart.PosY(), 255);
  chart.SetRGB(0, 0, 255);  // saturation 100 %, brightness 100 %: marker at the top right
  EXPECT_EQ(chart.PosX(), 255);
  EXPECT_EQ(chart.PosY(), 255);
  chart.SetHSB(0, 32768, 32768);
  EXPECT_EQ(chart.PosX(), 128);
  EXPECT_EQ(chart.PosY(), 128);

  TPixelBuffer buffer = PaintAll(chart, 258, Style());
  // The marker's centre lies on the content pixel of the value and stays see-through.
  const int cx = 128 + 1, cy = 256 - 128;
  EXPECT_EQ(buffer.At(cx, cy), ChartPixel(C::pccHue, 0, cx, cy));
  EXPECT_EQ(buffer.At(cx + 5, cy), 0xFFFFFFu);
  EXPECT_EQ(buffer.At(cx, cy - 6), 0x000000u);
  EXPECT_EQ(buffer.At(cx + 9, cy), ChartPixel(C::pccHue, 0, cx + 9, cy));
  // Black frame with rounded corners toward the parent.
  EXPECT_EQ(buffer.At(100, 0), 0x000000u);
  EXPECT_EQ(buffer.At(257, 100), 0x000000u);
  EXPECT_EQ(buffer.At(0, 0), 0xA8A8A8u);

  chart.SetWebSafe(true);
  buffer = PaintAll(chart, 258, ContentOnly());
  for (int y = 1; y <= 256; y += 17)
    for (int x = 1; x <= 256; x += 13) {
      TPixel expected = ChartPixel(C::pccHue, 0, x, y);
      WebSafeColorFilter().ApplyFilter(expected, 0, 0);
      EXPECT_EQ(buffer.At(x, y), expected);
    }
}

TEST(ColorChart, DeviceFilterDithersInContentCoordinates) {
  TColorChartModel chart;
  chart.SetRGB(40, 120, 200);
  TColorsPaintStyle style = ContentOnly();
  style.DeviceFilter = &HighColorFilter();
  const TPixelBuffer buffer = PaintAll(chart, 258, style);
  for (int y = 1; y <= 256; y += 7)
    for (int x = 1; x <= 256; x += 5) {
      TPixel expected = ChartPixel(C::pccHue, chart.Values().HSB.Hue, x, y);
      HighColorFilter().ApplyFilter(expected, x - 1, y - 1);
      ASSERT_EQ(buffer.At(x, y), expected) << x << "," << y;
    }
}

TEST(ColorChart, MarkerMoveRepaintsOnlyTheOldAndNewMarkerAreas) {
  for (C component : AllComponents) {
    SCOPED_TRACE(static_cast<int>(component));
    TColorChartModel chart;
    chart.SetComponent(component);
    chart.SetRGB(30, 160, 90);
    TPixelBuffer screen = PaintAll(chart, 258, Style());

    auto repaintAfter = [&](const TMarkerMove& move) {
      ASSERT_TRUE(move.Moved);
      EXPECT_EQ(move.NewArea, ChartMarkerArea(chart.PosX(), chart.PosY()));
      EXPECT_EQ(move.NewArea.Width() * move.NewArea.Height(), 256);
      Repaint(screen, chart, move.OldArea, Style());
      Repaint(screen, chart, move.NewArea, Style());
    };
    repaintAfter(chart.MouseDown(40, 60));
    repaintAfter(chart.MouseMove(250, 3));  // the marker now overlaps the frame
    ExpectSamePixels(screen, PaintAll(chart, 258, Style()));
  }
}

TEST(ColorChart, RepaintAreasMergeOnlyWhenThatSavesWork) {
  const TRepaintAreas step = MarkerRepaintAreas({true, ChartMarkerArea(100, 100), ChartMarkerArea(103, 98)});
  ASSERT_EQ(step.Count, 1);
  EXPECT_EQ(step.Areas[0], (TRect{93, 148, 112, 166}));
  const TRepaintAreas jump = MarkerRepaintAreas({true, ChartMarkerArea(0, 0), ChartMarkerArea(255, 255)});
  ASSERT_EQ(jump.Count, 2);
  EXPECT_EQ(jump.Areas[0], ChartMarkerArea(0, 0));
  EXPECT_EQ(jump.Areas[1], ChartMarkerArea(255, 255));
  EXPECT_EQ(MarkerRepaintAreas({}).Count, 0);
}

TEST(ColorChart, MouseSetsTheValuesAndFiresTheMatchingEvent) {
  TColorChartModel chart;
  int hsbEvents = 0, rgbEvents = 0;
  THSB lastHSB;
  TRGB lastRGB;
  chart.OnChangeHSB = [&](const TColorsControlModel&, int h, int s, int v) { ++hsbEvents, lastHSB = {h, s, v}; };
  chart.OnChangeRGB = [&](const TColorsControlModel&, int r, int g, int b) { ++rgbEvents, lastRGB = {r, g, b}; };
  chart.SetHSB(21845, 0, 0);
  EXPECT_EQ(hsbEvents + rgbEvents, 0);  // values set from outside fire nothing

  EXPECT_FALSE(chart.MouseDown(0, 100).Moved);  // on the frame
  EXPECT_FALSE(chart.Dragging());
  EXPECT_TRUE(chart.MouseDown(256, 1).Moved);  // top right: full saturation and brightness
  EXPECT_TRUE(chart.Dragging());
  EXPECT_EQ(hsbEvents, 1);
  EXPECT_EQ(lastHSB, (THSB{21845, 65536, 65536}));
  EXPECT_EQ(chart.Values().RGB, (TRGB{0, 255, 0}));
  EXPECT_FALSE(chart.MouseMove(400, -50).Moved);  // clamped to the same corner
  EXPECT_EQ(hsbEvents, 1);
  EXPECT_TRUE(chart.MouseMove(-20, 129).Moved);
  EXPECT_EQ(chart.PosX(), 0);
  EXPECT_EQ(chart.PosY(), 127);
  EXPECT_EQ(lastHSB, (THSB{21845, 0, MulDiv(127, 65536, 255)}));
  chart.MouseUp();
  EXPECT_FALSE(chart.MouseMove(100, 100).Moved);
  EXPECT_TRUE(chart.ShowsPickCursor(100, 100));
  EXPECT_FALSE(chart.ShowsPickCursor(257, 100));

  chart.SetComponent(C::pccBlue);
  const int blue = chart.Values().RGB.Blue;
  chart.MouseDown(11, 236);  // red = 10, green = 20
  EXPECT_EQ(rgbEvents, 1);
  EXPECT_EQ(lastRGB, (TRGB{10, 20, blue}));
  EXPECT_EQ(chart.Values().HSB, RGBToHSB(PackRGB(10, 20, blue)));
  EXPECT_TRUE(chart.ShowsPickCursor(300, 300));  // dragging keeps the pick cursor
}

TEST(ColorChart, SettingValuesReportsWhetherAnythingChanged) {
  TColorChartModel chart;
  EXPECT_TRUE(chart.SetRGB(255, 0, 0));
  EXPECT_FALSE(chart.SetRGB(255, 0, 0));
  EXPECT_EQ(chart.Values().HSB, (THSB{0, 65536, 65536}));
  EXPECT_FALSE(chart.SetHSB(65536, 65536, 65536));  // hue 65536 is hue 0
  EXPECT_TRUE(chart.SetHSB(43690, 99999, 65536));   // saturation clamped
  EXPECT_EQ(chart.Values().HSB, (THSB{43690, 65536, 65536}));
  EXPECT_EQ(chart.Values().RGB, (TRGB{0, 0, 255}));
  EXPECT_TRUE(chart.SetRGB(-4, 300, 7));
  EXPECT_EQ(chart.Values().RGB, (TRGB{0, 255, 7}));
  EXPECT_FALSE(chart.SetComponent(C::pccHue));
  EXPECT_TRUE(chart.SetComponent(C::pccGreen));
  EXPECT_EQ(chart.PosX(), 0);
  EXPECT_EQ(chart.PosY(), 7);
  EXPECT_TRUE(chart.SetWebSafe(true));
  EXPECT_FALSE(chart.SetWebSafe(true));
}

TEST(ColorBar, RowsForAllComponents) {
  TColorBarModel bar;
  bar.SetRGB(20, 140, 230);
  for (C component : AllComponents) {
    SCOPED_TRACE(static_cast<int>(component));
    bar.SetComponent(component);
    const TPixelBuffer buffer = PaintAll(bar, 26, ContentOnly());
    for (int y = 1; y <= 256; ++y) {
      const TPixel row = BarPixel(component, bar.Values(), y);
      ASSERT_EQ(buffer.At(1, y), row) << y;
      ASSERT_EQ(buffer.At(24, y), row) << y;
      ASSERT_EQ(buffer.At(25, y), 0u) << y;  // the frame
    }
  }
  const TColorValues values = bar.Values();
  EXPECT_EQ(BarPixel(C::pccRed, values, 1), PackRGB(255, 140, 230));
  EXPECT_EQ(BarPixel(C::pccGreen, values, 256), PackRGB(20, 0, 230));
  EXPECT_EQ(BarPixel(C::pccBrightness, values, 256), HSBToRGB(values.HSB.Hue, values.HSB.Saturation, 128));
}

TEST(ColorBar, HueRunsFullCircleRedAtBothEnds) {
  TColorBarModel bar;
  TRGB last;
  bar.OnChangeHSB = [&](const TColorsControlModel& sender, int, int, int) { last = sender.Values().RGB; };
  bar.SetRGB(255, 0, 0);
  EXPECT_EQ(bar.Pos(), 0);
  bar.MouseDown(12, 1);  // the top
  EXPECT_EQ(bar.Pos(), 255);
  EXPECT_EQ(bar.Values().HSB.Hue, 0);  // 65536 wraps
  EXPECT_EQ(last, (TRGB{255, 0, 0}));
  // The end rows are the cells next to red from either side.
  EXPECT_EQ(BarPixel(C::pccHue, bar.Values(), 1), 0xFF0002u);
  EXPECT_EQ(BarPixel(C::pccHue, bar.Values(), 256), 0xFF0200u);
  bar.MouseMove(12, 128);
  EXPECT_EQ(bar.Values().HSB.Hue, MulDiv(128, 65536, 255));
  EXPECT_EQ(last, (TRGB{0, 251, 255}));  // just past cyan
}

TEST(ColorBar, WhiteLosesOneStepWhenTheHueMoves) {
  TColorBarModel bar;
  bar.SetRGB(255, 255, 255);
  bar.MouseDown(5, 100);
  EXPECT_EQ(bar.Values().RGB, (TRGB{254, 254, 254}));  // brightness 65280 from the gray rule
}

TEST(ColorBar, MarkerMoveRepaintsOnlyTheTwoStrips) {
  TColorBarModel bar(26);
  bar.SetComponent(C::pccSaturation);
  bar.SetRGB(200, 50, 100);
  TPixelBuffer screen = PaintAll(bar, 26, Style());
  EXPECT_FALSE(bar.MouseDown(0, 100).Moved);  // on the frame
  EXPECT_FALSE(bar.MouseDown(25, 100).Moved);
  const TMarkerMove first = bar.MouseDown(13, 250);
  ASSERT_TRUE(first.Moved);
  EXPECT_EQ(first.NewArea, (TRect{1, 242, 26, 258}));
  Repaint(screen, bar, first.OldArea, Style());
  Repaint(screen, bar, first.NewArea, Style());
  const TMarkerMove second = bar.MouseMove(-40, 500);  // clamped to the bottom
  ASSERT_TRUE(second.Moved);
  EXPECT_EQ(bar.Pos(), 0);
  Repaint(screen, bar, second.OldArea, Style());
  Repaint(screen, bar, second.NewArea, Style());
  ExpectSamePixels(screen, PaintAll(bar, 26, Style()));
}

}  // namespace

TEST(ColorChart, AtHigherResolutionsEachColourStepIsABlockThatThePointerAndTheMarkerFind) {
  for (const int side : {384, 512}) {
    SCOPED_TRACE(side);
    TColorChartModel chart;
    chart.SetRGB(200, 90, 30);
    EXPECT_TRUE(chart.SetContentSide(side));
    // A partial repaint (as a marker move asks for) must agree with the whole picture.
    for (C component : {C::pccHue, C::pccGreen}) {
      chart.SetComponent(component);
      TPixelBuffer whole(side + 2, side + 2, 0x123456);
      chart.Paint({whole.View(), 0, 0}, ContentOnly());
      TPixelBuffer parts(side + 2, side + 2, 0x123456);
      Repaint(parts, chart, {0, 0, side + 2, side + 2}, ContentOnly());
      Repaint(parts, chart, {side / 3 + 1, side / 5, side / 3 + 40, side / 5 + 33}, ContentOnly());
      ExpectSamePixels(whole, parts);
      const int fixed = ChartFixedValue(component, chart.Values());
      const auto step = [side](int pixel) { return (pixel - 1) * 256 / side + 1; };
      for (int y = 1; y <= side; y += 7)
        for (int x = 1; x <= side; x += 5) ASSERT_EQ(whole.At(x, y), ChartPixel(component, fixed, step(x), step(y)));
      EXPECT_EQ(whole.At(side + 1, side / 2), 0x000000u) << "the frame closes the grown content";
    }
    // The last pixel is the last step; the pointer's block gives the marker's step, and the
    // marker, grown with the content, centres on that block.
    chart.MouseDown(side, 1);
    EXPECT_EQ(chart.PosX(), 255);
    EXPECT_EQ(chart.PosY(), 255);
    const auto firstPixel = [side](int step) { return 1 + (step * side + 255) / 256; };
    const TMarkerMove move = chart.MouseMove(firstPixel(100), firstPixel(255 - 40));
    chart.MouseUp();
    EXPECT_EQ(chart.PosX(), 100);
    EXPECT_EQ(chart.PosY(), 40);
    EXPECT_EQ(move.NewArea.Width(), 16 * side / 256);
    const int centreX = (move.NewArea.Left + move.NewArea.Right) / 2;
    EXPECT_GE(centreX, firstPixel(100));
    EXPECT_LT(centreX, firstPixel(101));
  }
}
