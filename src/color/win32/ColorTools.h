#pragma once
// What the colour tools share in the program: the settings they read (formats, recent
// colours, sample size, the pick hotkey) and the screen sampling of every pick.

#include <windows.h>

#include <string>

#include "color/ColorFormats.h"
#include "settings/ApplicationSettings.h"

// The application's settings once it installs them; until then (in tests, say) a tree of
// defaults made on first use.
TApplicationSettings& ColorToolSettings();
void SetColorToolSettings(TApplicationSettings* settings);

// The colour on the screen at `point`: one pixel, or with a sample size of 3 or 5 the
// per-channel median of the square around it (clipped to the screen), so that an
// anti-aliased edge does not decide the pick. CLR_INVALID when nothing can be read.
COLORREF SampleScreenColor(POINT point, int sampleSize);

// A colour the user picked (eyedropper, hotkey, dialog OK) goes first in the recent colours.
void RememberColorPick(TColor color);

// The colour's text in `format` as the settings write it, and the same on the clipboard
// as Unicode text; false when the clipboard could not be had.
std::wstring ColorToolText(TColor color, TColorFormat format);
bool CopyColorText(HWND owner, TColor color, TColorFormat format);
