#include "settings/Hotkeys.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

struct TKeyName {
  std::uint8_t Key;
  std::string_view Name;
};

// Keys with a name of their own; letters, digits, F-keys and the number pad are worked out.
constexpr std::array<TKeyName, 32> NamedKeys{{
    {0x08, "Backspace"},    {0x09, "Tab"},         {0x0D, "Enter"},     {0x13, "Pause"},       {0x1B, "Escape"},
    {0x20, "Space"},        {0x21, "PageUp"},      {0x22, "PageDown"},  {0x23, "End"},         {0x24, "Home"},
    {0x25, "Left"},         {0x26, "Up"},          {0x27, "Right"},     {0x28, "Down"},        {0x2D, "Insert"},
    {0x2E, "Delete"},       {0x6A, "NumMultiply"}, {0x6B, "NumAdd"},    {0x6D, "NumSubtract"}, {0x6E, "NumDecimal"},
    {0x6F, "NumDivide"},    {0xBA, "Semicolon"},   {0xBB, "Equals"},    {0xBC, "Comma"},       {0xBD, "Minus"},
    {0xBE, "Period"},       {0xBF, "Slash"},       {0xC0, "Backquote"}, {0xDB, "LeftBracket"}, {0xDC, "Backslash"},
    {0xDD, "RightBracket"}, {0xDE, "Quote"},
}};

constexpr std::array<std::pair<THotkeyModifier, std::string_view>, 4> ModifierNames{
    {{hmControl, "Ctrl"}, {hmAlt, "Alt"}, {hmShift, "Shift"}, {hmWin, "Win"}}};

std::string KeyName(std::uint8_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= 0x60 && key <= 0x69) return "Num" + std::to_string(key - 0x60);
  if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x70 + 1);
  for (const TKeyName& named : NamedKeys)
    if (named.Key == key) return std::string(named.Name);
  // Mouse buttons and the modifier keys themselves are no key of a chord.
  const bool button = key <= 0x06;
  const bool modifier = (key >= 0x10 && key <= 0x12) || key == 0x5B || key == 0x5C || (key >= 0xA0 && key <= 0xA5);
  if (button || modifier) return {};
  // Any other key the system's hotkey control can take (a media key, a key of another
  // layout) by its number, so that whatever is chosen is written and read back.
  return "Key" + std::to_string(key);
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<std::uint8_t> ParseModifier(std::string_view part) {
  if (SameText(part, "Control")) return hmControl;
  for (const auto& [bit, name] : ModifierNames)
    if (SameText(part, name)) return bit;
  return std::nullopt;
}

std::optional<std::uint8_t> ParseKey(std::string_view part) {
  // Every code with a name, tried in turn: the table is small and this runs once per setting.
  for (int key = 1; key < 256; ++key) {
    const std::string name = KeyName(static_cast<std::uint8_t>(key));
    if (!name.empty() && SameText(part, name)) return static_cast<std::uint8_t>(key);
  }
  return std::nullopt;
}

// Only the F-keys and Pause may stand without Ctrl, Alt or Win: any other key (with Shift
// at most) would be taken from every program that is typed into.
bool NeedsAModifier(THotkey hotkey) {
  const bool standsAlone = hotkey.Key == 0x13 || (hotkey.Key >= 0x70 && hotkey.Key <= 0x87);
  return !standsAlone && (hotkey.Modifiers & (hmControl | hmAlt | hmWin)) == 0;
}

}  // namespace

std::string FormatHotkey(THotkey hotkey) {
  if (hotkey.Empty()) return {};
  std::string text;
  for (const auto& [bit, name] : ModifierNames)
    if ((hotkey.Modifiers & bit) != 0) text.append(name).push_back('+');
  return text + KeyName(hotkey.Key);
}

std::optional<THotkey> ParseHotkey(std::string_view text) {
  if (Trimmed(text).empty()) return THotkey{};
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t plus = text.find('+', start);
    parts.push_back(Trimmed(text.substr(start, plus == std::string_view::npos ? text.npos : plus - start)));
    if (plus == std::string_view::npos) break;
    start = plus + 1;
  }
  THotkey hotkey;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    const std::optional<std::uint8_t> modifier = ParseModifier(parts[i]);
    if (!modifier || (hotkey.Modifiers & *modifier) != 0) return std::nullopt;
    hotkey.Modifiers |= *modifier;
  }
  const std::optional<std::uint8_t> key = ParseKey(parts.back());
  if (!key) return std::nullopt;
  hotkey.Key = *key;
  if (NeedsAModifier(hotkey)) return std::nullopt;
  return hotkey;
}

std::wstring CaptionWithHotkey(const std::wstring& caption, THotkey hotkey) {
  if (hotkey.Empty()) return caption;
  const std::string text = FormatHotkey(hotkey);
  return caption + L'\t' + std::wstring(text.begin(), text.end());
}

std::wstring HotkeysInUseNotice(const std::vector<std::pair<THotkeyAction, THotkey>>& refused) {
  std::wstring list;
  for (const auto& [action, hotkey] : refused) {
    const std::string chord = FormatHotkey(hotkey);
    if (!list.empty()) list += L", ";
    list += std::wstring(HotkeyActionInfo(action).Name) + L" (" + std::wstring(chord.begin(), chord.end()) + L")";
  }
  const wchar_t* which = refused.size() == 1 ? L"This hotkey is" : L"These hotkeys are";
  return std::wstring(which) + L" in use by another program: " + list + L". Choose others in Settings, Hotkeys.";
}
