#include "controls/win32/QorvelControlsCommon.h"

#include "gui/Application.h"
#include "gui/Dpi.h"
#include "gui/Handles.h"

TQorvelNumberFormat UserNumberFormat() {
  TQorvelNumberFormat format;
  wchar_t buffer[8]{};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1 && buffer[0] < 0x80)
    format.DecimalSeparator = static_cast<char>(buffer[0]);
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, 8) > 0) format.ThousandSeparator = Narrow(buffer);
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

LOGFONTW SystemFontAt(LOGFONTW NONCLIENTMETRICSW::*font, UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW result{};
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    result = metrics.*font;
    result.lfHeight = ::MulDiv(result.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  } else {
    result.lfHeight = -::MulDiv(8, static_cast<int>(dpi), 72);
    lstrcpynW(result.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
  }
  return result;
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
