// Writes the state of a top-level window and of all its descendants, one per line in UTF-8,
// so that end-to-end scenarios can check what a dialog shows:
//   WindowStates.exe <window title> <output file>
//   WindowStates.exe class:<window class> <output file>
// Each line: class, text, flags, screen rectangle, separated by TABs. Flags are letters:
// V visible, E enabled, C checked (buttons), T topmost (the top-level window only).
// Ends with 1 when there is no such window.
#include <windows.h>

#include <string>

#include "gui/Application.h"
#include "support/HelperOutput.h"
#include "support/ShownText.h"
#include "support/WindowQueries.h"

namespace {

std::string Line(HWND window) {
  wchar_t className[64] = {};
  ::GetClassNameW(window, className, 64);
  std::string flags;
  if (::IsWindowVisible(window)) flags += 'V';
  if (::IsWindowEnabled(window)) flags += 'E';
  if (::lstrcmpiW(className, L"Button") == 0 && ::SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED) flags += 'C';
  if (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) flags += 'T';
  return Narrow(className) + "\t" + Narrow(ShownText(WindowText(window))) + "\t" + flags + "\t" +
         Narrow(RectText(WindowRect(window))) + "\n";
}

BOOL CALLBACK AddChild(HWND child, LPARAM lines) {
  *reinterpret_cast<std::string*>(lines) += Line(child);
  return TRUE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> args = CommandArguments();
  if (args.size() < 2) return 2;
  const std::wstring& target = args[0];
  const bool byClass = target.rfind(L"class:", 0) == 0;
  const HWND window =
      byClass ? ::FindWindowW(target.substr(6).c_str(), nullptr) : ::FindWindowW(nullptr, target.c_str());
  if (!window) return 1;
  std::string lines = Line(window);
  ::EnumChildWindows(window, &AddChild, reinterpret_cast<LPARAM>(&lines));
  return WriteBytes(args[1], lines) ? 0 : 3;
}
