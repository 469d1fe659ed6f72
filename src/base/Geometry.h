#pragma once
// The one point and the one rectangle of the program, for screens, windows and pixel
// surfaces alike.

#include <algorithm>

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
