#pragma once
// The settings dialog: a navigation list on the left, pages on the right, OK and Cancel.
// It edits working copies of the configurations (TSettingsFormModel); only StoreToSettings
// writes into the settings tree.

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/Dpi.h"
#include "gui/Forms.h"
#include "gui/ImageLists.h"
#include "gui/SubclassedControls.h"
#include "settings/ApplicationSettings.h"
#include "settings/SettingsFormModels.h"

class TQorvelCheckBox;
class TQorvelColorBox;
class TQorvelComboBox;
class TQorvelImageListBox;
class TQorvelIntEdit;
class TQorvelTrackBar;
class THotkeyField;
class TColorFormatList;

// One page of the dialog: a plain face-coloured child that holds controls, hands their
// notifications back to them and lets the dialog's keyboard handling step into it.
class TSettingsPage : public TWindow {
 public:
  TSettingsPage(HWND parent, int left, int top, int width, int height);
  void SetShown(bool shown);
  // A click on one of the page's plain push buttons, by its id.
  std::function<void(int id)> OnButtonClick;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// What the dialog needs to know about the program around it.
struct TSettingsFormEnvironment {
  bool LocalInstallation = false;          // only an installed copy may start with Windows
  bool TranslucencySupported = true;       // the system can blend windows
  const TImageList* MenuImages = nullptr;  // the icons of the double-click actions
  std::wstring ProgramPath;                // what the autostart entry starts
};

class TSettingsForm : public TForm {
 public:
  static constexpr int ClientWidth = 409;
  static constexpr int ClientHeight = 297;

  TSettingsForm(HWND owner, TApplicationSettings& settings, TSettingsFormEnvironment environment);
  ~TSettingsForm() override;

  void LoadFromSettings();
  void SelectRow(int row);
  // Answers false when the autostart entry could not be changed (the user was told).
  bool StoreToSettings();
  // The dialog ended with the Parameters page's "Calibrate...": the settings are to be kept
  // as with OK, and the ruler's calibration follows.
  bool CalibrateRequested() const { return FCalibrateRequested; }

  // For tests and the dialog's own wiring: what a user sees and clicks.
  struct TControls {
    HWND OkButton = nullptr;
    HWND CancelButton = nullptr;
    TQorvelImageListBox* Navigation = nullptr;
    std::array<TSettingsPage*, SettingsPageCount> Pages{};
    std::array<TSettingsPage*, 3> SubPages{};
    TQorvelCheckBox *Autostart = nullptr, *ShowRuler = nullptr, *ShowColorPicker = nullptr,
                    *ShowCursorCoordinates = nullptr, *StayOnTop = nullptr, *SnapToDesktop = nullptr;
    TQorvelComboBox* Configuration = nullptr;
    HWND Name = nullptr;
    TQorvelIntEdit* Width = nullptr;
    TQorvelComboBox *Labeling = nullptr, *Unit = nullptr, *Granularity = nullptr;
    TQorvelCheckBox *Digits = nullptr, *Antialiasing = nullptr;
    TQorvelColorBox *Background = nullptr, *CursorLine = nullptr;
    TQorvelCheckBox* Transparent = nullptr;
    TQorvelTrackBar* Opacity = nullptr;
    TQorvelCheckBox* MagnifierVisible = nullptr;
    TQorvelTrackBar* Zoom = nullptr;
    TQorvelComboBox *CrossHairs = nullptr, *HorizontalAlignment = nullptr, *VerticalAlignment = nullptr;
    TQorvelCheckBox *SystemDpi = nullptr, *UserDefinedDpi = nullptr, *MeasuredDpi = nullptr;
    HWND Calibrate = nullptr;
    TQorvelIntEdit* PixelsPerInch = nullptr;
    std::array<TQorvelIntEdit*, TPresetsSettings::PresetCount> HorizontalPresets{};
    std::array<TQorvelIntEdit*, TPresetsSettings::PresetCount> VerticalPresets{};
    TQorvelComboBox *DoubleClickAction = nullptr, *SnapToAxis = nullptr;
    std::array<TQorvelCheckBox*, 7> Buttons{};               // in TMiniButton order
    std::array<THotkeyField*, HotkeyActionCount> Hotkeys{};  // in THotkeyAction order
    std::array<HWND, HotkeyActionCount> HotkeyStatus{};      // "In use by another program" or empty
    TQorvelComboBox* DefaultFormat = nullptr;                // in ColorFormatInfos order
    TColorFormatList* Formats = nullptr;
    HWND Template = nullptr;
    TQorvelComboBox* SampleSize = nullptr;  // 1, 3 or 5 pixels square
    TQorvelComboBox* MeasureMode = nullptr;
    TQorvelIntEdit *Tolerance = nullptr, *IgnoreNarrow = nullptr;
    TQorvelCheckBox *ContinuousEdges = nullptr, *SnapBounds = nullptr;
    TQorvelColorBox *MeasureLine = nullptr, *LabelText = nullptr, *LabelBackground = nullptr;
  };
  const TControls& Controls() const { return FControls; }
  const TSettingsFormModel& Model() const { return FModel; }
  const TImageList& Images() const { return FImages; }
  // The page and sub-page shown now (sub-page -1 outside the configurations page).
  int ShownPage() const { return FShownPage; }
  int ShownSubPage() const { return FShownSubPage; }

