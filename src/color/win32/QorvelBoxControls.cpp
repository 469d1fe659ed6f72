#include "color/win32/QorvelBoxControls.h"

#include <algorithm>

#include "gui/Pixels.h"
#include "gui/ScreenCursors.h"

void RegisterBoxCursors() {
  static const bool registered = [] {
    constexpr struct {
      int Index;
      const wchar_t* Resource;
    } cursors[] = {{crQorvelCircle, L"QORVELCIRCLECURSOR"},
                   {crQorvelMagnify, L"QORVELMAGNIFYCURSOR"},
                   {crQorvelInvisible, L"QORVELINVISIBLECURSOR"},
                   {crQorvelScrollH, L"QORVELSCROLLHCURSOR"}};
    TScreenCursors& table = TScreenCursors::Instance();
    for (const auto& cursor : cursors) table.Register(cursor.Index, ::LoadCursorW(ModuleInstance(), cursor.Resource));
    return true;
  }();
  (void)registered;
}

TColor ColorToRGB(TColor color) {
  if (!IsSystemColor(color)) return color;
  return static_cast<TColor>(::GetSysColor(static_cast<int>(color & 0xFFu))) & 0x00FFFFFFu;
}

const TColorResolver& SystemColorResolver() {
  static const TColorResolver resolver = [](TColor color) { return ColorToRGB(color); };
  return resolver;
}

const TQorvelColorFilter* DeviceColorFilter(HDC dc) {
  if (!dc) return nullptr;
  return DeviceColorFilter(::GetDeviceCaps(dc, BITSPIXEL), ::GetDeviceCaps(dc, PLANES));
}

// ---- surface ----

TBoxSurface::TBoxSurface(int clientWidth, int clientHeight, const RECT& clip)
    : FArea(IntersectRect(ToPixelRect(clip), {0, 0, std::max(clientWidth, 0), std::max(clientHeight, 0)})) {
  if (FArea.Empty()) return;
  FDib.Resize(FArea.Width(), FArea.Height());
  ::SetViewportOrgEx(FDib.DC(), -FArea.Left, -FArea.Top, nullptr);
}

void TBoxSurface::CopyTo(HDC dc, int offsetX, int offsetY) const {
  if (FArea.Empty()) return;
  ::GdiFlush();
  // The source is addressed in control coordinates, like everything drawn into it.
  ::BitBlt(dc, FArea.Left + offsetX, FArea.Top + offsetY, FArea.Width(), FArea.Height(), FDib.DC(), FArea.Left,
           FArea.Top, SRCCOPY);
}

// ---- look ----

void TQorvelBoxCommon::FillBox(TBoxSurface& surface, const TRect& rect, const TQorvelColorFilter* filter, int opacity,
                             TPixel color) {
  ::GdiFlush();
  ::FillBox(surface.Canvas(), rect, filter, opacity, color);
}

void TQorvelBoxCommon::DrawBoxFrame(TBoxSurface& surface, const TRect& rect, TColor border) const {
  ::GdiFlush();
  ::DrawBoxFrame(surface.Canvas(), rect, border, FParentColor, FLook, SystemColorResolver());
}

bool TQorvelBoxCommon::ChangeLook(TQorvelBoxControlLook look) {
  if (look == FLook) return false;
  FLook = look;
  return true;
}

bool TQorvelBoxCommon::ChangeMouseInside(bool inside) {
  if (inside == FMouseInside) return false;
  FMouseInside = inside;
  if (inside)
    DoMouseEnter();
  else
    DoMouseLeave();
  return true;
}

void TQorvelBoxCommon::DoMouseEnter() {
  if (OnMouseEnter) OnMouseEnter();
}

void TQorvelBoxCommon::DoMouseLeave() {
  if (OnMouseLeave) OnMouseLeave();
}

bool TQorvelBoxCommon::ChangeParentColor(TColor color) {
  if (color == FParentColor) return false;
  FParentColor = color;
  return true;
}

// ---- windowed base ----

TQorvelCustomBoxWinControl::TQorvelCustomBoxWinControl(HWND parent, int left, int top, int width, int height) {
  RegisterBoxCursors();
  CreateHandle(TCreateParams::Child(parent, L"TQorvelBoxWinControl", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                    {left, top, left + width, top + height}));
}

TQorvelCustomBoxWinControl::~TQorvelCustomBoxWinControl() = default;

