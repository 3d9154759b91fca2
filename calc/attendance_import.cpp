#include "calc/attendance_import.h"

#include <array>
#include <string_view>
#include <utility>

#include "entry/number_parse.h"
#include "store/sjis.h"

namespace paylark {
namespace {

constexpr std::array<std::pair<std::string_view, Kintai>, 10> kReportItems{{
    {"出勤日数", Kintai::WorkDays},
    {"有休日数", Kintai::PaidLeaveDays},
    {"欠勤日数", Kintai::AbsenceDays},
    {"休日出勤日数", Kintai::HolidayWorkDays},
    {"遅刻早退回数", Kintai::LateCount},
    {"実働時間", Kintai::WorkedHours},
    {"普通残業時間", Kintai::OvertimeHours},
    {"深夜残業時間", Kintai::NightOvertimeHours},
    {"休日普通残業", Kintai::HolidayOvertime},
    {"休日深夜残業", Kintai::HolidayNightOvertime},
}};

}  // namespace

int FindReportEmployee(const PeriodBlock& period, const std::string& reportName) {
  if (reportName.empty()) return 0;
  int found = 0;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    const EmployeeRecord& e = period.Employee(slot);
    if (e.InUse() && RemoveSpaces(e.Name()) == reportName) found = slot;
  }
  return found;
}

std::string NoEmployeeMessage(const std::string& reportName) { return "該当者のデータ無し [" + reportName + "]"; }

void ApplyAttendanceReport(PeriodBlock& period, int slot, const std::vector<ReportLine>& lines, Reporter& reporter) {
  AttendanceRecord& attendance = period.Attendance(slot);
  for (const ReportLine& line : lines) {
    for (const auto& [name, field] : kReportItems) {
      if (line.item == name) attendance.Set(field, ParseNumber(line.value, reporter));
    }
  }
}

void RecomputePaidLeaveBalance(PeriodBlock& period, int slot, int periodIndex, PreviousPeriodLookup& lookup) {
  const double previous = lookup.FindPreviousPaidLeave(periodIndex - 1, period.Employee(slot).Key());
  if (previous == kPaidLeaveNotFound) return;
  AttendanceRecord& a = period.Attendance(slot);
  a.Set(Kintai::PaidLeaveBalance, previous - a.Get(Kintai::PaidLeaveDays));
}

}  // namespace paylark
