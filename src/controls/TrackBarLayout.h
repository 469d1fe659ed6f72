#pragma once
// The rules of the track bars that need no window: the twelve label modes (value of a
// position, its text, and back), the label text with its "<pos>" placeholder, the range
// rules of the position, and the geometry of groove, label and thumb.
// Strings are UTF-8; separators come from the caller (the user's locale).

#include <climits>
#include <optional>
#include <string>
#include <string_view>

#include "base/Geometry.h"

enum TQorvelLabelMode {
  plmPos,
  plmMul,
  plmDiv,
  plmShl,
  plmShr,
  plmBin,
  plmInv,
  plmLog,
  plmExp,
  plmSqr,
  plmAdd,
  plmSub
};

enum TQorvelLabelOption : unsigned {
  ploVisible = 1u << 0,
  ploPlusMinusZero = 1u << 1,
  ploExplicitSign = 1u << 2,
  ploHint = 1u << 3,
  ploDisableEdit = 1u << 4,
  ploDisableCopy = 1u << 5,
  ploDisablePaste = 1u << 6,
  ploFlip = 1u << 7,
  ploRotate = 1u << 8,
};
using TQorvelLabelOptions = unsigned;

enum TQorvelSlideBarOrientation { psoHorizontal, psoVertical };

// Codes passed to OnScroll.
enum TQorvelScrollCode { pscStepDown = 0, pscStepUp = 1, pscCommand = 4, pscTrack = 5, pscEndDrag = 8 };

struct TQorvelNumberFormat {
  char DecimalSeparator = '.';
  std::string ThousandSeparator = ",";
};

struct TQorvelLabelScale {
  TQorvelLabelMode Mode = plmPos;
  double Param = 1.0;

  static constexpr double kInvalidValue = -1e13;
  static constexpr int kInvalidPosition = INT_MIN;

  bool ParamInRange() const;           // for the text; false shows "***"
  double ValueOf(int position) const;  // kInvalidValue when impossible
  int PositionOf(double value) const;  // kInvalidPosition when impossible
  // The value text of a position with its sign decoration.
  std::string Text(int position, TQorvelLabelOptions options, const TQorvelNumberFormat& format) const;

  // Which popup editor edits the value: integer, or float with `Decimals`.
  struct TEditor {
    bool Float = false;
    int Decimals = 0;
  };
  TEditor Editor(int minPosition, int maxPosition) const;
};

// Number format with thousands separators and a fixed count of decimals.
std::string FormatNumber(double value, int decimals, const TQorvelNumberFormat& format);

// A value text as a user may paste it back: a copied text with sign decoration and
// thousands separators reads as the number it shows.
std::optional<double> ParseLabelValue(std::string_view text, const TQorvelNumberFormat& format);

// The caption with every "<pos>" (any case) replaced. `prefix` receives the caption text
// before the first "<pos>"; answers whether there was one.
std::string ReplacePosPlaceholder(std::string_view caption, std::string_view valueText, std::string* prefix = nullptr,
                                  bool* found = nullptr);

// Position, default position, range and step of a bar, with the rules of their setters.
// Each setter answers whether anything changed.
class TQorvelTrackRange {
 public:
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  int DefaultPosition() const { return FDefaultPosition; }
  int SmallChange() const { return FSmallChange; }

  bool SetMin(int value);
  bool SetMax(int value);
  bool SetPosition(int value);
  bool SetDefaultPosition(int value);
  bool SetSmallChange(int value);
  int Clamp(long long position) const;

 private:
  void ClampPositions();
  int FMin = 0, FMax = 100, FPosition = 0, FDefaultPosition = 0, FSmallChange = 1;
};

// Everything the layout of a bar depends on.
struct TQorvelBarLayout {
  TQorvelSlideBarOrientation Orientation = psoHorizontal;
  int Width = 120, Height = 32;
  int LabelHeight = 0;  // the text height of "0"; used when the label is visible
  bool LabelVisible = false;
  bool LabelFlipped = false;  // below (right of) the groove

  int ThumbWidth() const { return Orientation == psoHorizontal ? 25 : 17; }
  int ThumbHeight() const { return Orientation == psoHorizontal ? 17 : 25; }

  TPoint GrooveCentre() const;
  TPoint LabelAnchor() const;
  TRect GrooveBand() const;
  TPoint ThumbTopLeft(const TQorvelTrackRange& range) const;
  TRect ThumbRect(const TQorvelTrackRange& range) const;
  // The position of a thumb placed with its top-left corner at `p`, a multiple of the step.
  int PositionAt(const TQorvelTrackRange& range, TPoint p) const;
};

// Screen position of the popup editor: its centre under the centre of the value text.
TPoint PopupEditorOrigin(TPoint labelTopLeft, const TRect& valueRect, int editWidth, int editHeight);
