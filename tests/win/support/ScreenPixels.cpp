#include "support/ScreenPixels.h"

#include "gui/Handles.h"
#include "gui/Pixels.h"

TPixelBuffer DrawnPixels(int width, int height, const std::function<void(HDC)>& draw) {
  TMemoryDC dc(::CreateCompatibleDC(nullptr));
  BITMAPINFO info = TopDownDib32Info(width, height);
  void* bits = nullptr;
  TBitmapHandle bitmap(::CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  TSelectScope select(dc.Get(), bitmap.Get());
  draw(dc.Get());
  ::GdiFlush();
  TPixelBuffer result(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) result.View().Set(x, y, static_cast<const TPixel*>(bits)[y * width + x] & 0xFFFFFF);
  return result;
}

TPixelBuffer ReadScreen(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  TWindowDC screen(nullptr);
  return DrawnPixels(width, height,
                     [&](HDC dc) { ::BitBlt(dc, 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY); });
}

TPixelBuffer PrintClient(HWND window, int width, int height) {
  return DrawnPixels(width, height,
                     [&](HDC dc) { ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT); });
}

TPixelBuffer PrintClient(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return PrintClient(window, client.right, client.bottom);
}
