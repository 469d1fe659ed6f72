#pragma once
// Open-addressing hash tables that remember insertion order.
//
// TQorvelAbstractHash keeps what every such table shares: the capacity, a prime table
// size of at least twice the capacity, the slot states, quadratic probing and the
// insertion-order list. Derived tables keep their keys and values in parallel slot
// arrays. The order list makes iteration by position stable and cheap; deleting an entry
// moves the most recently added one into its place.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/QorvelErrors.h"

class TQorvelAbstractHash {
 public:
  static constexpr int MinCapacity = 10;
  // Keeps 2 * capacity and the hash arithmetic far from 32-bit overflow.
  static constexpr int MaxCapacity = 1 << 22;

  int Capacity() const { return FCapacity; }
  int TableSize() const { return FTableSize; }
  int Count() const { return FCount; }

  // The smallest prime not below 2 * capacity (capacity raised to MinCapacity first).
  static int TableSizeFor(int capacity);

 protected:
  enum class TSlotState : std::uint8_t { Empty = 0, Deleted = 1, Used = 2 };

  explicit TQorvelAbstractHash(int capacity);
  ~TQorvelAbstractHash() = default;
  TQorvelAbstractHash(const TQorvelAbstractHash&) = default;
  TQorvelAbstractHash& operator=(const TQorvelAbstractHash&) = default;

  TSlotState StateOf(int slot) const { return FStates[slot]; }

  // Probes from `home` with offsets 1, 4, 9, ... and returns the first used slot for which
  // `matches(slot)` holds, or -1 once an empty slot is met or the probe is back at `home`.
  template <class Matches>
  int FindSlot(std::uint32_t home, Matches matches) const {
    const std::uint32_t size = static_cast<std::uint32_t>(FTableSize);
    std::uint32_t slot = home, step = 1;
    while (FStates[slot] != TSlotState::Empty) {
      if (FStates[slot] == TSlotState::Used && matches(static_cast<int>(slot))) return static_cast<int>(slot);
      slot = (slot + step) % size;
      step = (step + 2) % size;
      if (slot == home) break;
    }
    return -1;
  }

  // The first slot along the same probe sequence that is not used (empty or deleted).
  int FindFreeSlot(std::uint32_t home) const;

  // Marks `slot` used and appends it to the order list.
  void OccupySlot(int slot);
  // Marks `slot` deleted; the last entry of the order list takes its position.
  void VacateSlot(int slot);
  // Slot of the entry at `position` in insertion order, -1 outside 0..Count()-1.
  int SlotAt(int position) const;

  // Doubles the capacity. Returns true when that changed the table size: the table is then
  // empty and the caller re-inserts its entries (taken beforehand) in their order.
  bool DoubleCapacity();
  // Empties the table, keeping capacity and size.
  void ClearSlots();

 private:
  int FCapacity = MinCapacity;
  int FTableSize = 0;
  int FCount = 0;
  std::vector<TSlotState> FStates;
  std::vector<std::int32_t> FOrder;  // position -> slot, for positions 0..count-1
  std::vector<std::int32_t> FBack;   // slot -> position
};

// Hash of a normalised key: each byte shifted in after reducing modulo the table size.
std::uint32_t QorvelStringHashOf(std::string_view normalizedKey, int tableSize);

// Lower-cases a key with the C library's current character-type rules (the program's
// locale), byte by byte.
std::string QorvelLowerCaseKey(std::string_view key);

// A string-keyed table. Keys compare case-insensitively unless CaseSensitive is set.
// Values are not owned; a missing value reads as TValue{}.
template <class TValue>
class TQorvelStringHash : public TQorvelAbstractHash {
 public:
  explicit TQorvelStringHash(int capacity = MinCapacity) : TQorvelAbstractHash(capacity), FSlots(TableSize()) {}

  bool CaseSensitive() const { return FCaseSensitive; }

  // Re-adds all entries under the new rule, in their order. Refuses (and changes nothing)
  // when two keys would become one.
  void SetCaseSensitive(bool value) {
    if (value == FCaseSensitive) return;
    std::vector<TEntry> entries = EntriesInOrder();
    for (std::size_t i = 0; i < entries.size(); ++i)
      for (std::size_t j = i + 1; j < entries.size(); ++j)
        if (Normalize(entries[i].Key, value) == Normalize(entries[j].Key, value))
          throw EQorvelError("The keys '" + entries[i].Key + "' and '" + entries[j].Key +
                             "' would collide in a case-insensitive hash.");
    FCaseSensitive = value;
    ClearSlots();
    FSlots.assign(TableSize(), TEntry{});
    for (TEntry& entry : entries) {
      entry.NormalizedKey = Normalize(entry.Key, value);
      Insert(std::move(entry));
    }
  }

  // Adds the key unless it is present; returns whether it added.
  bool Add(std::string_view key, TValue value) {
    TEntry entry{std::string(key), Normalize(key, FCaseSensitive), std::move(value)};
    if (FindNormalized(entry.NormalizedKey) >= 0) return false;
    if (Count() >= Capacity()) Grow();
    Insert(std::move(entry));
    return true;
  }

  bool Delete(std::string_view key) {
    const int slot = FindNormalized(Normalize(key, FCaseSensitive));
    if (slot < 0) return false;
    VacateSlot(slot);
    FSlots[slot] = TEntry{};
    return true;
  }

  bool Contains(std::string_view key) const { return FindNormalized(Normalize(key, FCaseSensitive)) >= 0; }

  TValue Find(std::string_view key) const {
    const int slot = FindNormalized(Normalize(key, FCaseSensitive));
    return slot < 0 ? TValue{} : FSlots[slot].Value;
  }

  // Iteration in insertion order; outside 0..Count()-1 an empty key and TValue{}.
  std::string KeyAt(int position) const {
    const int slot = SlotAt(position);
    return slot < 0 ? std::string() : FSlots[slot].Key;
  }
  TValue ValueAt(int position) const {
    const int slot = SlotAt(position);
    return slot < 0 ? TValue{} : FSlots[slot].Value;
  }

 protected:
  // The slot holding the key, -1 when absent (lets tests watch the probing).
  int SlotOf(std::string_view key) const { return FindNormalized(Normalize(key, FCaseSensitive)); }

 private:
  struct TEntry {
    std::string Key;            // as added
    std::string NormalizedKey;  // what is hashed and compared
    TValue Value{};
  };

  static std::string Normalize(std::string_view key, bool caseSensitive) {
    return caseSensitive ? std::string(key) : QorvelLowerCaseKey(key);
  }

  int FindNormalized(const std::string& normalizedKey) const {
    return FindSlot(QorvelStringHashOf(normalizedKey, TableSize()),
                    [&](int slot) { return FSlots[slot].NormalizedKey == normalizedKey; });
  }

  void Insert(TEntry entry) {
    const int slot = FindFreeSlot(QorvelStringHashOf(entry.NormalizedKey, TableSize()));
    FSlots[slot] = std::move(entry);
    OccupySlot(slot);
  }

  std::vector<TEntry> EntriesInOrder() const {
    std::vector<TEntry> entries;
    entries.reserve(Count());
    for (int position = 0; position < Count(); ++position) entries.push_back(FSlots[SlotAt(position)]);
    return entries;
  }

  void Grow() {
    std::vector<TEntry> entries = EntriesInOrder();
    if (!DoubleCapacity()) return;
    FSlots.assign(TableSize(), TEntry{});
    for (TEntry& entry : entries) Insert(std::move(entry));
  }

  std::vector<TEntry> FSlots;
  bool FCaseSensitive = false;
};
