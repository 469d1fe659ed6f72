#pragma once
// The system's screen saver: making an installed one the user's, and opening its settings.

#include <string>

// Makes the screen saver at `path` the current user's and switches screen savers on.
void MakeDefaultScreenSaver(const std::wstring& path);
// The screen saver's own settings dialog ("config"), started in `folder`.
void ConfigureScreenSaver(const std::wstring& path, const std::wstring& folder);
// The screen saver page of the display settings.
void OpenScreenSaverSettings();
