// Setting every active employee's stored premiums from the grade at the period's rates, as the
// employee editor's grade button does for one employee: health, nursing and 子ども・子育て支援金 from
// the grade's standard remuneration, pension and fund from the grade clamped into the pension
// range, each by the fifty-sen rule. An employee without a grade (0: premiums typed by hand) is
// listed and left as it is.
#pragma once

#include <string>
#include <vector>

#include "calc/premiums.h"
#include "store/period.h"
#include "store/rate_tables.h"

namespace paylark {

struct StoredPremiums {
  Yen health = 0;
  Yen nursing = 0;
  Yen levy = 0;
  Yen pension = 0;
  Yen fund = 0;
  bool operator==(const StoredPremiums&) const = default;
};

struct PremiumResetLine {
  int slot = 0;
  std::string name;
  int grade = 0;        // 0: no grade, left alone
  StoredPremiums before;
  StoredPremiums after;  // = before for an employee without a grade
};

StoredPremiums StoredPremiumsOf(const EmployeeRecord& employee);
// The five amounts the grade gives at the company's rates.
StoredPremiums GradeStoredPremiums(const RateTables& tables, const CompanyRecord& company, int grade);

// Sets the premiums of every active employee of `period` with a grade from the period's company
// rates and returns one line per active employee, in slot order.
std::vector<PremiumResetLine> ResetPremiumsFromGrades(const RateTables& tables, PeriodBlock& period);

// The list shown after a re-set: one line per employee, "氏名  等級  健康 介護 支援金 厚生年金 基金" old → new.
std::string PremiumResetText(const std::vector<PremiumResetLine>& lines);

}  // namespace paylark
