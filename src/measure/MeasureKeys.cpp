#include "measure/MeasureKeys.h"

namespace {

// The virtual keys the tool answers (winuser.h's values, which this portable file cannot include).
enum : int {
  KeyBack = 0x08,
  KeyTab = 0x09,
  KeyReturn = 0x0D,
  KeyEscape = 0x1B,
  KeyLeft = 0x25,
  KeyUp = 0x26,
  KeyRight = 0x27,
  KeyDown = 0x28,
  KeyDelete = 0x2E,
  KeyF5 = 0x74,
};

TMeasureKeyAction Do(TMeasureCommand command) { return {command, {}, {}}; }
TMeasureKeyAction Move(int dx, int dy) { return {TMeasureCommand::MovePointer, {dx, dy}, {}}; }
TMeasureKeyAction ChangeTo(TMeasureMode mode) { return {TMeasureCommand::ChangeMode, {}, mode}; }

}  // namespace

TMeasureKeyAction MeasureKeyAction(int virtualKey, bool shift, bool control, TMeasureMode mode) {
  const int step = shift ? 10 : 1;
  switch (virtualKey) {
    case KeyEscape: return Do(TMeasureCommand::End);
    case KeyLeft: return Move(-step, 0);
    case KeyRight: return Move(step, 0);
    case KeyUp: return Move(0, -step);
    case KeyDown: return Move(0, step);
    case KeyReturn: return Do(TMeasureCommand::Pin);
    case KeyDelete:
    case KeyBack: return Do(TMeasureCommand::RemoveLastPin);
    case KeyF5: return Do(TMeasureCommand::Refresh);
    case KeyTab:
      return ChangeTo(
          MeasureModeFromIndex((static_cast<int>(mode) + (shift ? MeasureModeCount - 1 : 1)) % MeasureModeCount));
    case '1':
    case '2':
    case '3': return ChangeTo(MeasureModeFromIndex(virtualKey - '1'));
    case 'C':
      if (!control) return Do(TMeasureCommand::None);
      return Do(shift ? TMeasureCommand::CopyAllPinned : TMeasureCommand::Copy);
    default: return Do(TMeasureCommand::None);
  }
}
