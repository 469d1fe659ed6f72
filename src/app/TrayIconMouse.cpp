#include "app/TrayIconMouse.h"

TTrayIconResponse TTrayIconMouse::Feed(std::uint32_t mouseMessage) {
  TTrayIconResponse response;
  switch (mouseMessage) {
    case LButtonDown:
    case RButtonDown:
      FLastMouseMessage = mouseMessage;
      break;
    case LButtonUp:
      if (FLastMouseMessage == LButtonDown) response.Action = TTrayIconAction::Click;
      FLastMouseMessage = mouseMessage;
      response.Handled = true;
      break;
    case LButtonDblClk:
      response.Action = TTrayIconAction::DoubleClick;
      FLastMouseMessage = mouseMessage;
      response.Handled = true;
      break;
    case RButtonUp:
      if (FLastMouseMessage == RButtonDown) response.Action = TTrayIconAction::RightClick;
      FLastMouseMessage = mouseMessage;
      response.Handled = true;
      break;
    default:
      break;  // moves and anything else pass to the default procedure
  }
  return response;
}

std::string TrayIconTip(const std::string& title) { return title.substr(0, 63); }
