#include "gui/Window.h"

#include <stdexcept>

#include "gui/Application.h"
#include "gui/Handles.h"
#include "gui/Menus.h"
#include "gui/SubclassedControls.h"

HINSTANCE ModuleInstance() { return ::GetModuleHandleW(nullptr); }

HWND CreateChildControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                        const RECT& bounds, HFONT font, int id, DWORD exStyle) {
  HWND control = ::CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, bounds.left,
                                   bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
  if (!control) throw std::runtime_error("Cannot create a " + Narrow(className) + " control.");
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

TWindow::~TWindow() { DestroyHandle(); }

TWindow* TWindow::FromHandle(HWND window) {
  if (!window || reinterpret_cast<WNDPROC>(::GetClassLongPtrW(window, GCLP_WNDPROC)) != &TWindow::Thunk) return nullptr;
  return reinterpret_cast<TWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

void TWindow::CreateHandle(const TCreateParams& params) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (!::GetClassInfoExW(ModuleInstance(), params.ClassName, &existing)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = params.ClassStyle;
    windowClass.lpfnWndProc = &TWindow::Thunk;
    windowClass.hInstance = ModuleInstance();
    windowClass.hIcon = params.Icon;
    // None: the system takes the small icon of the right size from the same icon resource
    // instead of shrinking the large one.
    windowClass.hIconSm = nullptr;
    windowClass.hCursor = params.Cursor ? params.Cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = params.Background;
    windowClass.lpszClassName = params.ClassName;
    if (!::RegisterClassExW(&windowClass)) throw std::runtime_error("Cannot register a window class.");
  }
  const HWND created =
      ::CreateWindowExW(params.ExStyle, params.ClassName, params.Caption.c_str(), params.Style, params.Left, params.Top,
                        params.Width, params.Height, params.Parent, nullptr, ModuleInstance(), this);
  if (!created) throw std::runtime_error("Cannot create a window.");
}

void TWindow::DestroyHandle() {
  if (!FHandle) return;
  for (const auto& timer : FTimers) ::KillTimer(FHandle, timer.first);
  FTimers.clear();
  ::DestroyWindow(FHandle);  // WM_NCDESTROY clears FHandle
  FHandle = nullptr;
}

RECT TWindow::BoundsRect() const {
  RECT r{};
  if (!FHandle) return r;
  ::GetWindowRect(FHandle, &r);
  if (HWND parent = ::GetParent(FHandle); parent && (::GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT TWindow::ClientRect() const {
  RECT r{};
  if (FHandle) ::GetClientRect(FHandle, &r);
  return r;
}

void TWindow::SetBounds(int left, int top, int width, int height, UINT extraFlags) {
  ::SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE | extraFlags);
}

void TWindow::Invalidate(const RECT* part) const {
  if (FHandle) ::InvalidateRect(FHandle, part, FALSE);
}

void TWindow::StartTimer(UINT_PTR id, UINT milliseconds, std::function<void()> onTimer) {
  FTimers[id] = std::move(onTimer);
  ::SetTimer(FHandle, id, milliseconds, nullptr);
}

void TWindow::StopTimer(UINT_PTR id) {
  if (FTimers.erase(id) && FHandle) ::KillTimer(FHandle, id);
}

TAccessibleClient& TWindow::Accessible() {
  if (!FAccessible) FAccessible = std::make_unique<TAccessibleClient>(FHandle, [this] { return AccessibleTexts(); });
  return *FAccessible;
}

void TWindow::AccessibleTextsChanged() {
  if (FHandle) Accessible().AnnounceChanges();
}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandler(message, wParam, lParam);
}

LRESULT TWindow::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::DefWindowProcW(FHandle, message, wParam, lParam);
}

LRESULT TWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == WM_MEASUREITEM || message == WM_DRAWITEM) && wParam == 0 &&
      TPopupMenu::HandleOwnerDraw(message, lParam))
    return TRUE;
  if (message == WM_COMMAND && lParam) {
    LRESULT reflected = 0;
    if (TSubclassedControl::ReflectCommand(wParam, lParam, reflected)) return reflected;
  }
  if (message == WM_TIMER) {
    auto timer = FTimers.find(wParam);
    if (timer != FTimers.end()) {
      auto onTimer = timer->second;  // the handler may stop its own timer
      onTimer();
      return 0;
    }
  }
  if (message == WM_GETOBJECT && (FAccessible || AccessibleTexts())) {
    LRESULT answer = 0;
    if (Accessible().AnswerGetObject(wParam, lParam, answer)) return answer;
  }
  if (message == TAccessibleClient::DefaultActionMessage() && FAccessible) {
    DoAccessibleDefaultAction();
    return 0;
  }
  return HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK TWindow::Thunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<TWindow*>(create->lpCreateParams);
    if (self) {
      self->FHandle = window;
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      TLiveHandles::Opened(THandleKind::Window);
    }
  }
  auto* self = reinterpret_cast<TWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);

  LRESULT result = 0;
  if (!CallReportingErrors([&] { result = self->Dispatch(message, wParam, lParam); }))
    result = ::DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->FHandle = nullptr;
    self->FAccessible.reset();  // clients still holding the object hear that it is gone
    TLiveHandles::Closed(THandleKind::Window);
  }
  return result;
}

TMessageWindow::TMessageWindow(const wchar_t* className, THandler handler) : FHandler(std::move(handler)) {
  TCreateParams params;
  params.ClassName = className;
  params.Style = WS_POPUP;
  params.ExStyle = WS_EX_TOOLWINDOW;
  params.Left = params.Top = 0;
  params.Width = params.Height = 0;
  CreateHandle(params);
}

LRESULT TMessageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (FHandler && FHandler(message, wParam, lParam, result)) return result;
  return DefaultHandler(message, wParam, lParam);
}
