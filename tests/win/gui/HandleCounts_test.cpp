// The live counts the handle owners keep: what the long-run test reads where the system
// keeps no count of GDI and USER objects.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "gui/Handles.h"
#include "gui/ImageLists.h"
#include "gui/Menus.h"
#include "gui/Window.h"

namespace {

int Live(THandleKind kind) { return TLiveHandles::Count(kind); }
int At(const TLiveHandles::TCounts& counts, THandleKind kind) { return counts[static_cast<std::size_t>(kind)]; }

TBitmapHandle SmallBitmap() {
  TWindowDC screen(nullptr);
  return TBitmapHandle(::CreateCompatibleBitmap(screen.Get(), 4, 4));
}

class TCountedWindow : public TWindow {
 public:
  explicit TCountedWindow(HWND parent = nullptr) {
    TCreateParams params;
    params.ClassName = L"TCountedWindow";
    params.Style = parent ? WS_CHILD : WS_POPUP;
    params.Parent = parent;
    params.Left = params.Top = 0;
    params.Width = params.Height = 10;
    CreateHandle(params);
  }
  using TWindow::DestroyHandle;
};

}  // namespace

TEST(HandleCounts, AnOwnerCountsItsHandleUntilItClosesIt) {
  const int bitmaps = Live(THandleKind::Bitmap);
  HBITMAP made = nullptr;
  {
    TBitmapHandle bitmap = SmallBitmap();
    ASSERT_TRUE(bitmap);
    made = bitmap.Get();
    EXPECT_EQ(Live(THandleKind::Bitmap), bitmaps + 1);
  }
  EXPECT_EQ(Live(THandleKind::Bitmap), bitmaps);
  EXPECT_EQ(::GetObjectType(made), 0u) << "the owner deleted what it counted";

  // An empty owner and a failed creation count nothing.
  { TBitmapHandle none, failed(nullptr); }
  { TFileHandle none(INVALID_HANDLE_VALUE); }
  EXPECT_EQ(Live(THandleKind::Bitmap), bitmaps);

  // Kinds are apart: a font is not a bitmap.
  const int fonts = Live(THandleKind::Font);
  {
    TFontHandle font(
        ::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    EXPECT_EQ(Live(THandleKind::Font), fonts + 1);
    EXPECT_EQ(Live(THandleKind::Bitmap), bitmaps);
  }
  EXPECT_EQ(Live(THandleKind::Font), fonts);
}

TEST(HandleCounts, MovesKeepOneCountAndResetOrReleaseGiveItUp) {
  const int bitmaps = Live(THandleKind::Bitmap);
  {
    TBitmapHandle first = SmallBitmap();
    TBitmapHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(Live(THandleKind::Bitmap), bitmaps + 1) << "a moved-from owner does not count twice";

    TBitmapHandle third = SmallBitmap();
    const HBITMAP replaced = third.Get();
    third = std::move(second);
    EXPECT_EQ(Live(THandleKind::Bitmap), bitmaps + 1) << "the handle moved over is deleted and uncounted";
    EXPECT_EQ(::GetObjectType(replaced), 0u);

    std::vector<TBitmapHandle> many;
    for (int i = 0; i < 20; ++i) many.push_back(SmallBitmap());  // the vector moves them as it grows
    EXPECT_EQ(Live(THandleKind::Bitmap), bitmaps + 21);
    many.clear();

    third.Reset(SmallBitmap().Release());
    EXPECT_EQ(Live(THandleKind::Bitmap), bitmaps + 1);
    const HBITMAP released = third.Release();
    EXPECT_EQ(Live(THandleKind::Bitmap), bitmaps) << "a released handle is its taker's to count";
    EXPECT_NE(::GetObjectType(released), 0u) << "releasing does not delete";
    ::DeleteObject(released);

    TBitmapHandle& alsoThird = third;  // through a reference: compilers warn of a plain self-move
    third = std::move(alsoThird);
    EXPECT_EQ(Live(THandleKind::Bitmap), bitmaps);
  }
  EXPECT_EQ(Live(THandleKind::Bitmap), bitmaps);
}

TEST(HandleCounts, BorrowedDCsMenusImageListsAndFiles) {
  const TLiveHandles::TCounts before = TLiveHandles::Counts();
  {
    TWindowDC screen(nullptr);
    TMemoryDC memory(::CreateCompatibleDC(screen.Get()));
    EXPECT_EQ(Live(THandleKind::WindowDC), At(before, THandleKind::WindowDC) + 1);
    EXPECT_EQ(Live(THandleKind::MemoryDC), At(before, THandleKind::MemoryDC) + 1);

    TPopupMenu popup;
    popup.AddSubmenu(L"More").Add(L"Inner");
    popup.Add(L"Outer");
    TMenuHandle built = popup.BuildMenu();
    EXPECT_EQ(Live(THandleKind::Menu), At(before, THandleKind::Menu) + 1)
        << "a submenu belongs to its menu and is not counted apart";

    TImageList images(L"MENUIMAGES", 16, 16);
    const int listsBefore = Live(THandleKind::ImageList);
    ASSERT_NE(images.SystemList(), nullptr);
    images.SystemList();
    EXPECT_EQ(Live(THandleKind::ImageList), listsBefore + 1);

    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    TFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    EXPECT_EQ(Live(THandleKind::File), At(before, THandleKind::File) + 1);

    // A search fails with INVALID_HANDLE_VALUE, as files do: a failed one counts nothing.
    WIN32_FIND_DATAW data{};
    TFileSearch search(::FindFirstFileW(path, &data)), missing(::FindFirstFileW(L"Z:\\no\\such\\*", &data));
    EXPECT_TRUE(search);
    EXPECT_FALSE(missing);
    EXPECT_EQ(Live(THandleKind::FileSearch), At(before, THandleKind::FileSearch) + 1);
  }
  EXPECT_EQ(TLiveHandles::Counts(), before);
}

TEST(HandleCounts, ToolkitWindowsCountedTillTheSystemDestroysThem) {
  const int windows = Live(THandleKind::Window);
  {
    TCountedWindow parent;
    auto child = std::make_unique<TCountedWindow>(parent.Handle());
    EXPECT_EQ(Live(THandleKind::Window), windows + 2);
    parent.DestroyHandle();  // takes the child window with it, before the child's object goes
    EXPECT_EQ(Live(THandleKind::Window), windows);
    EXPECT_FALSE(child->HandleAllocated());
  }
  EXPECT_EQ(Live(THandleKind::Window), windows);
}

TEST(HandleCounts, KernelHandlesFromManyThreadsAddUp) {
  const int kernel = Live(THandleKind::Kernel);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 2000; ++i) TKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(Live(THandleKind::Kernel), kernel);
}

TEST(HandleCounts, KindsHaveNamesForReports) {
  for (std::size_t i = 0; i < TLiveHandles::KindCount; ++i)
    EXPECT_STRNE(HandleKindName(static_cast<THandleKind>(i)), "?");
  struct TFreeNothing {
    void operator()(void*) const {}
  };
  static_assert(!CountedCloser<TFreeNothing>, "a closer without a kind stays uncounted");
}
