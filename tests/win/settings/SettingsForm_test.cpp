// The settings dialog as a window: layout, pages, the rules as the controls show them,
// what OK stores, the autostart entry in the registry, and the generic controls it uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "color/win32/ColorFormatLists.h"
#include "color/win32/QorvelColorControls.h"
#include "controls/win32/QorvelCheckBoxes.h"
#include "controls/win32/QorvelComboBoxes.h"
#include "controls/win32/QorvelImageListBoxes.h"
#include "controls/win32/QorvelNumEdits.h"
#include "controls/win32/QorvelTrackBars.h"
#include "gui/Handles.h"
#include "gui/ImageLists.h"
#include "settings/win32/AutostartEntries.h"
#include "settings/win32/SettingsForms.h"
#include "support/WindowQueries.h"

namespace {

// The window's own visibility, whether or not the form is shown yet.
bool Shown(HWND window) { return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }
bool Enabled(HWND window) { return ::IsWindowEnabled(window) != FALSE; }

// What the control sends its parent when the user picks an item or clicks it.
void UserPicks(TQorvelComboBox& box, int index) {
  ::SendMessageW(box.Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  ::SendMessageW(::GetParent(box.Handle()), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box.Handle()));
}

void UserClicks(TQorvelCheckBox& box) { ::SendMessageW(box.Handle(), BM_CLICK, 0, 0); }

class SettingsForm : public ::testing::Test {
 protected:
  std::unique_ptr<TSettingsForm> Open(bool local = true, bool translucency = true) {
    TSettingsFormEnvironment environment;
    environment.LocalInstallation = local;
    environment.TranslucencySupported = translucency;
    environment.MenuImages = &MenuImages;
    environment.ProgramPath = L"C:\\Tools\\Vindle.exe";
    auto form = std::make_unique<TSettingsForm>(nullptr, *Settings, environment);
    form->LoadFromSettings();
    return form;
  }

