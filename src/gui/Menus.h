#pragma once
// Popup menus described by items and turned into a system menu each time they open, so
// that captions, checks and enabling set by OnPopup always show as they are.

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "gui/Handles.h"

class TImageList;
class TPopupMenu;

struct TMenuItem {
  std::wstring Caption;  // "-" makes a separator
  int ImageIndex = -1;
  int Tag = 0;
  bool Checked = false;
  bool Enabled = true;
  bool Visible = true;
  bool Default = false;  // shown bold, the action of a double click
  bool RadioCheck = false;
  // A colour square in the image column instead of an image (menus with images only).
  COLORREF Swatch = CLR_INVALID;
  std::function<void(TMenuItem&)> OnClick;
  std::unique_ptr<TPopupMenu> Submenu;
};

class TPopupMenu {
 public:
  TPopupMenu() = default;
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  TMenuItem& Add(std::wstring caption, int imageIndex = -1, std::function<void(TMenuItem&)> onClick = {});
  TMenuItem& AddSeparator();
  TPopupMenu& AddSubmenu(std::wstring caption, int imageIndex = -1);
  std::size_t Count() const { return FItems.size(); }
  TMenuItem& Item(std::size_t index) { return FItems[index]; }
  void Clear() { FItems.clear(); }

  void SetImages(TImageList* images) { FImages = images; }
  std::function<void()> OnPopup;

  // Shows the menu at a screen point for `owner` and runs the chosen item's OnClick.
  // Answers whether an item was chosen. A menu that would not fit on the screen moves;
  // with `exclude` it moves around that rectangle (TPM_VERTICAL or TPM_HORIZONTAL in
  // `alignment` says which way) rather than over it.
  bool Popup(HWND owner, POINT screenPoint, UINT alignment = TPM_LEFTALIGN | TPM_TOPALIGN,
             const RECT* exclude = nullptr);

  // The system menu for the current items; item identifiers are 1-based positions in a
  // depth-first walk. Exposed so tests can inspect what a user would see.
  TMenuHandle BuildMenu() const;

  // Item images are drawn by the menu's owner window when the system asks (so that their
  // alpha channel is honoured everywhere). Every toolkit window passes WM_MEASUREITEM and
  // WM_DRAWITEM for menus here; answers whether the message was for a tracked menu.
  static bool HandleOwnerDraw(UINT message, LPARAM lParam);

 private:
  void AppendTo(HMENU menu, UINT& nextId) const;
  std::size_t CountAll() const;  // items of this menu and all submenus
  TMenuItem* FindById(UINT id, UINT& nextId);

  std::deque<TMenuItem> FItems;
  TImageList* FImages = nullptr;
};
