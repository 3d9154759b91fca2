// 年末調整 of a company: the year's pay from a 令和8年 yearly file by payment date, who is adjusted,
// and the settlement in the December pay.
#include <gtest/gtest.h>

#include "calc/salary.h"
#include "calc/year_end_figures.h"
#include "calc/year_end_settlement.h"
#include "store/year_file.h"
#include "support/payroll_fixture.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

using testing::CalcWorld;
using testing::TempDir;
using testing::TestCompany;
using testing::TestEmployee;

constexpr const char* kKeyA = "260101_000001";
constexpr const char* kKeyB = "260101_000002";
constexpr const char* kKeyC = "260101_000003";

struct Pay {
  Yen taxable, social, tax;
};

void SetPay(PeriodBlock& block, int slot, Pay pay) {
  block.Payment(slot).Set(Sikyu::TaxableTotal, pay.taxable);
  block.Payment(slot).Set(Sikyu::Total, pay.taxable);
  block.Deduction(slot).Set(Koujo::SocialTotal, pay.social);
  block.Deduction(slot).Set(Koujo::IncomeTax, pay.tax);
  block.Deduction(slot).Set(Koujo::Total, CheckedAdd(pay.social, pay.tax));
}

// Three employees: A (甲) with a salary every month and three bonuses, B (甲) with a salary only,
// C (乙). The summer bonus is paid on 10 July, the winter bonus on 10 December; the third bonus
// has no payment date.
class CompanyYear : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = data_ / YearFileName({"令和", 8});
    OpenPeriod state;
    CreateYearFile(file_, state);
    state.header.SetBonusMonth(13, 7);
    state.header.SetBonusDay(13, 10);
    state.header.SetBonusMonth(14, 12);
    state.header.SetBonusDay(14, 10);
    for (int period = 1; period <= kPeriodCount; ++period) {
      PeriodBlock& b = state.period;
      b.Clear();
      b.company = TestCompany();
      b.Employee(1) = TestEmployee("甲野", kKeyA, PayForm::Monthly, 300000);
      b.Employee(2) = TestEmployee("乙山", kKeyB, PayForm::Monthly, 250000);
      b.Employee(3) = TestEmployee("丙川", kKeyC, PayForm::Monthly, 100000);
      b.Employee(3).SetTaxColumn(1);
      if (IsSalaryPeriod(period)) {
        SetPay(b, 1, {300000, 45000, 6000});
        SetPay(b, 2, {250000, 37000, 5000});
        SetPay(b, 3, {100000, 0, 3063});
      } else {
        const Yen bonus = period == 13 ? 500000 : period == 14 ? 600000 : 100000;
        SetPay(b, 1, {bonus, bonus * 15 / 100, bonus / 25});
      }
      state.periodIndex = period;
      SavePeriod(file_, state);
    }
  }

  std::vector<EmployeeYearPay> Gather() { return GatherYearPay(ReadCalendarYearFiles(file_, 2026), 2026); }

  TempDir data_;
  std::filesystem::path file_;
};

TEST_F(CompanyYear, TheYearsFiguresAreTheSumsOfItsPeriodsByPaymentDate) {
  const std::vector<EmployeeYearPay> pays = Gather();
  ASSERT_EQ(pays.size(), 3u);
  // A: 12 × 300,000; bonuses 500,000 (July), 600,000 (December) and the third bonus without a date,
  // placed on 31 December of the file's year, so it counts.
  EXPECT_EQ(pays[0].key, kKeyA);
  EXPECT_EQ(pays[0].salary, 3600000);
  EXPECT_EQ(pays[0].bonus, 1200000);
  EXPECT_EQ(pays[0].socialInsurance, 12 * 45000 + 180000);
  EXPECT_EQ(pays[0].withheld, 12 * 6000 + 48000);
  EXPECT_EQ(pays[0].lastPayment, (CivilDate{2026, 12, 31}));
  EXPECT_EQ(pays[1].salary, 3000000);
  EXPECT_EQ(pays[1].bonus, 0);
  EXPECT_EQ(pays[1].withheld, 60000);
  EXPECT_EQ(pays[2].taxColumn, 1);
  // The file is of 2026 only.
  EXPECT_TRUE(GatherYearPay(ReadCalendarYearFiles(file_, 2026), 2025).empty());
  EXPECT_THROW(ReadCalendarYearFiles(file_, 2025), std::invalid_argument);
}

