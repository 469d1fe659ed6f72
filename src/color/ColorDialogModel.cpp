#include "color/ColorDialogModel.h"

#include <algorithm>
#include <stdexcept>

#include "ruler/QorvelColorUtils.h"

namespace {

constexpr const char* ComponentNames[ColorFieldCount] = {"hue", "saturation", "brightness", "red", "green", "blue"};
constexpr const char* FieldCaptions[ColorFieldCount] = {"H:", "S:", "B:", "R:", "G:", "B:"};
constexpr int FieldMaxima[ColorFieldCount] = {359, 100, 100, 255, 255, 255};

int FieldIndexChecked(int index) {
  if (index < 0 || index >= ColorFieldCount) throw std::out_of_range("No such colour field");
  return index;
}

bool IsHSBField(int index) { return index < 3; }

TColor PixelToColor(TPixel pixel) { return SwapRedBlue(pixel) & 0x00FFFFFFu; }

}  // namespace

const char* ColorComponentName(TQorvelColorComponent component) {
  return ComponentNames[FieldIndexChecked(static_cast<int>(component))];
}

std::string ValuesGroupCaption(TQorvelColorComponent component) {
  return std::string("Values (") + ColorComponentName(component) + ")";
}

const char* ColorFieldCaption(int index) { return FieldCaptions[FieldIndexChecked(index)]; }

int ColorFieldMax(int index) { return FieldMaxima[FieldIndexChecked(index)]; }

int HueToField(int hue) { return std::clamp(MulDiv(hue, 360, HueTurn), 0, 359); }
int PercentToField(int value) { return std::clamp(MulDiv(value, 100, HSBFull), 0, 100); }
int FieldToHue(int field) { return MulDiv(field, HueTurn, 360); }
int FieldToPercent(int field) { return MulDiv(field, HSBFull, 100); }

