#pragma once
// What a test reads off a window as the user would see it.
#include <windows.h>

#include <string>

// The window's caption or a control's text, whole.
std::wstring WindowText(HWND window);

// The window's place on the screen.
RECT WindowRect(HWND window);

// The window's place in the client coordinates of `reference`, such as a control in its form.
RECT RectIn(HWND window, HWND reference);

// The primary monitor's work area: the screen without the task bar.
RECT WorkArea();
