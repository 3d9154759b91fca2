// TfmDataEdit offscreen: July of a yearly file whose June holds the monthly employee's paid-leave
// balance; retired employees in slots 1 and 5, one employee of each pay form in slots 2 to 4 and
// a second monthly employee in slot 6. The rules without a window are tested first.
#include "screens/data_edit.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "entry/display_format.h"
#include "calc/income_tax.h"
#include "calc/salary.h"
#include "calc/explanation.h"
#include "screens/calc_window.h"
#include "screens/explanation_window.h"
#include "store/year_file.h"
#include "support/payroll_fixture.h"
#include "support/recording_reporter.h"
#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark::screens {
namespace {

using testing::Child;
using testing::Click;
using testing::Leave;
using testing::RecordingReporter;
using testing::TypeInto;

// ---------------------------------------------------------------------------------------------
// Rules

TEST(DataEditRulesTest, LeavingAFieldChecksByTheItemAndShowsItsFormat) {
  const struct {
    const char* what;
    RowGroup group;
    const char* label;
    const char* typed;
    const char* shown;
    bool message;
  } cases[] = {
      {"day count", RowGroup::Kintai, "出勤日数", "21", " 21.00", false},
      {"day count above 31", RowGroup::Kintai, "出勤日数", "32", "  0.00", true},
      {"balance is no day count", RowGroup::Kintai, "有休残日数", "40", " 40.00", false},
      {"hours as h:mm", RowGroup::Kintai, "実働時間", "1:45", "  1:45", false},
      {"hours as decimals", RowGroup::Kintai, "普通残業時間", "2.5", "  2:30", false},
      {"amount", RowGroup::Sikyu, "変動手当１", "1000", "     1,000", false},
      {"empty amount", RowGroup::Koujo, "変動控除１", "", "         0", false},
      {"amount beyond seven digits", RowGroup::Sikyu, "基本給", "12345678", "         0", true},
      {"total takes ten digits", RowGroup::Sikyu, "課税支給合計", "12345678", "12,345,678", false},
      {"other item", RowGroup::Sonota, "その他１", "-500", "      -500", false},
  };
  for (const auto& c : cases) {
    RecordingReporter reporter;
    EXPECT_EQ(CommitFieldText(c.group, c.label, c.typed, 1, reporter), c.shown) << c.what;
    EXPECT_EQ(!reporter.errors.empty(), c.message) << c.what;
  }
  RecordingReporter reporter;
  CommitFieldText(RowGroup::Kintai, "欠勤日数", "45", 1, reporter);
  ASSERT_EQ(reporter.errors.size(), 1u);
  EXPECT_EQ(reporter.errors[0], kMsgDayLimit);
}

TEST(DataEditRulesTest, RowsFindTheirFiguresByName) {
  Options options;
  options.itemNames[static_cast<int>(UserItem::FixedAllowance1)] = "資格手当";
  PeriodBlock period;
  period.Clear();
  period.Payment(3).Set(Sikyu::FixedAllowance1, 7000);
  period.Payment(3).Set(Sikyu::BasePay, 250000);
  period.Payment(3).SetManual(Sikyu::BasePay, true);
  period.Attendance(3).Set(Kintai::WorkedHours, 1.5);

  const RowView allowance = ViewOfRow(RowGroup::Sikyu, "F固定手当１", period, 3, options);
  EXPECT_EQ(allowance.label, "資格手当");
  EXPECT_EQ(allowance.text, "     7,000");
  EXPECT_TRUE(allowance.calculated);
  EXPECT_TRUE(allowance.readOnly);

  const RowView manual = ViewOfRow(RowGroup::Sikyu, "F基本給", period, 3, options);
  EXPECT_TRUE(manual.manual);
  EXPECT_FALSE(manual.readOnly) << "a manual amount is typed by hand";
  EXPECT_EQ(manual.text, "   250,000");

  EXPECT_EQ(ViewOfRow(RowGroup::Kintai, "V実働時間", period, 3, options).text, "  1:30");
  EXPECT_FALSE(ViewOfRow(RowGroup::Kintai, "F", period, 3, options).Visible());
  EXPECT_FALSE(ViewOfRow(RowGroup::Kintai, "", period, 3, options).Visible());

  WriteBackRow(RowGroup::Sonota, "その他２", "     1,200", period, 3, options);
  EXPECT_EQ(period.Payment(3).Get(Sikyu::Other2), 1200);
  EXPECT_EQ(period.Deduction(3).Get(Koujo::Other2), 1200);
  WriteBackRow(RowGroup::Kintai, "実働時間", "  2:15", period, 3, options);
  EXPECT_DOUBLE_EQ(period.Attendance(3).Get(Kintai::WorkedHours), 2.25);
  const PeriodBlock before = period;
  WriteBackRow(RowGroup::Sikyu, "", "     9,999", period, 3, options);  // a hidden row stores nothing
  EXPECT_TRUE(period == before);
}

TEST(DataEditRulesTest, CalculatorValueRoundsByTheClassOfTheItem) {
  Options options;
  options.paymentRounding = RoundingMode::Up;
  options.reductionRounding = RoundingMode::Half;
  options.deductionRounding = RoundingMode::Truncate;
  const struct {
    RowGroup group;
    const char* label;
    long double value;
    const char* shown;
  } cases[] = {
      {RowGroup::Sikyu, "基本給", 1234.1L, "     1,235"},
      {RowGroup::Sikyu, "欠勤控除", -1234.5L, "    -1,235"},
      {RowGroup::Koujo, "健康保険料", 1234.9L, "     1,234"},
      {RowGroup::Sonota, "その他１", 99.9L, "        99"},
      {RowGroup::Kintai, "実働時間", 1.5L, "  1:30"},
      {RowGroup::Kintai, "出勤日数", 2.5L, "  2.50"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CalculatorText(c.group, c.label, c.value, options, 1), c.shown) << c.label;
  }
}

// ---------------------------------------------------------------------------------------------
// The screen

constexpr int kJuly = 7;
constexpr int kSummerBonus = 13;
constexpr Yen kHealthPremium = 15000;

class DataEditTest : public ::testing::Test {
 protected:
  DataEditTest() : state(dir.Path()) {
    std::filesystem::create_directories(state.paths.dataDir);
    state.open.eraYear = {"令和", 7};
    state.open.currentDataFile = state.paths.dataDir / YearFileName(state.open.eraYear);
    CreateYearFile(state.open.currentDataFile, state.open);
    state.tables.SetMonthly(testing::TestMonthlyTable());
    state.tables.SetBonus(testing::TestBonusTable());
    state.tables.SetHealthGrades(testing::TestGradeTable());
    state.options.itemNames[static_cast<int>(UserItem::VariableAllowance1)] = "皆勤手当";
    ItemSettings salary = DefaultItemSettings(ItemKind::Salary);
    salary.Block(ItemBlock::Sikyu)[14].flags = {true, false, false};  // 皆勤手当 for 月給
    state.SetItemSettings(salary);

    PeriodBlock& p = state.Period();
    p.Clear();
    p.company = testing::TestCompany();
    p.Employee(1) = testing::TestEmployee("退職　太郎", "250101_000001", PayForm::Monthly, 250000);
    p.Employee(1).SetRetirementDate("250531");
    p.Employee(2) = testing::TestEmployee("月給　一郎", "250101_000002", PayForm::Monthly, 300000);
    p.Employee(2).SetHealthSubject(true);
    p.Employee(2).SetHealthPremium(kHealthPremium);
    p.Employee(2).SetAbsenceDeduction(10000);  // per day
    p.Employee(3) = testing::TestEmployee("日給　花子", "250101_000003", PayForm::Daily, 10000);
    p.Employee(4) = testing::TestEmployee("時給　次郎", "250101_000004", PayForm::Hourly, 1200);
    p.Employee(5) = testing::TestEmployee("退職　五郎", "250101_000005", PayForm::Monthly, 200000);
    p.Employee(5).SetRetirementDate("250630");
    p.Employee(6) = testing::TestEmployee("月給　六郎", "250101_000006", PayForm::Monthly, 220000);
    p.Attendance(2).Set(Kintai::PaidLeaveBalance, 12);
    state.open.periodIndex = 6;
    SavePeriod(state.open.currentDataFile, state.open);  // June: 有休残日数 12 for slot 2

    state.open.periodIndex = kJuly;
    p.Attendance(2).Set(Kintai::PaidLeaveBalance, 0);
    p.Attendance(2).Set(Kintai::WorkDays, 20);
    p.Attendance(2).Set(Kintai::ScheduledHours, 160);
    p.Attendance(4).Set(Kintai::WorkedHours, 100);
    for (int slot = 2; slot <= 6; ++slot) state.RecalculateSlot(slot);
  }
  ~DataEditTest() override { screen.hide(); }

