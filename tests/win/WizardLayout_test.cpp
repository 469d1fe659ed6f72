// Every text of both wizards fits its control and no two controls overlap, measured with
// each control's own font. ./test runs this at the system's 96 dpi; an end-to-end scenario
// runs it again with Wine at 144 dpi, where fonts do not scale in step with the layout.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gui/Application.h"
#include "install/QorvelInstallWizardRules.h"
#include "install/win32/QorvelInstallForms.h"
#include "install/win32/QorvelInstallations.h"
#include "install/win32/QorvelInstallers.h"
#include "install/win32/QorvelUninstallForms.h"

namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The room a text needs in `window`, wrapped at its width when `wrap`.
SIZE TextRoom(HWND window, const std::wstring& text, bool wrap, UINT prefix) {
  const HDC dc = ::GetDC(window);
  const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)));
  RECT client{};
  ::GetClientRect(window, &client);
  RECT box{0, 0, wrap ? client.right : 0, 0};
  ::DrawTextW(dc, text.c_str(), -1, &box, DT_CALCRECT | prefix | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return {box.right, box.bottom};
}

// What is wrong with the controls shown on one page: texts cut off, controls overlapping.
std::vector<std::string> LayoutFaults(HWND page, const std::string& where) {
  std::vector<std::string> faults;
  std::vector<std::pair<HWND, RECT>> shown;
  for (HWND control = ::GetWindow(page, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    if (!(style & WS_VISIBLE)) continue;
    RECT bounds{};
    ::GetWindowRect(control, &bounds);
    ::MapWindowPoints(HWND_DESKTOP, page, reinterpret_cast<POINT*>(&bounds), 2);
    shown.push_back({control, bounds});
    RECT client{};
    ::GetClientRect(control, &client);
    const std::wstring kind = ClassOf(control);
    const std::wstring text = TextOf(control);
    if (text.empty()) continue;
    const std::string name = where + " \"" + Narrow(text.substr(0, 40)) + "\"";
    if (kind == L"Static" && (style & SS_TYPEMASK) <= SS_RIGHT) {
      const SIZE room = TextRoom(control, text, true, (style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
      if (room.cx > client.right || room.cy > client.bottom)
        faults.push_back(name + " needs " + std::to_string(room.cx) + "x" + std::to_string(room.cy) + ", has " +
                         std::to_string(client.right) + "x" + std::to_string(client.bottom));
    } else if (kind == L"Button") {
      const LONG type = style & BS_TYPEMASK;
      const bool box = type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON || type == BS_AUTOCHECKBOX ||
                       type == BS_CHECKBOX;
      // The box and the gap before the text, or the push button's frame on both sides.
      const int chrome = box ? ::GetSystemMetrics(SM_CXMENUCHECK) + 4 : 4 * ::GetSystemMetrics(SM_CXEDGE);
      const SIZE room = TextRoom(control, text, false, 0);
      if (room.cx + chrome > client.right || room.cy > client.bottom)
        faults.push_back(name + " needs " + std::to_string(room.cx + chrome) + "x" + std::to_string(room.cy) +
                         ", has " + std::to_string(client.right) + "x" + std::to_string(client.bottom));
    }
  }
  for (std::size_t i = 0; i < shown.size(); ++i)
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      RECT common{};
      if (::IntersectRect(&common, &shown[i].second, &shown[j].second))
        faults.push_back(where + " \"" + Narrow(TextOf(shown[i].first)) + "\" overlaps \"" +
                         Narrow(TextOf(shown[j].first)) + "\"");
    }
  return faults;
}

// Stage labels appear together while the engine works: check them shown.
void ShowAllChildren(HWND page) {
  for (HWND control = ::GetWindow(page, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT))
    if (ClassOf(control) == L"Static" && !TextOf(control).empty()) ::ShowWindow(control, SW_SHOWNA);
}

std::vector<std::string> WizardFaults(TQorvelWizard& wizard, const std::string& name,
                                      const std::vector<int>& progressPages) {
  std::vector<std::string> faults;
  for (int page = 0; page < wizard.PageCount(); ++page) {
    const HWND handle = wizard.Page(page).Handle();
    for (const int progress : progressPages)
      if (progress == page) ShowAllChildren(handle);
    for (auto& fault : LayoutFaults(handle, name + " page " + std::to_string(page))) faults.push_back(fault);
  }
  return faults;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const auto& line : lines) all += line + "\n";
  return all;
}

}  // namespace

TEST(WizardLayout, EveryTextFitsAndNothingOverlaps) {
  TQorvelInstallation installation;
  installation.ProductName = L"Vindle";
  installation.RegistryKey = L"QorvelLayoutTest\\Product";
  TQorvelInstaller installer{L"C:\\nowhere\\VindleSetup.exe", 3 * 1048576};
  TInstallSystemFacts facts = CurrentInstallSystemFacts();
  TQorvelInstallForm setup(installation, installer, facts);
  TQorvelUninstallForm removal(installation, L"");
  const std::vector<std::string> faults = [&] {
    auto all = WizardFaults(setup.Wizard(), "setup", {ipUninstallPrevious, ipInstalling});
    for (auto& fault : WizardFaults(removal.Wizard(), "uninstall", {upUninstalling})) all.push_back(fault);
    return all;
  }();
  const UINT dpi = ::GetDpiForWindow(setup.Handle());
  std::printf("wizard layout measured at %u dpi\n", dpi);  // the end-to-end run reads it
  EXPECT_TRUE(faults.empty()) << "at " << dpi << " dpi:\n" << Joined(faults);
}
