#include "settings/SettingsFormModels.h"

#include <algorithm>

namespace {

// An index read from the file may lie outside the list; the ruler treats that as the
// first configuration, and so does the dialog.
int ValidConfigurationIndex(int index) {
  return index >= 0 && index < TApplicationSettings::ConfigurationCount ? index : 0;
}

}  // namespace

TSettingsFormModel::TSettingsFormModel(bool localInstallation, bool translucencySupported)
    : FLocalInstallation(localInstallation), FTranslucencySupported(translucencySupported) {
  for (auto& copy : FCopies) copy = TQorvelSettings::Create<TConfigurationSettings>();
}

std::wstring TSettingsFormModel::AutostartCaption() const {
  return FLocalInstallation ? L"Autostart Vindle" : L"Autostart Vindle (local installation only)";
}

TSettingsFormEnabling TSettingsFormModel::Enabling() const {
  const TConfigurationValues& edited = Values.Edited;
  TSettingsFormEnabling enabling;
  enabling.Autostart = FLocalInstallation;
  enabling.Granularity = edited.Unit != UnitNone;
  enabling.Digits = edited.Unit != UnitNone;
  enabling.Antialiasing = edited.Unit != UnitNone && edited.Unit != UnitPixel;
  enabling.Transparent = FTranslucencySupported;
  enabling.Opacity = FTranslucencySupported && edited.Transparent;
  enabling.Zoom = edited.MagnifierVisible;
  enabling.CrossHairs = edited.MagnifierVisible;
  enabling.PixelsPerInch = Values.UserDefinedDpi && !Values.MeasuredDpi;
  return enabling;
}

const TConfigurationSettings& TSettingsFormModel::WorkingCopy(int index) const {
  return *FCopies[static_cast<std::size_t>(ValidConfigurationIndex(index))];
}

void TSettingsFormModel::LoadFromSettings(const TApplicationSettings& settings,
                                          const std::function<bool()>& autostartQuery) {
  TSettingsFormValues& v = Values;
  v.ShowRuler = settings.Startup->ShowRuler;
  v.ShowColorPicker = settings.Startup->ShowColorPicker;
  v.ShowCursorCoordinates = settings.Startup->ShowCursorCoordinates;
  v.StayOnTop = settings.General->StayOnTop;
  v.SnapToDesktop = settings.General->SnapToDesktop;
  v.DoubleClickAction = settings.Handling->DoubleClickAction;
  v.SnapToAxis = settings.Handling->SnapToAxis;
  for (std::size_t i = 0; i < v.Buttons.size(); ++i)
    v.Buttons[i] = settings.Handling->Buttons.Contains(static_cast<TMiniButton>(i));

  v.Configuration = ValidConfigurationIndex(settings.General->Configuration);
  for (int i = 0; i < TApplicationSettings::ConfigurationCount; ++i)
    FCopies[static_cast<std::size_t>(i)]->Assign(*settings.Configurations(i));
  FEditedIndex = v.Configuration;
  ShowEditedCopy();

  FAutostartAtLoad = FLocalInstallation && autostartQuery && autostartQuery();
  v.Autostart = FAutostartAtLoad;

  v.UserDefinedDpi = settings.Parameters->UserDefiniedDPI;
  v.MeasuredDpi = settings.Parameters->MeasuredDPI;
  v.PixelsPerInch = settings.Parameters->PixelsPerInch;
  const TMeasureSettings& measure = *settings.Measure;
  // A damaged file shows what the tool will use: the first mode, the nearest allowed number.
  v.MeasureMode = measure.Mode >= 0 && measure.Mode < 3 ? measure.Mode : 0;
  v.Tolerance = std::clamp(measure.Tolerance, 0, TMeasureSettings::MaxTolerance);
  v.ContinuousEdges = measure.Continuous;
  v.IgnoreNarrow = std::clamp(measure.IgnoreNarrow, 0, TMeasureSettings::MaxIgnoreNarrow);
  v.SnapBounds = measure.SnapBounds;
  v.MeasureLine = measure.LineColor;
  v.LabelText = measure.LabelText;
  v.LabelBackground = measure.LabelBackground;
  for (int i = 0; i < TPresetsSettings::PresetCount; ++i) {
    v.HorizontalPresets[static_cast<std::size_t>(i)] = settings.Horizontal->Presets->Preset(i)->Length;
    v.VerticalPresets[static_cast<std::size_t>(i)] = settings.Vertical->Presets->Preset(i)->Length;
  }
}

void TSettingsFormModel::ShowEditedCopy() {
  const TConfigurationSettings& copy = *FCopies[static_cast<std::size_t>(FEditedIndex)];
  const TRulerSettings& ruler = *copy.Ruler;
  TConfigurationValues& e = Values.Edited;
  e.Name = copy.Name;
  e.Width = ruler.Width;
  e.Labeling = ruler.Labeling;
  e.Unit = ruler.Scales->ScaleUnit;
  e.Granularity = ruler.Scales->UnitSettings(e.Unit)->Granularity;
  // The unit rule's store step writes the shown granularity back into the copy's own
  // unit, so showing a copy never moves a granularity from one unit to another.
  ChangeUnit(e.Unit);
  e.Digits = ruler.Digits;
  e.Antialiasing = ruler.Antialiasing;
  e.Background = ruler.Color->Background;
  e.CursorLine = ruler.Color->CursorLine;
  e.Transparent = ruler.Transparent;
  e.Opacity = ruler.Opacity;
  const TMagnifierSettings& magnifier = *copy.Magnifier;
  e.MagnifierVisible = magnifier.Visible;
  e.Zoom = magnifier.Zoom;
  e.CrossHairs = magnifier.CrossHairs;
  e.HorizontalAlignment = magnifier.Horizontal->Alignment;
  e.VerticalAlignment = magnifier.Vertical->Alignment;
}

