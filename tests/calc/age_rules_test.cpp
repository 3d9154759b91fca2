#include <gtest/gtest.h>

#include "calc/age_rules.h"
#include "store/rate_table_extension.h"

namespace paylark {
namespace {

TEST(AgeRules, EachPremiumStartsAndEndsInItsMonth) {
  struct Case {
    const char* name;
    CivilDate birth;
    CivilDate month;
    AgeCollection expected;  // health, nursing, pension
  } cases[] = {
      {"39: no nursing", {1986, 12, 15}, {2026, 11, 1}, {true, false, true}},
      {"40th 到達日 2026-12-14: nursing from December", {1986, 12, 15}, {2026, 12, 1}, {true, true, true}},
      {"born on the 1st: 到達日 2026-11-30, nursing from November", {1986, 12, 1}, {2026, 11, 1}, {true, true, true}},
      {"born on the 1st: not in October", {1986, 12, 1}, {2026, 10, 1}, {true, false, true}},
      {"the month before the 65th 到達日 still collects", {1961, 7, 10}, {2026, 6, 1}, {true, true, true}},
      {"the month of the 65th 到達日 does not", {1961, 7, 10}, {2026, 7, 1}, {true, false, true}},
      {"the month before the 70th 到達日 still pays pension", {1956, 8, 20}, {2026, 7, 1}, {true, false, true}},
      {"pension ends with the 70th 到達日's month", {1956, 8, 20}, {2026, 8, 1}, {true, false, false}},
      {"born on the 1st: 70th 到達日 in July, no pension in July", {1956, 8, 1}, {2026, 7, 1}, {true, false, false}},
      {"health until the month before the 75th birthday", {1951, 6, 1}, {2026, 5, 1}, {true, false, false}},
      {"no health in the month of the 75th birthday", {1951, 6, 1}, {2026, 6, 1}, {false, false, false}},
      {"29 February: 40th 到達日 2028-02-28", {1988, 2, 29}, {2028, 2, 1}, {true, true, true}},
      {"born 1 March: 40th 到達日 on the last day of February", {1987, 3, 1}, {2027, 2, 1}, {true, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CollectionByAge(c.birth, c.month), c.expected);
  }
  EXPECT_EQ(AgeReachedOn({1986, 12, 1}, 40), (CivilDate{2026, 11, 30}));
  EXPECT_EQ(AgeReachedOn({1984, 2, 29}, 43), (CivilDate{2027, 2, 28}));
  EXPECT_EQ(AgeReachedOn({1980, 1, 1}, 46), (CivilDate{2025, 12, 31}));
  EXPECT_EQ(AgeOn({1986, 12, 15}, {2026, 12, 13}), 39);
  EXPECT_EQ(AgeOn({1986, 12, 15}, {2026, 12, 14}), 40);
  EXPECT_EQ(AgeOn({1980, 4, 1}, {2026, 12, 31}), 46);
}

TEST(AgeRules, OnlyEmployeesWhoseFlagsDisagreeAreNamed) {
  PeriodBlock period{};
  auto add = [&](int slot, const char* name, std::int32_t birth, bool health, bool nursing, bool pension) {
    EmployeeRecord& e = period.Employee(slot);
    e.SetName(name);
    e.SetKey("260101_00000" + std::to_string(slot));
    e.SetBirthDate(birth);
    e.SetHealthSubject(health);
    e.SetNursingCollected(nursing);
    e.SetPensionSubject(pension);
  };
  add(1, "四十到達", 19861201, true, false, true);   // nursing starts in 2026-11
  add(2, "既に徴収", 19800401, true, true, true);    // agrees
  add(3, "生年月日なし", 0, true, false, true);       // unknown: never named
  add(4, "七十到達", 19561101, true, false, true);   // pension ends in 2026-10's month
  add(5, "加入なし", 19861201, false, false, false); // age never makes a member
  add(6, "退職者", 19861201, true, false, true);
  period.Employee(6).SetRetirementDate("260930");
  const auto changes = AgeChangesFor(period, {2026, 11, 1});
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].name, "四十到達");
  EXPECT_EQ(changes[0].age, 40);
  EXPECT_EQ(changes[0].byAge, (AgeCollection{true, true, true}));
  EXPECT_EQ(changes[1].name, "七十到達");
  EXPECT_EQ(changes[1].byAge, (AgeCollection{true, false, false}));
}

}  // namespace
}  // namespace paylark
