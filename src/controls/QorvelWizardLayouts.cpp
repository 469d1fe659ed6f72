#include "controls/QorvelWizardLayouts.h"

#include <algorithm>

std::array<TRect, 3> WizardButtonRects(int width, int height, int buttonWidth) {
  const int top = height - WizardButtonPanelHeight + WizardButtonTop;
  const auto button = [&](int left) { return TRect{left, top, left + buttonWidth, top + WizardButtonHeight}; };
  return {button(width - 3 * buttonWidth - 15), button(width - 2 * buttonWidth - 10), button(width - buttonWidth - 5)};
}

TRect WizardPageRect(int width, int height) { return {0, 0, width, std::max(0, height - WizardButtonPanelHeight)}; }

namespace {
int Channel(TColor color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }
}  // namespace

std::vector<THeaderColumn> HeaderGradient(int width, TColor left, TColor right, int bitsPerPixel) {
  std::vector<THeaderColumn> columns;
  if (width <= 0) return columns;
  if (bitsPerPixel <= 14) {
    columns.push_back({0, width, right});
    return columns;
  }
  const int count = (width + HeaderGradientColumn - 1) / HeaderGradientColumn;
  for (int i = 0; i < count; ++i) {
    // The first column has the left colour, the last one the right colour.
    const int step = count > 1 ? i * 256 / (count - 1) : 256;
    TColor color = 0;
    for (int shift : {0, 8, 16}) {
      const int value = Channel(left, shift) + (Channel(right, shift) - Channel(left, shift)) * step / 256;
      color |= static_cast<TColor>(value) << shift;
    }
    columns.push_back({i * HeaderGradientColumn, std::min(width, (i + 1) * HeaderGradientColumn), color});
  }
  return columns;
}

std::wstring ShortenPath(const std::wstring& path, const std::function<bool(const std::wstring&)>& fits) {
  if (fits(path)) return path;
  // Split into the head ("C:" or "\\server\share") and the names below it.
  std::size_t headEnd = 0;
  if (path.rfind(L"\\\\", 0) == 0) {
    const std::size_t server = path.find(L'\\', 2);
    headEnd = server == std::wstring::npos ? path.size() : path.find(L'\\', server + 1);
    if (headEnd == std::wstring::npos) headEnd = path.size();
  } else {
    headEnd = path.find(L'\\');
    if (headEnd == std::wstring::npos) headEnd = 0;
  }
  const std::wstring head = path.substr(0, headEnd);
  std::vector<std::wstring> names;
  for (std::size_t start = headEnd; start < path.size();) {
    if (path[start] == L'\\') {
      ++start;
      continue;
    }
    const std::size_t end = std::min(path.find(L'\\', start), path.size());
    names.push_back(path.substr(start, end - start));
    start = end;
  }
  if (names.empty()) return path;
  // Drop names after the head one by one until the rest fits.
  for (std::size_t dropped = 1; dropped < names.size(); ++dropped) {
    std::wstring candidate = head + L"\\...";
    for (std::size_t i = dropped; i < names.size(); ++i) candidate += L"\\" + names[i];
    if (fits(candidate)) return candidate;
  }
  std::wstring last = L"...\\" + names.back();
  if (fits(last)) return last;
  // Even the last name is too long: keep as much of its end as fits.
  std::wstring name = names.back();
  while (name.size() > 1 && !fits(L"..." + name)) name.erase(0, 1);
  return L"..." + name;
}
