// The rows that the payroll ledger (社員別給与台帳) and the monthly list (月別給与/賞与一覧) share: the
// standard salary payment and deduction items in their default order, whatever the payslip item
// settings say, then the totals and 差引支給額. Rows are numbered 1..38 under a heading row 0 on a
// grid of 4.5 mm rows from y 29; the even rows are shaded and the total rows framed thick.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "print/page_model.h"
#include "store/era.h"
#include "store/options.h"
#include "store/period.h"

namespace paylark::print {

inline constexpr int kLedgerRows = 38;
inline constexpr double kLedgerTop = 29;      // y of the heading row
inline constexpr double kLedgerRowHeight = 4.5;
inline constexpr double kLedgerBottom = 204.5;  // kLedgerTop + 39 rows

// A figure of the grid; nullopt when a sum left the range of whole yen (int32) and no true value
// can be shown.
using LedgerFigure = std::optional<Yen>;
using LedgerColumn = std::array<LedgerFigure, kLedgerRows>;  // rows 1..38 at index 0..37

// The 38 row labels: the 18 payment names, 支給項目合計, the 16 non-blank deduction names,
// 控除項目合計, 社保算定合計, 差引支給額. User-named items show the user's names.
std::array<std::string, kLedgerRows> LedgerRowLabels(const Options& options);

// Rows printed bold: 支給項目合計, 控除項目合計, 社保算定合計, 差引支給額 (row numbers 1..38).
bool LedgerTotalRow(int row);

// The 38 figures of one employee's period records; 差引支給額 = 支給合計 − 控除合計 + その他１..３.
LedgerColumn LedgerValues(const PaymentRecord& payment, const DeductionRecord& deduction);
// A column of zeros (a period in which the employee has no record).
LedgerColumn ZeroLedgerColumn();
// Adds a column into a running total, row by row; a row whose sum overflows, or that already
// holds an overflow on either side, becomes nullopt.
void AddLedgerColumn(LedgerColumn& total, const LedgerColumn& column);

// The text of a figure: FormatAmount of the width, or the width filled with '*' for an overflow.
std::string LedgerFigureText(int width, const LedgerFigure& figure);

// y of row 1..38 (and 0 for the heading row) as the labels and values are placed.
inline double LedgerRowY(int row) { return kLedgerTop + 5 + kLedgerRowHeight * (row - 1); }

// The rows of a ledger-style grid: its top, the row height and the number of rows with the heading
// row. The default is the grid of 37 rows of 4.5 mm that the monthly list draws.
struct LedgerGeometry {
  double top = kLedgerTop;
  double rowHeight = kLedgerRowHeight;
  int rows = kLedgerRows + 1;
  double Bottom() const { return top + rowHeight * rows; }
  double RowTop(int row) const { return top + rowHeight * row; }
  double RowY(int row) const { return RowTop(row) + 0.5; }  // where a row's text is placed
};

// The grid up to the vertical lines: every even row shaded from x 10 to `right`, the thick outer
// frame and the thin line under the heading row. Leaves the thin pen selected.
void DrawLedgerGrid(PageModel& page, double right, const LedgerGeometry& grid = {});
// In the condensed font: the 38 labels at x 13 (the total rows bold) and the thick frames around
// 支給項目合計, 控除項目合計 and 差引支給額. Leaves the font condensed and not bold.
void DrawLedgerLabels(PageModel& page, const Options& options, double right, const LedgerGeometry& grid = {});
// One column of figures at x, rows 1..38; `allBold` for a total column, else the total rows bold.
void DrawLedgerColumn(PageModel& page, const LedgerColumn& column, double x, int width, bool allBold,
                      const LedgerGeometry& grid = {});

// Today's date as the landscape reports print it: era name, era year, "年 ", month, "月 ", day, "日"
// ("令和 8年 3月 5日").
std::string ReportDateText(const CivilDate& today);

}  // namespace paylark::print
