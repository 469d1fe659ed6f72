#pragma once
// Whether the window a single-instance block names is a running copy of the program.
// The block is a named object that any program of the session can create or write first,
// so what it holds is a claim to check, not a fact: before a later start hands over to that
// window, or setup asks it to close, the window must be of the tray frame's window class and
// belong to a process whose image has the program's file name.

#include <windows.h>

#include <string>
#include <string_view>

// The class of the tray frame's hidden window, which the block names.
inline constexpr wchar_t TrayWindowClassName[] = L"TQorvelTrayWindow";

// True when `window` exists, is of TrayWindowClassName and belongs to a process whose image
// file is named `imageFileName` (e.g. "Vindle.exe"; compared without regard to case).
bool IsRunningInstanceWindow(HWND window, std::wstring_view imageFileName);

// The file name of this process's image ("Vindle.exe"), empty when the system cannot say.
std::wstring OwnImageFileName();
