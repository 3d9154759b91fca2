// TfmMain offscreen: the payroll sheet of a saved July with a retired employee in slot 1 and one
// employee of each pay form behind it, June's paid-leave balance in the same yearly file, and
// fake screens.
#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "app/main_window.h"
#include "app/sheet_grid.h"
#include "entry/display_format.h"
#include "calc/income_tax.h"
#include "calc/salary.h"
#include "store/app_settings.h"
#include "store/item_settings.h"
#include "store/year_file.h"
#include "support/payroll_fixture.h"
#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark::app {
namespace {

using testing::Child;
using testing::RecordingDialogs;
using ui::MsgAnswer;
using ui::MsgButtons;

constexpr int kJuly = 7;
constexpr int kSummerBonus = 13;
const std::string kChangedQuestion = "データが変更されています。保存しますか？";
const std::string kQuitQuestion = "プログラムを終了しますか？";

// Rows of the sheet with the shipped salary lists and 変動手当１ (named 皆勤手当) for 月給.
enum SheetRowNumber {
  kWorkDays = 1, kPaidLeave = 2, kAbsence = 3, kSpecialLeave = 4, kWorkedHours = 5, kOvertime = 6,
  kLateCount = 9, kPaidLeaveBalance = 11, kAllowance = 12,
};

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : state(dir.Path()) {
    std::filesystem::create_directories(state.paths.dataDir);
    state.open.eraYear = {"令和", 7};
    state.open.currentDataFile = state.paths.dataDir / YearFileName(state.open.eraYear);
    CreateYearFile(state.open.currentDataFile, state.open);
    // The tax tables a recalculation needs (without them it reports every tax it cannot compute).
    state.tables.SetMonthly(testing::TestMonthlyTable());
    state.tables.SetBonus(testing::TestBonusTable());
    state.tables.SetHealthGrades(testing::TestGradeTable());
    state.options.itemNames[static_cast<int>(UserItem::VariableAllowance1)] = "皆勤手当";
    ItemSettings salary = DefaultItemSettings(ItemKind::Salary);
    salary.Block(ItemBlock::Sikyu)[14].flags = {true, false, false};
    SaveItemSettings(state.settings, salary, state.options);

    screens.detailEntry = [this](int slot) {
      detailSlots.push_back(slot);
      return true;
    };
    screens.employeeList = [this](screens::MembListMode mode) {
      listModes.push_back(static_cast<int>(mode));
      return true;
    };
    screens.periodSelection = [this](bool returning) {
      selectionCalls.push_back(returning);
      return selectionAnswer;
    };
  }

  // June (balance 10 for the monthly employee) and July saved; July open.
  void SaveJuneAndJuly(bool withEmployees = true) {
    PeriodBlock& p = state.Period();
    p.Clear();
    p.company = testing::TestCompany();
    if (withEmployees) {
      p.Employee(1) = testing::TestEmployee("退職　太郎", "250101_000001", PayForm::Monthly, 250000);
      p.Employee(1).SetRetirementDate("250531");
      p.Employee(2) = testing::TestEmployee("月給　一郎", "250101_000002", PayForm::Monthly, 300000);
      p.Employee(3) = testing::TestEmployee("日給　花子", "250101_000003", PayForm::Daily, 10000);
      p.Employee(4) = testing::TestEmployee("時給　次郎", "250101_000004", PayForm::Hourly, 1200);
      p.Attendance(2).Set(Kintai::WorkDays, 20);
      p.Attendance(2).Set(Kintai::WorkedHours, 160);
    }
    state.open.periodIndex = 6;
    p.Attendance(2).Set(Kintai::PaidLeaveBalance, 10);
    SavePeriod(state.open.currentDataFile, state.open);
    state.open.periodIndex = kJuly;
    p.Attendance(2).Set(Kintai::PaidLeaveBalance, 0);
    SavePeriod(state.open.currentDataFile, state.open);
  }

  // The window as the start-up leaves it: shown, period activated, start-up over.
  TfmMain& Open() {
    window = std::make_unique<TfmMain>(state, dialogs, screens, nullptr, [this] { return mailTransport; });
    EXPECT_TRUE(testing::ShowActive(window.get()));
    EXPECT_TRUE(window->ActivatePeriod());
    window->SetStartupInProgress(false);
    QTest::qWait(150);  // the first cell is selected after 100 ms
    dialogs.Clear();
    return *window;
  }

