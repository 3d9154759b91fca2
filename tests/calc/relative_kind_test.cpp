// The kinds of the declared relatives around the date and income boundaries of 令和7年分 and 令和8年分,
// checked against the deductions the calculation gives them, and the counts of the 源泉徴収票.
#include "calc/relative_kind.h"

#include <gtest/gtest.h>

#include "calc/year_end_figures.h"
#include "store/year_end_rules.h"

namespace paylark {
namespace {

const YearEndRules& Rules(int year) {
  static const YearEndRules r2025 = LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2025);
  static const YearEndRules r2026 = LoadYearEndRules(PAYLARK_TABLES_SRC "/year-end", 2026);
  return year == 2025 ? r2025 : r2026;
}

DeclaredPerson Person(CivilDate birth, Yen income, bool cohabiting = false) {
  return {"親族", "子", birth, income, cohabiting, DisabilityKind::None, false};
}

// The 扶養控除 the calculation gives a dependant of this kind.
Yen DependantDeduction(const YearEndRules& r, RelativeKind kind) {
  switch (kind) {
    case RelativeKind::General: return r.dependantGeneral;
    case RelativeKind::Specific: return r.dependantSpecific;
    case RelativeKind::Elderly: return r.dependantElderly;
    case RelativeKind::ElderlyCohabiting: return r.dependantElderlyCohabiting;
    default: return 0;
  }
}

TEST(RelativeKind, DatesAndIncomesAtTheBoundariesAgreeWithTheCalculation) {
  using K = RelativeKind;
  struct Case {
    int year;
    CivilDate birth;
    Yen income;
    bool cohabiting;
    K expected;
  };
  const Case cases[] = {
      // 令和7年分: ages on 2025-12-31; a person born on 1 January is a year older on 31 December.
      {2025, {2010, 1, 2}, 0, false, K::Under16},
      {2025, {2010, 1, 1}, 0, false, K::General},
      {2025, {2007, 1, 2}, 0, false, K::General},
      {2025, {2007, 1, 1}, 0, false, K::Specific},
      {2025, {2003, 1, 2}, 0, false, K::Specific},
      {2025, {2003, 1, 1}, 0, false, K::General},
      {2025, {1956, 1, 2}, 0, true, K::General},
      {2025, {1956, 1, 1}, 0, false, K::Elderly},
      {2025, {1956, 1, 1}, 0, true, K::ElderlyCohabiting},
      {2025, {1990, 5, 5}, 580000, false, K::General},
      {2025, {1990, 5, 5}, 580001, false, K::NotCounted},
      {2025, {1990, 5, 5}, 600000, false, K::NotCounted},
      {2025, {2005, 5, 5}, 580001, false, K::SpecificRelative},
      {2025, {2005, 5, 5}, 1230000, false, K::SpecificRelative},
      {2025, {2005, 5, 5}, 1230001, false, K::NotCounted},
      {2025, {2007, 1, 2}, 580001, false, K::NotCounted},
      {2025, {2010, 1, 2}, 580001, false, K::NotCounted},
      {2025, {}, 0, false, K::NotCounted},
      // 令和8年分: everything a year later, the limit 62万.
      {2026, {2011, 1, 2}, 0, false, K::Under16},
      {2026, {2011, 1, 1}, 0, false, K::General},
      {2026, {2008, 1, 2}, 0, false, K::General},
      {2026, {2008, 1, 1}, 0, false, K::Specific},
      {2026, {2004, 1, 2}, 0, false, K::Specific},
      {2026, {2004, 1, 1}, 0, false, K::General},
      {2026, {2003, 1, 2}, 0, false, K::General},
      {2026, {1957, 1, 2}, 0, true, K::General},
      {2026, {1957, 1, 1}, 0, false, K::Elderly},
      {2026, {1956, 1, 1}, 0, true, K::ElderlyCohabiting},
      {2026, {1990, 5, 5}, 600000, false, K::General},
      {2026, {1990, 5, 5}, 620000, false, K::General},
      {2026, {1990, 5, 5}, 620001, false, K::NotCounted},
      {2026, {2006, 5, 5}, 620001, false, K::SpecificRelative},
      {2026, {2006, 5, 5}, 1230001, false, K::NotCounted},
  };
  for (const Case& c : cases) {
    const YearEndRules& r = Rules(c.year);
    const DeclaredPerson p = Person(c.birth, c.income, c.cohabiting);
    const std::string name = std::to_string(c.year) + " born " + std::to_string(c.birth.year) + "-" +
                             std::to_string(c.birth.month) + "-" + std::to_string(c.birth.day) + " income " +
                             std::to_string(c.income);
    const RelativeKind kind = KindOfRelative(r, p);
    EXPECT_EQ(kind, c.expected) << name << ": " << RelativeKindLabel(kind);
    // The calculation of the same person alone gives the deduction of that kind, and nothing else.
    YearEndInput in;
    in.salary = 4000000;
    in.dependants.push_back({p.birth, p.income, p.cohabiting, p.disability});
    const YearEndResult result = ComputeYearEnd(r, in);
    EXPECT_EQ(result.dependants, DependantDeduction(r, c.expected)) << name;
    EXPECT_EQ(result.specificRelative > 0, c.expected == K::SpecificRelative) << name;
  }
}

TEST(RelativeKind, TheSpouseByBirthDateAndIncome) {
  using K = SpouseKind;
  struct Case {
    int year;
    CivilDate birth;
    Yen income;
    K expected;
  };
  const Case cases[] = {
      {2025, {1956, 1, 1}, 580000, K::Elderly},  {2025, {1956, 1, 2}, 580000, K::General},
      {2025, {1956, 1, 1}, 580001, K::Special},  {2025, {1980, 1, 1}, 1330000, K::Special},
      {2025, {1980, 1, 1}, 1330001, K::NotCounted}, {2026, {1957, 1, 1}, 620000, K::Elderly},
      {2026, {1957, 1, 2}, 620000, K::General},  {2026, {1980, 1, 1}, 620001, K::Special},
      {2026, {}, 0, K::General},
  };
  for (const Case& c : cases) {
    const YearEndRules& r = Rules(c.year);
    EXPECT_EQ(KindOfSpouse(r, Person(c.birth, c.income)), c.expected) << c.year << " " << c.income;
    YearEndInput in;
    in.salary = 4000000;
    in.spouse = DeclaredRelative{c.birth, c.income, false, DisabilityKind::None};
    const YearEndResult result = ComputeYearEnd(r, in);
    EXPECT_EQ(result.spouse == r.spouseElderly[0], c.expected == K::Elderly) << c.year << " " << c.income;
    EXPECT_EQ(result.spouseSpecial > 0, c.expected == K::Special) << c.year << " " << c.income;
  }
  EXPECT_STREQ(RelativeKindLabel(RelativeKind::ElderlyCohabiting), "同居老親等");
  EXPECT_STREQ(RelativeKindLabel(RelativeKind::Under16), "16歳未満");
}

TEST(RelativeKind, TheSlipsCountsOfOneDeclaration) {
  const YearEndRules& r = Rules(2026);
  Declaration d;
  d.dependantForm = true;
  d.spouse = Person({1950, 3, 3}, 0);  // 老人控除対象配偶者
  d.spouse->disability = DisabilityKind::General;
  auto with = [](DeclaredPerson p, DisabilityKind k, bool nonResident = false) {
    p.disability = k;
    p.nonResident = nonResident;
    return p;
  };
  d.dependants = {
      with(Person({2005, 6, 1}, 0), DisabilityKind::None),                      // 特定
      with(Person({1940, 6, 1}, 0, true), DisabilityKind::SpecialCohabiting),  // 同居老親等, 同居特別障害者
      with(Person({1945, 6, 1}, 0), DisabilityKind::Special),                   // 老人, 特別障害者
      with(Person({1990, 6, 1}, 0), DisabilityKind::None, true),                // 一般, 非居住者
      with(Person({2015, 6, 1}, 0), DisabilityKind::General),                   // 16歳未満, 障害者
      with(Person({2006, 6, 1}, 1000000), DisabilityKind::General),             // 特定親族: no 障害者控除
      with(Person({1990, 6, 1}, 2000000), DisabilityKind::Special, true),       // 対象外: not counted at all
  };
  SlipRelativeCounts expected;
  expected.spouse = true;
  expected.spouseElderly = true;
  expected.specific = 1;
  expected.elderly = 2;
  expected.elderlyCohabiting = 1;
  expected.other = 1;
  expected.specificRelative = 1;
  expected.under16 = 1;
  expected.disabledSpecial = 2;
  expected.disabledSpecialCohabiting = 1;
  expected.disabledOther = 2;  // the spouse and the child under 16
  expected.nonResident = 1;
  EXPECT_EQ(CountRelatives(r, d, nullptr), expected);

  EmployeeYearPay pay;
  pay.salary = 4000000;
  YearEndResult result = AdjustEmployee(r, pay, &d).result;
  EXPECT_EQ(CountRelatives(r, d, &result), expected);
  // The employee's own income above 1,000万: no 配偶者控除, so no 有 and no 老人.
  pay.salary = 13000000;
  result = AdjustEmployee(r, pay, &d).result;
  ASSERT_EQ(result.spouse, 0);
  expected.spouse = false;
  expected.spouseElderly = false;
  EXPECT_EQ(CountRelatives(r, d, &result), expected);
  // A spouse of 配偶者特別控除: 有 with the calculation, not without it.
  d.spouse = Person({1980, 1, 1}, 1000000);
  pay.salary = 4000000;
  result = AdjustEmployee(r, pay, &d).result;
  EXPECT_TRUE(CountRelatives(r, d, &result).spouse);
  EXPECT_FALSE(CountRelatives(r, d, &result).spouseElderly);
  EXPECT_FALSE(CountRelatives(r, d, nullptr).spouse);
}

}  // namespace
}  // namespace paylark
