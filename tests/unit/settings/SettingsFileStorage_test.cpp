// Loading and saving the settings file over a file system that fails on request: which file
// is read, what the user is asked, and that no failure at any step loses the settings.

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

#include "settings/ApplicationSettings.h"
#include "settings/SettingsFileRules.h"
#include "ScriptedPrompt.h"
#include "SettingsFileTestSupport.h"

namespace {

using namespace SettingsFileTest;

const std::filesystem::path SettingsFile = "/appdata/Qorvel/Vindle/Settings.xml";
const std::filesystem::path BackupFile = "/appdata/Qorvel/Vindle/Settings.bak";
const std::filesystem::path TemporaryFile = "/appdata/Qorvel/Vindle/Settings.tmp";
const std::string Recreate = " Do you want to recreate a new file overriding your settings with default values?";
const std::string CannotSave =
    "Settings could not be saved to /appdata/Qorvel/Vindle/Settings.xml. Probably the file is in use or write "
    "protected or there is no more space left on the drive.";

// The process ending in the middle of a file operation.
struct TKilled {};

// Files in memory. Every operation is logged; each kind can be made to fail, and any single
// changing step (remove, rename, replace, create, write, attributes) can fail or end the
// process.
class TFakeFileSystem : public IQorvelSettingsFileSystem {
 public:
  struct TFile {
    std::string Content;
    TQorvelFileAttributes Attributes = faArchive;
  };

  std::map<std::filesystem::path, TFile> Files;
  std::vector<std::string> Log;
  std::set<std::filesystem::path> RemoveFails;
  std::set<std::filesystem::path> RenameFails;  // by source
  std::set<std::filesystem::path> OpenFails;
  int CreateFailures = 0;   // so many of the next creations fail
  int WriteFailures = 0;    // so many of the next writes stop half way
  int ReplaceFailures = 0;  // so many of the next replacements fail
  bool ApplyAttributesFails = false;

  // The changing step (counted from 0) that fails as its kind fails, or ends the process.
  enum class TFault { Fail, Kill };
  int FaultStep = -1;
  TFault FaultKind = TFault::Fail;
  int Steps = 0;

  void Put(const std::filesystem::path& name, std::string content, TQorvelFileAttributes attributes = faArchive) {
    Files[name] = {std::move(content), attributes};
  }
  bool Has(const std::filesystem::path& name) const { return Files.contains(name); }
  const std::string& Content(const std::filesystem::path& name) { return Files.at(name).Content; }

