#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "gui/Handles.h"
#include "ruler/RulerSettings.h"
#include "ruler/Calibrations.h"
#include "ruler/win32/CalibrationForms.h"
#include "ruler/win32/MainForms.h"
#include "settings/ApplicationSettings.h"

namespace {

std::wstring ItemText(HMENU menu, int position) {
  wchar_t text[128] = {};
  ::GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
  return text;
}

UINT ItemState(HMENU menu, int position) { return ::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION); }

HWND ScaleBoxOf(const TMainForm& ruler) { return ::GetWindow(ruler.Handle(), GW_CHILD); }

struct RulerHandling : testing::Test {
  std::unique_ptr<TApplicationSettings> settings = TQorvelSettings::Create<TApplicationSettings>();
};

TEST_F(RulerHandling, MenuShowsItsItemsAsTheUserSeesThem) {
  settings->Configurations(1)->Name = "Print";
  settings->Handling->DoubleClickAction = 3;
  TMainForm ruler(*settings);
  ruler.UpdateRulerMenu();
  TMenuHandle menu(ruler.RulerMenu().BuildMenu());
  ASSERT_EQ(::GetMenuItemCount(menu.Get()), 18);
  const wchar_t* const expected[] = {L"&Rotate",
                                     L"&Flip",
                                     L"&Turn",
                                     L"",
                                     L"&Settings...",
                                     L"Configuration &1",
                                     L"Print",
                                     L"Configuration &3",
                                     L"",
                                     L"&Stay on top",
                                     L"&Transparent",
                                     L"&Magnifier",
                                     L"&Unit",
                                     L"&Presets",
                                     L"M&easure\tCtrl+Alt+Shift+M",
                                     L"&Copy length",
                                     L"",
                                     L"&Hide\tCtrl+Alt+Shift+R"};
  for (int i = 0; i < 18; ++i) EXPECT_EQ(ItemText(menu.Get(), i), expected[i]) << "item " << i;
  EXPECT_TRUE(ItemState(menu.Get(), 4) & MF_GRAYED) << "no settings dialog to open";
  EXPECT_TRUE(ItemState(menu.Get(), 5) & MF_CHECKED);
  EXPECT_FALSE(ItemState(menu.Get(), 6) & MF_CHECKED);
  EXPECT_TRUE(ItemState(menu.Get(), 9) & MF_CHECKED) << "stay on top by default";
  EXPECT_TRUE(ItemState(menu.Get(), 14) & MF_GRAYED) << "no measure tool to start";
  EXPECT_EQ(::GetMenuDefaultItem(menu.Get(), TRUE, 0), 17u) << "hide is the double-click action";

  const HMENU units = ::GetSubMenu(menu.Get(), 12);
  ASSERT_EQ(::GetMenuItemCount(units), 8);
  EXPECT_EQ(ItemText(units, 3), L"&Inch");
  EXPECT_TRUE(ItemState(units, 1) & MF_CHECKED);
  EXPECT_EQ(ItemText(units, 6), L"&Logical pixels");
  EXPECT_FALSE(ItemState(units, 6) & MF_CHECKED);
  EXPECT_EQ(ItemText(units, 7), L"C&alibrate...");
  const HMENU presets = ::GetSubMenu(menu.Get(), 13);
  ASSERT_EQ(::GetMenuItemCount(presets), 5);
  EXPECT_EQ(ItemText(presets, 0), L"400 pixels");
  EXPECT_EQ(ItemText(presets, 4), L"1024 pixels");

  // With a dialog to open, the item is offered.
  ruler.OnShowSettingsDialog = [](int) {};
  ruler.UpdateRulerMenu();
  TMenuHandle again(ruler.RulerMenu().BuildMenu());
  EXPECT_FALSE(ItemState(again.Get(), 4) & MF_GRAYED);
}

TEST_F(RulerHandling, PresetKeepsTheScaleStartAndUnitItemsWrap) {
  TMainForm ruler(*settings);
  const RECT before = ruler.BoundsRect();
  ruler.SelectPreset(0);
  RECT after = ruler.BoundsRect();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.right - after.left, 400);
  ruler.Flip();
  ruler.SelectPreset(6);  // the second preset
  const RECT flipped = ruler.BoundsRect();
  EXPECT_EQ(flipped.right, after.right);
  EXPECT_EQ(flipped.right - flipped.left, 500);
  EXPECT_EQ(flipped.bottom - flipped.top, after.bottom - after.top);

  ruler.SelectScaleUnit(8);
  EXPECT_EQ(CurrentConfiguration(*settings).Ruler->Scales->ScaleUnit, 3);
}

