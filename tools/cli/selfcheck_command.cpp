// selfcheck: the start-up checks of a program folder without the windows: the folder and the
// settings file can be written, at least three rate tables load (the editions in Tables/ are
// loaded too and their problems reported), the data folder and this year's yearly file exist.
#include <iostream>
#include <vector>

#include "store/app_settings.h"
#include "store/atomic_file.h"
#include "store/era.h"
#include "store/rate_table_editions.h"
#include "store/year_file.h"
#include "tools/cli/cli.h"

namespace paylark::cli {

int RunSelfCheck(const Invocation& inv) {
  if (!inv.args.empty()) throw UsageError("selfcheck takes no arguments");
  const StartupWriteTestResult writeTest = StartupWriteTest(inv.programDir, SettingsPath(inv.programDir));
  if (!writeTest.ok) {
    for (const auto& message : writeTest.Messages()) std::cerr << message << "\n";
    return 1;
  }
  RateTableEditions editions;
  std::vector<std::string> errors;
  const int loaded = editions.LoadFromProgramFolder(inv.programDir, &errors);
  for (const auto& e : errors) std::cerr << e << "\n";
  if (loaded < 3) {
    std::cerr << "必要な表データファイルが足りません。\n";
    return 1;
  }
  const std::filesystem::path dataFolder = inv.programDir / "Data";
  std::filesystem::create_directories(dataFolder);
  // As at the program's start: the temporary files of interrupted saves are removed.
  std::vector<std::string> leftovers = RemoveStaleTemporaryFiles(inv.programDir);
  for (const std::string& name : RemoveStaleTemporaryFiles(dataFolder)) leftovers.push_back(name);
  const std::filesystem::path yearFile = dataFolder / YearFileName(EraOf(Today()));
  OpenPeriod state;
  const bool created = CreateYearFile(yearFile, state);

  std::cout << "program folder\t" << std::filesystem::absolute(inv.programDir).string() << "\n"
            << "rate tables loaded\t" << loaded << "\n"
            << "yearly file\t" << yearFile.string() << (created ? "\t(created)" : "") << "\n";
  for (const std::string& name : leftovers) std::cout << "removed leftover\t" << name << "\n";
  std::string dates = RateTableFileDates(inv.programDir);
  for (char& c : dates) {
    if (c == '\r') c = '\n';
  }
  std::cout << dates << "\n";
  for (const RateTableEdition* e : editions.ByDate()) {
    std::cout << "edition\t" << (e->effective ? IsoDate(*e->effective) : std::string("(no date)")) << "\t"
              << (e->current ? "current" : e->folder.string()) << "\n";
  }
  return 0;
}

}  // namespace paylark::cli
