#include "ruler/win32/QorvelDesktopMagnifiers.h"

#include "gui/Pixels.h"
#include "ruler/QorvelColorUtils.h"

namespace {

constexpr UINT_PTR RefreshTimer = 1;
constexpr wchar_t MagnifierClass[] = L"TQorvelDesktopMagnifier";
constexpr wchar_t MagnifierFormClass[] = L"TQorvelDesktopMagnifierForm";

TColor Resolve(TColor color) {
  if (!IsSystemColor(color)) return color;
  return static_cast<TColor>(::GetSysColor(static_cast<int>(color & 0xFFu)));
}

TPixel ResolvedPixel(TColor color) { return ColorToPixel(Resolve(color)); }

// Attaches this thread's input to another thread's for one scope, so that GetCursor reads
// that thread's cursor; detaches in every case.
class TAttachedInput {
 public:
  TAttachedInput(DWORD self, DWORD other)
      : FSelf(self), FOther(other), FAttached(::AttachThreadInput(self, other, TRUE) != FALSE) {}
  ~TAttachedInput() {
    if (FAttached) ::AttachThreadInput(FSelf, FOther, FALSE);
  }
  TAttachedInput(const TAttachedInput&) = delete;
  TAttachedInput& operator=(const TAttachedInput&) = delete;
  bool Attached() const { return FAttached; }

 private:
  DWORD FSelf, FOther;
  bool FAttached;
};

// The cursor the window under the mouse shows.
HCURSOR CursorUnderMouse(POINT cursor) {
  const DWORD self = ::GetCurrentThreadId();
  const HWND window = ::WindowFromPoint(cursor);
  const DWORD owner = window ? ::GetWindowThreadProcessId(window, nullptr) : 0;
  if (owner != 0 && owner != self) {
    TAttachedInput attached(self, owner);
    if (attached.Attached()) return ::GetCursor();
    // Another desktop or a more privileged process: ask for the global cursor instead.
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    return ::GetCursorInfo(&info) && (info.flags & CURSOR_SHOWING) ? info.hCursor : nullptr;
  }
  return ::GetCursor();
}

}  // namespace

// ---- magnifier ---------------------------------------------------------------------------

TQorvelCustomDesktopMagnifier::TQorvelCustomDesktopMagnifier(HWND parent) {
  const int side = DefaultMagnifierZoom * DefaultMagnifierSpan + 2;
  CreateHandle(
      TCreateParams::Child(parent, MagnifierClass, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, {0, 0, side, side}));
  // The font a fresh bitmap's canvas writes with, which the corner texts keep.
  FFont.Reset(::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
}

TQorvelCustomDesktopMagnifier::~TQorvelCustomDesktopMagnifier() = default;

void TQorvelCustomDesktopMagnifier::SetZoom(int zoom) { Change(FZoom, ClampMagnifierZoom(zoom)); }

void TQorvelCustomDesktopMagnifier::SetOptions(TQorvelDesktopMagnifierOptions options) { Change(FOptions, options); }

void TQorvelCustomDesktopMagnifier::SetCrossHairs(TQorvelDesktopMagnifierCrossHairs crossHairs) {
  Change(FCrossHairs, crossHairs);
}

void TQorvelCustomDesktopMagnifier::SetSampleSize(int size) { Change(FSampleSize, size); }

TQorvelDesktopMagnifierIndicator TQorvelCustomDesktopMagnifier::Indicator(TQorvelDesktopMagnifierCorner corner) const {
  return FIndicators[static_cast<std::size_t>(corner)];
}

void TQorvelCustomDesktopMagnifier::SetIndicator(TQorvelDesktopMagnifierCorner corner,
                                                 TQorvelDesktopMagnifierIndicator indicator) {
  Change(FIndicators[static_cast<std::size_t>(corner)], indicator);
}

void TQorvelCustomDesktopMagnifier::SetBorderWidth(int width) {
  Change(FBorderWidth, ClampMagnifierBorderWidth(width));
}

void TQorvelCustomDesktopMagnifier::SetBorderColor(TColor color) { Change(FBorderColor, color); }

void TQorvelCustomDesktopMagnifier::SetColor(TColor color) { Change(FColor, color); }

void TQorvelCustomDesktopMagnifier::SetCaption(const std::wstring& caption) { Change(FCaption, caption); }

void TQorvelCustomDesktopMagnifier::SetVisible(bool visible) { ::ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE); }

