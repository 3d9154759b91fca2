#include "session/print_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "store/format_text.h"

namespace paylark::print {
namespace {

constexpr double kMmPerInch = 25.4;

// a × b ÷ c rounded to the nearest integer, halves away from zero (the system's MulDiv).
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = std::llabs(static_cast<long long>(c)) / 2;
  const long long rounded = (product >= 0) == (c >= 0) ? (std::llabs(product) + half) / std::llabs(c)
                                                       : -((std::llabs(product) + half) / std::llabs(c));
  return static_cast<int>(rounded);
}

constexpr PaperCode kPapers[] = {
    {1, 215.9, 279.4},  // Letter
    {5, 215.9, 355.6},  // Legal
    {8, 297, 420},      // A3
    {kPaperA4, 210, 297},
    {kPaperA5, 148, 210},
    {12, 257, 364},  // B4 (JIS)
    {13, 182, 257},  // B5 (JIS)
    {70, 105, 148},  // A6
};

}  // namespace

void SetAdjustment(PageModel& page, const Options& options) {
  page.adjustH = options.printShiftH;
  page.adjustV = options.printShiftV;
}

void SetUpForPrinter(PageModel& page, const DeviceMetrics& device) {
  page.dotsPerMmX = static_cast<float>(device.dpiX / kMmPerInch);
  page.dotsPerMmY = static_cast<float>(device.dpiY / kMmPerInch);
  page.physOffsetX = Rnd(device.offsetX / static_cast<double>(page.dotsPerMmX));
  page.physOffsetY = Rnd(device.offsetY / static_cast<double>(page.dotsPerMmY));
  page.thinPen = Rnd(device.dpiX / 360.0 * 2);
  page.thickPen = Rnd(device.dpiX / 360.0 * 5);
}

float PreviewDotsPerMm(int screenDpi, int zoomPercent) {
  return static_cast<float>(MulDiv(screenDpi, zoomPercent, 100) / kMmPerInch);
}

void SetUpForPreview(PageModel& page, int screenDpi, int zoomPercent, const PrinterPage& printer) {
  SetUpForPrinter(page, DeviceMetrics{printer.dpiX, printer.dpiY, printer.offsetX, printer.offsetY});
  page.dotsPerMmX = page.dotsPerMmY = PreviewDotsPerMm(screenDpi, zoomPercent);
  page.thinPen = page.thickPen = 1;
}

PreviewGeometry LayOutPreview(const PrinterPage& printer, const PreviewScreen& screen, bool zoomed) {
  PreviewGeometry g;
  if (printer.width <= 0 || printer.height <= 0 || printer.dpiY <= 0 || screen.screenHeight <= 0) return g;
  const int z = zoomed ? 2 : 1;
  const std::string ratio = Format("%4.2f", static_cast<double>(screen.screenWidth) / screen.screenHeight);
  if (ratio == "1.33" || ratio == "1.60" || printer.Portrait()) {
    g.panelHeight = screen.boxHeight * z;
    g.panelWidth = Rnd(static_cast<double>(printer.width) * g.panelHeight / printer.height);
  } else {
    g.panelWidth = screen.boxWidth * z;
    g.panelHeight = Rnd(static_cast<double>(printer.height) * g.panelWidth / printer.width);
  }
  g.panelLeft = std::max(0, (screen.boxWidth - g.panelWidth) / 2);
  const double screenPerPrinter = static_cast<double>(screen.dpi) / printer.dpiY;
  g.zoomPercent = Rnd(static_cast<double>(g.panelWidth) / printer.width / screenPerPrinter * 100);
  const double f = screenPerPrinter * g.zoomPercent / 100;
  g.imageLeft = Rnd(printer.offsetX * f);
  g.imageTop = Rnd(printer.offsetY * f);
  g.imageWidth = Rnd(printer.printableWidth * f);
  g.imageHeight = Rnd(printer.printableHeight * f);
  return g;
}

int MemoLineCount(std::string_view text) {
  if (text.empty()) return 0;
  const int breaks = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  return text.back() == '\n' ? breaks : breaks + 1;
}

std::string ApplyMemoRule(std::string_view text) {
  std::string memo(text);
  while (MemoLineCount(memo) > kMemoMaxLines) {
    std::size_t start = 0;
    for (int line = 0; line < kMemoMaxLines; ++line) start = memo.find('\n', start) + 1;
    const std::size_t end = memo.find('\n', start);
    memo.erase(start, end == std::string::npos ? std::string::npos : end - start + 1);
  }
  if (MemoLineCount(memo) == kMemoMaxLines && !memo.empty() && memo.back() == '\n') memo.pop_back();
  return memo;
}

int MemoLength(std::string_view text) {
  int length = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte of UTF-8
    length += c == '\n' ? 2 : 1;
  }
  return length;
}

std::vector<std::string> MemoLines(std::string_view text) {
  std::vector<std::string> lines;
  const int count = MemoLineCount(text);
  std::size_t start = 0;
  for (int i = 0; i < count; ++i) {
    const std::size_t end = text.find('\n', start);
    lines.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    start = end + 1;
  }
  return lines;
}

std::string JoinMemoLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

PayDateTexts DefaultPayDate(const OpenPeriod& open) {
  const int period = open.periodIndex;
  if (IsBonusPeriod(period)) {
    return {Format("%2d", open.eraYear.year), Format("%2d", open.header.BonusMonth(period)),
            Format("%2d", open.header.BonusDay(period))};
  }
  return PayDateOfPeriod(open.eraYear, period, open.period.company.PayDay());
}

std::string PayDateLabel(const CivilDate& today) { return EraOf(today).era + "    年    月    日"; }

std::string PaperText(ReportKind kind, int formType) {
  if (kind != rkPayslip) return " Ａ４用紙・横  [297mm×210mm]";
  switch (formType) {
    case 0:
      return " A4用紙(1名/枚)  [210mm×297mm]";
    case 2:
      return " HISAGO GB1150   [210mm×297mm]";
    default:
      return " A4用紙(2名/枚)  [210mm×297mm]";
  }
}

std::optional<PaperCode> PaperOfCode(int code) {
  for (const PaperCode& p : kPapers) {
    if (p.code == code) return p;
  }
  return std::nullopt;
}

int CodeOfPaper(double widthMm, double heightMm) {
  const double shorter = std::min(widthMm, heightMm);
  const double longer = std::max(widthMm, heightMm);
  for (const PaperCode& p : kPapers) {
    if (std::abs(p.widthMm - shorter) <= 0.5 && std::abs(p.heightMm - longer) <= 0.5) return p.code;
  }
  return 0;
}

std::string PdfFileName(std::string_view caption, ReportKind kind, const EraYear& eraYear, int period,
                        const std::string& thirdBonusName) {
  std::string name;
  for (char c : caption) {
    if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|') {
      name += "・";
    } else {
      name += c;
    }
  }
  if (name.empty()) name = "帳票";
  std::string when = Format("%s%d年", eraYear.era.c_str(), eraYear.year);
  if (kind != rkLedger) {
    if (IsSalaryPeriod(period)) {
      when += Format("%d月分", period);
    } else if (period == 13) {
      when += "夏期賞与";
    } else if (period == 14) {
      when += "冬期賞与";
    } else if (period == 15) {
      when += thirdBonusName;
    }
  }
  std::string file = name + "_" + when + ".pdf";
  for (char& c : file) {
    if (c == '/' || c == '\\') c = '_';  // a bonus name typed with a slash
  }
  return file;
}

}  // namespace paylark::print
