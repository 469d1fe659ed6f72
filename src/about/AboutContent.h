#pragma once
// The about box without its window: which lines it shows, what they say, where they sit
// and where the box goes on the screen. The window layer only turns this into controls.

#include <cstdint>
#include <string>
#include <vector>

#include "settings/QorvelSettings.h"
#include "base/QorvelTypes.h"

enum TQorvelAboutOption { paoFileVersion, paoLeftAlignedInfo };
using TQorvelAboutOptions = TQorvelSet<TQorvelAboutOption>;

// What the program sets up before it runs the box. Empty texts are taken from the
// program's version resource. Strings are UTF-8.
struct TQorvelAboutProperties {
  std::string Company;  // not shown
  std::string Product;
  std::string Version;
  std::string Date;  // not shown
  std::string Copyright;
  std::string LinkText;
  std::string LinkURL;
  std::string InfoText;
  TQorvelAboutOptions Options;
  // The usage statistics to show, or none. Not owned.
  const TQorvelExecutionSettings* Execution = nullptr;
};

// The entries of the version resource the box falls back on.
struct TQorvelAboutVersionTexts {
  bool Available = false;  // the program file has a version resource at all
  std::string ProductName;
  std::string ProductVersion;
  std::string LegalCopyright;
  std::string FileVersion;
};

enum class TQorvelAboutLineKind {
  Logo,        // the picture; an empty one takes no room
  Title,       // the product name in bold
  Fixed,       // one centred line
  Link,        // web link: Text shown, Address opened
  Info,        // wrapping text, centred or left-aligned
  StartCount,  // "N times started"
  Usage,       // the running usage time, refreshed every second
  Gap,         // Height pixels of space before the next line
};

struct TQorvelAboutLine {
  TQorvelAboutLineKind Kind;
  std::string Text;
  std::string Address;  // Link only
  int Height = 0;       // Gap only
  friend bool operator==(const TQorvelAboutLine&, const TQorvelAboutLine&) = default;
};

struct TQorvelAboutContent {
  std::string Caption;
  std::vector<TQorvelAboutLine> Lines;
  bool InfoLeftAligned = false;
  bool Ticking = false;  // the usage line needs the one-second timer
};

// The lines of the box, top to bottom, with the version resource filling what the
// properties leave empty. `timeSeparator` is the user's (":" in most locales).
TQorvelAboutContent BuildAboutContent(const TQorvelAboutProperties& properties, const TQorvelAboutVersionTexts& version,
                                      const std::string& timeSeparator);

// "12:00:00 used", "one day and 06:00:00 used", "3 days and 04:05:06 used". The time is
// rounded to milliseconds once, so days and time of day always agree; a negative or
// non-finite duration counts as none.
std::string AboutUsageText(TDateTime overallTime, const std::string& timeSeparator);

// "N times started" for the count held in memory (this run included), which shows as
// count + 1; empty when there is nothing to show (first start or a damaged count).
std::string AboutStartCountText(std::int32_t count);

// The box's layout in 96-dpi pixels: a running y, a pending gap that the next element
// consumes, and a client width that a wide logo can enlarge.
class TQorvelAboutLayout {
 public:
  static constexpr int Margin = 8;
  static constexpr int LineHeight = 16;
  static constexpr int ButtonWidth = 75;
  static constexpr int ButtonHeight = 25;

  explicit TQorvelAboutLayout(int clientWidth = 400) : FClientWidth(clientWidth) {}

  int ClientWidth() const { return FClientWidth; }
  int ClientHeight() const { return FClientHeight; }
  int Y() const { return FY; }

  TRect AddLogo(int width, int height);
  TRect AddFixedLabel();               // also the link's row
  TRect AddWrappingLabel(int height);  // height as measured for TextWidth()
  int TextWidth() const { return FClientWidth - 2 * Margin; }
  void SetGap(int gap) { FGap = gap; }
  // The OK button closes the layout: the client height follows from it.
  TRect AddButton(int width = ButtonWidth, int height = ButtonHeight);

 private:
  void ApplyGap();
  TRect AddRow(int height);

  int FClientWidth;
  int FClientHeight = 0;
  int FY = Margin;
  int FGap = 0;
};

// Where a window of `size` goes to be centred on `anchor` and still lie inside `workArea`
// (the top-left corner wins when it is larger than the work area).
TPoint CenteredWindowOrigin(const TRect& anchor, int width, int height, const TRect& workArea);