std::optional<THexFieldPaste> HexFieldPaste(std::string_view pasted) {
  std::string_view text = pasted;
  const auto space = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  const bool numberSign = !text.empty() && text.front() == '#';
  if (numberSign) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  std::string digits;
  for (char c : text) {
    const char upper = (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
    if (!((upper >= '0' && upper <= '9') || (upper >= 'A' && upper <= 'F'))) return std::nullopt;
    digits += upper;
  }
  if (digits.size() == 6) return THexFieldPaste{digits, true};
  if (numberSign && digits.size() == 3)  // CSS shorthand: each digit stands for two
    return THexFieldPaste{{digits[0], digits[0], digits[1], digits[1], digits[2], digits[2]}, true};
  if (numberSign || digits.size() > 6) return std::nullopt;  // a code of another kind
  return THexFieldPaste{digits, false};
}

void TQorvelColorDialogProperties::SetOpacity(int percent) { FOpacity = std::clamp(percent, 0, 100); }

std::string TQorvelColorDialogProperties::FormCaption() const {
  return Caption.empty() ? std::string("Select color") : Caption;
}

TColorFormModel::TColorFormModel(const TSetup& setup)
    : FColor(setup.Color & 0x00FFFFFFu),
      FInitialColor(setup.Color & 0x00FFFFFFu),
      FOpacity(std::clamp(setup.Opacity, 0, 100)),
      FInitialOpacity(FOpacity),
      FComponent(setup.Component),
      FShowOpacity(setup.ShowOpacity),
      FWebSafe(setup.WebSafe),
      FShowUserDefined(setup.ShowUserDefined) {
  Couple(FChart, FBar, TColorFormPart::Bar);
  Couple(FBar, FChart, TColorFormPart::Chart);
}

void TColorFormModel::Couple(TColorsControlModel& from, TColorsControlModel& to, TColorFormPart toPart) {
  from.OnChangeHSB = [this, &to, toPart](const TColorsControlModel&, int h, int s, int v) {
    if (to.SetHSB(h, s, v)) Invalidate(toPart);
    ShowHSB(h, s, v);
  };
  from.OnChangeRGB = [this, &to, toPart](const TColorsControlModel&, int r, int g, int b) {
    if (to.SetRGB(r, g, b)) Invalidate(toPart);
    ShowRGB(r, g, b);
  };
}

void TColorFormModel::Prepare(const std::array<TColor, UserColorSlotCount>& userColors) {
  if (FShowUserDefined) {
    FSlots = userColors;
    Invalidate(TColorFormPart::Slots);
  }
  FColor = PixelToColor(Filtered(ColorToPixel(FColor)));
  for (TColorsControlModel* control :
       {static_cast<TColorsControlModel*>(&FChart), static_cast<TColorsControlModel*>(&FBar)}) {
    control->SetComponent(FComponent);
    control->SetWebSafe(FWebSafe);
  }
  const TRGB rgb = SplitRGB(ColorToPixel(FColor));
  ChartsSetRGB(rgb.Red, rgb.Green, rgb.Blue);
  Invalidate(TColorFormPart::Caption);
  ShowRGB(rgb.Red, rgb.Green, rgb.Blue);
}

const TQorvelColorFilter* TColorFormModel::Filter() const { return FWebSafe ? &WebSafeColorFilter() : nullptr; }

void TColorFormModel::Invalidate(TColorFormPart part) const {
  if (OnInvalidate) OnInvalidate(part);
}

TPixel TColorFormModel::Filtered(TPixel pixel) const {
  if (const TQorvelColorFilter* filter = Filter()) filter->ApplyFilter(pixel, 0, 0);
  return pixel;
}

void TColorFormModel::ChartsSetHSB(int hue, int saturation, int brightness) {
  if (FChart.SetHSB(hue, saturation, brightness)) Invalidate(TColorFormPart::Chart);
  if (FBar.SetHSB(hue, saturation, brightness)) Invalidate(TColorFormPart::Bar);
}

void TColorFormModel::ChartsSetRGB(int red, int green, int blue) {
  if (FChart.SetRGB(red, green, blue)) Invalidate(TColorFormPart::Chart);
  if (FBar.SetRGB(red, green, blue)) Invalidate(TColorFormPart::Bar);
}

THSB TColorFormModel::HSBFromFields() const {
  // A field may briefly hold more than its limit while the user types.
  return {FieldToHue(std::clamp(FFields[0], 0, ColorFieldMax(0))),
          FieldToPercent(std::clamp(FFields[1], 0, ColorFieldMax(1))),
          FieldToPercent(std::clamp(FFields[2], 0, ColorFieldMax(2)))};
}

void TColorFormModel::WriteHSBFields(const THSB& hsb) {
  FFields[0] = HueToField(hsb.Hue);
  FFields[1] = PercentToField(hsb.Saturation);
  FFields[2] = PercentToField(hsb.Brightness);
  Invalidate(TColorFormPart::Fields);
}

void TColorFormModel::WriteRGBFields(const TRGB& rgb) {
  FFields[3] = rgb.Red;
  FFields[4] = rgb.Green;
  FFields[5] = rgb.Blue;
  Invalidate(TColorFormPart::Fields);
}

void TColorFormModel::ColorChanged() {
  Invalidate(TColorFormPart::Preview);
  Invalidate(TColorFormPart::Track);
  if (OnPreview) OnPreview(FColor);
}

void TColorFormModel::ShowHSB(int hue, int saturation, int brightness) {
  FTypedField = NoTypedField;
  if (Filter() != nullptr) {
    const THSB snapped = RGBToHSB(Filtered(HSBToRGB(hue, saturation, brightness)));
    hue = snapped.Hue, saturation = snapped.Saturation, brightness = snapped.Brightness;
  }
  WriteHSBFields({hue, saturation, brightness});
  ApplyHSB(hue, saturation, brightness);
}

void TColorFormModel::ApplyHSB(int hue, int saturation, int brightness) {
  FColor = PixelToColor(Filtered(HSBToRGB(hue, saturation, brightness)));
  const TPixel pixel = ColorToPixel(FColor);
  FHex = static_cast<int>(pixel);
  WriteRGBFields(SplitRGB(pixel));
  ColorChanged();
}

void TColorFormModel::ShowRGB(int red, int green, int blue) {
  FTypedField = NoTypedField;
  const TRGB rgb = SplitRGB(Filtered(PackRGB(red, green, blue)));
  WriteRGBFields(rgb);
  ApplyRGB(rgb.Red, rgb.Green, rgb.Blue);
}

void TColorFormModel::ApplyRGB(int red, int green, int blue) {
  const TPixel pixel = Filtered(PackRGB(red, green, blue));
  FColor = PixelToColor(pixel);
  FHex = static_cast<int>(pixel);
  WriteHSBFields(RGBToHSB(pixel));
  ColorChanged();
}

void TColorFormModel::ApplyHex(int value) {
  const TPixel pixel = Filtered(static_cast<TPixel>(value) & 0x00FFFFFFu);
  FColor = PixelToColor(pixel);
  WriteRGBFields(SplitRGB(pixel));
  WriteHSBFields(RGBToHSB(pixel));
  ColorChanged();
}

void TColorFormModel::FieldTyped(int index, int value) {
  FFields[static_cast<std::size_t>(FieldIndexChecked(index))] = value;
  FTypedField = index;
  TakeTypedColor(false);
}

void TColorFormModel::FieldLeft(int index) {
  // Only what the user typed is read back: a field that merely shows a colour chosen
  // elsewhere holds a rounded value, and reading it would move that colour.
  if (FieldIndexChecked(index) == FTypedField) TakeTypedColor(true);
}

void TColorFormModel::HexTyped(int value) {
  FHex = value;
  FTypedField = HexTypedField;
  TakeTypedColor(false);
}

void TColorFormModel::HexLeft() {
  if (FTypedField == HexTypedField) TakeTypedColor(true);
}

void TColorFormModel::TakeTypedColor(bool leaving) {
  if (IsHSBField(FTypedField)) {
    const THSB hsb = HSBFromFields();
    ChartsSetHSB(hsb.Hue, hsb.Saturation, hsb.Brightness);
    if (leaving)
      ShowHSB(hsb.Hue, hsb.Saturation, hsb.Brightness);
    else
      ApplyHSB(hsb.Hue, hsb.Saturation, hsb.Brightness);
    return;
  }
  const bool hexTyped = FTypedField == HexTypedField;
  const int hex = std::clamp(FHex, 0, HexFieldMax);
  const TRGB rgb =
      hexTyped ? SplitRGB(static_cast<TPixel>(hex))
               : TRGB{std::clamp(FFields[3], 0, 255), std::clamp(FFields[4], 0, 255), std::clamp(FFields[5], 0, 255)};
  ChartsSetRGB(rgb.Red, rgb.Green, rgb.Blue);
  if (leaving)
    ShowRGB(rgb.Red, rgb.Green, rgb.Blue);
  else if (hexTyped)
    ApplyHex(hex);
  else
    ApplyRGB(rgb.Red, rgb.Green, rgb.Blue);
}

void TColorFormModel::ComponentClicked(int index) {
  const auto component = static_cast<TQorvelColorComponent>(FieldIndexChecked(index));
  if (component == FComponent) return;
  FComponent = component;
  Invalidate(TColorFormPart::Caption);
  if (FChart.SetComponent(component)) Invalidate(TColorFormPart::Chart);
  if (FBar.SetComponent(component)) Invalidate(TColorFormPart::Bar);
}

void TColorFormModel::WebSafeClicked(bool checked) {
  FWebSafe = checked;
  if (FChart.SetWebSafe(checked)) Invalidate(TColorFormPart::Chart);
  if (FBar.SetWebSafe(checked)) Invalidate(TColorFormPart::Bar);
  const TRGB rgb = SplitRGB(ColorToPixel(FColor));
  ShowRGB(rgb.Red, rgb.Green, rgb.Blue);
}

void TColorFormModel::OpacityChanged(int position) {
  const int opacity = std::clamp(position, 0, 100);
  if (opacity == FOpacity) return;
  FOpacity = opacity;
  Invalidate(TColorFormPart::Preview);
}

void TColorFormModel::Revert() {
  FColor = FInitialColor;
  const TRGB rgb = SplitRGB(ColorToPixel(FColor));
  ChartsSetRGB(rgb.Red, rgb.Green, rgb.Blue);
  ShowRGB(rgb.Red, rgb.Green, rgb.Blue);
  FOpacity = FInitialOpacity;
  Invalidate(TColorFormPart::Track);
  Invalidate(TColorFormPart::Preview);
}

void TColorFormModel::SlotSet(int index) {
  if (index < 0 || index >= UserColorSlotCount) return;
  FSlots[static_cast<std::size_t>(index)] = FColor;
  Invalidate(TColorFormPart::Slots);
  if (OnSetUserColor) OnSetUserColor(index, FColor);
}

void TColorFormModel::SlotSelected(int index) {
  if (index < 0 || index >= UserColorSlotCount) return;
  ColorChosen(FSlots[static_cast<std::size_t>(index)]);
}

void TColorFormModel::ColorChosen(TColor color) {
  // A stored colour may be a system colour or carry a high byte; the form's colour is
  // always plain RGB, so the colour is taken as its three channels.
  FColor = color & 0x00FFFFFFu;
  const TRGB rgb = SplitRGB(ColorToPixel(FColor));
  ChartsSetRGB(rgb.Red, rgb.Green, rgb.Blue);
  ShowRGB(rgb.Red, rgb.Green, rgb.Blue);
}

void TColorFormModel::UserColorChanged(int index, TColor color) {
  if (index < 0 || index >= UserColorSlotCount) return;
  if (FSlots[static_cast<std::size_t>(index)] == color) return;
  FSlots[static_cast<std::size_t>(index)] = color;
  Invalidate(TColorFormPart::Slots);
}

TColorFormModel::TSetup ColorFormSetup(const TQorvelColorDialogProperties& dialog, TColor resolvedColor) {
  TColorFormModel::TSetup setup;
  setup.Color = resolvedColor & 0x00FFFFFFu;
  setup.Component = dialog.ColorComponent;
  setup.Opacity = dialog.Opacity();
  setup.ShowOpacity = dialog.Options.Contains(TQorvelColorDialogOption::pcoOpacity);
  setup.WebSafe = dialog.Options.Contains(TQorvelColorDialogOption::pcoWebSafe);
  setup.ShowUserDefined = dialog.Options.Contains(TQorvelColorDialogOption::pcoUserDefinedColors);
  return setup;
}

bool FinishColorDialog(TQorvelColorDialogProperties& dialog, const TColorFormModel& form, bool ok) {
  if (ok) {
    dialog.Color = form.Color();
    dialog.ColorComponent = form.Component();
    dialog.SetOpacity(form.Opacity());
  } else if (dialog.OnPreview) {
    dialog.OnPreview(&dialog, dialog.Color);
  }
  if (form.WebSafe())
    dialog.Options.Include(TQorvelColorDialogOption::pcoWebSafe);
  else
    dialog.Options.Exclude(TQorvelColorDialogOption::pcoWebSafe);
  return ok;
}
