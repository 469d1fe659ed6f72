// Fuzz target for the text another program leaves on the clipboard, read as a colour. Beyond
// "no crash": a text taken as a colour is exactly six hexadecimal digits, the colour is an
// ordinary one (no system colour), and copying it gives the same digits in upper case.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "color/ColorClipboardText.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto color = ParseColorClipboardText(text);
  if (!color) return 0;
  Check(*color <= 0xFFFFFFu);
  Check(text.size() == 6);
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  Check(ColorClipboardText(*color) == upper);
  Check(ParseColorClipboardText(ColorClipboardText(*color)) == color);
  return 0;
}
