#include "measure/EdgeDetection.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

int Channel(TPixel p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

constexpr int Block = 32;  // pixels tested together before a branch

// a - b, or 0 when b is larger; written as a maximum and a subtraction, which vectorise on
// sixteen bytes at once.
unsigned char SubtractSaturated(unsigned char a, unsigned char b) {
  const unsigned char larger = a > b ? a : b;
  return static_cast<unsigned char>(larger - b);
}

// The colours that match `colour` within `tolerance`: each channel within [Low, High]. A
// block of pixels is tested as bytes, by how far each lies below or above its channel's
// bounds, which compilers turn into a few vector instructions per sixteen bytes; the bounds
// are laid out through memcpy of whole pixels, so the byte order of the machine does not
// matter (the ignored top byte gets 0..255).
class TBand {
 public:
  TBand(TPixel colour, int tolerance) {
    const auto bound = [&](int offset) {
      TPixel p = 0;
      for (int shift = 0; shift < 24; shift += 8)
        p |= static_cast<TPixel>(std::clamp(Channel(colour, shift) + offset, 0, 255)) << shift;
      return p;
    };
    const TPixel low = bound(-tolerance), high = bound(tolerance) | 0xFF000000u;
    for (int i = 0; i < Block; ++i) {
      std::memcpy(FLow.data() + i * sizeof(TPixel), &low, sizeof(TPixel));
      std::memcpy(FHigh.data() + i * sizeof(TPixel), &high, sizeof(TPixel));
    }
  }

  bool Outside(TPixel p) const {
    unsigned char bytes[sizeof p];
    std::memcpy(bytes, &p, sizeof p);
    unsigned char off = 0;
    for (std::size_t k = 0; k < sizeof p; ++k)
      off |= static_cast<unsigned char>(bytes[k] < FLow[k] || bytes[k] > FHigh[k]);
    return off != 0;
  }

  // Whether any of the Block pixels from `pixels` on lies outside.
  bool AnyOutside(const TPixel* pixels) const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(pixels);
    unsigned char off = 0;
    for (std::size_t k = 0; k < FLow.size(); ++k)
      off |= static_cast<unsigned char>(SubtractSaturated(FLow[k], bytes[k]) | SubtractSaturated(bytes[k], FHigh[k]));
    return off != 0;
  }

 private:
  std::array<unsigned char, Block * sizeof(TPixel)> FLow, FHigh;
};

// The index of the first of `count` pixels outside the band, `count` when none is.
int FirstOutside(const TPixel* pixels, int count, const TBand& band) {
  int i = 0;
  while (i + Block <= count && !band.AnyOutside(pixels + i)) i += Block;
  for (; i < count; ++i)
    if (band.Outside(pixels[i])) return i;
  return count;
}

// The index of the last of `count` pixels outside the band, -1 when none is.
int LastOutside(const TPixel* pixels, int count, const TBand& band) {
  int end = count;
  while (end - Block >= 0 && !band.AnyOutside(pixels + end - Block)) end -= Block;
  for (int i = end - 1; i >= 0; --i)
    if (band.Outside(pixels[i])) return i;
  return -1;
}

// The reference a walk compares with: the start colour, or the running average of the
// accepted pixels, per channel in sixteenths of a level.
template <bool Continuous>
class TReference {
 public:
  TReference(TPixel start, int tolerance) : FBand(start, tolerance), FTolerance16(tolerance * 16) {
    for (int c = 0; c < 3; ++c) FMean16[c] = Channel(start, 8 * c) * 16;
  }

  bool Matches(TPixel p) const {
    if constexpr (Continuous) {
      for (int c = 0; c < 3; ++c)
        if (std::abs(Channel(p, 8 * c) * 16 - FMean16[c]) > FTolerance16) return false;
      return true;
    } else {
      return !FBand.Outside(p);
    }
  }

  void Accept(TPixel p) {
    if constexpr (Continuous) {
      for (int c = 0; c < 3; ++c) FMean16[c] += (Channel(p, 8 * c) * 16 - FMean16[c]) / 4;
    }
  }

 private:
  TBand FBand;
  int FTolerance16;
  std::array<int, 3> FMean16{};
};

// How many of the `count` pixels at pixels[stride], pixels[2 * stride]... belong to the
// surface of pixels[0] before the walk meets its edge.
template <bool Continuous>
int Walk(const TPixel* pixels, std::ptrdiff_t stride, int count, const TEdgeOptions& options, int tolerance) {
  TReference<Continuous> reference(pixels[0], tolerance);
  const int narrow = std::max(options.IgnoreNarrow, 0);
  int i = 1;
  while (i <= count) {
    const TPixel p = pixels[i * stride];
    if (reference.Matches(p)) {
      reference.Accept(p);
      ++i;
      continue;
    }
    // A differing run: crossed when the surface resumes within `narrow` pixels.
    const int lookAheadEnd = static_cast<int>(std::min<std::int64_t>(std::int64_t{i} + narrow, count));
    int resume = i + 1;
    while (resume <= lookAheadEnd && !reference.Matches(pixels[resume * stride])) ++resume;
    if (resume > lookAheadEnd) return i - 1;
    reference.Accept(pixels[resume * stride]);
    i = resume + 1;
  }
  return count;
}

