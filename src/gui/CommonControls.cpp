#include "gui/CommonControls.h"

#include "gui/SystemLibraries.h"

namespace {

// By name, not from the system folder: the activation context of the program's manifest
// redirects it to version 6. Each function is bound on its first call.
HMODULE Comctl32() {
  static const HMODULE module = ::LoadLibraryW(L"comctl32.dll");
  return module;
}

}  // namespace

namespace CommonControls {

bool Load(DWORD classes) {
  static const auto initialize = BoundFunction<decltype(&::InitCommonControlsEx)>(Comctl32(), "InitCommonControlsEx");
  if (!initialize) return false;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = classes;
  return initialize(&controls) != FALSE;
}

HIMAGELIST CreateImageList(int width, int height, UINT flags, int initial, int grow) {
  static const auto create = BoundFunction<decltype(&::ImageList_Create)>(Comctl32(), "ImageList_Create");
  return create ? create(width, height, flags, initial, grow) : nullptr;
}

int AddToImageList(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
  static const auto add = BoundFunction<decltype(&::ImageList_Add)>(Comctl32(), "ImageList_Add");
  return add ? add(list, image, mask) : -1;
}

void DestroyImageList(HIMAGELIST list) {
  // A list exists only if the DLL was loaded to create it.
  if (!list) return;
  static const auto destroy = BoundFunction<decltype(&::ImageList_Destroy)>(Comctl32(), "ImageList_Destroy");
  if (destroy) destroy(list);
}

}  // namespace CommonControls
