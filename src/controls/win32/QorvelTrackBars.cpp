#include "controls/win32/QorvelTrackBars.h"

#include <vssym32.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "controls/win32/QorvelControlsCommon.h"
#include "controls/win32/QorvelNumForms.h"
#include "gui/AccessKeys.h"
#include "gui/Application.h"
#include "gui/Clipboard.h"
#include "gui/Handles.h"
#include "gui/Menus.h"
#include "gui/SubclassedControls.h"
#include "gui/VisualStyles.h"

namespace {

constexpr UINT kEditValueLater = WM_USER + 10;
constexpr UINT kFreeEditor = WM_USER + 11;

enum TThumbState { tsNormal, tsHot, tsPressed, tsFocused, tsDisabled };

void FillSolid(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  const RECT r{left, top, right, bottom};
  ::SetBkColor(dc, colour);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// The one context menu of all track bars and the bar it was opened for.
TQorvelTrackBar* MenuTarget = nullptr;

TPopupMenu& TrackBarMenu() {
  static TPopupMenu menu;
  if (menu.Count() == 0) {
    menu.Add(L"&Reset", -1, [](TMenuItem&) {
      if (MenuTarget) MenuTarget->Reset();
    });
    menu.AddSeparator();
    menu.Add(L"&Edit value...", -1, [](TMenuItem&) {
      if (MenuTarget) MenuTarget->EditValue();
    });
    menu.Add(L"&Copy value", -1, [](TMenuItem&) {
      if (MenuTarget) MenuTarget->CopyValue();
    });
    menu.Add(L"&Paste value", -1, [](TMenuItem&) {
      if (MenuTarget && !MenuTarget->PasteValue()) ::MessageBeep(MB_ICONWARNING);  // no value of this bar
    });
  }
  return menu;
}

}  // namespace

// ---- hint window ----

TQorvelHintWindow::TQorvelHintWindow() {
  TCreateParams params;
  params.ClassName = L"TQorvelHintWindow";
  params.ClassStyle = CS_SAVEBITS;
  params.Style = WS_POPUP;
  params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  params.Left = params.Top = 0;
  params.Width = params.Height = 0;
  CreateHandle(params);
}

TQorvelHintWindow& TQorvelHintWindow::Shared() {
  static TQorvelHintWindow hint;
  return hint;
}

RECT TQorvelHintWindow::CalcHintRect(int maxWidth, const std::wstring& text) const {
  RECT r{0, 0, maxWidth - 8, 0};
  const TWindowDC dc(Handle());
  const TSelectScope font(dc.Get(), DefaultControlFont());
  ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return {0, 0, r.right + 8, r.bottom + 4};
}

void TQorvelHintWindow::ActivateHint(const RECT& screenRect, const std::wstring& text) {
  FText = text;
  ::SetWindowPos(Handle(), HWND_TOPMOST, screenRect.left, screenRect.top, screenRect.right - screenRect.left,
                 screenRect.bottom - screenRect.top, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  ::InvalidateRect(Handle(), nullptr, FALSE);
  ::UpdateWindow(Handle());
}

LRESULT TQorvelHintWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(Handle(), &paint);
      RECT r = ClientRect();
      FillSolid(dc, r.left, r.top, r.right, r.bottom, ::GetSysColor(COLOR_INFOBK));
      ::FrameRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
      HGDIOBJ old = ::SelectObject(dc, DefaultControlFont());
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
      ::InflateRect(&r, -4, -2);
      ::DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &r, DT_WORDBREAK | DT_NOPREFIX);
      ::SelectObject(dc, old);
      ::EndPaint(Handle(), &paint);
      return 0;
    }
    default: return DefaultHandler(message, wParam, lParam);
  }
}

// ---- slide bar ----

TQorvelSlideBar::TQorvelSlideBar(HWND parent, int left, int top, int width, int height) {
  // One focusable control, not a container: with WS_EX_CONTROLPARENT the dialog's Tab
  // handling would look for controls inside the bar, find none and step over it.
  CreateHandle(TCreateParams::Child(parent, L"TQorvelTrackBar", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                    {left, top, left + width, top + height}));
  FFont = DefaultControlFont();
}

