#pragma once
// The "Coordinates" tool window: the cursor's screen position and a swatch of the pixel
// under it, sampled ten times per second whether the window is visible or not.

#include <windows.h>

#include <functional>
#include <string>

#include "gui/Handles.h"
#include "ruler/win32/QorvelFormMagnets.h"

class TApplicationSettings;

// What one tick reads from the screen.
struct TCursorSample {
  POINT Position{};
  COLORREF Color = CLR_INVALID;
  bool PositionKnown = true;  // false when the system refused the cursor position
};

TCursorSample SampleScreenAtCursor();

class TCursorForm : public TQorvelMagnetForm {
 public:
  static constexpr const char* WindowName = "cursorcoordinates";
  static constexpr int ClientWidth = 88;
  static constexpr int ClientHeight = 24;
  static constexpr RECT XLabelRect{0, 5, 33, 18};
  static constexpr RECT YLabelRect{32, 5, 65, 18};
  static constexpr RECT ColorPaintBoxRect{72, 6, 84, 18};  // layout in 96-dpi pixels
  static constexpr UINT SampleInterval = 100;

  explicit TCursorForm(TApplicationSettings& settings);
  ~TCursorForm() override;

  // The screen reader, replaceable so that tests can feed known samples.
  void SetSampler(std::function<TCursorSample()> sampler) { FSampler = std::move(sampler); }

  // The timer's step, every 100 ms: samples while the window is visible.
  void TimerTimer();

  const std::wstring& XText() const { return FXText; }
  const std::wstring& YText() const { return FYText; }
  COLORREF LastColor() const { return FLastColor; }

 protected:
  void DoShow() override { FormShow(); }
  void DoClose() override { FormClose(); }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Static text whose value is the position the labels show.
  std::optional<TAccessibleTexts> AccessibleTexts() const override;

 private:
  void FormShow();
  void FormClose();
  void Sample();
  void Paint(HDC dc) const;
  void ColorPaintBoxPaint(HDC dc) const;
  void SetLabel(std::wstring& label, const RECT& area, int value);
  // Lays the window out for `dpi` with its top-left at `left`, `top`.
  void ApplyDpi(UINT dpi, int left, int top);
  RECT Scaled(const RECT& r96) const;

  TApplicationSettings& FSettings;
  std::function<TCursorSample()> FSampler = &SampleScreenAtCursor;
  UINT FDpi = 96;
  TFontHandle FFont;
  std::wstring FXText, FYText;
  COLORREF FLastColor = 0;  // black until the first sample
  POINT FLastPosition{};
  // Without a stored placement the first show goes to the default corner; later shows keep
  // wherever the user left the window.
  bool FPlaced = false;
};