void TQorvelCustomDesktopMagnifier::SetTarget(TPoint screenPoint) {
  FOptions.Exclude(TQorvelDesktopMagnifierOption::pmoFollowCursor);
  Change(FTarget, screenPoint);
}

void TQorvelCustomDesktopMagnifier::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter();
}

void TQorvelCustomDesktopMagnifier::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave();
}

TColor TQorvelCustomDesktopMagnifier::CaptureAndFindTargetColor(const TMagnifierGeometry& geometry,
                                                                const TRect& controlOnScreen) {
  TWindowDC screen(nullptr);
  if (!screen) return NoTargetColor;
  if (geometry.ShowsImage) {
    FCapture.Resize(geometry.Columns, geometry.Rows);
    // Off-screen parts of the source stay black, as the screen shows them.
    FCapture.View().Fill(FCapture.View().Bounds(), 0);
    ::BitBlt(FCapture.DC(), 0, 0, geometry.Columns, geometry.Rows, screen.Get(), geometry.Source.Left,
             geometry.Source.Top, SRCCOPY);
    ::GdiFlush();
  }
  // The magnifier never reports its own pixels, nor a point that lies on no screen.
  if (controlOnScreen.Contains(FTarget.X, FTarget.Y)) return NoTargetColor;
  if (!OnAnyMonitor(FTarget)) return NoTargetColor;
  if (geometry.ShowsImage)  // the target is the middle pixel of the capture
    return SwapRedBlue(FCapture.View().At(geometry.Columns / 2, geometry.Rows / 2)) & 0x00FFFFFFu;
  const COLORREF pixel = ::GetPixel(screen.Get(), FTarget.X, FTarget.Y);
  return pixel == CLR_INVALID ? NoTargetColor : static_cast<TColor>(pixel);
}

bool TQorvelCustomDesktopMagnifier::OnAnyMonitor(TPoint point) {
  // Looked up again at least once a second, so that a change of the monitors shows soon.
  constexpr DWORD KnownMonitorLifetime = 1000;
  const DWORD now = ::GetTickCount();
  if (FKnownMonitor.Contains(point.X, point.Y) && now - FKnownMonitorSince < KnownMonitorLifetime) return true;
  FKnownMonitor = {};
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  const HMONITOR monitor = ::MonitorFromPoint({point.X, point.Y}, MONITOR_DEFAULTTONULL);
  if (!monitor) return false;
  if (::GetMonitorInfoW(monitor, &info)) {
    FKnownMonitor = ToPixelRect(info.rcMonitor);
    FKnownMonitorSince = now;
  }
  return true;
}

void TQorvelCustomDesktopMagnifier::DrawMouseCursor(const TMagnifierGeometry& geometry, POINT cursor) {
  const HCURSOR shape = CursorUnderMouse(cursor);
  if (!shape) return;
  ICONINFO info{};
  if (!::GetIconInfo(shape, &info)) return;
  // The query hands out copies of the cursor's bitmaps; only the hot spot is wanted.
  TBitmapHandle mask(info.hbmMask), colour(info.hbmColor);
  const TPoint at = ScreenToMagnified(
      geometry, FZoom, {cursor.x - static_cast<int>(info.xHotspot), cursor.y - static_cast<int>(info.yHotspot)});
  ::DrawIconEx(FFrame.DC(), at.X, at.Y, shape, ::GetSystemMetrics(SM_CXCURSOR) * FZoom,
               ::GetSystemMetrics(SM_CYCURSOR) * FZoom, 0, nullptr, DI_NORMAL);
}

