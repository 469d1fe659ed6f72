// The tray frame: icon record, icon clicks, the single instance hand-over and the end.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/win32/QorvelTrayApplications.h"
#include "gui/Handles.h"

namespace {

class TProbeTrayApplication : public TQorvelTrayApplication {
 public:
  using TQorvelTrayApplication::TQorvelTrayApplication;
  std::function<void(TProbeTrayApplication&)> OnStarted;
  int Clicks = 0, DoubleClicks = 0, RightClicks = 0, TerminatingCalls = 0, OtherStarts = 0, Finalized = 0;
  int QuitMessages = 0;

  LRESULT SendIcon(UINT mouseMessage) {
    return ::SendMessageW(WindowHandle(), WM_TRAYICON, TrayIconIdentifier, mouseMessage);
  }

 protected:
  void Started() override {
    if (OnStarted) OnStarted(*this);
  }
  void Terminating() override { ++TerminatingCalls; }
  void Finalize() override { ++Finalized; }
  void IconClick() override { ++Clicks; }
  void IconDoubleClick() override { ++DoubleClicks; }
  void IconRightClick() override { ++RightClicks; }
  void OtherInstanceStarted() override {
    ++OtherStarts;
    Terminate();
  }
};

}  // namespace

TEST(TrayApplication, IconRecordHoldsTheCutTip) {
  TProbeTrayApplication app(std::wstring(80, L'T'));
  app.SetIconEnabled(false);
  app.OnStarted = [](TProbeTrayApplication& a) {
    const NOTIFYICONDATAA& data = a.IconData();
    EXPECT_EQ(data.cbSize, 88u);
    EXPECT_EQ(data.uID, 113u);
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 0x471u);
    EXPECT_EQ(data.hWnd, a.WindowHandle());
    EXPECT_NE(data.hIcon, nullptr);
    EXPECT_EQ(std::string(data.szTip), std::string(63, 'T'));
    EXPECT_TRUE(a.IconShown());
    a.Terminate();
  };
  app.Run(L"", false);
  EXPECT_FALSE(app.IconShown()) << "the icon is removed when the loop ends";
  EXPECT_EQ(app.Finalized, 1);
  EXPECT_EQ(app.WindowHandle(), nullptr) << "the hidden window is destroyed";
}

TEST(TrayApplication, IconMessagesBecomeClicks) {
  TProbeTrayApplication app(L"Vindle test");
  app.SetIconEnabled(false);
  app.OnStarted = [](TProbeTrayApplication& a) {
    EXPECT_EQ(a.SendIcon(WM_LBUTTONDOWN), 0);
    a.SendIcon(WM_LBUTTONUP);
    a.SendIcon(WM_LBUTTONDBLCLK);
    a.SendIcon(WM_LBUTTONUP);
    a.SendIcon(WM_LBUTTONDOWN);
    a.SendIcon(WM_MOUSEMOVE);
    a.SendIcon(WM_RBUTTONUP);  // pressed left, released right: nothing
    a.SendIcon(WM_RBUTTONDOWN);
    a.SendIcon(WM_RBUTTONUP);
    a.Terminate();
  };
  app.Run(L"", false);
  EXPECT_EQ(app.Clicks, 1);
  EXPECT_EQ(app.DoubleClicks, 1);
  EXPECT_EQ(app.RightClicks, 1);
}

