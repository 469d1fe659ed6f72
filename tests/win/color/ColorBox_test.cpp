// The colour box on the screen: what it paints in each state, what its mouse and keys do,
// picking a colour from another window with the shared magnifier following, and its
// context menu.
#include <gtest/gtest.h>

#include <cstdint>
#include <windows.h>

#include <string>
#include <vector>

#include "color/win32/QorvelColorClipboard.h"
#include "color/win32/QorvelColorControls.h"
#include "color/win32/QorvelColorServices.h"
#include "gui/Handles.h"
#include "gui/Pixels.h"
#include "gui/ScreenCursors.h"
#include "ruler/QorvelColorUtils.h"
#include "ruler/win32/QorvelDesktopMagnifiers.h"
#include "support/MessagePump.h"
#include "support/PlacedWindow.h"
#include "support/ScreenPixels.h"

namespace {

constexpr COLORREF kTarget = RGB(0x12, 0xA4, 0x56);  // the colour of the window to pick from

// A top-level window filled with one colour, holding the box at (10, 10).
class THost : public TPlacedWindow {
 public:
  THost(int left, int top, COLORREF fill) : FFill(fill) {
    CreateAt(L"TColorBoxTestHost", {left, top, left + 160, top + 60}, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
             WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_ERASEBKGND) {
      RECT r = ClientRect();
      TBrushHandle brush(::CreateSolidBrush(FFill));
      ::FillRect(reinterpret_cast<HDC>(wParam), &r, brush.Get());
      return 1;
    }
    return DefaultHandler(message, wParam, lParam);
  }

