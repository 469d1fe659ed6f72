// How the notification icon's mouse messages become clicks.
#include <gtest/gtest.h>

#include <vector>

#include "app/TrayIconMouse.h"

namespace {

std::vector<TTrayIconAction> Actions(std::initializer_list<std::uint32_t> messages) {
  TTrayIconMouse mouse;
  std::vector<TTrayIconAction> actions;
  for (std::uint32_t m : messages) {
    const TTrayIconAction action = mouse.Feed(m).Action;
    if (action != TTrayIconAction::None) actions.push_back(action);
  }
  return actions;
}

using A = TTrayIconAction;
constexpr std::uint32_t Move = 0x200, LDown = 0x201, LUp = 0x202, LDbl = 0x203, RDown = 0x204, RUp = 0x205;

}  // namespace

TEST(TrayIconMouse, PressAndReleaseOnTheIconIsAClick) {
  EXPECT_EQ(Actions({LDown, LUp}), std::vector<A>{A::Click});
  EXPECT_EQ(Actions({RDown, RUp}), std::vector<A>{A::RightClick});
  EXPECT_EQ(Actions({LDown, Move, Move, LUp}), std::vector<A>{A::Click}) << "moves over the icon do not matter";
}

TEST(TrayIconMouse, ReleaseWithoutPressOnTheIconIsNoClick) {
  // Pressed elsewhere, released over the icon: only the up arrives.
  EXPECT_TRUE(Actions({LUp}).empty());
  EXPECT_TRUE(Actions({RUp}).empty());
  // Left press, right release: neither button clicked.
  EXPECT_TRUE(Actions({LDown, RUp}).empty());
}

TEST(TrayIconMouse, DoubleClickArrivesOnceAfterOneClick) {
  EXPECT_EQ(Actions({LDown, LUp, LDbl, LUp}), (std::vector<A>{A::Click, A::DoubleClick}));
  // A click after the double click needs its own press.
  EXPECT_EQ(Actions({LDown, LUp, LDbl, LUp, LDown, LUp}), (std::vector<A>{A::Click, A::DoubleClick, A::Click}));
}

TEST(TrayIconMouse, OnlyReleasesAndDoubleClicksAreAnswered) {
  TTrayIconMouse mouse;
  EXPECT_FALSE(mouse.Feed(LDown).Handled);
  EXPECT_TRUE(mouse.Feed(LUp).Handled);
  EXPECT_FALSE(mouse.Feed(Move).Handled);
  EXPECT_EQ(mouse.LastMouseMessage(), LUp) << "moves leave the last button message alone";
  EXPECT_TRUE(mouse.Feed(LDbl).Handled);
  EXPECT_FALSE(mouse.Feed(RDown).Handled);
  EXPECT_TRUE(mouse.Feed(RUp).Handled);
}

TEST(TrayIconMouse, TipIsCutTo63Characters) {
  EXPECT_EQ(TrayIconTip("Vindle"), "Vindle");
  const std::string long_title(100, 'x');
  EXPECT_EQ(TrayIconTip(long_title).size(), 63u);
  EXPECT_EQ(TrayIconTip(std::string(63, 'y')), std::string(63, 'y'));
  EXPECT_EQ(TrayIconTip(""), "");
}
