#include <gtest/gtest.h>

#include <stdexcept>

#include "color/BoxControlRendering.h"

namespace {

// Classic button colours, so that the 3-D looks can be told apart.
TColor ClassicColors(TColor color) {
  switch (color) {
    case clBtnFace: return 0xC0C0C0;
    case clBtnShadow: return 0x808080;
    case clBtnHighlight: return 0xFFFFFF;
    default: return 0x000000;
  }
}

struct TBox {
  TPixelBuffer Buffer;
  TBox(int w, int h, TPixel fill) : Buffer(w, h, fill) {}
  TBoxCanvas Canvas() { return {Buffer.View(), 0, 0}; }
  TPixel At(int x, int y) const { return Buffer.At(x, y); }
};

// Paints `paint` once over the whole control and once only into `clip` (through its own
// buffer); the clipped paint must reproduce the full paint's pixels there.
template <class Paint>
void ExpectPartialPaintMatches(int w, int h, const TRect& clip, Paint paint) {
  TBox full(w, h, 0x123456);
  paint(full.Canvas());
  TBoxPaintBuffer part(w, h, clip);
  paint(part.Canvas());
  const TRect area = part.Area();
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      ASSERT_EQ(part.Pixels().At(x - area.Left, y - area.Top), full.At(x, y)) << x << "," << y;
}

TEST(BoxPaintBuffer, CoversTheClipWithinTheClientArea) {
  TBoxPaintBuffer buffer(100, 50, {90, -10, 130, 20});
  EXPECT_EQ(buffer.Area(), (TRect{90, 0, 100, 20}));
  EXPECT_EQ(buffer.Pixels().Width(), 10);
  EXPECT_EQ(buffer.Pixels().Height(), 20);
  EXPECT_TRUE(TBoxPaintBuffer(100, 50, {200, 0, 300, 10}).Empty());
  TBoxCanvas canvas = buffer.Canvas();
  EXPECT_EQ(canvas.PixelAt(89, 5), nullptr);
  ASSERT_NE(canvas.PixelAt(90, 0), nullptr);
  *canvas.PixelAt(95, 7) = 0xABCDEF;
  EXPECT_EQ(buffer.Pixels().At(5, 7), 0xABCDEFu);
}

TEST(BlendPixel, MixesTowardTheColourInPixelOrder) {
  TBox box(4, 4, 0x000000);
  BlendPixel(box.Canvas(), 1, 1, 128, 0x0000FF);  // TColor red
  EXPECT_EQ(box.At(1, 1), 0x7F0000u);
  BlendPixel(box.Canvas(), 2, 2, 256, 0x00FF00);
  EXPECT_EQ(box.At(2, 2), 0x00FF00u);
  TBox white(2, 2, 0xFFFFFF);
  BlendPixel(white.Canvas(), 0, 0, 1, 0x000000);  // -255/256 truncates to 0
  EXPECT_EQ(white.At(0, 0), 0xFFFFFFu);
  BlendPixel(white.Canvas(), 1, 0, 96, 0x000000);
  EXPECT_EQ(white.At(1, 0), 0xA0A0A0u);
  BlendPixel(white.Canvas(), 0, 1, 999, 0x0000FF);  // clamped to 256
  EXPECT_EQ(white.At(0, 1), 0xFF0000u);
  BlendPixel(white.Canvas(), -1, 5, 128, 0);  // outside: nothing happens
}

TEST(Lines, EitherOrderInclusiveAndClipped) {
  TBox box(6, 6, 0);
  HorzLine(box.Canvas(), 4, 1, 2, 0x0000FF);
  VertLine(box.Canvas(), 5, 9, -3, 0xFF0000);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(box.At(x, 2), x >= 1 && x <= 4 ? 0xFF0000u : x == 5 ? 0x0000FFu : 0u) << x;
  for (int y = 0; y < 6; ++y) EXPECT_EQ(box.At(5, y), 0x0000FFu) << y;
  HorzLine(box.Canvas(), -5, 20, 9, 0xFFFFFF);  // off the buffer
  EXPECT_EQ(box.At(0, 5), 0u);
}

TEST(FillBox, OpaqueTranslucentAndClampedOpacity) {
  TBox box(20, 20, 0);
  FillBox(box.Canvas(), {2, 2, 18, 18}, nullptr, 256, 0x336699);
  EXPECT_EQ(box.At(2, 2), 0x336699u);
  EXPECT_EQ(box.At(17, 17), 0x336699u);
  EXPECT_EQ(box.At(1, 1), 0u);
  EXPECT_EQ(box.At(18, 18), 0u);

  FillBox(box.Canvas(), box.Canvas().Area(), nullptr, 0, 0x336699);
  EXPECT_EQ(box.At(0, 0), 0xFFFFFFu);  // the square at the origin is light
  EXPECT_EQ(box.At(7, 7), 0xFFFFFFu);
  EXPECT_EQ(box.At(8, 0), 0xBFBFBFu);
  EXPECT_EQ(box.At(0, 8), 0xBFBFBFu);
  EXPECT_EQ(box.At(8, 8), 0xFFFFFFu);
  EXPECT_EQ(box.At(19, 15), 0xBFBFBFu);

  FillBox(box.Canvas(), box.Canvas().Area(), nullptr, 128, 0x000000);
  EXPECT_EQ(box.At(0, 0), 0x808080u);  // 255 - 127.5 truncated toward zero
  EXPECT_EQ(box.At(8, 0), 0x606060u);

  FillBox(box.Canvas(), box.Canvas().Area(), nullptr, 300, 0x0000FF);
  EXPECT_EQ(box.At(8, 0), 0x0000FFu);
  FillBox(box.Canvas(), box.Canvas().Area(), nullptr, -40, 0x0000FF);
  EXPECT_EQ(box.At(8, 0), 0xBFBFBFu);
}

TEST(FillBox, CheckerboardAndDitherStayAnchoredAtTheControlOrigin) {
  // Partial repaints starting at odd places must continue the pattern of a full paint.
  for (int opacity : {0, 100, 256})
    for (const TQorvelColorFilter* filter :
         {static_cast<const TQorvelColorFilter*>(nullptr), static_cast<const TQorvelColorFilter*>(&HighColorFilter()),
          static_cast<const TQorvelColorFilter*>(&PaletteColorFilter())}) {
      SCOPED_TRACE(opacity);
      auto paint = [&](const TBoxCanvas& canvas) { FillBox(canvas, {1, 1, 45, 39}, filter, opacity, 0x4080C0); };
      ExpectPartialPaintMatches(46, 40, {13, 5, 30, 22}, paint);
      ExpectPartialPaintMatches(46, 40, {3, 9, 4, 10}, paint);
    }
}

TEST(DrawBoxFrame, RectLeavesTheInsideAlone) {
  TBox box(6, 5, 0xFF0000);
  DrawBoxFrame(box.Canvas(), {0, 0, 6, 5}, 0x000000, 0xFFFFFF, TQorvelBoxControlLook::pclRect);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool edge = x == 0 || y == 0 || x == 5 || y == 4;
      EXPECT_EQ(box.At(x, y), edge ? 0u : 0xFF0000u) << x << "," << y;
    }
}

