#include "measure/OverlayLayout.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

// Places a length `size` `gap` away from `anchor`, after it (`before` false) or before it,
// on the other side where it would leave low..high; then held within low..high.
int PlaceBeside(int anchor, int size, int gap, int low, int high, bool before) {
  const int after = anchor + gap, ahead = anchor - gap - size;
  int start = before ? ahead : after;
  if (before ? start < low : start + size > high) start = before ? after : ahead;
  return std::clamp(start, low, std::max(low, high - size));
}

TRect Inflated(const TRect& r, int by) { return {r.Left - by, r.Top - by, r.Right + by, r.Bottom + by}; }

bool Inside(const TRect& box, const TRect& area) { return IntersectRect(box, area) == box; }

bool Clear(const TRect& box, const TRect& area, const std::vector<TRect>& taken, int gap) {
  return Inside(box, area) && std::none_of(taken.begin(), taken.end(), [&](const TRect& other) {
           return !IntersectRect(box, Inflated(other, gap)).Empty();
         });
}

// `box` moved up or down the least so that it lies clear inside `area`; none when its column
// has no room. The nearest free place touches an area edge or lies `gap` from a taken box.
std::optional<TRect> NearestClearInColumn(const TRect& box, const TRect& area, const std::vector<TRect>& taken,
                                          int gap) {
  const int height = box.Height();
  std::vector<int> tops{box.Top, area.Top, area.Bottom - height};
  for (const TRect& other : taken) {
    if (other.Left - gap < box.Right && box.Left < other.Right + gap) {
      tops.push_back(other.Bottom + gap);
      tops.push_back(other.Top - gap - height);
    }
  }
  std::stable_sort(tops.begin(), tops.end(),
                   [&](int a, int b) { return std::abs(a - box.Top) < std::abs(b - box.Top); });
  for (const int top : tops) {
    const TRect moved{box.Left, top, box.Right, top + height};
    if (Clear(moved, area, taken, gap)) return moved;
  }
  return std::nullopt;
}

// The first of `candidates` clear of `taken`, else the first that becomes clear moved along
// its column, else the first as it is.
TRect FirstClearPlace(const std::vector<TRect>& candidates, const TRect& area, const std::vector<TRect>& taken,
                      int gap) {
  for (const TRect& box : candidates)
    if (Clear(box, area, taken, gap)) return box;
  for (const TRect& box : candidates)
    if (const std::optional<TRect> moved = NearestClearInColumn(box, area, taken, gap)) return *moved;
  return candidates.front();
}

TRect Around(TPoint p, int reach) { return {p.X - reach, p.Y - reach, p.X + reach + 1, p.Y + reach + 1}; }

}  // namespace

TRect PlaceLabel(TPoint anchor, int textWidth, int textHeight, const TRect& area, const std::vector<TRect>& taken) {
  const int width = textWidth + 2 * LabelPaddingX, height = textHeight + 2 * LabelPaddingY;
  std::vector<TRect> candidates;
  for (const auto& [left, above] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
    const int x = PlaceBeside(anchor.X, width, 12, area.Left, area.Right, left);
    const int y = PlaceBeside(anchor.Y, height, 12, area.Top, area.Bottom, above);
    candidates.push_back({x, y, x + width, y + height});
  }
  return FirstClearPlace(candidates, area, taken, LabelGap);
}

std::vector<TRect> LoupeObstacles(TPoint cursor, const TPlacedMeasurement* current,
                                  const std::vector<TPlacedMeasurement>& pins) {
  std::vector<TRect> obstacles{Around(cursor, SpanCap)};
  if (current) {
    for (const TPoint p : MeasuredPoints(current->Measurement)) obstacles.push_back(Around(p, SpanCap));
    if (!current->Label.Empty()) obstacles.push_back(current->Label);
  }
  for (const TPlacedMeasurement& pin : pins)
    if (!pin.Label.Empty()) obstacles.push_back(pin.Label);
  return obstacles;
}

TRect PlaceLoupe(TPoint cursor, const TRect& area, const std::vector<TRect>& keepClear) {
  // Above the pointer first, away from its label, which goes below; below, it keeps clear
  // of a label's height as well.
  std::vector<TRect> candidates;
  for (const auto& [left, below] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
    const int x = PlaceBeside(cursor.X, LoupeSide, 24, area.Left, area.Right, left);
    int y = below ? cursor.Y + 24 + 40 : cursor.Y - 24 - LoupeSide;
    if (!below && y < area.Top) y = cursor.Y + 24 + 40;
    y = std::clamp(y, area.Top, std::max(area.Top, area.Bottom - LoupeSide));
    candidates.push_back({x, y, x + LoupeSide, y + LoupeSide});
  }
  return FirstClearPlace(candidates, area, keepClear, 0);
}
