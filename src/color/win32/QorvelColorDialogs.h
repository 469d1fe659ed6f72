#pragma once
// The colour selection dialog on the screen: a modal form built in code around the
// portable form model. Chart, bar, preview and the user-defined colour slots are
// windowless boxes painted by the form; the numeric fields, the opacity track bar and the
// buttons are ordinary controls.

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "color/ColorDialogBoxes.h"
#include "color/ColorDialogModel.h"
#include "color/win32/QorvelBoxControls.h"
#include "color/win32/QorvelColorServices.h"
#include "controls/win32/QorvelNumEdits.h"
#include "controls/win32/QorvelTrackBars.h"
#include "gui/Dpi.h"
#include "gui/Forms.h"
#include "gui/PartButtons.h"

class TQorvelColorBox;

// Chart and bar: they show the form model's controls and feed the mouse to them.
class TQorvelColorsControl : public TQorvelCustomBoxControl {
 public:
  TQorvelColorsControl(HWND parent, const RECT& bounds, TColorsControlModel& model);

  // Points in box coordinates.
  void MouseDown(POINT point);
  void MouseMove(POINT point);
  void MouseUp();
  bool Dragging() const { return FModel.Dragging(); }
  void SetDeviceFilter(const TQorvelColorFilter* filter) { FDeviceFilter = filter; }
  // Places the box with a content side of `side` pixels, its marker grown to match.
  void Place(POINT topLeft, int width, int side);

 protected:
  void PaintClip(TBoxSurface& surface) override;
  virtual void PaintModel(const TBoxCanvas& canvas, const TColorsPaintStyle& style) const = 0;
  void DoMouseLeave() override;

 private:
  void RepaintMarker(const TMarkerMove& move);
  void UpdateCursor(POINT point);

  TColorsControlModel& FModel;
  const TQorvelColorFilter* FDeviceFilter = nullptr;
  TMarkerImage FMarker = CircleMarker();
};

class TQorvelColorChart final : public TQorvelColorsControl {
 public:
  TQorvelColorChart(HWND parent, const RECT& bounds, TColorChartModel& model)
      : TQorvelColorsControl(parent, bounds, model), FChart(model) {}

 protected:
  void PaintModel(const TBoxCanvas& canvas, const TColorsPaintStyle& style) const override {
    FChart.Paint(canvas, style);
  }

 private:
  const TColorChartModel& FChart;
};

class TQorvelColorBar final : public TQorvelColorsControl {
 public:
  TQorvelColorBar(HWND parent, const RECT& bounds, TColorBarModel& model)
      : TQorvelColorsControl(parent, bounds, model), FBar(model) {}

 protected:
  void PaintModel(const TBoxCanvas& canvas, const TColorsPaintStyle& style) const override {
    FBar.Paint(canvas, style);
  }

 private:
  const TColorBarModel& FBar;
};

// The new colour below the initial one; its upper quarter reverts, by the mouse or as a
// button of the dialog's keyboard.
class TQorvelColorPreview final : public TQorvelCustomBoxControl {
 public:
  TQorvelColorPreview(HWND parent, const RECT& bounds);

  TColorPreviewModel& Model() { return FModel; }
  TPartButton& RevertButton() { return FRevertButton; }
  // The initial colour and the part buttons follow the box's bounds.
  void SetInitialColor(TColor color);
  void Place(const RECT& bounds);
  void SetDeviceFilter(const TQorvelColorFilter* filter) { FDeviceFilter = filter; }
  void MouseDown(bool leftButton) { FModel.MouseDown(leftButton); }
  void MouseMove(POINT point);
  void MouseUp(bool leftButton);

  std::function<void()> OnRevert;

 protected:
  void PaintClip(TBoxSurface& surface) override;
  void DoMouseLeave() override;

 private:
  TColorPreviewModel FModel;
  const TQorvelColorFilter* FDeviceFilter = nullptr;
  TPartButton FRevertButton;
};

// One user-defined colour slot: the left half stores the dialog's colour ("set"), the
// right half selects the slot's colour. Each half is a button of the dialog's keyboard
// too. Tag is its index.
class TQorvelColorContainer final : public TQorvelCustomBoxControl {
 public:
  TQorvelColorContainer(HWND parent, const RECT& bounds, int tag);
  TPartButton& SetButton() { return FSetButton; }
  TPartButton& SelectButton() { return FSelectButton; }
  void Place(const RECT& bounds);

  const int Tag;
  TColor Color() const { return FModel.Color(); }
  void SetColor(TColor color);
  int HotHalf() const { return FModel.HotHalf(); }
  void SetDeviceFilter(const TQorvelColorFilter* filter) { FDeviceFilter = filter; }
  void MouseDown(POINT point, bool leftButton);
  void MouseMove(POINT point);
  void MouseUp(bool leftButton);

  std::function<void(TQorvelColorContainer&)> OnSet;
  std::function<void(TQorvelColorContainer&)> OnSelect;
  std::function<TColor()> OnGetColor;

 protected:
  void PaintClip(TBoxSurface& surface) override;
  void DoMouseLeave() override;

 private:
  void FocusChanged();

  TColorSlotModel FModel;
  const TQorvelColorFilter* FDeviceFilter = nullptr;
  TPartButton FSetButton;
  TPartButton FSelectButton;
};

