#pragma once
// The "Color picker" tool window: one colour box filling the client area. Picking from the
// screen, the clipboard, the menu and the dialog are the box's; the window keeps the box's
// colour and component in the settings and its own place in the window list.

#include <windows.h>

#include <memory>
#include <string>

#include "color/win32/QorvelColorControls.h"
#include "gui/Handles.h"
#include "ruler/win32/QorvelFormMagnets.h"

class TApplicationSettings;

class TColorForm : public TQorvelMagnetForm {
 public:
  static constexpr const char* WindowName = "colorpicker";
  static constexpr int ClientWidth = 88;
  static constexpr int ClientHeight = 24;

  explicit TColorForm(TApplicationSettings& settings);
  ~TColorForm() override;

  TQorvelColorBox& ColorBox() const { return *FColorBox; }

 protected:
  void DoShow() override { FormShow(); }
  void DoClose() override { FormClose(); }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormShow();
  void FormClose();
  void ColorBoxDialog(TQorvelColorBox& box);
  void AddTooltip();

  TApplicationSettings& FSettings;
  TFontHandle FFont;
  std::unique_ptr<TQorvelColorBox> FColorBox;
  // Shows the colour in the default format over the box; its text is asked for each time.
  TWindowHandle FTooltip;
  std::wstring FTooltipText;
  // Without a stored placement the first show goes to the default corner; later shows keep
  // wherever the user left the window.
  bool FPlaced = false;
};
