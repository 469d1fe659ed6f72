// Labels and the magnifier on a crowded overlay, and the keys that drive the tool.
#include <gtest/gtest.h>

#include "measure/MeasureKeys.h"
#include "measure/OverlayLayout.h"

TEST(OverlayLayout, LabelsAndTheMagnifierNeverCoverEachOtherNorTheMeasuredCorner) {
  const auto overlap = [](const TRect& a, const TRect& b) { return !IntersectRect(a, b).Empty(); };
  const TRect monitor{-800, 0, 0, 600};
  // Pins at one place, in the middle and in the corner where labels flip.
  std::vector<TPlacedMeasurement> pins;
  std::vector<TRect> labels;
  for (const TPoint at : {TPoint{-400, 300}, TPoint{-3, 597}}) {
    for (const int width : {44, 44, 90, 70, 44}) {
      const TRect label = PlaceLabel(at, width, 14, monitor, labels);
      EXPECT_EQ(IntersectRect(label, monitor), label);
      for (const TRect& other : labels) EXPECT_FALSE(overlap(label, other));
      labels.push_back(label);
      pins.push_back({{}, "", label});
    }
  }
  // A rectangle snapped below and right of the pointer, for the pointer anywhere.
  for (int y = 0; y < 600; y += 13) {
    for (int x = -800; x < 0; x += 13) {
      TPlacedMeasurement current{
          {TMeasureMode::Bounds, {}, {}, false, {x + 30, y + 20, x + 150, y + 140}, true, true}, "", {}};
      current.Label = PlaceLabel(LabelAnchor(current.Measurement), 80, 14, monitor, labels);
      const TRect loupe = PlaceLoupe({x, y}, monitor, LoupeObstacles({x, y}, &current, pins));
      ASSERT_TRUE(IntersectRect(loupe, monitor) == loupe && !loupe.Contains(x, y)) << x << ", " << y;
      for (const TPoint corner : MeasuredPoints(current.Measurement))
        ASSERT_FALSE(loupe.Contains(corner.X, corner.Y)) << x << ", " << y;
      ASSERT_FALSE(overlap(loupe, current.Label)) << x << ", " << y;
      for (const TRect& label : labels)
        ASSERT_FALSE(overlap(current.Label, label) || overlap(loupe, label)) << x << ", " << y;
    }
  }
}

TEST(MeasureKeys, ModesCopiesAndPointerSteps) {
  EXPECT_EQ(MeasureKeyAction('\t', false, false, TMeasureMode::Line).Mode, TMeasureMode::Spacing);
  EXPECT_EQ(MeasureKeyAction('\t', true, false, TMeasureMode::Spacing).Mode, TMeasureMode::Line);
  EXPECT_EQ(MeasureKeyAction(0x27, true, false, {}).Offset, (TPoint{10, 0}));
  EXPECT_EQ(MeasureKeyAction('C', true, false, {}).Command, TMeasureCommand::None) << "C alone is not the tool's";
  EXPECT_EQ(MeasureKeyAction('C', true, true, {}).Command, TMeasureCommand::CopyAllPinned);
}
