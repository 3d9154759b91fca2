// The premiums as the law has them since April 2026: the 子ども・子育て支援金 levied with the
// health premium, the fiscal-year cap of the standard bonus for health insurance, and the
// employment premium at the worker's rate of the wage closing date. The premium month and the
// wage closing date that choose them.
#include <gtest/gtest.h>

#include "calc/bonus.h"
#include "calc/premium_month.h"
#include "calc/premiums.h"
#include "calc/salary.h"
#include "store/rate_table_extension.h"
#include "support/payroll_fixture.h"

namespace paylark {
namespace {

using testing::CalcWorld;
using testing::TestCompany;
using testing::TestEmployee;

const std::string kKey = "260401_090000";

TEST(PremiumsFromGrade, TheLevyFromTheHealthGradeWhateverTheFlags) {
  RateTables tables;
  HealthGradeImage grades;
  grades.SetGradeCount(22);
  grades.SetPensionLowest(1);
  grades.SetPensionHighest(22);
  grades.SetGrade(22, {290'000, 310'000, 300'000});  // 協会けんぽ grade 22
  tables.SetHealthGrades(grades);
  CompanyRecord company = TestCompany();
  company.SetHealthRate(4.925);  // 9.85 % split half and half
  company.SetLevyRate(0.115);    // 0.23 % split half and half
  const GradePremiums g = PremiumsFromGrade(tables, company, 22);
  EXPECT_EQ(g.health, 14'775);
  EXPECT_EQ(g.levy, 345);
  company.SetLevyRate(0);
  EXPECT_EQ(PremiumsFromGrade(tables, company, 22).levy, 0);
}

TEST(MonthlyPremiums, TheStoredLevyForAHealthSubjectWhenThePeriodHasALevyRate) {
  CalcWorld world(5);
  struct Case {
    const char* name;
    bool healthSubject;
    double levyRate;
    Yen expected;
  } cases[] = {
      {"health subject, levy rate set", true, 0.115, 345},
      {"not a health subject", false, 0.115, 0},
      {"no levy rate in the period (a file of before the levy)", true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CompanyRecord company = TestCompany();
    company.SetLevyRate(c.levyRate);
    EmployeeRecord e = TestEmployee("A", kKey, PayForm::Monthly, 0);
    e.SetHealthSubject(c.healthSubject);
    e.SetLevyPremium(345);
    EXPECT_EQ(MonthlyPremiums(world.Inputs(), company, e, 300'000).levy, c.expected);
  }
}

// The levy is a social insurance premium: it lowers 社保控除後計 and so the tax base.
TEST(CalculateSalary, TheLevyCountsInTheSocialPremiums) {
  CalcWorld world(5);
  PeriodBlock period;
  period.company = TestCompany();
  period.Employee(1) = TestEmployee("山田太郎", kKey, PayForm::Monthly, 300'000);
  period.Employee(1).SetHealthSubject(true);
  period.Employee(1).SetHealthPremium(15'000);
  period.Employee(1).SetLevyPremium(345);

  CalculateSalary(period, 1, world.Inputs());  // levy rate 0: as before the levy
  const DeductionRecord before = period.Deduction(1);
  EXPECT_EQ(before.Get(Koujo::ChildSupportLevy), 0);
  EXPECT_EQ(before.Get(Koujo::SocialTotal), 15'000);

  period.company.SetLevyRate(0.115);
  CalculateSalary(period, 1, world.Inputs());
  const DeductionRecord& d = period.Deduction(1);
  EXPECT_EQ(d.Get(Koujo::ChildSupportLevy), 345);
  EXPECT_EQ(d.Get(Koujo::SocialTotal), 15'345);
  EXPECT_EQ(d.Get(Koujo::AfterSocial), before.Get(Koujo::AfterSocial) - 345);
  EXPECT_EQ(d.Get(Koujo::Total) - d.Get(Koujo::IncomeTax),
            before.Get(Koujo::Total) - before.Get(Koujo::IncomeTax) + 345);

  // Kept when entered by hand; 0 when the payslip list does not name the item.
  period.Deduction(1).Set(Koujo::ChildSupportLevy, 400);
  period.Deduction(1).SetManual(Koujo::ChildSupportLevy, true);
  CalculateSalary(period, 1, world.Inputs());
  EXPECT_EQ(period.Deduction(1).Get(Koujo::ChildSupportLevy), 400);
  for (auto& row : world.items.Block(ItemBlock::Koujo)) {
    if (row.name == "F子ども・子育て支援金") row.flags.fill(false);
  }
  world.Refresh();
  CalculateSalary(period, 1, world.Inputs());
  EXPECT_EQ(period.Deduction(1).Get(Koujo::ChildSupportLevy), 0);
  EXPECT_EQ(period.Deduction(1).Get(Koujo::SocialTotal), 15'000);
}

TEST(HealthBonusBase, CappedPerFiscalYearSinceApril2007AndPerBonusBefore) {
  struct Case {
    const char* name;
    Yen standardBonus;
    CivilDate paid;
    std::int64_t earlier;
    Yen expected;
  } cases[] = {
      {"3,000,000 after 4,000,000: the rest of 5,730,000", 3'000'000, {2026, 12, 10}, 4'000'000, 1'730'000},
      {"the cap reached already", 500'000, {2027, 3, 10}, 5'730'000, 0},
      {"below the cap", 3'000'000, {2027, 4, 10}, 0, 3'000'000},
      {"one bonus above the annual cap", 6'000'000, {2026, 7, 10}, 0, 5'730'000},
      {"FY2015: 5,400,000", 6'000'000, {2016, 3, 31}, 0, 5'400'000},
      {"before April 2007: 2,000,000 per bonus", 3'000'000, {2007, 3, 31}, 4'000'000, 2'000'000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HealthBonusBase(c.standardBonus, c.paid, c.earlier), c.expected);
  }
}

// The bonuses of a fiscal year are looked up by key in this file's other bonus periods and in the
// previous year's file.
class FiscalYearBonusTest : public ::testing::Test {
 protected:
  FiscalYearBonusTest() : world(14, ItemKind::Bonus) {
    company = TestCompany();
    company.SetHealthRate(4.925);
    company.SetLevyRate(0.115);
    employee = TestEmployee("賞与花子", kKey, PayForm::Monthly, 0);
    employee.SetHealthSubject(true);
    employee.SetNursingCollected(true);
    employee.SetPensionSubject(true);
  }
  void Earlier(bool previousYear, int period, int month, int day, Yen taxable, bool healthSubject = true) {
    world.previous.bonuses.push_back({previousYear, period, month, day, taxable, healthSubject});
  }
  Premiums Bonus(int period, CivilDate paid, Yen taxable) {
    world.period = period;
    world.payDate = paid;
    return BonusPremiums(world.Inputs(), company, employee, taxable, taxable, 0);
  }

  CalcWorld world;
  CompanyRecord company;
  EmployeeRecord employee;
};

TEST_F(FiscalYearBonusTest, AnEarlierBonusOfTheYearLeavesTheRestOfTheCap) {
  Earlier(false, 13, 7, 10, 4'000'499);  // standard bonus 4,000,000
  const Premiums p = Bonus(14, {2026, 12, 10}, 3'000'000);
  EXPECT_EQ(p.health, 85'202);   // 4.925 % of 1,730,000 = 85,202.5
  EXPECT_EQ(p.nursing, 15'570);  // 0.9 % of 1,730,000
  EXPECT_EQ(p.levy, 1'989);      // 0.115 % of 1,730,000 = 1,989.5
  EXPECT_EQ(p.pension, 137'250); // 9.15 % of 1,500,000: per month, not per year
}

TEST_F(FiscalYearBonusTest, TheFiscalYearReachesAcrossTheTwoFiles) {
  // The yearly file of 2027: its March bonus counts July and December 2026 of the previous file;
  // a February 2026 bonus there is of the fiscal year before.
  Earlier(true, 13, 7, 10, 2'000'000);
  Earlier(true, 14, 12, 10, 3'000'000);
  Earlier(true, 15, 2, 20, 1'000'000);
  EXPECT_EQ(Bonus(13, {2027, 3, 10}, 3'000'000).levy, 839);  // 0.115 % of 730,000 = 839.5

  // In April 2027 a new fiscal year begins: the whole 3,000,000.
  EXPECT_EQ(Bonus(13, {2027, 4, 10}, 3'000'000).levy, 3'450);
}

TEST_F(FiscalYearBonusTest, OnlyBonusesPaidEarlierAsHealthSubjectCount) {
  Earlier(false, 15, 12, 20, 5'000'000);        // paid after this one
  Earlier(false, 13, 12, 10, 1'000'000);        // the same day, an earlier period: counts
  Earlier(false, 13, 7, 10, 2'000'000, false);  // not a health subject then
  EXPECT_EQ(Bonus(14, {2026, 12, 10}, 6'000'000).levy, 5'439);  // 0.115 % of 4,730,000 = 5,439.5
}

// With 雇用保険料額表を使用 the worker's rate of the wage closing date, in integers.
class EmploymentByClosingDateTest : public ::testing::Test {
 protected:
  EmploymentByClosingDateTest() : world(4) {
    TableExtension rates{TableId::Employment, {2026, 4, 1}, std::nullopt, std::nullopt,
                         EmploymentRateTable{{{{2025, 4, 1}, 5'500, 6'500, 6'500}, {{2026, 4, 1}, 5'000, 6'000, 6'000}}}};
    world.tables.SetEmployment(EmploymentImage{});
    world.tables.SetExtension(rates);
    company = TestCompany();
    company.SetUseEmploymentTable(true);
    employee = TestEmployee("A", kKey, PayForm::Monthly, 0);
    employee.SetEmploymentSubject(true);
  }
  Yen Salary(Yen wage) { return MonthlyPremiums(world.Inputs(), company, employee, wage).employment; }

  CalcWorld world;
  CompanyRecord company;
  EmployeeRecord employee;
};

TEST_F(EmploymentByClosingDateTest, TheRateOfTheClosingDateNotThePayDate) {
  world.payDate = CivilDate{2026, 4, 25};  // 4月分給与
  struct Case {
    const char* name;
    int closingDay;
    int closingMonth;
    bool general;
    Yen wage;
    Yen expected;
  } cases[] = {
      {"closed 2026-03-31 (前月締め): 5.5/1000", 31, 1, true, 300'100, 1'651},  // 1,650.55
      {"closed 2026-04-15 (当月締め): 5/1000", 15, 0, true, 300'100, 1'500},    // 1,500.5
      {"5/1000 of 301,234", 15, 0, true, 301'234, 1'506},                         // 1,506.17
      {"5/1000 of 300,101", 15, 0, true, 300'101, 1'501},                         // 1,500.505
      {"no closing day: the pay date", 0, 1, true, 300'100, 1'500},
      {"それ以外, closed in March: 6.5/1000", 31, 1, false, 300'100, 1'951},     // 1,950.65
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    company.SetWageClosingDay(c.closingDay);
    company.SetWageClosingMonth(c.closingMonth);
    company.SetGeneralBusiness(c.general);
    EXPECT_EQ(Salary(c.wage), c.expected);
  }
}

TEST_F(EmploymentByClosingDateTest, WithoutADatedRateTheFormerRules) {
  world.payDate = CivilDate{2025, 3, 25};  // before every dated rate: the image's fixed 0.7 %
  EXPECT_EQ(Salary(300'100), 2'100);
  world.payDate.reset();  // an era the program does not know
  EXPECT_EQ(Salary(300'100), 2'100);
  world.payDate = CivilDate{2026, 4, 25};
  company.SetUseEmploymentTable(false);  // the company's rate, the user's rounding
  EXPECT_EQ(Salary(300'100), 1'800);
  world.tables.SetEmployment(EmploymentImage{});  // a file without the rates
  company.SetUseEmploymentTable(true);
  EXPECT_EQ(Salary(300'100), 2'100);
}

TEST_F(EmploymentByClosingDateTest, ABonusAtTheRateOfItsPaymentDate) {
  world.period = 13;
  world.payDate = CivilDate{2026, 3, 31};
  company.SetWageClosingDay(15);  // the salary's closing day plays no part
  EXPECT_EQ(BonusPremiums(world.Inputs(), company, employee, 1'000'100, 1'000'100, 0).employment, 5'501);
}

TEST(PremiumMonth, ByTheCollectionSetting) {
  CompanyRecord company;
  EXPECT_EQ(PremiumMonth(company, 2026, 5), (YearMonth{2026, 4}));  // 翌月徴収
  EXPECT_EQ(PremiumMonth(company, 2026, 1), (YearMonth{2025, 12}));
  company.SetPremiumCollection(1);                                   // 当月徴収
  EXPECT_EQ(PremiumMonth(company, 2026, 4), (YearMonth{2026, 4}));
  EXPECT_EQ(PremiumMonthOfPeriod(company, 2026, 14, CivilDate{2026, 12, 10}), (YearMonth{2026, 12}));
  EXPECT_EQ(PremiumMonthOfPeriod(company, 2026, 14, std::nullopt), std::nullopt);
}

TEST(WageClosingDate, DayAndMonthOfTheClosing) {
  struct Case {
    const char* name;
    int day;
    int month;
    CivilDate paid;
    CivilDate expected;
  } cases[] = {
      {"not set: the pay date", 0, 1, {2026, 4, 25}, {2026, 4, 25}},
      {"month end of the month before", 31, 1, {2026, 4, 25}, {2026, 3, 31}},
      {"the 20th of the pay month", 20, 0, {2026, 4, 25}, {2026, 4, 20}},
      {"30 in February is its last day", 30, 0, {2028, 2, 25}, {2028, 2, 29}},
      {"January closed in December", 15, 1, {2026, 1, 25}, {2025, 12, 15}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CompanyRecord company;
    company.SetWageClosingDay(c.day);
    company.SetWageClosingMonth(c.month);
    EXPECT_EQ(WageClosingDate(company, c.paid), c.expected);
  }
}

}  // namespace
}  // namespace paylark
