#include <gtest/gtest.h>

#include <typeinfo>

#include "XmlTestSupport.h"

namespace {

TEST(XmlTokenizerTags, StartTagToleratesExtraSpaceAndApostrophes) {
  const TXmlTokens tokens = ReadTokens("<a  b='1' >");
  ASSERT_EQ(tokens.size(), 1u);
  const auto& tag = TokenAs<TQorvelXmlStartTag>(tokens, 0);
  EXPECT_EQ(tag.Name(), u"a");
  ASSERT_EQ(tag.Attributes().Count(), 1u);
  EXPECT_EQ(tag.Attributes()[0].Name(), u"b");
  EXPECT_EQ(tag.Attributes()[0].Value(), u"1");
  EXPECT_FALSE(tag.EmptyElement());
}

TEST(XmlTokenizerTags, SelfClosingTagsCarryTheEmptyElementFlag) {
  const TXmlTokens tokens = ReadTokens("<a/><a b='1'/><a b=\"2\" /><a>");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_TRUE(TokenAs<TQorvelXmlStartTag>(tokens, 0).EmptyElement());
  EXPECT_EQ(TokenAs<TQorvelXmlStartTag>(tokens, 0).Name(), u"a");
  EXPECT_TRUE(TokenAs<TQorvelXmlStartTag>(tokens, 1).EmptyElement());
  EXPECT_EQ(TokenAs<TQorvelXmlStartTag>(tokens, 1).Attributes().Value(u"b"), u"1");
  EXPECT_TRUE(TokenAs<TQorvelXmlStartTag>(tokens, 2).EmptyElement());
  EXPECT_FALSE(TokenAs<TQorvelXmlStartTag>(tokens, 3).EmptyElement());
}

TEST(XmlTokenizerTags, EndTagsMayEndInWhiteSpace) {
  const TXmlTokens tokens = ReadTokens("</settings></a \r\n>");
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(TokenAs<TQorvelXmlEndTag>(tokens, 0).Name(), u"settings");
  EXPECT_EQ(TokenAs<TQorvelXmlEndTag>(tokens, 1).Name(), u"a");
}

TEST(XmlTokenizerTags, AttributeValuesKeepMarkupCharactersAndTheOtherQuote) {
  const TXmlTokens tokens = ReadTokens("<a x = \"1/2 > 0 'q'\" y='say \"hi\"'z='' >");
  const auto& attributes = TokenAs<TQorvelXmlStartTag>(tokens, 0).Attributes();
  ASSERT_EQ(attributes.Count(), 3u);
  EXPECT_EQ(attributes.Value(u"x"), u"1/2 > 0 'q'");
  EXPECT_EQ(attributes.Value(u"y"), u"say \"hi\"");
  EXPECT_EQ(attributes[2].Name(), u"z");
  EXPECT_EQ(attributes[2].Value(), u"");
}

TEST(XmlTokenizerTags, AttributeLookupIsExactAndFindsTheFirstOfDuplicates) {
  const TXmlTokens tokens = ReadTokens("<a name='0' Name='1' name='2'>");
  const auto& attributes = TokenAs<TQorvelXmlStartTag>(tokens, 0).Attributes();
  ASSERT_EQ(attributes.Count(), 3u);
  EXPECT_EQ(attributes[2].Value(), u"2");
  EXPECT_EQ(attributes.Value(u"name"), u"0");
  EXPECT_EQ(attributes.Value(u"Name"), u"1");
  EXPECT_EQ(attributes.Value(u"NAME"), u"");
  EXPECT_EQ(attributes.Value(u"nam"), u"");
}

TEST(XmlTokenizerTags, NamesAreTakenRawWithoutDecoding) {
  const TXmlTokens tokens = ReadTokens("<a&#x41; b&#x42;='&#x43;'>");
  const auto& tag = TokenAs<TQorvelXmlStartTag>(tokens, 0);
  EXPECT_EQ(tag.Name(), u"a&#x41;");
  EXPECT_EQ(tag.Attributes().Value(u"b&#x42;"), u"C");
}

// ---- Errors -----------------------------------------------------------------------------

struct TErrorCase {
  const char* Document;
  const char* Message;
  int LineNumber;
};

class XmlTokenizerErrors : public testing::TestWithParam<TErrorCase> {};

TEST_P(XmlTokenizerErrors, RaiseTheirMessageWithTheLineNumber) {
  const TXmlFailure failure = ReadFailure(GetParam().Document);
  EXPECT_EQ(failure.Message, GetParam().Message);
  EXPECT_EQ(failure.LineNumber, GetParam().LineNumber);
}

constexpr const char* Unfinished = "XML content is not finished properly.";

INSTANTIATE_TEST_SUITE_P(
    Table, XmlTokenizerErrors,
    testing::Values(TErrorCase{"<a/ >", "XML empty tag must be closed with '/>'.", 1},
                    TErrorCase{"<a b='1'/x>", "XML empty tag must be closed with '/>'.", 1},
                    TErrorCase{"</a b>", "XML end tag may not contain attributes.", 1},
                    TErrorCase{"</ a>", "XML end tag may not contain attributes.", 1},
                    TErrorCase{"</a/>", "XML end tag may not contain '/'.", 1},
                    TErrorCase{"< a>", "XML tag may not begin with white space.", 1},
                    TErrorCase{"<a b>", "XML attribute has no value.", 1},
                    TErrorCase{"<a b=>", "XML attribute has no value.", 1},
                    TErrorCase{"<a b/>", "XML attribute has no value.", 1},
                    TErrorCase{"<a b c='1'>", "XML attribute has no value.", 1},
                    TErrorCase{"<a b='1' c>", "XML attribute has no value.", 1},
                    TErrorCase{"<a b=1>", "XML attribute value is not quoted.", 1},
                    TErrorCase{"<!-x>", "XML tag may not start with '-'.", 1},
                    // Line numbers count the CRs read up to the offending byte, LF-only ends do not count.
                    TErrorCase{"<s>\r\n\t<a\r\n b=1>", "XML attribute value is not quoted.", 3},
                    TErrorCase{"<s>\n\n<a b>", "XML attribute has no value.", 1},
                    TErrorCase{"<s>\r\n<a\r\n/ >", "XML empty tag must be closed with '/>'.", 3},
                    // The input ends inside a token.
                    TErrorCase{"<", Unfinished, 1}, TErrorCase{"<settings>\r\n<a", Unfinished, 2},
                    TErrorCase{"<a b='1>", Unfinished, 1}, TErrorCase{"<a b='1'", Unfinished, 1},
                    TErrorCase{"<!-- open\r\n", Unfinished, 2}, TErrorCase{"<!--->", Unfinished, 1},
                    TErrorCase{"<?xml", Unfinished, 1}, TErrorCase{"a\r\nb\r\n", Unfinished, 3}));

TEST(XmlTokenizerErrorsAfterTokens, TokensBeforeTheErrorAreDelivered) {
  TQorvelMemoryStream stream("<a>x</a><b c>");
  TQorvelXmlReader reader(stream);
  std::unique_ptr<TQorvelXmlElement> element;
  ASSERT_TRUE(reader.ReadElement(element));
  ASSERT_TRUE(reader.ReadElement(element));
  ASSERT_TRUE(reader.ReadElement(element));
  EXPECT_THROW(reader.ReadElement(element), EQorvelXmlError);
  EXPECT_EQ(element, nullptr);
}

// ---- Text and references ----------------------------------------------------------------

std::u16string TextOf(const std::string& content) {
  const TXmlTokens tokens = ReadTokens("<t>" + content + "</t>");
  if (tokens.size() != 3) throw std::logic_error("expected start tag, text, end tag");
  return TokenAs<TQorvelXmlContent>(tokens, 1).Text();
}

TEST(XmlTokenizerText, DecodesNumericReferencesOnly) {
  EXPECT_EQ(TextOf("x &#x41;&#66; &amp; y"), u"x AB &amp; y");
  EXPECT_EQ(TextOf("&#x20AC;&#x20ac;&#8364;"), u"\u20AC\u20AC\u20AC");
  EXPECT_EQ(TextOf("&lt;&gt;&quot;&apos;"), u"&lt;&gt;&quot;&apos;");
}

TEST(XmlTokenizerText, KeepsWhatIsNoNumericReference) {
  EXPECT_EQ(TextOf("50%"), u"50%");
  EXPECT_EQ(TextOf("&#;"), u"&#;");
  EXPECT_EQ(TextOf("&#x;"), u"&#x;");
  EXPECT_EQ(TextOf("&#X41;"), u"&#X41;");
  EXPECT_EQ(TextOf("&#x4G;"), u"&#x4G;");
  EXPECT_EQ(TextOf("&#4a;"), u"&#4a;");
  EXPECT_EQ(TextOf("%#65;"), u"%#65;");
  EXPECT_EQ(TextOf("a &#x41"), u"a &#x41");
  EXPECT_EQ(TextOf("a; b"), u"a; b");
}

TEST(XmlTokenizerText, StrayReferenceOpenersDoNotSwallowTheReferenceAfterThem) {
  EXPECT_EQ(TextOf("R&D &#x26; more"), u"R&D & more");
  EXPECT_EQ(TextOf("50% &#x41;"), u"50% A");
  EXPECT_EQ(TextOf("&&#66;"), u"&B");
}

TEST(XmlTokenizerText, ReferenceCodesAreReducedTo16Bits) {
  EXPECT_EQ(TextOf("&#65601;"), u"A");  // 0x10041
  EXPECT_EQ(TextOf("&#x1F600;"), u"\uF600");
  EXPECT_EQ(TextOf("&#x00000000000000000041;"), u"A");
  EXPECT_EQ(TextOf("&#12345678901234567890123;"), u"\u44CB");
  EXPECT_EQ(TextOf("&#0;"), std::u16string(1, u'\0'));
}

TEST(XmlTokenizerText, BytesAreLatin1Characters) { EXPECT_EQ(TextOf("caf\xE9 \x80\xFF"), u"caf\u00E9 \u0080\u00FF"); }

TEST(XmlTokenizerText, KeepsLeadingAndTrailingWhiteSpace) { EXPECT_EQ(TextOf("\r\n\t  x y \t"), u"\r\n\t  x y \t"); }

TEST(XmlTokenizerText, WhiteSpaceAloneIsNoToken) {
  const TXmlTokens tokens = ReadTokens(" \r\n\t<a> \t\r\n </a>\r\n");
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(TokenAs<TQorvelXmlStartTag>(tokens, 0).Name(), u"a");
  EXPECT_EQ(TokenAs<TQorvelXmlEndTag>(tokens, 1).Name(), u"a");
}

TEST(XmlTokenizerText, AttributeValuesAreDecodedLikeText) {
  const TXmlTokens tokens = ReadTokens("<a v='&#x41;&lt;%&#x20AC;' w=\"&#34;\">");
  const auto& attributes = TokenAs<TQorvelXmlStartTag>(tokens, 0).Attributes();
  EXPECT_EQ(attributes.Value(u"v"), u"A&lt;%\u20AC");
  EXPECT_EQ(attributes.Value(u"w"), u"\"");
}

// ---- Comments, declarations, instructions ------------------------------------------------

TEST(XmlTokenizerSpecial, CommentsEndAtTheFirstDoubleDashBeforeAGreaterThan) {
  const TXmlTokens tokens = ReadTokens("<!-- a -- b --><!-- a--b > c --><!---->");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(TokenAs<TQorvelXmlComment>(tokens, 0).Text(), u" a -- b ");
  EXPECT_EQ(TokenAs<TQorvelXmlComment>(tokens, 1).Text(), u" a--b > c ");
  EXPECT_EQ(TokenAs<TQorvelXmlComment>(tokens, 2).Text(), u"");
}

TEST(XmlTokenizerSpecial, CommentTextIsRawAndCountsAsContent) {
  const TXmlTokens tokens = ReadTokens("<!--&#x41;-->");
  const auto& content = TokenAs<TQorvelXmlContent>(tokens, 0);
  EXPECT_EQ(content.Text(), u"&#x41;");
}

TEST(XmlTokenizerSpecial, InstructionsAndDeclarationsKeepTheirRawText) {
  const TXmlTokens tokens = ReadTokens("<?xml version='1.0'?><!DOCTYPE settings>");
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(TokenAs<TQorvelXmlProcessingInstruction>(tokens, 0).Text(), u"xml version='1.0'?");
  EXPECT_EQ(TokenAs<TQorvelXmlTypeDeclaration>(tokens, 1).Text(), u"DOCTYPE settings");
}

TEST(XmlTokenizerSpecial, ADeclarationEndsAtItsFirstGreaterThan) {
  const TXmlTokens tokens = ReadTokens("<!DOCTYPE s [<!ENTITY e 'v'>]><s/>");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(TokenAs<TQorvelXmlTypeDeclaration>(tokens, 0).Text(), u"DOCTYPE s [<!ENTITY e 'v'");
  EXPECT_EQ(TokenAs<TQorvelXmlContent>(tokens, 1).Text(), u"]>");
  EXPECT_EQ(TokenAs<TQorvelXmlStartTag>(tokens, 2).Name(), u"s");
}

TEST(XmlTokenizerSpecial, NextPassesOverInstructionsAndDeclarationsButNotComments) {
  TQorvelMemoryStream stream("<?xml version='1.0'?>\r\n<!DOCTYPE settings>\r\n<!--c--><settings/>\r\n<?pi?>");
  TQorvelXmlReader reader(stream);
  std::unique_ptr<TQorvelXmlElement> element;
  ASSERT_TRUE(reader.Next(element));
  EXPECT_EQ(dynamic_cast<TQorvelXmlComment&>(*element).Text(), u"c");
  ASSERT_TRUE(reader.Next(element));
  EXPECT_EQ(dynamic_cast<TQorvelXmlStartTag&>(*element).Name(), u"settings");
  EXPECT_FALSE(reader.Next(element));
  EXPECT_EQ(element, nullptr);
}

// ---- End of input and line numbers -------------------------------------------------------

TEST(XmlTokenizerInput, EndsQuietlyAfterTrailingWhiteSpaceAndStaysEnded) {
  TQorvelMemoryStream stream("<a></a> \r\n\t \r\n");
  TQorvelXmlReader reader(stream);
  std::unique_ptr<TQorvelXmlElement> element;
  ASSERT_TRUE(reader.ReadElement(element));
  ASSERT_TRUE(reader.ReadElement(element));
  EXPECT_FALSE(reader.ReadElement(element));
  EXPECT_EQ(element, nullptr);
  EXPECT_FALSE(reader.ReadElement(element));
  EXPECT_EQ(reader.LineNumber(), 3);
}

TEST(XmlTokenizerInput, EmptyInputHasNoTokens) { EXPECT_TRUE(ReadTokens("").empty()); }

TEST(XmlTokenizerInput, LineNumberCountsCarriageReturnsTakenSoFar) {
  TQorvelMemoryStream stream("<a>\r\n<b>\n<c>\r\r<d>");
  TQorvelXmlReader reader(stream);
  std::unique_ptr<TQorvelXmlElement> element;
  EXPECT_EQ(reader.LineNumber(), 1);
  std::vector<int> lines;
  while (reader.ReadElement(element)) lines.push_back(reader.LineNumber());
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 2, 4}));
}