  std::unique_ptr<TApplicationSettings> Settings = TQorvelSettings::Create<TApplicationSettings>();
  TImageList MenuImages{L"MENUIMAGES", 16, 16};
};

TEST_F(SettingsForm, LaysOutListPagesAndButtonsInTheClientArea) {
  auto form = Open();
  const HWND window = form->Handle();
  EXPECT_EQ(WindowText(window), L"Settings");
  const RECT client = form->ClientRect();
  EXPECT_EQ(client.right, 409);
  EXPECT_EQ(client.bottom, 297);
  const auto& c = form->Controls();
  EXPECT_EQ(WindowText(c.OkButton), L"OK");
  EXPECT_EQ(WindowText(c.CancelButton), L"Cancel");
  const RECT ok = RectIn(c.OkButton, window), cancel = RectIn(c.CancelButton, window);
  EXPECT_EQ(ok.left, 232);
  EXPECT_EQ(ok.top, 264);
  EXPECT_EQ(ok.right - ok.left, 81);
  EXPECT_EQ(ok.bottom - ok.top, 25);
  EXPECT_EQ(cancel.left, 320);
  EXPECT_TRUE(::GetWindowLongW(c.OkButton, GWL_STYLE) & BS_DEFPUSHBUTTON);
  const RECT list = RectIn(c.Navigation->Handle(), window);
  EXPECT_EQ(list.left, 8);
  EXPECT_EQ(list.right - list.left, 137);
  EXPECT_EQ(list.bottom - list.top, 249);
  EXPECT_EQ(c.Navigation->RowCount(), 9);
  EXPECT_EQ(c.Navigation->RowRect(1).bottom - c.Navigation->RowRect(1).top, 27);  // nine rows fit without scrolling
  const RECT page = RectIn(c.Pages[0]->Handle(), window);
  EXPECT_EQ(page.left, 152);
  EXPECT_EQ(page.top, 8);
  EXPECT_EQ(page.right - page.left, 249);
  const RECT subPage = RectIn(c.SubPages[0]->Handle(), c.Pages[1]->Handle());
  EXPECT_EQ(subPage.top, 28);
  EXPECT_EQ(subPage.bottom - subPage.top, 217);
  EXPECT_EQ(form->Images().Count(), 13);
  EXPECT_EQ(form->Images().Width(), 24);
}

TEST_F(SettingsForm, EachRowShowsItsPageAndSubPage) {
  auto form = Open();
  const auto& c = form->Controls();
  struct Expected {
    int Row, Page, SubPage;
  };
  for (const Expected& e : {Expected{0, 0, -1}, Expected{1, 1, 0}, Expected{2, 1, 1}, Expected{3, 1, 2},
                            Expected{4, 3, -1}, Expected{5, 2, -1}, Expected{6, 4, -1}, Expected{7, 5, -1}}) {
    form->SelectRow(e.Row);
    EXPECT_EQ(c.Navigation->Selected(), e.Row);
    for (int page = 0; page < SettingsPageCount; ++page)
      EXPECT_EQ(Shown(c.Pages[static_cast<std::size_t>(page)]->Handle()), page == e.Page) << "row " << e.Row;
    if (e.SubPage < 0) continue;
    for (int sub = 0; sub < 3; ++sub)
      EXPECT_EQ(Shown(c.SubPages[static_cast<std::size_t>(sub)]->Handle()), sub == e.SubPage) << "row " << e.Row;
  }
  // A user's pick in the list goes the same way.
  ::SendMessageW(c.Navigation->Handle(), LB_SETCURSEL, 4, 0);
  ::SendMessageW(::GetParent(c.Navigation->Handle()), WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(c.Navigation->Handle()));
  EXPECT_EQ(form->ShownPage(), SettingsPageHandling);
}

TEST_F(SettingsForm, ShowsTheSettingsAndTheActiveConfiguration) {
  Settings->General->Configuration = 1;
  Settings->Configurations(1)->Name = "Second";
  Settings->Configurations(1)->Ruler->Width = 44;
  Settings->Configurations(1)->Ruler->Opacity = 35;
  Settings->Configurations(1)->Magnifier->Zoom = 5;
  Settings->Handling->DoubleClickAction = 3;
  Settings->Handling->Buttons = {TMiniButton::mbTurn};
  Settings->Parameters->UserDefiniedDPI = true;
  Settings->Parameters->PixelsPerInch = 120;
  auto form = Open();
  const auto& c = form->Controls();
  EXPECT_EQ(c.Configuration->ItemIndex(), 1);
  EXPECT_EQ(WindowText(c.Name), L"Second");
  EXPECT_EQ(c.Width->Value(), 44);
  EXPECT_EQ(c.Opacity->Position(), 35);
  EXPECT_EQ(c.Opacity->LabelCaption(), L"&Opacity: <pos>%");
  EXPECT_EQ(c.Zoom->Position(), 5);
  EXPECT_EQ(c.Zoom->ValueText(), L"500");
  EXPECT_EQ(c.DoubleClickAction->ItemIndex(), 3);
  for (std::size_t i = 0; i < c.Buttons.size(); ++i)
    EXPECT_EQ(c.Buttons[i]->Checked(), i == static_cast<std::size_t>(TMiniButton::mbTurn));
  EXPECT_TRUE(c.UserDefinedDpi->Checked());
  EXPECT_FALSE(c.SystemDpi->Checked());
  EXPECT_EQ(c.PixelsPerInch->Value(), 120);
  EXPECT_EQ(c.HorizontalPresets[0]->Caption(), L"px");
}

TEST_F(SettingsForm, EnablingRulesFollowTheUsersChoices) {
  auto form = Open();
  const auto& c = form->Controls();
  UserPicks(*c.Unit, 3);  // inch
  UserPicks(*c.Granularity, 2);
  UserPicks(*c.Unit, 1);  // pixel
  EXPECT_TRUE(c.Granularity->Enabled());
  EXPECT_TRUE(c.Digits->Enabled());
  EXPECT_FALSE(c.Antialiasing->Enabled());
  UserPicks(*c.Granularity, 0);
  UserPicks(*c.Unit, 3);
  EXPECT_EQ(c.Granularity->ItemIndex(), 2);
  EXPECT_TRUE(c.Antialiasing->Enabled());
  UserPicks(*c.Unit, 0);
  EXPECT_FALSE(c.Granularity->Enabled());
  EXPECT_FALSE(c.Digits->Enabled());

  c.MagnifierVisible->SetChecked(false);
  UserClicks(*c.MagnifierVisible);
  EXPECT_TRUE(c.Zoom->Enabled());
  EXPECT_TRUE(Enabled(c.CrossHairs->Handle()));
  UserClicks(*c.MagnifierVisible);
  EXPECT_FALSE(c.Zoom->Enabled());
  EXPECT_FALSE(c.CrossHairs->Enabled());
  EXPECT_TRUE(c.HorizontalAlignment->Enabled());

  UserClicks(*c.Transparent);
  EXPECT_EQ(c.Opacity->Enabled(), c.Transparent->Checked());

  // The dpi field takes input only for a value of the user's own.
  EXPECT_TRUE(c.SystemDpi->Checked());
  EXPECT_FALSE(Enabled(c.PixelsPerInch->Handle()));
  UserClicks(*c.UserDefinedDpi);
  EXPECT_FALSE(c.SystemDpi->Checked());
  EXPECT_TRUE(Enabled(c.PixelsPerInch->Handle()));
  UserClicks(*c.MeasuredDpi);
  EXPECT_FALSE(c.UserDefinedDpi->Checked());
  EXPECT_FALSE(Enabled(c.PixelsPerInch->Handle()));
  UserClicks(*c.SystemDpi);
  EXPECT_FALSE(Enabled(c.PixelsPerInch->Handle()));
  // Calibrating ends the dialog as OK does; the ruler's calibration follows.
  ::SendMessageW(c.Calibrate, BM_CLICK, 0, 0);
  EXPECT_TRUE(form->CalibrateRequested());
}

TEST_F(SettingsForm, TabReachesTheSlideBarsAndGoesDownThePresetColumnsAndResetRestoresDefaults) {
  Settings->Configurations(0)->Ruler->Transparent = true;
  Settings->Configurations(0)->Ruler->Opacity = 30;
  Settings->Configurations(0)->Magnifier->Visible = true;
  Settings->Configurations(0)->Magnifier->Zoom = 7;
  auto form = Open();
  const auto& c = form->Controls();
  // Tab steps from the check box above each bar onto the bar, not past it.
  EXPECT_EQ(::GetNextDlgTabItem(form->Handle(), c.Transparent->Handle(), FALSE), c.Opacity->Handle());
  EXPECT_EQ(::GetNextDlgTabItem(form->Handle(), c.MagnifierVisible->Handle(), FALSE), c.Zoom->Handle());
  // The preset lengths: down the horizontal column, then down the vertical one.
  form->SelectRow(5);
  HWND at = c.HorizontalPresets[0]->Handle();
  for (const auto* column : {&c.HorizontalPresets, &c.VerticalPresets})
    for (const TQorvelIntEdit* edit : *column) {
      EXPECT_EQ(at, edit->Handle());
      at = ::GetNextDlgTabItem(form->Handle(), at, FALSE);
    }
  EXPECT_EQ(c.Opacity->Position(), 30);
  c.Opacity->Reset();
  EXPECT_EQ(c.Opacity->Position(), 65);
  c.Zoom->Reset();
  EXPECT_EQ(c.Zoom->Position(), 3);
  EXPECT_TRUE(form->StoreToSettings());
  EXPECT_EQ(Settings->Configurations(0)->Ruler->Opacity, 65);
  EXPECT_EQ(Settings->Configurations(0)->Magnifier->Zoom, 3);
}

TEST_F(SettingsForm, AccessKeysLeadToTheirControlsOnTheShownPage) {
  auto form = Open();
  form->Show();
  form->SelectRow(2);  // Colors
  const auto& c = form->Controls();
  const auto altKey = [&](wchar_t key) {
    MSG message{::GetFocus(), WM_SYSCHAR, key, 0x20000000, 0, {}};
    EXPECT_TRUE(::IsDialogMessageW(form->Handle(), &message)) << static_cast<char>(key);
  };
  ::SetFocus(c.Navigation->Handle());
  altKey(L'b');
  EXPECT_EQ(::GetFocus(), c.Background->Handle());
  altKey(L'c');
  EXPECT_EQ(::GetFocus(), c.CursorLine->Handle());
  const bool transparent = c.Transparent->Checked();
  altKey(L't');
  EXPECT_NE(c.Transparent->Checked(), transparent) << "a check box's key ticks it";
  altKey(L'o');
  EXPECT_EQ(::GetFocus(), c.Opacity->Handle()) << "the slide bar's label holds its key";
  form->SelectRow(1);  // Configuration: a label's key leads to the field after it
  altKey(L'w');
  EXPECT_EQ(::GetFocus(), c.Width->Handle());
  form->Close();
}

TEST_F(SettingsForm, TheShownPagesRowStaysMarkedWhileTheFocusIsInThePage) {
  auto form = Open();
  form->Show();
  const auto& c = form->Controls();
  const HWND list = c.Navigation->Handle();
  const auto rowColour = [&] {
    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    POINT inRow{2, 17};  // in the first row, left of its icon
    ::ClientToScreen(list, &inRow);
    const TWindowDC screen(nullptr);
    return ::GetPixel(screen.Get(), inRow.x, inRow.y);
  };
  ::SetFocus(list);
  EXPECT_EQ(rowColour(), ::GetSysColor(COLOR_HIGHLIGHT));
  ::SetFocus(c.Autostart->Handle());
  EXPECT_EQ(rowColour(), ::GetSysColor(COLOR_INACTIVECAPTION));
  EXPECT_NE(::GetSysColor(COLOR_INACTIVECAPTION), ::GetSysColor(COLOR_WINDOW));
  form->Close();
}

TEST_F(SettingsForm, SwitchingConfigurationsInTheDropDownKeepsTheEditsAndOkStoresThem) {
  auto form = Open();
  const auto& c = form->Controls();
  UserPicks(*c.Configuration, 1);
  ::SetWindowTextW(c.Name, L"Edited");
  c.Width->SetValue(50);
  UserPicks(*c.Configuration, 2);
  EXPECT_NE(WindowText(c.Name), L"Edited");
  UserPicks(*c.Configuration, 1);
  EXPECT_EQ(WindowText(c.Name), L"Edited");
  EXPECT_EQ(c.Width->Value(), 50);
  EXPECT_EQ(Settings->Configurations(1)->Ruler->Width, 30);  // nothing stored yet
  UserPicks(*c.Configuration, 2);
  EXPECT_TRUE(form->StoreToSettings());
  EXPECT_EQ(Settings->General->Configuration, 2);
  EXPECT_EQ(Settings->Configurations(1)->Name, "Edited");
  EXPECT_EQ(Settings->Configurations(1)->Ruler->Width, 50);
}

TEST_F(SettingsForm, ColoursChosenInTheBoxesReachOnlyTheirConfiguration) {
  Settings->Configurations(2)->Ruler->Color->CursorLine = 0x00FF00;
  auto form = Open();
  const auto& c = form->Controls();
  EXPECT_EQ(c.Background->Color(), Settings->Configurations(0)->Ruler->Color->Background);
  c.Background->ChooseColor(0x000000);
  UserPicks(*c.Configuration, 2);
  EXPECT_EQ(c.CursorLine->Color(), 0x00FF00u);
  EXPECT_NE(c.Background->Color(), 0x000000u);
  c.CursorLine->ChooseColor(0x123456);
  EXPECT_TRUE(form->StoreToSettings());
  EXPECT_EQ(Settings->Configurations(0)->Ruler->Color->Background, 0x000000u);
  EXPECT_EQ(Settings->Configurations(2)->Ruler->Color->CursorLine, 0x123456u);
  EXPECT_EQ(Settings->Configurations(1)->Ruler->Color->CursorLine, 0x0000FFu);
}

TEST_F(SettingsForm, TheMeasurePageShowsADamagedFileAsTheToolReadsItAndOkStoresTheChoices) {
  Settings->Measure->Mode = 9;
  Settings->Measure->Tolerance = 4000;
  Settings->Measure->IgnoreNarrow = -3;
  auto form = Open();
  const auto& c = form->Controls();
  EXPECT_EQ(c.MeasureMode->ItemIndex(), 0);  // spacing, as the tool starts
  EXPECT_EQ(c.Tolerance->Value(), 255);
  EXPECT_EQ(c.IgnoreNarrow->Value(), 0);
  UserPicks(*c.MeasureMode, 2);
  c.Tolerance->SetValue(45);
  UserClicks(*c.SnapBounds);
  c.MeasureLine->ChooseColor(0x00FF00);
  EXPECT_TRUE(form->StoreToSettings());
  EXPECT_EQ(Settings->Measure->Mode, 2);
  EXPECT_EQ(Settings->Measure->Tolerance, 45);
  EXPECT_EQ(Settings->Measure->IgnoreNarrow, 0);
  EXPECT_TRUE(Settings->Measure->SnapBounds);
  EXPECT_EQ(Settings->Measure->LineColor, 0x00FF00u);
}

TEST_F(SettingsForm, ThePortableCopyOffersNoAutostartAndAnOpaqueSystemNoTransparency) {
  Settings->Configurations(0)->Ruler->Transparent = true;
  auto form = Open(false, false);
  const auto& c = form->Controls();
  EXPECT_EQ(WindowText(c.Autostart->Handle()), L"&Autostart Vindle (local installation only)");
  EXPECT_FALSE(c.Autostart->Enabled());
  EXPECT_TRUE(c.Transparent->Checked());
  EXPECT_FALSE(c.Transparent->Enabled());
  EXPECT_FALSE(c.Opacity->Enabled());

  auto local = Open(true, true);
  EXPECT_EQ(WindowText(local->Controls().Autostart->Handle()), L"&Autostart Vindle");
  EXPECT_TRUE(local->Controls().Autostart->Enabled());
  EXPECT_TRUE(local->Controls().Opacity->Enabled());
}

// A value left under the Run key would be started by the prefix's next boot.
struct TRunValueRemover {
  std::wstring Name;
  ~TRunValueRemover() { UpdateAutostart(Name, L"", false); }
};

TEST(AutostartEntry, WritesThePathAndRemovesTheValue) {
  const std::wstring name = L"VindleTestEntry";
  const std::wstring path = L"C:\\Program Files\\Qorvel\\Vindle\\Vindle.exe";
  const TRunValueRemover remover{name};
  UpdateAutostart(name, path, false);
  EXPECT_FALSE(QueryAutostart(name));
  ASSERT_TRUE(UpdateAutostart(name, path, true));
  EXPECT_TRUE(QueryAutostart(name));
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_QUERY_VALUE,
                            &key),
            ERROR_SUCCESS);
  TRegistryKey owner(key);
  wchar_t data[MAX_PATH] = {};
  DWORD size = sizeof(data), type = 0;
  ASSERT_EQ(::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::wstring(data), L"\"" + path + L"\"") << "quoted: the path has spaces";
  // An entry an older version wrote unquoted is rewritten quoted.
  ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  RefreshAutostart(name, path);
  size = sizeof(data);
  ::RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  EXPECT_EQ(std::wstring(data), L"\"" + path + L"\"");
  EXPECT_TRUE(UpdateAutostart(name, path, false));
  RefreshAutostart(name, path);
  EXPECT_FALSE(QueryAutostart(name)) << "no entry is made where there was none";
  EXPECT_FALSE(QueryAutostart(name));
  // Already gone is what was asked for.
  EXPECT_TRUE(UpdateAutostart(name, path, false));
}

