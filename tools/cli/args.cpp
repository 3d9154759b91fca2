#include <charconv>
#include <iostream>

#include "calc/bonus.h"
#include "store/year_file.h"
#include "tools/cli/cli.h"

namespace paylark::cli {

int ParseIntArg(const std::string& text, const char* what) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) throw UsageError(std::string(what) + " is not a whole number: " + text);
  return value;
}

int ParseColumnArg(const std::string& text) {
  if (text == "kou") return 0;
  if (text == "otsu") return 1;
  throw UsageError("tax column must be kou or otsu: " + text);
}

std::filesystem::path SettingsPath(const std::filesystem::path& programDir) { return programDir / "Saldesk.ini"; }

RateTableEditions LoadEditions(const std::filesystem::path& programDir) {
  RateTableEditions editions;
  std::vector<std::string> errors;
  editions.LoadFromProgramFolder(programDir, &errors);
  for (const auto& e : errors) std::cerr << "saldesk-cli: " << e << "\n";
  return editions;
}

std::unique_ptr<ui::ProgramState> OpenStoredPeriod(const Invocation& inv, const std::string& yearFileArg,
                                                   const std::string& periodArg) {
  const std::filesystem::path yearFile = yearFileArg;
  const int periodNumber = ParseIntArg(periodArg, "PERIOD");
  if (periodNumber < 1 || periodNumber > kPeriodCount) throw UsageError("PERIOD must be 1 to 15");
  const auto eraYear = ParseYearFileName(yearFile.filename().string());
  if (!eraYear) throw UsageError("not the name of a yearly file (<era><year>年給与･賞与.dat): " + yearFile.string());

  auto state = std::make_unique<ui::ProgramState>(inv.programDir);
  state->LoadOptions();
  state->LoadItemSettings(ItemKind::Salary);
  state->LoadItemSettings(ItemKind::Bonus);
  state->editions = LoadEditions(inv.programDir);
  state->tables = state->editions.Current();
  state->editionsLoaded = true;
  state->paths.dataDir = yearFile.parent_path();

  OpenPeriod& open = state->open;
  open.currentDataFile = yearFile;
  open.eraYear = *eraYear;
  open.periodIndex = periodNumber;
  ReadHeader(yearFile, open.header);
  LoadPeriod(yearFile, periodNumber, open.period);
  if (IsBonusPeriod(periodNumber)) {
    const int month = open.header.BonusMonth(periodNumber);
    if (month < 0 || month > 12) {
      throw YearFileError(yearFile, periodNumber, "header", 0, BonusMonthDamageText(periodNumber, month));
    }
  }
  return state;
}

}  // namespace paylark::cli
