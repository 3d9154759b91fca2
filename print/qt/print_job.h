// A report printed on a paged device (a printer or a PDF file): the page model set up for the
// device, every sheet of the job drawn, a new page started between sheets and never after the last.
// A read error of the yearly file during a page ends the job; the device is aborted where it can
// be, and the caller shows the error.
#pragma once

#include <string>
#include <string_view>

#include "print/document.h"
#include "print/page_model.h"
#include "print/report_code.h"
#include "print/report_source.h"

class QPagedPaintDevice;

namespace paylark::print {

inline constexpr std::string_view kPrintStartFailed = "印刷を開始できませんでした。";

struct JobResult {
  bool printed = false;
  std::string error;  // the text for the error box when the job failed
};

// The job's title on the device is the application's title.
JobResult PrintReport(QPagedPaintDevice& device, PageModel& page, ReportCode code, const ReportSource& source);
// The same for a document; `adjustment` (the options' print adjustment) may be null.
JobResult PrintDocument(QPagedPaintDevice& device, PageModel& page, const Document& document,
                        const Options* adjustment);

}  // namespace paylark::print
