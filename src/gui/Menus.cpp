#include "gui/Menus.h"

#include <utility>

#include "gui/Handles.h"
#include "gui/ImageLists.h"

namespace {
// The menu being tracked: a thread tracks one popup menu at a time, and its owner window
// draws the item images while it is open.
thread_local const TPopupMenu* TrackedMenu = nullptr;
thread_local const TImageList* TrackedImages = nullptr;
constexpr int MenuImageMargin = 2;
// Item data above the image numbers: a swatch, the colour in the low three bytes.
constexpr ULONG_PTR SwatchItemData = 0x01000000;

// What the owner-draw of an item's image column gets: its image's number plus one, a
// swatch's colour with SwatchItemData, or 0 for an empty column.
ULONG_PTR ImageItemData(const TMenuItem& item, const TImageList& images) {
  if (item.Swatch != CLR_INVALID) return SwatchItemData | (item.Swatch & 0x00FFFFFFu);
  return images.Image(item.ImageIndex) ? static_cast<ULONG_PTR>(item.ImageIndex) + 1 : 0;
}
}  // namespace

TMenuItem& TPopupMenu::Add(std::wstring caption, int imageIndex, std::function<void(TMenuItem&)> onClick) {
  TMenuItem& item = FItems.emplace_back();
  item.Caption = std::move(caption);
  item.ImageIndex = imageIndex;
  item.OnClick = std::move(onClick);
  return item;
}

TMenuItem& TPopupMenu::AddSeparator() { return Add(L"-"); }

TPopupMenu& TPopupMenu::AddSubmenu(std::wstring caption, int imageIndex) {
  TMenuItem& item = Add(std::move(caption), imageIndex);
  item.Submenu = std::make_unique<TPopupMenu>();
  item.Submenu->SetImages(FImages);
  return *item.Submenu;
}

void TPopupMenu::AppendTo(HMENU menu, UINT& nextId) const {
  for (const TMenuItem& item : FItems) {
    const UINT id = nextId++;
    if (!item.Visible) {
      if (item.Submenu) nextId += static_cast<UINT>(item.Submenu->CountAll());
      continue;
    }

    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    if (item.Caption == L"-") {
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_SEPARATOR;
      ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &info);
      continue;
    }
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    info.wID = id;
    info.fType = item.RadioCheck ? MFT_RADIOCHECK : 0;
    info.dwTypeData = const_cast<wchar_t*>(item.Caption.c_str());
    info.fState = (item.Checked ? MFS_CHECKED : 0) | (item.Enabled ? MFS_ENABLED : MFS_DISABLED) |
                  (item.Default ? MFS_DEFAULT : 0);
    if (FImages) {
      // Every item of a menu with images gets the image column, drawn or empty, so that
      // all captions line up and the menu is measured wide enough for them.
      info.fMask |= MIIM_BITMAP | MIIM_DATA;
      info.hbmpItem = HBMMENU_CALLBACK;
      info.dwItemData = ImageItemData(item, *FImages);
    }
    if (item.Submenu) {
      HMENU submenu = ::CreatePopupMenu();
      item.Submenu->AppendTo(submenu, nextId);
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = submenu;
    }
    ::InsertMenuItemW(menu, ::GetMenuItemCount(menu), TRUE, &info);
  }
}

std::size_t TPopupMenu::CountAll() const {
  std::size_t count = FItems.size();
  for (const TMenuItem& item : FItems)
    if (item.Submenu) count += item.Submenu->CountAll();
  return count;
}

TMenuHandle TPopupMenu::BuildMenu() const {
  TMenuHandle menu(::CreatePopupMenu());
  UINT nextId = 1;
  AppendTo(menu.Get(), nextId);
  return menu;
}

TMenuItem* TPopupMenu::FindById(UINT id, UINT& nextId) {
  for (TMenuItem& item : FItems) {
    if (nextId++ == id) return &item;
    if (item.Submenu) {
      if (TMenuItem* found = item.Submenu->FindById(id, nextId)) return found;
    }
  }
  return nullptr;
}

bool TPopupMenu::Popup(HWND owner, POINT screenPoint, UINT alignment, const RECT* exclude) {
  if (OnPopup) OnPopup();
  TMenuHandle menu(BuildMenu());
  // Without the foreground, a menu opened from the tray would not close when the user
  // clicks elsewhere.
  ::SetForegroundWindow(owner);
  const TPopupMenu* previousMenu = std::exchange(TrackedMenu, this);
  const TImageList* previousImages = std::exchange(TrackedImages, FImages);
  TPMPARAMS params{};
  params.cbSize = sizeof(params);
  if (exclude) params.rcExclude = *exclude;
  const UINT chosen =
      static_cast<UINT>(::TrackPopupMenuEx(menu.Get(), alignment | TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NOANIMATION,
                                           screenPoint.x, screenPoint.y, owner, exclude ? &params : nullptr));
  TrackedMenu = previousMenu;
  TrackedImages = previousImages;
  ::PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen == 0) return false;
  UINT nextId = 1;
  TMenuItem* item = FindById(chosen, nextId);
  if (!item || !item->Enabled) return false;
  if (item->OnClick) item->OnClick(*item);
  return true;
}

bool TPopupMenu::HandleOwnerDraw(UINT message, LPARAM lParam) {
  if (!TrackedMenu || !TrackedImages) return false;
  if (message == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure->CtlType != ODT_MENU) return false;
    // The column holds the image and a margin on both sides: the caption begins right of
    // it, and an image wider than its column would cover the caption's first letter.
    measure->itemWidth = static_cast<UINT>(TrackedImages->Width() + 2 * MenuImageMargin);
    measure->itemHeight = static_cast<UINT>(TrackedImages->Height());
    return true;
  }
  if (message == WM_DRAWITEM) {
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (draw->CtlType != ODT_MENU) return false;
    const int width = TrackedImages->Width(), height = TrackedImages->Height();
    const int x = draw->rcItem.left + MenuImageMargin;
    const int y = draw->rcItem.top + (draw->rcItem.bottom - draw->rcItem.top - height) / 2;
    if (draw->itemData & SwatchItemData) {
      TBrushHandle fill(::CreateSolidBrush(static_cast<COLORREF>(draw->itemData & 0x00FFFFFFu)));
      const RECT outline{x, y, x + width, y + height};
      ::FrameRect(draw->hDC, &outline, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
      const RECT inside{x + 1, y + 1, x + width - 1, y + height - 1};
      ::FillRect(draw->hDC, &inside, fill.Get());
      return true;
    }
    HBITMAP image = TrackedImages->Image(static_cast<int>(draw->itemData) - 1);
    if (!image) return true;  // an item without image keeps its column empty
    TMemoryDC source(::CreateCompatibleDC(draw->hDC));
    TSelectScope select(source.Get(), image);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(draw->hDC, x, y, width, height, source.Get(), 0, 0, width, height, blend);
    return true;
  }
  return false;
}
