#include "calc/sheet_takeover.h"

#include <array>
#include <string_view>

#include "calc/item_fields.h"
#include "entry/number_parse.h"
#include "calc/rounding.h"
#include "calc/salary.h"

namespace paylark {
namespace {

Yen CellYen(const std::string& text, Reporter& reporter) { return TruncateYen(ParseNumber(text, reporter)); }

// Clears the variable payment and deduction items and fills them from the rows that carry the
// names of listed items.
void TakeOverVariableItems(PeriodBlock& period, int slot, int column, const SheetColumns& sheet,
                           const CalcInputs& in, Reporter& reporter) {
  PaymentRecord& payment = period.Payment(slot);
  DeductionRecord& deduction = period.Deduction(slot);
  const EnabledItems& enabled = in.enabled.For(period.Employee(slot).PayFormCode());
  for (const auto& [item, user] : kVariablePaymentRows) payment.Set(item, 0);
  for (const auto& [item, user] : kVariableDeductionRows) deduction.Set(item, 0);
  for (std::size_t row = 0; row < sheet.rowNames.size(); ++row) {
    const std::string& name = sheet.rowNames[row];
    for (const auto& [item, user] : kVariablePaymentRows) {
      if (enabled.Has(item) && name == in.options.Name(user)) {
        payment.Set(item, CellYen(sheet.Cell(column, row), reporter));
      }
    }
    for (const auto& [item, user] : kVariableDeductionRows) {
      if (enabled.Has(item) && name == in.options.Name(user)) {
        deduction.Set(item, CellYen(sheet.Cell(column, row), reporter));
      }
    }
  }
}

}  // namespace

std::optional<Kintai> AttendanceFieldOfRow(std::string_view rowName) {
  const std::optional<Kintai> field = KintaiFieldOfName(rowName);
  // The scheduled days and hours come from the period selection, never from a sheet row.
  if (field == Kintai::ScheduledDays || field == Kintai::ScheduledHours) return std::nullopt;
  return field;
}

const std::string& SheetColumns::Cell(int column, std::size_t row) const {
  static const std::string kEmpty;
  if (column < 1 || static_cast<std::size_t>(column) > cells.size()) return kEmpty;
  const auto& c = cells[static_cast<std::size_t>(column) - 1];
  return row < c.size() ? c[row] : kEmpty;
}

int SheetColumnOfSlot(const PeriodBlock& period, int slot) {
  int column = 0;
  for (int s = 1; s <= slot; ++s) {
    if (period.Employee(s).Active()) ++column;
  }
  return column;
}

void TakeOverSheetColumn(PeriodBlock& period, int slot, const SheetColumns& sheet, const CalcInputs& in,
                         Reporter& reporter) {
  const EmployeeRecord& employee = period.Employee(slot);
  if (!employee.InUse()) {
    period.Attendance(slot).Clear();
    period.Payment(slot).Clear();
    period.Deduction(slot).Clear();
    return;
  }
  if (employee.Retired()) {
    period.Payment(slot).Clear();
    period.Deduction(slot).Clear();
    return;
  }
  AttendanceRecord& attendance = period.Attendance(slot);
  attendance.Set(Kintai::ScheduledDays, period.company.PeriodDays());
  attendance.Set(Kintai::ScheduledHours, period.company.PeriodHours());

  const int column = SheetColumnOfSlot(period, slot);
  for (std::size_t row = 0; row < sheet.rowNames.size(); ++row) {
    if (const auto field = AttendanceFieldOfRow(sheet.rowNames[row])) {
      attendance.Set(*field, ParseNumber(sheet.Cell(column, row), reporter));
    }
  }
  TakeOverVariableItems(period, slot, column, sheet, in, reporter);
  CalculateSalary(period, slot, in);
}

BonusTaxException TakeOverBonusColumn(PeriodBlock& period, int slot, const SheetColumns& sheet,
                                      const CalcInputs& in, Reporter& reporter) {
  const EmployeeRecord& employee = period.Employee(slot);
  if (!employee.InUse()) {
    period.Attendance(slot).Clear();
    period.Payment(slot).Clear();
    period.Deduction(slot).Clear();
    return BonusTaxException::None;
  }
  if (employee.Retired()) {
    period.Payment(slot).Clear();
    period.Deduction(slot).Clear();
    return BonusTaxException::None;
  }
  PaymentRecord& payment = period.Payment(slot);
  payment.Set(Sikyu::Bonus, 0);
  payment.Set(Sikyu::DirectorPay, 0);
  const int column = SheetColumnOfSlot(period, slot);
  // 賞与 and 役員報酬 are taken whether listed or not.
  for (std::size_t row = 0; row < sheet.rowNames.size(); ++row) {
    if (sheet.rowNames[row] == "賞与") payment.Set(Sikyu::Bonus, CellYen(sheet.Cell(column, row), reporter));
    if (sheet.rowNames[row] == "役員報酬") {
      payment.Set(Sikyu::DirectorPay, CellYen(sheet.Cell(column, row), reporter));
    }
  }
  TakeOverVariableItems(period, slot, column, sheet, in, reporter);
  return CalculateBonus(period, slot, in);
}

}  // namespace paylark
