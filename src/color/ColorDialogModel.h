#pragma once
// The colour selection dialog without its windows: the dialog's published properties, the
// numeric fields with their display rounding and limits, and the form's state with every
// reaction of its controls to each other. The Win32 form only forwards its controls'
// events here and shows what the model asks for, so the whole wiring is testable on the
// host.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "color/ColorChart.h"
#include "color/BoxControlRendering.h"
#include "color/QorvelColorModel.h"
#include "settings/ApplicationSettings.h"
#include "base/QorvelTypes.h"

enum class TQorvelColorDialogOption { pcoOpacity, pcoWebSafe, pcoUserDefinedColors };
using TQorvelColorDialogOptions = TQorvelSet<TQorvelColorDialogOption>;

// Sender is the dialog (or whoever fires it); Color a TColor.
using TQorvelColorEvent = std::function<void(const void* sender, TColor color)>;

inline constexpr int ColorFieldCount = 6;  // hue, saturation, brightness, red, green, blue
inline constexpr int UserColorSlotCount = 5;
inline constexpr int HexFieldMax = 0xFFFFFF;

// What people paste into the hex field, read the way they mean it: a colour code in either
// case, with or without "#", as CSS shorthand ("#f80") or with spaces around, becomes the
// field's six upper-case digits in place of the whole text; bare hex digits of another
// count are a partial edit and go in upper case where the selection is. Anything else is
// not for this field (nullopt), so the field keeps showing the colour.
struct THexFieldPaste {
  std::string Digits;
  bool WholeCode = false;  // replaces the field's whole text
};
std::optional<THexFieldPaste> HexFieldPaste(std::string_view pasted);

// "hue" ... "blue": the component's name in the values group's caption.
const char* ColorComponentName(TQorvelColorComponent component);
// "Values (hue)" and so on.
std::string ValuesGroupCaption(TQorvelColorComponent component);
// "H:", "S:", "B:", "R:", "G:", "B:".
const char* ColorFieldCaption(int index);
// 359 for the hue field, 100 for saturation and brightness, 255 for the channels.
int ColorFieldMax(int index);

// Model value -> what a field shows: rounded to nearest and held within the field's limits
// (so hues from 65445 up show 359).
int HueToField(int hue);
int PercentToField(int value);
// What a field holds -> model value.
int FieldToHue(int field);
int FieldToPercent(int field);

// The published properties of the dialog, and what one run does with them at its start
// and end. The window part adds Execute.
class TQorvelColorDialogProperties {
 public:
  TQorvelColorDialogProperties() = default;

  TColor Color = 0;
  TQorvelColorComponent ColorComponent = TQorvelColorComponent::pccHue;
  std::string Caption;
  TQorvelColorDialogOptions Options{TQorvelColorDialogOption::pcoUserDefinedColors};
  TQorvelBoxControlLook Look = TQorvelBoxControlLook::pclRoundedRect;
  TQorvelColorEvent OnPreview;

  int Opacity() const { return FOpacity; }
  void SetOpacity(int percent);

  // The window's caption: Caption, or "Select color" when it is empty.
  std::string FormCaption() const;

 private:
  int FOpacity = 100;
};

// Which part of the form must be shown anew after a model change.
enum class TColorFormPart {
  Chart,    // repaint the whole chart
  Bar,      // repaint the whole bar
  Preview,  // preview colours or opacities changed
  Fields,   // one or more of the six fields or the hex field hold new values
  Track,    // the opacity track shows the colour, or its position moved
  Caption,  // the values group's caption
  Slots,    // a user-defined colour slot changed
};

class TColorFormModel {
 public:
  struct TSetup {
    TColor Color = 0;  // already resolved to RGB
    TQorvelColorComponent Component = TQorvelColorComponent::pccHue;
    int Opacity = 100;
    bool ShowOpacity = false;
    bool WebSafe = false;
    bool ShowUserDefined = true;
  };
  explicit TColorFormModel(const TSetup& setup);
  TColorFormModel(const TColorFormModel&) = delete;
  TColorFormModel& operator=(const TColorFormModel&) = delete;

  // Callbacks, set before Prepare.
  std::function<void(TColor color)> OnPreview;                  // every colour change
  std::function<void(TColorFormPart part)> OnInvalidate;        // what the window must show anew
  std::function<void(int index, TColor color)> OnSetUserColor;  // a slot's "set" half

  // Fills every control from the initial state; fires the first preview. The slots get
  // their colours from `userColors` when the form shows them.
  void Prepare(const std::array<TColor, UserColorSlotCount>& userColors = {});

