#pragma once
// The program's settings tree: everything Vindle remembers between runs. Windows read and
// write these fields directly; whoever changes a value applies it to the windows.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/Hotkeys.h"
#include "settings/QorvelSettings.h"
#include "base/QorvelTypes.h"

// The small buttons on the ruler.
enum class TMiniButton { mbClose, mbRotate, mbFlip, mbTurn, mbStayOnTop, mbTransparent, mbMagnifier };
using TMiniButtons = TQorvelSet<TMiniButton>;

inline constexpr std::string_view MiniButtonIdentifiers[] = {"mbClose",     "mbRotate",      "mbFlip",     "mbTurn",
                                                             "mbStayOnTop", "mbTransparent", "mbMagnifier"};
inline constexpr TQorvelEnumInfo MiniButtonTypeInfo{"TMiniButton", MiniButtonIdentifiers};

// The colour component the colour tools work on.
enum class TQorvelColorComponent { pccHue, pccSaturation, pccBrightness, pccRed, pccGreen, pccBlue };

inline constexpr std::string_view ColorComponentIdentifiers[] = {"pccHue", "pccSaturation", "pccBrightness",
                                                                 "pccRed", "pccGreen",      "pccBlue"};
inline constexpr TQorvelEnumInfo ColorComponentTypeInfo{"TQorvelColorComponent", ColorComponentIdentifiers};

// What to show when the program starts.
class TStartupOptions : public TQorvelSettings {
 public:
  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  bool ShowRuler = true;
  bool ShowColorPicker = false;
  bool ShowCursorCoordinates = false;
  // Whether the first start already said where the program lives: Windows puts a new
  // notification-area icon out of sight, so the first start tells the user once.
  bool TrayNoticeShown = false;
};

class TGeneralSettings : public TQorvelSettings {
 public:
  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  std::int32_t Orientation = 0;    // bit 0: 0 horizontal ruler, 1 vertical ruler
  std::int32_t Configuration = 0;  // index of the active configuration, 0..2
  bool StayOnTop = true;
  bool SnapToDesktop = true;
};

class THandlingSettings : public TQorvelSettings {
 public:
  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  std::int32_t DoubleClickAction = 0;  // 0 rotate, 1 flip, 2 turn, 3 hide, 4 exit
  std::int32_t SnapToAxis = 1;         // modifier locking a drag to one axis: 0 none, 1 Shift, 2 Ctrl, 3 Alt
  TMiniButtons Buttons{TMiniButton::mbClose, TMiniButton::mbRotate, TMiniButton::mbFlip, TMiniButton::mbTurn};
};

// The system-wide hotkeys, one text per action ("Ctrl+Alt+Shift+R"; empty when cleared). The
// texts are kept as read: one that does not parse leaves the action on its default chord.
class THotkeySettings : public TQorvelSettings {
 public:
  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }
  void SetDefaults() override;

  std::string& Text(THotkeyAction action);
  const std::string& Text(THotkeyAction action) const;
  // The chord the action is bound to: the text's, or the default when the text is not a chord.
  THotkey Hotkey(THotkeyAction action) const;

  std::string ShowRuler;
  std::string Measure;
  std::string PickColor;
  std::string CursorCoordinates;
};

// The measure tool: its mode, how it finds edges, and its colours.
class TMeasureSettings : public TQorvelSettings {
 public:
  static constexpr int MaxTolerance = 255;
  static constexpr int MaxIgnoreNarrow = 50;

  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  std::int32_t Mode = 0;          // 0 spacing, 1 bounds, 2 distance and angle; anything else spacing
  std::int32_t Tolerance = 30;    // largest channel difference still the same surface, held to 0..255
  bool Continuous = false;        // compare with the run walked so far, for gradients
  std::int32_t IgnoreNarrow = 0;  // features this many pixels wide or narrower do not stop a span, 0..50
  TColor LineColor = 0x6300E6;    // a strong pink that few interfaces use
  TColor LabelText = 0xFFFFFF;
  TColor LabelBackground = 0x6300E6;
  bool SnapBounds = false;  // a dragged rectangle shrinks to its content without Alt held
};

// One preset ruler length, in pixels.
class TPresetSettings : public TQorvelSettings {
 public:
  static constexpr int MinLength = 200, MaxLength = 2000;

  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  std::int32_t Length = 0;
};

