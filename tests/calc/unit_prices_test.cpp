#include "calc/unit_prices.h"

#include <gtest/gtest.h>

#include "support/payroll_fixture.h"

namespace paylark {
namespace {

using testing::TestCompany;
using testing::TestEmployee;

struct PriceCase {
  const char* name;
  PayForm form;
  Yen basePay;
  Yen position;
  Yen family;
  std::array<Yen, 3> fixed;  // 固定手当 1..3, named 資格手当, 住宅手当, 皆勤手当
  double monthHours;
  double monthDays;
  const char* hourlyText;
  std::array<Yen, 4> overtime;
  std::optional<Yen> absence;
  std::optional<Yen> lateness;
};

class SuggestUnitPricesTest : public ::testing::TestWithParam<PriceCase> {};

TEST_P(SuggestUnitPricesTest, LeastPricesOfTheLaw) {
  const PriceCase& c = GetParam();
  EmployeeRecord e = TestEmployee("社員", "260101_000001", c.form, c.basePay);
  e.SetPositionAllowance(c.position);
  e.SetFamilyAllowance(c.family);
  for (int i = 0; i < 3; ++i) e.SetFixedAllowance(i, c.fixed[i]);
  CompanyRecord company = TestCompany();  // 8 hours a day
  company.SetMonthHours(c.monthHours);
  company.SetMonthDays(c.monthDays);
  Options options;
  options.itemNames[static_cast<int>(UserItem::FixedAllowance1)] = "資格手当";
  options.itemNames[static_cast<int>(UserItem::FixedAllowance2)] = "住宅手当";
  options.itemNames[static_cast<int>(UserItem::FixedAllowance3)] = "皆勤手当";

  const UnitPriceResult r = SuggestUnitPrices(e, company, options, 20261210);
  ASSERT_FALSE(r.problem);
  ASSERT_TRUE(r.prices);
  EXPECT_EQ(HourlyBaseText(*r.prices), c.hourlyText);
  EXPECT_EQ(r.prices->overtime, c.overtime);
  EXPECT_EQ(r.prices->absencePerDay, c.absence);
  EXPECT_EQ(r.prices->latenessPerHour, c.lateness);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SuggestUnitPricesTest,
    ::testing::Values(
        // (300,000 + 20,000) ÷ 160; 家族手当 left out.
        PriceCase{"MonthlyFamilyAllowanceLeftOut", PayForm::Monthly, 300000, 20000, 10000, {}, 160, 20, "2,000",
                  {2500, 3000, 2700, 3200}, 15000, 2000},
        // 250,000 ÷ 173.8 = 1,438.43…: additions rounded up, deductions down.
        PriceCase{"MonthlyFractionRoundsUpAndDown", PayForm::Monthly, 250000, 0, 0, {}, 173.8, 21.7, "1,438.43",
                  {1799, 2158, 1942, 2302}, 11520, 1438},
        // 資格手当 and 皆勤手当 count, 住宅手当 does not: (290,000 + 20,000 + 10,000) ÷ 160.
        PriceCase{"FixedAllowancesByKind", PayForm::Monthly, 290000, 0, 0, {20000, 15000, 10000}, 160, 20, "2,000",
                  {2500, 3000, 2700, 3200}, 14500, 2000},
        // 12,000 ÷ 8 + 16,000 ÷ 160.
        PriceCase{"DailyWageOverTheDayHours", PayForm::Daily, 12000, 16000, 0, {}, 160, 20, "1,600",
                  {2000, 2400, 2160, 2560}, std::nullopt, std::nullopt},
        PriceCase{"HourlyWage", PayForm::Hourly, 1200, 0, 5000, {}, 160, 20, "1,200", {1500, 1800, 1620, 1920},
                  std::nullopt, std::nullopt}),
    [](const ::testing::TestParamInfo<PriceCase>& p) { return std::string(p.param.name); });

TEST(SuggestUnitPrices, MissingFiguresAreNamedNotGuessed) {
  const Options options;
  struct Case {
    PayForm form;
    Yen basePay;
    double monthHours, monthDays, dayHours;
    UnitPriceProblem problem;
  } cases[] = {
      {PayForm::Monthly, 0, 160, 20, 8, UnitPriceProblem::NoBasePay},
      {PayForm::Monthly, 300000, 0, 20, 8, UnitPriceProblem::NoMonthHours},
      {PayForm::Monthly, 300000, 160, 0, 8, UnitPriceProblem::NoMonthDays},
      {PayForm::Daily, 12000, 160, 20, 0, UnitPriceProblem::NoDayHours},
  };
  for (const Case& c : cases) {
    CompanyRecord company = TestCompany();
    company.SetMonthHours(c.monthHours);
    company.SetMonthDays(c.monthDays);
    company.SetDayHours(c.dayHours);
    const UnitPriceResult r =
        SuggestUnitPrices(TestEmployee("社員", "260101_000001", c.form, c.basePay), company, options, 20261210);
    EXPECT_FALSE(r.prices);
    EXPECT_EQ(r.problem, c.problem) << UnitPriceProblemText(c.problem);
  }
}

TEST(SuggestUnitPrices, QuestionShowsEveryFigureAndTheRates) {
  EmployeeRecord e = TestEmployee("社員", "260101_000001", PayForm::Monthly, 300000);
  e.SetPositionAllowance(20000);
  e.SetFamilyAllowance(10000);
  const UnitPriceResult r = SuggestUnitPrices(e, TestCompany(), Options{}, 20261210);
  ASSERT_TRUE(r.prices);
  EXPECT_EQ(UnitPriceQuestion(*r.prices),
            "法定の割増率で単価を計算しました。入力しますか？\r\r"
            "時間単価 2,000円 = (基本給 300,000 + 役職手当 20,000) ÷ 160時間\r"
            "算入しない手当: 家族手当\r"
            "残業手当(普通) 2,500円 (×1.25)\r"
            "残業手当(深夜) 3,000円 (×1.50)\r"
            "休日残業(普通) 2,700円 (×1.35)\r"
            "休日残業(深夜) 3,200円 (×1.60)\r"
            "欠勤控除額 15,000円 (1日)\r"
            "遅早控除額 2,000円 (1時間)\r");
}

TEST(FindUnpricedRows, NamesEmployeesAndRowsWhoseHoursAreWorthNothing) {
  testing::CalcWorld world(12);
  PeriodBlock p;
  p.company = TestCompany();
  p.Employee(1) = TestEmployee("月給一郎", "260101_000001", PayForm::Monthly, 300000);
  p.Employee(1).SetOvertimePrice(0, 2500);  // 普通 priced, 深夜 not
  p.Attendance(1).Set(Kintai::OvertimeHours, 10.5);
  p.Attendance(1).Set(Kintai::NightOvertimeHours, 2);
  p.Attendance(1).Set(Kintai::AbsenceDays, 1);
  p.Employee(2) = TestEmployee("時給二郎", "260101_000002", PayForm::Hourly, 1200);
  p.Attendance(2).Set(Kintai::AbsenceDays, 1);      // not paid anyway: no price needed
  p.Attendance(2).Set(Kintai::HolidayOvertime, 3);  // but this needs one
  p.Employee(3) = TestEmployee("手入力三郎", "260101_000003", PayForm::Monthly, 300000);
  p.Attendance(3).Set(Kintai::OvertimeHours, 4);
  p.Payment(3).SetManual(Sikyu::Overtime, true);  // the amount is typed by hand
  p.Employee(4) = TestEmployee("退職四郎", "260101_000004", PayForm::Monthly, 300000);
  p.Employee(4).SetRetirementDate(" 8 6 1");
  p.Attendance(4).Set(Kintai::OvertimeHours, 4);

  // With the shipped item lists an hourly employee has no overtime item: nothing is lost there.
  EXPECT_EQ(FindUnpricedRows(p, world.enabled),
            (std::vector<UnpricedRows>{{"月給一郎", {"深夜残業時間", "欠勤日数"}}}));
  for (auto& row : world.items.Block(ItemBlock::Sikyu)) {
    if (row.name == "F休日普通残業") row.flags = {true, true, true};
  }
  world.Refresh();
  const std::vector<UnpricedRows> found = FindUnpricedRows(p, world.enabled);
  EXPECT_EQ(found, (std::vector<UnpricedRows>{{"月給一郎", {"深夜残業時間", "欠勤日数"}}, {"時給二郎", {"休日普通残業"}}}));
  EXPECT_EQ(UnpricedRowsWarning(found),
            "単価が0円のため、次の時間・日数は0円で計算されています。\r社員情報の単価を確認して下さい。\r"
            "\r月給一郎：深夜残業時間、欠勤日数\r時給二郎：休日普通残業");
  EXPECT_EQ(UnpricedRowsWarning({}), "");
}

}  // namespace
}  // namespace paylark
