#include "controls/win32/QorvelDriveLists.h"

#include <shellapi.h>

#include "controls/win32/QorvelOwnerDraw.h"

namespace {

constexpr LONG_PTR DriveListId = 0x5D01;

// Critical-error boxes off for one scope (a drive without its medium would ask).
class TNoCriticalErrorBoxes {
 public:
  TNoCriticalErrorBoxes() : FPrevious(::SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~TNoCriticalErrorBoxes() { ::SetErrorMode(FPrevious); }
  TNoCriticalErrorBoxes(const TNoCriticalErrorBoxes&) = delete;
  TNoCriticalErrorBoxes& operator=(const TNoCriticalErrorBoxes&) = delete;

 private:
  UINT FPrevious;
};

HICON SmallIcon(const std::wstring& path, DWORD attributes, UINT extraFlags) {
  SHFILEINFOW info{};
  if (!::SHGetFileInfoW(path.c_str(), attributes, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | extraFlags))
    return nullptr;
  return info.hIcon;
}

}  // namespace

std::optional<ULONGLONG> AvailableDiskSpace(const std::wstring& root) {
  TNoCriticalErrorBoxes quiet;
  ULARGE_INTEGER available{}, total{}, free{};
  if (!::GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free)) return std::nullopt;
  return available.QuadPart;
}

std::vector<TQorvelDrive> RemovableDrives() {
  std::vector<TQorvelDrive> drives;
  wchar_t buffer[129] = {};
  const DWORD length = ::GetLogicalDriveStringsW(128, buffer);
  if (length == 0 || length > 128) return drives;
  TNoCriticalErrorBoxes quiet;
  for (const wchar_t* root = buffer; *root; root += lstrlenW(root) + 1) {
    if (::GetDriveTypeW(root) != DRIVE_REMOVABLE) continue;
    if (!AvailableDiskSpace(root)) continue;
    TQorvelDrive drive;
    drive.Root = root;
    SHFILEINFOW info{};
    if (::SHGetFileInfoW(root, 0, &info, sizeof(info), SHGFI_DISPLAYNAME) && info.szDisplayName[0]) {
      drive.DisplayName = info.szDisplayName;
    } else {
      wchar_t label[MAX_PATH + 1] = {};
      ::GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
      drive.DisplayName = std::wstring(label) + (label[0] ? L" (" : L"(") + drive.Root.substr(0, 2) + L")";
    }
    drives.push_back(std::move(drive));
  }
  return drives;
}

TQorvelDriveList::TQorvelDriveList(HWND parent, const RECT& bounds, HFONT font) : FFont(font) {
  CreateControl(
      L"COMBOBOX",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0,
      parent, bounds.left, bounds.top, bounds.right - bounds.left, 200);
  // Owner-drawn items come with the control's id: it must not be 0, the id of menus.
  ::SetWindowLongPtrW(Handle(), GWLP_ID, DriveListId);
  ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // Room for a 16-pixel icon in the field and in the list.
  ::SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 18);
  ::SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, 18);
}

void TQorvelDriveList::Fill(const std::vector<TQorvelDrive>& drives) {
  ::SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
  FDrives = drives;
  FIcons.clear();
  for (const TQorvelDrive& drive : FDrives) {
    FIcons.emplace_back(SmallIcon(drive.Root, 0, 0));
    ::SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive.DisplayName.c_str()));
  }
  FIcons.emplace_back(SmallIcon(L"C:\\", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES));
  ::SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(OtherDrive));
  Select(FDrives.empty() ? 0 : static_cast<int>(FDrives.size()) - 1);
}

int TQorvelDriveList::Count() const { return static_cast<int>(::SendMessageW(Handle(), CB_GETCOUNT, 0, 0)); }

std::wstring TQorvelDriveList::ItemText(int index) const {
  if (index < 0 || index >= Count()) return {};
  if (index == static_cast<int>(FDrives.size())) return OtherDrive;
  return FDrives[static_cast<std::size_t>(index)].DisplayName;
}

std::optional<std::wstring> TQorvelDriveList::SelectedRoot() const {
  const auto index = static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
  if (index < 0 || index >= static_cast<int>(FDrives.size())) return std::nullopt;
  return FDrives[static_cast<std::size_t>(index)].Root;
}

void TQorvelDriveList::Select(int index) { ::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void TQorvelDriveList::DrawItem(const DRAWITEMSTRUCT& item) const {
  const HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool enabled = ::IsWindowEnabled(Handle()) != FALSE;
  ::FillRect(dc, &r, ::GetSysColorBrush(selected && enabled ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID == static_cast<UINT>(-1)) return;
  const auto index = static_cast<std::size_t>(item.itemID);
  const bool other = index == FDrives.size();
  if (index < FIcons.size() && FIcons[index])
    ::DrawIconEx(dc, r.left + 2, r.top + (r.bottom - r.top - 16) / 2, FIcons[index].Get(), 16, 16, 0, nullptr,
                 DI_NORMAL);
  COLORREF color = ::GetSysColor(selected && enabled ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  if (other || !enabled) color = ::GetSysColor(selected && enabled ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT);
  DrawItemCaption(item, {r.left + 22, r.top, r.right - 2, r.bottom}, ItemText(static_cast<int>(index)), color, FFont,
                  r);
}

LRESULT TQorvelDriveList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CN_BASE + WM_DRAWITEM) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
  }
  return TSubclassedControl::HandleMessage(message, wParam, lParam);
}
