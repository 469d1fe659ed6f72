// The box-control bases on the screen: one composed picture per paint, only the clip
// repainted, the frame's corners blended into the host's colour, the box cursors, and the
// windowless box painted and pointed at through its host.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "color/win32/QorvelBoxControls.h"
#include "gui/Handles.h"
#include "gui/Pixels.h"
#include "gui/ScreenCursors.h"
#include "ruler/QorvelColorUtils.h"
#include "support/MessagePump.h"
#include "support/PlacedWindow.h"
#include "support/ScreenPixels.h"

namespace {

constexpr TPixel kFace = 0x3366CC;  // pixel order

// A host that records the set-cursor messages it receives and paints its windowless box.
class THost : public TPlacedWindow {
 public:
  THost() { CreateAt(L"TBoxTestHost", {40, 40, 240, 160}, WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW); }
  std::vector<std::pair<WPARAM, LPARAM>> SetCursorMessages;
  TQorvelCustomBoxControl* Box = nullptr;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_SETCURSOR: SetCursorMessages.emplace_back(wParam, lParam); return TRUE;
      case WM_ERASEBKGND: return 1;
      case WM_PAINT: {
        TPaintScope paint(Handle());
        ::FillRect(paint.DC(), &paint.Invalid(), static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        if (Box) Box->Paint(paint.DC(), paint.Invalid());
        return 0;
      }
      default: return DefaultHandler(message, wParam, lParam);
    }
  }
};

// A windowed box: a flat face inside a frame, remembering the parts it was asked to paint.
class TFlatBox : public TQorvelCustomBoxWinControl {
 public:
  using TQorvelCustomBoxWinControl::TQorvelCustomBoxWinControl;
  std::vector<TRect> Painted;
  int Enters = 0, Leaves = 0;

 protected:
  void PaintClip(TBoxSurface& surface) override {
    Painted.push_back(surface.Area());
    FillBox(surface, {0, 0, Width(), Height()}, nullptr, 256, kFace);
    DrawBoxFrame(surface, {0, 0, Width(), Height()}, 0x000000);
  }
  void DoMouseEnter() override { ++Enters; }
  void DoMouseLeave() override { ++Leaves; }
};

class TFlatWindowlessBox : public TQorvelCustomBoxControl {
 public:
  using TQorvelCustomBoxControl::TQorvelCustomBoxControl;
  int Enters = 0, Leaves = 0;

 protected:
  void PaintClip(TBoxSurface& surface) override {
    FillBox(surface, {0, 0, Width(), Height()}, nullptr, 0, 0);  // the checkerboard
    DrawBoxFrame(surface, {0, 0, Width(), Height()}, 0x000000);
  }
  void DoMouseEnter() override { ++Enters; }
  void DoMouseLeave() override { ++Leaves; }
};

}  // namespace

