#include "color/ColorClipboardText.h"

#include "ruler/QorvelColorUtils.h"

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string ColorClipboardText(TColor rgb) {
  static constexpr char digits[] = "0123456789ABCDEF";
  const TColor rrggbb = SwapRedBlue(rgb) & 0x00FFFFFFu;
  std::string text(6, '0');
  for (int i = 0; i < 6; ++i) text[static_cast<std::size_t>(i)] = digits[(rrggbb >> (20 - 4 * i)) & 0xFu];
  return text;
}

std::optional<TColor> ParseColorClipboardText(std::string_view text) {
  if (text.size() != 6) return std::nullopt;
  TColor rrggbb = 0;
  for (char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    rrggbb = (rrggbb << 4) | static_cast<TColor>(digit);
  }
  return SwapRedBlue(rrggbb);
}