// The five preset lengths of one orientation. They are not published: the settings file
// stores them as numbered elements.
class TPresetsSettings : public TQorvelSettings {
 public:
  static constexpr int PresetCount = 5;

  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  // index 0..4; anything else is a programming error and throws EQorvelSettingsError.
  TPresetSettings* Preset(int index) const;

  // The presets are the elements "preset" named "0".."4".
  bool ReadCustomElement(TQorvelSettingsReader& reader, const std::string& elementName,
                         const std::u16string& nameAttribute) override;
  void WriteCustomElements(TQorvelSettingsWriter& writer) override;

 protected:
  void AfterCreateChildren() override;

 private:
  std::array<TPresetSettings*, PresetCount> FPresets{};
};

// Where the ruler lies in one orientation.
class TPlacementSettings : public TQorvelSettings {
 public:
  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  TQorvelPointSettings* Position = nullptr;  // screen point on the scale edge at the ruler's start
  std::int32_t Length = 0;                   // pixels along the axis
  std::int32_t Direction = 0;                // bit 0: scale counts from the far end (flipped)
  std::int32_t Bearing = 0;                  // bit 0: scale edge top (horizontal) or left (vertical)
  TPresetsSettings* Presets = nullptr;
};

struct TColorEntry {
  TColor Value = 0;
  std::int32_t Flags = 0;  // owned by the colour service; carried along unchanged
  friend bool operator==(const TColorEntry&, const TColorEntry&) = default;
};

// The colour tools' shared choices: the five user-defined colours, stored as numbered
// elements, and how colours are written as text (see color/ColorPreferences.h).
class TColorSettings : public TQorvelSettings {
 public:
  static constexpr int EntryCount = 5;
  static constexpr int RecentLimit = 20;
  // Room for every format once, with some to spare for formats a later version adds.
  static constexpr int FormatLimit = 32;

  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }
  void SetDefaults() override;

  // Format identifiers ("hex", "oklch", ...): the one the hotkey and the tools use, and the
  // ones "Copy as" offers, in its order. Unknown identifiers are passed over (and dropped
  // once the settings dialog stores its list).
  std::string DefaultFormat = "hex";
  TQorvelStrings Formats;
  std::string Template;
  // The last picked colours, newest first, as "#RRGGBB".
  TQorvelStrings Recent;
  std::int32_t SampleSize = 1;  // pixels square whose median a pick takes: 1, 3 or 5

  // Outside 0..4 reads an all-zero entry and ignores writes.
  TColorEntry GetColorEntry(int index) const;
  void SetColorEntry(int index, const TColorEntry& entry);

  // The entries are the elements "color" named "0".."4", each with "value" and, when not 0,
  // "flags".
  bool ReadCustomElement(TQorvelSettingsReader& reader, const std::string& elementName,
                         const std::u16string& nameAttribute) override;
  void WriteCustomElements(TQorvelSettingsWriter& writer) override;

 private:
  // Light red, orange, yellow, green and blue.
  std::array<TColorEntry, EntryCount> FEntries{
      {{0xA0A0FF, 0}, {0xA0C0FF, 0}, {0xA0FFFF, 0}, {0xA0FFA0, 0}, {0xFFA0A0, 0}}};
};

class TColorPickerSettings : public TQorvelSettings {
 public:
  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  TColor Color = 0xFFFFFF;
  TQorvelColorComponent Component = TQorvelColorComponent::pccHue;
};

class TParameterSettings : public TQorvelSettings {
 public:
  static constexpr int CalibrationLimit = 64;  // monitors
  static constexpr int MinPixelsPerInch = 10, MaxPixelsPerInch = 600;

  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  bool UserDefiniedDPI = false;  // use PixelsPerInch instead of the screen's resolution
  std::int32_t PixelsPerInch = 96;
  // Measure each monitor's own glass (its EDID, else the size the system reports) instead:
  // a centimetre on the scale is one on the desk. Wins over UserDefiniedDPI.
  bool MeasuredDPI = false;
  // Resolutions calibrated against an object on the desk, one line per monitor (see
  // ruler/Calibrations.h); they win over the measured ones.
  TQorvelStrings Calibrations;
  // Count pixels divided by the monitor's scale factor ("px (logical)").
  bool LogicalPixels = false;
};

// The granularity one unit of the scale remembers.
class TUnitSettings : public TQorvelCopyableSettings {
 public:
  using TQorvelCopyableSettings::TQorvelCopyableSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  std::int32_t Granularity = 1;  // 0 coarse, 1 medium, 2 fine
};

class TScaleSettings : public TQorvelCopyableSettings {
 public:
  static constexpr int UnitCount = 5;  // none, pixel, point, inch, centimetre

