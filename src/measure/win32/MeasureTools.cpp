#include "measure/win32/MeasureTools.h"

#include <windowsx.h>

#include <algorithm>

#include "gui/Application.h"
#include "gui/Clipboard.h"
#include "gui/Dpi.h"
#include "gui/Monitors.h"
#include "gui/Pixels.h"
#include "measure/MeasureKeys.h"
#include "ruler/QorvelColorUtils.h"
#include "ruler/RulerSettings.h"
#include "ruler/win32/MonitorResolutions.h"

namespace {

constexpr wchar_t OverlayClass[] = L"TVindleMeasureOverlay";
constexpr UINT_PTR StartTimer = 1;
constexpr UINT_PTR NoteTimer = 2;
constexpr UINT_PTR AnnounceTimer = 3;
constexpr UINT_PTR RefreshTimer = 4;
constexpr DWORD NoteMilliseconds = 1500;
// Long enough for the windows under the overlays to repaint before the new snapshot.
constexpr UINT RefreshDelay = 200;
constexpr int ToleranceStep = 5;

// The unit a measurement on this monitor is quoted in, found exactly as the ruler finds its
// own: measured or calibrated resolution when asked for, else the monitor's logical one.
TMeasureUnit UnitOfMonitor(const TApplicationSettings& settings, const TRect& bounds) {
  const TParameterSettings& parameters = *settings.Parameters;
  const int logical = PixelsPerInchOfMonitorAt(bounds, nullptr);
  TMeasuredResolution measured;
  if (parameters.MeasuredDPI) measured = MeasuredResolutionOfMonitorAt(bounds, parameters.Calibrations);
  const TResolution screen = measured.Known() ? measured.PixelsPerInch : TResolution(logical);
  const TUnitResolution resolution = UnitResolutionFor(settings, screen, logical);
  return {CurrentConfiguration(settings).Ruler->Scales->ScaleUnit, resolution.PixelsPerInch, resolution.LogicalPixels};
}

// The label font: the system's message font at the monitor's DPI.
TFontHandle LabelFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  if (font.lfHeight == 0) font.lfHeight = -12;
  font.lfHeight = ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  font.lfWeight = FW_SEMIBOLD;
  return TFontHandle(::CreateFontIndirectW(&font));
}

TRect Offset(const TRect& r, TPoint by) { return {r.Left - by.X, r.Top - by.Y, r.Right - by.X, r.Bottom - by.Y}; }

bool KeyHeld(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

}  // namespace

// ---- one monitor -----------------------------------------------------------------------

struct TMeasureTool::TMonitor {
  TRect Bounds;
  TMeasureUnit Unit;
  TDibSurface Snapshot;
  TDibSurface Frame;
  TFontHandle Font;
  std::optional<TSelectScope> FontSelected;
  std::unique_ptr<TMeasureOverlay> Overlay;

  TPoint Origin() const { return {Bounds.Left, Bounds.Top}; }
  ~TMonitor() { FontSelected.reset(); }
};

// ---- the overlay window ----------------------------------------------------------------

