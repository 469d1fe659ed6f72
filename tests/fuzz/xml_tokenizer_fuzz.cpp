// Fuzz target for the XML tokenizer. Beyond "no crash, leak or hang" it checks three
// properties on every input:
//  - reading the stream in small uneven pieces with Next gives exactly the tokens, line
//    numbers and error of reading it whole with ReadElement, less instructions and
//    declarations (the refill and give-back paths of the read buffer);
//  - every attribute value and text survives escaping and reading back unchanged;
//  - the raw input escaped as narrow text reads back as its bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ByteStreams.h"
#include "settings/QorvelXml.h"

namespace {

// Hands out the bytes in pieces of 1, 2, ... 13 bytes, however many were asked for.
class TTrickleStream : public TQorvelStream {
 public:
  explicit TTrickleStream(std::string_view data) : FData(data) {}
  std::size_t Read(void* buffer, std::size_t count) override {
    FPiece = FPiece % 13 + 1;
    const std::size_t n = std::min({count, FPiece, FData.size()});
    std::memcpy(buffer, FData.data(), n);
    FData.remove_prefix(n);
    return n;
  }
  void Write(const void*, std::size_t) override { std::abort(); }

 private:
  std::string_view FData;
  std::size_t FPiece = 0;
};

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (const char16_t c : text) {
    const auto code = static_cast<std::uint32_t>(c);
    out += static_cast<char>(code & 0xFF);
    out += static_cast<char>(code >> 8);
  }
  return out;
}

// One line per token: its kind, name or text, attributes, flags and the line number after it.
std::string Describe(const TQorvelXmlElement& element, int line) {
  std::string out;
  if (auto* start = dynamic_cast<const TQorvelXmlStartTag*>(&element)) {
    out = "S" + Narrow(start->Name()) + (start->EmptyElement() ? "/" : "");
    for (const TQorvelXmlAttribute& attribute : start->Attributes()) {
      out += " " + Narrow(attribute.Name()) + "=" + Narrow(attribute.Value());
    }
  } else if (auto* end = dynamic_cast<const TQorvelXmlEndTag*>(&element)) {
    out = "E" + Narrow(end->Name());
  } else if (dynamic_cast<const TQorvelXmlComment*>(&element)) {
    out = "C" + Narrow(static_cast<const TQorvelXmlSpecialElement&>(element).Text());
  } else if (auto* content = dynamic_cast<const TQorvelXmlContent*>(&element)) {
    out = "T" + Narrow(content->Text());
  } else if (auto* instruction = dynamic_cast<const TQorvelXmlProcessingInstruction*>(&element)) {
    out = "P" + Narrow(instruction->Text());
  } else if (auto* declaration = dynamic_cast<const TQorvelXmlTypeDeclaration*>(&element)) {
    out = "D" + Narrow(declaration->Text());
  } else {
    std::abort();
  }
  return out + "@" + std::to_string(line);
}

// One entry per token, then how reading ended. Reads with ReadElement, or with Next when
// `tokens` is null.
std::vector<std::string> Tokenize(TQorvelStream& stream, std::vector<std::unique_ptr<TQorvelXmlElement>>* tokens) {
  TQorvelXmlReader reader(stream);
  std::vector<std::string> trace;
  std::unique_ptr<TQorvelXmlElement> element;
  try {
    while (tokens ? reader.ReadElement(element) : reader.Next(element)) {
      trace.push_back(Describe(*element, reader.LineNumber()));
      if (tokens) tokens->push_back(std::move(element));
    }
    Check(!element);
    trace.push_back("end@" + std::to_string(reader.LineNumber()));
  } catch (const EQorvelXmlError& error) {
    Check(error.LineNumber() == reader.LineNumber());
    trace.push_back(std::string("error ") + error.what() + "@" + std::to_string(error.LineNumber()));
  }
  return trace;
}

// Escapes every value and text into one document, reads it back and compares: one reader per
// input keeps the target fast.
class TRoundTrip {
 public:
  void AddValue(const std::u16string& value) {
    FDocument += "<v x=\"" + EscapeXml(value) + "\"/>";
    FExpected.push_back({false, value});
  }
  void AddText(const std::u16string& text) {
    if (text.find_first_not_of(u"\t\n\r ") == std::u16string::npos) return;  // no token then
    FDocument += "<t>" + EscapeXml(text) + "</t>";
    FExpected.push_back({true, text});
  }
  void AddBytes(std::string_view bytes) {
    FDocument += "<b x='" + EscapeXml(bytes) + "'>";
    std::u16string latin1;  // each byte the character of its code
    for (const unsigned char c : bytes) latin1 += static_cast<char16_t>(c);
    FExpected.push_back({false, latin1});
  }
  void Check() const {
    TQorvelMemoryStream stream(FDocument);
    TQorvelXmlReader reader(stream);
    std::unique_ptr<TQorvelXmlElement> element;
    for (const auto& [text, expected] : FExpected) {
      ::Check(reader.ReadElement(element));
      auto* tag = dynamic_cast<const TQorvelXmlStartTag*>(element.get());
      ::Check(tag != nullptr);
      if (text) {
        ::Check(reader.ReadElement(element));
        ::Check(dynamic_cast<const TQorvelXmlContent&>(*element).Text() == expected);
        ::Check(reader.ReadElement(element) && dynamic_cast<const TQorvelXmlEndTag*>(element.get()));
      } else {
        ::Check(tag->Attributes().Count() == 1 && tag->Attributes().Value(u"x") == expected);
      }
    }
    ::Check(!reader.ReadElement(element));
  }

 private:
  struct TExpected {
    bool Text;
    std::u16string Value;
  };
  std::string FDocument;
  std::vector<TExpected> FExpected;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  std::vector<std::unique_ptr<TQorvelXmlElement>> tokens;
  TQorvelMemoryStream whole(input);
  const std::vector<std::string> trace = Tokenize(whole, &tokens);
  // Next leaves out instructions and declarations and nothing else.
  std::vector<std::string> tagsAndText;
  std::copy_if(trace.begin(), trace.end(), std::back_inserter(tagsAndText),
               [](const std::string& entry) { return entry[0] != 'P' && entry[0] != 'D'; });
  TTrickleStream pieces(input);
  Check(Tokenize(pieces, nullptr) == tagsAndText);

  TRoundTrip roundTrip;
  for (const auto& element : tokens) {
    if (auto* start = dynamic_cast<const TQorvelXmlStartTag*>(element.get())) {
      const TQorvelXmlAttributeList& attributes = start->Attributes();
      for (std::size_t i = 0; i < attributes.Count(); ++i) {
        roundTrip.AddValue(attributes[i].Value());
        // Lookup answers the first of duplicate names.
        std::size_t first = 0;
        while (attributes[first].Name() != attributes[i].Name()) ++first;
        Check(attributes.Value(attributes[i].Name()) == attributes[first].Value());
      }
    } else if (auto* content = dynamic_cast<const TQorvelXmlContent*>(element.get())) {
      roundTrip.AddText(content->Text());
    }
  }
  roundTrip.AddBytes(input);
  roundTrip.Check();
  return 0;
}
