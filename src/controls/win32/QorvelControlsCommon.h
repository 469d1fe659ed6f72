#pragma once
// What the value controls take from the system: the user's number format, the default
// control font, text measuring and the clipboard as text.

#include <windows.h>

#include <optional>
#include <string>

#include "controls/TrackBarLayout.h"

TQorvelNumberFormat UserNumberFormat();
// The system's message font; lives until the program ends.
HFONT DefaultControlFont();
SIZE TextExtent(HDC dc, const std::wstring& text);
SIZE TextExtent(HFONT font, const std::wstring& text);

