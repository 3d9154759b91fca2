#include <gtest/gtest.h>

#include "calc/premiums.h"
#include "support/payroll_fixture.h"

namespace paylark {
namespace {

using testing::CalcWorld;
using testing::TestCompany;
using testing::TestEmployee;

TEST(PremiumsFromGrade, FiftySenRuleOnEachPremium) {
  RateTables tables;
  HealthGradeImage grades = testing::TestGradeTable();
  grades.SetI32(12 * 3 + 8, 280000);  // grade 3: 280,000
  grades.SetI32(12 * 4 + 8, 410000);  // grade 4: 410,000
  tables.SetHealthGrades(grades);
  CompanyRecord company = TestCompany();
  struct Case {
    const char* name;
    double rate;
    int grade;
    Yen expected;
  } cases[] = {
      {"exact", 4.1, 3, 11480},
      {"ends in .50: the half yen is dropped", 4.995, 4, 20479},       // 20,479.5
      {"ends in .51: raised", 4.99502439, 4, 20480},                   // 20,479.6
      {"a fraction below .51 is dropped", 0.00049, 3, 1},              // 1.372
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    company.SetHealthRate(c.rate);
    EXPECT_EQ(PremiumsFromGrade(tables, company, c.grade).health, c.expected);
  }
}

TEST(PremiumsFromGrade, PensionAndFundUseTheClampedGrade) {
  RateTables tables;
  tables.SetHealthGrades(testing::TestGradeTable());  // pension range 3..8
  CompanyRecord company = TestCompany();
  company.SetPensionFundRate(1.0);
  const GradePremiums low = PremiumsFromGrade(tables, company, 1);
  EXPECT_EQ(low.health, 5000);    // 5 % of grade 1 (100,000)
  EXPECT_EQ(low.nursing, 900);
  EXPECT_EQ(low.pension, 27450);  // 9.15 % of grade 3 (300,000)
  EXPECT_EQ(low.pensionFund, 3000);
  EXPECT_EQ(PremiumsFromGrade(tables, company, 10).pension, 73200);  // grade 8
}

TEST(MonthlyPremiums, StoredAmountsByFlagAndEmploymentFromTotalPayment) {
  CalcWorld world(4);
  CompanyRecord company = TestCompany();
  EmployeeRecord e = TestEmployee("A", "k", PayForm::Monthly, 0);
  e.SetHealthPremium(100);
  e.SetPensionPremium(200);
  e.SetFundContribution(300);
  e.SetNursingPremium(400);
  Premiums none = MonthlyPremiums(world.Inputs(), company, e, 500000);
  EXPECT_EQ(none.health + none.pension + none.pensionFund + none.employment + none.nursing, 0);

  e.SetHealthSubject(true);
  e.SetPensionSubject(true);
  e.SetFundMember(true);
  e.SetNursingCollected(true);
  e.SetEmploymentSubject(true);
  Premiums all = MonthlyPremiums(world.Inputs(), company, e, 333333);
  EXPECT_EQ(all.health, 100);
  EXPECT_EQ(all.pension, 200);
  EXPECT_EQ(all.pensionFund, 300);
  EXPECT_EQ(all.nursing, 400);
  EXPECT_EQ(all.employment, 1999);  // 0.6 % of 333,333 = 1,999.998, truncated

  // The premium table: a bracket with a premium, and one whose premium is 0 falls back to
  // 0.7 % (general business) / 0.8 % (other), truncated whatever the user's rounding.
  EmploymentImage table;
  table.SetI32(16, 2);
  table.SetI32(20, 0), table.SetI32(24, 100000), table.SetI32(28, 555), table.SetI32(32, 666);
  table.SetI32(36, 100000), table.SetI32(40, 1000000), table.SetI32(44, 0), table.SetI32(48, 0);
  world.tables.SetEmployment(table);
  world.options.deductionRounding = RoundingMode::Half;
  company.SetUseEmploymentTable(true);
  EXPECT_EQ(MonthlyPremiums(world.Inputs(), company, e, 99999).employment, 555);
  EXPECT_EQ(MonthlyPremiums(world.Inputs(), company, e, 333333).employment, 2333);
  company.SetGeneralBusiness(false);
  EXPECT_EQ(MonthlyPremiums(world.Inputs(), company, e, 99999).employment, 666);
  EXPECT_EQ(MonthlyPremiums(world.Inputs(), company, e, 333333).employment, 2666);
}

TEST(BonusPremiums, StandardBonusIsCutToThousandsAndCapped) {
  CalcWorld world(13, ItemKind::Bonus);
  CompanyRecord company = TestCompany();
  company.SetPensionFundRate(2.0);
  EmployeeRecord e = TestEmployee("A", "k", PayForm::Monthly, 0);
  e.SetHealthSubject(true);
  e.SetPensionSubject(true);
  e.SetFundMember(true);
  e.SetNursingCollected(true);
  e.SetEmploymentSubject(true);

  Premiums big = BonusPremiums(world.Inputs(), company, e, 2345678, 2345678, 0);
  EXPECT_EQ(big.health, 117250);       // 5 % of 2,345,000 (within the fiscal year's 5,730,000)
  EXPECT_EQ(big.nursing, 21105);       // 0.9 % of 2,345,000
  EXPECT_EQ(big.pension, 137250);      // 9.15 % of 1,500,000
  EXPECT_EQ(big.pensionFund, 30000);   // 2 % of 1,500,000
  EXPECT_EQ(big.employment, 14074);    // 0.6 % of the whole 2,345,678 (no cut, no cap)

  Premiums small = BonusPremiums(world.Inputs(), company, e, 1234567, 1234567, 0);
  EXPECT_EQ(small.health, 61700);      // 5 % of 1,234,000
  EXPECT_EQ(small.pension, 112911);    // 9.15 % of 1,234,000 = 112,911.0

  // 役員報酬 is not part of the employment premium's base.
  Premiums director = BonusPremiums(world.Inputs(), company, e, 500000, 500000, 500000);
  EXPECT_EQ(director.employment, 0);
  e.SetEmploymentSubject(false);
  EXPECT_EQ(BonusPremiums(world.Inputs(), company, e, 500000, 500000, 0).employment, 0);
}

}  // namespace
}  // namespace paylark
