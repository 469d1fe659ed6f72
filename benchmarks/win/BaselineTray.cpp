// The least a tray program with one floating window can cost: the whole-program timings of
// Vindle.exe are ratios against this program run the same way in the same session.
//
//   BaselineTray.exe            one topmost tool window the ruler's size and one tray icon
//   BaselineTray.exe timer      the same with a 50 ms timer that only reads the cursor
//   BaselineTray.exe capture    the same with a 50 ms timer that copies the 17 x 17 screen
//                               pixels around the cursor, enlarged with StretchBlt, into a
//                               50 x 50 square of the window (what a magnifier must do)
//   BaselineTray.exe overlay    the same as plain, and Ctrl+Alt+Shift+M copies the whole
//                               screen into a bitmap and shows it in a topmost window over
//                               the screen ("Vindle Baseline overlay"); Escape hides it again
//                               (the least a still-image measuring overlay must do)
//
// Plain Win32 on purpose: no toolkit, no settings, nothing but what the comparison needs.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "gui/Handles.h"

namespace {

constexpr wchar_t ClassName[] = L"VindleBaselineTray";
constexpr wchar_t Title[] = L"Vindle Baseline";
constexpr int Width = 500, Height = 50;
constexpr int Square = 50, Source = 17;  // the ruler's magnifier at zoom 3
constexpr UINT_PTR TimerId = 1;
constexpr UINT TimerInterval = 50;
constexpr UINT TrayMessage = WM_APP + 1;

constexpr wchar_t OverlayClassName[] = L"VindleBaselineOverlay";
constexpr wchar_t OverlayTitle[] = L"Vindle Baseline overlay";
constexpr int OverlayHotkey = 1;

enum class TMode { Plain, Timer, Capture, Overlay };
TMode Mode = TMode::Plain;

// The overlay's still image of the screen, while it is shown.
struct TScreenImage {
  TMemoryDC DC;
  TBitmapHandle Bitmap;
  HGDIOBJ Initial = nullptr;
  ~TScreenImage() {
    if (DC && Initial) ::SelectObject(DC.Get(), Initial);
  }
};
TScreenImage* Image = nullptr;
HWND OverlayWindow = nullptr;

void ShowOverlay() {
  if (Image) return;
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  auto* image = new TScreenImage;
  const TWindowDC screen(nullptr);
  image->DC.Reset(::CreateCompatibleDC(screen.Get()));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  image->Bitmap.Reset(::CreateDIBSection(image->DC.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  image->Initial = ::SelectObject(image->DC.Get(), image->Bitmap.Get());
  ::BitBlt(image->DC.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY | CAPTUREBLT);
  Image = image;
  OverlayWindow = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, OverlayClassName, OverlayTitle, WS_POPUP, 0, 0,
                                    width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::ShowWindow(OverlayWindow, SW_SHOW);
  ::SetForegroundWindow(OverlayWindow);
}

void HideOverlay() {
  if (OverlayWindow) ::DestroyWindow(OverlayWindow);
  OverlayWindow = nullptr;
  delete Image;
  Image = nullptr;
}

LRESULT CALLBACK OverlayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(window, &paint);
      if (Image)
        ::BitBlt(dc, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
                 paint.rcPaint.bottom - paint.rcPaint.top, Image->DC.Get(), paint.rcPaint.left, paint.rcPaint.top,
                 SRCCOPY);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) HideOverlay();
      return 0;
    default: return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

void CaptureAroundCursor(HWND window) {
  POINT cursor{};
  if (!::GetCursorPos(&cursor)) return;
  const TWindowDC screen(nullptr);
  const TWindowDC target(window);
  ::StretchBlt(target.Get(), Width - Square, 0, Square, Square, screen.Get(), cursor.x - Source / 2,
               cursor.y - Source / 2, Source, Source, SRCCOPY);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(window, &paint);
      const TBrushHandle brush(::CreateSolidBrush(RGB(0xFF, 0xFF, 0xA0)));
      ::FillRect(dc, &paint.rcPaint, brush.Get());
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_TIMER:
      if (Mode == TMode::Capture) {
        CaptureAroundCursor(window);
      } else {
        POINT cursor{};
        ::GetCursorPos(&cursor);
      }
      return 0;
    case WM_HOTKEY:
      if (Image)
        HideOverlay();
      else
        ShowOverlay();
      return 0;
    case WM_CLOSE: ::DestroyWindow(window); return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

// The icon in the notification area, removed again when the program ends.
class TTrayIcon {
 public:
  explicit TTrayIcon(HWND window) {
    FData.cbSize = sizeof(FData);
    FData.hWnd = window;
    FData.uID = 1;
    FData.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    FData.uCallbackMessage = TrayMessage;
    FData.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    std::wcsncpy(FData.szTip, Title, sizeof(FData.szTip) / sizeof(wchar_t) - 1);
    FAdded = ::Shell_NotifyIconW(NIM_ADD, &FData) != FALSE;
  }
  ~TTrayIcon() {
    if (FAdded) ::Shell_NotifyIconW(NIM_DELETE, &FData);
  }
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

 private:
  NOTIFYICONDATAW FData{};
  bool FAdded = false;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  if (std::wcscmp(commandLine, L"timer") == 0)
    Mode = TMode::Timer;
  else if (std::wcscmp(commandLine, L"capture") == 0)
    Mode = TMode::Capture;
  else if (std::wcscmp(commandLine, L"overlay") == 0)
    Mode = TMode::Overlay;

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = ClassName;
  if (!::RegisterClassW(&windowClass)) return 1;
  WNDCLASSW overlayClass = windowClass;
  overlayClass.lpfnWndProc = OverlayProc;
  overlayClass.hCursor = ::LoadCursorW(nullptr, IDC_CROSS);
  overlayClass.lpszClassName = OverlayClassName;
  if (!::RegisterClassW(&overlayClass)) return 1;

  // Destroyed through WM_CLOSE in a normal run; the owner covers every other way out.
  TWindowHandle window(::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, ClassName, Title, WS_POPUP, 100, 100, Width,
                                         Height, nullptr, nullptr, instance, nullptr));
  if (!window) return 1;
  const TTrayIcon icon(window.Get());
  ::ShowWindow(window.Get(), SW_SHOWNOACTIVATE);
  ::UpdateWindow(window.Get());
  if (Mode == TMode::Timer || Mode == TMode::Capture) ::SetTimer(window.Get(), TimerId, TimerInterval, nullptr);
  if (Mode == TMode::Overlay) ::RegisterHotKey(window.Get(), OverlayHotkey, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'M');

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  HideOverlay();
  window.Release();  // already destroyed by its WM_CLOSE
  return 0;
}
