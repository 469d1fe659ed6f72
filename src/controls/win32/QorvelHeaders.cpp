#include "controls/win32/QorvelHeaders.h"

#include <algorithm>

#include "controls/QorvelWizardLayouts.h"
#include "controls/win32/QorvelControlsCommon.h"
#include "gui/Dpi.h"

namespace {

TColor ToTColor(COLORREF color) { return static_cast<TColor>(color); }  // both are 0x00BBGGRR

}  // namespace

THeaderTextBoxes LayOutQorvelHeader(HDC dc, const RECT& bounds, const std::wstring& caption,
                                    const std::wstring& comment, HFONT captionFont, HFONT commentFont, int indent) {
  const auto extent = [dc](const std::wstring& text, HFONT font) {
    TSelectScope selected(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
  };
  const SIZE captionSize = extent(caption, captionFont);
  const SIZE commentSize = extent(comment, commentFont);
  const RECT text{bounds.left + indent, bounds.top, bounds.right - indent, bounds.bottom};
  THeaderTextBoxes boxes{text, text, DT_VCENTER};
  if (comment.empty()) return boxes;
  // Side by side when both fit with a gap of one indent, each in the room the other
  // leaves; else the comment goes under the caption instead of printing over it.
  if (captionSize.cx + indent + commentSize.cx <= text.right - text.left) {
    boxes.Caption.right = text.right - commentSize.cx - indent;
    boxes.Comment.left = text.left + captionSize.cx + indent;
    return boxes;
  }
  const int lines = captionSize.cy + commentSize.cy;
  boxes.Caption.top = bounds.top + std::max(0, (static_cast<int>(bounds.bottom - bounds.top) - lines) / 2);
  boxes.Caption.bottom = boxes.Caption.top + captionSize.cy;
  boxes.Comment.top = boxes.Caption.bottom;
  boxes.Comment.bottom = boxes.Comment.top + commentSize.cy;
  boxes.Vertical = DT_TOP;
  return boxes;
}

void PaintQorvelHeader(HDC dc, const RECT& bounds, const std::wstring& caption, const std::wstring& comment,
                       HFONT captionFont, HFONT commentFont, int indent) {
  const int width = bounds.right - bounds.left;
  const int bits = ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES);
  for (const THeaderColumn& column :
       HeaderGradient(width, ToTColor(::GetSysColor(COLOR_WINDOW)), ToTColor(::GetSysColor(COLOR_BTNFACE)), bits)) {
    TBrushHandle brush(::CreateSolidBrush(column.Color));
    RECT r{bounds.left + column.Left, bounds.top, bounds.left + column.Right, bounds.bottom};
    ::FillRect(dc, &r, brush.Get());
  }
  ::SetBkMode(dc, TRANSPARENT);
  THeaderTextBoxes boxes = LayOutQorvelHeader(dc, bounds, caption, comment, captionFont, commentFont, indent);
  {
    TSelectScope font(dc, commentFont);
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    ::DrawTextW(dc, comment.c_str(), -1, &boxes.Comment,
                DT_RIGHT | boxes.Vertical | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  TSelectScope font(dc, captionFont);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  ::DrawTextW(dc, caption.c_str(), -1, &boxes.Caption,
              DT_LEFT | boxes.Vertical | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

TQorvelHeader::TQorvelHeader(HWND parent, std::wstring caption, std::wstring comment, UINT dpi)
    : FCaption(std::move(caption)), FComment(std::move(comment)), FIndent(ScaleForDpi(HeaderIndent, dpi)) {
  LOGFONTW font = SystemFontAt(&NONCLIENTMETRICSW::lfCaptionFont, dpi);
  font.lfWeight = FW_BOLD;
  FCaptionFont.Reset(::CreateFontIndirectW(&font));
  font.lfWeight = FW_NORMAL;
  FCommentFont.Reset(::CreateFontIndirectW(&font));
  RECT client{};
  ::GetClientRect(parent, &client);
  TCreateParams params = TCreateParams::Child(parent, L"TQorvelHeader", WS_CHILD | WS_VISIBLE,
                                             {0, 0, client.right, ScaleForDpi(HeaderHeight, dpi)});
  params.Caption = FCaption;
  CreateHandle(params);
}

std::vector<TDrawnText> TQorvelHeader::DrawnTexts() const {
  TWindowDC dc(Handle());
  const THeaderTextBoxes boxes =
      LayOutQorvelHeader(dc.Get(), ClientRect(), FCaption, FComment, FCaptionFont.Get(), FCommentFont.Get(), FIndent);
  return {{FCaption, FCaptionFont.Get(), boxes.Caption, DT_LEFT}, {FComment, FCommentFont.Get(), boxes.Comment, DT_RIGHT}};
}

void TQorvelHeader::SetCaption(const std::wstring& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  ::SetWindowTextW(Handle(), caption.c_str());
  Invalidate();
}

void TQorvelHeader::SetComment(const std::wstring& comment) {
  if (comment == FComment) return;
  FComment = comment;
  Invalidate();
}

LRESULT TQorvelHeader::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      TBufferedPaintScope paint(Handle());
      PaintQorvelHeader(paint.DC(), paint.Client(), FCaption, FComment, FCaptionFont.Get(), FCommentFont.Get(),
                        FIndent);
      return 0;
    }
    default: return TWindow::HandleMessage(message, wParam, lParam);
  }
}
