#include "print/qt/pdf_report.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <system_error>

namespace paylark::print {

JobResult WritePdfReport(const std::filesystem::path& file, ReportCode code, const ReportSource& source,
                         int resolution) {
  JobResult result;
  {
    QPdfWriter writer(QString::fromStdString(file.string()));
    writer.setResolution(resolution);
    writer.setCreator(QStringLiteral("Paylark"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     code.Landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    PageModel page;
    result = PrintReport(writer, page, code, source);
  }
  if (!result.printed) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
  }
  return result;
}

}  // namespace paylark::print
