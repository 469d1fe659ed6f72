#pragma once
// The frame of a program that lives in the notification area: a hidden message window,
// the icon with its tooltip and menu, the program's own message loop, one running instance
// per logon session, and an orderly end.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>

#include "app/TrayIconMouse.h"
#include "gui/Forms.h"
#include "gui/Handles.h"
#include "gui/Menus.h"
#include "gui/Window.h"

constexpr UINT WM_TRAYICON = WM_USER + 113;
constexpr UINT WM_TRAYMENU = WM_USER + 114;
constexpr UINT WM_SHOWINSTANCE = WM_USER + 170;
constexpr UINT WM_CLOSEINSTANCE = WM_USER + 174;
constexpr UINT TrayIconIdentifier = 113;
// Keys are offered to the toolkit's controls in this message range before dispatching.
constexpr UINT CN_KEYBASE = 0xBC00;

// The registered "TaskbarCreated" message (0 when it could not be registered).
UINT TaskbarCreatedMessage();

class TQorvelTrayApplication {
 public:
  explicit TQorvelTrayApplication(std::wstring title);
  virtual ~TQorvelTrayApplication();
  TQorvelTrayApplication(const TQorvelTrayApplication&) = delete;
  TQorvelTrayApplication& operator=(const TQorvelTrayApplication&) = delete;

  void Run(const std::wstring& instanceName, bool closeOther);
  void Terminate();
  void ShowIcon();
  void HideIcon();
  void RequestTrayMenu();
  // A notification from the icon (a balloon, or a toast on Windows 10 and later).
  void Notify(const std::wstring& title, const std::wstring& text);

  const std::wstring& Title() const { return FTitle; }
  HWND WindowHandle() const { return FWindow ? FWindow->Handle() : nullptr; }
  TPopupMenu* TrayMenu() const { return FMenu.get(); }
  bool IconShown() const { return FIconShown; }
  bool Terminated() const { return FTerminated; }
  bool EndingSession() const { return FEndingSession; }
  const NOTIFYICONDATAA& IconData() const { return FIconData; }
  std::uint32_t LastMouseMessage() const { return FIconMouse.LastMouseMessage(); }
  void SetIconEnabled(bool enabled) { FIconEnabled = enabled; }

 protected:
  // The operations a program overrides, in their fixed order.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);  // answers "handled"
  virtual void Initialize() {}
  virtual void Started() {}
  virtual void Finalize() {}
  virtual void EndSession() { Terminate(); }
  virtual void Terminating() {}
  virtual void Idle(bool& /*done*/) {}
  virtual bool CanTerminate() { return true; }
  virtual void OtherInstanceStarted() {}
  virtual void IconClick() {}
  virtual void IconRightClick() { RequestTrayMenu(); }
  virtual void IconDoubleClick() {}
  virtual void ShowTrayMenu();
  virtual std::unique_ptr<TPopupMenu> CreateTrayMenu() { return std::make_unique<TPopupMenu>(); }

  void PopupTrayMenu(HWND owner);
  // The guard of the single-instance block is held by a process that does not let go:
  // answers whether to start anyway, without the hand-over (asks the user).
  virtual bool StartWhenOtherInstanceDoesNotAnswer();

 private:
  void RunFirstInstance(class TQorvelMutexSharedMemory* shared);
  void MessageLoop();
  bool PreprocessKey(const MSG& message) const;
  void FillIconData();

  std::wstring FTitle;
  std::unique_ptr<TMessageWindow> FWindow;
  bool FInitialized = false;
  NOTIFYICONDATAA FIconData{};
  std::unique_ptr<TPopupMenu> FMenu;
  TIconHandle FIcon;
  bool FIconEnabled = true;
  bool FIconShown = false;
  std::wstring FTip;
  TTrayIconMouse FIconMouse;
  bool FTerminated = false;
  bool FEndingSession = false;
};

class TQorvelFormTrayApplication : public TQorvelTrayApplication {
 public:
  using TQorvelTrayApplication::TQorvelTrayApplication;

  TForm* MainForm() const { return FMainForm.get(); }
  void ShowMainForm();
  void ChainModalForms();
  static bool ModalFormActive();

 protected:
  void Initialize() override;
  void Finalize() override;
  void Terminating() override;
  void OtherInstanceStarted() override;
  void IconClick() override { ShowMainForm(); }
  void ShowTrayMenu() override;
  virtual std::unique_ptr<TForm> CreateMainForm() = 0;
  virtual void BeforeShowMainForm() {}

 private:
  std::unique_ptr<TForm> FMainForm;
};

// How a later start reaches the first instance: the system's calls, or a test's.
struct TInstanceHandOverCalls {
  BOOL(WINAPI* AllowSetForeground)(DWORD processId) = &::AllowSetForegroundWindow;
  BOOL(WINAPI* Post)(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = &::PostMessageW;
};
// Lets the first instance take the foreground, then posts it `request` (show or close).
void HandOverToFirstInstance(HWND running, UINT request, const TInstanceHandOverCalls& calls = {});

// Asks the first instance running under `instanceName` to end, as a later start with
// `closeOther` does, and waits up to `timeoutMs` for its process to end while this thread's
// messages are handled. True when no instance runs any more. Only a window that
// IsRunningInstanceWindow accepts for `imageFileName` is asked; a block that names none is
// stale, which `log` hears of, and counts as no instance.
bool CloseRunningInstance(const std::wstring& instanceName, const std::wstring& imageFileName, DWORD timeoutMs,
                          const std::function<void(const std::wstring&)>& log = {});

// The one application object of the running program (null before and after the run).
TQorvelTrayApplication* MeterApplication();

// Creates the application object, runs it and frees it. An error of the program's own
// error class is shown in a message box with the title as caption.
using TTrayApplicationFactory = std::unique_ptr<TQorvelTrayApplication> (*)(const std::wstring& title);
void RunTrayApplication(TTrayApplicationFactory create, const std::wstring& title, const std::wstring& instanceName,
                        bool closeOther);
