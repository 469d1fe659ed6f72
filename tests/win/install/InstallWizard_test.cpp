// The installation wizard as a window: page moves by its buttons, the licence rule, the
// previous-installation page, the questions it asks, and the controls it is made of.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "controls/win32/QorvelFileLabels.h"
#include "controls/win32/QorvelHeaders.h"
#include "controls/win32/QorvelWebLinks.h"
#include "gui/Handles.h"
#include "install/QorvelFileVersionInfo.h"
#include "install/SetupSwitches.h"
#include "install/win32/QorvelInstallForms.h"
#include "install/win32/QorvelInstallations.h"
#include "install/win32/QorvelInstallers.h"
#include "install/win32/QorvelUninstallForms.h"
#include "support/MessagePump.h"
#include "support/ShownText.h"
#include "support/WindowQueries.h"

namespace {

constexpr wchar_t TestRegistryKey[] = L"QorvelWizardTest\\Product";
constexpr wchar_t TestInstallationKey[] = L"SOFTWARE\\QorvelWizardTest\\Product\\installation";

std::wstring Text(HWND window) { return ShownText(WindowText(window)); }

void Click(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }

std::filesystem::path TempFolder(const std::wstring& name) {
  wchar_t base[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, base);
  std::filesystem::path folder = std::filesystem::path(base) / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

void WritePreviousInstallation(const std::wstring& directory, const std::wstring& version) {
  HKEY opened = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, TestInstallationKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                              nullptr),
            ERROR_SUCCESS);
  TRegistryKey key(opened);
  const auto set = [&](const wchar_t* name, const std::wstring& value) {
    ::RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  };
  set(L"Directory", directory);
  set(L"Version", version);
}

void ForgetPreviousInstallation() { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\QorvelWizardTest"); }

struct TQuestion {
  std::wstring Text, Caption;
  UINT Flags;
};

// One wizard on a test installation, with every question recorded and answered.
class InstallWizardTest : public ::testing::Test {
 protected:
  void SetUp() override { ForgetPreviousInstallation(); }
  void TearDown() override {
    Form.reset();
    ForgetPreviousInstallation();
  }

  void Open(TInstallSystemFacts facts = {}) {
    Installation.RegistryKey = TestRegistryKey;
    Installation.ProductName = L"Vindle";
    facts.ProgramFilesFolder = L"C:\\Program Files";
    Form = std::make_unique<TQorvelInstallForm>(Installation, Installer, facts);
    Form->Pauses = false;
    Form->AskUser = [this](const std::wstring& text, const std::wstring& caption, UINT flags) {
      Questions.push_back({text, caption, flags});
      return Answer;
    };
    Form->Wizard().OnClose = [this](int result) { Closed.push_back(result); };
    Form->Show();  // buttons only take clicks while they are shown
  }

  TQorvelWizard& Wizard() { return Form->Wizard(); }
  HWND Next() { return Wizard().Button(TQorvelWizard::wbNext); }
  bool Enabled(TQorvelWizard::TButton button) { return ::IsWindowEnabled(Wizard().Button(button)) != FALSE; }
  void ToSetupType() {
    Click(Next());
    Click(Form->AcceptButton());
    Click(Next());
    ASSERT_EQ(Wizard().PageIndex(), ipSetupType);
  }

  TQorvelInstallation Installation;
  TQorvelInstaller Installer{L"C:\\nowhere\\VindleSetup.exe", 3 * 1048576};
  std::unique_ptr<TQorvelInstallForm> Form;
  std::vector<TQuestion> Questions;
  std::vector<int> Closed;
  int Answer = IDNO;
};

}  // namespace

