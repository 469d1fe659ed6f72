#pragma once
// Event handlers as comparable values, and a set of them that keeps insertion order.
//
// A TQorvelMethod is a bound member function: a code address (a trampoline instantiated
// once per member function) and a data pointer (the object). Two methods are the same
// handler exactly when both parts match, so a handler can be removed by re-creating it,
// which std::function cannot offer. TQorvelMethodHash is the listener table of event
// sources: open addressing like the string hash, keyed by the two pointers.

#include <cstdint>
#include <vector>

#include "settings/QorvelHashes.h"

template <class... TArgs>
class TQorvelMethod {
 public:
  using TCode = void (*)(void* data, TArgs... args);

  TQorvelMethod() = default;
  TQorvelMethod(TCode code, void* data) : FCode(code), FData(data) {}

  // The handler that calls `(object->*Member)(args...)`.
  template <auto Member, class TObject>
  static TQorvelMethod Of(TObject* object) {
    return TQorvelMethod(&Invoke<Member, TObject>, object);
  }

  void operator()(TArgs... args) const {
    if (FCode) FCode(FData, args...);
  }
  explicit operator bool() const { return FCode != nullptr; }

  TCode Code() const { return FCode; }
  void* Data() const { return FData; }
  std::uintptr_t CodeAddress() const { return reinterpret_cast<std::uintptr_t>(FCode); }
  std::uintptr_t DataAddress() const { return reinterpret_cast<std::uintptr_t>(FData); }

  friend bool operator==(const TQorvelMethod& a, const TQorvelMethod& b) {
    return a.FCode == b.FCode && a.FData == b.FData;
  }

 private:
  template <auto Member, class TObject>
  static void Invoke(void* data, TArgs... args) {
    (static_cast<TObject*>(data)->*Member)(args...);
  }

  TCode FCode = nullptr;
  void* FData = nullptr;
};

// (code * 1664525 + data) mod tableSize, in unsigned 32-bit arithmetic: the multiplier
// spreads code addresses that lie close together in one module.
std::uint32_t QorvelMethodHashOf(std::uintptr_t code, std::uintptr_t data, int tableSize);

template <class TMethod>
class TQorvelMethodHash : public TQorvelAbstractHash {
 public:
  explicit TQorvelMethodHash(int capacity = MinCapacity) : TQorvelAbstractHash(capacity), FSlots(TableSize()) {}

  // Adds the method unless it is present (or empty); returns whether it added.
  bool Add(const TMethod& method) {
    if (!method || Find(method) >= 0) return false;
    if (Count() >= Capacity()) Grow();
    Insert(method);
    return true;
  }

  // Removes the method; the most recently added one takes its place in the order.
  bool Remove(const TMethod& method) {
    const int slot = Find(method);
    if (slot < 0) return false;
    VacateSlot(slot);
    FSlots[slot] = TMethod{};
    return true;
  }

  bool Contains(const TMethod& method) const { return Find(method) >= 0; }

  // Iteration in insertion order; outside 0..Count()-1 an empty method.
  TMethod At(int position) const {
    const int slot = SlotAt(position);
    return slot < 0 ? TMethod{} : FSlots[slot];
  }

  // The methods in order, as a copy: handlers called from it may add or remove methods.
  std::vector<TMethod> Snapshot() const {
    std::vector<TMethod> methods;
    methods.reserve(Count());
    for (int position = 0; position < Count(); ++position) methods.push_back(FSlots[SlotAt(position)]);
    return methods;
  }

 protected:
  // The slot holding the method, -1 when absent (lets tests watch the probing).
  int SlotOf(const TMethod& method) const { return Find(method); }

 private:
  static std::uint32_t Home(const TMethod& method, int tableSize) {
    return QorvelMethodHashOf(method.CodeAddress(), method.DataAddress(), tableSize);
  }

  int Find(const TMethod& method) const {
    return FindSlot(Home(method, TableSize()), [&](int slot) { return FSlots[slot] == method; });
  }

  void Insert(const TMethod& method) {
    const int slot = FindFreeSlot(Home(method, TableSize()));
    FSlots[slot] = method;
    OccupySlot(slot);
  }

  void Grow() {
    std::vector<TMethod> methods = Snapshot();
    if (!DoubleCapacity()) return;
    FSlots.assign(TableSize(), TMethod{});
    for (const TMethod& method : methods) Insert(method);
  }

  std::vector<TMethod> FSlots;
};
