#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ios>
#include <set>

#include "color/ColorServiceBlock.h"

namespace {

using namespace QorvelColorBlock;

// A block with guard bytes on both sides, to catch writes outside its 520 bytes.
struct TGuardedBlock {
  static constexpr unsigned char Guard = 0xA5;
  std::array<unsigned char, 16 + Size + 16> Bytes{};
  TGuardedBlock() { Bytes.fill(Guard); }
  TQorvelColorBlockView View() { return TQorvelColorBlockView(Bytes.data() + 16); }
  unsigned char At(std::size_t offset) const { return Bytes[16 + offset]; }
  bool GuardsIntact() const {
    for (std::size_t i = 0; i < 16; ++i)
      if (Bytes[i] != Guard || Bytes[16 + Size + i] != Guard) return false;
    return true;
  }
};

TEST(ColorBlockLayout, Is520BytesOfCountsWindowsAndRecords) {
  EXPECT_EQ(WindowsOffset, 4u);
  EXPECT_EQ(ColorCountOffset, 260u);
  EXPECT_EQ(ColorsOffset, 264u);
  EXPECT_EQ(ColorsSize, 256u);
  EXPECT_EQ(Size, 520u);
}

TEST(ColorBlockInitialize, WritesCountsFreeSlotsAndTheInitialColoursLittleEndian) {
  TGuardedBlock block;
  EXPECT_FALSE(block.View().Initialized());
  block.View().Initialize();
  EXPECT_TRUE(block.View().Initialized());
  EXPECT_TRUE(block.GuardsIntact());

  EXPECT_EQ(block.At(0), 64);
  EXPECT_EQ(block.At(1), 0);
  EXPECT_EQ(block.At(260), 32);
  for (int slot = 0; slot < WindowCount; ++slot) EXPECT_EQ(block.View().Window(slot), 0u);

  const TColor expected[] = {0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF};
  for (int i = 0; i < ColorCount; ++i)
    EXPECT_EQ(block.View().Record(i), (TQorvelColorRecord{i < 5 ? expected[i] : 0xFFFFFFu, 0})) << i;
  // Record 1 as bytes: value 40 40 40 00, then flags 0.
  const std::array<unsigned char, 8> record1{0x40, 0x40, 0x40, 0, 0, 0, 0, 0};
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(block.At(272 + i), record1[i]);
}

TEST(ColorBlockInitialize, OnlyAFullHeaderCountsAsSetUp) {
  TGuardedBlock block;
  block.Bytes.fill(0);
  block.Bytes[16] = 64;  // window count written, colour count not yet
  EXPECT_FALSE(block.View().Initialized());
}

TEST(ColorBlockRecords, SettingAValueKeepsItsFlags) {
  TGuardedBlock block;
  block.View().Initialize();
  block.View().SetRecord(3, {0x123456, 0xCAFE});
  block.View().SetColorValue(3, 0x0000FF);
  EXPECT_EQ(block.View().Record(3), (TQorvelColorRecord{0x0000FF, 0xCAFE}));
  EXPECT_EQ(block.View().ColorValue(3), 0x0000FFu);
  // Little-endian: red first.
  EXPECT_EQ(block.At(264 + 24), 0xFF);
  EXPECT_EQ(block.At(264 + 28), 0xFE);
  EXPECT_EQ(block.At(264 + 29), 0xCA);
}

TEST(ColorBlockRecords, IndexesOutsideTheTablesReadAsNothingAndWriteNothing) {
  TGuardedBlock block;
  block.View().Initialize();
  const auto before = block.Bytes;
  EXPECT_EQ(block.View().ColorValue(32), static_cast<TColor>(-1));
  EXPECT_EQ(block.View().ColorValue(-1), static_cast<TColor>(-1));
  block.View().SetColorValue(32, 0x123456);
  block.View().SetColorValue(-1, 0x123456);
  block.View().SetRecord(40, {1, 2});
  block.View().SetWindow(64, 0xDEAD);
  block.View().SetWindow(-1, 0xDEAD);
  EXPECT_EQ(block.Bytes, before);
  EXPECT_EQ(block.View().Window(64), 0u);
}

TEST(ColorBlockSlots, PrefersAFreeSlotThenReclaimsADeadWindow) {
  TGuardedBlock block;
  block.View().Initialize();
  std::set<std::uint32_t> alive;
  auto isAlive = [&](std::uint32_t window) { return alive.count(window) > 0; };

  EXPECT_EQ(block.View().FindFreeSlot(isAlive), 0);
  for (int slot = 0; slot < WindowCount; ++slot) {
    block.View().SetWindow(slot, 0x100 + slot);
    alive.insert(0x100 + slot);
  }
  EXPECT_EQ(block.View().FindFreeSlot(isAlive), -1) << "a full table of live windows has no room";

  alive.erase(0x100 + 40);  // that copy crashed
  alive.erase(0x100 + 50);
  EXPECT_EQ(block.View().FindFreeSlot(isAlive), 40);

  block.View().SetWindow(60, 0);  // a copy that ended properly
  EXPECT_EQ(block.View().FindFreeSlot(isAlive), 60) << "a free slot goes before a dead one";
}

// What another program writes is a colour only as RGB or as a system colour index 0..30.
TEST(ColorServiceBlock, OnlyRgbAndSystemColourIndexesAreColours) {
  for (const TColor colour : {0x000000u, 0xFFFFFFu, 0x80000000u, 0x8000001Eu, 0xFF00001Eu})
    EXPECT_TRUE(ValidColorValue(colour)) << std::hex << colour;
  for (const TColor colour : {0x01000000u, 0x8000001Fu, 0x80000100u, 0xFF010000u, 0xDEADBEEFu})
    EXPECT_FALSE(ValidColorValue(colour)) << std::hex << colour;
}

}  // namespace
