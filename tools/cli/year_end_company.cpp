// saldesk-cli year-end --year YYYY YEARFILE: every employee of the company.
#include <iostream>

#include "calc/year_end_figures.h"
#include "store/declarations.h"
#include "store/year_file.h"
#include "tools/cli/cli.h"
#include "tools/cli/year_end_input.h"

namespace paylark::cli {

std::vector<YearFileContent> ReadYearFiles(const std::filesystem::path& yearFile, int year) {
  const std::optional<EraYear> eraYear = ParseYearFileName(yearFile.filename().string());
  if (!eraYear) throw UsageError("not a yearly file name: " + yearFile.filename().string());
  if (GregorianYear(*eraYear) != year)
    throw UsageError(yearFile.filename().string() + " is not a file of " + std::to_string(year));
  // The given file, and the other era's file of the same calendar year when there is one.
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

int RunYearEndOfCompany(const YearEndRules& rules, const std::filesystem::path& yearFile) {
  const std::vector<EmployeeYearPay> pays = GatherYearPay(ReadYearFiles(yearFile, rules.year), rules.year);
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
      std::cout << "対象外: " << *e.exclusion << '\n';
    else
      std::cout << e.result.annualTax << '\t' << e.result.difference << '\n';
  }
  return 0;
}

}  // namespace paylark::cli