  SheetGrid& Grid() { return *window->Grid(); }
  std::string Cell(int column, int row) { return Grid().Cell(column, row).toStdString(); }

  // Types into a cell's editor as the user does and leaves the cell for another one.
  void Type(int column, int row, const char* text, int leaveTo = kSpecialLeave) {
    window->SelectCell(column, row);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "no cell editor open";
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClicks(editor, QString::fromUtf8(text));
    window->SelectCell(column, leaveTo);
  }

  testing::TempDir dir;
  ui::ProgramState state;
  RecordingDialogs dialogs;
  ShellScreens screens;
  std::unique_ptr<TfmMain> window;
  bool mailTransport = false;
  bool selectionAnswer = false;
  std::vector<int> detailSlots;
  std::vector<int> listModes;
  std::vector<bool> selectionCalls;
};

TEST_F(MainWindowTest, SheetShowsActiveEmployeesInColumnsAndVariableItemsInRows) {
  SaveJuneAndJuly();
  TfmMain& w = Open();
  EXPECT_EQ(Child<QLabel>(&w, "lbTaisyoNen")->text(), "令和7年7月分給与");
  EXPECT_EQ(Child<QLabel>(&w, "lbCorpName")->text(), "テスト商事株式会社");
  EXPECT_EQ(Child<QLabel>(&w, "lbKihonH")->text(), "所定労働時間： 160.00時間");
  EXPECT_EQ(Child<QLabel>(&w, "Label1")->text(), "氏名をクリックすると明細入力画面になります");

  EXPECT_EQ(Grid().columnCount() + 1, 31);
  EXPECT_EQ(Grid().RowCount(), 16);  // the name row, 12 input rows and the 3 result rows
  EXPECT_EQ(Cell(1, 0), "月給　一郎") << "the retired employee of slot 1 has no column";
  EXPECT_EQ(Cell(2, 0), "日給　花子");
  EXPECT_EQ(Cell(3, 0), "時給　次郎");
  EXPECT_EQ(Cell(4, 0), "");
  EXPECT_EQ(w.ColumnSlot(1), 2);
  EXPECT_EQ(Cell(0, kAllowance), "皆勤手当");
  EXPECT_EQ(Cell(1, kWorkDays), " 20.00");
  EXPECT_EQ(Cell(1, kWorkedHours), "160:00");
  EXPECT_EQ(Cell(1, kAllowance), "      0");
  EXPECT_EQ(Cell(4, kWorkDays), "");
  EXPECT_EQ(Grid().CurrentColumn(), 1);
  EXPECT_EQ(Grid().CurrentRow(), 1);

  // 欠勤日数 is fixed for 日給 and 時間給, 遅刻早退回数 for 時間給.
  auto editable = [this](int column, int row) {
    return (Grid().item(row - 1, column - 1)->flags() & Qt::ItemIsEditable) != 0;
  };
  EXPECT_TRUE(editable(1, kAbsence));
  EXPECT_FALSE(editable(2, kAbsence));
  EXPECT_TRUE(editable(2, kLateCount));
  EXPECT_FALSE(editable(3, kLateCount));
  EXPECT_FALSE(editable(4, kWorkDays)) << "no employee";
  EXPECT_FALSE(Grid().cellVariable(2, kAbsence));
  EXPECT_TRUE(Grid().cellVariable(4, kAbsence));
  EXPECT_EQ(Grid().verticalHeader()->width(), 100);
  EXPECT_EQ(Grid().horizontalHeader()->sectionSize(0), 100);
  EXPECT_EQ(Grid().verticalHeader()->sectionSize(0), 24);
}

