#pragma once
// One base for every window of the program: the window procedure is a static thunk that
// finds the object through the pointer stored at WM_NCCREATE and calls its virtual
// handler. Exceptions never cross into the system: the thunk reports them through the
// toolkit's error report and answers as the default procedure would.

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "gui/Accessibility.h"

class TWindow {
 public:
  TWindow() = default;
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  // The object of a window created by this toolkit, or null for any other window.
  static TWindow* FromHandle(HWND window);

  HWND Handle() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  bool Visible() const { return FHandle && ::IsWindowVisible(FHandle); }
  RECT BoundsRect() const;  // window rectangle in screen (or parent client) coordinates
  RECT ClientRect() const;
  void SetBounds(int left, int top, int width, int height, UINT extraFlags = 0);
  void Invalidate(const RECT* part = nullptr) const;

  // Timers belong to their window and end with it.
  void StartTimer(UINT_PTR id, UINT milliseconds, std::function<void()> onTimer);
  void StopTimer(UINT_PTR id);

  // What AccessibleTexts answers may have changed: screen readers listening hear of it.
  void AccessibleTextsChanged();

 protected:
  struct TCreateParams {
    const wchar_t* ClassName = L"";
    UINT ClassStyle = 0;
    HICON Icon = nullptr;
    HCURSOR Cursor = nullptr;  // null: the arrow
    DWORD Style = WS_OVERLAPPEDWINDOW;
    DWORD ExStyle = 0;
    std::wstring Caption;
    // Null: the window erases its background itself.
    HBRUSH Background = nullptr;
    int Left = CW_USEDEFAULT, Top = CW_USEDEFAULT, Width = CW_USEDEFAULT, Height = CW_USEDEFAULT;
    HWND Parent = nullptr;

    void Place(int left, int top, int width, int height) {
      Left = left;
      Top = top;
      Width = width;
      Height = height;
    }
    void Place(const RECT& bounds) {
      Place(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    }
    // A child window of `parent` at `bounds` (its client coordinates); `style` is the whole
    // style, WS_CHILD included.
    static TCreateParams Child(HWND parent, const wchar_t* className, DWORD style, const RECT& bounds) {
      TCreateParams params;
      params.ClassName = className;
      params.Style = style;
      params.Place(bounds);
      params.Parent = parent;
      return params;
    }
  };
  // Registers the class on first use and creates the window for this object.
  void CreateHandle(const TCreateParams& params);
  void DestroyHandle();

  // Handle a message; call DefaultHandler for what is not handled.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) const;

  // The name, role and value a screen reader reads for the client area. Nothing (the
  // default) leaves the window to the system's standard accessible object.
  virtual std::optional<TAccessibleTexts> AccessibleTexts() const { return std::nullopt; }
  // A screen reader asked for the default action that AccessibleTexts names.
  virtual void DoAccessibleDefaultAction() {}

 private:
  static LRESULT CALLBACK Thunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  TAccessibleClient& Accessible();

  HWND FHandle = nullptr;
  std::map<UINT_PTR, std::function<void()>> FTimers;
  std::unique_ptr<TAccessibleClient> FAccessible;  // once a screen reader may be listening
};

// A hidden top-level window that only receives messages. It is a real top-level window
// (not a message-only one) so that it hears broadcasts such as "TaskbarCreated".
class TMessageWindow : public TWindow {
 public:
  using THandler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
  TMessageWindow(const wchar_t* className, THandler handler);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  THandler FHandler;
};

HINSTANCE ModuleInstance();

// A system control ("BUTTON", "STATIC", "EDIT"...) as a visible child of `parent`, in `font`;
// `style` comes on top of WS_CHILD | WS_VISIBLE. Throws when the system cannot make it.
HWND CreateChildControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                        const RECT& bounds, HFONT font, int id = 0, DWORD exStyle = 0);
