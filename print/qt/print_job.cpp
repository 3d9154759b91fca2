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

JobResult PrintDocument(QPagedPaintDevice& device, PageModel& page, const Document& document,
                        const Options* adjustment) {
  if (document.pageCount <= 0) return {};
  const QString title = document.title.empty() ? ui::kApplicationTitle : QString::fromStdString(document.title);
  if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->setDocName(title);
  if (auto* pdf = dynamic_cast<QPdfWriter*>(&device)) pdf->setTitle(title);

  SetUpForPrinter(page, MetricsOf(device));
  if (adjustment != nullptr) SetAdjustment(page, *adjustment);
  QPainter painter;
  if (!painter.begin(&device)) return {false, std::string(kPrintStartFailed)};
  QtCanvas canvas(painter);
  page.canvas = &canvas;
  JobResult result{true, {}};
  try {
    for (int i = 0; i < document.pageCount; ++i) {
      if (i > 0 && !device.newPage()) throw std::runtime_error(std::string(kPrintStartFailed));
      document.drawPage(page, i);
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

JobResult PrintReport(QPagedPaintDevice& device, PageModel& page, ReportCode code, const ReportSource& source) {
  return PrintDocument(device, page, ReportDocument(code, source), source.options);
}

}  // namespace paylark::print
