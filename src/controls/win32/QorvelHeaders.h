#pragma once
// The bar at the top of a wizard page: a caption in bold on the left and a gray comment on
// the right, over a gradient from the window colour to the button face.

#include <windows.h>

#include <string>

#include "gui/DrawnTexts.h"
#include "gui/Handles.h"
#include "gui/Window.h"

// Where the caption and the comment of a header of `bounds` go: side by side when both fit,
// else the comment under the caption; `Vertical` is how each sits in its box.
struct THeaderTextBoxes {
  RECT Caption{}, Comment{};
  UINT Vertical = DT_VCENTER;
};
THeaderTextBoxes LayOutQorvelHeader(HDC dc, const RECT& bounds, const std::wstring& caption,
                                    const std::wstring& comment, HFONT captionFont, HFONT commentFont, int indent);

// Paints a header of `bounds` into `dc`: gradient (plain on displays of 14 bits per pixel or
// less), caption at the indent, comment right-aligned with the indent to spare.
void PaintQorvelHeader(HDC dc, const RECT& bounds, const std::wstring& caption, const std::wstring& comment,
                       HFONT captionFont, HFONT commentFont, int indent);

class TQorvelHeader : public TWindow, public TDrawsTexts {
 public:
  // 33 units high across the top of `parent`.
  TQorvelHeader(HWND parent, std::wstring caption, std::wstring comment, UINT dpi);

  const std::wstring& Caption() const { return FCaption; }
  const std::wstring& Comment() const { return FComment; }
  void SetCaption(const std::wstring& caption);
  void SetComment(const std::wstring& comment);
  std::vector<TDrawnText> DrawnTexts() const override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::wstring FCaption, FComment;
  TFontHandle FCaptionFont, FCommentFont;
  int FIndent;
};
