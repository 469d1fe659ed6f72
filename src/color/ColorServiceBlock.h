#pragma once
// The shared block of user-defined colours, as bytes: every running colour service maps the
// same 520 bytes, so its layout is fixed and every field is a little-endian 32-bit value.
//
//   offset   0  window count (64)
//   offset   4  64 window handles of the registered services, 0 = free
//   offset 260  colour count (32)
//   offset 264  32 records of value (TColor) and flags (carried along, not interpreted)

#include <cstddef>
#include <cstdint>
#include <functional>

#include "base/QorvelTypes.h"

struct TQorvelColorRecord {
  TColor Value = 0;
  std::uint32_t Flags = 0;
  friend bool operator==(const TQorvelColorRecord&, const TQorvelColorRecord&) = default;
};

namespace QorvelColorBlock {
inline constexpr int WindowCount = 64;
inline constexpr int ColorCount = 32;
inline constexpr std::size_t WindowCountOffset = 0;
inline constexpr std::size_t WindowsOffset = 4;
inline constexpr std::size_t ColorCountOffset = WindowsOffset + 4 * WindowCount;  // 260
inline constexpr std::size_t ColorsOffset = ColorCountOffset + 4;                 // 264
inline constexpr std::size_t RecordSize = 8;
inline constexpr std::size_t ColorsSize = RecordSize * ColorCount;  // 256
inline constexpr std::size_t Size = ColorsOffset + ColorsSize;      // 520

// The colours a new block starts with: black, three grays, then white.
TQorvelColorRecord InitialColor(int index);

// Whether a value read from the block is a colour at all: RGB (high byte 0), or a system
// colour (high byte 0x80 or 0xFF, a system colour index up to 30, nothing in between). Any
// program of the session can write the block, so what it holds is data to check.
bool ValidColorValue(TColor value);
}  // namespace QorvelColorBlock

// Typed access to a block's bytes. Indexes outside the tables read as 0 (an invalid colour
// index as -1, see ColorValue) and ignore writes, so a caller's bad index cannot reach the
// memory behind the block.
class TQorvelColorBlockView {
 public:
  explicit TQorvelColorBlockView(void* bytes) : FBytes(static_cast<unsigned char*>(bytes)) {}

  // A block whose header does not hold the two counts has not been set up yet.
  bool Initialized() const;
  // Writes the counts, frees every window slot and puts in the initial colours.
  void Initialize();

  std::uint32_t Window(int slot) const;
  void SetWindow(int slot, std::uint32_t window);

  TQorvelColorRecord Record(int index) const;
  void SetRecord(int index, const TQorvelColorRecord& record);
  // The colour value of record `index`; -1 (no colour) outside 0..31.
  TColor ColorValue(int index) const;
  // Sets the value and keeps the flags.
  void SetColorValue(int index, TColor value);

    // The slot a new service takes: the first free one, or else the first whose window no
  // longer exists (its process ended without clearing it); -1 when all are live.
  int FindFreeSlot(const std::function<bool(std::uint32_t window)>& windowAlive) const;

 private:
  std::uint32_t Read(std::size_t offset) const;
  void Write(std::size_t offset, std::uint32_t value);

  unsigned char* FBytes;
};
