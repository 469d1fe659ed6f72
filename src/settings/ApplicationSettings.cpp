#include "settings/ApplicationSettings.h"

#include <algorithm>
#include <utility>

#include "settings/QorvelSettingsHandlers.h"
#include "settings/QorvelSettingsValues.h"

namespace {

[[noreturn]] void ThrowIndexError(const char* what, int index, int count) {
  throw EQorvelSettingsError(std::string(what) + " index " + std::to_string(index) + " is outside 0.." +
                             std::to_string(count - 1) + ".");
}

// Reads the numbered element `tag` into `read(index)`; numbers out of range, or no numbers,
// are passed over like unknown elements. Other elements are not ours.
template <class TRead>
bool ReadNumberedElement(TQorvelSettingsReader& reader, const std::string& elementName,
                         const std::u16string& nameAttribute, std::string_view tag, int count, TRead read) {
  if (elementName != tag) return false;
  const int index = QorvelElementIndex(nameAttribute, count);
  if (index < 0)
    reader.SkipElement(elementName);
  else
    read(index);
  return true;
}

std::u16string IndexAttribute(int index) {
  const std::string digits = std::to_string(index);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

const TQorvelSettingsClass& TStartupOptions::StaticClass() {
  using C = TStartupOptions;
  static const TQorvelSettingsClass cls(
      "TStartupOptions", &TQorvelSettings::StaticClass(), &TQorvelSettingsClass::Instantiate<C>,
      {
          QorvelPublish::Boolean("ShowRuler", &C::ShowRuler, true),
          QorvelPublish::Boolean("ShowColorPicker", &C::ShowColorPicker, false),
          QorvelPublish::Boolean("ShowCursorCoordinates", &C::ShowCursorCoordinates, false),
          QorvelPublish::Boolean("TrayNoticeShown", &C::TrayNoticeShown, false),
      });
  return cls;
}

const TQorvelSettingsClass& THotkeySettings::StaticClass() {
  using C = THotkeySettings;
  static const TQorvelSettingsClass cls("THotkeySettings", &TQorvelSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::String("ShowRuler", &C::ShowRuler),
                                            QorvelPublish::String("Measure", &C::Measure),
                                            QorvelPublish::String("PickColor", &C::PickColor),
                                            QorvelPublish::String("CursorCoordinates", &C::CursorCoordinates),
                                        });
  return cls;
}

void THotkeySettings::SetDefaults() {
  TQorvelSettings::SetDefaults();
  for (const THotkeyActionInfo& info : HotkeyActions) Text(info.Action) = info.DefaultText;
}

std::string& THotkeySettings::Text(THotkeyAction action) {
  return const_cast<std::string&>(std::as_const(*this).Text(action));
}

const std::string& THotkeySettings::Text(THotkeyAction action) const {
  switch (action) {
    case THotkeyAction::ShowRuler: return ShowRuler;
    case THotkeyAction::Measure: return Measure;
    case THotkeyAction::PickColor: return PickColor;
    case THotkeyAction::CursorCoordinates: break;
  }
  return CursorCoordinates;
}

THotkey THotkeySettings::Hotkey(THotkeyAction action) const {
  if (std::optional<THotkey> hotkey = ParseHotkey(Text(action))) return *hotkey;
  return *ParseHotkey(HotkeyActionInfo(action).DefaultText);
}

const TQorvelSettingsClass& TMeasureSettings::StaticClass() {
  using C = TMeasureSettings;
  static const TQorvelSettingsClass cls("TMeasureSettings", &TQorvelSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Integer("Mode", &C::Mode, 0).Choice(3),
                                            QorvelPublish::Integer("Tolerance", &C::Tolerance, 30).Between(0, C::MaxTolerance),
                                            QorvelPublish::Boolean("Continuous", &C::Continuous, false),
                                            QorvelPublish::Integer("IgnoreNarrow", &C::IgnoreNarrow, 0).Between(0, C::MaxIgnoreNarrow),
                                            QorvelPublish::Color("LineColor", &C::LineColor, 0x6300E6),
                                            QorvelPublish::Color("LabelText", &C::LabelText, 0xFFFFFF),
                                            QorvelPublish::Color("LabelBackground", &C::LabelBackground, 0x6300E6),
                                            QorvelPublish::Boolean("SnapBounds", &C::SnapBounds, false),
                                        });
  return cls;
}

