#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "color/ColorDialogModel.h"
#include "ruler/QorvelColorUtils.h"

namespace {

using C = TQorvelColorComponent;
using P = TColorFormPart;
using Fields = std::array<int, ColorFieldCount>;

constexpr TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | g << 8 | b << 16); }

// A form as one run of the dialog sets it up, recording what it reports.
struct TFormProbe {
  explicit TFormProbe(TColor color, C component = C::pccHue, bool webSafe = false)
      : Form(Setup(color, component, webSafe)) {
    Form.OnPreview = [this](TColor c) { Previews.push_back(c); };
    Form.OnInvalidate = [this](P part) {
      Parts.push_back(part);
      // The window shows the fields when told; by then they must all be final.
      if (part == P::Fields) ShownHex = Form.HexField();
    };
    Form.OnSetUserColor = [this](int index, TColor c) { Stored.push_back({index, c}); };
    Form.Prepare({0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF});
    Parts.clear();
  }
  static TColorFormModel::TSetup Setup(TColor color, C component, bool webSafe) {
    TColorFormModel::TSetup setup;
    setup.Color = color;
    setup.Component = component;
    setup.WebSafe = webSafe;
    return setup;
  }
  bool Invalidated(P part) const { return std::find(Parts.begin(), Parts.end(), part) != Parts.end(); }

  TColorFormModel Form;
  std::vector<TColor> Previews;
  std::vector<P> Parts;
  std::vector<std::pair<int, TColor>> Stored;
  int ShownHex = -1;
};

TEST(ColorDialogFields, DisplayRoundingAndLimits) {
  EXPECT_EQ(HueToField(0), 0);
  EXPECT_EQ(HueToField(43690), 240);
  EXPECT_EQ(HueToField(65444), 359);
  EXPECT_EQ(HueToField(65445), 359);  // MulDiv gives 360; the field holds its limit
  EXPECT_EQ(HueToField(65535), 359);
  EXPECT_EQ(PercentToField(65536), 100);
  EXPECT_EQ(PercentToField(65280), 100);  // white's brightness from the gray rule
  EXPECT_EQ(PercentToField(327), 0);
  EXPECT_EQ(PercentToField(328), 1);  // 0.5005 rounds up
  EXPECT_EQ(FieldToHue(359), 65354);
  EXPECT_EQ(FieldToHue(180), 32768);
  EXPECT_EQ(FieldToPercent(100), 65536);
  EXPECT_EQ(FieldToPercent(33), 21627);
  EXPECT_EQ(ColorFieldMax(0), 359);
  EXPECT_EQ(ColorFieldMax(2), 100);
  EXPECT_EQ(ColorFieldMax(5), 255);
  EXPECT_THROW(ColorFieldMax(6), std::out_of_range);
  EXPECT_STREQ(ColorFieldCaption(2), "B:");
  EXPECT_STREQ(ColorFieldCaption(5), "B:");
  EXPECT_EQ(ValuesGroupCaption(C::pccBrightness), "Values (brightness)");
}

TEST(ColorDialogFields, EveryFieldValueSurvivesTheWayBack) {
  // A value typed into a field and read back through the model shows the same number.
  for (int hue = 0; hue <= 359; ++hue) ASSERT_EQ(HueToField(FieldToHue(hue)), hue);
  for (int percent = 0; percent <= 100; ++percent) ASSERT_EQ(PercentToField(FieldToPercent(percent)), percent);
}

TEST(ColorDialogFields, PastedColourCodesAsTheHexFieldReadsThem) {
  const auto whole = [](std::string_view pasted) {
    const auto paste = HexFieldPaste(pasted);
    return paste && paste->WholeCode ? paste->Digits : std::string("-");
  };
  EXPECT_EQ(whole("ff8800"), "FF8800");
  EXPECT_EQ(whole("#FF8800"), "FF8800");
  EXPECT_EQ(whole("#f80"), "FF8800");
  EXPECT_EQ(whole("  #aBc012 \r\n"), "ABC012");
  EXPECT_EQ(whole("\t0f0\n"), "-");  // without "#" three digits are only digits
  for (std::string_view refused :
       {"", "  ", "#", "orange", "#12345", "1234567", "#ff88001", "ff 88 00", "0xFF8800", "##f80"})
    EXPECT_FALSE(HexFieldPaste(refused).has_value()) << refused;
  const auto partial = HexFieldPaste(" 0f0 ");
  ASSERT_TRUE(partial.has_value());
  EXPECT_EQ(partial->Digits, "0F0");
  EXPECT_FALSE(partial->WholeCode);
}

