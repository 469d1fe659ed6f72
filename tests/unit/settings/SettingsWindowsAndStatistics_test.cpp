#include <gtest/gtest.h>

#include <ctime>
#include <limits>
#include <vector>

#include "settings/ApplicationSettings.h"
#include "settings/QorvelSettings.h"

namespace {

// A form with a frame: the client area is 16 pixels narrower and 39 pixels lower.
class TFakeForm : public IQorvelForm {
 public:
  static constexpr int FrameWidth = 16, FrameHeight = 39;

  TFakeForm(int left, int top, int width, int height) : FLeft(left), FTop(top), FWidth(width), FHeight(height) {}

  int Left() const override { return FLeft; }
  void SetLeft(int value) override { FLeft = value; }
  int Top() const override { return FTop; }
  void SetTop(int value) override { FTop = value; }
  int Width() const override { return FWidth; }
  void SetWidth(int value) override { FWidth = value; }
  int Height() const override { return FHeight; }
  void SetHeight(int value) override { FHeight = value; }
  int ClientWidth() const override { return FWidth - FrameWidth; }
  void SetClientWidth(int value) override { FWidth = value + FrameWidth; }
  int ClientHeight() const override { return FHeight - FrameHeight; }
  void SetClientHeight(int value) override { FHeight = value + FrameHeight; }
  TWindowState WindowState() const override { return FState; }
  void SetWindowState(TWindowState value) override { FState = value; }

  TRect Bounds() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }

 private:
  int FLeft, FTop, FWidth, FHeight;
  TWindowState FState = TWindowState::wsNormal;
};

const std::vector<TRect> OneMonitor{{0, 0, 1920, 1040}};
const std::vector<TRect> TwoMonitors{{0, 0, 1000, 800}, {1000, 0, 2000, 800}};

// ---------------------------------------------------------------------------------------
// Fitting forms onto monitors

TEST(FitFormToMonitors, MovesAFormBackOverTheRightEdge) {
  // 10 pixels beyond the right edge of the work area.
  EXPECT_EQ(FitFormToMonitors(TRect{1630, 100, 1930, 300}, OneMonitor), (TRect{1620, 100, 1920, 300}));
}

TEST(FitFormToMonitors, MovesOnEachAxisIndependently) {
  EXPECT_EQ(FitFormToMonitors(TRect{-50, 1000, 250, 1100}, OneMonitor), (TRect{0, 940, 300, 1040}));
  EXPECT_EQ(FitFormToMonitors(TRect{100, -5, 400, 95}, OneMonitor), (TRect{100, 0, 400, 100}));
}

TEST(FitFormToMonitors, LeavesAFormThatTheMonitorsShowTogether) {
  const TRect straddling{900, 100, 1100, 300};
  EXPECT_EQ(FitFormToMonitors(straddling, TwoMonitors), straddling);
  const TRect inside{10, 10, 110, 110};
  EXPECT_EQ(FitFormToMonitors(inside, OneMonitor), inside);
  const TRect exactly{0, 0, 1920, 1040};
  EXPECT_EQ(FitFormToMonitors(exactly, OneMonitor), exactly);
}

TEST(FitFormToMonitors, PrefersTheMonitorShowingMostAndTheEarlierOnATie) {
  // 100 x 50 on each monitor, the rest above the screens: a tie goes to the first.
  EXPECT_EQ(FitFormToMonitors(TRect{900, -50, 1100, 50}, TwoMonitors), (TRect{800, 0, 1000, 100}));
  // More of it on the second monitor.
  EXPECT_EQ(FitFormToMonitors(TRect{950, -50, 1150, 50}, TwoMonitors), (TRect{1000, 0, 1200, 100}));
}

TEST(FitFormToMonitors, AFormOffAllMonitorsGoesToTheFirst) {
  EXPECT_EQ(FitFormToMonitors(TRect{5000, 5000, 5100, 5100}, TwoMonitors), (TRect{900, 700, 1000, 800}));
  // Touching an edge is not being on a monitor.
  EXPECT_EQ(FitFormToMonitors(TRect{2000, 100, 2100, 200}, TwoMonitors), (TRect{900, 100, 1000, 200}));
}

TEST(FitFormToMonitors, NeverChangesTheSize) {
  // Wider than the work area: aligned with its left edge.
  EXPECT_EQ(FitFormToMonitors(TRect{-100, 0, 2100, 100}, OneMonitor), (TRect{0, 0, 2200, 100}));
}

