#include "color/ColorChart.h"

#include <algorithm>

namespace {

// Cell centres: a runs left to right, b top (65408) to bottom (128).
constexpr int ColumnValue(int x) { return x * 256 - 128; }
constexpr int RowValue(int y) { return 65664 - y * 256; }

constexpr int ClampPos(int pos) { return std::clamp(pos, 0, 255); }
int PosToModel(int pos) { return MulDiv(pos, 65536, 255); }
int PosToHue(int pos) { return PosToModel(pos) & 0xFFFF; }

// Filters see content coordinates: the first content cell is (0, 0).
void FilterRow(TPixel* row, int left, int right, int y, const TQorvelColorFilter* filter) {
  if (filter != nullptr) filter->ApplyFilterRow(row, right - left, left - 1, y - 1);
}

// The chart content of the three HSB components, bit-identical to HSBToRGB per cell:
// each channel is ((4080 - (((255 - p) * S) >> 12)) * V) >> 20. What depends on the
// column alone is computed once per paint, and the products with the row value are kept
// per column and stepped down by one row's difference, so a cell costs additions, shifts
// and (for the brightness chart) one multiplication per channel: loops the compiler can
// vectorise.
void PaintHSBChart(const TBoxCanvas& canvas, const TRect& r, TQorvelColorComponent component, int fixed,
                   const TQorvelColorFilter* filter) {
  constexpr int Columns = 256;
  const int count = r.Width();
  const int f = std::clamp(fixed, 0, HSBFull);
  const bool brightness = component == TQorvelColorComponent::pccBrightness;
  // Per column and channel: the running product with the row value, and its change from
  // one row to the next.
  alignas(16) int product[3][Columns], step[3][Columns];
  for (int i = 0; i < count; ++i) {
    const int a = ColumnValue(r.Left + i);
    const TRGB pure = SplitRGB(HueColor(component == TQorvelColorComponent::pccHue ? fixed : a));
    const int channels[3] = {pure.Red, pure.Green, pure.Blue};
    for (int c = 0; c < 3; ++c) {
      const int fade = 255 - channels[c];
      int factor = fade;  // brightness chart: the row value is the saturation
      if (component == TQorvelColorComponent::pccHue)
        factor = 4080 - ((fade * a) >> 12);  // the row value is the brightness
      else if (component == TQorvelColorComponent::pccSaturation)
        factor = 4080 - ((fade * f) >> 12);
      product[c][i] = factor * RowValue(r.Top);
      step[c][i] = factor * 256;
    }
  }
  int* const p0 = product[0];
  int* const p1 = product[1];
  int* const p2 = product[2];
  const int* const s0 = step[0];
  const int* const s1 = step[1];
  const int* const s2 = step[2];
  for (int y = r.Top; y < r.Bottom; ++y) {
    TPixel* row = canvas.RowAt(r.Left, y);
    if (brightness) {
      for (int i = 0; i < count; ++i) {
        const int red = ((4080 - (p0[i] >> 12)) * f) >> 20;
        const int green = ((4080 - (p1[i] >> 12)) * f) >> 20;
        const int blue = ((4080 - (p2[i] >> 12)) * f) >> 20;
        row[i] = static_cast<TPixel>(red << 16 | green << 8 | blue);
        p0[i] -= s0[i], p1[i] -= s1[i], p2[i] -= s2[i];
      }
    } else {
      for (int i = 0; i < count; ++i) {
        row[i] = static_cast<TPixel>((p0[i] >> 20) << 16 | (p1[i] >> 20) << 8 | p2[i] >> 20);
        p0[i] -= s0[i], p1[i] -= s1[i], p2[i] -= s2[i];
      }
    }
    FilterRow(row, r.Left, r.Right, y, filter);
  }
}

// The RGB charts: the fixed channel and the row give one part of the pixel, the column
// the other, so a cell is one addition.
void PaintRGBChart(const TBoxCanvas& canvas, const TRect& r, TQorvelColorComponent component, int fixed,
                   const TQorvelColorFilter* filter) {
  const TPixel channel = static_cast<TPixel>((fixed >> 8) & 0xFF);
  for (int y = r.Top; y < r.Bottom; ++y) {
    const TPixel rowChannel = static_cast<TPixel>(256 - y);
    TPixel rowPart = 0;
    int columnShift = 16;
    switch (component) {
      case TQorvelColorComponent::pccRed: rowPart = channel << 16 | rowChannel, columnShift = 8; break;
      case TQorvelColorComponent::pccGreen: rowPart = channel << 8 | rowChannel; break;
      default: rowPart = rowChannel << 8 | channel; break;
    }
    TPixel* row = canvas.RowAt(r.Left, y);
    for (int x = r.Left; x < r.Right; ++x) row[x - r.Left] = rowPart | static_cast<TPixel>(x - 1) << columnShift;
    FilterRow(row, r.Left, r.Right, y, filter);
  }
}

}  // namespace