TEST(ColorDialogForm, WhiteRedAndBlueShowTheirValues) {
  TFormProbe white(0xFFFFFF);
  EXPECT_EQ(white.Form.Fields(), (Fields{0, 0, 100, 255, 255, 255}));
  EXPECT_EQ(white.Form.HexField(), 0xFFFFFF);
  EXPECT_EQ(white.Form.Chart().PosY(), 255);  // marker at the top
  ASSERT_EQ(white.Previews.size(), 1u);       // the first preview while preparing
  EXPECT_EQ(white.Previews[0], 0xFFFFFFu);

  // Moving the hue bar recomputes the colour from brightness 65280.
  white.Form.Bar().MouseDown(12, 100);
  EXPECT_EQ(white.Form.Color(), Rgb(254, 254, 254));
  EXPECT_EQ(white.Form.Fields(), (Fields{HueToField(white.Form.Bar().Values().HSB.Hue), 0, 100, 254, 254, 254}));
  EXPECT_EQ(white.Previews.back(), Rgb(254, 254, 254));

  TFormProbe red(Rgb(255, 0, 0));
  EXPECT_EQ(red.Form.Fields(), (Fields{0, 100, 100, 255, 0, 0}));
  EXPECT_EQ(red.Form.HexField(), 0xFF0000);
  EXPECT_EQ(red.ShownHex, 0xFF0000);
  red.Form.Chart().MouseDown(100, 100);
  EXPECT_EQ(red.ShownHex, red.Form.HexField());
  red.Form.FieldTyped(4, 99);
  EXPECT_EQ(red.ShownHex, red.Form.HexField());
  TFormProbe blue(Rgb(0, 0, 255));
  EXPECT_EQ(blue.Form.Fields()[0], 240);
  EXPECT_EQ(blue.Form.HexField(), 0x0000FF);

  blue.Form.ShowHSB(65535, 65536, 65536);
  EXPECT_EQ(blue.Form.Fields()[0], 359);
}

TEST(ColorDialogForm, HueBarTopIsTheRedOfItsBottom) {
  TFormProbe probe(Rgb(0, 255, 0));
  probe.Form.Bar().MouseDown(12, 256);  // bottom
  const TColor bottom = probe.Form.Color();
  probe.Form.Bar().MouseMove(12, 1);  // top
  EXPECT_EQ(probe.Form.Color(), bottom);
  EXPECT_EQ(bottom, Rgb(255, 0, 0));
  EXPECT_EQ(probe.Form.Fields()[0], 0);
}

TEST(ColorDialogForm, ChartDragFeedsBarFieldsAndPreviewButNotAFullChartRepaint) {
  TFormProbe probe(Rgb(40, 80, 120));
  probe.Form.Chart().MouseDown(256, 1);  // full saturation and brightness of the hue
  const THSB hsb = probe.Form.Chart().Values().HSB;
  EXPECT_EQ(probe.Form.Bar().Values().HSB, hsb);
  EXPECT_EQ(probe.Form.Color(), SwapRedBlue(HSBToRGB(hsb.Hue, hsb.Saturation, hsb.Brightness)));
  EXPECT_EQ(probe.Form.Fields()[1], 100);
  EXPECT_EQ(probe.Form.Fields()[2], 100);
  EXPECT_EQ(probe.Previews.back(), probe.Form.Color());
  EXPECT_FALSE(probe.Invalidated(P::Chart));  // the chart repaints its marker areas itself
  EXPECT_TRUE(probe.Invalidated(P::Bar));
  EXPECT_TRUE(probe.Invalidated(P::Preview));

  // An RGB component reports through the other event and keeps exact channels.
  probe.Form.ComponentClicked(static_cast<int>(C::pccGreen));
  probe.Parts.clear();
  probe.Form.Chart().MouseDown(11, 236);  // red 10, blue 20
  EXPECT_EQ(probe.Form.Fields()[3], 10);
  EXPECT_EQ(probe.Form.Fields()[5], 20);
  EXPECT_EQ(probe.Form.Bar().Values().RGB, probe.Form.Chart().Values().RGB);
  EXPECT_FALSE(probe.Invalidated(P::Chart));
}

