#pragma once
// A small streaming XML tokenizer and the escaping used when writing XML.
//
// The reader turns a byte stream into tokens one at a time (tags, text, comments, processing
// instructions, document type declarations) and never builds a document tree. It accepts what
// our own writers produce plus common hand edits; it does not validate, resolve named entities
// or know namespaces. Each input byte is taken as the character of the same code (0..255);
// only numeric character references ("&#65;", "&#x41;") are decoded.
//
// Wide text is UTF-16 (std::u16string), as everywhere in the settings.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "settings/QorvelErrors.h"

class TQorvelStream;

// A malformed document. The line number is 1 plus the number of CR characters read when the
// error was found; the message does not repeat it.
class EQorvelXmlError : public EQorvelError {
 public:
  EQorvelXmlError(const std::string& message, int lineNumber) : EQorvelError(message), FLineNumber(lineNumber) {}
  int LineNumber() const { return FLineNumber; }

 private:
  int FLineNumber;
};

// ---- Character classes and escaping ------------------------------------------------------

enum class TQorvelXmlCharClass : std::uint8_t {
  Other = 0,       // everything that is escaped when written
  WhiteSpace = 1,  // TAB, LF, CR, space
  NameChar = 2,    // A..Z a..z _ :
  Digit = 3,       // 0..9
  Plain = 4,       // ! # $ ( ) * + , - . / ; = ? [ \ ] ^ { } ~ | @
};

TQorvelXmlCharClass XmlCharClass(unsigned char c);

// Both answer 7-bit ASCII text ready for the byte stream: every character that is not plain
// (classes 1..4) becomes "&#x" + upper-case hexadecimal digits + ";". Narrow text is escaped
// per byte (two digits); wide text per UTF-16 unit (two digits below 256, else four).
std::string EscapeXml(std::string_view text);
std::string EscapeXml(std::u16string_view text);

// ---- Tokens ------------------------------------------------------------------------------

class TQorvelXmlElement {
 public:
  TQorvelXmlElement() = default;
  // A copy is a token of its own, never one a reader made (see ReadElement).
  TQorvelXmlElement(const TQorvelXmlElement&) {}
  TQorvelXmlElement& operator=(const TQorvelXmlElement&) { return *this; }
  virtual ~TQorvelXmlElement() = default;

 private:
  std::uint8_t FSpareSlot = 0;  // 1 + the reader's spare slot for the token's kind; 0 if no reader made it
  friend class TQorvelXmlReader;
};

class TQorvelXmlTag : public TQorvelXmlElement {
 public:
  const std::u16string& Name() const { return FName; }

 protected:
  std::u16string FName;
  friend class TQorvelXmlReader;
};

class TQorvelXmlAttribute {
 public:
  TQorvelXmlAttribute(std::u16string name, std::u16string value) : FName(std::move(name)), FValue(std::move(value)) {}
  const std::u16string& Name() const { return FName; }
  const std::u16string& Value() const { return FValue; }

 private:
  std::u16string FName;
  std::u16string FValue;
};

// The attributes of one tag in document order; duplicate names all stay.
class TQorvelXmlAttributes {
 public:
  // By reference: moving the strings in here trips a false "maybe uninitialized" of GCC 12.
  void Add(const std::u16string& name, const std::u16string& value) { FItems.emplace_back(name, value); }
  std::size_t Count() const { return FItems.size(); }
  const TQorvelXmlAttribute& operator[](std::size_t index) const { return FItems[index]; }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  std::vector<TQorvelXmlAttribute> FItems;
  friend class TQorvelXmlReader;  // empties a recycled tag's list, keeping its room
};

class TQorvelXmlAttributeList : public TQorvelXmlAttributes {
 public:
  // The value of the first attribute with exactly this name (case-sensitive), or empty text.
  std::u16string Value(std::u16string_view name) const;
};

class TQorvelXmlStartTag : public TQorvelXmlTag {
 public:
  const TQorvelXmlAttributeList& Attributes() const { return FAttributes; }
  // Written as a self-closing tag ("<a/>"): no content and no end tag follow.
  bool EmptyElement() const { return FEmptyElement; }

 private:
  TQorvelXmlAttributeList FAttributes;
  bool FEmptyElement = false;
  friend class TQorvelXmlReader;
};

class TQorvelXmlEndTag : public TQorvelXmlTag {};

class TQorvelXmlSpecialElement : public TQorvelXmlElement {
 public:
  const std::u16string& Text() const { return FText; }

 protected:
  std::u16string FText;
  friend class TQorvelXmlReader;
};

