// Settings files made to hurt: huge, deeply nested, with NUL bytes or impossible references.
// Loading must end with the settings it could read or a clear error, within memory bounded by
// the largest token and without reading on once the file has proven to be garbage.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "settings/SettingsFileRules.h"
#include "SettingsFileTestSupport.h"

namespace {

using namespace SettingsFileTest;

// A file of `size` bytes that is never held in memory: a head, then a generated body, then a
// tail. Counts what the reader took.
class TGeneratedStream : public TQorvelStream {
 public:
  using TGenerator = std::function<char(std::uint64_t)>;
  TGeneratedStream(std::string head, std::uint64_t bodySize, TGenerator body, std::string tail = {})
      : FHead(std::move(head)), FTail(std::move(tail)), FBodySize(bodySize), FBody(std::move(body)) {}

  std::size_t Read(void* buffer, std::size_t count) override {
    auto* out = static_cast<char*>(buffer);
    std::size_t n = 0;
    for (; n < count; ++n, ++FPosition) {
      if (FPosition < FHead.size()) {
        out[n] = FHead[FPosition];
      } else if (FPosition < FHead.size() + FBodySize) {
        out[n] = FBody(FPosition - FHead.size());
      } else if (FPosition < FHead.size() + FBodySize + FTail.size()) {
        out[n] = FTail[FPosition - FHead.size() - FBodySize];
      } else {
        break;
      }
    }
    return n;
  }
  void Write(const void*, std::size_t) override { ADD_FAILURE() << "written"; }
  std::uint64_t Taken() const { return FPosition; }

 private:
  std::string FHead, FTail;
  std::uint64_t FBodySize;
  TGenerator FBody;
  std::uint64_t FPosition = 0;
};

constexpr std::uint64_t MiB = 1024 * 1024;
// The reader takes the file in blocks of 64 KiB; one block more than the token limit shows
// that it stopped at the limit.
constexpr std::uint64_t ReadBound = QorvelXmlMaxTokenSize + 2 * 65536;

std::string LoadError(TQorvelSettings& settings, TQorvelStream& stream) {
  TQorvelSettingsXmlFileReader reader(stream, "settings");
  try {
    reader.ReadRoot(settings);
  } catch (const EQorvelError& error) {
    return error.what();
  }
  return {};
}

TEST(SettingsHostileFiles, AHugeValueStopsAtTheTokenLimitWithAClearError) {
  auto settings = ProgramSettings();
  TGeneratedStream file(
      "<settings>\r\n\t<general>\r\n\t\t<orientation>", 100 * MiB, [](std::uint64_t) { return '1'; },
      "</orientation>\r\n\t</general>\r\n</settings>\r\n");
  EXPECT_EQ(LoadError(*settings, file), "XML element is too large.");
  EXPECT_LE(file.Taken(), ReadBound);
  EXPECT_EQ(settings->General->Orientation, 0);
}

TEST(SettingsHostileFiles, AGigabyteOfGarbageIsRejectedEarly) {
  // Random bytes: an impossible tag comes within a few bytes.
  {
    auto settings = ProgramSettings();
    std::mt19937 random(7);
    TGeneratedStream file("<settings>\r\n", 1024 * MiB, [&](std::uint64_t) { return static_cast<char>(random()); });
    EXPECT_FALSE(LoadError(*settings, file).empty());
    EXPECT_LE(file.Taken(), ReadBound);
  }
  // Garbage without markup is one text token that outgrows the limit.
  {
    auto settings = ProgramSettings();
    TGeneratedStream file("<settings>\r\n", 1024 * MiB,
                          [](std::uint64_t i) { return static_cast<char>('a' + static_cast<char>(i % 26)); });
    EXPECT_EQ(LoadError(*settings, file), "XML element is too large.");
    EXPECT_LE(file.Taken(), ReadBound);
  }
  // Garbage before the root is not our file.
  {
    auto settings = ProgramSettings();
    TGeneratedStream file("", 1024 * MiB, [](std::uint64_t) { return 'z'; });
    EXPECT_EQ(LoadError(*settings, file), "XML element is too large.");
    EXPECT_LE(file.Taken(), ReadBound);
  }
}

TEST(SettingsHostileFiles, DeepNestingIsSkippedWithoutExhaustingTheStack) {
  constexpr int Depth = 100000;
  std::string deep;
  for (int i = 0; i < Depth; ++i) deep += "<deep>";
  std::string closing;
  for (int i = 0; i < Depth; ++i) closing += "</deep>";

  // Well formed: skipped as an unknown element, the values around it are read.
  auto settings = ProgramSettings();
  EXPECT_EQ(Load(*settings, "<settings><general>" + deep + closing + "<orientation>1</orientation></general>" +
                                "<deep>" + deep + closing +
                                "</deep><parameters><pixelsperinch>120</pixelsperinch>"
                                "</parameters></settings>"),
            "");
  EXPECT_EQ(settings->General->Orientation, 1);
  EXPECT_EQ(settings->Parameters->PixelsPerInch, 120);

  // Never closed: the parse error names the innermost element.
  auto unclosed = ProgramSettings();
  EXPECT_EQ(Load(*unclosed, "<settings><general>" + deep),
            "Error parsing settings file in line 1: </deep> tag expected.");
  // Closed wrongly deep inside.
  EXPECT_EQ(Load(*unclosed, "<settings>" + deep + "</other>"),
            "Error parsing settings file in line 1: </deep> tag expected.");
}

TEST(SettingsHostileFiles, NulBytesAreTextAndSurviveASaveEscaped) {
  auto settings = ProgramSettings();
  using namespace std::string_literals;
  const std::string withNul =
      "<settings>\0\r\n<configuration name=\"1\"><name>a\0b</name></configuration>"
      "<general><orientation>1</orientation></general></settings>"s;
  EXPECT_EQ(Load(*settings, withNul), "");
  EXPECT_EQ(settings->General->Orientation, 1);
  EXPECT_EQ(settings->Configurations(1)->Name, std::string("a\0b", 3));

  // The file written has no raw NUL and reads back the same.
  const std::string written = Document(*settings);
  EXPECT_EQ(written.find('\0'), std::string::npos);
  auto again = ProgramSettings();
  EXPECT_EQ(Load(*again, written), "");
  EXPECT_EQ(again->Configurations(1)->Name, std::string("a\0b", 3));
}

TEST(SettingsHostileFiles, ImpossibleReferencesLoadAsSomethingAndNeverBreakTheFile) {
  auto settings = ProgramSettings();
  EXPECT_EQ(Load(*settings,
                 "<settings><configuration name=\"&#99999999999999999999999999;\">"
                 "<name>&#xFFFFFFFFFFFFFFFFFFFF;&#x110000;&#;&#x;&#-1;&#xD800;&</name></configuration>"
                 "<configuration name=\"2\"><name>&#xD800;&#xDFFF;x&#0;</name></configuration>"
                 "<general><orientation>&#x31;</orientation></general></settings>"),
            "");
  EXPECT_EQ(settings->General->Orientation, 1);
  const std::string written = Document(*settings);
  auto again = ProgramSettings();
  EXPECT_EQ(Load(*again, written), "");
  EXPECT_EQ(WalkWithoutCount(*again), WalkWithoutCount(*settings));
}

}  // namespace
