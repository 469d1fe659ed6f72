// One magnifier frame composed from captured pixels: the enlargement, the hidden own image,
// crosshairs, border and corner texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "ruler/MagnifierGeometry.h"

namespace {

using X = TQorvelDesktopMagnifierCrossHairs;
using I = TQorvelDesktopMagnifierIndicator;
using C = TQorvelDesktopMagnifierCorner;

constexpr TPixel Fill = 0x00ABCDEF;
constexpr TPixel Border = 0x00102030;

// A capture in which every pixel tells where it came from.
TPixelBuffer NumberedCapture(const TMagnifierGeometry& g) {
  TPixelBuffer capture(g.Columns, g.Rows);
  for (int y = 0; y < g.Rows; ++y)
    for (int x = 0; x < g.Columns; ++x)
      capture.View().Set(x, y, static_cast<TPixel>(0x010000 * (x + 1) + 0x100 * (y + 1) + 7));
  return capture;
}

TMagnifierFrameInput Frame(int size, int zoom, int border, TPoint target, TRect controlOnScreen) {
  TMagnifierFrameInput input;
  input.Width = input.Height = size;
  input.Zoom = zoom;
  input.BorderWidth = border;
  input.Target = target;
  input.ControlOnScreen = controlOnScreen;
  input.Fill = Fill;
  input.Border = Border;
  return input;
}

// Each frame pixel holds the captured pixel whose square it lies in (or Fill where the
// control's own image would be).
void ExpectEnlarged(const TPixelView& frame, const TMagnifierFrameInput& input, const TPixelView& capture,
                    bool inverted) {
  const TMagnifierGeometry g =
      MagnifierGeometry(input.Width, input.Height, input.Zoom, input.BorderWidth, input.Target);
  const TRect own = OwnImageRect(g, input);
  for (int y = 0; y < frame.Height(); ++y) {
    for (int x = 0; x < frame.Width(); ++x) {
      TPixel expected = Fill;
      if (g.Image.Contains(x, y) && !own.Contains(x, y)) {
        const TPixel captured = capture.At((x - g.Image.Left) / input.Zoom, (y - g.Image.Top) / input.Zoom);
        expected = inverted ? (~captured & 0x00FFFFFFu) : captured;
      }
      ASSERT_EQ(frame.At(x, y), expected) << "at " << x << "," << y;
    }
  }
}

const TRect FarAway{2000, 2000, 2087, 2087};

TEST(MagnifierFrame, EveryScreenPixelBecomesAZoomSquare) {
  const TMagnifierFrameInput input = Frame(87, 5, 1, {400, 300}, FarAway);
  const TMagnifierGeometry g = MagnifierGeometry(87, 87, 5, 1, {400, 300});
  TPixelBuffer capture = NumberedCapture(g);
  TPixelBuffer frame(87, 87, 0xDEAD);
  ComposeMagnifiedImage(frame.View(), input, capture.View());
  ExpectEnlarged(frame.View(), input, capture.View(), false);
  // Spot checks against the numbers themselves: the target square in the middle.
  EXPECT_EQ(frame.At(41, 41), capture.At(8, 8));
  EXPECT_EQ(frame.At(45, 45), capture.At(8, 8));
  EXPECT_EQ(frame.At(46, 45), capture.At(9, 8));
  EXPECT_EQ(frame.At(1, 1), capture.At(0, 0));
  EXPECT_EQ(frame.At(0, 0), Fill) << "outside the image, under the border";
}

TEST(MagnifierFrame, CroppedImageAndInvertedColours) {
  TMagnifierFrameInput input = Frame(30, 3, 1, {10, 20}, FarAway);
  const TMagnifierGeometry g = MagnifierGeometry(30, 30, 3, 1, {10, 20});
  TPixelBuffer capture = NumberedCapture(g);
  TPixelBuffer frame(30, 30);
  ComposeMagnifiedImage(frame.View(), input, capture.View());
  ExpectEnlarged(frame.View(), input, capture.View(), false);
  EXPECT_EQ(frame.At(0, 0), capture.At(0, 0)) << "the first square is cut to its last two pixels";
  EXPECT_EQ(frame.At(2, 2), capture.At(1, 1));

  input.InvertColors = true;
  capture.View().Set(0, 0, 0xFF000000u | 0x00123456u);  // a stray high byte must not leak out
  ComposeMagnifiedImage(frame.View(), input, capture.View());
  ExpectEnlarged(frame.View(), input, capture.View(), true);
  EXPECT_EQ(frame.At(0, 0), 0x00EDCBA9u);
}

TEST(MagnifierFrame, OwnImageIsHiddenBehindTheFillColour) {
  // The control sits right of the target, so its left part is in the captured area.
  const TRect control{405, 280, 492, 367};
  const TMagnifierFrameInput input = Frame(87, 5, 1, {400, 300}, control);
  const TMagnifierGeometry g = MagnifierGeometry(87, 87, 5, 1, {400, 300});
  const TRect own = OwnImageRect(g, input);
  // Screen (406, 281), just inside its border, is column 14 and row -11 of the capture.
  EXPECT_EQ(own, (TRect{71, -54, 71 + 85 * 5, -54 + 85 * 5}));
  TPixelBuffer capture = NumberedCapture(g);
  TPixelBuffer frame(87, 87);
  ComposeMagnifiedImage(frame.View(), input, capture.View());
  ExpectEnlarged(frame.View(), input, capture.View(), false);
  EXPECT_EQ(frame.At(71, 43), Fill);
  EXPECT_EQ(frame.At(70, 43), capture.At(13, 8)) << "the control's border stays visible";
}

TEST(MagnifierFrame, CaptureSmallerThanTheSourceIsRefused) {
  const TMagnifierFrameInput input = Frame(87, 5, 1, {0, 0}, FarAway);
  TPixelBuffer capture(16, 17);
  TPixelBuffer frame(87, 87);
  EXPECT_THROW(ComposeMagnifiedImage(frame.View(), input, capture.View()), std::invalid_argument);
}

TEST(MagnifierFrame, ControlTooSmallForAnImageIsFilledAndFramed) {
  TMagnifierFrameInput input = Frame(4, 5, 2, {0, 0}, FarAway);
  TPixelBuffer frame(4, 4, 0xDEAD);
  TPixelBuffer none;
  ComposeMagnifiedImage(frame.View(), input, none.View());  // no capture needed
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(frame.At(x, y), Fill);
  DrawMagnifierOverlay(frame.View(), input);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(frame.At(x, y), Border) << x << "," << y;
}

TEST(MagnifierOverlay, CrossHairStrokes) {
  EXPECT_EQ(CrossHairRects(X::pmcOpenCross, 87, 87, 1, 5),
            (std::vector<TRect>{{43, 1, 44, 38}, {43, 49, 44, 86}, {1, 43, 38, 44}, {49, 43, 86, 44}}));
  EXPECT_EQ(CrossHairRects(X::pmcContinuousCross, 87, 87, 1, 5),
            (std::vector<TRect>{{43, 1, 44, 86}, {1, 43, 86, 44}}));
  EXPECT_EQ(CrossHairRects(X::pmcSmallCross, 87, 87, 1, 5), (std::vector<TRect>{{43, 38, 44, 49}, {38, 43, 49, 44}}));
  EXPECT_TRUE(CrossHairRects(X::pmcNone, 87, 87, 1, 5).empty());
  // Zoom 1 in a 30-pixel ruler: the target pixel is (14, 14), not the centre (15, 15).
  EXPECT_EQ(CrossHairRects(X::pmcSmallCross, 30, 30, 1, 1), (std::vector<TRect>{{14, 13, 15, 16}, {13, 14, 16, 15}}));
  // 120 × 30 at zoom 3 shows 39 × 9 pixels from (1, 1): the target's square is
  // (58..60, 13..15), and the strokes go through its middle.
  EXPECT_EQ(CrossHairRects(X::pmcContinuousCross, 120, 30, 2, 3),
            (std::vector<TRect>{{59, 2, 60, 28}, {2, 14, 118, 15}}));
}

// A 3 x 3 colour sample at zoom 5: the target's square is (41..45, 41..45), the outline lies
// one pixel outside the eight squares around it; at zoom 9 the 5 x 5 outline meets the border.
TEST(MagnifierOverlay, SampledSquareOutline) {
  EXPECT_EQ(SampledSquareRects(87, 87, 1, 5, 3),
            (std::vector<TRect>{{35, 35, 52, 36}, {35, 51, 52, 52}, {35, 35, 36, 52}, {51, 35, 52, 52}}));
  EXPECT_TRUE(SampledSquareRects(87, 87, 1, 5, 1).empty());
  EXPECT_TRUE(SampledSquareRects(87, 87, 1, 5, 4).empty());
  for (const TRect& stroke : SampledSquareRects(40, 40, 2, 9, 5)) {
    EXPECT_GE(stroke.Left, 2);
    EXPECT_LE(stroke.Right, 38);
  }
}

// The open cross marks the target without covering any pixel of its square, and the other
// crosses go through it, for any size (also zoom 1 in an even-sized control, where the
// control's centre pixel is not the target's).
TEST(MagnifierOverlay, OpenCrossLeavesTheTargetSquareFree) {
  for (int zoom = 1; zoom <= 9; ++zoom) {
    for (int size = 10; size <= 100; ++size) {
      SCOPED_TRACE(testing::Message() << "size " << size << " zoom " << zoom);
      const TMagnifierGeometry g = MagnifierGeometry(size, size, zoom, 1, {0, 0});
      const TPoint square = ScreenToMagnified(g, zoom, {0, 0});
      const TRect target{square.X, square.Y, square.X + zoom, square.Y + zoom};
      for (const TRect& stroke : CrossHairRects(X::pmcOpenCross, size, size, 1, zoom))
        ASSERT_TRUE(IntersectRect(stroke, target).Empty());
      for (X style : {X::pmcSmallCross, X::pmcContinuousCross})
        for (const TRect& stroke : CrossHairRects(style, size, size, 1, zoom))
          ASSERT_FALSE(IntersectRect(stroke, target).Empty());
    }
  }
}

TEST(MagnifierOverlay, ArmsThatDoNotFitAreLeftOut) {
  // Zoom 20 in a 30-pixel square: the gap around the centre is wider than the control.
  EXPECT_TRUE(CrossHairRects(X::pmcOpenCross, 30, 30, 1, 20).empty());
  for (const TRect& stroke : CrossHairRects(X::pmcOpenCross, 30, 30, 1, 12)) {
    EXPECT_FALSE(stroke.Empty());
    EXPECT_TRUE(IntersectRect(stroke, {0, 0, 30, 30}) == stroke);
  }
}

TEST(MagnifierOverlay, BorderRingsAndCrossHairsOverTheImage) {
  TMagnifierFrameInput input = Frame(20, 3, 2, {0, 0}, FarAway);
  input.CrossHairs = X::pmcContinuousCross;
  TPixelBuffer frame(20, 20, 0x777777);
  DrawMagnifierOverlay(frame.View(), input);
  for (int i = 0; i < 20; ++i) {
    for (int ring = 0; ring < 2; ++ring) {
      EXPECT_EQ(frame.At(i, ring), Border);
      EXPECT_EQ(frame.At(i, 19 - ring), Border);
      EXPECT_EQ(frame.At(ring, i), Border);
      EXPECT_EQ(frame.At(19 - ring, i), Border);
    }
  }
  EXPECT_EQ(frame.At(10, 5), Border) << "vertical stroke";
  EXPECT_EQ(frame.At(5, 10), Border) << "horizontal stroke";
  EXPECT_EQ(frame.At(2, 2), 0x777777u) << "inside the border, off the strokes";
  EXPECT_EQ(frame.At(9, 5), 0x777777u);
}

TEST(MagnifierTexts, IndicatorTexts) {
  EXPECT_EQ(MagnifierIndicatorText(I::pmiCursorPos, L"", {120, 45}, 0, 5), L"120 / 45");
  EXPECT_EQ(MagnifierIndicatorText(I::pmiCursorPos, L"", {-3, 0}, 0, 5), L"-3 / 0");
  EXPECT_EQ(MagnifierIndicatorText(I::pmiHexCode, L"", {}, 0x0000FF, 5), L"FF0000") << "pure red";
  EXPECT_EQ(MagnifierIndicatorText(I::pmiHexCode, L"", {}, 0x0A0B0C, 5), L"0C0B0A") << "red, green, blue";
  EXPECT_EQ(MagnifierIndicatorText(I::pmiHexCode, L"", {}, NoTargetColor, 5), L"") << "no colour, no code";
  EXPECT_EQ(MagnifierIndicatorText(I::pmiZoom, L"", {}, 0, 5), L"5x");
  EXPECT_EQ(MagnifierIndicatorText(I::pmiCaption, L"Lupe", {}, 0, 5), L"Lupe");
  EXPECT_EQ(MagnifierIndicatorText(I::pmiNone, L"Lupe", {1, 2}, 0, 5), L"");
}

TEST(MagnifierTexts, CornerOriginsSitJustInsideTheBorder) {
  // An 87-pixel control with a 2-pixel border and a 30 × 13 text.
  EXPECT_EQ(CornerTextOrigin(C::TopLeft, 87, 87, 2, 30, 13), (TPoint{3, 2}));
  EXPECT_EQ(CornerTextOrigin(C::TopRight, 87, 87, 2, 30, 13), (TPoint{87 - 30 - 3, 2}));
  EXPECT_EQ(CornerTextOrigin(C::BottomLeft, 87, 87, 2, 30, 13), (TPoint{3, 87 - 13 - 2}));
  EXPECT_EQ(CornerTextOrigin(C::BottomRight, 87, 87, 2, 30, 13), (TPoint{87 - 30 - 3, 87 - 13 - 2}));
}

}  // namespace
