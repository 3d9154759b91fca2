#include <gtest/gtest.h>

#include "calc/salary.h"
#include "support/payroll_fixture.h"

namespace paylark {
namespace {

using testing::CalcWorld;
using testing::TestCompany;
using testing::TestEmployee;

class SalaryTest : public ::testing::Test {
 protected:
  SalaryTest() : world(5) {
    period.company = TestCompany();
    period.Employee(1) = TestEmployee("山田太郎", "260101_090000", PayForm::Monthly, 300000);
  }
  EmployeeRecord& employee() { return period.Employee(1); }
  AttendanceRecord& attendance() { return period.Attendance(1); }
  PaymentRecord& payment() { return period.Payment(1); }
  DeductionRecord& deduction() { return period.Deduction(1); }
  void Calculate() { CalculateSalary(period, 1, world.Inputs()); }
  // Turns a row of the salary payslip list on or off for a pay form.
  void SetListed(ItemBlock block, const std::string& name, bool on, PayForm form = PayForm::Monthly) {
    for (auto& row : world.items.Block(block)) {
      if (row.name == name) row.flags[static_cast<int>(form) - 1] = on;
    }
    world.Refresh();
  }

  CalcWorld world;
  PeriodBlock period;
};

TEST_F(SalaryTest, MonthlyPaidEmployeeInCalculationOrder) {
  employee().SetPositionAllowance(20000);
  employee().SetFamilyAllowance(10000);
  employee().SetOvertimePrice(0, 2000);
  employee().SetCommuteUnit(2);
  employee().SetCommuteNonTaxable(15000);
  employee().SetHealthSubject(true);
  employee().SetHealthPremium(15000);
  employee().SetPensionSubject(true);
  employee().SetPensionPremium(27450);
  employee().SetEmploymentSubject(true);
  employee().SetResidentTaxJune(13000);
  employee().SetResidentTaxOther(12000);
  employee().SetTaxDependants(2);
  attendance().Set(Kintai::OvertimeHours, 10.5);

  Calculate();

  EXPECT_EQ(payment().Get(Sikyu::BasePay), 300000);
  EXPECT_EQ(payment().Get(Sikyu::Overtime), 21000);
  EXPECT_EQ(payment().Get(Sikyu::CommuteNonTaxable), 15000);
  EXPECT_EQ(payment().Get(Sikyu::TaxableTotal), 351000);  // commuting is not taxable
  EXPECT_EQ(payment().Get(Sikyu::Total), 366000);
  EXPECT_EQ(deduction().Get(Koujo::SocialBase), 366000);
  EXPECT_EQ(deduction().Get(Koujo::Employment), 2196);    // 0.6 % of 支給合計
  EXPECT_EQ(deduction().Get(Koujo::SocialTotal), 44646);
  EXPECT_EQ(deduction().Get(Koujo::AfterSocial), 306354);
  EXPECT_EQ(deduction().Get(Koujo::ResidentTax), 12000);
  // Bracket from 300,000: 10 % of 6,354 truncated, plus the 甲 tax of that row for 2 dependants.
  EXPECT_EQ(deduction().Get(Koujo::IncomeTax), 635 + 5800);
  EXPECT_EQ(deduction().Get(Koujo::Total), 44646 + 12000 + 6435);
  EXPECT_EQ(NetPay(payment(), deduction()), 366000 - 63081);
}

TEST_F(SalaryTest, HourlyPayIncludesPaidLeaveDaysRoundedUp) {
  employee() = TestEmployee("時給太郎", "260101_090001", PayForm::Hourly, 1000);
  employee().SetPaidLeavePay(8000);
  attendance().Set(Kintai::WorkedHours, 160.5);
  attendance().Set(Kintai::PaidLeaveDays, 2);
  SetListed(ItemBlock::Sikyu, "F基本給", true, PayForm::Hourly);
  Calculate();
  EXPECT_EQ(payment().Get(Sikyu::BasePay), 176500);

  employee().SetBasePay(1001);
  attendance().Set(Kintai::WorkedHours, 0.3);  // 300.3 yen, raised to 301 by the payment rounding
  attendance().Set(Kintai::PaidLeaveDays, 0);
  Calculate();
  EXPECT_EQ(payment().Get(Sikyu::BasePay), 301);
}

TEST_F(SalaryTest, DailyPayFromDaysWorked) {
  employee() = TestEmployee("日給花子", "260101_090002", PayForm::Daily, 9000);
  attendance().Set(Kintai::WorkDays, 18);
  attendance().Set(Kintai::WorkedHours, 999);  // not used for daily pay
  Calculate();
  EXPECT_EQ(payment().Get(Sikyu::BasePay), 162000);
}

TEST_F(SalaryTest, AbsenceDeductionIsNegativeAndFollowsTheReductionRounding) {
  employee().SetAbsenceDeduction(10001);
  attendance().Set(Kintai::AbsenceDays, 1.5);
  Calculate();
  EXPECT_EQ(payment().Get(Sikyu::Absence), -15001);
  EXPECT_EQ(payment().Get(Sikyu::TaxableTotal), 300000 - 15001);

  world.options.reductionRounding = RoundingMode::Half;
  Calculate();
  EXPECT_EQ(payment().Get(Sikyu::Absence), -15002);
}

TEST_F(SalaryTest, CommutingByPaymentUnit) {
  employee().SetCommuteNonTaxable(10000);
  employee().SetCommuteTaxable(2000);
  struct Case {
    const char* name;
    int unit;
    int month;
    double days;
    Yen nonTaxable, taxable;
    Yen total;  // 支給合計 beyond the base pay
  } cases[] = {
      {"per day worked", 1, 5, 20, 200000, 40000, 240000},
      {"every month", 2, 5, 20, 10000, 2000, 12000},
      {"quarterly, paying month", 3, 4, 20, 10000, 2000, 12000},
      {"quarterly, other month keeps stored values", 3, 5, 20, 777, 888, 0},
      {"twice a year 6,12月 in December", 11, 12, 20, 10000, 2000, 12000},
      {"unknown unit pays nothing", 0, 5, 20, 777, 888, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    world.period = c.month;
    employee().SetCommuteUnit(c.unit);
    attendance().Set(Kintai::WorkDays, c.days);
    payment().Set(Sikyu::CommuteNonTaxable, 777);
    payment().Set(Sikyu::CommuteTaxable, 888);
    Calculate();
    EXPECT_EQ(payment().Get(Sikyu::CommuteNonTaxable), c.nonTaxable);
    EXPECT_EQ(payment().Get(Sikyu::CommuteTaxable), c.taxable);
    EXPECT_EQ(payment().Get(Sikyu::Total), 300000 + c.total);
    EXPECT_EQ(payment().Get(Sikyu::TaxableTotal), 300000 + (c.total ? c.taxable : 0));
  }
}

TEST_F(SalaryTest, UserItemFlagsDecideWhichTotalsCount) {
  // 固定手当１ outside tax but inside social insurance; 固定控除１ deducted before tax and from
  // the social insurance base.
  SetListed(ItemBlock::Sikyu, "F固定手当１", true);
  SetListed(ItemBlock::Koujo, "F固定控除１", true);
  world.options.taxable[static_cast<int>(UserItem::FixedAllowance1)] = false;
  world.options.socialInsurance[static_cast<int>(UserItem::FixedAllowance1)] = true;
  world.options.taxable[static_cast<int>(UserItem::FixedDeduction1)] = true;
  world.options.socialInsurance[static_cast<int>(UserItem::FixedDeduction1)] = true;
  world.Refresh();
  employee().SetFixedAllowance(0, 5000);
  employee().SetFixedDeduction(0, 100000);
  Calculate();
  EXPECT_EQ(payment().Get(Sikyu::FixedAllowance1), 5000);
  EXPECT_EQ(payment().Get(Sikyu::TaxableTotal), 300000);
  EXPECT_EQ(payment().Get(Sikyu::Total), 305000);
  EXPECT_EQ(deduction().Get(Koujo::SocialBase), 305000 - 100000);
  EXPECT_EQ(deduction().Get(Koujo::SocialTotal), 100000);
  EXPECT_EQ(deduction().Get(Koujo::AfterSocial), 200000);
  EXPECT_EQ(deduction().Get(Koujo::IncomeTax), 3000);  // row [200000, 300000)

  // An allowance outside social insurance is taken out of 社保算定合計.
  world.options.socialInsurance[static_cast<int>(UserItem::FixedAllowance1)] = false;
  Calculate();
  EXPECT_EQ(deduction().Get(Koujo::SocialBase), 300000 - 100000);
}

TEST_F(SalaryTest, ResidentTaxOfJuneOnlyInJune) {
  employee().SetResidentTaxJune(13000);
  employee().SetResidentTaxOther(12000);
  for (int month : {5, 6, 7}) {
    world.period = month;
    Calculate();
    EXPECT_EQ(deduction().Get(Koujo::ResidentTax), month == 6 ? 13000 : 12000) << month;
  }
}

TEST_F(SalaryTest, ManualUnlistedAndVariableItems) {
  // A manual amount survives and still counts.
  payment().Set(Sikyu::BasePay, 123456);
  payment().SetManual(Sikyu::BasePay, true);
  deduction().Set(Koujo::IncomeTax, 999);
  deduction().SetManual(Koujo::IncomeTax, true);
  // An unlisted computed item becomes 0 even with a stored amount.
  payment().Set(Sikyu::HolidayNightOvertime, 5555);
  employee().SetOvertimePrice(3, 3000);
  attendance().Set(Kintai::HolidayNightOvertime, 2);
  // An unlisted variable item keeps its amount but counts nowhere; a listed one counts.
  payment().Set(Sikyu::VariableAllowance2, 7000);
  payment().Set(Sikyu::VariableAllowance1, 4000);
  SetListed(ItemBlock::Sikyu, "V変動手当１", true);
  Calculate();
  EXPECT_EQ(payment().Get(Sikyu::BasePay), 123456);
  EXPECT_EQ(deduction().Get(Koujo::IncomeTax), 999);
  EXPECT_EQ(payment().Get(Sikyu::HolidayNightOvertime), 0);
  EXPECT_EQ(payment().Get(Sikyu::VariableAllowance2), 7000);
  EXPECT_EQ(payment().Get(Sikyu::Total), 123456 + 4000);
  EXPECT_EQ(deduction().Get(Koujo::Total), 999);
}

TEST_F(SalaryTest, RetiredEmployeeHasNoFiguresButKeepsAttendance) {
  employee().SetRetirementDate("260331");
  attendance().Set(Kintai::WorkDays, 12);
  payment().Set(Sikyu::BasePay, 1);
  payment().SetManual(Sikyu::BasePay, true);
  deduction().Set(Koujo::Total, 2);
  Calculate();
  EXPECT_EQ(payment(), PaymentRecord{});
  EXPECT_EQ(deduction(), DeductionRecord{});
  EXPECT_EQ(attendance().Get(Kintai::WorkDays), 12);
}

TEST_F(SalaryTest, OverflowIsAnErrorNamingTheEmployeeAndChangesNothing) {
  employee().SetBasePay(2'000'000'000);
  employee().SetPositionAllowance(200'000'000);
  payment().Set(Sikyu::BasePay, 42);
  try {
    Calculate();
    FAIL() << "no error";
  } catch (const CalculationError& e) {
    EXPECT_NE(std::string(e.what()).find("山田太郎"), std::string::npos);
  }
  EXPECT_EQ(payment().Get(Sikyu::BasePay), 42);
}

TEST_F(SalaryTest, ATableFileMissingAtCalculationTimeGivesNoTax) {
  CalcInputs in = world.Inputs();
  in.presence.present[static_cast<int>(TableId::MonthlyTax)] = false;
  CalculateSalary(period, 1, in);
  EXPECT_EQ(deduction().Get(Koujo::IncomeTax), 0);
  Calculate();
  EXPECT_EQ(deduction().Get(Koujo::IncomeTax), 6000);  // 300,000 is the bracket's lower bound
}

}  // namespace
}  // namespace paylark
