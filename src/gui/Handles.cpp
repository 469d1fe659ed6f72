#include "gui/Handles.h"

const char* HandleKindName(THandleKind kind) {
  switch (kind) {
    case THandleKind::Bitmap: return "bitmaps";
    case THandleKind::Font: return "fonts";
    case THandleKind::Brush: return "brushes";
    case THandleKind::Pen: return "pens";
    case THandleKind::MemoryDC: return "memory DCs";
    case THandleKind::WindowDC: return "window DCs";
    case THandleKind::Window: return "windows";
    case THandleKind::Menu: return "menus";
    case THandleKind::Icon: return "icons";
    case THandleKind::ImageList: return "image lists";
    case THandleKind::Kernel: return "kernel objects";
    case THandleKind::File: return "files";
    case THandleKind::FileSearch: return "file searches";
    case THandleKind::RegistryKey: return "registry keys";
    case THandleKind::MappedView: return "mapped views";
    case THandleKind::Module: return "modules";
    case THandleKind::Count: break;
  }
  return "?";
}
