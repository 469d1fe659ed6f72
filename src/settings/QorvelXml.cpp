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

// Bytes that end a run of bytes the reader collects or passes over without looking at each.
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
std::size_t TQorvelXmlReader::TakeBufferedRun(std::uint8_t stops, std::size_t most, std::size_t keep,
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

std::size_t TQorvelXmlReader::RoomLeft() const {
  return FTokenBytes < QorvelXmlMaxTokenSize ? QorvelXmlMaxTokenSize - FTokenBytes : 0;
}

void TQorvelXmlReader::RequireInput() {
  if (FLeft == 0 && !Refill()) Fail("XML content is not finished properly.");
}

unsigned char TQorvelXmlReader::TakeByte() {
  RequireInput();
  const unsigned char c = FBuffer[FPosition];
  SkipByte();
  if (++FTokenBytes > QorvelXmlMaxTokenSize) Fail("XML element is too large.");
  return c;
}

void TQorvelXmlReader::TakeRunUntil(std::uint8_t stops, bool collect) {
  do {
    RequireInput();
    const std::size_t room = RoomLeft();
    FTokenBytes += TakeBufferedRun(stops, room, collect ? room : 0, 0);
  } while (FLeft == 0);
  // A run stops early only where the token reached its size limit: the byte beyond it fails,
  // with the line number of its own position.
  if ((StopFlags[FBuffer[FPosition]] & stops) == 0) TakeByte();
}

unsigned char TQorvelXmlReader::TakeNonWhiteByte() {
  // Mostly there is no white space to pass over.
  if (FLeft == 0 || IsWhiteSpace(FBuffer[FPosition])) TakeRunUntil(StopNonWhite, false);
  return TakeByte();
}

bool TQorvelXmlReader::PassWhiteSpaceBetweenMarkup() {
  do {
    if (FLeft == 0 && !Refill()) return false;
    // White space between markup is not limited, only the part of it a text may keep; white
    // space right before markup is no text's and is not kept.
    FTokenBytes += TakeBufferedRun(StopNonWhite, FLeft, RoomLeft(), StopLess);
  } while (FLeft == 0);
  return true;
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
TToken& TQorvelXmlReader::NewToken(std::unique_ptr<TQorvelXmlElement>& slot) {
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
  return *token;
}

void TQorvelXmlReader::Fail(const char* message) const { throw EQorvelXmlError(message, FLineNumber); }

bool TQorvelXmlReader::ReadElement(std::unique_ptr<TQorvelXmlElement>& element) {
  Recycle(element);
  FToken.clear();
  FTokenBytes = 0;
  if (!PassWhiteSpaceBetweenMarkup()) return false;
  // Built aside, so that a malformed token never reaches the caller.
  std::unique_ptr<TQorvelXmlElement> token;
  if (FBuffer[FPosition] == '<')
    ReadMarkup(token);
  else
    ReadText(token);
  element = std::move(token);
  return true;
}

void TQorvelXmlReader::ReadText(std::unique_ptr<TQorvelXmlElement>& token) {
  TQorvelXmlContent& content = NewToken<TQorvelXmlContent>(token);
  TakeRunUntil(StopLess, true);  // the "<" stays and starts the next token
  TakeDecodedText(content.FText);
}

void TQorvelXmlReader::ReadMarkup(std::unique_ptr<TQorvelXmlElement>& token) {
  SkipByte();  // the "<"
  FToken.clear();
  FTokenBytes = 1;
  const unsigned char c = TakeByte();
  if (c == '/') {
    ReadEndTag(NewToken<TQorvelXmlEndTag>(token));
  } else if (c == '?') {
    ReadRawText(NewToken<TQorvelXmlProcessingInstruction>(token));
  } else if (c == '!') {
    ReadCommentOrDeclaration(token);
  } else if (IsWhiteSpace(c)) {
    Fail("XML tag may not begin with white space.");
  } else {
    FToken.push_back(static_cast<char>(c));
    ReadStartTag(NewToken<TQorvelXmlStartTag>(token));
  }
}

void TQorvelXmlReader::ReadStartTag(TQorvelXmlStartTag& tag) {
  TakeRunUntil(StopWhite | StopSlash | StopGreater, true);
  TakeText(tag.FName);
  unsigned char c = TakeNonWhiteByte();
  while (c != '/' && c != '>') {
    ReadAttribute(tag, c);
    c = TakeNonWhiteByte();
  }
  if (c == '/') {
    tag.FEmptyElement = true;
    if (TakeByte() != '>') Fail("XML empty tag must be closed with '/>'.");
  }
}

void TQorvelXmlReader::ReadAttribute(TQorvelXmlStartTag& tag, unsigned char first) {
  FToken.push_back(static_cast<char>(first));
  TakeRunUntil(StopWhite | StopSlash | StopGreater | StopEquals, true);
  if (TakeNonWhiteByte() != '=') Fail("XML attribute has no value.");
  TakeText(FAttributeName);
  const unsigned char quote = TakeNonWhiteByte();
  if (quote == '>' || quote == '/') Fail("XML attribute has no value.");
  if (quote != '"' && quote != '\'') Fail("XML attribute value is not quoted.");
  TakeRunUntil(quote == '"' ? StopDoubleQuote : StopApostrophe, true);
  TakeByte();  // the closing quote
  TakeDecodedText(FAttributeValue);
  tag.FAttributes.Add(FAttributeName, FAttributeValue);
}

void TQorvelXmlReader::ReadEndTag(TQorvelXmlEndTag& tag) {
  TakeRunUntil(StopWhite | StopSlash | StopGreater, true);
  const unsigned char c = TakeNonWhiteByte();
  if (c == '/') Fail("XML end tag may not contain '/'.");
  if (c != '>') Fail("XML end tag may not contain attributes.");
  TakeText(tag.FName);
}

void TQorvelXmlReader::ReadCommentOrDeclaration(std::unique_ptr<TQorvelXmlElement>& token) {
  const unsigned char c = TakeByte();
  if (c == '-') {
    if (TakeByte() != '-') Fail("XML tag may not start with '-'.");
    ReadComment(NewToken<TQorvelXmlComment>(token));
  } else {
    FToken.push_back(static_cast<char>(c));
    ReadRawText(NewToken<TQorvelXmlTypeDeclaration>(token));
  }
}

void TQorvelXmlReader::ReadComment(TQorvelXmlComment& comment) {
  for (;;) {
    TakeRunUntil(StopGreater, true);
    TakeByte();
    if (FToken.ends_with("--")) break;
    FToken.push_back('>');  // a ">" without "--" before it is the comment's
  }
  FToken.resize(FToken.size() - 2);
  TakeText(comment.FText);
}

void TQorvelXmlReader::ReadRawText(TQorvelXmlSpecialElement& token) {
  TakeRunUntil(StopGreater, true);
  TakeByte();
  TakeText(token.FText);
}

bool TQorvelXmlReader::Next(std::unique_ptr<TQorvelXmlElement>& element) {
  while (ReadElement(element)) {
    if (dynamic_cast<const TQorvelXmlTag*>(element.get()) || dynamic_cast<const TQorvelXmlContent*>(element.get())) {
      return true;
    }
  }
  return false;
}