TEST(BoxWinControl, PaintsItsFaceAndFrameWithCornersBlendedIntoTheParentColour) {
  THost host;
  TFlatBox box(host.Handle(), 10, 10, 40, 20);
  box.SetParentColor(0xFFFFFF);
  const TPixelBuffer pixels = PrintClient(box.Handle(), 40, 20);
  EXPECT_EQ(pixels.At(20, 10), kFace);
  EXPECT_EQ(pixels.At(20, 0), 0x000000u);                   // the frame
  EXPECT_EQ(pixels.At(0, 0), MixColors(0, 0xFFFFFF, 224));  // an almost white corner
  EXPECT_EQ(pixels.At(39, 19), MixColors(0, 0xFFFFFF, 224));

  box.SetLook(TQorvelBoxControlLook::pclRect);
  EXPECT_EQ(PrintClient(box.Handle(), 40, 20).At(0, 0), 0x000000u);
  box.SetLook(TQorvelBoxControlLook::pclLowered);
  const TPixelBuffer lowered = PrintClient(box.Handle(), 40, 20);
  EXPECT_EQ(lowered.At(5, 0), ColorToPixel(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(lowered.At(5, 19), ColorToPixel(ColorToRGB(clBtnHighlight)));
}

TEST(BoxWinControl, RepaintsOnlyTheInvalidPartWithTheRestOfTheScreenIntact) {
  THost host;
  TFlatBox box(host.Handle(), 10, 10, 40, 20);
  ::UpdateWindow(host.Handle());
  ::UpdateWindow(box.Handle());
  box.Painted.clear();
  const RECT part{5, 3, 17, 9};
  box.Invalidate(&part);
  ::UpdateWindow(box.Handle());
  ASSERT_EQ(box.Painted.size(), 1u);
  EXPECT_EQ(box.Painted[0], (TRect{5, 3, 17, 9}));

  // Read back from the screen: the box shows its face where it is.
  TWindowDC screen(nullptr);
  POINT inside{20, 10};
  ::ClientToScreen(box.Handle(), &inside);
  EXPECT_EQ(::GetPixel(screen.Get(), inside.x, inside.y), static_cast<COLORREF>(SwapRedBlue(kFace)));
}

TEST(BoxWinControl, LookChangesRepaintOnlyWhenTheValueChanges) {
  THost host;
  TFlatBox box(host.Handle(), 0, 0, 20, 20);
  ::UpdateWindow(box.Handle());
  box.Painted.clear();
  box.SetLook(TQorvelBoxControlLook::pclRoundedRect);  // the default already
  ::UpdateWindow(box.Handle());
  EXPECT_TRUE(box.Painted.empty());
  box.SetLook(TQorvelBoxControlLook::pclRaised);
  ::UpdateWindow(box.Handle());
  EXPECT_EQ(box.Painted.size(), 1u);
}

TEST(BoxWinControl, MouseEnterOnceAndLeaveWhenTheMouseGoes) {
  THost host;
  TFlatBox box(host.Handle(), 0, 0, 20, 20);
  ::SendMessageW(box.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  ::SendMessageW(box.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 3));
  EXPECT_EQ(box.Enters, 1);
  EXPECT_TRUE(box.MouseInside());
  ::SendMessageW(box.Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(box.Leaves, 1);
  EXPECT_FALSE(box.MouseInside());
}

TEST(BoxCursors, TheFourCursorsComeFromTheResourcesAndTheScreenCursorOverridesBoxes) {
  RegisterBoxCursors();
  TScreenCursors& cursors = TScreenCursors::Instance();
  const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  for (int index : {crQorvelCircle, crQorvelMagnify, crQorvelInvisible, crQorvelScrollH}) {
    EXPECT_TRUE(cursors.Registered(index)) << index;
    EXPECT_NE(cursors.Cursor(index), arrow) << index;
  }
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(cursors.Cursor(crQorvelCircle), &info));
  TBitmapHandle mask(info.hbmMask), colour(info.hbmColor);
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 15u);  // the ring's centre
  EXPECT_EQ(info.yHotspot, 15u);

  THost host;
  TFlatBox box(host.Handle(), 0, 0, 20, 20);
  cursors.SetScreenCursor(crQorvelCircle);
  ::SendMessageW(box.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(box.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), cursors.Cursor(crQorvelCircle));
  cursors.SetScreenCursor(crDefault);
  EXPECT_EQ(cursors.ScreenCursorOverride(), nullptr);
}

TEST(BoxControl, WindowlessBoxPaintsThroughItsHostAndTellsItAboutItsCursor) {
  THost host;
  TFlatWindowlessBox box(host.Handle(), RECT{20, 30, 52, 46});
  host.Box = &box;
  ::InvalidateRect(host.Handle(), nullptr, FALSE);
  ::UpdateWindow(host.Handle());

  TWindowDC screen(nullptr);
  auto at = [&](int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(host.Handle(), &p);
    return ::GetPixel(screen.Get(), p.x, p.y);
  };
  EXPECT_EQ(at(10, 10), RGB(255, 255, 255));          // the host's own white
  EXPECT_EQ(at(20 + 10, 30 + 0), RGB(0, 0, 0));       // the box's frame, in its place
  EXPECT_EQ(at(20 + 2, 30 + 2), RGB(255, 255, 255));  // the checkerboard: light square at the box's origin
  EXPECT_EQ(at(20 + 9, 30 + 2), RGB(191, 191, 191));  // dark square next to it

  box.SetCursorNow(crQorvelCircle);
  ASSERT_EQ(host.SetCursorMessages.size(), 1u);
  EXPECT_EQ(host.SetCursorMessages[0].first, reinterpret_cast<WPARAM>(host.Handle()));
  EXPECT_EQ(LOWORD(host.SetCursorMessages[0].second), HTCLIENT);
  EXPECT_EQ(box.CursorHandle(), TScreenCursors::Instance().Cursor(crQorvelCircle));
  box.SetCursorNow(crQorvelCircle);  // unchanged: nothing sent
  EXPECT_EQ(host.SetCursorMessages.size(), 1u);

  POINT inside{25, 35}, outside{5, 5};
  box.UpdateMouse(&inside);
  box.UpdateMouse(&inside);
  box.UpdateMouse(&outside);
  box.UpdateMouse(nullptr);
  EXPECT_EQ(box.Enters, 1);
  EXPECT_EQ(box.Leaves, 1);
  host.Box = nullptr;
  PumpMessages();
}

TEST(DeviceColorFilter, TheTrueColourScreenNeedsNoFilter) {
  TWindowDC screen(nullptr);
  ASSERT_TRUE(screen);
  const int bits = ::GetDeviceCaps(screen.Get(), BITSPIXEL) * ::GetDeviceCaps(screen.Get(), PLANES);
  ASSERT_GE(bits, 24) << "the test display is expected to be true colour";
  EXPECT_EQ(DeviceColorFilter(screen.Get()), nullptr);
}