  std::optional<TQorvelFileAttributes> Attributes(const std::filesystem::path& name) override {
    if (!Has(name)) return std::nullopt;
    return Files[name].Attributes;
  }
  void ApplyAttributes(const std::filesystem::path& name, TQorvelFileAttributes attributes) override {
    Log.push_back("attributes " + Short(name) + " " + std::to_string(attributes));
    if (Faulty() || ApplyAttributesFails)
      throw EQorvelFileError("Cannot set the attributes of file " + QuotedFileName(name) + ".");
    Files.at(name).Attributes = attributes;
  }
  bool Remove(const std::filesystem::path& name) override {
    Log.push_back("remove " + Short(name));
    if (Faulty()) return false;
    if (!Has(name)) return true;
    if (RemoveFails.contains(name)) return false;
    Files.erase(name);
    return true;
  }
  bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    Log.push_back("rename " + Short(from) + " " + Short(to));
    if (Faulty() || !Has(from) || Has(to) || RenameFails.contains(from)) return false;
    Files[to] = Files[from];
    Files.erase(from);
    return true;
  }
  void Replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
    Log.push_back("replace " + Short(from) + " " + Short(to));
    if (Faulty() || ReplaceFailures > 0 || !Has(from)) {
      if (ReplaceFailures > 0) --ReplaceFailures;
      throw EQorvelFileError("Cannot replace file " + QuotedFileName(to) + ". Access is denied.");
    }
    Files[to] = Files[from];
    Files.erase(from);
  }
  std::unique_ptr<TQorvelStream> OpenForReading(const std::filesystem::path& name) override {
    Log.push_back("open " + Short(name));
    if (!Has(name) || OpenFails.contains(name))
      throw EQorvelFileError("Cannot open file " + QuotedFileName(name) + ". It is in use.");
    return std::make_unique<TQorvelMemoryStream>(Files[name].Content);
  }
  std::unique_ptr<TQorvelStream> CreateForWriting(const std::filesystem::path& name) override {
    Log.push_back("create " + Short(name));
    if (Faulty() || CreateFailures > 0) {
      --CreateFailures;
      throw EQorvelFileError("Cannot create file " + QuotedFileName(name) + ". It is in use.");
    }
    Files[name].Content.clear();  // truncated in place: the attributes stay
    return std::make_unique<TWriter>(*this, name);
  }

 private:
  class TWriter : public TQorvelStream {
   public:
    TWriter(TFakeFileSystem& owner, std::filesystem::path name) : FOwner(owner), FName(std::move(name)) {}
    std::size_t Read(void*, std::size_t) override { return 0; }
    void Write(const void* data, std::size_t count) override {
      std::string& content = FOwner.Files.at(FName).Content;
      FOwner.Log.push_back("write " + Short(FName));
      const bool faulty = FOwner.IsFaultStep();
      if (faulty || FOwner.WriteFailures > 0) {
        if (!faulty) --FOwner.WriteFailures;
        content.append(static_cast<const char*>(data), count / 2);
        if (faulty && FOwner.FaultKind == TFault::Kill) throw TKilled{};
        throw EQorvelFileError("Cannot write to file " + QuotedFileName(FName) + ". The disk is full.");
      }
      content.append(static_cast<const char*>(data), count);
    }

   private:
    TFakeFileSystem& FOwner;
    std::filesystem::path FName;
  };

  // Counts the step; answers whether it fails, and ends the process when it should.
  bool Faulty() {
    if (!IsFaultStep()) return false;
    if (FaultKind == TFault::Kill) throw TKilled{};
    return true;
  }
  bool IsFaultStep() { return Steps++ == FaultStep; }

  static std::string Short(const std::filesystem::path& name) { return name.filename().string(); }
};

constexpr bool Yes = true, No = false, Retry = true, Cancel = false;

class SettingsFileStorage : public testing::Test {
 protected:
  std::unique_ptr<TApplicationSettings> LoadedSettings() {
    auto settings = ProgramSettings();
    settings->LoadFromFile(SettingsFile, "settings", FFiles, FPrompt);
    return settings;
  }
  void Save(TApplicationSettings& settings) { settings.SaveToFile(SettingsFile, "settings", FFiles, FPrompt); }

  // A complete file whose orientation and backup mode tell it apart.
  static std::string FileWith(int orientation, const char* backupMode = "pbmTemporary") {
    return SettingsWith("  <general><orientation>" + std::to_string(orientation) +
                        "</orientation></general>\n  <configurationfile><backupmode>" + backupMode +
                        "</backupmode></configurationfile>");
  }

  TFakeFileSystem FFiles;
  TScriptedPrompt FPrompt;
};

// ---- Loading -------------------------------------------------------------------------------

TEST_F(SettingsFileStorage, WithoutAFileTheDefaultsHoldAndTheFirstSaveWritesThem) {
  auto settings = LoadedSettings();
  EXPECT_TRUE(FPrompt.Asked.empty());
  EXPECT_FALSE(settings->ReadOnly);
  EXPECT_FALSE(settings->SaveSuppressed);
  EXPECT_EQ(settings->Execution->Count(), 0);

  Save(*settings);
  EXPECT_TRUE(FPrompt.Asked.empty());
  EXPECT_EQ(FFiles.Content(SettingsFile), Document(*ProgramSettings()));
  EXPECT_NE(FFiles.Content(SettingsFile).find("<count>0</count>"), std::string::npos);
  EXPECT_FALSE(FFiles.Has(BackupFile));
}

TEST_F(SettingsFileStorage, AReadOnlyFileIsReadButNeverWritten) {
  FFiles.Put(SettingsFile, FileWith(1), faReadOnly | faArchive);
  auto settings = LoadedSettings();
  EXPECT_TRUE(settings->ReadOnly);
  EXPECT_EQ(settings->General->Orientation, 1);

  FFiles.Log.clear();
  settings->General->Orientation = 0;
  Save(*settings);
  EXPECT_TRUE(FFiles.Log.empty()) << testing::PrintToString(FFiles.Log);
  EXPECT_EQ(FFiles.Content(SettingsFile), FileWith(1));
  EXPECT_TRUE(FPrompt.Asked.empty());
}

