// Taking the payroll sheet's figures over into the records. The sheet has one row per variable
// item of the period kind's item lists and one column per active employee; the take-over works on
// the cell texts keyed by row name, so it needs no grid.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/bonus.h"
#include "calc/calc_inputs.h"
#include "entry/reporter.h"
#include "store/options.h"
#include "store/period.h"

namespace paylark {

struct SheetColumns {
  std::vector<std::string> rowNames;            // column 0: the item name of each row (no prefix)
  std::vector<std::vector<std::string>> cells;  // cells[column − 1][row], column 1 = first active employee

  // The cell of an employee column and row; empty text when the sheet has no such cell.
  const std::string& Cell(int column, std::size_t row) const;
};

// Variable payment and deduction items with the user item whose name labels their sheet row.
// その他 1..3 stand in both records with the same amounts.
inline constexpr std::array<std::pair<Sikyu, UserItem>, 6> kVariablePaymentRows{{
    {Sikyu::VariableAllowance1, UserItem::VariableAllowance1},
    {Sikyu::VariableAllowance2, UserItem::VariableAllowance2},
    {Sikyu::VariableAllowance3, UserItem::VariableAllowance3},
    {Sikyu::Other1, UserItem::Other1},
    {Sikyu::Other2, UserItem::Other2},
    {Sikyu::Other3, UserItem::Other3},
}};
inline constexpr std::array<std::pair<Koujo, UserItem>, 6> kVariableDeductionRows{{
    {Koujo::VariableDeduction1, UserItem::VariableDeduction1},
    {Koujo::VariableDeduction2, UserItem::VariableDeduction2},
    {Koujo::VariableDeduction3, UserItem::VariableDeduction3},
    {Koujo::Other1, UserItem::Other1},
    {Koujo::Other2, UserItem::Other2},
    {Koujo::Other3, UserItem::Other3},
}};

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
