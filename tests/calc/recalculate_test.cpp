#include <gtest/gtest.h>

#include "calc/income_tax.h"
#include "calc/recalculate.h"
#include "support/payroll_fixture.h"
#include "support/recording_reporter.h"

namespace paylark {
namespace {

using testing::CalcWorld;
using testing::RecordingReporter;
using testing::TestCompany;
using testing::TestEmployee;

// Slots: 1 active 月給, 2 retired, 3 active 時間給, 4 unused with a stale name; 5.. empty.
PeriodBlock FourSlots() {
  PeriodBlock p;
  p.company = TestCompany();
  p.Employee(1) = TestEmployee("月給一郎", "260101_000001", PayForm::Monthly, 300000);
  p.Employee(2) = TestEmployee("退職次郎", "260101_000002", PayForm::Monthly, 250000);
  p.Employee(2).SetRetirementDate("260228");
  p.Employee(3) = TestEmployee("時給三郎", "260101_000003", PayForm::Hourly, 1200);
  p.Employee(4).SetName("空き");
  return p;
}

TEST(TakeOver, ColumnsFollowActiveEmployeesAndRowsFollowNames) {
  CalcWorld world(5);
  world.options.itemNames[static_cast<int>(UserItem::VariableAllowance1)] = "皆勤手当";
  for (auto& row : world.items.Block(ItemBlock::Sikyu)) {
    if (row.name == "V変動手当１") row.flags = {true, true, true};
  }
  world.Refresh();
  PeriodBlock p = FourSlots();
  p.Attendance(2).Set(Kintai::WorkDays, 3);
  p.Attendance(4).Set(Kintai::WorkDays, 9);
  p.Payment(4).Set(Sikyu::BasePay, 99);

  SheetColumns sheet;
  sheet.rowNames = {"出勤日数", "実働時間", "普通残業時間", "皆勤手当", "変動控除１"};
  sheet.cells = {{"20", "168:30", "8.5", "10,000", "500"},   // 月給一郎
                 {"15", "120:15", "", "3000.9", "700"}};     // 時給三郎
  RecordingReporter reporter;
  RecalcResult result = RecalculateAll(p, sheet, world.Inputs(), false, reporter);

  EXPECT_TRUE(reporter.errors.empty());
  EXPECT_TRUE(result.hourWarnings.empty());
  EXPECT_EQ(p.Attendance(1).Get(Kintai::ScheduledDays), 20);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::ScheduledHours), 160);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::WorkedHours), 168.5);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::OvertimeHours), 8.5);
  EXPECT_EQ(p.Payment(1).Get(Sikyu::VariableAllowance1), 10000);
  // 変動控除１ is not in the default deduction list: its row is not taken over.
  EXPECT_EQ(p.Deduction(1).Get(Koujo::VariableDeduction1), 0);

  EXPECT_EQ(p.Attendance(3).Get(Kintai::WorkedHours), 120.25);
  EXPECT_EQ(p.Payment(3).Get(Sikyu::VariableAllowance1), 3000);  // truncated to whole yen
  EXPECT_EQ(p.Payment(3).Get(Sikyu::BasePay), 144300);            // 120.25 h × 1,200

  EXPECT_EQ(p.Attendance(2).Get(Kintai::WorkDays), 3);  // retired: attendance kept
  EXPECT_EQ(p.Payment(2), PaymentRecord{});
  EXPECT_EQ(p.Attendance(4), AttendanceRecord{});       // unused slot: everything zeroed
  EXPECT_EQ(p.Payment(4), PaymentRecord{});
}

TEST(Recalculate, WorkedHoursCheckOfMonthlyPaidEmployees) {
  CalcWorld world(5);
  PeriodBlock p = FourSlots();
  SheetColumns sheet;
  sheet.rowNames = {"実働時間", "普通残業時間", "深夜残業時間", "欠勤日数"};
  struct Case {
    const char* name;
    std::vector<std::string> monthly;
    int timeStyle;
    const char* warning;  // nullptr: none
  } cases[] = {
      {"agrees within the tolerance", {"160.3", "0.1", "0.2", ""}, 1, nullptr},
      {"absence hours come off", {"152", "", "", "1"}, 1, nullptr},
      {"differs", {"161", "", "", ""}, 1, "実働時間の入力に誤りがあると思われます。[月給一郎]\r（所定＋残業：160:00　実働時間：161:00）"},
      {"differs with overtime, decimal hours", {"170", "10.5", "2", ""}, 0,
       "実働時間の入力に誤りがあると思われます。[月給一郎]\r（所定＋残業：172.50　実働時間：170.00）"},
      {"differs with absence", {"160", "", "", "1"}, 1,
       "実働時間の入力に誤りがあると思われます。[月給一郎]\r（所定＋残業−欠勤：152:00　実働時間：160:00）"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    world.options.timeStyle = c.timeStyle;
    sheet.cells = {c.monthly, {"99", "", "", ""}};  // the hourly employee is never checked
    RecordingReporter reporter;
    RecalcResult r = RecalculateAll(p, sheet, world.Inputs(), true, reporter);
    EXPECT_EQ(r.hourWarnings, c.warning ? std::vector<std::string>{c.warning} : std::vector<std::string>{});
    EXPECT_TRUE(RecalculateAll(p, sheet, world.Inputs(), false, reporter).hourWarnings.empty());
  }
}

TEST(Recalculate, BonusPeriodReportsSlotsWithoutComputedTax) {
  CalcWorld world(14, ItemKind::Bonus);
  world.bonusMonth = 12;
  world.previous.figures[{11, "260101_000001"}] = {250000, 0};
  PeriodBlock p = FourSlots();
  SheetColumns sheet;
  sheet.rowNames = {"賞与", "役員報酬"};
  sheet.cells = {{"500,000", "0"}, {"300000", "100000"}};
  RecordingReporter reporter;
  RecalcResult r = RecalculateAll(p, sheet, world.Inputs(), true, reporter);
  EXPECT_EQ(p.Payment(1).Get(Sikyu::Bonus), 500000);
  EXPECT_EQ(p.Deduction(1).Get(Koujo::IncomeTax), 50000);  // 10 % by the previous 250,000
  EXPECT_EQ(p.Payment(3).Get(Sikyu::DirectorPay), 100000);
  EXPECT_EQ(r.taxExceptionSlots, std::vector<int>{3});     // no salary in November

  SwitchTaxToManual(p, r.taxExceptionSlots);
  EXPECT_TRUE(p.Deduction(3).Manual(Koujo::IncomeTax));
  p.Deduction(3).Set(Koujo::IncomeTax, 40000);
  r = RecalculateAll(p, sheet, world.Inputs(), true, reporter);
  EXPECT_TRUE(r.taxExceptionSlots.empty());
  EXPECT_EQ(p.Deduction(3).Get(Koujo::IncomeTax), 40000);
}

}  // namespace
}  // namespace paylark