TEST_F(SettingsFileStorage, AMalformedFileAsksWithTheLineAndNoKeepsItUntouched) {
  const std::string damaged = "<settings>\r\n<general>\r\n<orientation>1</orientation>\r\n<snaptodesktop";
  FFiles.Put(SettingsFile, damaged);
  FPrompt.Answers = {No};
  auto settings = LoadedSettings();
  ASSERT_EQ(FPrompt.Asked.size(), 1u);
  EXPECT_EQ(FPrompt.Asked[0], (TScriptedPrompt::TQuestion{"YesNo", "Error loading settings in line 4",
                                                          "XML content is not finished properly." + Recreate}));
  EXPECT_TRUE(settings->SaveSuppressed);
  EXPECT_EQ(settings->General->Orientation, 1) << "what was read before the error stays";

  FFiles.Log.clear();
  Save(*settings);
  EXPECT_TRUE(FFiles.Log.empty());
  EXPECT_EQ(FFiles.Content(SettingsFile), damaged);
}

TEST_F(SettingsFileStorage, YesReplacesADamagedFileWithWhatWasLoadedAndTheDefaults) {
  FFiles.Put(SettingsFile, SettingsWith("  <general><orientation>1</orientation><stayontop>yes</stayontop></general>"));
  FPrompt.Answers = {Yes};
  auto settings = LoadedSettings();
  ASSERT_EQ(FPrompt.Asked.size(), 1u);
  EXPECT_EQ(FPrompt.Asked[0], (TScriptedPrompt::TQuestion{"YesNo", "Error loading settings",
                                                          "Invalid property element: yes" + Recreate}));
  EXPECT_FALSE(settings->SaveSuppressed);

  Save(*settings);
  EXPECT_EQ(FFiles.Content(SettingsFile), Document(*settings));
  EXPECT_NE(FFiles.Content(SettingsFile).find("<orientation>1</orientation>"), std::string::npos);
  EXPECT_NE(FFiles.Content(SettingsFile).find("<stayontop>True</stayontop>"), std::string::npos);
}

TEST_F(SettingsFileStorage, ParseErrorsAskWithoutALineInTheCaption) {
  FFiles.Put(SettingsFile, SettingsWith("  <general>\n    <width>30</height>\n  </general>"));
  FPrompt.Answers = {No};
  LoadedSettings();
  ASSERT_EQ(FPrompt.Asked.size(), 1u);
  EXPECT_EQ(FPrompt.Asked[0],
            (TScriptedPrompt::TQuestion{"YesNo", "Error loading settings",
                                        "Error parsing settings file in line 3: </width> tag expected." + Recreate}));
}

TEST_F(SettingsFileStorage, AFileThatIsThereButCannotBeOpenedIsNotOverwrittenUnasked) {
  FFiles.Put(SettingsFile, FileWith(1));
  FFiles.OpenFails.insert(SettingsFile);
  FPrompt.Answers = {No};
  auto settings = LoadedSettings();
  ASSERT_EQ(FPrompt.Asked.size(), 1u);
  EXPECT_EQ(FPrompt.Asked[0].Caption, "Error loading settings");
  EXPECT_EQ(FPrompt.Asked[0].Text,
            "Cannot open file \"/appdata/Qorvel/Vindle/Settings.xml\". It is in use." + Recreate);
  EXPECT_TRUE(settings->SaveSuppressed);
  Save(*settings);
  EXPECT_EQ(FFiles.Content(SettingsFile), FileWith(1));
}

TEST_F(SettingsFileStorage, WithoutTheFileTheBackupOfAnInterruptedSaveIsRead) {
  FFiles.Put(BackupFile, FileWith(1));
  auto settings = LoadedSettings();
  EXPECT_TRUE(FPrompt.Asked.empty());
  EXPECT_EQ(settings->General->Orientation, 1);

  Save(*settings);
  EXPECT_EQ(FFiles.Content(SettingsFile), Document(*settings));
  EXPECT_FALSE(FFiles.Has(BackupFile)) << "the temporary backup is gone once the file is written";
}

// ---- Saving --------------------------------------------------------------------------------

