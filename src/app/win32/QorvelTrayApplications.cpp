#include "app/win32/QorvelTrayApplications.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "base/ScopeExit.h"
#include "gui/QorvelMemoryMappedFiles.h"
#include "gui/Application.h"
#include "gui/RunningInstances.h"
#include "settings/QorvelErrors.h"

namespace {

TQorvelTrayApplication* TheApplication = nullptr;

}  // namespace

UINT TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

TQorvelTrayApplication* MeterApplication() { return TheApplication; }

TQorvelTrayApplication::TQorvelTrayApplication(std::wstring title) : FTitle(std::move(title)), FTip(FTitle) {
  TaskbarCreatedMessage();
}

TQorvelTrayApplication::~TQorvelTrayApplication() = default;

namespace {

HWND StoredWindow(const TQorvelSharedMemory& shared) {
  std::uint32_t stored = 0;
  std::memcpy(&stored, shared.Memory(), sizeof(stored));
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(stored));
}

}  // namespace

void TQorvelTrayApplication::Run(const std::wstring& instanceName, bool closeOther) {
  std::unique_ptr<TQorvelMutexSharedMemory> shared;
  if (!instanceName.empty()) {
    try {
      shared = std::make_unique<TQorvelMutexSharedMemory>(instanceName, 4, true, INVALID_HANDLE_VALUE);
    } catch (const EQorvelMutexBusyError&) {
      // Something holds the guard and does not let go: ask rather than hang or vanish.
      if (!closeOther && StartWhenOtherInstanceDoesNotAnswer()) RunFirstInstance(nullptr);
      return;
    }
  }

  if (!shared || shared->Created()) {
    RunFirstInstance(shared.get());
    return;
  }
  // Another instance runs, or something else made the block. Its guard is held until the
  // first instance has stored its window, so waiting for the guard means a start racing the
  // first one's start-up still finds the window.
  // (Held already when this start created the guard: a block made by another program.)
  if (shared->Guard().LockCount() == 0 && !shared->Lock()) {
    if (!closeOther && StartWhenOtherInstanceDoesNotAnswer()) RunFirstInstance(nullptr);
    return;
  }
  const HWND running = StoredWindow(*shared);
  if (IsRunningInstanceWindow(running, OwnImageFileName())) {
    shared->Unlock();
    HandOverToFirstInstance(running, closeOther ? WM_CLOSEINSTANCE : WM_SHOWINSTANCE);
    return;
  }
  // The block names no running copy of this program (a zero, a window of another program, a
  // copy that crashed): it is stale. Take it over, still holding its guard, as a first
  // instance would; a start asked only to close the running one has nothing to close.
  if (closeOther) {
    shared->Unlock();
    return;
  }
  RunFirstInstance(shared.get());
}

bool TQorvelTrayApplication::StartWhenOtherInstanceDoesNotAnswer() {
  const std::wstring text = L"Another " + FTitle + L" does not answer.\n\nStart anyway?";
  return ::MessageBoxW(nullptr, text.c_str(), FTitle.c_str(), MB_YESNO | MB_ICONWARNING | MB_SETFOREGROUND) == IDYES;
}

void HandOverToFirstInstance(HWND running, UINT request, const TInstanceHandOverCalls& calls) {
  // The later start is what the user just started, so it holds the foreground; a
  // background process may take it only when the holder lets it, before it is asked.
  DWORD processId = 0;
  ::GetWindowThreadProcessId(running, &processId);
  if (processId != 0) calls.AllowSetForeground(processId);
  calls.Post(running, request, 0, 0);
}

namespace {

// The first instance's window as its block holds it: nothing when no instance runs, a null
// window while one is still starting (it stores the window once it has one).
std::optional<HWND> FirstInstanceWindow(const std::wstring& instanceName) {
  const TKernelHandle mapping(::OpenFileMappingW(FILE_MAP_READ, FALSE, QorvelMappingName(instanceName).c_str()));
  if (!mapping) return std::nullopt;
  const TMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, sizeof(std::uint32_t)));
  std::uint32_t stored = 0;
  if (view) std::memcpy(&stored, view.Get(), sizeof(stored));
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(stored));
}

// Waits for `object` (or `milliseconds` when there is none) while messages keep this
// thread's windows painted. True when the object was signalled.
bool WaitHandlingMessages(HANDLE object, ULONGLONG until) {
  for (;;) {
    const ULONGLONG now = ::GetTickCount64();
    if (now >= until) return false;
    const DWORD count = object ? 1 : 0;
    const DWORD result = ::MsgWaitForMultipleObjects(count, object ? &object : nullptr, FALSE,
                                                     static_cast<DWORD>(until - now), QS_ALLINPUT);
    if (object && result == WAIT_OBJECT_0) return true;
    if (result == WAIT_OBJECT_0 + count) {
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
          ::PostQuitMessage(static_cast<int>(message.wParam));
          return false;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    } else if (result != WAIT_TIMEOUT) {
      return false;
    }
  }
}

// How long a start-up may leave its block without a window before the block counts as stale.
constexpr ULONGLONG StartingInstanceGraceMs = 2000;

}  // namespace

