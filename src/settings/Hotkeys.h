#pragma once
// System-wide hotkeys as values: the chord, its text in the settings file ("Ctrl+Alt+Shift+R")
// and the actions a chord can start.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Modifier bits of a chord, in the order the text writes them.
enum THotkeyModifier : std::uint8_t { hmControl = 1, hmAlt = 2, hmShift = 4, hmWin = 8 };

struct THotkey {
  std::uint8_t Key = 0;  // a Windows virtual-key code; 0 is no hotkey (cleared)
  std::uint8_t Modifiers = 0;

  bool Empty() const { return Key == 0; }
  friend bool operator==(const THotkey&, const THotkey&) = default;
};

// "Ctrl+Alt+Shift+Win+<key>" with the modifiers in that order; "" for no hotkey. Keys are
// named as on a US keyboard: "A".."Z", "0".."9", "F1".."F24", "Space", "PageUp", "Num5",
// "Comma" and so on.
std::string FormatHotkey(THotkey hotkey);

// The text read back: the modifiers in any order and case, spaces around the parts allowed,
// the key last; an empty or blank text is no hotkey. Anything else is not a hotkey (nullopt),
// also a key other than F1..F24 and Pause without Ctrl, Alt or Win: it would be taken from
// every program that is typed into.
std::optional<THotkey> ParseHotkey(std::string_view text);

enum class THotkeyAction { ShowRuler, Measure, PickColor, CursorCoordinates };
inline constexpr int HotkeyActionCount = 4;

struct THotkeyActionInfo {
  THotkeyAction Action;
  const wchar_t* Caption;   // on the settings page, with its access key
  const wchar_t* Name;      // in notifications
  const char* DefaultText;  // chords that neither Windows nor the AltGr layouts use
};

inline constexpr std::array<THotkeyActionInfo, HotkeyActionCount> HotkeyActions{{
    {THotkeyAction::ShowRuler, L"Show or hide the &ruler:", L"Show or hide the ruler", "Ctrl+Alt+Shift+R"},
    {THotkeyAction::Measure, L"Start &measuring:", L"Start measuring", "Ctrl+Alt+Shift+M"},
    {THotkeyAction::PickColor, L"&Pick the color under the pointer:", L"Pick the color under the pointer",
     "Ctrl+Alt+Shift+C"},
    {THotkeyAction::CursorCoordinates, L"Show or hide the cursor c&oordinates:", L"Show or hide the cursor coordinates",
     "Ctrl+Alt+Shift+K"},
}};

inline const THotkeyActionInfo& HotkeyActionInfo(THotkeyAction action) {
  return HotkeyActions[static_cast<std::size_t>(action)];
}

// A menu caption followed by the action's chord, tab-separated so that the menu aligns it
// on the right; the caption alone when the chord is cleared.
std::wstring CaptionWithHotkey(const std::wstring& caption, THotkey hotkey);

// What the notification at start says of the chords the system would not register.
std::wstring HotkeysInUseNotice(const std::vector<std::pair<THotkeyAction, THotkey>>& refused);
