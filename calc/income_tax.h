// Withholding income tax (所得税).
//
// A salary month's tax comes from the monthly table (月額表) on the month's 社保控除後計. A bonus's
// tax is the bonus rate (賞与の算出率), looked up with the previous month's 社保控除後計 read from
// the yearly file, applied to the bonus's 社保控除後計. The bonus rate may only be used when there
// was a salary in the previous month and the bonus is not more than ten times it; otherwise the
// tax is not computed (0) and the employee is reported, so that the user can switch the tax to
// manual entry. A set manual-entry flag keeps the stored amount in every case.
#pragma once

#include <string>
#include <vector>

#include "calc/calc_inputs.h"
#include "store/period.h"

namespace paylark {

Yen SalaryTax(const CalcInputs& in, const EmployeeRecord& employee, Yen afterSocial);

enum class BonusTaxException {
  None = 0,
  NoPreviousSalary,    // 前月中に給与の支払いが無い。
  OverTenTimes,        // 社保控除後計 exceeds ten times the previous month's
};

struct BonusTaxResult {
  Yen tax = 0;
  BonusTaxException exception = BonusTaxException::None;
  bool Computed() const { return exception == BonusTaxException::None; }
};

// Without the manual flag (the caller keeps a manual amount itself).
BonusTaxResult BonusTaxWithRules(const CalcInputs& in, const EmployeeRecord& employee, Yen bonusAfterSocial);

// The question after a recalculation of all employees of a bonus period, and the one for a single
// employee recalculated in the detail entry screen; the notices after a Yes.
extern const char* const kManualTaxQuestionAll;
extern const char* const kManualTaxQuestionOne;
extern const char* const kManualTaxSwitchedAll;
extern const char* const kManualTaxSwitchedOne;

// What the answer Yes changes: the 所得税 manual-entry flag of each slot.
void SwitchTaxToManual(PeriodBlock& period, const std::vector<int>& slots);

}  // namespace paylark