const TQorvelSettingsClass& TGeneralSettings::StaticClass() {
  using C = TGeneralSettings;
  static const TQorvelSettingsClass cls("TGeneralSettings", &TQorvelSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Integer("Orientation", &C::Orientation, 0).LowBit(),
                                            QorvelPublish::Integer("Configuration", &C::Configuration, 0).Choice(TApplicationSettings::ConfigurationCount),
                                            QorvelPublish::Boolean("StayOnTop", &C::StayOnTop, true),
                                            QorvelPublish::Boolean("SnapToDesktop", &C::SnapToDesktop, true),
                                        });
  return cls;
}

const TQorvelSettingsClass& THandlingSettings::StaticClass() {
  using C = THandlingSettings;
  static const TQorvelSettingsClass cls(
      "THandlingSettings", &TQorvelSettings::StaticClass(), &TQorvelSettingsClass::Instantiate<C>,
      {
          QorvelPublish::Integer("DoubleClickAction", &C::DoubleClickAction, 0).Choice(5),
          QorvelPublish::Integer("SnapToAxis", &C::SnapToAxis, 1).Choice(4),
          QorvelPublish::Set("Buttons", &C::Buttons, "TMiniButtons", MiniButtonTypeInfo,
                             std::optional(TMiniButtons{TMiniButton::mbClose, TMiniButton::mbRotate,
                                                        TMiniButton::mbFlip, TMiniButton::mbTurn})),
      });
  return cls;
}

// ---------------------------------------------------------------------------------------
// Placement and presets

const TQorvelSettingsClass& TPresetSettings::StaticClass() {
  using C = TPresetSettings;
  static const TQorvelSettingsClass cls("TPresetSettings", &TQorvelSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Integer("Length", &C::Length, 0).Between(C::MinLength, C::MaxLength),
                                        });
  return cls;
}

const TQorvelSettingsClass& TPresetsSettings::StaticClass() {
  static const TQorvelSettingsClass cls("TPresetsSettings", &TQorvelSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<TPresetsSettings>, {});
  return cls;
}

void TPresetsSettings::AfterCreateChildren() {
  TQorvelSettings::AfterCreateChildren();
  for (TPresetSettings*& preset : FPresets) preset = TQorvelSettings::Create<TPresetSettings>(*this);
}

TPresetSettings* TPresetsSettings::Preset(int index) const {
  if (index < 0 || index >= PresetCount) ThrowIndexError("Preset", index, PresetCount);
  return FPresets[static_cast<std::size_t>(index)];
}

bool TPresetsSettings::ReadCustomElement(TQorvelSettingsReader& reader, const std::string& elementName,
                                         const std::u16string& nameAttribute) {
  return ReadNumberedElement(reader, elementName, nameAttribute, "preset", PresetCount,
                             [&](int index) { reader.ReadObject(elementName, *Preset(index)); });
}

void TPresetsSettings::WriteCustomElements(TQorvelSettingsWriter& writer) {
  for (int i = 0; i < PresetCount; ++i) writer.WriteObject("preset", IndexAttribute(i), *Preset(i));
}

const TQorvelSettingsClass& TPlacementSettings::StaticClass() {
  using C = TPlacementSettings;
  static const TQorvelSettingsClass cls("TPlacementSettings", &TQorvelSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Child("Position", &C::Position),
                                            QorvelPublish::Integer("Length", &C::Length, 0),
                                            QorvelPublish::Integer("Direction", &C::Direction, 0).LowBit(),
                                            QorvelPublish::Integer("Bearing", &C::Bearing, 0).LowBit(),
                                            QorvelPublish::Child("Presets", &C::Presets),
                                        });
  return cls;
}

// ---------------------------------------------------------------------------------------
// Colour tools and parameters

