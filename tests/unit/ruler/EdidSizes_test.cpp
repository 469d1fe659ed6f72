// Physical monitor sizes from EDID blocks built after the published 1.3/1.4 layout.

#include <gtest/gtest.h>

#include <vector>

#include "ruler/EdidSizes.h"

namespace {

void Checksum(std::vector<std::uint8_t>& edid, std::size_t block) {
  int sum = 0;
  for (std::size_t i = block * 128; i < block * 128 + 127; ++i) sum += edid[i];
  edid[block * 128 + 127] = static_cast<std::uint8_t>((256 - sum % 256) % 256);
}

// A base block with the basic size in cm and a preferred timing of the given mode and mm.
std::vector<std::uint8_t> Edid(int widthCm, int heightCm, int pixelsX, int pixelsY, int widthMm, int heightMm) {
  std::vector<std::uint8_t> block(128, 0);
  const std::uint8_t header[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
  std::copy(std::begin(header), std::end(header), block.begin());
  block[18] = 1;  // version 1.4
  block[19] = 4;
  block[21] = static_cast<std::uint8_t>(widthCm);
  block[22] = static_cast<std::uint8_t>(heightCm);
  std::uint8_t* d = &block[54];
  d[0] = 0x28;  // 154 MHz, any clock above 0 marks a timing
  d[1] = 0x3C;
  d[2] = static_cast<std::uint8_t>(pixelsX & 0xFF);
  d[4] = static_cast<std::uint8_t>((pixelsX >> 8) << 4);
  d[5] = static_cast<std::uint8_t>(pixelsY & 0xFF);
  d[7] = static_cast<std::uint8_t>((pixelsY >> 8) << 4);
  d[12] = static_cast<std::uint8_t>(widthMm & 0xFF);
  d[13] = static_cast<std::uint8_t>(heightMm & 0xFF);
  d[14] = static_cast<std::uint8_t>(((widthMm >> 8) << 4) | (heightMm >> 8));
  Checksum(block, 0);
  return block;
}

constexpr TPixelSize FullHd{1920, 1080};

void ExpectSize(const std::vector<std::uint8_t>& edid, TPixelSize desktop, int widthMm, int heightMm,
                TSizeSource source) {
  const std::optional<TPhysicalSize> size = EdidPhysicalSize(edid, desktop);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->WidthMm, widthMm);
  EXPECT_EQ(size->HeightMm, heightMm);
  EXPECT_EQ(size->Source, source);
}

TEST(EdidSizes, TheTimingSizeWinsWhereTheBasicOneAgreesOnBothAxes) {
  // A 24-inch 1920 x 1200 monitor: the millimetres are finer than the centimetres.
  ExpectSize(Edid(52, 32, 1920, 1200, 518, 324), FullHd, 518, 324, TSizeSource::DetailedTiming);
  // A 65-inch 4K TV whose basic height lies 16 mm from its timing height, the width 2 mm: both
  // sizes are plausible, they disagree, and the basic size answers.
  ExpectSize(Edid(143, 82, 3840, 2160, 1428, 804), FullHd, 1430, 820, TSizeSource::BasicCentimetres);
  ExpectSize(Edid(143, 80, 3840, 2160, 1428, 804), FullHd, 1428, 804, TSizeSource::DetailedTiming);
  ExpectSize(Edid(52, 32, 1920, 1200, 0, 0), FullHd, 520, 320, TSizeSource::BasicCentimetres);  // no timing size
}

TEST(EdidSizes, PlaceholdersAndAbsurdSizesAreNotTrusted) {
  // TVs: 160 x 90 cm on a 4K panel would be 61 pixels per inch, plausible but for its shape.
  EXPECT_EQ(EdidPhysicalSize(Edid(160, 90, 3840, 2160, 0, 0), FullHd), std::nullopt);
  // 16 x 9 "cm" beside a true timing size: the timing size, though the two disagree.
  ExpectSize(Edid(16, 9, 3840, 2160, 1209, 680), FullHd, 1209, 680, TSizeSource::DetailedTiming);
  // Timing sizes of 160 x 90 mm (305 pixels per inch, square) and 16 x 9 mm: the basic size.
  ExpectSize(Edid(53, 30, 1920, 1080, 160, 90), FullHd, 530, 300, TSizeSource::BasicCentimetres);
  EXPECT_EQ(EdidPhysicalSize(Edid(0, 0, 1920, 1080, 16, 9), FullHd), std::nullopt);
  // A first descriptor filled with 0x01 reads as a 1 x 1 mode of 1 x 257 mm: no mode, no size;
  // the basic size is checked against the desktop's mode instead.
  std::vector<std::uint8_t> filled = Edid(53, 30, 1920, 1080, 527, 296);
  std::fill(filled.begin() + 54, filled.begin() + 72, 0x01);
  Checksum(filled, 0);
  ExpectSize(filled, FullHd, 530, 300, TSizeSource::BasicCentimetres);
  EXPECT_FALSE(PlausibleSize({527, 400, TSizeSource::DetailedTiming}, FullHd)) << "pixels that are not square";
  EXPECT_TRUE(PlausibleSize({70, 120, TSizeSource::BasicCentimetres}, {1080, 1920})) << "a phone's rounding";
}

TEST(EdidSizes, ExtensionBlocksArePassedOverAndDamagedBaseBlocksHaveNoSize) {
  // A 4K HDR monitor: the base block, a CTA-861 block and a DisplayID block, 384 bytes.
  std::vector<std::uint8_t> extended = Edid(60, 34, 3840, 2160, 597, 336);
  extended[126] = 2;
  Checksum(extended, 0);
  extended.resize(384, 0x5A);
  ExpectSize(extended, FullHd, 597, 336, TSizeSource::DetailedTiming);

  std::vector<std::uint8_t> corrupt = Edid(52, 32, 1920, 1200, 518, 324);
  corrupt[60] ^= 0x01;
  EXPECT_EQ(EdidPhysicalSize(corrupt, FullHd), std::nullopt);
  EXPECT_EQ(EdidPhysicalSize(std::vector<std::uint8_t>(100, 0), FullHd), std::nullopt);
}

TEST(EdidSizes, TheResolutionFollowsTheDesktopsOrientationAndEachAxisOfAStretchedMode) {
  // A 24-inch 1920 x 1080 panel (527 x 296 mm): 92.6 pixels per inch, turned to portrait or not.
  const TPhysicalSize panel{527, 296, TSizeSource::DetailedTiming};
  for (const TPixelSize desktop : {TPixelSize{1920, 1080}, TPixelSize{1080, 1920}}) {
    const TResolution resolution = DesktopResolution(desktop, panel);
    EXPECT_NEAR(resolution.X, 92.6, 0.05) << desktop.Width;
    EXPECT_EQ(resolution.X, resolution.Y) << "square pixels: the mean of both axes";
  }
  // An 8-inch handheld panel, 800 x 1280 natively (108 x 172 mm), shown landscape.
  const std::vector<std::uint8_t> handheld = Edid(11, 17, 800, 1280, 108, 172);
  const std::optional<TPhysicalSize> size = EdidPhysicalSize(handheld, {1280, 800});
  ASSERT_TRUE(size);
  EXPECT_NEAR(DesktopResolution({1280, 800}, *size).X, 188.6, 0.1);
  // 1280 x 1024 stretched over the 16:9 panel: each axis its own.
  const TResolution stretched = DesktopResolution({1280, 1024}, panel);
  EXPECT_NEAR(stretched.X, 61.7, 0.05);
  EXPECT_NEAR(stretched.Y, 87.9, 0.05);
  EXPECT_EQ(DesktopResolution(FullHd, {0, 0}), TResolution(0, 0));
}

TEST(EdidSizes, TheMonitorsRegistryKeyFromItsInterfacePath) {
  EXPECT_EQ(EdidRegistryKey(L"\\\\?\\DISPLAY#DEL40A3#5&1a2b3c&0&UID4353#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}"),
            L"SYSTEM\\CurrentControlSet\\Enum\\DISPLAY\\DEL40A3\\5&1a2b3c&0&UID4353\\Device Parameters");
  for (const wchar_t* other : {L"\\\\?\\DISPLAY#DEL40A3", L"\\\\?\\USB#VID_1#2#{g}", L"\\\\?\\DISPLAY#DEL\\..#1#{g}"})
    EXPECT_EQ(EdidRegistryKey(other), L"") << other;
}

}  // namespace
