// The overlay's measurements: their texts, where labels go, and the promise that repainting
// a measurement's strips leaves exactly the pixels a full composition leaves.

#include <gtest/gtest.h>

#include "measure/OverlayComposition.h"

namespace {

TPixelBuffer Desk(int width, int height) {
  TPixelBuffer desk(width, height, 0xF0F0F0);
  desk.View().Fill({40, 30, 340, 150}, 0x2F6FD6);  // a 300 x 120 button
  return desk;
}

TPlacedMeasurement Placed(const TMeasurement& m, const TRect& area) {
  TPlacedMeasurement placed{m, MeasurementLabelText(m, {}), {}};
  placed.Label = PlaceLabel(LabelAnchor(m), 60, 14, area);
  return placed;
}

}  // namespace

TEST(Measurements, TextsFollowModeAndModifiers) {
  TMeasurement spacing;
  spacing.From = {100, 60};
  spacing.Box = {40, 30, 340, 150};
  EXPECT_EQ(MeasurementLabelText(spacing, {}), "300 \u00D7 120 px");
  spacing.Vertical = false;  // Shift: the horizontal span alone
  EXPECT_EQ(MeasurementLabelText(spacing, {}), "300 px");
  spacing.Vertical = true;
  spacing.Horizontal = false;
  EXPECT_EQ(MeasurementLabelText(spacing, {3, 96, false}), "1.25 in");

  TMeasurement line;
  line.Mode = TMeasureMode::Line;
  line.From = {0, 0};
  line.To = {100, -67};
  EXPECT_EQ(MeasurementLabelText(line, {}), "120.4 px at 33.8\u00B0");
  EXPECT_EQ(MeasureModeFromIndex(7), TMeasureMode::Spacing);  // a damaged file's mode
}

TEST(Measurements, LabelsAndLoupeStayOnTheirMonitor) {
  const TRect monitor{-1920, 0, 0, 1080};
  EXPECT_EQ(PlaceLabel({-1000, 500}, 60, 14, monitor), (TRect{-988, 512, -918, 530}));
  // At the right and bottom edges the label goes to the other side of the anchor.
  EXPECT_EQ(PlaceLabel({-5, 1075}, 60, 14, monitor), (TRect{-87, 1045, -17, 1063}));
  const TRect loupe = PlaceLoupe({-1910, 10}, monitor);
  EXPECT_EQ(loupe.Width(), LoupeSide);
  EXPECT_GE(loupe.Left, monitor.Left);
  EXPECT_GE(loupe.Top, monitor.Top);
  EXPECT_FALSE(loupe.Contains(-1910, 10));  // never under the pointer it enlarges
}

TEST(OverlayComposition, RepaintingTheStripsOfAMoveEqualsAFullComposition) {
  const TRect area{0, 0, 400, 200};
  TPixelBuffer desk = Desk(400, 200);
  TMeasurement a;
  a.From = {100, 60};
  a.Box = {40, 30, 340, 150};
  TMeasurement b;
  b.Mode = TMeasureMode::Line;
  b.From = {10, 190};
  b.To = {390, 20};
  TMeasurement pinned;
  pinned.Mode = TMeasureMode::Bounds;
  pinned.Box = {50, 40, 120, 90};
  const std::vector<TPlacedMeasurement> pins{Placed(pinned, area)};

  TOverlayScene scene;
  scene.Snapshot = desk.View();
  scene.Pins = &pins;
  scene.ShowLoupe = true;
  const auto compose = [&](TPixelBuffer& frame, const TPlacedMeasurement& current, TPoint cursor, const TRect& clip) {
    scene.Current = &current;
    scene.Cursor = cursor;
    scene.Loupe = PlaceLoupe(cursor, area);
    ComposeOverlay(frame.View(), scene, clip);
  };
  const TPlacedMeasurement placedA = Placed(a, area), placedB = Placed(b, area);

  TPixelBuffer expected(400, 200), frame(400, 200);
  compose(expected, placedB, b.To, area);
  compose(frame, placedA, a.From, area);
  std::vector<TRect> strips = MeasurementStrips(placedA);
  for (const TRect& r : MeasurementStrips(placedB)) strips.push_back(r);
  strips.push_back(PlaceLoupe(a.From, area));
  strips.push_back(PlaceLoupe(b.To, area));
  for (const TRect& strip : strips) compose(frame, placedB, b.To, strip);
  int differing = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 400; ++x) differing += frame.At(x, y) != expected.At(x, y);
  EXPECT_EQ(differing, 0);

  // The spans lie on the cursor's row and column, ended by bars, in the line colour.
  TPixelBuffer spans(400, 200);
  scene.ShowLoupe = false;
  compose(spans, placedA, a.From, area);
  EXPECT_EQ(spans.At(40, 60), scene.Look.Line);
  EXPECT_EQ(spans.At(339, 60), scene.Look.Line);
  EXPECT_EQ(spans.At(340, 60), 0xF0F0F0u);
  EXPECT_EQ(spans.At(339, 60 - SpanCap), scene.Look.Line);
  EXPECT_EQ(spans.At(100, 149), scene.Look.Line);
  EXPECT_EQ(spans.At(100, 150), 0xF0F0F0u);
  EXPECT_EQ(spans.At(200, 100), 0x2F6FD6u);  // inside, away from the spans: the snapshot
}
