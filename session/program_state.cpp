#include "session/program_state.h"

#include "calc/payment_date.h"
#include "calc/salary.h"
#include "store/app_settings.h"

namespace paylark::ui {

ProgramPaths::ProgramPaths(const std::filesystem::path& programFolder) : ProgramPaths(programFolder, programFolder) {}

ProgramPaths::ProgramPaths(const std::filesystem::path& userFolder, const std::filesystem::path& tablesFolder)
    : programDir(userFolder),
      tablesDir(tablesFolder),
      settingsFile(userFolder / "Saldesk.ini"),
      dataDir(userFolder / "Data"),
      employeeTemplate(userFolder / "Data" / "社員情報.dat") {}

ProgramState::ProgramState(const std::filesystem::path& programFolder) : ProgramState(programFolder, programFolder) {}

ProgramState::ProgramState(const std::filesystem::path& userFolder, const std::filesystem::path& tablesFolder)
    : paths(userFolder, tablesFolder),
      settings(paths.settingsFile),
      salaryItems(DefaultItemSettings(ItemKind::Salary)),
      bonusItems(DefaultItemSettings(ItemKind::Bonus)) {
  RebuildLists(ItemKind::Salary);
  RebuildLists(ItemKind::Bonus);
}

void ProgramState::LoadOptions() { options = paylark::LoadOptions(settings); }

void ProgramState::LoadItemSettings(ItemKind kind) {
  (kind == ItemKind::Bonus ? bonusItems : salaryItems) = paylark::LoadItemSettings(settings, kind);
  RebuildLists(kind);
}

void ProgramState::SetItemSettings(const ItemSettings& items) {
  (items.kind == ItemKind::Bonus ? bonusItems : salaryItems) = items;
  RebuildLists(items.kind);
}

void ProgramState::RebuildLists(ItemKind kind) {
  if (kind == ItemKind::Bonus) {
    bonusLists = DeriveItemLists(bonusItems);
  } else {
    salaryLists = DeriveItemLists(salaryItems);
  }
}

int ProgramState::LoadRateTables(std::vector<std::string>* errors) {
  editions = RateTableEditions();
  const int loaded = editions.LoadFromProgramFolder(paths.tablesDir, errors);
  tables = editions.Current();
  editionsLoaded = true;
  LoadedPremiumRates premium = LoadPremiumRates(paths.programDir);
  premiumRates = std::move(premium.rates);
  premiumRateProblems = std::move(premium.problems);
  return loaded;
}

const RateTables& ProgramState::TablesOfOpenPeriod() const {
  if (!editionsLoaded) return tables;
  const auto date = PaymentDateOfPeriod(open.eraYear, open.periodIndex, open.period.company, open.header);
  return date ? editions.InForceOn(*date) : editions.Current();
}

ProgramState::CalcContext ProgramState::MakeCalcContext() const {
  CalcContext c;
  c.enabled = ResolveEnabledItems(Lists(PeriodKind()), options, PeriodKind());
  if (!open.currentDataFile.empty()) {
    c.lookup = std::make_unique<YearFileLookup>(open.currentDataFile, paths.dataDir, open.eraYear);
  }
  return c;
}

CalcInputs ProgramState::Inputs(const CalcContext& context) const {
  const RateTables& inForce = TablesOfOpenPeriod();
  return CalcInputs{options,
                    context.enabled,
                    inForce,
                    inForce.Presence(),
                    open.periodIndex,
                    BonusPeriod() ? open.header.BonusMonth(open.periodIndex) : 0,
                    context.lookup.get(),
                    PaymentDateOfPeriod(open.eraYear, open.periodIndex, open.period.company, open.header)};
}

BonusTaxException ProgramState::RecalculateSlot(int slot, std::vector<std::string>* tableProblems) {
  const CalcContext context = MakeCalcContext();
  CalcInputs in = Inputs(context);
  TableProblems problems;
  in.tableProblems = &problems;
  BonusTaxException exception = BonusTaxException::None;
  if (BonusPeriod()) {
    exception = CalculateBonus(open.period, slot, in);
  } else {
    CalculateSalary(open.period, slot, in);
  }
  if (tableProblems != nullptr) {
    tableProblems->insert(tableProblems->end(), problems.messages.begin(), problems.messages.end());
  }
  return exception;
}

Explanation ProgramState::ExplainSlot(int slot) const {
  Explanation explanation;
  explanation.sources = SourcesOfPeriod(premiumRates, open);
  const CalcContext context = MakeCalcContext();
  CalcInputs in = Inputs(context);
  in.explanation = &explanation;
  PeriodBlock copy = open.period;
  if (BonusPeriod()) {
    CalculateBonus(copy, slot, in);
  } else {
    CalculateSalary(copy, slot, in);
  }
  return explanation;
}

double ProgramState::PreviousPaidLeave(int slot) const {
  const std::string key = Period().Employee(slot).Key();
  if (key.empty() || open.currentDataFile.empty()) return kPaidLeaveNotFound;
  YearFileLookup lookup(open.currentDataFile, paths.dataDir, open.eraYear);
  return lookup.FindPreviousPaidLeave(open.periodIndex - 1, key);
}

}  // namespace paylark::ui
