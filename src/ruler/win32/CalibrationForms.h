#pragma once
// The calibration window: the ruler is set to a known object's length at the resolution
// used now, the user holds the object against the screen and drags the ruler's end until
// the two match, and OK keeps the resolution that makes it so for the monitor the ruler lies
// on. The window stays beside the ruler without blocking it, so the ruler can be dragged.

#include <windows.h>

#include <memory>
#include <string>

#include "gui/Forms.h"

class TApplicationSettings;
class TMainForm;
class TQorvelComboBox;
class TQorvelIntEdit;

class TCalibrationForm : public TForm {
 public:
  TCalibrationForm(TMainForm& ruler, TApplicationSettings& settings);
  ~TCalibrationForm() override;

  // Sets the ruler to the first object's length and shows the window.
  void Start();
  void SelectObject(int index);  // an index of CalibrationObjects
  // OK: keeps the calibration and measures each monitor from now on. Cancel: the ruler gets
  // its length back. Reset: the monitor is measured from its size again.
  void Accept();
  void Cancel();
  void Reset();

  // For tests: the controls and the line that tells the resolution the ruler's length gives.
  TQorvelComboBox& ObjectBox() const { return *FObject; }
  TQorvelIntEdit& TypedLength() const { return *FTyped; }
  std::wstring StatusText() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  double ChosenMillimetres() const;
  double CalibratedPixelsPerInch() const;
  void ShowStatus();
  void Finish();

  TMainForm& FRuler;
  TApplicationSettings& FSettings;
  UINT FDpi = 96;
  std::unique_ptr<TQorvelComboBox> FObject;
  std::unique_ptr<TQorvelIntEdit> FTyped;
  HWND FStatus = nullptr;
  HWND FOkButton = nullptr;
  HWND FCancelButton = nullptr;
  HWND FResetButton = nullptr;
  HWND FFocus = nullptr;  // the control that has the keys while the window is active
  int FLengthAtStart = 0;
  std::string FMonitor;  // the identity the calibration is kept under, taken at the start
};
