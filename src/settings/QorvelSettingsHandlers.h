#pragma once
// What a settings object sees of a settings reader or writer. The generic property walk and
// the custom-element hooks (ReadCustomElement, WriteCustomElements) talk only to these two
// interfaces, never to the file format behind them.
//
// A reader works element by element: each operation starts with the first token inside the
// element whose start tag was just consumed and ends on that element's end tag. Element names
// are UTF-8; name attributes are UTF-16 as they came from the file.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "settings/QorvelSettings.h"
#include "base/QorvelTypes.h"

// The settings file is not laid out as expected. The message names the line and what was
// expected there: "Error parsing settings file in line 3: </width> tag expected."
class EQorvelSettingsFileParseError : public EQorvelSettingsError {
 public:
  EQorvelSettingsFileParseError(int lineNumber, const std::string& expected)
      : EQorvelSettingsError("Error parsing settings file in line " + std::to_string(lineNumber) + ": " + expected +
                             " expected."),
        FLineNumber(lineNumber),
        FExpected(expected) {}
  int LineNumber() const { return FLineNumber; }
  const std::string& Expected() const { return FExpected; }

 private:
  int FLineNumber;
  std::string FExpected;
};

// A value read from an element. Code 0 means Value is valid; -1 an empty element or a
// malformed hexadecimal number; any other non-zero code another malformed number. Callers
// keep their current value unless the code is 0.
template <class T>
struct TQorvelReadValue {
  int Code = 0;
  T Value{};
  bool Valid() const { return Code == 0; }
};

class TQorvelSettingsHandler {
 public:
  virtual ~TQorvelSettingsHandler() = default;
};

class TQorvelSettingsReader : public TQorvelSettingsHandler {
 public:
  // Called for every child element of ReadElements with the child's name and name attribute;
  // answers whether it consumed the child (up to and including its end tag).
  using TElementCallback =
      std::function<bool(TQorvelSettingsReader& reader, const std::string& name, const std::u16string& nameAttribute)>;

  virtual void ReadRoot(TQorvelSettings& settings) = 0;
  virtual void ReadObject(const std::string& name, TQorvelSettings& settings) = 0;
  virtual TQorvelReadValue<std::int32_t> ReadInteger(const std::string& name) = 0;
  virtual TQorvelReadValue<std::int64_t> ReadInt64(const std::string& name) = 0;
  virtual TQorvelReadValue<double> ReadFloat(const std::string& name) = 0;
  virtual TQorvelReadValue<std::string> ReadString(const std::string& name) = 0;
  virtual TQorvelReadValue<std::u16string> ReadWideString(const std::string& name) = 0;
  virtual void ReadStrings(const std::string& name, TQorvelStrings& list) = 0;
  // Answers true when the callback consumed every child; children it did not consume are
  // skipped with their content.
  virtual bool ReadElements(const std::string& name, const TElementCallback& callback) = 0;
  virtual void SkipElement(const std::string& name) = 0;
};

class TQorvelSettingsWriter : public TQorvelSettingsHandler {
 public:
  using TContentCallback = std::function<void(TQorvelSettingsWriter& writer)>;

  virtual void WriteRoot(TQorvelSettings& settings) = 0;
  // An empty name attribute is not written.
  virtual void WriteObject(std::string_view name, std::u16string_view nameAttribute, TQorvelSettings& settings) = 0;
  virtual void WriteInteger(std::string_view name, std::int32_t value) = 0;
  // digits <= 0: six digits for 0..$FFFFFF, eight otherwise.
  virtual void WriteColor(std::string_view name, TColor value, int digits) = 0;
  virtual void WriteInt64(std::string_view name, std::int64_t value) = 0;
  virtual void WriteFloat(std::string_view name, double value) = 0;
  virtual void WriteDateTime(std::string_view name, TDateTime value) = 0;
  virtual void WriteString(std::string_view name, std::string_view text) = 0;
  virtual void WriteWideString(std::string_view name, std::u16string_view text) = 0;
  virtual void WriteStrings(std::string_view name, const TQorvelStrings& list) = 0;
  // Like WriteObject, with the content produced by `content` (nothing when it is empty).
  virtual void WriteElement(std::string_view name, std::u16string_view nameAttribute,
                            const TContentCallback& content) = 0;
};
