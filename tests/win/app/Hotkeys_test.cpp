// System-wide hotkeys: registration beside another program that holds a chord, what a hotkey
// does, the release at exit, and the settings page that edits them.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "controls/win32/HotkeyFields.h"
#include "gui/Handles.h"
#include "gui/HotkeyRegistrations.h"
#include "gui/ImageLists.h"
#include "settings/win32/SettingsForms.h"
#include "support/MessagePump.h"
#include "support/ProgramSetup.h"
#include "support/WindowQueries.h"

namespace {

// Another program's window holding a chord, as a hidden window of this thread.
struct THolder {
  explicit THolder(const char* chord) {
    const THotkey hotkey = *ParseHotkey(chord);
    Held = ::RegisterHotKey(Window.Get(), 7, HotkeyModifierFlags(hotkey), hotkey.Key) != FALSE;
  }
  ~THolder() { ::UnregisterHotKey(Window.Get(), 7); }
  TWindowHandle Window{::CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)};
  bool Held = false;
};

void Press(TMeterApplication& app, THotkeyAction action) {
  // WM_HOTKEY as the system posts it: the id, then the modifiers and the key.
  ::PostMessageW(app.WindowHandle(), WM_HOTKEY, 1 + static_cast<int>(action), 0);
  PumpMessages();
}

}  // namespace

TEST(GlobalHotkeys, AChordHeldElsewhereIsRefusedAloneTheOthersWorkAndAllAreReleasedAtExit) {
  THolder holder("Ctrl+Alt+Shift+C");
  ASSERT_TRUE(holder.Held);
  auto settings = SettingsWithWindows();
  settings->General->StayOnTop = false;

  std::vector<THotkeyAction> refused;
  bool shownAfterHide = false, hiddenAfterPress = false, coordinatesShown = false;
  RunMeterApplication(*settings, [&](TMeterApplication& app) {
    refused = app.RegisterHotkeys();
    ::SetForegroundWindow(app.Ruler()->Handle());
    Press(app, THotkeyAction::ShowRuler);
    hiddenAfterPress = !app.Ruler()->Visible();
    Press(app, THotkeyAction::ShowRuler);
    shownAfterHide = app.Ruler()->Visible();
    Press(app, THotkeyAction::CursorCoordinates);
    coordinatesShown = app.CursorForm()->Visible();
  });
  EXPECT_EQ(refused, std::vector{THotkeyAction::PickColor});
  EXPECT_TRUE(hiddenAfterPress) << "a ruler in front hides";
  EXPECT_TRUE(shownAfterHide) << "a hidden ruler shows";
  EXPECT_TRUE(coordinatesShown);

  // The program is gone: every chord it held can be had again.
  for (const char* chord : {"Ctrl+Alt+Shift+R", "Ctrl+Alt+Shift+M", "Ctrl+Alt+Shift+K"})
    EXPECT_TRUE(HotkeyAvailable(holder.Window.Get(), *ParseHotkey(chord))) << chord;
}

