// Cursor moves repainted from a kept face must leave exactly the pixels of a full paint:
// the cursor line lies under ticks, numbers, buttons and outline, and the label under the
// buttons and outline, so any shortcut in the composition shows up here as a wrong pixel.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PixelDifference.h"
#include "ruler/ScaleTestSupport.h"

namespace {

// The positions along the ruler worth a look: both ends, where the label meets the far end
// and the outline, the end zones' edges, and the middle.
std::vector<int> CursorPositions(int length) {
  return {0, 1, 2, 15, 16, length / 2, length / 2 + 1, length - 40, length - 20, length - 11, length - 3, length - 1};
}

// Every look the pinned sweep paints, on a shorter ruler: unit, granularity, direction,
// bearing, antialiasing, colour scheme, labelling, digits, magnifier end, resolution,
// separator and button state.
std::vector<TRulerScaleInput> Looks(bool vertical) {
  std::vector<TRulerScaleInput> looks;
  for (int unit = 0; unit <= 5; ++unit)
    for (int granularity = 0; granularity <= 2; ++granularity)
      for (int variant = 0; variant < 16; ++variant) {
        TRulerScaleInput input = vertical ? VerticalRuler(233, 44) : HorizontalRuler(233, 44);
        input.ScaleUnit = unit;
        input.Granularity = granularity;
        input.Flipped = variant & 1;
        input.Turned = variant & 2;
        input.Antialiasing = variant & 4;
        input.Background = variant & 8 ? 0x303030u : 0xA0FFFFu;
        input.Labeling = (unit + variant) % 3;
        input.Digits = variant != 5;
        input.MagnifierVisible = variant % 3 == 0;
        input.PixelsPerInch = 96 + 17 * (variant % 5);
        input.DecimalSeparator = variant % 7 == 0 ? ',' : '.';
        input.HotButton = static_cast<TMiniButton>(variant % 4);
        input.ButtonState = static_cast<TMiniButtonState>(variant % 4);
        looks.push_back(input);
      }
  return looks;
}

// Moves the cursor over a buffer that shows the ruler as the window does: the strips at the
// old and the new position are composed from the face, and the whole buffer must then be
// what a full paint at the new position leaves.
void ExpectMovesMatchFullPaints(bool vertical) {
  for (const TRulerScaleInput& look : Looks(vertical)) {
    TScaleFace face;
    PaintScaleFace(look, face);
    const int length = vertical ? look.Height : look.Width;
    TRulerScaleInput input = look;
    TPixelBuffer shown = Render(input);
    for (const int along : CursorPositions(length)) {
      const TRulerScaleInput before = input;
      input.CursorBoxPos = vertical ? TPoint{along % look.Width, along} : TPoint{along, along % look.Height};
      input.CursorScreenPos = {along * 7 - 900, along * 3 - 400};
      ASSERT_TRUE(FaceFits(face, input));
      for (const TRulerScaleInput& state : {before, input})
        if (const auto strip = CursorLineStrip(state, {0, 0}, look.Width, look.Height))
          ComposeFromFace(input, face, shown.View(), *strip);
      const std::string difference = FirstDifference(shown, Render(input));
      ASSERT_EQ(difference, "") << "unit " << look.ScaleUnit << ", granularity " << look.Granularity << ", flipped "
                                << look.Flipped << ", turned " << look.Turned << ", labeling " << look.Labeling
                                << ", background " << look.Background << ", cursor " << along;
    }
  }
}

TEST(ComposeFromFace, CursorMovesOnAHorizontalRulerEqualFullPaints) { ExpectMovesMatchFullPaints(false); }

TEST(ComposeFromFace, CursorMovesOnAVerticalRulerEqualFullPaints) { ExpectMovesMatchFullPaints(true); }

TEST(ComposeFromFace, AnyClipEqualsTheFullPaintAndLeavesTheRestAlone) {
  TRulerScaleInput input = HorizontalRuler(300, 50);
  input.ScaleUnit = 4;
  input.Granularity = 2;
  input.Labeling = 2;
  input.CursorBoxPos = {20, 25};  // the label over the first mini buttons
  input.CursorScreenPos = {123456, 7};
  TScaleFace face;
  PaintScaleFace(input, face);
  const TPixelBuffer expected = Render(input);

  TPixelBuffer whole(input.Width, input.Height, Untouched);
  ComposeFromFace(input, face, whole.View(), {-50, -50, 1000, 1000});
  EXPECT_EQ(FirstDifference(whole, expected), "");

  const TRect clip{18, 3, 61, 47};
  TPixelBuffer part(input.Width, input.Height, Untouched);
  ComposeFromFace(input, face, part.View(), clip);
  for (int y = 0; y < input.Height; ++y)
    for (int x = 0; x < input.Width; ++x)
      ASSERT_EQ(part.At(x, y), clip.Contains(x, y) ? expected.At(x, y) : Untouched) << x << ", " << y;
}

TEST(ComposeFromFace, ATargetSmallerThanTheRulerIsWrittenOnlyWithinItsBounds) {
  TRulerScaleInput input = VerticalRuler(200, 40);
  input.CursorBoxPos = {20, 150};
  TScaleFace face;
  PaintScaleFace(input, face);
  TPixelBuffer small(40, 100, Untouched);
  ComposeFromFace(input, face, small.View(), {0, 0, 40, 200});
  const TPixelBuffer expected = Render(input);
  for (int y = 0; y < small.Height(); ++y)
    for (int x = 0; x < small.Width(); ++x) ASSERT_EQ(small.At(x, y), expected.At(x, y)) << x << ", " << y;
}

TEST(FaceFits, OnlyTheCursorMayChange) {
  TRulerScaleInput input = HorizontalRuler(400, 50);
  TScaleFace face;
  EXPECT_FALSE(FaceFits(face, input));  // never painted
  PaintScaleFace(input, face);
  EXPECT_TRUE(FaceFits(face, input));

  TRulerScaleInput moved = input;
  moved.CursorBoxPos = {200, 10};
  moved.CursorScreenPos = {900, 500};
  EXPECT_TRUE(FaceFits(face, moved));

  const auto changed = [&](auto change) {
    TRulerScaleInput other = input;
    change(other);
    return !FaceFits(face, other);
  };
  EXPECT_TRUE(changed([](TRulerScaleInput& i) { i.Width = 401; }));
  EXPECT_TRUE(changed([](TRulerScaleInput& i) { i.Height = 49; }));
  EXPECT_TRUE(changed([](TRulerScaleInput& i) { i.Vertical = true; }));
  EXPECT_TRUE(changed([](TRulerScaleInput& i) { i.Turned = true; }));
  EXPECT_TRUE(changed([](TRulerScaleInput& i) { i.ScaleUnit = 3; }));
  EXPECT_TRUE(changed([](TRulerScaleInput& i) { i.Background = 0x303030; }));
  EXPECT_TRUE(changed([](TRulerScaleInput& i) { i.CursorLine = 0x00FF00; }));
  EXPECT_TRUE(changed([](TRulerScaleInput& i) { i.PixelsPerInch = 144; }));
  EXPECT_TRUE(changed([](TRulerScaleInput& i) { i.MagnifierVisible = true; }));
  EXPECT_TRUE(changed([](TRulerScaleInput& i) { i.ButtonState = TMiniButtonState::mbsHot; }));
  EXPECT_TRUE(changed([](TRulerScaleInput& i) { i.Buttons = TMiniButtons{TMiniButton::mbClose}; }));
}

}  // namespace
