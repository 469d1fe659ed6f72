// What the about box says and where its lines go, without a window.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "about/AboutContent.h"

namespace {

using K = TQorvelAboutLineKind;

std::vector<K> Kinds(const TQorvelAboutContent& content) {
  std::vector<K> kinds;
  for (const auto& line : content.Lines) kinds.push_back(line.Kind);
  return kinds;
}

const TQorvelAboutLine* Find(const TQorvelAboutContent& content, K kind) {
  for (const auto& line : content.Lines)
    if (line.Kind == kind) return &line;
  return nullptr;
}

TQorvelAboutVersionTexts ProgramVersion() {
  return {true, "Vindle", "1.0.0.0", "Copyright (c) 2026 Qorvel", "1.0.0.7"};
}

class AboutStatistics : public ::testing::Test {
 protected:
  void SetUp() override {
    Execution->SetClock([this] { return Now; });
  }
  TDateTime Now = 46000.5;
  std::unique_ptr<TQorvelExecutionSettings> Execution = TQorvelSettings::Create<TQorvelExecutionSettings>();
};

}  // namespace

TEST(AboutUsageText, DaysAndTimeOfDay) {
  EXPECT_EQ(AboutUsageText(0.5, ":"), "12:00:00 used");
  EXPECT_EQ(AboutUsageText(1.25, ":"), "one day and 06:00:00 used");
  EXPECT_EQ(AboutUsageText(2.0, ":"), "2 days and 00:00:00 used");
  EXPECT_EQ(AboutUsageText(3 + (4 * 3600 + 5 * 60 + 6) * OneSecond, ":"), "3 days and 04:05:06 used");
  EXPECT_EQ(AboutUsageText(0, ":"), "00:00:00 used");
  EXPECT_EQ(AboutUsageText(12345.0, ":"), "12345 days and 00:00:00 used");
  EXPECT_EQ(AboutUsageText(0.5, "."), "12.00.00 used") << "the user's time separator";
}

TEST(AboutUsageText, SecondsAreCutNotRoundedButDaysAgreeWithTheTime) {
  EXPECT_EQ(AboutUsageText(59.6 * OneSecond, ":"), "00:00:59 used");
  EXPECT_EQ(AboutUsageText(1 - 0.4 * OneSecond, ":"), "23:59:59 used");
  // Less than a millisecond short of two days: never "one day and 00:00:00".
  EXPECT_EQ(AboutUsageText(2 - 1e-10, ":"), "2 days and 00:00:00 used");
  EXPECT_EQ(AboutUsageText(1 - 1e-10, ":"), "one day and 00:00:00 used");
}

TEST(AboutUsageText, ImpossibleDurationsShowNoUsage) {
  EXPECT_EQ(AboutUsageText(-0.25, ":"), "00:00:00 used");
  EXPECT_EQ(AboutUsageText(std::numeric_limits<double>::quiet_NaN(), ":"), "00:00:00 used");
  EXPECT_EQ(AboutUsageText(-std::numeric_limits<double>::infinity(), ":"), "00:00:00 used");
  const std::string huge = AboutUsageText(1e300, ":");
  EXPECT_EQ(huge, "1000000000 days and 00:00:00 used") << "capped instead of overflowing";
}

TEST_F(AboutStatistics, StartCountShowsThisRunOnlyOnceAFileWasLoaded) {
  EXPECT_EQ(AboutStartCountText(Execution->Count()), "") << "first start: no settings file, no line";
  Execution->SetCount(0);  // the file written at the end of the first run
  EXPECT_EQ(AboutStartCountText(Execution->Count()), "2 times started");

  auto third = TQorvelSettings::Create<TQorvelExecutionSettings>();
  third->SetCount(1);
  EXPECT_EQ(AboutStartCountText(third->Count()), "3 times started");

  EXPECT_EQ(AboutStartCountText(-5), "") << "a damaged count shows nothing";
  EXPECT_EQ(AboutStartCountText(INT32_MAX), "2147483648 times started") << "no overflow";
}

TEST_F(AboutStatistics, UsageLineTicksWithTheClock) {
  Execution->SetOverallTime(0.5);
  TQorvelAboutProperties properties;
  properties.Execution = Execution.get();
  auto content = BuildAboutContent(properties, ProgramVersion(), ":");
  EXPECT_TRUE(content.Ticking);
  ASSERT_NE(Find(content, K::Usage), nullptr);
  EXPECT_EQ(Find(content, K::Usage)->Text, "12:00:00 used");
  EXPECT_EQ(Find(content, K::StartCount), nullptr) << "count 0: no start line, but the usage line";

  Now += 65 * OneSecond;
  EXPECT_EQ(AboutUsageText(Execution->OverallTime(), ":"), "12:01:05 used");
}

TEST(AboutContent, TheProgramsBoxTopToBottom) {
  auto execution = TQorvelSettings::Create<TQorvelExecutionSettings>();
  execution->SetCount(1);
  TQorvelAboutProperties properties;
  properties.Options = {paoFileVersion};
  properties.LinkText = properties.LinkURL = "https://qorvel.example/vindle";
  properties.InfoText = "A ruler for the desktop.";
  properties.Execution = execution.get();
  const auto content = BuildAboutContent(properties, ProgramVersion(), ":");

  EXPECT_EQ(content.Caption, "About Vindle");
  EXPECT_EQ(Kinds(content), (std::vector<K>{K::Logo, K::Title, K::Fixed, K::Fixed, K::Fixed, K::Link, K::Gap, K::Info,
                                            K::Gap, K::StartCount, K::Usage}));
  EXPECT_EQ(content.Lines[1].Text, "Vindle");
  EXPECT_EQ(content.Lines[2].Text, "Version 1.0.0.0");
  EXPECT_EQ(content.Lines[3].Text, "(1.0.0.7)");
  EXPECT_EQ(content.Lines[4].Text, "Copyright (c) 2026 Qorvel");
  EXPECT_EQ(content.Lines[5].Address, "https://qorvel.example/vindle");
  EXPECT_EQ(content.Lines[9].Text, "3 times started");
  EXPECT_FALSE(content.InfoLeftAligned);
}

