#include "gui/ImageLists.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "gui/CommonControls.h"
#include "gui/Pixels.h"

TImageList::TImageList(const wchar_t* resourceName, int imageWidth, int imageHeight)
    : FWidth(imageWidth), FHeight(imageHeight) {
  TBitmapHandle strip(static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!strip) throw std::runtime_error("Cannot load an image list resource.");
  DIBSECTION section{};
  ::GetObjectW(strip.Get(), sizeof(section), &section);
  const int width = section.dsBm.bmWidth, height = std::abs(section.dsBm.bmHeight);
  if (section.dsBm.bmBitsPixel != 32 || height != imageHeight || width < imageWidth)
    throw std::runtime_error("Image list resource must be a 32-bit strip.");

  // Read the strip top-down whatever its stored orientation.
  std::vector<std::uint32_t> straight(static_cast<std::size_t>(width) * imageHeight);
  BITMAPINFO info = TopDownDib32Info(width, imageHeight);
  TWindowDC screen(nullptr);
  ::GetDIBits(screen.Get(), strip.Get(), 0, static_cast<UINT>(imageHeight), straight.data(), &info, DIB_RGB_COLORS);

  const int count = width / imageWidth;
  for (int i = 0; i < count; ++i) {
    void* bits = nullptr;
    const BITMAPINFO imageInfo = TopDownDib32Info(imageWidth, imageHeight);
    TBitmapHandle image(::CreateDIBSection(nullptr, &imageInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* out = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < imageHeight; ++y) {
      for (int x = 0; x < imageWidth; ++x) {
        const std::uint32_t p = straight[static_cast<std::size_t>(y) * width + i * imageWidth + x];
        const std::uint32_t a = p >> 24;
        const auto premultiply = [a](std::uint32_t c) { return (c * a + 127) / 255; };
        out[y * imageWidth + x] = (a << 24) | (premultiply((p >> 16) & 0xFF) << 16) |
                                  (premultiply((p >> 8) & 0xFF) << 8) | premultiply(p & 0xFF);
      }
    }
    FImages.push_back(std::move(image));
  }
}

TImageList TImageList::ForDpi(const wchar_t* name, int size96, UINT dpi) {
  const int size = dpi < 120 ? size96 : dpi < 168 ? size96 * 3 / 2 : size96 * 2;
  if (size == size96) return TImageList(name, size, size);
  const std::wstring scaled = name + std::to_wstring(size);
  return TImageList(scaled.c_str(), size, size);
}

HBITMAP TImageList::Image(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return FImages[static_cast<std::size_t>(index)].Get();
}

HIMAGELIST TImageList::SystemList() {
  if (FSystemList) return FSystemList.Get();
  FSystemList.Reset(CommonControls::CreateImageList(FWidth, FHeight, ILC_COLOR32, Count(), 0));
  for (int i = 0; i < Count(); ++i)
    CommonControls::AddToImageList(FSystemList.Get(), FImages[static_cast<std::size_t>(i)].Get(), nullptr);
  return FSystemList.Get();
}
