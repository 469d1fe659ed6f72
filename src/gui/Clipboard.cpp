#include "gui/Clipboard.h"

#include <cstring>
#include <cwchar>

#include "gui/Handles.h"

namespace {

constexpr int kOpenAttempts = 5;
constexpr DWORD kRetryPauseMs = 20;

struct TFreeGlobal {
  void operator()(HGLOBAL memory) const { ::GlobalFree(memory); }
};
using TGlobalMemory = TUniqueHandle<HGLOBAL, TFreeGlobal>;

// Movable memory holding a copy of `size` bytes, as the clipboard takes it; empty when
// there is not enough.
TGlobalMemory GlobalCopy(const void* bytes, std::size_t size) {
  TGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, size));
  if (!memory) return memory;
  {
    const TGlobalLock lock(memory.Get());
    if (!lock.Data()) return TGlobalMemory();
    std::memcpy(lock.Data(), bytes, size);
  }
  return memory;
}

// Hands the memory to the open clipboard, which owns it from then on.
bool HandOver(UINT format, TGlobalMemory& memory) {
  if (!::SetClipboardData(format, memory.Get())) return false;
  memory.Release();
  return true;
}

}  // namespace

TClipboardScope::TClipboardScope(HWND owner) {
  for (int attempt = 0; attempt < kOpenAttempts && !FOpen; ++attempt) {
    if (attempt > 0) ::Sleep(kRetryPauseMs);
    FOpen = ::OpenClipboard(owner) != FALSE;
  }
}

TClipboardScope::~TClipboardScope() {
  if (FOpen) ::CloseClipboard();
}

bool PutClipboardData(UINT format, const void* bytes, std::size_t size) {
  TGlobalMemory memory = GlobalCopy(bytes, size);
  return memory && HandOver(format, memory);
}

bool PutClipboardText(HWND owner, std::wstring_view text) {
  const std::wstring terminated(text);
  TGlobalMemory memory = GlobalCopy(terminated.c_str(), (terminated.size() + 1) * sizeof(wchar_t));
  if (!memory) return false;
  TClipboardScope clipboard(owner);
  return clipboard.Open() && ::EmptyClipboard() && HandOver(CF_UNICODETEXT, memory);
}

std::optional<std::wstring> ClipboardText(HWND owner, std::size_t maxLength) {
  if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
  TClipboardScope clipboard(owner);
  if (!clipboard.Open()) return std::nullopt;
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const TGlobalLock lock(data);
  const auto* text = static_cast<const wchar_t*>(lock.Data());
  if (!text) return std::nullopt;
  // One character past the limit tells a text that is too long; nothing beyond is looked at.
  const std::size_t available = ::GlobalSize(data) / sizeof(wchar_t);
  const std::size_t length =
      ::wcsnlen(text, maxLength < available ? maxLength + 1 : available);
  if (length > maxLength) return std::nullopt;
  return std::wstring(text, length);
}

bool ClipboardDataRendered() {
  const HWND owner = ::GetClipboardOwner();
  if (!owner) return true;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(owner, &processId);
  return processId == ::GetCurrentProcessId();
}
