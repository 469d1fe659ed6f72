#include <gtest/gtest.h>

#include "color/ColorDialogBoxes.h"
#include "color/QorvelColorModel.h"
#include "ruler/QorvelColorUtils.h"

namespace {

TColor ClassicColors(TColor color) { return color == clBtnFace ? 0xC0C0C0 : 0x808080; }

TBoxPaintStyle Square() {
  TBoxPaintStyle style;
  style.Resolve = ClassicColors;
  style.Look = TQorvelBoxControlLook::pclRect;
  return style;
}

TEST(ColorPreview, InitialColourOnTopNewBelowTranslucentOverTheCheckerboard) {
  TColorPreviewModel preview;
  preview.SetInitialColor(0x0000FF);  // red
  preview.SetColor(0xFF0000);         // blue
  EXPECT_TRUE(preview.SetOpacity(128));
  EXPECT_FALSE(preview.SetOpacity(128));
  preview.SetInitialOpacity(100);
  EXPECT_TRUE(preview.SetInitialOpacity(999));  // clamped to 256
  EXPECT_EQ(preview.InitialOpacity(), 256);

  TPixelBuffer buffer(152, 96, 0x123456);
  preview.Paint({buffer.View(), 0, 0}, 152, 96, Square());
  EXPECT_EQ(buffer.At(0, 50), 0x000000u);  // frame
  EXPECT_EQ(buffer.At(10, 10), 0xFF0000u);
  EXPECT_EQ(buffer.At(10, 23), 0xFF0000u);  // the last row of the upper quarter
  // Blue at half opacity over light (255) and dark (191) squares, anchored at the box.
  EXPECT_EQ(buffer.At(10, 24), PackRGB(128, 128, 255));  // 10 / 8 + 24 / 8 even: light
  EXPECT_EQ(buffer.At(2, 40), PackRGB(96, 96, 223));     // odd: dark
  EXPECT_EQ(buffer.At(10, 40), PackRGB(128, 128, 255));
}

TEST(ColorPreview, OnlyTheUpperQuarterHoversAndReverts) {
  TColorPreviewModel preview;
  EXPECT_FALSE(preview.MouseMove(50, 60, 152, 96));  // lower part
  preview.MouseDown(true);
  EXPECT_FALSE(preview.MouseUp(true));
  EXPECT_TRUE(preview.MouseMove(50, 10, 152, 96));
  EXPECT_TRUE(preview.Hover());
  EXPECT_FALSE(preview.MouseMove(60, 12, 152, 96));                      // still hovering: no repaint
  EXPECT_FALSE(preview.MouseMove(151, 10, 152, 96) && preview.Hover());  // on the frame
  preview.MouseMove(50, 10, 152, 96);
  preview.MouseDown(false);
  EXPECT_FALSE(preview.MouseUp(false));  // the right button does not revert
  preview.MouseDown(true);
  EXPECT_TRUE(preview.Pressed());
  EXPECT_TRUE(preview.MouseUp(true));
  EXPECT_FALSE(preview.Pressed());
  // Pressed, dragged off the area and released: nothing.
  preview.MouseDown(true);
  EXPECT_TRUE(preview.MouseLeave());
  EXPECT_FALSE(preview.MouseUp(true));
  // A 60-high preview (with the opacity bar) has a 15-row revert area.
  EXPECT_EQ(TColorPreviewModel::RevertArea(152, 60), (TRect{1, 1, 151, 15}));
}

TEST(ColorPreview, RevertTextStaysReadable) {
  TColorPreviewModel preview;
  preview.SetInitialColor(0x000000);
  EXPECT_EQ(preview.RevertTextColor(ClassicColors), 0xFFFFFFu);
  preview.SetInitialOpacity(0);  // only the light squares show
  EXPECT_EQ(preview.RevertTextColor(ClassicColors), 0x000000u);
  EXPECT_EQ(CenteredText({0, 0, 152, 24}, 40, 13), (TPoint{56, 5}));
}

TEST(ColorSlot, HalvesPressAndRelease) {
  using A = TColorSlotModel::TAction;
  TColorSlotModel slot;
  EXPECT_EQ(TColorSlotModel::HalfAt(5, 10, 46, 23), 1);
  EXPECT_EQ(TColorSlotModel::HalfAt(23, 10, 46, 23), 2);
  EXPECT_EQ(TColorSlotModel::HalfAt(45, 10, 46, 23), 0);  // frame
  EXPECT_EQ(TColorSlotModel::HalfAt(5, 22, 46, 23), 0);

  EXPECT_TRUE(slot.MouseMove(5, 10, 46, 23));
  slot.MouseDown(5, 10, 46, 23, true);
  EXPECT_EQ(slot.MouseUp(true), A::Set);
  slot.MouseDown(5, 10, 46, 23, true);
  slot.MouseMove(30, 10, 46, 23);  // pressed on "set", released on the other half
  EXPECT_EQ(slot.MouseUp(true), A::None);
  slot.MouseDown(30, 10, 46, 23, true);
  EXPECT_EQ(slot.MouseUp(true), A::Select);
  slot.MouseDown(30, 10, 46, 23, false);
  EXPECT_EQ(slot.PressedHalf(), 0);
  EXPECT_EQ(slot.MouseUp(true), A::None);
  EXPECT_TRUE(slot.MouseLeave());
  EXPECT_FALSE(slot.MouseLeave());
}

TEST(ColorSlot, SetHalfPreviewsTheDialogColourWithALightArrowOnDarkColours) {
  TColorSlotModel slot;
  slot.SetColor(0xFFFFFF);
  TPixelBuffer buffer(46, 23);
  // Arrow tip row 7 of the glyph at ((23 - 8) / 2 + 1, (23 - 16) / 2 + 1) = (8, 4).
  const int arrowX = 8 + 1, arrowY = 4 + 7;
  slot.Paint({buffer.View(), 0, 0}, 46, 23, 0x000000, Square());
  EXPECT_EQ(buffer.At(3, 3), 0xFFFFFFu);     // not hot: the stored colour
  EXPECT_EQ(buffer.At(arrowX, arrowY), 0u);  // dark arrow
  EXPECT_EQ(buffer.At(22, 10), 0u);          // divider at h - 1
  EXPECT_EQ(buffer.At(30, 10), 0xFFFFFFu);

  slot.MouseMove(5, 10, 46, 23);
  slot.Paint({buffer.View(), 0, 0}, 46, 23, 0x000080, Square());  // dark red in the dialog
  EXPECT_EQ(buffer.At(3, 3), 0x800000u);
  EXPECT_EQ(buffer.At(arrowX, arrowY), 0xFFFFFFu);  // light arrow
  EXPECT_EQ(buffer.At(30, 10), 0xFFFFFFu);          // the right half keeps the stored colour
  EXPECT_EQ(slot.SetTextColor(ClassicColors), 0x000000u);
  EXPECT_EQ(TColorSlotModel::SelectHalfArea(46, 23), (TRect{23, 0, 46, 23}));
}

TEST(OpacityTrack, RampFromFaceToColourAcrossTheTrack) {
  const auto runs = OpacityTrackRuns(10, 110, 0xC0C0C0, 0x0000FF);
  EXPECT_EQ(runs.front().Left, 11);
  EXPECT_EQ(runs.back().Right, 109);
  for (std::size_t i = 1; i < runs.size(); ++i) EXPECT_EQ(runs[i].Left, runs[i - 1].Right);
  EXPECT_EQ(runs.front().Inner, 0xC0C0C0u);
  EXPECT_EQ(runs.front().Edge, 0xC0C0C0u);
  EXPECT_EQ(runs.back().Inner, 0x0000FFu);
  EXPECT_EQ(runs.back().Edge, 0x000000u);
  EXPECT_EQ(runs[15].Inner, MixColors(0xC0C0C0, 0x0000FF, 15 * 256 / 31));
}

}  // namespace
