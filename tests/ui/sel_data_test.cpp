#include <gtest/gtest.h>

#include <cstdlib>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <fstream>

#include "app/folder_chooser.h"
#include "app/ref_data.h"
#include "app/sel_data.h"
#include "store/app_settings.h"
#include "support/temp_dir.h"
#include "session/program_state.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"
#include "ui_support/year_files.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;
using testing::Child;
using testing::Click;
using testing::RecordingDialogs;
using testing::SaveTestPeriod;
using testing::TempDir;
using Texts = std::vector<std::string>;

const QColor kBlue(Qt::blue);
const QColor kSilver(192, 192, 192);

class SelDataTest : public ::testing::Test {
 protected:
  SelDataTest() : state(dir.Path()) {
    fs::create_directories(state.paths.dataDir);
    SaveStandardDailyHours(state.settings, 8.0);
    state.open.currentDataFile = File("令和8年");
    state.open.eraYear = {"令和", 8};
    testing::CreateEmptyYearFile(state.open.currentDataFile);
  }

  fs::path File(const std::string& label) const { return state.paths.dataDir / (label + "給与･賞与.dat"); }

  // Shows `screen`, runs `steps` while it is open and closes it without questions if the steps
  // left it open; Run's result.
  bool RunWith(app::TfmSelData& screen, const std::function<void()>& steps, bool returning = false) {
    testing::OnNextModal([&](QWidget*) {
      steps();
      if (screen.isVisible()) screen.done(QDialog::Rejected);
    });
    return screen.Run(returning);
  }
  bool RunWith(const std::function<void()>& steps) { return RunWith(sel, steps); }

  template <typename T>
  T* Control(const char* name) {
    return Child<T>(&sel, name);
  }
  QListWidget* List() { return Control<QListWidget>("ListBox"); }
  QColor LineColour(int period) { return List()->item(period - 1)->foreground().color(); }

  TempDir dir;
  ui::ProgramState state;
  RecordingDialogs dialogs;
  app::TfmRefData refData{state, dialogs};
  app::TfmSelData sel{state, dialogs, refData};
};

TEST_F(SelDataTest, ListsEveryYearFileAndColoursTheSavedPeriods) {
  for (const char* year : {"令和1年", "平成30年", "平成31年"}) testing::CreateEmptyYearFile(File(year));
  SaveTestPeriod(File("令和7年"), 11, "七年商事");
  SaveTestPeriod(File("令和8年"), 2, "八年商事");
  SaveTestPeriod(File("令和8年"), 13, "八年商事");
  state.options.thirdBonusName = "決算賞与";
  state.open.periodIndex = 3;

  RunWith([&] {
    auto* years = Control<QComboBox>("cbTaisyoNen");
    QStringList shown;
    for (int i = 0; i < years->count(); ++i) shown << years->itemText(i);
    EXPECT_EQ(shown, QStringList({"平成30年", "平成31年", "令和1年", "令和7年", "令和8年"}));
    EXPECT_EQ(years->currentText(), "令和8年");
    EXPECT_EQ(List()->item(14)->text(), "決算賞与");
    EXPECT_EQ(List()->item(0)->text(), "１月分給与");
    EXPECT_EQ(List()->currentRow(), 2);
    EXPECT_EQ(LineColour(2), kBlue);
    EXPECT_EQ(LineColour(3), kSilver);
    EXPECT_EQ(LineColour(13), kBlue);
    List()->setCurrentRow(1);  // the saved February shows its scheduled days and hours
    EXPECT_EQ(Control<QLineEdit>("edNissu")->text(), "20");
    EXPECT_EQ(Control<QLineEdit>("edJikan")->text(), "160:00");
    EXPECT_TRUE(Control<QGroupBox>("gbKyuyo")->isEnabled());
    EXPECT_FALSE(Control<QGroupBox>("gbSyoyo")->isEnabled());

    years->setCurrentIndex(3);
    emit years->activated(3);
    EXPECT_EQ(state.open.currentDataFile, File("令和7年"));
    EXPECT_EQ(state.open.eraYear, (EraYear{"令和", 7}));
    EXPECT_EQ(LineColour(11), kBlue);
    EXPECT_EQ(LineColour(2), kSilver);
  });
}

