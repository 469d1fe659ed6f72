#pragma once
// The common controls (comctl32), loaded on first use: the dialogs and image lists need
// them, the ruler and the tray do not. Loaded by name, not from the system folder, so that
// the program's manifest picks version 6 (visual styles) through the activation context,
// exactly as an import would. The standard controls the dialogs create (buttons, edits,
// lists) are redirected to version 6 by the same manifest and load it themselves.

#include <windows.h>
#include <commctrl.h>

namespace CommonControls {

// Loads the DLL and registers the given control classes (ICC_* flags); false when the DLL
// or the registration is missing.
bool Load(DWORD classes = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES);

// The image-list functions of the loaded DLL; each loads it first. Create answers null and
// Add -1 when it cannot be loaded.
HIMAGELIST CreateImageList(int width, int height, UINT flags, int initial, int grow);
int AddToImageList(HIMAGELIST list, HBITMAP image, HBITMAP mask);
void DestroyImageList(HIMAGELIST list);

}  // namespace CommonControls
