// Physical monitor sizes from EDID blocks built after the published 1.3/1.4 layout.

#include <gtest/gtest.h>

#include <vector>

#include "ruler/EdidSizes.h"
#include "ruler/MonitorDpi.h"

namespace {

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
  int sum = 0;
  for (int i = 0; i < 127; ++i) sum += block[static_cast<std::size_t>(i)];
  block[127] = static_cast<std::uint8_t>((256 - sum % 256) % 256);
  return block;
}

void ExpectSize(const std::vector<std::uint8_t>& edid, int widthMm, int heightMm, TEdidSizeSource source) {
  const std::optional<TEdidSize> size = EdidPhysicalSize(edid);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->WidthMm, widthMm);
  EXPECT_EQ(size->HeightMm, heightMm);
  EXPECT_EQ(size->Source, source);
}

TEST(EdidSizes, RealWorldBlocks) {
  // A 24-inch 1920 x 1200 monitor and a 27-inch 2560 x 1440 one: the millimetres win.
  ExpectSize(Edid(52, 32, 1920, 1200, 518, 324), 518, 324, TEdidSizeSource::DetailedTiming);
  ExpectSize(Edid(60, 34, 2560, 1440, 597, 336), 597, 336, TEdidSizeSource::DetailedTiming);
  EXPECT_NEAR(PhysicalPixelsPerInch(2560, 597), 108.92, 0.01);
  // An aspect ratio written where the millimetres belong, and a timing without a size.
  ExpectSize(Edid(60, 34, 2560, 1440, 16, 9), 600, 340, TEdidSizeSource::BasicCentimetres);
  ExpectSize(Edid(52, 32, 1920, 1200, 0, 0), 520, 320, TEdidSizeSource::BasicCentimetres);
  // A projector reports no size; a block with an extension is read by its first 128 bytes.
  EXPECT_EQ(EdidPhysicalSize(Edid(0, 0, 1920, 1080, 0, 0)), std::nullopt);
  std::vector<std::uint8_t> extended = Edid(52, 32, 1920, 1200, 518, 324);
  extended[126] = 1;
  extended[127] = static_cast<std::uint8_t>(extended[127] - 1);
  extended.resize(256, 0x5A);
  ExpectSize(extended, 518, 324, TEdidSizeSource::DetailedTiming);
}

TEST(EdidSizes, EachMonitorOfAMixedDeskGetsItsOwnInch) {
  // A 27-inch 2560 x 1440 monitor, and left of it a 24-inch 1920 x 1200 one.
  const std::vector<TMonitorResolution> desk = {{{0, 0, 2560, 1440}, 96}, {{-1920, 0, 0, 1200}, 96}};
  const int sizes[][2] = {{597, 336}, {518, 324}};
  const auto inchAt = [&](const TRect& ruler) {
    const auto index = static_cast<std::size_t>(MonitorHolding(desk, ruler));
    return MonitorPixelsPerInch(desk[index].Bounds.Width(), desk[index].Bounds.Height(),
                                {sizes[index][0], sizes[index][1]});
  };
  EXPECT_EQ(inchAt({100, 100, 700, 130}), 109);
  EXPECT_EQ(inchAt({-900, 100, -300, 130}), 94);
  EXPECT_EQ(MonitorPixelsPerInch(1920, 1080, {0, 0}), 0);
}

TEST(EdidSizes, DamagedBlocksHaveNoSize) {
  std::vector<std::uint8_t> corrupt = Edid(52, 32, 1920, 1200, 518, 324);
  corrupt[60] ^= 0x01;
  EXPECT_EQ(EdidPhysicalSize(corrupt), std::nullopt);
  EXPECT_EQ(EdidPhysicalSize(std::vector<std::uint8_t>(100, 0)), std::nullopt);
}

TEST(EdidSizes, TheMonitorsRegistryKeyFromItsInterfacePath) {
  EXPECT_EQ(EdidRegistryKey(L"\\\\?\\DISPLAY#DEL40A3#5&1a2b3c&0&UID4353#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}"),
            L"SYSTEM\\CurrentControlSet\\Enum\\DISPLAY\\DEL40A3\\5&1a2b3c&0&UID4353\\Device Parameters");
  for (const wchar_t* other : {L"\\\\?\\DISPLAY#DEL40A3", L"\\\\?\\USB#VID_1#2#{g}", L"\\\\?\\DISPLAY#DEL\\..#1#{g}"})
    EXPECT_EQ(EdidRegistryKey(other), L"") << other;
}

}  // namespace
