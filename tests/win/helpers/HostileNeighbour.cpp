// A program of the same session that does to Vindle's shared objects what a stuck, buggy or
// hostile one might. The modes that keep something keep it until the process is ended, and
// create the file named last on the command line once they hold it:
//   hold <mutex> <ready>                  owns the mutex
//   squat <block> zero|window|small <ready>  makes the block first (4 bytes holding 0 or its own
//                                         window, or 1 byte)
//   stall <ready>                         offers text and "RGBA Color" by delayed rendering, never renders
//   bigtext <megabytes>                   puts that much text on the clipboard
//   colors                                writes non-colours and foreign windows into the colour block
//   ping                                  exit 0 when Vindle answers a sent message within a second
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "color/ColorServiceBlock.h"
#include "gui/Handles.h"
#include "gui/RunningInstances.h"

namespace {

int HoldUntilEnded(const std::wstring& ready) {
  if (FILE* f = _wfopen(ready.c_str(), L"w")) std::fclose(f);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  return 0;
}

LRESULT CALLBACK NeverRenders(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_RENDERFORMAT || message == WM_RENDERALLFORMATS) ::Sleep(INFINITE);  // hangs when asked
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND OwnWindow(WNDPROC procedure) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.lpszClassName = L"THostileNeighbour";
  ::RegisterClassW(&windowClass);
  return ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                           nullptr);
}

std::uint32_t Stored(HWND window) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)); }

int Squat(const std::wstring& name, const std::wstring& content, const std::wstring& ready) {
  const DWORD size = content == L"small" ? 1 : 4;
  const HANDLE block = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name.c_str());
  auto* memory = static_cast<std::uint32_t*>(::MapViewOfFile(block, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  if (!memory) return 1;
  if (content == L"window") *memory = Stored(OwnWindow(&::DefWindowProcW));
  return HoldUntilEnded(ready);
}

int Stall(const std::wstring& ready) {
  if (!::OpenClipboard(OwnWindow(&NeverRenders))) return 1;
  ::EmptyClipboard();
  ::SetClipboardData(CF_UNICODETEXT, nullptr);
  ::SetClipboardData(::RegisterClipboardFormatW(L"RGBA Color"), nullptr);
  ::CloseClipboard();
  return HoldUntilEnded(ready);
}

int BigText(std::size_t megabytes) {
  const std::size_t characters = megabytes * 1024 * 1024 / sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (characters + 1) * sizeof(wchar_t));
  auto* text = static_cast<wchar_t*>(::GlobalLock(memory));
  if (!text) return 1;
  for (std::size_t i = 0; i < characters; ++i) text[i] = static_cast<wchar_t>(L'0' + i % 10);
  text[characters] = L'\0';
  ::GlobalUnlock(memory);
  const bool placed = ::OpenClipboard(nullptr) && ::EmptyClipboard() && ::SetClipboardData(CF_UNICODETEXT, memory);
  ::CloseClipboard();
  return placed ? 0 : 1;
}

int WriteNonColours() {
  const TKernelHandle block(::OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, L"VindleColorDefinitionService"));
  const TMappedView view(::MapViewOfFile(block.Get(), FILE_MAP_ALL_ACCESS, 0, 0, QorvelColorBlock::Size));
  if (!view) return 1;
  TQorvelColorBlockView colours(view.Get());  // without the lock, as such a program would
  for (int index = 0; index < QorvelColorBlock::ColorCount; ++index) colours.SetRecord(index, {0xDEADBEEF, 0xDEADBEEF});
  for (int slot = 0; slot < QorvelColorBlock::WindowCount; ++slot)
    if (colours.Window(slot) == 0) colours.SetWindow(slot, Stored(::GetDesktopWindow()));
  return 0;
}

int Ping() {
  const HWND vindle = ::FindWindowW(TrayWindowClassName, nullptr);
  DWORD_PTR answer = 0;
  return vindle && ::SendMessageTimeoutW(vindle, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer) ? 0 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  const std::vector<std::wstring> a(argv + 1, argv + count);
  ::LocalFree(argv);
  const std::wstring mode = a.empty() ? L"" : a[0];
  if (mode == L"hold" && a.size() == 3) {
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, a[1].c_str());
    return ::WaitForSingleObject(mutex, 10000) == WAIT_OBJECT_0 ? HoldUntilEnded(a[2]) : 1;
  }
  if (mode == L"squat" && a.size() == 4) return Squat(a[1], a[2], a[3]);
  if (mode == L"stall" && a.size() == 2) return Stall(a[1]);
  if (mode == L"bigtext" && a.size() == 2) return BigText(std::stoul(a[1]));
  if (mode == L"colors" && a.size() == 1) return WriteNonColours();
  if (mode == L"ping" && a.size() == 1) return Ping();
  return 2;
}