TEST_F(RulerHandling, ClickOnAMiniButtonRunsItsActionOnlyWhenReleasedOnIt) {
  settings->Handling->Buttons = TMiniButtons{TMiniButton::mbClose, TMiniButton::mbRotate, TMiniButton::mbFlip,
                                             TMiniButton::mbTurn, TMiniButton::mbStayOnTop};
  TMainForm ruler(*settings);
  ruler.Show();
  const HWND box = ScaleBoxOf(ruler);
  const LPARAM onStayOnTop = MAKELPARAM(66 + 5, 2 + 5);
  const LPARAM beside = MAKELPARAM(200, 15);

  ::SendMessageW(box, WM_MOUSEMOVE, 0, onStayOnTop);
  EXPECT_EQ(ruler.ButtonStatus(), (TMiniButtonStatus{TMiniButton::mbStayOnTop, TMiniButtonState::mbsHot}));
  ::SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, onStayOnTop);
  EXPECT_EQ(::GetCapture(), box) << "the release is heard wherever it happens";
  ::SendMessageW(box, WM_MOUSEMOVE, MK_LBUTTON, beside);
  ::SendMessageW(box, WM_LBUTTONUP, 0, beside);
  EXPECT_TRUE(settings->General->StayOnTop) << "released off the button: nothing happens";
  EXPECT_EQ(ruler.ButtonStatus().State, TMiniButtonState::mbsNone);
  EXPECT_EQ(::GetCapture(), nullptr);

  ::SendMessageW(box, WM_MOUSEMOVE, 0, onStayOnTop);
  ::SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, onStayOnTop);
  ::SendMessageW(box, WM_LBUTTONUP, 0, onStayOnTop);
  EXPECT_FALSE(settings->General->StayOnTop);
  EXPECT_FALSE(::GetWindowLongW(ruler.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // Losing the capture mid-press (another window took the mouse) cancels the click.
  ::SendMessageW(box, WM_MOUSEMOVE, 0, onStayOnTop);
  ::SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, onStayOnTop);
  ::ReleaseCapture();
  ::SendMessageW(box, WM_LBUTTONUP, 0, onStayOnTop);
  EXPECT_FALSE(settings->General->StayOnTop);

  // Off the buttons the ruler's hit test ends the hover.
  ::SendMessageW(box, WM_MOUSEMOVE, 0, onStayOnTop);
  RECT window{};
  ::GetWindowRect(ruler.Handle(), &window);
  EXPECT_EQ(::SendMessageW(ruler.Handle(), WM_NCHITTEST, 0, MAKELPARAM(window.left + 200, window.top + 15)), HTCAPTION);
  EXPECT_EQ(ruler.ButtonStatus().State, TMiniButtonState::mbsNone);
  ruler.Close();
}

TEST_F(RulerHandling, DoubleClickRunsTheConfiguredAction) {
  TMainForm ruler(*settings);
  ruler.Show();
  ::SendMessageW(ruler.Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_EQ(settings->General->Orientation & 1, 1) << "rotated";
  settings->Handling->DoubleClickAction = 1;
  ::SendMessageW(ruler.Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_EQ(settings->Vertical->Direction & 1, 1) << "flipped";
  settings->Handling->DoubleClickAction = 9;
  ::SendMessageW(ruler.Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_TRUE(ruler.Visible());
  settings->Handling->DoubleClickAction = 3;
  ::SendMessageW(ruler.Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_FALSE(ruler.Visible());
}

}  // namespace

TEST_F(RulerHandling, CalibrationKeepsTheDraggedResolutionForTheMonitorCancelAndResetUndo) {
  TMainForm ruler(*settings);
  ruler.Show();
  const int length = ruler.MeasuredLength();
  const double logical = ruler.ScalePixelsPerInch();

  // Cancel gives the ruler its length back and keeps nothing.
  ruler.Calibrate().Cancel();
  EXPECT_EQ(ruler.MeasuredLength(), length);
  EXPECT_TRUE(settings->Parameters->Calibrations.empty());

  // The card's 85.60 mm at the system's resolution, dragged to 431 pixels: 127.890 to the
  // inch, applied as kept, not rounded to 128.
  TCalibrationForm& calibration = ruler.Calibrate();
  EXPECT_EQ(ruler.MeasuredLength(), PixelsForLength(85.60, logical));
  ruler.SetMeasuredLength(431);
  EXPECT_EQ(calibration.StatusText(), L"431 pixels: 127.890 pixels per inch");
  calibration.Accept();
  EXPECT_TRUE(settings->Parameters->MeasuredDPI);
  EXPECT_DOUBLE_EQ(ruler.ScalePixelsPerInch(), 127.890);
  EXPECT_DOUBLE_EQ(CalibrationFor(settings->Parameters->Calibrations, ruler.MonitorIdentity()).value_or(0), 127.890);

  // Reset measures the monitor again: without an EDID under Wine, from the size it reports.
  ruler.Calibrate().Reset();
  EXPECT_TRUE(settings->Parameters->Calibrations.empty());
  EXPECT_NE(ruler.ScalePixelsPerInch(), 127.890);
}
