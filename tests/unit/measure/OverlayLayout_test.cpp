// Labels and the magnifier on a crowded overlay, and the keys that drive the tool.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "measure/MeasureKeys.h"
#include "measure/OverlayLayout.h"

namespace {

bool Overlap(const TRect& a, const TRect& b) { return !IntersectRect(a, b).Empty(); }

std::string Describe(const TRect& r) {
  return "{" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " + std::to_string(r.Right) + ", " +
         std::to_string(r.Bottom) + "}";
}

}  // namespace

TEST(OverlayLayout, LabelsAndTheMagnifierNeverCoverEachOtherNorTheMeasuredCorner) {
  const TRect monitor{-800, 0, 0, 600};
  // Pins at the same places: the spans with Shift, with Ctrl and both, in the middle and in
  // the bottom-right corner where labels flip.
  std::vector<TPlacedMeasurement> pins;
  std::vector<TRect> labels;
  for (const TPoint at : {TPoint{-400, 300}, TPoint{-3, 597}}) {
    for (const int width : {44, 44, 90, 70, 44}) {
      TPlacedMeasurement pin;
      pin.Measurement.From = at;
      pin.Label = PlaceLabel(at, width, 14, monitor, labels);
      EXPECT_EQ(IntersectRect(pin.Label, monitor), pin.Label);
      for (const TRect& other : labels) EXPECT_FALSE(Overlap(pin.Label, other)) << Describe(pin.Label);
      labels.push_back(pin.Label);
      pins.push_back(pin);
    }
  }
  // A rectangle dragged up and left and snapped to content below and right of the pointer,
  // with the pointer anywhere: its label clear of the pins', the magnifier clear of every
  // label, the pointer and the rectangle's corners.
  for (int y = 0; y < 600; y += 13) {
    for (int x = -800; x < 0; x += 13) {
      TPlacedMeasurement current;
      current.Measurement.Mode = TMeasureMode::Bounds;
      current.Measurement.Box = {x + 30, y + 20, x + 150, y + 140};
      current.Label = PlaceLabel(LabelAnchor(current.Measurement), 80, 14, monitor, labels);
      const TRect loupe = PlaceLoupe({x, y}, monitor, LoupeObstacles({x, y}, &current, pins));
      const std::string where = "pointer at " + std::to_string(x) + ", " + std::to_string(y);
      ASSERT_EQ(IntersectRect(loupe, monitor), loupe) << where;
      ASSERT_FALSE(loupe.Contains(x, y)) << where;
      for (const TPoint corner : MeasuredPoints(current.Measurement))
        ASSERT_FALSE(loupe.Contains(corner.X, corner.Y)) << where << ": the corner " << corner.X << ", " << corner.Y;
      for (const TRect& label : labels) {
        ASSERT_FALSE(Overlap(current.Label, label)) << where;
        ASSERT_FALSE(Overlap(loupe, label)) << where << ": the pin label " << Describe(label);
      }
      ASSERT_FALSE(Overlap(loupe, current.Label)) << where;
    }
  }
}

TEST(MeasureKeys, ModesPinsCopiesAndPointerSteps) {
  using C = TMeasureCommand;
  const auto mode = [](int key, bool shift, TMeasureMode from) { return MeasureKeyAction(key, shift, false, from).Mode; };
  EXPECT_EQ(mode('\t', false, TMeasureMode::Line), TMeasureMode::Spacing);
  EXPECT_EQ(mode('\t', true, TMeasureMode::Spacing), TMeasureMode::Line);
  EXPECT_EQ(mode('\t', false, TMeasureMode::Spacing), TMeasureMode::Bounds);
  EXPECT_EQ(mode('2', false, TMeasureMode::Line), TMeasureMode::Bounds);
  EXPECT_EQ(MeasureKeyAction(0x27, true, false, {}), (TMeasureKeyAction{C::MovePointer, {10, 0}, {}}));
  EXPECT_EQ(MeasureKeyAction(0x26, false, true, {}), (TMeasureKeyAction{C::MovePointer, {0, -1}, {}}));
  EXPECT_EQ(MeasureKeyAction('C', true, false, {}).Command, C::None) << "C alone is not the tool's";
  EXPECT_EQ(MeasureKeyAction('C', false, true, {}).Command, C::Copy);
  EXPECT_EQ(MeasureKeyAction('C', true, true, {}).Command, C::CopyAllPinned);
  EXPECT_EQ(MeasureKeyAction(0x08, false, false, {}).Command, C::RemoveLastPin);
  EXPECT_EQ(MeasureKeyAction('4', false, false, {}).Command, C::None);
}
