#pragma once
// A settings class with one property of every kind the property tables know: the reader's
// tests and the settings-file fuzz target load and write it.
#include <cstdint>
#include <optional>
#include <string>

#include "settings/ApplicationSettings.h"

class TAllKindsSettings : public TQorvelSettings {
 public:
  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass() {
    using C = TAllKindsSettings;
    static const TQorvelSettingsClass cls("TAllKindsSettings", &TQorvelSettings::StaticClass(),
                                          &TQorvelSettingsClass::Instantiate<C>,
                                          {
                                              QorvelPublish::Integer("Number", &C::Number),
                                              QorvelPublish::Color("Shade", &C::Shade, std::nullopt),
                                              QorvelPublish::Boolean("Flag", &C::Flag, std::nullopt),
                                              QorvelPublish::Set("Buttons", &C::Buttons, "TMiniButtons",
                                                                 MiniButtonTypeInfo, std::optional<TMiniButtons>()),
                                              QorvelPublish::Float("Ratio", &C::Ratio),
                                              QorvelPublish::String("Text", &C::Text),
                                              QorvelPublish::WideString("WideText", &C::WideText),
                                              QorvelPublish::Int64("Big", &C::Big),
                                              QorvelPublish::Strings("List", &C::List),
                                              QorvelPublish::Char("Letter", &C::Letter, std::nullopt),
                                              QorvelPublish::Child("Point", &C::Point),
                                          });
    return cls;
  }
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  std::int32_t Number = 0;
  TColor Shade = 0;
  bool Flag = false;
  TMiniButtons Buttons;
  double Ratio = 0;
  std::string Text;
  std::u16string WideText;
  std::int64_t Big = 0;
  TQorvelStrings List;
  char Letter = 'a';
  TQorvelPointSettings* Point = nullptr;
};
