#pragma once
// How mouse messages reported by the notification icon become clicks. A click needs its
// press on the icon too; a double click arrives as down, up (click), double click, up, and
// the second up is no click.

#include <cstdint>
#include <string>

enum class TTrayIconAction { None, Click, DoubleClick, RightClick };

struct TTrayIconResponse {
  TTrayIconAction Action = TTrayIconAction::None;
  bool Handled = false;  // the icon message is answered with 0
};

class TTrayIconMouse {
 public:
  static constexpr std::uint32_t LButtonDown = 0x201, LButtonUp = 0x202, LButtonDblClk = 0x203, RButtonDown = 0x204,
                                 RButtonUp = 0x205;

  TTrayIconResponse Feed(std::uint32_t mouseMessage);
  std::uint32_t LastMouseMessage() const { return FLastMouseMessage; }

 private:
  std::uint32_t FLastMouseMessage = 0;
};

// The tooltip as the icon record holds it: at most 63 characters, so that it always ends
// with a terminator in its 64 bytes.
std::string TrayIconTip(const std::string& title);
