#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "calc/calc_inputs.h"
#include "calc/item_enabled.h"
#include "store/item_settings.h"
#include "store/options.h"
#include "store/period.h"
#include "store/previous_period.h"
#include "store/rate_tables.h"

namespace paylark::testing {

// A company with round settings: pay day 25, 20 days / 160 hours this period, 8 hours a day,
// health 5 %, nursing 0.9 %, pension 9.15 %, fund 0 %, employment 0.6 % by rate.
CompanyRecord TestCompany();

// An active employee with the given key and pay form and every premium subject flag clear.
EmployeeRecord TestEmployee(const std::string& name, const std::string& key, PayForm form, Yen basePay);

// A monthly tax table with two ordinary rows, then the two open-ended rows:
//   [100000,200000): 甲 d → 1000 − 100 d, 乙 5000
//   [200000,300000): 甲 d → 3000 − 100 d, 乙 9000
//   row N−1 [300000, 400000): 甲 d → 6000 − 100 d, 乙 20000, 甲 rate 10 %, 乙 rate 40 %
//   row N   [400000, ...):    甲 d → 16000 − 100 d, 乙 60000, 甲 rate 20 %
// 乙 below 100000: 3 % of the amount; reductions 甲 beyond seven 500, 乙 per dependant 1000.
MonthlyTaxImage TestMonthlyTable();
// Bonus rates: 甲 rows by the previous month's amount for every dependant count:
// [0,100000) 0 %, [100000,300000) 10 %, default 20 %; 乙 < 200000 30 %, default 40 %.
BonusTaxImage TestBonusTable();
// Grades 1..10, grade g = [g × 100000 − 50000, g × 100000 + 50000) standard g × 100000 (grade 1
// from 0), pension range 3..8.
HealthGradeImage TestGradeTable();

// Look-ups answered from a map: period → key → (社保控除後計, 有休残日数).
class FakePreviousPeriods : public PreviousPeriodLookup {
 public:
  Yen FindPreviousDeductionBase(int period, const std::string& key) override;
  double FindPreviousPaidLeave(int period, const std::string& key) override;
  // Every bonus in `bonuses` of another period than exceptPeriod (those of the previous year's
  // file whatever their period), whatever the key.
  std::vector<EarlierBonus> FindBonuses(int exceptPeriod, const std::string& key) override;
  std::map<std::pair<int, std::string>, std::pair<Yen, double>> figures;
  std::vector<EarlierBonus> bonuses;
  std::vector<int> periodsAsked;
};

// Everything a calculation reads, with default options and item lists, owning its parts.
struct CalcWorld {
  explicit CalcWorld(int period, ItemKind kind = ItemKind::Salary);
  void Refresh();  // after changing options or items
  CalcInputs Inputs();

  int period;
  ItemKind kind;
  Options options;
  ItemSettings items;
  EnabledItemsByPayForm enabled;
  RateTables tables;
  FakePreviousPeriods previous;
  int bonusMonth = 0;
  std::optional<CivilDate> payDate;
};

}  // namespace paylark::testing
