#include "controls/win32/QorvelControlsCommon.h"

#include <cstring>

#include "gui/Application.h"
#include "gui/Handles.h"

TQorvelNumberFormat UserNumberFormat() {
  TQorvelNumberFormat format;
  wchar_t buffer[8]{};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1 && buffer[0] < 0x80)
    format.DecimalSeparator = static_cast<char>(buffer[0]);
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, 8) > 0)
    format.ThousandSeparator = Narrow(buffer);
  return format;
}

HFONT DefaultControlFont() {
  static const TFontHandle font = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
      return TFontHandle(::CreateFontIndirectW(&metrics.lfMessageFont));
    return TFontHandle();
  }();
  return font ? font.Get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

SIZE TextExtent(HDC dc, const std::wstring& text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

SIZE TextExtent(HFONT font, const std::wstring& text) {
  const TWindowDC screen(nullptr);
  const TSelectScope select(screen.Get(), font);
  return TextExtent(screen.Get(), text);
}

namespace {
class TClipboardSession {
 public:
  explicit TClipboardSession(HWND owner) : FOpen(::OpenClipboard(owner) != FALSE) {}
  ~TClipboardSession() {
    if (FOpen) ::CloseClipboard();
  }
  TClipboardSession(const TClipboardSession&) = delete;
  TClipboardSession& operator=(const TClipboardSession&) = delete;
  bool Open() const { return FOpen; }

 private:
  bool FOpen;
};
}  // namespace

bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
  TClipboardSession clipboard(owner);
  if (!clipboard.Open() || !::EmptyClipboard()) return false;
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  if (void* target = ::GlobalLock(memory)) {
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(memory);
    if (::SetClipboardData(CF_UNICODETEXT, memory)) return true;
  }
  ::GlobalFree(memory);
  return false;
}

std::optional<std::wstring> ClipboardText(HWND owner) {
  if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
  TClipboardSession clipboard(owner);
  if (!clipboard.Open()) return std::nullopt;
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
  if (!text) return std::nullopt;
  std::wstring result(text, ::wcsnlen(text, ::GlobalSize(data) / sizeof(wchar_t)));
  ::GlobalUnlock(data);
  return result;
}
