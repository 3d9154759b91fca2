#include "store/year_file_list.h"

#include <algorithm>

#include "store/year_file.h"

namespace paylark {

std::string YearFileEntry::Label() const { return eraYear.era + std::to_string(eraYear.year) + "年"; }

std::vector<YearFileEntry> ListYearFiles(const std::filesystem::path& dataFolder) {
  std::vector<YearFileEntry> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dataFolder, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const auto eraYear = ParseYearFileName(entry.path().filename().string());
    if (!eraYear) continue;
    const auto year = GregorianYear(*eraYear);
    if (!year) continue;
    files.push_back({*eraYear, entry.path(), *year});
  }
  const auto& eras = EraNames();
  auto eraIndex = [&](const std::string& era) { return std::find(eras.begin(), eras.end(), era) - eras.begin(); };
  std::sort(files.begin(), files.end(), [&](const YearFileEntry& a, const YearFileEntry& b) {
    if (a.gregorianYear != b.gregorianYear) return a.gregorianYear < b.gregorianYear;
    return eraIndex(a.eraYear.era) < eraIndex(b.eraYear.era);
  });
  return files;
}

}  // namespace paylark
