#include "ruler/RulerScale.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <string>

#include "base/ClippedCanvas.h"
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

// Flip always shows the arrow along the ruler and turn the one across it.
int GlyphCell(bool vertical, TMiniButton button) {
  if (vertical && button == TMiniButton::mbFlip) return static_cast<int>(TMiniButton::mbTurn);
  if (vertical && button == TMiniButton::mbTurn) return static_cast<int>(TMiniButton::mbFlip);
  return static_cast<int>(button);
}

TPoint ButtonOriginInSlot(const TRulerScaleInput& input, int slot) {
  const int along = ButtonRowStart + ButtonSpacing * slot;
  // The buttons sit along the edge opposite the ticks.
  if (input.Vertical) return {input.Turned ? input.Width - 13 : 2, along};
  return {along, input.Turned ? input.Height - 13 : 2};
}

bool Overlap(int from, int to, int clipFrom, int clipTo) { return from < clipTo && to > clipFrom; }

// The kinds of paint: the whole face; the face with the cursor line's colour at every
// position along the ruler instead of the background (the cursor line lies under the ticks,
// numbers, buttons and outline, so its pixels are those of this face); and what is drawn over
// a face for the cursor label: the label and whatever the whole paint draws over it.
enum class TPass { Whole, Lined, OverLabel };

// One paint of a clip: the face is drawn in its order, restricted to the clip. A cursor
// move repaints a strip a few dozen pixels wide, so whatever lies wholly outside the clip
// (buttons, numbers, the label) is passed over before any of its work is done.
class TScalePainter {
 public:
  TScalePainter(const TRulerScaleInput& input, TPixelView target, const TRect& clip, TPass pass = TPass::Whole)
      : In(input),
        Pass(pass),
        Target(target),
        Canvas(target, clip),
        Length(input.Vertical ? input.Height : input.Width),
        Thickness(input.Vertical ? input.Width : input.Height) {
    const TColor contrast = ContrastColor(input.Background);
    Background = ColorToPixel(input.Background);
    Contrast = ColorToPixel(contrast);
    EndZone = ColorToPixel(MixWithContrast(contrast, input.Background, 64).ToContrast);
    CursorLine = ColorToPixel(input.CursorLine);
    // Dark backgrounds get white numbers and glyphs and a dark label on a white box; light
    // ones the other way round.
    const bool dark = ColorBrightness(input.Background) < 128;
    NumberOp = dark ? TRasterOp::MergePaint : TRasterOp::SrcAnd;
    LabelOp = dark ? TRasterOp::SrcAnd : TRasterOp::MergePaint;
    if (pass == TPass::OverLabel) {
      if (!HasScale(input)) return;
      Scale = ChooseScaleLayout(In.ScaleUnit, In.Granularity, In.PixelsPerInch, In.LogicalPixels);
      PrepareLabel();
      // Nothing but the label's box changes.
      if (Label) Canvas = TClippedCanvas(target, IntersectRect(clip, Label->Box));
    } else if (HasScale(input)) {
      PrepareScale();
    }
    if (pass != TPass::OverLabel || Label) PrepareButtons();
  }

  void Paint() const {
    const TClippedCanvas& canvas = Canvas;
    if (canvas.Clip().Empty()) return;
    if (Pass == TPass::OverLabel) {
      if (!Label) return;
      PaintLabel(canvas);
    } else {
      if (In.Vertical) {
        PaintBackground(canvas);
        PaintCursorLine(canvas);
      } else {
        PaintBackgroundRows(canvas);
      }
      if (Scale) {
        PaintTicks(canvas);
        if (Label) PaintLabel(canvas);
      }
    }
    PaintButtons(canvas);
    PaintOutline(canvas);
  }

 private:
  struct TLabel {
    std::string Text;
    TRect Box;
  };
  struct TButton {
    TPoint Origin;
    int GlyphCell;
    bool Highlighted;
  };

