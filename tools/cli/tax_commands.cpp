// tax, bonus-tax and tables: the rate tables of a program folder answered from the command line.
// tax and bonus-tax use the edition in force on the payment date (--date, default today).
#include <cstdio>
#include <iostream>
#include <vector>

#include "calc/calc_inputs.h"
#include "store/app_settings.h"
#include "store/profile_file.h"
#include "store/rate_table_editions.h"
#include "tools/cli/cli.h"

namespace paylark::cli {
namespace {

struct LoadedTables {
  RateTableEditions editions;
  Options options;
};

LoadedTables Load(const std::filesystem::path& programDir) {
  LoadedTables t;
  t.editions = LoadEditions(programDir);
  t.options = LoadOptions(ProfileFile(SettingsPath(programDir)));
  return t;
}

const RateTables& TablesFor(const LoadedTables& t, const Invocation& inv) {
  return t.editions.InForceOn(inv.date.value_or(Today()));
}

// A tax without its table is no tax: the table is named and the command fails.
int RefuseWithoutTable(const RateTables& tables, TableId id) {
  TableProblems problems;
  problems.Note(tables, id);
  for (const std::string& m : problems.messages) std::cerr << "saldesk-cli: " << m << "\n";
  return 1;
}

std::string EditionText(const RateTableEdition& e) {
  return e.effective ? IsoDate(*e.effective) : std::string("(no date)");
}

}  // namespace

int RunTax(const Invocation& inv) {
  if (inv.args.size() != 3) throw UsageError("tax takes AMOUNT DEPENDANTS kou|otsu");
  const int amount = ParseIntArg(inv.args[0], "AMOUNT");
  const int dependants = ParseIntArg(inv.args[1], "DEPENDANTS");
  const int column = ParseColumnArg(inv.args[2]);
  const LoadedTables t = Load(inv.programDir);
  const RateTables& tables = TablesFor(t, inv);
  const TablePresence presence = tables.Presence();
  if (!tables.MonthlyTaxUsable(presence)) return RefuseWithoutTable(tables, TableId::MonthlyTax);
  std::cout << tables.MonthlyTax(presence, amount, column, dependants, t.options.deductionRounding) << "\n";
  return 0;
}

int RunBonusTax(const Invocation& inv) {
  if (inv.args.size() != 4) throw UsageError("bonus-tax takes PREVIOUS BONUS DEPENDANTS kou|otsu");
  const int previous = ParseIntArg(inv.args[0], "PREVIOUS");
  const int bonus = ParseIntArg(inv.args[1], "BONUS");
  const int dependants = ParseIntArg(inv.args[2], "DEPENDANTS");
  const int column = ParseColumnArg(inv.args[3]);
  const LoadedTables t = Load(inv.programDir);
  const RateTables& tables = TablesFor(t, inv);
  const TablePresence presence = tables.Presence();
  if (!tables.BonusTaxUsable(presence, column)) return RefuseWithoutTable(tables, TableId::BonusTax);
  double rate = 0;
  tables.BonusTaxRate(presence, previous, dependants, column, &rate);
  char rateText[32];
  std::snprintf(rateText, sizeof rateText, "%.5f", rate);
  std::cout << "rate\t" << rateText << "\n"
            << "tax\t" << tables.BonusTax(presence, previous, bonus, dependants, column, t.options.deductionRounding)
            << "\n";
  return 0;
}

int RunTables(const Invocation& inv) {
  if (!inv.args.empty()) throw UsageError("tables takes no arguments");
  const LoadedTables t = Load(inv.programDir);
  std::string dates = RateTableFileDates(inv.programDir);
  for (char& c : dates) {
    if (c == '\r') c = '\n';
  }
  std::cout << dates << "\n";
  const RateTables& r = t.editions.Current();
  std::cout << TableFileName(TableId::MonthlyTax) << "\trows\t" << r.Monthly().I32(0) << "\n"
            << TableFileName(TableId::BonusTax) << "\t甲 rows\t" << r.Bonus().I32(0) << "\t乙 rows\t"
            << r.Bonus().I32(1444) << "\n"
            << TableFileName(TableId::Employment) << "\trows\t" << r.Employment().I32(16) << "\n"
            << TableFileName(TableId::HealthGrade) << "\tgrades\t" << r.GradeCount() << "\tpension grades\t"
            << r.HealthGrades().I32(4) << "-" << r.HealthGrades().I32(8) << "\n"
            << "loaded\t" << r.LoadedCount() << "\n";
  // Every edition, oldest first, with what its tax tables hold beyond the images.
  for (const RateTableEdition* e : t.editions.ByDate()) {
    std::cout << "edition\t" << EditionText(*e) << "\t" << (e->current ? "current" : e->folder.string());
    if (const FullMonthlyTaxTable* m = e->tables.MonthlyFull()) {
      std::cout << "\t月額表 rows " << m->rows.size() << ", 甲 brackets " << m->kouBrackets.size() << ", 乙 brackets "
                << m->otsuBrackets.size();
    } else {
      std::cout << "\t月額表 image only";
    }
    if (const FullBonusTaxTable* b = e->tables.BonusFull()) {
      std::cout << "\t賞与 甲 rows " << b->kou.size() << ", 乙 rows " << b->otsu.size();
    } else {
      std::cout << "\t賞与 image only";
    }
    std::cout << "\n";
  }
  return 0;
}

}  // namespace paylark::cli
