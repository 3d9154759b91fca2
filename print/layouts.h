// The four report layouts, each drawing one page on the page model as it is set up.
#pragma once

#include "print/page_model.h"
#include "print/report_source.h"

namespace paylark::print {

// One payslip of the employee in `slot` at the page model's current origin. Reads the yearly file
// for the year-to-date totals when they are printed (a read error throws YearFileError).
void DrawPayslip(PageModel& page, const ReportSource& source, int slot);
// The payroll ledger of the employee in `slot`, from the yearly file (YearFileError on failure).
void DrawLedger(PageModel& page, const ReportSource& source, int slot);
// Page `page` (from 1) of `pageCount` of the monthly list and of the roster.
void DrawMonthlyList(PageModel& page, const ReportSource& source, int pageNumber, int pageCount);
void DrawRoster(PageModel& page, const ReportSource& source, int pageNumber, int pageCount);

}  // namespace paylark::print