TMeasureOverlay::TMeasureOverlay(TMeasureTool& tool, const TRect& bounds) : FTool(tool), FBounds(bounds) {
  TCreateParams params;
  params.ClassName = OverlayClass;
  params.Cursor = ::LoadCursorW(nullptr, IDC_CROSS);
  params.Style = WS_POPUP;
  // A tool window: no taskbar button and no Alt+Tab entry for a passing overlay.
  params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  params.Caption = L"Measure";
  params.Place(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  CreateHandle(params);
}

TMeasureOverlay::~TMeasureOverlay() { DestroyHandle(); }

TPoint TMeasureOverlay::DesktopPoint(LPARAM lParam) const {
  return {FBounds.Left + GET_X_LPARAM(lParam), FBounds.Top + GET_Y_LPARAM(lParam)};
}

void TMeasureOverlay::AnnounceSoon() {
  StartTimer(AnnounceTimer, 400, [this] {
    StopTimer(AnnounceTimer);
    AccessibleTextsChanged();
  });
}

std::optional<TAccessibleTexts> TMeasureOverlay::AccessibleTexts() const {
  TAccessibleTexts texts;
  texts.Name = L"Measure";
  texts.Value = FTool.CurrentText();
  texts.Description = Widen(std::string(MeasureModeName(FTool.Mode()))) +
                      L". Tab changes the mode, Enter pins, Ctrl+C copies, Escape ends.";
  texts.Role = ROLE_SYSTEM_GRAPHIC;
  return texts;
}

LRESULT TMeasureOverlay::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      TPaintScope paint(Handle());
      FTool.Paint(paint.DC(), FBounds, paint.Invalid());
      return 0;
    }
    case WM_MOUSEMOVE: FTool.PointerMoved(DesktopPoint(lParam)); return 0;
    case WM_LBUTTONDOWN:
      ::SetCapture(Handle());
      FTool.ButtonDown(DesktopPoint(lParam));
      return 0;
    case WM_LBUTTONUP:
      if (::GetCapture() == Handle()) ::ReleaseCapture();
      FTool.ButtonUp(DesktopPoint(lParam));
      return 0;
    case WM_RBUTTONUP: FTool.Stop(); return 0;
    case WM_MOUSEWHEEL: FTool.WheelTurned(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (wParam == VK_SHIFT || wParam == VK_CONTROL || wParam == VK_MENU) {
        FTool.ModifiersChanged();
        return 0;  // Alt alone would otherwise enter the menu loop of a window that has none
      }
      if (FTool.KeyDown(static_cast<UINT>(wParam))) return 0;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (wParam == VK_SHIFT || wParam == VK_CONTROL || wParam == VK_MENU) {
        FTool.ModifiersChanged();
        return 0;
      }
      break;
    case WM_SYSCHAR: return 0;  // no beep for Alt+letter
    case WM_DISPLAYCHANGE:
      // The snapshot no longer matches the monitors: a measurement on it would be wrong.
      FTool.Stop();
      break;
    default: break;
  }
  return DefaultHandler(message, wParam, lParam);
}

// ---- the tool --------------------------------------------------------------------------

TMeasureTool::TMeasureTool(TApplicationSettings& settings) : FSettings(settings) {}

TMeasureTool::~TMeasureTool() { Stop(); }

void TMeasureTool::Start(UINT delay) {
  if (FRunning) {
    if (TMeasureOverlay* overlay = OverlayAt(FCursor)) ::SetForegroundWindow(overlay->Handle());
    return;
  }
  FRetired.clear();
  FRunning = true;
  FMode = MeasureModeFromIndex(FSettings.Measure->Mode);
  FTolerance = EdgeOptionsOf(*FSettings.Measure).Tolerance;
  FPins.clear();
  FDragged.reset();
  FCurrent.reset();
  FDragging = false;
  for (const TDisplayMonitor& display : DisplayMonitors()) {
    auto monitor = std::make_unique<TMonitor>();
    monitor->Bounds = display.Bounds;
    monitor->Unit = UnitOfMonitor(FSettings, display.Bounds);
    monitor->Snapshot.Resize(display.Bounds.Width(), display.Bounds.Height());
    monitor->Frame.Resize(display.Bounds.Width(), display.Bounds.Height());
    const UINT dpi = MonitorDpi(display.Handle);
    monitor->Font = LabelFont(dpi ? dpi : SystemDpi());
    monitor->FontSelected.emplace(monitor->Frame.DC(), monitor->Font.Get());
    ::SetBkMode(monitor->Frame.DC(), TRANSPARENT);
    monitor->Overlay = std::make_unique<TMeasureOverlay>(*this, display.Bounds);
    FMonitors.push_back(std::move(monitor));
  }
  if (FMonitors.empty()) {
    FRunning = false;
    return;
  }
  if (delay == 0) {
    ShowOverlays();
    return;
  }
  TMeasureOverlay& first = *FMonitors.front()->Overlay;
  first.StartTimer(StartTimer, delay, [this, &first] {
    first.StopTimer(StartTimer);
    ShowOverlays();
  });
}

