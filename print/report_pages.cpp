#include "print/report_pages.h"

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

}  // namespace paylark::print
