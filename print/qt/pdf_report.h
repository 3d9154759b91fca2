// A report written into a PDF file without a printer: A4 with no margin, portrait for payslips and
// landscape for the other reports, drawn by the print job.
#pragma once

#include <filesystem>

#include "print/document.h"
#include "print/page_model.h"
#include "print/qt/print_job.h"
#include "print/report_code.h"
#include "print/report_source.h"

namespace paylark::print {

inline constexpr int kPdfResolution = 600;

// Qt's painting needs an application object: creates one on the offscreen platform (no display
// needed) for a program that has none, and keeps it until the program ends.
void StartOffscreenPainting(const char* programName);

// A failed job leaves no file behind.
JobResult WritePdfReport(const std::filesystem::path& file, ReportCode code, const ReportSource& source,
                         int resolution = kPdfResolution);
JobResult WritePdfDocument(const std::filesystem::path& file, const Document& document,
                           int resolution = kPdfResolution);

}  // namespace paylark::print
