#include "print/qt/print_job.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <exception>

#include "session/print_rules.h"
#include "print/qt/printer_setup.h"
#include "print/qt/qt_canvas.h"
#include "print/report_pages.h"
#include "print/report_sheets.h"
#include "store/year_file.h"
#include "ui/qt_text.h"

namespace paylark::print {
namespace {

void Abort(QPagedPaintDevice& device) {
  if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->abort();
}

}  // namespace

JobResult PrintReport(QPagedPaintDevice& device, PageModel& page, ReportCode code, const ReportSource& source) {
  const std::vector<PageRef> pages = ReportPages(code, source);
  if (pages.empty()) return {};
  if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->setDocName(ui::kApplicationTitle);
  if (auto* pdf = dynamic_cast<QPdfWriter*>(&device)) pdf->setTitle(ui::kApplicationTitle);

  SetUpForPrinter(page, MetricsOf(device));
  SetAdjustment(page, *source.options);
  QPainter painter;
  if (!painter.begin(&device)) return {false, std::string(kPrintStartFailed)};
  QtCanvas canvas(painter);
  page.canvas = &canvas;
  JobResult result{true, {}};
  try {
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (i > 0 && !device.newPage()) throw std::runtime_error(std::string(kPrintStartFailed));
      DrawReportPage(page, code, source, pages[i]);
    }
  } catch (const YearFileError& e) {
    result = {false, e.UserText()};
  } catch (const std::exception& e) {
    result = {false, e.what()};
  }
  if (!result.printed) Abort(device);
  painter.end();
  page.canvas = nullptr;
  return result;
}

}  // namespace paylark::print
