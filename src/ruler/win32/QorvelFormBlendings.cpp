#include "ruler/win32/QorvelFormBlendings.h"

#include "gui/SystemLibraries.h"

namespace QorvelFormBlendings {

TSetLayeredWindowAttributes SystemSetLayeredWindowAttributes() {
  static const auto function = OptionalImport<TSetLayeredWindowAttributes>(L"user32.dll", "SetLayeredWindowAttributes");
  return function;
}

bool Available() { return SystemSetLayeredWindowAttributes() != nullptr; }

}  // namespace QorvelFormBlendings

TQorvelFormBlending::TQorvelFormBlending(HWND window, TSetLayeredWindowAttributes setAttributes)
    : FHandle(window), FSetAttributes(setAttributes) {}

void TQorvelFormBlending::SetHandle(HWND window) {
  if (window == FHandle) return;
  FHandle = window;
  Apply();
}

void TQorvelFormBlending::SetAlpha(int alpha) {
  if (alpha == FAlpha) return;
  FAlpha = alpha;
  Apply();
}

void TQorvelFormBlending::Apply() const {
  if (!FSetAttributes || !FHandle || !::IsWindow(FHandle)) return;
  const LONG style = ::GetWindowLongW(FHandle, GWL_EXSTYLE);
  const bool layered = FAlpha >= 0 && FAlpha <= 255;
  // Only a real change is written: clearing the bit on a window that never had it would still
  // make the system redraw it.
  const LONG wanted = layered ? (style | WS_EX_LAYERED) : (style & ~static_cast<LONG>(WS_EX_LAYERED));
  if (wanted != style) ::SetWindowLongW(FHandle, GWL_EXSTYLE, wanted);
  if (layered) FSetAttributes(FHandle, 0, static_cast<BYTE>(FAlpha), LWA_ALPHA);
}
