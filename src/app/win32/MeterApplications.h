#pragma once
// Vindle's application object: the ruler as main form, the tray menu, the two tool windows.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/QorvelTrayApplications.h"
#include "color/win32/ColorForms.h"
#include "color/win32/CursorForms.h"
#include "gui/HotkeyRegistrations.h"
#include "gui/ImageLists.h"
#include "measure/win32/MeasureTools.h"
#include "ruler/win32/MainForms.h"
#include "settings/ApplicationSettings.h"

// What the application needs from the program around it.
struct TMeterEnvironment {
  TApplicationSettings* Settings = nullptr;
  TImageList* MenuImages = nullptr;
  std::function<void()> SaveSettings;  // writes the settings file at exit
};

class TMeterApplication : public TQorvelFormTrayApplication {
 public:
  TMeterApplication(std::wstring title, TMeterEnvironment environment);
  ~TMeterApplication() override;

  TMainForm* Ruler() const { return static_cast<TMainForm*>(MainForm()); }
  TColorForm* ColorForm() const { return FColorForm.get(); }
  TCursorForm* CursorForm() const { return FCursorForm.get(); }
  TMeasureTool& MeasureTool() { return FMeasureTool; }

  // The tray menu's update, run before it opens; public so that tests can check captions.
  void UpdateTrayMenu();

  // Registers every action's chord on the hidden window, releasing the ones before; answers
  // the actions whose chord the system refused (another program holds it).
  std::vector<THotkeyAction> RegisterHotkeys();
  // What a hotkey starts, also for tests.
  void HotkeyPressed(THotkeyAction action);

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Initialize() override;
  void Started() override;
  void Terminating() override;
  bool CanTerminate() override { return true; }
  void IconClick() override;
  void IconDoubleClick() override { IconClick(); }
  std::unique_ptr<TPopupMenu> CreateTrayMenu() override;
  std::unique_ptr<TForm> CreateMainForm() override;

 private:
  void FillTrayMenu();
  void ToggleRuler();
  void ToggleColorForm();
  void ToggleCursorForm();
  // `delay`: milliseconds for a menu that just closed to leave the screen.
  void ToggleMeasureTool(UINT delay);
  void ShowOrHideRulerFromKeyboard();
  void PickColorUnderPointer();
  void FillRecentColorsMenu();
  void NotifyAtStart(const std::vector<THotkeyAction>& refusedHotkeys);
  void ShowAbout();
  // Row 0 opens on "General" (the tray menu), row 1 on "Configuration" (the ruler's menu).
  void ShowSettingsDialog(int row);

  TMeterEnvironment FEnvironment;
  std::unique_ptr<TColorForm> FColorForm;
  std::unique_ptr<TCursorForm> FCursorForm;
  std::unique_ptr<THotkeyRegistrations> FHotkeys;
  TMeasureTool FMeasureTool;
  TMenuItem* FRulerItem = nullptr;
  TMenuItem* FMeasureItem = nullptr;
  TMenuItem* FColorPickerItem = nullptr;
  TMenuItem* FCursorItem = nullptr;
  TMenuItem* FRecentColorsItem = nullptr;
  TMenuItem* FAboutItem = nullptr;
  TMenuItem* FSettingsItem = nullptr;
  std::array<TMenuItem*, 3> FConfigItems{};
};
