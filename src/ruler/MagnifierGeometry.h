#pragma once
// The desktop magnifier's arithmetic, free of any window: which screen pixels it shows and
// where they land, the composition of one frame from captured pixels, its crosshairs,
// border and corner texts, the rule that decides when its timer refreshes, and where the
// floating magnifier window goes next to a point. The Win32 layer captures the screen,
// draws what needs the system (the mouse cursor, texts) and copies the frame to the window.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/PixelBuffers.h"
#include "base/QorvelTypes.h"

enum class TQorvelDesktopMagnifierOption { pmoFollowCursor, pmoDrawCursor, pmoInvertColors };
using TQorvelDesktopMagnifierOptions = TQorvelSet<TQorvelDesktopMagnifierOption>;

enum class TQorvelDesktopMagnifierCrossHairs { pmcNone, pmcOpenCross, pmcContinuousCross, pmcSmallCross };

enum class TQorvelDesktopMagnifierIndicator { pmiNone, pmiCaption, pmiCursorPos, pmiHexCode, pmiZoom };

// The four corners that can carry a text, in their index order 0 to 3.
enum class TQorvelDesktopMagnifierCorner { TopLeft, TopRight, BottomLeft, BottomRight };
inline constexpr int MagnifierCornerCount = 4;

// The target colour while there is none: before the first paint, and while the target
// lies on the magnifier itself (or on no screen at all). Not a valid colour.
inline constexpr TColor NoTargetColor = 0x1FFFFFFFu;

inline constexpr int DefaultMagnifierZoom = 5;
// A zoom below 1 has no meaning; far above any useful one, the image arithmetic would
// leave the int range for points far out on a large desktop.
inline constexpr int MinMagnifierZoom = 1;
inline constexpr int MaxMagnifierZoom = 100;
inline constexpr int MaxMagnifierBorderWidth = 10;
// Screen pixels across a magnifier of the default size (Zoom × 17 + 2 pixels square).
inline constexpr int DefaultMagnifierSpan = 17;

int ClampMagnifierZoom(int zoom);
int ClampMagnifierBorderWidth(int width);
// The crosshair style stored as an integer (0 none, 1 open, 2 continuous, 3 small);
// anything else draws none.
TQorvelDesktopMagnifierCrossHairs CrossHairsFromIndex(int index);

// ---- geometry -------------------------------------------------------------------------

struct TMagnifierGeometry {
  int Columns = 1;          // screen pixels shown across: odd, so the target is the middle one
  int Rows = 1;             // and down
  TRect Source;             // those pixels, screen coordinates
  TRect Image;              // where they land enlarged, control coordinates; centred on the
                            // control and cropped evenly when larger than it
  bool ShowsImage = false;  // only a control larger than twice its border shows an image
  friend bool operator==(const TMagnifierGeometry&, const TMagnifierGeometry&) = default;
};

TMagnifierGeometry MagnifierGeometry(int width, int height, int zoom, int borderWidth, TPoint target);

// Where a screen point appears in the control (the top-left corner of its square).
TPoint ScreenToMagnified(const TMagnifierGeometry& geometry, int zoom, TPoint screen);

// ---- one frame ------------------------------------------------------------------------

struct TMagnifierFrameInput {
  int Width = 0;
  int Height = 0;
  int Zoom = DefaultMagnifierZoom;
  int BorderWidth = 1;
  TPoint Target;          // screen coordinates
  TRect ControlOnScreen;  // the control's client area, screen coordinates
  TQorvelDesktopMagnifierCrossHairs CrossHairs = TQorvelDesktopMagnifierCrossHairs::pmcOpenCross;
  bool InvertColors = false;
  TPixel Border = 0;  // border, crosshairs and texts
  TPixel Fill = 0;    // stands in for the magnifier's own image, and fills a control
                      // too small for an image
  int SampleSize = 1;  // pixels square a colour pick takes around the target (marked when 3 or 5)
};

// The first half of a frame: the captured pixels enlarged (inverted when asked), and the
// part of the image where the control itself would appear filled with `Fill`, so that
// the magnifier never shows itself shown again and again. `capture` holds the geometry's
// Source pixels; `frame` is Width × Height.
void ComposeMagnifiedImage(const TPixelView& frame, const TMagnifierFrameInput& input, const TPixelView& capture);

// The second half, drawn over whatever came in between (cursor, texts): crosshairs, then
// the border.
void DrawMagnifierOverlay(const TPixelView& frame, const TMagnifierFrameInput& input);

// The rectangle of the control's own client area (inside the border) within the image.
TRect OwnImageRect(const TMagnifierGeometry& geometry, const TMagnifierFrameInput& input);

// The crosshair strokes as pixel rectangles, one pixel wide, through the middle of the
// target's square. The open cross leaves that square free; arms that would not fit
// between the square and the border are left out.
std::vector<TRect> CrossHairRects(TQorvelDesktopMagnifierCrossHairs style, int width, int height, int borderWidth,
                                  int zoom);

// The outline around the screen pixels a colour pick samples, `sampleSize` (3 or 5) square
// around the target, drawn just outside them and kept inside the border. None for any other
// size: a single pixel is the crosshairs' target square.
std::vector<TRect> SampledSquareRects(int width, int height, int borderWidth, int zoom, int sampleSize);

// ---- corner texts ---------------------------------------------------------------------

// What a corner shows. `targetColor` is an ordinary colour or NoTargetColor.
std::wstring MagnifierIndicatorText(TQorvelDesktopMagnifierIndicator indicator, const std::wstring& caption,
                                    TPoint target, TColor targetColor, int zoom);

// The top-left of a text of the given extent in a corner, just inside the border.
TPoint CornerTextOrigin(TQorvelDesktopMagnifierCorner corner, int width, int height, int borderWidth, int textWidth,
                        int textHeight);

// ---- refresh rule ---------------------------------------------------------------------

// When the refresh timer repaints: on every tick while the cursor moves, once more on the
// tick after it stopped, and otherwise every IntervalForce milliseconds, so that a still
// cursor over a changing screen is still seen.
class TMagnifierRefreshRule {
 public:
  static constexpr int DefaultInterval = 50;
  static constexpr int DefaultIntervalForce = 500;
  static constexpr int MinInterval = 1;
  static constexpr int MaxInterval = 10000;

  int Interval() const { return FInterval; }
  int IntervalForce() const { return FIntervalForce; }
  // Clamped to MinInterval..MaxInterval; IntervalForce is raised to it when smaller.
  // Answers whether the period changed, so that the caller restarts its timer.
  bool SetInterval(int milliseconds);
  // Never less than Interval.
  void SetIntervalForce(int milliseconds);

  // One timer tick at tick count `now`: whether to refresh. `target` is the point the last
  // paint showed. Tick counts wrap after 49.7 days; the elapsed time survives that.
  bool Tick(TPoint cursor, TPoint target, std::uint32_t now);

 private:
  int FInterval = DefaultInterval;
  int FIntervalForce = DefaultIntervalForce;
  std::optional<std::uint32_t> FLastRefresh;
  bool FMoved = false;
};

// ---- the floating magnifier window ----------------------------------------------------

// Where the floating magnifier goes: 16 pixels off `anchor` on the side away from `avoid`
// (the mouse), kept 8 pixels inside `workArea` where the anchor allows. `window` is the
// window's current rectangle; `initial` starts from the anchor instead of from there.
// Answers the new top-left corner.
TPoint PlaceMagnifierWindow(const TRect& window, TPoint anchor, TPoint avoid, bool initial, const TRect& workArea);