TEST_F(MainWindowTest, EnterSkipsFixedRowsAndTypingIsFilteredByRow) {
  SaveJuneAndJuly();
  TfmMain& w = Open();
  w.SelectCell(2, kPaidLeave);  // 日給
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(Grid().CurrentRow(), kSpecialLeave) << "欠勤日数 is skipped for 日給";
  w.SelectCell(2, kPaidLeaveBalance);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(Grid().CurrentRow(), kWorkDays) << "wraps to row 1 past the fixed allowance row";

  w.SelectCell(1, kWorkedHours);
  QWidget* editor = QApplication::focusWidget();
  qobject_cast<QLineEdit*>(editor)->clear();
  QTest::keyClicks(editor, "1a:3,0");
  EXPECT_EQ(qobject_cast<QLineEdit*>(editor)->text(), "1:30");
  EXPECT_EQ(dialogs.beeps, 2);
  w.SelectCell(1, kAllowance);
  editor = QApplication::focusWidget();
  qobject_cast<QLineEdit*>(editor)->clear();
  QTest::keyClicks(editor, "1.5");
  EXPECT_EQ(qobject_cast<QLineEdit*>(editor)->text(), "15") << "no point in an amount";
  EXPECT_EQ(dialogs.beeps, 3);
}

TEST_F(MainWindowTest, LeavingACellCommitsItWithTheDayLimit) {
  SaveJuneAndJuly();
  Open();
  Type(1, kWorkDays, "32");
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"日数の入力は31までです。"});
  EXPECT_EQ(Cell(1, kWorkDays), "  0.00");
  Type(1, kOvertime, "2:15");
  EXPECT_EQ(Cell(1, kOvertime), "  2:15");
  // A column without an employee takes nothing.
  window->SelectCell(4, kWorkDays);
  Grid().SetCell(4, kWorkDays, "5");
  window->SelectCell(4, kPaidLeave);
  EXPECT_EQ(Cell(4, kWorkDays), "5");
}

TEST_F(MainWindowTest, PaidLeaveTakenCarriesJunesBalanceIntoAnEmptyBalance) {
  SaveJuneAndJuly();
  Open();
  Type(1, kPaidLeave, "2");
  EXPECT_EQ(Cell(1, kPaidLeaveBalance), "  8.00");

  Grid().SetCell(1, kPaidLeaveBalance, "  3.00");
  Type(1, kPaidLeave, "1");
  EXPECT_EQ(Cell(1, kPaidLeaveBalance), "  3.00") << "an entered balance stays";
}

TEST_F(MainWindowTest, SaveWritesThePeriodAndShowsTheNotice) {
  SaveJuneAndJuly();
  Open();
  Type(1, kAllowance, "5000");
  ASSERT_TRUE(window->SaveData());
  EXPECT_EQ(dialogs.notices, std::vector<std::string>{"データファイルに保存しました。"});
  EXPECT_EQ(dialogs.noticeMilliseconds, 1500);
  auto file = std::make_unique<PeriodBlock>();
  ReadBlock(state.open.currentDataFile, kJuly, *file);
  EXPECT_EQ(file->Payment(2).Get(Sikyu::VariableAllowance1), 5000);
  EXPECT_EQ(file->Payment(2).Get(Sikyu::BasePay), 300000);
  FileHeader header;
  ReadHeader(state.open.currentDataFile, header);
  EXPECT_TRUE(header.Saved(kJuly));
  EXPECT_TRUE(dialogs.shown.empty()) << dialogs.Texts().front();
}

TEST_F(MainWindowTest, SavingWarnsOfImplausibleWorkedHours) {
  SaveJuneAndJuly();
  Open();
  Type(1, kOvertime, "2");
  ASSERT_TRUE(window->SaveData());
  EXPECT_EQ(dialogs.Texts(),
            (std::vector<std::string>{
                "実働時間の入力に誤りがあると思われます。[月給　一郎]\r（所定＋残業：162:00　実働時間：160:00）",
                // and the 2 hours are worth nothing: 月給　一郎 has no unit price
                "単価が0円のため、次の時間・日数は0円で計算されています。\r社員情報の単価を確認して下さい。\r"
                "\r月給　一郎：普通残業時間"}));
}

