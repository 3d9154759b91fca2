// Settling the 年末調整 in a pay of the year: the 過不足額 goes into the chosen period (the December
// salary by default, or a December bonus paid later) as 年末調整過不足 (deduction position 22,
// manual-entry flag set): positive collects more tax, negative refunds it. 控除合計 and so 差引支給額
// follow. A refund larger than that pay's own withholding is allowed (the employer refunds it out
// of the tax it withholds that month). Settling again after a correction replaces the earlier
// settlement wherever it was.
#pragma once

#include <vector>

#include "calc/year_end.h"
#include "store/period.h"

namespace paylark {

// Puts `amount` into slot `slot` of `block` as 年末調整過不足, replacing what was there; 控除合計
// changes by the difference.
void PlaceYearEndSettlement(PeriodBlock& block, int slot, Yen amount);

// The settlement of one employee (by key) over the periods of the year: any earlier settlement in
// another period is removed, then `amount` is placed into `settlingPeriod`. Returns false when
// the employee has no slot in the settling period (nothing is changed then).
struct YearPeriod {
  int period;          // 1..15
  PeriodBlock* block;  // the loaded block of that period
};
bool SettleYearEnd(std::vector<YearPeriod>& periods, int settlingPeriod, const std::string& employeeKey, Yen amount);

// What the settling pay offers for a 不足額 (positive 過不足額): the deferral when the settling
// month's 税引手取額 (課税支給合計 − 社会保険料計 − 所得税) is below the year's share of the average
// 税引手取額 of the salary months before it that paid him.
ShortfallDeferral OfferDeferral(const YearEndRules& rules, const std::vector<YearPeriod>& periods,
                                int settlingPeriod, const std::string& employeeKey, Yen difference);

}  // namespace paylark
