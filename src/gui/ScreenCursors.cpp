#include "gui/ScreenCursors.h"

TScreenCursors& TScreenCursors::Instance() {
  static TScreenCursors instance;
  return instance;
}

void TScreenCursors::Register(int index, HCURSOR cursor) {
  if (cursor) FCursors[index] = cursor;
}

HCURSOR TScreenCursors::Cursor(int index) const {
  const auto found = FCursors.find(index);
  return found != FCursors.end() ? found->second : ::LoadCursorW(nullptr, IDC_ARROW);
}

void TScreenCursors::SetScreenCursor(int index) {
  if (index == FScreenCursor) return;
  FScreenCursor = index;
  if (index != crDefault) {
    ::SetCursor(Cursor(index));
    return;
  }
  // Back to the windows' own cursors: the window under the mouse chooses again now rather
  // than at the next mouse move.
  POINT mouse{};
  HWND window = ::GetCursorPos(&mouse) ? ::WindowFromPoint(mouse) : nullptr;
  if (!window) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    return;
  }
  const LRESULT hit = ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(mouse.x, mouse.y));
  ::SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
}

HCURSOR TScreenCursors::ScreenCursorOverride() const {
  return FScreenCursor == crDefault ? nullptr : Cursor(FScreenCursor);
}
