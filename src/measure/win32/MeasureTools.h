#pragma once
// The measure tool. It takes one still snapshot of every monitor and lays a topmost overlay
// over each, showing that snapshot with the measurements drawn on it: nothing moves under
// the user and the tool never measures itself. Spacing around the pointer, rectangles that
// may snap to their content, and lines with their angle; any of them can be pinned and
// copied. Escape or a right click ends it; every other window stays where it was.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/Handles.h"
#include "gui/Pixels.h"
#include "gui/Window.h"
#include "measure/Measurements.h"
#include "measure/OverlayComposition.h"
#include "settings/ApplicationSettings.h"

class TMeasureTool;

// One monitor's overlay: a borderless topmost window that turns input into the tool's calls
// and copies the composed frame to the screen.
class TMeasureOverlay : public TWindow {
 public:
  TMeasureOverlay(TMeasureTool& tool, const TRect& bounds);
  ~TMeasureOverlay() override;
  void Close() { DestroyHandle(); }
  // Tells screen readers, once the measurement has stopped changing for a moment.
  void AnnounceSoon();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::optional<TAccessibleTexts> AccessibleTexts() const override;

 private:
  TPoint DesktopPoint(LPARAM lParam) const;

  TMeasureTool& FTool;
  TRect FBounds;
};

class TMeasureTool {
 public:
  explicit TMeasureTool(TApplicationSettings& settings);
  ~TMeasureTool();
  TMeasureTool(const TMeasureTool&) = delete;
  TMeasureTool& operator=(const TMeasureTool&) = delete;

  // Takes the snapshot and shows the overlays, `delay` milliseconds from now (a menu that
  // just closed has to leave the screen first); brings them to the front when running.
  void Start(UINT delay = 0);
  // Ends the tool: the overlays go and the snapshot is released.
  void Stop();
  bool Running() const { return FRunning; }

  // The mode and tolerance of this run: they start from the settings, and the keys and the
  // wheel change them for the run only; the Measure page sets what a start begins with.
  TMeasureMode Mode() const { return FMode; }
  int Tolerance() const { return FTolerance; }
  // The current measurement's text ("300 × 120 px"), empty when there is none.
  std::wstring CurrentText() const;
  const std::optional<TPlacedMeasurement>& Current() const { return FCurrent; }
  const std::vector<TPlacedMeasurement>& Pins() const { return FPins; }

  // From the overlays, in desktop pixels.
  void PointerMoved(TPoint at);
  void ButtonDown(TPoint at);
  void ButtonUp(TPoint at);
  void WheelTurned(int delta);
  // Answers whether the key was the tool's.
  bool KeyDown(UINT key);
  void ModifiersChanged();
  void Paint(HDC dc, const TRect& bounds, const RECT& part);
  // The overlay that shows `at` (the first one when none does).
  TMeasureOverlay* OverlayAt(TPoint at) const;

 private:
  struct TMonitor;

  void Capture();
  void ShowOverlays();
  void Refresh();
  void SetMode(TMeasureMode mode);
  void MoveCursorBy(int dx, int dy);
  void Pin();
  void RemoveLastPin();
  void Copy(bool allPinned);
  void SetNote(const std::string& text);
  void ShowNote(const std::string& text);
  void Update();
  bool Remeasure();
  std::optional<TPlacedMeasurement> Measure(bool& nothingToSnap) const;
  TEdgeOptions EdgeOptions() const;
  TPlacedMeasurement Place(const TMeasurement& measurement) const;
  TMeasureUnit UnitOf(const TMeasurement& measurement) const;
  TMonitor* MonitorAt(TPoint at) const;
  TOverlayScene SceneOf(const TMonitor& monitor) const;
  std::vector<TRect> Strips() const;
  void Repaint(const std::vector<TRect>& strips);
  void ComposeAndShow(TMonitor& monitor, const std::vector<TRect>& parts);

  TApplicationSettings& FSettings;
  std::vector<std::unique_ptr<TMonitor>> FMonitors;
  // Overlays whose windows are gone; the objects wait for the next start, since the one
  // that ended the tool may still be in its message handler.
  std::vector<std::unique_ptr<TMeasureOverlay>> FRetired;
  bool FRunning = false;
  TMeasureMode FMode = TMeasureMode::Spacing;
  int FTolerance = 0;
  TPoint FCursor;
  bool FDragging = false;
  bool FDragMoved = false;
  TPoint FDragStart;
  // A dragged rectangle or line stays the current measurement after the button is released.
  std::optional<TMeasurement> FDragged;
  std::optional<TPlacedMeasurement> FCurrent;
  std::vector<TPlacedMeasurement> FPins;
  TRect FLoupe;  // where the magnifier is, on the monitor under the pointer
  // What the last paint drew that may change: the next paint repaints these strips too.
  std::vector<TRect> FShownStrips;
  std::string FNoteText;
  TRect FNote;
  DWORD FNoteUntil = 0;
};