TMarkerImage CircleMarker(int side) {
  TMarkerImage image{side, std::vector<TPixel>(static_cast<std::size_t>(side * side))};
  // The 16-pixel rings' squared radii, grown with the square of the side.
  const auto radius = [side](int at16) { return at16 * side * side / (MarkerSize * MarkerSize); };
  const int centre = side / 2;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const int d2 = (x - centre) * (x - centre) + (y - centre) * (y - centre);
      TPixel p = 0xFF00FF;  // transparent
      if (d2 >= radius(12) && d2 < radius(42)) p = d2 >= radius(18) && d2 < radius(32) ? 0xFFFFFF : 0x000000;
      image.Pixels[static_cast<std::size_t>(y * side + x)] = p;
    }
  }
  return image;
}

const TMarkerImage& CircleMarker() {
  static const TMarkerImage marker = CircleMarker(MarkerSize);
  return marker;
}

void DrawMarker(const TBoxCanvas& canvas, const TMarkerImage& marker, int left, int top) {
  const TPixel transparent = marker.At(0, 0);
  const TRect r = IntersectRect({left, top, left + marker.Side, top + marker.Side}, canvas.Area());
  for (int y = r.Top; y < r.Bottom; ++y) {
    TPixel* row = canvas.RowAt(r.Left, y);
    for (int x = r.Left; x < r.Right; ++x, ++row) {
      // A select instead of a branch: the ring's edge is irregular enough to defeat branch
      // prediction, which made the marker cost more than the cells under it.
      const TPixel p = marker.At(x - left, y - top);
      const TPixel keep = p == transparent ? ~TPixel{0} : TPixel{0};
      *row = (*row & keep) | (p & ~keep);
    }
  }
}

bool IsHSBComponent(TQorvelColorComponent component) {
  return component == TQorvelColorComponent::pccHue || component == TQorvelColorComponent::pccSaturation ||
         component == TQorvelColorComponent::pccBrightness;
}

TPixel ChartPixel(TQorvelColorComponent component, int fixed, int x, int y) {
  const int a = ColumnValue(x), b = RowValue(y);
  switch (component) {
    case TQorvelColorComponent::pccHue: return HSBToRGB(fixed, a, b);
    case TQorvelColorComponent::pccSaturation: return HSBToRGB(a, fixed, b);
    case TQorvelColorComponent::pccBrightness: return HSBToRGB(a, b, fixed);
    case TQorvelColorComponent::pccRed: return PackRGB(fixed >> 8, a >> 8, b >> 8);
    case TQorvelColorComponent::pccGreen: return PackRGB(a >> 8, fixed >> 8, b >> 8);
    case TQorvelColorComponent::pccBlue: return PackRGB(a >> 8, b >> 8, fixed >> 8);
  }
  return 0;
}

int ChartFixedValue(TQorvelColorComponent component, const TColorValues& values) {
  switch (component) {
    case TQorvelColorComponent::pccHue: return values.HSB.Hue;
    case TQorvelColorComponent::pccSaturation: return values.HSB.Saturation;
    case TQorvelColorComponent::pccBrightness: return values.HSB.Brightness;
    case TQorvelColorComponent::pccRed: return values.RGB.Red * 256;
    case TQorvelColorComponent::pccGreen: return values.RGB.Green * 256;
    case TQorvelColorComponent::pccBlue: return values.RGB.Blue * 256;
  }
  return 0;
}

TPixel BarPixel(TQorvelColorComponent component, const TColorValues& values, int y) {
  const int r = RowValue(y);
  const THSB& hsb = values.HSB;
  const TRGB& rgb = values.RGB;
  switch (component) {
    case TQorvelColorComponent::pccHue: return HSBToRGB(r, HSBFull, HSBFull);
    case TQorvelColorComponent::pccSaturation: return HSBToRGB(hsb.Hue, r, hsb.Brightness);
    case TQorvelColorComponent::pccBrightness: return HSBToRGB(hsb.Hue, hsb.Saturation, r);
    case TQorvelColorComponent::pccRed: return PackRGB(r >> 8, rgb.Green, rgb.Blue);
    case TQorvelColorComponent::pccGreen: return PackRGB(rgb.Red, r >> 8, rgb.Blue);
    case TQorvelColorComponent::pccBlue: return PackRGB(rgb.Red, rgb.Green, r >> 8);
  }
  return 0;
}

