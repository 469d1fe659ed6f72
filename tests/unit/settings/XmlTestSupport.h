#pragma once
// Helpers shared by the XML tests: whole-document tokenizing and error capture.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ByteStreams.h"
#include "settings/QorvelXml.h"

using TXmlTokens = std::vector<std::unique_ptr<TQorvelXmlElement>>;

// Answers at most `piece` bytes per read, to push the reader through its refill paths.
class TPiecewiseStream : public TQorvelStream {
 public:
  TPiecewiseStream(std::string data, std::size_t piece) : FData(std::move(data)), FPiece(piece) {}
  std::size_t Read(void* buffer, std::size_t count) override {
    const std::size_t n = std::min({count, FPiece, FData.size() - FPosition});
    std::memcpy(buffer, FData.data() + FPosition, n);
    FPosition += n;
    return n;
  }
  void Write(const void*, std::size_t) override { ADD_FAILURE() << "unexpected write"; }

 private:
  std::string FData;
  std::size_t FPiece;
  std::size_t FPosition = 0;
};

inline TXmlTokens ReadTokens(TQorvelStream& stream) {
  TQorvelXmlReader reader(stream);
  TXmlTokens tokens;
  std::unique_ptr<TQorvelXmlElement> element;
  while (reader.ReadElement(element)) tokens.push_back(std::move(element));
  return tokens;
}

inline TXmlTokens ReadTokens(const std::string& document) {
  TQorvelMemoryStream stream(document);
  return ReadTokens(stream);
}

template <class T>
const T& TokenAs(const TXmlTokens& tokens, std::size_t index) {
  EXPECT_LT(index, tokens.size());
  const T* typed = index < tokens.size() ? dynamic_cast<const T*>(tokens[index].get()) : nullptr;
  if (!typed) throw std::logic_error("token " + std::to_string(index) + " has another type");
  return *typed;
}

// A readable line per token (kind, name or text, attributes), for comparing whole sequences.
inline std::u16string DescribeTokens(const TXmlTokens& tokens) {
  std::u16string out;
  for (const auto& token : tokens) {
    if (auto* start = dynamic_cast<const TQorvelXmlStartTag*>(token.get())) {
      out += u"<" + start->Name();
      for (const TQorvelXmlAttribute& attribute : start->Attributes()) {
        out += u" " + attribute.Name() + u"='" + attribute.Value() + u"'";
      }
      out += start->EmptyElement() ? u"/>" : u">";
    } else if (auto* end = dynamic_cast<const TQorvelXmlEndTag*>(token.get())) {
      out += u"</" + end->Name() + u">";
    } else if (auto* comment = dynamic_cast<const TQorvelXmlComment*>(token.get())) {
      out += u"comment:" + comment->Text();
    } else if (auto* special = dynamic_cast<const TQorvelXmlSpecialElement*>(token.get())) {
      const bool text = dynamic_cast<const TQorvelXmlContent*>(token.get()) != nullptr;
      out += (text ? u"text:" : u"raw:") + special->Text();
    }
    out += u"\n";
  }
  return out;
}

struct TXmlFailure {
  std::string Message;
  int LineNumber = 0;
};

// Reads the whole document and answers the error it raised (an empty message if none).
inline TXmlFailure ReadFailure(const std::string& document) {
  try {
    ReadTokens(document);
  } catch (const EQorvelXmlError& error) {
    return {error.what(), error.LineNumber()};
  }
  return {};
}