void TMeasureTool::ShowOverlays() {
  Capture();
  POINT cursor{};
  ::GetCursorPos(&cursor);
  FCursor = {cursor.x, cursor.y};
  Remeasure();
  FShownStrips = Strips();
  for (const auto& monitor : FMonitors) {
    ComposeAndShow(*monitor, {monitor->Bounds});
    ::ShowWindow(monitor->Overlay->Handle(), SW_SHOWNA);
  }
  // The keyboard goes to the overlay under the pointer: arrows, Tab, Enter and Escape are
  // the tool's. The hotkey or the menu that started it lets this process take the foreground.
  if (TMeasureOverlay* overlay = OverlayAt(FCursor)) {
    ::SetForegroundWindow(overlay->Handle());
    ::SetFocus(overlay->Handle());
  }
  ShowNote(std::string(MeasureModeName(FMode)) + ", tolerance " + std::to_string(FTolerance) +
           "  \xC2\xB7  Tab: mode, wheel: tolerance, Enter: pin, Ctrl+C: copy, Esc: end");
}

void TMeasureTool::Capture() {
  TWindowDC screen(nullptr);
  for (const auto& monitor : FMonitors) {
    // CAPTUREBLT takes layered windows too (a translucent ruler), as the user sees them.
    ::BitBlt(monitor->Snapshot.DC(), 0, 0, monitor->Bounds.Width(), monitor->Bounds.Height(), screen.Get(),
             monitor->Bounds.Left, monitor->Bounds.Top, SRCCOPY | CAPTUREBLT);
  }
  ::GdiFlush();
}

void TMeasureTool::Refresh() {
  // The overlays step aside so that the new snapshot shows the screen, not themselves.
  for (const auto& monitor : FMonitors) ::ShowWindow(monitor->Overlay->Handle(), SW_HIDE);
  TMeasureOverlay& first = *FMonitors.front()->Overlay;
  first.StartTimer(RefreshTimer, RefreshDelay, [this, &first] {
    first.StopTimer(RefreshTimer);
    ShowOverlays();
  });
}

void TMeasureTool::Stop() {
  if (!FRunning) return;
  FRunning = false;
  for (const auto& monitor : FMonitors) {
    monitor->Overlay->Close();
    FRetired.push_back(std::move(monitor->Overlay));
  }
  FMonitors.clear();
  FPins.clear();
  FCurrent.reset();
  FDragged.reset();
  FShownStrips.clear();
  FNote = {};
  FNoteText.clear();
}

std::wstring TMeasureTool::CurrentText() const { return FCurrent ? Widen(FCurrent->Text) : std::wstring(); }

TMeasureOverlay* TMeasureTool::OverlayAt(TPoint at) const {
  TMonitor* monitor = MonitorAt(at);
  return monitor ? monitor->Overlay.get() : nullptr;
}

TMeasureTool::TMonitor* TMeasureTool::MonitorAt(TPoint at) const {
  for (const auto& monitor : FMonitors)
    if (monitor->Bounds.Contains(at)) return monitor.get();
  return FMonitors.empty() ? nullptr : FMonitors.front().get();
}

// ---- measuring -------------------------------------------------------------------------

TMeasureUnit TMeasureTool::UnitOf(const TMeasurement& m) const {
  TRect extent = m.Box;
  if (m.Mode == TMeasureMode::Line) {
    const TPoint end = LineEnd(m);
    extent = {std::min(m.From.X, end.X), std::min(m.From.Y, end.Y), std::max(m.From.X, end.X) + 1,
              std::max(m.From.Y, end.Y) + 1};
  }
  for (const auto& monitor : FMonitors)
    if (IntersectRect(extent, monitor->Bounds) == extent) return monitor->Unit;
  // Across monitors no one resolution holds: device pixels.
  return {};
}

TEdgeOptions TMeasureTool::EdgeOptions() const {
  TEdgeOptions options = EdgeOptionsOf(*FSettings.Measure);
  options.Tolerance = FTolerance;
  return options;
}

