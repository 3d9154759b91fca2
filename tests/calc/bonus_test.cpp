#include <gtest/gtest.h>

#include "calc/bonus.h"
#include "support/payroll_fixture.h"

namespace paylark {
namespace {

using testing::CalcWorld;
using testing::TestCompany;
using testing::TestEmployee;

const std::string kKey = "250401_100000";

class BonusTest : public ::testing::Test {
 protected:
  BonusTest() : world(13, ItemKind::Bonus) {
    world.bonusMonth = 7;
    period.company = TestCompany();
    period.Employee(1) = TestEmployee("賞与一郎", kKey, PayForm::Monthly, 300000);
  }
  EmployeeRecord& employee() { return period.Employee(1); }
  PaymentRecord& payment() { return period.Payment(1); }
  DeductionRecord& deduction() { return period.Deduction(1); }
  BonusTaxException Calculate() { return CalculateBonus(period, 1, world.Inputs()); }
  void PreviousMonth(int month, Yen afterSocial) { world.previous.figures[{month, kKey}] = {afterSocial, 0}; }

  CalcWorld world;
  PeriodBlock period;
};

TEST_F(BonusTest, PremiumsFromTheStandardBonusAndTaxByThePreviousMonth) {
  employee().SetHealthSubject(true);
  employee().SetPensionSubject(true);
  payment().Set(Sikyu::Bonus, 1234567);
  PreviousMonth(6, 300000);

  EXPECT_EQ(Calculate(), BonusTaxException::None);
  EXPECT_EQ(world.previous.periodsAsked, std::vector<int>{6});
  EXPECT_EQ(payment().Get(Sikyu::TaxableTotal), 1234567);
  EXPECT_EQ(payment().Get(Sikyu::Total), 1234567);
  EXPECT_EQ(deduction().Get(Koujo::Health), 61700);    // 5 % of 1,234,000
  EXPECT_EQ(deduction().Get(Koujo::Pension), 112911);  // 9.15 % of 1,234,000
  EXPECT_EQ(deduction().Get(Koujo::AfterSocial), 1234567 - 174611);
  // 300,000 is beyond the tested rows: the last row's 20 %.
  EXPECT_EQ(deduction().Get(Koujo::IncomeTax), 211991);
  EXPECT_EQ(deduction().Get(Koujo::Total), 174611 + 211991);
}

TEST_F(BonusTest, TaxRulesAndTheirExceptions) {
  struct Case {
    const char* name;
    int taxColumn;
    int bonusMonth;
    std::optional<Yen> previous;  // in the month before the bonus month
    Yen bonus;
    BonusTaxException exception;
    Yen tax;
  } cases[] = {
      {"exactly ten times is allowed", 0, 7, 200000, 2000000, BonusTaxException::None, 200000},
      {"one yen over ten times", 0, 7, 200000, 2000001, BonusTaxException::OverTenTimes, 0},
      {"no salary in the previous month", 0, 7, std::nullopt, 500000, BonusTaxException::NoPreviousSalary, 0},
      {"乙: rate by the previous month only", 1, 7, 150000, 100000, BonusTaxException::None, 30000},
      {"乙: beyond the 乙 rows", 1, 7, 250000, 100000, BonusTaxException::None, 40000},
      {"paid in January: December of the previous year", 0, 1, 50000, 100000, BonusTaxException::None, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    world.previous.figures.clear();
    world.bonusMonth = c.bonusMonth;
    if (c.previous) PreviousMonth(c.bonusMonth - 1, *c.previous);
    employee().SetTaxColumn(c.taxColumn);
    employee().SetTaxDependants(c.taxColumn ? 5 : 0);
    payment().Set(Sikyu::Bonus, c.bonus);
    EXPECT_EQ(Calculate(), c.exception);
    EXPECT_EQ(deduction().Get(Koujo::IncomeTax), c.tax);
  }
}

TEST_F(BonusTest, ManualTaxIsKeptAndRaisesNoException) {
  payment().Set(Sikyu::Bonus, 500000);
  deduction().Set(Koujo::IncomeTax, 12345);
  deduction().SetManual(Koujo::IncomeTax, true);
  EXPECT_EQ(Calculate(), BonusTaxException::None);
  EXPECT_EQ(deduction().Get(Koujo::IncomeTax), 12345);
  EXPECT_EQ(deduction().Get(Koujo::Total), 12345);
  EXPECT_TRUE(world.previous.periodsAsked.empty());
}

TEST_F(BonusTest, MissingBonusTableGivesNoTaxAndNoException) {
  payment().Set(Sikyu::Bonus, 500000);
  PreviousMonth(6, 300000);
  CalcInputs in = world.Inputs();
  in.presence.present[static_cast<int>(TableId::BonusTax)] = false;
  EXPECT_EQ(CalculateBonus(period, 1, in), BonusTaxException::None);
  EXPECT_EQ(deduction().Get(Koujo::IncomeTax), 0);
}

TEST_F(BonusTest, DirectorPayIsOutsideTheEmploymentPremium) {
  employee().SetEmploymentSubject(true);
  payment().Set(Sikyu::DirectorPay, 500000);
  PreviousMonth(6, 300000);
  Calculate();
  EXPECT_EQ(payment().Get(Sikyu::Total), 500000);
  EXPECT_EQ(deduction().Get(Koujo::Employment), 0);
  payment().Set(Sikyu::Bonus, 100000);
  Calculate();
  EXPECT_EQ(deduction().Get(Koujo::Employment), 600);  // 0.6 % of the 賞与 alone
}

TEST_F(BonusTest, UnlistedBonusStaysInTheRecordButCountsNowhere) {
  for (auto& row : world.items.Block(ItemBlock::Sikyu)) {
    if (row.name == "V賞与") row.flags[0] = false;
  }
  world.Refresh();
  payment().Set(Sikyu::Bonus, 400000);
  PreviousMonth(6, 300000);
  Calculate();
  EXPECT_EQ(payment().Get(Sikyu::Bonus), 400000);
  EXPECT_EQ(payment().Get(Sikyu::Total), 0);
  EXPECT_EQ(deduction().Get(Koujo::IncomeTax), 0);
}

TEST_F(BonusTest, RetiredEmployeeHasNoFiguresAndNoException) {
  employee().SetRetirementDate("260630");
  payment().Set(Sikyu::Bonus, 400000);
  EXPECT_EQ(Calculate(), BonusTaxException::None);
  EXPECT_EQ(payment(), PaymentRecord{});
  EXPECT_EQ(deduction(), DeductionRecord{});
}

}  // namespace
}  // namespace paylark
