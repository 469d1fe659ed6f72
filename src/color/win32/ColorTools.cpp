#include "color/win32/ColorTools.h"

#include <memory>
#include <stdexcept>
#include <vector>

#include "color/ColorPreferences.h"
#include "gui/Application.h"
#include "gui/Clipboard.h"
#include "gui/Handles.h"
#include "gui/Pixels.h"

namespace {

TApplicationSettings*& InstalledSettings() {
  static TApplicationSettings* settings = nullptr;
  return settings;
}

}  // namespace

TApplicationSettings& ColorToolSettings() {
  if (TApplicationSettings* settings = InstalledSettings()) return *settings;
  static const std::unique_ptr<TApplicationSettings> defaults = TQorvelSettings::Create<TApplicationSettings>();
  return *defaults;
}

void SetColorToolSettings(TApplicationSettings* settings) { InstalledSettings() = settings; }

COLORREF SampleScreenColor(POINT point, int sampleSize) {
  TWindowDC screen(nullptr);
  if (!screen) return CLR_INVALID;
  const int size = ValidSampleSize(sampleSize);
  if (size == 1) return ::GetPixel(screen.Get(), point.x, point.y);

  // One copy of the square into a 32-bit DIB rather than 25 GetPixel calls.
  TDibSurface square;
  const int half = size / 2;
  try {
    square.Resize(size, size);
  } catch (const std::runtime_error&) {
    return ::GetPixel(screen.Get(), point.x, point.y);
  }
  if (!::BitBlt(square.DC(), 0, 0, size, size, screen.Get(), point.x - half, point.y - half, SRCCOPY))
    return ::GetPixel(screen.Get(), point.x, point.y);
  ::GdiFlush();
  // Only the part of the square that lies on the screen counts.
  const RECT desktop{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                     ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                     ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const TPixelView& pixels = square.View();
  std::vector<std::uint32_t> inside;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const POINT at{point.x - half + x, point.y - half + y};
      if (::PtInRect(&desktop, at)) inside.push_back(pixels.At(x, y) & 0x00FFFFFFu);
    }
  if (inside.empty()) return CLR_INVALID;
  const std::uint32_t median = MedianPixel(inside);  // 0x00RRGGBB
  return RGB((median >> 16) & 0xFF, (median >> 8) & 0xFF, median & 0xFF);
}

void RememberColorPick(TColor color) { RememberPick(*ColorToolSettings().Colors, color & 0x00FFFFFFu); }

std::wstring ColorToolText(TColor color, TColorFormat format) {
  return Widen(ColorText(*ColorToolSettings().Colors, color & 0x00FFFFFFu, format));
}

bool CopyColorText(HWND owner, TColor color, TColorFormat format) {
  return PutClipboardText(owner, ColorToolText(color, format));
}
