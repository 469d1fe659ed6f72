#include "controls/TrackBarLayout.h"

#include <gtest/gtest.h>

namespace {

const TQorvelNumberFormat kFormat{'.', ","};

std::string Text(TQorvelLabelMode mode, double param, int position, TQorvelLabelOptions options = ploVisible) {
  return TQorvelLabelScale{mode, param}.Text(position, options, kFormat);
}

TEST(LabelModes, ValueTexts) {
  EXPECT_EQ(Text(plmPos, 1, 65), "65");
  EXPECT_EQ(Text(plmPos, 1, -3), "-3");
  EXPECT_EQ(Text(plmMul, 0.5, 3), "1.5");
  EXPECT_EQ(Text(plmMul, 1000000, 50), "5E+07");
  EXPECT_EQ(Text(plmDiv, 100, 12345), "123.45");
  EXPECT_EQ(Text(plmDiv, 4, 1), "0.3");  // one decimal for a parameter between 1 and 10
  EXPECT_EQ(Text(plmDiv, 1, 1234567), "1,234,567");
  EXPECT_EQ(Text(plmShl, 2, 3), "300");
  EXPECT_EQ(Text(plmShr, 1, 15), "1.5");
  EXPECT_EQ(Text(plmShr, 3, -12345), "-12.345");
  EXPECT_EQ(Text(plmBin, 1, 10), "1024");
  EXPECT_EQ(Text(plmBin, 3, 2), "12");
  EXPECT_EQ(Text(plmInv, 1, 4), "0.250");  // decimals grow with the position
  EXPECT_EQ(Text(plmInv, 1000, 4), "250");
  EXPECT_EQ(Text(plmLog, 10, 100), "2.00");
  EXPECT_EQ(Text(plmExp, 2, 10), "1,024");
  EXPECT_EQ(Text(plmSqr, 1, -7), "49");
  EXPECT_EQ(Text(plmAdd, 0.5, 2), "2.5");
  EXPECT_EQ(Text(plmSub, 10, 3), "7");

  EXPECT_EQ(FormatNumber(-1234.5, 1, kFormat), "-1,234.5");
  EXPECT_EQ(FormatNumber(999999.996, 2, kFormat), "1,000,000.00");
  TQorvelNumberFormat german{',', "."};
  EXPECT_EQ((TQorvelLabelScale{plmDiv, 10}).Text(12345, ploVisible, german), "1.234,5");
}

TEST(LabelModes, ImpossibleValuesAndParameters) {
  EXPECT_EQ(Text(plmInv, 1, 0), "inf.");
  EXPECT_EQ(Text(plmLog, 10, 0), "undef.");
  EXPECT_EQ(Text(plmLog, 10, -4), "undef.");
  EXPECT_EQ(Text(plmLog, 1, 5), "undef.");  // no logarithm to base 1
  EXPECT_EQ(Text(plmShl, 12, 3), "***");
  EXPECT_EQ(Text(plmShr, -1, 3), "***");
  EXPECT_EQ(Text(plmBin, 11, 3), "***");
  EXPECT_EQ(Text(plmBin, 1, -1), "***");  // no shift by a negative count
  EXPECT_EQ(Text(plmBin, 1, 64), "***");  // nor beyond the 64 bits
  EXPECT_EQ(Text(plmDiv, 0, 3), "***");
  EXPECT_EQ(Text(plmInv, 2000000, 3), "***");
  EXPECT_EQ(Text(plmLog, 1001, 3), "***");
  EXPECT_EQ(Text(plmExp, 0.5, 3), "***");     // shown only for bases from 1
  EXPECT_EQ(Text(plmExp, 1000, 200), "***");  // beyond the double range
  EXPECT_EQ((TQorvelLabelScale{plmDiv, -1}).ValueOf(5), TQorvelLabelScale::kInvalidValue);
  EXPECT_EQ((TQorvelLabelScale{plmExp, 0.5}).ValueOf(1), 0.5);  // but a value exists
}

TEST(LabelModes, SignDecoration) {
  const TQorvelLabelOptions pm = ploVisible | ploPlusMinusZero, sign = ploVisible | ploExplicitSign;
  EXPECT_EQ(Text(plmPos, 1, 0, pm),
            "\xC2\xB1"
            "0");
  EXPECT_EQ(Text(plmPos, 1, 5, sign), "+5");
  EXPECT_EQ(Text(plmPos, 1, 0, sign), "0");
  EXPECT_EQ(Text(plmPos, 1, -5, sign | pm), "-5");
  EXPECT_EQ(Text(plmLog, 10, 1, pm),
            "\xC2\xB1"
            "0.00");
  EXPECT_EQ(Text(plmAdd, -2, 2, pm),
            "\xC2\xB1"
            "0");
  EXPECT_EQ(Text(plmSub, 2, 2, pm),
            "\xC2\xB1"
            "0");
  EXPECT_EQ(Text(plmBin, 1, 0, pm), "1");  // never zero
  // A positive position with a negative value keeps its own sign only.
  EXPECT_EQ(Text(plmSub, 2, 5, sign), "-3");
}

TEST(LabelModes, PositionsOfValuesInvertTheModes) {
  struct TCase {
    TQorvelLabelMode Mode;
    double Param;
    int Position;
  };
  for (const TCase& c : {TCase{plmPos, 1, 42},
                         {plmMul, 2.5, 8},
                         {plmDiv, 100, 350},
                         {plmShl, 2, 7},
                         {plmShr, 3, -1250},
                         {plmBin, 3, 5},
                         {plmInv, 100, 8},
                         {plmLog, 2, 16},
                         {plmExp, 2, 9},
                         {plmSqr, 1, 12},
                         {plmAdd, 10, -4},
                         {plmSub, 10, 4}}) {
    const TQorvelLabelScale scale{c.Mode, c.Param};
    EXPECT_EQ(scale.PositionOf(scale.ValueOf(c.Position)), c.Position) << "mode " << c.Mode;
  }
  EXPECT_EQ((TQorvelLabelScale{plmPos, 1}).PositionOf(2.5), 2);  // ties to even
  EXPECT_EQ((TQorvelLabelScale{plmPos, 1}).PositionOf(3.5), 4);
  for (const TQorvelLabelScale& invalid : {TQorvelLabelScale{plmInv, 1}, TQorvelLabelScale{plmSqr, 1}})
    EXPECT_EQ(invalid.PositionOf(invalid.Mode == plmInv ? 0.0 : -4.0), TQorvelLabelScale::kInvalidPosition);
  EXPECT_EQ((TQorvelLabelScale{plmMul, 0}).PositionOf(3), TQorvelLabelScale::kInvalidPosition);
  EXPECT_EQ((TQorvelLabelScale{plmPos, 1}).PositionOf(1e12), TQorvelLabelScale::kInvalidPosition);
}

TEST(LabelModes, EditorKind) {
  EXPECT_FALSE((TQorvelLabelScale{plmShl, 2}).Editor(1, 9).Float);
  const auto div = TQorvelLabelScale{plmDiv, 100}.Editor(0, 1000);
  EXPECT_TRUE(div.Float);
  EXPECT_EQ(div.Decimals, 2);
  EXPECT_EQ((TQorvelLabelScale{plmShr, 3}).Editor(0, 10).Decimals, 3);
  EXPECT_EQ((TQorvelLabelScale{plmInv, 1}).Editor(-200, 100).Decimals, 4);  // from abs(-200)
  EXPECT_EQ((TQorvelLabelScale{plmLog, 10}).Editor(1, 100).Decimals, 2);
}

TEST(LabelText, PlaceholderIsReplacedInAnyCase) {
  std::string prefix;
  bool found = false;
  EXPECT_EQ(ReplacePosPlaceholder("Zoom: <pos>%", "300", &prefix, &found), "Zoom: 300%");
  EXPECT_EQ(prefix, "Zoom: ");
  EXPECT_TRUE(found);
  EXPECT_EQ(ReplacePosPlaceholder("<POS> of <Pos>", "3"), "3 of 3");
  EXPECT_EQ(ReplacePosPlaceholder("Opacity", "3", &prefix, &found), "Opacity");
  EXPECT_FALSE(found);
  EXPECT_EQ(ReplacePosPlaceholder("<pos", "3"), "<pos");
}

TEST(LabelText, CopiedTextsPasteBack) {
  EXPECT_EQ(ParseLabelValue("300", kFormat), 300.0);
  EXPECT_EQ(ParseLabelValue(" +5 ", kFormat), 5.0);
  EXPECT_EQ(ParseLabelValue("\xC2\xB1"
                            "0",
                            kFormat),
            0.0);
  EXPECT_EQ(ParseLabelValue("1,234,567.5", kFormat), 1234567.5);
  EXPECT_EQ(ParseLabelValue("inf.", kFormat), std::nullopt);
  EXPECT_EQ(ParseLabelValue("five", kFormat), std::nullopt);
}

TEST(TrackRange, SettersKeepTheRangeConsistent) {
  TQorvelTrackRange range;
  EXPECT_TRUE(range.SetPosition(70));
  EXPECT_FALSE(range.SetPosition(70));
  EXPECT_TRUE(range.SetPosition(500));
  EXPECT_EQ(range.Position(), 100);
  range.SetDefaultPosition(20);
  EXPECT_TRUE(range.SetMin(150));  // raises Max, pulls both positions along
  EXPECT_EQ(range.Max(), 150);
  EXPECT_EQ(range.Position(), 150);
  EXPECT_EQ(range.DefaultPosition(), 150);
  EXPECT_TRUE(range.SetMax(-10));
  EXPECT_EQ(range.Min(), -10);
  EXPECT_EQ(range.Position(), -10);

  TQorvelTrackRange steps;
  steps.SetSmallChange(500);
  EXPECT_EQ(steps.SmallChange(), 100);
  steps.SetSmallChange(0);
  EXPECT_EQ(steps.SmallChange(), 1);
  steps.SetMax(0);
  steps.SetSmallChange(5);
  EXPECT_EQ(steps.SmallChange(), 1);
}

TEST(BarGeometry, ThumbOfAHorizontalBar) {
  TQorvelBarLayout bar;  // 120 x 32, no label
  TQorvelTrackRange range;
  range.SetPosition(50);
  EXPECT_EQ(bar.ThumbTopLeft(range), (TPoint{48, 8}));  // 47.5 rounds up
  range.SetPosition(0);
  EXPECT_EQ(bar.ThumbTopLeft(range).X, 0);
  range.SetPosition(100);
  EXPECT_EQ(bar.ThumbTopLeft(range).X, 95);
  TQorvelTrackRange symmetric;
  symmetric.SetMin(-10);
  symmetric.SetMax(10);
  symmetric.SetPosition(0);
  EXPECT_EQ(bar.ThumbTopLeft(symmetric).X, 48);
  symmetric.SetPosition(-10);
  EXPECT_EQ(bar.ThumbTopLeft(symmetric).X, 0);
  EXPECT_EQ(bar.PositionAt(symmetric, {95, 0}), 10);
  EXPECT_EQ(bar.GrooveBand(), (TRect{0, 8, 120, 25}));
}

TEST(BarGeometry, VerticalBarHasItsMaximumAtTheTop) {
  TQorvelBarLayout bar{psoVertical, 32, 120};
  TQorvelTrackRange range;
  range.SetPosition(100);
  EXPECT_EQ(bar.ThumbTopLeft(range), (TPoint{8, 0}));
  range.SetPosition(0);
  EXPECT_EQ(bar.ThumbTopLeft(range).Y, 95);
  EXPECT_EQ(bar.PositionAt(range, {8, 0}), 100);
  EXPECT_EQ(bar.PositionAt(range, {8, 95}), 0);
}

TEST(BarGeometry, LabelMovesTheGroove) {
  TQorvelBarLayout bar{psoHorizontal, 200, 45, 13, true, false};
  EXPECT_EQ(bar.LabelAnchor(), (TPoint{100, 7}));
  EXPECT_EQ(bar.GrooveCentre(), (TPoint{100, 28}));  // 13 + 7 + 8
  bar.LabelFlipped = true;
  EXPECT_EQ(bar.LabelAnchor(), (TPoint{100, 24}));
  EXPECT_EQ(bar.GrooveCentre(), (TPoint{100, 15}));
  TQorvelBarLayout vertical{psoVertical, 45, 200, 13, true, false};
  EXPECT_EQ(vertical.LabelAnchor(), (TPoint{7, 100}));
  EXPECT_EQ(vertical.GrooveCentre(), (TPoint{28, 100}));
}

TEST(BarGeometry, DraggingLandsOnSteps) {
  TQorvelBarLayout bar{psoHorizontal, 220, 32};
  TQorvelTrackRange range;
  range.SetSmallChange(5);
  for (int x = -20; x <= 220; ++x) {
    const int position = bar.PositionAt(range, {x, 0});
    EXPECT_EQ(position % 5, 0) << x;
    EXPECT_GE(position, 0);
    EXPECT_LE(position, 100);
  }
  EXPECT_EQ(bar.PositionAt(range, {195, 0}), 100);
  EXPECT_EQ(bar.PositionAt(range, {bar.ThumbTopLeft(range).X, 0}), 0);
  // Placing the thumb where a position draws it gives that position back.
  for (int p = 0; p <= 100; p += 5) {
    range.SetPosition(p);
    EXPECT_EQ(bar.PositionAt(range, bar.ThumbTopLeft(range)), p);
  }
}

TEST(BarGeometry, DegenerateRangesAndSizes) {
  TQorvelBarLayout bar;
  TQorvelTrackRange fixed;
  fixed.SetMin(30);
  fixed.SetMax(30);
  EXPECT_EQ(bar.ThumbTopLeft(fixed).X, 0);
  EXPECT_EQ(bar.PositionAt(fixed, {60, 0}), 30);
  TQorvelBarLayout vertical{psoVertical, 32, 120};
  EXPECT_EQ(vertical.ThumbTopLeft(fixed).Y, 0);
  // A bar narrower than its thumb keeps the position at Min instead of dividing by zero.
  TQorvelBarLayout tiny{psoHorizontal, 25, 32};
  EXPECT_EQ(tiny.PositionAt(TQorvelTrackRange{}, {3, 0}), 0);
}

TEST(BarGeometry, PopupEditorSitsOnTheValue) {
  // value text from 40 to 62 in a label at (100, 200), 14 high; edit 30 x 21
  EXPECT_EQ(PopupEditorOrigin({100, 200}, {40, 0, 62, 14}, 30, 21), (TPoint{136, 197}));
}

}  // namespace
