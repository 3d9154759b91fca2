#include "session/year_end_session.h"

#include <algorithm>
#include <map>
#include <set>
#include <system_error>

#include "calc/age_rules.h"
#include "calc/payment_date.h"
#include "store/year_file.h"

namespace paylark::screens {
namespace {

int SlotOf(const PeriodBlock& block, const std::string& key) {
  for (int slot = 1; slot <= kSlotCount; ++slot)
    if (block.Employee(slot).InUse() && block.Employee(slot).Key() == key) return slot;
  return 0;
}

std::string PeriodText(int period) {
  return IsBonusPeriod(period) ? "賞与" + std::to_string(period - 12) : std::to_string(period) + "月";
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ec;
  const bool same = std::filesystem::equivalent(a, b, ec);
  return ec ? a.lexically_normal() == b.lexically_normal() : same;
}

std::filesystem::path RequireYearFile(const ui::ProgramState& state, int year) {
  const std::optional<std::filesystem::path> file = YearFileOfYear(state.paths.dataDir, year);
  if (!file) throw YearEndError(std::to_string(year) + "年の給与データがありません。");
  return *file;
}

YearEndRules LoadRules(const ui::ProgramState& state, int year) {
  try {
    return LoadYearEndRules(YearEndRulesFolder(state.paths), year);
  } catch (const YearEndRulesError& e) {
    throw YearEndError(std::to_string(year) + "年分の年末調整の表を読めません。\n" + e.what());
  }
}

// The company and employee records of the latest period paid in the year.
struct Latest {
  CivilDate date;
  const PeriodBlock* block = nullptr;
};
std::map<std::string, std::pair<CivilDate, EmployeeRecord>> LatestRecords(const std::vector<YearFileContent>& files,
                                                                          int year, Latest* latestBlock) {
  std::map<std::string, std::pair<CivilDate, EmployeeRecord>> records;
  for (const YearFileContent& file : files)
    for (const auto& [period, block] : file.periods) {
      const std::optional<CivilDate> date = PaymentDateOfPeriod(file.eraYear, period, block.company, file.header);
      if (!date || date->year != year) continue;
      if (latestBlock && (!latestBlock->block || latestBlock->date <= *date)) *latestBlock = {*date, &block};
      for (int slot = 1; slot <= kSlotCount; ++slot) {
        const EmployeeRecord& e = block.Employee(slot);
        if (!e.InUse()) continue;
        auto it = records.find(e.Key());
        if (it == records.end() || it->second.first <= *date) records[e.Key()] = {*date, e};
      }
    }
  return records;
}

// A retirement date of the record ("yymmdd" in the era of the year) when it falls in the year.
std::optional<CivilDate> RetiredInYear(const EmployeeRecord& e, int year) {
  if (!e.Retired()) return std::nullopt;
  const std::string text = e.RetirementDate();
  auto part = [&text](std::size_t i) {
    try {
      return i + 2 <= text.size() ? std::stoi(text.substr(i, 2)) : 0;
    } catch (const std::exception&) {
      return 0;
    }
  };
  for (const EraYear& era : EraYearsOf(year)) {
    if (era.year != part(0)) continue;
    const CivilDate d{year, part(2), part(4)};
    if (d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= DaysInMonth(year, d.month)) return d;
  }
  return std::nullopt;
}

}  // namespace

const char* YearEndStatusLabel(YearEndStatus status) {
  switch (status) {
    case YearEndStatus::NotEntered: return "未入力";
    case YearEndStatus::Entered: return "入力済";
    case YearEndStatus::Calculated: return "計算済";
    case YearEndStatus::Settled: return "精算済";
    case YearEndStatus::Excluded: return "対象外";
  }
  return "";
}

std::filesystem::path YearEndRulesFolder(const ui::ProgramPaths& paths) { return paths.tablesDir / "YearEnd"; }

std::optional<std::filesystem::path> YearFileOfYear(const std::filesystem::path& dataFolder, int year) {
  for (const EraYear& era : EraYearsOf(year)) {
    const std::filesystem::path file = dataFolder / YearFileName(era);
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec)) return file;
  }
  return std::nullopt;
}

std::vector<int> YearEndYears(const ui::ProgramPaths& paths) {
  std::set<int> years;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(paths.dataDir, ec)) {
    const std::optional<EraYear> era = ParseYearFileName(entry.path().filename().string());
    if (!era) continue;
    if (const std::optional<int> year = GregorianYear(*era)) years.insert(*year);
  }
  return {years.rbegin(), years.rend()};
}

