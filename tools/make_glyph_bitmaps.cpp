// Writes the ruler's glyph bitmaps "VINDLENUMBERS0" and "VINDLEBUTTONS" as 1-bit BMP files
// for the resource script, from the same text art the ruler paints with.
//
//   tools/make_glyph_bitmaps.sh            (builds this file and writes res/*.bmp)
//   make_glyph_bitmaps <output folder>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ruler/RulerGlyphs.h"

namespace {

void PutLE(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A bottom-up 1-bit BMP with palette entry 0 black and 1 white.
std::vector<std::uint8_t> EncodeBmp(const TGlyphBitmap& bitmap) {
  const auto width = static_cast<std::uint32_t>(bitmap.Width());
  const auto height = static_cast<std::uint32_t>(bitmap.Height());
  const std::uint32_t stride = (width + 31) / 32 * 4;
  const std::uint32_t pixelOffset = 14 + 40 + 2 * 4;
  const std::uint32_t imageSize = stride * height;

  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  PutLE(out, pixelOffset + imageSize, 4);
  PutLE(out, 0, 4);
  PutLE(out, pixelOffset, 4);

  PutLE(out, 40, 4);
  PutLE(out, width, 4);
  PutLE(out, height, 4);
  PutLE(out, 1, 2);     // planes
  PutLE(out, 1, 2);     // bits per pixel
  PutLE(out, 0, 4);     // BI_RGB
  PutLE(out, imageSize, 4);
  PutLE(out, 3780, 4);  // 96 dpi in pixels per metre
  PutLE(out, 3780, 4);
  PutLE(out, 2, 4);     // colours used
  PutLE(out, 2, 4);     // colours important

  PutLE(out, 0x00000000, 4);  // 0: black
  PutLE(out, 0x00FFFFFF, 4);  // 1: white

  for (int y = bitmap.Height() - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < bitmap.Width(); ++x)
      if (!bitmap.IsBlack(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) {
    std::fprintf(stderr, "Cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("Wrote %s\n", path.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const bool written = WriteFile(folder + "/" + NumberGlyphsName + ".bmp", EncodeBmp(NumberGlyphs())) &&
                       WriteFile(folder + "/" + ButtonGlyphsName + ".bmp", EncodeBmp(ButtonGlyphs()));
  return written ? 0 : 1;
}
