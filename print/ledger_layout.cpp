// The payroll ledger (社員別給与台帳): one employee's payments and deductions for the whole year, one
// column per period and a year-total column. Every figure comes from the yearly file, so unsaved
// edits do not appear; the employee is found in each period by the employee key, because a slot
// may hold another employee in another period. Below the amounts are the attendance figures that a
// 賃金台帳 must show (労働日数, 労働時間数, 時間外・休日・深夜の時間数, 有休と欠勤), and the heading
// cell of the label column shows the employee's 性別.
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include "print/layouts.h"
#include "entry/display_format.h"
#include "print/ledger_rows.h"
#include "store/year_file.h"

namespace paylark::print {

namespace {

constexpr double kRight = 285;
constexpr double kFirstColumnX = 36;
constexpr double kColumnStep = 15.5;
constexpr double kTotalX = 268.5;

// The attendance rows after 差引支給額: label, figure, and whether it is a count of days.
struct AttendanceRow {
  const char* label;
  Kintai figure;
  bool days;
};
constexpr AttendanceRow kAttendanceRows[] = {
    {"出勤日数", Kintai::WorkDays, true},
    {"実働時間", Kintai::WorkedHours, false},
    {"普通残業", Kintai::OvertimeHours, false},
    {"深夜残業", Kintai::NightOvertimeHours, false},
    {"休日普通残業", Kintai::HolidayOvertime, false},
    {"休日深夜残業", Kintai::HolidayNightOvertime, false},
    {"有休日数", Kintai::PaidLeaveDays, true},
    {"欠勤日数", Kintai::AbsenceDays, true},
};
constexpr int kAttendanceRowCount = static_cast<int>(std::size(kAttendanceRows));
constexpr int kFirstAttendanceRow = kLedgerRows + 1;

// The 37 amount rows and the attendance rows in the height of the landscape page, in a font that
// fits the rows.
constexpr LedgerGeometry kGrid{kLedgerTop, 3.7, kLedgerRows + 1 + kAttendanceRowCount};
constexpr int kGridFontSize = 9;

std::string ColumnHeading(int period, const Options& options) {
  static constexpr const char* kMonths[] = {"１月給与", "２月給与", "３月給与", "４月給与", "５月給与", "６月給与",
                                            "７月給与", "８月給与", "９月給与", "10月給与", "11月給与", "12月給与"};
  if (IsSalaryPeriod(period)) return kMonths[period - 1];
  if (period == 13) return "夏期賞与";
  if (period == 14) return "冬期賞与";
  return options.thirdBonusName;
}

std::string SexText(std::int32_t sex) {
  if (sex == 1) return "性別:男";
  if (sex == 2) return "性別:女";
  return "性別:";
}

struct LedgerPeriod {
  LedgerColumn amounts = ZeroLedgerColumn();
  std::optional<AttendanceRecord> attendance;  // salary months in which the employee has a record
};

// The employee's figures in each of the 15 periods of the file; the last slot with the key wins,
// a period without it is all zeros. Everything is read before anything is drawn, so a read error
// leaves the page blank.
std::vector<LedgerPeriod> ReadYear(const std::filesystem::path& file, const std::string& key) {
  std::vector<LedgerPeriod> columns;
  auto block = std::make_unique<PeriodBlock>();
  for (int period = 1; period <= kPeriodCount; ++period) {
    ReadBlock(file, period, *block);
    LedgerPeriod column;
    // An empty key is no employee: it must not match the empty slots of a block.
    for (int slot = 1; slot <= kSlotCount && !key.empty(); ++slot) {
      if (block->Employee(slot).Key() != key) continue;
      column.amounts = LedgerValues(block->Payment(slot), block->Deduction(slot));
      if (IsSalaryPeriod(period)) column.attendance = block->Attendance(slot);
    }
    columns.push_back(column);
  }
  return columns;
}

std::string AttendanceText(const AttendanceRow& row, double value, const Options& options, bool total) {
  std::string text = row.days ? FormatDays(value) : FormatHours(value, options.timeStyle);
  return total ? " " + text : text;  // the total column is one character wider
}

void DrawAttendance(PageModel& page, const std::vector<LedgerPeriod>& columns, const Options& options) {
  page.SelectPen(page.thickPen);
  page.PutFrame(10, kGrid.RowTop(kFirstAttendanceRow), kRight, kGrid.Bottom());
  page.SelectPen(page.thinPen);
  for (int i = 0; i < kAttendanceRowCount; ++i) {
    const AttendanceRow& row = kAttendanceRows[i];
    const double y = kGrid.RowY(kFirstAttendanceRow + i);
    page.PutText(row.label, 13, y);
    double total = 0;
    for (int period = 1; period <= kPeriodCount; ++period) {
      const LedgerPeriod& column = columns[static_cast<std::size_t>(period - 1)];
      if (!IsSalaryPeriod(period)) continue;  // a bonus has no attendance
      const double value = column.attendance ? column.attendance->Get(row.figure) : 0.0;
      total += value;
      page.PutText(AttendanceText(row, value, options, false), kFirstColumnX + 2.5 + kColumnStep * (period - 1), y);
    }
    page.bold = true;
    page.PutText(AttendanceText(row, total, options, true), kTotalX + 2.5, y);
    page.bold = false;
  }
}

}  // namespace

void DrawLedger(PageModel& page, const ReportSource& source, int slot) {
  const EmployeeRecord& employee = source.Period().Employee(slot);
  const std::vector<LedgerPeriod> columns = ReadYear(source.open->currentDataFile, employee.Key());
  LedgerColumn total = ZeroLedgerColumn();
  for (const LedgerPeriod& column : columns) AddLedgerColumn(total, column.amounts);

  page.SetFont(kMincho, 16);
  page.PutText("社 員 別 給 与 台 帳", 100, 20);
  page.SetFontSize(10);
  page.PutText(source.Period().company.Name(), 12, 22);
  page.PutText("氏名:" + employee.Name(), 170, 22);
  page.PutText(ReportDateText(source.today), 220, 22);

  page.SetFontSize(kGridFontSize);
  DrawLedgerGrid(page, kRight, kGrid);
  for (int j = 0; j <= kPeriodCount; ++j) page.PutLine(35 + kColumnStep * j, kGrid.top, 35 + kColumnStep * j, kGrid.Bottom());

  page.condensed = true;
  for (int period = 1; period <= kPeriodCount; ++period)
    page.PutText(ColumnHeading(period, *source.options), kFirstColumnX + kColumnStep * (period - 1), kGrid.RowY(0));
  page.PutText(SexText(employee.Sex()), 13, kGrid.RowY(0));
  page.bold = true;
  page.PutText("合   計", 270.5, kGrid.RowY(0));
  page.bold = false;
  DrawLedgerLabels(page, *source.options, kRight, kGrid);

  for (int period = 1; period <= kPeriodCount; ++period)
    DrawLedgerColumn(page, columns[static_cast<std::size_t>(period - 1)].amounts,
                     kFirstColumnX + kColumnStep * (period - 1), 9, false, kGrid);
  DrawLedgerColumn(page, total, kTotalX, 10, true, kGrid);
  DrawAttendance(page, columns, *source.options);
}

}  // namespace paylark::print