  void PrepareScale() {
    Scale = ChooseScaleLayout(In.ScaleUnit, In.Granularity, In.PixelsPerInch, In.LogicalPixels);
    Walk.emplace(*Scale, Length, In.Flipped);
    Antialiased = In.Antialiasing && Scale->FractionalTicks();
    // How far a tick's drawing reaches along the ruler: its line and antialiasing
    // neighbour, or half its number, the widest being the one at the last tick.
    if (In.Digits)
      NumberReach = TextWidth(TickNumberText(*Scale, Walk->Count() * Scale->Row.Step, In.DecimalSeparator)) / 2 + 2;
    PrepareLabel();
  }

  void PrepareLabel() {
    const int along = CursorAlong();
    if (In.Labeling == 0 || along < 0 || along >= Length) return;
    // The box's rows (and on a horizontal ruler its left edge) are known before its text.
    const TRect& clip = Canvas.Clip();
    const int boxTop = In.Vertical ? In.CursorBoxPos.Y + 2 : DigitRow() - 2;
    if (!Overlap(boxTop, boxTop + 9, clip.Top, clip.Bottom)) return;
    if (!In.Vertical && clip.Right <= In.CursorBoxPos.X + 2) return;
    int position = In.Flipped ? Length - 1 - along : along;
    if (In.Labeling == 2) position = In.Vertical ? In.CursorScreenPos.Y : In.CursorScreenPos.X;
    TLabel label{CursorLabelText(*Scale, position, In.DecimalSeparator), {}};
    const int boxWidth = TextWidth(label.Text) + 4;
    TPoint box;
    if (!In.Vertical)
      box = {In.CursorBoxPos.X + 2, boxTop};
    else if (In.Turned)
      box = {LongTick + 1, boxTop};
    else
      box = {In.Width - boxWidth - 8, boxTop};
    label.Box = {box.X, box.Y, box.X + boxWidth, box.Y + 9};
    Label = std::move(label);
  }

  void PrepareButtons() {
    const TRect& clip = Canvas.Clip();
    // All buttons lie within this reach along the ruler: a strip beyond it has none.
    const int clipAlongFrom = In.Vertical ? clip.Top : clip.Left;
    if (clipAlongFrom >= ButtonRowStart + ButtonSpacing * MiniButtonCount) return;
    int slot = 0;
    for (int index = 0; index < MiniButtonCount; ++index) {
      const auto button = static_cast<TMiniButton>(index);
      if (!In.Buttons.Contains(button)) continue;
      const TPoint origin = ButtonOriginInSlot(In, slot++);
      // The glyph's cell reaches a pixel past the button's square.
      if (!Overlap(origin.X, origin.X + ButtonCellSize, clip.Left, clip.Right) ||
          !Overlap(origin.Y, origin.Y + ButtonCellSize, clip.Top, clip.Bottom) || !ButtonShown(In, origin))
        continue;
      const bool highlighted = button == In.HotButton && (In.ButtonState == TMiniButtonState::mbsHot ||
                                                          In.ButtonState == TMiniButtonState::mbsDownInside);
      Buttons[ButtonCount++] = {origin, GlyphCell(In.Vertical, button), highlighted};
    }
  }

