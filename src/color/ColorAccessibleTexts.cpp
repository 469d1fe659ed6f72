#include "color/ColorAccessibleTexts.h"

#include <array>

#include "color/CursorFormRules.h"
#include "color/ColorClipboardText.h"

namespace {

// By system colour index; 25 has never been assigned.
constexpr std::array<const char*, 31> SystemColorNames = {"scroll bar",
                                                          "desktop",
                                                          "active caption",
                                                          "inactive caption",
                                                          "menu",
                                                          "window",
                                                          "window frame",
                                                          "menu text",
                                                          "window text",
                                                          "caption text",
                                                          "active border",
                                                          "inactive border",
                                                          "application workspace",
                                                          "highlight",
                                                          "highlight text",
                                                          "button face",
                                                          "button shadow",
                                                          "gray text",
                                                          "button text",
                                                          "inactive caption text",
                                                          "button highlight",
                                                          "3D dark shadow",
                                                          "3D light",
                                                          "tooltip text",
                                                          "tooltip background",
                                                          "",
                                                          "hot-tracked item",
                                                          "active caption gradient",
                                                          "inactive caption gradient",
                                                          "menu highlight",
                                                          "menu bar"};

std::string HexText(TColor rgb) { return '#' + ColorClipboardText(rgb); }

}  // namespace

std::string SystemColorName(TColor color) {
  if (!IsSystemColor(color)) return {};
  // The low byte is the index, whatever the high byte holds, as when the colour is resolved.
  const TColor index = color & 0xFFu;
  return index < SystemColorNames.size() ? SystemColorNames[index] : "";
}

std::string ColorAccessibleValue(TColor color, TColor shown, const std::string& shownText) {
  std::string text = shownText.empty() ? HexText(shown & 0x00FFFFFFu) : shownText;
  if (const std::string name = SystemColorName(color); !name.empty()) text += ", " + name;
  return text;
}

std::string CursorAccessibleValue(int x, int y) { return "x " + std::to_string(x) + ", y " + std::to_string(y); }

std::string CursorColorDescription(std::uint32_t sampledColorRef) {
  if (!IsScreenColor(sampledColorRef)) return {};
  return "color " + HexText(sampledColorRef);
}
