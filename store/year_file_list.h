// The yearly files of the data folder: every file named <era><year>年給与･賞与.dat, of any era and
// era year, in calendar order (the older era first within a year whose era changed).
#pragma once

#include <filesystem>
#include <vector>

#include "store/era.h"

namespace paylark {

struct YearFileEntry {
  EraYear eraYear;
  std::filesystem::path path;
  int gregorianYear = 0;
  // "令和8年": what the year list shows.
  std::string Label() const;
};

std::vector<YearFileEntry> ListYearFiles(const std::filesystem::path& dataFolder);

}  // namespace paylark