  TRect Rect(int alongFrom, int alongTo, int acrossFrom, int acrossTo) const {
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

  void PaintBackground(const TClippedCanvas& canvas) const {
    canvas.Fill(Rect(0, EndZoneLength, 0, Thickness), EndZone);
    canvas.Fill(Rect(Length - EndZoneLength, Length, 0, Thickness), EndZone);
    canvas.Fill(Rect(EndZoneLength, Length - EndZoneLength, 0, Thickness), Background);
  }

  void PaintCursorLine(const TClippedCanvas& canvas) const {
    if (Pass == TPass::Lined) {
      canvas.Fill(Rect(0, Length, 1, Thickness), CursorLine);
      return;
    }
    const int along = CursorAlong();
    canvas.Fill(Rect(along, along + 1, 1, Thickness), CursorLine);
  }

  // The same as PaintBackground and PaintCursorLine on a horizontal ruler, where all rows
  // between the first and the last look alike: one row is composed and copied into the
  // others, which costs a narrow strip far less than filling each row piece by piece. The
  // first and last rows are left to the outline, which covers them whole.
  void PaintBackgroundRows(const TClippedCanvas& canvas) const {
    const TRect& clip = canvas.Clip();
    const int top = std::max(clip.Top, 1), bottom = std::min(clip.Bottom, In.Height - 1);
    if (top >= bottom) return;
    TPixel* const row = Target.Row(top) + clip.Left;
    const int nearZoneEnd = std::clamp(EndZoneLength, clip.Left, clip.Right);
    const int farZoneStart = std::clamp(Length - EndZoneLength, nearZoneEnd, clip.Right);
    FillPixels(row, nearZoneEnd - clip.Left, EndZone);
    FillPixels(row + (nearZoneEnd - clip.Left), farZoneStart - nearZoneEnd, Background);
    FillPixels(row + (farZoneStart - clip.Left), clip.Right - farZoneStart, EndZone);
    if (Pass == TPass::Lined) FillPixels(row, clip.Width(), CursorLine);
    const int cursor = CursorAlong();
    if (cursor >= clip.Left && cursor < clip.Right) row[cursor - clip.Left] = CursorLine;

    const std::size_t bytes = static_cast<std::size_t>(clip.Width()) * sizeof(TPixel);
    TPixel* next = row;
    for (int rows = bottom - top - 1; rows > 0; --rows) std::memcpy(next += Target.Width(), row, bytes);
  }

  // Tick marks are one-pixel lines across the ruler, up to two thousand of them on a long
  // fine scale: each is written straight into the pixels, with the clip worked out once per
  // paint instead of once per line.
  // The visible part across the ruler of a short, medium and long tick.
  struct TExtent {
    int From, To;
  };
  std::array<TExtent, 3> TickExtents(const TRect& clip) const {
    const int acrossClipFrom = In.Vertical ? clip.Left : clip.Top;
    const int acrossClipTo = In.Vertical ? clip.Right : clip.Bottom;
    std::array<TExtent, 3> extents{};
    for (const TTickKind kind : {TTickKind::Short, TTickKind::Medium, TTickKind::Long}) {
      const int length = TickLength(kind);
      const int from = In.Turned ? 1 : Thickness - length;
      extents[static_cast<std::size_t>(kind)] = {std::max(from, acrossClipFrom), std::min(from + length, acrossClipTo)};
    }
    return extents;
  }

  void PaintTickLine(int along, const TExtent& extent, TPixel colour) const {
    const std::ptrdiff_t alongStride = In.Vertical ? Target.Width() : 1;
    const std::ptrdiff_t acrossStride = In.Vertical ? 1 : Target.Width();
    TPixel* pixel = Target.Data() + along * alongStride + extent.From * acrossStride;
    for (int across = extent.From; across < extent.To; ++across, pixel += acrossStride) *pixel = colour;
  }

  // The walk's current tick, where it lies in [clipFrom, clipTo) along the ruler.
  void PaintTickMark(const TTickWalk& walk, const TExtent& extent, int clipFrom, int clipTo) const {
    const auto inClip = [&](int along) { return along >= clipFrom && along < clipTo; };
    const int p = walk.P();
    if (Antialiased) {
      // The mark lies F/D of a pixel beyond P: its ink is shared between P and the next pixel.
      const int next = p + walk.Direction();
      if (inClip(p)) PaintTickLine(p, extent, MixWithContrast(Contrast, BackgroundAt(p), walk.Alpha()).FromContrast);
      if (inClip(next))
        PaintTickLine(next, extent, MixWithContrast(Contrast, BackgroundAt(next), walk.Alpha()).ToContrast);
    } else if (inClip(p)) {
      PaintTickLine(p, extent, Contrast);
    }
  }

  void PaintTicks(const TClippedCanvas& canvas) const {
    const TRect& clip = canvas.Clip();
    const int clipFrom = In.Vertical ? clip.Top : clip.Left;
    const int clipTo = In.Vertical ? clip.Bottom : clip.Right;
    const std::array<TExtent, 3> extents = TickExtents(clip);

    TTickWalk walk = *Walk;
    const auto [first, last] = walk.IndexRange(clipFrom - NumberReach, clipTo - 1 + NumberReach);
    if (first > last) return;

    // The numbers' rows across a horizontal ruler; along a vertical one, each number's own.
    const bool numbersAcross =
        !In.Vertical && Overlap(DigitRow(), DigitRow() + NumberGlyphHeight, clip.Top, clip.Bottom);
    const auto numberInClip = [&](int p) {
      return In.Vertical ? Overlap(p - 2, p - 2 + NumberGlyphHeight, clip.Top, clip.Bottom) : numbersAcross;
    };

    walk.Seek(first);
    for (int index = first; index <= last; ++index, walk.Next()) {
      const TTickKind kind = walk.Kind();
      if (kind == TTickKind::Long && In.Digits && numberInClip(walk.P()))
        PaintTickNumber(canvas, TickNumberText(*Scale, walk.G(), In.DecimalSeparator), walk.P());
      const TExtent& extent = extents[static_cast<std::size_t>(kind)];
      if (extent.From < extent.To) PaintTickMark(walk, extent, clipFrom, clipTo);
    }
  }

  void PaintLabel(const TClippedCanvas& canvas) const {
    canvas.Fill(Label->Box, Contrast);
    DrawDigits(canvas, Label->Box.Left + 2, Label->Box.Top + 2, Label->Text, LabelOp, In.DecimalSeparator);
  }

  void PaintTickNumber(const TClippedCanvas& canvas, const std::string& text, int p) const {
    const int width = TextWidth(text);
    if (In.Vertical) {
      const int x = In.Turned ? LongTick + 3 : In.Width - 10 - width;
      DrawDigits(canvas, x, p - 2, text, NumberOp, In.DecimalSeparator);
    } else {
      DrawDigits(canvas, p - width / 2, DigitRow(), text, NumberOp, In.DecimalSeparator);
    }
  }

  void PaintButtons(const TClippedCanvas& canvas) const {
    for (int i = 0; i < ButtonCount; ++i) {
      const TButton& button = Buttons[static_cast<std::size_t>(i)];
      const TPoint o = button.Origin;
      canvas.Fill({o.X, o.Y, o.X + MiniButtonSize, o.Y + MiniButtonSize}, Background);
      DrawButtonGlyph(canvas, o.X, o.Y, button.GlyphCell, NumberOp, button.Highlighted);
    }
  }

  void PaintOutline(const TClippedCanvas& canvas) const {
    TRect outline{0, 0, In.Width, In.Height};
    // The end that meets the magnifier stays open: the rectangle reaches one pixel past it.
    if (In.MagnifierVisible) {
      int& openEnd =
          In.Vertical ? (In.Flipped ? outline.Top : outline.Bottom) : (In.Flipped ? outline.Left : outline.Right);
      openEnd += In.Flipped ? -1 : 1;
    }
    canvas.Frame(outline, Contrast);
  }

  const TRulerScaleInput& In;
  TPass Pass;
  TPixelView Target;
  TClippedCanvas Canvas;
  int Length;
  int Thickness;
  TPixel Background{}, Contrast{}, EndZone{}, CursorLine{};
  TRasterOp NumberOp{}, LabelOp{};
  std::optional<TScaleLayout> Scale;
  std::optional<TTickWalk> Walk;
  bool Antialiased = false;
  int NumberReach = 1;
  std::optional<TLabel> Label;
  std::array<TButton, MiniButtonCount> Buttons{};
  int ButtonCount = 0;
};

}  // namespace

