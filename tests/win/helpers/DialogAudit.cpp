// Opens every dialog of the program and every page of each (the settings dialog on each
// row and configuration, installed and portable; the colour dialog; both wizards; the about
// box; the calibration window) at the system's current DPI and writes what a careful user would object to, one
// fault a line, to a UTF-8 file:
//   DialogAudit.exe layout <output file>   captions wider than their control, texts a control
//                                          draws itself wider than their room or over each
//                                          other, controls that overlap a sibling or stick
//                                          out of their parent
//   DialogAudit.exe tabs <output file>     enabled controls that Tab never reaches, and
//                                          access keys two controls of a page share
// The last line is "audited <pages> pages, <controls> controls"; the exit code is 0 when it
// got that far, whatever it found, so that the scenario can tell faults from a crash.
#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "about/win32/QorvelAboutDialogs.h"
#include "color/win32/QorvelColorDialogs.h"
#include "controls/win32/QorvelComboBoxes.h"
#include "gui/AccessKeys.h"
#include "gui/Application.h"
#include "gui/DrawnTexts.h"
#include "gui/Dpi.h"
#include "gui/Handles.h"
#include "gui/ImageLists.h"
#include "install/QorvelInstallWizardRules.h"
#include "install/win32/QorvelInstallForms.h"
#include "install/win32/QorvelInstallations.h"
#include "install/win32/QorvelInstallers.h"
#include "install/win32/QorvelUninstallForms.h"
#include "ruler/win32/CalibrationForms.h"
#include "ruler/win32/MainForms.h"
#include "settings/win32/SettingsForms.h"
#include "support/HelperOutput.h"

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

LONG StyleOf(HWND window) { return ::GetWindowLongW(window, GWL_STYLE); }
bool Shown(HWND window) { return ::IsWindowVisible(window) != FALSE; }

bool IsButtonKind(HWND window, LONG kind) {
  return ClassOf(window) == L"Button" && (StyleOf(window) & BS_TYPEMASK) == kind;
}
bool IsGroupBox(HWND window) { return IsButtonKind(window, BS_GROUPBOX); }
bool IsRadio(HWND window) { return IsButtonKind(window, BS_RADIOBUTTON) || IsButtonKind(window, BS_AUTORADIOBUTTON); }
bool IsCheck(HWND window) {
  const LONG kind = StyleOf(window) & BS_TYPEMASK;
  return ClassOf(window) == L"Button" && (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE ||
                                          kind == BS_AUTO3STATE || IsRadio(window));
}
// A window that only holds other controls (pages, the wizard): its children are audited
// in their own right.
bool IsContainer(HWND window) {
  return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0 && ::GetWindow(window, GW_CHILD);
}