TEST_F(SettingsFileStorage, TemporaryBackupIsGoneAfterASaveAndAttributesComeBack) {
  FFiles.Put(SettingsFile, FileWith(0), faHidden | faArchive);
  auto settings = LoadedSettings();
  settings->General->Orientation = 1;
  FFiles.Log.clear();
  Save(*settings);
  EXPECT_EQ(FFiles.Log,
            (std::vector<std::string>{"create Settings.tmp", "write Settings.tmp", "remove Settings.bak",
                                      "rename Settings.xml Settings.bak", "replace Settings.tmp Settings.xml",
                                      "remove Settings.bak", "attributes Settings.xml 34"}));
  EXPECT_EQ(FFiles.Content(SettingsFile), Document(*settings));
  EXPECT_EQ(FFiles.Files[SettingsFile].Attributes, faHidden | faArchive);
  EXPECT_FALSE(FFiles.Has(BackupFile));
}

TEST_F(SettingsFileStorage, KeepRecentKeepsTheVersionBeforeTheLastSave) {
  FFiles.Put(SettingsFile, FileWith(0, "pbmKeepRecent"));
  auto settings = LoadedSettings();
  settings->General->Orientation = 1;
  Save(*settings);
  const std::string first = FFiles.Content(SettingsFile);
  EXPECT_EQ(FFiles.Content(BackupFile), FileWith(0, "pbmKeepRecent"));

  settings->General->Orientation = 0;
  Save(*settings);
  EXPECT_EQ(FFiles.Content(BackupFile), first);
  EXPECT_EQ(FFiles.Content(SettingsFile), Document(*settings));
}

TEST_F(SettingsFileStorage, NoBackupReplacesTheWholeFileAndLeavesAnyBackupAlone) {
  FFiles.Put(SettingsFile, FileWith(0, "pbmNone"), faHidden);
  FFiles.Put(BackupFile, "an old backup");
  auto settings = LoadedSettings();
  FFiles.Log.clear();
  Save(*settings);
  EXPECT_EQ(FFiles.Log, (std::vector<std::string>{"create Settings.tmp", "write Settings.tmp",
                                                  "replace Settings.tmp Settings.xml", "attributes Settings.xml 2"}));
  EXPECT_EQ(FFiles.Content(BackupFile), "an old backup");
  EXPECT_EQ(FFiles.Files[SettingsFile].Attributes, faHidden);
}

TEST_F(SettingsFileStorage, AFileInUseIsRetriedAsLongAsTheUserSaysRetry) {
  FFiles.Put(SettingsFile, FileWith(0));
  auto settings = LoadedSettings();
  settings->General->Orientation = 1;
  FFiles.CreateFailures = 2;
  FPrompt.Answers = {Retry, Retry};
  Save(*settings);
  EXPECT_EQ(FPrompt.Asked,
            (std::vector<TScriptedPrompt::TQuestion>(2, {"RetryCancel", "Error saving settings", CannotSave})));
  EXPECT_EQ(FFiles.Content(SettingsFile), Document(*settings));
  EXPECT_FALSE(FFiles.Has(BackupFile));
}

TEST_F(SettingsFileStorage, CancelKeepsOrPutsBackThePreviousFile) {
  for (const auto mode : {TQorvelSettingsBackupMode::pbmNone, TQorvelSettingsBackupMode::pbmTemporary,
                          TQorvelSettingsBackupMode::pbmKeepRecent}) {
    for (const bool replaceFails : {false, true}) {
      SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(mode) << " replace fails " << replaceFails);
      FFiles.Files.clear();
      FFiles.Put(SettingsFile, FileWith(0), faHidden);
      auto settings = LoadedSettings();
      settings->ConfigurationFile->BackupMode = mode;
      settings->General->Orientation = 1;
      (replaceFails ? FFiles.ReplaceFailures : FFiles.CreateFailures) = 1;
      FPrompt.Answers = {Cancel};
      Save(*settings);
      EXPECT_EQ(FFiles.Content(SettingsFile), FileWith(0));
      EXPECT_EQ(FFiles.Files[SettingsFile].Attributes, faHidden);
      EXPECT_FALSE(FFiles.Has(BackupFile));
      EXPECT_FALSE(FFiles.Has(TemporaryFile));
    }
  }
}

