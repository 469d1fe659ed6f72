#include "color/win32/ToolWindows.h"

#include "gui/Dpi.h"
#include "gui/Handles.h"

TWindowState TWindowPlacement::WindowState() const {
  if (::IsIconic(FWindow)) return TWindowState::wsMinimized;
  if (::IsZoomed(FWindow)) return TWindowState::wsMaximized;
  return TWindowState::wsNormal;
}

void TWindowPlacement::SetWindowState(TWindowState value) {
  if (value != WindowState())
    ::ShowWindow(FWindow, value == TWindowState::wsMinimized   ? SW_MINIMIZE
                          : value == TWindowState::wsMaximized ? SW_MAXIMIZE
                                                               : SW_RESTORE);
}

RECT TWindowPlacement::Bounds() const {
  RECT r{};
  ::GetWindowRect(FWindow, &r);
  return r;
}

RECT TWindowPlacement::Client() const {
  RECT r{};
  ::GetClientRect(FWindow, &r);
  return r;
}

void TWindowPlacement::Move(int left, int top) {
  ::SetWindowPos(FWindow, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWindowPlacement::Resize(int width, int height) {
  ::SetWindowPos(FWindow, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT CreateDialogFont(UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -::MulDiv(8, static_cast<int>(dpi), 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
  return ::CreateFontIndirectW(&font);
}

void PlaceToolWindow(HWND window, int clientWidth96, int clientHeight96, UINT dpi, int left, int top) {
  PlaceWithClientSize(window, left, top, ScaleForDpi(clientWidth96, dpi), ScaleForDpi(clientHeight96, dpi), dpi);
}
