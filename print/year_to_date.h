// The year-to-date totals of a payslip (累計): taxable payments (課税支給合計), social insurance
// (社会保険料計) and income tax (所得税) of the earlier periods of the same yearly file that were
// paid by the printed date, plus the open period's own figures from memory.
#pragma once

#include <vector>

#include "store/era.h"
#include "store/money.h"
#include "store/period.h"
#include "store/year_file.h"

namespace paylark::print {

struct YearToDate {
  Yen taxable = 0;    // 課税支給合計
  Yen social = 0;     // 社会保険料計
  Yen incomeTax = 0;  // 所得税
  bool operator==(const YearToDate&) const = default;
};

// The earlier periods that count for period `period` (1..15), in reading order.
// A month P: the months before it, and every bonus paid in an earlier month or in month P on or
// before the printed day. A bonus: the months up to its pay month, without that month when the
// bonus is paid before the salary day (a pay day of 31 is the month's last day), then every bonus
// paid in an earlier month. Bonus pay months and days come from the file header.
std::vector<int> YearToDatePeriods(int period, const FileHeader& header, int printedDay, int payDay,
                                   const EraYear& eraYear);

// The totals of the employee in `slot` of the open period: the chosen periods are read from the
// open yearly file (every record with the employee's key counts) and the open period's figures
// are added. A read error throws YearFileError; an overflow throws MoneyOverflow.
YearToDate YearToDateTotals(const OpenPeriod& open, int slot, int printedDay);

}  // namespace paylark::print
