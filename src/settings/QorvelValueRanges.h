#pragma once
// The values a setting may take, declared in the property table beside its default. The
// settings file is text a user can edit and a disk can damage: every value it brings is
// held to its range once it is loaded, so that no window has to guess what an absurd
// number means, and the file written at exit is sane again.

#include <cstdint>
#include <string>
#include <vector>

struct TQorvelValueRange {
  enum class TKind {
    Between,  // a number: held to Min..Max
    Choice,   // a list index (Min..Max) or one of Values: anything else means the default
    LowBit,   // only bit 0 counts: held to 0 or 1, meaning the same
    AtMost,   // a text's length in UTF-16 units, or a list's entries: at most Max
  };

  TKind Kind = TKind::Between;
  std::int32_t Min = 0;
  std::int32_t Max = 0;
  std::vector<std::int32_t> Values;  // Choice among these instead of Min..Max

  // `fallback`: the declared default, which a Choice falls back to.
  std::int32_t Held(std::int32_t value, std::int32_t fallback) const;
  // Cut at a character boundary of the UTF-8 text.
  std::string Held(std::string text) const;
  std::vector<std::string> Held(std::vector<std::string> list) const;
};
