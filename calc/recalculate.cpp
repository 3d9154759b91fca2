#include "calc/recalculate.h"

#include <cmath>

namespace paylark {
namespace {

constexpr double kHoursTolerance = 0.000001;

}  // namespace

bool WorkedHoursAgree(const CompanyRecord& company, const AttendanceRecord& a) {
  const double expected = a.Get(Kintai::ScheduledHours) + a.Get(Kintai::OvertimeHours) +
                          a.Get(Kintai::NightOvertimeHours) + a.Get(Kintai::HolidayOvertime) +
                          a.Get(Kintai::HolidayNightOvertime) - a.Get(Kintai::AbsenceDays) * company.DayHours();
  return std::fabs(expected - a.Get(Kintai::WorkedHours)) <= kHoursTolerance;
}

std::string WorkedHoursWarning(const std::string& employeeName) {
  return "実働時間の入力に誤りがあると思われます。[" + employeeName + "]";
}

RecalcResult RecalculateAll(PeriodBlock& period, const SheetColumns& sheet, const CalcInputs& inputs,
                            bool checkHours, Reporter& reporter) {
  RecalcResult result;
  TableProblems local;
  CalcInputs in = inputs;
  if (in.tableProblems == nullptr) in.tableProblems = &local;
  if (IsBonusPeriod(in.period)) {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      const BonusTaxException e = TakeOverBonusColumn(period, slot, sheet, in, reporter);
      if (e != BonusTaxException::None && period.Employee(slot).InUse()) {
        result.taxExceptionSlots.push_back(slot);
        result.taxExceptions.push_back(e);
      }
    }
    result.tableProblems = in.tableProblems->messages;
    return result;
  }
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    TakeOverSheetColumn(period, slot, sheet, in, reporter);
    const EmployeeRecord& employee = period.Employee(slot);
    // Only employees on the sheet: an unused or retired slot has no column to correct.
    if (checkHours && employee.Active() && employee.PayFormCode() == static_cast<int>(PayForm::Monthly) &&
        !WorkedHoursAgree(period.company, period.Attendance(slot))) {
      result.hourWarnings.push_back(WorkedHoursWarning(employee.Name()));
      result.hourWarningSlots.push_back(slot);
    }
  }
  result.tableProblems = in.tableProblems->messages;
  return result;
}

}  // namespace paylark
