// A later start of a single-instance program, reduced to the hand-over: open the block named
// on the command line, read the first instance's window under the guard and post it the
// show message. The exit code tells the test what happened.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "gui/QorvelMemoryMappedFiles.h"

namespace {

enum TProbeResult : int {
  prPosted = 0,
  prNoName = 1,
  prFailed = 2,    // the block or its guard could not be opened
  prNoWindow = 3,  // the block holds no window handle
  prPostFailed = 4,
  prWasFirst = 10,  // no other instance held the block
};

constexpr UINT ShowInstanceMessage = WM_USER + 170;

std::wstring Trimmed(const wchar_t* text) {
  std::wstring s = text ? text : L"";
  while (!s.empty() && (s.back() == L' ' || s.back() == L'"')) s.pop_back();
  while (!s.empty() && (s.front() == L' ' || s.front() == L'"')) s.erase(0, 1);
  return s;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  const std::wstring name = Trimmed(commandLine);
  if (name.empty()) return prNoName;
  try {
    TQorvelMutexSharedMemory shared(name, 4, true);
    if (shared.Created()) return prWasFirst;
    std::uint32_t stored = 0;
    {
      TQorvelMutexLock lock(shared.Guard());
      std::memcpy(&stored, shared.Memory(), sizeof(stored));
    }
    if (stored == 0) return prNoWindow;
    const HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(stored));
    return ::PostMessageW(window, ShowInstanceMessage, 0, 0) ? prPosted : prPostFailed;
  } catch (const EQorvelError&) {
    return prFailed;
  }
}