const TQorvelSettingsClass& TColorSettings::StaticClass() {
  using C = TColorSettings;
  static const TQorvelSettingsClass cls("TColorSettings", &TQorvelSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::String("DefaultFormat", &C::DefaultFormat),
                                            QorvelPublish::Strings("Formats", &C::Formats).AtMost(C::FormatLimit),
                                            QorvelPublish::String("Template", &C::Template),
                                            QorvelPublish::Strings("Recent", &C::Recent).AtMost(C::RecentLimit),
                                            QorvelPublish::Integer("SampleSize", &C::SampleSize, 1).OneOf({1, 3, 5}),
                                        });
  return cls;
}

void TColorSettings::SetDefaults() {
  TQorvelSettings::SetDefaults();
  DefaultFormat = "hex";
  Formats = {"hex", "hexbare", "rgb", "hsl", "hsv", "cmyk", "lab", "oklch", "colorref", "colorrefhex", "vec4"};
  Template = "rgba({r}, {g}, {b}, 1)";
  Recent.clear();
}

TColorEntry TColorSettings::GetColorEntry(int index) const {
  if (index < 0 || index >= EntryCount) return {};
  return FEntries[static_cast<std::size_t>(index)];
}

void TColorSettings::SetColorEntry(int index, const TColorEntry& entry) {
  if (index < 0 || index >= EntryCount) return;
  FEntries[static_cast<std::size_t>(index)] = entry;
}

bool TColorSettings::ReadCustomElement(TQorvelSettingsReader& reader, const std::string& elementName,
                                       const std::u16string& nameAttribute) {
  return ReadNumberedElement(reader, elementName, nameAttribute, "color", EntryCount, [&](int index) {
    TColorEntry& entry = FEntries[static_cast<std::size_t>(index)];
    reader.ReadElements(elementName,
                        [&entry](TQorvelSettingsReader& r, const std::string& child, const std::u16string&) {
                          if (child != "value" && child != "flags") return false;
                          // An invalid number is still this child's: it leaves the field as it was.
                          const TQorvelReadValue<std::int32_t> value = r.ReadInteger(child);
                          if (!value.Valid()) return true;
                          if (child == "value")
                            entry.Value = static_cast<TColor>(value.Value);
                          else
                            entry.Flags = value.Value;
                          return true;
                        });
  });
}

void TColorSettings::WriteCustomElements(TQorvelSettingsWriter& writer) {
  for (int i = 0; i < EntryCount; ++i) {
    const TColorEntry& entry = FEntries[static_cast<std::size_t>(i)];
    writer.WriteElement("color", IndexAttribute(i), [&entry](TQorvelSettingsWriter& w) {
      w.WriteColor("value", entry.Value, 0);
      if (entry.Flags != 0) w.WriteInteger("flags", entry.Flags);
    });
  }
}

const TQorvelSettingsClass& TColorPickerSettings::StaticClass() {
  using C = TColorPickerSettings;
  static const TQorvelSettingsClass cls(
      "TColorPickerSettings", &TQorvelSettings::StaticClass(), &TQorvelSettingsClass::Instantiate<C>,
      {
          QorvelPublish::Color("Color", &C::Color, 0xFFFFFF),
          QorvelPublish::Enumeration("Component", &C::Component, ColorComponentTypeInfo,
                                     std::optional(TQorvelColorComponent::pccHue)),
      });
  return cls;
}

const TQorvelSettingsClass& TParameterSettings::StaticClass() {
  using C = TParameterSettings;
  static const TQorvelSettingsClass cls("TParameterSettings", &TQorvelSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Boolean("UserDefiniedDPI", &C::UserDefiniedDPI, false),
                                            QorvelPublish::Boolean("MeasuredDPI", &C::MeasuredDPI, false),
                                            QorvelPublish::Strings("Calibrations", &C::Calibrations).AtMost(C::CalibrationLimit),
                                            QorvelPublish::Boolean("LogicalPixels", &C::LogicalPixels, false),
                                            QorvelPublish::Integer("PixelsPerInch", &C::PixelsPerInch, 96).Between(C::MinPixelsPerInch, C::MaxPixelsPerInch),
                                        });
  return cls;
}

// ---------------------------------------------------------------------------------------
// Configurations

const TQorvelSettingsClass& TUnitSettings::StaticClass() {
  using C = TUnitSettings;
  static const TQorvelSettingsClass cls("TUnitSettings", &TQorvelCopyableSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Integer("Granularity", &C::Granularity, 1).Choice(3),
                                        });
  return cls;
}

