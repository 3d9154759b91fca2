#include "store/year_file_content.h"

#include <stdexcept>

#include "store/year_file.h"

namespace paylark {

std::vector<YearFileContent> ReadCalendarYearFiles(const std::filesystem::path& yearFile, int year) {
  const std::optional<EraYear> eraYear = ParseYearFileName(yearFile.filename().string());
  if (!eraYear) throw std::invalid_argument("not a yearly file name: " + yearFile.filename().string());
  if (GregorianYear(*eraYear) != year)
    throw std::invalid_argument(yearFile.filename().string() + " is not a file of " + std::to_string(year));
  std::vector<std::pair<EraYear, std::filesystem::path>> paths{{*eraYear, yearFile}};
  for (const EraYear& other : EraYearsOf(year)) {
    const std::filesystem::path path = yearFile.parent_path() / YearFileName(other);
    std::error_code ec;
    if (!(other == *eraYear) && std::filesystem::is_regular_file(path, ec)) paths.push_back({other, path});
  }
  std::vector<YearFileContent> files;
  for (const auto& [era, path] : paths) {
    YearFileContent content;
    content.eraYear = era;
    ReadHeader(path, content.header);
    for (int period = 1; period <= kPeriodCount; ++period) {
      if (!content.header.Saved(period)) continue;
      content.periods.emplace_back(period, PeriodBlock{});
      LoadPeriod(path, period, content.periods.back().second);
    }
    files.push_back(std::move(content));
  }
  return files;
}

}  // namespace paylark
