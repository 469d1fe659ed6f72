#include "support/PlacedWindow.h"

void TPlacedWindow::CreateAt(const wchar_t* className, const RECT& bounds, DWORD style, DWORD exStyle,
                             const std::wstring& caption) {
  TCreateParams params;
  params.ClassName = className;
  params.Style = style;
  params.ExStyle = exStyle;
  params.Caption = caption;
  params.Left = bounds.left;
  params.Top = bounds.top;
  params.Width = bounds.right - bounds.left;
  params.Height = bounds.bottom - bounds.top;
  CreateHandle(params);
}
