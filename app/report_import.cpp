#include "app/report_import.h"

#include "calc/attendance_import.h"
#include "store/attendance_report.h"
#include "ui/dialog_reporter.h"

namespace paylark::app {

bool ImportAttendanceReports(ui::ProgramState& state, ui::DialogService& dialogs) {
  const std::vector<std::string> files = dialogs.OpenFiles(
      "読み込む勤務報告データを指定して下さい。", state.paths.dataDir.string(), "勤務報告データ (*.knm)", true);
  if (files.empty()) return false;
  ui::DialogReporter reporter(dialogs);
  YearFileLookup lookup(state.open.currentDataFile, state.paths.dataDir, state.open.eraYear);
  PeriodBlock& period = state.Period();
  for (const std::string& file : files) {
    const std::string name = ReportEmployeeName(file);
    const int slot = FindReportEmployee(period, name);
    if (slot == 0) {
      dialogs.Error(NoEmployeeMessage(name));
      continue;
    }
    try {
      ApplyAttendanceReport(period, slot, ReadAttendanceReport(file), reporter);
      RecomputePaidLeaveBalance(period, slot, state.PeriodIndex(), lookup);
    } catch (const YearFileError& e) {
      dialogs.Error(e.UserText());
      return false;
    }
  }
  return true;
}

}  // namespace paylark::app