TEST_F(InstallWizardTest, LicenceMustBeAcceptedAndCancelAsksFirst) {
  Open();
  EXPECT_EQ(Text(Form->Handle()), L"Vindle Setup");
  EXPECT_FALSE(Enabled(TQorvelWizard::wbBack));
  Click(Next());
  ASSERT_EQ(Wizard().PageIndex(), ipLicense);
  EXPECT_FALSE(Enabled(TQorvelWizard::wbNext)) << "deny is preselected";
  Click(Next());
  EXPECT_EQ(Wizard().PageIndex(), ipLicense) << "a disabled Next does not move";
  Click(Form->AcceptButton());
  EXPECT_TRUE(Enabled(TQorvelWizard::wbNext));
  Click(Form->DenyButton());
  EXPECT_FALSE(Enabled(TQorvelWizard::wbNext));

  Click(Wizard().Button(TQorvelWizard::wbCancel));
  ASSERT_EQ(Questions.size(), 1u);
  EXPECT_EQ(Questions[0].Caption, L"Exit Setup");
  EXPECT_EQ(Questions[0].Text, CancelSetupQuestion(L"Vindle"));
  EXPECT_EQ(Questions[0].Flags & MB_DEFBUTTON2, static_cast<UINT>(MB_DEFBUTTON2)) << "No is preselected";
  EXPECT_TRUE(Closed.empty()) << "No stays";
  Answer = IDYES;
  ::SendMessageW(Form->Handle(), WM_CLOSE, 0, 0);  // the close box is Cancel too
  EXPECT_EQ(Closed, std::vector<int>{IDCANCEL});
}

TEST_F(InstallWizardTest, FreshLocalSetupProposesProgramFilesAndAsksAboutForeignFolders) {
  Open();
  ToSetupType();
  Click(Next());
  ASSERT_EQ(Wizard().PageIndex(), ipInstallFolder) << "no previous installation: page 3 and 4 are skipped";
  EXPECT_EQ(Form->ProposedFolderShown(), L"C:\\Program Files\\Qorvel\\Vindle");
  EXPECT_EQ(Form->Folder(), Form->ProposedFolderShown());
  EXPECT_EQ(Text(Wizard().Button(TQorvelWizard::wbNext)), L"Next");

  // A folder that exists and holds files is questioned; "No" stays.
  const std::filesystem::path foreign = TempFolder(L"QorvelWizardForeign");
  std::ofstream(foreign / L"file.txt") << "x";
  Form->BrowseForFolder = [&](const std::wstring&) { return foreign.wstring(); };
  HWND browse = ::FindWindowExW(Wizard().Page(ipInstallFolder).Handle(), nullptr, L"BUTTON", L"B&rowse");
  ASSERT_TRUE(browse);
  Click(browse);
  EXPECT_EQ(Form->Folder(), foreign.wstring());
  Click(Next());
  ASSERT_EQ(Questions.size(), 1u);
  EXPECT_EQ(Questions[0].Caption, L"Folder already exists");
  EXPECT_EQ(Questions[0].Text, FolderExistsQuestion(foreign.wstring(), L"Vindle"));
  EXPECT_EQ(Wizard().PageIndex(), ipInstallFolder);
  Answer = IDYES;
  Click(Next());
  EXPECT_EQ(Wizard().PageIndex(), ipStartMenu);
  EXPECT_EQ(Text(Wizard().Button(TQorvelWizard::wbNext)), L"Install now");
  std::filesystem::remove_all(foreign);

  // Without a start-menu entry no shortcut is made: the shortcut boxes say so by greying.
  const HWND menuPage = Wizard().Page(ipStartMenu).Handle();
  const HWND desktop = ::FindWindowExW(menuPage, nullptr, L"BUTTON", L"Add a shortcut icon to my &desktop");
  ASSERT_TRUE(desktop);
  Click(::FindWindowExW(menuPage, nullptr, L"BUTTON", L"Do no&t add to start menu"));
  EXPECT_FALSE(::IsWindowEnabled(desktop));
  Click(::FindWindowExW(menuPage, nullptr, L"BUTTON", L"Add to &my start menu only (not available for other users)"));
  EXPECT_TRUE(::IsWindowEnabled(desktop));

  // Back to the folder page: the folder the user chose stays.
  Click(Wizard().Button(TQorvelWizard::wbBack));
  EXPECT_EQ(Wizard().PageIndex(), ipInstallFolder);
  EXPECT_EQ(Form->Folder(), foreign.wstring());
}

