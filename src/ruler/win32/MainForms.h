#pragma once
// The ruler window: a borderless tool window that floats over the desktop, shows the scale
// and, at one end, the magnifier square. Geometry and painting are the portable ruler core;
// this class turns window messages into calls of it.

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/Menus.h"
#include "gui/Window.h"
#include "base/PixelBuffers.h"
#include "ruler/MonitorDpi.h"
#include "ruler/RulerHandling.h"
#include "ruler/RulerKeyboard.h"
#include "ruler/RulerGeometry.h"
#include "ruler/RulerScale.h"
#include "ruler/win32/QorvelDesktopMagnifiers.h"
#include "ruler/win32/QorvelFormMagnets.h"
#include "settings/ApplicationSettings.h"

class TCalibrationForm;
class TImageList;
class TMainForm;
class TQorvelFormBlending;

// The scale area: paints the ruler's face for the part that is invalid.
class TScaleBox : public TWindow {
 public:
  TScaleBox(TMainForm& owner, HWND parent);
  // Draws these parts at once through the window's DC, when the box is on the screen: the
  // cursor line moves at every tick of a moving mouse, and under Wine a paint message
  // costs several server round trips more.
  void PaintNow(const std::vector<TRect>& parts);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  TMainForm& FOwner;
  TPixelBuffer FBuffer;
  TScaleFace FFace;  // the face the cursor strips are composed from
};

class TMainForm : public TQorvelMagnetForm {
 public:
  explicit TMainForm(TApplicationSettings& settings);
  ~TMainForm() override;

  void StorePlacement();
  void ApplyPlacement();
  void LayoutChildren(int width, int height);
  void ApplyMagnifierSettings();
  void Rotate();
  void Flip();
  void Turn();
  void ToggleStayOnTop();
  void ToggleTransparent();
  void ToggleMagnifier();
  void SelectConfiguration(int index);
  void SampleCursor();
  void RunCommand(TRulerCommand command);
  void SelectScaleUnit(int tag);
  // Pixels counted at 100 % scaling ("px (logical)") or as the device has them.
  void ToggleLogicalPixels();
  void SelectPreset(int tag);
  // The ruler's length in the active unit with its label, as "&Copy length" puts it on the
  // clipboard: "400 px", "4.17 in".
  std::wstring LengthText() const;
  // Puts LengthText on the clipboard; false, with the clipboard left as it was, when
  // another program keeps it busy.
  bool CopyLength();
  // After the settings dialog's OK: placement, snapping, z-order, transparency, magnifier
  // and layout follow the settings again.
  void ApplySettings();
  void ApplyZOrder();

  // Calibration of the physical units: the length the ruler measures in device pixels, set
  // as a preset sets it; the resolution its physical units use now; the name of the monitor
  // it lies on; and the window that calibrates (C&alibrate... in the Unit submenu).
  int MeasuredLength() const { return RulerLength(ScaleInput()); }
  void SetMeasuredLength(int pixels);
  double ScalePixelsPerInch() const { return ScaleInput().PixelsPerInch; }
  std::string MonitorIdentity() const;
  TCalibrationForm& Calibrate();

  // The scale area's mouse, in its own coordinates.
  void ScaleBoxMouseMove(int x, int y);
  void ScaleBoxMouseDown(bool leftButton);
  void ScaleBoxMouseUp(bool leftButton);
  // The scale area lost the mouse capture while a button was held down on it.
  void ScaleBoxCaptureLost();

  // The menu's item images; set before the menu first opens.
  void SetMenuImages(TImageList* images);
  // Opens the settings dialog at a page; the "Settings..." item stays disabled without it.
  std::function<void(int page)> OnShowSettingsDialog;
  // Ends the program (the "Exit" double-click action); nothing happens without it.
  std::function<void()> OnExitRequest;
  // Starts the measure tool; the menu item stays disabled without it.
  std::function<void()> OnMeasureRequest;
  // The menu's update before it opens; public so that tests can read what a user would see.
  void UpdateRulerMenu();
  TPopupMenu& RulerMenu() { return FRulerMenu; }
  TMiniButtonStatus ButtonStatus() const { return {FHotButton, FButtonState}; }

