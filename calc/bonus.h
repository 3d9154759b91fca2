// The bonus of one employee (periods 13..15): 賞与 and 役員報酬 as entered, fixed and variable
// allowances, premiums from the standard bonus amount, fixed and variable deductions, and the tax
// from the bonus rate table with its two exceptions. No base pay, overtime, commuting, absence
// deduction or resident tax takes part.
#pragma once

#include <string>

#include "calc/calc_inputs.h"
#include "calc/income_tax.h"
#include "store/period.h"

namespace paylark {

// Returns the exception of the bonus tax rules (None when the tax was computed, kept manual or not
// listed). A pay month outside 0..12 (0 = not set) is damage: CalculationError, slot untouched;
// any other error also leaves the slot's records as they were.
BonusTaxException CalculateBonus(PeriodBlock& period, int slot, const CalcInputs& in);

// Throws CalculationError (BonusMonthDamageText) when in.bonusMonth is not 0..12.
void CheckBonusMonth(const CalcInputs& in);
std::string BonusMonthDamageText(int period, int bonusMonth);

}  // namespace paylark