namespace {

// The square a marker of the content side covers, centred on the block of each step.
int MarkerSideFor(int contentSide) { return MarkerSize * contentSide / ColorSteps; }
int StepCentreFor(int step, int contentSide) { return 1 + (2 * step + 1) * contentSide / (2 * ColorSteps); }

}  // namespace

TRect ChartMarkerArea(int posX, int posY, int contentSide) {
  const int side = MarkerSideFor(contentSide);
  const int left = StepCentreFor(posX, contentSide) - side / 2;
  const int top = StepCentreFor(255 - posY, contentSide) - side / 2;
  return {left, top, left + side, top + side};
}

TRect BarMarkerArea(int pos, int clientWidth, int contentSide) {
  const int side = MarkerSideFor(contentSide);
  const int top = StepCentreFor(255 - pos, contentSide) - side / 2;
  return {1, top, clientWidth, top + side};
}

namespace {

// Paints content rows and columns of a side larger than the colour steps: each pixel
// shows the step it falls in, read from `steps`, a canvas of the steps' own pixels
// (x, y = 1..256) that `paintSteps` fills for the steps the area needs.
void PaintBlocks(const TBoxCanvas& canvas, const TRect& area, int side, const TQorvelColorFilter* filter,
                 const std::function<void(const TBoxCanvas& steps)>& paintSteps) {
  const auto step = [side](int pixel) { return (pixel - 1) * ColorSteps / side + 1; };
  const TRect needed{step(area.Left), step(area.Top), step(area.Right - 1) + 1, step(area.Bottom - 1) + 1};
  TPixelBuffer stepPixels(needed.Width(), needed.Height());
  const TBoxCanvas steps(stepPixels.View(), needed.Left, needed.Top);
  paintSteps(steps);
  for (int y = area.Top; y < area.Bottom; ++y) {
    TPixel* row = canvas.RowAt(area.Left, y);
    const TPixel* source = steps.RowAt(needed.Left, step(y));
    for (int x = area.Left; x < area.Right; ++x) *row++ = source[step(x) - needed.Left];
    FilterRow(canvas.RowAt(area.Left, y), area.Left, area.Right, y, filter);
  }
}

}  // namespace

TRepaintAreas MarkerRepaintAreas(const TMarkerMove& move) {
  if (!move.Moved) return {};
  const TRect& a = move.OldArea;
  const TRect& b = move.NewArea;
  const TRect box{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                  std::max(a.Bottom, b.Bottom)};
  if (box.Width() * box.Height() <= a.Width() * a.Height() + b.Width() * b.Height()) return {{box, {}}, 1};
  return {{a, b}, 2};
}

// --- the common model ---------------------------------------------------------------

bool TColorsControlModel::SetComponent(TQorvelColorComponent component) {
  if (component == FComponent) return false;
  FComponent = component;
  UpdatePosition();
  return true;
}

bool TColorsControlModel::SetContentSide(int side) {
  side = std::max(side, ColorSteps);
  if (side == FSide) return false;
  FSide = side;
  return true;
}

bool TColorsControlModel::SetWebSafe(bool webSafe) {
  if (webSafe == FWebSafe) return false;
  FWebSafe = webSafe;
  return true;
}

bool TColorsControlModel::SetHSB(int hue, int saturation, int brightness) {
  const THSB hsb{hue & 0xFFFF, std::clamp(saturation, 0, HSBFull), std::clamp(brightness, 0, HSBFull)};
  if (hsb == FValues.HSB) return false;
  ValuesFromHSB(hsb);
  UpdatePosition();
  return true;
}

bool TColorsControlModel::SetRGB(int red, int green, int blue) {
  const TRGB rgb{std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255)};
  if (rgb == FValues.RGB) return false;
  ValuesFromRGB(rgb);
  UpdatePosition();
  return true;
}

void TColorsControlModel::ValuesFromHSB(const THSB& hsb) {
  FValues.HSB = hsb;
  FValues.RGB = SplitRGB(HSBToRGB(hsb.Hue, hsb.Saturation, hsb.Brightness));
}

