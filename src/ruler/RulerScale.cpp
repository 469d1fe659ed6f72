#include "ruler/RulerScale.h"

#include <algorithm>
#include <bit>
#include <string>

#include "ruler/ClippedCanvas.h"
#include "ruler/RulerGlyphs.h"
#include "ruler/RulerUnits.h"

namespace {

constexpr int EndZoneLength = 16;
constexpr int ButtonRowStart = 18;
constexpr int ButtonSpacing = 12;
constexpr int LongTick = 8, MediumTick = 6, ShortTick = 4;

int TickLength(TTickKind kind) {
  switch (kind) {
    case TTickKind::Long: return LongTick;
    case TTickKind::Medium: return MediumTick;
    default: return ShortTick;
  }
}

// Width in pixels of a glyph string: 5 per character, less the last one's white column.
int TextWidth(const std::string& text) { return 5 * static_cast<int>(text.size()) - 1; }

bool HasScale(const TRulerScaleInput& input) { return input.ScaleUnit > 0; }

// The values of one paint, and the mapping from the ruler's own axes (along, across) to
// x and y.
class TScalePainter {
 public:
  TScalePainter(const TRulerScaleInput& input, TPixelView target, const TPixelRect& clip)
      : In(input),
        Canvas(target, IntersectRect(clip, {0, 0, input.Width, input.Height})),
        Length(input.Vertical ? input.Height : input.Width),
        Thickness(input.Vertical ? input.Width : input.Height) {
    const TColor contrast = ContrastColor(input.Background);
    Background = ColorToPixel(input.Background);
    Contrast = ColorToPixel(contrast);
    EndZone = ColorToPixel(MixColors(input.Background, contrast, 64));
    CursorLine = ColorToPixel(input.CursorLine);
    // Dark backgrounds get white numbers and glyphs and a dark label on a white box; light
    // ones the other way round.
    const bool dark = ColorBrightness(input.Background) < 128;
    NumberOp = dark ? TRasterOp::MergePaint : TRasterOp::SrcAnd;
    LabelOp = dark ? TRasterOp::SrcAnd : TRasterOp::MergePaint;
  }

  void Paint() const {
    if (Canvas.Clip().Empty()) return;
    PaintBackground();
    PaintCursorLine();
    if (HasScale(In)) {
      const TScaleLayout layout = ChooseScaleLayout(In.ScaleUnit, In.Granularity, In.PixelsPerInch);
      PaintTicks(layout);
      if (In.Labeling != 0) PaintCursorLabel(layout);
    }
    PaintButtons();
    PaintOutline();
  }

 private:
  TPixelRect Rect(int alongFrom, int alongTo, int acrossFrom, int acrossTo) const {
    if (In.Vertical) return {acrossFrom, alongFrom, acrossTo, alongTo};
    return {alongFrom, acrossFrom, alongTo, acrossTo};
  }

  TPixel BackgroundAt(int along) const {
    return along < EndZoneLength || along >= Length - EndZoneLength ? EndZone : Background;
  }

  int CursorAlong() const { return In.Vertical ? In.CursorBoxPos.Y : In.CursorBoxPos.X; }

  // The row of the horizontal ruler's numbers: below the long ticks on the top edge, above
  // them on the bottom edge.
  int DigitRow() const { return In.Turned ? LongTick + 3 : In.Height - LongTick - 5 - 2; }

  void PaintBackground() const {
    Canvas.Fill(Rect(0, EndZoneLength, 0, Thickness), EndZone);
    Canvas.Fill(Rect(Length - EndZoneLength, Length, 0, Thickness), EndZone);
    Canvas.Fill(Rect(EndZoneLength, Length - EndZoneLength, 0, Thickness), Background);
  }

  void PaintCursorLine() const {
    const int along = CursorAlong();
    Canvas.Fill(Rect(along, along + 1, 1, Thickness), CursorLine);
  }