TEST(XmlTokenizerInput, TheGreaterThanAfterTextIsReadOnlyOnce) {
  // The "<" that ends a text token starts the next one; nothing is lost or doubled, even
  // when it is the first byte of a new block.
  const std::string document = "<a>" + std::string(TQorvelXmlReader::BufferSize - 3, 'x') + "</a>";
  const TXmlTokens tokens = ReadTokens(document);
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(TokenAs<TQorvelXmlContent>(tokens, 1).Text().size(), TQorvelXmlReader::BufferSize - 3);
  EXPECT_EQ(TokenAs<TQorvelXmlEndTag>(tokens, 2).Name(), u"a");
}

TEST(XmlTokenizerInput, ShortReadsGiveTheSameTokensAsWholeBlocks) {
  std::string document = "<?xml?>\r\n<settings>\r\n";
  for (int i = 0; i < 5000; ++i) {
    document += "\t<item n='" + std::to_string(i) + "'>v&#x41;" + std::to_string(i) + "</item>\r\n";
  }
  document += "<!-- end --></settings>\r\n";
  ASSERT_GT(document.size(), 2 * TQorvelXmlReader::BufferSize);

  const TXmlTokens whole = ReadTokens(document);
  ASSERT_EQ(whole.size(), 2 + 3 * 5000 + 2u);
  EXPECT_EQ(TokenAs<TQorvelXmlStartTag>(whole, 2 + 3 * 4999).Attributes().Value(u"n"), u"4999");
  EXPECT_EQ(TokenAs<TQorvelXmlContent>(whole, 3 + 3 * 4999).Text(), u"vA4999");
  for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{65535}}) {
    TPiecewiseStream stream(document, piece);
    EXPECT_TRUE(DescribeTokens(ReadTokens(stream)) == DescribeTokens(whole)) << "piece " << piece;
  }
}

