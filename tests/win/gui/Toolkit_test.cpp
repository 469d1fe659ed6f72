// The GUI toolkit's base: handle owners, the window thunk, timers, menus, pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/Application.h"
#include "gui/Forms.h"
#include "gui/Handles.h"
#include "gui/ImageLists.h"
#include "gui/Menus.h"
#include "gui/Pixels.h"
#include "gui/Window.h"
#include "install/QorvelFileVersionInfo.h"
#include "support/MessagePump.h"
#include "support/PlacedWindow.h"

namespace {

// Collects what the toolkit would have shown in its error box.
class TCapturedErrors {
 public:
  TCapturedErrors() {
    FPrevious = TGuiApplication::Instance().SetErrorReporter([this](const std::wstring& m) { Messages.push_back(m); });
  }
  ~TCapturedErrors() { TGuiApplication::Instance().SetErrorReporter(FPrevious); }
  std::vector<std::wstring> Messages;

 private:
  TGuiApplication::TErrorReporter FPrevious;
};

class TProbeWindow : public TPlacedWindow {
 public:
  TProbeWindow() { CreateAt(L"TProbeWindow", {10, 20, 210, 120}); }
  std::vector<UINT> Seen;
  bool ThrowOnUser = false;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    Seen.push_back(message);
    if (message == WM_USER) {
      if (ThrowOnUser) throw std::runtime_error("Handler failed.");
      return 42;
    }
    return DefaultHandler(message, wParam, lParam);
  }
};

}  // namespace

TEST(HandleOwners, CloseOnceAndHandOver) {
  TKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  const HANDLE raw = event.Get();
  TKernelHandle moved(std::move(event));
  EXPECT_FALSE(event);
  EXPECT_EQ(moved.Get(), raw);
  moved.Reset();
  DWORD flags = 0;
  EXPECT_FALSE(::GetHandleInformation(raw, &flags)) << "the owner must have closed the handle";

  TFileHandle none;
  EXPECT_FALSE(none);
  EXPECT_EQ(none.Get(), INVALID_HANDLE_VALUE);
}

TEST(WindowBase, ThunkRoutesMessagesAndReportsErrors) {
  TCapturedErrors errors;
  TProbeWindow window;
  ASSERT_TRUE(window.HandleAllocated());
  EXPECT_EQ(::SendMessageW(window.Handle(), WM_USER, 0, 0), 42);
  EXPECT_NE(std::find(window.Seen.begin(), window.Seen.end(), static_cast<UINT>(WM_CREATE)), window.Seen.end())
      << "WM_CREATE must already reach the object";

  window.ThrowOnUser = true;
  EXPECT_EQ(::SendMessageW(window.Handle(), WM_USER, 0, 0), 0) << "a failed handler answers like the default";
  ASSERT_EQ(errors.Messages.size(), 1u);
  EXPECT_EQ(errors.Messages[0], L"Handler failed.");
  // A handler failing the same way on every message (a paint, a timer) reports it once.
  ::SendMessageW(window.Handle(), WM_USER, 0, 0);
  EXPECT_EQ(errors.Messages.size(), 1u);

  const RECT bounds = window.BoundsRect();
  EXPECT_EQ(bounds.left, 10);
  EXPECT_EQ(bounds.top, 20);
  EXPECT_EQ(bounds.right - bounds.left, 200);
}

TEST(WindowBase, DestroyedWindowForgetsItsObject) {
  auto window = std::make_unique<TProbeWindow>();
  const HWND handle = window->Handle();
  window.reset();
  EXPECT_FALSE(::IsWindow(handle));
  // Messages to the dead handle must not reach freed memory.
  EXPECT_EQ(::SendMessageW(handle, WM_USER, 0, 0), 0);
}

TEST(WindowBase, TimersFireAndStop) {
  TProbeWindow window;
  int ticks = 0;
  window.StartTimer(7, 10, [&] {
    if (++ticks == 3) window.StopTimer(7);
  });
  PumpFor(400);
  EXPECT_EQ(ticks, 3);
}