TEST(FitFormToMonitors, WithoutMonitorsNothingMoves) {
  const TRect form{-500, -500, -400, -400};
  EXPECT_EQ(FitFormToMonitors(form, std::vector<TRect>{}), form);
}

TEST(FitFormToMonitors, MovesARealForm) {
  TFakeForm form(1630, 100, 300, 200);
  FitFormToMonitors(form, OneMonitor);
  EXPECT_EQ(form.Bounds(), (TRect{1620, 100, 1920, 300}));
}

// ---------------------------------------------------------------------------------------
// The window list

class WindowList : public ::testing::Test {
 protected:
  std::unique_ptr<TApplicationSettings> Settings = TQorvelSettings::Create<TApplicationSettings>();
  TQorvelWindowListSettings& List = *Settings->Window;

  std::string ErrorOf(void (*action)(TQorvelWindowListSettings&)) {
    try {
      action(List);
    } catch (const EQorvelSettingsError& error) {
      return error.what();
    }
    return "(no error)";
  }
};

TEST_F(WindowList, DefinesEachNameOnceInDefinitionOrder) {
  TQorvelWindowSettings& picker = List.DefineWindow("colorpicker", pwoFitToMonitor);
  TQorvelWindowSettings& cursor = List.DefineWindow("cursorcoordinates", pwoFitToMonitor);
  EXPECT_EQ(&List.DefineWindow("ColorPicker", pwoSize), &picker);
  EXPECT_EQ(picker.Options, pwoFitToMonitor) << "a second definition changes nothing";
  EXPECT_EQ(List.WindowCount(), 2);
  EXPECT_EQ(List.WindowName(0), "colorpicker");
  EXPECT_EQ(List.Window(1), &cursor);
  EXPECT_EQ(List.WindowNamed("CURSORCOORDINATES"), &cursor);
  EXPECT_EQ(List.Children(), (std::vector<TQorvelSettings*>{&picker, &cursor}));
  EXPECT_FALSE(picker.Loaded);
  EXPECT_NE(picker.Position, nullptr);
  EXPECT_NE(picker.Size, nullptr);
}

TEST_F(WindowList, StoresOnlyWhatTheOptionsAsk) {
  TQorvelWindowSettings& plain = List.DefineWindow("colorpicker", pwoFitToMonitor);
  const TQorvelSettingsClass& cls = TQorvelWindowSettings::StaticClass();
  EXPECT_TRUE(cls.FindProperty("Position")->IsStored(plain));
  EXPECT_FALSE(cls.FindProperty("Size")->IsStored(plain));
  EXPECT_FALSE(cls.FindProperty("State")->IsStored(plain));

  TQorvelWindowSettings& full = List.DefineWindow("editor", pwoSize | pwoState);
  EXPECT_TRUE(cls.FindProperty("Size")->IsStored(full));
  EXPECT_TRUE(cls.FindProperty("State")->IsStored(full));
  full.State = TWindowState::wsMinimized;
  EXPECT_FALSE(cls.FindProperty("State")->IsStored(full)) << "a minimized state is never stored";
  full.State = TWindowState::wsMaximized;
  EXPECT_TRUE(cls.FindProperty("State")->IsStored(full));
}

TEST_F(WindowList, UndefinedNamesAreReported) {
  EXPECT_EQ(ErrorOf([](TQorvelWindowListSettings& list) {
              TFakeForm form(0, 0, 10, 10);
              list.RestoreWindow("colorpicker", form, OneMonitor);
            }),
            "colorpicker has to be defined before restoring a form with this name.");
  EXPECT_EQ(ErrorOf([](TQorvelWindowListSettings& list) {
              TFakeForm form(0, 0, 10, 10);
              list.RetainWindow("cursorcoordinates", form);
            }),
            "cursorcoordinates has to be defined before retaining a form with this name.");
}

TEST_F(WindowList, RestoringAWindowNeverLoadedChangesNothing) {
  TQorvelWindowSettings& window = List.DefineWindow("colorpicker", pwoSize | pwoState | pwoFitToMonitor);
  window.Position->X = 5000;
  window.Size->X = 10;
  window.Size->Y = 10;
  TFakeForm form(100, 100, 300, 200);
  EXPECT_FALSE(List.RestoreWindow("colorpicker", form, OneMonitor));
  EXPECT_EQ(form.Bounds(), (TRect{100, 100, 400, 300}));
}

