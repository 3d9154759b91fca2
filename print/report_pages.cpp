#include "print/report_pages.h"

#include <memory>
#include <vector>

#include "print/layouts.h"

namespace paylark::print {

inline constexpr float kUpperPayslipY = -0.5f;
inline constexpr float kLowerPayslipY = 148.0f;

void DrawReportPage(PageModel& page, ReportCode code, const ReportSource& source, PageRef ref) {
  SetDateTexts(page, code, source);
  page.originX = 0;
  page.originY = 0;
  switch (code.kind) {
    case rkRoster:
      DrawRoster(page, source, ref.first, CountSheets(code, source).sheets);
      break;
    case rkMonthlyList:
      DrawMonthlyList(page, source, ref.first, CountSheets(code, source).sheets);
      break;
    case rkLedger:
      DrawLedger(page, source, ref.first);
      break;
    case rkPayslip:
      page.originY = kUpperPayslipY;
      DrawPayslip(page, source, ref.first);
      if (ref.second != 0) {
        page.originY = kLowerPayslipY;
        DrawPayslip(page, source, ref.second);
      }
      break;
  }
}

Document ReportDocument(ReportCode code, const ReportSource& source) {
  Document document;
  auto pages = std::make_shared<const std::vector<PageRef>>(ReportPages(code, source));
  document.pageCount = static_cast<int>(pages->size());
  document.landscape = code.Landscape();
  document.drawPage = [code, &source, pages](PageModel& page, int index) {
    DrawReportPage(page, code, source, (*pages)[static_cast<std::size_t>(index)]);
  };
  return document;
}

}  // namespace paylark::print