class TQorvelColorDialog;

// The modal window of one run of the dialog. Public so that tests can drive it.
class TQorvelColorForm final : public TForm {
 public:
  explicit TQorvelColorForm(TQorvelColorDialog& dialog);
  ~TQorvelColorForm() override;

  TColorFormModel& Model() { return FModel; }
  // Fills the controls and fires the first preview; registers with the colour service.
  void Prepare();

  TQorvelColorChart& Chart() { return *FChart; }
  TQorvelColorBar& Bar() { return *FBar; }
  TQorvelColorPreview& Preview() { return *FPreview; }
  TQorvelIntEdit& Field(int index) { return *FFields.at(static_cast<std::size_t>(index)); }
  TQorvelIntEdit& HexField() { return *FHexField; }
  TQorvelTrackBar& OpacityBar() { return *FOpacityBar; }
  HWND RadioButton(int index) const { return FRadios.at(static_cast<std::size_t>(index)); }
  HWND WebSafeCheckBox() const { return FWebSafe; }
  HWND ValuesGroup() const { return FValuesGroup; }
  // The colour in the default format, under the hex field.
  HWND FormatText() const { return FFormatText; }
  // The contrast check: the colour the dialog's colour is read against, the ratio, the
  // verdicts and the button that exchanges the two colours.
  TQorvelColorBox& AgainstBox() { return *FAgainst; }
  HWND ContrastRatio() const { return FContrastRatio; }
  HWND ContrastVerdict() const { return FContrastVerdict; }
  HWND SwapButton() const { return FSwap; }
  void SwapColors();
  int SlotCount() const;
  TQorvelColorContainer& Slot(int index) { return *FSlots.at(static_cast<std::size_t>(index)); }

  // The colour service told about a user-defined colour.
  void UserColorChanged(TQorvelColorDefinitionService& service, int index, TColor color);

 protected:
  void DoShow() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  int Scaled(int value96) const;
  RECT ScaledRect(int left, int top, int width, int height) const;
  void Build();
  HWND AddButton(const wchar_t* caption, DWORD style, int id, const RECT& bounds);
  void Invalidated(TColorFormPart part);
  void ShowFields();
  void ShowPreview();
  void ShowSlots();
  void ShowColorTexts();
  void DrawOpacityTrack(HDC canvas, const RECT& bounds, POINT centre) const;
  void PlaceOnScreen();
  // The windowless boxes at the current DPI.
  void PlaceBoxes();

  // Mouse routing to the windowless boxes.
  // The chart, the bar, the preview and the slots, in painting order.
  std::vector<TQorvelCustomBoxControl*> Boxes() const;
  TQorvelCustomBoxControl* BoxAt(POINT point) const;
  TQorvelColorContainer* SlotOf(const TQorvelCustomBoxControl* box) const;
  void UpdateMouseInBoxes(const POINT* point) const;
  void MouseMessage(UINT message, POINT point);
  void MouseMove(POINT point);
  void MouseDown(POINT point, bool left);
  void MouseUp(POINT point, bool left);
  void EraseBackground(HDC dc) const;
  bool Command(WPARAM wParam);
  bool SetBoxCursor();

  TQorvelColorDialog& FDialog;
  TColorFormModel FModel;
  UINT FDpi = 96;
  std::unique_ptr<TDpiRelayout> FDpiRelayout;  // declared before the controls: its fonts outlive them
  std::unique_ptr<TQorvelColorChart> FChart;
  std::unique_ptr<TQorvelColorBar> FBar;
  std::unique_ptr<TQorvelColorPreview> FPreview;
  std::unique_ptr<TQorvelTrackBar> FOpacityBar;
  HWND FValuesGroup = nullptr;
  HWND FHexGroup = nullptr;
  std::array<HWND, ColorFieldCount> FRadios{};
  std::array<std::unique_ptr<TQorvelIntEdit>, ColorFieldCount> FFields;
  HWND FWebSafe = nullptr;
  std::unique_ptr<TQorvelIntEdit> FHexField;
  HWND FFormatText = nullptr;
  std::unique_ptr<TQorvelColorBox> FAgainst;
  HWND FContrastRatio = nullptr;
  HWND FContrastVerdict = nullptr;
  HWND FSwap = nullptr;
  std::array<std::unique_ptr<TQorvelColorContainer>, UserColorSlotCount> FSlots;
  TQorvelColorDefinitionService* FService = nullptr;  // while registered as a listener
  TQorvelCustomBoxControl* FCaptured = nullptr;       // the box a button press went to
  bool FTrackingLeave = false;
};

// The dialog component: owners set the published properties, Execute runs the window.
class TQorvelColorDialog : public TQorvelColorDialogProperties {
 public:
  // Runs the modal window; true when the user pressed OK.
  bool Execute();

  // Called with the form once it is built and prepared, before it is shown (tests drive
  // the form through it).
  std::function<void(TQorvelColorForm&)> OnShow;
};

// Runs the dialog for a colour box: the box's colour, look and component go in, previews
// show live in the box, OK applies and fires its OnChange, Cancel restores the box's colour
// exactly (a system colour stays one). `adjust` may change the dialog before it runs.
bool ExecuteColorDialogFor(TQorvelColorBox& box, const std::function<void(TQorvelColorDialog&)>& adjust = {});
