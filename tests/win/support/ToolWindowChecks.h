#pragma once
// What the program's two tool windows, the colour picker and the coordinates window, have in
// common as the user meets them.
#include <windows.h>

#include <string>

#include "ruler/win32/QorvelFormMagnets.h"
#include "settings/QorvelSettings.h"

// A topmost tool window of fixed size, without owner or task-bar button, with `caption` and
// an 88 × 24 client area, created hidden.
void ExpectHiddenToolWindow(TQorvelMagnetForm& form, const std::wstring& caption);

// The user moves the shown form and closes it with the caption's button: its place goes to
// `stored`, and the next show keeps it rather than going back to the first place.
void ExpectTheUsersPlaceKept(TQorvelMagnetForm& form, const TQorvelWindowSettings& stored);

// `window` lies wholly on the work area.
void ExpectOnTheWorkArea(HWND window);
