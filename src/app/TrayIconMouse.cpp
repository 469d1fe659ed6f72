#include "app/TrayIconMouse.h"

TTrayIconResponse TTrayIconMouse::Feed(std::uint32_t mouseMessage) {
  using A = TTrayIconAction;
  TTrayIconResponse response;  // presses pass on to the default procedure
  switch (mouseMessage) {
    case LButtonDown:
    case RButtonDown: break;
    case LButtonUp: response = {FLastMouseMessage == LButtonDown ? A::Click : A::None, true}; break;
    case LButtonDblClk: response = {A::DoubleClick, true}; break;
    case RButtonUp: response = {FLastMouseMessage == RButtonDown ? A::RightClick : A::None, true}; break;
    default: return response;  // moves and anything else pass on, and are not remembered
  }
  FLastMouseMessage = mouseMessage;
  return response;
}

std::string TrayIconTip(const std::string& title) { return title.substr(0, 63); }
