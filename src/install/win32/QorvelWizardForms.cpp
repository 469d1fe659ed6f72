#include "install/win32/QorvelWizardForms.h"

#include <commctrl.h>

#include "controls/win32/QorvelControlsCommon.h"
#include "gui/Application.h"
#include "gui/Dpi.h"
#include "install/QorvelInstallTexts.h"
#include "install/UninstallConfiguration.h"
#include "install/win32/QorvelShellUtils.h"
#include "install/win32/QorvelUninstallers.h"

TQorvelWizardForm::TQorvelWizardForm(const std::wstring& caption, int pageCount) : FFont(DefaultControlFont()) {
  TCreateParams params;
  params.ClassName = L"TQorvelWizardForm";
  params.Background = ::GetSysColorBrush(COLOR_BTNFACE);
  params.Icon = ::LoadIconW(ModuleInstance(), L"MAINICON");
  params.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  // The wizard is the only window of a setup run: it needs its taskbar button.
  params.ExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  params.Caption = caption;
  params.Left = params.Top = 0;
  params.Width = params.Height = 100;
  CreateHandle(params);
  FDpi = WindowDpi(Handle());
  // The client area as laid out, whatever frame the system draws around it.
  const RECT window = BoundsRect();
  const RECT client = ClientRect();
  SetBounds(0, 0, Scaled(ClientWidth) + (window.right - window.left) - client.right,
            Scaled(ClientHeight) + (window.bottom - window.top) - client.bottom, SWP_NOMOVE);
  FWizard = std::make_unique<TQorvelWizard>(Handle(), pageCount, ButtonWidth, FDpi);
  FDpiRelayout = std::make_unique<TDpiRelayout>(Handle(), FDpi);
  FWizard->OnClose = [this](int result) { CloseWith(result); };
  for (int i = 0; i < pageCount; ++i) {
    FWizard->Page(i).OnMessage = [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
      switch (message) {
        case WM_COMMAND:
          if (lParam) {
            PageCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            result = 0;
            return true;
          }
          return false;
        case WM_CTLCOLORSTATIC:
          result =
              reinterpret_cast<LRESULT>(LabelColors(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
          return result != 0;
        default: return false;
      }
    };
  }
}

TQorvelWizardForm::~TQorvelWizardForm() {
  FLinks.clear();
  FHeaders.clear();
  FWizard.reset();
  DestroyHandle();
}

RECT TQorvelWizardForm::ScaledRect(int left, int top, int width, int height) const {
  return {Scaled(left), Scaled(top), Scaled(left + width), Scaled(top + height)};
}

TQorvelHeader& TQorvelWizardForm::AddHeader(int page, const std::wstring& caption, const std::wstring& comment) {
  FHeaders.push_back(std::make_unique<TQorvelHeader>(Page(page), caption, comment, FDpi));
  return *FHeaders.back();
}

HWND TQorvelWizardForm::AddLabel(int page, const std::wstring& text, int left, int top, int width, int height,
                                 DWORD style) {
  return CreateChildControl(Page(page), L"STATIC", text, SS_NOPREFIX | style, ScaledRect(left, top, width, height),
                            FFont);
}

HWND TQorvelWizardForm::AddButton(int page, const std::wstring& text, int left, int top, int width, int height,
                                  DWORD style) {
  return CreateChildControl(Page(page), L"BUTTON", text, WS_TABSTOP | style, ScaledRect(left, top, width, height),
                            FFont);
}

HWND TQorvelWizardForm::AddRadio(int page, const std::wstring& text, int left, int top, int width, bool firstOfGroup) {
  return AddButton(page, text, left, top, width, 18, BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP : 0));
}

HWND TQorvelWizardForm::AddCheck(int page, const std::wstring& text, int left, int top, int width) {
  return AddButton(page, text, left, top, width, 18, BS_AUTOCHECKBOX | WS_GROUP);
}

TQorvelWebLink& TQorvelWizardForm::AddWebLink(int page, int top) {
  FLinks.push_back(std::make_unique<TQorvelWebLink>(Page(page), ScaledRect(12, top, 392, 16), QorvelLinkText,
                                                    QorvelWebAddress, FFont));
  return *FLinks.back();
}

HWND TQorvelWizardForm::AddLogo(int page, const std::wstring& resourceName, int top) {
  if (!FLogo && !resourceName.empty())
    FLogo.Reset(static_cast<HBITMAP>(
        ::LoadImageW(ModuleInstance(), resourceName.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!FLogo) return nullptr;
  // A static picture control keeps the page free of custom painting.
  const RECT r = ScaledRect((ClientWidth - LogoWidth) / 2, top, LogoWidth, LogoHeight);
  HWND picture =
      ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_REALSIZECONTROL, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, Page(page), nullptr, ModuleInstance(), nullptr);
  if (picture) ::SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(FLogo.Get()));
  return picture;
}

void TQorvelWizardForm::FollowButtonStates(std::function<TWizardButtonStates(int page)> statesOf) {
  FWizard->OnCustomButton = [this, statesOf = std::move(statesOf)](TQorvelWizard::TButton button, bool& enabled,
                                                                   std::wstring& caption, int page) {
    const TWizardButtonStates states = statesOf(page);
    switch (button) {
      case TQorvelWizard::wbBack: enabled = states.BackEnabled; break;
      case TQorvelWizard::wbNext:
      case TQorvelWizard::wbFinish:
        enabled = states.NextEnabled;
        caption = states.NextCaption;
        if (states.NextShield != FNextShield) {
          FNextShield = states.NextShield;
          ::SendMessageW(FWizard->Button(TQorvelWizard::wbNext), BCM_SETSHIELD, 0, FNextShield ? TRUE : FALSE);
        }
        break;
      case TQorvelWizard::wbCancel: enabled = states.CancelEnabled; break;
    }
  };
}

HBRUSH TQorvelWizardForm::LabelColors(HWND, HDC dc) {
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  return ::GetSysColorBrush(COLOR_BTNFACE);
}

int TQorvelWizardForm::Ask(const std::wstring& text, const std::wstring& caption, UINT flags) {
  if (AskUser) return AskUser(text, caption, flags);
  return ::MessageBoxW(Handle(), text.c_str(), caption.c_str(), flags);
}

void TQorvelWizardForm::Pause(int milliseconds) {
  if (!Pauses) return;
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
        return;
      }
      if (!::IsDialogMessageW(Handle(), &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    }
    const ULONGLONG later = ::GetTickCount64();
    if (later < end) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - later), QS_ALLINPUT);
  }
}

