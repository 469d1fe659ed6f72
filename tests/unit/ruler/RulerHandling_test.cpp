#include <gtest/gtest.h>

#include "ruler/RulerHandling.h"
#include "ruler/RulerSettings.h"

namespace {

using S = TMiniButtonState;
using B = TMiniButton;

// A horizontal ruler 300 x 30 with the default buttons: close at x 18, rotate at 30, flip
// at 42, turn at 54, all at y 2.
TRulerScaleInput Ruler300() {
  TRulerScaleInput input;
  input.Width = 300;
  input.Height = 30;
  return input;
}

constexpr TPoint kOnRotate{33, 5};
constexpr TPoint kOffButtons{150, 15};
constexpr TPoint kAway{-1, -1};

// Feeds moves, presses and releases like the window does and remembers what came out.
struct Mouse {
  TRulerScaleInput input = Ruler300();
  TMiniButtonStatus status;
  TMiniButtonResponse last;

  Mouse& Move(TPoint p) { return Apply(MiniButtonMouseMove(input, status, p)); }
  Mouse& Down(bool left = true) { return Apply(MiniButtonMouseDown(status, left)); }
  Mouse& Up(bool left = true) { return Apply(MiniButtonMouseUp(status, left)); }
  Mouse& Apply(const TMiniButtonResponse& response) {
    last = response;
    status = response.Status;
    return *this;
  }
};

TEST(MiniButtonHover, EnteringAButtonHighlightsItAndAsksForTheLeave) {
  Mouse mouse;
  mouse.Move(kOffButtons);
  EXPECT_EQ(mouse.status.State, S::mbsNone);
  EXPECT_FALSE(mouse.last.Repaint);

  mouse.Move(kOnRotate);
  EXPECT_EQ(mouse.status, (TMiniButtonStatus{B::mbRotate, S::mbsHot}));
  EXPECT_TRUE(mouse.last.Repaint);
  EXPECT_TRUE(mouse.last.TrackLeave);

  // Within the same button nothing changes and nothing is repainted.
  mouse.Move({40, 12});
  EXPECT_EQ(mouse.status, (TMiniButtonStatus{B::mbRotate, S::mbsHot}));
  EXPECT_FALSE(mouse.last.Repaint);
  EXPECT_FALSE(mouse.last.TrackLeave);

  // Straight onto the neighbour: a new hot button.
  mouse.Move({42, 2});
  EXPECT_EQ(mouse.status, (TMiniButtonStatus{B::mbFlip, S::mbsHot}));
  EXPECT_TRUE(mouse.last.Repaint);

  // The one-pixel gap between two buttons belongs to neither.
  mouse.Move({41, 5});
  EXPECT_EQ(mouse.status, (TMiniButtonStatus{B::mbClose, S::mbsNone}));
  EXPECT_TRUE(mouse.last.Repaint);
  EXPECT_FALSE(mouse.last.TrackLeave);

  mouse.Move(kOnRotate).Move(kAway);  // the mouse left the window
  EXPECT_EQ(mouse.status.State, S::mbsNone);
}

TEST(MiniButtonClick, PressAndReleaseOnTheButtonRunsItsAction) {
  Mouse mouse;
  mouse.Move(kOnRotate).Down();
  EXPECT_EQ(mouse.status.State, S::mbsDownInside);
  EXPECT_FALSE(mouse.last.Repaint);  // a pressed button looks like a hot one
  mouse.Up();
  EXPECT_EQ(mouse.last.Action, B::mbRotate);
  EXPECT_EQ(mouse.status.State, S::mbsNone);
}

TEST(MiniButtonClick, MovingOffBeforeTheReleaseCancelsAndMovingBackRestores) {
  Mouse mouse;
  mouse.Move(kOnRotate).Down().Move(kOffButtons);
  EXPECT_EQ(mouse.status, (TMiniButtonStatus{B::mbRotate, S::mbsDownOutside}));
  EXPECT_TRUE(mouse.last.Repaint);
  // While pressed, other buttons do not light up.
  mouse.Move({20, 5});
  EXPECT_EQ(mouse.status, (TMiniButtonStatus{B::mbRotate, S::mbsDownOutside}));
  EXPECT_FALSE(mouse.last.Repaint);
  mouse.Up();
  EXPECT_FALSE(mouse.last.Action);
  EXPECT_EQ(mouse.status.State, S::mbsNone);
  EXPECT_TRUE(mouse.last.Repaint);

  Mouse back;
  back.Move(kOnRotate).Down().Move(kAway).Move({30, 12});
  EXPECT_EQ(back.status, (TMiniButtonStatus{B::mbRotate, S::mbsDownInside}));
  EXPECT_TRUE(back.last.Repaint);
  back.Up();
  EXPECT_EQ(back.last.Action, B::mbRotate);
}

TEST(MiniButtonClick, OtherMouseButtonsNeverRunAnAction) {
  // A right click on a button keeps the hover and does nothing else.
  Mouse right;
  right.Move(kOnRotate).Down(false);
  EXPECT_EQ(right.status, (TMiniButtonStatus{B::mbRotate, S::mbsHot}));
  EXPECT_TRUE(right.last.Repaint);
  right.Up(false);
  EXPECT_EQ(right.status.State, S::mbsHot);
  EXPECT_FALSE(right.last.Action);

  // A right press during a left press ends it: the left release is no click any more.
  Mouse both;
  both.Move(kOnRotate).Down().Down(false);
  EXPECT_EQ(both.status.State, S::mbsHot);
  both.Up();
  EXPECT_FALSE(both.last.Action);

  // Pressed and moved off: another button drops the press altogether.
  Mouse off;
  off.Move(kOnRotate).Down().Move(kOffButtons).Down(false);
  EXPECT_EQ(off.status.State, S::mbsNone);

  // A left press beside the buttons is no press of a button.
  Mouse beside;
  beside.Move(kOffButtons).Down().Up();
  EXPECT_EQ(beside.status.State, S::mbsNone);
  EXPECT_FALSE(beside.last.Action);
}

TEST(MiniButtonClick, OtherButtonMap) {
  EXPECT_EQ(OtherButtonState(S::mbsNone), S::mbsNone);
  EXPECT_EQ(OtherButtonState(S::mbsHot), S::mbsHot);
  EXPECT_EQ(OtherButtonState(S::mbsDownOutside), S::mbsNone);
  EXPECT_EQ(OtherButtonState(S::mbsDownInside), S::mbsHot);
}

TEST(MiniButtonZones, ThinOrShortRulersShowOnlyTheButtonsThatFit) {
  // A vertical ruler 10 pixels thick has no buttons at all.
  TRulerScaleInput thin;
  thin.Vertical = true;
  thin.Width = 10;
  thin.Height = 400;
  EXPECT_TRUE(ShownMiniButtonRects(thin).empty());
  for (int i = 0; i < MiniButtonCount; ++i) {
    const TPoint origin = ButtonOrigin(thin, static_cast<B>(i));
    EXPECT_FALSE(MiniButtonAt(thin, {origin.X + 1, origin.Y + 1})) << "button " << i;
  }
  Mouse mouse;
  mouse.input = thin;
  mouse.Move({3, 20});
  EXPECT_EQ(mouse.status.State, S::mbsNone);

  // On an 80-pixel ruler the fourth button would reach into the far end: it is left out.
  TRulerScaleInput shortRuler = Ruler300();
  shortRuler.Width = 80;
  const std::vector<TRect> shown = ShownMiniButtonRects(shortRuler);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[2], (TRect{42, 2, 53, 13}));
  EXPECT_FALSE(MiniButtonAt(shortRuler, {56, 5}));
}

