#pragma once
// Texts a window paints itself, each with its font and the box it is drawn in (client
// coordinates). The system sees no caption inside such a painting, so the window says what
// it draws, and a layout check can measure every text against its box.

#include <windows.h>

#include <string>
#include <vector>

struct TDrawnText {
  std::wstring Text;
  HFONT Font = nullptr;
  RECT Box{};
  UINT Alignment = DT_LEFT;  // DT_LEFT, DT_CENTER or DT_RIGHT in the box
};

class TDrawsTexts {
 public:
  virtual std::vector<TDrawnText> DrawnTexts() const = 0;

 protected:
  ~TDrawsTexts() = default;
};