// The measurement under the pointer or being dragged; `nothingToSnap` tells when a rectangle
// asked to snap found no content and stays as dragged.
std::optional<TPlacedMeasurement> TMeasureTool::Measure(bool& nothingToSnap) const {
  nothingToSnap = false;
  if (FDragging && FDragMoved) {
    TMeasurement m;
    m.From = FDragStart;
    if (FMode == TMeasureMode::Line) {
      m.Mode = TMeasureMode::Line;
      m.To = FCursor;
      m.AngleSnapped = KeyHeld(VK_SHIFT);
    } else {
      m.Mode = TMeasureMode::Bounds;
      m.Box = {std::min(FDragStart.X, FCursor.X), std::min(FDragStart.Y, FCursor.Y),
               std::max(FDragStart.X, FCursor.X) + 1, std::max(FDragStart.Y, FCursor.Y) + 1};
      const TMonitor* monitor = MonitorAt(FDragStart);
      const bool snap = FSettings.Measure->SnapBounds != KeyHeld(VK_MENU);
      if (snap && monitor && IntersectRect(m.Box, monitor->Bounds) == m.Box) {
        const std::optional<TRect> snapped =
            SnapToContent(monitor->Snapshot.View(), Offset(m.Box, monitor->Origin()), EdgeOptions());
        if (snapped)
          m.Box = Offset(*snapped, {-monitor->Origin().X, -monitor->Origin().Y});
        else
          nothingToSnap = true;
      }
    }
    return Place(m);
  }
  if (FDragged) return Place(*FDragged);
  if (FMode != TMeasureMode::Spacing) return std::nullopt;
  const TMonitor* monitor = MonitorAt(FCursor);
  if (!monitor || !monitor->Bounds.Contains(FCursor)) return std::nullopt;
  TMeasurement m;
  m.From = FCursor;
  const TPoint origin = monitor->Origin();
  m.Box = Offset(FindEdges(monitor->Snapshot.View(), {FCursor.X - origin.X, FCursor.Y - origin.Y}, EdgeOptions()),
                 {-origin.X, -origin.Y});
  // Shift keeps the horizontal span alone, Ctrl the vertical one.
  const bool shift = KeyHeld(VK_SHIFT), control = KeyHeld(VK_CONTROL);
  if (shift != control) {
    m.Horizontal = shift;
    m.Vertical = control;
  }
  return Place(m);
}

TPlacedMeasurement TMeasureTool::Place(const TMeasurement& measurement) const {
  TPlacedMeasurement placed;
  placed.Measurement = measurement;
  placed.Text = MeasurementLabelText(measurement, UnitOf(measurement));
  const TPoint anchor = LabelAnchor(measurement);
  if (const TMonitor* monitor = MonitorAt(anchor)) {
    const std::wstring text = Widen(placed.Text);
    SIZE size{};
    ::GetTextExtentPoint32W(monitor->Frame.DC(), text.c_str(), static_cast<int>(text.size()), &size);
    // Clear of the pins' labels, which never move once pinned.
    std::vector<TRect> pinLabels;
    for (const TPlacedMeasurement& pin : FPins) pinLabels.push_back(pin.Label);
    placed.Label = PlaceLabel(anchor, size.cx, size.cy, monitor->Bounds, pinLabels);
  }
  return placed;
}

// The current measurement and the magnifier for the pointer as it is now; answers whether a
// rectangle found nothing to snap to.
bool TMeasureTool::Remeasure() {
  bool nothingToSnap = false;
  FCurrent = Measure(nothingToSnap);
  const TMonitor* monitor = MonitorAt(FCursor);
  FLoupe = monitor
               ? PlaceLoupe(FCursor, monitor->Bounds, LoupeObstacles(FCursor, FCurrent ? &*FCurrent : nullptr, FPins))
               : TRect{};
  return nothingToSnap;
}

void TMeasureTool::Update() {
  if (!FRunning) return;
  if (Remeasure()) SetNote("Nothing to snap to: the rectangle as dragged");
  std::vector<TRect> strips = Strips();
  std::swap(strips, FShownStrips);
  strips.insert(strips.end(), FShownStrips.begin(), FShownStrips.end());
  Repaint(strips);
  if (TMeasureOverlay* overlay = OverlayAt(FCursor)) overlay->AnnounceSoon();
}

std::vector<TRect> TMeasureTool::Strips() const {
  std::vector<TRect> strips;
  if (FCurrent) strips = MeasurementStrips(*FCurrent);
  if (!FLoupe.Empty()) strips.push_back(FLoupe);
  if (!FNote.Empty()) strips.push_back(FNote);
  return strips;
}

// ---- input -----------------------------------------------------------------------------