TEST(MiniButtonZones, EnabledButtonsCloseUpAndFollowTheTurnedEdge) {
  TRulerScaleInput input = Ruler300();
  input.Buttons = TMiniButtons{B::mbClose, B::mbMagnifier};
  EXPECT_EQ(MiniButtonAt(input, {30, 2}), B::mbMagnifier);
  EXPECT_EQ(MiniButtonAt(input, {40, 12}), B::mbMagnifier);
  EXPECT_FALSE(MiniButtonAt(input, {42, 5}));

  // Ticks on top: the buttons sit along the bottom edge.
  TRulerScaleInput turned = Ruler300();
  turned.Turned = true;
  EXPECT_EQ(MiniButtonAt(turned, {18, 17}), B::mbClose);
  EXPECT_FALSE(MiniButtonAt(turned, {18, 5}));

  // Vertical and thick enough: the squares run down the ruler.
  TRulerScaleInput vertical;
  vertical.Vertical = true;
  vertical.Width = 30;
  vertical.Height = 300;
  EXPECT_EQ(MiniButtonAt(vertical, {2, 30}), B::mbRotate);
  EXPECT_EQ(ShownMiniButtonRects(vertical).size(), 4u);
}

TEST(RulerCommands, DoubleClickActionsAndUnknownValues) {
  EXPECT_EQ(DoubleClickCommand(0), TRulerCommand::Rotate);
  EXPECT_EQ(DoubleClickCommand(3), TRulerCommand::Hide);
  EXPECT_EQ(DoubleClickCommand(4), TRulerCommand::Exit);
  EXPECT_EQ(DoubleClickCommand(5), TRulerCommand::None);
  EXPECT_EQ(DoubleClickCommand(-1), TRulerCommand::None);
  EXPECT_EQ(MiniButtonCommand(B::mbClose), TRulerCommand::Hide);  // close only hides
}