const TQorvelSettingsClass& TScaleSettings::StaticClass() {
  using C = TScaleSettings;
  static const TQorvelSettingsClass cls(
      "TScaleSettings", &TQorvelCopyableSettings::StaticClass(), &TQorvelSettingsClass::Instantiate<C>,
      {
          QorvelPublish::Integer("ScaleUnit", &C::ScaleUnit, 1).Choice(C::UnitCount),
          QorvelPublish::IndexedChild("None", 0, &C::UnitSettings, &C::SetUnitSettings),
          QorvelPublish::IndexedChild("Pixel", 1, &C::UnitSettings, &C::SetUnitSettings),
          QorvelPublish::IndexedChild("Point", 2, &C::UnitSettings, &C::SetUnitSettings),
          QorvelPublish::IndexedChild("Inch", 3, &C::UnitSettings, &C::SetUnitSettings),
          QorvelPublish::IndexedChild("Cm", 4, &C::UnitSettings, &C::SetUnitSettings),
      });
  return cls;
}

TUnitSettings* TScaleSettings::UnitSettings(int index) const {
  if (index < 0 || index >= UnitCount) index = 0;
  return FUnits[static_cast<std::size_t>(index)];
}

void TScaleSettings::SetUnitSettings(int index, TUnitSettings* value) {
  if (index < 0 || index >= UnitCount) return;
  FUnits[static_cast<std::size_t>(index)] = value;
}

void TScaleSettings::SetDefaults() {
  TQorvelCopyableSettings::SetDefaults();
  // Centimetres read best with millimetre ticks.
  UnitSettings(4)->Granularity = 2;
}

const TQorvelSettingsClass& TRulerColorSettings::StaticClass() {
  using C = TRulerColorSettings;
  static const TQorvelSettingsClass cls("TRulerColorSettings", &TQorvelCopyableSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Color("Background", &C::Background, 0xA0FFFF),
                                            QorvelPublish::Color("CursorLine", &C::CursorLine, 0x0000FF),
                                        });
  return cls;
}

const TQorvelSettingsClass& TRulerSettings::StaticClass() {
  using C = TRulerSettings;
  static const TQorvelSettingsClass cls("TRulerSettings", &TQorvelCopyableSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Integer("Width", &C::Width, 30).Between(C::MinWidth, C::MaxWidth),
                                            QorvelPublish::Child("Scales", &C::Scales),
                                            QorvelPublish::Boolean("Digits", &C::Digits, true),
                                            QorvelPublish::Child("Color", &C::Color),
                                            QorvelPublish::Integer("Labeling", &C::Labeling, 1).Choice(3),
                                            QorvelPublish::Boolean("Transparent", &C::Transparent, false),
                                            QorvelPublish::Integer("Opacity", &C::Opacity, 65).Between(C::MinOpacity, C::MaxOpacity),
                                            QorvelPublish::Boolean("Antialiasing", &C::Antialiasing, true),
                                        });
  return cls;
}

int TRulerSettings::AlphaValue() const {
  if (!Transparent) return 256;
  // A damaged settings file must not make the window invisible beyond recovery or
  // overflow the arithmetic.
  return std::clamp(Opacity, 0, 100) * 256 / 100;
}

const TQorvelSettingsClass& TMagnifierPlacementSettings::StaticClass() {
  using C = TMagnifierPlacementSettings;
  static const TQorvelSettingsClass cls("TMagnifierPlacementSettings", &TQorvelCopyableSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Integer("Alignment", &C::Alignment, 1).Choice(4),
                                        });
  return cls;
}

const TQorvelSettingsClass& TMagnifierSettings::StaticClass() {
  using C = TMagnifierSettings;
  static const TQorvelSettingsClass cls("TMagnifierSettings", &TQorvelCopyableSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Boolean("Visible", &C::Visible, false),
                                            QorvelPublish::Integer("Zoom", &C::Zoom, 3).Between(C::MinZoom, C::MaxZoom),
                                            QorvelPublish::Integer("CrossHairs", &C::CrossHairs, 1).Choice(4),
                                            QorvelPublish::Child("Horizontal", &C::Horizontal),
                                            QorvelPublish::Child("Vertical", &C::Vertical),
                                        });
  return cls;
}