RECT RectInParent(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

BOOL CALLBACK AddWindow(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> all;
  ::EnumChildWindows(window, &AddWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

std::string Describe(HWND window) {
  const std::wstring text = TextOf(window);
  if (!text.empty()) {
    std::string oneLine = Narrow(text);  // a fault takes one line of the report
    std::replace(oneLine.begin(), oneLine.end(), '\r', ' ');
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
    return Narrow(ClassOf(window)) + " \"" + oneLine + "\"";
  }
  const RECT r = RectInParent(window);
  return Narrow(ClassOf(window)) + " at " + std::to_string(r.left) + "," + std::to_string(r.top);
}

// The size the caption takes with the control's own font, wrapped to `width` when the
// control wraps; the prefix '&' marks an access key and takes no room.
SIZE CaptionExtent(HWND control, const std::wstring& text, int width, bool wraps) {
  const TWindowDC dc(control);
  auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  const TSelectScope selected(dc.Get(), font ? font : static_cast<HFONT>(::GetStockObject(SYSTEM_FONT)));
  RECT r{0, 0, wraps ? width : 0, 0};
  UINT format = DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE);
  if (ClassOf(control) == L"Static" && (StyleOf(control) & SS_NOPREFIX)) format |= DT_NOPREFIX;
  ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, format);
  return {r.right - r.left, r.bottom - r.top};
}

class TAudit {
 public:
  explicit TAudit(bool layout) : FLayout(layout), FDpi(SystemDpi()) {}

  // Audits what `dialog` shows now, as the page `name`.
  void Page(HWND dialog, const std::string& name) {
    ++FPages;
    if (FLayout)
      AuditLayout(dialog, name);
    else
      AuditTabs(dialog, name);
  }

  std::string Report() const {
    std::string report;
    for (const std::string& fault : FFaults) report += fault + "\n";
    return report + "audited " + std::to_string(FPages) + " pages, " + std::to_string(FControls) + " controls\n";
  }

 private:
  int Scaled(int value96) const { return ::MulDiv(value96, static_cast<int>(FDpi), 96); }

  void Fault(const std::string& page, const std::string& what) {
    const std::string line = page + ": " + what;
    if (std::find(FFaults.begin(), FFaults.end(), line) == FFaults.end()) FFaults.push_back(line);
  }

  // The room a control leaves its caption, beside the check mark or inside the frame.
  int CaptionRoom(HWND control, int width) const {
    if (IsCheck(control)) return width - Scaled(17);
    if (IsGroupBox(control)) return width - Scaled(16);
    if (ClassOf(control) == L"Button") return width - Scaled(4);  // inside the 3-D edges
    return width;
  }

  void AuditCaption(HWND control, const std::string& page) {
    const std::wstring cls = ClassOf(control);
    if (cls != L"Button" && cls != L"Static") return;
    if (cls == L"Static" && (StyleOf(control) & (SS_BITMAP | SS_ICON | SS_ETCHEDHORZ)) != 0) return;
    // An owner-drawn button's text is a name for screen readers; what it paints it reports
    // as drawn texts, audited below.
    if (cls == L"Button" && (StyleOf(control) & BS_TYPEMASK) == BS_OWNERDRAW) return;
    const std::wstring text = TextOf(control);
    if (text.empty()) return;
    RECT client{};
    ::GetClientRect(control, &client);
    const int room = CaptionRoom(control, client.right);
    const LONG style = StyleOf(control);
    const bool wraps = cls == L"Static" ? (style & SS_TYPEMASK) <= SS_RIGHT : (style & BS_MULTILINE) != 0;
    const SIZE extent = CaptionExtent(control, text, room, wraps);
    // A group box's caption sits on its frame; any other caption must fit its height too.
    const bool tooHigh = !IsGroupBox(control) && extent.cy > client.bottom + (wraps ? 0 : Scaled(4));
    if (extent.cx > room || tooHigh)
      Fault(page, Describe(control) + " is cut off: its text takes " + std::to_string(extent.cx) + " x " +
                      std::to_string(extent.cy) + " px, the control leaves " + std::to_string(room) + " x " +
                      std::to_string(client.bottom) + " px");
  }

  // What a control paints itself: each text must fit its room, inside the control, and two
  // texts must not print over each other.
  void AuditDrawnTexts(HWND control, const std::string& page) {
    const TDrawsTexts* drawer = DrawerOf(control);
    if (!drawer) return;
    const std::vector<TDrawnText> texts = drawer->DrawnTexts();
    RECT client{};
    ::GetClientRect(control, &client);
    const TWindowDC dc(control);
    std::vector<RECT> inks;  // where each text's letters go in its box
    for (const TDrawnText& text : texts) {
      const TSelectScope font(dc.Get(), text.Font);
      SIZE extent{};
      ::GetTextExtentPoint32W(dc.Get(), text.Text.c_str(), static_cast<int>(text.Text.size()), &extent);
      const RECT& box = text.Box;
      const int room = box.right - box.left;
      const int left = text.Alignment == DT_RIGHT    ? box.right - extent.cx
                       : text.Alignment == DT_CENTER ? box.left + (room - extent.cx) / 2
                                                     : box.left;
      inks.push_back(RECT{left, box.top, left + extent.cx, box.bottom});
      RECT inside{};
      ::IntersectRect(&inside, &box, &client);
      if (extent.cx > room || extent.cy > box.bottom - box.top || !::EqualRect(&inside, &box))
        Fault(page, Describe(control) + " draws \"" + Narrow(text.Text) + "\" cut off: it takes " +
                        std::to_string(extent.cx) + " px, its room " + std::to_string(room) + " px at " +
                        std::to_string(box.left) + " of " + std::to_string(client.right));
    }
    for (std::size_t i = 0; i < texts.size(); ++i)
      for (std::size_t j = i + 1; j < texts.size(); ++j) {
        RECT common{};
        // The items of a drop-down take turns in one room: only what shows at once counts.
        if (!::EqualRect(&texts[i].Box, &texts[j].Box) && ::IntersectRect(&common, &inks[i], &inks[j]))
          Fault(page, Describe(control) + " draws \"" + Narrow(texts[i].Text) + "\" over \"" +
                          Narrow(texts[j].Text) + "\"");
      }
  }

  static const TDrawsTexts* DrawerOf(HWND control) {
    if (const TWindow* window = TWindow::FromHandle(control)) return dynamic_cast<const TDrawsTexts*>(window);
    return dynamic_cast<const TDrawsTexts*>(TSubclassedControl::FromHandle(control));
  }

  void AuditLayout(HWND dialog, const std::string& page) {
    std::vector<HWND> shown;
    for (HWND control : Descendants(dialog))
      if (Shown(control)) shown.push_back(control);
    for (HWND control : shown) {
      ++FControls;
      AuditCaption(control, page);
      AuditDrawnTexts(control, page);
      RECT bounds = RectInParent(control), parent{};
      ::GetClientRect(::GetParent(control), &parent);
      RECT inside{};
      ::IntersectRect(&inside, &bounds, &parent);
      if (!::EqualRect(&inside, &bounds)) Fault(page, Describe(control) + " sticks out of its parent");
    }
    for (std::size_t i = 0; i < shown.size(); ++i)
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        const HWND a = shown[i], b = shown[j];
        if (::GetParent(a) != ::GetParent(b)) continue;
        const RECT ra = RectInParent(a), rb = RectInParent(b);
        RECT common{};
        if (!::IntersectRect(&common, &ra, &rb)) continue;
        // A group box frames what lies wholly inside it; crossing its frame is a fault.
        const auto frames = [](HWND group, const RECT& outer, const RECT& inner) {
          RECT both{};
          return IsGroupBox(group) && ::IntersectRect(&both, &outer, &inner) && ::EqualRect(&both, &inner);
        };
        if (frames(a, ra, rb) || frames(b, rb, ra)) continue;
        Fault(page, Describe(a) + " and " + Describe(b) + " overlap");
      }
  }

  void AuditTabs(HWND dialog, const std::string& page) {
    std::set<HWND> reached;
    const HWND first = ::GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND at = first; at && reached.insert(at).second;) at = ::GetNextDlgTabItem(dialog, at, FALSE);
    // Shift+Tab must walk the same ring backwards.
    std::set<HWND> backwards;
    for (HWND at = first; at && backwards.insert(at).second;) at = ::GetNextDlgTabItem(dialog, at, TRUE);
    if (backwards != reached) Fault(page, "Shift+Tab reaches other controls than Tab");
    AuditAccessKeys(dialog, page);
    for (HWND control : Descendants(dialog)) {
      if (!Shown(control) || !::IsWindowEnabled(control) || IsContainer(control)) continue;
      const std::wstring cls = ClassOf(control);
      const bool interactive = (StyleOf(control) & WS_TABSTOP) != 0 || (cls == L"Button" && !IsGroupBox(control)) ||
                               cls == L"Edit" || cls == L"ComboBox" || cls == L"ListBox";
      if (!interactive) continue;
      ++FControls;
      if (reached.count(control)) continue;
      // The arrow keys move within a group of option buttons (or of parts a window paints, such
      // as the colour slots' halves); Tab only needs to reach one.
      if ((IsRadio(control) || IsButtonKind(control, BS_OWNERDRAW)) && GroupReached(dialog, control, reached)) continue;
      Fault(page, Describe(control) + " cannot be reached with Tab");
    }
  }

  // Alt and a letter must lead to one control of the page, never to two.
  void AuditAccessKeys(HWND dialog, const std::string& page) {
    std::map<wchar_t, HWND> owners;
    for (HWND control : Descendants(dialog)) {
      if (!Shown(control)) continue;
      const TAccessKeyCaption caption = SplitAccessKey(TextOf(control));
      if (caption.Key < 0) continue;
      const wchar_t key = static_cast<wchar_t>(std::towupper(caption.Shown[static_cast<std::size_t>(caption.Key)]));
      const auto [owner, added] = owners.emplace(key, control);
      if (!added)
        Fault(page, Describe(owner->second) + " and " + Describe(control) + " share the access key " +
                        Narrow(std::wstring(1, key)));
    }
  }

  static bool GroupReached(HWND dialog, HWND radio, const std::set<HWND>& reached) {
    HWND at = radio;
    do {
      if (reached.count(at)) return true;
      at = ::GetNextDlgGroupItem(dialog, at, FALSE);
    } while (at && at != radio);
    return false;
  }

  bool FLayout;
  UINT FDpi;
  int FPages = 0;
  int FControls = 0;
  std::vector<std::string> FFaults;
};

