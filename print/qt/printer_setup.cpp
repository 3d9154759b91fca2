#include "print/qt/printer_setup.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

namespace paylark::print {
namespace {

// Windows paper sources count from 1 (only one, lower, middle, manual, envelope, envelope
// manual, auto, tractor, ...); Qt's sources are the same list counted from 0.
constexpr int kFirstWindowsSource = 1;

void UseMinimumMargins(QPrinter& printer) {
  printer.setFullPage(false);
  const QPageLayout layout = printer.pageLayout();
  printer.setPageMargins(layout.minimumMargins(), layout.units());
}

void ResetToDefaults(QPrinter& printer) {
  QPageSize size(QPageSize::A4);
  if (printer.outputFormat() == QPrinter::NativeFormat) {
    const QPrinterInfo info(printer);
    if (!info.isNull() && info.defaultPageSize().isValid()) size = info.defaultPageSize();
  }
  printer.setPageSize(size);
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setPaperSource(QPrinter::Auto);
}

void SetPaperCode(QPrinter& printer, int code, int widthTenths, int lengthTenths) {
  if (const auto paper = PaperOfCode(code)) {
    printer.setPageSize(QPageSize(QSizeF(paper->widthMm, paper->heightMm), QPageSize::Millimeter));
  } else if (widthTenths > 0 && lengthTenths > 0) {
    printer.setPageSize(QPageSize(QSizeF(widthTenths / 10.0, lengthTenths / 10.0), QPageSize::Millimeter));
  }
}

void SetOrientationCode(QPrinter& printer, int orientation) {
  if (orientation == kLandscape) printer.setPageOrientation(QPageLayout::Landscape);
  if (orientation == kPortrait) printer.setPageOrientation(QPageLayout::Portrait);
}

}  // namespace

void ApplyPrintInfo(QPrinter& printer, const PrinterSettings& stored) {
  ResetToDefaults(printer);
  SetPaperCode(printer, stored.paperSize, stored.paperWidth, stored.paperLength);
  SetOrientationCode(printer, stored.orientation);
  if (stored.defaultSource >= kFirstWindowsSource && stored.defaultSource - kFirstWindowsSource <= QPrinter::LastPaperSource) {
    printer.setPaperSource(static_cast<QPrinter::PaperSource>(stored.defaultSource - kFirstWindowsSource));
  }
  if (stored.printQuality > 0) printer.setResolution(stored.printQuality);
  printer.setColorMode(QPrinter::Color);
  UseMinimumMargins(printer);
}

QStringList InstalledPrinters() { return QPrinterInfo::availablePrinterNames(); }

void SelectCurrentPrinter(QPrinter& printer) {
  const QStringList installed = InstalledPrinters();
  if (installed.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    return;
  }
  QString name = QPrinterInfo::defaultPrinterName();
  if (!installed.contains(name)) name = installed.front();
  printer.setOutputFormat(QPrinter::NativeFormat);
  printer.setPrinterName(name);
}

QString PrinterName(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat || printer.printerName().isEmpty()) {
    return QString::fromUtf8(kPdfPrinterName);
  }
  return printer.printerName();
}

void ApplyPaper(QPrinter& printer, int paperSize, int orientation) {
  ResetToDefaults(printer);
  printer.setColorMode(QPrinter::Color);
  SetOrientationCode(printer, orientation);
  SetPaperCode(printer, paperSize, 0, 0);
  UseMinimumMargins(printer);
}

void SetLandscape(QPrinter& printer, bool landscape) {
  printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  UseMinimumMargins(printer);
}

bool LoadPrintInfo(QPrinter& printer, const ProfileFile& settings) {
  const PrinterSettings stored = LoadPrinterSettings(settings);
  const QString name = QString::fromStdString(stored.deviceName);
  if (name.isEmpty() || !InstalledPrinters().contains(name)) return false;
  printer.setOutputFormat(QPrinter::NativeFormat);
  printer.setPrinterName(name);
  ApplyPrintInfo(printer, stored);
  return true;
}

PrinterSettings PrintInfoOf(const QPrinter& printer) {
  PrinterSettings s;
  s.deviceName = PrinterName(printer).toStdString();
  const QSizeF mm = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
  s.paperSize = CodeOfPaper(mm.width(), mm.height());
  s.paperWidth = static_cast<int>(std::lround(std::min(mm.width(), mm.height()) * 10));
  s.paperLength = static_cast<int>(std::lround(std::max(mm.width(), mm.height()) * 10));
  s.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? kLandscape : kPortrait;
  s.defaultSource = static_cast<int>(printer.paperSource()) + kFirstWindowsSource;
  s.printQuality = printer.resolution();
  return s;
}

void SavePrintInfo(const QPrinter& printer, ProfileFile& settings) {
  SavePrinterSettings(settings, PrintInfoOf(printer));
}

DeviceMetrics MetricsOf(const QPagedPaintDevice& device) {
  DeviceMetrics m;
  m.dpiX = device.logicalDpiX();
  m.dpiY = device.logicalDpiY();
  const QPageLayout layout = device.pageLayout();
  m.offsetX = layout.paintRectPixels(m.dpiX).left();
  m.offsetY = layout.paintRectPixels(m.dpiY).top();
  return m;
}

PrinterPage PageOf(const QPagedPaintDevice& device) {
  PrinterPage p;
  p.dpiX = device.logicalDpiX();
  p.dpiY = device.logicalDpiY();
  const QPageLayout layout = device.pageLayout();
  const QRect full = layout.fullRectPixels(p.dpiY);
  const QRect paint = layout.paintRectPixels(p.dpiY);
  p.width = full.width();
  p.height = full.height();
  p.offsetX = paint.left();
  p.offsetY = paint.top();
  p.printableWidth = paint.width();
  p.printableHeight = paint.height();
  return p;
}

}  // namespace paylark::print
