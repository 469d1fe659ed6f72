#pragma once
// What the settings dialog shows and how its values move between the controls, three
// working copies of the configurations and the settings tree. No windows here: the dialog
// copies `Values` into its controls and back, and calls the operations below when the
// user changes something that other controls depend on.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "settings/ApplicationSettings.h"

// The navigation list: each row opens a page and, on the configurations page, a sub-page.
struct TSettingsNavigationRow {
  const wchar_t* Caption;
  int Page;
  int SubPage;  // -1: the page has no sub-pages
  int Icon;     // index in the dialog's image list
};

inline constexpr int SettingsPageGeneral = 0;
inline constexpr int SettingsPageConfigurations = 1;
inline constexpr int SettingsPageMisc = 2;
inline constexpr int SettingsPageHandling = 3;
inline constexpr int SettingsPageHotkeys = 4;
inline constexpr int SettingsPageColorFormats = 5;
inline constexpr int SettingsPageMeasure = 6;
inline constexpr int SettingsPageCount = 7;

inline constexpr std::array<TSettingsNavigationRow, 9> SettingsNavigationRows{{
    {L"General", SettingsPageGeneral, -1, 0},
    {L"Configuration", SettingsPageConfigurations, 0, 7},
    {L"Colors", SettingsPageConfigurations, 1, 9},
    {L"Magnifier", SettingsPageConfigurations, 2, 2},
    {L"Handling", SettingsPageHandling, -1, 4},
    {L"Parameters", SettingsPageMisc, -1, 3},
    {L"Hotkeys", SettingsPageHotkeys, -1, 10},
    // The colour tools' formats hold for every configuration: a page of their own.
    {L"Color formats", SettingsPageColorFormats, -1, 12},
    {L"Measure", SettingsPageMeasure, -1, 11},
}};

inline constexpr int UnitNone = 0;
inline constexpr int UnitPixel = 1;

// The controls of the configuration sub-pages; items are the drop-downs' indexes.
struct TConfigurationValues {
  std::string Name;
  int Width = 30;
  int Labeling = 1;
  int Unit = 1;
  int Granularity = 1;
  bool Digits = true;
  bool Antialiasing = true;
  TColor Background = 0;
  TColor CursorLine = 0;
  bool Transparent = false;
  int Opacity = 65;
  bool MagnifierVisible = false;
  int Zoom = 3;
  int CrossHairs = 1;
  int HorizontalAlignment = 1;
  int VerticalAlignment = 1;
};

// Every control of the dialog.
struct TSettingsFormValues {
  bool Autostart = false;
  bool ShowRuler = true;
  bool ShowColorPicker = false;
  bool ShowCursorCoordinates = false;
  bool StayOnTop = true;
  bool SnapToDesktop = true;

  int Configuration = 0;  // the configuration drop-down
  TConfigurationValues Edited;

  int DoubleClickAction = 0;
  int SnapToAxis = 1;
  std::array<bool, 7> Buttons{};  // in TMiniButton order

  bool UserDefinedDpi = false;
  bool MeasuredDpi = false;
  int PixelsPerInch = 96;
  // The measure page; the mode is the drop-down's index.
  int MeasureMode = 0;
  int Tolerance = 30;
  bool ContinuousEdges = false;
  int IgnoreNarrow = 0;
  bool SnapBounds = false;
  TColor MeasureLine = 0;
  TColor LabelText = 0;
  TColor LabelBackground = 0;
  std::array<int, TPresetsSettings::PresetCount> HorizontalPresets{};
  std::array<int, TPresetsSettings::PresetCount> VerticalPresets{};
};

// Which controls accept input, following the current values.
struct TSettingsFormEnabling {
  bool Autostart = false;
  bool Granularity = true;
  bool Digits = true;
  bool Antialiasing = true;
  bool Transparent = true;
  bool Opacity = true;
  bool Zoom = true;
  bool CrossHairs = true;
  bool PixelsPerInch = false;  // only a user-defined value is typed in
};

class TSettingsFormModel {
 public:
  // `localInstallation`: autostart can only be set for an installed copy.
  // `translucencySupported`: the system can blend windows.
  TSettingsFormModel(bool localInstallation, bool translucencySupported);

  TSettingsFormValues Values;

  bool LocalInstallation() const { return FLocalInstallation; }
  std::wstring AutostartCaption() const;
  TSettingsFormEnabling Enabling() const;

  // Fills the values from the settings; `autostartQuery` is asked only for a local
  // installation.
  void LoadFromSettings(const TApplicationSettings& settings, const std::function<bool()>& autostartQuery);

  // The configuration drop-down changed to `index`: the edits so far go into their copy,
  // the values show the other copy.
  void SwitchConfiguration(int index);
  // The unit drop-down changed: the granularity shown so far belongs to the previous unit,
  // the new unit brings its own.
  void ChangeUnit(int unit);

  // Writes everything back. `autostartUpdate` (enable) runs only for a local installation
  // whose autostart box changed; answers false when that update failed (everything else
  // is stored all the same, and the box counts as unchanged).
  bool StoreToSettings(TApplicationSettings& settings, const std::function<bool(bool enable)>& autostartUpdate);

  const TConfigurationSettings& WorkingCopy(int index) const;
  int EditedIndex() const { return FEditedIndex; }
  bool AutostartAtLoad() const { return FAutostartAtLoad; }

 private:
  void ShowEditedCopy();
  void TakeEditedCopy();

  bool FLocalInstallation;
  bool FTranslucencySupported;
  std::array<std::unique_ptr<TConfigurationSettings>, TApplicationSettings::ConfigurationCount> FCopies;
  int FEditedIndex = 0;
  bool FAutostartAtLoad = false;
};