TEST(ColorDialogForm, TypingKeepsTheTypedFieldAndLeavingNormalisesIt) {
  TFormProbe probe(Rgb(10, 20, 30));
  probe.Form.FieldTyped(0, 400);  // beyond the limit while typing: counts as 359
  EXPECT_EQ(probe.Form.Fields()[0], 400);
  EXPECT_EQ(probe.Form.Chart().Values().HSB.Hue, FieldToHue(359));
  EXPECT_TRUE(probe.Invalidated(P::Chart));
  probe.Form.FieldLeft(0);
  EXPECT_EQ(probe.Form.Fields()[0], 359);

  TFormProbe typed(Rgb(10, 20, 30));
  typed.Form.FieldTyped(3, 200);
  EXPECT_EQ(typed.Form.Color(), Rgb(200, 20, 30));
  EXPECT_EQ(typed.Form.Fields()[3], 200);
  EXPECT_EQ(typed.Form.HexField(), 0xC8141E);
  EXPECT_EQ(typed.Form.Chart().Values().RGB, (TRGB{200, 20, 30}));
  const THSB hsb = RGBToHSB(PackRGB(200, 20, 30));
  EXPECT_EQ(typed.Form.Fields()[0], HueToField(hsb.Hue));
  EXPECT_EQ(typed.Previews.back(), Rgb(200, 20, 30));
}

TEST(ColorDialogForm, LeavingAFieldThatWasNotTypedInKeepsTheChosenColour) {
  // The hue field has the focus while the user clicks the chart, then OK takes it away:
  // the rounded fields must not replace the colour the preview showed.
  TFormProbe probe(Rgb(0x33, 0x66, 0xCC));
  probe.Form.Chart().MouseDown(129, 65);
  const TColor chosen = probe.Form.Color();
  EXPECT_NE(SwapRedBlue(HSBToRGB(FieldToHue(probe.Form.Fields()[0]), FieldToPercent(probe.Form.Fields()[1]),
                                 FieldToPercent(probe.Form.Fields()[2]))),
            chosen);  // the fields alone would give another colour
  const std::size_t previews = probe.Previews.size();
  probe.Form.FieldLeft(0);
  probe.Form.FieldLeft(4);
  probe.Form.HexLeft();
  EXPECT_EQ(probe.Form.Color(), chosen);
  EXPECT_EQ(probe.Previews.size(), previews);

  probe.Form.FieldTyped(1, 40);
  probe.Form.Bar().MouseDown(12, 30);  // the colour comes from elsewhere again
  const TColor fromBar = probe.Form.Color();
  probe.Form.FieldLeft(1);
  EXPECT_EQ(probe.Form.Color(), fromBar);
}

TEST(ColorDialogForm, HexFieldKeepsWhatIsTypedAndDrivesTheRest) {
  TFormProbe probe(0);
  probe.Form.HexTyped(0x12);  // the user is still typing "12"
  EXPECT_EQ(probe.Form.HexField(), 0x12);
  EXPECT_EQ(probe.Form.Color(), Rgb(0, 0, 0x12));
  EXPECT_EQ(probe.Form.Fields(), (Fields{240, 100, PercentToField(0x12 * 65536 / 255), 0, 0, 0x12}));
  probe.Form.HexTyped(0xFF8000);
  EXPECT_EQ(probe.Form.Color(), Rgb(255, 128, 0));
  EXPECT_EQ(probe.Form.Chart().Values().RGB, (TRGB{255, 128, 0}));
  probe.Form.HexLeft();
  EXPECT_EQ(probe.Form.HexField(), 0xFF8000);
  EXPECT_EQ(probe.Form.Fields()[3], 255);
}

TEST(ColorDialogForm, WebSafeSnapsTypedValuesAndTheFieldsFollowOnExit) {
  TFormProbe probe(Rgb(1, 2, 3));
  probe.Form.WebSafeClicked(true);
  EXPECT_EQ(probe.Form.Color(), 0u);
  EXPECT_TRUE(probe.Invalidated(P::Chart));
  probe.Form.FieldTyped(3, 30);
  probe.Form.FieldTyped(4, 130);
  probe.Form.FieldTyped(5, 230);
  EXPECT_EQ(probe.Form.Color(), Rgb(51, 153, 255));
  EXPECT_EQ(probe.Previews.back(), Rgb(51, 153, 255));
  EXPECT_EQ(probe.Form.HexField(), 0x3399FF);
  EXPECT_EQ(probe.Form.Fields()[3], 30);  // fields keep the typed values until left
  probe.Form.FieldLeft(5);
  EXPECT_EQ(probe.Form.Fields()[3], 51);
  EXPECT_EQ(probe.Form.Fields()[4], 153);
  EXPECT_EQ(probe.Form.Fields()[5], 255);
  probe.Form.WebSafeClicked(false);
  EXPECT_EQ(probe.Form.Color(), Rgb(51, 153, 255));  // the typed values do not come back
  EXPECT_EQ(probe.Form.Fields()[3], 51);

  // A web-safe start snaps the initial colour; HSB from a chart drag snap as well.
  TFormProbe snapped(Rgb(30, 130, 230), C::pccHue, true);
  EXPECT_EQ(snapped.Form.Color(), Rgb(51, 153, 255));
  EXPECT_EQ(snapped.Form.InitialColor(), Rgb(30, 130, 230));
  snapped.Form.Chart().MouseDown(100, 100);
  const TRGB rgb = SplitRGB(ColorToPixel(snapped.Form.Color()));
  for (int channel : {rgb.Red, rgb.Green, rgb.Blue}) EXPECT_EQ(channel % 51, 0);
}

