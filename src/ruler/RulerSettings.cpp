#include "ruler/RulerSettings.h"

#include <algorithm>

#include "ruler/MonitorDpi.h"
#include "ruler/RulerUnits.h"

namespace {

TRulerPlacement ReadPlacement(const TPlacementSettings& p) {
  TRulerPlacement placement;
  placement.Position = {p.Position->X, p.Position->Y};
  placement.Length = p.Length;
  placement.Direction = p.Direction;
  placement.Bearing = p.Bearing;
  for (int i = 0; i < TPresetsSettings::PresetCount; ++i)
    placement.Presets[static_cast<std::size_t>(i)] = p.Presets->Preset(i)->Length;
  return placement;
}

void WritePlacement(TPlacementSettings& p, const TRulerPlacement& placement) {
  p.Position->X = placement.Position.X;
  p.Position->Y = placement.Position.Y;
  p.Length = placement.Length;
  p.Direction = placement.Direction;
  p.Bearing = placement.Bearing;
}

}  // namespace

TConfigurationSettings& CurrentConfiguration(const TApplicationSettings& settings) {
  const int index = settings.General->Configuration;
  return *settings.Configurations(index >= 0 && index < TApplicationSettings::ConfigurationCount ? index : 0);
}

TRulerPlacements ReadPlacements(const TApplicationSettings& settings) {
  TRulerPlacements placements;
  placements.Orientation = settings.General->Orientation;
  placements.Horizontal = ReadPlacement(*settings.Horizontal);
  placements.Vertical = ReadPlacement(*settings.Vertical);
  return placements;
}

void WritePlacements(TApplicationSettings& settings, const TRulerPlacements& placements) {
  settings.General->Orientation = placements.Orientation;
  WritePlacement(*settings.Horizontal, placements.Horizontal);
  WritePlacement(*settings.Vertical, placements.Vertical);
}

TMagnifierLayoutSettings MagnifierLayout(const TConfigurationSettings& configuration) {
  TMagnifierLayoutSettings layout;
  layout.Visible = configuration.Magnifier->Visible;
  layout.HorizontalAlignment = configuration.Magnifier->Horizontal->Alignment;
  layout.VerticalAlignment = configuration.Magnifier->Vertical->Alignment;
  return layout;
}

TUnitResolution UnitResolutionFor(const TApplicationSettings& settings, TResolution screen, int logicalPixelsPerInch) {
  // A measured resolution comes in as the screen's: the window layer reads the glass.
  const TParameterSettings& parameters = *settings.Parameters;
  // Logical pixels count with the monitor's scale, whatever its glass measures.
  constexpr int PixelUnit = 1;
  if (CurrentConfiguration(settings).Ruler->Scales->ScaleUnit == PixelUnit && parameters.LogicalPixels) {
    const double logical = logicalPixelsPerInch > 0 ? logicalPixelsPerInch : DefaultPixelsPerInch;
    return {{logical, logical}, true};
  }
  return {ResolvePixelsPerInch(parameters.UserDefiniedDPI && !parameters.MeasuredDPI, parameters.PixelsPerInch, screen),
          false};
}

TRulerScaleInput ScaleInputFor(const TApplicationSettings& settings, int width, int height, TResolution screen,
                               int logicalPixelsPerInch, TColorResolver resolveColor) {
  const TConfigurationSettings& configuration = CurrentConfiguration(settings);
  const TRulerSettings& ruler = *configuration.Ruler;
  const TRulerPlacements placements = ReadPlacements(settings);
  const TRulerPlacement& placement = placements.Current();

  TRulerScaleInput input;
  input.Width = width;
  input.Height = height;
  input.Vertical = placements.CurrentOrientation() == TRulerOrientation::Vertical;
  input.Flipped = IsFlipped(placement);
  input.Turned = ScaleOnTopOrLeft(placement);
  input.ScaleUnit = ruler.Scales->ScaleUnit;
  input.Granularity = ruler.Scales->UnitSettings(ruler.Scales->ScaleUnit)->Granularity;
  input.Digits = ruler.Digits;
  input.Labeling = ruler.Labeling;
  input.Antialiasing = ruler.Antialiasing;
  input.Background = resolveColor(ruler.Color->Background);
  input.CursorLine = resolveColor(ruler.Color->CursorLine);
  input.MagnifierVisible = configuration.Magnifier->Visible;
  const TUnitResolution resolution = UnitResolutionFor(settings, screen, logicalPixelsPerInch);
  input.PixelsPerInch = resolution.PixelsPerInch.Along(input.Vertical);
  input.LogicalPixels = resolution.LogicalPixels;
  input.Buttons = settings.Handling->Buttons;
  return input;
}