void TQorvelWizardForm::AfterPageShown(std::function<void()> work) {
  FPendingWork = std::move(work);
  ::PostMessageW(Handle(), WorkMessage, 0, 0);
}

void TQorvelWizardForm::CloseWith(int modalResult) {
  SetModalResult(modalResult == IDOK ? TModalResult::Ok : TModalResult::Cancel);
}

TQorvelWizardForm::TBusyScope::TBusyScope(TQorvelWizardForm& form) : FForm(form) {
  ++FForm.FBusy;
  ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}

TQorvelWizardForm::TBusyScope::~TBusyScope() {
  --FForm.FBusy;
  POINT point{};
  ::GetCursorPos(&point);
  ::SetCursorPos(point.x, point.y);  // lets the window under the pointer set its own cursor again
}

void TQorvelWizardForm::DoShow() {
  // Centred on the monitor the user works on.
  POINT cursor{};
  ::GetCursorPos(&cursor);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ::GetMonitorInfoW(::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &info);
  const RECT bounds = BoundsRect();
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  ::SetWindowPos(Handle(), nullptr, info.rcWork.left + (info.rcWork.right - info.rcWork.left - width) / 2,
                 info.rcWork.top + (info.rcWork.bottom - info.rcWork.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TQorvelWizardForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case DpiChangedMessage:
      if (!FDpiRelayout) break;
      FDpi = FDpiRelayout->DpiChanged(wParam, lParam);
      return 0;
    case WM_COMMAND:
      // Enter and Esc: the wizard decides whether Next or Cancel may act.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        ::SendMessageW(FWizard->Handle(), WM_COMMAND, MAKEWPARAM(LOWORD(wParam), BN_CLICKED), 0);
        return 0;
      }
      break;
    case WM_CLOSE:
      // The close box is Cancel, and does nothing while the engine works.
      ::SendMessageW(FWizard->Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return 0;
    case WM_SETCURSOR:
      if (FBusy > 0) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WorkMessage:
      if (FPendingWork) {
        // The new page first appears in full, then the work starts.
        ::RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        auto work = std::move(FPendingWork);
        FPendingWork = nullptr;
        work();
      }
      return 0;
    default: break;
  }
  return TForm::HandleMessage(message, wParam, lParam);
}

bool TQorvelWizardForm::EnsureProgramClosed(const std::wstring& product) {
  if (!CloseRunningProgram) return true;
  if (OnLog) OnLog(L"Asking the running program to close");
  for (;;) {
    {
      TBusyScope busy(*this);
      if (CloseRunningProgram()) return true;
    }
    if (Ask(ProgramStillRunningQuestion(product), ProgramStillRunningCaption(product),
            MB_RETRYCANCEL | MB_ICONWARNING) != IDRETRY)
      return false;
  }
}

bool TQorvelWizardForm::RunUninstall(const std::wstring& configPath, HWND const (&stages)[4],
                                     const std::wstring& product, const TInstallIdentity& identity,
                                     std::vector<TLeftEntry>* left) {
  for (HWND stage : stages) ShowControl(stage, false);
  if (configPath.empty() || !FileExists(configPath)) {
    MarkFailed();
    Ask(L"Configuration file needed to uninstall application not found.", L"Error", MB_OK | MB_ICONERROR);
    return false;
  }
  TBusyScope busy(*this);
  bool removed = false;
  try {
    TQorvelUninstaller uninstaller;
    uninstaller.ConfigPath = configPath;
    uninstaller.Identity = identity;
    uninstaller.OnLog = OnLog;
    uninstaller.LoadConfig();
    // Only a file that can be read is worth ending the program for.
    if (!EnsureProgramClosed(product)) return false;
    int shown = -1;
    uninstaller.OnProgress = [&](TQorvelInstallStage stage, int percent) {
      const int index = stage - isRemovingFiles;
      if (index < 0 || index > 2) return;
      if (index != shown) {
        shown = index;
        ShowControl(stages[index], true);
        ::UpdateWindow(::GetParent(stages[index]));
      }
      if (percent >= 100) Pause(100);
    };
    removed = uninstaller.Uninstall();
    if (left) *left = uninstaller.LeftEntries;
  } catch (const std::exception& error) {
    // A damaged file: say what is wrong with it instead of guessing.
    MarkFailed();
    if (OnLog) OnLog(Widen(error.what()));
    Ask(Widen(error.what()), L"Error", MB_OK | MB_ICONERROR);
    return false;
  }
  if (removed) {
    ShowControl(stages[3], true);
    ::UpdateWindow(::GetParent(stages[3]));
    Pause(1000);
    return true;
  }
  MarkFailed();
  Ask(UninstallFailedMessage(product), L"Error", MB_OK | MB_ICONERROR);
  return false;
}