template <bool Continuous>
TRect WalkAll(const TPixelView& image, TPoint start, const TEdgeOptions& options, int tolerance) {
  const TPixel* origin = image.Row(start.Y) + start.X;
  const std::ptrdiff_t width = image.Width();
  const int left = Walk<Continuous>(origin, -1, start.X, options, tolerance);
  const int right = Walk<Continuous>(origin, 1, image.Width() - 1 - start.X, options, tolerance);
  const int up = Walk<Continuous>(origin, -width, start.Y, options, tolerance);
  const int down = Walk<Continuous>(origin, width, image.Height() - 1 - start.Y, options, tolerance);
  return {start.X - left, start.Y - up, start.X + 1 + right, start.Y + 1 + down};
}

struct TBackground {
  TPixel Colour = 0;
  int Tolerance = 0;
};

// The pixels along the border of `area` (inside the image), each once.
std::vector<TPixel> BorderPixels(const TPixelView& image, const TRect& area) {
  std::vector<TPixel> border;
  border.reserve(2 * (static_cast<std::size_t>(area.Width()) + area.Height()));
  border.insert(border.end(), image.Row(area.Top) + area.Left, image.Row(area.Top) + area.Right);
  if (area.Height() > 1)
    border.insert(border.end(), image.Row(area.Bottom - 1) + area.Left, image.Row(area.Bottom - 1) + area.Right);
  for (int y = area.Top + 1; y < area.Bottom - 1; ++y) {
    border.push_back(image.At(area.Left, y));
    if (area.Width() > 1) border.push_back(image.At(area.Right - 1, y));
  }
  return border;
}

// The smallest value whose cumulative count reaches `rank` (1-based).
int ValueOfRank(const std::array<int, 256>& histogram, int rank) {
  int seen = 0;
  for (int v = 0; v < 256; ++v) {
    seen += histogram[v];
    if (seen >= rank) return v;
  }
  return 255;
}

TBackground BorderBackground(const TPixelView& image, const TRect& area, int tolerance) {
  const std::vector<TPixel> border = BorderPixels(image, area);
  const int count = static_cast<int>(border.size());
  std::array<std::array<int, 256>, 3> channels{};
  for (const TPixel p : border)
    for (int c = 0; c < 3; ++c) ++channels[c][Channel(p, 8 * c)];
  TBackground background;
  for (int c = 0; c < 3; ++c)
    background.Colour |= static_cast<TPixel>(ValueOfRank(channels[c], (count + 1) / 2)) << (8 * c);
  std::array<int, 256> differences{};
  for (const TPixel p : border) ++differences[ColorDifference(p, background.Colour)];
  const int noise = ValueOfRank(differences, (3 * count + 3) / 4);
  background.Tolerance = std::min(std::max(tolerance, 2 * noise), 255);
  return background;
}

}  // namespace

int ColorDifference(TPixel a, TPixel b) {
  return std::max({std::abs(Channel(a, 16) - Channel(b, 16)), std::abs(Channel(a, 8) - Channel(b, 8)),
                   std::abs(Channel(a, 0) - Channel(b, 0))});
}

TRect FindEdges(const TPixelView& image, TPoint start, const TEdgeOptions& options) {
  if (!image.Contains(start.X, start.Y)) return {};
  const int tolerance = std::clamp(options.Tolerance, 0, 255);
  return options.Continuous ? WalkAll<true>(image, start, options, tolerance)
                            : WalkAll<false>(image, start, options, tolerance);
}

std::optional<TRect> SnapToContent(const TPixelView& image, const TRect& rect, const TEdgeOptions& options) {
  const TRect area = IntersectRect(rect, image.Bounds());
  if (area.Empty()) return std::nullopt;
  const TBackground background = BorderBackground(image, area, std::clamp(options.Tolerance, 0, 255));
  const TBand band(background.Colour, background.Tolerance);
  const int width = area.Width();
  const auto row = [&](int y) { return image.Row(y) + area.Left; };

  // Content columns [left, right), relative to area.Left, widened by a row that has content.
  int left = 0, right = 0;
  const auto takeRow = [&](const TPixel* pixels, int first) {
    left = std::min(left, first);
    const int from = std::max(right, first + 1);
    right = std::max(right, from + 1 + LastOutside(pixels + from, width - from, band));
  };

  int top = area.Top;
  for (;; ++top) {
    if (top == area.Bottom) return std::nullopt;  // nothing differs
    const int first = FirstOutside(row(top), width, band);
    if (first < width) {
      left = first;
      right = first + 1;
      takeRow(row(top), first);
      break;
    }
  }
  int bottom = top + 1;
  for (int y = area.Bottom - 1; y > top; --y) {
    const int first = FirstOutside(row(y), width, band);
    if (first < width) {
      takeRow(row(y), first);
      bottom = y + 1;
      break;
    }
  }
  // The rows between: only the margins outside the columns already known to hold content.
  for (int y = top + 1; y < bottom - 1; ++y) {
    const TPixel* pixels = row(y);
    left = FirstOutside(pixels, left, band);
    right += 1 + LastOutside(pixels + right, width - right, band);
  }
  return TRect{area.Left + left, top, area.Left + right, bottom};
}