TEST_F(SelDataTest, LeavingAsksUnlessReturningFromTheMainWindow) {
  const std::string hint =
      "入力する給与または賞与を選択し､必要な情報を入力して下さい。\r　（詳細はF1キーを押してヘルプを参照）";
  struct Case {
    const char* name;
    double standardHours;  // DefJikanD; 0 before the company information was ever entered
    bool returning;
    Texts shown;
  } cases[] = {
      {"first start", 0, false, {hint, "初期設定を中止し、プログラムを終了して宜しいですか？"}},
      {"set up", 8, false, {"処理をする給与対象月/賞与時期の選択を中止し、プログラムを終了して宜しいですか？"}},
      {"after a return", 8, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveStandardDailyHours(state.settings, c.standardHours);
    dialogs.Clear();
    dialogs.answers = {ui::MsgAnswer::No, ui::MsgAnswer::Yes};
    app::TfmSelData screen(state, dialogs, refData);
    bool stayedAfterNo = false;
    const bool ok = RunWith(screen, [&] {
      Click(Child<QPushButton>(&screen, "bbCancel"));
      stayedAfterNo = screen.isVisible();
      if (stayedAfterNo) Click(Child<QPushButton>(&screen, "bbCancel"));
      EXPECT_FALSE(screen.isVisible());
    }, c.returning);
    EXPECT_FALSE(ok);
    EXPECT_EQ(stayedAfterNo, !c.shown.empty());
    Texts questions = dialogs.Texts();
    if (!c.shown.empty()) {
      EXPECT_EQ(questions.back(), questions[questions.size() - 2]);  // asked twice
    }
    if (!questions.empty()) questions.pop_back();
    EXPECT_EQ(questions, c.shown);
    EXPECT_FALSE(screen.RestartRequired());
  }
}

TEST_F(SelDataTest, ANewSalaryMonthNeedsDaysAndHoursCarriesOverAndPresetsMonthlyAttendance) {
  SaveTestPeriod(File("令和8年"), 4, "四月商事",
                 {testing::TestEmployee("月給太郎", "250101_090000", PayForm::Monthly, 300000),
                  testing::TestEmployee("日給花子", "250101_090001", PayForm::Daily, 10000)},
                 [](PeriodBlock& b) { b.Payment(1).Set(Sikyu::BasePay, 300000); });
  state.open.periodIndex = 5;

  const bool ok = RunWith([&] {
    Click(Control<QPushButton>("bbOk"));
    EXPECT_EQ(dialogs.Texts(), Texts{"所定労働日数と時間を入力して下さい。"});
    ASSERT_TRUE(sel.isVisible());
    testing::TypeInto(Control<QLineEdit>("edNissu"), "21");
    testing::Leave(Control<QLineEdit>("edNissu"));
    auto* hours = Control<QLineEdit>("edJikan");
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(hours, &in);
    EXPECT_EQ(hours->text(), "168:00");  // 21 days of the standard 8 hours
    Click(Control<QPushButton>("bbOk"));
  });

  ASSERT_TRUE(ok);
  const PeriodBlock& p = state.open.period;
  EXPECT_EQ(state.open.periodIndex, 5);
  EXPECT_EQ(p.company.Name(), "四月商事");
  EXPECT_EQ(p.company.PeriodDays(), 21);
  EXPECT_EQ(p.company.PeriodHours(), 168.0);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::WorkDays), 21.0);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::WorkedHours), 168.0);
  EXPECT_EQ(p.Attendance(2).Get(Kintai::WorkDays), 0.0);  // 日給 starts at 0
  EXPECT_EQ(p.Payment(1).Get(Sikyu::BasePay), 0);
  EXPECT_TRUE(sel.CompanySetUp());
  EXPECT_TRUE(sel.PeriodChosen());
}

