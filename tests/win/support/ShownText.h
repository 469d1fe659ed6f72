#pragma once
// A control's caption as the user reads it, without the access key's "&".
#include <string>

#include "gui/AccessKeys.h"

inline std::wstring ShownText(const std::wstring& caption) { return SplitAccessKey(caption).Shown; }
