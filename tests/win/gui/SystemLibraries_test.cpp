// The DLLs the program binds on first use instead of importing: the functions it binds must
// be the real ones (a wrong name or signature would crash the first dialog, not the build),
// and the dialogs' controls must still be the visual-style ones the manifest asks for.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "gui/ComLibrary.h"
#include "gui/CommonControls.h"
#include "gui/Handles.h"
#include "gui/SystemLibraries.h"

namespace {

TBitmapHandle SolidImage(int width, int height) {
  const TWindowDC screen(nullptr);
  return TBitmapHandle(::CreateCompatibleBitmap(screen.Get(), width, height));
}

}  // namespace

TEST(SystemLibraries, LoadsFromTheSystemFolderAndBindsByName) {
  const HMODULE module = LoadSystemLibrary(L"shlwapi.dll");
  ASSERT_NE(module, nullptr);
  wchar_t loaded[MAX_PATH] = {}, folder[MAX_PATH] = {};
  ::GetModuleFileNameW(module, loaded, MAX_PATH);
  ::GetSystemDirectoryW(folder, MAX_PATH);
  EXPECT_EQ(_wcsnicmp(loaded, folder, wcslen(folder)), 0) << "loaded from " << loaded;
  EXPECT_NE((BoundFunction<BOOL(WINAPI*)(LPCWSTR)>(module, "PathIsRelativeW")), nullptr);
  EXPECT_EQ((BoundFunction<BOOL(WINAPI*)(LPCWSTR)>(module, "NoSuchExport")), nullptr);
  EXPECT_EQ((BoundFunction<BOOL(WINAPI*)(LPCWSTR)>(nullptr, "PathIsRelativeW")), nullptr);
  EXPECT_EQ(LoadSystemLibrary(L"no-such-library-here.dll"), nullptr);
}

TEST(SystemLibraries, BindsSetsAllOrNoneAndOptionalImportsOfLoadedDlls) {
  struct {
    decltype(&::PathIsRelativeW) IsRelative = nullptr;
    decltype(&::PathFileExistsW) FileExists = nullptr;
  } functions;
  TFunctionBinder bind(LoadSystemLibrary(L"shlwapi.dll"));
  bind(functions.IsRelative, "PathIsRelativeW");
  bind(functions.FileExists, "PathFileExistsW");
  EXPECT_TRUE(bind.AllBound());
  ASSERT_NE(functions.IsRelative, nullptr);
  EXPECT_TRUE(functions.IsRelative(L"a\\b"));
  decltype(&::PathIsRelativeW) missing = nullptr;
  bind(missing, "NoSuchExport");
  EXPECT_FALSE(bind.AllBound());

  TFunctionBinder unloaded(nullptr);
  EXPECT_FALSE(unloaded.AllBound());

  // user32 is imported, so loaded already; newer versions of it have functions older ones lack.
  EXPECT_NE((OptionalImport<decltype(&::GetDpiForWindow)>(L"user32.dll", "GetDpiForWindow")), nullptr);
  EXPECT_EQ((OptionalImport<BOOL(WINAPI*)()>(L"user32.dll", "NoSuchExport")), nullptr);
  // A DLL the process has not loaded is never loaded for it.
  ASSERT_EQ(::GetModuleHandleW(L"mscms.dll"), nullptr);
  EXPECT_EQ((OptionalImport<BOOL(WINAPI*)()>(L"mscms.dll", "OpenColorProfileW")), nullptr);
  EXPECT_EQ(::GetModuleHandleW(L"mscms.dll"), nullptr);
}

TEST(CommonControls, LoadAndMakeImageListsThatHoldTheirImages) {
  ASSERT_TRUE(CommonControls::Load(ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS));
  EXPECT_NE(::GetModuleHandleW(L"comctl32.dll"), nullptr);

  const HIMAGELIST list = CommonControls::CreateImageList(16, 16, ILC_COLOR32, 2, 0);
  ASSERT_NE(list, nullptr);
  const TBitmapHandle first = SolidImage(16, 16), second = SolidImage(16, 16);
  EXPECT_EQ(CommonControls::AddToImageList(list, first.Get(), nullptr), 0);
  EXPECT_EQ(CommonControls::AddToImageList(list, second.Get(), nullptr), 1);
  const auto count =
      BoundFunction<int(WINAPI*)(HIMAGELIST)>(::GetModuleHandleW(L"comctl32.dll"), "ImageList_GetImageCount");
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(count(list), 2);
  CommonControls::DestroyImageList(list);
  CommonControls::DestroyImageList(nullptr);  // nothing to do, and no crash
}

TEST(CommonControls, StandardControlsOfTheDialogsAreTheVisualStyleOnes) {
  // A push button answers its ideal size only in version 6, which draws visual styles.
  CommonControls::Load();
  TWindowHandle button(::CreateWindowExW(0, L"BUTTON", L"Apply", WS_POPUP | BS_PUSHBUTTON, 0, 0, 75, 23, nullptr,
                                         nullptr, ::GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(button);
  SIZE ideal{};
  EXPECT_TRUE(::SendMessageW(button.Get(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
  EXPECT_GT(ideal.cx, 0);
}

TEST(ComLibrary, CreatesShellObjectsAndStringsThroughTheBoundFunctions) {
  const HRESULT entered = ComLibrary::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ASSERT_TRUE(SUCCEEDED(entered)) << std::hex << entered;
  IShellLinkW* link = nullptr;
  ASSERT_TRUE(SUCCEEDED(ComLibrary::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                                     reinterpret_cast<void**>(&link))));
  ASSERT_NE(link, nullptr);
  EXPECT_TRUE(SUCCEEDED(link->SetDescription(L"Vindle")));
  wchar_t description[32] = {};
  EXPECT_TRUE(SUCCEEDED(link->GetDescription(description, 32)));
  EXPECT_STREQ(description, L"Vindle");
  // Not handed to any other process: cutting off its remote clients is a plain success.
  EXPECT_EQ(ComLibrary::CoDisconnectObject(link, 0), S_OK);
  link->Release();

  BSTR text = ComLibrary::SysAllocStringLen(L"ruler-length", 5);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, L"ruler");
  EXPECT_EQ(::SysStringLen(text), 5u);
  ::SysFreeString(text);

  ComLibrary::CoTaskMemFree(nullptr);  // allowed, as for the real one
  ComLibrary::CoUninitialize();
}