// The system's prompt asks a standard user for an administrator's password: offered, not
// replaced by a question whose "Yes" leads to a failing installation.
TEST_F(InstallWizardTest, AStandardUserIsOfferedTheElevationPrompt) {
  TInstallSystemFacts facts;
  facts.Elevation = ElevationFrom(TTokenElevationKind::Default, false);
  Open(facts);
  std::vector<TShellStart> starts;
  Form->StartElevated = [&](const TShellStart& start) {
    starts.push_back(start);
    return DWORD{0};
  };
  ToSetupType();
  EXPECT_TRUE(Form->NextShieldShown());
  Click(Next());
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].Verb, L"runas");
  EXPECT_TRUE(Questions.empty());
}

TEST_F(InstallWizardTest, SameVersionUpdatesInThePreviousFolder) {
  const std::filesystem::path previous = TempFolder(L"QorvelWizardPrevious");
  std::ofstream(previous / L"Installation.xml") << "<installation>\r\n</installation>\r\n";
  WritePreviousInstallation(previous.wstring(), AppVersionInfo().ProductVersion());
  Open();
  ToSetupType();
  Click(Next());
  ASSERT_EQ(Wizard().PageIndex(), ipPreviousInstallation);
  EXPECT_TRUE(Form->State().HasPrevious);
  EXPECT_EQ(::SendMessageW(Form->PreviousChoiceButton(TPreviousChoice::SameFolder), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(::IsWindowEnabled(Form->PreviousChoiceButton(TPreviousChoice::UninstallPrevious)));
  Click(Next());
  EXPECT_EQ(Wizard().PageIndex(), ipStartMenu) << "the folder page is skipped";
  EXPECT_EQ(Form->Folder(), previous.wstring());
  Click(Wizard().Button(TQorvelWizard::wbBack));
  EXPECT_EQ(Wizard().PageIndex(), ipPreviousInstallation);

  // "Uninstall previous installation" turns Next into "Uninstall now".
  Click(Form->PreviousChoiceButton(TPreviousChoice::UninstallPrevious));
  EXPECT_EQ(Text(Wizard().Button(TQorvelWizard::wbNext)), L"Uninstall now");
  std::filesystem::remove_all(previous);
}

TEST_F(InstallWizardTest, OtherVersionWithoutConfigurationCannotBeUninstalled) {
  const std::filesystem::path previous = TempFolder(L"QorvelWizardOld");
  WritePreviousInstallation(previous.wstring(), L"0.1");
  Open();
  EXPECT_EQ(Form->State().PreviousChoice, TPreviousChoice::UninstallPrevious) << "another version: uninstall first";
  ToSetupType();
  Click(Next());
  ASSERT_EQ(Wizard().PageIndex(), ipPreviousInstallation);
  HWND uninstall = Form->PreviousChoiceButton(TPreviousChoice::UninstallPrevious);
  EXPECT_FALSE(::IsWindowEnabled(uninstall)) << "no Installation.xml to uninstall with";
  EXPECT_EQ(::SendMessageW(Form->PreviousChoiceButton(TPreviousChoice::SameFolder), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Text(Wizard().Button(TQorvelWizard::wbNext)), L"Next");
  EXPECT_EQ(::FindWindowExW(Wizard().Page(ipPreviousInstallation).Handle(), nullptr, L"STATIC",
                            UninstallPreviousText(false).c_str()) != nullptr,
            true);

  // A portable setup never looks at the previous installation.
  Click(Wizard().Button(TQorvelWizard::wbBack));
  ASSERT_EQ(Wizard().PageIndex(), ipSetupType);
  Click(Form->PortableButton());
  Click(Next());
  EXPECT_EQ(Wizard().PageIndex(), ipInstallFolder);
  EXPECT_EQ(Text(Wizard().Button(TQorvelWizard::wbNext)), L"Install now");
  std::filesystem::remove_all(previous);
}

TEST(UninstallWizard, ProductNameFromTheConfigurationFile) {
  const std::filesystem::path folder = TempFolder(L"QorvelWizardConfig");
  const std::filesystem::path config = folder / L"Installation.xml";
  std::ofstream(config) << "<installation>\r\n\t<product>Ruler</product>\r\n</installation>\r\n";
  EXPECT_EQ(UninstallProductName(config.wstring(), L"Fallback"), L"Ruler");
  EXPECT_EQ(UninstallProductName((folder / L"missing.xml").wstring(), L"Fallback"), L"Fallback");
  std::ofstream(config) << "<installation>\r\n\t<unknown/>\r\n</installation>\r\n";
  EXPECT_EQ(UninstallProductName(config.wstring(), L"Fallback"), L"Fallback") << "a damaged file";
  std::filesystem::remove_all(folder);
}

TEST(WizardControls, HeaderGoesFromWindowToButtonFace) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -33, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  TWindowDC screen(nullptr);
  TBitmapHandle bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  TMemoryDC dc(::CreateCompatibleDC(screen.Get()));
  TSelectScope selected(dc.Get(), bitmap.Get());
  const RECT bounds{0, 0, 200, 33};
  PaintQorvelHeader(dc.Get(), bounds, L"", L"", static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)),
                    static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), 4);
  EXPECT_EQ(::GetPixel(dc.Get(), 0, 16), ::GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(::GetPixel(dc.Get(), 199, 16), ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(::GetPixel(dc.Get(), 0, 0), ::GetPixel(dc.Get(), 3, 32)) << "four-pixel columns, top to bottom";
}

TEST(WizardControls, WebLinkOpensOnlyFromItsLinkPart) {
  TQorvelWizardForm form(L"Link host", 1);
  std::vector<std::wstring> opened;
  TQorvelWebLink link(form.Wizard().Page(0).Handle(), RECT{0, 0, 300, 16}, L"www.qorvel.com",
                      L"https://www.qorvel.com/", static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  link.OnOpen = [&](const std::wstring& address) {
    opened.push_back(address);
    return true;
  };
  EXPECT_EQ(Text(link.Handle()), L"Visit www.qorvel.com for more information.");
  const RECT part = link.LinkRect();
  EXPECT_GT(part.left, 0) << "\"Visit \" comes first";
  const auto press = [&](int x) {
    ::SendMessageW(link.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 8));
    ::SendMessageW(link.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, 8));
  };
  press(1);
  EXPECT_TRUE(opened.empty()) << "the prefix is plain text";
  press((part.left + part.right) / 2);
  EXPECT_EQ(opened, std::vector<std::wstring>{L"https://www.qorvel.com/"});

  // Space opens it as well; a press whose release goes elsewhere (the focus left) ends there.
  ::SendMessageW(link.Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(link.Pressed());
  ::SendMessageW(link.Handle(), WM_KILLFOCUS, 0, 0);
  EXPECT_FALSE(link.Pressed());
  ::SendMessageW(link.Handle(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(opened.size(), 1u);
  std::vector<std::wstring> failed;
  link.OnOpen = [](const std::wstring&) { return false; };
  link.OnOpenFailed = [&](const std::wstring& address) { failed.push_back(address); };
  ::SendMessageW(link.Handle(), WM_KEYDOWN, VK_SPACE, 0);
  ::SendMessageW(link.Handle(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(failed, std::vector<std::wstring>{L"https://www.qorvel.com/"}) << "a failed start is told";
}

TEST(WizardControls, FileLabelShortensLongFolders) {
  TQorvelWizardForm form(L"Label host", 1);
  TQorvelFileLabel label(form.Wizard().Page(0).Handle(), RECT{0, 0, 150, 24},
                         static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  label.SetFileName(L"C:\\Program Files\\Some Company Name\\A Product With A Long Name\\Vindle");
  const std::wstring shown = label.ShownText();
  EXPECT_EQ(shown.rfind(L"C:\\...\\", 0), 0u) << shown;
  EXPECT_EQ(shown.substr(shown.size() - 7), L"\\Vindle");
  label.SetFileName(L"C:\\Tools");
  EXPECT_EQ(label.ShownText(), L"C:\\Tools");
}

TEST(UninstallWizard, MissingOrDamagedConfigurationIsReportedAndRemovesNothing) {
  const std::filesystem::path folder = TempFolder(L"QorvelWizardRemove");
  const std::filesystem::path keep = folder / L"keep.txt";
  std::ofstream(keep) << "x";
  TQorvelInstallation installation;
  for (const bool damaged : {false, true}) {
    const std::filesystem::path config = folder / L"Installation.xml";
    if (damaged)
      std::ofstream(config) << "<installation>\r\n\t<files>\r\n\t\t<item>" << keep.string()
                            << "</item>\r\n\t<oops>\r\n</installation>\r\n";
    TQorvelUninstallForm form(installation, config.wstring());
    form.Pauses = false;
    std::vector<TQuestion> questions;
    form.AskUser = [&](const std::wstring& text, const std::wstring& caption, UINT flags) {
      questions.push_back({text, caption, flags});
      return IDOK;
    };
    std::vector<int> closed;
    form.Wizard().OnClose = [&](int result) { closed.push_back(result); };
    form.Show();
    EXPECT_EQ(Text(form.Wizard().Button(TQorvelWizard::wbNext)), L"Uninstall now");
    Click(form.Wizard().Button(TQorvelWizard::wbNext));
    PumpUntil([&] { return !closed.empty(); }, 10000);
    EXPECT_EQ(closed, std::vector<int>{IDCANCEL}) << "damaged " << damaged;
    ASSERT_EQ(questions.size(), 1u) << "damaged " << damaged;
    EXPECT_EQ(questions[0].Caption, L"Error");
    if (damaged)
      EXPECT_NE(questions[0].Text.find(L"Uninstall configuration file corrupt."), std::wstring::npos)
          << questions[0].Text;
    else
      EXPECT_EQ(questions[0].Text, L"Configuration file needed to uninstall application not found.");
    EXPECT_TRUE(std::filesystem::exists(keep)) << "nothing is removed on a bad file";
  }
  std::filesystem::remove_all(folder);
}

TEST_F(InstallWizardTest, AFilteredAdministratorsLocalSetupGoesOnElevated) {
  TInstallSystemFacts facts;
  facts.Elevation = TElevation::CanElevate;
  Open(facts);
  std::vector<TShellStart> starts;
  DWORD result = ERROR_CANCELLED;
  Form->StartElevated = [&](const TShellStart& start) {
    starts.push_back(start);
    if (result == 0 && start.ExitCode) *start.ExitCode = 1603;
    return result;
  };
  ToSetupType();
  EXPECT_TRUE(Form->NextShieldShown());
  Click(Form->PortableButton());
  EXPECT_FALSE(Form->NextShieldShown()) << "the portable setup never asks for rights";
  Click(Form->LocalButton());
  EXPECT_TRUE(Form->NextShieldShown());

  // Declined: one sentence, and the wizard stays where it is.
  Click(Next());
  EXPECT_EQ(Wizard().PageIndex(), ipSetupType);
  ASSERT_EQ(Questions.size(), 1u);
  EXPECT_EQ(Questions[0].Text, ElevationNeededText(L"Vindle"));
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].Verb, L"runas");
  EXPECT_EQ(starts[0].File, Installation.ExePath());
  EXPECT_EQ(starts[0].Parameters,
            SetupArguments(Installation.Arguments()) + (Installation.Arguments().empty() ? L"" : L" ") + L"-localsetup")
      << "the switches of this run, then the one that resumes";
  EXPECT_EQ(starts[0].Folder, WithoutTrailingBackslash(FolderOf(Installation.ExePath())));

  // Accepted: the elevated run goes on, this wizard closes without asking.
  result = 0;
  Click(Next());
  EXPECT_EQ(starts.size(), 2u);
  EXPECT_EQ(Questions.size(), 1u);
  EXPECT_EQ(Form->ModalResult(), TModalResult::Cancel);
  EXPECT_EQ(Form->ElevatedRunExitCode(), 1603) << "the elevated run's result is this run's";

  // The elevated run goes on past the setup type with the same choices.
  Open();
  Form->ResumeLocalSetup();
  EXPECT_EQ(Wizard().PageIndex(), ipInstallFolder);
  EXPECT_TRUE(Form->State().LicenseAccepted);
  EXPECT_FALSE(Form->State().Portable);
}