TEST_F(SettingsFileStorage, AWriteThatStopsHalfWayLeavesNoHalfFileBehind) {
  for (const char* mode : {"pbmNone", "pbmTemporary", "pbmKeepRecent"}) {
    SCOPED_TRACE(mode);
    FFiles.Files.clear();
    FPrompt.Asked.clear();
    FFiles.Put(SettingsFile, FileWith(0, mode));
    auto settings = LoadedSettings();
    settings->General->Orientation = 1;
    FFiles.WriteFailures = 1;
    FPrompt.Answers = {Cancel};
    Save(*settings);
    ASSERT_EQ(FPrompt.Asked.size(), 1u);
    EXPECT_EQ(FPrompt.Asked[0].Text, CannotSave);
    EXPECT_EQ(FFiles.Content(SettingsFile), FileWith(0, mode));
    EXPECT_FALSE(FFiles.Has(TemporaryFile));

    // Retrying after a half write starts the file afresh.
    FFiles.WriteFailures = 1;
    FPrompt.Answers = {Retry};
    Save(*settings);
    EXPECT_EQ(FFiles.Content(SettingsFile), Document(*settings));
    EXPECT_FALSE(FFiles.Has(TemporaryFile));
  }
}

TEST_F(SettingsFileStorage, WhenThePreviousFileCannotGoBackTheBackupCarriesTheSettings) {
  FFiles.Put(SettingsFile, FileWith(1));
  auto settings = LoadedSettings();
  FFiles.ReplaceFailures = 1;
  FFiles.RenameFails.insert(BackupFile);
  FPrompt.Answers = {Cancel};
  Save(*settings);
  EXPECT_FALSE(FFiles.Has(SettingsFile));
  EXPECT_FALSE(FFiles.Has(TemporaryFile));
  EXPECT_EQ(FFiles.Content(BackupFile), FileWith(1));

  FFiles.RenameFails.clear();
  auto next = LoadedSettings();
  EXPECT_EQ(next->General->Orientation, 1);
  EXPECT_EQ(WalkWithoutCount(*next), WalkWithoutCount(*settings));
}

TEST_F(SettingsFileStorage, AFileThatCannotBePutAsideIsReplacedAnyway) {
  FFiles.Put(SettingsFile, FileWith(0));
  FFiles.Put(BackupFile, "locked backup");
  FFiles.RemoveFails.insert(BackupFile);
  auto settings = LoadedSettings();
  settings->General->Orientation = 1;
  Save(*settings);
  EXPECT_EQ(FFiles.Content(SettingsFile), Document(*settings));
  EXPECT_EQ(FFiles.Content(BackupFile), "locked backup");
  EXPECT_TRUE(FPrompt.Asked.empty());
}

TEST_F(SettingsFileStorage, AttributesThatCannotBeRestoredAreReportedAfterTheSettingsAreSafe) {
  FFiles.Put(SettingsFile, FileWith(0), faHidden);
  auto settings = LoadedSettings();
  FFiles.ApplyAttributesFails = true;
  Save(*settings);
  EXPECT_EQ(FPrompt.Asked, (std::vector<TScriptedPrompt::TQuestion>{
                               {"OK", "Error saving settings",
                                "Cannot set the attributes of file \"/appdata/Qorvel/Vindle/Settings.xml\"."}}));
  EXPECT_EQ(FFiles.Content(SettingsFile), Document(*settings));
  EXPECT_FALSE(FFiles.Has(BackupFile));
}

