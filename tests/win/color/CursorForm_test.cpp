// The coordinates tool window: its frame, where it goes, what a tick reads and repaints,
// and how the application shows it, toggles it and keeps its place at exit.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "color/win32/CursorForms.h"
#include "support/MessagePump.h"
#include "support/ProgramSetup.h"
#include "support/ToolWindowChecks.h"
#include "support/WindowQueries.h"

namespace {

bool SwatchInvalid(const TCursorForm& form) {
  RECT update{};
  ::GetUpdateRect(form.Handle(), &update, FALSE);
  RECT overlap{};
  return ::IntersectRect(&overlap, &update, &TCursorForm::ColorPaintBoxRect) != 0;
}

void Validate(const TCursorForm& form) { ::ValidateRect(form.Handle(), nullptr); }

TCursorSample Sample(int x, int y, COLORREF color) { return {{x, y}, color}; }

}  // namespace

TEST(CursorForm, IsATopmostToolWindowWithoutOwnerOrTaskBarButton) {
  auto settings = SettingsWithWindows();
  TCursorForm form(*settings);
  ExpectHiddenToolWindow(form, L"Coordinates");
}

TEST(CursorForm, FirstShowGoesToTheBottomRightCornerAndLaterShowsKeepTheUsersPlace) {
  auto settings = SettingsWithWindows();
  TCursorForm form(*settings);
  form.SetSampler([] { return Sample(1, 2, 0); });
  form.Show();
  const RECT work = WorkArea(), placed = WindowRect(form.Handle());
  const int width = placed.right - placed.left, height = placed.bottom - placed.top;
  EXPECT_EQ(placed.left, work.right - width - 8);
  EXPECT_EQ(placed.top, work.bottom - 2 * height - 8);
  ExpectTheUsersPlaceKept(form, *settings->Window->WindowNamed("cursorcoordinates"));
  form.Close();
}

TEST(CursorForm, RestoresAStoredPlaceAndPullsAnOffScreenOneBackOntoTheMonitor) {
  auto settings = SettingsWithWindows();
  TQorvelWindowSettings& stored = *settings->Window->WindowNamed("cursorcoordinates");
  stored.Loaded = true;
  stored.Position->X = 120;
  stored.Position->Y = 130;
  {
    TCursorForm form(*settings);
    form.Show();
    EXPECT_EQ(WindowRect(form.Handle()).left, 120);
    EXPECT_EQ(WindowRect(form.Handle()).top, 130);
    const RECT client = form.ClientRect();
    EXPECT_EQ(client.right, 88) << "only the position is stored";
    form.Close();
  }
  stored.Position->X = 30000;
  stored.Position->Y = -30000;
  TCursorForm form(*settings);
  form.Show();
  ExpectOnTheWorkArea(form.Handle());
  form.Close();
}

TEST(CursorForm, ATickShowsTheCoordinatesAndRepaintsTheSwatchOnlyWhenTheColorChanges) {
  auto settings = SettingsWithWindows();
  TCursorForm form(*settings);
  EXPECT_EQ(form.LastColor(), 0u) << "black before the first sample";
  TCursorSample next = Sample(-1920, -15, RGB(0, 0, 0));
  form.SetSampler([&] { return next; });
  form.Show();  // a hidden window collects no update region
  Validate(form);
  form.TimerTimer();
  EXPECT_EQ(form.XText(), L"-1920");
  EXPECT_EQ(form.YText(), L"-15");
  EXPECT_FALSE(SwatchInvalid(form)) << "black again: no repaint";

  next = Sample(300, 400, RGB(255, 0, 0));
  Validate(form);
  form.TimerTimer();
  EXPECT_EQ(form.LastColor(), RGB(255, 0, 0));
  EXPECT_TRUE(SwatchInvalid(form));

  next = Sample(301, 402, RGB(255, 0, 0));  // a uniform area: only the labels change
  Validate(form);
  form.TimerTimer();
  EXPECT_EQ(form.XText(), L"301");
  EXPECT_EQ(form.YText(), L"402");
  EXPECT_FALSE(SwatchInvalid(form));

  next = Sample(305, 406, CLR_INVALID);  // a failed read still updates the labels, clears the swatch
  Validate(form);
  form.TimerTimer();
  EXPECT_EQ(form.XText(), L"305");
  EXPECT_EQ(form.LastColor(), CLR_INVALID);
  EXPECT_TRUE(SwatchInvalid(form));

  next = {{0, 0}, CLR_INVALID, false};  // no cursor position at all: keep the last one
  form.TimerTimer();
  EXPECT_EQ(form.XText(), L"305");
  EXPECT_EQ(form.YText(), L"406");
  form.Close();
}

