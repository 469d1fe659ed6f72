#pragma once
// The 148 colour keywords CSS knows ("rebeccapurple", "grey" and "gray" alike).

#include <optional>
#include <string_view>

#include "base/QorvelTypes.h"

// The colour `name` (lower case) stands for, or nothing. "transparent" and "currentcolor" name
// no colour of their own and read as nothing.
std::optional<TColor> CssNamedColor(std::string_view name);
