// Program entry of Vindle.
#include <windows.h>

#include "gui/Application.h"
#include "gui/Handles.h"
#include "gui/Window.h"
#include "install/QorvelFileVersionInfo.h"

namespace {

// Shown until the tray application takes over: the icon and the version.
class TVersionWindow : public TWindow {
 public:
  TVersionWindow() {
    TCreateParams params;
    params.ClassName = L"TVindleVersionWindow";
    params.Icon = ::LoadIconW(ModuleInstance(), L"MAINICON");
    params.Caption = AppVersionInfo().ProductName();
    params.Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    params.Width = 320;
    params.Height = 140;
    CreateHandle(params);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: {
        TPaintScope paint(Handle());
        RECT client = ClientRect();
        ::FillRect(paint.DC(), &client, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        ::DrawIconEx(paint.DC(), 16, 16, ::LoadIconW(ModuleInstance(), L"MAINICON"), 48, 48, 0, nullptr, DI_NORMAL);
        const std::wstring text = AppVersionInfo().ProductName() + L" " + AppVersionInfo().ProductVersion() +
                                  L"\n" + AppVersionInfo().LegalCopyright();
        RECT textRect{80, 20, client.right - 8, client.bottom - 8};
        ::DrawTextW(paint.DC(), text.c_str(), -1, &textRect, DT_LEFT | DT_NOPREFIX);
        return 0;
      }
      case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return DefaultHandler(message, wParam, lParam);
  }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    TVersionWindow window;
    ::ShowWindow(window.Handle(), SW_SHOW);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  } catch (const std::exception& error) {
    TGuiApplication::Instance().ReportError(error);
  }
  return 0;
}
