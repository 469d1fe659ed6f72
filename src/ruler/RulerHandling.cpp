#include "ruler/RulerHandling.h"

#include "ruler/RulerSettings.h"

namespace {

constexpr int kUnitCount = 5;

bool Inside(TPoint origin, TPoint point) {
  return origin.X <= point.X && point.X < origin.X + MiniButtonSize && origin.Y <= point.Y &&
         point.Y < origin.Y + MiniButtonSize;
}

int Modulo(int value, int divisor) { return ((value % divisor) + divisor) % divisor; }

}  // namespace

TRulerCommand DoubleClickCommand(int doubleClickAction) {
  switch (doubleClickAction) {
    case 0: return TRulerCommand::Rotate;
    case 1: return TRulerCommand::Flip;
    case 2: return TRulerCommand::Turn;
    case 3: return TRulerCommand::Hide;
    case 4: return TRulerCommand::Exit;
    default: return TRulerCommand::None;
  }
}

TRulerCommand MiniButtonCommand(TMiniButton button) {
  switch (button) {
    case TMiniButton::mbClose: return TRulerCommand::Hide;
    case TMiniButton::mbRotate: return TRulerCommand::Rotate;
    case TMiniButton::mbFlip: return TRulerCommand::Flip;
    case TMiniButton::mbTurn: return TRulerCommand::Turn;
    case TMiniButton::mbStayOnTop: return TRulerCommand::StayOnTop;
    case TMiniButton::mbTransparent: return TRulerCommand::Transparent;
    case TMiniButton::mbMagnifier: return TRulerCommand::Magnifier;
  }
  return TRulerCommand::None;
}

std::vector<TRect> ShownMiniButtonRects(const TRulerScaleInput& input) {
  std::vector<TRect> rects;
  for (int i = 0; i < MiniButtonCount; ++i) {
    const auto button = static_cast<TMiniButton>(i);
    if (!input.Buttons.Contains(button)) continue;
    const TPoint origin = ButtonOrigin(input, button);
    if (ButtonShown(input, origin))
      rects.push_back({origin.X, origin.Y, origin.X + MiniButtonSize, origin.Y + MiniButtonSize});
  }
  return rects;
}

std::optional<TMiniButton> MiniButtonAt(const TRulerScaleInput& input, TPoint point) {
  for (int i = 0; i < MiniButtonCount; ++i) {
    const auto button = static_cast<TMiniButton>(i);
    if (!input.Buttons.Contains(button)) continue;
    const TPoint origin = ButtonOrigin(input, button);
    if (ButtonShown(input, origin) && Inside(origin, point)) return button;
  }
  return std::nullopt;
}

TMiniButtonState OtherButtonState(TMiniButtonState state) {
  switch (state) {
    case TMiniButtonState::mbsDownOutside: return TMiniButtonState::mbsNone;
    case TMiniButtonState::mbsDownInside: return TMiniButtonState::mbsHot;
    default: return state;
  }
}

TMiniButtonResponse MiniButtonMouseMove(const TRulerScaleInput& input, TMiniButtonStatus status, TPoint point) {
  TMiniButtonResponse response;
  response.Status = status;
  if (status.State == TMiniButtonState::mbsDownOutside || status.State == TMiniButtonState::mbsDownInside) {
    // While pressed only the pressed button counts, shown or not.
    response.Status.State = Inside(ButtonOrigin(input, status.Hot), point) ? TMiniButtonState::mbsDownInside
                                                                           : TMiniButtonState::mbsDownOutside;
    response.Repaint = response.Status != status;
    return response;
  }
  const std::optional<TMiniButton> hit = MiniButtonAt(input, point);
  response.Status = hit ? TMiniButtonStatus{*hit, TMiniButtonState::mbsHot}
                        : TMiniButtonStatus{TMiniButton::mbClose, TMiniButtonState::mbsNone};
  if (response.Status != status) {
    response.Repaint = true;
    response.TrackLeave = response.Status.State == TMiniButtonState::mbsHot;
  }
  return response;
}

TMiniButtonResponse MiniButtonMouseDown(TMiniButtonStatus status, bool leftButton) {
  TMiniButtonResponse response;
  response.Status = status;
  if (leftButton) {
    // Pressed looks like hot: nothing to repaint.
    if (status.State == TMiniButtonState::mbsHot) response.Status.State = TMiniButtonState::mbsDownInside;
    return response;
  }
  response.Status.State = OtherButtonState(status.State);
  response.Repaint = true;
  return response;
}

TMiniButtonResponse MiniButtonMouseUp(TMiniButtonStatus status, bool leftButton) {
  TMiniButtonResponse response;
  response.Status = status;
  if (leftButton && status.State == TMiniButtonState::mbsDownInside) {
    // The command repaints whatever it changes.
    response.Status.State = TMiniButtonState::mbsNone;
    response.Action = status.Hot;
    return response;
  }
  response.Status.State = OtherButtonState(status.State);
  response.Repaint = true;
  return response;
}

TRulerMenuState RulerMenuState(const TApplicationSettings& settings, bool layeredWindowsAvailable,
                               bool settingsDialogAvailable) {
  const TConfigurationSettings& configuration = CurrentConfiguration(settings);
  const TRulerPlacements placements = ReadPlacements(settings);
  TRulerMenuState state;
  state.StayOnTopChecked = settings.General->StayOnTop;
  state.TransparentEnabled = layeredWindowsAvailable;
  state.TransparentChecked = configuration.Ruler->Transparent;
  state.MagnifierChecked = configuration.Magnifier->Visible;
  // Flip mirrors along the ruler, Turn across it.
  const bool vertical = placements.CurrentOrientation() == TRulerOrientation::Vertical;
  state.FlipImage = vertical ? kImageMirrorTopBottom : kImageMirrorLeftRight;
  state.TurnImage = vertical ? kImageMirrorLeftRight : kImageMirrorTopBottom;
  state.SettingsEnabled = settingsDialogAvailable;
  for (int i = 0; i < TApplicationSettings::ConfigurationCount; ++i) {
    const std::string& name = settings.Configurations(i)->Name;
    state.ConfigurationCaptions[static_cast<std::size_t>(i)] =
        name.empty() ? "Configuration &" + std::to_string(i + 1) : name;
  }
  state.CheckedConfiguration = settings.General->Configuration;
  state.DefaultCommand = DoubleClickCommand(settings.Handling->DoubleClickAction);
  const int unit = configuration.Ruler->Scales->ScaleUnit;
  state.CheckedUnit = unit >= 0 && unit < kUnitCount ? unit : -1;
  for (int i = 0; i < kRulerPresetCount; ++i)
    state.PresetCaptions[static_cast<std::size_t>(i)] =
        std::to_string(PresetLength(placements.Current(), i)) + " pixels";
  return state;
}

void SelectScaleUnit(TApplicationSettings& settings, int tag) {
  CurrentConfiguration(settings).Ruler->Scales->ScaleUnit = Modulo(tag, kUnitCount);
}