 protected:
  void DoShow() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Builders, each in 96-dpi units of its page.
  int Scaled(int value96) const;
  RECT ScaledBounds(int left, int top, int width, int height) const;
  TSettingsPage& AddPage(HWND parent, int left, int top, int width, int height);
  void AddGroup(HWND page, const wchar_t* caption, int left, int top, int width, int height);
  void AddLabel(HWND page, const wchar_t* caption, int left, int top, int width);
  TQorvelCheckBox& AddCheckBox(HWND page, const std::wstring& caption, int left, int top, int width, int lines = 1);
  TQorvelComboBox& AddComboBox(HWND page, int left, int top, int width, std::initializer_list<const wchar_t*> items);
  TQorvelIntEdit& AddIntEdit(HWND page, int left, int top, int width, int min, int max, const wchar_t* caption);
  TQorvelTrackBar& AddTrackBar(HWND page, int left, int top, int width, const wchar_t* label, int min, int max);
  TQorvelColorBox& AddColorBox(HWND page, const wchar_t* caption, int left, int top);
  HWND AddButton(const wchar_t* caption, int id, int left, bool isDefault);

  void BuildGeneralPage(HWND page);
  void BuildConfigurationsPage(HWND page);
  void BuildConfigurationSubPage(HWND page);
  void BuildColorsSubPage(HWND page);
  void BuildMagnifierSubPage(HWND page);
  void BuildMiscPage(HWND page);
  void BuildHandlingPage(HWND page);
  void BuildHotkeysPage(HWND page);
  void BuildColorFormatsPage(HWND page);
  void ShowColorFormats();
  void StoreColorFormats();
  void BuildMeasurePage(HWND page);

  // The model and the controls: read everything the user may have changed, show everything.
  void ReadControls();
  void ShowValues();
  void ShowEnabling();
  // Says under each hotkey field whether its chord can be had.
  void ShowHotkeyStatus();
  bool HotkeyChosenAbove(std::size_t field) const;
  // OK with a chord in two fields: the Hotkeys page shows, the focus goes to the second
  // field and the dialog stays open (answers true).
  bool RefuseRepeatedHotkey();

  TApplicationSettings& FSettings;
  TSettingsFormEnvironment FEnvironment;
  TSettingsFormModel FModel;
  TImageList FImages;
  UINT FDpi = 96;
  std::unique_ptr<TDpiRelayout> FDpiRelayout;  // declared before the controls: its fonts outlive them
  std::vector<std::unique_ptr<TSettingsPage>> FPages;
  std::vector<std::unique_ptr<TSubclassedControl>> FOwnedControls;
  std::vector<std::unique_ptr<TQorvelTrackBar>> FTrackBars;
  std::vector<std::unique_ptr<TQorvelColorBox>> FColorBoxes;
  std::vector<std::unique_ptr<THotkeyField>> FHotkeyFields;
  std::unique_ptr<TColorFormatList> FFormatList;
  TControls FControls;
  HWND FFocus = nullptr;
  int FShownPage = -1;
  int FShownSubPage = -1;
  bool FCalibrateRequested = false;
};
