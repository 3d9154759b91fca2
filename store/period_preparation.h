// A period that was never saved is prepared by carrying the company information and the employee
// table over from its natural predecessor: for January, December of the previous year's file; for
// February to December, the month before in the same file (saved or not); for a bonus, the latest
// saved month of the same file. A salary month whose later months are already saved takes nothing
// (its predecessor's data would be older than what is known), and the caller offers the reference
// data selection instead whenever the company name ends up empty.
#pragma once

#include <filesystem>

#include "store/year_file.h"

namespace paylark {

struct PreparedPeriod {
  bool laterDataExists = false;    // a later month of this file is saved: nothing was carried over
  bool needsReferenceData = false; // the company name is empty after the carry-over
};

// Prepares state.period for period `period` of state.currentDataFile (header already read).
PreparedPeriod PrepareNewPeriod(const std::filesystem::path& dataFolder, OpenPeriod& state, int period);

// A new salary month: every monthly-paid employee in use starts with 出勤日数 and 実働時間 equal to the
// period's scheduled days and hours.
void PresetMonthlyAttendance(PeriodBlock& period);

}  // namespace paylark