  void OpenBonus() {
    state.open.periodIndex = kSummerBonus;
    state.open.header.SetBonusMonth(kSummerBonus, 7);
    state.open.header.SetBonusDay(kSummerBonus, 10);
    for (int slot = 2; slot <= 6; ++slot) state.Period().Attendance(slot).Clear();
  }

  void Show(int slot) {
    screen.hide();
    screen.SetSlot(slot);
    EXPECT_TRUE(testing::ShowActive(&screen));
    dialogs.Clear();
  }

  QLineEdit* Edit(const std::string& name) { return Child<QLineEdit>(&screen, name.c_str()); }
  QString Label(const std::string& name) { return Child<QLabel>(&screen, name.c_str())->text(); }
  QString Panel(const char* name) { return Child<QLabel>(&screen, name)->text(); }
  QAbstractButton* Button(const char* name) { return Child<QAbstractButton>(&screen, name); }
  void Enter(const std::string& name) {
    Edit(name)->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), Edit(name)) << name;
  }
  void Type(const std::string& name, const char* text) {
    TypeInto(Edit(name), QString::fromUtf8(text));
    Leave(Edit(name));
  }
  // The labels of the shown rows of a group ("Kintai", "Sikyu", ...).
  std::vector<std::string> ShownLabels(const char* group, int rows) {
    std::vector<std::string> shown;
    for (int i = 1; i <= rows; ++i) {
      const std::string suffix = std::string(group) + std::to_string(i);
      if (Edit("ed" + suffix)->isVisibleTo(&screen)) shown.push_back(Label("lb" + suffix).toStdString());
    }
    return shown;
  }
  bool Red(QLineEdit* e) { return e->palette().color(QPalette::Text) == QColor(Qt::red); }
  bool DisabledColour(QLineEdit* e) { return e->palette().color(QPalette::Base) == QColor(204, 221, 221); }

  testing::TempDir dir;
  ui::ProgramState state;
  testing::RecordingDialogs dialogs;
  TfmCalc calculator{dialogs};
  TfmDataEdit screen{state, dialogs, calculator};
};

