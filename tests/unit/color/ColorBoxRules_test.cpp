// The colour box's geometry and its mouse rules: which zone is where, and what a press,
// move and release of the mouse lead to.
#include <gtest/gtest.h>

#include "color/ColorBoxRules.h"

namespace {

using enum TColorBoxZone;
using enum TColorBoxAction;

const TColorBoxGeometry kBox = ColorBoxGeometry(75, 25, 12, 12);

}  // namespace

TEST(ColorBoxGeometry, EyedropperGlyphAndFaceOfTheDefaultBox) {
  EXPECT_EQ(kBox.Eyedropper, (TRect{4, 6, 16, 18}));
  EXPECT_EQ(kBox.Glyph, (TRect{59, 6, 71, 18}));
  EXPECT_EQ(kBox.Face, (TRect{1, 1, 75, 25}));
  // An odd remainder rounds the top down; a box smaller than its parts still gets them.
  const TColorBoxGeometry small = ColorBoxGeometry(10, 9, 12, 12);
  EXPECT_EQ(small.Eyedropper.Top, -1);  // (9 - 12) / 2 truncates toward zero, not down to -2
  EXPECT_EQ(small.Glyph.Left, -6);
}

TEST(ColorBoxGeometry, ZonesFollowTheOptionsAndEndAtTheBoxEdge) {
  EXPECT_EQ(ColorBoxZoneAt(kBox, AllColorBoxOptions, 4, 6), czEyedropper);
  EXPECT_EQ(ColorBoxZoneAt(kBox, AllColorBoxOptions, 15, 17), czEyedropper);
  EXPECT_EQ(ColorBoxZoneAt(kBox, AllColorBoxOptions, 16, 17), czFace);
  EXPECT_EQ(ColorBoxZoneAt(kBox, AllColorBoxOptions, 70, 6), czGlyph);
  EXPECT_EQ(ColorBoxZoneAt(kBox, AllColorBoxOptions, 0, 0), czFace);  // the frame belongs to the box
  EXPECT_EQ(ColorBoxZoneAt(kBox, AllColorBoxOptions, 75, 10), czNone);
  EXPECT_EQ(ColorBoxZoneAt(kBox, AllColorBoxOptions, -1, 10), czNone);
  EXPECT_EQ(ColorBoxZoneAt(kBox, AllColorBoxOptions, 10, 25), czNone);
  // Without the option the square is face.
  EXPECT_EQ(ColorBoxZoneAt(kBox, {TQorvelColorBoxOption::pcbContextGlyph}, 5, 7), czFace);
  EXPECT_EQ(ColorBoxZoneAt(kBox, {TQorvelColorBoxOption::pcbEyedropper}, 65, 10), czFace);
}

TEST(ColorBoxGeometry, CornerMarksHugTheEyedropperCorners) {
  const auto marks = EyedropperCornerMarks(kBox.Eyedropper);
  // Top-left: down the left edge three pixels, along the top three.
  EXPECT_EQ(marks[0][0], (TPoint{4, 8}));
  EXPECT_EQ(marks[0][1], (TPoint{4, 6}));
  EXPECT_EQ(marks[0][2], (TPoint{7, 6}));
  // Bottom-right: on the last column and row inside the square.
  EXPECT_EQ(marks[3][0], (TPoint{15, 14}));
  EXPECT_EQ(marks[3][1], (TPoint{15, 17}));
  EXPECT_EQ(marks[3][2], (TPoint{12, 17}));
}

TEST(ColorBoxMouse, ClickOnTheFaceOpensTheDialogAndOnTheGlyphTheMenu) {
  TColorBoxMouse face;
  face.MouseMove(czFace);
  EXPECT_EQ(face.MouseDown(true, czFace), None);
  EXPECT_TRUE(face.CaptionUnderlined());
  EXPECT_EQ(face.MouseUp(true), OpenDialog);
  EXPECT_EQ(face.PressedZone(), czNone);

  TColorBoxMouse glyph;
  glyph.MouseMove(czGlyph);
  glyph.MouseDown(true, czGlyph);
  EXPECT_TRUE(glyph.GlyphHover());
  EXPECT_EQ(glyph.MouseUp(true), Popup);
}

