// Taking the payroll sheet's figures over into the records. The sheet has one row per variable
// item of the period kind's item lists and one column per active employee; the take-over works on
// the cell texts keyed by row name, so it needs no grid.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/bonus.h"
#include "calc/calc_inputs.h"
#include "calc/reporter.h"
#include "store/period.h"

namespace paylark {

struct SheetColumns {
  std::vector<std::string> rowNames;            // column 0: the item name of each row (no prefix)
  std::vector<std::vector<std::string>> cells;  // cells[column − 1][row], column 1 = first active employee

  // The cell of an employee column and row; empty text when the sheet has no such cell.
  const std::string& Cell(int column, std::size_t row) const;
};

// The attendance field a salary sheet row carries, by the row's name; nullopt for other rows.
std::optional<Kintai> AttendanceFieldOfRow(std::string_view rowName);

// The sheet column of a slot: the number of active employees among slots 1..slot.
int SheetColumnOfSlot(const PeriodBlock& period, int slot);

// Salary month: copies the slot's column into its attendance, payment and deduction records and
// calculates the slot. An unused slot's figures are zeroed; a retired employee's payments and
// deductions are zeroed and the attendance kept.
void TakeOverSheetColumn(PeriodBlock& period, int slot, const SheetColumns& sheet, const CalcInputs& in,
                         Reporter& reporter);

// Bonus period: the same for 賞与, 役員報酬 and the variable items; returns the tax exception of the
// slot (None for an unused or retired slot).
BonusTaxException TakeOverBonusColumn(PeriodBlock& period, int slot, const SheetColumns& sheet,
                                      const CalcInputs& in, Reporter& reporter);

}  // namespace paylark
