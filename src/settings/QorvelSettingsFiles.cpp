#include "settings/QorvelSettingsFiles.h"

#include <vector>

#include "settings/QorvelSettingsValues.h"

namespace {

// Names are read the way narrow values are, so that a hand-edited UTF-8 name shows as typed
// in messages.
std::string NameOf(const TQorvelXmlTag& tag) { return QorvelNarrowText(tag.Name()); }

bool IsTypeName(const TQorvelPropertyInfo& property, std::string_view typeName) {
  return QorvelPropertyNameEquals(property.TypeName, typeName);
}

std::string LowerCase(std::string_view name) {
  std::string lower(name);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

std::string EndTagText(const std::string& name) { return "</" + name + "> tag"; }

TQorvelStream& Required(const std::unique_ptr<TQorvelStream>& stream) {
  if (!stream) throw EQorvelSettingsError("Cannot load settings (no stream assigned).");
  return *stream;
}

}  // namespace

// ---- Reader --------------------------------------------------------------------------------

TQorvelSettingsXmlFileReader::TQorvelSettingsXmlFileReader(std::unique_ptr<TQorvelStream> stream, std::string rootName)
    : FOwnedStream(std::move(stream)), FXml(Required(FOwnedStream)), FRootName(std::move(rootName)) {}

TQorvelSettingsXmlFileReader::TQorvelSettingsXmlFileReader(TQorvelStream& stream, std::string rootName)
    : FXml(stream), FRootName(std::move(rootName)) {}

const TQorvelXmlStartTag* TQorvelSettingsXmlFileReader::StartTag() const {
  return dynamic_cast<const TQorvelXmlStartTag*>(FToken.get());
}

const TQorvelXmlEndTag* TQorvelSettingsXmlFileReader::EndTag() const {
  return dynamic_cast<const TQorvelXmlEndTag*>(FToken.get());
}

bool TQorvelSettingsXmlFileReader::IsEndTag(std::string_view name) const {
  const TQorvelXmlEndTag* end = EndTag();
  return end && NameOf(*end) == name;
}

// Comments come as text too.
const TQorvelXmlContent* TQorvelSettingsXmlFileReader::Text() const {
  return dynamic_cast<const TQorvelXmlContent*>(FToken.get());
}

void TQorvelSettingsXmlFileReader::Fetch(const std::string& expected) {
  if (!FXml.Next(FToken)) Fail(expected);
}

void TQorvelSettingsXmlFileReader::Fail(const std::string& expected) const {
  throw EQorvelSettingsFileParseError(FXml.LineNumber(), expected);
}

void TQorvelSettingsXmlFileReader::ReadRoot(TQorvelSettings& settings) {
  FXml.Next(FToken);
  const TQorvelXmlStartTag* root = StartTag();
  const std::string name = root ? NameOf(*root) : std::string();
  if (!root || root->EmptyElement() || (name != FRootName && name != "settings")) Fail("<" + FRootName + "> tag");
  // A file cut off right after the root tag holds nothing, which is no error.
  if (!FXml.Next(FToken)) return;
  ReadObject(name, settings);
}

template <class TRead>
void TQorvelSettingsXmlFileReader::ReadChildren(const std::string& name, TRead read) {
  for (;;) {
    if (const TQorvelXmlEndTag* end = EndTag()) {
      if (NameOf(*end) == name) return;
      Fail(EndTagText(name));
    }
    const TQorvelXmlStartTag* start = StartTag();
    if (start && !start->EmptyElement()) read(*start);
    Fetch(EndTagText(name));
  }
}

template <class TRead>
void TQorvelSettingsXmlFileReader::ReadNamedChildren(const std::string& name, TRead read) {
  ReadChildren(name, [&](const TQorvelXmlStartTag& start) {
    const std::string child = NameOf(start);
    const std::u16string nameAttribute = start.Attributes().Value(u"name");
    Fetch(child + " value");
    read(child, nameAttribute);
  });
}

void TQorvelSettingsXmlFileReader::ReadObject(const std::string& name, TQorvelSettings& settings) {
  ReadNamedChildren(name, [&](const std::string& child, const std::u16string& nameAttribute) {
    ReadProperty(settings, child, nameAttribute);
  });
}

void TQorvelSettingsXmlFileReader::ReadProperty(TQorvelSettings& settings, const std::string& name,
                                                const std::u16string& nameAttribute) {
  if (settings.ReadCustomElement(*this, name, nameAttribute)) return;
  const TQorvelPropertyInfo* property = settings.FindProperty(name);
  if (!property) {
    SkipElement(name);
    return;
  }
  const bool settable = property->HasSetter();
  switch (property->Kind) {
    case TQorvelTypeKind::Integer:
      if (const auto value = ReadInteger(name); value.Valid() && settable) property->SetOrdinal(settings, value.Value);
      return;
    case TQorvelTypeKind::Enumeration:
    case TQorvelTypeKind::Set: ReadNamedOrdinal(settings, *property, name); return;
    case TQorvelTypeKind::Float:
      if (const auto value = ReadFloat(name); value.Valid() && settable) property->SetFloat(settings, value.Value);
      return;
    case TQorvelTypeKind::String:
      if (auto value = ReadString(name); settable) property->SetString(settings, std::move(value.Value));
      return;
    case TQorvelTypeKind::WideString:
      if (auto value = ReadWideString(name); settable) property->SetWideString(settings, std::move(value.Value));
      return;
    case TQorvelTypeKind::Int64:
      if (const auto value = ReadInt64(name); value.Valid() && settable) property->SetInt64(settings, value.Value);
      return;
    case TQorvelTypeKind::Class:
      if (ReadClassValue(settings, *property, name)) return;
      break;
    case TQorvelTypeKind::Char: break;
  }
  // Nothing takes this value, but its element still has to be passed over.
  SkipElement(name);
}

void TQorvelSettingsXmlFileReader::ReadNamedOrdinal(TQorvelSettings& settings, const TQorvelPropertyInfo& property,
                                                    const std::string& name) {
  const std::u16string text = ReadWideString(name).Value;
  if (!property.EnumType) return;
  const std::int32_t ordinal = property.Kind == TQorvelTypeKind::Set
                                   ? static_cast<std::int32_t>(QorvelParseSet(text, *property.EnumType))
                                   : QorvelParseEnumeration(text, *property.EnumType);
  if (property.HasSetter()) property.SetOrdinal(settings, ordinal);
}

bool TQorvelSettingsXmlFileReader::ReadClassValue(TQorvelSettings& settings, const TQorvelPropertyInfo& property,
                                                  const std::string& name) {
  if (!property.HasGetter()) return false;
  if (property.IsStringList()) {
    TQorvelStrings list;
    ReadStrings(name, list);
    if (property.HasSetter()) property.SetStrings(settings, std::move(list));
    return true;
  }
  TQorvelSettings* child = property.GetChild(settings);
  if (!child) return false;
  ReadObject(name, *child);
  return true;
}

std::optional<std::u16string> TQorvelSettingsXmlFileReader::ReadValueText(const std::string& name) {
  std::optional<std::u16string> text;
  if (const TQorvelXmlContent* content = Text()) {
    text = content->Text();
    Fetch(name + " value");
  }
  if (!IsEndTag(name)) Fail(EndTagText(name));
  return text;
}

TQorvelReadValue<std::int32_t> TQorvelSettingsXmlFileReader::ReadInteger(const std::string& name) {
  const std::optional<std::u16string> text = ReadValueText(name);
  if (!text) return {-1, 0};
  return QorvelParseInteger(*text);
}

TQorvelReadValue<std::int64_t> TQorvelSettingsXmlFileReader::ReadInt64(const std::string& name) {
  const std::optional<std::u16string> text = ReadValueText(name);
  if (!text) return {-1, 0};
  return QorvelParseInt64(*text);
}

TQorvelReadValue<double> TQorvelSettingsXmlFileReader::ReadFloat(const std::string& name) {
  const std::optional<std::u16string> text = ReadValueText(name);
  if (!text) return {-1, 0.0};
  return QorvelParseFloat(*text);
}

TQorvelReadValue<std::string> TQorvelSettingsXmlFileReader::ReadString(const std::string& name) {
  const std::optional<std::u16string> text = ReadValueText(name);
  return {0, text ? QorvelNarrowText(*text) : std::string()};
}

TQorvelReadValue<std::u16string> TQorvelSettingsXmlFileReader::ReadWideString(const std::string& name) {
  std::optional<std::u16string> text = ReadValueText(name);
  return {0, text ? std::move(*text) : std::u16string()};
}

void TQorvelSettingsXmlFileReader::ReadStrings(const std::string& name, TQorvelStrings& list) {
  list.clear();
  ReadChildren(name, [&](const TQorvelXmlStartTag& start) {
    if (NameOf(start) != "item") Fail("<item> tag");
    Fetch("item value");
    if (const TQorvelXmlContent* content = Text()) {
      list.push_back(QorvelNarrowText(content->Text()));
      Fetch("</item> tag");
    } else if (IsEndTag("item")) {
      list.emplace_back();
    }
    if (!IsEndTag("item")) Fail("</item> tag");
  });
}

bool TQorvelSettingsXmlFileReader::ReadElements(const std::string& name, const TElementCallback& callback) {
  bool allHandled = true;
  ReadNamedChildren(name, [&](const std::string& child, const std::u16string& nameAttribute) {
    // A child nobody knows is passed over like any unknown element.
    if (!callback || !callback(*this, child, nameAttribute)) {
      allHandled = false;
      SkipElement(child);
    }
  });
  return allHandled;
}

void TQorvelSettingsXmlFileReader::SkipElement(const std::string& name) {
  // The elements entered and not yet left, innermost last. A loop rather than recursion, so
  // that a hostile file nesting a million unknown elements cannot exhaust the stack.
  std::vector<std::string> open{name};
  for (;;) {
    if (const TQorvelXmlEndTag* end = EndTag()) {
      if (NameOf(*end) != open.back()) Fail(EndTagText(open.back()));
      open.pop_back();
      if (open.empty()) return;
      Fetch(EndTagText(open.back()));
      continue;
    }
    const TQorvelXmlStartTag* start = StartTag();
    if (start && !start->EmptyElement()) {
      std::string child = NameOf(*start);
      Fetch(EndTagText(open.back()));
      open.push_back(std::move(child));
      continue;
    }
    Fetch(EndTagText(open.back()));
  }
}

// ---- Writer --------------------------------------------------------------------------------

TQorvelSettingsXmlFileWriter::TQorvelSettingsXmlFileWriter(TQorvelStream& stream, std::string rootName)
    : FStream(stream), FRootName(std::move(rootName)) {}

void TQorvelSettingsXmlFileWriter::Line(std::string_view text) {
  FLine.assign(static_cast<std::size_t>(FLevel), '\t');
  FLine += text;
  FLine += "\r\n";
  FStream.Write(FLine);
}

void TQorvelSettingsXmlFileWriter::OpenLine(std::string_view name, std::u16string_view nameAttribute) {
  std::string text(1, '<');
  text += LowerCase(name);
  if (!nameAttribute.empty()) {
    text += " name=\"";
    text += EscapeXml(nameAttribute);
    text += '"';
  }
  text += '>';
  Line(text);
}

void TQorvelSettingsXmlFileWriter::CloseLine(std::string_view name) {
  std::string text("</");
  text += LowerCase(name);
  text += '>';
  Line(text);
}

void TQorvelSettingsXmlFileWriter::ValueLine(std::string_view name, std::string_view escapedText) {
  const std::string element = LowerCase(name);
  std::string text;
  text.reserve(2 * element.size() + escapedText.size() + 5);
  text += '<';
  text += element;
  text += '>';
  text += escapedText;
  text += "</";
  text += element;
  text += '>';
  Line(text);
}

void TQorvelSettingsXmlFileWriter::WriteRoot(TQorvelSettings& settings) {
  FLevel = 0;
  WriteObject(FRootName, u"", settings);
}

void TQorvelSettingsXmlFileWriter::WriteObject(std::string_view name, std::u16string_view nameAttribute,
                                               TQorvelSettings& settings) {
  WriteElement(name, nameAttribute, [&settings, this](TQorvelSettingsWriter&) {
    settings.WriteCustomElements(*this);
    WriteProperties(settings);
  });
}

void TQorvelSettingsXmlFileWriter::WriteElement(std::string_view name, std::u16string_view nameAttribute,
                                                const TContentCallback& content) {
  OpenLine(name, nameAttribute);
  const int level = FLevel++;
  try {
    if (content) content(*this);
  } catch (...) {
    FLevel = level;
    throw;
  }
  FLevel = level;
  CloseLine(name);
}

void TQorvelSettingsXmlFileWriter::WriteProperties(TQorvelSettings& settings) {
  for (const TQorvelPropertyInfo& property : settings.ClassType().Properties()) {
    if (!property.HasGetter() || !property.IsStored(settings)) continue;
    const std::string& name = property.Name;
    switch (property.Kind) {
      case TQorvelTypeKind::Integer:
        if (IsTypeName(property, "TColor"))
          WriteColor(name, static_cast<TColor>(property.GetOrdinal(settings)), 0);
        else
          WriteInteger(name, property.GetOrdinal(settings));
        break;
      case TQorvelTypeKind::Enumeration:
        if (property.EnumType)
          WriteString(name, property.EnumType->IdentifierOf(property.GetOrdinal(settings)));
        else
          WriteInteger(name, property.GetOrdinal(settings));
        break;
      case TQorvelTypeKind::Set:
        if (property.EnumType)
          WriteString(name,
                      QorvelSetText(static_cast<std::uint32_t>(property.GetOrdinal(settings)), *property.EnumType));
        break;
      case TQorvelTypeKind::Float:
        if (IsTypeName(property, "TDateTime"))
          WriteDateTime(name, property.GetFloat(settings));
        else
          WriteFloat(name, property.GetFloat(settings));
        break;
      case TQorvelTypeKind::String: WriteString(name, property.GetString(settings)); break;
      case TQorvelTypeKind::WideString: WriteWideString(name, property.GetWideString(settings)); break;
      case TQorvelTypeKind::Int64: WriteInt64(name, property.GetInt64(settings)); break;
      case TQorvelTypeKind::Class:
        if (property.IsStringList())
          WriteStrings(name, property.GetStrings(settings));
        else if (TQorvelSettings* child = property.GetChild(settings))
          WriteObject(name, u"", *child);
        break;
      case TQorvelTypeKind::Char: break;
    }
  }
}

void TQorvelSettingsXmlFileWriter::WriteInteger(std::string_view name, std::int32_t value) {
  ValueLine(name, std::to_string(value));
}

void TQorvelSettingsXmlFileWriter::WriteColor(std::string_view name, TColor value, int digits) {
  ValueLine(name, QorvelColorText(value, digits));
}

void TQorvelSettingsXmlFileWriter::WriteInt64(std::string_view name, std::int64_t value) {
  ValueLine(name, std::to_string(value));
}

void TQorvelSettingsXmlFileWriter::WriteFloat(std::string_view name, double value) {
  ValueLine(name, QorvelFloatText(value));
}

void TQorvelSettingsXmlFileWriter::WriteDateTime(std::string_view name, TDateTime value) {
  ValueLine(name, QorvelDateTimeText(value));
}

void TQorvelSettingsXmlFileWriter::WriteString(std::string_view name, std::string_view text) {
  ValueLine(name, EscapeXml(text));
}

void TQorvelSettingsXmlFileWriter::WriteWideString(std::string_view name, std::u16string_view text) {
  ValueLine(name, EscapeXml(text));
}

void TQorvelSettingsXmlFileWriter::WriteStrings(std::string_view name, const TQorvelStrings& list) {
  WriteElement(name, u"", [&list, this](TQorvelSettingsWriter&) {
    for (const std::string& item : list) ValueLine("item", EscapeXml(item));
  });
}

std::string QorvelSettingsDocument(TQorvelSettings& settings, const std::string& rootName) {
  TQorvelMemoryStream stream;
  TQorvelSettingsXmlFileWriter writer(stream, rootName);
  writer.WriteRoot(settings);
  return stream.Data();
}
