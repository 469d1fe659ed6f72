// Windows moving to a monitor of another DPI: the ruler keeps its device-pixel size and
// measures with the new resolution, dialogs and tool windows lay themselves out again.
// The system sends WM_DPICHANGED only between monitors of different scaling, which Wine
// never has: the tests send it as the system would.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "color/win32/CursorForms.h"
#include "color/win32/QorvelColorDialogs.h"
#include "controls/win32/QorvelNumEdits.h"
#include "gui/Dpi.h"
#include "gui/ImageLists.h"
#include "install/win32/QorvelInstallForms.h"
#include "install/win32/QorvelInstallations.h"
#include "install/win32/QorvelInstallers.h"
#include "ruler/win32/MainForms.h"
#include "ruler/win32/MonitorResolutions.h"
#include "settings/ApplicationSettings.h"
#include "settings/win32/SettingsForms.h"
#include "support/WindowQueries.h"

namespace {

RECT Client(HWND window) {
  RECT r{};
  ::GetClientRect(window, &r);
  return r;
}

// What the system sends when a window has moved onto a monitor of `dpi`: the new DPI and
// the rectangle it suggests, the old one scaled about its top-left corner.
LRESULT MoveToMonitorOf(HWND window, UINT dpi, UINT oldDpi) {
  RECT suggested = WindowRect(window);
  suggested.right =
      suggested.left + ::MulDiv(suggested.right - suggested.left, static_cast<int>(dpi), static_cast<int>(oldDpi));
  suggested.bottom =
      suggested.top + ::MulDiv(suggested.bottom - suggested.top, static_cast<int>(dpi), static_cast<int>(oldDpi));
  return ::SendMessageW(window, DpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

int FontHeight(HWND control) {
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW description{};
  ::GetObjectW(font, sizeof(description), &description);
  return description.lfHeight;
}

struct DpiFollowing : testing::Test {
  std::unique_ptr<TApplicationSettings> Settings = TQorvelSettings::Create<TApplicationSettings>();
};

}  // namespace

TEST_F(DpiFollowing, TheRulerKeepsItsDevicePixelSizeAndMeasuresWithItsMonitorsResolution) {
  TMainForm ruler(*Settings);
  const RECT before = WindowRect(ruler.Handle());
  const int monitorDpi =
      PixelsPerInchOfMonitorAt({before.left, before.top, before.right, before.bottom}, ruler.Handle());
  EXPECT_EQ(monitorDpi, static_cast<int>(SystemDpi())) << "Wine gives every monitor the system's DPI";
  EXPECT_EQ(ruler.ScaleInput().PixelsPerInch, monitorDpi);

  EXPECT_EQ(MoveToMonitorOf(ruler.Handle(), 2 * SystemDpi(), SystemDpi()), 0);
  const RECT after = WindowRect(ruler.Handle());
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);

  // Asked which size it wants on the other monitor, it answers the one it has.
  SIZE wanted{1, 1};
  EXPECT_TRUE(
      ::SendMessageW(ruler.Handle(), GetDpiScaledSizeMessage, 2 * SystemDpi(), reinterpret_cast<LPARAM>(&wanted)));
  EXPECT_EQ(wanted.cx, before.right - before.left);
  EXPECT_EQ(wanted.cy, before.bottom - before.top);

  // The user's own resolution wins over the monitor's.
  Settings->Parameters->UserDefiniedDPI = true;
  Settings->Parameters->PixelsPerInch = 123;
  EXPECT_EQ(ruler.ScaleInput().PixelsPerInch, 123);
}

TEST_F(DpiFollowing, EveryMonitorIsListedWithAUsableResolution) {
  const std::vector<TMonitorResolution> monitors = MonitorResolutions();
  ASSERT_FALSE(monitors.empty());
  for (const TMonitorResolution& monitor : monitors) {
    EXPECT_FALSE(monitor.Bounds.Empty());
    EXPECT_GE(monitor.PixelsPerInch, 96);
  }
  EXPECT_EQ(MonitorDpi(nullptr), 0u);
}

TEST_F(DpiFollowing, TheSettingsDialogLaysItselfOutAgainAndComesBackExactly) {
  TImageList images{L"MENUIMAGES", 16, 16};
  TSettingsFormEnvironment environment;
  environment.MenuImages = &images;
  environment.ProgramPath = L"C:\\Tools\\Vindle.exe";
  TSettingsForm form(nullptr, *Settings, environment);
  const HWND window = form.Handle();
  const HWND ok = form.Controls().OkButton;
  const UINT dpi = WindowDpi(window);
  const RECT client = Client(window);
  const RECT okBefore = RectIn(ok, window);
  const int fontBefore = FontHeight(ok);

  EXPECT_EQ(MoveToMonitorOf(window, 2 * dpi, dpi), 0);
  const RECT larger = Client(window);
  EXPECT_EQ(larger.right, 2 * client.right);
  EXPECT_EQ(larger.bottom, 2 * client.bottom);
  const RECT okLarger = RectIn(ok, window);
  EXPECT_EQ(okLarger.left, 2 * okBefore.left);
  EXPECT_EQ(okLarger.top, 2 * okBefore.top);
  EXPECT_EQ(okLarger.right - okLarger.left, 2 * (okBefore.right - okBefore.left));
  EXPECT_EQ(FontHeight(ok), 2 * fontBefore);
  // Controls on the pages move with them.
  const HWND edit = form.Controls().PixelsPerInch->Handle();
  const RECT editLarger = RectIn(edit, ::GetParent(edit));

  // One and a half, then back: nothing drifts by a pixel on the way.
  MoveToMonitorOf(window, dpi * 3 / 2, 2 * dpi);
  EXPECT_EQ(Client(window).right, ::MulDiv(client.right, 3, 2));
  MoveToMonitorOf(window, dpi, dpi * 3 / 2);
  EXPECT_EQ(Client(window).right, client.right);
  EXPECT_EQ(Client(window).bottom, client.bottom);
  const RECT okBack = RectIn(ok, window);
  EXPECT_TRUE(::EqualRect(&okBack, &okBefore));
  EXPECT_EQ(FontHeight(ok), fontBefore);
  const RECT editBack = RectIn(edit, ::GetParent(edit));
  EXPECT_EQ(editLarger.left, 2 * editBack.left);
  EXPECT_EQ(editLarger.right - editLarger.left, 2 * (editBack.right - editBack.left));
}

TEST_F(DpiFollowing, TheCoordinatesWindowGrowsWithItsMonitorAndGoesWhereSuggested) {
  TCursorForm form(*Settings);
  const HWND window = form.Handle();
  const UINT dpi = WindowDpi(window);
  EXPECT_EQ(Client(window).right, ScaleForDpi(TCursorForm::ClientWidth, dpi));
  EXPECT_EQ(Client(window).bottom, ScaleForDpi(TCursorForm::ClientHeight, dpi));

  RECT suggested{-700, 40, -600, 90};  // a monitor left of the primary one
  ::SendMessageW(window, DpiChangedMessage, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(Client(window).right, 2 * ScaleForDpi(TCursorForm::ClientWidth, dpi));
  EXPECT_EQ(Client(window).bottom, 2 * ScaleForDpi(TCursorForm::ClientHeight, dpi));
  EXPECT_EQ(WindowRect(window).left, -700);
  EXPECT_EQ(WindowRect(window).top, 40);

  // It still shows what it samples.
  form.SetSampler([] { return TCursorSample{{-650, 77}, RGB(1, 2, 3)}; });
  ::ShowWindow(window, SW_SHOWNOACTIVATE);
  form.TimerTimer();
  EXPECT_EQ(form.XText(), L"-650");
  EXPECT_EQ(form.YText(), L"77");
  ::ShowWindow(window, SW_HIDE);
}

TEST_F(DpiFollowing, TheColourDialogScalesItsControlsBoxesAndChart) {
  TQorvelColorDialog dialog;
  TQorvelColorForm form(dialog);
  form.Prepare();
  const HWND window = form.Handle();
  const UINT dpi = WindowDpi(window);
  const RECT client = Client(window);
  const RECT field = RectIn(form.Field(4).Handle(), window);
  const RECT chart = form.Chart().BoundsRect();
  const int previewHeight = form.Preview().Height();

  MoveToMonitorOf(window, 2 * dpi, dpi);
  EXPECT_EQ(Client(window).right, 2 * client.right);
  EXPECT_EQ(Client(window).bottom, 2 * client.bottom);
  const RECT fieldLarger = RectIn(form.Field(4).Handle(), window);
  EXPECT_EQ(fieldLarger.left, 2 * field.left);
  EXPECT_EQ(fieldLarger.bottom - fieldLarger.top, 2 * (field.bottom - field.top));
  const RECT chartLarger = form.Chart().BoundsRect();
  EXPECT_EQ(chartLarger.left, 2 * chart.left);
  // The content doubles inside its one-pixel frame: each colour step a 2 x 2 block.
  EXPECT_EQ(chartLarger.right - chartLarger.left, 2 * (chart.right - chart.left - 2) + 2);
  EXPECT_EQ(form.Preview().Height(), 2 * previewHeight);
  EXPECT_EQ(form.Preview().BoundsRect().left, ScaleForDpi(304, 2 * dpi));

  MoveToMonitorOf(window, dpi, 2 * dpi);
  EXPECT_EQ(Client(window).right, client.right);
  const RECT fieldBack = RectIn(form.Field(4).Handle(), window);
  EXPECT_TRUE(::EqualRect(&fieldBack, &field));
  EXPECT_EQ(form.Preview().Height(), previewHeight);
}

TEST_F(DpiFollowing, TheInstallationWizardLaysItselfOutAgain) {
  TQorvelInstallation installation;
  installation.RegistryKey = L"QorvelDpiTest\\Product";  // nothing installed under it
  installation.ProductName = L"Vindle";
  TQorvelInstaller installer{L"C:\\nowhere\\VindleSetup.exe", 1048576};
  TInstallSystemFacts facts;
  facts.ProgramFilesFolder = L"C:\\Program Files";
  TQorvelInstallForm form(installation, installer, facts);
  const HWND window = form.Handle();
  const HWND next = form.Wizard().Button(TQorvelWizard::wbNext);
  const UINT dpi = WindowDpi(window);
  const RECT client = Client(window);
  const RECT button = RectIn(next, window);
  const int font = FontHeight(next);

  MoveToMonitorOf(window, dpi * 3 / 2, dpi);
  EXPECT_EQ(Client(window).right, ::MulDiv(client.right, 3, 2));
  EXPECT_EQ(Client(window).bottom, ::MulDiv(client.bottom, 3, 2));
  const RECT larger = RectIn(next, window);
  EXPECT_EQ(larger.left, ::MulDiv(button.left, 3, 2));
  EXPECT_EQ(larger.right - larger.left, ::MulDiv(button.right, 3, 2) - ::MulDiv(button.left, 3, 2));
  EXPECT_EQ(FontHeight(next), ::MulDiv(font, 3, 2));

  MoveToMonitorOf(window, dpi, dpi * 3 / 2);
  const RECT back = RectIn(next, window);
  EXPECT_TRUE(::EqualRect(&back, &button));
  EXPECT_EQ(Client(window).right, client.right);
}
