#pragma once
// The colour chart (two components as x and y, the third fixed) and the colour bar (one
// component along y) of the colour selection dialog, without the window: their pixels,
// the circle marker, the mapping between marker and colour values, and the mouse rules.
//
// Chart: 258 x 258, a 1-pixel frame around 256 x 256 content (x, y = 1..256, top row
// brightest). Bar: ClientWidth x 258, content x = 1..ClientWidth-2, y = 1..256. A marker
// move repaints only the old and the new 16-pixel marker areas; setting values from
// outside repaints everything. Those are the sizes at 96 dpi, one pixel per colour step;
// on a finer screen the content side grows with it (384 at 144 dpi, 512 at 192) and so
// does the marker, each colour step taking a block of pixels.

#include <array>
#include <functional>
#include <vector>

#include "color/BoxControlRendering.h"
#include "color/QorvelColorModel.h"
#include "settings/ApplicationSettings.h"

inline constexpr int ColorChartSize = 258;
inline constexpr int ColorBarHeight = 258;
inline constexpr int MarkerSize = 16;

inline constexpr int ColorSteps = 256;

// A small square image drawn transparently: pixels equal to the top-left one are not drawn.
struct TMarkerImage {
  int Side = MarkerSize;
  std::vector<TPixel> Pixels;
  TPixel At(int x, int y) const { return Pixels[static_cast<std::size_t>(y * Side + x)]; }
};

// The circle marker: a white ring between two black ones around pixel (8, 8), visible on
// any colour, on a transparent magenta background. Other sides draw the same rings grown
// in proportion.
const TMarkerImage& CircleMarker();
TMarkerImage CircleMarker(int side);

void DrawMarker(const TBoxCanvas& canvas, const TMarkerImage& marker, int left, int top);

bool IsHSBComponent(TQorvelColorComponent component);

// The colour values every chart and bar keeps: both models, always in step.
struct TColorValues {
  THSB HSB;
  TRGB RGB;
  friend bool operator==(const TColorValues&, const TColorValues&) = default;
};

// The content pixel (x, y = 1..256) of the chart for `component` with the fixed third
// value `fixed` (hue, saturation or brightness in model units, or channel * 256).
TPixel ChartPixel(TQorvelColorComponent component, int fixed, int x, int y);
int ChartFixedValue(TQorvelColorComponent component, const TColorValues& values);

// The colour of bar row y (1..256) for `component`, the other values from `values`.
TPixel BarPixel(TQorvelColorComponent component, const TColorValues& values, int y);

// Areas a marker covers (and so must be repainted when it moves), for a content side.
TRect ChartMarkerArea(int posX, int posY, int contentSide = ColorSteps);
TRect BarMarkerArea(int pos, int clientWidth, int contentSide = ColorSteps);

// How a chart or bar paints besides its values. The frame's corners blend toward the
// parent colour, a system colour by default, so Resolve has to be set (the window passes
// the system's colour table); without it painting raises std::invalid_argument.
struct TColorsPaintStyle {
  bool WebSafe = false;
  const TQorvelColorFilter* DeviceFilter = nullptr;  // DeviceColorFilter of the screen
  TQorvelBoxControlLook Look = TQorvelBoxControlLook::pclRoundedRect;
  TColor ParentColor = clBtnFace;
  TColorResolver Resolve;
  const TMarkerImage* Marker = &CircleMarker();
};

// What a marker move asks the window to do.
struct TMarkerMove {
  bool Moved = false;
  TRect OldArea, NewArea;  // repaint both
};

// The rectangles to paint for a marker move: the bounding box of both areas when that is
// no larger than the two together (a small step of a drag), else the two areas apart,
// so that a jump across the chart never repaints everything in between.
struct TRepaintAreas {
  std::array<TRect, 2> Areas{};
  int Count = 0;
};
TRepaintAreas MarkerRepaintAreas(const TMarkerMove& move);

