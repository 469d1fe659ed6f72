#pragma once
// The autostart entry: a string value under the current user's Run key whose data is the
// program file's path, so that Windows starts the program at logon.

#include <string>

// The value name of Vindle's entry; the uninstaller removes the same value.
inline constexpr wchar_t AutostartValueName[] = L"QorvelVindle";

// Whether a value of that name exists (false when the key cannot be opened).
bool QueryAutostart(const std::wstring& name);

// Writes the path in double quotes (unquoted, "C:\Program Files\..." would let Windows try
// "C:\Program.exe" first) or deletes the value; creates the key when it is missing. Answers
// whether the registry now says what was asked.
bool UpdateAutostart(const std::wstring& name, const std::wstring& programPath, bool enable);

// Rewrites an existing entry that is not exactly the quoted path (older versions wrote it
// unquoted). Nothing happens when there is no entry.
void RefreshAutostart(const std::wstring& name, const std::wstring& programPath);
