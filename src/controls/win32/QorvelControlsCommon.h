#pragma once
// What the controls take from the system: the user's number format, the system's fonts
// and text measuring.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

#include "controls/TrackBarLayout.h"

TQorvelNumberFormat UserNumberFormat();
// The most a number field or a track bar reads from the clipboard: their texts are a few
// characters long, and a longer text is refused rather than read.
inline constexpr std::size_t PastedNumberTextLimit = 256;
// The system's message font; lives until the program ends.
HFONT DefaultControlFont();
// One of the system's fonts (caption, message, ...) sized for `dpi`; 8-point "MS Shell Dlg 2"
// when the system does not say.
LOGFONTW SystemFontAt(LOGFONTW NONCLIENTMETRICSW::*font, UINT dpi);
SIZE TextExtent(HDC dc, const std::wstring& text);
SIZE TextExtent(HFONT font, const std::wstring& text);
