// A printed document that is not one of the payroll reports of the print dialog (the year-end
// slips and books, a calculation statement): a number of A4 sheets, their orientation, and how to
// draw each one on the page model. The print job, the PDF writer and the preview take it as they
// take a report.
#pragma once

#include <functional>
#include <string>

#include "print/page_model.h"

namespace paylark::print {

struct Document {
  std::string title;  // the job's name on the device; empty: the application's title
  int pageCount = 0;
  bool landscape = false;
  // Draws sheet `index` (0-based) with the page model set up for the device. May throw; the job
  // then ends with the exception's text.
  std::function<void(PageModel& page, int index)> drawPage;
};

}  // namespace paylark::print
