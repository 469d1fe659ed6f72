#include "color/win32/QorvelColorClipboard.h"

#include <cstring>
#include <optional>
#include <string>

#include "color/ColorClipboardText.h"
#include "color/win32/QorvelBoxControls.h"
#include "gui/Clipboard.h"

namespace {

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
  return FSystemColorFormat && FRgbaColorFormat && PutClipboardData(FSystemColorFormat, &color, sizeof color) &&
         PutClipboardData(FRgbaColorFormat, &rgba, sizeof rgba) &&
         PutClipboardData(CF_TEXT, text.c_str(), text.size() + 1);
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
  if (!::IsClipboardFormatAvailable(CF_TEXT)) return false;
  TColor ignored = 0;
  return !ClipboardDataRendered() || PasteColor(ignored);
}

bool TQorvelColorClipboard::RenderedColor(TColor& color) { return ClipboardDataRendered() && PasteColor(color); }

TQorvelColorClipboard& ColorClipboard() {
  static TQorvelColorClipboard clipboard;
  return clipboard;
}
