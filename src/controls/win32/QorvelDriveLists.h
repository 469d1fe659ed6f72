#pragma once
// A drop-down list of the removable drives, each with its system icon and name, and a last
// gray entry "other drive" for any other place.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "gui/Handles.h"
#include "gui/SubclassedControls.h"

struct TQorvelDrive {
  std::wstring Root;         // "E:\"
  std::wstring DisplayName;  // "USB STICK (E:)"
};

// The space free for this user on the drive of `root` ("E:\\"); nothing when it cannot be read
// (no medium, no such drive), without a critical-error box.
std::optional<ULONGLONG> AvailableDiskSpace(const std::wstring& root);

// The removable drives whose free space can be read (critical-error boxes are kept off
// the screen while a drive without medium is asked).
std::vector<TQorvelDrive> RemovableDrives();

class TQorvelDriveList : public TSubclassedControl {
 public:
  static constexpr wchar_t OtherDrive[] = L"other drive";

  TQorvelDriveList(HWND parent, const RECT& bounds, HFONT font);

  // Lists the drives and "other drive"; the last drive is selected, or "other drive".
  void Fill(const std::vector<TQorvelDrive>& drives);
  int Count() const;
  std::wstring ItemText(int index) const;
  // The root of the selected drive; none for "other drive" or no selection.
  std::optional<std::wstring> SelectedRoot() const;
  void Select(int index);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item) const;

  HFONT FFont;
  std::vector<TQorvelDrive> FDrives;
  std::vector<TIconHandle> FIcons;  // one per drive, then the generic drive icon
};
