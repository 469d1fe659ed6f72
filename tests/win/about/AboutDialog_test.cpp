// The about box as a window: its controls, size, timer and keys.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "VindleVersion.h"
#include "about/win32/QorvelAboutDialogs.h"
#include "gui/Dpi.h"
#include "settings/QorvelSettings.h"
#include "support/MessagePump.h"
#include "support/WindowQueries.h"

namespace {

struct TChild {
  std::wstring ClassName;
  std::wstring Text;
  RECT Bounds;  // in the form's client coordinates
};

std::vector<TChild> Children(HWND form) {
  std::vector<TChild> children;
  for (HWND child = ::GetWindow(form, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[64] = {}, text[256] = {};
    ::GetClassNameW(child, className, 64);
    ::GetWindowTextW(child, text, 256);
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    children.push_back({className, text, r});
  }
  return children;
}

std::vector<std::wstring> Texts(HWND form) {
  std::vector<std::wstring> texts;
  for (const TChild& child : Children(form)) texts.push_back(child.Text);
  return texts;
}

class AboutDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    Execution->SetClock([this] { return Now; });
    Dialog.Options = {paoFileVersion};
    Dialog.LinkText = Dialog.LinkURL = "https://qorvel.example/vindle";
    Dialog.InfoText = "A ruler for the desktop.";
    Dialog.FormPosition = TFormPosition::poScreenCenter;
  }
  int Scaled(int value96) const { return ScaleForDpi(value96, SystemDpi()); }

  TDateTime Now = 46000.0;
  std::unique_ptr<TQorvelExecutionSettings> Execution = TQorvelSettings::Create<TQorvelExecutionSettings>();
  TQorvelAboutDialog Dialog;
};

}  // namespace

TEST_F(AboutDialog, TheProgramsBoxWithLogoAndStatistics) {
  ASSERT_TRUE(Dialog.LoadLogo(L"LOGOBITMAP"));
  Execution->SetCount(0);  // the file of the first run was loaded
  Execution->SetOverallTime(1.25);
  Dialog.Execution = Execution.get();
  TQorvelAboutForm form(Dialog);

  EXPECT_EQ(WindowText(form.Handle()), L"About Vindle");
  const RECT client = form.ClientRect();
  EXPECT_EQ(client.right, Scaled(416)) << "the 400-pixel logo gets its margins";
  const auto texts = Texts(form.Handle());
  ASSERT_EQ(texts.size(), 9u);
  EXPECT_EQ(texts[0], L"Vindle");
  EXPECT_EQ(texts[1], L"Version " VINDLE_VERSION_TEXT);
  EXPECT_EQ(texts[2], L"(" VINDLE_VERSION_TEXT ")");
  EXPECT_EQ(texts[3].rfind(L"Copyright", 0), 0u);
  EXPECT_EQ(texts[4], L"https://qorvel.example/vindle");
  EXPECT_EQ(texts[5], L"A ruler for the desktop.");
  EXPECT_EQ(texts[6], L"2 times started");
  EXPECT_EQ(texts[7], L"one day and 06:00:00 used");
  EXPECT_EQ(texts[8], L"OK");

  // Rows stack below the logo without overlapping, and the button closes the box.
  const auto children = Children(form.Handle());
  EXPECT_EQ(children[0].Bounds.top, Scaled(166));
  for (std::size_t i = 1; i < children.size(); ++i)
    EXPECT_GE(children[i].Bounds.top, children[i - 1].Bounds.bottom) << "row " << i;
  const RECT ok = children.back().Bounds;
  EXPECT_NEAR(ok.left + ok.right, client.right, 1) << "the button is centred";
  EXPECT_EQ(client.bottom - ok.bottom, Scaled(8));
  // Only the link's text is the link, centred in its row.
  const RECT link = children[4].Bounds;
  EXPECT_LT(link.right - link.left, client.right / 2);
  EXPECT_NEAR(link.left + link.right, client.right, 1);
}