TEST_F(MainWindowTest, ResultRowsBelowTheInputRowsFollowWhatWasTyped) {
  SaveJuneAndJuly();
  Open();
  const int rows = Grid().RowCount() - 1;  // cells without the name row
  EXPECT_EQ(Cell(0, rows - 2), "総支給額");
  EXPECT_EQ(Cell(0, rows - 1), "控除合計");
  EXPECT_EQ(Cell(0, rows), "差引支給額");
  auto shown = [&](int column) {
    return std::vector<std::string>{Cell(column, rows - 2), Cell(column, rows - 1), Cell(column, rows)};
  };
  auto ofRecords = [&](int slot) {
    const PeriodBlock& p = state.Period();
    return std::vector<std::string>{FormatAmount(7, p.Payment(slot).Get(Sikyu::Total)),
                                    FormatAmount(7, p.Deduction(slot).Get(Koujo::Total)),
                                    FormatAmount(7, NetPay(p.Payment(slot), p.Deduction(slot)))};
  };

  Type(1, kAllowance, "5000");
  EXPECT_EQ(state.Period().Payment(2).Get(Sikyu::Total), 305000);  // recalculated when the cell was left
  EXPECT_EQ(shown(1), ofRecords(2));
  EXPECT_EQ(shown(1)[0], "305,000");
  EXPECT_EQ(shown(3), ofRecords(4));  // every employee's column
  // The result cells are not editable and are not taken over as input.
  for (int r = rows - 2; r <= rows; ++r) EXPECT_FALSE(Grid().item(r - 1, 0)->flags() & Qt::ItemIsEditable) << r;
  ASSERT_TRUE(window->SaveData());
  auto file = std::make_unique<PeriodBlock>();
  ReadBlock(state.open.currentDataFile, kJuly, *file);
  EXPECT_EQ(file->Payment(2).Get(Sikyu::Total), 305000);
}

TEST_F(MainWindowTest, ClosingAsksToSaveOnlyWhenAStoredFigureChanged) {
  SaveJuneAndJuly();
  Open();
  ASSERT_TRUE(window->SaveData());
  dialogs.Clear();
  dialogs.defaultAnswer = MsgAnswer::No;  // stay open
  EXPECT_FALSE(window->close());
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kQuitQuestion}) << "right after a save";

  dialogs.Clear();
  Type(1, kWorkDays, "20.0");  // only the spacing differs
  EXPECT_FALSE(window->close());
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kQuitQuestion});

  dialogs.Clear();
  Type(1, kWorkDays, "19");
  dialogs.answers = {MsgAnswer::Cancel};
  EXPECT_FALSE(window->close());
  ASSERT_EQ(dialogs.Texts(), std::vector<std::string>{kChangedQuestion});
  EXPECT_EQ(dialogs.shown[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(dialogs.beeps, 1);

  // Yes saves and checks again; then the quit question.
  dialogs.Clear();
  dialogs.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
  EXPECT_TRUE(window->close());
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{kChangedQuestion, kQuitQuestion}));
  EXPECT_EQ(dialogs.notices.size(), 1u);
  auto file = std::make_unique<PeriodBlock>();
  ReadBlock(state.open.currentDataFile, kJuly, *file);
  EXPECT_EQ(file->Attendance(2).Get(Kintai::WorkDays), 19);
}

TEST_F(MainWindowTest, ReturnCommandGoesBackToThePeriodSelection) {
  SaveJuneAndJuly();
  Open();
  ASSERT_TRUE(window->SaveData());
  dialogs.Clear();
  // OK there: June is activated and the window stays.
  selectionAnswer = true;
  screens.periodSelection = [this](bool returning) {
    selectionCalls.push_back(returning);
    state.open.periodIndex = 6;
    LoadPeriod(state.open.currentDataFile, 6, state.Period());
    return true;
  };
  Child<QToolButton>(window.get(), "sbReturn")->click();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(selectionCalls, std::vector<bool>{true});
  EXPECT_EQ(Child<QLabel>(window.get(), "lbTaisyoNen")->text(), "令和7年6月分給与");
  EXPECT_EQ(Cell(1, kPaidLeaveBalance), " 10.00");
  ASSERT_TRUE(window->SaveData());
  dialogs.Clear();

  // 終了 there: the program ends without the quit question.
  screens.periodSelection = [this](bool returning) {
    selectionCalls.push_back(returning);
    return false;
  };
  Child<QToolButton>(window.get(), "sbReturn")->click();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{});
}

