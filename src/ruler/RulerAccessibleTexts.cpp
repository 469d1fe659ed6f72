#include "ruler/RulerAccessibleTexts.h"

#include "ruler/RulerUnits.h"

std::string RulerAccessibleValue(const TRulerScaleInput& input, int rulerLength) {
  std::string text =
      "length " + MeasurementText(input.ScaleUnit, rulerLength, input.PixelsPerInch, input.LogicalPixels);
  const int length = input.Vertical ? input.Height : input.Width;
  // The cursor line shows wherever the cursor is along the scale, above or beside it alike.
  const int along = input.Vertical ? input.CursorBoxPos.Y : input.CursorBoxPos.X;
  if (along < 0 || along >= length) return text;
  int position = input.Flipped ? length - 1 - along : along;
  if (input.Labeling == 2) position = input.Vertical ? input.CursorScreenPos.Y : input.CursorScreenPos.X;
  // The number the cursor label shows, rounded as it rounds.
  const TScaleLayout layout =
      ChooseScaleLayout(input.ScaleUnit, input.Granularity, input.PixelsPerInch, input.LogicalPixels);
  return text + ", cursor at " + CursorLabelText(layout, position) + ' ' +
         UnitLabel(input.ScaleUnit, input.LogicalPixels);
}

std::string RulerAccessibleDescription(int scaleUnit, TResolutionBasis basis) {
  constexpr int FirstPhysicalUnit = 2, LastPhysicalUnit = 4;  // point, inch, centimetre
  if (scaleUnit < FirstPhysicalUnit || scaleUnit > LastPhysicalUnit) return {};
  const char* source = "";
  switch (basis) {
    case TResolutionBasis::System: source = "at the system's resolution"; break;
    case TResolutionBasis::UserDefined: source = "at the user-defined resolution"; break;
    case TResolutionBasis::Calibrated: source = "calibrated"; break;
    case TResolutionBasis::Edid: source = "from the monitor's size"; break;
    case TResolutionBasis::ReportedSize: source = "from the monitor's reported size"; break;
  }
  return std::string(UnitLabel(scaleUnit)) + ", " + source;
}