// ---- the generic controls ----------------------------------------------------------------

class GenericControls : public ::testing::Test {
 protected:
  void SetUp() override {
    Parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { ::DestroyWindow(Parent); }
  HWND Parent = nullptr;
};

TEST_F(GenericControls, ACheckBoxSetByTheProgramRunsNoClick) {
  TQorvelCheckBox box(Parent, L"Visible", 0, 0, 100, 17);
  int clicks = 0;
  box.OnClick = [&](TQorvelCheckBox&) { ++clicks; };
  box.SetChecked(true);
  box.SetChecked(false);
  EXPECT_EQ(clicks, 0);
  // The reflected click of a user runs it.
  ::SendMessageW(box.Handle(), CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(box.Handle()));
  EXPECT_EQ(clicks, 1);
}

TEST_F(GenericControls, AComboBoxDrawsItsImagesAndASeparatorAboveTheMarkedItem) {
  TImageList images(L"MENUIMAGES", 16, 16);
  TQorvelComboBox box(Parent, 0, 0, 140, 21);
  box.SetImages(&images);
  box.AddItem({L"Rotate", 4});
  box.AddItem({L"Hide", 5, true});
  int changes = 0;
  box.OnChange = [&](TQorvelComboBox&) { ++changes; };
  box.SetItemIndex(1);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(box.ItemIndex(), 1);
  box.SetItemIndex(9);
  EXPECT_EQ(box.ItemIndex(), -1);

  const int width = 140, height = static_cast<int>(::SendMessageW(box.Handle(), CB_GETITEMHEIGHT, 0, 0));
  ASSERT_GE(height, 19);
  TWindowDC screen(nullptr);
  TMemoryDC dc(::CreateCompatibleDC(screen.Get()));
  TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
  TSelectScope select(dc.Get(), bitmap.Get());
  const auto draw = [&](UINT index) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.itemID = index;
    item.hwndItem = box.Handle();
    item.hDC = dc.Get();
    item.rcItem = {0, 0, width, height};
    box.DrawItem(item);
  };
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  const auto rowHasInk = [&](int y) {
    for (int x = 2; x < width - 2; ++x)
      if (::GetPixel(dc.Get(), x, y) != window) return true;
    return false;
  };
  draw(0);
  EXPECT_FALSE(rowHasInk(1)) << "no separator above the first item";
  bool imageDrawn = false;
  for (int x = 2; x < 20; ++x)
    for (int y = 3; y < height; ++y) imageDrawn |= ::GetPixel(dc.Get(), x, y) != window;
  EXPECT_TRUE(imageDrawn);
  draw(1);
  EXPECT_TRUE(rowHasInk(1)) << "the separator above \"Hide\"";
}

}  // namespace