  DWORD DeactivatedAt() const { return FDeactivatedAt; }
  TApplicationSettings& Settings() const { return FSettings; }
  // What the scale area paints right now, for a box of its current size.
  TRulerScaleInput ScaleInput() const;
  const TRulerChildren& Children() const { return FChildren; }
  TPoint CursorScreenPos() const { return FCursorScreenPos; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void DoShow() override;
  void DoClose() override;
  void PositionChanging(WINDOWPOS& position) override;
  // Named for what it is; its value is what it measures and where the cursor is on it.
  std::optional<TAccessibleTexts> AccessibleTexts() const override;

 private:
  void ApplyAlpha(int alpha);
  LRESULT HitTest(POINT screenPoint);
  void CreateRulerMenu();
  void PopupRulerMenu(POINT screenPoint);
  // The menu for the keyboard (Shift+F10, the menu key), beside the ruler's buttons.
  void PopupRulerMenuFromKeyboard();
  bool HandleKeyDown(int virtualKey, int repeatCount);
  void MoveByKey(TPoint offset);
  void StretchByKey(int lengthChange);
  void CopyLengthOrReport();
  void ApplyButtonResponse(const TMiniButtonResponse& response);
  // Takes the mouse's screen position `cursor`; answers the cursor line's strips in the scale
  // box that changed (the old and the new place), none when the mouse is where it was.
  std::vector<TRect> MoveCursorLine(POINT cursor);
  // The magnifier's refresh: the cursor line follows the mouse and is drawn right away.
  void FollowCursor();
  std::optional<TRect> CursorStrip() const;
  // The whole window along the ruler's axis, magnifier included: what presets set.
  int RulerLength(const TRulerScaleInput& input) const;
  // Physical units follow the DPI of the monitor the ruler is on.
  void FollowMonitorDpi();
  TDesktopLayout Desktop(std::vector<TRect>& workAreas) const;

  TApplicationSettings& FSettings;
  std::unique_ptr<TScaleBox> FScaleBox;
  std::unique_ptr<TQorvelDesktopMagnifier> FMagnifier;
  std::unique_ptr<TQorvelFormBlending> FBlending;
  TRulerChildren FChildren;
  TResolution FPixelsPerInch;  // the screen's: measured, calibrated or logical
  int FLogicalPixelsPerInch = 96;  // the monitor's scale, which logical pixels count with
  TPoint FCursorScreenPos{-1, -1};
  TPoint FCursorBoxPos{-1, -1};
  TPoint FMoveStart;
  bool FInMoveSizeLoop = false;                // between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE
  std::optional<TKeyboardDrag> FKeyboardDrag;  // the run of arrow-key moves going on
  DWORD FDeactivatedAt = 0;
  TMiniButton FHotButton = TMiniButton::mbClose;
  TMiniButtonState FButtonState = TMiniButtonState::mbsNone;

  TPopupMenu FRulerMenu;
  TMenuItem* FRotateItem = nullptr;
  TMenuItem* FFlipItem = nullptr;
  TMenuItem* FTurnItem = nullptr;
  TMenuItem* FRulerSettingsItem = nullptr;
  std::array<TMenuItem*, TApplicationSettings::ConfigurationCount> FRulerConfigItems{};
  TMenuItem* FStayOnTopItem = nullptr;
  TMenuItem* FTransparentItem = nullptr;
  TMenuItem* FMagnifierItem = nullptr;
  TMenuItem* FUnitItem = nullptr;
  std::array<TMenuItem*, 5> FUnitItems{};
  TMenuItem* FPresetsItem = nullptr;
  std::array<TMenuItem*, kRulerPresetCount> FPresetItems{};
  TMenuItem* FMeasureItem = nullptr;
  TMenuItem* FCopyLengthItem = nullptr;
  TMenuItem* FCalibrateItem = nullptr;
  TMenuItem* FLogicalPixelsItem = nullptr;
  TMenuItem* FHideItem = nullptr;
  std::unique_ptr<TCalibrationForm> FCalibration;
  TResolutionBasis FResolutionBasis = TResolutionBasis::System;
};

// A colour as the screen shows it: system colours looked up.
TColor ResolveSystemColor(TColor color);