TEST(DrawBoxFrame, RoundedCornersBlendTowardTheParent) {
  TBox box(10, 8, 0x0000FF);
  DrawBoxFrame(box.Canvas(), {0, 0, 10, 8}, 0x000000, 0xFFFFFF, TQorvelBoxControlLook::pclRoundedRect);
  for (auto [x, y, dx, dy] : {std::array{0, 0, 1, 1}, {9, 0, -1, 1}, {0, 7, 1, -1}, {9, 7, -1, -1}}) {
    SCOPED_TRACE(testing::Message() << x << "," << y);
    EXPECT_EQ(box.At(x, y), 0xDFDFDFu);       // almost the white parent
    EXPECT_EQ(box.At(x + dx, y), 0x5F5F5Fu);  // along the edges a little
    EXPECT_EQ(box.At(x, y + dy), 0x5F5F5Fu);
    EXPECT_EQ(box.At(x + dx, y + dy), 0x0000A0u);  // the inside a little toward the frame
  }
  EXPECT_EQ(box.At(4, 0), 0u);
  EXPECT_EQ(box.At(0, 4), 0u);
  EXPECT_EQ(box.At(4, 4), 0x0000FFu);
  // A system colour as parent is resolved first.
  TBox gray(4, 4, 0);
  DrawBoxFrame(gray.Canvas(), {0, 0, 4, 4}, 0x000000, clBtnFace, TQorvelBoxControlLook::pclRoundedRect, ClassicColors);
  EXPECT_EQ(gray.At(0, 0), 0xA8A8A8u);
}