void TColorsControlModel::ValuesFromRGB(const TRGB& rgb) {
  FValues.RGB = rgb;
  FValues.HSB = RGBToHSB(PackRGB(rgb.Red, rgb.Green, rgb.Blue));
}

const TQorvelColorFilter* TColorsControlModel::ContentFilter(const TColorsPaintStyle& style) const {
  return FWebSafe ? &WebSafeColorFilter() : style.DeviceFilter;
}

TMarkerMove TColorsControlModel::MouseDown(int x, int y) {
  if (!InContent(x, y)) return {};
  FDragging = true;
  return MarkerMoved(PlaceMarker(x, y));
}

TMarkerMove TColorsControlModel::MouseMove(int x, int y) {
  if (!FDragging) return {};
  return MarkerMoved(PlaceMarker(x, y));
}

TMarkerMove TColorsControlModel::MarkerMoved(TMarkerMove move) {
  if (!move.Moved) return move;
  UpdateValues();
  if (IsHSBComponent(FComponent)) {
    if (OnChangeHSB) OnChangeHSB(*this, FValues.HSB.Hue, FValues.HSB.Saturation, FValues.HSB.Brightness);
  } else if (OnChangeRGB) {
    OnChangeRGB(*this, FValues.RGB.Red, FValues.RGB.Green, FValues.RGB.Blue);
  }
  return move;
}

// --- chart ---------------------------------------------------------------------------

void TColorChartModel::UpdatePosition() {
  const THSB& hsb = FValues.HSB;
  const TRGB& rgb = FValues.RGB;
  switch (FComponent) {
    case TQorvelColorComponent::pccHue: FPosX = hsb.Saturation >> 8, FPosY = hsb.Brightness >> 8; break;
    case TQorvelColorComponent::pccSaturation: FPosX = hsb.Hue >> 8, FPosY = hsb.Brightness >> 8; break;
    case TQorvelColorComponent::pccBrightness: FPosX = hsb.Hue >> 8, FPosY = hsb.Saturation >> 8; break;
    case TQorvelColorComponent::pccRed: FPosX = rgb.Green, FPosY = rgb.Blue; break;
    case TQorvelColorComponent::pccGreen: FPosX = rgb.Red, FPosY = rgb.Blue; break;
    case TQorvelColorComponent::pccBlue: FPosX = rgb.Red, FPosY = rgb.Green; break;
  }
  FPosX = ClampPos(FPosX);
  FPosY = ClampPos(FPosY);
}

void TColorChartModel::UpdateValues() {
  THSB hsb = FValues.HSB;
  TRGB rgb = FValues.RGB;
  switch (FComponent) {
    case TQorvelColorComponent::pccHue:
      hsb.Saturation = PosToModel(FPosX), hsb.Brightness = PosToModel(FPosY);
      return ValuesFromHSB(hsb);
    case TQorvelColorComponent::pccSaturation:
      hsb.Hue = PosToHue(FPosX), hsb.Brightness = PosToModel(FPosY);
      return ValuesFromHSB(hsb);
    case TQorvelColorComponent::pccBrightness:
      hsb.Hue = PosToHue(FPosX), hsb.Saturation = PosToModel(FPosY);
      return ValuesFromHSB(hsb);
    case TQorvelColorComponent::pccRed: rgb.Green = FPosX, rgb.Blue = FPosY; return ValuesFromRGB(rgb);
    case TQorvelColorComponent::pccGreen: rgb.Red = FPosX, rgb.Blue = FPosY; return ValuesFromRGB(rgb);
    case TQorvelColorComponent::pccBlue: rgb.Red = FPosX, rgb.Green = FPosY; return ValuesFromRGB(rgb);
  }
}

bool TColorChartModel::InContent(int x, int y) const { return x >= 1 && x <= FSide && y >= 1 && y <= FSide; }

TMarkerMove TColorChartModel::PlaceMarker(int x, int y) {
  const int posX = ClampPos(StepAt(std::max(x, 1))), posY = ClampPos(255 - StepAt(std::max(y, 1)));
  if (posX == FPosX && posY == FPosY) return {};
  TMarkerMove move{true, ChartMarkerArea(FPosX, FPosY, FSide), ChartMarkerArea(posX, posY, FSide)};
  FPosX = posX;
  FPosY = posY;
  return move;
}

