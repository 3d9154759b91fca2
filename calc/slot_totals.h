// The running totals of one employee's calculation and the shared steps of salary and bonus.
#pragma once

#include "calc/calc_inputs.h"
#include "store/period.h"

namespace paylark {

struct SlotTotals {
  Yen taxable = 0;         // T 課税支給合計
  Yen total = 0;           // G 支給合計
  Yen nonSocial = 0;       // N allowances outside social insurance
  Yen socialBase = 0;      // S 社保算定合計
  Yen socialPremiums = 0;  // P 社会保険料計
  Yen deductions = 0;      // D 控除合計
};

// Fixed allowances 1..3 (master amounts unless manual; 0 when not listed).
void AddFixedAllowances(const CalcInputs& in, const EnabledItems& enabled, const EmployeeRecord& employee,
                        PaymentRecord& payment, SlotTotals& t);
// Variable allowances 1..3 (stored amounts; counted only when listed).
void AddVariableAllowances(const CalcInputs& in, const EnabledItems& enabled, const PaymentRecord& payment,
                           SlotTotals& t);
// The premiums (and the levy) into the record and into P and D.
void AddPremiums(const EnabledItems& enabled, const struct Premiums& premiums, DeductionRecord& deduction,
                 SlotTotals& t);
// Fixed deductions 1..3 (master amounts unless manual) and variable deductions 1..3.
void AddFixedAndVariableDeductions(const CalcInputs& in, const EnabledItems& enabled,
                                   const EmployeeRecord& employee, DeductionRecord& deduction, SlotTotals& t);
// Stores T, G, S, P, D and 社保控除後計 = T − P; returns 社保控除後計.
Yen StoreTotals(const SlotTotals& t, PaymentRecord& payment, DeductionRecord& deduction);

// Runs a calculation step, turning an amount overflow into an error that names the employee.
[[noreturn]] void ThrowOverflow(const EmployeeRecord& employee);

}  // namespace paylark