TEST(CursorForm, TheTimerReadsTheScreenOnlyWhileTheWindowIsShown) {
  auto settings = SettingsWithWindows();
  TCursorForm form(*settings);
  int reads = 0;
  form.SetSampler([&] {
    ++reads;
    return Sample(7, 8, RGB(1, 2, 3));
  });
  PumpFor(350);
  EXPECT_EQ(reads, 0) << "a hidden window reads nothing";
  form.Show();
  EXPECT_EQ(reads, 1) << "showing reads at once";
  EXPECT_EQ(form.XText(), L"7");
  EXPECT_EQ(form.LastColor(), RGB(1, 2, 3));
  PumpFor(350);
  EXPECT_GE(reads, 3) << "a visible window is sampled by its timer";
  form.Close();
  const int readsWhenClosed = reads;
  PumpFor(250);
  EXPECT_EQ(reads, readsWhenClosed);
  // Nor does a hidden window keep a timer that would wake the program for nothing.
  EXPECT_FALSE(::KillTimer(form.Handle(), 1)) << "no timer while hidden";
  form.Show();
  EXPECT_TRUE(::KillTimer(form.Handle(), 1)) << "the timer runs again while shown";
  form.Close();
}

TEST(CursorForm, PaintsTheSwatchInTheSampledColorOrEmptyAfterAFailedRead) {
  auto settings = SettingsWithWindows();
  TCursorForm form(*settings);
  COLORREF color = RGB(0, 128, 255);
  form.SetSampler([&] { return Sample(5, 6, color); });
  form.Show();
  auto pixel = [&](int x, int y) {
    ::UpdateWindow(form.Handle());
    HDC dc = ::GetDC(form.Handle());
    const COLORREF value = ::GetPixel(dc, x, y);
    ::ReleaseDC(form.Handle(), dc);
    return value;
  };
  const RECT& box = TCursorForm::ColorPaintBoxRect;
  EXPECT_EQ(pixel(box.left + 6, box.top + 6), RGB(0, 128, 255));
  EXPECT_EQ(pixel(box.left, box.top), ::GetSysColor(COLOR_WINDOWTEXT)) << "outline";
  EXPECT_EQ(pixel(box.right, box.top + 6), ::GetSysColor(COLOR_BTNFACE)) << "12 pixels wide";

  color = CLR_INVALID;
  form.TimerTimer();
  EXPECT_EQ(pixel(box.left + 6, box.top + 6), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pixel(box.left, box.top), ::GetSysColor(COLOR_BTNFACE));
  form.Close();
}

TEST(CursorForm, TheApplicationShowsItOnRequestAndRetainsItsPlaceBeforeSaving) {
  auto settings = SettingsWithWindows();
  settings->Startup->ShowRuler = false;
  settings->Startup->ShowCursorCoordinates = true;
  POINT savedPlace{-1, -1};
  const auto save = [&] {
    const TQorvelWindowSettings& stored = *settings->Window->WindowNamed("cursorcoordinates");
    savedPlace = {stored.Position->X, stored.Position->Y};
  };
  bool shownAtStart = false;
  std::wstring captionShown, captionHidden;
  RunMeterApplication(
      *settings,
      [&](TMeterApplication& running) {
        TCursorForm& form = *running.CursorForm();
        shownAtStart = form.Visible();
        running.UpdateTrayMenu();
        captionShown = running.TrayMenu()->Item(2).Caption;
        ClickTrayItem(running, 2);  // hide
        running.UpdateTrayMenu();
        captionHidden = running.TrayMenu()->Item(2).Caption;
        ClickTrayItem(running, 2);  // and show again
        ::SetWindowPos(form.Handle(), nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      },
      save);
  EXPECT_TRUE(shownAtStart);
  EXPECT_EQ(captionShown, L"&Hide cursor coordinates\tCtrl+Alt+Shift+K");
  EXPECT_EQ(captionHidden, L"&Show cursor coordinates\tCtrl+Alt+Shift+K");
  EXPECT_EQ(savedPlace.x, 70);
  EXPECT_EQ(savedPlace.y, 80);
}

TEST(CursorForm, SnapsAgainstTheProgramsOtherVisibleForms) {
  auto settings = SettingsWithWindows();
  TCursorForm neighbour(*settings), form(*settings);
  neighbour.Show();
  form.Show();
  ::SetWindowPos(neighbour.Handle(), nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const RECT next = WindowRect(neighbour.Handle());
  ::SetWindowPos(form.Handle(), nullptr, next.right + 3, 115, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(WindowRect(form.Handle()).left, next.right);
  EXPECT_EQ(WindowRect(form.Handle()).top, 115) << "too far from the top edge to line up with it";
  neighbour.Close();
  ::SetWindowPos(form.Handle(), nullptr, next.right + 3, 115, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(WindowRect(form.Handle()).left, next.right + 3) << "a hidden form offers no edges";
  form.Close();
}
