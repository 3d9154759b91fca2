// One page of a report: the date texts and the origin set, then the layout of the kind drawn.
#pragma once

#include "print/date_texts.h"
#include "print/document.h"
#include "print/page_model.h"
#include "print/report_code.h"
#include "print/report_sheets.h"
#include "print/report_source.h"

namespace paylark::print {

// Draws sheet `ref` of the job (see ReportPages). Payslips: the upper one at originY −0.5 mm, the
// lower one at 148.0 mm.
void DrawReportPage(PageModel& page, ReportCode code, const ReportSource& source, PageRef ref);

// The report as a document: every sheet of ReportPages, drawn by DrawReportPage. It refers to
// `source`, which must outlive it.
Document ReportDocument(ReportCode code, const ReportSource& source);

}  // namespace paylark::print