void TQorvelSlideBar::SetOrientation(TQorvelSlideBarOrientation value) {
  if (value == FOrientation) return;
  FOrientation = value;
  Invalidate();
}

void TQorvelSlideBar::SetMin(int value) {
  if (FRange.SetMin(value)) {
    ValidatePosition();
    Invalidate();
  }
}

void TQorvelSlideBar::SetMax(int value) {
  if (FRange.SetMax(value)) {
    ValidatePosition();
    Invalidate();
  }
}

void TQorvelSlideBar::SetOnDrawTrack(TDrawTrackEvent value) {
  FOnDrawTrack = std::move(value);
  Invalidate();
}

void TQorvelSlideBar::SetFont(HFONT font) {
  FFont = font;
  Invalidate();
}

int TQorvelSlideBar::LabelHeight() const { return TextExtent(FFont, L"0").cy; }

TQorvelBarLayout TQorvelSlideBar::Layout() const {
  const RECT client = ClientRect();
  TQorvelBarLayout layout;
  layout.Orientation = FOrientation;
  layout.Width = client.right;
  layout.Height = client.bottom;
  return layout;
}

POINT TQorvelSlideBar::GetTrackCenter() const {
  const RECT client = ClientRect();
  return {client.right / 2, client.bottom / 2};
}

SIZE TQorvelSlideBar::GetThumbSize() const {
  const TQorvelBarLayout layout = Layout();
  return {layout.ThumbWidth(), layout.ThumbHeight()};
}

RECT TQorvelSlideBar::GetTrackBand() const {
  const RECT client = ClientRect();
  const POINT c = GetTrackCenter();
  const SIZE thumb = GetThumbSize();
  if (FOrientation == psoHorizontal) return {0, c.y - thumb.cy / 2, client.right, c.y - thumb.cy / 2 + thumb.cy};
  return {c.x - thumb.cx / 2, 0, c.x - thumb.cx / 2 + thumb.cx, client.bottom};
}

void TQorvelSlideBar::PaintBackground(HDC canvas) {
  const RECT client = ClientRect();
  FillSolid(canvas, 0, 0, client.right, client.bottom, ::GetSysColor(COLOR_BTNFACE));
}

void TQorvelSlideBar::PaintContent(HDC canvas) { DrawTrack(canvas, FOrientation, GetTrackCenter()); }

void TQorvelSlideBar::DrawTrack(HDC canvas, TQorvelSlideBarOrientation orientation, POINT centre) {
  const RECT client = ClientRect();
  if (FOnDrawTrack) {
    FOnDrawTrack(*this, canvas, orientation, client, centre);
    return;
  }
  const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF middle = IsTrackEnabled() ? RGB(0, 0, 0) : ::GetSysColor(COLOR_BTNFACE);
  if (orientation == psoHorizontal) {
    const int c = centre.y, w = client.right;
    FillSolid(canvas, 1, c - 1, w - 2, c, shadow);
    FillSolid(canvas, 1, c - 1, 2, c + 2, shadow);
    FillSolid(canvas, 1, c + 1, w - 1, c + 2, light);
    FillSolid(canvas, w - 2, c - 1, w - 1, c + 2, light);
    FillSolid(canvas, 2, c, w - 2, c + 1, middle);
  } else {
    const int c = centre.x, h = client.bottom;
    FillSolid(canvas, c - 1, 1, c, h - 2, shadow);
    FillSolid(canvas, c - 1, 1, c + 2, 2, shadow);
    FillSolid(canvas, c + 1, 1, c + 2, h - 1, light);
    FillSolid(canvas, c - 1, h - 2, c + 2, h - 1, light);
    FillSolid(canvas, c, 2, c + 1, h - 2, middle);
  }
}

void TQorvelSlideBar::DrawThumbGrip(HDC canvas, const RECT& thumb, int) {
  const COLORREF dots = ::GetSysColor(COLOR_BTNTEXT);
  for (int y = thumb.top + 6; y < thumb.bottom - 6; y += 2)
    for (int x = thumb.left + 6; x < thumb.right - 6; x += 2) ::SetPixelV(canvas, x, y, dots);
}

void TQorvelSlideBar::Paint() {
  // Off screen: no flicker while dragging.
  TBufferedPaintScope paint(Handle());
  if (paint.Client().right <= 0 || paint.Client().bottom <= 0) return;
  TSelectScope font(paint.DC(), FFont);
  PaintBackground(paint.DC());
  PaintContent(paint.DC());
}

