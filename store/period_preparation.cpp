#include "store/period_preparation.h"

#include <memory>

#include "store/sjis.h"

namespace paylark {

PreparedPeriod PrepareNewPeriod(const std::filesystem::path& dataFolder, OpenPeriod& state, int period) {
  PreparedPeriod result;
  PeriodBlock& block = state.period;
  block.company.Clear();
  for (auto& e : block.employees) e.Clear();

  std::filesystem::path sourceFile;
  int sourcePeriod = 0;
  if (period == 1) {
    const std::filesystem::path previous = PreviousYearFile(dataFolder, state.eraYear);
    if (std::filesystem::exists(previous)) {
      sourceFile = previous;
      sourcePeriod = 12;
    }
  } else if (IsSalaryPeriod(period)) {
    sourceFile = state.currentDataFile;
    sourcePeriod = period - 1;
  } else {
    for (int month = 12; month >= 1; --month) {
      if (state.header.Saved(month)) {
        sourceFile = state.currentDataFile;
        sourcePeriod = month;
        break;
      }
    }
  }
  if (sourcePeriod != 0) ReadMasterData(sourceFile, sourcePeriod, block);

  if (IsSalaryPeriod(period) && !Trim(block.company.Name()).empty()) {
    for (int later = period; later <= 12; ++later) {
      if (state.header.Saved(later)) {
        block.company.Clear();
        for (auto& e : block.employees) e.Clear();
        result.laterDataExists = true;
        break;
      }
    }
  }
  block.ClearFigures();
  result.needsReferenceData = Trim(block.company.Name()).empty();
  return result;
}

void PresetMonthlyAttendance(PeriodBlock& period) {
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    const EmployeeRecord& e = period.Employee(slot);
    if (!e.InUse() || e.PayFormCode() != static_cast<int>(PayForm::Monthly)) continue;
    period.Attendance(slot).Set(Kintai::WorkDays, period.company.PeriodDays());
    period.Attendance(slot).Set(Kintai::WorkedHours, period.company.PeriodHours());
  }
}

}  // namespace paylark