TEST(ColorDialogForm, ComponentRevertOpacityAndSlots) {
  TFormProbe probe(Rgb(90, 60, 30));
  probe.Form.ComponentClicked(static_cast<int>(C::pccSaturation));
  EXPECT_EQ(probe.Form.GroupCaption(), "Values (saturation)");
  EXPECT_EQ(probe.Form.Chart().Component(), C::pccSaturation);
  EXPECT_EQ(probe.Form.Bar().Component(), C::pccSaturation);
  EXPECT_TRUE(probe.Invalidated(P::Caption));

  probe.Form.FieldTyped(4, 250);
  probe.Form.OpacityChanged(40);
  EXPECT_EQ(probe.Form.PreviewOpacity(), 102);
  probe.Form.Revert();
  EXPECT_EQ(probe.Form.Color(), Rgb(90, 60, 30));
  EXPECT_EQ(probe.Form.Fields()[4], 60);
  EXPECT_EQ(probe.Form.Opacity(), 100);
  EXPECT_EQ(probe.Form.Chart().Values().RGB, (TRGB{90, 60, 30}));
  EXPECT_EQ(probe.Previews.back(), Rgb(90, 60, 30));

  probe.Form.SlotSet(2);
  EXPECT_EQ(probe.Form.SlotColor(2), Rgb(90, 60, 30));
  ASSERT_EQ(probe.Stored.size(), 1u);
  EXPECT_EQ(probe.Stored[0], (std::pair<int, TColor>{2, Rgb(90, 60, 30)}));
  probe.Form.SlotSelected(3);
  EXPECT_EQ(probe.Form.Color(), 0xC0C0C0u);
  EXPECT_EQ(probe.Form.Bar().Values().RGB, (TRGB{192, 192, 192}));
  probe.Form.UserColorChanged(4, Rgb(1, 2, 3));
  EXPECT_EQ(probe.Form.SlotColor(4), Rgb(1, 2, 3));
  probe.Form.UserColorChanged(5, 0);  // beyond the five slots: ignored
  probe.Form.UserColorChanged(-1, 0);
  EXPECT_EQ(probe.Form.SlotColor(0), 0u);
}

TEST(ColorDialogResult, CancelRestoresTheOwnersColourAndOkReturnsPlainRgb) {
  TQorvelColorDialogProperties dialog;
  dialog.Color = clBtnFace;  // a system colour
  dialog.SetOpacity(150);
  EXPECT_EQ(dialog.Opacity(), 100);
  dialog.SetOpacity(70);
  std::vector<TColor> previews;
  dialog.OnPreview = [&](const void*, TColor c) { previews.push_back(c); };
  EXPECT_EQ(dialog.FormCaption(), "Select color");

  TColorFormModel form(ColorFormSetup(dialog, 0xF0F0F0));
  EXPECT_FALSE(form.ShowOpacity());
  EXPECT_TRUE(form.ShowUserDefined());
  form.Prepare();
  form.FieldTyped(3, 10);
  form.WebSafeClicked(true);
  EXPECT_FALSE(FinishColorDialog(dialog, form, false));
  ASSERT_EQ(previews.size(), 1u);
  EXPECT_EQ(previews[0], clBtnFace);  // a system colour stays a system colour
  EXPECT_EQ(dialog.Color, clBtnFace);
  EXPECT_EQ(dialog.Opacity(), 70);
  EXPECT_TRUE(dialog.Options.Contains(TQorvelColorDialogOption::pcoWebSafe));

  TColorFormModel second(ColorFormSetup(dialog, 0xF0F0F0));
  EXPECT_TRUE(second.WebSafe());
  second.Prepare();
  second.WebSafeClicked(false);
  second.FieldTyped(3, 10);
  second.ComponentClicked(5);
  EXPECT_TRUE(FinishColorDialog(dialog, second, true));
  EXPECT_EQ(dialog.Color, Rgb(10, 255, 255));
  EXPECT_EQ(dialog.ColorComponent, C::pccBlue);
  EXPECT_EQ(dialog.Opacity(), 70);  // unchanged without the opacity option
  EXPECT_FALSE(dialog.Options.Contains(TQorvelColorDialogOption::pcoWebSafe));
  EXPECT_EQ(previews.size(), 1u);
}

}  // namespace
