// The shipped premium rates against the figures a company must get, and the grade re-set at the
// new rates, from the TSV sources in tables/.
#include <gtest/gtest.h>

#include <algorithm>

#include "calc/company_rates.h"
#include "calc/premium_reset.h"
#include "store/prefectures.h"
#include "tables/premium_rate_sources.h"
#include "tables/rate_table_sources.h"

namespace paylark::tables {
namespace {

constexpr int kTokyo = 13;

PremiumRates ShippedRates() {
  PremiumRates rates;
  rates.Merge(BuildPremiumRateRows(PAYLARK_TABLES_SRC));
  return rates;
}

RateTables ShippedGrades() {
  TableSources sources;
  sources.folder = PAYLARK_TABLES_SRC;
  RateTables tables;
  tables.SetHealthGrades(BuildHealthGradeImage(sources));
  return tables;
}

CompanyRecord TokyoCompany(int collection, int closingDay, int closingMonth) {
  CompanyRecord c{};
  c.SetName("テスト");
  c.SetGeneralBusiness(true);
  c.SetPayDay(25);
  c.SetHealthInsurer(kTokyo);
  c.SetPremiumCollection(collection);
  c.SetWageClosingDay(closingDay);
  c.SetWageClosingMonth(closingMonth);
  return c;
}

CompanyRateSet RatesOfSalaryMonth(const PremiumRates& rates, const CompanyRecord& c, int year, int month) {
  const CivilDate pay{year, month, std::min(c.PayDay(), DaysInMonth(year, month))};
  const YearMonth premiumMonth = PremiumMonth(c, year, month);
  return CompanyRatesInForce(rates, c, CivilDate{premiumMonth.year, premiumMonth.month, 1}, WageClosingDate(c, pay));
}

TEST(PremiumRateSources, EveryPrefectureHasEachYearAndTheSourcesHoldTogether) {
  const PremiumRates rates = ShippedRates();
  for (int p = 1; p <= kPrefectureCount; ++p) {
    for (int year : {2024, 2025, 2026}) {
      SCOPED_TRACE(PrefectureName(p) + " " + std::to_string(year));
      const auto feb = rates.Find(PremiumRateItem::Health, static_cast<std::uint16_t>(p), {year, 2, 1});
      const auto mar = rates.Find(PremiumRateItem::Health, static_cast<std::uint16_t>(p), {year, 3, 1});
      ASSERT_TRUE(mar);
      EXPECT_EQ(feb.has_value(), year > 2024);
      EXPECT_GT(*mar, 90000);
      EXPECT_LT(*mar, 110000);
    }
  }
  // 農林水産・清酒製造 and 建設 take the same worker's share in every year, so that a company of
  // "それ以外" needs no further choice.
  for (const CivilDate& from : rates.ChangeDates(PremiumRateItem::EmploymentWorker)) {
    SCOPED_TRACE(from.year);
    EXPECT_EQ(rates.Find(PremiumRateItem::EmploymentWorker, 1, from), rates.Find(PremiumRateItem::EmploymentWorker, 2, from));
  }
  // Health and nursing change with the March premium month, the levy and employment in April.
  for (const CivilDate& d : rates.ChangeDates(PremiumRateItem::Health)) EXPECT_EQ(d.month, 3);
  for (const CivilDate& d : rates.ChangeDates(PremiumRateItem::Nursing)) EXPECT_EQ(d.month, 3);
  for (const CivilDate& d : rates.ChangeDates(PremiumRateItem::Levy)) EXPECT_EQ(d.month, 4);
  for (const CivilDate& d : rates.ChangeDates(PremiumRateItem::EmploymentWorker)) EXPECT_EQ((d.month * 100 + d.day), 401);
}

TEST(PremiumRateSources, PensionGradesAreTheHealthGradesFourToThirtyFive) {
  const TsvFile pension = TsvFile::Read(std::filesystem::path(PAYLARK_TABLES_SRC) / "pension-rates.tsv");
  const RateTables grades = ShippedGrades();
  int checked = 0;
  for (std::size_t i = 0; i < pension.RowCount(); ++i) {
    if (pension.Text(i, "from_premium_month") != "2020-09") continue;
    const int grade = pension.Int(i, "grade");
    SCOPED_TRACE(grade);
    const auto health = grades.HealthGrade(grade + 3);
    EXPECT_EQ(health.standard, pension.Int(i, "standard"));
    if (grade > 1) {
      EXPECT_EQ(health.lower, pension.Int(i, "lower"));
    }
    ++checked;
  }
  EXPECT_EQ(checked, 32);
  EXPECT_EQ(grades.PensionGrade(1), 4);
  EXPECT_EQ(grades.PensionGrade(50), 35);
}

TEST(PremiumRateSources, TokyoApril2026UnderNextMonthCollection) {
  const PremiumRates rates = ShippedRates();
  struct Case {
    const char* name;
    int month;
    int closingDay;
    int closingMonth;
    double levy;
    double employment;
  } cases[] = {
      {"4月分, wages closed 2026-03-31 (前月締め)", 4, 31, 1, 0, 0.55},
      {"4月分, wages closed 2026-04-15", 4, 15, 0, 0, 0.5},
      {"4月分, no closing day: the pay date 2026-04-25", 4, 0, 0, 0, 0.5},
      {"5月分: the levy's first premium month", 5, 31, 1, 0.115, 0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CompanyRateSet r = RatesOfSalaryMonth(rates, TokyoCompany(0, c.closingDay, c.closingMonth), 2026, c.month);
    EXPECT_EQ(r.health, 4.925);
    EXPECT_EQ(r.nursing, 0.81);
    EXPECT_EQ(r.pension, 9.15);
    EXPECT_EQ(r.levy, c.levy);
    EXPECT_EQ(r.employment, c.employment);
  }
  // A 健康保険組合 types health, nursing and levy; pension and employment still come from the data.
  CompanyRecord union_ = TokyoCompany(0, 0, 0);
  union_.SetHealthInsurer(0);
  const CompanyRateSet r = RatesOfSalaryMonth(rates, union_, 2026, 5);
  EXPECT_FALSE(r.health);
  EXPECT_FALSE(r.nursing);
  EXPECT_FALSE(r.levy);
  EXPECT_EQ(r.pension, 9.15);
  EXPECT_EQ(r.employment, 0.5);
}

TEST(PremiumRateSources, GradeTwentyTwoAtTheMay2026Rates) {
  CompanyRecord company = TokyoCompany(0, 31, 1);
  ApplyRates(company, RatesOfSalaryMonth(ShippedRates(), company, 2026, 5));
  const StoredPremiums p = GradeStoredPremiums(ShippedGrades(), company, 22);
  EXPECT_EQ(p, (StoredPremiums{14775, 2430, 345, 27450, 0}));
}

TEST(PremiumRateSources, MarchUnderSameMonthCollectionAsksAndResetsEveryGrade) {
  const PremiumRates rates = ShippedRates();
  const RateTables grades = ShippedGrades();
  PeriodBlock period{};
  period.company = TokyoCompany(1, 0, 0);
  ApplyRates(period.company, RatesOfSalaryMonth(rates, period.company, 2026, 2));
  ASSERT_EQ(period.company.HealthRate(), 4.955);
  ASSERT_EQ(period.company.NursingRate(), 0.795);
  auto add = [&](int slot, const char* name, int grade) {
    EmployeeRecord& e = period.Employee(slot);
    e.SetName(name);
    e.SetKey("260101_00000" + std::to_string(slot));
    e.SetGrade(static_cast<std::uint16_t>(grade));
    const StoredPremiums p = grade > 0 ? GradeStoredPremiums(grades, period.company, grade) : StoredPremiums{1, 2, 3, 4, 5};
    e.SetHealthPremium(p.health);
    e.SetNursingPremium(p.nursing);
    e.SetLevyPremium(p.levy);
    e.SetPensionPremium(p.pension);
    e.SetFundContribution(p.fund);
  };
  add(1, "二十二等級", 22);
  add(2, "手入力", 0);
  add(4, "一等級", 1);
  add(5, "退職", 10);
  period.Employee(5).SetRetirementDate("260131");

  const CompanyRateSet march = RatesOfSalaryMonth(rates, period.company, 2026, 3);
  const std::vector<RateChange> changes = RateChangesFor(period.company, march);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].name, "健康保険");
  EXPECT_EQ(changes[0].before, 4.955);
  EXPECT_EQ(changes[0].after, 4.925);
  EXPECT_EQ(changes[1].name, "介護保険");
  EXPECT_EQ(changes[1].before, 0.795);
  EXPECT_EQ(changes[1].after, 0.81);

