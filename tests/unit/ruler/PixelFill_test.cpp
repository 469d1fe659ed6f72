// Filling writes whole blocks of pixels, the last one overlapping the one before it: every
// length and start must set exactly its pixels and not one beside them.
#include <gtest/gtest.h>

#include "base/ClippedCanvas.h"
#include "base/PixelBuffers.h"

namespace {

constexpr TPixel Old = 0x111111, New = 0xABCDEF;

TEST(FillPixels, SetsExactlyTheCountedPixelsForEveryLengthAndStart) {
  for (int start = 0; start < 9; ++start) {
    for (int count = 0; count <= 40; ++count) {
      std::vector<TPixel> row(64, Old);
      FillPixels(row.data() + start, count, New);
      for (int i = 0; i < 64; ++i)
        ASSERT_EQ(row[static_cast<std::size_t>(i)], i >= start && i < start + count ? New : Old)
            << "start " << start << ", count " << count << ", pixel " << i;
    }
  }
}

TEST(FillPixels, FillsAreasOfEveryWidthThroughViewAndClippedCanvas) {
  for (int width = 0; width <= 20; ++width) {
    TPixelBuffer viewBuffer(24, 6, Old), canvasBuffer(24, 6, Old);
    const TRect area{3, 1, 3 + width, 5};
    viewBuffer.View().Fill(area, New);
    // The canvas clips one column and one row off the area.
    TClippedCanvas(canvasBuffer.View(), {0, 0, 2 + width, 4}).Fill(area, New);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 24; ++x) {
        ASSERT_EQ(viewBuffer.At(x, y), area.Contains(x, y) ? New : Old) << "width " << width << " at " << x << "," << y;
        const bool clipped = area.Contains(x, y) && x < 2 + width && y < 4;
        ASSERT_EQ(canvasBuffer.At(x, y), clipped ? New : Old) << "width " << width << " at " << x << "," << y;
      }
    }
  }
}

TEST(FillPixels, ClipsAnAreaReachingPastTheViewInsteadOfWritingOutside) {
  TPixelBuffer buffer(10, 3, Old);
  buffer.View().Fill({-5, -1, 30, 2}, New);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(buffer.At(x, y), y < 2 ? New : Old) << x << "," << y;
}

}  // namespace
