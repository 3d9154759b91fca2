// A report written into a PDF file without a printer: A4 with no margin, portrait for payslips and
// landscape for the other reports, drawn by the print job.
#pragma once

#include <filesystem>

#include "print/page_model.h"
#include "print/qt/print_job.h"
#include "print/report_code.h"
#include "print/report_source.h"

namespace paylark::print {

inline constexpr int kPdfResolution = 600;

// A failed job leaves no file behind.
JobResult WritePdfReport(const std::filesystem::path& file, ReportCode code, const ReportSource& source,
                         int resolution = kPdfResolution);

}  // namespace paylark::print
