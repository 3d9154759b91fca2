// The rules of printing that need no Qt: how the page model is set up for a printer and for the
// preview, where the preview puts its paper, the memo's five-line rule, the default payment date
// and the paper text of the print dialog, and the Windows paper codes kept in the settings file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/pay_date.h"
#include "print/page_model.h"
#include "print/report_code.h"
#include "store/era.h"
#include "store/options.h"
#include "store/year_file.h"

namespace paylark::print {

// What the page model needs of a device: its resolution and the unprintable margin in dots.
struct DeviceMetrics {
  int dpiX = 0;
  int dpiY = 0;
  int offsetX = 0;  // dots from the sheet's left edge to the printable area
  int offsetY = 0;
};

// The printer's page in its own dots: the sheet, the printable area's offset and size.
struct PrinterPage {
  int width = 0;  // physical sheet
  int height = 0;
  int offsetX = 0;
  int offsetY = 0;
  int printableWidth = 0;
  int printableHeight = 0;
  int dpiX = 0;  // resolution
  int dpiY = 0;

  bool Portrait() const { return width < height; }
};

// The print adjustment (PrAdjustH/PrAdjustV) of the options, in millimetres.
void SetAdjustment(PageModel& page, const Options& options);

// A print job's page model: dots per millimetre from the resolution, the margin in whole
// millimetres, thin and thick pens of 2/360 and 5/360 inch.
void SetUpForPrinter(PageModel& page, const DeviceMetrics& device);

// The preview's dots per millimetre: the screen's pixels per inch scaled by the zoom percentage
// (an integer multiply-divide), over 25.4.
float PreviewDotsPerMm(int screenDpi, int zoomPercent);
// The preview's page model: its own resolution, the printer's margin, both pens one pixel.
void SetUpForPreview(PageModel& page, int screenDpi, int zoomPercent, const PrinterPage& printer);

// Where the preview places the paper panel in its scroll box and the drawing area on the panel.
struct PreviewGeometry {
  int panelLeft = 0;
  int panelWidth = 0;
  int panelHeight = 0;
  int zoomPercent = 0;
  int imageLeft = 0;
  int imageTop = 0;
  int imageWidth = 0;
  int imageHeight = 0;
  bool operator==(const PreviewGeometry&) const = default;
};
struct PreviewScreen {
  int screenWidth = 0;  // the whole screen, for its ratio
  int screenHeight = 0;
  int boxWidth = 0;  // the scroll box
  int boxHeight = 0;
  int dpi = 96;  // pixels per inch of the screen
};
// A portrait page, or any page on a 4:3 or 16:10 screen ("%4.2f" of the ratio is "1.33" or
// "1.60"), fills the box's height; a landscape page on other screens fills its width. Zoomed, the
// panel is twice that size.
PreviewGeometry LayOutPreview(const PrinterPage& printer, const PreviewScreen& screen, bool zoomed);

// The memo of payslips: at most five lines. `text` breaks lines with "\n"; a line break at the very
// end does not start a line (as in a multi-line edit's line list).
inline constexpr int kMemoMaxLines = 5;
// The memo's length limit counts a line break as two characters, as the stored memo has it.
inline constexpr int kMemoMaxLength = 170;
int MemoLineCount(std::string_view text);
// The text after a change: a sixth line (and any beyond) is deleted; with exactly five lines a
// final line break is removed, so that no sixth line can be started.
std::string ApplyMemoRule(std::string_view text);
// Characters of the memo, line breaks counting two.
int MemoLength(std::string_view text);
std::vector<std::string> MemoLines(std::string_view text);
std::string JoinMemoLines(const std::vector<std::string>& lines);

// The default payment date of the open period: the era year of the payroll year; in a salary month
// the month and the company's pay day (31 = the last day of the month); in a bonus period the
// bonus's payment month and day from the period selection.
PayDateTexts DefaultPayDate(const OpenPeriod& open);

// The text under the payment date fields: the era name of today followed by the blanks the fields
// sit on.
std::string PayDateLabel(const CivilDate& today);
// The paper line of the print dialog.
std::string PaperText(ReportKind kind, int formType);

// Windows paper size codes and their sheets in millimetres (portrait).
struct PaperCode {
  int code = 0;
  double widthMm = 0;
  double heightMm = 0;
};
inline constexpr int kPaperA4 = 9;
inline constexpr int kPaperA5 = 11;
inline constexpr int kPortrait = 1;
inline constexpr int kLandscape = 2;
std::optional<PaperCode> PaperOfCode(int code);
// The code of a sheet of that size (either orientation, within half a millimetre), 0 when it has
// none.
int CodeOfPaper(double widthMm, double heightMm);

// The file name a report printed to PDF is offered under: the report's caption, an underscore and
// its period, ".pdf" ("給与明細書_令和8年12月分.pdf", "賞与明細書_令和8年夏期賞与.pdf"); the ledger,
// which covers the year, has the era year only ("社員別給与台帳_令和8年.pdf"). Characters that a
// file name cannot hold ("/" of "月別給与/賞与一覧" and the like) become "・".
std::string PdfFileName(std::string_view caption, ReportKind kind, const EraYear& eraYear, int period,
                        const std::string& thirdBonusName);

}  // namespace paylark::print