// 2月分 → 3月分 under 当月徴収 in 東京都: the March premium month brings new health and nursing rates.
class SelDataRateChangeTest : public SelDataTest {
 protected:
  SelDataRateChangeTest() {
    state.tables.SetHealthGrades(testing::TestGradeTable());  // grade 3: 300,000; pension 3..8
    state.premiumRates.Merge({{PremiumRateItem::Health, 13, {2025, 3, 1}, 99100},
                              {PremiumRateItem::Health, 13, {2026, 3, 1}, 98500},
                              {PremiumRateItem::Nursing, 0, {2025, 3, 1}, 15900},
                              {PremiumRateItem::Nursing, 0, {2026, 3, 1}, 16200},
                              {PremiumRateItem::Pension, 0, {2017, 9, 1}, 183000}});
    EmployeeRecord graded = testing::TestEmployee("等級あり", "250101_090000", PayForm::Monthly, 300000);
    graded.SetGrade(3);
    graded.SetHealthPremium(14865);  // 4.955 % of 300,000
    graded.SetNursingPremium(2385);
    graded.SetPensionPremium(27450);
    EmployeeRecord typed = testing::TestEmployee("手入力", "250101_090001", PayForm::Monthly, 200000);
    typed.SetHealthPremium(9000);
    SaveTestPeriod(File("令和8年"), 2, "二月商事", {graded, typed}, [](PeriodBlock& b) {
      b.company.SetHealthInsurer(13);
      b.company.SetPremiumCollection(1);
      b.company.SetPayDay(25);
      b.company.SetHealthRate(4.955);
      b.company.SetNursingRate(0.795);
      b.company.SetPensionRate(9.15);
      b.company.SetEmploymentRate(0.55);
    });
    state.open.periodIndex = 3;
  }
  void ChooseMarch() {
    ASSERT_TRUE(RunWith([&] {
      testing::TypeInto(Control<QLineEdit>("edNissu"), "20");
      testing::TypeInto(Control<QLineEdit>("edJikan"), "160");
      Click(Control<QPushButton>("bbOk"));
    }));
  }
};

TEST_F(SelDataRateChangeTest, YesTakesTheNewRatesAndSetsEveryGradedEmployeesPremiumsAgain) {
  dialogs.answers = {ui::MsgAnswer::Yes};
  ChooseMarch();
  ASSERT_EQ(dialogs.Texts().size(), 2u);
  EXPECT_EQ(dialogs.Texts()[0],
            "この給与/賞与の保険料の対象月から保険料率が変わります。\r健康保険 4.955％ → 4.925％\r"
            "介護保険 0.795％ → 0.81％\r新しい保険料率にして、社員の保険料を等級表から再設定しますか？");
  EXPECT_NE(dialogs.Texts()[1].find("等級あり　3等級\r　健康保険 14865 → 14775\r　介護保険 2385 → 2430"),
            std::string::npos)
      << dialogs.Texts()[1];
  EXPECT_NE(dialogs.Texts()[1].find("手入力　等級なし（変更しません）"), std::string::npos);
  const PeriodBlock& p = state.open.period;
  EXPECT_EQ(p.company.HealthRate(), 4.925);
  EXPECT_EQ(p.company.NursingRate(), 0.81);
  EXPECT_EQ(p.Employee(1).HealthPremium(), 14775);
  EXPECT_EQ(p.Employee(1).NursingPremium(), 2430);
  EXPECT_EQ(p.Employee(1).PensionPremium(), 27450);
  EXPECT_EQ(p.Employee(2).HealthPremium(), 9000);
}

TEST_F(SelDataRateChangeTest, NoChangesNothing) {
  dialogs.answers = {ui::MsgAnswer::No};
  ChooseMarch();
  EXPECT_EQ(dialogs.Texts().size(), 1u);
  const PeriodBlock& p = state.open.period;
  EXPECT_EQ(p.company.HealthRate(), 4.955);
  EXPECT_EQ(p.Employee(1).HealthPremium(), 14865);
}