  ApplyRates(period.company, march);
  EXPECT_TRUE(RateChangesFor(period.company, march).empty());
  const StoredPremiums retiredBefore = StoredPremiumsOf(period.Employee(5));
  const std::vector<PremiumResetLine> lines = ResetPremiumsFromGrades(grades, period);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].name, "二十二等級");
  EXPECT_EQ(lines[0].before.health, 14865);
  EXPECT_EQ(lines[0].after, (StoredPremiums{14775, 2430, 0, 27450, 0}));
  EXPECT_EQ(StoredPremiumsOf(period.Employee(1)), lines[0].after);
  EXPECT_EQ(lines[1].grade, 0);
  EXPECT_EQ(StoredPremiumsOf(period.Employee(2)), (StoredPremiums{1, 2, 3, 4, 5}));
  EXPECT_EQ(StoredPremiumsOf(period.Employee(4)), GradeStoredPremiums(grades, period.company, 1));
  EXPECT_EQ(StoredPremiumsOf(period.Employee(5)), retiredBefore);
  const std::string text = PremiumResetText(lines);
  EXPECT_NE(text.find("健康保険 14865 → 14775"), std::string::npos) << text;
  EXPECT_NE(text.find("手入力　等級なし（変更しません）"), std::string::npos) << text;
}

TEST(PremiumRateSources, DecimalsAreReadExactly) {
  struct Case {
    const char* text;
    std::int32_t percent;
  } cases[] = {{"9.85", 98500}, {"10.00", 100000}, {"1.6", 16000}, {"18.300", 183000}, {"0.23", 2300}, {"7", 70000}};
  for (const Case& c : cases) EXPECT_EQ(PercentMillionths(c.text, "t"), c.percent) << c.text;
  EXPECT_EQ(PerMilleMillionths("5.5", "t"), 5500);
  for (const char* bad : {"", "9,85", "-1", "9.", ".5", "9.12345", "1000", "NA"}) {
    EXPECT_THROW(PercentMillionths(bad, "t"), SourceError) << bad;
  }
}

}  // namespace
}  // namespace paylark::tables
