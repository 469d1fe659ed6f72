#pragma once
// What the helper programs share: their command line and the files they leave for the tests
// and the end-to-end scenarios to read.
#include <windows.h>

#include <string>
#include <vector>

// The arguments after the program's own name, split as the shell splits them.
std::vector<std::wstring> CommandArguments();

// Writes `bytes` to `file`, replacing it; false when the file cannot be written.
bool WriteBytes(const std::wstring& file, const std::string& bytes);

// Appends `line` and a line break to the log `file`, in UTF-8; nothing when `file` is empty.
void AppendLine(const std::wstring& file, const std::wstring& line);

// A rectangle as "left top right bottom".
std::wstring RectText(const RECT& r);