void TQorvelSlideBar::StopDragging() {
  if (!FDragging) return;
  FDragging = false;
  if (::GetCapture() == Handle()) ::ReleaseCapture();
  EndDrag();
  Invalidate();
}

LRESULT TQorvelSlideBar::DialogCode() const {
  // With an access key in its label the bar is a button to the dialog manager, which
  // "clicks" it on Alt and that key.
  wchar_t caption[128] = {};
  ::GetWindowTextW(Handle(), caption, 128);
  const bool keyed = SplitAccessKey(caption).Key >= 0;
  return DLGC_WANTARROWS | (keyed ? DLGC_BUTTON : 0);
}

void TQorvelSlideBar::LeftButtonDown(WPARAM keys, int x, int y) {
  if (!Enabled() || !Visible()) return;
  const RECT band = GetTrackBand();
  const POINT p{x, y};
  if (::PtInRect(&band, p)) {
    BeginDrag(x, y, FGrabOffset);
    FDragging = true;
    ::SetCapture(Handle());
    ::SetFocus(Handle());
    Invalidate();
  } else {
    ClickOutsideBand(MK_LBUTTON, keys, x, y);
  }
}

void TQorvelSlideBar::ContextMenuAt(LPARAM screenPoint) {
  if (screenPoint != -1) {
    ShowContextMenu(static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint)));
    return;
  }
  // From the keyboard: under the track's centre.
  POINT c = GetTrackCenter();
  c.y -= 2;
  ::ClientToScreen(Handle(), &c);
  ShowContextMenu(c.x, c.y);
}

int TQorvelSlideBar::ArrowKeyDelta(WPARAM key) const {
  if (FOrientation == psoHorizontal) {
    if (key == VK_LEFT) return -SmallChange();
    if (key == VK_RIGHT) return SmallChange();
  } else {
    if (key == VK_UP) return SmallChange();
    if (key == VK_DOWN) return -SmallChange();
  }
  return 0;
}

void TQorvelSlideBar::Wheel(int delta) {
  FWheelRest += delta;
  const int up = FOrientation == psoVertical ? SmallChange() : -SmallChange();
  for (; FWheelRest >= WHEEL_DELTA; FWheelRest -= WHEEL_DELTA) ChangeBy(up);
  for (; FWheelRest <= -WHEEL_DELTA; FWheelRest += WHEEL_DELTA) ChangeBy(-up);
}

LRESULT TQorvelSlideBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_PRINTCLIENT: {
      PaintBackground(reinterpret_cast<HDC>(wParam));
      PaintContent(reinterpret_cast<HDC>(wParam));
      return 0;
    }
    case WM_GETDLGCODE: return DialogCode();
    case BM_CLICK: ::SetFocus(Handle()); return 0;
    case WM_LBUTTONDOWN: LeftButtonDown(wParam, x, y); return 0;
    case WM_MOUSEMOVE:
      if (FDragging)
        DragTo(x - FGrabOffset.x, y - FGrabOffset.y);
      else
        HoverAt(wParam, x, y);
      return 0;
    case WM_LBUTTONUP: StopDragging(); return 0;
    case WM_RBUTTONDOWN:
      if (FDragging) {
        // The right button ends the drag where the thumb is; it opens no menu.
        StopDragging();
        FSuppressContextMenu = true;
      }
      return 0;
    case WM_RBUTTONUP:
      if (FSuppressContextMenu) {
        FSuppressContextMenu = false;
        return 0;
      }
      return DefaultHandler(message, wParam, lParam);
    case WM_CONTEXTMENU: ContextMenuAt(lParam); return 0;
    case WM_CAPTURECHANGED:
      if (FDragging && reinterpret_cast<HWND>(lParam) != Handle()) StopDragging();
      return 0;
    case WM_KEYDOWN:
    case CN_BASE + WM_KEYDOWN: {
      const int delta = ArrowKeyDelta(wParam);
      if (delta == 0) return message == WM_KEYDOWN ? DefaultHandler(message, wParam, lParam) : 0;
      ChangeBy(delta);
      return 1;
    }
    case WM_MOUSEWHEEL: Wheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); return 0;
    case WM_ENABLE:
      if (!wParam) StopDragging();
      Invalidate();
      return 0;
    default: return DefaultHandler(message, wParam, lParam);
  }
}

