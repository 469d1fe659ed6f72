#include "settings/QorvelXml.h"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>

#include "settings/QorvelFileStreams.h"

namespace {

constexpr std::array<TQorvelXmlCharClass, 256> MakeCharClasses() {
  std::array<TQorvelXmlCharClass, 256> classes{};
  for (const int c : {9, 10, 13, 32}) classes[c] = TQorvelXmlCharClass::WhiteSpace;
  for (int c = 'A'; c <= 'Z'; ++c) classes[c] = TQorvelXmlCharClass::NameChar;
  for (int c = 'a'; c <= 'z'; ++c) classes[c] = TQorvelXmlCharClass::NameChar;
  classes['_'] = classes[':'] = TQorvelXmlCharClass::NameChar;
  for (int c = '0'; c <= '9'; ++c) classes[c] = TQorvelXmlCharClass::Digit;
  for (const char c : std::string_view("!#$()*+,-./;=?[\\]^{}~|@")) {
    classes[static_cast<unsigned char>(c)] = TQorvelXmlCharClass::Plain;
  }
  return classes;
}

constexpr std::array<TQorvelXmlCharClass, 256> CharClasses = MakeCharClasses();

bool IsPlain(unsigned c) { return c < 256 && CharClasses[c] != TQorvelXmlCharClass::Other; }

bool IsWhiteSpace(unsigned char c) { return CharClasses[c] == TQorvelXmlCharClass::WhiteSpace; }

void AppendHexReference(std::string& out, unsigned code, int digits) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  out += "&#x";
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += Hex[(code >> shift) & 0xF];
  out += ';';
}

void AppendEscapedUnit(std::string& out, unsigned unit) {
  if (IsPlain(unit)) {
    out += static_cast<char>(unit);
  } else {
    AppendHexReference(out, unit, unit < 256 ? 2 : 4);
  }
}

int DigitValue(char c, unsigned base) {
  if (c >= '0' && c <= '9') return c - '0';
  if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The character of a numeric reference ("&#x41", "&#65"; the text up to the ";"), its code
// reduced to 16 bits; nothing for any other text. Only a lower-case "x" marks hexadecimal.
std::optional<char16_t> NumericReference(std::string_view reference) {
  if (reference.size() < 3 || reference[0] != '&' || reference[1] != '#') return std::nullopt;
  std::string_view digits = reference.substr(2);
  unsigned base = 10;
  if (digits.front() == 'x') {
    base = 16;
    digits.remove_prefix(1);
    if (digits.empty()) return std::nullopt;
  }
  std::uint32_t code = 0;
  for (const char c : digits) {
    const int value = DigitValue(c, base);
    if (value < 0) return std::nullopt;
    // Reducing at every step keeps the arithmetic small and gives the same 16 bits.
    code = (code * base + static_cast<std::uint32_t>(value)) & 0xFFFF;
  }
  return static_cast<char16_t>(code);
}

void AppendLatin1(std::u16string& out, std::string_view bytes) {
  for (const char c : bytes) out += static_cast<char16_t>(static_cast<unsigned char>(c));
}

// Decodes the numeric references of text and attribute values. "&" and "%" open a reference
// that ";" closes; anything that is not a numeric reference, named ones included, stays as it
// was written. A reference opener inside an unclosed reference starts a new one, so that a
// stray "&" or "%" ("50% &#x41;") does not swallow a valid reference after it.
std::u16string DecodeReferences(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  constexpr std::size_t None = std::string_view::npos;
  std::size_t referenceStart = None;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '&' || c == '%') {
      if (referenceStart != None) AppendLatin1(text, bytes.substr(referenceStart, i - referenceStart));
      referenceStart = i;
    } else if (referenceStart == None) {
      text += static_cast<char16_t>(static_cast<unsigned char>(c));
    } else if (c == ';') {
      const std::string_view reference = bytes.substr(referenceStart, i - referenceStart);
      if (const std::optional<char16_t> character = NumericReference(reference)) {
        text += *character;
      } else {
        AppendLatin1(text, bytes.substr(referenceStart, i + 1 - referenceStart));
      }
      referenceStart = None;
    }
  }
  if (referenceStart != None) AppendLatin1(text, bytes.substr(referenceStart));
  return text;
}

template <class TToken>
TToken* CreateToken(std::unique_ptr<TQorvelXmlElement>& slot) {
  auto token = std::make_unique<TToken>();
  TToken* view = token.get();
  slot = std::move(token);
  return view;
}