TEST_F(DataEditTest, MonthlyEmployeeShowsPayslipWithTotals) {
  Show(2);
  EXPECT_EQ(screen.windowTitle(), "明細入力画面 【月給　一郎】");
  EXPECT_EQ(Label("lbSimei"), "月給　一郎");
  EXPECT_EQ(Child<QGroupBox>(&screen, "gbKintai")->title(), "勤　　怠");
  EXPECT_EQ(QApplication::focusWidget(), Edit("edKintai1")) << "the first field after 一覧入力へ戻る";

  EXPECT_EQ(Label("lbKintai2"), "出勤日数");
  EXPECT_EQ(Edit("edKintai2")->text(), " 20.00");
  EXPECT_FALSE(Edit("edKintai2")->isReadOnly());
  EXPECT_TRUE(Edit("edKintai1")->isReadOnly()) << "所定労働日数 is fixed";
  EXPECT_TRUE(DisabledColour(Edit("edKintai1")));
  EXPECT_EQ(Edit("edKintai7")->text(), "160:00") << "所定労働時間 in hours and minutes";

  EXPECT_EQ(Label("lbSikyu1"), "基本給");
  EXPECT_EQ(Edit("edSikyu1")->text(), "   300,000");
  EXPECT_TRUE(Edit("edSikyu1")->isReadOnly());
  EXPECT_EQ(Label("lbSikyu15"), "皆勤手当");
  EXPECT_FALSE(Edit("edSikyu15")->isReadOnly());
  EXPECT_FALSE(DisabledColour(Edit("edSikyu15")));
  EXPECT_EQ(Edit("edKoujo1")->text(), "    15,000");

  const PeriodBlock& p = state.Period();
  EXPECT_EQ(Panel("pnSikyuTotal").toStdString(), FormatAmount(10, p.Payment(2).Get(Sikyu::Total)));
  EXPECT_EQ(Panel("pnKoujoTotal").toStdString(), FormatAmount(10, p.Deduction(2).Get(Koujo::Total)));
  EXPECT_EQ(Panel("pnSonotaTotal").toStdString(), FormatAmount(10, 0));
  EXPECT_EQ(Panel("pnSikyugaku").toStdString(), FormatAmount(10, NetPay(p.Payment(2), p.Deduction(2))));
  EXPECT_EQ(Label("pnAutoSet").toStdString(), kLegendText);
}