// Every changing step of a save fails once (and the user cancels or retries) or ends the
// process: the next start reads the previous settings or the new ones, complete, and asks
// nothing; a retry always ends with the new ones.
TEST_F(SettingsFileStorage, NoFailureOrEndAtAnyStepOfASaveLosesTheSettings) {
  enum class TReaction { Cancel, Retry, Killed };
  for (const char* mode : {"pbmNone", "pbmTemporary", "pbmKeepRecent"}) {
    // The steps of a save that fails nowhere.
    FFiles.Files.clear();
    FFiles.Put(SettingsFile, FileWith(1, mode), faHidden);
    auto previous = LoadedSettings();
    FFiles.Steps = 0;
    Save(*previous);
    const int steps = FFiles.Steps;
    ASSERT_GE(steps, 4);

    for (int step = 0; step < steps; ++step) {
      for (const TReaction reaction : {TReaction::Cancel, TReaction::Retry, TReaction::Killed}) {
        SCOPED_TRACE(testing::Message() << mode << " step " << step << " reaction " << static_cast<int>(reaction));
        FFiles.Files.clear();
        FFiles.Put(SettingsFile, FileWith(1, mode), faHidden);
        FPrompt = {};
        auto before = LoadedSettings();
        auto settings = LoadedSettings();
        settings->Parameters->PixelsPerInch = 120;

        FFiles.Steps = 0;
        FFiles.FaultStep = step;
        FFiles.FaultKind =
            reaction == TReaction::Killed ? TFakeFileSystem::TFault::Kill : TFakeFileSystem::TFault::Fail;
        FPrompt.Answers = {reaction == TReaction::Retry ? Retry : Cancel};
        if (reaction == TReaction::Killed) {
          EXPECT_THROW(Save(*settings), TKilled);
        } else {
          Save(*settings);
        }
        FFiles.FaultStep = -1;

        FPrompt = {};
        auto next = LoadedSettings();
        EXPECT_TRUE(FPrompt.Asked.empty()) << testing::PrintToString(FPrompt.Asked);
        const auto loaded = WalkWithoutCount(*next);
        if (reaction == TReaction::Retry) {
          EXPECT_EQ(loaded, WalkWithoutCount(*settings));
        } else {
          EXPECT_TRUE(loaded == WalkWithoutCount(*settings) || loaded == WalkWithoutCount(*before))
              << testing::PrintToString(FFiles.Log);
        }
        if (reaction != TReaction::Killed) {
          EXPECT_FALSE(FFiles.Has(TemporaryFile));
        }
      }
    }
  }
}

TEST_F(SettingsFileStorage, SuppressedOrReadOnlySettingsTouchNothing) {
  auto settings = LoadedSettings();
  settings->SaveSuppressed = true;
  Save(*settings);
  settings->SaveSuppressed = false;
  settings->ReadOnly = true;
  Save(*settings);
  EXPECT_TRUE(FFiles.Files.empty());
}

// A tree whose writing fails half way.
class TUnwritableSettings : public TQorvelTypicalApplicationSettings {
 public:
  using TQorvelTypicalApplicationSettings::TQorvelTypicalApplicationSettings;
  static const TQorvelSettingsClass& StaticClass() {
    static const TQorvelSettingsClass cls("TUnwritableSettings", &TQorvelTypicalApplicationSettings::StaticClass(),
                                          &TQorvelSettingsClass::Instantiate<TUnwritableSettings>, {});
    return cls;
  }
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }
  void WriteCustomElements(TQorvelSettingsWriter&) override { throw EQorvelSettingsError("Nothing to write."); }
};

TEST_F(SettingsFileStorage, AnErrorWhileWritingIsShownAndTouchesNoFile) {
  for (const auto mode : {TQorvelSettingsBackupMode::pbmNone, TQorvelSettingsBackupMode::pbmTemporary}) {
    FFiles.Put(SettingsFile, "previous");
    FPrompt.Asked.clear();
    auto settings = TQorvelSettings::Create<TUnwritableSettings>();
    settings->ConfigurationFile->BackupMode = mode;
    settings->SaveToFile(SettingsFile, "settings", FFiles, FPrompt);
    EXPECT_EQ(FPrompt.Asked,
              (std::vector<TScriptedPrompt::TQuestion>{{"OK", "Error saving settings", "Nothing to write."}}));
    EXPECT_EQ(FFiles.Content(SettingsFile), "previous");
    EXPECT_FALSE(FFiles.Has(BackupFile));
  }
}

TEST(SettingsFileBackupName, ReplacesTheExtension) {
  EXPECT_EQ(QorvelSettingsBackupName("/a/Settings.xml"), std::filesystem::path("/a/Settings.bak"));
  EXPECT_EQ(QorvelSettingsBackupName("/a.b/Vindle"), std::filesystem::path("/a.b/Vindle.bak"));
  EXPECT_EQ(QorvelSettingsBackupName("/a/Vindle.portable.xml"), std::filesystem::path("/a/Vindle.portable.bak"));
}

}  // namespace
