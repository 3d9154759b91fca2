#include "print/calc_statement_layout.h"

#include <algorithm>

#include "store/sjis.h"

namespace paylark::print {
namespace {

constexpr double kLeft = 15;
constexpr double kRight = 195;
constexpr double kBodyTop = 42;
constexpr double kBottom = 282;
constexpr double kLineHeight = 5;
constexpr int kBodyFontSize = 9;

std::size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >> 5 == 0x6) return 2;
  if (lead >> 4 == 0xE) return 3;
  return lead >> 3 == 0x1E ? 4 : 1;
}

// The explanation's lines, a continued line indented by two columns.
void Wrap(const std::string& text, int bytesPerLine, std::vector<std::string>& lines) {
  std::string line;
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = std::min(Utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
    const std::string ch = text.substr(i, n);
    const std::size_t w = SjisWidth(ch);
    if (width + w > static_cast<std::size_t>(bytesPerLine) && !line.empty()) {
      lines.push_back(line);
      line = "　";
      width = 2;
    }
    line += ch;
    width += w;
    i += n;
  }
  if (!line.empty()) lines.push_back(line);
}

int BytesPerLine() {
  PageModel measure;
  measure.SetFont(kMincho, kBodyFontSize);
  return static_cast<int>((kRight - kLeft) / (measure.TextEnd("0", 0)));
}

int LinesPerPage() { return static_cast<int>((kBottom - kBodyTop) / kLineHeight); }

}  // namespace

std::vector<std::string> CalcStatementLines(const std::vector<const ExplanationEntry*>& entries, int bytesPerLine) {
  std::vector<std::string> lines;
  for (const ExplanationEntry* e : entries) {
    Wrap(e->Text(), bytesPerLine, lines);
    lines.emplace_back();
  }
  return lines;
}

std::string CalcStatementPeriodText(const OpenPeriod& open) {
  const std::string year = open.eraYear.era + std::to_string(open.eraYear.year) + "年 ";
  if (IsSalaryPeriod(open.periodIndex)) return year + std::to_string(open.periodIndex) + "月分給与";
  const int month = open.header.BonusMonth(open.periodIndex);
  return year + (month >= 1 && month <= 12 ? std::to_string(month) + "月 " : std::string()) + "賞与";
}

Document CalcStatementDocument(const OpenPeriod& open, int slot, const std::vector<const ExplanationEntry*>& entries) {
  const std::vector<std::string> lines = CalcStatementLines(entries, BytesPerLine());
  const int perPage = LinesPerPage();
  Document d;
  const std::string employee = open.period.Employee(slot).Name();
  const std::string company = open.period.company.Name();
  const std::string period = CalcStatementPeriodText(open);
  d.title = "計算明細 " + employee;
  d.pageCount = std::max(1, static_cast<int>((lines.size() + perPage - 1) / perPage));
  d.drawPage = [lines, perPage, employee, company, period, pages = d.pageCount](PageModel& page, int index) {
    page.SetFont(kGothic, 16);
    page.PutText("計算明細", kLeft, 15);
    page.SetFont(kMincho, 10);
    page.PutText(company, kLeft, 25);
    page.PutText(period + "　" + employee, kLeft, 31);
    const std::string sheet = std::to_string(index + 1) + "/" + std::to_string(pages);
    page.PutText(sheet, kRight - (page.TextEnd(sheet, 0)), 25);
    page.PutLine(kLeft, 38, kRight, 38);
    page.SetFont(kMincho, kBodyFontSize);
    const std::size_t first = static_cast<std::size_t>(index) * static_cast<std::size_t>(perPage);
    for (std::size_t i = first; i < lines.size() && i < first + static_cast<std::size_t>(perPage); ++i) {
      page.PutText(lines[i], kLeft, kBodyTop + kLineHeight * static_cast<double>(i - first));
    }
  };
  return d;
}

}  // namespace paylark::print
