#include "ruler/RulerScale.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "ruler/RulerGlyphs.h"
#include "ruler/ScaleTestSupport.h"

namespace {

std::vector<int> Range(int from, int to, int step) {
  std::vector<int> values;
  for (int v = from; step > 0 ? v <= to : v >= to; v += step) values.push_back(v);
  return values;
}

// The 11 x 11 button at `origin` shows glyph `cell`: black glyph pixels in `ink`, the
// rest in `paper`.
void ExpectButton(const TPixelBuffer& buffer, TPoint origin, int cell, bool highlighted, TPixel ink, TPixel paper) {
  for (int y = 0; y < MiniButtonSize; ++y) {
    for (int x = 0; x < MiniButtonSize; ++x) {
      const bool black = ButtonGlyphs().IsBlack(cell * ButtonCellSize + x, (highlighted ? ButtonCellSize : 0) + y);
      ASSERT_EQ(buffer.At(origin.X + x, origin.Y + y), black ? ink : paper)
          << "button cell " << cell << " at (" << x << ", " << y << ")";
    }
  }
}

bool IsBlank(const TPixelBuffer& buffer, TPoint origin, TPixel paper) {
  for (int y = 0; y < MiniButtonSize; ++y)
    for (int x = 0; x < MiniButtonSize; ++x)
      if (buffer.At(origin.X + x, origin.Y + y) != paper) return false;
  return true;
}

}  // namespace

TEST(PaintScale, PixelUnitTicksEveryFivePixelsWithTheirLengths) {
  const TPixelBuffer ruler = Render(HorizontalRuler(100));
  // Ticks at 5, 10, ... 95; none at 0, where the outline is. Row 27 is crossed by all kinds.
  EXPECT_EQ(ColumnsWith(ruler, 27, Black), Range(5, 95, 5));
  const auto tickRows = [&](int x) {  // below the buttons
    std::vector<int> rows;
    for (int y = 13; y < 30; ++y)
      if (ruler.At(x, y) == Black) rows.push_back(y);
    return rows;
  };
  EXPECT_EQ(tickRows(5), Range(26, 29, 1));   // short
  EXPECT_EQ(tickRows(40), Range(24, 29, 1));  // medium
  EXPECT_EQ(tickRows(50).front(), 22);        // long, with its number "50" above
  EXPECT_EQ(ReadDigits(ruler, 46, 15, 2, Black), "50");
  // The number at 100 is centred on x 100 and only its "1" and a column of "0" fit.
  EXPECT_EQ(ReadDigits(ruler, 93, 15, 1, Black), "1");
  EXPECT_EQ(ruler.At(98, 15), DefaultEndZone);
  EXPECT_EQ(ruler.At(98, 16), Black);
  EXPECT_EQ(ruler.At(98, 19), DefaultEndZone);
}

TEST(PaintScale, FlippedPixelUnitCountsFromTheRightEnd) {
  TRulerScaleInput input = HorizontalRuler(100);
  input.Flipped = true;
  const TPixelBuffer ruler = Render(input);
  EXPECT_EQ(ColumnsWith(ruler, 27, Black), Range(4, 94, 5));
  EXPECT_EQ(ReadDigits(ruler, 45, 15, 2, Black), "50");
}

TEST(PaintScale, TurnedRulerHasTicksOnTopNumbersBelowThemAndButtonsAtTheBottom) {
  TRulerScaleInput input = HorizontalRuler(200);
  input.Turned = true;
  const TPixelBuffer ruler = Render(input);
  for (int y = 1; y <= 8; ++y) EXPECT_EQ(ruler.At(50, y), Black) << y;
  EXPECT_NE(ruler.At(50, 9), Black);
  EXPECT_EQ(ruler.At(45, 4), Black);  // short ticks: rows 1 to 4
  EXPECT_NE(ruler.At(45, 5), Black);
  EXPECT_EQ(ReadDigits(ruler, 46, 11, 2, Black), "50");
  ExpectButton(ruler, {18, 17}, 0, false, Black, DefaultBackground);
}