TEST_F(MainWindowTest, StartUpAndRestartCloseWithoutQuestions) {
  SaveJuneAndJuly();
  Open();
  Type(1, kWorkDays, "19");
  window->SetRestartRequired(true);
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainWindowTest, NameClickOpensDetailEntryOfTheColumnsSlot) {
  SaveJuneAndJuly();
  TfmMain& w = Open();
  Type(1, kAllowance, "7000");
  QWidget* names = Grid().horizontalHeader()->viewport();
  QTest::mouseClick(names, Qt::LeftButton, {}, QPoint(150, 10));  // column 2
  EXPECT_EQ(detailSlots, std::vector<int>{3});
  EXPECT_EQ(state.Period().Payment(2).Get(Sikyu::VariableAllowance1), 7000) << "committed before";
  EXPECT_EQ(Cell(1, kAllowance), "  7,000") << "rebuilt from the records";
  QTest::mouseClick(names, Qt::LeftButton, {}, QPoint(350, 10));  // column 4: nobody
  EXPECT_EQ(detailSlots, std::vector<int>{3});
  EXPECT_TRUE(Child<QToolButton>(&w, "sbDataEdit")->isEnabled()) << "slot 1 is in use, though retired";
  w.SelectCell(1, kWorkDays);
  Child<QToolButton>(&w, "sbDataEdit")->click();
  EXPECT_EQ(detailSlots, (std::vector<int>{3, 2}));
}

TEST_F(MainWindowTest, PeriodWithoutEmployeesHasNothingToEdit) {
  SaveJuneAndJuly(false);
  TfmMain& w = Open();
  EXPECT_FALSE(Child<QToolButton>(&w, "sbDataEdit")->isEnabled());
  for (int c = 1; c <= 30; ++c) EXPECT_EQ(Cell(c, 0), "");
  EXPECT_FALSE(Grid().item(0, 0)->flags() & Qt::ItemIsEditable);
  QTest::mouseClick(Grid().horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(50, 10));
  EXPECT_TRUE(detailSlots.empty());
}

TEST_F(MainWindowTest, BonusPeriodAsksForManualTaxWhileAnExceptionRemains) {
  SaveJuneAndJuly();
  state.open.periodIndex = kSummerBonus;
  state.Period().ClearFigures();
  TfmMain& w = Open();
  EXPECT_EQ(Child<QLabel>(&w, "lbTaisyoNen")->text(), "令和7年・夏期賞与");
  ASSERT_EQ(Cell(0, 1), "賞与");
  Type(1, 1, "500000", 2);
  dialogs.answers = {MsgAnswer::No};
  w.CommitAndRecalculate(false);
  ASSERT_EQ(dialogs.Texts(), std::vector<std::string>{kManualTaxQuestionAll});
  EXPECT_EQ(state.Period().Payment(2).Get(Sikyu::Bonus), 500000);

  dialogs.Clear();
  dialogs.answers = {MsgAnswer::Yes};
  w.CommitAndRecalculate(false);
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{kManualTaxQuestionAll, kManualTaxSwitchedAll}));
  EXPECT_TRUE(state.Period().Deduction(2).Manual(Koujo::IncomeTax));

  dialogs.Clear();
  w.CommitAndRecalculate(true);
  EXPECT_TRUE(dialogs.shown.empty()) << "every exception is manual now";
}

TEST_F(MainWindowTest, FirstRunCancelledClosesTheWindow) {
  SaveJuneAndJuly();
  state.Period().company.SetName("");
  std::vector<std::string> calls;
  screens.companyInfo = [&] {
    calls.push_back("company");
    return true;
  };
  screens.inputItems = [&] {
    calls.push_back("items");
    return false;
  };
  TfmMain w(state, dialogs, screens);
  w.show();
  EXPECT_FALSE(w.ActivatePeriod());
  EXPECT_EQ(calls, (std::vector<std::string>{"company", "items"}));
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(dialogs.shown.empty());

  // Completed: payslip items, then the employee list; first-run mode ends.
  screens.inputItems = [&] {
    calls.push_back("items");
    return true;
  };
  screens.payslipItems = [&](ItemKind) {
    calls.push_back("payslip");
    return true;
  };
  calls.clear();
  TfmMain again(state, dialogs, screens);
  EXPECT_TRUE(again.ActivatePeriod());
  EXPECT_EQ(calls, (std::vector<std::string>{"company", "items", "payslip"}));
  EXPECT_EQ(listModes, std::vector<int>{0});
  EXPECT_FALSE(again.FirstRunMode());
}

