#pragma once
// Test helpers that walk a settings tree through its property tables, the way the
// settings file does, and list every value as "path = value".

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "settings/ApplicationSettings.h"
#include "settings/QorvelSettings.h"

namespace SettingsTreeWalk {

inline std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "$%06X", value);
  return text;
}

inline std::string FormatValue(const TQorvelSettings& object, const TQorvelPropertyInfo& property) {
  switch (property.Kind) {
    case TQorvelTypeKind::Integer: {
      const std::int32_t value = property.GetOrdinal(object);
      if (property.TypeName == "TColor") return Hex(static_cast<std::uint32_t>(value));
      return std::to_string(value);
    }
    case TQorvelTypeKind::Char: return std::string(1, static_cast<char>(property.GetOrdinal(object)));
    case TQorvelTypeKind::Enumeration: return std::string(property.EnumType->IdentifierOf(property.GetOrdinal(object)));
    case TQorvelTypeKind::Set: {
      const auto mask = static_cast<std::uint32_t>(property.GetOrdinal(object));
      std::string text = "[";
      for (int member = 0; member < property.EnumType->Count(); ++member)
        if (mask & (1u << member)) {
          if (text.size() > 1) text += ",";
          text += property.EnumType->IdentifierOf(member);
        }
      return text + "]";
    }
    case TQorvelTypeKind::Float: {
      std::ostringstream text;
      text.precision(17);
      text << property.GetFloat(object);
      return text.str();
    }
    case TQorvelTypeKind::String: return "'" + property.GetString(object) + "'";
    case TQorvelTypeKind::WideString: {
      std::string text = "'";
      for (char16_t unit : property.GetWideString(object))
        text += unit < 128 ? std::string(1, static_cast<char>(unit)) : "\\u" + std::to_string(unit);
      return text + "'";
    }
    case TQorvelTypeKind::Int64: return std::to_string(property.GetInt64(object));
    case TQorvelTypeKind::Class: {
      std::string text = "{";
      for (const std::string& item : property.GetStrings(object)) text += (text.size() > 1 ? "|" : "") + item;
      return text + "}";
    }
  }
  return "?";
}

inline void Walk(const TQorvelSettings& object, const std::string& path, std::vector<std::string>& lines);

// The parts the property tables do not describe; the settings file writes them first.
inline void WalkCustomParts(const TQorvelSettings& object, const std::string& path, std::vector<std::string>& lines) {
  const TQorvelSettingsClass& cls = object.ClassType();
  if (cls.InheritsFrom(TApplicationSettings::StaticClass())) {
    const auto& root = static_cast<const TApplicationSettings&>(object);
    for (int i = 0; i < TApplicationSettings::ConfigurationCount; ++i)
      Walk(*root.Configurations(i), path + "Configurations[" + std::to_string(i) + "]", lines);
  } else if (&cls == &TPresetsSettings::StaticClass()) {
    const auto& presets = static_cast<const TPresetsSettings&>(object);
    for (int i = 0; i < TPresetsSettings::PresetCount; ++i)
      Walk(*presets.Preset(i), path + "[" + std::to_string(i) + "]", lines);
  } else if (&cls == &TColorSettings::StaticClass()) {
    const auto& colors = static_cast<const TColorSettings&>(object);
    for (int i = 0; i < TColorSettings::EntryCount; ++i) {
      const TColorEntry entry = colors.GetColorEntry(i);
      lines.push_back(path + "[" + std::to_string(i) + "] = " + Hex(entry.Value) + " flags " +
                      std::to_string(entry.Flags));
    }
  } else if (&cls == &TQorvelWindowListSettings::StaticClass()) {
    const auto& list = static_cast<const TQorvelWindowListSettings&>(object);
    for (int i = 0; i < list.WindowCount(); ++i) Walk(*list.Window(i), path + "[" + list.WindowName(i) + "]", lines);
  }
}

inline void Walk(const TQorvelSettings& object, const std::string& path, std::vector<std::string>& lines) {
  WalkCustomParts(object, path, lines);
  for (const TQorvelPropertyInfo& property : object.ClassType().Properties()) {
    const std::string name = (path.empty() ? "" : path + ".") + property.Name;
    if (property.IsSettingsChild())
      Walk(*property.GetChild(object), name, lines);
    else
      lines.push_back(name + " = " + FormatValue(object, property));
  }
}

inline std::vector<std::string> Walk(const TQorvelSettings& object) {
  std::vector<std::string> lines;
  Walk(object, "", lines);
  return lines;
}

// Changes every writable value of the tree (all children included) to another valid
// value, so that a copy that misses anything shows.
inline void Scramble(TQorvelSettings& object, bool onlyDeclaredDefaults = false) {
  for (const TQorvelPropertyInfo& property : object.ClassType().Properties()) {
    if (!property.HasSetter() || property.IsSettingsChild()) continue;
    if (onlyDeclaredDefaults && !property.Default) continue;
    switch (property.Kind) {
      case TQorvelTypeKind::Integer:
      case TQorvelTypeKind::Char: property.SetOrdinal(object, property.GetOrdinal(object) + 17); break;
      case TQorvelTypeKind::Enumeration:
        property.SetOrdinal(object, (property.GetOrdinal(object) + 1) % property.EnumType->Count());
        break;
      case TQorvelTypeKind::Set: property.SetOrdinal(object, property.GetOrdinal(object) ^ 0b101); break;
      case TQorvelTypeKind::Float: property.SetFloat(object, property.GetFloat(object) + 1.5); break;
      case TQorvelTypeKind::String: property.SetString(object, property.GetString(object) + "&<x"); break;
      case TQorvelTypeKind::WideString:
        property.SetWideString(object, property.GetWideString(object) + u"\u20AC");
        break;
      case TQorvelTypeKind::Int64: property.SetInt64(object, property.GetInt64(object) - 5'000'000'000); break;
      case TQorvelTypeKind::Class: {
        TQorvelStrings list = property.GetStrings(object);
        list.push_back("more");
        property.SetStrings(object, list);
        break;
      }
    }
  }
  for (TQorvelSettings* child : object.Children()) Scramble(*child, onlyDeclaredDefaults);
}

// SetDefaults of every object, children before their parents (as at creation).
inline void ApplyDefaultsBottomUp(TQorvelSettings& object) {
  for (TQorvelSettings* child : object.Children()) ApplyDefaultsBottomUp(*child);
  object.SetDefaults();
}

}  // namespace SettingsTreeWalk
