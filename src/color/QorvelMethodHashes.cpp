#include "color/QorvelMethodHashes.h"

std::uint32_t QorvelMethodHashOf(std::uintptr_t code, std::uintptr_t data, int tableSize) {
  const std::uint32_t product = static_cast<std::uint32_t>(code) * 1664525u + static_cast<std::uint32_t>(data);
  return product % static_cast<std::uint32_t>(tableSize);
}