bool CloseRunningInstance(const std::wstring& instanceName, const std::wstring& imageFileName, DWORD timeoutMs,
                          const std::function<void(const std::wstring&)>& log) {
  const ULONGLONG start = ::GetTickCount64();
  const ULONGLONG until = start + timeoutMs;
  for (;;) {
    const std::optional<HWND> running = FirstInstanceWindow(instanceName);
    if (!running) return true;
    if (IsRunningInstanceWindow(*running, imageFileName)) {
      DWORD processId = 0;
      ::GetWindowThreadProcessId(*running, &processId);
      if (processId != ::GetCurrentProcessId()) {
        const TKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
        ::PostMessageW(*running, WM_CLOSEINSTANCE, 0, 0);
        if (process) return WaitHandlingMessages(process.Get(), until) || !FirstInstanceWindow(instanceName);
      }
    } else if (*running || ::GetTickCount64() - start >= StartingInstanceGraceMs) {
      // A block that names no running copy (left by a crash, or made by another program)
      // holds nothing that could be asked to close; the next start takes it over.
      if (log)
        log(L"The block \"" + instanceName + L"\" names no running " + imageFileName +
            L"; it was taken for stale and nothing was asked to close.");
      return true;
    }
    // Starting or ending right now: look again shortly.
    WaitHandlingMessages(nullptr, std::min(until, ::GetTickCount64() + 100));
    if (::GetTickCount64() >= until) return !FirstInstanceWindow(instanceName);
  }
}

void TQorvelTrayApplication::RunFirstInstance(TQorvelMutexSharedMemory* shared) {
  FWindow = std::make_unique<TMessageWindow>(TrayWindowClassName, [this](UINT m, WPARAM w, LPARAM l, LRESULT& r) {
    if (!FInitialized || !HandleMessage(m, w, l)) return false;
    r = 0;
    return true;
  });
  // Frees the frame's resources in their order whatever way the run ends.
  const TScopeExit freeResources([this, shared] {
    // A start during our shutdown must not post to a window that is about to go. A guard
    // that another program keeps costs the bounded wait and leaves the block as it is (the
    // next start finds the window gone); a block taken over meanwhile is no longer ours.
    if (shared && shared->Lock()) {
      if (StoredWindow(*shared) == FWindow->Handle()) std::memset(shared->Memory(), 0, sizeof(std::uint32_t));
      shared->Unlock();
    }
    FInitialized = false;
    FMenu.reset();
    FIcon.Reset();
    FWindow.reset();
  });
  if (shared) {
    const auto handle = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(FWindow->Handle()));
    std::memcpy(shared->Memory(), &handle, sizeof(handle));
    shared->Unlock();
  }
  FIcon.Reset(static_cast<HICON>(::LoadImageW(ModuleInstance(), L"MAINICON", IMAGE_ICON,
                                              ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));
  FMenu = CreateTrayMenu();
  FInitialized = true;
  FillIconData();
  Initialize();

  try {
    ShowIcon();
    Started();
    MessageLoop();
  } catch (...) {
    HideIcon();
    try {
      Finalize();
    } catch (...) {
    }
    throw;
  }
  HideIcon();
  Finalize();
}

void TQorvelTrayApplication::FillIconData() {
  std::memset(&FIconData, 0, sizeof(FIconData));
  FIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
  FIconData.hWnd = FWindow->Handle();
  FIconData.uID = TrayIconIdentifier;
  FIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  FIconData.uCallbackMessage = WM_TRAYICON;
  FIconData.hIcon = FIcon.Get();
  const std::string tip = TrayIconTip(Narrow(FTip));
  std::memcpy(FIconData.szTip, tip.c_str(), tip.size() + 1);
}

void TQorvelTrayApplication::ShowIcon() {
  if (FIconEnabled) ::Shell_NotifyIconA(NIM_ADD, &FIconData);
  FIconShown = true;
}

void TQorvelTrayApplication::HideIcon() {
  if (FIconEnabled) ::Shell_NotifyIconA(NIM_DELETE, &FIconData);
  FIconShown = false;
}

