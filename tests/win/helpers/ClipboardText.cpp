// Writes the clipboard's Unicode text in UTF-8 to a file, so that end-to-end scenarios can
// read what a program copied:
//   ClipboardText.exe <output file>
// Ends with 1 when the clipboard holds no text, 4 when it stays busy.
#include <windows.h>

#include <string>

#include "gui/Application.h"
#include "support/HelperOutput.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> args = CommandArguments();
  if (args.empty()) return 2;
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
  return WriteBytes(args[0], text) ? 0 : 3;
}