TEST(XmlTokenizerInput, TokensHandedBackAreReusedEmptiedAndForeignOnesAreLeftAlone) {
  TQorvelMemoryStream stream(std::string("<a x='1' y='2'/><a>text<!--note--></a><b>more</b>"));
  TQorvelXmlReader reader(stream);
  std::unique_ptr<TQorvelXmlElement> element;
  ASSERT_TRUE(reader.ReadElement(element));
  const auto* first = dynamic_cast<const TQorvelXmlStartTag*>(element.get());
  ASSERT_TRUE(first != nullptr);
  EXPECT_EQ(first->Attributes().Count(), 2u);
  EXPECT_TRUE(first->EmptyElement());

  // The second start tag reuses nothing of the first: no attributes, not empty.
  ASSERT_TRUE(reader.ReadElement(element));
  const auto* second = dynamic_cast<const TQorvelXmlStartTag*>(element.get());
  ASSERT_TRUE(second != nullptr);
  EXPECT_EQ(second->Name(), u"a");
  EXPECT_EQ(second->Attributes().Count(), 0u);
  EXPECT_FALSE(second->EmptyElement());

  // A token the reader did not make, or a copy of one it did, is simply dropped.
  element = std::make_unique<TQorvelXmlEndTag>();
  ASSERT_TRUE(reader.ReadElement(element));
  ASSERT_TRUE(dynamic_cast<const TQorvelXmlContent*>(element.get()) != nullptr);
  EXPECT_EQ(dynamic_cast<const TQorvelXmlContent&>(*element).Text(), u"text");
  element = std::make_unique<TQorvelXmlContent>(dynamic_cast<const TQorvelXmlContent&>(*element));
  ASSERT_TRUE(reader.ReadElement(element));
  ASSERT_TRUE(dynamic_cast<const TQorvelXmlComment*>(element.get()) != nullptr);
  EXPECT_EQ(dynamic_cast<const TQorvelXmlComment&>(*element).Text(), u"note");

  // Text after a comment: the kept comment is not taken for plain content.
  ASSERT_TRUE(reader.ReadElement(element));  // </a>
  ASSERT_TRUE(reader.ReadElement(element));  // <b>
  ASSERT_TRUE(reader.ReadElement(element));
  EXPECT_TRUE(typeid(*element) == typeid(TQorvelXmlContent));
  EXPECT_EQ(dynamic_cast<const TQorvelXmlContent&>(*element).Text(), u"more");
  ASSERT_TRUE(reader.ReadElement(element));
  EXPECT_FALSE(reader.ReadElement(element));
  EXPECT_EQ(element, nullptr);
}