TEST_F(DataEditTest, EachPayFormShowsTheRowsOfItsLists) {
  const struct {
    int slot;
    std::vector<std::string> kintai;
    std::vector<std::string> sikyu;
  } cases[] = {
      {2,
       {"所定労働日数", "出勤日数", "有休日数", "欠勤日数", "特別休暇日数", "所定労働時間", "実働時間",
        "普通残業時間", "深夜残業時間", "休日普通残業", "遅刻早退回数", "遅刻早退時間", "有休残日数"},
       {"基本給", "役職手当", "家族手当", "普通残業手当", "深夜残業手当", "休日普通残業", "非課税通勤費",
        "課税通勤費", "欠勤控除", "遅刻早退控除", "皆勤手当", "課税支給合計"}},
      {3,
       {"出勤日数", "有休日数", "特別休暇日数", "実働時間", "遅刻早退回数", "遅刻早退時間", "有休残日数"},
       {"基本給", "役職手当", "家族手当", "非課税通勤費", "課税通勤費", "遅刻早退控除", "課税支給合計"}},
      {4,
       {"出勤日数", "有休日数", "特別休暇日数", "実働時間", "有休残日数"},
       {"基本給", "役職手当", "家族手当", "非課税通勤費", "課税通勤費", "課税支給合計"}},
  };
  for (const auto& c : cases) {
    Show(c.slot);
    EXPECT_EQ(ShownLabels("Kintai", 16), c.kintai) << "slot " << c.slot;
    EXPECT_EQ(ShownLabels("Sikyu", 18), c.sikyu) << "slot " << c.slot;
    EXPECT_TRUE(ShownLabels("Sonota", 3).empty()) << "no other items are listed";
  }
  // The hourly employee's base pay: fixed, calculated from the hours worked.
  Show(4);
  EXPECT_FALSE(Edit("edKintai7")->isVisibleTo(&screen)) << "所定労働時間 is not used for 時間給";
  EXPECT_TRUE(Edit("edSikyu1")->isReadOnly());
  EXPECT_TRUE(DisabledColour(Edit("edSikyu1")));
  EXPECT_EQ(Edit("edSikyu1")->text(), "   120,000");
}

TEST_F(DataEditTest, ManualEntryOfHealthPremiumSurvivesRecalculationUntilSwitchedOff) {
  Show(2);
  Enter("edKoujo1");
  QLineEdit* health = Edit("edKoujo1");
  EXPECT_TRUE(Button("sbManual")->isEnabled());
  EXPECT_FALSE(Button("sbCalculator")->isEnabled()) << "a calculated field takes no calculator value";

  Click(Button("sbManual"));
  EXPECT_TRUE(state.Period().Deduction(2).Manual(Koujo::Health));
  EXPECT_TRUE(Red(health));
  EXPECT_FALSE(health->isReadOnly());
  EXPECT_TRUE(Button("sbCalculator")->isEnabled());

  Type("edKoujo1", "12345");
  EXPECT_EQ(state.Period().Deduction(2).Get(Koujo::Health), 12345);
  Click(Button("sbCalc"));
  EXPECT_EQ(health->text(), "    12,345");
  EXPECT_EQ(Panel("pnKoujoTotal").toStdString(), FormatAmount(10, state.Period().Deduction(2).Get(Koujo::Total)));

  Enter("edKoujo1");
  Click(Button("sbManual"));
  EXPECT_FALSE(state.Period().Deduction(2).Manual(Koujo::Health));
  EXPECT_FALSE(Red(health));
  EXPECT_TRUE(health->isReadOnly());
  EXPECT_EQ(health->text(), "    15,000") << "recalculated from the master";
  EXPECT_EQ(state.Period().Deduction(2).Get(Koujo::Health), kHealthPremium);
}

