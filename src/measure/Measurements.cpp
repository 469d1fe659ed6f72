#include "measure/Measurements.h"

#include <algorithm>
#include <cstdlib>

TMeasureMode MeasureModeFromIndex(int index) {
  return index >= 0 && index < MeasureModeCount ? static_cast<TMeasureMode>(index) : TMeasureMode::Spacing;
}

const char* MeasureModeName(TMeasureMode mode) {
  switch (mode) {
    case TMeasureMode::Bounds: return "Bounds";
    case TMeasureMode::Line: return "Distance and angle";
    case TMeasureMode::Spacing: break;
  }
  return "Spacing";
}

TEdgeOptions EdgeOptionsOf(const TMeasureSettings& settings) {
  TEdgeOptions options;
  options.Tolerance = std::clamp(settings.Tolerance, 0, TMeasureSettings::MaxTolerance);
  options.Continuous = settings.Continuous;
  options.IgnoreNarrow = std::clamp(settings.IgnoreNarrow, 0, TMeasureSettings::MaxIgnoreNarrow);
  return options;
}

std::string MeasurementLabelText(const TMeasurement& m, const TMeasureUnit& unit) {
  switch (m.Mode) {
    case TMeasureMode::Line:
      // A snapped line reads its snapped angle, not that of the whole pixel it is drawn to.
      return LineText(LineLength(m.From, m.To), m.AngleSnapped ? SnappedAngle(m.From, m.To) : LineAngle(m.From, m.To),
                      unit);
    case TMeasureMode::Bounds: return SizeText(m.Box.Width(), m.Box.Height(), unit);
    case TMeasureMode::Spacing: break;
  }
  if (m.Horizontal && !m.Vertical) return SpanText(m.Box.Width(), unit);
  if (m.Vertical && !m.Horizontal) return SpanText(m.Box.Height(), unit, true);
  return SizeText(m.Box.Width(), m.Box.Height(), unit);
}

TPoint LineEnd(const TMeasurement& line) { return line.AngleSnapped ? SnapAngle(line.From, line.To) : line.To; }

TPoint LabelAnchor(const TMeasurement& m) {
  switch (m.Mode) {
    case TMeasureMode::Line: return LineEnd(m);
    case TMeasureMode::Bounds: return {m.Box.Right, m.Box.Bottom};
    case TMeasureMode::Spacing: break;
  }
  return m.From;
}

std::vector<TPoint> MeasuredPoints(const TMeasurement& m) {
  const TRect& b = m.Box;
  switch (m.Mode) {
    case TMeasureMode::Line: return {m.From, LineEnd(m)};
    case TMeasureMode::Bounds:
      if (b.Empty()) return {};
      return {{b.Left, b.Top}, {b.Right - 1, b.Top}, {b.Left, b.Bottom - 1}, {b.Right - 1, b.Bottom - 1}};
    case TMeasureMode::Spacing: break;
  }
  std::vector<TPoint> points{m.From};
  if (b.Empty()) return points;
  if (m.Horizontal) points.insert(points.end(), {{b.Left, m.From.Y}, {b.Right - 1, m.From.Y}});
  if (m.Vertical) points.insert(points.end(), {{m.From.X, b.Top}, {m.From.X, b.Bottom - 1}});
  return points;
}

namespace {

TRect Around(TPoint p, int reach) { return {p.X - reach, p.Y - reach, p.X + reach + 1, p.Y + reach + 1}; }

TRect Union(const TRect& a, const TRect& b) {
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

}  // namespace

std::vector<TRect> MeasurementStrips(const TPlacedMeasurement& placed) {
  const TMeasurement& m = placed.Measurement;
  std::vector<TRect> strips;
  switch (m.Mode) {
    case TMeasureMode::Spacing:
      if (m.Horizontal) strips.push_back({m.Box.Left, m.From.Y - SpanCap, m.Box.Right, m.From.Y + SpanCap + 1});
      if (m.Vertical) strips.push_back({m.From.X - SpanCap, m.Box.Top, m.From.X + SpanCap + 1, m.Box.Bottom});
      break;
    case TMeasureMode::Bounds: {
      const TRect& b = m.Box;
      strips.push_back({b.Left, b.Top, b.Right, b.Top + 1});
      strips.push_back({b.Left, b.Bottom - 1, b.Right, b.Bottom});
      strips.push_back({b.Left, b.Top, b.Left + 1, b.Bottom});
      strips.push_back({b.Right - 1, b.Top, b.Right, b.Bottom});
      break;
    }
    case TMeasureMode::Line: {
      // Pieces of at most 32 pixels along the longer axis, so that a long diagonal costs
      // a band along itself rather than the rectangle it spans.
      const TPoint end = LineEnd(m);
      const int dx = end.X - m.From.X, dy = end.Y - m.From.Y;
      const int pieces = std::max(1, (std::max(std::abs(dx), std::abs(dy)) + 31) / 32);
      TPoint start = m.From;
      for (int i = 1; i <= pieces; ++i) {
        const TPoint end{m.From.X + dx * i / pieces, m.From.Y + dy * i / pieces};
        strips.push_back(Union(Around(start, 1), Around(end, 1)));
        start = end;
      }
      strips.push_back(Around(m.From, SpanCap));
      strips.push_back(Around(end, SpanCap));
      break;
    }
  }
  if (!placed.Label.Empty()) strips.push_back(placed.Label);
  std::erase_if(strips, [](const TRect& r) { return r.Empty(); });
  return strips;
}
