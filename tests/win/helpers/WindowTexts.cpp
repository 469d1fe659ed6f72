// Writes the text and screen rectangle of a top-level window and of each of its controls,
// one per line in UTF-8 ("text<TAB>left top right bottom"), to a file, so that end-to-end
// scenarios can read what a dialog says and where:
//   WindowTexts.exe <window title> <output file>
// Ends with 1 when there is no such window.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "gui/Application.h"
#include "support/ShownText.h"
#include "support/WindowQueries.h"

namespace {

std::string Line(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  char place[64];
  std::snprintf(place, sizeof place, "\t%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  return Narrow(ShownText(WindowText(window))) + place;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!args || count < 3) return 2;
  const HWND window = ::FindWindowW(nullptr, args[1]);
  if (!window) return 1;
  std::string lines = Line(window);
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    lines += Line(child);
  FILE* file = _wfopen(args[2], L"wb");
  if (!file) return 3;
  std::fwrite(lines.data(), 1, lines.size(), file);
  std::fclose(file);
  ::LocalFree(args);
  return 0;
}