// Where the reader stands inside the token it is building.
enum class TState : std::uint8_t {
  BetweenMarkup,
  AfterLess,       // "<"
  StartTagName,
  EndTagName,      // "</"
  AfterSlash,      // "/" inside a start tag, only ">" may follow
  Text,
  AttributeName,
  BeforeValue,     // after "="
  AttributeValue,  // inside quotes
  AfterValue,
  AfterBang,       // "<!"
  AfterBangDash,   // "<!-"
  Declaration,     // "<!DOCTYPE ...>" or "<?...>", raw up to the first ">"
  Comment,         // "<!--"
};

}  // namespace

// ---- Escaping ------------------------------------------------------------------------------

TQorvelXmlCharClass XmlCharClass(unsigned char c) { return CharClasses[c]; }

std::string EscapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) AppendEscapedUnit(out, static_cast<unsigned char>(c));
  return out;
}

std::string EscapeXml(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char16_t c : text) AppendEscapedUnit(out, c);
  return out;
}

// ---- Tokens --------------------------------------------------------------------------------

std::u16string TQorvelXmlAttributeList::Value(std::u16string_view name) const {
  for (const TQorvelXmlAttribute& attribute : *this) {
    if (attribute.Name() == name) return attribute.Value();
  }
  return {};
}

// ---- Reader --------------------------------------------------------------------------------

TQorvelXmlReader::TQorvelXmlReader(TQorvelStream& stream)
    : FStream(stream), FBuffer(std::make_unique_for_overwrite<unsigned char[]>(BufferSize)) {
  FToken.reserve(128);
}

TQorvelXmlReader::~TQorvelXmlReader() = default;

bool TQorvelXmlReader::PeekByte(unsigned char& c) {
  if (FLeft == 0) {
    FPosition = 0;
    FLeft = std::min(FStream.Read(FBuffer.get(), BufferSize), BufferSize);
    if (FLeft == 0) return false;
  }
  c = FBuffer[FPosition];
  return true;
}

void TQorvelXmlReader::SkipByte() {
  if (FBuffer[FPosition] == '\r' && FLineNumber < INT_MAX) ++FLineNumber;
  ++FPosition;
  --FLeft;
}

void TQorvelXmlReader::AppendByte(unsigned char c) {
  // Doubling keeps appends cheap for long tokens without reserving much for short ones.
  if (FToken.size() == FToken.capacity()) FToken.reserve(2 * FToken.capacity());
  FToken.push_back(static_cast<char>(c));
}

std::u16string TQorvelXmlReader::TakeText() {
  std::u16string text;
  AppendLatin1(text, FToken);
  FToken.clear();
  return text;
}

std::u16string TQorvelXmlReader::TakeDecodedText() {
  std::u16string text = DecodeReferences(FToken);
  FToken.clear();
  return text;
}

void TQorvelXmlReader::Fail(const char* message) const { throw EQorvelXmlError(message, FLineNumber); }