TEST(PaintScale, VerticalRulerNumbersSitBesideTheTicks) {
  TRulerScaleInput input = VerticalRuler(200);
  TPixelBuffer ruler = Render(input);
  for (int x = 22; x <= 29; ++x) EXPECT_EQ(ruler.At(x, 100), Black) << x;  // long tick at y 100
  EXPECT_EQ(ReadDigits(ruler, 30 - 10 - 14, 98, 3, Black), "100");
  // The flip button shows the arrow along the ruler, the turn button the one across.
  ExpectButton(ruler, ButtonOrigin(input, TMiniButton::mbFlip), 3, false, Black, DefaultBackground);
  ExpectButton(ruler, ButtonOrigin(input, TMiniButton::mbTurn), 2, false, Black, DefaultBackground);
  EXPECT_EQ(ButtonOrigin(input, TMiniButton::mbFlip), (TPoint{2, 42}));

  input.Turned = true;
  ruler = Render(input);
  for (int x = 1; x <= 8; ++x) EXPECT_EQ(ruler.At(x, 100), Black) << x;
  EXPECT_EQ(ReadDigits(ruler, 11, 98, 3, Black), "100");
  EXPECT_EQ(ButtonOrigin(input, TMiniButton::mbClose), (TPoint{17, 18}));
}

TEST(PaintScale, AntialiasedPointTicksShareTheirInkBetweenTwoColumns) {
  TRulerScaleInput input = HorizontalRuler(100);
  input.ScaleUnit = 2;
  input.Granularity = 2;
  TPixelBuffer ruler = Render(input);
  // G 2 at x 3 with alpha 0: full ink at 3, nothing at 4. G 4 at x 5 with alpha 170.
  EXPECT_EQ(ruler.At(3, 27), Black);
  EXPECT_EQ(ruler.At(4, 27), DefaultEndZone);
  EXPECT_EQ(ruler.At(5, 27), 0x7F7F4Fu);  // a third ink, two thirds end zone
  EXPECT_EQ(ruler.At(6, 27), 0x414129u);  // two thirds ink
  EXPECT_EQ(ruler.At(5, 25), DefaultEndZone);

  // On black the ink is white and the end zone 0x3F3F3F.
  input.Background = 0x000000;
  ruler = Render(input);
  EXPECT_EQ(ruler.At(5, 27), 0x808080u);
  EXPECT_EQ(ruler.At(6, 27), 0xBEBEBEu);
  input.Background = 0xA0FFFF;

  input.Antialiasing = false;
  ruler = Render(input);
  EXPECT_EQ(ruler.At(5, 27), Black);
  EXPECT_EQ(ruler.At(6, 27), DefaultEndZone);

  // At 144 dpi every point tick falls on a whole pixel: no mixed colours at all.
  input.Antialiasing = true;
  input.PixelsPerInch = 144;
  ruler = Render(input);
  for (int x = 0; x < 100; ++x)
    EXPECT_TRUE(ruler.At(x, 27) == Black || ruler.At(x, 27) == DefaultEndZone || ruler.At(x, 27) == DefaultBackground)
        << x;
}

TEST(PaintScale, CursorLineRunsAcrossTheRulerUnderTheScale) {
  TRulerScaleInput input = HorizontalRuler(300);
  input.CursorBoxPos = {211, 7};
  const TPixelBuffer ruler = Render(input);
  EXPECT_EQ(ruler.At(211, 0), Black);
  for (int y = 1; y < 29; ++y) EXPECT_EQ(ruler.At(211, y), DefaultCursorLine) << y;
  EXPECT_EQ(ruler.At(211, 29), Black);

  input.CursorBoxPos = {200, 7};  // on a long tick: the tick wins
  EXPECT_EQ(Render(input).At(200, 25), Black);
}