TEST_F(DataEditTest, ManualSwitchOnlyForCalculatedItemsOtherThanTheTotals) {
  state.options.itemNames[static_cast<int>(UserItem::Other1)] = "立替金";
  ItemSettings salary = state.Items(ItemKind::Salary);
  salary.Block(ItemBlock::Sonota)[0].flags = {true, true, true};
  state.SetItemSettings(salary);
  Show(2);
  const struct {
    const char* field;
    bool enabled;
  } cases[] = {
      {"edSikyu1", true},    // 基本給
      {"edKoujo1", true},    // 健康保険料
      {"edKoujo3", true},    // 子ども・子育て支援金
      {"edKoujo9", true},    // 所得税
      {"edSikyu18", false},  // 課税支給合計
      {"edKoujo7", false},   // 社会保険料計
      {"edKoujo8", false},   // 社保控除後計
      {"edKintai1", false},  // attendance, even a fixed one
      {"edKintai2", false},
      {"edSikyu15", false},  // 皆勤手当, variable
      {"edSonota1", false},  // 立替金
  };
  for (const auto& c : cases) {
    Enter(c.field);
    EXPECT_EQ(Button("sbManual")->isEnabled(), c.enabled) << c.field;
  }
  EXPECT_EQ(Label("lbSonota1"), "立替金");
}

TEST_F(DataEditTest, PaidLeaveTakenCarriesThePreviousBalance) {
  const struct {
    double storedBalance;
    const char* shownBalance;
  } cases[] = {
      {0, "  9.00"},  // June's 12 less the 3 days taken
      {5, "  5.00"},  // a balance of its own is left alone
  };
  for (const auto& c : cases) {
    state.Period().Attendance(2).Set(Kintai::PaidLeaveBalance, c.storedBalance);
    state.Period().Attendance(2).Set(Kintai::PaidLeaveDays, 0);
    Show(2);
    ASSERT_EQ(Label("lbKintai3"), "有休日数");
    ASSERT_EQ(Label("lbKintai16"), "有休残日数");
    Type("edKintai3", "3");
    EXPECT_EQ(Edit("edKintai3")->text(), "  3.00");
    EXPECT_EQ(Edit("edKintai16")->text(), c.shownBalance) << c.storedBalance;
    QTest::keyClick(Edit("edKintai3"), Qt::Key_Escape);
    ASSERT_FALSE(screen.isVisible());
    EXPECT_EQ(state.Period().Attendance(2).Get(Kintai::PaidLeaveDays), 3);
    EXPECT_EQ(state.Period().Attendance(2).Get(Kintai::PaidLeaveBalance), c.storedBalance == 0 ? 9 : 5);
  }
}

TEST_F(DataEditTest, EscapeRightAfterTypingShowsTheFormattedAmountFirst) {
  Show(2);
  TypeInto(Edit("edSikyu15"), "1000");
  QTest::keyClick(Edit("edSikyu15"), Qt::Key_Escape);
  EXPECT_TRUE(screen.isVisible());
  EXPECT_EQ(Edit("edSikyu15")->text(), "     1,000");
  EXPECT_EQ(state.Period().Payment(2).Get(Sikyu::VariableAllowance1), 1000);
  EXPECT_EQ(Panel("pnSikyuTotal").toStdString(), FormatAmount(10, 301000));

  QTest::keyClick(Edit("edSikyu15"), Qt::Key_Escape);
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(state.Period().Payment(2).Get(Sikyu::VariableAllowance1), 1000);
}

TEST_F(DataEditTest, SteppingSkipsRetiredEmployeesAndStopsAtTheEnds) {
  Show(2);
  EXPECT_FALSE(Button("sbBackData")->isEnabled()) << "slot 1 is retired";
  EXPECT_TRUE(Button("sbNextData")->isEnabled());

  // Typed but not left: stepping writes it back and recalculates the employee left behind.
  TypeInto(Edit("edKintai4"), "2");  // 欠勤日数
  Click(Button("sbNextData"));
  EXPECT_EQ(screen.Slot(), 3);
  EXPECT_EQ(state.Period().Attendance(2).Get(Kintai::AbsenceDays), 2);
  EXPECT_EQ(state.Period().Payment(2).Get(Sikyu::Absence), -20000);
  EXPECT_EQ(Label("lbSimei"), "日給　花子");

  Click(Button("sbNextData"));
  EXPECT_EQ(screen.Slot(), 4);
  Click(Button("sbNextData"));
  EXPECT_EQ(screen.Slot(), 6) << "slot 5 is retired";
  EXPECT_FALSE(Button("sbNextData")->isEnabled());
  EXPECT_TRUE(Button("sbBackData")->isEnabled());

  QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);  // 前のデータ
  EXPECT_EQ(screen.Slot(), 4);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);  // 次のデータ
  EXPECT_EQ(screen.Slot(), 6);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);  // disabled: stays
  EXPECT_EQ(screen.Slot(), 6);
}

