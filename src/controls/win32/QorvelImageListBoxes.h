#pragma once
// A list of rows, each an image and a caption, all of one height: a navigation list for
// dialogs with pages. The selected row is highlighted; OnChange runs when the user picks
// another row (mouse or keyboard), not when the program selects one.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/SubclassedControls.h"

class TImageList;

class TQorvelImageListBox : public TSubclassedControl {
 public:
  using TNotifyEvent = std::function<void(TQorvelImageListBox& sender)>;

  TQorvelImageListBox(HWND parent, int left, int top, int width, int height, int rowHeight);

  // Answers the new row's index.
  int AddRow(std::wstring caption, int imageIndex);
  int RowCount() const { return static_cast<int>(FRows.size()); }
  void SetImages(const TImageList* images) { FImages = images; }
  void SetFont(HFONT font);

  int Selected() const;
  // Selects and scrolls to a row, without OnChange.
  void Select(int row);
  // The row's rectangle in client coordinates.
  RECT RowRect(int row) const;

  void DrawItem(const DRAWITEMSTRUCT& item) const;

  TNotifyEvent OnChange;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct TRow {
    std::wstring Caption;
    int ImageIndex;
  };
  std::vector<TRow> FRows;
  const TImageList* FImages = nullptr;
  HFONT FFont = nullptr;
  int FRowHeight;
};