const TQorvelSettingsClass& TConfigurationSettings::StaticClass() {
  using C = TConfigurationSettings;
  static const TQorvelSettingsClass cls("TConfigurationSettings", &TQorvelCopyableSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::String("Name", &C::Name).AtMost(C::NameLength),
                                            QorvelPublish::Child("Ruler", &C::Ruler),
                                            QorvelPublish::Child("Magnifier", &C::Magnifier),
                                        });
  return cls;
}

// ---------------------------------------------------------------------------------------
// The root

const TQorvelSettingsClass& TApplicationSettings::StaticClass() {
  using C = TApplicationSettings;
  static const TQorvelSettingsClass cls("TApplicationSettings", &TQorvelTypicalApplicationSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Child("General", &C::General),
                                            QorvelPublish::Child("Startup", &C::Startup),
                                            QorvelPublish::Child("Horizontal", &C::Horizontal),
                                            QorvelPublish::Child("Vertical", &C::Vertical),
                                            QorvelPublish::Child("Handling", &C::Handling),
                                            QorvelPublish::Child("Colors", &C::Colors),
                                            QorvelPublish::Child("ColorPicker", &C::ColorPicker),
                                            QorvelPublish::Child("Parameters", &C::Parameters),
                                            QorvelPublish::Child("Window", &C::Window),
                                            QorvelPublish::Child("Hotkeys", &C::Hotkeys),
                                            QorvelPublish::Child("Measure", &C::Measure),
                                        });
  return cls;
}

void TApplicationSettings::AfterCreateChildren() {
  TQorvelTypicalApplicationSettings::AfterCreateChildren();
  for (TConfigurationSettings*& configuration : FConfigurations)
    configuration = TQorvelSettings::Create<TConfigurationSettings>(*this);
}

TConfigurationSettings* TApplicationSettings::Configurations(int index) const {
  if (index < 0 || index >= ConfigurationCount) ThrowIndexError("Configuration", index, ConfigurationCount);
  return FConfigurations[static_cast<std::size_t>(index)];
}

bool TApplicationSettings::ReadCustomElement(TQorvelSettingsReader& reader, const std::string& elementName,
                                             const std::u16string& nameAttribute) {
  return ReadNumberedElement(reader, elementName, nameAttribute, "configuration", ConfigurationCount,
                             [&](int index) { reader.ReadObject(elementName, *Configurations(index)); }) ||
         TQorvelTypicalApplicationSettings::ReadCustomElement(reader, elementName, nameAttribute);
}

void TApplicationSettings::WriteCustomElements(TQorvelSettingsWriter& writer) {
  TQorvelTypicalApplicationSettings::WriteCustomElements(writer);
  for (int i = 0; i < ConfigurationCount; ++i)
    writer.WriteObject("configuration", IndexAttribute(i), *Configurations(i));
}

void TApplicationSettings::SetDefaults() {
  TQorvelTypicalApplicationSettings::SetDefaults();

  // Configuration 0 keeps the class defaults; 1 is the same ruler in black; 2 a wide,
  // translucent silver ruler with the magnifier shown.
  Configurations(1)->Ruler->Color->Background = 0x000000;
  TConfigurationSettings& third = *Configurations(2);
  third.Ruler->Color->Background = 0xC0C0C0;
  third.Ruler->Width = 50;
  third.Ruler->Transparent = true;
  third.Magnifier->Visible = true;

  constexpr std::array<std::int32_t, TPresetsSettings::PresetCount> HorizontalLengths{400, 500, 640, 800, 1024};
  constexpr std::array<std::int32_t, TPresetsSettings::PresetCount> VerticalLengths{400, 480, 500, 600, 768};
  for (int i = 0; i < TPresetsSettings::PresetCount; ++i) {
    Horizontal->Presets->Preset(i)->Length = HorizontalLengths[static_cast<std::size_t>(i)];
    Vertical->Presets->Preset(i)->Length = VerticalLengths[static_cast<std::size_t>(i)];
  }
}