TEST_F(WindowList, RestoresClientOrOuterSizeThenPositionAndState) {
  TQorvelWindowSettings& client = List.DefineWindow("client", pwoClientSize | pwoSize | pwoState);
  client.Loaded = true;
  client.Position->X = 40;
  client.Position->Y = 50;
  client.Size->X = 200;
  client.Size->Y = 100;
  client.State = TWindowState::wsMaximized;
  TFakeForm form(0, 0, 10, 10);
  EXPECT_TRUE(List.RestoreWindow("client", form, OneMonitor));
  EXPECT_EQ(form.Bounds(), (TRect{40, 50, 40 + 200 + TFakeForm::FrameWidth, 50 + 100 + TFakeForm::FrameHeight}));
  EXPECT_EQ(form.WindowState(), TWindowState::wsMaximized);

  TQorvelWindowSettings& outer = List.DefineWindow("outer", pwoSize);
  outer.Loaded = true;
  outer.Size->X = 200;
  outer.Size->Y = 100;
  outer.State = TWindowState::wsMaximized;
  TFakeForm second(0, 0, 10, 10);
  EXPECT_TRUE(List.RestoreWindow("outer", second, OneMonitor));
  EXPECT_EQ(second.Bounds(), (TRect{0, 0, 200, 100}));
  EXPECT_EQ(second.WindowState(), TWindowState::wsNormal) << "state only with pwoState";
}

TEST_F(WindowList, RestoringKeepsTheFormsSizeWithoutAStoredOne) {
  TQorvelWindowSettings& window = List.DefineWindow("sized", pwoSize);
  window.Loaded = true;
  window.Position->X = 30;
  window.Size->X = 250;  // Y stays 0: no usable size
  TFakeForm form(0, 0, 120, 80);
  List.RestoreWindow("sized", form, OneMonitor);
  EXPECT_EQ(form.Bounds(), (TRect{30, 0, 150, 80}));
}

TEST_F(WindowList, RestoringFitsTheFormOntoAMonitorWhenAsked) {
  TQorvelWindowSettings& fitted = List.DefineWindow("colorpicker", pwoFitToMonitor);
  fitted.Loaded = true;
  fitted.Position->X = 1900;  // from a wider screen that is gone now
  fitted.Position->Y = 500;
  TFakeForm form(0, 0, 300, 200);
  List.RestoreWindow("colorpicker", form, OneMonitor);
  EXPECT_EQ(form.Bounds(), (TRect{1620, 500, 1920, 700}));

  TQorvelWindowSettings& free = List.DefineWindow("free", 0);
  free.Loaded = true;
  free.Position->X = 1900;
  TFakeForm other(0, 0, 300, 200);
  List.RestoreWindow("free", other, OneMonitor);
  EXPECT_EQ(other.Left(), 1900);
}

TEST_F(WindowList, RetainsPositionAndSizeOfANormalForm) {
  TQorvelWindowSettings& client = List.DefineWindow("client", pwoClientSize | pwoSize);
  TQorvelWindowSettings& outer = List.DefineWindow("outer", pwoSize);
  const TFakeForm form(12, 34, 316, 239);
  List.RetainWindow("client", form);
  List.RetainWindow("outer", form);
  EXPECT_EQ(client.Position->X, 12);
  EXPECT_EQ(client.Position->Y, 34);
  EXPECT_EQ(client.Size->X, 300);
  EXPECT_EQ(client.Size->Y, 200);
  EXPECT_EQ(outer.Size->X, 316);
  EXPECT_EQ(outer.Size->Y, 239);
  EXPECT_EQ(outer.State, TWindowState::wsNormal);
}

TEST_F(WindowList, RetainingAMinimizedFormKeepsTheLastNormalPlacement) {
  TQorvelWindowSettings& window = List.DefineWindow("main", pwoSize | pwoState);
  TFakeForm form(100, 200, 300, 400);
  List.RetainWindow("main", form);

  form.SetWindowState(TWindowState::wsMinimized);
  form.SetLeft(-32000);
  form.SetTop(-32000);
  form.SetWidth(160);
  List.RetainWindow("main", form);
  EXPECT_EQ(window.State, TWindowState::wsMinimized);
  EXPECT_EQ(window.Position->X, 100);
  EXPECT_EQ(window.Position->Y, 200);
  EXPECT_EQ(window.Size->X, 300);
  EXPECT_FALSE(TQorvelWindowSettings::StaticClass().FindProperty("State")->IsStored(window));
}