void TMeasureTool::PointerMoved(TPoint at) {
  if (at == FCursor) return;
  FCursor = at;
  if (FDragging && !FDragMoved) FDragMoved = std::max(std::abs(at.X - FDragStart.X), std::abs(at.Y - FDragStart.Y)) > 2;
  // In spacing mode a kept rectangle gives way to the spacing under the pointer again.
  if (!FDragging && FMode == TMeasureMode::Spacing) FDragged.reset();
  Update();
}

void TMeasureTool::ButtonDown(TPoint at) {
  FCursor = at;
  FDragging = true;
  FDragMoved = false;
  FDragStart = at;
}

void TMeasureTool::ButtonUp(TPoint at) {
  if (!FDragging) return;
  FCursor = at;
  const bool moved = FDragMoved;
  if (moved) {
    bool nothingToSnap = false;  // already said while dragging
    const std::optional<TPlacedMeasurement> dragged = Measure(nothingToSnap);
    FDragged = dragged ? std::optional(dragged->Measurement) : std::nullopt;
  }
  FDragging = false;
  if (!moved) Pin();  // a click keeps what is shown
  Update();
}

void TMeasureTool::WheelTurned(int delta) {
  FTolerance = std::clamp(FTolerance + (delta > 0 ? ToleranceStep : -ToleranceStep), 0, TMeasureSettings::MaxTolerance);
  ShowNote("Tolerance " + std::to_string(FTolerance));
}

void TMeasureTool::ModifiersChanged() { Update(); }

bool TMeasureTool::KeyDown(UINT key) {
  const TMeasureKeyAction action =
      MeasureKeyAction(static_cast<int>(key), KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL), FMode);
  switch (action.Command) {
    case TMeasureCommand::None: return false;
    case TMeasureCommand::End: Stop(); break;
    case TMeasureCommand::MovePointer: MoveCursorBy(action.Offset.X, action.Offset.Y); break;
    case TMeasureCommand::Pin: Pin(); break;
    case TMeasureCommand::RemoveLastPin: RemoveLastPin(); break;
    case TMeasureCommand::Refresh: Refresh(); break;
    case TMeasureCommand::ChangeMode: SetMode(action.Mode); break;
    case TMeasureCommand::Copy: Copy(false); break;
    case TMeasureCommand::CopyAllPinned: Copy(true); break;
  }
  return true;
}

void TMeasureTool::SetMode(TMeasureMode mode) {
  FMode = mode;
  FDragged.reset();
  ShowNote(MeasureModeName(mode));
}

void TMeasureTool::MoveCursorBy(int dx, int dy) {
  // The pointer moves too, so that mouse and keyboard always agree; the move it causes
  // arrives at the same point and changes nothing more.
  const TPoint at{FCursor.X + dx, FCursor.Y + dy};
  ::SetCursorPos(at.X, at.Y);
  PointerMoved(at);
}

void TMeasureTool::Pin() {
  if (!FCurrent) return;
  FPins.push_back(*FCurrent);
  Repaint(MeasurementStrips(FPins.back()));
  Update();  // the live label steps aside from the new pin's
}

void TMeasureTool::RemoveLastPin() {
  if (FPins.empty()) return;
  const std::vector<TRect> strips = MeasurementStrips(FPins.back());
  FPins.pop_back();
  Repaint(strips);
  Update();
}

void TMeasureTool::Copy(bool allPinned) {
  std::wstring text;
  if (allPinned) {
    for (const TPlacedMeasurement& pin : FPins) text += (text.empty() ? L"" : L"\r\n") + Widen(pin.Text);
  } else if (FCurrent) {
    // The Ctrl of Ctrl+C is no choice of the vertical span: what was shown before it is copied.
    TMeasurement copied = FCurrent->Measurement;
    if (copied.Mode == TMeasureMode::Spacing && !copied.Horizontal) copied.Horizontal = copied.Vertical = true;
    text = Widen(MeasurementLabelText(copied, UnitOf(copied)));
  }
  if (text.empty()) {
    ShowNote(allPinned ? "Nothing pinned to copy" : "Nothing to copy");
    return;
  }
  const HWND owner = FMonitors.empty() ? nullptr : FMonitors.front()->Overlay->Handle();
  if (!PutClipboardText(owner, text)) {
    ShowNote("The clipboard is in use by another program");
    return;
  }
  ShowNote(allPinned ? "Copied " + std::to_string(FPins.size()) + (FPins.size() == 1 ? " measurement" : " measurements")
                     : "Copied " + Narrow(text));
}

