// Names of the yearly files: era name, era year without padding, "年給与･賞与.dat". The period
// selection lists them with the year padded to two places, so a name is read back with or
// without leading spaces or zeros.
#include <string_view>
#include <system_error>

#include "store/year_file.h"

namespace paylark {
namespace {

constexpr std::string_view kYearFileSuffix = "年給与･賞与.dat";  // "･" is the half-width middle dot

}  // namespace

std::string YearFileName(const EraYear& eraYear) {
  return eraYear.era + std::to_string(eraYear.year) + std::string(kYearFileSuffix);
}

std::optional<EraYear> ParseYearFileName(const std::string& fileName) {
  std::string_view name = fileName;
  if (!name.ends_with(kYearFileSuffix)) return std::nullopt;
  name.remove_suffix(kYearFileSuffix.size());
  for (const std::string& era : EraNames()) {
    if (!name.starts_with(era)) continue;
    std::string_view number = name.substr(era.size());
    while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
    if (number.empty() || number.size() > 4) return std::nullopt;
    int year = 0;
    for (char c : number) {
      if (c < '0' || c > '9') return std::nullopt;
      year = year * 10 + (c - '0');
    }
    if (year < 1) return std::nullopt;
    return EraYear{era, year};
  }
  return std::nullopt;
}

std::filesystem::path PreviousYearFile(const std::filesystem::path& dataFolder, const EraYear& eraYear) {
  std::optional<int> year = GregorianYear(eraYear);
  if (!year) throw std::invalid_argument("unknown era name: " + eraYear.era);
  std::vector<EraYear> names = EraYearsOf(*year - 1);
  // Before the first era the calendar still counts years under it (year 0 and below).
  if (names.empty()) names.push_back(EraOf({*year - 1, 12, 31}));
  for (const EraYear& candidate : names) {
    std::filesystem::path file = dataFolder / YearFileName(candidate);
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) return file;
  }
  return dataFolder / YearFileName(names.front());
}

}  // namespace paylark