void PaintScale(const TRulerScaleInput& input, TPixelView target, const TRect& clip) {
  const TRect area = IntersectRect(IntersectRect(clip, {0, 0, input.Width, input.Height}), target.Bounds());
  if (!area.Empty()) TScalePainter(input, target, area).Paint();
}

bool FaceFits(const TScaleFace& face, const TRulerScaleInput& input) {
  TRulerScaleInput look = input;
  look.CursorBoxPos = look.CursorScreenPos = {-1, -1};
  return look == face.Look && face.Plain.Width() == input.Width && face.Plain.Height() == input.Height;
}

void PaintScaleFace(const TRulerScaleInput& input, TScaleFace& face) {
  face.Look = input;
  face.Look.CursorBoxPos = face.Look.CursorScreenPos = {-1, -1};
  const TRect area{0, 0, input.Width, input.Height};
  // A paint covers every pixel: buffers of the right size are painted over as they are.
  for (TPixelBuffer* buffer : {&face.Plain, &face.Lined})
    if (buffer->Width() != input.Width || buffer->Height() != input.Height) buffer->Resize(input.Width, input.Height);
  if (area.Empty()) return;
  TScalePainter(face.Look, face.Plain.View(), area).Paint();
  TScalePainter(face.Look, face.Lined.View(), area, TPass::Lined).Paint();
}

