#pragma once
// The ruler's view of the settings tree: the placements and the active configuration as
// the plain values the geometry and the painter work with, and back.

#include "ruler/RulerGeometry.h"
#include "ruler/RulerScale.h"
#include "settings/ApplicationSettings.h"

// The active configuration; an out-of-range index (a hand-edited file) means the first.
TConfigurationSettings& CurrentConfiguration(const TApplicationSettings& settings);

TRulerPlacements ReadPlacements(const TApplicationSettings& settings);
void WritePlacements(TApplicationSettings& settings, const TRulerPlacements& placements);

TMagnifierLayoutSettings MagnifierLayout(const TConfigurationSettings& configuration);

// The resolution the active configuration's unit counts with on each axis, given the
// screen's (measured, when the settings say so) and the monitor's logical one, which logical
// pixels count with.
struct TUnitResolution {
  TResolution PixelsPerInch;
  bool LogicalPixels = false;
};
TUnitResolution UnitResolutionFor(const TApplicationSettings& settings, TResolution screen, int logicalPixelsPerInch);

// The painter's input for a scale area of the given size, with the resolution of
// UnitResolutionFor along the ruler; system colours must have been resolved by `resolveColor`.
using TColorResolver = TColor (*)(TColor);
TRulerScaleInput ScaleInputFor(const TApplicationSettings& settings, int width, int height, TResolution screen,
                               int logicalPixelsPerInch, TColorResolver resolveColor);
