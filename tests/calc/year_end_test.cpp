// 年末調整 with the shipped tables of 令和7年分 and 令和8年分. The sources of the figures are listed
// in tables/README.md ("年末調整の表"); the worked cases are computed step by step in the comments.
#include "calc/year_end.h"

#include <gtest/gtest.h>

#include "store/year_end_rules.h"

namespace paylark {
namespace {

const YearEndRules& Rules(int year) {
  static const YearEndRules r2025 = LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2025);
  static const YearEndRules r2026 = LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2026);
  return year == 2025 ? r2025 : r2026;
}

CivilDate D(int y, int m, int d) { return {y, m, d}; }

TEST(YearEndSalaryIncome, BandEdgesAndFourThousandYenBands) {
  struct Case {
    const char* name;
    int year;
    Yen pay;
    Yen expected;
  };
  const Case cases[] = {
      {"2025 below 651,000", 2025, 650999, 0},
      {"2025 at 651,000", 2025, 651000, 1000},
      {"2025 123万 (扶養の壁)", 2025, 1230000, 580000},
      {"2025 188万", 2025, 1880000, 1230000},
      {"2025 last exact amount", 2025, 1899999, 1249999},
      {"2025 first 4,000-yen band", 2025, 1900000, 1250000},
      {"2025 top of the first band", 2025, 1903999, 1250000},
      {"2025 基礎控除 132万 band top", 2025, 2003999, 1320000},
      {"2025 配偶者 133万 below", 2025, 2015999, 1328400},
      {"2025 配偶者 133万 above", 2025, 2016000, 1331200},
      {"2025 below 360万", 2025, 3599999, 2437200},
      {"2025 at 360万", 2025, 3600000, 2440000},
      {"2025 336万 band top", 2025, 4751999, 3358400},
      {"2025 336万 band next", 2025, 4752000, 3361600},
      {"2025 below 660万", 2025, 6599999, 4836800},
      {"2025 at 660万 (90 %)", 2025, 6600000, 4840000},
      {"2025 489万", 2025, 6655556, 4890000},
      {"2025 below 850万, 1円未満切捨て", 2025, 8499999, 6549999},
      {"2025 at 850万", 2025, 8500000, 6550000},
      {"2025 2,000万", 2025, 20000000, 18050000},
      {"2026 at 74万", 2026, 740000, 0},
      {"2026 above 74万", 2026, 740001, 1},
      {"2026 136万 (扶養の壁 62万)", 2026, 1360000, 620000},
      {"2026 178万 (基礎控除 104万)", 2026, 1780000, 1040000},
      {"2026 below 220万", 2026, 2199999, 1459999},
      {"2026 at 220万, 4,000-yen band", 2026, 2200000, 1460000},
      {"2026 top of that band", 2026, 2203999, 1460000},
      {"2026 336万 band top as 2025", 2026, 4751999, 3358400},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SalaryIncomeAfterDeduction(Rules(c.year), c.pay), c.expected) << c.name;
}

std::vector<Yen> Figures(const YearEndResult& r) {
  std::vector<Yen> v;
  for (const YearEndLine& line : YearEndLines()) v.push_back(r.*line.field);
  return v;
}

