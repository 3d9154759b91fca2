// The printer of the print dialog and the preview: a CUPS printer, or a PDF file when none is
// installed. Its page and metrics for the page model, the paper and orientation by the Windows
// codes kept in the settings file (A4 = 9, A5 = 11; 1 portrait, 2 landscape), and the stored
// choice of section PrintInfo.
#pragma once

#include <QString>

#include "session/print_rules.h"
#include "store/app_settings.h"
#include "store/profile_file.h"

class QPagedPaintDevice;
class QPrinter;

namespace paylark::print {

// The name shown for a printer that writes PDF files.
inline constexpr const char* kPdfPrinterName = "PDF";

// The installed printers' names (empty on a machine without a print system).
QStringList InstalledPrinters();
// Selects the default printer, the first installed one, or a PDF file when there is none.
void SelectCurrentPrinter(QPrinter& printer);
// The printer's name, or "PDF" for a PDF file.
QString PrinterName(const QPrinter& printer);

// Resets the printer's paper, orientation and quality to the defaults, then sets colour printing,
// the orientation (1 portrait, 2 landscape) and the paper by its code.
void ApplyPaper(QPrinter& printer, int paperSize, int orientation);
void SetLandscape(QPrinter& printer, bool landscape);

// When the stored printer name equals an installed printer exactly: selects it with the stored
// paper, orientation, source and quality and colour printing; true. Otherwise nothing changes.
bool LoadPrintInfo(QPrinter& printer, const ProfileFile& settings);
void SavePrintInfo(const QPrinter& printer, ProfileFile& settings);
// The stored paper (code, or width and length in tenths of a millimetre), orientation, source and
// quality, with colour printing, on the printer as it is selected.
void ApplyPrintInfo(QPrinter& printer, const PrinterSettings& stored);
// The printer's choice as it is stored.
PrinterSettings PrintInfoOf(const QPrinter& printer);

// The device's resolution and unprintable margin in dots (the printable area starts there).
DeviceMetrics MetricsOf(const QPagedPaintDevice& device);
// The printer's sheet and printable area in its dots.
PrinterPage PageOf(const QPagedPaintDevice& device);

}  // namespace paylark::print