// ---- label slide bar ----

TQorvelLabelSlideBar::TQorvelLabelSlideBar(HWND parent, int left, int top, int width, int height)
    : TQorvelSlideBar(parent, left, top, width, height) {}

POINT TQorvelLabelSlideBar::GetTrackCenter() const {
  TQorvelBarLayout layout = Layout();
  layout.LabelVisible = (FLabelOptions & ploVisible) != 0;
  layout.LabelFlipped = (FLabelOptions & ploFlip) != 0;
  layout.LabelHeight = LabelHeight();
  const TPoint c = layout.GrooveCentre();
  return {c.X, c.Y};
}

POINT TQorvelLabelSlideBar::GetLabelAnchor() const {
  TQorvelBarLayout layout = Layout();
  layout.LabelVisible = true;
  layout.LabelFlipped = (FLabelOptions & ploFlip) != 0;
  layout.LabelHeight = LabelHeight();
  const TPoint a = layout.LabelAnchor();
  return {a.X, a.Y};
}

std::wstring TQorvelLabelSlideBar::BuildLabelText(const std::wstring& caption) { return caption; }

std::wstring TQorvelLabelSlideBar::FinalLabelText() {
  std::wstring text = BuildLabelText(FLabelCaption);
  if (OnLabel) OnLabel(*this, text);
  return text;
}

void TQorvelLabelSlideBar::SetLabelCaption(std::wstring value) {
  if (value == FLabelCaption) return;
  ::SetWindowTextW(Handle(), value.c_str());  // where the dialog manager looks for the access key
  FLabelCaption = std::move(value);
  Invalidate();
}