int DefaultYearEndYear(const ui::ProgramState& state) {
  if (!state.open.currentDataFile.empty())
    if (const std::optional<int> year = GregorianYear(state.open.eraYear)) return *year;
  return Today().year;
}

YearEndSession::YearEndSession(ui::ProgramState& state, int year)
    : YearEndSession(state, year, RequireYearFile(state, year)) {}

YearEndSession::YearEndSession(ui::ProgramState& state, int year, const std::filesystem::path& yearFile)
    : state_(state),
      year_(year),
      yearFile_(yearFile),
      rules_(LoadRules(state, year)),
      store_(yearFile.parent_path() / DeclarationStore::kFileName) {
  Load();
}

void YearEndSession::Refresh() { Load(); }

void YearEndSession::Load() {
  try {
    files_ = ReadCalendarYearFiles(yearFile_, year_);
  } catch (const std::invalid_argument&) {
    throw YearEndError(yearFile_.filename().string() + "は" + std::to_string(year_) + "年の給与データではありません。");
  }
  std::map<std::string, Declaration> declarations;
  for (Declaration& d : store_.LoadYear(year_)) declarations.emplace(d.employeeKey, std::move(d));
  std::map<std::string, AdjustmentState> states;
  for (const AdjustmentState& a : store_.LoadAdjustments(year_)) states.emplace(a.employeeKey, a);
  const auto records = LatestRecords(files_, year_, nullptr);
  const auto& target = files_.front().periods;

  rows_.clear();
  for (const EmployeeYearPay& pay : GatherYearPay(files_, year_)) {
    YearEndRow row;
    row.key = pay.key;
    row.name = pay.name;
    if (auto it = records.find(pay.key); it != records.end()) row.record = it->second.second;
    if (auto it = declarations.find(pay.key); it != declarations.end()) row.declaration = it->second;
    row.particulars = store_.LoadParticulars(year_, pay.key);
    row.adjustment = AdjustEmployee(rules_, pay, row.declaration ? &*row.declaration : nullptr);
    const YearEndResult& r = row.adjustment.result;
    if (row.adjustment.exclusion) {
      // Without a declaration a 甲欄 employee is still to be entered, not excluded.
      row.status = !row.declaration && pay.taxColumn != 1 ? YearEndStatus::NotEntered : YearEndStatus::Excluded;
      if (row.status == YearEndStatus::Excluded) row.exclusion = *row.adjustment.exclusion;
    } else {
      row.status = YearEndStatus::Entered;
      if (auto it = states.find(pay.key); it != states.end()) {
        const AdjustmentState& s = it->second;
        if (s.annualTax == r.annualTax && s.withheld == r.withheld && s.difference == r.difference) {
          row.status = YearEndStatus::Calculated;
          // Settled only while the settlement is where it was placed.
          for (const auto& [period, block] : target) {
            if (period != s.settledPeriod) continue;
            const int slot = SlotOf(block, pay.key);
            if (slot != 0 && block.Deduction(slot).Get(Koujo::YearEndAdjustment) == r.difference) {
              row.status = YearEndStatus::Settled;
              row.settledPeriod = period;
            }
          }
        } else {
          row.recalculationNeeded = true;
        }
      }
    }
    if (row.Adjusted()) {
      row.totalPay = r.totalPay;
      row.annualTax = r.annualTax;
      row.withheld = r.withheld;
      row.difference = r.difference;
    } else {
      row.totalPay = CheckedAdd(pay.salary, pay.bonus);
      row.withheld = pay.withheld;
    }
    rows_.push_back(std::move(row));
  }
}

const YearEndRow* YearEndSession::Row(const std::string& key) const {
  for (const YearEndRow& row : rows_)
    if (row.key == key) return &row;
  return nullptr;
}

YearEndTotals YearEndSession::Totals() const {
  YearEndTotals t;
  for (const YearEndRow& row : rows_) {
    ++t.employees;
    AddTo(t.totalPay, row.totalPay);
    AddTo(t.withheld, row.withheld);
    AddTo(t.annualTax, row.annualTax);
    AddTo(t.difference, row.difference);
    if (row.Adjusted()) ++t.adjusted;
    if (row.status == YearEndStatus::Excluded) ++t.excluded;
  }
  return t;
}