  void PaintTicks(const TScaleLayout& layout) const {
    TTickWalk walk(layout, Length, In.Flipped);
    const bool antialiased = In.Antialiasing && layout.FractionalTicks();

    // Only ticks whose line or number can reach into the clip are drawn; the widest number
    // is the one at the last tick.
    const int numberReach =
        In.Digits ? TextWidth(TickNumberText(layout, walk.Count() * layout.Row.Step, In.DecimalSeparator)) / 2 + 2 : 1;
    const TPixelRect& clip = Canvas.Clip();
    const int clipFrom = In.Vertical ? clip.Top : clip.Left;
    const int clipTo = In.Vertical ? clip.Bottom - 1 : clip.Right - 1;
    const auto [first, last] = walk.IndexRange(clipFrom - numberReach, clipTo + numberReach);
    if (first > last) return;

    walk.Seek(first);
    for (int index = first; index <= last; ++index, walk.Next()) {
      const TTickKind kind = walk.Kind();
      if (kind == TTickKind::Long && In.Digits) PaintTickNumber(TickNumberText(layout, walk.G(), In.DecimalSeparator), walk.P());
      const int length = TickLength(kind);
      const int acrossFrom = In.Turned ? 1 : Thickness - length;
      const int acrossTo = acrossFrom + length;
      const int p = walk.P();
      if (antialiased) {
        // The mark lies F/D of a pixel beyond P: its ink is shared between P and the next pixel.
        const int alpha = walk.Alpha();
        const int next = p + walk.Direction();
        Canvas.Fill(Rect(p, p + 1, acrossFrom, acrossTo), MixColors(Contrast, BackgroundAt(p), alpha));
        Canvas.Fill(Rect(next, next + 1, acrossFrom, acrossTo), MixColors(BackgroundAt(next), Contrast, alpha));
      } else {
        Canvas.Fill(Rect(p, p + 1, acrossFrom, acrossTo), Contrast);
      }
    }
  }

  void PaintTickNumber(const std::string& text, int p) const {
    const int width = TextWidth(text);
    if (In.Vertical) {
      const int x = In.Turned ? LongTick + 3 : In.Width - 10 - width;
      DrawDigits(Canvas, x, p - 2, text, NumberOp, In.DecimalSeparator);
    } else {
      DrawDigits(Canvas, p - width / 2, DigitRow(), text, NumberOp, In.DecimalSeparator);
    }
  }

  void PaintCursorLabel(const TScaleLayout& layout) const {
    const int along = CursorAlong();
    if (along < 0 || along >= Length) return;
    int position = In.Flipped ? Length - 1 - along : along;
    if (In.Labeling == 2) position = In.Vertical ? In.CursorScreenPos.Y : In.CursorScreenPos.X;
    const std::string text = CursorLabelText(layout, position, In.DecimalSeparator);
    const int boxWidth = TextWidth(text) + 4;
    TPoint box;
    if (!In.Vertical) box = {In.CursorBoxPos.X + 2, DigitRow() - 2};
    else if (In.Turned) box = {LongTick + 1, In.CursorBoxPos.Y + 2};
    else box = {In.Width - boxWidth - 8, In.CursorBoxPos.Y + 2};
    Canvas.Fill({box.X, box.Y, box.X + boxWidth, box.Y + 9}, Contrast);
    DrawDigits(Canvas, box.X + 2, box.Y + 2, text, LabelOp, In.DecimalSeparator);
  }

  void PaintButtons() const {
    for (int index = 0; index < MiniButtonCount; ++index) {
      const auto button = static_cast<TMiniButton>(index);
      if (!In.Buttons.Contains(button)) continue;
      const TPoint origin = ButtonOrigin(In, button);
      if (!ButtonShown(In, origin)) continue;
      Canvas.Fill({origin.X, origin.Y, origin.X + MiniButtonSize, origin.Y + MiniButtonSize}, Background);
      const bool highlighted = button == In.HotButton && (In.ButtonState == TMiniButtonState::mbsHot ||
                                                          In.ButtonState == TMiniButtonState::mbsDownInside);
      DrawButtonGlyph(Canvas, origin.X, origin.Y, GlyphCell(button), NumberOp, highlighted);
    }
  }

