#pragma once
// A folder shown with the shell's small icon of that folder (the generic folder icon while
// it does not exist yet) and its path shortened to fit, in a sunken field.

#include <windows.h>

#include <string>

#include "gui/Handles.h"
#include "gui/Window.h"

class TQorvelFileLabel : public TWindow {
 public:
  TQorvelFileLabel(HWND parent, const RECT& bounds, HFONT font);
  ~TQorvelFileLabel() override;

  const std::wstring& FileName() const { return FFileName; }
  void SetFileName(const std::wstring& fileName);
  // The path as it is drawn now.
  std::wstring ShownText() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void LoadIcon();
  RECT TextRect() const;

  std::wstring FFileName;
  HFONT FFont;
  TIconHandle FIcon;
};