TEST(YearEndCalculation, WorkedCases) {
  struct Case {
    const char* name;
    int year;
    YearEndInput input;
    // In the order of YearEndLines: 給与所得控除後, 調整控除, 社保, 小規模, 生命, 地震, 配偶者, 配偶者特別,
    // 扶養, 障害者等, 基礎, 特定親族, 合計, 課税, 算出, 住宅, 年調所得税, 年調年税額, 過不足.
    std::vector<Yen> expected;
  };
  std::vector<Case> cases;
  {
    // 6,000,000: ⌊/4,000⌋ × 80 % − 44万 = 4,360,000; spouse 100万 (95万超100万以下) → 36万;
    // 基礎 (336万超489万以下) 68万; 生命 新 10万 → 4万. 課税 2,410,000 × 10 % − 97,500 = 143,500;
    // × 102.1 % = 146,513 → 146,500; withheld 150,000.
    YearEndInput in;
    in.salary = 4800000;
    in.bonus = 1200000;
    in.socialInsurance = 870000;
    in.withheld = 150000;
    in.spouse = DeclaredRelative{D(1985, 5, 1), 1000000};
    in.life.newGeneral = 100000;
    cases.push_back({"2025 配偶者特別控除", 2025, in,
                     {4360000, 0, 870000, 0, 40000, 0, 0, 360000, 0, 0, 680000, 0, 1950000, 2410000, 143500, 0,
                      143500, 146500, -3500}});
  }
  {
    // 5,000,000 → 3,560,000; 特定扶養 (2005 born, income 0) 63万; 特定親族 (2004 born, 100万) 41万;
    // a child under 16 nothing; 基礎 68万. 課税 1,090,000 × 5 % = 54,500 → 55,644 → 55,600.
    YearEndInput in;
    in.salary = 5000000;
    in.socialInsurance = 750000;
    in.withheld = 80000;
    in.dependants = {{D(2005, 4, 1), 0}, {D(2004, 6, 15), 1000000}, {D(2012, 3, 3), 0}};
    cases.push_back({"2025 特定扶養 and 特定親族", 2025, in,
                     {3560000, 0, 750000, 0, 0, 0, 0, 0, 630000, 0, 680000, 410000, 2470000, 1090000, 54500, 0,
                      54500, 55600, -24400}});
  }
  {
    // 10,500,000 → 8,550,000; child under 23 → 調整控除 (1,000万 − 850万) × 10 % = 150,000; own income
    // 8,400,000, 基礎 58万. 生命: 一般 新 6万 → 35,000, 旧 8万 → 45,000 (both: min(80,000, 40,000)),
    // best 45,000; 介護医療 3万 → 25,000; 個人年金 新 10万 → 40,000; 110,000. 地震 3万 + 旧長期
    // 15,000 → 12,500. 課税 6,267,500 → 6,267,000 × 20 % − 427,500 = 825,900; 住宅 200,000 →
    // 625,900 × 102.1 % = 639,043 → 639,000.
    YearEndInput in;
    in.salary = 9000000;
    in.bonus = 1500000;
    in.socialInsurance = 1400000;
    in.withheld = 700000;
    in.dependants = {{D(2010, 5, 5), 0}};
    in.life = {60000, 80000, 30000, 100000, 0};
    in.earthquake = 30000;
    in.oldLongTerm = 15000;
    in.housingLoanCredit = 200000;
    cases.push_back({"2025 所得金額調整控除, 生命保険 新旧, 住宅借入金", 2025, in,
                     {8550000, 150000, 1400000, 0, 110000, 42500, 0, 0, 0, 0, 580000, 0, 2132500, 6267000, 825900,
                      200000, 625900, 639000, -61000}});
  }
  {
    // 3,600,000 → 2,440,000; spouse 60万 (≤ 62万) → 配偶者控除 38万; child of 18 (born 2008-05) 一般
    // 38万 and under 23, so 一般 新 15万 → 6万 (not 4万); 基礎 104万. 課税 40,000 × 5 % = 2,000 →
    // 2,042 → 2,000.
    YearEndInput in;
    in.salary = 3000000;
    in.bonus = 600000;
    in.socialInsurance = 540000;
    in.withheld = 60000;
    in.spouse = DeclaredRelative{D(1960, 1, 1), 600000};
    in.dependants = {{D(2008, 5, 1), 0}};
    in.life.newGeneral = 150000;
    cases.push_back({"2026 配偶者控除, 扶養, 生命保険 6万", 2026, in,
                     {2440000, 0, 540000, 0, 60000, 0, 380000, 0, 380000, 0, 1040000, 0, 2400000, 40000, 2000, 0,
                      2000, 2000, -58000}});
    // The same under 令和7年分: spouse 60万 is above 58万 → 配偶者特別控除 38万; 生命 4万; 基礎 88万.
    // 課税 2,440,000 − 2,220,000 = 220,000 × 5 % = 11,000 → 11,231 → 11,200.
    cases.push_back({"2025 the same family", 2025, in,
                     {2440000, 0, 540000, 0, 40000, 0, 0, 380000, 380000, 0, 880000, 0, 2220000, 220000, 11000, 0,
                      11000, 11200, -48800}});
  }
  {
    // 前職分 and 障害者等: 2,000,000 here + 1,000,000 before → 3,000,000 ⌊/4,000⌋ × 70 % − 8万 =
    // 2,020,000; own 特別障害者 40万, ひとり親 35万, a dependant parent of 75 living together
    // (同居老親等 58万) who is 同居特別障害者 (75万); 基礎 88万 (≤ 336万). 社保 300,000 + 150,000 +
    // 50,000 declared. 課税 2,020,000 − 3,530,000 < 0 → 0; the whole withheld tax is refunded.
    YearEndInput in;
    in.salary = 2000000;
    in.socialInsurance = 300000;
    in.withheld = 40000;
    in.previousPaid = 1000000;
    in.previousSocialInsurance = 150000;
    in.previousWithheld = 20000;
    in.declaredSocialInsurance = 50000;
    in.employeeDisability = DisabilityKind::Special;
    in.singleParent = true;
    in.widow = true;  // ひとり親 takes precedence
    in.dependants = {{D(1950, 2, 1), 0, true, DisabilityKind::SpecialCohabiting}};
    cases.push_back({"2025 前職分, 障害者, ひとり親, 同居老親等", 2025, in,
                     {2020000, 0, 500000, 0, 0, 0, 0, 0, 580000, 1500000, 880000, 0, 3460000, 0, 0, 0, 0, 0,
                      -60000}});
  }
  {
    // 年収の壁: 1,780,000 in 令和8年分 and 1,600,000 in 令和7年分 leave no tax.
    YearEndInput in;
    in.salary = 1780000;
    in.withheld = 30000;
    cases.push_back({"2026 178万", 2026, in,
                     {1040000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1040000, 0, 1040000, 0, 0, 0, 0, 0, -30000}});
    in.salary = 1600000;
    cases.push_back({"2025 160万", 2025, in,
                     {950000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 950000, 0, 950000, 0, 0, 0, 0, 0, -30000}});
  }
  for (const Case& c : cases) EXPECT_EQ(Figures(ComputeYearEnd(Rules(c.year), c.input)), c.expected) << c.name;
}

