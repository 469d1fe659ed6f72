#include "controls/win32/QorvelFileLabels.h"

#include <shellapi.h>

#include "controls/QorvelWizardLayouts.h"

namespace {
constexpr int IconSize = 16;
constexpr int Margin = 4;
}  // namespace

TQorvelFileLabel::TQorvelFileLabel(HWND parent, const RECT& bounds, HFONT font) : FFont(font) {
  TCreateParams params = TCreateParams::Child(parent, L"TQorvelFileLabel", WS_CHILD | WS_VISIBLE, bounds);
  params.ExStyle = WS_EX_CLIENTEDGE;
  CreateHandle(params);
  LoadIcon();
}

TQorvelFileLabel::~TQorvelFileLabel() = default;

void TQorvelFileLabel::SetFileName(const std::wstring& fileName) {
  if (fileName == FFileName) return;
  FFileName = fileName;
  ::SetWindowTextW(Handle(), fileName.c_str());
  LoadIcon();
  Invalidate();
}

void TQorvelFileLabel::LoadIcon() {
  SHFILEINFOW info{};
  const DWORD attributes = FFileName.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(FFileName.c_str());
  UINT flags = SHGFI_ICON | SHGFI_SMALLICON;
  DWORD_PTR found = 0;
  if (attributes != INVALID_FILE_ATTRIBUTES) found = ::SHGetFileInfoW(FFileName.c_str(), 0, &info, sizeof(info), flags);
  // A folder still to be created shows as a plain folder.
  if (!found || !info.hIcon)
    found = ::SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info), flags | SHGFI_USEFILEATTRIBUTES);
  FIcon.Reset(found ? info.hIcon : nullptr);
}

RECT TQorvelFileLabel::TextRect() const {
  RECT client = ClientRect();
  client.left += Margin + IconSize + Margin;
  client.right -= Margin;
  return client;
}

std::wstring TQorvelFileLabel::ShownText() const {
  const RECT room = TextRect();
  TWindowDC dc(Handle());
  TSelectScope font(dc.Get(), FFont);
  return ShortenPath(FFileName, [&](const std::wstring& text) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx <= room.right - room.left;
  });
}

LRESULT TQorvelFileLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      TBufferedPaintScope paint(Handle());
      const RECT& client = paint.Client();
      const HDC dc = paint.DC();
      ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
      if (FIcon)
        ::DrawIconEx(dc, Margin, (client.bottom - IconSize) / 2, FIcon.Get(), IconSize, IconSize, 0, nullptr,
                     DI_NORMAL);
      RECT text = TextRect();
      const std::wstring shown = ShownText();
      TSelectScope font(dc, FFont);
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, ::GetSysColor(IsWindowEnabled(Handle()) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
      ::DrawTextW(dc, shown.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      return 0;
    }
    case WM_SIZE: Invalidate(); return 0;
    default: return TWindow::HandleMessage(message, wParam, lParam);
  }
}