TEST(DrawBoxFrame, LoweredAndRaisedUseTheButtonShades) {
  TBox box(5, 5, 0x00FF00);
  DrawBoxFrame(box.Canvas(), {0, 0, 5, 5}, 0, 0, TQorvelBoxControlLook::pclLowered, ClassicColors);
  EXPECT_EQ(box.At(0, 0), 0x808080u);
  EXPECT_EQ(box.At(4, 0), 0x808080u);  // the top row runs to the right end
  EXPECT_EQ(box.At(0, 3), 0x808080u);
  EXPECT_EQ(box.At(4, 1), 0xFFFFFFu);
  EXPECT_EQ(box.At(0, 4), 0xFFFFFFu);  // the bottom row runs from the left end
  EXPECT_EQ(box.At(2, 2), 0x00FF00u);
  DrawBoxFrame(box.Canvas(), {0, 0, 5, 5}, 0, 0, TQorvelBoxControlLook::pclRaised, ClassicColors);
  EXPECT_EQ(box.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(box.At(4, 4), 0x808080u);
}

TEST(DrawBoxFrame, BadInputIsRejectedOrHarmless) {
  TBox box(3, 3, 0x00FF00);
  EXPECT_THROW(DrawBoxFrame(box.Canvas(), {0, 0, 3, 3}, 0, 0, TQorvelBoxControlLook::pclLowered),
               std::invalid_argument);
  EXPECT_THROW(DrawBoxFrame(box.Canvas(), {0, 0, 3, 3}, clGrayText, 0, TQorvelBoxControlLook::pclRect),
               std::invalid_argument);
  // Rectangles that are empty, one pixel high or partly outside draw only what lies inside.
  DrawBoxFrame(box.Canvas(), {2, 2, 2, 9}, 0, 0, TQorvelBoxControlLook::pclRoundedRect, ClassicColors);
  EXPECT_EQ(box.At(2, 2), 0x00FF00u);
  DrawBoxFrame(box.Canvas(), {-1, 1, 5, 2}, 0xFF0000, 0, TQorvelBoxControlLook::pclRect);
  EXPECT_EQ(box.At(0, 1), 0x0000FFu);
  EXPECT_EQ(box.At(0, 0), 0x00FF00u);
  EXPECT_EQ(box.At(0, 2), 0x00FF00u);
}

TEST(DrawBoxFrame, PartialRepaintMatchesAFullOne) {
  for (auto look : {TQorvelBoxControlLook::pclRect, TQorvelBoxControlLook::pclRoundedRect,
                    TQorvelBoxControlLook::pclLowered, TQorvelBoxControlLook::pclRaised}) {
    auto paint = [&](const TBoxCanvas& canvas) {
      FillBox(canvas, canvas.Area(), nullptr, 256, 0x4080C0);
      DrawBoxFrame(canvas, {0, 0, 30, 20}, 0x000000, clBtnFace, look, ClassicColors);
    };
    ExpectPartialPaintMatches(30, 20, {0, 0, 2, 2}, paint);
    ExpectPartialPaintMatches(30, 20, {27, 17, 40, 40}, paint);
    ExpectPartialPaintMatches(30, 20, {1, 1, 29, 19}, paint);
  }
}

}  // namespace
