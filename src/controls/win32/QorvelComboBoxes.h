#pragma once
// A pick-only drop-down list that can show an image in front of each item and a separator
// line above an item, with a list that may be wider than the field. Setting the item index
// from the program does not count as a change.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/DrawnTexts.h"
#include "gui/SubclassedControls.h"

class TImageList;

struct TQorvelComboItem {
  std::wstring Caption;
  int ImageIndex = -1;  // in the box's images; -1 for none
  bool SeparatorAbove = false;
};

class TQorvelComboBox : public TSubclassedControl, public TDrawsTexts {
 public:
  using TNotifyEvent = std::function<void(TQorvelComboBox& sender)>;

  // `height` is the closed field's height; the list opens below it.
  TQorvelComboBox(HWND parent, int left, int top, int width, int height);

  void AddItem(TQorvelComboItem item);
  void AddItems(std::initializer_list<const wchar_t*> captions);
  const std::vector<TQorvelComboItem>& Items() const { return FItems; }
  // Images are drawn at their own size, vertically centred; the list is not owned.
  void SetImages(const TImageList* images);
  void SetDropDownWidth(int width);
  void SetFont(HFONT font);

  // -1: nothing selected.
  int ItemIndex() const;
  // Without OnChange; an index outside the items clears the selection.
  void SetItemIndex(int index);
  bool Enabled() const { return ::IsWindowEnabled(Handle()) != FALSE; }
  void SetEnabled(bool value) { ::EnableWindow(Handle(), value); }

  // Draws an item as the list asks for it (the parent reflects WM_DRAWITEM, see
  // ReflectDrawItem).
  void DrawItem(const DRAWITEMSTRUCT& item) const;
  // Each item's caption in the room the closed field gives it, where the chosen one shows.
  std::vector<TDrawnText> DrawnTexts() const override;

  TNotifyEvent OnChange;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void UpdateItemHeight();
  // Where an item's caption starts after its image, from the left of the item's box.
  int CaptionOffset() const;

  std::vector<TQorvelComboItem> FItems;
  const TImageList* FImages = nullptr;
  HFONT FFont = nullptr;
  int FFieldHeight = 15;
};