TEST(YearEndCalculation, IncomeLimitsAndDateRanges) {
  struct Case {
    const char* name;
    int year;
    std::optional<DeclaredRelative> spouse;
    DeclaredRelative dependant;
    Yen ownSalary;
    Yen spouseDeduction, spouseSpecial, dependants, specificRelative;
  };
  const DeclaredRelative none{D(1990, 1, 1), 5000000};  // not a dependant of any kind
  const Case cases[] = {
      {"spouse born on the elderly date", 2025, DeclaredRelative{D(1956, 1, 1), 0}, none, 5000000, 480000, 0, 0, 0},
      {"spouse born a day later", 2025, DeclaredRelative{D(1956, 1, 2), 0}, none, 5000000, 380000, 0, 0, 0},
      {"spouse at the 2025 limit", 2025, DeclaredRelative{D(1980, 1, 1), 580000}, none, 5000000, 380000, 0, 0, 0},
      {"spouse 1 yen above", 2025, DeclaredRelative{D(1980, 1, 1), 580001}, none, 5000000, 0, 380000, 0, 0},
      {"spouse at 133万", 2025, DeclaredRelative{D(1980, 1, 1), 1330000}, none, 5000000, 0, 30000, 0, 0},
      {"spouse above 133万", 2025, DeclaredRelative{D(1980, 1, 1), 1330001}, none, 5000000, 0, 0, 0, 0},
      // 12,000,000 → 10,050,000 own income: above 1,000万, no spouse deduction at all.
      {"employee above 1,000万", 2025, DeclaredRelative{D(1980, 1, 1), 0}, none, 12000000, 0, 0, 0, 0},
      // 10,000,000 → 8,050,000 ≤ 900万: full amounts.
      {"spouse special at 95万", 2026, DeclaredRelative{D(1980, 1, 1), 950000}, none, 10000000, 0, 380000, 0, 0},
      {"特定扶養 first day", 2026, std::nullopt, {D(2004, 1, 2), 620000}, 5000000, 0, 0, 630000, 0},
      {"a day older is 一般 (23)", 2026, std::nullopt, {D(2004, 1, 1), 0}, 5000000, 0, 0, 380000, 0},
      {"特定扶養 last day", 2026, std::nullopt, {D(2008, 1, 1), 0}, 5000000, 0, 0, 630000, 0},
      {"16歳未満 first day", 2026, std::nullopt, {D(2011, 1, 2), 0}, 5000000, 0, 0, 0, 0},
      {"16 years old", 2026, std::nullopt, {D(2011, 1, 1), 0}, 5000000, 0, 0, 380000, 0},
      {"老人扶養 not living together", 2026, std::nullopt, {D(1957, 1, 1), 0}, 5000000, 0, 0, 480000, 0},
      {"特定親族 just above the limit", 2026, std::nullopt, {D(2006, 1, 1), 620001}, 5000000, 0, 0, 0, 630000},
      {"特定親族 at 123万", 2026, std::nullopt, {D(2006, 1, 1), 1230000}, 5000000, 0, 0, 0, 30000},
      {"特定親族 above 123万", 2026, std::nullopt, {D(2006, 1, 1), 1230001}, 5000000, 0, 0, 0, 0},
      {"an adult above the limit is nothing", 2026, std::nullopt, {D(1990, 1, 1), 620001}, 5000000, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    YearEndInput in;
    in.salary = c.ownSalary;
    in.spouse = c.spouse;
    in.dependants = {c.dependant};
    const YearEndResult r = ComputeYearEnd(Rules(c.year), in);
    EXPECT_EQ(r.spouse, c.spouseDeduction) << c.name;
    EXPECT_EQ(r.spouseSpecial, c.spouseSpecial) << c.name;
    EXPECT_EQ(r.dependants, c.dependants) << c.name;
    EXPECT_EQ(r.specificRelative, c.specificRelative) << c.name;
  }
}

TEST(YearEndCalculation, BasicDeductionBands) {
  struct Case {
    int year;
    Yen pay;
    Yen basic;
  };
  const Case cases[] = {
      {2025, 2003999, 950000}, {2025, 2004000, 880000}, {2025, 4751999, 880000}, {2025, 4752000, 680000},
      {2025, 6655556, 680000}, {2025, 6655557, 630000}, {2025, 8500000, 630000}, {2025, 8500001, 580000},
      {2026, 6655556, 1040000}, {2026, 6655557, 670000}, {2026, 8500001, 620000},
  };
  for (const Case& c : cases) {
    YearEndInput in;
    in.salary = c.pay;
    EXPECT_EQ(ComputeYearEnd(Rules(c.year), in).basic, c.basic) << c.year << " " << c.pay;
  }
}

TEST(YearEndCalculation, LifeInsuranceFormulas) {
  struct Case {
    const char* name;
    int year;
    LifeInsurancePremiums premiums;
    bool young;
    Yen expected;
  };
  const Case cases[] = {
      {"新 at 2万", 2025, {20000, 0, 0, 0, 0}, false, 20000},
      {"新 odd premium, 1円未満切上げ", 2025, {20001, 0, 0, 0, 0}, false, 20001},
      {"新 quarter, rounded up", 2025, {40001, 0, 0, 0, 0}, false, 30001},
      {"旧 only above 新 cap", 2025, {0, 200000, 0, 0, 0}, false, 50000},
      {"新 and 旧 together capped at 4万", 2025, {30000, 30000, 0, 0, 0}, false, 40000},
      {"three kinds capped at 12万", 2025, {100000, 0, 100000, 0, 200000}, false, 120000},
      {"2026 young: 新 quarter bracket", 2026, {100000, 0, 0, 0, 0}, true, 55000},
      {"2026 young: 新 and 旧 capped at 6万", 2026, {100000, 100000, 0, 0, 0}, true, 60000},
      {"2026 without a young dependant", 2026, {200000, 0, 0, 0, 0}, false, 40000},
      {"2025 has no young rule", 2025, {200000, 0, 0, 0, 0}, true, 40000},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LifeInsuranceDeduction(Rules(c.year), c.premiums, c.young), c.expected) << c.name;
}

TEST(YearEndCalculation, IncomeAdjustmentNeedsAQualifyingPerson) {
  YearEndInput in;
  in.salary = 9000000;
  EXPECT_EQ(ComputeYearEnd(Rules(2026), in).incomeAdjustment, 0);
  in.spouse = DeclaredRelative{D(1980, 1, 1), 0, false, DisabilityKind::Special};
  EXPECT_EQ(ComputeYearEnd(Rules(2026), in).incomeAdjustment, 50000);
  in.incomeAdjustmentDeclared = false;
  EXPECT_EQ(ComputeYearEnd(Rules(2026), in).incomeAdjustment, 0);
  // A dependant of 22 with income above the limit is a 特定親族, not a 扶養親族: no adjustment.
  in.incomeAdjustmentDeclared = true;
  in.spouse.reset();
  in.dependants = {{D(2005, 1, 1), 900000}};
  EXPECT_EQ(ComputeYearEnd(Rules(2026), in).incomeAdjustment, 0);
}

TEST(YearEndCalculation, ShortfallDeferral) {
  // Net pay of December 150,000 is below 70 % of an average of 300,000: the part of the 不足額 above
  // December's own tax (5,000) goes half to January, half to February.
  ShortfallDeferral d = DeferralOfShortfall(Rules(2026), 30001, 150000, 300000, 5000);
  EXPECT_TRUE(d.offered);
  EXPECT_EQ(d.collectedNow, 5000);
  EXPECT_EQ(d.january, 12501);
  EXPECT_EQ(d.february, 12500);
  // Exactly 70 % is not below it; a refund is never deferred.
  EXPECT_FALSE(DeferralOfShortfall(Rules(2026), 30000, 210000, 300000, 5000).offered);
  EXPECT_FALSE(DeferralOfShortfall(Rules(2026), -30000, 100000, 300000, 5000).offered);
}

TEST(YearEndRulesFile, ErrorsNameTheLine) {
  struct Case {
    const char* name;
    std::string text;
    const char* message;
  };
  const Case cases[] = {
      {"no format line", "year 2026\n", "t:1: the first line must be"},
      {"later version", "format year-end 2\n", "t:1: format version 2 is not read"},
      {"unknown key", "format year-end 1\nyear 2026\nbasik 1 2\n", "t:3: unknown key: basik"},
      {"twice", "format year-end 1\nyear 2026\nyear 2027\n", "t:3: year: given twice"},
      {"bad amount", "format year-end 1\npay_limit 2千万\n", "t:2: pay_limit: not an amount"},
      {"rows out of order", "format year-end 1\nbasic 200 1\nbasic 100 2\n", "t:3: basic: rows must ascend"},
      {"missing key", "format year-end 1\nyear 2026\n", "t: missing:"},
  };
  for (const Case& c : cases) {
    try {
      ParseYearEndRules(c.text, "t");
      ADD_FAILURE() << c.name;
    } catch (const YearEndRulesError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.name << ": " << e.what();
    }
  }
  EXPECT_THROW(LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2024), YearEndRulesError);
}

}  // namespace
}  // namespace paylark