TEST(PaintScale, CursorLabelShowsThePositionOnAContrastBox) {
  TRulerScaleInput input = HorizontalRuler(300);
  input.CursorBoxPos = {37, 3};
  TPixelBuffer ruler = Render(input);
  EXPECT_EQ(ReadDigits(ruler, 41, 15, 2, White), "37");
  EXPECT_EQ(ruler.At(39, 13), Black);  // the box: 5n + 3 wide, 9 high
  EXPECT_EQ(ruler.At(51, 21), Black);
  EXPECT_NE(ruler.At(52, 21), Black);
  EXPECT_NE(ruler.At(51, 22), Black);

  input.Flipped = true;
  EXPECT_EQ(ReadDigits(Render(input), 41, 15, 3, White), "262");

  input = HorizontalRuler(300);
  input.CursorBoxPos = {48, 3};
  input.ScaleUnit = 3;
  EXPECT_EQ(ReadDigits(Render(input), 52, 15, 4, White), "0.50");

  input.CursorBoxPos = {96, 3};
  input.ScaleUnit = 4;
  input.Granularity = 2;
  EXPECT_EQ(ReadDigits(Render(input), 100, 15, 3, White), "2.5");
}

TEST(PaintScale, ScreenCoordinateLabelCanBeNegative) {
  TRulerScaleInput input = HorizontalRuler(300);
  input.Labeling = 2;
  input.CursorBoxPos = {37, 3};
  input.CursorScreenPos = {-1234, 40};
  EXPECT_EQ(ReadDigits(Render(input), 41, 15, 5, White), "-1234");
  // Flipping does not change a screen coordinate.
  input.Flipped = true;
  EXPECT_EQ(ReadDigits(Render(input), 41, 15, 5, White), "-1234");
}

TEST(PaintScale, VerticalCursorLabelSitsOnTheNumbersSide) {
  TRulerScaleInput input = VerticalRuler(300, 40);
  input.CursorBoxPos = {5, 100};
  TPixelBuffer ruler = Render(input);
  // Ticks on the right: box at (W - 5n - 11, cy + 2), text 2 pixels in.
  EXPECT_EQ(ruler.At(40 - 15 - 11, 102), Black);
  EXPECT_EQ(ReadDigits(ruler, 40 - 15 - 9, 104, 3, White), "100");
  input.Turned = true;
  ruler = Render(input);
  EXPECT_EQ(ruler.At(9, 102), Black);
  EXPECT_EQ(ReadDigits(ruler, 11, 104, 3, White), "100");
}

TEST(PaintScale, NoLabelWithoutLabelingOrWithTheCursorOffTheScale) {
  TRulerScaleInput input = HorizontalRuler(300);
  input.CursorBoxPos = {37, 3};
  input.Labeling = 0;
  EXPECT_EQ(Render(input).At(39, 13), DefaultBackground);
  input.Labeling = 1;
  input.CursorBoxPos = {300, 3};
  const TPixelBuffer off = Render(input);
  for (int x = 1; x < 299; ++x) ASSERT_NE(off.At(x, 14), White) << x;
}

TEST(PaintScale, UnitZeroDrawsEverythingButTheScale) {
  TRulerScaleInput input = HorizontalRuler(300, 15);
  input.ScaleUnit = 0;
  input.CursorBoxPos = {100, 3};
  const TPixelBuffer ruler = Render(input);
  for (int y = 1; y < 14; ++y) {
    for (int x = 16; x < 284; ++x) {
      if (x == 100)
        ASSERT_EQ(ruler.At(x, y), DefaultCursorLine);
      else if (x < 18 + 4 * 12 && y >= 2 && y < 13)
        continue;  // buttons
      else
        ASSERT_EQ(ruler.At(x, y), DefaultBackground) << x << ", " << y;
    }
  }
  EXPECT_EQ(ruler.At(5, 7), DefaultEndZone);
  EXPECT_EQ(ruler.At(299, 7), Black);
  // 15 pixels suffice for the buttons without a scale; one less does not.
  ExpectButton(ruler, {18, 2}, 0, false, Black, DefaultBackground);
  input.Height = 14;
  EXPECT_TRUE(IsBlank(Render(input), {18, 2}, DefaultBackground));
}