  // Flip always shows the arrow along the ruler and turn the one across it.
  int GlyphCell(TMiniButton button) const {
    if (In.Vertical && button == TMiniButton::mbFlip) return static_cast<int>(TMiniButton::mbTurn);
    if (In.Vertical && button == TMiniButton::mbTurn) return static_cast<int>(TMiniButton::mbFlip);
    return static_cast<int>(button);
  }

  void PaintOutline() const {
    TPixelRect outline{0, 0, In.Width, In.Height};
    // The end that meets the magnifier stays open: the rectangle reaches one pixel past it.
    if (In.MagnifierVisible) {
      int& openEnd = In.Vertical ? (In.Flipped ? outline.Top : outline.Bottom) : (In.Flipped ? outline.Left : outline.Right);
      openEnd += In.Flipped ? -1 : 1;
    }
    Canvas.Frame(outline, Contrast);
  }

  const TRulerScaleInput& In;
  TClippedCanvas Canvas;
  int Length;
  int Thickness;
  TPixel Background{}, Contrast{}, EndZone{}, CursorLine{};
  TRasterOp NumberOp{}, LabelOp{};
};

}  // namespace

void PaintScale(const TRulerScaleInput& input, TPixelView target, const TPixelRect& clip) {
  TScalePainter(input, target, clip).Paint();
}

TColor BackgroundAt(const TRulerScaleInput& input, int along) {
  const int length = input.Vertical ? input.Height : input.Width;
  if (along < EndZoneLength || along >= length - EndZoneLength)
    return MixColors(input.Background, ContrastColor(input.Background), 64);
  return input.Background;
}

int ButtonSlot(const TRulerScaleInput& input, TMiniButton button) {
  const std::uint32_t before = input.Buttons.Mask() & ((std::uint32_t{1} << static_cast<unsigned>(button)) - 1);
  return std::popcount(before);
}

TPoint ButtonOrigin(const TRulerScaleInput& input, TMiniButton button) {
  const int along = ButtonRowStart + ButtonSpacing * ButtonSlot(input, button);
  // The buttons sit along the edge opposite the ticks.
  if (input.Vertical) return {input.Turned ? input.Width - 13 : 2, along};
  return {along, input.Turned ? input.Height - 13 : 2};
}

bool ButtonShown(const TRulerScaleInput& input, TPoint origin) {
  const int length = input.Vertical ? input.Height : input.Width;
  const int thickness = input.Vertical ? input.Width : input.Height;
  const int along = input.Vertical ? origin.Y : origin.X;
  return thickness >= (HasScale(input) ? 30 : 15) && along + 30 < length;
}

std::optional<TPixelRect> CursorLineStrip(const TRulerScaleInput& input, TPoint scaleAreaOrigin, int clientWidth,
                                          int clientHeight) {
  const bool labelled = input.Labeling != 0;
  if (input.Vertical) {
    const int cy = input.CursorBoxPos.Y;
    if (cy < 0 || cy >= input.Height) return std::nullopt;
    const int top = scaleAreaOrigin.Y + cy;
    return TPixelRect{0, top, clientWidth, top + (labelled ? 11 : 1)};
  }
  const int cx = input.CursorBoxPos.X;
  if (cx < 0 || cx >= input.Width) return std::nullopt;
  int width = labelled ? 31 : 1;
  if (labelled && HasScale(input)) {
    // Long labels (six characters and more) reach past the usual 31 pixels; the strip
    // covers them so that no stale label is left behind when the cursor moves on.
    const TScaleLayout layout = ChooseScaleLayout(input.ScaleUnit, input.Granularity, input.PixelsPerInch);
    const int position = input.Labeling == 2 ? input.CursorScreenPos.X : (input.Flipped ? input.Width - 1 - cx : cx);
    const std::string text = CursorLabelText(layout, position, input.DecimalSeparator);
    width = std::max(width, TextWidth(text) + 6);
  }
  const int left = scaleAreaOrigin.X + cx;
  return TPixelRect{left, 0, left + width, clientHeight};
}
