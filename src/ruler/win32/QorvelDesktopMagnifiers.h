#pragma once
// The desktop magnifier on the screen: a child window that shows the screen around a
// target point enlarged, the same with a refresh timer that follows the mouse (the ruler
// embeds one), and a small floating window holding one (shared, for picking colours).
// What it shows and when is the portable core's; this layer captures the screen, draws the
// mouse cursor and the corner texts, and copies each frame to the window in one blit.

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "gui/Forms.h"
#include "gui/Handles.h"
#include "gui/Pixels.h"
#include "gui/Window.h"
#include "ruler/MagnifierGeometry.h"

class TQorvelCustomDesktopMagnifier : public TWindow {
 public:
  // The system's application-workspace colour (a system colour: high byte set).
  static constexpr TColor DefaultColor = 0xFF000000u | COLOR_APPWORKSPACE;

  // A visible child of `parent` at (0, 0), Zoom × 17 + 2 pixels square.
  explicit TQorvelCustomDesktopMagnifier(HWND parent);
  ~TQorvelCustomDesktopMagnifier() override;

  // Setters repaint only when the value changes.
  int Zoom() const { return FZoom; }
  void SetZoom(int zoom);  // clamped to MinMagnifierZoom..MaxMagnifierZoom
  TQorvelDesktopMagnifierOptions Options() const { return FOptions; }
  void SetOptions(TQorvelDesktopMagnifierOptions options);
  TQorvelDesktopMagnifierCrossHairs CrossHairs() const { return FCrossHairs; }
  void SetCrossHairs(TQorvelDesktopMagnifierCrossHairs crossHairs);
  // The pixels square a colour pick takes around the target: 3 and 5 are outlined.
  int SampleSize() const { return FSampleSize; }
  void SetSampleSize(int size);
  TQorvelDesktopMagnifierIndicator Indicator(TQorvelDesktopMagnifierCorner corner) const;
  void SetIndicator(TQorvelDesktopMagnifierCorner corner, TQorvelDesktopMagnifierIndicator indicator);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int width);  // clamped to 0..10
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor color);
  // Fills the part of the image where the magnifier itself would appear.
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(const std::wstring& caption);
  void SetVisible(bool visible);

  // Shows `screenPoint` from now on instead of following the mouse.
  void SetTarget(TPoint screenPoint);
  TPoint Target() const { return FTarget; }
  // The colour under the target at the last paint, or NoTargetColor.
  TColor TargetColor() const { return FTargetColor; }

  std::function<void()> OnTargetColorChange;  // after a paint that changed TargetColor
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;

 protected:
  virtual void MouseEnter();
  virtual void MouseLeave();
  // Composes one frame from the screen as it is now and copies it to `dc`.
  virtual void Paint(HDC dc);
  // Shows a frame for the mouse at `cursor` at once, when the magnifier is on the screen:
  // under Wine a paint message costs several server round trips more than drawing through
  // the window's DC, and a moving mouse asks for a frame at every tick.
  void PaintNow(POINT cursor);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  template <class T>
  void Change(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  void PaintFrame(HDC dc, const POINT* cursor);
  bool OnAnyMonitor(TPoint point);
  TColor CaptureAndFindTargetColor(const TMagnifierGeometry& geometry, const TRect& controlOnScreen);
  void DrawMouseCursor(const TMagnifierGeometry& geometry, POINT cursor);
  void DrawCornerTexts(int width, int height);

  int FZoom = DefaultMagnifierZoom;
  TQorvelDesktopMagnifierOptions FOptions{TQorvelDesktopMagnifierOption::pmoFollowCursor};
  TQorvelDesktopMagnifierCrossHairs FCrossHairs = TQorvelDesktopMagnifierCrossHairs::pmcOpenCross;
  int FSampleSize = 1;
  std::array<TQorvelDesktopMagnifierIndicator, MagnifierCornerCount> FIndicators{};
  int FBorderWidth = 1;
  TColor FBorderColor = 0;
  TColor FColor = DefaultColor;
  std::wstring FCaption;
  TPoint FTarget;
  TColor FTargetColor = NoTargetColor;
  // The monitor the last target lay on and when it was looked up: asking the system costs a
  // few server round trips under Wine at every frame, and the mouse rarely leaves a monitor.
  TRect FKnownMonitor;
  DWORD FKnownMonitorSince = 0;
  bool FMouseInside = false;
  TDibSurface FFrame;
  TDibSurface FCapture;
  TFontHandle FFont;
};

// The magnifier with its own refresh timer: it follows the mouse at the timer's pace and
// tells its owner on every refresh (the ruler samples the cursor then). The timer runs from
// construction to destruction, whether the magnifier is visible or not.
class TQorvelDesktopMagnifier : public TQorvelCustomDesktopMagnifier {
 public:
  explicit TQorvelDesktopMagnifier(HWND parent);

  int Interval() const { return FRefresh.Interval(); }
  void SetInterval(int milliseconds);  // clamped to 1..10000
  int IntervalForce() const { return FRefresh.IntervalForce(); }
  void SetIntervalForce(int milliseconds);  // never less than Interval

  std::function<void()> OnRefresh;  // on every refresh, before the repaint is requested
  // The mouse as the tick that fired OnRefresh read it; valid inside OnRefresh.
  POINT RefreshCursor() const { return FRefreshCursor; }

 private:
  void RestartTimer();
  void TimerTick();

  TMagnifierRefreshRule FRefresh;
  POINT FRefreshCursor{};
};

// A small borderless stay-on-top window filled by a magnifier, shown without activation
// next to a point (the colour box uses the shared one while the user picks a colour).
class TQorvelDesktopMagnifierForm : public TForm {
 public:
  TQorvelDesktopMagnifierForm();
  ~TQorvelDesktopMagnifierForm() override;

  TQorvelCustomDesktopMagnifier& Magnifier() { return *FMagnifier; }
  // Moves the window next to `anchor`, out of the way of `avoid` (the mouse), inside the
  // work area of the anchor's monitor; `initial` starts from the anchor.
  void Place(TPoint anchor, TPoint avoid, bool initial);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::unique_ptr<TQorvelCustomDesktopMagnifier> FMagnifier;
};

// The program's one floating magnifier, created on first use and freed at exit.
TQorvelDesktopMagnifierForm& SharedDesktopMagnifierForm();
