// The payroll ledger (社員別給与台帳): one employee's payments and deductions for the whole year, one
// column per period and a year-total column. Every figure comes from the yearly file, so unsaved
// edits do not appear; the employee is found in each period by the employee key, because a slot
// may hold another employee in another period.
#include <memory>
#include <vector>

#include "print/layouts.h"
#include "print/ledger_rows.h"
#include "store/year_file.h"

namespace paylark::print {

namespace {

constexpr double kRight = 285;
constexpr double kFirstColumnX = 36;
constexpr double kColumnStep = 15.5;
constexpr double kTotalX = 268.5;

std::string ColumnHeading(int period, const Options& options) {
  static constexpr const char* kMonths[] = {"１月給与", "２月給与", "３月給与", "４月給与", "５月給与", "６月給与",
                                            "７月給与", "８月給与", "９月給与", "10月給与", "11月給与", "12月給与"};
  if (IsSalaryPeriod(period)) return kMonths[period - 1];
  if (period == 13) return "夏期賞与";
  if (period == 14) return "冬期賞与";
  return options.thirdBonusName;
}

// The employee's figures in each of the 15 periods of the file; the last slot with the key wins,
// a period without it is all zeros. Everything is read before anything is drawn, so a read error
// leaves the page blank.
std::vector<LedgerColumn> ReadYear(const std::filesystem::path& file, const std::string& key) {
  std::vector<LedgerColumn> columns;
  auto block = std::make_unique<PeriodBlock>();
  for (int period = 1; period <= kPeriodCount; ++period) {
    ReadBlock(file, period, *block);
    LedgerColumn column = ZeroLedgerColumn();
    // An empty key is no employee: it must not match the empty slots of a block.
    for (int slot = 1; slot <= kSlotCount && !key.empty(); ++slot)
      if (block->Employee(slot).Key() == key) column = LedgerValues(block->Payment(slot), block->Deduction(slot));
    columns.push_back(column);
  }
  return columns;
}

}  // namespace

void DrawLedger(PageModel& page, const ReportSource& source, int slot) {
  const EmployeeRecord& employee = source.Period().Employee(slot);
  const std::vector<LedgerColumn> columns = ReadYear(source.open->currentDataFile, employee.Key());
  LedgerColumn total = ZeroLedgerColumn();
  for (const LedgerColumn& column : columns) AddLedgerColumn(total, column);

  page.SetFont(kMincho, 16);
  page.PutText("社 員 別 給 与 台 帳", 100, 20);
  page.SetFontSize(10);
  page.PutText(source.Period().company.Name(), 12, 22);
  page.PutText("氏名:" + employee.Name(), 170, 22);
  page.PutText(ReportDateText(source.today), 220, 22);

  DrawLedgerGrid(page, kRight);
  for (int j = 0; j <= kPeriodCount; ++j) page.PutLine(35 + kColumnStep * j, kLedgerTop, 35 + kColumnStep * j, kLedgerBottom);

  page.condensed = true;
  for (int period = 1; period <= kPeriodCount; ++period)
    page.PutText(ColumnHeading(period, *source.options), kFirstColumnX + kColumnStep * (period - 1), 30);
  page.bold = true;
  page.PutText("合   計", 270.5, 30);
  page.bold = false;
  DrawLedgerLabels(page, *source.options, kRight);

  for (int period = 1; period <= kPeriodCount; ++period)
    DrawLedgerColumn(page, columns[static_cast<std::size_t>(period - 1)], kFirstColumnX + kColumnStep * (period - 1), 9,
                     false);
  DrawLedgerColumn(page, total, kTotalX, 10, true);
}

}  // namespace paylark::print
