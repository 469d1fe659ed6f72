#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "XmlTestSupport.h"

namespace fs = std::filesystem;

namespace {

TEST(XmlStreams, WriteLineEndsEveryLineWithCrLf) {
  TQorvelMemoryStream stream;
  stream.WriteLine("<settings>");
  stream.WriteLine("");
  stream.WriteLine("\t<a>x</a>");
  EXPECT_EQ(stream.Data(), "<settings>\r\n\r\n\t<a>x</a>\r\n");
}

TEST(XmlStreams, MemoryStreamReadsInPiecesAndOverwritesAtItsPosition) {
  TQorvelMemoryStream stream("abcdef");
  char buffer[4] = {};
  EXPECT_EQ(stream.Read(buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 4), "abcd");
  stream.Write("XYZ");
  EXPECT_EQ(stream.Data(), "abcdXYZ");
  EXPECT_EQ(stream.Read(buffer, 4), 0u);
  stream.Rewind();
  EXPECT_EQ(stream.Read(buffer, 2), 2u);
  EXPECT_EQ(std::string(buffer, 2), "ab");
}

class XmlFileStream : public testing::Test {
 protected:
  void SetUp() override {
    FFolder = fs::temp_directory_path() /
              ("vindle-xml-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(FFolder);
    fs::create_directories(FFolder);
  }
  void TearDown() override { fs::remove_all(FFolder); }

  static std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void Put(const fs::path& file, const std::string& contents) {
    std::ofstream(file, std::ios::binary) << contents;
  }

  fs::path FFolder;
};

TEST_F(XmlFileStream, CreateMakesAMissingFile) {
  const fs::path file = FFolder / "Settings.xml";
  {
    TQorvelFileStream stream(file, TQorvelFileMode::Create);
    stream.WriteLine("<settings>");
  }
  EXPECT_EQ(Contents(file), "<settings>\r\n");
}

TEST_F(XmlFileStream, CreateTruncatesAnExistingFileInPlace) {
  const fs::path file = FFolder / "Settings.xml";
  Put(file, std::string(1000, 'o'));
  // Permissions the program would never choose itself show that the file was kept, not
  // replaced by a new one.
  const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_write;
  fs::permissions(file, perms);
  {
    TQorvelFileStream stream(file, TQorvelFileMode::Create);
    stream.WriteLine("<a/>");
  }
  EXPECT_EQ(Contents(file), "<a/>\r\n");
  EXPECT_EQ(fs::file_size(file), 6u);
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::mask, perms);
}

TEST_F(XmlFileStream, OpenReadFeedsTheTokenizer) {
  const fs::path file = FFolder / "Installation.xml";
  Put(file, "<files>\r\n\t<file>a&#x20AC;</file>\r\n</files>\r\n");
  TQorvelFileStream stream(file, TQorvelFileMode::OpenRead);
  const TXmlTokens tokens = ReadTokens(stream);
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(TokenAs<TQorvelXmlContent>(tokens, 2).Text(), u"a\u20AC");
}

TEST_F(XmlFileStream, FailuresNameTheFile) {
  const fs::path missing = FFolder / "missing.xml";
  try {
    TQorvelFileStream stream(missing, TQorvelFileMode::OpenRead);
    FAIL() << "opened a missing file";
  } catch (const EQorvelFileError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Cannot open file " + QuotedFileName(missing) + ". ", 0), 0u)
        << error.what();
  }

  const fs::path inMissingFolder = FFolder / "no" / "such" / "Settings.xml";
  try {
    TQorvelFileStream stream(inMissingFolder, TQorvelFileMode::Create);
    FAIL() << "created a file in a missing folder";
  } catch (const EQorvelFileError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Cannot create file " + QuotedFileName(inMissingFolder), 0), 0u)
        << error.what();
  }
}

TEST_F(XmlFileStream, AStreamOpenedForReadingRefusesToWrite) {
  const fs::path file = FFolder / "Settings.xml";
  Put(file, "<settings/>");
  TQorvelFileStream stream(file, TQorvelFileMode::OpenRead);
  EXPECT_THROW(stream.WriteLine("x"), EQorvelFileError);
  EXPECT_EQ(Contents(file), "<settings/>");
}

}  // namespace
