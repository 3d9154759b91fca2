// The default pay date of a salary month, printed on payslips and in their mail.
#pragma once

#include <string>

#include "store/era.h"

namespace paylark {

struct PayDateTexts {
  std::string year;   // era year, "%2d"
  std::string month;  // "%2d"
  std::string day;    // "%2d"
  bool operator==(const PayDateTexts&) const = default;
};

// The era year and month of the period with the company's pay day (給与支給日). A pay day of 31
// stands for the last day of the month, taken from the real calendar of the era year (so 令和6年
// 2月 has 29 days). Any other pay day is kept as it is, even 30 in February. For an era name that
// is not known February is taken as 28 days.
PayDateTexts PayDateOfPeriod(const EraYear& eraYear, int month, int payDay);

}  // namespace paylark