TEST_F(CompanyYear, SettlementInDecemberChangesTheNetPayByTheDifference) {
  const YearEndRules rules = LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2026);
  const std::vector<EmployeeYearPay> pays = Gather();
  Declaration declaration;
  declaration.dependantForm = true;
  declaration.spouse = DeclaredPerson{"", "妻", {1985, 1, 1}, 0};
  const EmployeeYearEnd a = AdjustEmployee(rules, pays[0], &declaration);
  ASSERT_FALSE(a.exclusion);
  // 4,800,000 → 3,400,000; 社保 720,000, 配偶者 380,000, 基礎 1,040,000: 課税 1,260,000 × 5 % = 63,000
  // → 64,323 → 64,300; withheld 120,000.
  EXPECT_EQ(a.result.taxableIncome, 1260000);
  EXPECT_EQ(a.result.annualTax, 64300);
  EXPECT_EQ(a.result.difference, -55700);
  EXPECT_EQ(AdjustEmployee(rules, pays[2], &declaration).exclusion, "乙欄");
  EXPECT_EQ(AdjustEmployee(rules, pays[1], nullptr).exclusion, "扶養控除等申告書の提出なし");

  std::vector<PeriodBlock> blocks(kPeriodCount);
  std::vector<YearPeriod> periods;
  for (int period = 1; period <= kPeriodCount; ++period) {
    LoadPeriod(file_, period, blocks[period - 1]);
    periods.push_back({period, &blocks[period - 1]});
  }
  PeriodBlock& december = blocks[11];
  const Yen netBefore = NetPay(december.Payment(1), december.Deduction(1));
  ASSERT_TRUE(SettleYearEnd(periods, 12, kKeyA, a.result.difference));
  EXPECT_EQ(NetPay(december.Payment(1), december.Deduction(1)), netBefore - a.result.difference);
  EXPECT_EQ(december.Deduction(1).Get(Koujo::YearEndAdjustment), -55700);
  EXPECT_TRUE(december.Deduction(1).Manual(Koujo::YearEndAdjustment));
  // The year's figures do not take the settlement in: a re-run starts from the same withheld tax.
  EXPECT_EQ(AdjustEmployee(rules, pays[0], &declaration).result.difference, -55700);

  // Recalculating December keeps the settlement in 控除合計.
  CalcWorld world(12);
  PeriodBlock recalculated = december;
  CalculateSalary(recalculated, 1, world.Inputs());
  PeriodBlock withoutSettlement = recalculated;
  PlaceYearEndSettlement(withoutSettlement, 1, 0);
  EXPECT_EQ(NetPay(recalculated.Payment(1), recalculated.Deduction(1)),
            NetPay(withoutSettlement.Payment(1), withoutSettlement.Deduction(1)) + 55700);

  // Settling again, into the December bonus, replaces the earlier settlement.
  ASSERT_TRUE(SettleYearEnd(periods, 14, kKeyA, -50000));
  EXPECT_EQ(december.Deduction(1).Get(Koujo::YearEndAdjustment), 0);
  EXPECT_EQ(NetPay(december.Payment(1), december.Deduction(1)), netBefore);
  EXPECT_EQ(blocks[13].Deduction(1).Get(Koujo::YearEndAdjustment), -50000);
  // An employee without a slot in the settling period is not settled.
  EXPECT_FALSE(SettleYearEnd(periods, 14, "999999_999999", 100));
}

TEST_F(CompanyYear, AShortfallMayBeDeferredWhenTheLastPayIsLow) {
  const YearEndRules rules = LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2026);
  std::vector<PeriodBlock> blocks(kPeriodCount);
  std::vector<YearPeriod> periods;
  for (int period = 1; period <= kPeriodCount; ++period) {
    LoadPeriod(file_, period, blocks[period - 1]);
    periods.push_back({period, &blocks[period - 1]});
  }
  // B's 税引手取額 is 208,000 a month; December cut to 100,000 − 15,000 − 1,000 = 84,000 (< 70 %).
  SetPay(blocks[11], 2, {100000, 15000, 1000});
  const ShortfallDeferral d = OfferDeferral(rules, periods, 12, kKeyB, 41000);
  EXPECT_TRUE(d.offered);
  EXPECT_EQ(d.collectedNow, 1000);
  EXPECT_EQ(d.january + d.february, 40000);
  // A normal December offers nothing.
  EXPECT_FALSE(OfferDeferral(rules, periods, 12, kKeyA, 41000).offered);
}

TEST(YearEndExclusion, ReasonsShown) {
  struct Case {
    const char* name;
    int taxColumn;
    bool retired, paidDecember;
    Yen totalPay;
    AdjustmentEligibility eligibility;
    std::optional<std::string> expected;
  };
  const AdjustmentEligibility declared{true, false, false};
  const Case cases[] = {
      {"adjusted", 0, false, true, 5000000, declared, std::nullopt},
      {"乙欄", 1, false, true, 5000000, declared, "乙欄"},
      {"no 扶養控除等申告書", 0, false, true, 5000000, {}, "扶養控除等申告書の提出なし"},
      {"non-resident", 0, false, true, 5000000, {true, true, false}, "非居住者"},
      {"over the limit", 0, false, true, 20000001, declared, "給与の総額が20000000円を超える"},
      {"at the limit", 0, false, true, 20000000, declared, std::nullopt},
      {"left during the year", 0, true, false, 3000000, declared, "年の中途で退職"},
      {"left after the December salary", 0, true, true, 3000000, declared, std::nullopt},
      {"left by death (所基通190-1)", 0, true, false, 3000000, {true, false, true}, std::nullopt},
  };
  for (const Case& c : cases) {
    EmployeeYearPay pay;
    pay.taxColumn = c.taxColumn;
    pay.retired = c.retired;
    pay.paidDecemberSalary = c.paidDecember;
    EXPECT_EQ(YearEndExclusion(pay, c.totalPay, 20000000, c.eligibility), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace paylark