TEST_F(DataEditTest, BonusPeriodShowsBonusItemsAndOffersManualTax) {
  OpenBonus();
  const struct {
    ui::MsgAnswer answer;
    bool manual;
  } cases[] = {{ui::MsgAnswer::No, false}, {ui::MsgAnswer::Yes, true}};
  for (const auto& c : cases) {
    state.Period().Deduction(2).SetManual(Koujo::IncomeTax, false);
    Show(2);
    EXPECT_TRUE(ShownLabels("Kintai", 16).empty());
    EXPECT_EQ(Label("lbSikyu1"), "賞与");
    EXPECT_EQ(Label("lbSikyu2"), "役員報酬");
    ASSERT_EQ(Label("lbKoujo9"), "所得税");

    dialogs.answers = {c.answer};
    Type("edSikyu1", "500000");  // no salary in June: the tax is not computed
    EXPECT_EQ(state.Period().Payment(2).Get(Sikyu::Bonus), 500000);
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown[0].text, kManualTaxQuestionOne);
    EXPECT_EQ(dialogs.shown[0].kind, ui::MsgKind::Warning);
    EXPECT_EQ(dialogs.shown[0].buttons, ui::MsgButtons::YesNo);
    EXPECT_EQ(state.Period().Deduction(2).Manual(Koujo::IncomeTax), c.manual);
    if (c.manual) {
      ASSERT_EQ(dialogs.shown.size(), 2u);
      EXPECT_EQ(dialogs.shown[1].text, kManualTaxSwitchedOne);
      EXPECT_EQ(dialogs.shown[1].kind, ui::MsgKind::Information);
      EXPECT_EQ(QApplication::focusWidget(), Edit("edKoujo9"));
      EXPECT_FALSE(Edit("edKoujo9")->isReadOnly()) << "the tax can be typed at once";
      EXPECT_TRUE(Red(Edit("edKoujo9")));
    }
  }
}

TEST_F(DataEditTest, ClosingThatSwitchesTaxToManualKeepsTheScreenOpenForTheTax) {
  OpenBonus();
  state.Period().Payment(2).Set(Sikyu::Bonus, 500000);
  Show(2);
  Enter("edSikyu1");
  dialogs.answers = {ui::MsgAnswer::Yes};
  QTest::keyClick(Edit("edSikyu1"), Qt::Key_Escape);
  EXPECT_TRUE(state.Period().Deduction(2).Manual(Koujo::IncomeTax));
  EXPECT_TRUE(screen.isVisible()) << "the user was just asked to enter the tax";
  EXPECT_EQ(QApplication::focusWidget(), Edit("edKoujo9"));

  QTest::keyClick(Edit("edKoujo9"), Qt::Key_Escape);
  EXPECT_FALSE(screen.isVisible());
}

TEST_F(DataEditTest, PrintAndMailWriteBackAndPassTheSlot) {
  Show(2);
  EXPECT_FALSE(Button("btPrnMeisai")->isEnabled());
  EXPECT_FALSE(Button("btSendMail")->isEnabled());

  std::vector<std::pair<int, QString>> printed, mailed;
  screen.openPrint = [&](int code, const QString& caption) { printed.emplace_back(code, caption); };
  screen.openMail = [&](int code, const QString& caption) { mailed.emplace_back(code, caption); };
  bool mailOn = true;
  screen.mailAvailable = [&] { return mailOn; };
  Show(2);
  EXPECT_TRUE(Button("btPrnMeisai")->isEnabled());
  EXPECT_FALSE(Button("btSendMail")->isEnabled()) << "no mail address";

  state.Period().Employee(2).SetMailAddress("ichiro@example.jp");
  Show(2);
  EXPECT_TRUE(Button("btSendMail")->isEnabled());
  TypeInto(Edit("edSikyu15"), "700");
  Click(Button("btPrnMeisai"));
  EXPECT_EQ(state.Period().Payment(2).Get(Sikyu::VariableAllowance1), 700);
  Click(Button("btSendMail"));
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0], std::make_pair(202, QStringLiteral("給与明細書")));
  ASSERT_EQ(mailed.size(), 1u);
  EXPECT_EQ(mailed[0], std::make_pair(202, QStringLiteral("給与明細書")));

  mailOn = false;
  Show(2);
  EXPECT_FALSE(Button("btSendMail")->isEnabled()) << "the main window's mail command is off";
}

