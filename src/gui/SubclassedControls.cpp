#include "gui/SubclassedControls.h"

#include <stdexcept>

#include "gui/Application.h"
#include "gui/Window.h"

namespace {
constexpr wchar_t kObjectProperty[] = L"VindleSubclassedControl";
}

TSubclassedControl::~TSubclassedControl() {
  if (FHandle) {
    ::SetWindowLongPtrW(FHandle.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOriginalProc));
    ::RemovePropW(FHandle.Get(), kObjectProperty);
  }
}

TSubclassedControl* TSubclassedControl::FromHandle(HWND control) {
  if (!control || reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(control, GWLP_WNDPROC)) != &Thunk) return nullptr;
  return static_cast<TSubclassedControl*>(::GetPropW(control, kObjectProperty));
}

void TSubclassedControl::CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int left,
                                       int top, int width, int height) {
  HWND control = ::CreateWindowExW(exStyle, className, L"", style, left, top, width, height, parent, nullptr,
                                   ModuleInstance(), nullptr);
  if (!control) throw std::runtime_error("Cannot create a control.");
  FHandle.Reset(control);
  ::SetPropW(control, kObjectProperty, this);
  FOriginalProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSubclassedControl::Thunk)));
}

std::wstring TSubclassedControl::Text() const {
  const int length = ::GetWindowTextLengthW(Handle());
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(Handle(), text.data(), length + 1)));
  return text;
}

void TSubclassedControl::SetBounds(int left, int top, int width, int height) {
  ::SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TSubclassedControl::ReflectCommand(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  TSubclassedControl* control = FromHandle(reinterpret_cast<HWND>(lParam));
  if (!control) return false;
  result = ::SendMessageW(control->Handle(), CN_COMMAND, wParam, lParam);
  return true;
}

LRESULT TSubclassedControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefaultHandler(message, wParam, lParam);
}

LRESULT TSubclassedControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::CallWindowProcW(FOriginalProc, Handle(), message, wParam, lParam);
}

LRESULT CALLBACK TSubclassedControl::Thunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<TSubclassedControl*>(::GetPropW(window, kObjectProperty));
  if (!self || !self->FOriginalProc) return ::DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window goes before its object (a parent destroyed first): let go of it.
    const WNDPROC original = self->FOriginalProc;
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ::RemovePropW(window, kObjectProperty);
    self->FHandle.Release();
    return ::CallWindowProcW(original, window, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (CallReportingErrors([&] { result = self->HandleMessage(message, wParam, lParam); })) return result;
  return ::CallWindowProcW(self->FOriginalProc, window, message, wParam, lParam);
}

TCommandControl::TCommandControl(const wchar_t* className, const wchar_t* text, DWORD style, HWND parent,
                                 const RECT& bounds, HFONT font) {
  CreateControl(className, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, parent, bounds.left, bounds.top,
                bounds.right - bounds.left, bounds.bottom - bounds.top);
  ::SetWindowTextW(Handle(), text);
  ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

LRESULT TCommandControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CN_COMMAND) {
    if (OnCommand) OnCommand(HIWORD(wParam));
    return 0;
  }
  return DefaultHandler(message, wParam, lParam);
}