void TColorChartModel::Paint(const TBoxCanvas& canvas, const TColorsPaintStyle& style) const {
  const TRect content = IntersectRect({1, 1, FSide + 1, FSide + 1}, canvas.Area());
  if (!content.Empty()) {
    const int fixed = ChartFixedValue(FComponent, FValues);
    const auto paint = [this, fixed](const TBoxCanvas& target, const TRect& area, const TQorvelColorFilter* filter) {
      if (IsHSBComponent(FComponent))
        PaintHSBChart(target, area, FComponent, fixed, filter);
      else
        PaintRGBChart(target, area, FComponent, fixed, filter);
    };
    if (FSide == ColorSteps)
      paint(canvas, content, ContentFilter(style));
    else
      PaintBlocks(canvas, content, FSide, ContentFilter(style),
                  [&paint](const TBoxCanvas& steps) { paint(steps, steps.Area(), nullptr); });
  }
  if (style.Marker != nullptr) {
    const TRect marker = ChartMarkerArea(FPosX, FPosY, FSide);
    DrawMarker(canvas, *style.Marker, marker.Left, marker.Top);
  }
  DrawBoxFrame(canvas, {0, 0, FSide + 2, FSide + 2}, 0x000000, style.ParentColor, style.Look, style.Resolve);
}

// --- bar -----------------------------------------------------------------------------

void TColorBarModel::UpdatePosition() {
  switch (FComponent) {
    case TQorvelColorComponent::pccHue: FPos = FValues.HSB.Hue >> 8; break;
    case TQorvelColorComponent::pccSaturation: FPos = FValues.HSB.Saturation >> 8; break;
    case TQorvelColorComponent::pccBrightness: FPos = FValues.HSB.Brightness >> 8; break;
    case TQorvelColorComponent::pccRed: FPos = FValues.RGB.Red; break;
    case TQorvelColorComponent::pccGreen: FPos = FValues.RGB.Green; break;
    case TQorvelColorComponent::pccBlue: FPos = FValues.RGB.Blue; break;
  }
  FPos = ClampPos(FPos);
}

void TColorBarModel::UpdateValues() {
  THSB hsb = FValues.HSB;
  TRGB rgb = FValues.RGB;
  switch (FComponent) {
    case TQorvelColorComponent::pccHue: hsb.Hue = PosToHue(FPos); return ValuesFromHSB(hsb);
    case TQorvelColorComponent::pccSaturation: hsb.Saturation = PosToModel(FPos); return ValuesFromHSB(hsb);
    case TQorvelColorComponent::pccBrightness: hsb.Brightness = PosToModel(FPos); return ValuesFromHSB(hsb);
    case TQorvelColorComponent::pccRed: rgb.Red = FPos; return ValuesFromRGB(rgb);
    case TQorvelColorComponent::pccGreen: rgb.Green = FPos; return ValuesFromRGB(rgb);
    case TQorvelColorComponent::pccBlue: rgb.Blue = FPos; return ValuesFromRGB(rgb);
  }
}

bool TColorBarModel::InContent(int x, int y) const {
  return x > 0 && x < FClientWidth - 1 && y >= 1 && y <= FSide;
}

TMarkerMove TColorBarModel::PlaceMarker(int, int y) {
  const int pos = ClampPos(255 - StepAt(std::max(y, 1)));
  if (pos == FPos) return {};
  TMarkerMove move{true, BarMarkerArea(FPos, FClientWidth, FSide), BarMarkerArea(pos, FClientWidth, FSide)};
  FPos = pos;
  return move;
}

void TColorBarModel::Paint(const TBoxCanvas& canvas, const TColorsPaintStyle& style) const {
  const TRect content = IntersectRect({1, 1, FClientWidth - 1, FSide + 1}, canvas.Area());
  const TQorvelColorFilter* filter = ContentFilter(style);
  for (int y = content.Top; y < content.Bottom; ++y) {
    const TPixel color = BarPixel(FComponent, FValues, StepAt(y) + 1);
    TPixel* row = canvas.RowAt(content.Left, y);
    std::fill_n(row, content.Width(), color);
    FilterRow(row, content.Left, content.Right, y, filter);
  }
  if (style.Marker != nullptr)
    DrawMarker(canvas, *style.Marker, FClientWidth / 2 - style.Marker->Side / 2,
               BarMarkerArea(FPos, FClientWidth, FSide).Top);
  DrawBoxFrame(canvas, {0, 0, FClientWidth, FSide + 2}, 0x000000, style.ParentColor, style.Look, style.Resolve);
}