TEST_F(DataEditTest, CalculatorValueGoesIntoTheCurrentField) {
  std::optional<long double> value = 1234.4L;
  screen.runCalculator = [&] { return value; };
  Show(2);
  Enter("edSikyu15");
  Click(Button("sbCalculator"));
  EXPECT_EQ(Edit("edSikyu15")->text(), "     1,235") << "a payment rounds up by default";
  EXPECT_EQ(QApplication::focusWidget(), Edit("edSikyu15"));
  Leave(Edit("edSikyu15"));
  EXPECT_EQ(state.Period().Payment(2).Get(Sikyu::VariableAllowance1), 1235);

  value.reset();  // cancelled
  Click(Button("sbCalculator"));
  EXPECT_EQ(Edit("edSikyu15")->text(), "     1,235");
}

// F2 and the context menu's 計算の説明 open the window with the explanation of the field's amount;
// 計算明細 writes every amount's explanation into a PDF file.
TEST_F(DataEditTest, F2AndTheContextMenuExplainTheFieldsAmount) {
  Show(2);
  Enter("edSikyu1");
  QTest::keyClick(Edit("edSikyu1"), Qt::Key_F2);
  TfmExplanation* window = screen.ExplanationWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->Text().startsWith(QStringLiteral("基本給 300,000 ＝ 社員情報の基本給（月給） 300,000"))) << window->Text().toStdString();
  EXPECT_TRUE(window->Text().contains(QStringLiteral("・基本給 300,000（社員情報）")));

  std::string tax;
  for (int i = 1; i <= kGroupRows[2]; ++i) {
    if (Label("lbKoujo" + std::to_string(i)) == QStringLiteral("所得税")) tax = "edKoujo" + std::to_string(i);
  }
  ASSERT_FALSE(tax.empty());
  emit Edit(tax)->customContextMenuRequested(QPoint(2, 2));
  QMenu* menu = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == QStringLiteral("pmItem") && w->isVisible()) menu = qobject_cast<QMenu*>(w);
  }
  ASSERT_NE(menu, nullptr);
  QAction* explain = menu->findChild<QAction*>(QStringLiteral("acExplanation"));
  ASSERT_NE(explain, nullptr);
  EXPECT_EQ(explain->text(), QStringLiteral("計算の説明"));
  explain->trigger();
  menu->close();
  const Yen withheld = state.Period().Deduction(2).Get(Koujo::IncomeTax);
  EXPECT_TRUE(window->Text().startsWith(QString::fromUtf8("所得税 " + YenText(withheld) + " ＝ ")))
      << window->Text().toStdString();
  EXPECT_TRUE(window->Text().contains(QStringLiteral("の行、甲欄 扶養親族等"))) << window->Text().toStdString();

  QTest::keyClick(Edit("edKintai2"), Qt::Key_F2);
  EXPECT_EQ(window->Text().toStdString(), kNoExplanation) << "出勤日数 is entered, not computed";

  const std::filesystem::path pdf = dir.Path() / "statement.pdf";
  dialogs.filesToSave.push_back(pdf.string());
  Click(Button("btPrnKeisan"));
  EXPECT_TRUE(dialogs.shown.empty()) << (dialogs.shown.empty() ? "" : dialogs.shown[0].text);
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_GT(std::filesystem::file_size(pdf), 1000u);

  // Written again to the same file: replaced only after the question; No writes nothing.
  const auto written = std::filesystem::last_write_time(pdf);
  dialogs.filesToSave.push_back(pdf.string());
  dialogs.answers = {ui::MsgAnswer::No};
  Click(Button("btPrnKeisan"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, ui::MsgKind::Confirmation);
  EXPECT_EQ(std::filesystem::last_write_time(pdf), written);
}

}  // namespace
}  // namespace paylark::screens
