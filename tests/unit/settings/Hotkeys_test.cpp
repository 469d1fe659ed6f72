// Hotkey chords as the settings file writes them, and the hotkeys branch of the settings tree.

#include <gtest/gtest.h>

#include "settings/Hotkeys.h"
#include "SettingsFileTestSupport.h"

namespace {

using namespace SettingsFileTest;

std::string Normalised(const std::string& text) {
  const std::optional<THotkey> hotkey = ParseHotkey(text);
  return hotkey ? FormatHotkey(*hotkey) : "<not a hotkey>";
}

TEST(HotkeyText, ChordsReadInAnyOrderAndCaseAndWriteCanonically) {
  EXPECT_EQ(Normalised("Ctrl+Alt+Shift+R"), "Ctrl+Alt+Shift+R");
  EXPECT_EQ(Normalised(" shift + CONTROL+alt +r "), "Ctrl+Alt+Shift+R");
  EXPECT_EQ(Normalised("Win+Ctrl+Delete"), "Ctrl+Win+Delete");
  EXPECT_EQ(Normalised("F9"), "F9");  // the F-keys may stand alone
  EXPECT_EQ(Normalised("shift+f24"), "Shift+F24");
  EXPECT_EQ(Normalised("Ctrl+Alt+Num5"), "Ctrl+Alt+Num5");
  EXPECT_EQ(Normalised("Ctrl+Alt+Key173"), "Ctrl+Alt+Key173");  // a key without a name, by number

  // Every key code the control can give comes back as itself through its text.
  for (int key = 1; key < 256; ++key) {
    const THotkey hotkey{static_cast<std::uint8_t>(key), hmControl | hmShift};
    const std::string text = FormatHotkey(hotkey);
    if (text.size() <= std::string("Ctrl+Shift+").size()) continue;  // a mouse button or a modifier key
    EXPECT_EQ(ParseHotkey(text), hotkey) << text;
  }
  for (const THotkeyActionInfo& action : HotkeyActions) EXPECT_EQ(Normalised(action.DefaultText), action.DefaultText);
}

TEST(HotkeyText, ClearingAndJunk) {
  EXPECT_EQ(ParseHotkey(""), THotkey{});
  EXPECT_EQ(ParseHotkey("   "), THotkey{});
  EXPECT_EQ(FormatHotkey(THotkey{}), "");
  EXPECT_EQ(CaptionWithHotkey(L"&Hide", THotkey{}), L"&Hide");
  EXPECT_EQ(CaptionWithHotkey(L"&Hide", *ParseHotkey("Ctrl+Alt+Shift+R")), L"&Hide\tCtrl+Alt+Shift+R");

  for (const char* junk : {"Ctrl+", "+R", "Ctrl++R", "Ctrl+Ctrl+R", "Ctrl+Alt", "R+Ctrl", "Hyper+R", "Ctrl+Foo",
                           "Ctrl+Shift", "Ctrl+Key16", "Ctrl+Key1", "Ctrl+Alt+Shift+R+K"})
    EXPECT_EQ(ParseHotkey(junk), std::nullopt) << junk;
  // A key that is typed or moves the caret would be taken from every program.
  for (const char* typing : {"R", "Shift+R", "Space", "Shift+Left", "Num5", "Enter"})
    EXPECT_EQ(ParseHotkey(typing), std::nullopt) << typing;
}

TEST(HotkeySettings, OlderFilesGetTheDefaultsAndJunkKeepsTheDefaultChord) {
  auto settings = ProgramSettings();
  ASSERT_EQ(Load(*settings, SettingsWith("  <general><stayontop>False</stayontop></general>")), "");
  for (const THotkeyActionInfo& action : HotkeyActions)
    EXPECT_EQ(FormatHotkey(settings->Hotkeys->Hotkey(action.Action)), action.DefaultText);

  ASSERT_EQ(Load(*settings, SettingsWith(R"(
  <hotkeys>
    <showruler>Alt+F9</showruler>
    <pickcolor>Ctrl+Banana</pickcolor>
    <cursorcoordinates></cursorcoordinates>
  </hotkeys>)")),
            "");
  const THotkeySettings& hotkeys = *settings->Hotkeys;
  EXPECT_EQ(FormatHotkey(hotkeys.Hotkey(THotkeyAction::ShowRuler)), "Alt+F9");
  EXPECT_EQ(FormatHotkey(hotkeys.Hotkey(THotkeyAction::Measure)), "Ctrl+Alt+Shift+M");
  EXPECT_EQ(FormatHotkey(hotkeys.Hotkey(THotkeyAction::PickColor)), "Ctrl+Alt+Shift+C");
  EXPECT_TRUE(hotkeys.Hotkey(THotkeyAction::CursorCoordinates).Empty());
  // The text that is not a chord stays as the user wrote it, and is written back so.
  EXPECT_NE(Document(*settings).find("<pickcolor>Ctrl+Banana</pickcolor>"), std::string::npos);
  EXPECT_NE(Document(*settings).find("<cursorcoordinates></cursorcoordinates>"), std::string::npos);
}

}  // namespace
