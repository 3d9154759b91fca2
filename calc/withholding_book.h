// The monthly part of one employee's 源泉徴収簿 (給与所得に対する源泉徴収簿): each salary and bonus
// paid in the calendar year, gathered from the year's files by payment date as the 年末調整 gathers
// the year's pay (calc/year_end_figures.h), with the totals of the two parts.
#pragma once

#include <string>
#include <vector>

#include "store/era.h"
#include "store/money.h"
#include "store/year_file_content.h"

namespace paylark {

struct WithholdingBookRow {
  int period = 0;       // 1..12 salary months, 13..15 bonuses
  CivilDate paid;       // 支給月日
  Yen gross = 0;        // 総支給金額 (課税支給合計)
  Yen social = 0;       // 社会保険料等の控除額
  Yen afterSocial = 0;  // 社会保険料等控除後の給与等の金額
  int dependants = 0;   // 扶養親族等の数
  Yen tax = 0;          // 算出税額 (所得税)
  Yen adjustment = 0;   // 年末調整による過不足税額 (+ 徴収, − 還付)
  Yen collected = 0;    // 差引徴収税額 = 算出税額 + 過不足税額
};

struct WithholdingBookTotals {
  Yen gross = 0, social = 0, afterSocial = 0, tax = 0, adjustment = 0, collected = 0;
};

struct WithholdingBook {
  std::vector<WithholdingBookRow> salaries;  // in payment order
  std::vector<WithholdingBookRow> bonuses;
  WithholdingBookTotals salaryTotal;
  WithholdingBookTotals bonusTotal;
};

// The pays of the employee `key` paid in `year` (periods in which he has a slot and any figure).
WithholdingBook GatherWithholdingBook(const std::vector<YearFileContent>& files, int year, const std::string& key);

}  // namespace paylark
