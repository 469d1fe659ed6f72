#pragma once
// What the user does to the ruler by mouse and menu, decided without a window: the mini
// buttons' press-and-release state machine, the command a double click or a button runs,
// and what the ruler menu shows each time it opens.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ruler/MiniButtons.h"
#include "base/PixelBuffers.h"
#include "ruler/RulerGeometry.h"
#include "ruler/RulerScale.h"
#include "settings/ApplicationSettings.h"

// The commands the ruler's buttons, double click and menu share.
enum class TRulerCommand { None, Rotate, Flip, Turn, Hide, Exit, StayOnTop, Transparent, Magnifier };

// The command of the double-click setting (0 rotate, 1 flip, 2 turn, 3 hide, 4 exit);
// anything else does nothing.
TRulerCommand DoubleClickCommand(int doubleClickAction);
TRulerCommand MiniButtonCommand(TMiniButton button);

// The squares of the enabled buttons that fit on the ruler, in scale-area coordinates.
std::vector<TRect> ShownMiniButtonRects(const TRulerScaleInput& input);
// The shown button under a point in scale-area coordinates, if any.
std::optional<TMiniButton> MiniButtonAt(const TRulerScaleInput& input, TPoint point);

struct TMiniButtonStatus {
  TMiniButton Hot = TMiniButton::mbClose;
  TMiniButtonState State = TMiniButtonState::mbsNone;
  friend bool operator==(const TMiniButtonStatus&, const TMiniButtonStatus&) = default;
};

// The outcome of one mouse event for the buttons.
struct TMiniButtonResponse {
  TMiniButtonStatus Status;
  bool Repaint = false;
  bool TrackLeave = false;            // ask the system to report the mouse leaving
  std::optional<TMiniButton> Action;  // a completed click: run this button's command
};

// A press of another mouse button (or a release off the pressed button) ends a press
// without a click and leaves the hover as it is.
TMiniButtonState OtherButtonState(TMiniButtonState state);

// The mouse at `point` (scale-area coordinates; (-1, -1) when it is not over a shown button).
TMiniButtonResponse MiniButtonMouseMove(const TRulerScaleInput& input, TMiniButtonStatus status, TPoint point);
TMiniButtonResponse MiniButtonMouseDown(TMiniButtonStatus status, bool leftButton);
TMiniButtonResponse MiniButtonMouseUp(TMiniButtonStatus status, bool leftButton);

// Menu image indexes of the menu image list.
inline constexpr int kImageMirrorLeftRight = 2;
inline constexpr int kImageMirrorTopBottom = 3;
inline constexpr int kImageRotate = 4;
inline constexpr int kImageHide = 5;
inline constexpr int kImageMeasure = 8;

// Everything the ruler menu shows that depends on the settings.
struct TRulerMenuState {
  bool StayOnTopChecked = false;
  bool TransparentEnabled = false;
  bool TransparentChecked = false;
  bool MagnifierChecked = false;
  int FlipImage = kImageMirrorLeftRight;
  int TurnImage = kImageMirrorTopBottom;
  bool SettingsEnabled = false;
  std::array<std::string, TApplicationSettings::ConfigurationCount> ConfigurationCaptions;
  int CheckedConfiguration = 0;
  TRulerCommand DefaultCommand = TRulerCommand::Rotate;  // the item shown bold; Exit and None: no item
  int CheckedUnit = 1;                                   // -1: no unit item matches
  std::array<std::string, kRulerPresetCount> PresetCaptions;
};

TRulerMenuState RulerMenuState(const TApplicationSettings& settings, bool layeredWindowsAvailable,
                               bool settingsDialogAvailable);

// The unit item with tag `tag` (reduced modulo five) becomes the active configuration's unit.
void SelectScaleUnit(TApplicationSettings& settings, int tag);
