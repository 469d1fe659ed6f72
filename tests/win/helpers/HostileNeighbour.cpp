// A program of the same session that does to Vindle's shared objects what a stuck, buggy or
// hostile one might, for the end-to-end scenarios. Modes that keep something keep it until
// the process is ended, and create the file named last on the command line once they do.
//   HostileNeighbour.exe hold <mutex> <ready file>            owns the named mutex
//   HostileNeighbour.exe squat <block> zero|window <ready file>
//                                     makes the 4-byte block first, holding 0 or its own window
//   HostileNeighbour.exe stall <ready file>   offers text by delayed rendering, never renders it
//   HostileNeighbour.exe bigtext <megabytes>  puts that much text on the clipboard, then ends
//   HostileNeighbour.exe colors      writes non-colours and foreign windows into the colour block
//   HostileNeighbour.exe ping        exit 0 when the running Vindle answers a sent message
//                                    within a second
// Exit code 2 for bad arguments, 1 when the mode failed.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "color/ColorServiceBlock.h"
#include "gui/Handles.h"
#include "gui/RunningInstances.h"

namespace {

void SayReady(const std::wstring& file) {
  if (FILE* f = _wfopen(file.c_str(), L"w")) std::fclose(f);
}

[[noreturn]] void KeepUntilEnded() {
  for (;;) ::Sleep(INFINITE);
}

int Hold(const std::wstring& name, const std::wstring& ready) {
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
  if (!mutex || ::WaitForSingleObject(mutex, 5000) != WAIT_OBJECT_0) return 1;
  SayReady(ready);
  KeepUntilEnded();
}

int Squat(const std::wstring& name, const std::wstring& content, const std::wstring& ready) {
  const HANDLE mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name.c_str());
  if (!mapping || ::GetLastError() == ERROR_ALREADY_EXISTS) return 1;
  void* memory = ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 4);
  if (!memory) return 1;
  HWND own = ::CreateWindowExW(0, L"STATIC", L"squatter", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  const auto stored = content == L"window" ? static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(own)) : 0u;
  std::memcpy(memory, &stored, sizeof stored);
  SayReady(ready);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  return 0;
}

LRESULT CALLBACK StallingOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Asked for the data it offered: it never answers, as a hung program would not.
  if (message == WM_RENDERFORMAT || message == WM_RENDERALLFORMATS) KeepUntilEnded();
  return ::DefWindowProcW(window, message, wParam, lParam);
}

int Stall(const std::wstring& ready) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &StallingOwner;
  windowClass.lpszClassName = L"THostileClipboardOwner";
  ::RegisterClassW(&windowClass);
  HWND owner = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                 nullptr);
  if (!owner || !::OpenClipboard(owner)) return 1;
  ::EmptyClipboard();
  ::SetClipboardData(CF_UNICODETEXT, nullptr);  // rendered on request: never
  ::SetClipboardData(::RegisterClipboardFormatW(L"RGBA Color"), nullptr);
  ::CloseClipboard();
  SayReady(ready);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  return 0;
}

int BigText(int megabytes) {
  const std::size_t characters = static_cast<std::size_t>(megabytes) * 1024 * 1024 / sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (characters + 1) * sizeof(wchar_t));
  if (!memory) return 1;
  auto* text = static_cast<wchar_t*>(::GlobalLock(memory));
  for (std::size_t i = 0; i < characters; ++i) text[i] = L'0' + static_cast<wchar_t>(i % 10);
  text[characters] = L'\0';
  ::GlobalUnlock(memory);
  if (!::OpenClipboard(nullptr)) return 1;
  ::EmptyClipboard();
  const bool placed = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  ::CloseClipboard();
  return placed ? 0 : 1;
}

int WriteHostileColors() {
  const TKernelHandle mapping(::OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, L"VindleColorDefinitionService"));
  if (!mapping) return 1;
  const TMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, QorvelColorBlock::Size));
  if (!view) return 1;
  TQorvelColorBlockView block(view.Get());
  // No lock taken: a hostile program would not take it either.
  for (int index = 0; index < QorvelColorBlock::ColorCount; ++index) block.SetRecord(index, {0xDEADBEEF, 0xDEADBEEF});
  // The shell's tray and the desktop in every free slot: windows no colour change is for.
  const HWND foreign[] = {::FindWindowW(L"Shell_TrayWnd", nullptr), ::GetDesktopWindow()};
  int next = 0;
  for (int slot = 0; slot < QorvelColorBlock::WindowCount; ++slot)
    if (block.Window(slot) == 0)
      block.SetWindow(slot, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(foreign[next++ % 2])));
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
  const std::vector<std::wstring> args(argv + 1, argv + count);
  ::LocalFree(argv);
  const std::wstring mode = args.empty() ? L"" : args[0];
  if (mode == L"hold" && args.size() == 3) return Hold(args[1], args[2]);
  if (mode == L"squat" && args.size() == 4) return Squat(args[1], args[2], args[3]);
  if (mode == L"stall" && args.size() == 2) return Stall(args[1]);
  if (mode == L"bigtext" && args.size() == 2) return BigText(std::stoi(args[1]));
  if (mode == L"colors" && args.size() == 1) return WriteHostileColors();
  if (mode == L"ping" && args.size() == 1) return Ping();
  return 2;
}
