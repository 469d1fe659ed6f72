#include "color/win32/QorvelColorClipboard.h"

#include <cstring>
#include <optional>
#include <string>

#include "color/ColorClipboardText.h"
#include "color/win32/QorvelBoxControls.h"
#include "gui/Handles.h"

namespace {

// The clipboard for one scope; open fails when another program holds it.
class TClipboardScope {
 public:
  explicit TClipboardScope(HWND owner) : FOpen(::OpenClipboard(owner) != FALSE) {}
  ~TClipboardScope() {
    if (FOpen) ::CloseClipboard();
  }
  TClipboardScope(const TClipboardScope&) = delete;
  TClipboardScope& operator=(const TClipboardScope&) = delete;
  bool Open() const { return FOpen; }

 private:
  bool FOpen;
};

struct TFreeGlobal {
  void operator()(HGLOBAL memory) const { ::GlobalFree(memory); }
};
using TGlobalMemory = TUniqueHandle<HGLOBAL, TFreeGlobal>;

// GlobalLock/GlobalUnlock as one scope.
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

// Hands `size` bytes to the open clipboard as `format`; the clipboard owns them on success.
bool PutData(UINT format, const void* bytes, std::size_t size) {
  TGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size));
  if (!memory) return false;
  {
    TGlobalLock lock(memory.Get());
    if (!lock.Data()) return false;
    std::memcpy(lock.Data(), bytes, size);
  }
  if (!::SetClipboardData(format, memory.Get())) return false;
  memory.Release();
  return true;
}

// A 32-bit value of the open clipboard, or nothing when it is not offered or unreadable.
std::optional<TColor> GetValue(UINT format) {
  if (!format || !::IsClipboardFormatAvailable(format)) return std::nullopt;
  HGLOBAL memory = ::GetClipboardData(format);
  if (!memory || ::GlobalSize(memory) < sizeof(TColor)) return std::nullopt;
  TGlobalLock lock(memory);
  if (!lock.Data()) return std::nullopt;
  TColor value = 0;
  std::memcpy(&value, lock.Data(), sizeof value);
  return value;
}

// The text of the open clipboard up to its terminating zero, when it is short enough to
// be a colour at all (a long text is never one, and need not be copied).
std::optional<std::string> GetShortText() {
  if (!::IsClipboardFormatAvailable(CF_TEXT)) return std::nullopt;
  HGLOBAL memory = ::GetClipboardData(CF_TEXT);
  if (!memory) return std::nullopt;
  TGlobalLock lock(memory);
  if (!lock.Data()) return std::nullopt;
  const std::size_t size = ::GlobalSize(memory);
  const char* text = static_cast<const char*>(lock.Data());
  std::size_t length = 0;
  while (length < size && length < 8 && text[length] != '\0') ++length;
  return std::string(text, length);
}

}  // namespace

TQorvelColorClipboard::TQorvelColorClipboard()
    : FSystemColorFormat(::RegisterClipboardFormatW(L"System Color")),
      FRgbaColorFormat(::RegisterClipboardFormatW(L"RGBA Color")),
      FOwner(L"TQorvelColorClipboardOwner", nullptr) {}

bool TQorvelColorClipboard::CopyColor(TColor color) {
  TClipboardScope clipboard(FOwner.Handle());
  if (!clipboard.Open() || !::EmptyClipboard()) return false;
  const TColor rgba = RgbaClipboardValue(ColorToRGB(color));
  const std::string text = ColorClipboardText(ColorToRGB(color));
  return FSystemColorFormat && FRgbaColorFormat && PutData(FSystemColorFormat, &color, sizeof color) &&
         PutData(FRgbaColorFormat, &rgba, sizeof rgba) && PutData(CF_TEXT, text.c_str(), text.size() + 1);
}

bool TQorvelColorClipboard::PasteColor(TColor& color) {
  TClipboardScope clipboard(FOwner.Handle());
  if (!clipboard.Open()) return false;
  if (const auto value = GetValue(FSystemColorFormat)) {
    color = *value;
    return true;
  }
  if (const auto value = GetValue(FRgbaColorFormat)) {
    color = ColorFromRgbaClipboardValue(*value);
    return true;
  }
  if (const auto text = GetShortText()) {
    if (const auto parsed = ParseColorClipboardText(*text)) {
      color = *parsed;
      return true;
    }
  }
  return false;
}

bool TQorvelColorClipboard::CanPasteColor() {
  if ((FSystemColorFormat && ::IsClipboardFormatAvailable(FSystemColorFormat)) ||
      (FRgbaColorFormat && ::IsClipboardFormatAvailable(FRgbaColorFormat)))
    return true;
  TColor ignored = 0;
  return ::IsClipboardFormatAvailable(CF_TEXT) && PasteColor(ignored);
}

TQorvelColorClipboard& ColorClipboard() {
  static TQorvelColorClipboard clipboard;
  return clipboard;
}
