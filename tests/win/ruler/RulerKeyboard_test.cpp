#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <cwchar>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "gui/Application.h"
#include "gui/Menus.h"
#include "ruler/RulerSettings.h"
#include "ruler/win32/MainForms.h"
#include "settings/ApplicationSettings.h"
#include "support/MessagePump.h"
#include "support/WindowQueries.h"

namespace {

// The thread's view of the modifier keys, as GetKeyState reads it while a key message is
// handled; restored afterwards.
class TModifiers {
 public:
  TModifiers(bool shift, bool control) {
    ::GetKeyboardState(FSaved);
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = control ? 0x80 : 0;
    ::SetKeyboardState(keys);
  }
  ~TModifiers() { ::SetKeyboardState(FSaved); }

 private:
  BYTE FSaved[256];
};

// A key press as the system delivers it: down, then up.
void PressKey(HWND window, UINT key, bool shift = false, bool control = false) {
  const TModifiers modifiers(shift, control);
  ::SendMessageW(window, WM_KEYDOWN, key, 1);
  ::SendMessageW(window, WM_KEYUP, key, 0xC0000001);
}

std::optional<std::wstring> ClipboardUnicodeText() {
  if (!::OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::wstring> text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
      text = chars;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

std::optional<std::string> ClipboardAnsiText() {
  if (!::OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    if (const auto* chars = static_cast<const char*>(::GlobalLock(data))) {
      text = chars;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

void PutClipboardSentinel(const wchar_t* text) {
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  const std::size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(::GlobalLock(memory), text, bytes);
  ::GlobalUnlock(memory);
  ::SetClipboardData(CF_UNICODETEXT, memory);
  ::CloseClipboard();
}

struct RulerKeyboard : testing::Test {
  std::unique_ptr<TApplicationSettings> settings = TQorvelSettings::Create<TApplicationSettings>();
  std::unique_ptr<TMainForm> ruler;

  // A horizontal ruler of 400 pixels with its scale edge at (left, 400). Keys reach it
  // hidden as well; only the magnet and the menu need it on screen (and showing a window
  // costs Wine a while).
  void MakeRuler(int left = 300) {
    settings->Horizontal->Position->X = left;
    settings->Horizontal->Position->Y = 400;
    settings->Horizontal->Length = 400;
    ruler = std::make_unique<TMainForm>(*settings);
  }
  void ShowRuler(int left = 300) {
    MakeRuler(left);
    ruler->Show();
  }
  RECT Bounds() const { return ruler->BoundsRect(); }
  HWND Window() const { return ruler->Handle(); }
  void TearDown() override {
    if (ruler) ruler->Close();
  }
};

TEST_F(RulerKeyboard, ArrowsMoveTheRulerByOneAndShiftArrowsByTenAndTheMoveIsStored) {
  MakeRuler();
  ASSERT_EQ(Bounds().left, 300);
  ASSERT_EQ(Bounds().top, 370);
  PressKey(Window(), VK_RIGHT);
  EXPECT_EQ(Bounds().left, 301);
  PressKey(Window(), VK_DOWN, true);
  EXPECT_EQ(Bounds().top, 380);
  PressKey(Window(), VK_LEFT, true);
  PressKey(Window(), VK_UP);
  EXPECT_EQ(Bounds().left, 291);
  EXPECT_EQ(Bounds().top, 379);
  EXPECT_EQ(Bounds().right - Bounds().left, 400);
  EXPECT_EQ(Bounds().bottom - Bounds().top, 30);
  // Stored as the hiding of the window would store it: the scale edge (the bottom).
  EXPECT_EQ(settings->Horizontal->Position->X, 291);
  EXPECT_EQ(settings->Horizontal->Position->Y, 409);
  EXPECT_EQ(settings->Horizontal->Length, 400);
}

TEST_F(RulerKeyboard, AHeldKeyMovesOnEveryRepeat) {
  MakeRuler();
  const TModifiers none(false, false);
  for (int i = 0; i < 5; ++i) ::SendMessageW(Window(), WM_KEYDOWN, VK_RIGHT, i == 0 ? 1 : 0x40000001);
  // A message that carries three repeats at once moves three times.
  ::SendMessageW(Window(), WM_KEYDOWN, VK_RIGHT, 0x40000003);
  ::SendMessageW(Window(), WM_KEYUP, VK_RIGHT, 0xC0000001);
  EXPECT_EQ(Bounds().left, 308);
}

TEST_F(RulerKeyboard, TheWorkAreaEdgeCatchesAndReleasesTheRulerAsADragDoes) {
  settings->General->SnapToDesktop = true;
  const RECT workArea = WorkArea();
  ShowRuler(workArea.left + 3);
  ASSERT_EQ(Bounds().left, workArea.left + 3);
  PressKey(Window(), VK_LEFT);
  EXPECT_EQ(Bounds().left, workArea.left) << "two pixels from the edge: pulled onto it";
  PressKey(Window(), VK_RIGHT);
  PressKey(Window(), VK_RIGHT);
  EXPECT_EQ(Bounds().left, workArea.left) << "the keys' drag is still within reach";
  PressKey(Window(), VK_RIGHT);
  EXPECT_EQ(Bounds().left, workArea.left + 5);

  settings->General->SnapToDesktop = false;
  ruler->ApplySettings();
  ::SetWindowPos(Window(), nullptr, workArea.left + 3, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PressKey(Window(), VK_LEFT);
  EXPECT_EQ(Bounds().left, workArea.left + 2) << "without snapping every pixel counts";
}

TEST_F(RulerKeyboard, CtrlArrowsStretchTheFreeEndWithinTheLimitsAndTheChildrenFollow) {
  MakeRuler();
  PressKey(Window(), VK_RIGHT, false, true);
  EXPECT_EQ(Bounds().left, 300);
  EXPECT_EQ(Bounds().right, 701);
  PressKey(Window(), VK_LEFT, true, true);
  EXPECT_EQ(Bounds().right, 691);
  EXPECT_EQ(ruler->Children().ScaleBox.Width(), 391) << "the scale area follows the stretch";
  EXPECT_EQ(settings->Horizontal->Length, 391);
  PressKey(Window(), VK_UP, false, true);
  EXPECT_EQ(Bounds().top, 370) << "Ctrl with an arrow across the ruler does nothing";
  EXPECT_EQ(Bounds().bottom - Bounds().top, 30);

  // Flipped, the scale counts from the right end, which stays; Left lengthens.
  ruler->Flip();
  PressKey(Window(), VK_LEFT, true, true);
  EXPECT_EQ(Bounds().left, 290);
  EXPECT_EQ(Bounds().right, 691);

  // Never shorter than 100 pixels.
  for (int i = 0; i < 40; ++i) PressKey(Window(), VK_RIGHT, true, true);
  EXPECT_EQ(Bounds().right - Bounds().left, 100);
  EXPECT_EQ(Bounds().right, 691);
}

TEST_F(RulerKeyboard, AVerticalRulerStretchesDownAndSpaceStillRotates) {
  MakeRuler();
  PressKey(Window(), VK_SPACE);
  ASSERT_EQ(settings->General->Orientation & 1, 1);
  const RECT before = Bounds();
  PressKey(Window(), VK_DOWN, true, true);
  EXPECT_EQ(Bounds().top, before.top);
  EXPECT_EQ(Bounds().bottom, before.bottom + 10);
  PressKey(Window(), VK_RIGHT, false, true);
  EXPECT_EQ(Bounds().right - Bounds().left, before.right - before.left);
  PressKey(Window(), VK_SPACE);
  EXPECT_EQ(settings->General->Orientation & 1, 0);
  EXPECT_EQ(Bounds().left, 300) << "back to the horizontal placement";
}

TEST_F(RulerKeyboard, ShiftSpaceRotatesToTheRememberedPlacementsAsSpaceDoes) {
  // Shift is the axis-lock key of a drag; outside a drag there is no start to lock to, and
  // the rotation must land where the placement says, not in line with some earlier drag.
  MakeRuler();
  PressKey(Window(), VK_SPACE);
  const RECT plain = Bounds();
  PressKey(Window(), VK_SPACE);
  auto other = TQorvelSettings::Create<TApplicationSettings>();
  other->Horizontal->Position->X = 300;
  other->Horizontal->Position->Y = 400;
  other->Horizontal->Length = 400;
  TMainForm second(*other);
  PressKey(second.Handle(), VK_SPACE, true);
  const RECT shifted = second.BoundsRect();
  EXPECT_EQ(shifted.left, plain.left);
  EXPECT_EQ(shifted.top, plain.top);
  PressKey(second.Handle(), VK_SPACE, true);
  EXPECT_EQ(second.BoundsRect().left, 300);
  EXPECT_EQ(second.BoundsRect().top, 370);
}

TEST_F(RulerKeyboard, CtrlCPutsTheLengthInTheActiveUnitOnTheClipboard) {
  settings->Parameters->UserDefiniedDPI = true;
  settings->Parameters->PixelsPerInch = 96;
  MakeRuler();
  PutClipboardSentinel(L"before");
  PressKey(Window(), 'C', false, true);
  EXPECT_EQ(ClipboardUnicodeText(), L"400 px");
  EXPECT_EQ(ClipboardAnsiText(), "400 px") << "offered to programs that read ANSI text";

  ruler->SelectScaleUnit(3);
  PressKey(Window(), VK_INSERT, false, true);
  EXPECT_EQ(ClipboardUnicodeText(), L"4.17 in");
  ruler->SelectScaleUnit(4);
  PressKey(Window(), 'C', false, true);
  EXPECT_EQ(ClipboardUnicodeText(), L"10.6 cm");
  ruler->SelectScaleUnit(2);
  PressKey(Window(), 'C', false, true);
  EXPECT_EQ(ClipboardUnicodeText(), L"300 pt");
  ruler->SelectScaleUnit(0);
  PressKey(Window(), 'C', false, true);
  EXPECT_EQ(ClipboardUnicodeText(), L"400 px") << "a ruler without a scale measures in pixels";

  // C alone is no copy; the menu item is.
  PutClipboardSentinel(L"before");
  PressKey(Window(), 'C');
  EXPECT_EQ(ClipboardUnicodeText(), L"before");
  ruler->SelectScaleUnit(3);
  PressKey(Window(), VK_RIGHT, true, true);
  TPopupMenu& menu = ruler->RulerMenu();
  TMenuItem* copy = nullptr;
  for (std::size_t i = 0; i < menu.Count(); ++i)
    if (menu.Item(i).Caption == L"&Copy length") copy = &menu.Item(i);
  ASSERT_NE(copy, nullptr);
  copy->OnClick(*copy);
  EXPECT_EQ(ClipboardUnicodeText(), L"4.27 in");
}

TEST_F(RulerKeyboard, ABusyClipboardIsAClearFailureThatChangesNothing) {
  MakeRuler();
  PutClipboardSentinel(L"kept");
  std::vector<std::wstring> reported;
  const auto previous =
      TGuiApplication::Instance().SetErrorReporter([&](const std::wstring& message) { reported.push_back(message); });

  // Another program holds the clipboard for longer than the ruler waits.
  std::atomic<bool> held{false}, release{false};
  std::thread holder([&] {
    if (::OpenClipboard(nullptr)) {
      held = true;
      while (!release) ::Sleep(5);
      ::CloseClipboard();
    }
  });
  while (!held) ::Sleep(1);
  EXPECT_FALSE(ruler->CopyLength());
  PressKey(Window(), 'C', false, true);
  release = true;
  holder.join();
  TGuiApplication::Instance().SetErrorReporter(previous);

  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], L"The length could not be copied: the clipboard is in use by another program.");
  EXPECT_EQ(ClipboardUnicodeText(), L"kept");
  // Once it is free again, the copy works.
  PressKey(Window(), 'C', false, true);
  EXPECT_EQ(ClipboardUnicodeText(), L"400 px");
}

// What the ruler menu looked like while it was open.
struct TOpenedMenu {
  RECT Window{};
  std::vector<std::wstring> Items;
};

std::optional<TOpenedMenu> GOpened;

// Runs inside the menu's own loop: notes the open menu and closes it.
void CALLBACK NoteAndCloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND popup = ::FindWindowW(L"#32768", nullptr);
  if (!popup || !::IsWindowVisible(popup)) return;
  ::KillTimer(nullptr, timer);
  TOpenedMenu opened;
  ::GetWindowRect(popup, &opened.Window);
  const HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    opened.Items.push_back(text);
  }
  GOpened = opened;
  ::EndMenu();
}

// Sends the keys and answers the menu they opened, if any.
template <typename TKeys>
std::optional<TOpenedMenu> MenuOpenedBy(TKeys keys) {
  GOpened.reset();
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &NoteAndCloseMenu);
  keys();
  ::KillTimer(nullptr, timer);
  return GOpened;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT common{};
  return ::IntersectRect(&common, &a, &b) != FALSE;
}

TEST_F(RulerKeyboard, ShiftF10AndTheMenuKeyOpenTheMenuBesideTheButtonsAndOffTheScale) {
  ShowRuler();
  const auto shiftF10 = MenuOpenedBy([&] {
    const TModifiers shift(true, false);
    ::SendMessageW(Window(), WM_SYSKEYDOWN, VK_F10, 1);
    ::SendMessageW(Window(), WM_SYSKEYUP, VK_F10, 0xC0000001);
  });
  ASSERT_TRUE(shiftF10.has_value()) << "Shift+F10 opened no menu";
  ASSERT_GE(shiftF10->Items.size(), 16u);
  EXPECT_EQ(shiftF10->Items[13], L"&Presets");
  EXPECT_EQ(shiftF10->Items[15], L"&Copy length");
  // The scale is at the bottom, so the buttons and the menu are above, at the first button.
  const RECT placed = Bounds();
  EXPECT_FALSE(Overlap(shiftF10->Window, placed));
  EXPECT_EQ(shiftF10->Window.bottom, placed.top);
  EXPECT_EQ(shiftF10->Window.left, placed.left + 18);

  // The menu key as the keyboard sends it: the context menu comes from the system's own
  // handling of the key, which a message sent straight to the window would skip.
  ::SetForegroundWindow(Window());
  ::SetFocus(Window());
  const auto menuKey = MenuOpenedBy([&] {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_APPS;
    keys[0].ki.dwFlags = keys[1].ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
    // Until the menu has opened and closed again, or nothing came.
    PumpUntil([] { return GOpened.has_value(); }, 3000);
  });
  ASSERT_TRUE(menuKey.has_value()) << "the menu key opened no menu";
  EXPECT_FALSE(Overlap(menuKey->Window, placed));

  // Turned, the scale is on top: the menu opens below.
  ruler->Turn();
  const auto turned = MenuOpenedBy([&] { ::SendMessageW(Window(), WM_CONTEXTMENU, 0, -1); });
  ASSERT_TRUE(turned.has_value());
  EXPECT_EQ(turned->Window.top, placed.bottom);

  // Near the top of the screen there is no room above: the menu goes below, still off the ruler.
  ruler->Turn();
  ::SetWindowPos(Window(), nullptr, 300, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const auto atTop = MenuOpenedBy([&] { ::SendMessageW(Window(), WM_CONTEXTMENU, 0, -1); });
  ASSERT_TRUE(atTop.has_value());
  EXPECT_FALSE(Overlap(atTop->Window, Bounds()));
  EXPECT_GE(atTop->Window.top, Bounds().bottom);
}

}  // namespace
