// Speed of the engine on a full company: 30 employees recalculated for a salary month and for a
// bonus (with the previous month's look-up in the yearly file), and a period loaded and saved.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "calc/explanation.h"
#include "calc/item_enabled.h"
#include "calc/recalculate.h"
#include "store/atomic_file.h"
#include "store/item_settings.h"
#include "store/rate_tables.h"
#include "store/year_file.h"

namespace paylark {
namespace {

std::filesystem::path BenchFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "paylark-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return std::filesystem::path(pattern);
  }();
  return folder;
}

const RateTables& Tables() {
  static const RateTables tables = [] {
    RateTables t;
    if (t.LoadFromFolder(PAYLARK_PROGRAM_DIR) < 3) std::abort();
    return t;
  }();
  return tables;
}

// 30 employees of every pay form with premiums, allowances and commuting.
PeriodBlock FullCompany() {
  PeriodBlock p;
  CompanyRecord& c = p.company;
  c.SetName("ベンチ商事株式会社");
  c.SetGeneralBusiness(true);
  c.SetPayDay(25);
  c.SetPeriodDays(20);
  c.SetPeriodHours(160);
  c.SetDayHours(8);
  c.SetEmploymentRate(0.6);
  c.SetHealthRate(4.99);
  c.SetNursingRate(0.8);
  c.SetPensionRate(9.15);
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    EmployeeRecord& e = p.Employee(slot);
    e.SetName("社員" + std::to_string(slot));
    char key[16];
    std::snprintf(key, sizeof key, "260101_%06d", slot);
    e.SetKey(key);
    const int form = 1 + slot % 3;
    e.SetPayFormCode(form);
    e.SetBasePay(form == 1 ? 200000 + slot * 10000 : form == 2 ? 12000 : 1500);
    e.SetTaxDependants(slot % 5);
    e.SetPositionAllowance(slot % 4 == 0 ? 30000 : 0);
    e.SetFamilyAllowance(10000);
    for (int i = 0; i < 4; ++i) e.SetOvertimePrice(i, 1800 + 200 * i);
    e.SetCommuteUnit(slot % 2 ? 2 : 1);
    e.SetCommuteNonTaxable(slot % 2 ? 12000 : 600);
    e.SetResidentTaxOther(8000 + slot * 100);
    e.SetPaidLeavePay(9000);
    e.SetAbsenceDeduction(10000);
    e.SetHealthSubject(true);
    e.SetHealthPremium(14000);
    e.SetPensionSubject(true);
    e.SetPensionPremium(25000);
    e.SetEmploymentSubject(true);
    AttendanceRecord& a = p.Attendance(slot);
    a.Set(Kintai::WorkDays, 20);
    a.Set(Kintai::WorkedHours, 160 + slot % 7);
    a.Set(Kintai::OvertimeHours, slot % 7);
    a.Set(Kintai::AbsenceDays, slot % 3 == 0 ? 1 : 0);
  }
  return p;
}

// A sheet with the usual variable rows, one column per employee.
SheetColumns FullSheet(bool bonus) {
  SheetColumns s;
  if (bonus) {
    s.rowNames = {"賞与", "役員報酬", "変動手当１"};
  } else {
    s.rowNames = {"出勤日数", "有休日数", "欠勤日数", "実働時間", "普通残業時間", "深夜残業時間", "変動手当１"};
  }
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (bonus) {
      s.cells.push_back({std::to_string(300000 + slot * 10000), "0", "5,000"});
    } else {
      s.cells.push_back({"20", "1", slot % 3 == 0 ? "1" : "", std::to_string(160 + slot % 7) + ":30",
                         std::to_string(slot % 7) + ".5", "", "3,000"});
    }
  }
  return s;
}

class NoMessages : public Reporter {
 public:
  void Error(std::string_view) override {}
};

