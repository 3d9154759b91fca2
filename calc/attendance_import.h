// Taking attendance report figures into the period in memory: the employee is found by name among
// the slots in use, the ten attendance items a report carries are stored (a later line for the
// same item wins), and the remaining paid leave is recomputed from the previous period.
#pragma once

#include <string>
#include <vector>

#include "entry/reporter.h"
#include "store/attendance_report.h"
#include "store/period.h"
#include "store/previous_period.h"

namespace paylark {

// The slot whose name, with half-width and full-width spaces removed, equals `reportName`; of
// several the last. Only slots in use take part, and an empty name matches nobody. 0 when none.
int FindReportEmployee(const PeriodBlock& period, const std::string& reportName);

// "該当者のデータ無し [%s]"
std::string NoEmployeeMessage(const std::string& reportName);

// Stores the report's figures into the slot's attendance record; invalid numbers are reported
// ("入力エラー") and read as 0.
void ApplyAttendanceReport(PeriodBlock& period, int slot, const std::vector<ReportLine>& lines, Reporter& reporter);

// 有休残日数 = the previous period's balance − 有休日数, when the previous period has the employee;
// otherwise the balance is left as it is.
void RecomputePaidLeaveBalance(PeriodBlock& period, int slot, int periodIndex, PreviousPeriodLookup& lookup);

}  // namespace paylark