// The common part of chart and bar: component, values, web-safe display, drag state and
// the change events.
class TColorsControlModel {
 public:
  using TChangeHSBEvent = std::function<void(const TColorsControlModel&, int hue, int saturation, int brightness)>;
  using TChangeRGBEvent = std::function<void(const TColorsControlModel&, int red, int green, int blue)>;

  virtual ~TColorsControlModel() = default;

  TQorvelColorComponent Component() const { return FComponent; }
  const TColorValues& Values() const { return FValues; }
  bool WebSafe() const { return FWebSafe; }
  bool Dragging() const { return FDragging; }
  // The content's side in pixels (the chart's width and height, the bar's height), at
  // least 256; answers whether the whole control needs a repaint.
  int ContentSide() const { return FSide; }
  bool SetContentSide(int side);
  // The marker's side that goes with the content side.
  int MarkerSide() const { return MarkerSize * FSide / ColorSteps; }

  // Each answers whether the whole control needs a repaint.
  bool SetComponent(TQorvelColorComponent component);
  bool SetWebSafe(bool webSafe);
  // Stores the values, brings the other model in step and places the marker; no event.
  // Hue wraps, saturation and brightness are clamped to 0..65536, channels to 0..255.
  bool SetHSB(int hue, int saturation, int brightness);
  bool SetRGB(int red, int green, int blue);

  // Left button down at client (x, y): inside the content it starts a drag there.
  TMarkerMove MouseDown(int x, int y);
  // While dragging the marker follows, clamped to the content.
  TMarkerMove MouseMove(int x, int y);
  void MouseUp() { FDragging = false; }
  // The circle cursor shows while dragging or over the content.
  bool ShowsPickCursor(int x, int y) const { return FDragging || InContent(x, y); }

  TChangeHSBEvent OnChangeHSB;
  TChangeRGBEvent OnChangeRGB;

 protected:
  virtual void UpdatePosition() = 0;  // marker from the values
  virtual void UpdateValues() = 0;    // values from the marker
  virtual bool InContent(int x, int y) const = 0;
  // Moves the marker to the one under client (x, y), clamped; answers the areas.
  virtual TMarkerMove PlaceMarker(int x, int y) = 0;

  void ValuesFromHSB(const THSB& hsb);
  void ValuesFromRGB(const TRGB& rgb);
  const TQorvelColorFilter* ContentFilter(const TColorsPaintStyle& style) const;

  // The colour step (0..255) that content pixel `pixel` (1..FSide) shows.
  int StepAt(int pixel) const { return (pixel - 1) * ColorSteps / FSide; }

  TQorvelColorComponent FComponent = TQorvelColorComponent::pccHue;
  TColorValues FValues{{0, 0, 0}, {0, 0, 0}};
  int FSide = ColorSteps;
  bool FWebSafe = false;
  bool FDragging = false;

 private:
  TMarkerMove MarkerMoved(TMarkerMove move);
};

class TColorChartModel final : public TColorsControlModel {
 public:
  TColorChartModel() { UpdatePosition(); }
  int PosX() const { return FPosX; }
  int PosY() const { return FPosY; }
  // Paints the part of the chart the canvas covers.
  void Paint(const TBoxCanvas& canvas, const TColorsPaintStyle& style) const;

 protected:
  void UpdatePosition() override;
  void UpdateValues() override;
  bool InContent(int x, int y) const override;
  TMarkerMove PlaceMarker(int x, int y) override;

 private:
  int FPosX = 0, FPosY = 0;
};

class TColorBarModel final : public TColorsControlModel {
 public:
  explicit TColorBarModel(int clientWidth = 26) : FClientWidth(clientWidth) { UpdatePosition(); }
  int Pos() const { return FPos; }
  int ClientWidth() const { return FClientWidth; }
  void SetClientWidth(int width) { FClientWidth = width; }
  void Paint(const TBoxCanvas& canvas, const TColorsPaintStyle& style) const;

 protected:
  void UpdatePosition() override;
  void UpdateValues() override;
  bool InContent(int x, int y) const override;
  TMarkerMove PlaceMarker(int x, int y) override;

 private:
  int FClientWidth;
  int FPos = 0;
};