std::string Dpi() { return std::to_string(SystemDpi()) + " dpi"; }

void AuditSettings(TAudit& audit, TApplicationSettings& settings, const TImageList& menuImages, bool local) {
  TSettingsFormEnvironment environment;
  environment.LocalInstallation = local;
  environment.MenuImages = &menuImages;
  environment.ProgramPath = L"C:\\Tools\\Vindle.exe";
  TSettingsForm form(nullptr, settings, environment);
  form.LoadFromSettings();
  form.Show();
  const std::string copy = local ? "installed" : "portable";
  for (int row = 0; row < static_cast<int>(SettingsNavigationRows.size()); ++row) {
    form.SelectRow(row);
    const std::string page = "Settings, " + Narrow(SettingsNavigationRows[static_cast<std::size_t>(row)].Caption) +
                             " (" + copy + ", " + Dpi() + ")";
    if (SettingsNavigationRows[static_cast<std::size_t>(row)].Page != SettingsPageConfigurations) {
      audit.Page(form.Handle(), page);
      continue;
    }
    // Each configuration enables other controls (the third is translucent and magnified).
    TQorvelComboBox& configuration = *form.Controls().Configuration;
    for (int i = 0; i < TApplicationSettings::ConfigurationCount; ++i) {
      ::SendMessageW(configuration.Handle(), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      ::SendMessageW(::GetParent(configuration.Handle()), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(configuration.Handle()));
      audit.Page(form.Handle(), page + ", configuration " + std::to_string(i + 1));
    }
  }
  form.Close();
}

void AuditColorDialog(TAudit& audit) {
  TQorvelColorDialog dialog;
  dialog.Options = {TQorvelColorDialogOption::pcoOpacity, TQorvelColorDialogOption::pcoUserDefinedColors};
  TQorvelColorForm form(dialog);
  form.Prepare();
  form.Show();
  audit.Page(form.Handle(), "Select color (" + Dpi() + ")");
  form.Close();
}

void AuditWizardPages(TAudit& audit, TQorvelWizardForm& form, const std::string& name) {
  form.Pauses = false;
  form.AskUser = [](const std::wstring&, const std::wstring&, UINT) { return IDNO; };
  form.Show();
  TQorvelWizard& wizard = form.Wizard();
  for (int i = 0; i < wizard.PageCount(); ++i) {
    wizard.SetPageIndex(i);
    audit.Page(form.Handle(), name + ", page " + std::to_string(i + 1) + " (" + Dpi() + ")");
  }
  form.Close();
}

void AuditWizards(TAudit& audit) {
  TQorvelInstallation installation;
  installation.ProductName = L"Vindle";
  TQorvelInstaller installer{L"C:\\nowhere\\VindleSetup.exe", 3 * 1048576};
  TInstallSystemFacts facts;
  facts.ProgramFilesFolder = L"C:\\Program Files";
  for (const bool portable : {false, true}) {
    TQorvelInstallForm form(installation, installer, facts);
    if (portable) ::SendMessageW(form.PortableButton(), BM_CLICK, 0, 0);
    AuditWizardPages(audit, form, portable ? "Setup, portable" : "Setup, local");
  }
  TQorvelUninstallForm uninstall(installation, L"C:\\nowhere\\Installation.xml");
  AuditWizardPages(audit, uninstall, "Uninstall");
}

void AuditAbout(TAudit& audit, TApplicationSettings& settings) {
  TQorvelAboutDialog dialog;
  dialog.Options = {paoFileVersion};
  dialog.LinkText = dialog.LinkURL = "https://qorvel.example/vindle";
  dialog.InfoText = "A ruler that floats over the desktop to measure anything on the screen.";
  dialog.LoadLogo(L"LOGOBITMAP");
  dialog.Execution = settings.Execution;
  dialog.FormPosition = TFormPosition::poScreenCenter;
  TQorvelAboutForm form(dialog);
  form.Show();
  audit.Page(form.Handle(), "About (" + Dpi() + ")");
  form.Close();
}

void AuditCalibration(TAudit& audit, TApplicationSettings& settings) {
  TMainForm ruler(settings);
  ruler.Show();
  TCalibrationForm& calibration = ruler.Calibrate();
  audit.Page(calibration.Handle(), "Calibrate (" + Dpi() + ")");
  calibration.Cancel();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  EnsurePerMonitorDpiAwareness();
  const std::vector<std::wstring> args = CommandArguments();
  if (args.size() < 2) return 2;
  const std::wstring mode = args[0], output = args[1];
  if (mode != L"layout" && mode != L"tabs") return 2;
  // Faults are what this program reports; an error box would only stop it.
  TGuiApplication::Instance().SetErrorReporter([](const std::wstring&) {});

  TAudit audit(mode == L"layout");
  const auto settings = TQorvelSettings::Create<TApplicationSettings>();
  const TImageList menuImages(L"MENUIMAGES", 16, 16);
  AuditSettings(audit, *settings, menuImages, true);
  AuditSettings(audit, *settings, menuImages, false);
  AuditColorDialog(audit);
  AuditWizards(audit);
  AuditAbout(audit, *settings);
  AuditCalibration(audit, *settings);

  return WriteBytes(output, audit.Report()) ? 0 : 3;
}
