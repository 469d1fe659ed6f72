// The settings file on real Windows files: folders made on demand, read-only and hidden
// files, a file another process holds, the backup modes, and the message boxes themselves.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "gui/Application.h"
#include "gui/Handles.h"
#include "settings/ApplicationSettings.h"
#include "settings/QorvelSettingsFiles.h"
#include "settings/SettingsFileRules.h"
#include "support/HelperPrograms.h"
#include "support/ProgramSetup.h"
#include "ScriptedPrompt.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<TApplicationSettings> ProgramSettings() {
  auto settings = SettingsWithWindows();
  settings->Execution->SetClock([] { return 40000.0; });
  return settings;
}

class SettingsFileWin : public testing::Test {
 protected:
  void SetUp() override {
    FRoot = fs::temp_directory_path() / L"vindle-settings-win";
    Clear();
    FFile = FRoot / L"Qorvel" / L"Vindle \u20AC" / L"Settings.xml";
    FBackup = FFile.parent_path() / L"Settings.bak";
  }
  void TearDown() override { Clear(); }

  void Clear() {
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(FRoot, error))
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(FRoot, error);
  }

  void Put(const std::string& contents) const {
    fs::create_directories(FFile.parent_path());
    std::ofstream(FFile, std::ios::binary) << contents;
  }
  static std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static DWORD Attributes(const fs::path& file) { return GetFileAttributesW(file.c_str()); }

  void Load(TApplicationSettings& settings) { settings.LoadFromFile(FFile, "settings", FFiles, FPrompt); }
  void Save(TApplicationSettings& settings) { settings.SaveToFile(FFile, "settings", FFiles, FPrompt); }

  static std::string FileWith(int orientation) {
    auto settings = ProgramSettings();
    settings->General->Orientation = orientation;
    return QorvelSettingsDocument(*settings, "settings");
  }

  fs::path FRoot, FFile, FBackup;
  TQorvelSystemFileSystem FFiles;
  TScriptedPrompt FPrompt;
};

TEST_F(SettingsFileWin, TheFirstSaveMakesTheFoldersAndTheNextStartReadsIt) {
  auto settings = ProgramSettings();
  Load(*settings);
  EXPECT_FALSE(fs::exists(FFile.parent_path()));
  settings->General->Orientation = 1;
  Save(*settings);
  EXPECT_TRUE(FPrompt.Asked.empty());
  EXPECT_EQ(Contents(FFile), QorvelSettingsDocument(*settings, "settings"));
  EXPECT_FALSE(fs::exists(FBackup));

  auto next = ProgramSettings();
  Load(*next);
  EXPECT_EQ(next->General->Orientation, 1);
  EXPECT_EQ(next->Execution->Count(), 1);
}