void TMeasureTool::ShowNote(const std::string& text) {
  SetNote(text);
  Update();
}

// The note for a while, shown by the next update.
void TMeasureTool::SetNote(const std::string& text) {
  TMonitor* monitor = MonitorAt(FCursor);
  if (!monitor) return;
  FNoteText = text;
  const std::wstring wide = Widen(text);
  SIZE size{};
  ::GetTextExtentPoint32W(monitor->Frame.DC(), wide.c_str(), static_cast<int>(wide.size()), &size);
  const int width = size.cx + 4 * LabelPaddingX, height = size.cy + 4 * LabelPaddingY;
  const int left = monitor->Bounds.Left + (monitor->Bounds.Width() - width) / 2, top = monitor->Bounds.Top + 16;
  FNote = {left, top, left + width, top + height};
  monitor->Overlay->StartTimer(NoteTimer, NoteMilliseconds, [this, overlay = monitor->Overlay.get()] {
    overlay->StopTimer(NoteTimer);
    FNote = {};
    FNoteText.clear();
    Update();
  });
}

// ---- painting --------------------------------------------------------------------------

TOverlayScene TMeasureTool::SceneOf(const TMonitor& monitor) const {
  TOverlayScene scene;
  scene.Snapshot = monitor.Snapshot.View();
  scene.Origin = monitor.Origin();
  scene.Pins = &FPins;
  scene.Current = FCurrent ? &*FCurrent : nullptr;
  scene.ShowLoupe = monitor.Bounds.Contains(FCursor);
  scene.Cursor = FCursor;
  scene.Loupe = FLoupe;
  scene.Note = FNote;
  const TMeasureSettings& settings = *FSettings.Measure;
  scene.Look = {ColorToPixel(settings.LineColor), ColorToPixel(settings.LabelText),
                ColorToPixel(settings.LabelBackground)};
  return scene;
}

void TMeasureTool::Repaint(const std::vector<TRect>& strips) {
  for (const auto& monitor : FMonitors) {
    std::vector<TRect> parts;
    for (const TRect& strip : strips)
      if (const TRect part = IntersectRect(strip, monitor->Bounds); !part.Empty()) parts.push_back(part);
    if (!parts.empty()) ComposeAndShow(*monitor, parts);
  }
}

void TMeasureTool::ComposeAndShow(TMonitor& monitor, const std::vector<TRect>& parts) {
  ::GdiFlush();  // GDI may still be writing the texts of the last composition
  const TOverlayScene scene = SceneOf(monitor);
  const HDC dc = monitor.Frame.DC();
  const TPoint origin = monitor.Origin();
  const TColor labelText = FSettings.Measure->LabelText;
  for (const TRect& part : parts) {
    ComposeOverlay(monitor.Frame.View(), scene, part);
    const RECT clip = ToRect(Offset(part, origin));
    const auto text = [&](const std::string& utf8, const TRect& box, TColor color) {
      if (IntersectRect(box, part).Empty()) return;
      const std::wstring wide = Widen(utf8);
      RECT r = ToRect(Offset(box, origin));
      ::SetTextColor(dc, color);
      ::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
      ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      ::SelectClipRgn(dc, nullptr);
    };
    for (const TPlacedMeasurement& pin : FPins) text(pin.Text, pin.Label, labelText);
    if (FCurrent) text(FCurrent->Text, FCurrent->Label, labelText);
    if (!FNote.Empty()) text(FNoteText, FNote, RGB(255, 255, 255));
    ::GdiFlush();  // the next part's pixels are written directly
  }
  if (!monitor.Overlay->Visible()) return;
  // One device context for every part of this change.
  TWindowDC window(monitor.Overlay->Handle());
  for (const TRect& part : parts) {
    const RECT clip = ToRect(Offset(part, origin));
    ::BitBlt(window.Get(), clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, dc, clip.left, clip.top,
             SRCCOPY);
  }
}

void TMeasureTool::Paint(HDC dc, const TRect& bounds, const RECT& part) {
  for (const auto& monitor : FMonitors) {
    if (monitor->Bounds == bounds)
      ::BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, monitor->Frame.DC(), part.left,
               part.top, SRCCOPY);
  }
}
