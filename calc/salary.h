// The salary of one employee for one month (periods 1..12), computed from the employee master and
// the month's attendance in a fixed order: base pay by pay form (月給, 日給, 時間給), allowances,
// overtime from the unit prices, commuting by its payment unit, variable allowances, absence and
// lateness deductions, then premiums, resident tax, fixed and variable deductions, 社保控除後計
// and the withholding tax. Running totals:
//   T 課税支給合計  G 支給合計  S 社保算定合計 (G without allowances outside social insurance,
//   less deductions marked 社保)  P 社会保険料計 (premiums and deductions marked 課税)  D 控除合計.
// An item not in the employee's pay-form item list is 0 (variable items keep their amount but
// count in no total); an item with its manual-entry flag keeps its stored amount.
#pragma once

#include "calc/calc_inputs.h"
#include "store/period.h"

namespace paylark {

void CalculateSalary(PeriodBlock& period, int slot, const CalcInputs& in);

// 差引支給額: 支給合計 + その他 1..3 − 控除合計. Not stored; formed wherever it is shown.
Yen NetPay(const PaymentRecord& payment, const DeductionRecord& deduction);

}  // namespace paylark