TEST(AboutContent, PropertiesWinOverTheVersionResource) {
  TQorvelAboutProperties properties;
  properties.Product = "Gauge";
  properties.Version = "2.1";
  properties.Copyright = "(c) Someone";
  properties.Options = {paoLeftAlignedInfo};
  properties.InfoText = "Info";
  const auto content = BuildAboutContent(properties, ProgramVersion(), ":");
  EXPECT_EQ(content.Caption, "About Gauge");
  EXPECT_EQ(content.Lines[1].Text, "Gauge");
  EXPECT_EQ(content.Lines[2].Text, "Version 2.1");
  EXPECT_EQ(content.Lines[3].Text, "(c) Someone") << "no file version line without the option";
  EXPECT_TRUE(content.InfoLeftAligned);
}

TEST(AboutContent, OptionalLinesStayAway) {
  TQorvelAboutProperties properties;
  properties.Options = {paoFileVersion};
  // No version resource: no file version line even with the option, an empty product.
  auto content = BuildAboutContent(properties, {}, ":");
  EXPECT_EQ(content.Caption, "About ");
  EXPECT_EQ(Kinds(content), (std::vector<K>{K::Logo, K::Title, K::Fixed, K::Fixed, K::Gap, K::Gap}));
  EXPECT_FALSE(content.Ticking) << "no statistics, no timer";

  auto version = ProgramVersion();
  version.FileVersion.clear();
  content = BuildAboutContent(properties, version, ":");
  EXPECT_EQ(Find(content, K::Fixed)->Text, "Version 1.0.0.0");
  EXPECT_EQ(content.Lines[3].Text, "Copyright (c) 2026 Qorvel") << "an empty file version adds no line";
}

TEST(AboutContent, LinkTextAndAddressStandInForEachOther) {
  TQorvelAboutProperties properties;
  properties.LinkURL = "https://qorvel.example/";
  auto link = *Find(BuildAboutContent(properties, {}, ":"), K::Link);
  EXPECT_EQ(link.Text, "https://qorvel.example/");
  EXPECT_EQ(link.Address, "https://qorvel.example/");

  properties.LinkURL.clear();
  properties.LinkText = "qorvel.example";
  link = *Find(BuildAboutContent(properties, {}, ":"), K::Link);
  EXPECT_EQ(link.Text, "qorvel.example");
  EXPECT_EQ(link.Address, "qorvel.example");
}

TEST(AboutLayout, RowsGapsAndButton) {
  TQorvelAboutLayout layout;
  EXPECT_EQ(layout.AddLogo(400, 150), (TRect{8, 8, 408, 158}));
  EXPECT_EQ(layout.ClientWidth(), 416) << "a logo as wide as the box gets its margins";
  EXPECT_EQ(layout.AddFixedLabel(), (TRect{8, 166, 408, 182}));
  EXPECT_EQ(layout.AddFixedLabel(), (TRect{8, 182, 408, 198}));
  layout.SetGap(8);
  EXPECT_EQ(layout.AddWrappingLabel(30), (TRect{8, 206, 408, 236}));
  layout.SetGap(8);
  layout.SetGap(8);  // gaps are set, not added up
  EXPECT_EQ(layout.AddButton(), (TRect{170, 252, 245, 277}));
  EXPECT_EQ(layout.ClientHeight(), 285);
}

TEST(AboutLayout, LogoSizeDecidesTheWidthAndTheFirstRow) {
  TQorvelAboutLayout wide;
  EXPECT_EQ(wide.AddLogo(500, 20), (TRect{8, 8, 508, 28}));
  EXPECT_EQ(wide.ClientWidth(), 516);
  EXPECT_EQ(wide.TextWidth(), 500);

  TQorvelAboutLayout small;
  EXPECT_EQ(small.AddLogo(32, 32), (TRect{184, 8, 216, 40}));
  EXPECT_EQ(small.ClientWidth(), 400);

  TQorvelAboutLayout empty;
  empty.AddLogo(0, 0);
  EXPECT_EQ(empty.AddFixedLabel().Top, 16) << "an empty logo takes no room but keeps its gap";
}

TEST(AboutPlacement, CentredOnTheAnchorAndKeptOnTheWorkArea) {
  const TRect work{0, 0, 1024, 738};
  EXPECT_EQ(CenteredWindowOrigin({100, 100, 500, 130}, 200, 100, work), (TPoint{200, 65}));
  EXPECT_EQ(CenteredWindowOrigin({-50, -20, 50, 10}, 200, 100, work), (TPoint{0, 0}));
  EXPECT_EQ(CenteredWindowOrigin({900, 700, 1100, 730}, 200, 100, work), (TPoint{824, 638}));
  EXPECT_EQ(CenteredWindowOrigin(work, 2000, 100, work).X, 0) << "too wide: the left edge stays visible";
}
