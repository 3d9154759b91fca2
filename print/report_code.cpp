#include "print/report_code.h"

#include <stdexcept>
#include <string>

#include "store/period.h"

namespace paylark::print {

std::optional<ReportCode> ParseReportCode(int value) {
  const int kind = value / 100;
  const int target = value % 100;
  switch (kind) {
    case rkRoster:
      if (target == 0) return ReportCode{rkRoster, 0};
      break;
    case rkPayslip:
    case rkLedger:
      if ((target >= 1 && target <= kSlotCount) || target == kSelectedRows)
        return ReportCode{static_cast<ReportKind>(kind), target};
      break;
    case rkMonthlyList:
      if (target >= 1 && target <= kPeriodCount) return ReportCode{rkMonthlyList, target};
      break;
    default:
      break;
  }
  return std::nullopt;
}

ReportCode RequireReportCode(int value) {
  const std::optional<ReportCode> code = ParseReportCode(value);
  if (!code) throw std::invalid_argument("not a report code: " + std::to_string(value));
  return *code;
}

}  // namespace paylark::print