TEST(TrayApplication, TerminateTwiceEndsOnce) {
  TProbeTrayApplication app(L"Vindle test");
  app.SetIconEnabled(false);
  app.OnStarted = [](TProbeTrayApplication& a) {
    a.Terminate();
    a.Terminate();  // for example the menu and the end of the session
    ::SendMessageW(a.WindowHandle(), WM_CLOSEINSTANCE, 0, 0);
  };
  app.Run(L"", false);
  EXPECT_EQ(app.TerminatingCalls, 1);
  MSG leftover;
  EXPECT_FALSE(::PeekMessageW(&leftover, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "only one quit was posted";
}

TEST(TrayApplication, SessionEndTerminates) {
  TProbeTrayApplication app(L"Vindle test");
  app.SetIconEnabled(false);
  app.OnStarted = [](TProbeTrayApplication& a) {
    EXPECT_NE(::SendMessageW(a.WindowHandle(), WM_QUERYENDSESSION, 0, 0), 0) << "the session may end";
  };
  app.Run(L"", false);
  EXPECT_TRUE(app.EndingSession());
  EXPECT_EQ(app.TerminatingCalls, 1);
}

TEST(TrayApplication, LaterStartHandsOverToTheRunningInstance) {
  const std::wstring name = L"VindleTrayTest" + std::to_wstring(::GetCurrentProcessId());
  TProbeTrayApplication first(L"first");
  first.SetIconEnabled(false);
  int secondWindows = -1;
  first.OnStarted = [&](TProbeTrayApplication&) {
    TProbeTrayApplication second(L"second");
    second.SetIconEnabled(false);
    bool secondStarted = false;
    second.OnStarted = [&](TProbeTrayApplication&) { secondStarted = true; };
    second.Run(name, false);  // returns at once: the first instance runs
    EXPECT_FALSE(secondStarted);
    secondWindows = second.WindowHandle() ? 1 : 0;
  };
  first.Run(name, false);
  EXPECT_EQ(secondWindows, 0);
  EXPECT_EQ(first.OtherStarts, 1) << "the show request reached the first instance";
}

namespace {
std::vector<std::string> HandOverCalls;
BOOL WINAPI RecordAllow(DWORD processId) {
  HandOverCalls.push_back("allow " + std::to_string(processId));
  return TRUE;
}
BOOL WINAPI RecordPost(HWND, UINT message, WPARAM, LPARAM) {
  HandOverCalls.push_back("post " + std::to_string(message));
  return TRUE;
}
}  // namespace

TEST(TrayApplication, LaterStartLetsTheFirstTakeTheForegroundBeforeAskingIt) {
  const HWND first = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(first);
  HandOverToFirstInstance(first, WM_SHOWINSTANCE, {&RecordAllow, &RecordPost});
  ::DestroyWindow(first);
  EXPECT_EQ(HandOverCalls, (std::vector<std::string>{"allow " + std::to_string(::GetCurrentProcessId()),
                                                     "post " + std::to_string(WM_SHOWINSTANCE)}));
}

TEST(TrayApplication, LaterStartWithCloseFlagEndsTheRunningInstance) {
  const std::wstring name = L"VindleTrayClose" + std::to_wstring(::GetCurrentProcessId());
  TProbeTrayApplication first(L"first");
  first.SetIconEnabled(false);
  first.OnStarted = [&](TProbeTrayApplication&) {
    TProbeTrayApplication second(L"second");
    second.Run(name, true);
  };
  first.Run(name, false);
  EXPECT_EQ(first.TerminatingCalls, 1);
  EXPECT_EQ(first.OtherStarts, 0);
}

// A block that names no running copy (another program's window here) is stale: setup asks
// nothing to close, posts nothing to that window, and logs why.
TEST(TrayApplication, CloseRequestLeavesAStaleBlockAloneAndLogsIt) {
  const std::wstring name = L"VindleTrayStale" + std::to_wstring(::GetCurrentProcessId());
  const HWND foreign = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  const TKernelHandle block(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4, name.c_str()));
  const TMappedView view(::MapViewOfFile(block.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 4));
  *static_cast<std::uint32_t*>(view.Get()) = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(foreign));
  std::vector<std::wstring> logged;
  EXPECT_TRUE(CloseRunningInstance(name, L"vindle_win_tests.exe", 5000, [&](const std::wstring& line) {
    logged.push_back(line);
  }));
  EXPECT_EQ(logged.size(), 1u);
  MSG posted;
  EXPECT_FALSE(::PeekMessageW(&posted, foreign, 0, 0, PM_REMOVE));
  ::DestroyWindow(foreign);
}