// A salary month of 30 employees recalculated; with `explanation` every amount is explained too
// (the explanation window, 計算明細, explain), so the two figures stand side by side.
void RecalculateSalaryMonth(benchmark::State& state, Explanation* explanation) {
  Options options;
  const auto enabled = ResolveEnabledItems(DeriveItemLists(DefaultItemSettings(ItemKind::Salary)), options,
                                           ItemKind::Salary);
  PeriodBlock period = FullCompany();
  const SheetColumns sheet = FullSheet(false);
  NoMessages reporter;
  for (auto _ : state) {
    CalcInputs in{options, enabled, Tables(), Tables().Presence(), 5, 0, nullptr};
    in.explanation = explanation;
    RecalcResult r = RecalculateAll(period, sheet, in, true, reporter);
    benchmark::DoNotOptimize(r);
    if (explanation != nullptr) benchmark::DoNotOptimize(explanation->Entries().data());
  }
}

void BM_RecalculateSalaryMonth(benchmark::State& state) { RecalculateSalaryMonth(state, nullptr); }
BENCHMARK(BM_RecalculateSalaryMonth)->Unit(benchmark::kMicrosecond);

void BM_RecalculateSalaryMonthExplained(benchmark::State& state) {
  Explanation explanation;
  RecalculateSalaryMonth(state, &explanation);
}
BENCHMARK(BM_RecalculateSalaryMonthExplained)->Unit(benchmark::kMicrosecond);

void BM_RecalculateBonus(benchmark::State& state) {
  Options options;
  const auto enabled =
      ResolveEnabledItems(DeriveItemLists(DefaultItemSettings(ItemKind::Bonus)), options, ItemKind::Bonus);
  // The previous month (June) saved in this year's file, for the bonus tax look-ups.
  const std::filesystem::path file = BenchFolder() / YearFileName({"令和", 8});
  OpenPeriod saved;
  std::filesystem::remove(file);
  CreateYearFile(file, saved);
  saved.period = FullCompany();
  for (int slot = 1; slot <= kSlotCount; ++slot) saved.period.Deduction(slot).Set(Koujo::AfterSocial, 250000);
  saved.periodIndex = 6;
  SavePeriod(file, saved);

  YearFileLookup lookup(file, BenchFolder(), {"令和", 8});
  PeriodBlock period = FullCompany();
  const SheetColumns sheet = FullSheet(true);
  NoMessages reporter;
  for (auto _ : state) {
    CalcInputs in{options, enabled, Tables(), Tables().Presence(), 13, 7, &lookup};
    RecalcResult r = RecalculateAll(period, sheet, in, true, reporter);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_RecalculateBonus)->Unit(benchmark::kMicrosecond);

void BM_LoadPeriod(benchmark::State& state) {
  const std::filesystem::path file = BenchFolder() / "load.dat";
  OpenPeriod s;
  std::filesystem::remove(file);
  CreateYearFile(file, s);
  PeriodBlock block;
  for (auto _ : state) {
    LoadPeriod(file, 5, block);
    benchmark::DoNotOptimize(block);
  }
}
BENCHMARK(BM_LoadPeriod)->Unit(benchmark::kMicrosecond);

void BM_SavePeriod(benchmark::State& state) {
  const std::filesystem::path file = BenchFolder() / "save.dat";
  OpenPeriod s;
  std::filesystem::remove(file);
  CreateYearFile(file, s);
  s.period = FullCompany();
  s.periodIndex = 5;
  for (auto _ : state) SavePeriod(file, s);  // flushed to disk each time
}
BENCHMARK(BM_SavePeriod)->Unit(benchmark::kMillisecond);

// The floor of a save: the same bytes written to a temporary file beside the original, flushed,
// renamed over it and the folder flushed. bench_main prints SavePeriod's time over this one.
void BM_RawWrite(benchmark::State& state) {
  const std::filesystem::path file = BenchFolder() / "raw.dat";
  OpenPeriod s;
  std::filesystem::remove(file);
  CreateYearFile(file, s);
  s.period = FullCompany();
  s.periodIndex = 5;
  SavePeriod(file, s);
  const std::string image = ReadWholeFile(file);
  for (auto _ : state) ReplaceFileContents(file, image);
}
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace paylark