TEST(PaintScale, DarkBackgroundTurnsTicksNumbersAndGlyphsWhite) {
  TRulerScaleInput input = HorizontalRuler(300);
  input.Background = 0x000000;
  input.CursorBoxPos = {37, 3};
  const TPixelBuffer ruler = Render(input);
  EXPECT_EQ(ruler.At(5, 7), 0x3F3F3Fu);  // end zone: a quarter of the way to white
  EXPECT_EQ(ruler.At(150, 7), 0x000000u);
  EXPECT_EQ(ruler.At(0, 7), White);
  EXPECT_EQ(ruler.At(100, 27), White);
  EXPECT_EQ(ReadDigits(ruler, 93, 15, 3, White), "100");
  EXPECT_EQ(ruler.At(39, 13), White);  // label box
  EXPECT_EQ(ReadDigits(ruler, 41, 15, 2, Black), "37");
  ExpectButton(ruler, {18, 2}, 0, false, White, 0x000000);
}

TEST(PaintScale, ButtonsCloseUpInTheirOrderAndNeedRoom) {
  TRulerScaleInput input = HorizontalRuler(300);
  input.Buttons = {TMiniButton::mbClose, TMiniButton::mbStayOnTop};
  EXPECT_EQ(ButtonSlot(input, TMiniButton::mbStayOnTop), 1);
  EXPECT_EQ(ButtonOrigin(input, TMiniButton::mbStayOnTop), (TPoint{30, 2}));
  TPixelBuffer ruler = Render(input);
  ExpectButton(ruler, {18, 2}, 0, false, Black, DefaultBackground);
  ExpectButton(ruler, {30, 2}, 4, false, Black, DefaultBackground);
  EXPECT_TRUE(IsBlank(ruler, {42, 2}, DefaultBackground));

  // A button whose origin plus 30 reaches the length is left out.
  input.Width = 60;
  ruler = Render(input);
  ExpectButton(ruler, {18, 2}, 0, false, Black, DefaultBackground);
  EXPECT_FALSE(ButtonShown(input, {30, 2}));
  EXPECT_TRUE(IsBlank(ruler, {30, 2}, DefaultBackground));
}

TEST(PaintScale, HotButtonIsHighlightedWhileHoveredOrPressedOnIt) {
  TRulerScaleInput input = HorizontalRuler(300);
  input.HotButton = TMiniButton::mbRotate;
  for (const auto& [state, highlighted] :
       std::vector<std::pair<TMiniButtonState, bool>>{{TMiniButtonState::mbsNone, false},
                                                      {TMiniButtonState::mbsHot, true},
                                                      {TMiniButtonState::mbsDownOutside, false},
                                                      {TMiniButtonState::mbsDownInside, true}}) {
    input.ButtonState = state;
    const TPixelBuffer ruler = Render(input);
    ExpectButton(ruler, {30, 2}, 1, highlighted, Black, DefaultBackground);
    ExpectButton(ruler, {18, 2}, 0, false, Black, DefaultBackground);
  }
}

TEST(ButtonShown, NeedsThirtyPixelsOfThicknessWithAScaleAndFifteenWithout) {
  TRulerScaleInput input = VerticalRuler(400, 29);
  EXPECT_FALSE(ButtonShown(input, ButtonOrigin(input, TMiniButton::mbClose)));
  input.Width = 30;
  EXPECT_TRUE(ButtonShown(input, ButtonOrigin(input, TMiniButton::mbClose)));
  input.Width = 10;
  input.ScaleUnit = 0;
  EXPECT_FALSE(ButtonShown(input, ButtonOrigin(input, TMiniButton::mbClose)));
  input.Width = 15;
  EXPECT_TRUE(ButtonShown(input, ButtonOrigin(input, TMiniButton::mbClose)));
}