void TQorvelTrayApplication::Notify(const std::wstring& title, const std::wstring& text) {
  if (!FIconEnabled || !FIconShown) return;
  // The icon's own record is the small one every shell knows; a notification needs the full
  // record of this system's shell for the same icon.
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = FIconData.hWnd;
  data.uID = FIconData.uID;
  data.uFlags = NIF_INFO;
  data.dwInfoFlags = NIIF_INFO;
  wcsncpy_s(data.szInfoTitle, title.c_str(), _TRUNCATE);
  wcsncpy_s(data.szInfo, text.c_str(), _TRUNCATE);
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TQorvelTrayApplication::RequestTrayMenu() { ::PostMessageW(WindowHandle(), WM_TRAYMENU, 0, 0); }

void TQorvelTrayApplication::Terminate() {
  if (!CanTerminate() || FTerminated) return;
  FTerminated = true;
  Terminating();
  ::PostQuitMessage(0);
}

bool TQorvelTrayApplication::HandleMessage(UINT message, WPARAM /*wParam*/, LPARAM lParam) {
  if (message == TaskbarCreatedMessage() && message != 0) {
    if (FIconShown) ShowIcon();
    return true;
  }
  switch (message) {
    case WM_QUERYENDSESSION:
      FEndingSession = true;
      EndSession();
      return false;  // the default procedure lets the session end
    case WM_TRAYICON: {
      const TTrayIconResponse response = FIconMouse.Feed(static_cast<std::uint32_t>(lParam));
      switch (response.Action) {
        case TTrayIconAction::Click: IconClick(); break;
        case TTrayIconAction::DoubleClick: IconDoubleClick(); break;
        case TTrayIconAction::RightClick: IconRightClick(); break;
        case TTrayIconAction::None: break;
      }
      return response.Handled;
    }
    case WM_TRAYMENU: ShowTrayMenu(); return true;
    case WM_SHOWINSTANCE: OtherInstanceStarted(); return true;
    case WM_CLOSEINSTANCE: Terminate(); return true;
    default: return false;
  }
}

void TQorvelTrayApplication::PopupTrayMenu(HWND owner) {
  POINT cursor{};
  ::GetCursorPos(&cursor);
  FMenu->Popup(owner, cursor, TPM_RIGHTALIGN | TPM_BOTTOMALIGN);
}

void TQorvelTrayApplication::ShowTrayMenu() { PopupTrayMenu(WindowHandle()); }

bool TQorvelTrayApplication::PreprocessKey(const MSG& message) const {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  HWND target = ::GetCapture();
  if (target) {
    if (reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(target, GWLP_HINSTANCE)) != ModuleInstance()) return false;
  } else {
    target = message.hwnd;
    for (HWND w = message.hwnd; w; w = ::GetParent(w)) {
      if (TWindow::FromHandle(w)) {
        target = w;
        break;
      }
    }
  }
  return target && ::SendMessageW(target, message.message + CN_KEYBASE, message.wParam, message.lParam) != 0;
}

void TQorvelTrayApplication::MessageLoop() {
  FTerminated = false;
  MSG message;
  for (;;) {
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        FTerminated = true;
        continue;
      }
      if (PreprocessKey(message) || TForm::OfferDialogKey(message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (FTerminated) return;
    bool done = true;
    Idle(done);
    if (done) ::WaitMessage();
  }
}

// ---- with a main form ------------------------------------------------------------------

void TQorvelFormTrayApplication::Initialize() {
  TQorvelTrayApplication::Initialize();
  FMainForm = CreateMainForm();
}

void TQorvelFormTrayApplication::Finalize() {
  FMainForm.reset();
  TQorvelTrayApplication::Finalize();
}

void TQorvelFormTrayApplication::Terminating() {
  if (FMainForm && FMainForm->Visible()) FMainForm->Close();
  TQorvelTrayApplication::Terminating();
}

void TQorvelFormTrayApplication::OtherInstanceStarted() {
  TQorvelTrayApplication::OtherInstanceStarted();
  ShowMainForm();
}

void TQorvelFormTrayApplication::ShowMainForm() {
  if (!FMainForm) return;
  TForm* active = TForm::ActiveForm();
  if (active && active->Visible()) {
    // An open dialog stays in front of the ruler it belongs to.
    BeforeShowMainForm();
    FMainForm->Show();
    if (active->Visible()) active->BringToFront();
  } else if (FMainForm->Visible()) {
    FMainForm->BringToFront();
  } else {
    BeforeShowMainForm();
    FMainForm->Show();
  }
  if (FMainForm->Minimized()) FMainForm->Restore();
  ChainModalForms();
}

void TQorvelFormTrayApplication::ChainModalForms() {
  if (!FMainForm) return;
  HWND anchor = FMainForm->Handle();
  for (TForm* form : TForm::Forms()) {
    if (form == FMainForm.get() || !form->ShowingModal()) continue;
    ::SetWindowPos(form->Handle(), anchor, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    anchor = form->Handle();
  }
}

bool TQorvelFormTrayApplication::ModalFormActive() { return TGuiApplication::Instance().ModalFormActive(); }

void TQorvelFormTrayApplication::ShowTrayMenu() {
  HWND owner = FMainForm ? FMainForm->Handle() : WindowHandle();
  ::SetForegroundWindow(owner);
  ChainModalForms();
  PopupTrayMenu(owner);
  ::PostMessageW(owner, WM_NULL, 0, 0);
}

void RunTrayApplication(TTrayApplicationFactory create, const std::wstring& title, const std::wstring& instanceName,
                        bool closeOther) {
  if (TheApplication) return;
  std::unique_ptr<TQorvelTrayApplication> application = create(title);
  TheApplication = application.get();
  try {
    application->Run(instanceName, closeOther);
  } catch (const EQorvelError& error) {
    TheApplication = nullptr;
    application.reset();
    ::MessageBoxW(nullptr, Widen(error.what()).c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    return;
  } catch (...) {
    TheApplication = nullptr;
    throw;
  }
  TheApplication = nullptr;
}