// ---- Bounds on hostile input -------------------------------------------------------------

TEST(XmlTokenizerBounds, TokensUpToTheLimitAreRead) {
  const std::string text(QorvelXmlMaxTokenSize, 'x');
  const TXmlTokens tokens = ReadTokens("<a>" + text + "</a>");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(TokenAs<TQorvelXmlContent>(tokens, 1).Text().size(), QorvelXmlMaxTokenSize);
}

TEST(XmlTokenizerBounds, LongerTokensStopTheReadWithAClearError) {
  const std::string tooLarge = "XML element is too large.";
  const std::size_t limit = QorvelXmlMaxTokenSize;
  const TXmlFailure longText = ReadFailure("<a>\r\n" + std::string(limit + 1, 'x') + "</a>");
  EXPECT_EQ(longText.Message, tooLarge);
  EXPECT_EQ(longText.LineNumber, 2);
  EXPECT_EQ(ReadFailure("<a v='" + std::string(limit, 'x') + "'>").Message, tooLarge);
  EXPECT_EQ(ReadFailure("<!--" + std::string(limit, 'x') + "-->").Message, tooLarge);
  EXPECT_EQ(ReadFailure("<!DOCTYPE" + std::string(limit, 'x') + ">").Message, tooLarge);

  // Many small attributes add up to one large tag.
  std::string manyAttributes = "<a";
  while (manyAttributes.size() <= limit) manyAttributes += " b='1'";
  EXPECT_EQ(ReadFailure(manyAttributes + ">").Message, tooLarge);

  // White space before text belongs to the text token.
  EXPECT_EQ(ReadFailure("<a>" + std::string(limit, ' ') + "x</a>").Message, tooLarge);
}

TEST(XmlTokenizerBounds, WhiteSpaceBetweenMarkupIsNotLimited) {
  const std::string padding(QorvelXmlMaxTokenSize + 10, ' ');
  const TXmlTokens tokens = ReadTokens("<a>" + padding + "</a>" + padding);
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(TokenAs<TQorvelXmlEndTag>(tokens, 1).Name(), u"a");
}

}  // namespace