TEST(PaintScale, OutlineIsOpenAtTheEndThatMeetsTheMagnifier) {
  TRulerScaleInput input = HorizontalRuler(200);
  input.MagnifierVisible = true;
  TPixelBuffer ruler = Render(input);
  EXPECT_EQ(ruler.At(199, 7), DefaultEndZone);
  EXPECT_EQ(ruler.At(199, 0), Black);
  EXPECT_EQ(ruler.At(0, 7), Black);

  input.Flipped = true;
  ruler = Render(input);
  EXPECT_EQ(ruler.At(0, 7), DefaultEndZone);
  EXPECT_EQ(ruler.At(199, 7), Black);

  input = VerticalRuler(200);
  input.MagnifierVisible = true;
  ruler = Render(input);
  EXPECT_EQ(ruler.At(7, 199), DefaultEndZone);
  EXPECT_EQ(ruler.At(7, 0), Black);
}

TEST(BackgroundAt, IsTheEndZoneColourInTheFirstAndLastSixteenPixels) {
  const TRulerScaleInput input = HorizontalRuler(100);
  EXPECT_EQ(BackgroundAt(input, 15), 0x78C0C0u);
  EXPECT_EQ(BackgroundAt(input, 16), 0xA0FFFFu);
  EXPECT_EQ(BackgroundAt(input, 83), 0xA0FFFFu);
  EXPECT_EQ(BackgroundAt(input, 84), 0x78C0C0u);
}

TEST(PaintScale, TinyAndEmptyAreasAndAbsurdResolutionsPaintWithoutHarm) {
  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{0, 0}, {-5, 30}, {1, 1}, {20, 3}, {3, 200}}) {
    TRulerScaleInput input = HorizontalRuler(width, height);
    input.CursorBoxPos = {1, 1};
    TPixelBuffer buffer(std::max(width, 1), std::max(height, 1), Untouched);
    PaintScale(input, buffer.View(), {-100, -100, 1000, 1000});
  }
  // A resolution below one is taken as one: the scale still ends up with ticks.
  TRulerScaleInput input = HorizontalRuler(300);
  input.ScaleUnit = 4;
  input.Antialiasing = false;
  for (int dpi : {0, -7}) {
    input.PixelsPerInch = dpi;
    EXPECT_FALSE(ColumnsWith(Render(input), 28, Black).empty()) << dpi;
  }
  input.PixelsPerInch = 1000000;
  EXPECT_EQ(Render(input).At(0, 10), Black);
}

TEST(PaintScale, PartialPaintLeavesExactlyWhatAFullPaintLeavesInTheClip) {
  std::mt19937 random(20240607);
  const auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
  for (int round = 0; round < 300; ++round) {
    TRulerScaleInput input =
        pick(0, 1) ? VerticalRuler(pick(60, 400), pick(10, 60)) : HorizontalRuler(pick(60, 400), pick(10, 60));
    input.Flipped = pick(0, 1);
    input.Turned = pick(0, 1);
    input.ScaleUnit = pick(0, 5);
    input.Granularity = pick(0, 2);
    input.Labeling = pick(0, 2);
    input.Digits = pick(0, 3) != 0;
    input.Antialiasing = pick(0, 1);
    input.MagnifierVisible = pick(0, 1);
    input.PixelsPerInch = pick(10, 300);
    input.Background = pick(0, 1) ? 0x202020u : 0xA0FFFFu;
    input.Buttons = TMiniButtons::FromMask(static_cast<std::uint32_t>(pick(0, 127)));
    input.HotButton = static_cast<TMiniButton>(pick(0, 6));
    input.ButtonState = static_cast<TMiniButtonState>(pick(0, 3));
    input.CursorBoxPos = {pick(-5, input.Width + 5), pick(-5, input.Height + 5)};
    input.CursorScreenPos = {pick(-3000, 3000), pick(-3000, 3000)};
    const TPixelBuffer full = Render(input);

    const int left = pick(-3, input.Width), top = pick(-3, input.Height);
    const TRect clip{left, top, left + pick(1, 40), top + pick(1, 40)};
    TPixelBuffer part(input.Width, input.Height, Untouched);
    PaintScale(input, part.View(), clip);
    for (int y = 0; y < input.Height; ++y)
      for (int x = 0; x < input.Width; ++x)
        ASSERT_EQ(part.At(x, y), clip.Contains(x, y) ? full.At(x, y) : Untouched)
            << "round " << round << " at (" << x << ", " << y << ")";
  }
}