TEST(ColorBoxMouse, ReleasingElsewhereThanThePressDoesNothing) {
  TColorBoxMouse mouse;
  mouse.MouseMove(czGlyph);
  mouse.MouseDown(true, czGlyph);
  mouse.MouseMove(czFace);
  EXPECT_FALSE(mouse.CaptionUnderlined());  // the glyph is still pressed
  EXPECT_FALSE(mouse.GlyphHover());
  EXPECT_EQ(mouse.MouseUp(true), None);

  mouse.MouseDown(true, czFace);
  mouse.MouseMove(czGlyph);
  EXPECT_EQ(mouse.MouseUp(true), None);

  // Released outside the box (the mouse is captured): no dialog either.
  mouse.MouseMove(czFace);
  mouse.MouseDown(true, czFace);
  mouse.MouseMove(czNone);
  EXPECT_EQ(mouse.MouseUp(true), None);
}

TEST(ColorBoxMouse, OtherButtonsNeitherPressNorClick) {
  TColorBoxMouse mouse;
  mouse.MouseMove(czFace);
  EXPECT_EQ(mouse.MouseDown(false, czFace), None);
  EXPECT_EQ(mouse.PressedZone(), czNone);
  EXPECT_EQ(mouse.MouseUp(false), None);
}

TEST(ColorBoxMouse, PickingRunsFromThePressOnTheEyedropperToTheRelease) {
  TColorBoxMouse mouse;
  mouse.MouseMove(czEyedropper);
  EXPECT_EQ(mouse.MouseDown(true, czEyedropper), StartPicking);
  EXPECT_TRUE(mouse.Picking());
  mouse.MouseMove(czNone);  // dragged out over the screen
  EXPECT_EQ(mouse.MouseUp(true), ApplyPicking);
  EXPECT_FALSE(mouse.Picking());

  // A second button during the pick ends it without taking the colour, and its own release
  // does nothing more.
  mouse.MouseDown(true, czEyedropper);
  EXPECT_EQ(mouse.MouseDown(false, czFace), CancelPicking);
  EXPECT_FALSE(mouse.Picking());
  EXPECT_EQ(mouse.MouseUp(false), None);
}

TEST(ColorBoxMouse, ResetEndsPressAndPickWithoutApplying) {
  TColorBoxMouse mouse;
  mouse.MouseDown(true, czEyedropper);
  EXPECT_EQ(mouse.Reset(), CancelPicking);
  EXPECT_EQ(mouse.PressedZone(), czNone);
  EXPECT_EQ(mouse.MouseUp(true), None);

  mouse.MouseMove(czFace);
  mouse.MouseDown(true, czFace);
  EXPECT_EQ(mouse.Reset(), None);
  EXPECT_EQ(mouse.MouseUp(true), None);  // no dialog after the box was disabled mid-click
}

TEST(ColorBoxMouse, LeavingClearsTheHotZoneOnce) {
  TColorBoxMouse mouse;
  EXPECT_TRUE(mouse.MouseMove(czFace));
  EXPECT_FALSE(mouse.MouseMove(czFace));
  EXPECT_TRUE(mouse.MouseLeave());
  EXPECT_FALSE(mouse.MouseLeave());
  EXPECT_EQ(mouse.HotZone(), czNone);
}

TEST(ColorBoxContextMenu, KeyboardRequestOpensAtTheBottomLeftCorner) {
  EXPECT_EQ(ContextMenuPoint({-1, -1}, {100, 225}), (TPoint{100, 225}));
  EXPECT_EQ(ContextMenuPoint({340, 12}, {100, 225}), (TPoint{340, 12}));
  EXPECT_EQ(ContextMenuPoint({-1, 12}, {100, 225}), (TPoint{-1, 12}));  // a real point left of the screen
}

TEST(ColorBoxFocus, DottedFrameAlternatesAndMatchesAcrossPartialRepaints) {
  TPixelBuffer full(20, 12, 0xFFFFFF);
  DrawDottedFrame({full.View(), 0, 0}, {2, 2, 18, 10}, 0x000000);
  EXPECT_EQ(full.At(2, 2), 0u);
  EXPECT_EQ(full.At(3, 2), 0xFFFFFFu);
  EXPECT_EQ(full.At(17, 9), 0u);
  EXPECT_EQ(full.At(17, 2), 0xFFFFFFu);
  EXPECT_EQ(full.At(10, 6), 0xFFFFFFu);  // the inside stays
  int dots = 0;
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) dots += full.At(x, y) == 0 ? 1 : 0;
  EXPECT_EQ(dots, 22);  // half of the 44 outline pixels

  // A paint of the right half only draws the same dots there.
  TPixelBuffer part(9, 12, 0xFFFFFF);
  DrawDottedFrame({part.View(), 11, 0}, {2, 2, 18, 10}, 0x000000);
  for (int y = 0; y < 12; ++y)
    for (int x = 11; x < 20; ++x) EXPECT_EQ(part.At(x - 11, y), full.At(x, y)) << x << ',' << y;
}
