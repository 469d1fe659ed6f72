#include "gui/CommonControls.h"

#include "gui/SystemLibraries.h"

namespace {

struct TCommonControlFunctions {
  BOOL(WINAPI* InitCommonControlsEx)(const INITCOMMONCONTROLSEX*) = nullptr;
  HIMAGELIST(WINAPI* ImageListCreate)(int, int, UINT, int, int) = nullptr;
  int(WINAPI* ImageListAdd)(HIMAGELIST, HBITMAP, HBITMAP) = nullptr;
  BOOL(WINAPI* ImageListDestroy)(HIMAGELIST) = nullptr;
};

const TCommonControlFunctions& Functions() {
  static const TCommonControlFunctions functions = [] {
    TCommonControlFunctions bound;
    // By name: the activation context of the program's manifest redirects it to version 6.
    const HMODULE module = ::LoadLibraryW(L"comctl32.dll");
    bound.InitCommonControlsEx =
        BoundFunction<decltype(bound.InitCommonControlsEx)>(module, "InitCommonControlsEx");
    bound.ImageListCreate = BoundFunction<decltype(bound.ImageListCreate)>(module, "ImageList_Create");
    bound.ImageListAdd = BoundFunction<decltype(bound.ImageListAdd)>(module, "ImageList_Add");
    bound.ImageListDestroy = BoundFunction<decltype(bound.ImageListDestroy)>(module, "ImageList_Destroy");
    return bound;
  }();
  return functions;
}

}  // namespace

namespace CommonControls {

bool Load(DWORD classes) {
  const TCommonControlFunctions& f = Functions();
  if (!f.InitCommonControlsEx) return false;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = classes;
  return f.InitCommonControlsEx(&controls) != FALSE;
}

HIMAGELIST CreateImageList(int width, int height, UINT flags, int initial, int grow) {
  const TCommonControlFunctions& f = Functions();
  return f.ImageListCreate ? f.ImageListCreate(width, height, flags, initial, grow) : nullptr;
}

int AddToImageList(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
  const TCommonControlFunctions& f = Functions();
  return f.ImageListAdd ? f.ImageListAdd(list, image, mask) : -1;
}

void DestroyImageList(HIMAGELIST list) {
  // A list exists only if the DLL was loaded to create it.
  if (const TCommonControlFunctions& f = Functions(); f.ImageListDestroy && list) f.ImageListDestroy(list);
}

}  // namespace CommonControls
