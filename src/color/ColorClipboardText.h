#pragma once
// The colour formats of the clipboard as values: what is put there for a colour and how
// the text another program left there reads as a colour.

#include <optional>
#include <string>
#include <string_view>

#include "base/QorvelTypes.h"

// Six upper-case hexadecimal digits RRGGBB of an ordinary (resolved) colour.
std::string ColorClipboardText(TColor rgb);

// The colour of a text of exactly six hexadecimal digits RRGGBB in either case; anything
// else (a number sign, spaces, fewer or more digits, other letters) is not a colour.
std::optional<TColor> ParseColorClipboardText(std::string_view text);

// "RGBA Color" holds the bytes R, G, B and an opaque alpha; a paste drops the alpha,
// whatever it holds, so the colour can never be taken for a system colour.
constexpr TColor RgbaClipboardValue(TColor rgb) { return (rgb & 0x00FFFFFFu) | 0xFF000000u; }
constexpr TColor ColorFromRgbaClipboardValue(TColor rgba) { return rgba & 0x00FFFFFFu; }