void TSettingsFormModel::TakeEditedCopy() {
  TConfigurationSettings& copy = *FCopies[static_cast<std::size_t>(FEditedIndex)];
  TRulerSettings& ruler = *copy.Ruler;
  const TConfigurationValues& e = Values.Edited;
  copy.Name = e.Name;
  ruler.Width = e.Width;
  ruler.Scales->ScaleUnit = e.Unit;
  ruler.Scales->UnitSettings(e.Unit)->Granularity = e.Granularity;
  ruler.Digits = e.Digits;
  ruler.Antialiasing = e.Antialiasing;
  ruler.Color->Background = e.Background;
  ruler.Color->CursorLine = e.CursorLine;
  ruler.Labeling = e.Labeling;
  ruler.Transparent = e.Transparent;
  ruler.Opacity = e.Opacity;
  TMagnifierSettings& magnifier = *copy.Magnifier;
  magnifier.Visible = e.MagnifierVisible;
  magnifier.Zoom = e.Zoom;
  magnifier.CrossHairs = e.CrossHairs;
  magnifier.Horizontal->Alignment = e.HorizontalAlignment;
  magnifier.Vertical->Alignment = e.VerticalAlignment;
}

void TSettingsFormModel::SwitchConfiguration(int index) {
  index = ValidConfigurationIndex(index);
  TakeEditedCopy();
  FEditedIndex = index;
  Values.Configuration = index;
  ShowEditedCopy();
}

void TSettingsFormModel::ChangeUnit(int unit) {
  TScaleSettings& scales = *FCopies[static_cast<std::size_t>(FEditedIndex)]->Ruler->Scales;
  scales.UnitSettings(scales.ScaleUnit)->Granularity = Values.Edited.Granularity;
  scales.ScaleUnit = unit;
  Values.Edited.Unit = unit;
  Values.Edited.Granularity = scales.UnitSettings(unit)->Granularity;
}

bool TSettingsFormModel::StoreToSettings(TApplicationSettings& settings,
                                         const std::function<bool(bool enable)>& autostartUpdate) {
  const TSettingsFormValues& v = Values;
  settings.Startup->ShowRuler = v.ShowRuler;
  settings.Startup->ShowColorPicker = v.ShowColorPicker;
  settings.Startup->ShowCursorCoordinates = v.ShowCursorCoordinates;
  settings.General->StayOnTop = v.StayOnTop;
  settings.General->SnapToDesktop = v.SnapToDesktop;
  settings.Handling->DoubleClickAction = v.DoubleClickAction;
  settings.Handling->SnapToAxis = v.SnapToAxis;
  TMiniButtons buttons;
  for (std::size_t i = 0; i < v.Buttons.size(); ++i)
    if (v.Buttons[i]) buttons.Include(static_cast<TMiniButton>(i));
  settings.Handling->Buttons = buttons;

  TakeEditedCopy();
  settings.General->Configuration = ValidConfigurationIndex(v.Configuration);
  for (int i = 0; i < TApplicationSettings::ConfigurationCount; ++i)
    settings.Configurations(i)->Assign(*FCopies[static_cast<std::size_t>(i)]);

  bool autostartStored = true;
  if (FLocalInstallation && v.Autostart != FAutostartAtLoad) {
    FAutostartAtLoad = v.Autostart;
    if (!autostartUpdate || !autostartUpdate(v.Autostart)) {
      FAutostartAtLoad = !FAutostartAtLoad;
      autostartStored = false;
    }
  }

  settings.Parameters->UserDefiniedDPI = v.UserDefinedDpi;
  settings.Parameters->MeasuredDPI = v.MeasuredDpi;
  settings.Parameters->PixelsPerInch = v.PixelsPerInch;
  TMeasureSettings& measure = *settings.Measure;
  measure.Mode = v.MeasureMode;
  measure.Tolerance = v.Tolerance;
  measure.Continuous = v.ContinuousEdges;
  measure.IgnoreNarrow = v.IgnoreNarrow;
  measure.SnapBounds = v.SnapBounds;
  measure.LineColor = v.MeasureLine;
  measure.LabelText = v.LabelText;
  measure.LabelBackground = v.LabelBackground;
  for (int i = 0; i < TPresetsSettings::PresetCount; ++i) {
    settings.Horizontal->Presets->Preset(i)->Length = v.HorizontalPresets[static_cast<std::size_t>(i)];
    settings.Vertical->Presets->Preset(i)->Length = v.VerticalPresets[static_cast<std::size_t>(i)];
  }
  return autostartStored;
}
