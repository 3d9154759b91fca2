// The engine half of "commit and recalculate": every slot of the period takes its sheet column
// over and is calculated. What the user must be told is returned, not shown: the 実働時間 warnings
// of monthly-paid employees and, in a bonus period, the slots whose tax could not be computed.
#pragma once

#include <string>
#include <vector>

#include "calc/calc_inputs.h"
#include "entry/reporter.h"
#include "calc/sheet_takeover.h"
#include "store/period.h"

namespace paylark {

struct RecalcResult {
  // "実働時間の入力に誤りがあると思われます。[氏名]" with the expected and the entered hours, one per
  // monthly-paid employee whose 実働時間 differs from 所定労働時間 + overtime − 欠勤日数 × 日労働時間数.
  std::vector<std::string> hourWarnings;
  std::vector<int> hourWarningSlots;  // the slot of each warning
  // Bonus periods: slots with an employee key whose tax fell under an exception (the manual-tax
  // question follows when this is not empty).
  std::vector<int> taxExceptionSlots;
  std::vector<BonusTaxException> taxExceptions;  // the exception of each of those slots
  // The tax tables that were needed and could not be used (TableProblems), each named once. The
  // tax of those slots is 0 and must not be passed on as a computed tax.
  std::vector<std::string> tableProblems;
};

// Salary month (periods 1..12) or bonus period (13..15) by in.period. checkHours is set by the
// save, payslip printing, monthly list printing and mail commands.
RecalcResult RecalculateAll(PeriodBlock& period, const SheetColumns& sheet, const CalcInputs& in, bool checkHours,
                            Reporter& reporter);

// The hours check of one slot (monthly-paid, active employees only); true when the hours agree
// within 0.000001 hours.
bool WorkedHoursAgree(const CompanyRecord& company, const AttendanceRecord& attendance);
std::string WorkedHoursWarning(const std::string& employeeName);
// The same, followed by the hours expected and the hours entered so that the user sees what is
// off: "…[氏名]\r（所定＋残業：170:30　実働時間：168:00）" (with 欠勤 when there are absence days).
std::string WorkedHoursWarning(const std::string& employeeName, const CompanyRecord& company,
                               const AttendanceRecord& attendance, int timeStyle);

}  // namespace paylark