void TQorvelCustomDesktopMagnifier::DrawCornerTexts(int width, int height) {
  const HDC dc = FFrame.DC();
  std::unique_ptr<TSelectScope> font;
  for (int i = 0; i < MagnifierCornerCount; ++i) {
    const auto corner = static_cast<TQorvelDesktopMagnifierCorner>(i);
    const std::wstring text = MagnifierIndicatorText(Indicator(corner), FCaption, FTarget, FTargetColor, FZoom);
    if (text.empty()) continue;
    if (!font) {
      if (FFont) font = std::make_unique<TSelectScope>(dc, FFont.Get());
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, static_cast<COLORREF>(Resolve(FBorderColor) & 0x00FFFFFFu));
    }
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const TPoint at = CornerTextOrigin(corner, width, height, FBorderWidth, extent.cx, extent.cy);
    ::TextOutW(dc, at.X, at.Y, text.c_str(), static_cast<int>(text.size()));
  }
}

void TQorvelCustomDesktopMagnifier::Paint(HDC dc) { PaintFrame(dc, nullptr); }

void TQorvelCustomDesktopMagnifier::PaintNow(POINT cursor) {
  // As with paint messages: nothing while the magnifier or a parent is hidden.
  if (!::IsWindowVisible(Handle())) return;
  const TWindowDC dc(Handle());
  if (dc) PaintFrame(dc.Get(), &cursor);
}

// `knownCursor`: the mouse as the caller has just read it, or null to read it here.
void TQorvelCustomDesktopMagnifier::PaintFrame(HDC dc, const POINT* knownCursor) {
  POINT cursor = knownCursor ? *knownCursor : POINT{};
  const bool haveCursor = knownCursor || ::GetCursorPos(&cursor) != FALSE;
  if (haveCursor && FOptions.Contains(TQorvelDesktopMagnifierOption::pmoFollowCursor)) FTarget = {cursor.x, cursor.y};
  const TColor previousColor = FTargetColor;

  const RECT client = ClientRect();
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;
  POINT origin{0, 0};
  ::ClientToScreen(Handle(), &origin);

  TMagnifierFrameInput input;
  input.Width = width;
  input.Height = height;
  input.Zoom = FZoom;
  input.BorderWidth = FBorderWidth;
  input.Target = FTarget;
  input.ControlOnScreen = {origin.x, origin.y, origin.x + width, origin.y + height};
  input.CrossHairs = FCrossHairs;
  input.SampleSize = FSampleSize;
  input.InvertColors = FOptions.Contains(TQorvelDesktopMagnifierOption::pmoInvertColors);
  input.Border = ResolvedPixel(FBorderColor);
  input.Fill = ResolvedPixel(FColor);
  const TMagnifierGeometry geometry = MagnifierGeometry(width, height, FZoom, FBorderWidth, FTarget);

  FFrame.Resize(width, height);
  FTargetColor = CaptureAndFindTargetColor(geometry, input.ControlOnScreen);
  ::GdiFlush();  // the last frame's blit may still read the pixels about to be written
  ComposeMagnifiedImage(FFrame.View(), input, FCapture.View());
  if (haveCursor && FOptions.Contains(TQorvelDesktopMagnifierOption::pmoDrawCursor)) DrawMouseCursor(geometry, cursor);
  DrawCornerTexts(width, height);
  ::GdiFlush();
  DrawMagnifierOverlay(FFrame.View(), input);
  ::BitBlt(dc, 0, 0, width, height, FFrame.DC(), 0, 0, SRCCOPY);

  if (FTargetColor != previousColor && OnTargetColorChange) OnTargetColorChange();
}