  TColor Color() const { return FColor; }  // always an RGB value
  TColor InitialColor() const { return FInitialColor; }
  int Opacity() const { return FOpacity; }  // percent
  int InitialOpacity() const { return FInitialOpacity; }
  TQorvelColorComponent Component() const { return FComponent; }
  bool WebSafe() const { return FWebSafe; }
  bool ShowOpacity() const { return FShowOpacity; }
  bool ShowUserDefined() const { return FShowUserDefined; }
  // The web-safe filter while the option is on, else null.
  const TQorvelColorFilter* Filter() const;

  // What the fields show: hue, saturation, brightness, red, green, blue, and the hex code.
  const std::array<int, ColorFieldCount>& Fields() const { return FFields; }
  int HexField() const { return FHex; }
  std::string GroupCaption() const { return ValuesGroupCaption(FComponent); }

  TColorChartModel& Chart() { return FChart; }
  TColorBarModel& Bar() { return FBar; }
  const TColorChartModel& Chart() const { return FChart; }
  const TColorBarModel& Bar() const { return FBar; }
  // Preview opacities are 0..256.
  int PreviewOpacity() const { return FOpacity * 256 / 100; }
  int PreviewInitialOpacity() const { return FInitialOpacity * 256 / 100; }
  TColor SlotColor(int index) const { return FSlots.at(static_cast<std::size_t>(index)); }

  // Reactions of the form to its controls.
  void FieldTyped(int index, int value);  // one of the six fields while the user types
  // Leaving a field the user typed in shows its value everywhere; leaving one that was not
  // typed in changes nothing.
  void FieldLeft(int index);
  void HexTyped(int value);
  void HexLeft();
  void ComponentClicked(int index);
  void WebSafeClicked(bool checked);
  void OpacityChanged(int position);
  void Revert();
  void SlotSet(int index);
  void SlotSelected(int index);
  // A colour from elsewhere (the contrast's swap): charts, fields and preview follow.
  void ColorChosen(TColor color);
  // A change announced by the colour definition service; indexes beyond the slots are
  // ignored.
  void UserColorChanged(int index, TColor color);

  // The form's colour changes as the dialog reports them (ShowHSB/ApplyHSB and so on);
  // public for the chart's and bar's events and for tests.
  void ShowHSB(int hue, int saturation, int brightness);
  void ApplyHSB(int hue, int saturation, int brightness);
  void ShowRGB(int red, int green, int blue);
  void ApplyRGB(int red, int green, int blue);
  void ApplyHex(int value);

 private:
  // A colour picked on `from` moves the marker of `to` and becomes the form's colour.
  void Couple(TColorsControlModel& from, TColorsControlModel& to, TColorFormPart toPart);
  void Invalidate(TColorFormPart part) const;
  void ChartsSetHSB(int hue, int saturation, int brightness);
  void ChartsSetRGB(int red, int green, int blue);
  THSB HSBFromFields() const;
  TPixel Filtered(TPixel pixel) const;
  void WriteHSBFields(const THSB& hsb);
  void WriteRGBFields(const TRGB& rgb);
  void ColorChanged();  // preview, track and the preview event
  // The colour of the field the user typed in, held within the fields' limits, goes to the
  // charts and then to the form: applied while typing (the fields keep what was typed), or
  // shown in every field on leaving.
  void TakeTypedColor(bool leaving);

  TColorChartModel FChart;
  TColorBarModel FBar;
  TColor FColor;
  TColor FInitialColor;
  int FOpacity;
  int FInitialOpacity;
  TQorvelColorComponent FComponent;
  bool FShowOpacity;
  bool FWebSafe;
  bool FShowUserDefined;
  std::array<int, ColorFieldCount> FFields{};
  int FHex = 0;
  // The field the user typed in since the colour last came from elsewhere.
  static constexpr int NoTypedField = -1;
  static constexpr int HexTypedField = ColorFieldCount;
  int FTypedField = NoTypedField;
  std::array<TColor, UserColorSlotCount> FSlots{};
};

// Setup of the form for one run of `dialog`; `resolvedColor` is the dialog's Color with a
// system colour already resolved.
TColorFormModel::TSetup ColorFormSetup(const TQorvelColorDialogProperties& dialog, TColor resolvedColor);

// The end of one run: on OK the dialog takes the form's colour, component and opacity;
// on Cancel it reports its own unchanged Color through OnPreview, so the owner shows its
// initial colour again (a system colour stays one). Either way pcoWebSafe follows the
// form. Answers `ok`.
bool FinishColorDialog(TQorvelColorDialogProperties& dialog, const TColorFormModel& form, bool ok);
