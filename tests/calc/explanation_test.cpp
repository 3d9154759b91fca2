// The explanation of each computed amount: it names the table row or the rate with its source,
// its figures recompute to the amount, and asking for it changes no figure.
#include "calc/explanation.h"

#include <gtest/gtest.h>

#include "calc/bonus.h"
#include "calc/income_tax.h"
#include "calc/premiums.h"
#include "calc/rounding.h"
#include "calc/salary.h"
#include "calc/year_end.h"
#include "store/premium_rates.h"
#include "store/rate_table_extension.h"
#include "support/payroll_fixture.h"

namespace paylark {
namespace {

using testing::CalcWorld;
using testing::TestCompany;
using testing::TestEmployee;

const std::string kKey = "260401_090000";

// Grade 23 of 協会けんぽ (standard 320,000) and the rows of the 令和8年分 monthly table around
// 280,000 and from 740,000 on.
void InstallTables(RateTables& tables) {
  HealthGradeImage grades;
  grades.SetGradeCount(50);
  grades.SetPensionLowest(1);
  grades.SetPensionHighest(50);
  grades.SetGrade(23, {310'000, 330'000, 320'000});
  tables.SetHealthGrades(grades);

  FullMonthlyTaxTable monthly;
  monthly.rows = {{278'000, 281'000, {7'180, 5'560, 3'950, 2'330, 710, 0, 0, 0}, 45'600},
                  {281'000, 740'000, {7'290, 5'670, 4'050, 2'440, 820, 0, 0, 0}, 46'700}};
  monthly.kouBrackets = {{740'000, {71'680, 65'210, 58'750, 52'290, 45'810, 39'350, 32'890, 26'410}, 0.2042},
                         {790'000, {81'890, 75'420, 68'960, 62'500, 56'020, 49'560, 43'100, 36'620}, 0.23483},
                         {960'000, {121'820, 115'340, 108'880, 102'420, 95'940, 89'480, 83'020, 76'540}, 0.33693}};
  monthly.otsuBrackets = {{740'000, 259'800, 0.4084}};
  monthly.kouReductionBeyondSeven = 1'610;
  tables.SetMonthly(MonthlyTaxImage{});
  tables.SetExtension(TableExtension{TableId::MonthlyTax, {2026, 1, 1}, monthly, std::nullopt});
}

PremiumRates TokyoRates() {
  PremiumRates rates;
  rates.Merge({{PremiumRateItem::Health, 13, {2026, 3, 1}, 98'500},
               {PremiumRateItem::Levy, 0, {2026, 4, 1}, 2'300},
               {PremiumRateItem::Pension, 0, {2017, 9, 1}, 183'000}});
  return rates;
}

class ExplanationTest : public ::testing::Test {
 protected:
  ExplanationTest() : world(5) {
    InstallTables(world.tables);
    rates = TokyoRates();
    x.sources.premiumRates = &rates;
    x.sources.premiumMonth = CivilDate{2026, 4, 1};
    company = TestCompany();
    company.SetHealthInsurer(13);
    company.SetHealthRate(4.925);
    company.SetLevyRate(0.115);
    employee = TestEmployee("山田太郎", kKey, PayForm::Monthly, 320'000);
    employee.SetGrade(23);
    employee.SetHealthSubject(true);
    employee.SetHealthPremium(15'760);
    employee.SetLevyPremium(368);
  }
  CalcInputs Inputs() {
    CalcInputs in = world.Inputs();
    in.explanation = &x;
    return in;
  }
  const ExplanationEntry& Entry(Koujo k) {
    const ExplanationEntry* e = x.Find(DeductionField(k));
    EXPECT_NE(e, nullptr);
    static const ExplanationEntry none;
    return e != nullptr ? *e : none;
  }

  CalcWorld world;
  PremiumRates rates;
  Explanation x;
  CompanyRecord company;
  EmployeeRecord employee;
};

TEST_F(ExplanationTest, HealthAndLevyFromTheGradeAndTheRateOfThePrefecture) {
  x.sources.premiumMonth = CivilDate{2026, 3, 1};
  MonthlyPremiums(Inputs(), company, employee, 320'000);
  const ExplanationEntry& health = Entry(Koujo::Health);
  EXPECT_EQ(health.Text(),
            "健康保険料 15,760 ＝ 標準報酬月額 320,000（23等級）× 4.925 %（協会けんぽ 東京都、令和8年3月分から、"
            "9.85 % の折半）＝ 15,760.00 → 50銭以下切捨て → 15,760");

  x.sources.premiumMonth = CivilDate{2026, 4, 1};
  MonthlyPremiums(Inputs(), company, employee, 320'000);
  const ExplanationEntry& levy = Entry(Koujo::ChildSupportLevy);
  EXPECT_NE(levy.rate.find("0.115 %（協会けんぽ 子ども・子育て支援金、令和8年4月分から、0.23 % の折半）"),
            std::string::npos)
      << levy.Text();
  for (const ExplanationEntry* e : {&health, &levy}) {
    ASSERT_EQ(e->inputs.size(), 2u);
    const double exact = e->inputs[1].value / 100.0 * e->inputs[0].value;
    EXPECT_DOUBLE_EQ(*e->exact, exact);
    EXPECT_EQ(static_cast<Yen>(RoundFiftySen(exact)), e->amount) << e->Text();
  }

  // A master amount that the grade does not give is shown as the master's, not as the grade's.
  employee.SetHealthPremium(15'000);
  MonthlyPremiums(Inputs(), company, employee, 320'000);
  EXPECT_FALSE(Entry(Koujo::Health).exact.has_value());
  EXPECT_NE(Entry(Koujo::Health).body.find("とは異なる"), std::string::npos) << Entry(Koujo::Health).Text();

  // A rate that is not the data's half is the company's own.
  company.SetHealthRate(5.0);
  employee.SetHealthPremium(16'000);
  MonthlyPremiums(Inputs(), company, employee, 320'000);
  EXPECT_NE(Entry(Koujo::Health).rate.find("5 %（会社情報の料率）"), std::string::npos) << Entry(Koujo::Health).Text();
}

TEST_F(ExplanationTest, EmploymentPremiumByEachRounding) {
  employee.SetEmploymentSubject(true);
  struct Case {
    const char* name;
    bool table;
    RoundingMode mode;
    Yen wage;
    Yen expected;
    const char* names;
  } cases[] = {
      {"dated rate: 1,650.55 over 50銭", true, RoundingMode::Truncate, 300'100, 1'651, "5.5 ‰"},
      {"dated rate: 1,655.50 at 50銭", true, RoundingMode::Truncate, 301'000, 1'655, "50銭以下切捨て"},
      {"company rate, deduction rounding down", false, RoundingMode::Truncate, 300'150, 1'800, "0.6 %（会社情報の料率）"},
      {"company rate, deduction rounding up", false, RoundingMode::Up, 300'150, 1'801, "控除項目の端数処理 切上げ"},
  };
  world.tables.SetEmployment(EmploymentImage{});
  world.tables.SetExtension(TableExtension{TableId::Employment, {2025, 4, 1}, std::nullopt, std::nullopt,
                                           EmploymentRateTable{{{{2025, 4, 1}, 5'500, 6'500, 6'500}}}});
  world.payDate = CivilDate{2026, 3, 25};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    company.SetUseEmploymentTable(c.table);
    world.options.deductionRounding = c.mode;
    const Yen premium = MonthlyPremiums(Inputs(), company, employee, c.wage).employment;
    const ExplanationEntry& e = Entry(Koujo::Employment);
    EXPECT_EQ(premium, c.expected);
    EXPECT_EQ(e.amount, premium);
    EXPECT_NE(e.Text().find(c.names), std::string::npos) << e.Text();
    ASSERT_EQ(e.inputs.size(), 2u);
    EXPECT_EQ(e.inputs[0].value, c.wage);
    if (c.table) {
      EXPECT_DOUBLE_EQ(*e.exact, c.wage * e.inputs[1].value / 1'000'000);
      EXPECT_EQ(EmploymentPremiumAtRate(c.wage, static_cast<std::int32_t>(e.inputs[1].value)), e.amount);
    } else {
      EXPECT_DOUBLE_EQ(*e.exact, e.inputs[1].value / 100.0 * c.wage);
      EXPECT_EQ(RoundYen(c.mode, *e.exact), e.amount);
    }
  }
}

TEST_F(ExplanationTest, MonthlyTaxByTheRowAndByTheBracketAbove740000) {
  employee.SetTaxDependants(2);
  const CalcInputs in = Inputs();
  EXPECT_EQ(SalaryTax(in, employee, 280'783), 3'950);
  EXPECT_EQ(Entry(Koujo::IncomeTax).Text(),
            "所得税 3,950 ＝ 令和8年分 月額表、社保控除後 280,783 → 278,000以上281,000未満の行、甲欄 扶養親族等 2人 "
            "→ 3,950");

  struct Case {
    Yen amount;
    int dependants;
    const char* row;
  } cases[] = {
      {800'000, 2, "790,000以上960,000未満の欄"},  // 68,960 + 10,000 × 23.483 %
      {745'000, 0, "740,000以上790,000未満の欄"},  // 71,680 + 5,000 × 20.42 %
      {1'000'000, 9, "960,000以上の欄"},            // 7人 column less two reductions
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.amount);
    employee.SetTaxDependants(c.dependants);
    const Yen tax = SalaryTax(in, employee, c.amount);
    const ExplanationEntry& e = Entry(Koujo::IncomeTax);
    EXPECT_EQ(e.amount, tax);
    EXPECT_NE(e.row.find(c.row), std::string::npos) << e.Text();
    // base + (amount − lower) × rate − reductions, rounded, is the tax.
    double base = 0, rate = 0, from = 0;
    for (const ExplainedInput& i : e.inputs) {
      if (i.name == "税額") base = i.value;
      if (i.name == "超過額の率") rate = i.value;
      if (i.name == "超過額の起点") from = i.value;
    }
    const double reductions = c.dependants > 7 ? (c.dependants - 7) * 1'610.0 : 0;
    EXPECT_DOUBLE_EQ(*e.exact, base + (c.amount - from) * rate - reductions);
    EXPECT_EQ(RoundYen(RoundingMode::Truncate, *e.exact), tax) << e.Text();
  }
}

TEST_F(ExplanationTest, BonusTaxByTheRateRowAndEachException) {
  world.period = 13;
  world.bonusMonth = 7;
  struct Case {
    const char* name;
    Yen previous;
    Yen bonus;
    BonusTaxException exception;
    const char* names;
  } cases[] = {
      {"rate row", 150'000, 500'000, BonusTaxException::None, "100,000以上300,000未満の行、甲欄 扶養親族等 0人 → 算出率 10 %"},
      {"no salary in the previous month", 0, 500'000, BonusTaxException::NoPreviousSalary, "前月中に給与の支払いが無い"},
      {"over ten times", 50'000, 500'001, BonusTaxException::OverTenTimes, "の10倍 500,000 を超える"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    world.previous.figures[{6, kKey}] = {c.previous, 0};
    const BonusTaxResult r = BonusTaxWithRules(Inputs(), employee, c.bonus);
    const ExplanationEntry& e = Entry(Koujo::IncomeTax);
    EXPECT_EQ(r.exception, c.exception);
    EXPECT_EQ(e.amount, r.tax);
    EXPECT_NE(e.Text().find(c.names), std::string::npos) << e.Text();
    EXPECT_EQ(e.inputs[1].value, c.previous);
    EXPECT_EQ(e.inputs[1].origin, InputOrigin::EarlierPeriod);
    if (c.exception == BonusTaxException::None) {
      EXPECT_EQ(RoundYen(RoundingMode::Truncate, e.inputs[2].value * c.bonus), 50'000);
    }
  }
}

TEST(YearEndExplanation, TheAnnualTaxLineRecomputesFromTheAdjustedTax) {
  const YearEndRules rules = LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2026);
  YearEndInput in;
  in.salary = 4'800'000;
  in.bonus = 1'000'000;
  in.socialInsurance = 850'000;
  in.withheld = 150'000;
  in.employeeBirth = {1980, 5, 1};
  Explanation x;
  const YearEndResult r = ComputeYearEnd(rules, in, &x);
  EXPECT_EQ(x.OfSlot(0).size(), YearEndLines().size());
  for (std::size_t i = 0; i < YearEndLines().size(); ++i) {
    const ExplanationEntry* e = x.Find(0, YearEndField(static_cast<int>(i)));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->amount, r.*(YearEndLines()[i].field)) << e->name;
  }
  const ExplanationEntry& computed = *x.Find(0, YearEndField(14));
  EXPECT_NE(computed.row.find("以下の行"), std::string::npos) << computed.Text();
  EXPECT_EQ(static_cast<Yen>(computed.inputs[0].value * computed.inputs[1].value / 100 - computed.inputs[2].value),
            r.computedTax);
  const ExplanationEntry& annual = *x.Find(0, YearEndField(17));
  EXPECT_EQ(static_cast<Yen>(*annual.exact) / 100 * 100, r.annualTax) << annual.Text();
  EXPECT_EQ(*annual.exact, r.adjustedIncomeTax * 1.021);
  EXPECT_EQ(ComputeYearEnd(rules, in).annualTax, r.annualTax);
}

// A salary month and a bonus calculated with an explanation and without: the same bytes, and
// every entry's amount is the figure stored.
TEST_F(ExplanationTest, RecordsAreTheSameWithAndWithoutAnExplanation) {
  for (int p : {5, 13}) {
    SCOPED_TRACE(p);
    CalcWorld w(p, p == 13 ? ItemKind::Bonus : ItemKind::Salary);
    InstallTables(w.tables);
    w.bonusMonth = 7;
    w.previous.figures[{6, kKey}] = {300'000, 0};
    PeriodBlock period;
    period.company = company;
    period.Employee(1) = employee;
    period.Employee(1).SetEmploymentSubject(true);
    period.Employee(1).SetPensionSubject(true);
    period.Employee(1).SetPensionPremium(29'280);
    period.Employee(1).SetTaxDependants(2);
    period.Employee(1).SetPositionAllowance(10'000);
    period.Attendance(1).Set(Kintai::OvertimeHours, 10.5);
    period.Employee(1).SetOvertimePrice(0, 2'345);
    period.Attendance(1).Set(Kintai::AbsenceDays, 1);
    period.Employee(1).SetAbsenceDeduction(14'545);
    period.Payment(1).Set(Sikyu::Bonus, p == 13 ? 600'000 : 0);
    period.Deduction(1).SetManual(Koujo::ResidentTax, true);
    period.Deduction(1).Set(Koujo::ResidentTax, 12'300);
    PeriodBlock traced = period;

    CalcInputs plain = w.Inputs();
    CalcInputs in = w.Inputs();
    Explanation x2;
    in.explanation = &x2;
    if (p == 13) {
      CalculateBonus(period, 1, plain);
      CalculateBonus(traced, 1, in);
    } else {
      CalculateSalary(period, 1, plain);
      CalculateSalary(traced, 1, in);
    }
    EXPECT_EQ(traced.Payment(1).bytes, period.Payment(1).bytes);
    EXPECT_EQ(traced.Deduction(1).bytes, period.Deduction(1).bytes);
    ASSERT_NE(x2.Find(1, DeductionField(Koujo::IncomeTax)), nullptr);
    for (const ExplanationEntry* e : x2.OfSlot(1)) {
      const Yen stored = e->field.record == ExplainedRecord::Payment ? period.Payment(1).At(e->field.position)
                                                                    : period.Deduction(1).At(e->field.position);
      EXPECT_EQ(e->amount, stored) << e->Text();
    }
    const ExplanationEntry* resident = x2.Find(1, DeductionField(Koujo::ResidentTax));
    if (p == 5) {
      ASSERT_NE(resident, nullptr);
      EXPECT_TRUE(resident->manual);
      const ExplanationEntry* overtime = x2.Find(1, PaymentField(Sikyu::Overtime));
      ASSERT_NE(overtime, nullptr);
      EXPECT_EQ(RoundYen(w.options.paymentRounding, *overtime->exact), overtime->amount) << overtime->Text();
    }
  }
}

// The figures of the texts, and a damaged rate's product shown whole rather than cut.
TEST(ExplanationTexts, FiguresAreGroupedAndNeverCut) {
  EXPECT_EQ(YenText(1'234'567), "1,234,567");
  EXPECT_EQ(YenText(-24'000), "−24,000");
  EXPECT_EQ(ExactText(15'760), "15,760.00");
  EXPECT_EQ(ExactText(-0.004), "0.00");
  EXPECT_EQ(ExactText(1e300), "1e+300");
  EXPECT_EQ(PercentFigure(4.925), "4.925");
  EXPECT_EQ(PercentFigure(1e300), "1e+300");
}

}  // namespace
}  // namespace paylark
