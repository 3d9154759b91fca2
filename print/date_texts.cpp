#include "print/date_texts.h"

#include "entry/number_parse.h"
#include "store/format_text.h"
#include "store/sjis.h"

namespace paylark::print {

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

}  // namespace paylark::print
