// The tokenizer's answers to thousands of odd and hostile documents pinned down by one
// digest, recorded from a tokenizer that the behavioural tests had checked. The reader's
// inner loops are tuned for speed; this makes sure no tuning changes a token, an attribute,
// a decoded character, an error or the line number reported with it. A failing digest
// means some answer changed: find it with the behavioural tests, never by updating the
// number.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "settings/XmlTestSupport.h"

namespace {

// Pieces documents are built from: markup of every kind, references good and bad, line
// ends of every kind, quotes, bytes above 127, NUL and stray markup characters.
const std::vector<std::string>& Fragments() {
  static const std::vector<std::string> fragments = {
      "<",
      ">",
      "/",
      "/>",
      "</",
      "=",
      "'",
      "\"",
      " ",
      "  ",
      "\t",
      "\r",
      "\n",
      "\r\n",
      "\n\r",
      "a",
      "settings",
      "x:y",
      "_1",
      "-",
      "!",
      "?",
      "[",
      "]",
      ";",
      "&",
      "%",
      "#",
      "x",
      "&#x41;",
      "&#65;",
      "&#x;",
      "&#;",
      "&#xFFFFF;",
      "&#999999;",
      "&#x1F600;",
      "&amp;",
      "&lt;",
      "&#X41;",
      "&&#x42;",
      "%&#x43;",
      "50% ",
      "&#x4",
      "&#6",
      "<!--",
      "-->",
      "--",
      "--->",
      "<!-",
      "<!DOCTYPE x>",
      "<!",
      "<?",
      "?>",
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>",
      std::string("\0", 1),
      "\xE9",
      "\xFF",
      "\x7F",
      "\x01",
      "value",
      "<a>",
      "</a>",
      "<a/>",
      "<a b='c'>",
      "<a b=\"c\" d='e'/>",
      "< a>",
      "<a b>",
      "<a b=c>",
      "<a =''>",
      "</a b>",
      "</a/>",
      "<a b='1'c='2'>",
      "text with spaces",
  };
  return fragments;
}

// A document of random fragments; every fourth one a well-formed frame around them, so
// that the reader also gets deep into long valid runs before something odd happens.
std::string RandomDocument(std::mt19937& random) {
  const std::vector<std::string>& fragments = Fragments();
  std::string document;
  const bool framed = random() % 4 == 0;
  if (framed) document = "<?xml version=\"1.0\"?>\r\n<settings a='1' b=\"&#x32;\">\r\n";
  const unsigned count = 1 + random() % 40;
  for (unsigned i = 0; i < count; ++i) document += fragments[random() % fragments.size()];
  if (framed) document += "\r\n</settings>\r\n";
  return document;
}

// A document of well-formed markup whose names, values, texts and comments are made of odd
// pieces: reads that mostly succeed, through every kind of token.
std::string MarkupDocument(std::mt19937& random) {
  static const std::vector<std::string> names = {"a", "settings", "x:y", "_1", "n", "item-2", "\xE9t\xE9"};
  static const std::vector<std::string> pieces = {
      "x",    " ",    "\r\n", "\t", "&#x41;", "&#65;", "&#x;", "&amp;", "&", "%",  ";",  "50% ",
      "&#x4", "\xFF", ">",    "/",  "=",      "?",     "--",   "-",     "!", "[]", "\r", "&#x1F600;",
  };
  const auto text = [&](char avoid) {
    std::string run;
    for (unsigned n = random() % 6; n > 0; --n) {
      const std::string& piece = pieces[random() % pieces.size()];
      if (piece.find(avoid) == std::string::npos && !(avoid == '-' && piece.find('>') != std::string::npos))
        run += piece;
    }
    return run;
  };
  std::string document;
  for (unsigned count = 1 + random() % 30; count > 0; --count) {
    switch (random() % 6) {
      case 0:
      case 1: {
        const bool empty = random() % 3 == 0;
        document += "<" + names[random() % names.size()];
        for (unsigned n = random() % 4; n > 0; --n) {
          const char quote = random() % 2 ? '"' : '\'';
          document += std::string(1 + random() % 2, random() % 3 ? ' ' : '\r') + names[random() % names.size()] + "=" +
                      quote + text(quote) + quote;
        }
        document += random() % 4 ? "" : "\r\n ";
        document += empty ? "/>" : ">";
        break;
      }
      case 2: document += "</" + names[random() % names.size()] + (random() % 4 ? ">" : " \r>"); break;
      case 3: document += text('<'); break;
      case 4: document += "<!--" + text('-') + "-->"; break;
      default: document += random() % 2 ? "<?pi " + text('>') + "?>" : "<!DOCTYPE " + text('>') + ">"; break;
    }
    if (random() % 3 == 0) document += "\r\n\t";
  }
  return document;
}

// Everything a caller can see of a read: each token, the line number after it, and the
// error that ended the read (if any) with its line number. The caller either hands each
// token back to the reader (as the settings reader does) or keeps it.
std::u16string Observe(TQorvelStream& stream, bool handBack) {
  TQorvelXmlReader reader(stream);
  std::u16string seen;
  TXmlTokens tokens;
  try {
    std::unique_ptr<TQorvelXmlElement> element;
    while (reader.ReadElement(element)) {
      tokens.clear();
      tokens.push_back(std::move(element));
      seen += DescribeTokens(tokens);
      if (handBack) element = std::move(tokens.front());
      for (const char c : std::to_string(reader.LineNumber())) seen += static_cast<char16_t>(c);
      seen += u'\n';
    }
    seen += u"end\n";
  } catch (const EQorvelXmlError& error) {
    for (const char c : std::string(error.what()) + " line " + std::to_string(error.LineNumber()))
      seen += static_cast<char16_t>(c);
  }
  return seen;
}

std::uint64_t Fold(std::uint64_t hash, const std::u16string& text) {
  for (const char16_t c : text) {
    hash = (hash ^ (c & 0xFF)) * 1099511628211ull;
    hash = (hash ^ (c >> 8)) * 1099511628211ull;
  }
  return (hash ^ 0xFFFF) * 1099511628211ull;  // a separator between documents
}

std::string Hex(std::uint64_t value) {
  char text[20];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

TEST(XmlTokenizerPinned, OddDocumentsReadTheSameWholeAndInPiecesAndAsRecorded) {
  std::mt19937 random(20261207);
  std::uint64_t hash = 14695981039346656037ull;
  for (int round = 0; round < 6000; ++round) {
    const std::string document = round % 2 ? MarkupDocument(random) : RandomDocument(random);
    TQorvelMemoryStream whole(document);
    const std::u16string seen = Observe(whole, false);
    // Reads of a byte, and of a few bytes, at a time see the same, and so does a caller
    // that hands its tokens back.
    TQorvelMemoryStream again(document);
    ASSERT_TRUE(Observe(again, true) == seen) << "round " << round << ", tokens handed back";
    for (const std::size_t piece : {std::size_t{1}, std::size_t{3}}) {
      TPiecewiseStream stream(document, piece);
      ASSERT_TRUE(Observe(stream, piece == 3) == seen) << "round " << round << ", piece " << piece;
    }
    hash = Fold(hash, seen);
  }
  EXPECT_EQ(Hex(hash), "ccd6137c967aae08");
}

// Documents near the limits: tokens of about the limit's size with line ends in them, text
// split across buffer refills, white space before text, comments ending at a refill.
TEST(XmlTokenizerPinned, TokensAroundTheSizeLimitAndTheBufferEdgeAsRecorded) {
  const std::size_t limit = QorvelXmlMaxTokenSize;
  const std::size_t buffer = TQorvelXmlReader::BufferSize;
  std::vector<std::string> documents;
  for (const std::size_t size : {limit - 2, limit - 1, limit, limit + 1}) {
    std::string run(size, 'x');
    for (std::size_t i = 0; i < size; i += 9973) run[i] = '\r';
    documents.push_back("<a>" + run + "</a>");
    documents.push_back("<a v='" + run + "'/>");
    documents.push_back("<!--" + run + "-->");
    documents.push_back("<?" + run + ">");
    documents.push_back("<a>\r\n" + std::string(size, ' ') + "y</a>");
    documents.push_back("<" + run + ">");
    documents.push_back("</" + run + ">");
  }
  for (const std::size_t at : {buffer - 3, buffer - 2, buffer - 1, buffer, buffer + 1}) {
    const std::string pad(at, ' ');
    documents.push_back(pad + "<a>&#x41;</a>");
    documents.push_back("<a>" + std::string(at - 5, 'z') + "&#x41;\r</a>");
    documents.push_back("<!--" + std::string(at - 6, '-') + "--->");
    documents.push_back("<a b='" + std::string(at - 8, '\r') + "'>");
  }
  std::uint64_t hash = 14695981039346656037ull;
  for (const std::string& document : documents) {
    TQorvelMemoryStream whole(document);
    const std::u16string seen = Observe(whole, false);
    TPiecewiseStream stream(document, 4099);
    ASSERT_TRUE(Observe(stream, true) == seen) << document.substr(0, 20);
    hash = Fold(hash, seen);
  }
  EXPECT_EQ(Hex(hash), "0aef842060f5a94e");
}

}  // namespace