TEST_F(MainWindowTest, CommandsWithoutTheirScreenAreDisabled) {
  SaveJuneAndJuly();
  TfmMain& w = Open();
  for (const char* name : {"sbMeisaihyo", "sbKyuyoDaicho", "sbKyuyoIchiran", "sbSendMail"}) {
    EXPECT_FALSE(Child<QToolButton>(&w, name)->isEnabled()) << name;
  }
  for (const char* name : {"mnKinmuRead", "mnCorpInfo", "mnEnvSetting", "mnPrnForm", "mnMeisaihyo", "mnSendMail"}) {
    EXPECT_FALSE(Child<QAction>(&w, name)->isEnabled()) << name;
  }
  EXPECT_TRUE(Child<QAction>(&w, "mnMemberList")->isEnabled());
  EXPECT_TRUE(Child<QAction>(&w, "mnReturn")->isEnabled());

  std::vector<int> reports;
  screens.print = [&](print::ReportCode code, const QString&) { reports.push_back(code.Value()); };
  screens.mail = [&](print::ReportCode code, const QString&) { reports.push_back(-code.Value()); };
  w.UpdateCommands();
  EXPECT_TRUE(Child<QAction>(&w, "mnKyuyoIchiran")->isEnabled());
  EXPECT_FALSE(Child<QAction>(&w, "mnSendMail")->isEnabled()) << "no mail program";
  Child<QAction>(&w, "mnKyuyoIchiran")->trigger();
  Child<QAction>(&w, "mnMeisaihyo")->trigger();
  EXPECT_EQ(reports, (std::vector<int>{507, 299}));
  EXPECT_EQ(listModes, std::vector<int>{1});

  // An SMTP server set during the run enables mail at once.
  EXPECT_FALSE(Child<QAction>(&w, "mnMailServer")->isEnabled());
  screens.mailServer = [this] {
    mailTransport = true;
    return true;
  };
  w.UpdateCommands();
  Child<QAction>(&w, "mnMailServer")->trigger();
  EXPECT_TRUE(Child<QAction>(&w, "mnSendMail")->isEnabled());
  Child<QAction>(&w, "mnSendMail")->trigger();
  EXPECT_EQ(reports.back(), -299);
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndShortCuts) {
  SaveJuneAndJuly();
  TfmMain& w = Open();
  struct Case {
    const char* name;
    const char* caption;
    const char* keys;
  };
  const Case cases[] = {
      {"mnSaveFile", "データを保存(&S)...", "Ctrl+S"},
      {"mnMemberList", "社員情報の設定(&L)", ""},
      {"mnMeisaihyo", "給与/賞与明細書(&M)...", "F2"},
      {"mnKyuyoDaicho", "社員別給与台帳(&D)...", "F3"},
      {"mnKyuyoIchiran", "月別給与/賞与一覧(&I)...", "F4"},
      {"mnSendMail", "メール送信(&M)", ""},
      {"mnReturn", "給与対象月/賞与時期の選択に戻る(&X)", ""},
      {"mnQuit", "プログラム終了(&X)", ""},
      {"mnKinmuRead", "勤務報告データの読み込み(&R)...", ""},
      {"mnCorpInfo", "会社情報の設定(&C)...", ""},
      {"mnEnvSetting", "入力項目の設定(&E)...", ""},
      {"mnPrnForm", "印刷項目の設定(&F)...", ""},
      {"mnHelpContents", "目次(&C)", ""},
      {"mnHelpSearch", "キーワードで検索(&T)", ""},
      {"mnVersion", "プログラムバージョン(&P)...", ""},
      {"mnTableDates", "表データファイル(&F)...", ""},
  };
  for (const Case& c : cases) {
    QAction* a = Child<QAction>(&w, c.name);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text().toStdString(), c.caption);
    EXPECT_EQ(a->shortcut().toString().toStdString(), c.keys) << c.name;
  }
  EXPECT_EQ(Child<QToolButton>(&w, "sbWrite")->toolTip(), "ファイル保存");
  EXPECT_EQ(Child<QToolButton>(&w, "sbReturn")->toolTip(), "給与対象月/賞与時期の選択に戻る");
}

}  // namespace
}  // namespace paylark::app
