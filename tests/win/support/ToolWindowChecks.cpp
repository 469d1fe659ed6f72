#include "support/ToolWindowChecks.h"

#include <gtest/gtest.h>

#include "support/WindowQueries.h"

void ExpectHiddenToolWindow(TQorvelMagnetForm& form, const std::wstring& caption) {
  const HWND window = form.Handle();
  const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
  EXPECT_EQ(::GetWindow(window, GW_OWNER), nullptr);
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << "fixed size, system-menu icon only";
  EXPECT_EQ(WindowText(window), caption);
  EXPECT_EQ(form.ClientRect().right, 88);
  EXPECT_EQ(form.ClientRect().bottom, 24);
  EXPECT_FALSE(form.Visible()) << "created hidden";
}

void ExpectTheUsersPlaceKept(TQorvelMagnetForm& form, const TQorvelWindowSettings& stored) {
  ::SetWindowPos(form.Handle(), nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::SendMessageW(form.Handle(), WM_CLOSE, 0, 0);  // the caption's close button
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(stored.Position->X, 40);
  EXPECT_EQ(stored.Position->Y, 50);
  // Nothing was loaded from a file, yet the window must not jump back to its first place.
  form.Show();
  EXPECT_EQ(WindowRect(form.Handle()).left, 40);
  EXPECT_EQ(WindowRect(form.Handle()).top, 50);
}

void ExpectOnTheWorkArea(HWND window) {
  const RECT work = WorkArea(), placed = WindowRect(window);
  EXPECT_GE(placed.left, work.left);
  EXPECT_LE(placed.right, work.right);
  EXPECT_GE(placed.top, work.top);
  EXPECT_LE(placed.bottom, work.bottom);
}
