#include "about/AboutContent.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const std::string& FirstNonEmpty(const std::string& first, const std::string& second) {
  return first.empty() ? second : first;
}

std::string TwoDigits(std::int64_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", static_cast<int>(value));
  return text;
}

}  // namespace

std::string AboutUsageText(TDateTime overallTime, const std::string& timeSeparator) {
  // Far beyond any real usage, but small enough that milliseconds fit in 64 bits.
  constexpr double MaxDays = 1e9;
  constexpr std::int64_t MsPerDay = 86'400'000;
  double days = overallTime;
  if (!std::isfinite(days) || days < 0) days = 0;
  days = std::min(days, MaxDays);
  const std::int64_t total = std::llround(days * static_cast<double>(MsPerDay));
  const std::int64_t wholeDays = total / MsPerDay;
  const std::int64_t seconds = (total % MsPerDay) / 1000;
  const std::string time = TwoDigits(seconds / 3600) + timeSeparator + TwoDigits(seconds / 60 % 60) + timeSeparator +
                           TwoDigits(seconds % 60);
  if (wholeDays >= 2) return std::to_string(wholeDays) + " days and " + time + " used";
  if (wholeDays == 1) return "one day and " + time + " used";
  return time + " used";
}

std::string AboutStartCountText(std::int32_t count) {
  if (count <= 0) return {};
  return std::to_string(static_cast<std::int64_t>(count) + 1) + " times started";
}

TQorvelAboutContent BuildAboutContent(const TQorvelAboutProperties& properties, const TQorvelAboutVersionTexts& version,
                                      const std::string& timeSeparator) {
  using K = TQorvelAboutLineKind;
  const std::string& product = FirstNonEmpty(properties.Product, version.ProductName);
  const std::string& linkText = FirstNonEmpty(properties.LinkText, properties.LinkURL);
  const std::string& linkURL = FirstNonEmpty(properties.LinkURL, properties.LinkText);

  TQorvelAboutContent content;
  content.Caption = "About " + product;
  content.InfoLeftAligned = properties.Options.Contains(paoLeftAlignedInfo);
  auto& lines = content.Lines;
  lines.push_back({K::Logo, {}, {}, 0});
  lines.push_back({K::Title, product, {}, 0});
  lines.push_back({K::Fixed, "Version " + FirstNonEmpty(properties.Version, version.ProductVersion), {}, 0});
  if (properties.Options.Contains(paoFileVersion) && version.Available && !version.FileVersion.empty())
    lines.push_back({K::Fixed, "(" + version.FileVersion + ")", {}, 0});
  lines.push_back({K::Fixed, FirstNonEmpty(properties.Copyright, version.LegalCopyright), {}, 0});
  if (!linkText.empty()) lines.push_back({K::Link, linkText, linkURL, 0});
  lines.push_back({K::Gap, {}, {}, 8});
  if (!properties.InfoText.empty()) lines.push_back({K::Info, properties.InfoText, {}, 0});
  lines.push_back({K::Gap, {}, {}, 8});
  if (const TQorvelExecutionSettings* execution = properties.Execution) {
    if (std::string started = AboutStartCountText(execution->Count()); !started.empty())
      lines.push_back({K::StartCount, std::move(started), {}, 0});
    lines.push_back({K::Usage, AboutUsageText(execution->OverallTime(), timeSeparator), {}, 0});
    content.Ticking = true;
  }
  return content;
}

void TQorvelAboutLayout::ApplyGap() {
  FY += FGap;
  FGap = 0;
}

TRect TQorvelAboutLayout::AddRow(int height) {
  ApplyGap();
  const TRect row{Margin, FY, FClientWidth - Margin, FY + height};
  FY += height;
  return row;
}

TRect TQorvelAboutLayout::AddLogo(int width, int height) {
  ApplyGap();
  width = std::max(width, 0);
  height = std::max(height, 0);
  FClientWidth = std::max(FClientWidth, width + 2 * Margin);
  const int left = (FClientWidth - width) / 2;
  const TRect logo{left, FY, left + width, FY + height};
  FY += height + Margin;
  return logo;
}

TRect TQorvelAboutLayout::AddFixedLabel() { return AddRow(LineHeight); }

TRect TQorvelAboutLayout::AddWrappingLabel(int height) { return AddRow(std::max(height, 0)); }

TRect TQorvelAboutLayout::AddButton(int width, int height) {
  ApplyGap();
  FY += Margin;
  const int left = (FClientWidth - width) / 2;
  const TRect button{left, FY, left + width, FY + height};
  FClientHeight = FY + height + Margin;
  return button;
}

TPoint CenteredWindowOrigin(const TRect& anchor, int width, int height, const TRect& workArea) {
  auto place = [](int anchorStart, int anchorSize, int size, int areaStart, int areaEnd) {
    int start = anchorStart + (anchorSize - size) / 2;
    start = std::min(start, areaEnd - size);
    return std::max(start, areaStart);
  };
  return {place(anchor.Left, anchor.Width(), width, workArea.Left, workArea.Right),
          place(anchor.Top, anchor.Height(), height, workArea.Top, workArea.Bottom)};
}
