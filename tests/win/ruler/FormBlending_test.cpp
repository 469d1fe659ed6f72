// Translucent windows: the layered style and its alpha as the system reports them back, and
// when the system function is called at all.
#include <gtest/gtest.h>
#include <windows.h>

#include "ruler/win32/QorvelFormBlendings.h"
#include "support/PlacedWindow.h"

namespace {

class TBlendingTestWindow : public TPlacedWindow {
 public:
  TBlendingTestWindow() {
    CreateAt(L"TVindleBlendingTestWindow", {40, 40, 340, 80}, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  }
};

LONG ExStyle(HWND window) { return ::GetWindowLongW(window, GWL_EXSTYLE); }
bool Layered(HWND window) { return (ExStyle(window) & WS_EX_LAYERED) != 0; }

// The alpha the system holds for a layered window, or -1 when it reports none.
int LayeredAlpha(HWND window) {
  BYTE alpha = 0;
  DWORD flags = 0;
  COLORREF key = 0;
  if (!::GetLayeredWindowAttributes(window, &key, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
  return alpha;
}

int Calls = 0;
BOOL WINAPI CountingSetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
  ++Calls;
  return QorvelFormBlendings::SystemSetLayeredWindowAttributes()(window, key, alpha, flags);
}

}  // namespace

TEST(Blending, LayersWithTheAlphaAndSwitchesLayeringOff) {
  ASSERT_TRUE(QorvelFormBlendings::Available()) << "user32 exports SetLayeredWindowAttributes";
  TBlendingTestWindow window;
  const HWND handle = window.Handle();
  TQorvelFormBlending blending(handle);
  EXPECT_FALSE(Layered(handle)) << "nothing is applied before an alpha is set";

  blending.SetAlpha(166);  // 65 % opacity
  EXPECT_TRUE(Layered(handle));
  EXPECT_EQ(LayeredAlpha(handle), 166);
  EXPECT_TRUE(ExStyle(handle) & WS_EX_TOOLWINDOW) << "other extended styles are kept";
  EXPECT_TRUE(ExStyle(handle) & WS_EX_TOPMOST);

  blending.SetAlpha(256);  // 100 %: no layering at all
  EXPECT_FALSE(Layered(handle));
  EXPECT_TRUE(ExStyle(handle) & WS_EX_TOOLWINDOW);

  blending.SetAlpha(255);
  EXPECT_EQ(LayeredAlpha(handle), 255);
  blending.SetAlpha(0);
  EXPECT_EQ(LayeredAlpha(handle), 0);
  blending.SetAlpha(-1);
  EXPECT_FALSE(Layered(handle));
}

TEST(Blending, AppliesOnlyWhatChanged) {
  TBlendingTestWindow window;
  TBlendingTestWindow recreated;
  Calls = 0;
  TQorvelFormBlending blending(window.Handle(), &CountingSetLayeredWindowAttributes);
  blending.SetAlpha(0);
  EXPECT_EQ(Calls, 0) << "a new object already stands at 0";
  blending.SetAlpha(166);
  blending.SetAlpha(166);
  EXPECT_EQ(Calls, 1);
  // Switching configurations passes through 0 so that equal values are applied afresh.
  blending.SetAlpha(0);
  blending.SetAlpha(166);
  EXPECT_EQ(Calls, 3);
  EXPECT_EQ(LayeredAlpha(window.Handle()), 166);

  blending.SetHandle(window.Handle());
  EXPECT_EQ(Calls, 3);
  blending.SetHandle(recreated.Handle());
  EXPECT_EQ(Calls, 4);
  EXPECT_EQ(LayeredAlpha(recreated.Handle()), 166) << "a new window handle gets the current alpha";

  blending.SetHandle(nullptr);
  blending.SetAlpha(100);
  EXPECT_EQ(Calls, 4) << "without a window nothing is applied";
  EXPECT_EQ(blending.Alpha(), 100);
}

TEST(Blending, WithoutTheSystemFunctionWindowsStayOpaque) {
  TBlendingTestWindow window;
  const LONG before = ExStyle(window.Handle());
  TQorvelFormBlending blending(window.Handle(), nullptr);
  blending.SetAlpha(166);
  blending.SetAlpha(0);
  EXPECT_EQ(ExStyle(window.Handle()), before);
  EXPECT_EQ(blending.Alpha(), 0) << "the value is still kept for the caller";
}
