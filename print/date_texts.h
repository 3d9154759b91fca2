// The date a report page prints.
#pragma once

#include "print/page_model.h"
#include "print/report_code.h"
#include "print/report_source.h"

namespace paylark::print {

// For payslips the era name of today (cut to five bytes with blanks) followed by the typed year,
// and the typed month and day as "%2d"; for the other reports today's date.
void SetDateTexts(PageModel& page, ReportCode code, const ReportSource& source);

}  // namespace paylark::print
