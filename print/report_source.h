// What the report layouts read: the open period in memory (and, for the ledger and the payslip's
// year-to-date totals, the yearly file it came from), the options and payslip item settings, and
// what the print dialog holds for the job: the selected employees, the memo and the typed payment
// date. Today's date is passed in so that a page can be drawn for any day.
#pragma once

#include <string>
#include <vector>

#include "store/era.h"
#include "store/item_settings.h"
#include "store/options.h"
#include "store/year_file.h"

namespace paylark::print {

// The texts of the print dialog's payment date fields as typed (year, month, day).
struct PayDateFields {
  std::string year;
  std::string month;
  std::string day;
};

struct ReportSource {
  const OpenPeriod* open = nullptr;  // currentDataFile, eraYear, periodIndex, header, period
  const Options* options = nullptr;
  const ItemSettings* salaryItems = nullptr;
  const ItemSettings* bonusItems = nullptr;
  std::vector<int> selectedSlots;  // target 99: the employee list's selected rows in list order
  std::vector<std::string> memo;   // payslip memo lines, at most five
  PayDateFields payDate;
  CivilDate today;

  const PeriodBlock& Period() const { return open->period; }
  int PeriodIndex() const { return open->periodIndex; }
  bool BonusPeriod() const { return IsBonusPeriod(open->periodIndex); }
  // The item settings of the open period's kind.
  const ItemSettings& Items() const { return BonusPeriod() ? *bonusItems : *salaryItems; }
};

}  // namespace paylark::print