TEST_F(SelDataTest, AnEmployeeReachingFortyIsNamedAndNursingStartsOnlyAfterYes) {
  EmployeeRecord e = testing::TestEmployee("四十歳", "250101_090000", PayForm::Monthly, 300000);
  e.SetBirthDate(19861201);  // 40th 到達日 2026-11-30
  e.SetHealthSubject(true);
  e.SetGrade(3);
  state.tables.SetHealthGrades(testing::TestGradeTable());
  SaveTestPeriod(File("令和8年"), 11, "十一月商事", {e}, [](PeriodBlock& b) {
    b.company.SetPremiumCollection(1);
    b.company.SetNursingRate(0.81);
  });
  for (const auto answer : {ui::MsgAnswer::No, ui::MsgAnswer::Yes}) {
    dialogs.shown.clear();
    dialogs.answers = {answer};
    ASSERT_TRUE(RunWith([&] {
      List()->setCurrentRow(10);
      Click(Control<QPushButton>("bbOk"));
    }));
    ASSERT_EQ(dialogs.Texts().size(), 1u);
    EXPECT_EQ(dialogs.Texts()[0],
              "年齢により保険料の徴収が変わる社員がいます。\r四十歳（40歳） 介護保険：徴収する\r"
              "社員情報をこのとおりに変更しますか？");
    EXPECT_EQ(state.open.period.Employee(1).NursingCollected(), answer == ui::MsgAnswer::Yes);
  }
  EXPECT_EQ(state.open.period.Employee(1).NursingPremium(), 2430);
}

TEST_F(SelDataTest, ASavedPeriodLoadsAsItWasSaved) {
  SaveTestPeriod(File("令和8年"), 4, "四月商事",
                 {testing::TestEmployee("月給太郎", "250101_090000", PayForm::Monthly, 300000)},
                 [](PeriodBlock& b) { b.Attendance(1).Set(Kintai::WorkDays, 18.5); });
  PeriodBlock expected;
  LoadPeriod(File("令和8年"), 4, expected);
  state.open.period.company.SetName("前の期間");

  const bool ok = RunWith([&] {
    List()->setCurrentRow(3);
    Click(Control<QPushButton>("bbOk"));
  });

  ASSERT_TRUE(ok);
  EXPECT_EQ(state.open.periodIndex, 4);
  EXPECT_TRUE(state.open.period == expected);
}

TEST_F(SelDataTest, AFirstBonusCopiesTheLatestSavedMonthAndStoresThePayDateAsTyped) {
  SaveTestPeriod(File("令和8年"), 3, "三月商事");
  SaveTestPeriod(File("令和8年"), 6, "六月商事");

  const bool ok = RunWith([&] {
    List()->setCurrentRow(12);
    EXPECT_FALSE(Control<QGroupBox>("gbKyuyo")->isEnabled());
    EXPECT_TRUE(Control<QGroupBox>("gbSyoyo")->isEnabled());
    testing::TypeInto(Control<QLineEdit>("edSikyuM"), "99");
    testing::TypeInto(Control<QLineEdit>("edSikyuD"), "0");
    Click(Control<QPushButton>("bbOk"));
  });

  ASSERT_TRUE(ok);
  EXPECT_EQ(state.open.periodIndex, 13);
  EXPECT_EQ(state.open.period.company.Name(), "六月商事");
  EXPECT_EQ(state.open.header.BonusMonth(13), 99);
  EXPECT_EQ(state.open.header.BonusDay(13), 0);
}

TEST_F(SelDataTest, DeleteClearsOnlyASavedPeriod) {
  SaveTestPeriod(File("令和8年"), 4, "四月商事");

  RunWith([&] {
    List()->setCurrentRow(4);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_TRUE(dialogs.Texts().empty());  // May was never saved: nothing to ask

    List()->setCurrentRow(3);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(dialogs.Texts(), Texts{"選択されている給与/賞与のデータを削除しますか？"});
    EXPECT_EQ(LineColour(4), kSilver);
    EXPECT_EQ(Control<QLineEdit>("edNissu")->text(), " 0");
  });

  FileHeader header;
  ReadHeader(File("令和8年"), header);
  EXPECT_FALSE(header.Saved(4));
  EXPECT_TRUE(state.open.period.company.Name().empty());
}

