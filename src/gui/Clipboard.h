#pragma once
// Text to the clipboard in one piece.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Replaces the clipboard's content with `text` as Unicode text (the system offers it as
// ANSI and OEM text too), opened for `owner`. Other programs open the clipboard for
// moments (viewers read every change), so a busy clipboard is tried again a few times
// before the copy fails. The memory is filled before the clipboard is emptied, so a busy
// clipboard or a lack of memory leaves it as it was. Answers whether the text is there.
bool PutClipboardText(HWND owner, std::wstring_view text);

// The clipboard's Unicode text, if it holds text and can be opened (busy: tried as above).
std::optional<std::wstring> ClipboardText(HWND owner);
