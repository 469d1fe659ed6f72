#include "settings/QorvelXml.h"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <type_traits>

#include "settings/ByteStreams.h"

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

// `bytes` as Latin-1 text in `out`, whose room is reused: one loop the compiler widens
// many bytes at a time, instead of an append per character.
void AssignLatin1(std::u16string& out, std::string_view bytes) {
  out.resize(bytes.size());
  char16_t* const target = out.data();
  for (std::size_t i = 0; i < bytes.size(); ++i) target[i] = static_cast<unsigned char>(bytes[i]);
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

// The reader's spare slot for a token of this kind.
template <class TToken>
constexpr std::size_t SpareSlot() {
  if constexpr (std::is_same_v<TToken, TQorvelXmlStartTag>) return 0;
  if constexpr (std::is_same_v<TToken, TQorvelXmlEndTag>) return 1;
  if constexpr (std::is_same_v<TToken, TQorvelXmlContent>) return 2;
  if constexpr (std::is_same_v<TToken, TQorvelXmlComment>) return 3;
  if constexpr (std::is_same_v<TToken, TQorvelXmlProcessingInstruction>) return 4;
  if constexpr (std::is_same_v<TToken, TQorvelXmlTypeDeclaration>) return 5;
}

// Bytes that end a run of bytes a state merely collects or passes over.
enum : std::uint8_t {
  StopWhite = 1,
  StopLess = 2,
  StopGreater = 4,
  StopSlash = 8,
  StopEquals = 16,
  StopDoubleQuote = 32,
  StopApostrophe = 64,
  StopNonWhite = 128,
};

constexpr std::array<std::uint8_t, 256> MakeStopFlags() {
  std::array<std::uint8_t, 256> flags{};
  for (int c = 0; c < 256; ++c) flags[c] = StopNonWhite;
  for (const int c : {9, 10, 13, 32}) flags[c] = StopWhite;
  flags['<'] |= StopLess;
  flags['>'] |= StopGreater;
  flags['/'] |= StopSlash;
  flags['='] |= StopEquals;
  flags['"'] |= StopDoubleQuote;
  flags['\''] |= StopApostrophe;
  return flags;
}

constexpr std::array<std::uint8_t, 256> StopFlags = MakeStopFlags();

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

// A run of bytes that a state takes without any decision of its own: the bytes that end it,
// and whether the bytes are collected into the token (else passed over). No run where
// every byte matters.
struct TRun {
  std::uint8_t Stops = 0;
  bool Collect = false;
};

TRun RunOf(TState state, bool whiteSpaceFollowed, unsigned char quote) {
  switch (state) {
    case TState::BetweenMarkup: return {StopNonWhite, true};
    case TState::StartTagName:
    case TState::EndTagName:
      if (whiteSpaceFollowed) return {StopNonWhite, false};
      return {StopWhite | StopSlash | StopGreater, true};
    case TState::AttributeName:
      if (whiteSpaceFollowed) return {StopNonWhite, false};
      return {StopWhite | StopSlash | StopGreater | StopEquals, true};
    case TState::BeforeValue:
    case TState::AfterValue: return {StopNonWhite, false};
    case TState::AttributeValue: return {quote == '"' ? StopDoubleQuote : StopApostrophe, true};
    case TState::Text: return {StopLess, true};
    case TState::Declaration:
    case TState::Comment: return {StopGreater, true};
    default: return {};
  }
}

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

bool TQorvelXmlReader::Refill() {
  FPosition = 0;
  FLeft = std::min(FStream.Read(FBuffer.get(), BufferSize), BufferSize);
  return FLeft != 0;
}

inline void TQorvelXmlReader::SkipByte() {
  if (FBuffer[FPosition] == '\r' && FLineNumber < INT_MAX) ++FLineNumber;
  ++FPosition;
  --FLeft;
}

// Passes over the buffered bytes up to the first with one of `stops` (at most `most` of
// them), counting line ends, and appends the first `keep` of them to the token, none when
// the byte after them has one of `keepNoneBefore`. Answers how many it passed over. Taking
// a run at once instead of byte by byte is where the reader's speed comes from: most of a
// settings file is names, values and white space.
std::size_t TQorvelXmlReader::TakeRun(std::uint8_t stops, std::size_t most, std::size_t keep,
                                      std::uint8_t keepNoneBefore) {
  const unsigned char* const start = FBuffer.get() + FPosition;
  const unsigned char* const end = start + std::min(FLeft, most);
  const unsigned char* p = start;
  int lines = 0;
  while (p != end && (StopFlags[*p] & stops) == 0) {
    lines += *p == '\r';
    ++p;
  }
  const auto count = static_cast<std::size_t>(p - start);
  if (p != end && (StopFlags[*p] & keepNoneBefore) != 0) keep = 0;
  FToken.append(reinterpret_cast<const char*>(start), std::min(count, keep));
  FPosition += count;
  FLeft -= count;
  FLineNumber = lines > INT_MAX - FLineNumber ? INT_MAX : FLineNumber + lines;
  return count;
}

void TQorvelXmlReader::TakeText(std::u16string& text) {
  AssignLatin1(text, FToken);
  FToken.clear();
}

void TQorvelXmlReader::TakeDecodedText(std::u16string& text) {
  if (FToken.find('&') == std::string::npos && FToken.find('%') == std::string::npos)
    AssignLatin1(text, FToken);
  else
    text = DecodeReferences(FToken);
  FToken.clear();
}

void TQorvelXmlReader::Recycle(std::unique_ptr<TQorvelXmlElement>& element) {
  if (element && element->FSpareSlot != 0) {
    std::unique_ptr<TQorvelXmlElement>& spare = FSpares[element->FSpareSlot - 1u];
    if (!spare) spare = std::move(element);
  }
  element.reset();
}

// A token of the kind asked for in `slot`: the spare one, emptied, or a new one.
template <class TToken>
TToken* TQorvelXmlReader::NewToken(std::unique_ptr<TQorvelXmlElement>& slot) {
  constexpr std::size_t slotIndex = SpareSlot<TToken>();
  std::unique_ptr<TQorvelXmlElement>& spare = FSpares[slotIndex];
  TToken* token = nullptr;
  if (spare) {
    slot = std::move(spare);
    token = static_cast<TToken*>(slot.get());
    if constexpr (std::is_base_of_v<TQorvelXmlTag, TToken>) static_cast<TQorvelXmlTag*>(token)->FName.clear();
    if constexpr (std::is_base_of_v<TQorvelXmlSpecialElement, TToken>)
      static_cast<TQorvelXmlSpecialElement*>(token)->FText.clear();
    if constexpr (std::is_same_v<TToken, TQorvelXmlStartTag>) {
      token->FAttributes.FItems.clear();
      token->FEmptyElement = false;
    }
  } else {
    auto created = std::make_unique<TToken>();
    created->FSpareSlot = slotIndex + 1;
    token = created.get();
    slot = std::move(created);
  }
  return token;
}

void TQorvelXmlReader::Fail(const char* message) const { throw EQorvelXmlError(message, FLineNumber); }

bool TQorvelXmlReader::ReadElement(std::unique_ptr<TQorvelXmlElement>& element) {
  Recycle(element);
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
  std::size_t tokenBytes = 0;

  auto complete = [&] {
    element = std::move(token);
    return true;
  };

  for (;;) {
    if (FLeft == 0 && !Refill()) {
      if (state == TState::BetweenMarkup) return false;
      Fail("XML content is not finished properly.");
    }
    if (const TRun run = RunOf(state, whiteSpaceFollowed, quote); run.Stops != 0) {
      // The run stops short of the byte that would make the token too large, which is then
      // taken below and fails with the line number of its own position. White space between
      // markup is not limited, only the part of it a text may keep.
      const std::size_t room = tokenBytes < QorvelXmlMaxTokenSize ? QorvelXmlMaxTokenSize - tokenBytes : 0;
      const bool between = state == TState::BetweenMarkup;
      // White space right before markup is no text's: it is not kept.
      tokenBytes += TakeRun(run.Stops, between ? FLeft : room, run.Collect ? room : 0, between ? StopLess : 0);
      if (FLeft == 0) continue;
    }
    const unsigned char c = FBuffer[FPosition];
    if (state == TState::Text && c == '<') {
      // The "<" stays in the buffer and starts the next token.
      TakeDecodedText(special->FText);
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
          if (tokenBytes <= QorvelXmlMaxTokenSize) FToken.push_back(static_cast<char>(c));
        } else {
          if (tokenBytes > QorvelXmlMaxTokenSize) Fail("XML element is too large.");
          special = NewToken<TQorvelXmlContent>(token);
          FToken.push_back(static_cast<char>(c));
          state = TState::Text;
        }
        break;

      case TState::AfterLess:
        if (c == '/') {
          tag = NewToken<TQorvelXmlEndTag>(token);
          state = TState::EndTagName;
        } else if (c == '?') {
          special = NewToken<TQorvelXmlProcessingInstruction>(token);
          state = TState::Declaration;
        } else if (c == '!') {
          state = TState::AfterBang;
        } else if (white) {
          Fail("XML tag may not begin with white space.");
        } else {
          tag = startTag = NewToken<TQorvelXmlStartTag>(token);
          FToken.push_back(static_cast<char>(c));
          state = TState::StartTagName;
        }
        break;

      case TState::StartTagName:
        if (c == '/' || c == '>') {
          if (!nameTaken) TakeText(tag->FName);
          if (c == '>') return complete();
          startTag->FEmptyElement = true;
          state = TState::AfterSlash;
        } else if (white) {
          if (!nameTaken) TakeText(tag->FName);
          nameTaken = true;
          whiteSpaceFollowed = true;
        } else {
          if (whiteSpaceFollowed) {
            whiteSpaceFollowed = false;
            state = TState::AttributeName;
          }
          FToken.push_back(static_cast<char>(c));
        }
        break;

      case TState::EndTagName:
        if (c == '/') {
          Fail("XML end tag may not contain '/'.");
        } else if (c == '>') {
          TakeText(tag->FName);
          return complete();
        } else if (white) {
          whiteSpaceFollowed = true;
        } else if (whiteSpaceFollowed) {
          Fail("XML end tag may not contain attributes.");
        } else {
          FToken.push_back(static_cast<char>(c));
        }
        break;

      case TState::AfterSlash:
        if (c != '>') Fail("XML empty tag must be closed with '/>'.");
        return complete();

      case TState::Text:
        FToken.push_back(static_cast<char>(c));
        break;

      case TState::AttributeName:
        if (c == '=') {
          TakeText(FAttributeName);
          state = TState::BeforeValue;
        } else if (white) {
          whiteSpaceFollowed = true;
        } else if (c == '>' || c == '/' || whiteSpaceFollowed) {
          Fail("XML attribute has no value.");
        } else {
          FToken.push_back(static_cast<char>(c));
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
          TakeDecodedText(FAttributeValue);
          startTag->FAttributes.Add(FAttributeName, FAttributeValue);
          state = TState::AfterValue;
        } else {
          FToken.push_back(static_cast<char>(c));
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
          FToken.push_back(static_cast<char>(c));
          state = TState::AttributeName;
        }
        break;

      case TState::AfterBang:
        if (c == '-') {
          state = TState::AfterBangDash;
        } else {
          special = NewToken<TQorvelXmlTypeDeclaration>(token);
          FToken.push_back(static_cast<char>(c));
          state = TState::Declaration;
        }
        break;

      case TState::AfterBangDash:
        if (c != '-') Fail("XML tag may not start with '-'.");
        special = NewToken<TQorvelXmlComment>(token);
        state = TState::Comment;
        break;

      case TState::Declaration:
        if (c == '>') {
          TakeText(special->FText);
          return complete();
        }
        FToken.push_back(static_cast<char>(c));
        break;

      case TState::Comment:
        if (c == '>' && FToken.ends_with("--")) {
          FToken.resize(FToken.size() - 2);
          TakeText(special->FText);
          return complete();
        }
        FToken.push_back(static_cast<char>(c));
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