TEST_F(SelDataTest, BackupThenRestoreEndsTheProgram) {
  SaveTestPeriod(File("令和8年"), 4, "四月商事");
  TempDir backup;
  TempDir empty;

  RunWith([&] {
    dialogs.folderToChoose = backup.Path().string() + "/";
    Control<QAction>("mnBackup")->trigger();
  });
  EXPECT_EQ(dialogs.Texts(), Texts{"指定場所にバックアップしました。"});
  // Without an earlier backup the chooser starts in the home folder (the root only without one).
  const char* home = std::getenv("HOME");
  EXPECT_EQ(dialogs.folderStartedAt, home && fs::is_directory(home) ? std::string(home) : std::string("/"));
  EXPECT_EQ(LoadBackupPath(state.settings, ""), backup.Path().string());
  EXPECT_TRUE(fs::exists(backup / "令和8年給与･賞与.dat"));
  EXPECT_TRUE(fs::exists(backup / "Saldesk.ini"));

  // The backed-up year gains a saved month; restoring brings it back.
  SaveTestPeriod(backup / "令和8年給与･賞与.dat", 5, "五月商事");
  dialogs.Clear();
  const bool ok = RunWith([&] {
    dialogs.answers = {ui::MsgAnswer::No};
    Control<QAction>("mnRestore")->trigger();  // No: nothing happens
    dialogs.folderToChoose = empty.Path().string();
    Control<QAction>("mnRestore")->trigger();  // no settings file there
    EXPECT_FALSE(sel.RestartRequired());
    dialogs.folderToChoose = backup.Path().string();
    Control<QAction>("mnRestore")->trigger();
    EXPECT_FALSE(sel.isVisible());
  });

  EXPECT_FALSE(ok);
  EXPECT_TRUE(sel.RestartRequired());
  const std::string question = "復元を行うと現在の設定内容とデータは上書きされます。";
  EXPECT_EQ(dialogs.Texts(), (Texts{question, question, "ファイルが存在しない等のエラーにより中断しました。", question,
                                    "指定された場所のデータで復元しました。\r復元を有効にする為、プログラムを終了します。"}));
  EXPECT_EQ(dialogs.folderStartedAt, backup.Path().string());
  FileHeader header;
  ReadHeader(File("令和8年"), header);
  EXPECT_TRUE(header.Saved(5));
}

// A picker that answers from a list, as a user who picks a folder that is gone and then another.
class ScriptedFolders : public RecordingDialogs {
 public:
  std::optional<std::string> ChooseFolder(std::string_view, std::string_view start) override {
    starts.emplace_back(start);
    if (folders.empty()) return std::nullopt;
    auto folder = folders.front();
    folders.pop_front();
    return folder;
  }
  std::deque<std::optional<std::string>> folders;
  std::vector<std::string> starts;
};

TEST(FolderChooserTest, ReportsAMissingPresetAndAMissingChoice) {
  TempDir program;
  TempDir target;
  ui::ProgramState state(program.Path());
  const std::string gone = (program / "gone").string();
  SaveBackupPath(state.settings, gone);
  ScriptedFolders dialogs;
  dialogs.folders = {(target / "nothing").string(), target.Path().string() + "/"};
  TempDir home;
  app::FolderChooser chooser(state, dialogs);
  chooser.homeFolder = home.Path();

  const auto chosen = chooser.Choose("データファイルのバックアップ場所を指定");

  ASSERT_TRUE(chosen);
  EXPECT_EQ(*chosen, target.Path());
  EXPECT_EQ(dialogs.Texts(), (Texts{"指定フォルダ[" + gone + "]がありません。", "指定フォルダはありません。"}));
  EXPECT_EQ(dialogs.starts, (std::vector<std::string>{home.Path().string(), home.Path().string()}));

  dialogs.Clear();
  dialogs.folders = {std::nullopt};
  EXPECT_FALSE(app::FolderChooser(state, dialogs).Choose("x"));
}

TEST(FolderChooserTest, StartsAtHomeWithoutABackupAndAtTheLastBackupFolderAfterOne) {
  TempDir program;
  TempDir home;
  TempDir last;
  ui::ProgramState state(program.Path());
  ScriptedFolders dialogs;
  app::FolderChooser chooser(state, dialogs);
  chooser.homeFolder = home.Path();
  dialogs.folders = {std::nullopt};
  EXPECT_FALSE(chooser.Choose("x"));
  SaveBackupPath(state.settings, last.Path().string());
  dialogs.folders = {std::nullopt};
  EXPECT_FALSE(chooser.Choose("x"));
  EXPECT_EQ(dialogs.starts, (std::vector<std::string>{home.Path().string(), last.Path().string()}));
  EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace paylark