void TQorvelCustomBoxWinControl::SetLook(TQorvelBoxControlLook look) {
  if (ChangeLook(look)) Invalidate();
}

void TQorvelCustomBoxWinControl::SetParentColor(TColor color) {
  if (ChangeParentColor(color)) Invalidate();
}

void TQorvelCustomBoxWinControl::PaintTo(HDC dc, const RECT& clip) {
  const RECT client = ClientRect();
  TBoxSurface surface(client.right, client.bottom, clip);
  if (surface.Empty()) return;
  PaintClip(surface);
  surface.CopyTo(dc);
}

void TQorvelCustomBoxWinControl::TrackMouse(POINT client) {
  // While the box holds the mouse capture, moves arrive from anywhere on the screen.
  const RECT bounds = ClientRect();
  const bool inside = ::PtInRect(&bounds, client) != FALSE;
  if (!inside || MouseInside()) {
    ChangeMouseInside(inside);
    return;
  }
  // Entering: ask for the WM_MOUSELEAVE that ends it.
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
  ::TrackMouseEvent(&track);
  ChangeMouseInside(true);
}

LRESULT TQorvelCustomBoxWinControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;  // the paint covers every pixel
    case WM_PAINT: {
      TPaintScope paint(Handle());
      PaintTo(paint.DC(), paint.Invalid());
      return 0;
    }
    case WM_PRINTCLIENT: PaintTo(reinterpret_cast<HDC>(wParam), ClientRect()); return 0;
    case WM_MOUSEMOVE: TrackMouse({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}); return 0;
    case WM_MOUSELEAVE: ChangeMouseInside(false); return 0;
    case WM_SETCURSOR:
      if (HCURSOR cursor = TScreenCursors::Instance().ScreenCursorOverride()) {
        ::SetCursor(cursor);
        return TRUE;
      }
      return DefaultHandler(message, wParam, lParam);
    default: return DefaultHandler(message, wParam, lParam);
  }
}

// ---- windowless base ----

TQorvelCustomBoxControl::TQorvelCustomBoxControl(HWND parent, const RECT& bounds) : FParent(parent), FBounds(bounds) {
  RegisterBoxCursors();
}

void TQorvelCustomBoxControl::SetBounds(const RECT& bounds) {
  if (::EqualRect(&bounds, &FBounds)) return;
  Invalidate();
  FBounds = bounds;
  Invalidate();
}

void TQorvelCustomBoxControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  if (FParent) ::InvalidateRect(FParent, &FBounds, FALSE);
  if (!visible && MouseInside()) UpdateMouse(nullptr);
}

void TQorvelCustomBoxControl::SetLook(TQorvelBoxControlLook look) {
  if (ChangeLook(look)) Invalidate();
}

void TQorvelCustomBoxControl::SetParentColor(TColor color) {
  if (ChangeParentColor(color)) Invalidate();
}

void TQorvelCustomBoxControl::Invalidate(const RECT* part) const {
  if (!FParent || !FVisible) return;
  RECT r = FBounds;
  if (part) {
    r = *part;
    ::OffsetRect(&r, FBounds.left, FBounds.top);
    ::IntersectRect(&r, &r, &FBounds);
  }
  ::InvalidateRect(FParent, &r, FALSE);
}

HCURSOR TQorvelCustomBoxControl::CursorHandle() const {
  return FCursor == crDefault ? ::LoadCursorW(nullptr, IDC_ARROW) : TScreenCursors::Instance().Cursor(FCursor);
}

void TQorvelCustomBoxControl::SetCursorNow(int cursor) {
  if (cursor == FCursor) return;
  FCursor = cursor;
  if (FParent)
    ::SendMessageW(FParent, WM_SETCURSOR, reinterpret_cast<WPARAM>(FParent), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void TQorvelCustomBoxControl::Paint(HDC dc, const RECT& hostClip) {
  if (!FVisible) return;
  RECT clip{};
  if (!::IntersectRect(&clip, &hostClip, &FBounds)) return;
  ::OffsetRect(&clip, -FBounds.left, -FBounds.top);
  TBoxSurface surface(Width(), Height(), clip);
  if (surface.Empty()) return;
  PaintClip(surface);
  surface.CopyTo(dc, FBounds.left, FBounds.top);
}

void TQorvelCustomBoxControl::UpdateMouse(const POINT* hostPoint) {
  ChangeMouseInside(FVisible && hostPoint && ::PtInRect(&FBounds, *hostPoint));
}

