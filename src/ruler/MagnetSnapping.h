#pragma once
// Magnet forms: windows that snap to nearby edges while the user drags them. This is the
// portable half: the ally set, the module-wide snap distance and the snapping arithmetic
// over plain rectangles. The window half (the form class, its ally lists and the message
// handler) turns real windows into the rectangles below and calls into here.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "base/PixelBuffers.h"

enum class TQorvelMagnetAlly : std::uint8_t {
  pmaScreenBounds = 0,        // the primary screen, snapped from inside
  pmaWorkArea = 1,            // the desktop work area, snapped from inside
  pmaScreenForms = 2,         // the application's other visible forms, snapped from outside
  pmaAllyControls = 3,        // the form's own ally list, mode per entry
  pmaGlobalAllyControls = 4,  // the module-wide ally list, mode per entry
};

// A set of TQorvelMagnetAlly, bit i for ordinal i (one byte, as the property is stored).
class TQorvelMagnetAllies {
 public:
  constexpr TQorvelMagnetAllies() = default;
  constexpr TQorvelMagnetAllies(std::initializer_list<TQorvelMagnetAlly> allies) {
    for (TQorvelMagnetAlly a : allies) FBits = static_cast<std::uint8_t>(FBits | Bit(a));
  }
  static constexpr TQorvelMagnetAllies FromByte(std::uint8_t bits) {
    TQorvelMagnetAllies s;
    s.FBits = bits;
    return s;
  }
  constexpr std::uint8_t ToByte() const { return FBits; }
  constexpr bool Contains(TQorvelMagnetAlly a) const { return (FBits & Bit(a)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  friend constexpr bool operator==(TQorvelMagnetAllies, TQorvelMagnetAllies) = default;

 private:
  static constexpr std::uint8_t Bit(TQorvelMagnetAlly a) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(a));
  }
  std::uint8_t FBits = 0;
};

// What a new magnet form starts with: everything except the screen bounds (value 30).
inline constexpr TQorvelMagnetAllies kDefaultMagnetAllies{
    TQorvelMagnetAlly::pmaWorkArea, TQorvelMagnetAlly::pmaScreenForms, TQorvelMagnetAlly::pmaAllyControls,
    TQorvelMagnetAlly::pmaGlobalAllyControls};

enum class TMagnetMode : std::uint8_t {
  Inside,   // pulled into the rectangle, edge to same edge
  Outside,  // pulled against the rectangle from outside, edge to opposite edge
};

// Ally entries carry a mode byte: 1 is inside, every other value outside.
constexpr TMagnetMode MagnetModeFromByte(std::uint8_t mode) {
  return mode == 1 ? TMagnetMode::Inside : TMagnetMode::Outside;
}

// Another form of the application; forms are always snapped to from outside.
struct TMagnetForm {
  TRect Bounds;  // screen coordinates, Right and Bottom exclusive
  bool Visible = true;
};

// An entry of an ally list: a control's rectangle in screen coordinates and its mode.
struct TMagnetTarget {
  TRect Bounds;
  TMagnetMode Mode = TMagnetMode::Outside;
  bool Visible = true;
};

// Every rectangle a form may snap to, gathered by the window layer at the moment of the
// move. The lists keep the order of the application's form list and of the ally lists
// and leave out the moving form itself; hidden windows offer no edges.
struct TMagnetSurroundings {
  TRect Screen;    // (0, 0, primary screen width, height)
  TRect WorkArea;  // the primary screen minus task bars
  std::vector<TMagnetForm> OtherForms;
  std::vector<TMagnetTarget> Allies;        // the form's own ally list
  std::vector<TMagnetTarget> GlobalAllies;  // the module-wide ally list
};

struct TMagnetPosition {
  int X = 0, Y = 0;
  friend bool operator==(const TMagnetPosition&, const TMagnetPosition&) = default;
};

// The snapped top-left corner for a form of the given size proposed at `proposed`.
// Distances are always measured from the proposal; an edge is taken only when it is
// strictly nearer than `snapDistance` and than every edge taken before it.
TMagnetPosition Snap(TMagnetPosition proposed, int width, int height, const TMagnetSurroundings& surroundings,
                     TQorvelMagnetAllies allies, int snapDistance);

// A proposed window position change, as the window-position-changing message carries it.
struct TWindowPosProposal {
  int X = 0, Y = 0, Width = 0, Height = 0;
  bool NoMove = false;      // SWP_NOMOVE: X and Y are not meant
  bool NoSize = false;      // SWP_NOSIZE: Width and Height are not meant
  bool ShowWindow = false;  // SWP_SHOWWINDOW
  friend bool operator==(const TWindowPosProposal&, const TWindowPosProposal&) = default;
};

struct TMagnetFormState {
  bool Visible = false;
  bool Maximized = false;
  TRect Bounds;  // the form's current window rectangle
};

// Whether a proposal is a move worth snapping: the form is visible and not maximized, the
// proposal moves it to a new place and keeps its size (resizing never snaps). A proposal
// flagged as not sizing is a pure move whatever width and height it carries.
bool MagnetSnapApplies(const TMagnetFormState& form, const TWindowPosProposal& proposal);

// The magnet form's position-changing handling: the proposal with its position snapped
// when MagnetSnapApplies, otherwise unchanged.
TWindowPosProposal MagnetPositionChanging(const TMagnetFormState& form, TWindowPosProposal proposal,
                                          const TMagnetSurroundings& surroundings, TQorvelMagnetAllies allies,
                                          int snapDistance);

// The snap distance shared by all magnet forms of the program: 8 until the ruler window
// sets it to 5 on creation.
inline constexpr int kInitialMagnetSnapDistance = 8;
int MagnetSnapDistance();
void SetMagnetSnapDistance(int pixels);