void ComposeFromFace(const TRulerScaleInput& input, const TScaleFace& face, TPixelView target, const TRect& clip) {
  const TRect area =
      IntersectRect(IntersectRect(clip, {0, 0, face.Plain.Width(), face.Plain.Height()}), target.Bounds());
  if (area.Empty()) return;
  // The cursor line's pixels come from the lined face: a column of it, or a row on a
  // vertical ruler; the others from the plain one.
  const TPoint cursor = input.CursorBoxPos;
  const int lineColumn = !input.Vertical && cursor.X >= area.Left && cursor.X < area.Right ? cursor.X : -1;
  const int lineRow = input.Vertical ? cursor.Y : -1;
  const std::size_t bytes = static_cast<std::size_t>(area.Width()) * sizeof(TPixel);
  for (int y = area.Top; y < area.Bottom; ++y) {
    const TPixelBuffer& source = y == lineRow ? face.Lined : face.Plain;
    TPixel* const row = target.Row(y);
    std::memcpy(row + area.Left, source.Row(y) + area.Left, bytes);
    if (lineColumn >= 0) row[lineColumn] = face.Lined.Row(y)[lineColumn];
  }
  TScalePainter(input, target, area, TPass::OverLabel).Paint();
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
  return ButtonOriginInSlot(input, ButtonSlot(input, button));
}

bool ButtonShown(const TRulerScaleInput& input, TPoint origin) {
  const int length = input.Vertical ? input.Height : input.Width;
  const int thickness = input.Vertical ? input.Width : input.Height;
  const int along = input.Vertical ? origin.Y : origin.X;
  return thickness >= (HasScale(input) ? 30 : 15) && along + 30 < length;
}

std::optional<TRect> CursorLineStrip(const TRulerScaleInput& input, TPoint scaleAreaOrigin, int clientWidth,
                                     int clientHeight) {
  const bool labelled = input.Labeling != 0;
  if (input.Vertical) {
    const int cy = input.CursorBoxPos.Y;
    if (cy < 0 || cy >= input.Height) return std::nullopt;
    const int top = scaleAreaOrigin.Y + cy;
    return TRect{0, top, clientWidth, top + (labelled ? 11 : 1)};
  }
  const int cx = input.CursorBoxPos.X;
  if (cx < 0 || cx >= input.Width) return std::nullopt;
  int width = labelled ? 31 : 1;
  if (labelled && HasScale(input)) {
    // Long labels (six characters and more) reach past the usual 31 pixels; the strip
    // covers them so that no stale label is left behind when the cursor moves on.
    const TScaleLayout layout =
        ChooseScaleLayout(input.ScaleUnit, input.Granularity, input.PixelsPerInch, input.LogicalPixels);
    const int position = input.Labeling == 2 ? input.CursorScreenPos.X : (input.Flipped ? input.Width - 1 - cx : cx);
    const std::string text = CursorLabelText(layout, position, input.DecimalSeparator);
    width = std::max(width, TextWidth(text) + 6);
  }
  const int left = scaleAreaOrigin.X + cx;
  return TRect{left, 0, left + width, clientHeight};
}
