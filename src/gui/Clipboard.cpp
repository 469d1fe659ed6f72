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

// The clipboard for one scope, if it could be had.
class TClipboardScope {
 public:
  explicit TClipboardScope(HWND owner) {
    for (int attempt = 0; attempt < kOpenAttempts && !FOpen; ++attempt) {
      if (attempt > 0) ::Sleep(kRetryPauseMs);
      FOpen = ::OpenClipboard(owner) != FALSE;
    }
  }
  ~TClipboardScope() {
    if (FOpen) ::CloseClipboard();
  }
  TClipboardScope(const TClipboardScope&) = delete;
  TClipboardScope& operator=(const TClipboardScope&) = delete;
  bool Open() const { return FOpen; }

 private:
  bool FOpen = false;
};

TGlobalMemory UnicodeTextMemory(std::wstring_view text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  TGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return memory;
  void* target = ::GlobalLock(memory.Get());
  if (!target) return TGlobalMemory();
  std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
  static_cast<wchar_t*>(target)[text.size()] = L'\0';
  ::GlobalUnlock(memory.Get());
  return memory;
}

}  // namespace

bool PutClipboardText(HWND owner, std::wstring_view text) {
  TGlobalMemory memory = UnicodeTextMemory(text);
  if (!memory) return false;
  TClipboardScope clipboard(owner);
  if (!clipboard.Open() || !::EmptyClipboard()) return false;
  if (!::SetClipboardData(CF_UNICODETEXT, memory.Get())) return false;
  memory.Release();  // the clipboard owns it now
  return true;
}

std::optional<std::wstring> ClipboardText(HWND owner) {
  if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
  TClipboardScope clipboard(owner);
  if (!clipboard.Open()) return std::nullopt;
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
  if (!text) return std::nullopt;
  std::wstring result(text, ::wcsnlen(text, ::GlobalSize(data) / sizeof(wchar_t)));
  ::GlobalUnlock(data);
  return result;
}