TEST_F(SettingsForm, TheColorFormatsPageShowsAndStoresTheColourSettings) {
  TColorSettings& colors = *Settings->Colors;
  colors.DefaultFormat = "bogus";  // a damaged file: HEX is shown and stored
  colors.Formats = {"oklch", "junk", "rgb"};
  colors.SampleSize = 3;
  auto form = Open();
  const auto& c = form->Controls();
  EXPECT_EQ(c.DefaultFormat->ItemIndex(), 0);
  EXPECT_EQ(c.SampleSize->ItemIndex(), 1);
  std::vector<TColorFormatChoice> choices = c.Formats->Choices();
  ASSERT_EQ(choices.size(), 12u);
  EXPECT_EQ(choices[0], (TColorFormatChoice{TColorFormat::Oklch, true}));
  EXPECT_EQ(choices[2], (TColorFormatChoice{TColorFormat::Hex, false}));

  c.Formats->Select(1);  // RGB above OKLCH
  c.Formats->MoveSelected(-1);
  EXPECT_EQ(c.Formats->Selected(), 0);
  c.DefaultFormat->SetItemIndex(static_cast<int>(TColorFormat::Cmyk));
  c.SampleSize->SetItemIndex(2);
  ::SetWindowTextW(c.Template, L"{hex}!");
  EXPECT_TRUE(form->StoreToSettings());
  EXPECT_EQ(colors.DefaultFormat, "cmyk");
  EXPECT_EQ(colors.Formats, (TQorvelStrings{"rgb", "oklch"}));
  EXPECT_EQ(colors.SampleSize, 5);
  EXPECT_EQ(colors.Template, "{hex}!");
}
