// The Win32 file stream: attributes surviving a rewrite, sharing, and refusal to touch a
// read-only file.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "settings/ByteStreams.h"
#include "settings/QorvelXml.h"

namespace fs = std::filesystem;

namespace {

class XmlWinFileStream : public testing::Test {
 protected:
  void SetUp() override {
    FFolder = fs::temp_directory_path() / L"vindle-xml-win";
    fs::create_directories(FFolder);
    FFile = FFolder / L"Einstellungen \u20AC.xml";
    SetFileAttributesW(FFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove(FFile);
  }
  void TearDown() override {
    SetFileAttributesW(FFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(FFolder);
  }

  void Put(const std::string& contents) const { std::ofstream(FFile, std::ios::binary) << contents; }
  std::string Contents() const {
    std::ifstream in(FFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // Whether another opener with this access and sharing gets the file right now.
  bool CanOpen(DWORD access, DWORD share) const {
    const HANDLE handle = CreateFileW(FFile.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
  }

  fs::path FFolder;
  fs::path FFile;
};

TEST_F(XmlWinFileStream, CreateKeepsAHiddenFileHiddenAndCutsItToWhatWasWritten) {
  Put(std::string(500, 'o'));
  ASSERT_TRUE(SetFileAttributesW(FFile.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  if (!(GetFileAttributesW(FFile.c_str()) & FILE_ATTRIBUTE_HIDDEN)) {
    GTEST_SKIP() << "this file system keeps no hidden attribute";
  }
  {
    TQorvelFileStream stream(FFile, TQorvelFileMode::Create);
    stream.WriteLine("<settings>");
    stream.WriteLine("</settings>");
  }
  EXPECT_TRUE(GetFileAttributesW(FFile.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Contents(), "<settings>\r\n</settings>\r\n");
  EXPECT_EQ(fs::file_size(FFile), 25u);
}

TEST_F(XmlWinFileStream, CreateMakesAMissingFileAndHoldsItExclusively) {
  TQorvelFileStream stream(FFile, TQorvelFileMode::Create);
  stream.Write("x");
  EXPECT_FALSE(CanOpen(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
}

TEST_F(XmlWinFileStream, OpenReadLetsOthersReadButNotWrite) {
  Put("<settings/>");
  TQorvelFileStream stream(FFile, TQorvelFileMode::OpenRead);
  EXPECT_TRUE(CanOpen(GENERIC_READ, FILE_SHARE_READ));
  EXPECT_FALSE(CanOpen(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE));

  TQorvelXmlReader reader(stream);
  std::unique_ptr<TQorvelXmlElement> element;
  ASSERT_TRUE(reader.ReadElement(element));
  EXPECT_EQ(dynamic_cast<TQorvelXmlStartTag&>(*element).Name(), u"settings");
  EXPECT_FALSE(reader.ReadElement(element));
}

TEST_F(XmlWinFileStream, CreateRefusesAReadOnlyFileAndLeavesItAlone) {
  Put("keep me");
  ASSERT_TRUE(SetFileAttributesW(FFile.c_str(), FILE_ATTRIBUTE_READONLY));
  if (CanOpen(GENERIC_WRITE, 0)) GTEST_SKIP() << "read-only files are writable here (Wine as root)";
  try {
    TQorvelFileStream stream(FFile, TQorvelFileMode::Create);
    FAIL() << "a read-only file was opened for writing";
  } catch (const EQorvelFileError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Cannot create file " + QuotedFileName(FFile) + ". ", 0), 0u)
        << error.what();
  }
  EXPECT_EQ(Contents(), "keep me");
}

TEST_F(XmlWinFileStream, OpeningAMissingFileNamesItAndTheReason) {
  try {
    TQorvelFileStream stream(FFile, TQorvelFileMode::OpenRead);
    FAIL() << "a missing file was opened";
  } catch (const EQorvelFileError& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.rfind("Cannot open file " + QuotedFileName(FFile) + ". ", 0), 0u) << message;
    EXPECT_GT(message.size(), ("Cannot open file " + QuotedFileName(FFile) + ". ").size());
  }
}

}  // namespace