TEST_F(SettingsFileWin, AReadOnlyFileIsReadAndNeverWritten) {
  Put(FileWith(1));
  ASSERT_TRUE(SetFileAttributesW(FFile.c_str(), FILE_ATTRIBUTE_READONLY));
  FILETIME before{};
  {
    const TFileHandle probe(
        CreateFileW(FFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    GetFileTime(probe.Get(), nullptr, nullptr, &before);
  }
  auto settings = ProgramSettings();
  Load(*settings);
  EXPECT_TRUE(settings->ReadOnly);
  EXPECT_EQ(settings->General->Orientation, 1);

  settings->General->Orientation = 0;
  Save(*settings);
  EXPECT_EQ(Contents(FFile), FileWith(1));
  EXPECT_FALSE(fs::exists(FBackup));
  EXPECT_EQ(Attributes(FFile) & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
  FILETIME after{};
  const TFileHandle probe(
      CreateFileW(FFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  GetFileTime(probe.Get(), nullptr, nullptr, &after);
  EXPECT_EQ(CompareFileTime(&before, &after), 0);
  EXPECT_TRUE(FPrompt.Asked.empty());
}

TEST_F(SettingsFileWin, AHiddenFileStaysHiddenInEveryBackupMode) {
  for (const auto mode : {TQorvelSettingsBackupMode::pbmNone, TQorvelSettingsBackupMode::pbmTemporary,
                          TQorvelSettingsBackupMode::pbmKeepRecent}) {
    Clear();
    Put(FileWith(0));
    ASSERT_TRUE(SetFileAttributesW(FFile.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    if (!(Attributes(FFile) & FILE_ATTRIBUTE_HIDDEN)) GTEST_SKIP() << "this file system keeps no hidden attribute";
    auto settings = ProgramSettings();
    Load(*settings);
    settings->ConfigurationFile->BackupMode = mode;
    settings->General->Orientation = 1;
    Save(*settings);
    EXPECT_TRUE(Attributes(FFile) & FILE_ATTRIBUTE_HIDDEN) << static_cast<int>(mode);
    EXPECT_EQ(Contents(FFile), QorvelSettingsDocument(*settings, "settings"));
    EXPECT_EQ(fs::exists(FBackup), mode == TQorvelSettingsBackupMode::pbmKeepRecent);
  }
}

TEST_F(SettingsFileWin, KeepRecentKeepsTheVersionBeforeTheSecondSave) {
  auto settings = ProgramSettings();
  settings->ConfigurationFile->BackupMode = TQorvelSettingsBackupMode::pbmKeepRecent;
  settings->General->Orientation = 1;
  Save(*settings);
  const std::string first = Contents(FFile);
  EXPECT_FALSE(fs::exists(FBackup)) << "nothing to keep before the first save";

  settings->General->Orientation = 0;
  Save(*settings);
  EXPECT_EQ(Contents(FBackup), first);
  EXPECT_EQ(Contents(FFile), QorvelSettingsDocument(*settings, "settings"));

  settings->ConfigurationFile->BackupMode = TQorvelSettingsBackupMode::pbmTemporary;
  Save(*settings);
  EXPECT_FALSE(fs::exists(FBackup));
}

// Another process holding the settings file open without sharing.
class TFileLocker {
 public:
  explicit TFileLocker(const fs::path& file) {
    const std::wstring suffix = std::to_wstring(GetCurrentProcessId());
    const std::wstring heldName = L"VindleTestFileHeld" + suffix, releaseName = L"VindleTestFileRelease" + suffix;
    FHeld.Reset(CreateEventW(nullptr, TRUE, FALSE, heldName.c_str()));
    FRelease.Reset(CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str()));
    FProcess = StartHelper(L"SettingsFileLocker.exe", L"\"" + file.wstring() + L"\" " + heldName + L" " + releaseName);
    if (!FProcess) return;
    FHolding = WaitUntilSet(FHeld, FProcess, 20'000);
  }
  ~TFileLocker() { Release(); }

  bool Holding() const { return FHolding; }
  void Release() {
    if (!FProcess) return;
    SetEvent(FRelease.Get());
    WaitForSingleObject(FProcess.Get(), 20'000);
    FProcess.Reset();
    FHolding = false;
  }

 private:
  TKernelHandle FHeld, FRelease, FProcess;
  bool FHolding = false;
};

std::string CannotSaveText(const fs::path& file) {
  return "Error saving settings|Settings could not be saved to " + Narrow(file.wstring()) +
         ". Probably the file is in use or write protected or there is no more space left on the drive.";
}

TEST_F(SettingsFileWin, AFileHeldByAnotherProcessIsRetriedUntilItIsFree) {
  Put(FileWith(0));
  auto settings = ProgramSettings();
  Load(*settings);
  settings->General->Orientation = 1;
  TFileLocker locker(FFile);
  ASSERT_TRUE(locker.Holding());

  // The first Retry meets the file still held; before the second the other program lets go.
  FPrompt.Answers = {true, true};
  FPrompt.BeforeAnswer = [&] {
    if (FPrompt.Asked.size() == 2) locker.Release();
  };
  Save(*settings);
  EXPECT_EQ(FPrompt.AskedTexts(), std::vector<std::string>(2, CannotSaveText(FFile)));
  EXPECT_EQ(Contents(FFile), QorvelSettingsDocument(*settings, "settings"));
  EXPECT_FALSE(fs::exists(FBackup));
}

TEST_F(SettingsFileWin, CancellingWhileAnotherProcessHoldsTheFileLosesNothing) {
  for (const auto mode : {TQorvelSettingsBackupMode::pbmNone, TQorvelSettingsBackupMode::pbmTemporary,
                          TQorvelSettingsBackupMode::pbmKeepRecent}) {
    Clear();
    Put(FileWith(1));
    auto settings = ProgramSettings();
    Load(*settings);
    settings->ConfigurationFile->BackupMode = mode;
    settings->General->Orientation = 0;
    {
      TFileLocker locker(FFile);
      ASSERT_TRUE(locker.Holding());
      FPrompt.Asked.clear();
      FPrompt.Answers = {false};
      Save(*settings);
    }
    EXPECT_EQ(FPrompt.AskedTexts(), std::vector<std::string>{CannotSaveText(FFile)});
    EXPECT_EQ(Contents(FFile), FileWith(1)) << static_cast<int>(mode);
    auto next = ProgramSettings();
    Load(*next);
    EXPECT_EQ(next->General->Orientation, 1);
  }
}

// ---- The message boxes -------------------------------------------------------------------

struct TMessageBoxSeen {
  std::wstring Text;
  bool HasOwner = true;
  std::vector<int> Buttons;
};

// Waits for the message box with `caption` on another thread, notes what it shows and
// presses `answer`.
class TMessageBoxAnswerer {
 public:
  TMessageBoxAnswerer(std::wstring caption, int answer)
      : FThread([this, caption = std::move(caption), answer] { Run(caption, answer); }) {}
  ~TMessageBoxAnswerer() {
    if (FThread.joinable()) FThread.join();
  }
  const TMessageBoxSeen& Seen() {
    if (FThread.joinable()) FThread.join();
    return FSeen;
  }
  bool Found() {
    Seen();
    return FFound;
  }

 private:
  void Run(const std::wstring& caption, int answer) {
    for (int i = 0; i < 500 && !FFound; ++i) {
      HWND box = FindWindowW(L"#32770", caption.c_str());
      if (!box || !IsWindowVisible(box)) {
        Sleep(20);
        continue;
      }
      FFound = true;
      wchar_t text[1024] = L"";
      GetDlgItemTextW(box, 0xFFFF, text, 1024);
      FSeen.Text = text;
      FSeen.HasOwner = GetWindow(box, GW_OWNER) != nullptr;
      for (const int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
        if (HWND button = GetDlgItem(box, id); button && IsWindowVisible(button)) FSeen.Buttons.push_back(id);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
    }
    if (!FFound) DismissAllBoxes();
  }

  // A box with another caption would block the test for good: answer whatever is open.
  static BOOL CALLBACK DismissBox(HWND window, LPARAM) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    if (process == GetCurrentProcessId() && std::wstring(className) == L"#32770")
      for (const int id : {IDCANCEL, IDNO, IDOK}) PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return TRUE;
  }
  static void DismissAllBoxes() { EnumWindows(DismissBox, 0); }

  TMessageBoxSeen FSeen;
  std::atomic<bool> FFound = false;
  std::thread FThread;
};

TEST(SettingsFilePrompt, RetryCancelShowsTheTextWithoutAnOwnerAndAnswersTheButton) {
  TQorvelSystemPrompt prompt;
  {
    TMessageBoxAnswerer answerer(L"Error saving settings", IDRETRY);
    EXPECT_TRUE(prompt.AskRetryCancel("Error saving settings", "Settings could not be saved to C:\\x\\Settings.xml."));
    ASSERT_TRUE(answerer.Found());
    EXPECT_EQ(answerer.Seen().Text, L"Settings could not be saved to C:\\x\\Settings.xml.");
    EXPECT_FALSE(answerer.Seen().HasOwner);
    EXPECT_EQ(answerer.Seen().Buttons, (std::vector<int>{IDCANCEL, IDRETRY}));
  }
  {
    TMessageBoxAnswerer answerer(L"Error saving settings", IDCANCEL);
    EXPECT_FALSE(prompt.AskRetryCancel("Error saving settings", "again"));
    EXPECT_TRUE(answerer.Found());
  }
}

TEST(SettingsFilePrompt, YesNoAndOkBoxesCarryTheirButtonsAndUnicodeText) {
  TQorvelSystemPrompt prompt;
  {
    TMessageBoxAnswerer answerer(L"Error loading settings in line 3", IDNO);
    EXPECT_FALSE(prompt.AskYesNo("Error loading settings in line 3", "Caf\xC3\xA9 \xE2\x82\xAC?"));
    ASSERT_TRUE(answerer.Found());
    EXPECT_EQ(answerer.Seen().Text, L"Caf\u00E9 \u20AC?");
    EXPECT_EQ(answerer.Seen().Buttons, (std::vector<int>{IDYES, IDNO}));
  }
  {
    TMessageBoxAnswerer answerer(L"Error loading settings", IDYES);
    EXPECT_TRUE(prompt.AskYesNo("Error loading settings", "Recreate?"));
    EXPECT_TRUE(answerer.Found());
  }
  {
    TMessageBoxAnswerer answerer(L"Error saving settings", IDOK);
    prompt.ShowError("Error saving settings", "Nothing to write.");
    ASSERT_TRUE(answerer.Found());
    EXPECT_EQ(answerer.Seen().Buttons, (std::vector<int>{IDOK}));
  }
}

}  // namespace
