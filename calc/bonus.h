// The bonus of one employee (periods 13..15): 賞与 and 役員報酬 as entered, fixed and variable
// allowances, premiums from the standard bonus amount, fixed and variable deductions, and the tax
// from the bonus rate table with its two exceptions. No base pay, overtime, commuting, absence
// deduction or resident tax takes part.
#pragma once

#include "calc/calc_inputs.h"
#include "calc/income_tax.h"
#include "store/period.h"

namespace paylark {

// Returns the exception of the bonus tax rules (None when the tax was computed, kept manual or not
// listed).
BonusTaxException CalculateBonus(PeriodBlock& period, int slot, const CalcInputs& in);

}  // namespace paylark
