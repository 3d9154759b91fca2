// A tax without its table, and a bonus period whose header values are damaged: neither may pass
// for a computed figure.
#include <gtest/gtest.h>

#include <functional>

#include "calc/bonus.h"
#include "calc/recalculate.h"
#include "calc/salary.h"
#include "support/payroll_fixture.h"
#include "support/recording_reporter.h"

namespace paylark {
namespace {

using testing::CalcWorld;
using testing::RecordingReporter;
using testing::TestCompany;
using testing::TestEmployee;

const std::string kKey = "250401_100000";

PeriodBlock OneEmployee(Yen basePay) {
  PeriodBlock p;
  p.company = TestCompany();
  p.Employee(1) = TestEmployee("税表一郎", kKey, PayForm::Monthly, basePay);
  return p;
}

TEST(TaxTableProblems, ASalaryTaxWithoutAUsableMonthlyTableIsNamedNotPassedOn) {
  struct Case {
    const char* name;
    std::function<void(CalcWorld&, CalcInputs&)> spoil;
  } cases[] = {
      {"file gone since start-up",
       [](CalcWorld&, CalcInputs& in) { in.presence.present[static_cast<int>(TableId::MonthlyTax)] = false; }},
      {"never loaded", [](CalcWorld& w, CalcInputs&) { w.tables = RateTables(); }},
      {"row count out of range",
       [](CalcWorld& w, CalcInputs&) {
         MonthlyTaxImage image = testing::TestMonthlyTable();
         image.SetI32(0, 1);
         w.tables.SetMonthly(image);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CalcWorld world(5);
    PeriodBlock p = OneEmployee(250000);
    TableProblems problems;
    CalcInputs in = world.Inputs();
    c.spoil(world, in);
    in.tableProblems = &problems;
    CalculateSalary(p, 1, in);
    EXPECT_EQ(p.Deduction(1).Get(Koujo::IncomeTax), 0);
    ASSERT_EQ(problems.messages.size(), 1u);
    EXPECT_NE(problems.messages[0].find("税額表(給与).dat"), std::string::npos) << problems.messages[0];
  }

  // With the table the same slot is taxed and nothing is reported; a manual tax needs no table.
  CalcWorld world(5);
  PeriodBlock p = OneEmployee(250000);
  TableProblems problems;
  CalcInputs in = world.Inputs();
  in.tableProblems = &problems;
  CalculateSalary(p, 1, in);
  EXPECT_EQ(p.Deduction(1).Get(Koujo::IncomeTax), 3000);
  in.presence.present[static_cast<int>(TableId::MonthlyTax)] = false;
  p.Deduction(1).SetManual(Koujo::IncomeTax, true);
  CalculateSalary(p, 1, in);
  EXPECT_TRUE(problems.Empty());
}

TEST(TaxTableProblems, RecalculationReportsEachMissingTableOnce) {
  CalcWorld world(14, ItemKind::Bonus);
  world.bonusMonth = 12;
  world.tables = RateTables();
  world.tables.SetMonthly(testing::TestMonthlyTable());
  world.tables.SetHealthGrades(testing::TestGradeTable());
  PeriodBlock p = OneEmployee(0);
  p.Employee(2) = TestEmployee("税表二郎", "250401_100002", PayForm::Monthly, 0);
  world.previous.figures[{11, kKey}] = {250000, 0};
  world.previous.figures[{11, "250401_100002"}] = {250000, 0};
  SheetColumns sheet;
  sheet.rowNames = {"賞与"};
  sheet.cells = {{"500000"}, {"400000"}};
  RecordingReporter reporter;
  const RecalcResult r = RecalculateAll(p, sheet, world.Inputs(), true, reporter);
  EXPECT_EQ(p.Deduction(1).Get(Koujo::IncomeTax), 0);
  ASSERT_EQ(r.tableProblems.size(), 1u);
  EXPECT_NE(r.tableProblems[0].find("税額表(賞与).dat"), std::string::npos) << r.tableProblems[0];
  EXPECT_TRUE(r.taxExceptionSlots.empty());
}

TEST(BonusHeader, ADamagedPayMonthIsAnErrorThatLeavesTheSlotAlone) {
  for (int month : {-1, 13, 99, 2147483647}) {
    SCOPED_TRACE(month);
    CalcWorld world(13, ItemKind::Bonus);
    world.bonusMonth = month;
    PeriodBlock p = OneEmployee(0);
    p.Employee(1).SetHealthSubject(true);
    p.Payment(1).Set(Sikyu::Bonus, 500000);
    p.Deduction(1).Set(Koujo::Total, 77);
    const PaymentRecord paymentBefore = p.Payment(1);
    const DeductionRecord deductionBefore = p.Deduction(1);
    try {
      CalculateBonus(p, 1, world.Inputs());
      ADD_FAILURE() << "no error";
    } catch (const CalculationError& e) {
      EXPECT_NE(std::string(e.what()).find("期間 13"), std::string::npos) << e.what();
    }
    EXPECT_EQ(p.Payment(1), paymentBefore);
    EXPECT_EQ(p.Deduction(1), deductionBefore);
    EXPECT_TRUE(world.previous.periodsAsked.empty());
  }
}

// A look-up of the previous month that fails half way (a damaged earlier block) must not leave
// premiums set and totals stale.
class FailingLookup : public PreviousPeriodLookup {
 public:
  Yen FindPreviousDeductionBase(int, const std::string&) override { throw std::runtime_error("block unreadable"); }
  double FindPreviousPaidLeave(int, const std::string&) override { return kPaidLeaveNotFound; }
};

TEST(BonusHeader, AnyErrorOfTheCalculationLeavesTheSlotAsItWas) {
  CalcWorld world(13, ItemKind::Bonus);
  world.bonusMonth = 7;
  PeriodBlock p = OneEmployee(0);
  p.Employee(1).SetHealthSubject(true);
  p.Employee(1).SetPensionSubject(true);
  p.Payment(1).Set(Sikyu::Bonus, 500000);
  const PaymentRecord paymentBefore = p.Payment(1);
  const DeductionRecord deductionBefore = p.Deduction(1);
  FailingLookup failing;
  CalcInputs in = world.Inputs();
  in.lookup = &failing;
  EXPECT_THROW(CalculateBonus(p, 1, in), std::runtime_error);
  EXPECT_EQ(p.Payment(1), paymentBefore);
  EXPECT_EQ(p.Deduction(1), deductionBefore);
}

TEST(BonusHeader, AnUnsetPayMonthIsDecemberForThePreviousMonthToo) {
  CalcWorld world(14, ItemKind::Bonus);
  world.bonusMonth = 0;
  world.previous.figures[{11, kKey}] = {250000, 0};
  PeriodBlock p = OneEmployee(0);
  p.Payment(1).Set(Sikyu::Bonus, 500000);
  EXPECT_EQ(CalculateBonus(p, 1, world.Inputs()), BonusTaxException::None);
  EXPECT_EQ(world.previous.periodsAsked, std::vector<int>{11});
  EXPECT_EQ(p.Deduction(1).Get(Koujo::IncomeTax), 50000);  // 10 % by November's 250,000
}

}  // namespace
}  // namespace paylark
