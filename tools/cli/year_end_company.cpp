// saldesk-cli year-end --year YYYY YEARFILE [--settle PERIOD [--save]]: every employee of the
// company, and optionally the settlement of each 過不足額 into one period of the file.
#include <iostream>

#include "calc/year_end_figures.h"
#include "calc/year_end_settlement.h"
#include "store/declarations.h"
#include "store/year_file.h"
#include "store/year_file_content.h"
#include "tools/cli/cli.h"
#include "tools/cli/year_end_input.h"

namespace paylark::cli {
namespace {

std::vector<YearFileContent> ReadFiles(const std::filesystem::path& yearFile, int year) {
  try {
    return ReadCalendarYearFiles(yearFile, year);
  } catch (const std::invalid_argument& e) {
    throw UsageError(e.what());
  }
}

}  // namespace

int RunYearEndOfCompany(const YearEndRules& rules, const std::filesystem::path& yearFile,
                        std::optional<int> settlingPeriod, bool save) {
  std::vector<YearFileContent> files = ReadFiles(yearFile, rules.year);
  const std::vector<EmployeeYearPay> pays = GatherYearPay(files, rules.year);

  // The settlement goes into the periods of the file given (files[0]).
  std::vector<YearPeriod> periods;
  std::vector<PeriodBlock> before;
  for (auto& [period, block] : files[0].periods) {
    periods.push_back({period, &block});
    before.push_back(block);
  }
  if (settlingPeriod) {
    bool found = false;
    for (const YearPeriod& p : periods) found = found || p.period == *settlingPeriod;
    if (!found) throw UsageError("--settle: period " + std::to_string(*settlingPeriod) + " is not saved");
  }

  const std::filesystem::path dbPath = yearFile.parent_path() / DeclarationStore::kFileName;
  std::error_code ec;
  std::optional<DeclarationStore> store;
  if (std::filesystem::is_regular_file(dbPath, ec)) store.emplace(dbPath);
  for (const EmployeeYearPay& pay : pays) {
    std::optional<Declaration> declaration;
    if (store) declaration = store->Load(rules.year, pay.key);
    const EmployeeYearEnd e = AdjustEmployee(rules, pay, declaration ? &*declaration : nullptr);
    std::cout << pay.key << '\t' << pay.name << '\t' << CheckedAdd(pay.salary, pay.bonus) << '\t'
              << pay.socialInsurance << '\t' << pay.withheld << '\t';
    if (e.exclusion)
      std::cout << "対象外: " << *e.exclusion;
    else
      std::cout << e.result.annualTax << '\t' << e.result.difference;
    if (settlingPeriod) {
      // An employee not adjusted (any more) keeps no settlement.
      const Yen amount = e.exclusion ? 0 : e.result.difference;
      if (!SettleYearEnd(periods, *settlingPeriod, pay.key, amount) && !e.exclusion)
        std::cout << "\t精算先なし";
      const ShortfallDeferral d = OfferDeferral(rules, periods, *settlingPeriod, pay.key, amount);
      if (d.offered) std::cout << "\t繰延可\t" << d.collectedNow << '\t' << d.january << '\t' << d.february;
    }
    std::cout << '\n';
  }

  if (settlingPeriod && save) {
    OpenPeriod state;
    state.currentDataFile = yearFile;
    state.header = files[0].header;
    for (std::size_t i = 0; i < periods.size(); ++i) {
      if (*periods[i].block == before[i]) continue;
      state.periodIndex = periods[i].period;
      state.period = *periods[i].block;
      SavePeriod(yearFile, state);
    }
  }
  return 0;
}

}  // namespace paylark::cli