// Character data between tags, references decoded. Its text keeps the white space before the
// first other character; text that is only white space is no token at all.
class TQorvelXmlContent : public TQorvelXmlSpecialElement {};
// The text between "<!--" and "-->". It is a kind of content, so consumers that look for text
// take comments for text.
class TQorvelXmlComment : public TQorvelXmlContent {};
// The raw text between "<?" and ">" (a closing "?" included).
class TQorvelXmlProcessingInstruction : public TQorvelXmlSpecialElement {};
// The raw text between "<!" and the first ">" when it is not a comment.
class TQorvelXmlTypeDeclaration : public TQorvelXmlSpecialElement {};

// ---- Reader ------------------------------------------------------------------------------

// Hostile input is bounded: a single token (a tag with all its attributes, a text run with the
// white space before it, a comment, a declaration) may take at most this many bytes of input,
// otherwise reading stops with "XML element is too large.". White space between markup is
// not a token and may run on without limit. Memory stays proportional to this bound.
inline constexpr std::size_t QorvelXmlMaxTokenSize = 1024 * 1024;

class TQorvelXmlReader {
 public:
  static constexpr std::size_t BufferSize = 65536;
  // Tokens of each kind, and a reader's own spare of each (see ReadElement).
  static constexpr std::size_t TokenKinds = 6;

  // Reads from `stream`, which must outlive the reader and is not owned by it.
  explicit TQorvelXmlReader(TQorvelStream& stream);
  ~TQorvelXmlReader();
  TQorvelXmlReader(const TQorvelXmlReader&) = delete;
  TQorvelXmlReader& operator=(const TQorvelXmlReader&) = delete;

  // Replaces the token in `element` by the next token of any kind. Answers false, leaving
  // `element` empty, at the end of the input. Throws EQorvelXmlError on malformed input; the
  // reader is not meant to be used after that. The token handed back in `element` is kept
  // for a later token of its kind, so that reading a file does not allocate its tokens and
  // their strings over and over.
  bool ReadElement(std::unique_ptr<TQorvelXmlElement>& element);
  // Like ReadElement, but passes over processing instructions and type declarations: the
  // token is a tag or content (comments included), or there is none.
  bool Next(std::unique_ptr<TQorvelXmlElement>& element);

  // 1 plus the number of CR characters read so far (LF-only line ends stay on line 1).
  int LineNumber() const { return FLineNumber; }

 private:
  // One token of each kind, read from the byte after the one that told its kind. Each fails
  // with EQorvelXmlError where the markup breaks the rules.
  void ReadText(std::unique_ptr<TQorvelXmlElement>& token);    // up to the next "<"; white space before it is its own
  void ReadMarkup(std::unique_ptr<TQorvelXmlElement>& token);  // from its "<"
  void ReadStartTag(TQorvelXmlStartTag& tag);                  // the name's first byte is in the token
  void ReadAttribute(TQorvelXmlStartTag& tag, unsigned char first);          // name = "value" or 'value'
  void ReadEndTag(TQorvelXmlEndTag& tag);                                    // after "</": the name, white space, ">"
  void ReadCommentOrDeclaration(std::unique_ptr<TQorvelXmlElement>& token);  // after "<!"
  void ReadComment(TQorvelXmlComment& comment);                              // after "<!--", up to "-->"
  void ReadRawText(TQorvelXmlSpecialElement& token);                         // up to the first ">"

  // Taking bytes. Every byte a token takes counts against QorvelXmlMaxTokenSize.
  bool Refill();
  void SkipByte();
  std::size_t TakeBufferedRun(std::uint8_t stops, std::size_t most, std::size_t keep, std::uint8_t keepNoneBefore);
  std::size_t RoomLeft() const;  // bytes the token may still take
  void RequireInput();           // fails at the end of the input
  unsigned char TakeByte();
  // Takes the bytes before the next one with one of `stops` (StopFlags), into the token or
  // passing over them, and leaves that byte unread.
  void TakeRunUntil(std::uint8_t stops, bool collect);
  unsigned char TakeNonWhiteByte();  // passes over white space and takes the byte after it
  // Passes over white space, keeping what a text may begin with; false at the end of the input.
  bool PassWhiteSpaceBetweenMarkup();
  void TakeText(std::u16string& text);
  void TakeDecodedText(std::u16string& text);

  void Recycle(std::unique_ptr<TQorvelXmlElement>& element);
  template <class TToken>
  TToken& NewToken(std::unique_ptr<TQorvelXmlElement>& slot);
  [[noreturn]] void Fail(const char* message) const;

  TQorvelStream& FStream;
  std::unique_ptr<unsigned char[]> FBuffer;
  std::size_t FPosition = 0;
  std::size_t FLeft = 0;
  int FLineNumber = 1;
  std::size_t FTokenBytes = 0;  // input bytes the token took so far, white space before a text included
  std::string FToken;
  std::u16string FAttributeName, FAttributeValue;
  std::array<std::unique_ptr<TQorvelXmlElement>, TokenKinds> FSpares;
};