bool TQorvelXmlReader::ReadElement(std::unique_ptr<TQorvelXmlElement>& element) {
  element.reset();
  FToken.clear();

  std::unique_ptr<TQorvelXmlElement> token;
  // Typed views of `token`, set when it is created.
  TQorvelXmlTag* tag = nullptr;
  TQorvelXmlStartTag* startTag = nullptr;
  TQorvelXmlSpecialElement* special = nullptr;

  TState state = TState::BetweenMarkup;
  bool whiteSpaceFollowed = false;
  bool nameTaken = false;
  unsigned char quote = 0;
  std::u16string attributeName;
  std::size_t tokenBytes = 0;

  auto complete = [&] {
    element = std::move(token);
    return true;
  };

  for (;;) {
    unsigned char c = 0;
    if (!PeekByte(c)) {
      if (state == TState::BetweenMarkup) return false;
      Fail("XML content is not finished properly.");
    }
    if (state == TState::Text && c == '<') {
      // The "<" stays in the buffer and starts the next token.
      special->FText = TakeDecodedText();
      return complete();
    }
    SkipByte();
    ++tokenBytes;
    if (tokenBytes > QorvelXmlMaxTokenSize && state != TState::BetweenMarkup) {
      Fail("XML element is too large.");
    }
    const bool white = IsWhiteSpace(c);

    switch (state) {
      case TState::BetweenMarkup:
        if (c == '<') {
          FToken.clear();
          tokenBytes = 1;
          state = TState::AfterLess;
        } else if (white) {
          // Kept in case text follows; a longer run can only end in an oversized text token.
          if (tokenBytes <= QorvelXmlMaxTokenSize) AppendByte(c);
        } else {
          if (tokenBytes > QorvelXmlMaxTokenSize) Fail("XML element is too large.");
          special = CreateToken<TQorvelXmlContent>(token);
          AppendByte(c);
          state = TState::Text;
        }
        break;

      case TState::AfterLess:
        if (c == '/') {
          tag = CreateToken<TQorvelXmlEndTag>(token);
          state = TState::EndTagName;
        } else if (c == '?') {
          special = CreateToken<TQorvelXmlProcessingInstruction>(token);
          state = TState::Declaration;
        } else if (c == '!') {
          state = TState::AfterBang;
        } else if (white) {
          Fail("XML tag may not begin with white space.");
        } else {
          tag = startTag = CreateToken<TQorvelXmlStartTag>(token);
          AppendByte(c);
          state = TState::StartTagName;
        }
        break;

      case TState::StartTagName:
        if (c == '/' || c == '>') {
          if (!nameTaken) tag->FName = TakeText();
          if (c == '>') return complete();
          startTag->FEmptyElement = true;
          state = TState::AfterSlash;
        } else if (white) {
          if (!nameTaken) tag->FName = TakeText();
          nameTaken = true;
          whiteSpaceFollowed = true;
        } else {
          if (whiteSpaceFollowed) {
            whiteSpaceFollowed = false;
            state = TState::AttributeName;
          }
          AppendByte(c);
        }
        break;

      case TState::EndTagName:
        if (c == '/') {
          Fail("XML end tag may not contain '/'.");
        } else if (c == '>') {
          tag->FName = TakeText();
          return complete();
        } else if (white) {
          whiteSpaceFollowed = true;
        } else if (whiteSpaceFollowed) {
          Fail("XML end tag may not contain attributes.");
        } else {
          AppendByte(c);
        }
        break;

      case TState::AfterSlash:
        if (c != '>') Fail("XML empty tag must be closed with '/>'.");
        return complete();

      case TState::Text:
        AppendByte(c);
        break;

      case TState::AttributeName:
        if (c == '=') {
          attributeName = TakeText();
          state = TState::BeforeValue;
        } else if (white) {
          whiteSpaceFollowed = true;
        } else if (c == '>' || c == '/' || whiteSpaceFollowed) {
          Fail("XML attribute has no value.");
        } else {
          AppendByte(c);
        }
        break;

      case TState::BeforeValue:
        if (c == '"' || c == '\'') {
          quote = c;
          state = TState::AttributeValue;
        } else if (c == '>' || c == '/') {
          Fail("XML attribute has no value.");
        } else if (!white) {
          Fail("XML attribute value is not quoted.");
        }
        break;

      case TState::AttributeValue:
        if (c == quote) {
          startTag->FAttributes.Add(attributeName, TakeDecodedText());
          attributeName.clear();
          state = TState::AfterValue;
        } else {
          AppendByte(c);
        }
        break;

      case TState::AfterValue:
        if (c == '/') {
          startTag->FEmptyElement = true;
          state = TState::AfterSlash;
        } else if (c == '>') {
          return complete();
        } else if (!white) {
          whiteSpaceFollowed = false;
          AppendByte(c);
          state = TState::AttributeName;
        }
        break;

      case TState::AfterBang:
        if (c == '-') {
          state = TState::AfterBangDash;
        } else {
          special = CreateToken<TQorvelXmlTypeDeclaration>(token);
          AppendByte(c);
          state = TState::Declaration;
        }
        break;

      case TState::AfterBangDash:
        if (c != '-') Fail("XML tag may not start with '-'.");
        special = CreateToken<TQorvelXmlComment>(token);
        state = TState::Comment;
        break;

      case TState::Declaration:
        if (c == '>') {
          special->FText = TakeText();
          return complete();
        }
        AppendByte(c);
        break;

      case TState::Comment:
        if (c == '>' && FToken.ends_with("--")) {
          FToken.resize(FToken.size() - 2);
          special->FText = TakeText();
          return complete();
        }
        AppendByte(c);
        break;
    }
  }
}

bool TQorvelXmlReader::Next(std::unique_ptr<TQorvelXmlElement>& element) {
  while (ReadElement(element)) {
    if (dynamic_cast<const TQorvelXmlTag*>(element.get()) ||
        dynamic_cast<const TQorvelXmlContent*>(element.get())) {
      return true;
    }
  }
  return false;
}