int YearEndSession::CalculateAll() {
  Load();  // the year's pay as it is now, not as it was when the rows were shown
  std::vector<AdjustmentState> states;
  for (const YearEndRow& row : rows_) {
    if (!row.Adjusted()) continue;
    const YearEndResult& r = row.adjustment.result;
    states.push_back({year_, row.key, r.annualTax, r.withheld, r.difference, row.settledPeriod});
  }
  store_.ReplaceAdjustments(year_, states);
  Load();
  return static_cast<int>(states.size());
}

SettleResult YearEndSession::Settle(int period) {
  if (period < 1 || period > kPeriodCount) throw YearEndError("精算する期間が正しくありません。");
  // Read again: a period saved from the sheet since the rows were shown must not be written back
  // as it was, and its figures may have changed the statuses.
  Load();
  YearFileContent& file = files_.front();
  std::vector<PeriodBlock> blocks;
  std::vector<int> numbers;
  for (const auto& [p, block] : file.periods) {
    blocks.push_back(block);
    numbers.push_back(p);
  }
  const auto target = std::find(numbers.begin(), numbers.end(), period);
  if (target == numbers.end()) throw YearEndError(PeriodText(period) + "は保存されていないため精算できません。");
  const PeriodBlock& targetBlock = blocks[target - numbers.begin()];
  const std::optional<CivilDate> paid = PaymentDateOfPeriod(file.eraYear, period, targetBlock.company, file.header);
  if (!paid || paid->year != year_)
    throw YearEndError(PeriodText(period) + "の支給日が" + std::to_string(year_) + "年ではないため精算できません。");

  std::vector<YearPeriod> periods;
  for (std::size_t i = 0; i < blocks.size(); ++i) periods.push_back({numbers[i], &blocks[i]});

  SettleResult result;
  result.period = period;
  std::vector<AdjustmentState> states;
  for (const YearEndRow& row : rows_) {
    const YearEndResult& r = row.adjustment.result;
    if (row.status == YearEndStatus::Calculated || row.status == YearEndStatus::Settled) {
      if (!SettleYearEnd(periods, period, row.key, r.difference)) {
        result.withoutSlot.push_back(row.name);
        continue;
      }
      result.settled.push_back(
          {row.key, row.name, r.difference, OfferDeferral(rules_, periods, period, row.key, r.difference)});
      states.push_back({year_, row.key, r.annualTax, r.withheld, r.difference, period});
    } else if (row.status == YearEndStatus::Entered) {
      result.notCalculated.push_back(row.name);
    } else if (row.status == YearEndStatus::Excluded) {
      // An employee not adjusted (any more) keeps no settlement.
      bool removed = false;
      for (YearPeriod& p : periods)
        if (const int slot = SlotOf(*p.block, row.key);
            slot != 0 && p.block->Deduction(slot).Get(Koujo::YearEndAdjustment) != 0) {
          PlaceYearEndSettlement(*p.block, slot, 0);
          removed = true;
        }
      if (removed) result.cleared.push_back(row.name);
    }
  }

  // The settling period first: a failure later leaves the new settlement written.
  std::vector<std::size_t> order;
  order.push_back(target - numbers.begin());
  for (std::size_t i = 0; i < blocks.size(); ++i)
    if (numbers[i] != period) order.push_back(i);
  // The period in memory, when it is one of this file's, gets what the file holds for each of its
  // employees (found by key: its slots may have moved since), so the sheet and the file agree.
  const bool openIsThisFile = SameFile(state_.open.currentDataFile, yearFile_);
  auto mirror = [&](std::size_t i) {
    if (!openIsThisFile || state_.open.periodIndex != numbers[i]) return;
    PeriodBlock& memory = state_.open.period;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      if (!memory.Employee(slot).InUse()) continue;
      const int fileSlot = SlotOf(blocks[i], memory.Employee(slot).Key());
      if (fileSlot == 0) continue;
      const Yen settled = blocks[i].Deduction(fileSlot).Get(Koujo::YearEndAdjustment);
      if (memory.Deduction(slot).Get(Koujo::YearEndAdjustment) == settled &&
          memory.Deduction(slot).Manual(Koujo::YearEndAdjustment) == (settled != 0))
        continue;
      PlaceYearEndSettlement(memory, slot, settled);
      result.openPeriodChanged = true;
    }
  };
  for (std::size_t i : order) {
    if (blocks[i] != file.periods[i].second) {
      OpenPeriod write;
      write.currentDataFile = yearFile_;
      write.eraYear = file.eraYear;
      write.header = file.header;  // the settlement changes no header field: the file's own is written back
      write.periodIndex = numbers[i];
      write.period = blocks[i];
      SavePeriod(yearFile_, write);
      file.periods[i].second = blocks[i];
      result.writtenPeriods.push_back(numbers[i]);
    }
    mirror(i);
  }
  if (!states.empty()) store_.SaveAdjustments(states);
  Load();
  return result;
}