// ---------------------------------------------------------------------------------------
// Usage statistics

class ExecutionStatistics : public ::testing::Test {
 protected:
  void SetUp() override {
    Execution->SetClock([this] { return Now; });
  }

  TDateTime Now = 45000.25;  // a quarter past midnight, some day in 2023
  std::unique_ptr<TQorvelExecutionSettings> Execution = TQorvelSettings::Create<TQorvelExecutionSettings>();
};

TEST_F(ExecutionStatistics, CountIsWrittenOncePerProcessAndCountsThisRun) {
  EXPECT_EQ(Execution->Count(), 0);
  Execution->SetCount(7);
  EXPECT_EQ(Execution->Count(), 8);
  Execution->SetCount(3);
  EXPECT_EQ(Execution->Count(), 8);
  // The same through the property table, as the settings file does it.
  Execution->PropertyByName("count").SetOrdinal(*Execution, 100);
  EXPECT_EQ(Execution->PropertyByName("Count").GetOrdinal(*Execution), 8);
}

TEST_F(ExecutionStatistics, CountDoesNotOverflow) {
  Execution->SetCount(INT32_MAX);
  EXPECT_EQ(Execution->Count(), INT32_MAX);
}

TEST_F(ExecutionStatistics, OverallTimeKeepsGrowingAfterItWasSet) {
  EXPECT_EQ(Execution->StartTime(), 45000.25);
  Now += 5 * OneSecond;
  Execution->SetOverallTime(1.0);
  EXPECT_DOUBLE_EQ(Execution->OverallTime(), 1.0);
  Now += 10 * OneSecond;
  EXPECT_NEAR(Execution->OverallTime(), 1.0 + 10 * OneSecond, 1e-9);
  EXPECT_NEAR(Execution->ElapsedTime(), 15 * OneSecond, 1e-9);
  const TQorvelPropertyInfo& overall = Execution->PropertyByName("OverallTime");
  EXPECT_NEAR(overall.GetFloat(*Execution), 1.0 + 10 * OneSecond, 1e-9);
  overall.SetFloat(*Execution, 2.0);
  Now += 60 * OneSecond;
  EXPECT_NEAR(Execution->OverallTime(), 2.0 + 60 * OneSecond, 1e-9);
}

TEST_F(ExecutionStatistics, OverallTimeIgnoresValuesThatAreNoNumbers) {
  Execution->SetOverallTime(3.0);
  Execution->SetOverallTime(std::numeric_limits<double>::quiet_NaN());
  Execution->SetOverallTime(std::numeric_limits<double>::infinity());
  EXPECT_DOUBLE_EQ(Execution->OverallTime(), 3.0);
}

TEST(ExecutionClock, LocalNowIsTodayInDaysSince1899) {
  // Local time lies within a day of UTC; 25569 is 1970-01-01.
  const double utcDays = 25569.0 + static_cast<double>(std::time(nullptr)) / 86400.0;
  EXPECT_NEAR(QorvelLocalNow(), utcDays, 1.0);
  auto execution = TQorvelSettings::Create<TQorvelExecutionSettings>();
  EXPECT_NEAR(execution->StartTime(), utcDays, 1.0);
  EXPECT_NEAR(execution->ElapsedTime(), 0.0, 60 * OneSecond);
  EXPECT_THROW(execution->SetClock(nullptr), EQorvelSettingsError);
}

TEST(ConfigurationFile, BackupModeDefaultsToTemporary) {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  EXPECT_EQ(settings->ConfigurationFile->BackupMode, TQorvelSettingsBackupMode::pbmTemporary);
  const TQorvelPropertyInfo& mode = settings->ConfigurationFile->PropertyByName("BackupMode");
  EXPECT_EQ(mode.EnumType->IdentifierOf(2), "pbmKeepRecent");
  EXPECT_EQ(mode.EnumType->OrdinalOf("PBMNONE"), 0);
  EXPECT_EQ(mode.EnumType->OrdinalOf("pbmSometimes"), -1);
}

}  // namespace
