#include "color/ColorServiceBlock.h"

namespace QorvelColorBlock {

TQorvelColorRecord InitialColor(int index) {
  static constexpr TColor grays[] = {0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF};
  return {index >= 0 && index < 5 ? grays[index] : 0xFFFFFFu, 0};
}

bool ValidColorValue(TColor value) {
  const TColor kind = value & 0xFF000000u;
  if (kind == 0) return true;
  constexpr TColor LastSystemColorIndex = 30;  // the menu bar
  return (kind == 0x80000000u || kind == 0xFF000000u) && (value & 0x00FFFF00u) == 0 &&
         (value & 0xFFu) <= LastSystemColorIndex;
}

}  // namespace QorvelColorBlock

using namespace QorvelColorBlock;

namespace {
bool ValidSlot(int slot) { return slot >= 0 && slot < WindowCount; }
bool ValidIndex(int index) { return index >= 0 && index < ColorCount; }
}  // namespace

std::uint32_t TQorvelColorBlockView::Read(std::size_t offset) const {
  const unsigned char* p = FBytes + offset;
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void TQorvelColorBlockView::Write(std::size_t offset, std::uint32_t value) {
  unsigned char* p = FBytes + offset;
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

bool TQorvelColorBlockView::Initialized() const {
  return Read(WindowCountOffset) == WindowCount && Read(ColorCountOffset) == ColorCount;
}

void TQorvelColorBlockView::Initialize() {
  Write(WindowCountOffset, WindowCount);
  for (int slot = 0; slot < WindowCount; ++slot) SetWindow(slot, 0);
  Write(ColorCountOffset, ColorCount);
  for (int index = 0; index < ColorCount; ++index) SetRecord(index, InitialColor(index));
}

std::uint32_t TQorvelColorBlockView::Window(int slot) const {
  return ValidSlot(slot) ? Read(WindowsOffset + 4 * static_cast<std::size_t>(slot)) : 0;
}

void TQorvelColorBlockView::SetWindow(int slot, std::uint32_t window) {
  if (ValidSlot(slot)) Write(WindowsOffset + 4 * static_cast<std::size_t>(slot), window);
}

TQorvelColorRecord TQorvelColorBlockView::Record(int index) const {
  if (!ValidIndex(index)) return {};
  const std::size_t offset = ColorsOffset + RecordSize * static_cast<std::size_t>(index);
  return {Read(offset), Read(offset + 4)};
}

void TQorvelColorBlockView::SetRecord(int index, const TQorvelColorRecord& record) {
  if (!ValidIndex(index)) return;
  const std::size_t offset = ColorsOffset + RecordSize * static_cast<std::size_t>(index);
  Write(offset, record.Value);
  Write(offset + 4, record.Flags);
}

TColor TQorvelColorBlockView::ColorValue(int index) const {
  return ValidIndex(index) ? Record(index).Value : static_cast<TColor>(-1);
}

void TQorvelColorBlockView::SetColorValue(int index, TColor value) {
  if (ValidIndex(index)) SetRecord(index, {value, Record(index).Flags});
}

int TQorvelColorBlockView::FindFreeSlot(const std::function<bool(std::uint32_t window)>& windowAlive) const {
  for (int slot = 0; slot < WindowCount; ++slot)
    if (Window(slot) == 0) return slot;
  for (int slot = 0; slot < WindowCount; ++slot)
    if (!windowAlive(Window(slot))) return slot;
  return -1;
}
