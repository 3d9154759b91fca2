// The payroll sheet's rules without the window: rows from the item lists, cell texts on leaving,
// the keys a row takes, the Enter row search, the paid-leave carry and the title.
#include <gtest/gtest.h>

#include "session/sheet_model.h"

#include "calc/recalculate.h"
#include "support/payroll_fixture.h"
#include "support/recording_reporter.h"

namespace paylark::app {
namespace {

std::vector<std::string> Names(const std::vector<SheetRow>& rows) {
  std::vector<std::string> names;
  for (const SheetRow& r : rows) names.push_back(r.name);
  return names;
}

const SheetRow& Row(const std::vector<SheetRow>& rows, const std::string& name) {
  for (const SheetRow& r : rows) {
    if (r.name == name) return r;
  }
  ADD_FAILURE() << "no row " << name;
  static SheetRow none;
  return none;
}

TEST(SheetRowsTest, SalaryRowsAreTheVariableItemsOfAnyPayFormWithUserNames) {
  Options options;
  options.itemNames[static_cast<int>(UserItem::VariableAllowance1)] = "皆勤手当";
  ItemSettings items = DefaultItemSettings(ItemKind::Salary);
  items.Block(ItemBlock::Sikyu)[14].flags = {true, false, false};  // V変動手当１ for 月給 only
  const auto rows = BuildSheetRows(DeriveItemLists(items), options, ItemKind::Salary);

  EXPECT_EQ(Names(rows), (std::vector<std::string>{"出勤日数", "有休日数", "欠勤日数", "特別休暇日数", "実働時間",
                                                   "普通残業時間", "深夜残業時間", "休日普通残業", "遅刻早退回数", "遅刻早退時間", "有休残日数", "皆勤手当"}));
  const SheetRow& absence = Row(rows, "欠勤日数");
  EXPECT_TRUE(absence.VariableFor(1));
  EXPECT_FALSE(absence.VariableFor(2));
  EXPECT_FALSE(absence.VariableFor(3));
  EXPECT_TRUE(absence.VariableFor(0)) << "a column without an employee";
  EXPECT_EQ(Row(rows, "出勤日数").kind, RowKind::Days);
  EXPECT_EQ(Row(rows, "実働時間").kind, RowKind::Hours);
  EXPECT_EQ(Row(rows, "休日普通残業").kind, RowKind::Hours);
  EXPECT_EQ(Row(rows, "遅刻早退回数").kind, RowKind::OtherAttendance);
  EXPECT_EQ(Row(rows, "有休残日数").kind, RowKind::OtherAttendance);
  EXPECT_EQ(Row(rows, "皆勤手当").kind, RowKind::Money);
  EXPECT_FALSE(Row(rows, "皆勤手当").VariableFor(2));
}

TEST(SheetRowsTest, BonusRowsHaveNoAttendanceAndReadBonusAndDirectorPay) {
  Options options;
  const auto rows = BuildSheetRows(DeriveItemLists(DefaultItemSettings(ItemKind::Bonus)), options, ItemKind::Bonus);
  ASSERT_EQ(Names(rows), (std::vector<std::string>{"賞与", "役員報酬"}));

  PeriodBlock period;
  period.Employee(2) = testing::TestEmployee("社員", "250101_000002", PayForm::Monthly, 0);
  period.Payment(2).Set(Sikyu::Bonus, 500000);
  period.Payment(2).Set(Sikyu::DirectorPay, 70000);
  EXPECT_EQ(CellValue(period, 2, rows[0], options, ItemKind::Bonus), 500000);
  EXPECT_EQ(CellValue(period, 2, rows[1], options, ItemKind::Bonus), 70000);
  EXPECT_EQ(FormatCell(rows[0].kind, 500000, 1), "500,000");
}

TEST(SheetCellsTest, LeavingACellNormalisesAndFormatsByRowKind) {
  struct Case {
    const char* label;
    const char* typed;
    RowKind kind;
    int timeStyle;
    const char* shown;
    const char* message;  // empty: none
  };
  const Case cases[] = {
      {"day count above 31", "32", RowKind::Days, 1, "  0.00", "日数の入力は31までです。"},
      {"day count of 31", "31", RowKind::Days, 1, " 31.00", ""},
      {"day count cut to two decimals", "1.255", RowKind::Days, 1, "  1.25", ""},
      {"hours and minutes", "1:30", RowKind::Hours, 1, "  1:30", ""},
      {"hours as decimals", "1:30", RowKind::Hours, 0, "  1.50", ""},
      {"minutes above 59", "1:60", RowKind::Hours, 1, "  0:00", "分の入力が59を超えています。"},
      {"count above 31 is no day count", "40", RowKind::OtherAttendance, 1, " 40.00", ""},
      {"amount with separators", "12345", RowKind::Money, 1, " 12,345", ""},
      {"amount retyped with spacing", "  12,345 ", RowKind::Money, 1, " 12,345", ""},
      {"empty amount", "", RowKind::Money, 1, "      0", ""},
      {"negative amount", "-500", RowKind::Money, 1, "   -500", ""},
      {"amount of eight digits", "12345678", RowKind::Money, 1, "      0", "入力した数値が上限を超えました。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    testing::RecordingReporter reporter;
    EXPECT_EQ(CommitCellText(c.typed, c.kind, c.timeStyle, reporter), c.shown);
    if (*c.message) {
      EXPECT_EQ(reporter.errors, std::vector<std::string>{c.message});
    } else {
      EXPECT_TRUE(reporter.errors.empty());
    }
  }
}

TEST(SheetCellsTest, EachRowKindTakesItsCharacters) {
  struct Case {
    RowKind kind;
    const char* accepted;
    const char* refused;
  };
  const Case cases[] = {
      {RowKind::Hours, "0123456789-.:\b\t", "a+,/ \x1b"},
      {RowKind::Days, "0123456789-.\b\t", ":a+ "},
      {RowKind::OtherAttendance, "0123456789-.", ":a"},
      {RowKind::Money, "0123456789-\b", ".:a,"},
  };
  for (const Case& c : cases) {
    for (const char* p = c.accepted; *p; ++p) EXPECT_TRUE(AcceptsCharacter(c.kind, static_cast<char32_t>(*p))) << *p;
    for (const char* p = c.refused; *p; ++p) EXPECT_FALSE(AcceptsCharacter(c.kind, static_cast<char32_t>(*p))) << *p;
  }
  EXPECT_FALSE(AcceptsCharacter(RowKind::Money, U'１')) << "full-width digit";
}

TEST(SheetCellsTest, EnterFindsTheNextVariableRowOfThePayFormAndWraps) {
  std::vector<SheetRow> rows(4);
  rows[0].variable = {true, true, false};
  rows[1].variable = {true, false, false};
  rows[2].variable = {true, true, false};
  rows[3].variable = {true, false, false};
  EXPECT_EQ(NextEnterRow(rows, 2, 1), 3) << "row 2 is fixed for 日給";
  EXPECT_EQ(NextEnterRow(rows, 2, 3), 1) << "wraps from the last row";
  EXPECT_EQ(NextEnterRow(rows, 1, 4), 1);
  EXPECT_EQ(NextEnterRow(rows, 0, 2), 3) << "no employee: every row";
  EXPECT_EQ(NextEnterRow(rows, 3, 1), std::nullopt) << "nothing variable for 時間給";
  std::vector<SheetRow> one(1);
  one[0].variable = {true, true, true};
  EXPECT_EQ(NextEnterRow(one, 1, 1), 1);
  EXPECT_EQ(NextEnterRow({}, 1, 1), std::nullopt);
}

TEST(SheetCellsTest, PaidLeaveBalanceIsCarriedOnlyIntoAnEmptyOrZeroCell) {
  EXPECT_EQ(CarriedPaidLeave(10, "  2.00", ""), "  8.00");
  EXPECT_EQ(CarriedPaidLeave(10, "  2.00", "  0.00"), "  8.00");
  EXPECT_EQ(CarriedPaidLeave(10, "", "  0.00"), " 10.00") << "nothing taken";
  EXPECT_EQ(CarriedPaidLeave(1.5, "  2.00", ""), " -0.50");
  EXPECT_EQ(CarriedPaidLeave(10, "  2.00", "  3.00"), std::nullopt);
}

TEST(SheetOfRecordsTest, TakingTheStoredFiguresOverKeepsThemAndCalculatesAgain) {
  testing::CalcWorld world(5);
  for (auto& row : world.items.Block(ItemBlock::Sikyu)) {
    if (row.name == "V変動手当１") row.flags = {true, true, true};
  }
  world.Refresh();
  PeriodBlock period;
  period.company = testing::TestCompany();
  period.Employee(1) = testing::TestEmployee("月給一郎", "260101_000001", PayForm::Monthly, 300000);
  period.Employee(2) = testing::TestEmployee("退職次郎", "260101_000002", PayForm::Monthly, 250000);
  period.Employee(2).SetRetirementDate("260228");
  period.Employee(3) = testing::TestEmployee("時給三郎", "260101_000003", PayForm::Hourly, 1200);
  period.Attendance(1).Set(Kintai::OvertimeHours, 10.5);
  period.Attendance(3).Set(Kintai::WorkedHours, 120.25);
  period.Payment(1).Set(Sikyu::VariableAllowance1, 5000);
  period.Payment(3).Set(Sikyu::VariableAllowance1, 700);

  const std::vector<SheetRow> rows = BuildSheetRows(DeriveItemLists(world.items), world.options, ItemKind::Salary);
  const SheetColumns sheet = SheetOfRecords(period, rows, world.options, ItemKind::Salary);
  EXPECT_EQ(sheet.rowNames, Names(rows));
  ASSERT_EQ(sheet.cells.size(), 2u) << "one column per active employee";

  testing::RecordingReporter reporter;
  RecalculateAll(period, sheet, world.Inputs(), false, reporter);
  EXPECT_TRUE(reporter.errors.empty());
  EXPECT_DOUBLE_EQ(period.Attendance(1).Get(Kintai::OvertimeHours), 10.5);
  EXPECT_DOUBLE_EQ(period.Attendance(3).Get(Kintai::WorkedHours), 120.25);
  EXPECT_EQ(period.Payment(1).Get(Sikyu::VariableAllowance1), 5000);
  EXPECT_EQ(period.Payment(3).Get(Sikyu::VariableAllowance1), 700);
  EXPECT_EQ(period.Payment(1).Get(Sikyu::BasePay), 300000);
  EXPECT_EQ(period.Payment(3).Get(Sikyu::BasePay), 144300);  // 120.25 h × 1200
}

TEST(SheetTitleTest, TitleNamesTheMonthOrTheBonus) {
  const EraYear year{"令和", 8};
  EXPECT_EQ(PeriodTitle(year, 12, "決算賞与"), "令和8年12月分給与");
  EXPECT_EQ(PeriodTitle(year, 13, "決算賞与"), "令和8年・夏期賞与");
  EXPECT_EQ(PeriodTitle(year, 14, "決算賞与"), "令和8年・冬季賞与");
  EXPECT_EQ(PeriodTitle(year, 15, "決算賞与"), "令和8年・決算賞与");
  EXPECT_EQ(ScheduledHoursText(160), "所定労働時間： 160.00時間");
}

}  // namespace
}  // namespace paylark::app
