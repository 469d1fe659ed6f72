#pragma once
// The settings tree as an XML document: a generic reader and writer driven by the property
// tables and the custom-element hooks of the settings classes.
//
// The writer produces one fixed layout: one element per line, CR LF line ends, one TAB per
// level, lower-case element names, custom elements first and then the published properties
// in table order, 7-bit ASCII only. The reader takes that layout and also what people make
// of it by hand: any element order, missing elements, unknown elements with their content,
// property names in any letter case, comments, an XML declaration.
//
// Both work on a byte stream (QorvelFileStreams.h); opening files, backups and the messages
// to the user belong to TQorvelTypicalApplicationSettings::LoadFromFile and SaveToFile.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "settings/ByteStreams.h"
#include "settings/QorvelSettingsHandlers.h"
#include "settings/QorvelXml.h"

class TQorvelSettingsXmlFileReader : public TQorvelSettingsReader {
 public:
  // Reads from `stream`, which the reader owns.
  TQorvelSettingsXmlFileReader(std::unique_ptr<TQorvelStream> stream, std::string rootName);
  // Reads from `stream`, which must outlive the reader.
  TQorvelSettingsXmlFileReader(TQorvelStream& stream, std::string rootName);

  // The document element must be named as the root name given here or "settings".
  void ReadRoot(TQorvelSettings& settings) override;
  void ReadObject(const std::string& name, TQorvelSettings& settings) override;
  TQorvelReadValue<std::int32_t> ReadInteger(const std::string& name) override;
  TQorvelReadValue<std::int64_t> ReadInt64(const std::string& name) override;
  TQorvelReadValue<double> ReadFloat(const std::string& name) override;
  TQorvelReadValue<std::string> ReadString(const std::string& name) override;
  TQorvelReadValue<std::u16string> ReadWideString(const std::string& name) override;
  void ReadStrings(const std::string& name, TQorvelStrings& list) override;
  bool ReadElements(const std::string& name, const TElementCallback& callback) override;
  void SkipElement(const std::string& name) override;

 private:
  void ReadProperty(TQorvelSettings& settings, const std::string& name, const std::u16string& nameAttribute);
  void ReadNamedOrdinal(TQorvelSettings& settings, const TQorvelPropertyInfo& property, const std::string& name);
  // A string list or a child object; false when the property takes neither.
  bool ReadClassValue(TQorvelSettings& settings, const TQorvelPropertyInfo& property, const std::string& name);
  // Up to the end tag of the element `name`: `read` gets the start tag of each child with
  // content, and may take the child's name and attributes before it fetches the next token.
  template <class TRead>
  void ReadChildren(const std::string& name, TRead read);
  // The same, with the reader already at the child's content: `read` gets the child's name
  // and its "name" attribute.
  template <class TRead>
  void ReadNamedChildren(const std::string& name, TRead read);
  // The text of a value element, nothing for an empty one; ends on the element's end tag.
  std::optional<std::u16string> ReadValueText(const std::string& name);

  const TQorvelXmlStartTag* StartTag() const;
  bool IsEndTag(std::string_view name) const;
  const TQorvelXmlEndTag* EndTag() const;
  const TQorvelXmlContent* Text() const;
  // Moves to the next token; at the end of the input the file is cut short, and `expected`
  // says what was missing.
  void Fetch(const std::string& expected);
  [[noreturn]] void Fail(const std::string& expected) const;

  std::unique_ptr<TQorvelStream> FOwnedStream;
  TQorvelXmlReader FXml;
  std::string FRootName;
  std::unique_ptr<TQorvelXmlElement> FToken;
};

class TQorvelSettingsXmlFileWriter : public TQorvelSettingsWriter {
 public:
  // Writes to `stream`, which must outlive the writer.
  TQorvelSettingsXmlFileWriter(TQorvelStream& stream, std::string rootName);

  void WriteRoot(TQorvelSettings& settings) override;
  void WriteObject(std::string_view name, std::u16string_view nameAttribute, TQorvelSettings& settings) override;
  void WriteInteger(std::string_view name, std::int32_t value) override;
  void WriteColor(std::string_view name, TColor value, int digits) override;
  void WriteInt64(std::string_view name, std::int64_t value) override;
  void WriteFloat(std::string_view name, double value) override;
  void WriteDateTime(std::string_view name, TDateTime value) override;
  void WriteString(std::string_view name, std::string_view text) override;
  void WriteWideString(std::string_view name, std::u16string_view text) override;
  void WriteStrings(std::string_view name, const TQorvelStrings& list) override;
  void WriteElement(std::string_view name, std::u16string_view nameAttribute, const TContentCallback& content) override;

 private:
  void WriteProperties(TQorvelSettings& settings);
  void OpenLine(std::string_view name, std::u16string_view nameAttribute);
  void CloseLine(std::string_view name);
  void ValueLine(std::string_view name, std::string_view escapedText);
  void Line(std::string_view text);

  TQorvelStream& FStream;
  std::string FRootName;
  int FLevel = 0;
  std::string FLine;  // reused for every line
};

// The whole settings tree as the text of a settings file.
std::string QorvelSettingsDocument(TQorvelSettings& settings, const std::string& rootName);
