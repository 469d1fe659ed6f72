#include "settings/QorvelHashes.h"

#include <cctype>

namespace {

bool IsOddPrime(int n) {
  for (int divisor = 3; divisor <= n / divisor; divisor += 2)
    if (n % divisor == 0) return false;
  return true;
}

int CheckedCapacity(int capacity) {
  if (capacity > TQorvelAbstractHash::MaxCapacity)
    throw EQorvelError("A hash table cannot hold more than " + std::to_string(TQorvelAbstractHash::MaxCapacity) +
                       " entries.");
  return capacity < TQorvelAbstractHash::MinCapacity ? TQorvelAbstractHash::MinCapacity : capacity;
}

}  // namespace

int TQorvelAbstractHash::TableSizeFor(int capacity) {
  int candidate = (2 * CheckedCapacity(capacity)) | 1;
  while (!IsOddPrime(candidate)) candidate += 2;
  return candidate;
}

TQorvelAbstractHash::TQorvelAbstractHash(int capacity)
    : FCapacity(CheckedCapacity(capacity)),
      FTableSize(TableSizeFor(FCapacity)),
      FStates(FTableSize, TSlotState::Empty),
      FOrder(FTableSize, -1),
      FBack(FTableSize, -1) {}

int TQorvelAbstractHash::FindFreeSlot(std::uint32_t home) const {
  const std::uint32_t size = static_cast<std::uint32_t>(FTableSize);
  std::uint32_t slot = home, step = 1;
  // The table is never more than half full and its size is prime, so one of the first
  // (size + 1) / 2 probes is free.
  for (int probe = 0; probe < FTableSize; ++probe) {
    if (FStates[slot] != TSlotState::Used) return static_cast<int>(slot);
    slot = (slot + step) % size;
    step = (step + 2) % size;
  }
  throw EQorvelError("Hash table overflow.");
}

void TQorvelAbstractHash::OccupySlot(int slot) {
  FStates[slot] = TSlotState::Used;
  FOrder[FCount] = slot;
  FBack[slot] = FCount;
  ++FCount;
}

void TQorvelAbstractHash::VacateSlot(int slot) {
  const int position = FBack[slot];
  const int lastSlot = FOrder[FCount - 1];
  FOrder[position] = lastSlot;
  FBack[lastSlot] = position;
  FOrder[FCount - 1] = -1;
  FBack[slot] = -1;
  FStates[slot] = TSlotState::Deleted;
  --FCount;
}

int TQorvelAbstractHash::SlotAt(int position) const {
  if (position < 0 || position >= FCount) return -1;
  return FOrder[position];
}

bool TQorvelAbstractHash::DoubleCapacity() {
  const int capacity = CheckedCapacity(FCapacity > MaxCapacity / 2 ? MaxCapacity + 1 : 2 * FCapacity);
  const int tableSize = TableSizeFor(capacity);
  FCapacity = capacity;
  if (tableSize == FTableSize) return false;
  FTableSize = tableSize;
  ClearSlots();
  return true;
}

void TQorvelAbstractHash::ClearSlots() {
  FStates.assign(FTableSize, TSlotState::Empty);
  FOrder.assign(FTableSize, -1);
  FBack.assign(FTableSize, -1);
  FCount = 0;
}

std::uint32_t QorvelStringHashOf(std::string_view normalizedKey, int tableSize) {
  const std::uint32_t size = static_cast<std::uint32_t>(tableSize);
  std::uint32_t h = 0;
  for (unsigned char byte : normalizedKey) h = ((h % size) << 8) | byte;
  return h % size;
}

std::string QorvelLowerCaseKey(std::string_view key) {
  std::string lower(key);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}
