#include "support/HelperOutput.h"

#include <shellapi.h>

#include <cstdio>

#include "gui/Application.h"

std::vector<std::wstring> CommandArguments() {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!arguments) return {};
  std::vector<std::wstring> result(arguments + (count > 0 ? 1 : 0), arguments + count);
  ::LocalFree(arguments);
  return result;
}

bool WriteBytes(const std::wstring& file, const std::string& bytes) {
  FILE* stream = ::_wfopen(file.c_str(), L"wb");
  if (!stream) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
  return std::fclose(stream) == 0 && written;
}

void AppendLine(const std::wstring& file, const std::wstring& line) {
  if (file.empty()) return;
  if (FILE* stream = ::_wfopen(file.c_str(), L"ab")) {
    const std::string utf8 = Narrow(line) + "\n";
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fclose(stream);
  }
}

std::wstring RectText(const RECT& r) {
  return std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " + std::to_wstring(r.right) + L" " +
         std::to_wstring(r.bottom);
}