void TQorvelLabelSlideBar::DrawLabelText(HDC canvas, int x, int y, const std::wstring& text, UINT align) {
  ::SetTextAlign(canvas, align);
  ::SetBkMode(canvas, TRANSPARENT);
  const int length = static_cast<int>(text.size());
  if (!Enabled()) {
    ::SetTextColor(canvas, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::TextOutW(canvas, x + 1, y + 1, text.c_str(), length);
    ::SetTextColor(canvas, ::GetSysColor(COLOR_BTNSHADOW));
  } else {
    ::SetTextColor(canvas, ::GetSysColor(COLOR_BTNTEXT));
  }
  ::TextOutW(canvas, x, y, text.c_str(), length);
}

void TQorvelLabelSlideBar::PaintContent(HDC canvas) {
  FLabelRect = {};
  FValueRect = {};
  if (FLabelOptions & ploVisible) {
    const TAccessKeyCaption keyed = SplitAccessKey(FinalLabelText());
    const std::wstring& text = keyed.Shown;
    const POINT anchor = GetLabelAnchor();
    const RECT client = ClientRect();
    if (FOrientation == psoHorizontal) {
      const SIZE extent = TextExtent(canvas, text);
      const int left = anchor.x - extent.cx / 2;
      DrawLabelText(canvas, left, anchor.y, text, TA_LEFT | TA_TOP);
      if (keyed.Key >= 0 && !(::SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL)) {
        const std::size_t key = static_cast<std::size_t>(keyed.Key);
        const int from = left + TextExtent(canvas, text.substr(0, key)).cx;
        const int to = from + TextExtent(canvas, text.substr(key, 1)).cx;
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(canvas, &metrics);
        const RECT underline{from, anchor.y + metrics.tmAscent + 1, to, anchor.y + metrics.tmAscent + 2};
        ::FillRect(canvas, &underline, ::GetSysColorBrush(Enabled() ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
      }
      DrawLabelText(canvas, 0, anchor.y, FLabelMin, TA_LEFT | TA_TOP);
      DrawLabelText(canvas, client.right, anchor.y, FLabelMax, TA_RIGHT | TA_TOP);
      FLabelRect = {left, anchor.y, left + extent.cx, anchor.y + extent.cy};
    } else {
      // Upright fonts only turn when they are outlines; bitmap fonts give way to Arial.
      LOGFONTW font{};
      ::GetObjectW(FFont, sizeof(font), &font);
      TEXTMETRICW metrics{};
      ::GetTextMetricsW(canvas, &metrics);
      if (!(metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)))
        ::lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
      const bool downward = (FLabelOptions & ploRotate) != 0;
      font.lfEscapement = font.lfOrientation = downward ? 2700 : 900;
      TFontHandle turned(::CreateFontIndirectW(&font));
      const SIZE extent = TextExtent(canvas, text);
      const SIZE minExtent = TextExtent(canvas, FLabelMin), maxExtent = TextExtent(canvas, FLabelMax);
      HGDIOBJ old = ::SelectObject(canvas, turned.Get());
      if (downward) {
        const int x = anchor.x + extent.cy;
        DrawLabelText(canvas, x, anchor.y - extent.cx / 2, text, TA_LEFT | TA_TOP);
        DrawLabelText(canvas, x, client.bottom - minExtent.cx, FLabelMin, TA_LEFT | TA_TOP);
        DrawLabelText(canvas, x, 0, FLabelMax, TA_LEFT | TA_TOP);
      } else {
        DrawLabelText(canvas, anchor.x, anchor.y + extent.cx / 2, text, TA_LEFT | TA_TOP);
        DrawLabelText(canvas, anchor.x, client.bottom, FLabelMin, TA_LEFT | TA_TOP);
        DrawLabelText(canvas, anchor.x, maxExtent.cx, FLabelMax, TA_LEFT | TA_TOP);
      }
      ::SelectObject(canvas, old);
      const int top = anchor.y - extent.cx / 2;
      FLabelRect = {anchor.x, top, anchor.x + extent.cy, top + extent.cx};
    }
    ::SetTextAlign(canvas, TA_LEFT | TA_TOP);
  }
  DrawTrack(canvas, FOrientation, GetTrackCenter());
}

// ---- track bar ----

TQorvelTrackBar::TQorvelTrackBar(HWND parent, int left, int top, int width, int height)
    : TQorvelLabelSlideBar(parent, left, top, width, height) {
  FLabelCaption = L"Position: <pos>";
  TrackBarMenu();
}

TQorvelTrackBar::~TQorvelTrackBar() {
  if (MenuTarget == this) MenuTarget = nullptr;
  if (FEditor) FEditor->OnClose = nullptr;
}

void TQorvelTrackBar::SetPosition(int value) {
  if (FRange.SetPosition(value)) Invalidate();
}

void TQorvelTrackBar::SetDefaultPosition(int value) {
  if (FRange.SetDefaultPosition(value)) Invalidate();
}

std::wstring TQorvelTrackBar::ValueText() const {
  return Widen(FScale.Text(Position(), FLabelOptions, UserNumberFormat()));
}

std::wstring TQorvelTrackBar::BuildLabelText(const std::wstring& caption) {
  return Widen(ReplacePosPlaceholder(Narrow(caption), Narrow(ValueText())));
}

void TQorvelTrackBar::PaintBackground(HDC canvas) {
  RECT client = ClientRect();
  if (!FTransparent) {
    FillSolid(canvas, 0, 0, client.right, client.bottom, FColor);
    return;
  }
  // The parent paints what shows through; a plain face colour stands in where it does not.
  FillSolid(canvas, 0, 0, client.right, client.bottom, ::GetSysColor(COLOR_BTNFACE));
  VisualStyles::DrawParentBackground(Handle(), canvas, client);
}

void TQorvelTrackBar::PaintContent(HDC canvas) {
  TQorvelLabelSlideBar::PaintContent(canvas);
  if (FLabelOptions & ploVisible) {
    // Where the value sits in the label, for clicks that edit it.
    std::string prefix;
    bool found = false;
    ReplacePosPlaceholder(Narrow(FLabelCaption), "", &prefix, &found);
    if (found) {
      const int before = TextExtent(canvas, SplitAccessKey(Widen(prefix)).Shown).cx;
      const SIZE value = TextExtent(canvas, ValueText());
      if (FOrientation == psoHorizontal) {
        FValueRect = {FLabelRect.left + before, FLabelRect.top, FLabelRect.left + before + value.cx,
                      FLabelRect.top + value.cy};
      } else if (FLabelOptions & ploRotate) {
        FValueRect = {FLabelRect.left, FLabelRect.top + before, FLabelRect.left + value.cy,
                      FLabelRect.top + before + value.cx};
      } else {
        FValueRect = {FLabelRect.left, FLabelRect.bottom - before - value.cx, FLabelRect.left + value.cy,
                      FLabelRect.bottom - before};
      }
    }
  }
  DrawThumb(canvas);
}

void TQorvelTrackBar::DrawThumb(HDC canvas) {
  TQorvelBarLayout layout = Layout();
  const POINT centre = GetTrackCenter();
  const SIZE size = GetThumbSize();
  const TPoint topLeft = layout.ThumbTopLeft(FRange);
  RECT thumb = FOrientation == psoHorizontal
                   ? RECT{topLeft.X, centre.y - size.cy / 2, topLeft.X + size.cx, centre.y - size.cy / 2 + size.cy}
                   : RECT{centre.x - size.cx / 2, topLeft.Y, centre.x - size.cx / 2 + size.cx, topLeft.Y + size.cy};
  const bool focused = ::GetFocus() == Handle();
  TThumbState state = FDragging ? tsPressed : FThumbHot ? tsHot : focused ? tsFocused : tsNormal;
  if (!Enabled()) state = tsDisabled;

  HTHEME theme = VisualStyles::Open(Handle(), L"BUTTON");
  if (theme) {
    static constexpr int kPart[] = {PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DEFAULTED, PBS_DISABLED};
    VisualStyles::DrawBackground(theme, canvas, BP_PUSHBUTTON, kPart[state], thumb);
    VisualStyles::Close(theme);
  } else {
    RECT face = thumb;
    if (state == tsPressed || state == tsFocused) {
      ::DrawEdge(canvas, &face, BDR_SUNKENOUTER, BF_RECT | BF_MONO);
      ::InflateRect(&face, -1, -1);
    }
    UINT flags = DFCS_BUTTONPUSH;
    if (state == tsPressed) flags |= DFCS_FLAT;
    if (state == tsDisabled) flags |= DFCS_INACTIVE;
    ::DrawFrameControl(canvas, &face, DFC_BUTTON, flags);
  }
  if (focused && state != tsDisabled) {
    RECT focus = thumb;
    ::InflateRect(&focus, -3, -3);
    ::SetTextColor(canvas, RGB(0, 0, 0));
    ::SetBkColor(canvas, RGB(255, 255, 255));
    ::DrawFocusRect(canvas, &focus);
  }
  if (state != tsDisabled) DrawThumbGrip(canvas, thumb, state);
}

void TQorvelTrackBar::Scrolled(int scrollCode) {
  if (!OnScroll) return;
  int position = Position();
  OnScroll(*this, scrollCode, position);
  SetPosition(position);  // the handler may redirect the position
}

void TQorvelTrackBar::Changed(int scrollCode) {
  Scrolled(scrollCode);
  if (OnChange) OnChange(*this);
}

void TQorvelTrackBar::ChangeBy(int delta) {
  if (!FRange.SetPosition(
          static_cast<int>(std::clamp<long long>(static_cast<long long>(Position()) + delta, INT_MIN, INT_MAX))))
    return;
  Invalidate();
  Changed(delta < 0 ? pscStepDown : pscStepUp);
}

void TQorvelTrackBar::SetByCommand(int position) {
  if (!FRange.SetPosition(position)) return;
  Invalidate();
  Changed(pscCommand);
}

void TQorvelTrackBar::Reset() {
  if (Position() == DefaultPosition()) return;
  FRange.SetPosition(DefaultPosition());
  Changed(pscCommand);
  Invalidate();
}

void TQorvelTrackBar::BeginDrag(int x, int y, POINT& grabOffset) {
  const TQorvelBarLayout layout = Layout();
  const SIZE size = GetThumbSize();
  const POINT centre = GetTrackCenter();
  auto thumbRect = [&] {
    const TPoint p = layout.ThumbTopLeft(FRange);
    return FOrientation == psoHorizontal
               ? RECT{p.X, centre.y - size.cy / 2, p.X + size.cx, centre.y - size.cy / 2 + size.cy}
               : RECT{centre.x - size.cx / 2, p.Y, centre.x - size.cx / 2 + size.cx, p.Y + size.cy};
  };
  RECT thumb = thumbRect();
  if (!::PtInRect(&thumb, POINT{x, y})) {
    // A click on the groove brings the thumb under the pointer first.
    if (FRange.SetPosition(layout.PositionAt(FRange, {x - size.cx / 2, y - size.cy / 2}))) {
      Invalidate();
      Changed(pscTrack);
    }
    thumb = thumbRect();
  }
  grabOffset = {x - thumb.left, y - thumb.top};
  if (FLabelOptions & ploHint) ShowValueHint();
}

void TQorvelTrackBar::DragTo(int x, int y) {
  if (FRange.SetPosition(Layout().PositionAt(FRange, {x, y}))) {
    Invalidate();
    Changed(pscTrack);
    if (FLabelOptions & ploHint) ShowValueHint();
  }
}

void TQorvelTrackBar::EndDrag() {
  Scrolled(pscEndDrag);
  TQorvelHintWindow::Shared().ReleaseHandle();
}

void TQorvelTrackBar::ShowValueHint() {
  const std::wstring text = SplitAccessKey(FinalLabelText()).Shown;  // a hint has no access key
  TQorvelHintWindow& hint = TQorvelHintWindow::Shared();
  const RECT size = hint.CalcHintRect(200, text);
  const POINT anchor = GetLabelAnchor();
  POINT origin{anchor.x - size.right / 2, anchor.y - 6};
  ::ClientToScreen(Handle(), &origin);
  hint.ActivateHint({origin.x, origin.y, origin.x + size.right, origin.y + size.bottom}, text);
}

bool TQorvelTrackBar::ValueClickable(POINT client) const {
  return (FLabelOptions & ploVisible) && !(FLabelOptions & ploDisableEdit) && !::IsRectEmpty(&FValueRect) &&
         ::PtInRect(&FValueRect, client);
}

void TQorvelTrackBar::ClickOutsideBand(UINT button, WPARAM, int x, int y) {
  // Opened after the click is through, so that the popup keeps the activation.
  if (button == MK_LBUTTON && ValueClickable({x, y})) ::PostMessageW(Handle(), kEditValueLater, 0, 0);
}

void TQorvelTrackBar::HoverAt(WPARAM, int x, int y) {
  const TRect thumb = Layout().ThumbRect(FRange);
  const POINT centre = GetTrackCenter();
  const SIZE size = GetThumbSize();
  RECT r = FOrientation == psoHorizontal
               ? RECT{thumb.Left, centre.y - size.cy / 2, thumb.Right, centre.y - size.cy / 2 + size.cy}
               : RECT{centre.x - size.cx / 2, thumb.Top, centre.x - size.cx / 2 + size.cx, thumb.Bottom};
  const bool hot = ::PtInRect(&r, POINT{x, y}) != FALSE;
  if (hot != FThumbHot) {
    FThumbHot = hot;
    Invalidate();
  }
  if (!FTrackingLeave) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    FTrackingLeave = ::TrackMouseEvent(&track) != FALSE;
  }
}

void TQorvelTrackBar::ShowContextMenu(int x, int y) {
  TPopupMenu& menu = TrackBarMenu();
  TMenuItem& reset = menu.Item(0);
  TMenuItem& edit = menu.Item(2);
  TMenuItem& copy = menu.Item(3);
  TMenuItem& paste = menu.Item(4);
  reset.Enabled = Position() != DefaultPosition();
  edit.Visible = !(FLabelOptions & ploDisableEdit);
  edit.Enabled = !::IsRectEmpty(&FValueRect);
  copy.Visible = !(FLabelOptions & ploDisableCopy);
  paste.Visible = !(FLabelOptions & ploDisablePaste);
  // Another program's text is judged on Paste: reading it here could wait on that program.
  paste.Enabled = ::IsClipboardFormatAvailable(CF_UNICODETEXT) &&
                  (!ClipboardDataRendered() || ClipboardPosition().has_value());
  MenuTarget = this;
  menu.Popup(Handle(), {x, y});
  MenuTarget = nullptr;
}

void TQorvelTrackBar::CopyValue() { PutClipboardText(Handle(), ValueText()); }

std::optional<int> TQorvelTrackBar::ClipboardPosition() const {
  const auto text = ClipboardText(Handle(), PastedNumberTextLimit);
  if (!text) return std::nullopt;
  const auto value = ParseLabelValue(Narrow(*text), UserNumberFormat());
  if (!value) return std::nullopt;
  return FScale.PositionOf(*value);
}

bool TQorvelTrackBar::PasteValue() {
  const auto position = ClipboardPosition();
  if (!position) return false;
  SetByCommand(FRange.Clamp(*position));
  return true;
}

void TQorvelTrackBar::EditValue() {
  if (FLabelOptions & ploDisableEdit) return;
  ::SetFocus(Handle());
  if (FEditor) FEditor.reset();
  const auto kind = FScale.Editor(Min(), Max());
  double low = FScale.ValueOf(Min()), high = FScale.ValueOf(Max());
  if (low > high) std::swap(low, high);
  int maxLength = 0;
  if (kind.Float) {
    auto form = std::make_unique<TQorvelFloatEditForm>();
    TQorvelFloatEdit& edit = form->FloatEdit();
    edit.SetDigits(kind.Decimals);
    edit.SetMaxValue(high);
    edit.SetMinValue(low);
    edit.SetValue(Value());
    maxLength = TQorvelFloatRules::MaxLength;
    FEditor = std::move(form);
  } else {
    auto toInt = [](double v) {
      return static_cast<int>(std::clamp(std::nearbyint(v), double(INT_MIN), double(INT_MAX)));
    };
    auto form = std::make_unique<TQorvelIntEditForm>();
    TQorvelIntEdit& edit = form->IntEdit();
    edit.SetMaxValue(toInt(high));
    edit.SetMinValue(toInt(low));
    edit.SetValue(toInt(Value()));
    maxLength = edit.Rules().MaxLength();
    FEditor = std::move(form);
  }
  TQorvelNumEdit& edit = FEditor->Edit();
  edit.SetFont(FFont);
  TEXTMETRICW metrics{};
  int width = 0;
  {
    const TWindowDC dc(Handle());
    const TSelectScope font(dc.Get(), FFont);
    ::GetTextMetricsW(dc.Get(), &metrics);
    width = TextExtent(dc.Get(), std::wstring(static_cast<std::size_t>(maxLength), L'0')).cx + 8;
  }
  const int height = metrics.tmHeight + 4;
  edit.SetBounds(0, 0, width, height);
  edit.SelectAll();

  const TPoint origin =
      PopupEditorOrigin({0, 0}, {FValueRect.left, FValueRect.top, FValueRect.right, FValueRect.bottom}, width, height);
  POINT screen{origin.X, origin.Y};
  ::ClientToScreen(Handle(), &screen);
  FEditor->OnEditChange = [this](TQorvelNumEditForm& form) {
    const double value = dynamic_cast<TQorvelIntEdit*>(&form.Edit())
                             ? static_cast<TQorvelIntEdit&>(form.Edit()).Value()
                             : static_cast<TQorvelFloatEdit&>(form.Edit()).Value();
    SetByCommand(FRange.Clamp(FScale.PositionOf(value)));
  };
  FEditor->OnClose = [this](TQorvelPopupForm&) {
    if (HWND top = ::GetAncestor(Handle(), GA_ROOT)) ::SetActiveWindow(top);
    ::SetFocus(Handle());
    ::PostMessageW(Handle(), kFreeEditor, 0, 0);
  };
  FEditor->ShowAt(screen.x, screen.y);
  FEditor->Edit().SelectAll();
}

LRESULT TQorvelTrackBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kEditValueLater: EditValue(); return 0;
    case kFreeEditor:
      if (FEditor && FEditor->Closed()) FEditor.reset();
      return 0;
    case WM_MOUSELEAVE:
      FTrackingLeave = false;
      if (FThumbHot) {
        FThumbHot = false;
        Invalidate();
      }
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT p{};
        ::GetCursorPos(&p);
        ::ScreenToClient(Handle(), &p);
        ::SetCursor(ValueClickable(p) ? ::LoadCursorW(nullptr, IDC_IBEAM)
                    : FCursor         ? FCursor
                                      : ::LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
      }
      return TQorvelLabelSlideBar::HandleMessage(message, wParam, lParam);
    default: return TQorvelLabelSlideBar::HandleMessage(message, wParam, lParam);
  }
}
