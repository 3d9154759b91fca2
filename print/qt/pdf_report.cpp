#include "print/qt/pdf_report.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <memory>
#include <string>
#include <system_error>

#include "print/report_pages.h"

namespace paylark::print {

void StartOffscreenPainting(const char* programName) {
  static int argc = 1;
  static std::string name;
  static char* argv[] = {nullptr, nullptr};
  if (QGuiApplication::instance() != nullptr) return;
  name = programName;
  argv[0] = name.data();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

namespace {

JobResult WritePdf(const std::filesystem::path& file, const Document& document, const Options* adjustment,
                   int resolution) {
  JobResult result;
  {
    QPdfWriter writer(QString::fromStdString(file.string()));
    writer.setResolution(resolution);
    writer.setCreator(QStringLiteral("Paylark"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     document.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    PageModel page;
    result = PrintDocument(writer, page, document, adjustment);
  }
  if (!result.printed) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
  }
  return result;
}

}  // namespace

JobResult WritePdfDocument(const std::filesystem::path& file, const Document& document, int resolution) {
  return WritePdf(file, document, nullptr, resolution);
}

JobResult WritePdfReport(const std::filesystem::path& file, ReportCode code, const ReportSource& source,
                         int resolution) {
  return WritePdf(file, ReportDocument(code, source), source.options, resolution);
}

}  // namespace paylark::print