 private:
  COLORREF FFill;
};

struct TEvents {
  int Changes = 0;
  int Dialogs = 0;
  std::vector<TColor> Previews;
  void Attach(TQorvelColorBox& box) {
    box.OnChange = [this](TQorvelColorBox&) { ++Changes; };
    box.OnDialog = [this](TQorvelColorBox&) { ++Dialogs; };
    box.OnPreview = [this](TQorvelColorBox&, TColor c) { Previews.push_back(c); };
  }
};

// A colour box on a white host, with its events counted.
struct TBoxWithEvents {
  THost Host{100, 100, RGB(255, 255, 255)};
  TQorvelColorBox Box{Host.Handle(), 10, 10};
  TEvents Events;
  TBoxWithEvents() { Events.Attach(Box); }
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

void Click(HWND box, int x, int y) {
  ::SendMessageW(box, WM_MOUSEMOVE, 0, At(x, y));
  ::SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  ::SendMessageW(box, WM_LBUTTONUP, 0, At(x, y));
}

}  // namespace

TEST(ColorBoxPaint, FaceFrameEyedropperMarksAndCaptionInTheContrastColour) {
  THost host(100, 100, RGB(255, 255, 255));
  TQorvelColorBox box(host.Handle(), 10, 10);
  EXPECT_EQ(box.Width(), 75);
  EXPECT_EQ(box.Height(), 25);
  box.SetColor(0x0000FF);  // red: dark, so the marks are white
  const TPixelBuffer red = PrintClient(box.Handle());
  EXPECT_EQ(red.At(30, 3), 0xFF0000u);
  EXPECT_EQ(red.At(30, 0), 0x000000u);   // frame
  EXPECT_EQ(red.At(74, 12), 0x000000u);  // frame over the face's right edge
  EXPECT_EQ(red.At(4, 6), 0xFFFFFFu);    // top-left corner mark of the eyedropper
  EXPECT_EQ(red.At(6, 6), 0xFFFFFFu);
  EXPECT_EQ(red.At(7, 6), 0xFF0000u);    // the mark is three pixels long
  EXPECT_EQ(red.At(10, 12), 0xFF0000u);  // the square's inside shows the colour
  // The glyph is lightened onto a dark colour: white shape, face around it.
  const TColorBoxGeometry g = box.Geometry();
  EXPECT_EQ(red.At(g.Glyph.Left + 2, g.Glyph.Top + 2), 0xFFFFFFu);
  EXPECT_EQ(red.At(g.Glyph.Left, g.Glyph.Top), 0xFF0000u);

  box.SetColor(0xFFFFFF);  // light: black marks, glyph darkened
  const TPixelBuffer white = PrintClient(box.Handle());
  EXPECT_EQ(white.At(4, 6), 0x000000u);
  EXPECT_EQ(white.At(g.Glyph.Left + 2, g.Glyph.Top + 2), 0x000000u);
  EXPECT_EQ(white.At(g.Glyph.Left, g.Glyph.Top), 0xFFFFFFu);

  // A caption is drawn in the contrast colour, centred. Smoothed glyphs leave few pixels of
  // the exact colour, so any clearly dark pixel counts.
  box.SetCaption(L"WWW");
  const TPixelBuffer captioned = PrintClient(box.Handle());
  const auto isDark = [](std::uint32_t pixel) {
    return ((pixel >> 16) & 0xFF) < 0x80 && ((pixel >> 8) & 0xFF) < 0x80 && (pixel & 0xFF) < 0x80;
  };
  int dark = 0;
  for (int y = 5; y < 20; ++y)
    for (int x = 25; x < 50; ++x) dark += isDark(captioned.At(x, y)) ? 1 : 0;
  EXPECT_GT(dark, 10);
}

TEST(ColorBoxPaint, OptionsHideTheEyedropperAndTheGlyph) {
  THost host(100, 100, RGB(255, 255, 255));
  TQorvelColorBox box(host.Handle(), 10, 10);
  box.SetColor(0xFFFFFF);
  box.SetOptions({});
  const TPixelBuffer plain = PrintClient(box.Handle());
  const TColorBoxGeometry g = box.Geometry();
  EXPECT_EQ(plain.At(4, 6), 0xFFFFFFu);
  EXPECT_EQ(plain.At(g.Glyph.Left + 2, g.Glyph.Top + 2), 0xFFFFFFu);
}

TEST(ColorBoxPaint, DisabledShowsButtonFaceAndGrayFrameWithoutEyedropper) {
  THost host(100, 100, RGB(255, 255, 255));
  TQorvelColorBox box(host.Handle(), 10, 10);
  box.SetColor(0x0000FF);
  box.SetEnabled(false);
  const TPixelBuffer pixels = PrintClient(box.Handle());
  const TPixel face = ColorToPixel(::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pixels.At(30, 3), face);
  EXPECT_EQ(pixels.At(30, 0), ColorToPixel(::GetSysColor(COLOR_GRAYTEXT)));
  EXPECT_EQ(pixels.At(4, 6), face);
}

TEST(ColorBoxPaint, FocusShowsADottedFrameInsideTheBorder) {
  THost host(100, 100, RGB(255, 255, 255));
  TQorvelColorBox box(host.Handle(), 10, 10);
  box.SetColor(0xFFFFFF);
  ::SetForegroundWindow(host.Handle());
  ::SetFocus(box.Handle());
  ASSERT_TRUE(box.Focused());
  const TPixelBuffer pixels = PrintClient(box.Handle());
  EXPECT_EQ(pixels.At(30, 2), 0x000000u);  // 30 + 2 even: a dot
  EXPECT_EQ(pixels.At(31, 2), 0xFFFFFFu);
  EXPECT_EQ(pixels.At(30, 22), 0x000000u);
}

TEST(ColorBoxMouse, FaceClickAndSpaceOpenTheDialogSettingTheColourDoesNotFireChange) {
  TBoxWithEvents setup;
  auto& [host, box, events] = setup;
  box.SetColor(0x123456);
  EXPECT_EQ(events.Changes, 0);
  Click(box.Handle(), 40, 12);
  EXPECT_EQ(events.Dialogs, 1);
  EXPECT_EQ(box.PressedZone(), TColorBoxZone::czNone);
  ::SendMessageW(box.Handle(), WM_KEYDOWN, VK_SPACE, 0);
  ::SendMessageW(box.Handle(), WM_KEYDOWN, VK_SPACE, 0x40000000);  // auto-repeat
  EXPECT_EQ(events.Dialogs, 2);

  // Pressed on the face, released outside the box: nothing.
  ::SendMessageW(box.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(40, 12));
  ::SendMessageW(box.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(200, 12));
  ::SendMessageW(box.Handle(), WM_LBUTTONUP, 0, At(200, 12));
  EXPECT_EQ(events.Dialogs, 2);
}

// Another program may post the accessibility default action at will: while the box's dialog
// is open, a request to open it again is ignored, not stacked.
TEST(ColorBoxMouse, NoSecondDialogWhileTheBoxsDialogIsOpen) {
  TBoxWithEvents setup;
  int opened = 0;
  setup.Box.OnDialog = [&](TQorvelColorBox& self) {
    if (++opened < 3) self.OpenDialog();
  };
  setup.Box.OpenDialog();
  setup.Box.OpenDialog();
  EXPECT_EQ(opened, 2);
}

TEST(ColorBoxMouse, DialogPreviewAndCancelRestoreTheColourWithoutChange) {
  TBoxWithEvents setup;
  auto& [host, box, events] = setup;
  box.SetColor(0x8000000F);  // a system colour
  box.OnDialog = [&](TQorvelColorBox& b) {
    b.PreviewColor(0x00FF00);
    b.PreviewColor(0x00FF00);  // the same again: no second preview
    b.PreviewColor(0xFF0000);
    b.PreviewColor(0x8000000F);  // cancelled: the dialog reports its initial colour
  };
  box.OpenDialog();
  EXPECT_EQ(box.Color(), 0x8000000Fu);
  EXPECT_EQ(events.Previews, (std::vector<TColor>{0x00FF00, 0xFF0000, 0x8000000F}));
  EXPECT_EQ(events.Changes, 0);

  box.ApplyDialogColor(0x0000FF, TQorvelColorComponent::pccGreen);
  EXPECT_EQ(box.Color(), 0x0000FFu);
  EXPECT_EQ(box.ColorComponent(), TQorvelColorComponent::pccGreen);
  EXPECT_EQ(events.Changes, 1);
}

TEST(ColorBoxPicking, DragFromTheEyedropperPicksTheColourUnderTheMouseWithTheMagnifierBeside) {
  THost host(100, 100, RGB(255, 255, 255));
  THost target(400, 300, kTarget);
  TQorvelColorBox box(host.Handle(), 10, 10);
  TEvents events;
  events.Attach(box);
  box.SetColor(0x000000);
  ::UpdateWindow(target.Handle());
  PumpMessages();

  const TColorBoxGeometry g = box.Geometry();
  POINT start{g.Eyedropper.Left + 5, g.Eyedropper.Top + 5};
  POINT startOnScreen = start;
  ::ClientToScreen(box.Handle(), &startOnScreen);
  ::SetCursorPos(startOnScreen.x, startOnScreen.y);
  ::SendMessageW(box.Handle(), WM_MOUSEMOVE, 0, At(start.x, start.y));
  ::SendMessageW(box.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(start.x, start.y));
  ASSERT_TRUE(box.Picking());
  TQorvelDesktopMagnifierForm& magnifier = SharedDesktopMagnifierForm();
  EXPECT_TRUE(magnifier.Visible());
  EXPECT_EQ(magnifier.Magnifier().Target(), (TPoint{startOnScreen.x, startOnScreen.y}));  // where the press was
  EXPECT_EQ(TScreenCursors::Instance().ScreenCursor(), crQorvelCircle);
  EXPECT_EQ(::GetCapture(), box.Handle());

  // Over the target window.
  ::SetCursorPos(480, 330);
  POINT client{480, 330};
  ::ScreenToClient(box.Handle(), &client);
  ::SendMessageW(box.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(client.x, client.y));
  EXPECT_EQ(box.PickedColor(), static_cast<TColor>(kTarget));
  EXPECT_EQ(magnifier.Magnifier().Target(), (TPoint{480, 330}));
  const RECT placed = magnifier.BoundsRect();
  EXPECT_FALSE(::PtInRect(&placed, POINT{480, 330}));  // out of the mouse's way
  EXPECT_EQ(box.Color(), 0u);                          // not yet taken
  // The pressed eyedropper shows the colour being picked.
  EXPECT_EQ(PrintClient(box.Handle()).At(g.Eyedropper.Left + 5, g.Eyedropper.Top + 5), ColorToPixel(kTarget));

  ::SendMessageW(box.Handle(), WM_LBUTTONUP, 0, At(client.x, client.y));
  EXPECT_FALSE(box.Picking());
  EXPECT_EQ(box.Color(), static_cast<TColor>(kTarget));
  EXPECT_EQ(events.Changes, 1);
  EXPECT_FALSE(magnifier.Visible());
  EXPECT_EQ(TScreenCursors::Instance().ScreenCursor(), crDefault);
  EXPECT_NE(::GetCapture(), box.Handle());
}

TEST(ColorBoxPicking, AnotherButtonDisablingOrLosingTheCaptureCancelsThePick) {
  THost host(100, 100, RGB(255, 255, 255));
  THost target(400, 300, kTarget);
  TQorvelColorBox box(host.Handle(), 10, 10);
  TEvents events;
  events.Attach(box);
  ::UpdateWindow(target.Handle());
  PumpMessages();
  const TColorBoxGeometry g = box.Geometry();
  const LPARAM eyedropper = At(g.Eyedropper.Left + 3, g.Eyedropper.Top + 3);
  auto startAndMoveOverTarget = [&] {
    ::SendMessageW(box.Handle(), WM_MOUSEMOVE, 0, eyedropper);
    ::SendMessageW(box.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, eyedropper);
    ::SetCursorPos(450, 320);
    ::SendMessageW(box.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(300, 200));
    ASSERT_TRUE(box.Picking());
    ASSERT_EQ(box.PickedColor(), static_cast<TColor>(kTarget));
  };

  startAndMoveOverTarget();
  ::SendMessageW(box.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(300, 200));
  ::SendMessageW(box.Handle(), WM_RBUTTONUP, 0, At(300, 200));  // no menu after a cancelling click
  EXPECT_FALSE(box.Picking());

  startAndMoveOverTarget();
  box.SetEnabled(false);
  EXPECT_FALSE(box.Picking());
  box.SetEnabled(true);

  startAndMoveOverTarget();
  ::ReleaseCapture();
  EXPECT_FALSE(box.Picking());

  startAndMoveOverTarget();
  ::SendMessageW(box.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(box.Picking());

  EXPECT_EQ(box.Color(), 0u);
  EXPECT_EQ(events.Changes, 0);
  EXPECT_FALSE(SharedDesktopMagnifierForm().Visible());
  EXPECT_EQ(TScreenCursors::Instance().ScreenCursor(), crDefault);
}

TEST(ColorBoxPicking, ReleasingOverTheEyedropperKeepsTheColour) {
  TBoxWithEvents setup;
  auto& [host, box, events] = setup;
  box.SetColor(0x00FF00);
  const TColorBoxGeometry g = box.Geometry();
  POINT inside{g.Eyedropper.Left + 4, g.Eyedropper.Top + 4};
  POINT screen = inside;
  ::ClientToScreen(box.Handle(), &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::SendMessageW(box.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(inside.x, inside.y));
  ::SendMessageW(box.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(inside.x, inside.y));
  EXPECT_EQ(box.PickedColor(), 0x00FF00u);
  ::SendMessageW(box.Handle(), WM_LBUTTONUP, 0, At(inside.x, inside.y));
  EXPECT_EQ(events.Changes, 0);
}

namespace {

// Runs `during` once from inside the next modal loop (the menu's), then closes the menu.
struct TDuringMenu {
  static inline std::function<void()> Action;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    if (Action) Action();
    Action = nullptr;
  }
  static void Schedule(std::function<void()> action) {
    Action = std::move(action);
    ::SetTimer(nullptr, 0, 150, &Tick);
  }
};

std::wstring MenuText(HMENU menu, UINT position) {
  wchar_t text[64] = {};
  ::GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
  return text;
}

}  // namespace

TEST(ColorBoxMenu, ItemsInOrderWithSelectAsDefaultAndPasteFollowingTheClipboard) {
  THost host(100, 100, RGB(255, 255, 255));
  TQorvelColorBox box(host.Handle(), 10, 10);
  TQorvelColorPopupMenu& popup = ColorPopupMenu();

  ASSERT_TRUE(ColorClipboard().CopyColor(0x0000FF));
  TMenuHandle menu(popup.BuildOwnerDrawnMenu());
  ASSERT_EQ(::GetMenuItemCount(menu.Get()), 15);
  const wchar_t* captions[] = {
      L"&Select...",      L"&Copy",           L"Copy &as",       L"&Paste", L"&Recent colors",  L"",
      L"&Black",          L"50% &Gray",       L"&White",         L"",       L"User defined &1", L"User defined &2",
      L"User defined &3", L"User defined &4", L"User defined &5"};
  for (UINT i = 0; i < 15; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    ::GetMenuItemInfoW(menu.Get(), i, TRUE, &info);
    if (i == 5 || i == 9) {
      EXPECT_TRUE(info.fType & MFT_SEPARATOR) << i;
      continue;
    }
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << i;
    EXPECT_EQ(MenuText(menu.Get(), i), captions[i]);
  }
  EXPECT_EQ(::GetMenuDefaultItem(menu.Get(), TRUE, 0), 0u);
  EXPECT_FALSE(::GetMenuState(menu.Get(), 3, MF_BYPOSITION) & MF_GRAYED);
  TColor swatch = 0;
  ASSERT_TRUE(popup.SwatchColor(TQorvelColorPopupMenu::tagPaste, swatch));
  EXPECT_EQ(swatch, 0x0000FFu);

  ::OpenClipboard(nullptr);
  ::EmptyClipboard();
  ::CloseClipboard();
  TMenuHandle empty(popup.BuildOwnerDrawnMenu());
  EXPECT_TRUE(::GetMenuState(empty.Get(), 3, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_FALSE(popup.SwatchColor(TQorvelColorPopupMenu::tagPaste, swatch));

  // The user-defined swatches show the service's colours.
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(popup.SwatchColor(TQorvelColorPopupMenu::tagUser1 + i, swatch));
    EXPECT_EQ(swatch, ColorDefinitionService().GetColor(i));
  }
  EXPECT_TRUE(popup.SwatchColor(TQorvelColorPopupMenu::tagGray, swatch));
  EXPECT_EQ(swatch, 0x808080u);
  EXPECT_FALSE(popup.SwatchColor(TQorvelColorPopupMenu::tagCopy, swatch));
}

TEST(ColorBoxMenu, GlyphClickOpensTheMenuAndAMnemonicChoosesAColourFiringChangeEvenWhenEqual) {
  TBoxWithEvents setup;
  auto& [host, box, events] = setup;
  box.SetColor(0xFFFFFF);
  ::SetForegroundWindow(host.Handle());
  const TColorBoxGeometry g = box.Geometry();

  bool open = false;
  TDuringMenu::Schedule([&] {
    open = ColorPopupMenu().PopupComponent() == &setup.Box;  // clang 15 cannot capture a binding
    HWND menuWindow = ::FindWindowW(L"#32768", nullptr);
    ::PostMessageW(menuWindow, WM_CHAR, L'w', 0);  // "&White", the colour it already has
  });
  Click(box.Handle(), g.Glyph.Left + 3, g.Glyph.Top + 3);
  EXPECT_TRUE(open);
  EXPECT_EQ(box.Color(), 0xFFFFFFu);
  EXPECT_EQ(events.Changes, 1);

  TDuringMenu::Schedule([] { ::PostMessageW(::FindWindowW(L"#32768", nullptr), WM_CHAR, L'b', 0); });
  ::SendMessageW(box.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box.Handle()), MAKELPARAM(0xFFFF, 0xFFFF));
  EXPECT_EQ(box.Color(), 0x000000u);
  EXPECT_EQ(events.Changes, 2);
}

namespace {

// What the menu draws for one item into a white 160 x 20 bitmap.
TPixelBuffer DrawMenuItem(TQorvelColorPopupMenu& popup, UINT position, UINT state) {
  constexpr int width = 160, height = 20;
  return DrawnPixels(width, height, [&](HDC dc) {
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = position + 1;
    draw.itemState = state;
    draw.hDC = dc;
    draw.rcItem = {0, 0, width, height};
    popup.Draw(draw);
  });
}

int CountPixels(const TPixelBuffer& pixels, TPixel colour, int fromX) {
  int n = 0;
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = fromX; x < pixels.Width(); ++x) n += pixels.At(x, y) == colour ? 1 : 0;
  return n;
}

}  // namespace

TEST(ColorBoxMenu, ItemsAreMeasuredAndDrawnWithSwatchesBoldDefaultAndEmbossedDisabledCaptions) {
  THost host(100, 100, RGB(255, 255, 255));
  TQorvelColorBox box(host.Handle(), 10, 10);
  ::OpenClipboard(nullptr);
  ::EmptyClipboard();  // nothing to paste: "&Paste" is disabled
  ::CloseClipboard();
  TQorvelColorPopupMenu& popup = ColorPopupMenu();
  ::SetForegroundWindow(host.Handle());

  bool drawn = false;
  TDuringMenu::Schedule([&] {
    // Only while the menu is open does it draw: other menus of the owner stay untouched.
    MEASUREITEMSTRUCT copy{ODT_MENU, 0, 2, 0, 15, 0};
    ASSERT_TRUE(popup.Measure(copy));
    EXPECT_GE(copy.itemHeight, 15u);
    MEASUREITEMSTRUCT select{ODT_MENU, 0, 1, 0, 15, 0};
    popup.Measure(select);
    EXPECT_GT(select.itemWidth, copy.itemWidth);  // a longer caption, and bold

    const TPixel shadow = ColorToPixel(::GetSysColor(COLOR_BTNSHADOW));
    const TPixel highlight = ColorToPixel(::GetSysColor(COLOR_BTNHIGHLIGHT));
    const TPixel menu = ColorToPixel(::GetSysColor(COLOR_MENU));
    const TPixelBuffer paste = DrawMenuItem(popup, TQorvelColorPopupMenu::tagPaste, ODS_DISABLED);
    EXPECT_GT(CountPixels(paste, shadow, 20), 10);  // the caption in the shadow colour...
    if (highlight != menu) {
      EXPECT_GT(CountPixels(paste, highlight, 20), 5);  // ...over its light copy
    }
    EXPECT_EQ(paste.At(5, 10), menu);  // no swatch: nothing to paste

    const TPixelBuffer black = DrawMenuItem(popup, TQorvelColorPopupMenu::tagBlack, 0);
    EXPECT_EQ(black.At(2, 2), 0u);    // the swatch's black outline from (2, 2) ...
    EXPECT_EQ(black.At(9, 10), 0u);   // ... filled black
    EXPECT_EQ(black.At(17, 10), 0u);  // to the item height minus 2, exclusive
    EXPECT_EQ(black.At(18, 10), menu);
    const TPixelBuffer white = DrawMenuItem(popup, TQorvelColorPopupMenu::tagWhite, 0);
    EXPECT_EQ(white.At(2, 2), 0u);
    EXPECT_EQ(white.At(9, 10), 0xFFFFFFu);
    const TPixelBuffer selected = DrawMenuItem(popup, TQorvelColorPopupMenu::tagWhite, ODS_SELECTED);
    EXPECT_EQ(selected.At(100, 1), ColorToPixel(::GetSysColor(COLOR_HIGHLIGHT)));
    drawn = true;
    ::EndMenu();
  });
  box.Popup(200, 200);
  EXPECT_TRUE(drawn);
  MEASUREITEMSTRUCT after{ODT_MENU, 0, 1, 0, 15, 0};
  EXPECT_FALSE(popup.Measure(after));
}