  using TQorvelCopyableSettings::TQorvelCopyableSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  // Entry 0 (none) for an index outside 0..4; the setter ignores such an index.
  TUnitSettings* UnitSettings(int index) const;
  void SetUnitSettings(int index, TUnitSettings* value);

  void SetDefaults() override;

  std::int32_t ScaleUnit = 1;  // 0 none, 1 pixel, 2 point, 3 inch, 4 centimetre

 private:
  std::array<TUnitSettings*, UnitCount> FUnits{};
};

class TRulerColorSettings : public TQorvelCopyableSettings {
 public:
  using TQorvelCopyableSettings::TQorvelCopyableSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  TColor Background = 0xA0FFFF;  // light yellow
  TColor CursorLine = 0x0000FF;  // red
};

class TRulerSettings : public TQorvelCopyableSettings {
 public:
  static constexpr int MinWidth = 5, MaxWidth = 100;
  static constexpr int MinOpacity = 10, MaxOpacity = 100;  // fainter would be lost on the screen

  using TQorvelCopyableSettings::TQorvelCopyableSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  // The window's opacity on the 0..256 scale of the blending code: 256 is opaque.
  int AlphaValue() const;

  std::int32_t Width = 30;  // thickness across the axis, pixels
  TScaleSettings* Scales = nullptr;
  bool Digits = true;
  TRulerColorSettings* Color = nullptr;
  std::int32_t Labeling = 1;  // cursor label: 0 none, 1 ruler coordinate, 2 screen coordinate
  bool Transparent = false;
  std::int32_t Opacity = 65;  // percent, while Transparent
  bool Antialiasing = true;
};

class TMagnifierPlacementSettings : public TQorvelCopyableSettings {
 public:
  using TQorvelCopyableSettings::TQorvelCopyableSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  // 0 beginning, 1 end, 2 left/top, 3 right/bottom
  std::int32_t Alignment = 1;
};

class TMagnifierSettings : public TQorvelCopyableSettings {
 public:
  static constexpr int MinZoom = 1, MaxZoom = 9;

  using TQorvelCopyableSettings::TQorvelCopyableSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  bool Visible = false;
  std::int32_t Zoom = 3;        // each screen pixel becomes a Zoom x Zoom square
  std::int32_t CrossHairs = 1;  // 0 none, 1 open cross, 2 continuous cross, 3 small cross
  TMagnifierPlacementSettings* Horizontal = nullptr;
  TMagnifierPlacementSettings* Vertical = nullptr;
};

// One named configuration of the ruler. Copyable all the way down, so that the settings
// dialog can work on copies.
class TConfigurationSettings : public TQorvelCopyableSettings {
 public:
  static constexpr int NameLength = 50;  // UTF-16 units, as the dialog's field counts

  using TQorvelCopyableSettings::TQorvelCopyableSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  std::string Name;
  TRulerSettings* Ruler = nullptr;
  TMagnifierSettings* Magnifier = nullptr;
};

// The root of the tree.
class TApplicationSettings : public TQorvelTypicalApplicationSettings {
 public:
  static constexpr int ConfigurationCount = 3;

  using TQorvelTypicalApplicationSettings::TQorvelTypicalApplicationSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  // index 0..2; anything else is a programming error and throws EQorvelSettingsError.
  TConfigurationSettings* Configurations(int index) const;

  // The class defaults, then what sets the three configurations and the presets apart.
  void SetDefaults() override;

  // The configurations are the elements "configuration" named "0".."2", ahead of everything.
  bool ReadCustomElement(TQorvelSettingsReader& reader, const std::string& elementName,
                         const std::u16string& nameAttribute) override;
  void WriteCustomElements(TQorvelSettingsWriter& writer) override;

  TGeneralSettings* General = nullptr;
  TStartupOptions* Startup = nullptr;
  TPlacementSettings* Horizontal = nullptr;
  TPlacementSettings* Vertical = nullptr;
  THandlingSettings* Handling = nullptr;
  TColorSettings* Colors = nullptr;
  TColorPickerSettings* ColorPicker = nullptr;
  TParameterSettings* Parameters = nullptr;
  TQorvelWindowListSettings* Window = nullptr;
  THotkeySettings* Hotkeys = nullptr;
  TMeasureSettings* Measure = nullptr;

 protected:
  void AfterCreateChildren() override;

 private:
  std::array<TConfigurationSettings*, ConfigurationCount> FConfigurations{};
};