DeclarationEntry YearEndSession::LoadEntry(const std::string& key) const {
  DeclarationEntry entry;
  const YearEndRow* row = Row(key);
  if (std::optional<Declaration> stored = store_.Load(year_, key)) {
    entry.declaration = std::move(*stored);
    entry.stored = true;
  } else {
    entry.declaration.year = year_;
    entry.declaration.employeeKey = key;
    entry.declaration.dependantForm = true;
    entry.declaration.incomeAdjustmentForm = true;
    if (row)
      if (const std::optional<CivilDate> birth = BirthDateOf(row->record)) entry.declaration.birth = *birth;
  }
  if (std::optional<EmployeeParticulars> stored = store_.LoadParticulars(year_, key)) {
    entry.particulars = std::move(*stored);
  } else {
    entry.particulars.year = year_;
    entry.particulars.employeeKey = key;
    if (row) entry.particulars.retired = RetiredInYear(row->record, year_);
  }
  return entry;
}

std::optional<DeclarationEntry> YearEndSession::CarryOver(const std::string& key) const {
  const std::optional<Declaration> last = store_.Load(year_ - 1, key);
  if (!last) return std::nullopt;
  DeclarationEntry entry = LoadEntry(key);
  const CivilDate recordBirth = entry.stored ? CivilDate{} : entry.declaration.birth;
  entry.declaration = CarryOverDeclaration(*last, year_);
  if (entry.declaration.birth == CivilDate{}) entry.declaration.birth = recordBirth;
  if (const std::optional<EmployeeParticulars> lastParticulars = store_.LoadParticulars(year_ - 1, key)) {
    const std::optional<CivilDate> retired = entry.particulars.retired;
    entry.particulars = CarryOverParticulars(*lastParticulars, year_);
    entry.particulars.retired = retired;
  }
  entry.stored = false;
  return entry;
}

std::optional<DeclarationProblem> YearEndSession::SaveEntry(const DeclarationEntry& entry) {
  Declaration d = entry.declaration;
  EmployeeParticulars p = entry.particulars;
  d.year = p.year = year_;
  p.employeeKey = d.employeeKey;
  if (std::optional<DeclarationProblem> problem = CheckDeclaration(d, p, year_)) return problem;
  store_.Save(d, p);
  Load();
  return std::nullopt;
}

std::vector<YearEndFigureLine> YearEndFigureLines(const YearEndResult& result) {
  std::vector<YearEndFigureLine> lines{{"給与の総額", result.totalPay}};
  for (const YearEndLine& line : YearEndLines()) {
    if (line.field == &YearEndResult::difference) lines.push_back({"徴収済税額", result.withheld});
    lines.push_back({line.name, result.*line.field});
  }
  return lines;
}

print::YearEndSource BuildYearEndSource(const YearEndSession& session) {
  print::YearEndSource source;
  source.year = session.Year();
  source.rules = &session.Rules();
  source.files = &session.Files();
  Latest latest;
  LatestRecords(session.Files(), session.Year(), &latest);
  if (latest.block) source.companyName = latest.block->company.Name();
  source.company = session.Store().LoadCompany(session.Year()).value_or(CompanyParticulars{});
  source.company.year = session.Year();
  source.municipalityNumbers = session.Store().LoadMunicipalityNumbers();
  for (const YearEndRow& row : session.Rows()) {
    print::YearEndEmployee e;
    e.adjustment = row.adjustment;
    e.declaration = row.declaration;
    e.particulars = row.particulars;
    e.name = row.name;
    e.birth = BirthDateOf(row.record);
    if (!e.birth && row.declaration && row.declaration->birth != CivilDate{}) e.birth = row.declaration->birth;
    e.settledPeriod = row.settledPeriod;
    source.employees.push_back(std::move(e));
  }
  source.today = Today();
  return source;
}

}  // namespace paylark::screens