LRESULT TQorvelCustomDesktopMagnifier::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;  // every paint covers every pixel
    case WM_PAINT: {
      TPaintScope paint(Handle());
      Paint(paint.DC());
      return 0;
    }
    case WM_NCHITTEST: {
      // The magnifier takes the mouse only where its parent would: on the ruler, a press on
      // the magnifier moves the ruler like a press anywhere else on it.
      const HWND parent = ::GetParent(Handle());
      if (!parent) break;
      return ::SendMessageW(parent, WM_NCHITTEST, wParam, lParam) == HTCLIENT ? HTCLIENT : HTTRANSPARENT;
    }
    case WM_MOUSEMOVE:
      if (!FMouseInside) {
        FMouseInside = true;
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = Handle();
        ::TrackMouseEvent(&track);
        MouseEnter();
      }
      break;
    case WM_MOUSELEAVE:
      FMouseInside = false;
      MouseLeave();
      return 0;
  }
  return DefaultHandler(message, wParam, lParam);
}

// ---- magnifier with refresh timer --------------------------------------------------------

TQorvelDesktopMagnifier::TQorvelDesktopMagnifier(HWND parent) : TQorvelCustomDesktopMagnifier(parent) {
  RestartTimer();
}

void TQorvelDesktopMagnifier::SetInterval(int milliseconds) {
  if (FRefresh.SetInterval(milliseconds)) RestartTimer();
}

void TQorvelDesktopMagnifier::SetIntervalForce(int milliseconds) { FRefresh.SetIntervalForce(milliseconds); }

void TQorvelDesktopMagnifier::RestartTimer() {
  StopTimer(RefreshTimer);
  StartTimer(RefreshTimer, static_cast<UINT>(FRefresh.Interval()), [this] { TimerTick(); });
}

void TQorvelDesktopMagnifier::TimerTick() {
  POINT cursor{};
  if (!::GetCursorPos(&cursor)) return;
  if (!FRefresh.Tick({cursor.x, cursor.y}, Target(), ::GetTickCount())) return;
  FRefreshCursor = cursor;
  if (OnRefresh) OnRefresh();
  PaintNow(cursor);
}

// ---- floating magnifier window -----------------------------------------------------------

TQorvelDesktopMagnifierForm::TQorvelDesktopMagnifierForm() {
  const int side = DefaultMagnifierZoom * DefaultMagnifierSpan + 2;
  TCreateParams params;
  params.ClassName = MagnifierFormClass;
  params.ClassStyle = CS_DROPSHADOW;
  params.Style = WS_POPUP | WS_CLIPCHILDREN;
  // Never in the taskbar and never the active window: it only follows the mouse.
  params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  params.Left = params.Top = 0;
  params.Width = params.Height = side;
  CreateHandle(params);
  FMagnifier = std::make_unique<TQorvelCustomDesktopMagnifier>(Handle());
  FMagnifier->SetBounds(0, 0, side, side);
}

TQorvelDesktopMagnifierForm::~TQorvelDesktopMagnifierForm() = default;

void TQorvelDesktopMagnifierForm::Place(TPoint anchor, TPoint avoid, bool initial) {
  const RECT bounds = BoundsRect();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  RECT workArea{};
  if (::GetMonitorInfoW(::MonitorFromPoint({anchor.X, anchor.Y}, MONITOR_DEFAULTTONEAREST), &monitor))
    workArea = monitor.rcWork;
  else
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  const TPoint placed = PlaceMagnifierWindow(ToPixelRect(bounds), anchor, avoid, initial, ToPixelRect(workArea));
  if (placed.X != bounds.left || placed.Y != bounds.top)
    ::SetWindowPos(Handle(), nullptr, placed.X, placed.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TQorvelDesktopMagnifierForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;  // the magnifier covers the whole client area
    case WM_SIZE:
      if (FMagnifier) FMagnifier->SetBounds(0, 0, LOWORD(lParam), HIWORD(lParam));
      return 0;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}

TQorvelDesktopMagnifierForm& SharedDesktopMagnifierForm() {
  static const std::unique_ptr<TQorvelDesktopMagnifierForm> shared = std::make_unique<TQorvelDesktopMagnifierForm>();
  return *shared;
}