TEST(CursorLineStrip, CoversTheLineAndItsLabelInWindowCoordinates) {
  TRulerScaleInput input = HorizontalRuler(300);
  input.CursorBoxPos = {37, 3};
  EXPECT_EQ(CursorLineStrip(input, {30, 0}, 330, 30), (TRect{67, 0, 98, 30}));
  input.Labeling = 0;
  EXPECT_EQ(CursorLineStrip(input, {30, 0}, 330, 30), (TRect{67, 0, 68, 30}));
  input.CursorBoxPos = {300, 3};
  EXPECT_EQ(CursorLineStrip(input, {30, 0}, 330, 30), std::nullopt);
  input.CursorBoxPos = {-1, 3};
  EXPECT_EQ(CursorLineStrip(input, {30, 0}, 330, 30), std::nullopt);

  input = VerticalRuler(300);
  input.CursorBoxPos = {3, 37};
  EXPECT_EQ(CursorLineStrip(input, {0, 30}, 30, 330), (TRect{0, 67, 30, 78}));
  input.Labeling = 0;
  EXPECT_EQ(CursorLineStrip(input, {0, 30}, 30, 330), (TRect{0, 67, 30, 68}));
}

TEST(CursorLineStrip, RepaintingTheOldAndNewStripsGivesTheFullPaint) {
  struct TCase {
    int Unit, Labeling;
    bool Vertical;
    TPoint Screen;
  };
  // The last case has a six-character label ("-10.00"), wider than the usual strip.
  for (const TCase& c :
       std::vector<TCase>{{1, 1, false, {}}, {1, 0, false, {}}, {2, 1, true, {}}, {3, 2, false, {-960, 0}}}) {
    TRulerScaleInput input = c.Vertical ? VerticalRuler(400) : HorizontalRuler(400);
    input.ScaleUnit = c.Unit;
    input.Labeling = c.Labeling;
    input.CursorScreenPos = c.Screen;
    TPixelBuffer screen(input.Width, input.Height, Untouched);
    input.CursorBoxPos = {150, 150};
    PaintScale(input, screen.View(), screen.View().Bounds());
    for (TPoint next : {TPoint{157, 157}, TPoint{151, 151}, TPoint{400, 400}, TPoint{30, 30}}) {
      const auto before = CursorLineStrip(input, {0, 0}, input.Width, input.Height);
      input.CursorBoxPos = next;
      const auto after = CursorLineStrip(input, {0, 0}, input.Width, input.Height);
      if (before) PaintScale(input, screen.View(), *before);
      if (after) PaintScale(input, screen.View(), *after);
      const TPixelBuffer expected = Render(input);
      for (int y = 0; y < input.Height; ++y)
        for (int x = 0; x < input.Width; ++x)
          ASSERT_EQ(screen.At(x, y), expected.At(x, y)) << "unit " << c.Unit << " at (" << x << ", " << y << ")";
    }
  }
}

TEST(PaintScale, ACalibratedResolutionPutsTheMarkWhereTheObjectEnds) {
  // An A4 sheet's 210 mm matched over 773 pixels keeps 93.496 pixels per inch: the 210 mm mark,
  // the cursor label and the copied length must all meet the sheet's end within half a pixel,
  // where whole pixels per inch (93) put the mark 4 pixels short.
  TRulerScaleInput input = HorizontalRuler(900);
  input.ScaleUnit = 4;
  input.PixelsPerInch = 93.496;
  const TPixelBuffer ruler = Render(input);
  double ink = 0, moment = 0;
  for (int x = 760; x < 786; ++x) {
    const double share = 0xFF - ((ruler.At(x, 25) >> 8) & 0xFF);  // medium ticks reach row 25
    ink += share;
    moment += share * x;
  }
  EXPECT_NEAR(moment / ink, 210 / 25.4 * 93.496, 0.5);
  EXPECT_EQ(CursorLabelText(ChooseScaleLayout(4, 1, input.PixelsPerInch), 773), "21.0");
  EXPECT_EQ(MeasurementText(4, 773, input.PixelsPerInch), "21.0 cm");
}
