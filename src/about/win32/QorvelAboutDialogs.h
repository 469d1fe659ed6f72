#pragma once
// The about box: built by code for each run, shown modally, destroyed afterwards.

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "about/AboutContent.h"
#include "gui/Forms.h"
#include "gui/Handles.h"

class TQorvelWebLink;

// Where a form is placed when it is shown.
enum class TFormPosition { poDesigned, poScreenCenter, poMainFormCenter };

class TQorvelAboutDialog : public TQorvelAboutProperties {
 public:
  TQorvelAboutDialog() = default;

  TFormPosition FormPosition = TFormPosition::poMainFormCenter;
  // The program's main window: the box is centred on it (while it is visible) and stays
  // in front of it. May be null.
  HWND MainWindow = nullptr;

  // The picture at the top; an empty logo takes no room. Loading answers whether the
  // resource held a bitmap.
  bool LoadLogo(const wchar_t* resourceName);
  void SetLogo(TBitmapHandle logo) { FLogo = std::move(logo); }
  HBITMAP Logo() const { return FLogo.Get(); }

  // Builds the box, shows it modally and destroys it again.
  void Execute();

 private:
  TBitmapHandle FLogo;
};

// The window of one run of the dialog. Public so that tests can look at it.
class TQorvelAboutForm : public TForm {
 public:
  explicit TQorvelAboutForm(const TQorvelAboutDialog& dialog);
  ~TQorvelAboutForm() override;

  HWND OkButton() const { return FOkButton; }
  HWND UsageLabel() const { return FUsageLabel; }
  HWND LinkWindow() const;
  bool Ticking() const { return FTicking; }
  // Recomputes the usage text; the timer calls it every second while the box is shown.
  void RefreshUsage();

 protected:
  void DoShow() override;
  void DoClose() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static constexpr UINT_PTR UsageTimer = 1;
  int Scaled(int value96) const;
  RECT ScaledRect(const TRect& rect96) const;
  HWND AddStatic(const std::wstring& text, const TRect& rect96, DWORD alignment, HFONT font);
  void Build();
  void Rebuild(UINT dpi);
  void PlaceOnScreen();
  void PaintLogo(HDC dc) const;

  const TQorvelAboutDialog& FDialog;
  TQorvelAboutContent FContent;
  UINT FDpi = 96;
  std::string FTimeSeparator;
  TFontHandle FFont, FBoldFont;
  HBITMAP FLogo = nullptr;  // the dialog's, not owned
  SIZE FLogoSize{};
  RECT FLogoRect{};
  HWND FOkButton = nullptr;
  HWND FUsageLabel = nullptr;
  HWND FFocus = nullptr;
  std::unique_ptr<TQorvelWebLink> FLink;  // declared after the fonts it draws with
  bool FTicking = false;
};

// The user's time separator (":" when the system does not say).
std::string UserTimeSeparator();
// The program's version resource, as the box falls back on it.
TQorvelAboutVersionTexts AppAboutVersionTexts();
