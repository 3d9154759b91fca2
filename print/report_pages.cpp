#include "print/report_pages.h"

#include "calc/number_parse.h"
#include "print/layouts.h"
#include "store/format_text.h"
#include "store/sjis.h"

namespace paylark::print {

inline constexpr float kUpperPayslipY = -0.5f;
inline constexpr float kLowerPayslipY = 148.0f;

void SetDateTexts(PageModel& page, ReportCode code, const ReportSource& source) {
  const EraYear today = EraOf(source.today);
  if (code.kind == rkPayslip) {
    std::string era = ToSjis(today.era);
    era.resize(5, ' ');
    page.dateEraYear = FromSjis(era) + source.payDate.year;
    page.dateMonth = Format("%2d", ParseIntegerOrZero(source.payDate.month));
    page.dateDay = Format("%2d", ParseIntegerOrZero(source.payDate.day));
  } else {
    page.dateEraYear = Format("%s %d", today.era.c_str(), today.year);
    page.dateMonth = Format("%2d", source.today.month);
    page.dateDay = Format("%2d", source.today.day);
  }
}

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