TEST(MessageWindow, HearsBroadcastsAsATopLevelWindow) {
  const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
  int heard = 0;
  TMessageWindow window(L"TMessageWindowTest", [&](UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != taskbarCreated) return false;
    ++heard;
    result = 0;
    return true;
  });
  EXPECT_FALSE(::IsWindowVisible(window.Handle()));
  EXPECT_EQ(::GetParent(window.Handle()), nullptr);
  DWORD_PTR answer = 0;
  ::SendMessageTimeoutW(HWND_BROADCAST, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
  EXPECT_EQ(heard, 1);
}

TEST(PopupMenus, BuildsWhatTheUserSees) {
  TImageList images(L"MENUIMAGES", 16, 16);
  EXPECT_EQ(images.Count(), 9);
  TPopupMenu menu;
  menu.SetImages(&images);
  menu.Add(L"&Show ruler", 0).Default = true;
  menu.AddSeparator();
  TMenuItem& checked = menu.Add(L"Configuration &1");
  checked.Checked = true;
  menu.Add(L"&Settings...").Enabled = false;
  menu.Add(L"Hidden").Visible = false;
  TPopupMenu& units = menu.AddSubmenu(L"&Unit");
  units.Add(L"&Pixels");
  units.Add(L"P&oints");
  menu.Add(L"E&xit", 7);

  TMenuHandle built(menu.BuildMenu());
  ASSERT_EQ(::GetMenuItemCount(built.Get()), 6);  // the hidden item is left out
  wchar_t caption[64];
  ::GetMenuStringW(built.Get(), 0, caption, 64, MF_BYPOSITION);
  EXPECT_STREQ(caption, L"&Show ruler");
  EXPECT_EQ(::GetMenuDefaultItem(built.Get(), TRUE, 0), 0u);
  EXPECT_TRUE(::GetMenuState(built.Get(), 2, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(::GetMenuState(built.Get(), 3, MF_BYPOSITION) & MF_GRAYED);
  HMENU submenu = ::GetSubMenu(built.Get(), 4);
  ASSERT_NE(submenu, nullptr);
  EXPECT_EQ(::GetMenuItemCount(submenu), 2);

  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_BITMAP | MIIM_DATA;
  ::GetMenuItemInfoW(built.Get(), 5, TRUE, &info);
  EXPECT_EQ(info.hbmpItem, HBMMENU_CALLBACK) << "images are drawn by the owner, with their alpha";
  EXPECT_EQ(info.dwItemData, 8u) << "the image index travels with the item";
  ::GetMenuItemInfoW(built.Get(), 2, TRUE, &info);
  EXPECT_EQ(info.hbmpItem, HBMMENU_CALLBACK) << "items without image keep the column, so captions line up";
  EXPECT_EQ(info.dwItemData, 0u) << "and draw nothing there";

  // Outside a popup there is nothing to draw.
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemData = 1;
  EXPECT_FALSE(TPopupMenu::HandleOwnerDraw(WM_DRAWITEM, reinterpret_cast<LPARAM>(&draw)));
}

// Where an open menu's owner-drawn images land, against the column the system measured
// for them: the captions begin right of that column.
struct TMenuImageDraw {
  RECT Column;
  RECT Drawn;  // the pixels the image changed; empty when it changed none
};
std::vector<TMenuImageDraw> MenuImageDraws;

LRESULT CALLBACK MenuImageOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MEASUREITEM && TPopupMenu::HandleOwnerDraw(message, lParam)) return TRUE;
  if (message == WM_DRAWITEM) {
    DRAWITEMSTRUCT probe = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    constexpr int Side = 256;
    constexpr std::uint32_t Unpainted = 0x00FF00FF;
    TMemoryDC dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), Side, -Side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TBitmapHandle target(::CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* pixels = static_cast<std::uint32_t*>(bits);
    std::fill_n(pixels, Side * Side, Unpainted);
    {
      TSelectScope select(dc.Get(), target.Get());
      probe.hDC = dc.Get();
      TPopupMenu::HandleOwnerDraw(message, reinterpret_cast<LPARAM>(&probe));
      ::GdiFlush();
    }
    RECT drawn{Side, Side, 0, 0};
    for (int y = 0; y < Side; ++y)
      for (int x = 0; x < Side; ++x)
        if (pixels[y * Side + x] != Unpainted)
          drawn = {std::min<LONG>(drawn.left, x), std::min<LONG>(drawn.top, y), std::max<LONG>(drawn.right, x + 1),
                   std::max<LONG>(drawn.bottom, y + 1)};
    MenuImageDraws.push_back({probe.rcItem, drawn});
    TPopupMenu::HandleOwnerDraw(message, lParam);
    return TRUE;
  }
  if (message == WM_TIMER) ::EndMenu();
  return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST(PopupMenus, ImagesStayInsideTheirColumnLeftOfTheCaptions) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &MenuImageOwner;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TMenuImageOwner";
  ::RegisterClassW(&windowClass);
  const HWND owner = ::CreateWindowExW(0, L"TMenuImageOwner", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                       nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(owner, nullptr);
  TImageList images(L"MENUIMAGES", 16, 16);
  TPopupMenu menu;
  menu.SetImages(&images);
  for (int i = 0; i < images.Count(); ++i) menu.Add(L"Caption " + std::to_wstring(i), i);
  MenuImageDraws.clear();
  ::SetTimer(owner, 1, 500, nullptr);  // closes the menu once it has been drawn
  menu.Popup(owner, POINT{100, 100});
  ::KillTimer(owner, 1);
  ::DestroyWindow(owner);
  ASSERT_GE(MenuImageDraws.size(), static_cast<std::size_t>(images.Count()));
  for (const TMenuImageDraw& draw : MenuImageDraws) {
    ASSERT_LT(draw.Drawn.left, draw.Drawn.right) << "every image paints something";
    EXPECT_GE(draw.Drawn.left, draw.Column.left);
    EXPECT_LE(draw.Drawn.right, draw.Column.right) << "the image runs into the caption";
    EXPECT_GE(draw.Drawn.top, draw.Column.top);
    EXPECT_LE(draw.Drawn.bottom, draw.Column.bottom);
  }
}

// A form whose showing fails, as a dialog would whose controls cannot be made.
class TFailingForm : public TForm {
 public:
  TFailingForm() {
    TCreateParams params;
    params.ClassName = L"TFailingForm";
    params.Style = WS_POPUP;
    params.Width = params.Height = 50;
    CreateHandle(params);
  }
  bool Fail = true;

 protected:
  void DoShow() override {
    if (Fail) throw std::runtime_error("Cannot show the form.");
    SetModalResult(TModalResult::Ok);  // shown: the run ends at once
  }
};

TEST(ModalForms, AFormThatFailsToShowLeavesNoModalStateBehind) {
  TFailingForm other;
  other.Fail = false;
  other.Show();
  TFailingForm failing;
  EXPECT_THROW(failing.ShowModal(), std::runtime_error);
  EXPECT_FALSE(TGuiApplication::Instance().ModalFormActive()) << "menus would stay greyed";
  EXPECT_FALSE(failing.ShowingModal());
  EXPECT_TRUE(::IsWindowEnabled(other.Handle())) << "the other forms take input again";
  // And the same form can be shown modally afterwards.
  failing.Fail = false;
  EXPECT_EQ(failing.ShowModal(), TModalResult::Ok);
  EXPECT_FALSE(TGuiApplication::Instance().ModalFormActive());
}

TEST(Pixels, BlitCopiesOnlyThePart) {
  TPixelBuffer buffer(20, 10, 0x00FF0000);
  buffer.View().Fill({5, 2, 8, 4}, 0x0000FF00);
  TMemoryDC dc(::CreateCompatibleDC(nullptr));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 20;
  info.bmiHeader.biHeight = -10;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  TBitmapHandle target(::CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  std::fill_n(static_cast<std::uint32_t*>(bits), 200, 0x00123456u);
  TSelectScope select(dc.Get(), target.Get());
  BlitPixels(dc.Get(), 0, 0, buffer.View(), {4, 2, 9, 5});
  ::GdiFlush();
  const auto* out = static_cast<const std::uint32_t*>(bits);
  EXPECT_EQ(out[2 * 20 + 5] & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(out[4 * 20 + 4] & 0xFFFFFF, 0xFF0000u);  // inside the part, outside the green
  EXPECT_EQ(out[2 * 20 + 3] & 0xFFFFFF, 0x123456u);  // left of the part: untouched
  EXPECT_EQ(out[5 * 20 + 5] & 0xFFFFFF, 0x123456u);  // below the part: untouched
}
