#pragma once
// What both installation wizards share: a fixed-size modal window around a wizard control,
// labels and buttons placed in 96-dpi units, the logo, questions owned by the window, and
// the busy state (hourglass, pauses that keep the window painted) while the engine works.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/win32/QorvelHeaders.h"
#include "controls/win32/QorvelWebLinks.h"
#include "controls/win32/QorvelWizards.h"
#include "gui/Dpi.h"
#include "gui/Forms.h"
#include "gui/Handles.h"
#include "install/QorvelInstallWizardRules.h"
#include "install/UninstallScope.h"
#include "install/win32/SetupLogs.h"

class TQorvelWizardForm : public TForm {
 public:
  static constexpr int ClientWidth = 416, ClientHeight = 346, ButtonWidth = 84;
  static constexpr int LogoWidth = 400, LogoHeight = 150;

  TQorvelWizardForm(const std::wstring& caption, int pageCount);
  ~TQorvelWizardForm() override;

  TQorvelWizard& Wizard() { return *FWizard; }
  // Message boxes owned by the wizard window; tests answer them instead.
  std::function<int(const std::wstring& text, const std::wstring& caption, UINT flags)> AskUser;
  // The engine's work is paced by short pauses; tests may skip them.
  bool Pauses = true;
  // Asks the running program to end and answers once none runs (false: one still does).
  // Without it, nothing is asked.
  std::function<bool()> CloseRunningProgram;
  // Where the steps are logged (the setup's /log).
  TSetupLogLine OnLog;
  // Whether the wizard ended because its work failed (not because the user cancelled).
  bool Failed() const { return FFailed; }
  // Whether Next carries the elevation shield.
  bool NextShieldShown() const { return FNextShield; }

  // The hourglass over the whole window while the engine works.
  class TBusyScope {
   public:
    explicit TBusyScope(TQorvelWizardForm& form);
    ~TBusyScope();
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

   private:
    TQorvelWizardForm& FForm;
  };

 protected:
  int Scaled(int value96) const { return ::MulDiv(value96, static_cast<int>(FDpi), 96); }
  RECT ScaledRect(int left, int top, int width, int height) const;
  HWND Page(int index) { return FWizard->Page(index).Handle(); }

  TQorvelHeader& AddHeader(int page, const std::wstring& caption, const std::wstring& comment = {});
  HWND AddLabel(int page, const std::wstring& text, int left, int top, int width, int height, DWORD style = 0);
  HWND AddButton(int page, const std::wstring& text, int left, int top, int width, int height, DWORD style);
  HWND AddRadio(int page, const std::wstring& text, int left, int top, int width, bool firstOfGroup);
  HWND AddCheck(int page, const std::wstring& text, int left, int top, int width);
  TQorvelWebLink& AddWebLink(int page, int top);
  HWND AddLogo(int page, const std::wstring& resourceName, int top);
  // The buttons' states and Next's caption and shield, as `statesOf` gives them for a page.
  void FollowButtonStates(std::function<TWizardButtonStates(int page)> statesOf);
  static bool Checked(HWND button) { return ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  static void SetChecked(HWND button, bool checked) {
    ::SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  static void ShowControl(HWND control, bool visible) { ::ShowWindow(control, visible ? SW_SHOW : SW_HIDE); }

  int Ask(const std::wstring& text, const std::wstring& caption, UINT flags);
  // Keeps the window alive for `milliseconds` (nothing to click: the buttons are disabled).
  void Pause(int milliseconds);
  // Runs `work` once the page that was just shown has been painted.
  void AfterPageShown(std::function<void()> work);
  // Where page controls report: override to react to clicks.
  virtual void PageCommand(HWND control, int notification) {
    (void)control;
    (void)notification;
  }
  // Colours of page labels: override for special ones.
  virtual HBRUSH LabelColors(HWND label, HDC dc);
  void CloseWith(int modalResult);
  void MarkFailed() { FFailed = true; }
  // Ends the wizard the way its own buttons do.
  void EndWizard(int modalResult) {
    if (FWizard->OnClose) FWizard->OnClose(modalResult);
  }

  // Removes what the configuration file lists, showing `stages` (removing files, folders,
  // cleaning the registry, finishing) as the uninstaller reaches them. Reports a missing or
  // damaged file and a failure in a box titled "Error" and answers false; `product` names
  // what failed.
  // Only what `identity` names is touched; what the file lists beyond it goes to `left`.
  // Once the file has been read, the running program is asked to end; when the user
  // cancels that, nothing is touched and the answer is false without a message.
  bool RunUninstall(const std::wstring& configPath, HWND const (&stages)[4], const std::wstring& product,
                    const TInstallIdentity& identity, std::vector<TLeftEntry>* left = nullptr);
  // Before files are replaced or removed: the running program is asked to end (it saves its
  // settings as on Exit); while it does not, Retry/Cancel. False when the user cancelled.
  bool EnsureProgramClosed(const std::wstring& product);

  HFONT Font() const { return FFont; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void DoShow() override;

 private:
  static constexpr UINT WorkMessage = WM_APP + 40;
  UINT FDpi = 96;
  std::unique_ptr<TDpiRelayout> FDpiRelayout;  // declared before the controls: its fonts outlive them
  HFONT FFont;
  std::unique_ptr<TQorvelWizard> FWizard;
  std::vector<std::unique_ptr<TQorvelHeader>> FHeaders;
  std::vector<std::unique_ptr<TQorvelWebLink>> FLinks;
  TBitmapHandle FLogo;
  std::function<void()> FPendingWork;
  int FBusy = 0;
  bool FFailed = false;
  bool FNextShield = false;
};

// The link every wizard page shows, and the address it opens.
inline constexpr wchar_t QorvelLinkText[] = L"www.qorvel.com";
