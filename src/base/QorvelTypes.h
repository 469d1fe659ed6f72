#pragma once
// Small value types shared by all subsystems: colours, date-times, window states and sets of
// enumeration members; points and rectangles are in Geometry.h.

#include <cstdint>
#include <initializer_list>

#include "base/Geometry.h"

// 0x00BBGGRR: red in the low byte. A non-zero high byte marks a system colour, which has
// to be resolved before it can be drawn.
using TColor = std::uint32_t;

constexpr bool IsSystemColor(TColor color) { return (color & 0xFF000000u) != 0; }

// Days since 1899-12-30, time of day in the fraction. Durations use the same scale.
using TDateTime = double;

constexpr TDateTime OneSecond = 1.0 / 86400.0;

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

// A set of up to 32 members of the enumeration E, held as a mask (bit n = member n), the
// representation the settings tables read and write.
template <class E>
class TQorvelSet {
 public:
  constexpr TQorvelSet() = default;
  constexpr TQorvelSet(std::initializer_list<E> members) {
    for (E member : members) Include(member);
  }
  static constexpr TQorvelSet FromMask(std::uint32_t mask) {
    TQorvelSet set;
    set.FMask = mask;
    return set;
  }

  constexpr std::uint32_t Mask() const { return FMask; }
  constexpr bool Empty() const { return FMask == 0; }
  constexpr bool Contains(E member) const { return (FMask & Bit(member)) != 0; }
  constexpr void Include(E member) { FMask |= Bit(member); }
  constexpr void Exclude(E member) { FMask &= ~Bit(member); }
  friend constexpr bool operator==(TQorvelSet, TQorvelSet) = default;

 private:
  static constexpr std::uint32_t Bit(E member) { return std::uint32_t{1} << static_cast<unsigned>(member); }
  std::uint32_t FMask = 0;
};
