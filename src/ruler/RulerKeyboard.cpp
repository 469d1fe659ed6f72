#include "ruler/RulerKeyboard.h"

#include <algorithm>

std::optional<TArrowKey> ArrowKeyFromVirtualKey(int virtualKey) {
  switch (virtualKey) {
    case 0x25: return TArrowKey::Left;
    case 0x26: return TArrowKey::Up;
    case 0x27: return TArrowKey::Right;
    case 0x28: return TArrowKey::Down;
    default: return std::nullopt;
  }
}

TRulerKeyStep ArrowKeyStep(TArrowKey key, bool shift, bool control, TRulerOrientation orientation, bool flipped) {
  const int step = shift ? kKeyShiftStep : kKeyStep;
  const bool horizontalKey = key == TArrowKey::Left || key == TArrowKey::Right;
  const int sign = key == TArrowKey::Right || key == TArrowKey::Down ? 1 : -1;
  if (!control) return horizontalKey ? TRulerKeyStep{{sign * step, 0}, 0} : TRulerKeyStep{{0, sign * step}, 0};
  if (horizontalKey != (orientation == TRulerOrientation::Horizontal)) return {};
  // The free end is the right or bottom one unless the scale counts from there.
  return {{}, (flipped ? -sign : sign) * step};
}

TKeyboardDrag ContinueKeyboardDrag(const std::optional<TKeyboardDrag>& previous, const TRect& window) {
  if (previous && previous->Window == window) return *previous;
  return {{window.Left, window.Top}, window};
}

TWindowPosProposal KeyboardMoveProposal(const TKeyboardDrag& drag, TPoint offset) {
  TWindowPosProposal proposal;
  proposal.X = drag.Position.X + offset.X;
  proposal.Y = drag.Position.Y + offset.Y;
  proposal.Width = drag.Window.Width();
  proposal.Height = drag.Window.Height();
  proposal.NoSize = true;
  return proposal;
}

TKeyboardDrag AdvanceKeyboardDrag(const TKeyboardDrag& drag, TPoint offset, const TRect& window) {
  return {{drag.Position.X + offset.X, drag.Position.Y + offset.Y}, window};
}

TRect StretchedWindowRect(const TRect& window, TRulerOrientation orientation, const TRulerPlacement& placement,
                          int lengthChange, int maxLength) {
  const int length = orientation == TRulerOrientation::Horizontal ? window.Width() : window.Height();
  int wanted = length + lengthChange;
  if (lengthChange > 0) wanted = std::min(wanted, std::max(length, maxLength));
  if (lengthChange < 0) wanted = std::max(wanted, std::min(length, kRulerMinLength));
  // The end where the scale begins stays, as for a preset length.
  return PresetWindowRect(window, orientation, placement, wanted);
}

TKeyboardMenuPlace KeyboardMenuPlace(const TRect& window, const TRect& scaleBox, TRulerOrientation orientation,
                                     bool scaleOnTopOrLeft, const TRect& workArea, TScreenSize menuSize) {
  constexpr int kFirstButtonAlong = 18;  // where the first mini button sits on the scale area
  const auto choose = [](int buttonRoom, int scaleRoom, int needed) {
    return buttonRoom >= needed || (scaleRoom < needed && buttonRoom >= scaleRoom);
  };
  if (orientation == TRulerOrientation::Horizontal) {
    const int x = window.Left + scaleBox.Left + kFirstButtonAlong;
    const int roomAbove = window.Top - workArea.Top;
    const int roomBelow = workArea.Bottom - window.Bottom;
    const bool above = scaleOnTopOrLeft ? !choose(roomBelow, roomAbove, menuSize.Height)
                                        : choose(roomAbove, roomBelow, menuSize.Height);
    return above ? TKeyboardMenuPlace{{x, window.Top}, TMenuSide::Above}
                 : TKeyboardMenuPlace{{x, window.Bottom}, TMenuSide::Below};
  }
  const int y = window.Top + scaleBox.Top + kFirstButtonAlong;
  const int roomLeft = window.Left - workArea.Left;
  const int roomRight = workArea.Right - window.Right;
  const bool left =
      scaleOnTopOrLeft ? !choose(roomRight, roomLeft, menuSize.Width) : choose(roomLeft, roomRight, menuSize.Width);
  return left ? TKeyboardMenuPlace{{window.Left, y}, TMenuSide::Left}
              : TKeyboardMenuPlace{{window.Right, y}, TMenuSide::Right};
}
