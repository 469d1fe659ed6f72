// Writes the text and screen rectangle of a top-level window and of each of its controls,
// one per line in UTF-8 ("text<TAB>left top right bottom"), to a file, so that end-to-end
// scenarios can read what a dialog says and where:
//   WindowTexts.exe <window title> <output file>
// Ends with 1 when there is no such window.
#include <windows.h>

#include <string>

#include "gui/Application.h"
#include "support/HelperOutput.h"
#include "support/ShownText.h"
#include "support/WindowQueries.h"

namespace {

std::string Line(HWND window) {
  return Narrow(ShownText(WindowText(window))) + "\t" + Narrow(RectText(WindowRect(window))) + "\n";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> args = CommandArguments();
  if (args.size() < 2) return 2;
  const HWND window = ::FindWindowW(nullptr, args[0].c_str());
  if (!window) return 1;
  std::string lines = Line(window);
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) lines += Line(child);
  return WriteBytes(args[1], lines) ? 0 : 3;
}
