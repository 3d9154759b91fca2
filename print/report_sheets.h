// How many persons and sheets a report has, the text the print dialog shows for them, and which
// employees each sheet carries.
#pragma once

#include <string>
#include <vector>

#include "print/report_code.h"
#include "print/report_source.h"

namespace paylark::print {

struct SheetCount {
  int sheets = 0;
  int persons = 0;
  std::string text;  // " 1枚 [山田　太郎]", " %d枚 [%d名]", …
};
SheetCount CountSheets(ReportCode code, const ReportSource& source);

// The period's name in the monthly list's sheet text: "%d月分･給与", "夏期賞与", "冬季賞与" or the
// third bonus's name.
std::string PeriodListName(int period, const Options& options);

// One sheet of a job: the page number (roster, monthly list), the employee slot (ledger), or the
// slots of the upper and lower payslip (second = 0 for none).
struct PageRef {
  int first = 0;
  int second = 0;
  bool operator==(const PageRef&) const = default;
};
// Every sheet of the job in order. Payslips go two to a sheet unless the paper form is 0.
std::vector<PageRef> ReportPages(ReportCode code, const ReportSource& source);

}  // namespace paylark::print