struct RulerMenu : testing::Test {
  std::unique_ptr<TApplicationSettings> settings = TQorvelSettings::Create<TApplicationSettings>();
  TRulerMenuState State(bool layered = true, bool dialog = true) { return RulerMenuState(*settings, layered, dialog); }
};

TEST_F(RulerMenu, FreshSettings) {
  const TRulerMenuState state = State();
  EXPECT_EQ(state.PresetCaptions,
            (std::array<std::string, 5>{"400 pixels", "500 pixels", "640 pixels", "800 pixels", "1024 pixels"}));
  EXPECT_EQ(state.ConfigurationCaptions,
            (std::array<std::string, 3>{"Configuration &1", "Configuration &2", "Configuration &3"}));
  EXPECT_EQ(state.CheckedConfiguration, 0);
  EXPECT_EQ(state.CheckedUnit, 1);
  EXPECT_EQ(state.DefaultCommand, TRulerCommand::Rotate);
  EXPECT_EQ(state.FlipImage, kImageMirrorLeftRight);
  EXPECT_EQ(state.TurnImage, kImageMirrorTopBottom);
  EXPECT_TRUE(state.TransparentEnabled);
  EXPECT_TRUE(state.SettingsEnabled);
}

TEST_F(RulerMenu, FollowsOrientationConfigurationAndHandling) {
  settings->General->Orientation = 1;
  settings->General->Configuration = 2;
  settings->General->StayOnTop = true;
  settings->Configurations(2)->Name = "Print & web";
  settings->Configurations(2)->Ruler->Scales->ScaleUnit = 4;
  settings->Configurations(2)->Ruler->Transparent = true;
  settings->Configurations(2)->Magnifier->Visible = true;
  settings->Handling->DoubleClickAction = 4;
  const TRulerMenuState state = State(false, false);
  EXPECT_EQ(state.PresetCaptions[1], "480 pixels");  // the vertical presets
  EXPECT_EQ(state.PresetCaptions[4], "768 pixels");
  EXPECT_EQ(state.FlipImage, kImageMirrorTopBottom);
  EXPECT_EQ(state.TurnImage, kImageMirrorLeftRight);
  EXPECT_EQ(state.ConfigurationCaptions[2], "Print & web");
  EXPECT_EQ(state.ConfigurationCaptions[1], "Configuration &2");
  EXPECT_EQ(state.CheckedConfiguration, 2);
  EXPECT_EQ(state.CheckedUnit, 4);
  EXPECT_TRUE(state.StayOnTopChecked);
  EXPECT_TRUE(state.TransparentChecked);
  EXPECT_FALSE(state.TransparentEnabled);
  EXPECT_TRUE(state.MagnifierChecked);
  EXPECT_FALSE(state.SettingsEnabled);
  EXPECT_EQ(state.DefaultCommand, TRulerCommand::Exit);  // no menu item is the default
}

TEST_F(RulerMenu, DamagedValuesCheckNothingAndUnitTagsWrap) {
  settings->Configurations(0)->Ruler->Scales->ScaleUnit = 7;
  EXPECT_EQ(State().CheckedUnit, -1);

  SelectScaleUnit(*settings, 7);
  EXPECT_EQ(settings->Configurations(0)->Ruler->Scales->ScaleUnit, 2);
  SelectScaleUnit(*settings, -1);
  EXPECT_EQ(settings->Configurations(0)->Ruler->Scales->ScaleUnit, 4);
  // Only the active configuration changes.
  settings->General->Configuration = 1;
  SelectScaleUnit(*settings, 3);
  EXPECT_EQ(settings->Configurations(1)->Ruler->Scales->ScaleUnit, 3);
  EXPECT_EQ(settings->Configurations(0)->Ruler->Scales->ScaleUnit, 4);
}

}  // namespace