TEST_F(AboutDialog, WithoutStatisticsNoCountNoUsageNoTimer) {
  TQorvelAboutForm form(Dialog);
  EXPECT_FALSE(form.Ticking());
  EXPECT_EQ(form.UsageLabel(), nullptr);
  EXPECT_EQ(Texts(form.Handle()).size(), 7u);
  EXPECT_EQ(form.ClientRect().right, Scaled(400)) << "no logo: the box keeps its width";
  EXPECT_EQ(Children(form.Handle())[0].Bounds.top, Scaled(16)) << "the empty logo's gap stays";
}

TEST_F(AboutDialog, WideLogoWidensTheBox) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 500, 20, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  Dialog.SetLogo(TBitmapHandle(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)));
  TQorvelAboutForm form(Dialog);
  EXPECT_EQ(form.ClientRect().right, Scaled(516));
}

TEST_F(AboutDialog, UsageTicksWhileShownAndEscapeClosesWithOk) {
  Execution->SetOverallTime(0.5);
  Dialog.Execution = Execution.get();
  TQorvelAboutForm form(Dialog);
  ASSERT_NE(form.UsageLabel(), nullptr);
  EXPECT_EQ(WindowText(form.UsageLabel()), L"12:00:00 used");
  EXPECT_EQ(Texts(form.Handle()).size(), 8u) << "count 0: no start line";

  form.Show();
  Now += 5 * OneSecond;
  PumpUntil([&] { return WindowText(form.UsageLabel()) != L"12:00:00 used"; }, 5000);
  EXPECT_EQ(WindowText(form.UsageLabel()), L"12:00:05 used") << "the one-second timer refreshes the text";
  form.Close();

  ::PostMessageW(form.OkButton(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(form.ShowModal(), TModalResult::Ok) << "the button is also the cancel button";
  EXPECT_FALSE(form.Visible());
  ::PostMessageW(form.OkButton(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(form.ShowModal(), TModalResult::Ok);
}

TEST_F(AboutDialog, LaidOutAnewOnAMonitorWithAnotherScale) {
  ASSERT_TRUE(Dialog.LoadLogo(L"LOGOBITMAP"));
  Execution->SetOverallTime(2.0);
  Dialog.Execution = Execution.get();
  TQorvelAboutForm form(Dialog);
  const auto before = Texts(form.Handle());
  const int dpi = static_cast<int>(SystemDpi()) * 3 / 2;
  RECT suggested{40, 30, 1000, 900};
  ::SendMessageW(form.Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));

  EXPECT_EQ(form.ClientRect().right, ScaleForDpi(416, static_cast<UINT>(dpi)));
  EXPECT_EQ(Texts(form.Handle()), before) << "the same controls, once each";
  EXPECT_EQ(form.BoundsRect().left, 40);
  ASSERT_NE(form.UsageLabel(), nullptr);
  EXPECT_EQ(WindowText(form.UsageLabel()), L"2 days and 00:00:00 used");
  const auto children = Children(form.Handle());
  EXPECT_EQ(children[0].Bounds.top, ScaleForDpi(166, static_cast<UINT>(dpi)));
}

TEST_F(AboutDialog, CentredOnTheVisibleMainWindow) {
  HWND main = ::CreateWindowExW(0, L"STATIC", L"main", WS_POPUP | WS_VISIBLE, 100, 120, 500, 40, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(main, nullptr);
  Dialog.MainWindow = main;
  Dialog.FormPosition = TFormPosition::poMainFormCenter;
  TQorvelAboutForm form(Dialog);
  form.Show();
  const RECT box = form.BoundsRect();
  EXPECT_NEAR((box.left + box.right) / 2, 350, 1);
  EXPECT_EQ(::GetWindow(form.Handle(), GW_OWNER), main) << "owned, so that it stays in front of it";
  form.Close();
  ::DestroyWindow(main);
}
