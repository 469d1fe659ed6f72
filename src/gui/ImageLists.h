#pragma once
// A strip of equally sized 32-bit images with alpha, loaded from a bitmap resource and cut
// into one premultiplied bitmap per image (what menus draw), plus a system image list of
// the same images for controls that want one.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "gui/CommonControls.h"
#include "gui/Handles.h"

struct TDestroyImageList {
  static constexpr THandleKind Kind = THandleKind::ImageList;
  void operator()(HIMAGELIST list) const { CommonControls::DestroyImageList(list); }
};
using TImageListHandle = TUniqueHandle<HIMAGELIST, TDestroyImageList>;

class TImageList {
 public:
  // The resource is a 32-bit bitmap `count` images wide; alpha is straight, not premultiplied.
  TImageList(const wchar_t* resourceName, int imageWidth, int imageHeight);
  // The strip drawn for the scaling nearest to `dpi` of 100, 150 and 200 %: `name` itself
  // holds the `size96`-pixel images, `name` followed by the pixel size the larger ones
  // ("MENUIMAGES24", "MENUIMAGES32").
  static TImageList ForDpi(const wchar_t* name, int size96, UINT dpi);
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;

  int Count() const { return static_cast<int>(FImages.size()); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  HBITMAP Image(int index) const;  // null for an index outside the list
  HIMAGELIST SystemList();         // created on first use, owned by this object

 private:
  int FWidth, FHeight;
  std::vector<TBitmapHandle> FImages;
  TImageListHandle FSystemList;
};
