// tax, bonus-tax and tables: the rate tables of a program folder answered from the command line.
#include <cstdio>
#include <iostream>
#include <vector>

#include "store/app_settings.h"
#include "store/profile_file.h"
#include "store/rate_tables.h"
#include "tools/cli/cli.h"

namespace paylark::cli {
namespace {

struct LoadedTables {
  RateTables tables;
  Options options;
};

LoadedTables Load(const std::filesystem::path& programDir) {
  LoadedTables t;
  std::vector<std::string> errors;
  t.tables.LoadFromFolder(programDir, &errors);
  for (const auto& e : errors) std::cerr << "saldesk-cli: " << e << "\n";
  t.options = LoadOptions(ProfileFile(SettingsPath(programDir)));
  return t;
}

}  // namespace

int RunTax(const Invocation& inv) {
  if (inv.args.size() != 3) throw UsageError("tax takes AMOUNT DEPENDANTS kou|otsu");
  const int amount = ParseIntArg(inv.args[0], "AMOUNT");
  const int dependants = ParseIntArg(inv.args[1], "DEPENDANTS");
  const int column = ParseColumnArg(inv.args[2]);
  LoadedTables t = Load(inv.programDir);
  std::cout << t.tables.MonthlyTax(t.tables.Presence(), amount, column, dependants, t.options.deductionRounding)
            << "\n";
  return 0;
}

int RunBonusTax(const Invocation& inv) {
  if (inv.args.size() != 4) throw UsageError("bonus-tax takes PREVIOUS BONUS DEPENDANTS kou|otsu");
  const int previous = ParseIntArg(inv.args[0], "PREVIOUS");
  const int bonus = ParseIntArg(inv.args[1], "BONUS");
  const int dependants = ParseIntArg(inv.args[2], "DEPENDANTS");
  const int column = ParseColumnArg(inv.args[3]);
  LoadedTables t = Load(inv.programDir);
  const TablePresence presence = t.tables.Presence();
  double rate = 0;
  if (!t.tables.BonusTaxRate(presence, previous, dependants, column, &rate)) {
    std::cerr << "saldesk-cli: no bonus table file: the bonus tax is 0\n";
  }
  char rateText[32];
  std::snprintf(rateText, sizeof rateText, "%.5f", rate);
  std::cout << "rate\t" << rateText << "\n"
            << "tax\t"
            << t.tables.BonusTax(presence, previous, bonus, dependants, column, t.options.deductionRounding) << "\n";
  return 0;
}

int RunTables(const Invocation& inv) {
  if (!inv.args.empty()) throw UsageError("tables takes no arguments");
  LoadedTables t = Load(inv.programDir);
  std::string dates = RateTableFileDates(inv.programDir);
  for (char& c : dates) {
    if (c == '\r') c = '\n';
  }
  std::cout << dates << "\n";
  const RateTables& r = t.tables;
  std::cout << TableFileName(TableId::MonthlyTax) << "\trows\t" << r.Monthly().I32(0) << "\n"
            << TableFileName(TableId::BonusTax) << "\t甲 rows\t" << r.Bonus().I32(0) << "\t乙 rows\t"
            << r.Bonus().I32(1444) << "\n"
            << TableFileName(TableId::Employment) << "\trows\t" << r.Employment().I32(16) << "\n"
            << TableFileName(TableId::HealthGrade) << "\tgrades\t" << r.GradeCount() << "\tpension grades\t"
            << r.HealthGrades().I32(4) << "-" << r.HealthGrades().I32(8) << "\n"
            << "loaded\t" << r.LoadedCount() << "\n";
  return 0;
}

}  // namespace paylark::cli
