#pragma once
// A wizard: numbered pages of which only the current one shows, above a panel with Back,
// Next and Cancel. The owner decides where Next and Back lead and what the buttons say
// through the events; the wizard only moves, shows and asks.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/Window.h"

// One page: a plain panel whose controls' notifications go to the page's owner.
class TQorvelWizardPage : public TWindow {
 public:
  using TMessageHandler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
  TQorvelWizardPage(HWND wizard, const RECT& bounds);

  // Sees WM_COMMAND, WM_CTLCOLOR... and WM_DRAWITEM of the page's controls first.
  TMessageHandler OnMessage;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class TQorvelWizard : public TWindow {
 public:
  enum TButton { wbBack = 0, wbNext = 1, wbCancel = 2, wbFinish = 3 };
  static constexpr int BackId = 100;

  // Fills the client area of `parent`; `buttonWidth` and `scale` are in 96-dpi units.
  TQorvelWizard(HWND parent, int pageCount, int buttonWidth, UINT dpi);

  std::wstring ButtonBack = L"Back", ButtonNext = L"Next", ButtonCancel = L"Cancel", ButtonFinish = L"Finish";

  // Called for Back, Next (or Finish on the last page) and Cancel after every page change
  // and on RefreshButtons.
  std::function<void(TButton button, bool& enabled, std::wstring& caption, int pageIndex)> OnCustomButton;
  using TNavigateEvent = std::function<void(int oldPage, bool& finish, int& newPage)>;
  TNavigateEvent OnNavigateNext;
  TNavigateEvent OnNavigateBack;
  std::function<void(int& modalResult)> OnCancel;
  std::function<void(int& modalResult)> OnFinish;
  std::function<void()> OnChangePage;
  // Where the wizard's end goes: the owning form closes with this result.
  std::function<void(int modalResult)> OnClose;

  int PageCount() const { return static_cast<int>(FPages.size()); }
  int PageIndex() const { return FPageIndex; }
  TQorvelWizardPage& Page(int index) { return *FPages.at(static_cast<std::size_t>(index)); }
  HWND Button(TButton button) const;

  void SetPageIndex(int index);
  // The moves the buttons make, also for the owner to move on by itself.
  void Next();
  void Back();
  void Cancel();
  void RefreshButtons();

  int Scaled(int value96) const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND CreateButton(int id, const RECT& bounds, DWORD style);
  // Moves to `target` or finishes, as `handler` may decide otherwise.
  void Navigate(const TNavigateEvent& handler, int target, bool finish);
  void Finish();
  bool Clickable(TButton button) const;

  UINT FDpi;
  std::vector<std::unique_ptr<TQorvelWizardPage>> FPages;
  HWND FButtons[3] = {};
  int FPageIndex = -1;
  HFONT FFont;
};