TEST(GlobalHotkeys, TheSettingsPageTellsATakenChordAndStoresOnlyWhatTheUserChanged) {
  THolder holder("Ctrl+Alt+Shift+C");
  ASSERT_TRUE(holder.Held);
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  settings->Hotkeys->Text(THotkeyAction::Measure) = "Ctrl+Win+F5";  // the field cannot show Win
  TImageList menuImages(L"MENUIMAGES", 16, 16);
  TSettingsFormEnvironment environment;
  environment.MenuImages = &menuImages;
  TSettingsForm form(nullptr, *settings, environment);
  form.LoadFromSettings();
  form.SelectRow(6);
  const auto& c = form.Controls();
  EXPECT_EQ(form.ShownPage(), SettingsPageHotkeys);
  const auto status = [&](THotkeyAction action) {
    return WindowText(c.HotkeyStatus[static_cast<std::size_t>(action)]);
  };
  EXPECT_EQ(status(THotkeyAction::PickColor), L"In use by another program");
  EXPECT_EQ(status(THotkeyAction::ShowRuler), L"");

  // The user presses the chord of the ruler in the colour field, then clears the coordinates.
  THotkeyField& pickColor = *c.Hotkeys[static_cast<std::size_t>(THotkeyAction::PickColor)];
  ::SendMessageW(pickColor.FieldHandle(), HKM_SETHOTKEY, MAKEWORD('R', HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_SHIFT),
                 0);
  ::SendMessageW(::GetParent(pickColor.FieldHandle()), WM_COMMAND, MAKEWPARAM(0, EN_CHANGE),
                 reinterpret_cast<LPARAM>(pickColor.FieldHandle()));
  EXPECT_EQ(status(THotkeyAction::PickColor), L"Already chosen above");
  ::SendMessageW(c.Hotkeys[static_cast<std::size_t>(THotkeyAction::CursorCoordinates)]->ClearHandle(), BM_CLICK, 0, 0);

  ASSERT_TRUE(form.StoreToSettings());
  const THotkeySettings& stored = *settings->Hotkeys;
  EXPECT_EQ(stored.PickColor, "Ctrl+Alt+Shift+R");
  EXPECT_EQ(stored.CursorCoordinates, "");
  EXPECT_EQ(stored.Measure, "Ctrl+Win+F5") << "untouched, so the Win key is kept";
  EXPECT_EQ(stored.ShowRuler, "Ctrl+Alt+Shift+R");
}

TEST(GlobalHotkeys, HeldModifiersChooseNothingAndOkWaitsWhileAChordIsRepeated) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  TImageList menuImages(L"MENUIMAGES", 16, 16);
  TSettingsFormEnvironment environment;
  environment.MenuImages = &menuImages;
  TSettingsForm form(nullptr, *settings, environment);
  form.LoadFromSettings();
  form.SelectRow(6);
  form.Show();
  const auto& c = form.Controls();
  const auto field = [&](THotkeyAction action) { return c.Hotkeys[static_cast<std::size_t>(action)]->FieldHandle(); };
  const auto notify = [](HWND hotkeyField, WORD value) {
    // The control as it is when a key goes down in it: its value, then EN_CHANGE.
    ::SendMessageW(hotkeyField, HKM_SETHOTKEY, value, 0);
    ::SendMessageW(::GetParent(hotkeyField), WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(hotkeyField));
  };
  constexpr BYTE all = HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_SHIFT;

  // Shift+Tab back through the page: each field first sees Shift, which its rules show as
  // "Ctrl + Alt +" with no key, then loses the focus.
  for (int i = HotkeyActionCount - 1; i >= 0; --i) {
    const HWND hotkeyField = field(static_cast<THotkeyAction>(i));
    ::SetFocus(hotkeyField);
    notify(hotkeyField, MAKEWORD(0, HOTKEYF_CONTROL | HOTKEYF_ALT));
    ::SetFocus(c.OkButton);
    EXPECT_EQ(::SendMessageW(hotkeyField, HKM_GETHOTKEY, 0, 0), MAKEWORD(ParseHotkey(HotkeyActions[i].DefaultText)->Key, all))
        << "the field shows its chord again once the focus left";
  }

  // The ruler's chord pressed in the colour field: OK leaves the dialog open on that field.
  form.SelectRow(0);
  notify(field(THotkeyAction::PickColor), MAKEWORD('R', all));
  const auto ok = [&] {
    ::SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(c.OkButton));
  };
  ok();
  EXPECT_EQ(form.ModalResult(), TModalResult::None);
  EXPECT_EQ(form.ShownPage(), SettingsPageHotkeys);
  EXPECT_EQ(::GetFocus(), field(THotkeyAction::PickColor));
  notify(field(THotkeyAction::PickColor), MAKEWORD('P', all));
  ok();
  EXPECT_EQ(form.ModalResult(), TModalResult::Ok);

  ASSERT_TRUE(form.StoreToSettings());
  const THotkeySettings& h = *settings->Hotkeys;
  EXPECT_EQ((std::vector{h.ShowRuler, h.Measure, h.PickColor, h.CursorCoordinates}),
            (std::vector<std::string>{"Ctrl+Alt+Shift+R", "Ctrl+Alt+Shift+M", "Ctrl+Alt+Shift+P", "Ctrl+Alt+Shift+K"}));
}
