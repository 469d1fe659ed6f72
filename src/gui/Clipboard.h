#pragma once
// The clipboard: text in one piece, and the pieces for programs that put other formats there.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Replaces the clipboard's content with `text` as Unicode text (the system offers it as
// ANSI and OEM text too), opened for `owner`. The memory is filled before the clipboard is
// emptied, so a busy clipboard or a lack of memory leaves it as it was. Answers whether the
// text is there.
bool PutClipboardText(HWND owner, std::wstring_view text);

// The clipboard's Unicode text, if it holds text, can be opened and is at most `maxLength`
// characters long: a field that holds a few characters has no use for more, and copying a
// text of hundreds of megabytes to find that out would only exhaust memory.
std::optional<std::wstring> ClipboardText(HWND owner, std::size_t maxLength = std::wstring::npos);

// Whether reading the clipboard's data asks nobody: true when it has no owner or the owner
// is a window of this process. Another program may offer a format and render it only when
// asked (delayed rendering); the read then waits for that program for as long as it takes.
// So menus ask only which formats are there, and read another program's data on a command.
bool ClipboardDataRendered();

// The clipboard opened for `owner` for one scope, if it could be had. Other programs open
// the clipboard for moments (viewers read every change), so a busy clipboard is tried again
// a few times before Open() answers false. The owner should be a window of ours: emptying a
// clipboard opened without one leaves it ownerless, and the system may then refuse the data
// put there.
class TClipboardScope {
 public:
  explicit TClipboardScope(HWND owner);
  ~TClipboardScope();
  TClipboardScope(const TClipboardScope&) = delete;
  TClipboardScope& operator=(const TClipboardScope&) = delete;
  bool Open() const { return FOpen; }

 private:
  bool FOpen = false;
};

// Hands a copy of `size` bytes to the open clipboard as `format`; answers whether it took them.
bool PutClipboardData(UINT format, const void* bytes, std::size_t size);

// The memory of clipboard data (or any movable global memory) locked for one scope; Data()
// is null when it cannot be locked.
class TGlobalLock {
 public:
  explicit TGlobalLock(HGLOBAL memory) : FMemory(memory), FData(memory ? ::GlobalLock(memory) : nullptr) {}
  ~TGlobalLock() {
    if (FData) ::GlobalUnlock(FMemory);
  }
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;
  void* Data() const { return FData; }

 private:
  HGLOBAL FMemory;
  void* FData;
};
