#pragma once
// The one point and the one rectangle of the program, for screens, windows and pixel
// surfaces alike.

#include <algorithm>
#include <cstdint>
#include <span>

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and Bottom are exclusive, as in every Win32 rectangle.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool Contains(TPoint p) const { return Contains(p.X, p.Y); }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// The common part of two rectangles; an empty rectangle at the origin when they do not meet.
inline TRect IntersectRect(const TRect& a, const TRect& b) {
  const TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                std::min(a.Bottom, b.Bottom)};
  return r.Empty() ? TRect{} : r;
}

// The work area, of the monitors' work areas in system order, that a rectangle they do not
// show wholly belongs on: the one showing most of it, the earlier on a tie, the first when
// none shows any of it. Null when together they show all of it, or when there are none.
inline const TRect* WorkAreaToFitInto(const TRect& rect, std::span<const TRect> workAreas) {
  if (workAreas.empty()) return nullptr;
  const auto size = [](const TRect& r) { return (std::int64_t{r.Right} - r.Left) * (std::int64_t{r.Bottom} - r.Top); };
  std::int64_t shownInAll = 0, shownMost = 0;
  const TRect* best = &workAreas.front();
  for (const TRect& area : workAreas) {
    const std::int64_t shown = size(IntersectRect(rect, area));
    shownInAll += shown;
    if (shown > shownMost) {
      shownMost = shown;
      best = &area;
    }
  }
  return shownInAll >= size(rect) ? nullptr : best;
}
