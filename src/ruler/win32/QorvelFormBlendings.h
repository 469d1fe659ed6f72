#pragma once
// Constant translucency of a top-level window through the system's layered windows. The
// system function is looked up at run time: where user32 lacks it, windows stay opaque and
// Available() tells the user interface to offer no transparency.

#include <windows.h>

using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND window, COLORREF colorKey, BYTE alpha, DWORD flags);

namespace QorvelFormBlendings {

// The system's SetLayeredWindowAttributes, or null when user32 has none; looked up once.
TSetLayeredWindowAttributes SystemSetLayeredWindowAttributes();

// Whether windows can be made translucent on this system.
bool Available();

}  // namespace QorvelFormBlendings

class TQorvelFormBlending {
 public:
  // Nothing is applied until the alpha changes: a new object starts at 0 (fully transparent),
  // which the window must not show before its owner has chosen a value. `setAttributes` is the
  // system function unless a caller supplies another (null: the facility is missing).
  explicit TQorvelFormBlending(
      HWND window, TSetLayeredWindowAttributes setAttributes = QorvelFormBlendings::SystemSetLayeredWindowAttributes());

  // A re-created window gets the current alpha applied.
  void SetHandle(HWND window);
  // 0..255: layered with that opacity (255 opaque); any other value (256 from the ruler
  // settings) removes the layering, so an opaque window costs nothing.
  void SetAlpha(int alpha);

  HWND Handle() const { return FHandle; }
  int Alpha() const { return FAlpha; }

 private:
  void Apply() const;

  HWND FHandle;
  int FAlpha = 0;
  TSetLayeredWindowAttributes FSetAttributes;
};
