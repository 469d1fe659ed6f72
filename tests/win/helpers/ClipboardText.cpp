// Writes the clipboard's Unicode text in UTF-8 to a file, so that end-to-end scenarios can
// read what a program copied:
//   ClipboardText.exe <output file>
// Ends with 1 when the clipboard holds no text, 4 when it stays busy.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "gui/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!args || count < 2) return 2;
  bool open = false;
  for (int attempt = 0; attempt < 50 && !open; ++attempt) {
    if (attempt > 0) ::Sleep(20);
    open = ::OpenClipboard(nullptr) != FALSE;
  }
  if (!open) return 4;
  std::string text;
  bool found = false;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
      text = Narrow(chars);
      found = true;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  if (!found) return 1;
  FILE* file = _wfopen(args[1], L"wb");
  if (!file) return 3;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  ::LocalFree(args);
  return 0;
}
