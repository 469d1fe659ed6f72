// Visual-style drawing for controls that paint themselves. uxtheme.dll is no known system
// DLL: imported at start, Windows would look for it beside the program first (a download
// folder holding the setup file), so it is loaded from the system folder on first use.
// Without it everything answers "no styles" and callers draw the classic look.
#pragma once

#include <windows.h>
#include <uxtheme.h>

namespace VisualStyles {

bool Active();
// Null when styles are off or the class has no style data.
HTHEME Open(HWND window, const wchar_t* classList);
void Close(HTHEME theme);
void DrawBackground(HTHEME theme, HDC dc, int part, int state, const RECT& rect);
// Lets the parent paint what shows through a transparent control; nothing without styles.
void DrawParentBackground(HWND window, HDC dc, const RECT& rect);

}  // namespace VisualStyles
