// Printing speed: the payslips of a full company (30 employees, two to a sheet, year-to-date totals
// read from the yearly file) drawn into a PDF file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "print/qt/pdf_report.h"
#include "session/print_rules.h"
#include "store/item_settings.h"
#include "store/year_file.h"

namespace paylark {
namespace {

std::filesystem::path Folder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "paylark-pdf-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return std::filesystem::path(pattern);
  }();
  return folder;
}

// December of a company with 30 employees whose figures are filled in, saved in its yearly file.
OpenPeriod& December() {
  static OpenPeriod open = [] {
    OpenPeriod s;
    s.eraYear = {"令和", 6};
    s.currentDataFile = Folder() / YearFileName(s.eraYear);
    CreateYearFile(s.currentDataFile, s);
    s.periodIndex = 12;
    s.period.company.SetName("ベンチ商事株式会社");
    s.period.company.SetPayDay(25);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      EmployeeRecord& e = s.period.Employee(slot);
      e.SetName("社員" + std::to_string(slot));
      char key[16];
      std::snprintf(key, sizeof key, "260101_%06d", slot);
      e.SetKey(key);
      e.SetDepartment("営業部");
      e.SetPayFormCode(1 + slot % 3);
      for (int f = 0; f < kKintaiFieldCount; ++f) s.period.Attendance(slot).Set(static_cast<Kintai>(f), 8.5 + f);
      for (int p = 1; p <= 17; ++p) s.period.Payment(slot).Set(static_cast<Sikyu>(p), 1000 * p + slot);
      s.period.Payment(slot).Set(Sikyu::Total, 250000 + slot);
      for (int d = 1; d <= 16; ++d) s.period.Deduction(slot).Set(static_cast<Koujo>(d), 100 * d + slot);
    }
    SavePeriod(s.currentDataFile, s);
    return s;
  }();
  return open;
}

void BM_ThirtyPayslipsToPdf(benchmark::State& state) {
  print::StartOffscreenPainting("paylark_bench");
  const OpenPeriod& open = December();
  Options options;
  options.formType = 1;
  options.printYearToDate = true;
  const ItemSettings salary = DefaultItemSettings(ItemKind::Salary);
  const ItemSettings bonus = DefaultItemSettings(ItemKind::Bonus);
  print::ReportSource source;
  source.open = &open;
  source.options = &options;
  source.salaryItems = &salary;
  source.bonusItems = &bonus;
  for (int slot = 1; slot <= kSlotCount; ++slot) source.selectedSlots.push_back(slot);
  source.memo = {"年末調整の結果は来月の給与で精算します。"};
  source.payDate = {" 6", "12", "25"};
  source.today = {2024, 12, 20};
  const std::filesystem::path pdf = Folder() / "payslips.pdf";
  for (auto _ : state) {
    const print::JobResult result = print::WritePdfReport(pdf, {print::rkPayslip, print::kSelectedRows}, source);
    if (!result.printed) state.SkipWithError(result.error.c_str());
  }
}
BENCHMARK(BM_ThirtyPayslipsToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace paylark
