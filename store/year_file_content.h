// The saved periods of the yearly file(s) of one calendar year, read whole for the year's totals
// (年末調整). A calendar year is one era year's file, or two in a year whose era changed.
#pragma once

#include <filesystem>
#include <utility>
#include <vector>

#include "store/era.h"
#include "store/period.h"

namespace paylark {

// One yearly file as read: its era year, header and the blocks of its saved periods.
struct YearFileContent {
  EraYear eraYear;
  FileHeader header;
  std::vector<std::pair<int, PeriodBlock>> periods;  // (period 1..15, block), saved periods only
};

// Reads `yearFile` (its name gives its era year, which must lie in `year`) and the other era's
// file of the same calendar year in its folder, when there is one. Throws std::invalid_argument
// for a name that is not a yearly file's or a file of another year, YearFileError on a read.
std::vector<YearFileContent> ReadCalendarYearFiles(const std::filesystem::path& yearFile, int year);

}  // namespace paylark
