// The colour picker window: its frame and box, where it goes, what it keeps in the
// settings, and how the application shows it, toggles it and stores it at exit.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "color/win32/ColorForms.h"
#include "support/ProgramSetup.h"
#include "support/ToolWindowChecks.h"
#include "support/WindowQueries.h"

namespace {}  // namespace

TEST(ColorForm, IsATopmostToolWindowFilledByOneColorBox) {
  auto settings = SettingsWithWindows();
  TColorForm form(*settings);
  ExpectHiddenToolWindow(form, L"Color picker");

  TQorvelColorBox& box = form.ColorBox();
  EXPECT_EQ(::GetParent(box.Handle()), form.Handle());
  const RECT boxClient = box.ClientRect();
  EXPECT_EQ(boxClient.right, 88);
  EXPECT_EQ(boxClient.bottom, 24);
  EXPECT_EQ(box.Caption(), L"Color");
  EXPECT_EQ(box.Look(), TQorvelBoxControlLook::pclRect);
  EXPECT_TRUE(box.OnDialog) << "the picker adjusts the dialog before it opens";
}

TEST(ColorForm, ShowTakesColorAndComponentFromTheSettingsAndCloseStoresThemBack) {
  auto settings = SettingsWithWindows();
  settings->ColorPicker->Color = 0x00FF00;
  settings->ColorPicker->Component = TQorvelColorComponent::pccBlue;
  TColorForm form(*settings);
  form.Show();
  EXPECT_EQ(form.ColorBox().Color(), 0x00FF00u);
  EXPECT_EQ(form.ColorBox().ColorComponent(), TQorvelColorComponent::pccBlue);

  form.ColorBox().SetColor(0x0000FF);
  form.ColorBox().SetColorComponent(TQorvelColorComponent::pccSaturation);
  form.Close();
  EXPECT_EQ(settings->ColorPicker->Color, 0x0000FFu);
  EXPECT_EQ(settings->ColorPicker->Component, TQorvelColorComponent::pccSaturation);
}

TEST(ColorForm, FirstShowGoesToTheBottomRightCornerAndLaterShowsKeepTheUsersPlace) {
  auto settings = SettingsWithWindows();
  TColorForm form(*settings);
  form.Show();
  const RECT work = WorkArea(), placed = WindowRect(form.Handle());
  EXPECT_EQ(placed.right, work.right - 8);
  EXPECT_EQ(placed.bottom, work.bottom - 8);
  ExpectTheUsersPlaceKept(form, *settings->Window->WindowNamed("colorpicker"));
  form.Close();
}

TEST(ColorForm, RestoresAStoredPlaceOntoTheMonitor) {
  auto settings = SettingsWithWindows();
  TQorvelWindowSettings& stored = *settings->Window->WindowNamed("colorpicker");
  stored.Loaded = true;
  stored.Position->X = 30000;
  stored.Position->Y = -30000;
  TColorForm form(*settings);
  form.Show();
  ExpectOnTheWorkArea(form.Handle());
  EXPECT_EQ(form.ClientRect().right, 88) << "only the position is stored";
  form.Close();
}

TEST(ColorForm, TheApplicationShowsItOnRequestAndStoresItBeforeSaving) {
  auto settings = SettingsWithWindows();
  settings->Startup->ShowRuler = false;
  settings->Startup->ShowColorPicker = true;
  POINT savedPlace{-1, -1};
  TColor savedColor = 0;
  const auto save = [&] {
    const TQorvelWindowSettings& stored = *settings->Window->WindowNamed("colorpicker");
    savedPlace = {stored.Position->X, stored.Position->Y};
    savedColor = settings->ColorPicker->Color;
  };
  bool shownAtStart = false;
  std::wstring captionShown, captionHidden;
  RunMeterApplication(
      *settings,
      [&](TMeterApplication& running) {
        TColorForm& form = *running.ColorForm();
        shownAtStart = form.Visible();
        running.UpdateTrayMenu();
        captionShown = running.TrayMenu()->Item(1).Caption;
        ClickTrayItem(running, 1);  // hide
        running.UpdateTrayMenu();
        captionHidden = running.TrayMenu()->Item(1).Caption;
        ClickTrayItem(running, 1);  // and show again
        ::SetWindowPos(form.Handle(), nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        form.ColorBox().SetColor(0x123456);
      },
      save);
  EXPECT_TRUE(shownAtStart);
  EXPECT_EQ(captionShown, L"&Hide color picker");
  EXPECT_EQ(captionHidden, L"&Show color picker");
  EXPECT_EQ(savedPlace.x, 70);
  EXPECT_EQ(savedPlace.y, 80);
  EXPECT_EQ(savedColor, 0x123456u);
}
